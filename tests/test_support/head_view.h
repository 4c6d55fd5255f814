#pragma once

#include <string>

#include "display/signal_head_element.h"

namespace ampelsim::test {

// Everything a head shows and keeps for the next repaint, as one text, so
// that two heads can be compared in one assertion.
inline std::string HeadView(const SignalHeadElement& head) {
  std::string text = std::to_string(head.State()) + " paints " + std::to_string(head.PaintCount());
  for (const Lamp lamp : {Lamp::Red, Lamp::Yellow, Lamp::Green}) {
    text += ' ';
    text += head.ShapeState(lamp) == LampState::Lit ? 'L' : 'd';
    text += head.LampStateOf(lamp) == LampState::Lit ? 'L' : 'd';
    text += head.FaultCrossVisible(lamp) ? 'X' : '-';
  }
  text += head.DemandIndicatorState() == LampState::Lit ? " A" : " -";
  text += head.FaultIndicatorState() == LampState::Lit ? 'S' : '-';
  text += head.WaitSignVisible() ? 'W' : '-';
  text += head.IsDemandLampOn() ? 'D' : '-';
  return text;
}

// A copy of the head that repaints at its next ShowState or SetBlinkPhase,
// whatever changed: the demand lamp switched twice marks it due.
inline SignalHeadElement DueToRepaint(const SignalHeadElement& head) {
  SignalHeadElement copy = head;
  copy.SetDemandLamp(!copy.IsDemandLampOn());
  copy.SetDemandLamp(!copy.IsDemandLampOn());
  return copy;
}

}  // namespace ampelsim::test
