#include "display/signal_head_element.h"

#include <cstddef>
#include <utility>

#include "data/signal_state.h"

namespace ampelsim {
namespace {

struct LampTriple {
  Colour Red, Yellow, Green;
};

LampTriple LampsOf(std::int32_t code) {
  switch (code) {
    case Red:
      return {clRed, clSilver, clSilver};
    case Green:
      return {clSilver, clSilver, clLime};
    case RedYellow:
    case RedWithSteadyYellow:
    case RedWithFlashingYellow:
      return {clRed, clYellow, clSilver};
    case Yellow:
    case YellowFlashing:
      return {clSilver, clYellow, clSilver};
    case GreenWithSteadyYellow:
    case GreenWithFlashingYellow:
      return {clSilver, clYellow, clLime};
    default:  // dark, and any code a corrupt plan may produce
      return {clSilver, clSilver, clSilver};
  }
}

bool IsFlashingState(std::int32_t code) {
  return code == YellowFlashing || code == RedWithFlashingYellow || code == GreenWithFlashingYellow;
}

Colour OnColour(Lamp lamp) {
  switch (lamp) {
    case Lamp::Red:
      return clRed;
    case Lamp::Yellow:
      return clYellow;
    case Lamp::Green:
      break;
  }
  return clLime;
}

}  // namespace

template <class Self>
auto& SignalHeadElement::ColourField(Self& self, Lamp lamp) {
  switch (lamp) {
    case Lamp::Red:
      return self.redColour_;
    case Lamp::Yellow:
      return self.yellowColour_;
    case Lamp::Green:
      break;
  }
  return self.greenColour_;
}

template <class Self>
auto& SignalHeadElement::StuckOnField(Self& self, Lamp lamp) {
  switch (lamp) {
    case Lamp::Red:
      return self.redStuckOn_;
    case Lamp::Yellow:
      return self.yellowStuckOn_;
    case Lamp::Green:
      break;
  }
  return self.greenStuckOn_;
}

template <class Self>
auto& SignalHeadElement::FailedField(Self& self, Lamp lamp) {
  switch (lamp) {
    case Lamp::Red:
      return self.redFailed_;
    case Lamp::Yellow:
      return self.yellowFailed_;
    case Lamp::Green:
      break;
  }
  return self.greenFailed_;
}

template <class Self>
auto& SignalHeadElement::CrossField(Self& self, Lamp lamp) {
  switch (lamp) {
    case Lamp::Red:
      return self.labelRotDefVisible_;
    case Lamp::Yellow:
      return self.labelGelbDefVisible_;
    case Lamp::Green:
      break;
  }
  return self.labelGruenDefVisible_;
}

SignalHeadElement::SignalHeadElement(int index)
    : index_(index), labelGruppeNr_(std::to_string(index + 1)) {}

void SignalHeadElement::Reset() {
  for (Lamp lamp : {Lamp::Red, Lamp::Yellow, Lamp::Green}) {
    Paint(CrossField(*this, lamp), false);
    StuckOnField(*this, lamp) = false;
    FailedField(*this, lamp) = false;
    // Only the field: the shape keeps its colour until the next repaint.
    ColourField(*this, lamp) = clSilver;
  }
  Paint(demandButtonDown_, false);
  demandLampOn_ = false;
  SetWaitSign(false);
  Paint(shapeAnf_, clSilver);
  Paint(shapeSt_, clSilver);
}

void SignalHeadElement::ShowState(std::int32_t code, const RepaintContext& context) {
  state_ = code;
  const LampTriple lamps = LampsOf(code);
  redColour_ = lamps.Red;
  yellowColour_ = lamps.Yellow;
  greenColour_ = lamps.Green;
  flashing_ = IsFlashingState(code);
  Repaint(context);
}

void SignalHeadElement::SetBlinkPhase(int tickCount, const RepaintContext& context) {
  blinkOff_ = tickCount != 0;
  Repaint(context);
}

void SignalHeadElement::SetDemandLamp(bool on) {
  demandLampOn_ = on;
}

void SignalHeadElement::SetWaitSign(bool on) {
  waitSignOn_ = on;
  Paint(labelWarteVisible_, on);
}

void SignalHeadElement::SetFaultMark(bool on) {
  Paint(shapeSt_, on ? clRed : clSilver);
}

void SignalHeadElement::ShowHeadNumber(const ControllerDataSet& data) {
  // The index is ours, not the file's, but an element built with a bad index
  // must still not read outside the table.
  if (index_ < 0 || index_ >= MaxGroups) {
    return;
  }
  // Any int32 a file holds is shown as it is, sign included.
  Paint(labelKopfNr_, std::to_string(data.HeadNumbers[static_cast<std::size_t>(index_)]));
}

void SignalHeadElement::SetLampFaultsAllowed(bool allowed) {
  lampFaultsAllowed_ = allowed;
}

Colour SignalHeadElement::LampColour(Lamp lamp) const {
  return ColourField(*this, lamp);
}

void SignalHeadElement::DemandButtonMouseDown(bool shift) {
  Paint(demandButtonDown_, true);
  if (shift) {
    Paint(continuousCaption_, true);
  }
}

void SignalHeadElement::DemandButtonMouseUp(bool shift) {
  // Released with Shift the button stays latched as a continuous demand; a
  // later plain press and release unlatches it.
  if (shift) {
    return;
  }
  Paint(demandButtonDown_, false);
  Paint(continuousCaption_, false);
}

void SignalHeadElement::LampClick(Lamp lamp, const RepaintContext& context) {
  bool& stuckOn = StuckOnField(*this, lamp);
  bool& failed = FailedField(*this, lamp);
  if (stuckOn || failed) {
    stuckOn = false;
    failed = false;
    Paint(CrossField(*this, lamp), false);
  } else if (lampFaultsAllowed_) {
    Colour& colour = ColourField(*this, lamp);
    if (colour == clSilver) {
      stuckOn = true;
      colour = OnColour(lamp);
    } else {
      failed = true;
      colour = clSilver;
    }
    Paint(CrossField(*this, lamp), true);
  }
  Repaint(context);
}

Colour SignalHeadElement::ShapeColour(Lamp lamp) const {
  switch (lamp) {
    case Lamp::Red:
      return shapeRot_;
    case Lamp::Yellow:
      return shapeGelb_;
    case Lamp::Green:
      break;
  }
  return shapeGruen_;
}

bool SignalHeadElement::FaultCrossVisible(Lamp lamp) const {
  return CrossField(*this, lamp);
}

void SignalHeadElement::Repaint(const RepaintContext& context) {
  // A green group needs no demand shown: it is being served.
  const bool demandShown = demandLampOn_ && !IsGreenState(state_);
  Paint(shapeAnf_, demandShown ? clAqua : clSilver);

  // Simulated defects win over whatever the state asked for. Spelled out per
  // lamp: this runs three times a second for every head.
  auto applyDefects = [](Colour& colour, bool stuckOn, bool failed, Colour lit) {
    if (stuckOn) {
      colour = lit;
    }
    if (failed) {
      colour = clSilver;
    }
  };
  applyDefects(redColour_, redStuckOn_, redFailed_, clRed);
  applyDefects(yellowColour_, yellowStuckOn_, yellowFailed_, clYellow);
  applyDefects(greenColour_, greenStuckOn_, greenFailed_, clLime);

  if (!yellowStuckOn_ && !yellowFailed_) {
    if (flashing_) {
      yellowColour_ = blinkOff_ ? clSilver : clYellow;
    } else if (waitSignOn_) {
      // A wait-sign head uses its yellow lamp only as the lit "WARTE" sign,
      // and only while a program runs without fault.
      const bool lit = demandShown && !context.FaultActive && context.MainState >= 2000;
      yellowColour_ = lit ? clYellow : clSilver;
    }
  }

  Paint(shapeRot_, redColour_);
  Paint(shapeGelb_, yellowColour_);
  Paint(shapeGruen_, greenColour_);
}

namespace {

template <std::size_t... I>
std::array<SignalHeadElement, MaxGroups> MakeElements(std::index_sequence<I...>) {
  return {SignalHeadElement(static_cast<int>(I))...};
}

}  // namespace

std::array<SignalHeadElement, MaxGroups> MakeHeadElements() {
  return MakeElements(std::make_index_sequence<MaxGroups>{});
}

}  // namespace ampelsim
