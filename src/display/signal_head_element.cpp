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
      return self.RedColour_;
    case Lamp::Yellow:
      return self.YellowColour_;
    case Lamp::Green:
      break;
  }
  return self.GreenColour_;
}

template <class Self>
auto& SignalHeadElement::StuckOnField(Self& self, Lamp lamp) {
  switch (lamp) {
    case Lamp::Red:
      return self.RedStuckOn_;
    case Lamp::Yellow:
      return self.YellowStuckOn_;
    case Lamp::Green:
      break;
  }
  return self.GreenStuckOn_;
}

template <class Self>
auto& SignalHeadElement::FailedField(Self& self, Lamp lamp) {
  switch (lamp) {
    case Lamp::Red:
      return self.RedFailed_;
    case Lamp::Yellow:
      return self.YellowFailed_;
    case Lamp::Green:
      break;
  }
  return self.GreenFailed_;
}

template <class Self>
auto& SignalHeadElement::CrossField(Self& self, Lamp lamp) {
  switch (lamp) {
    case Lamp::Red:
      return self.LabelRotDefVisible_;
    case Lamp::Yellow:
      return self.LabelGelbDefVisible_;
    case Lamp::Green:
      break;
  }
  return self.LabelGruenDefVisible_;
}

SignalHeadElement::SignalHeadElement(int index)
    : index_(index), LabelGruppeNr_(std::to_string(index + 1)) {}

void SignalHeadElement::Reset() {
  for (Lamp lamp : {Lamp::Red, Lamp::Yellow, Lamp::Green}) {
    Paint(CrossField(*this, lamp), false);
    StuckOnField(*this, lamp) = false;
    FailedField(*this, lamp) = false;
    // Only the field: the shape keeps its colour until the next repaint.
    ColourField(*this, lamp) = clSilver;
  }
  Paint(DemandButtonDown_, false);
  DemandLampOn_ = false;
  SetWaitSign(false);
  Paint(ShapeAnf_, clSilver);
  Paint(ShapeSt_, clSilver);
}

void SignalHeadElement::ShowState(std::int32_t code, const RepaintContext& context) {
  State_ = code;
  const LampTriple lamps = LampsOf(code);
  RedColour_ = lamps.Red;
  YellowColour_ = lamps.Yellow;
  GreenColour_ = lamps.Green;
  Flashing_ = IsFlashingState(code);
  Repaint(context);
}

void SignalHeadElement::SetBlinkPhase(int tickCount, const RepaintContext& context) {
  BlinkOff_ = tickCount != 0;
  Repaint(context);
}

void SignalHeadElement::SetDemandLamp(bool on) {
  DemandLampOn_ = on;
}

void SignalHeadElement::SetWaitSign(bool on) {
  WaitSignOn_ = on;
  Paint(LabelWarteVisible_, on);
}

void SignalHeadElement::SetFaultMark(bool on) {
  Paint(ShapeSt_, on ? clRed : clSilver);
}

void SignalHeadElement::ShowHeadNumber(const ControllerDataSet& data) {
  // The index is ours, not the file's, but an element built with a bad index
  // must still not read outside the table.
  if (index_ < 0 || index_ >= MaxGroups) {
    return;
  }
  // Any int32 a file holds is shown as it is, sign included.
  Paint(LabelKopfNr_, std::to_string(data.HeadNumbers[static_cast<std::size_t>(index_)]));
}

void SignalHeadElement::SetLampFaultsAllowed(bool allowed) {
  LampFaultsAllowed_ = allowed;
}

Colour SignalHeadElement::LampColour(Lamp lamp) const {
  return ColourField(*this, lamp);
}

void SignalHeadElement::DemandButtonMouseDown(bool shift) {
  Paint(DemandButtonDown_, true);
  if (shift) {
    Paint(ContinuousCaption_, true);
  }
}

void SignalHeadElement::DemandButtonMouseUp(bool shift) {
  // Released with Shift the button stays latched as a continuous demand; a
  // later plain press and release unlatches it.
  if (shift) {
    return;
  }
  Paint(DemandButtonDown_, false);
  Paint(ContinuousCaption_, false);
}

void SignalHeadElement::LampClick(Lamp lamp, const RepaintContext& context) {
  bool& stuckOn = StuckOnField(*this, lamp);
  bool& failed = FailedField(*this, lamp);
  if (stuckOn || failed) {
    stuckOn = false;
    failed = false;
    Paint(CrossField(*this, lamp), false);
  } else if (LampFaultsAllowed_) {
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
      return ShapeRot_;
    case Lamp::Yellow:
      return ShapeGelb_;
    case Lamp::Green:
      break;
  }
  return ShapeGruen_;
}

bool SignalHeadElement::FaultCrossVisible(Lamp lamp) const {
  return CrossField(*this, lamp);
}

void SignalHeadElement::Repaint(const RepaintContext& context) {
  // A green group needs no demand shown: it is being served.
  const bool demandShown = DemandLampOn_ && !IsGreenState(State_);
  Paint(ShapeAnf_, demandShown ? clAqua : clSilver);

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
  applyDefects(RedColour_, RedStuckOn_, RedFailed_, clRed);
  applyDefects(YellowColour_, YellowStuckOn_, YellowFailed_, clYellow);
  applyDefects(GreenColour_, GreenStuckOn_, GreenFailed_, clLime);

  if (!YellowStuckOn_ && !YellowFailed_) {
    if (Flashing_) {
      YellowColour_ = BlinkOff_ ? clSilver : clYellow;
    } else if (WaitSignOn_) {
      // A wait-sign head uses its yellow lamp only as the lit "WARTE" sign,
      // and only while a program runs without fault.
      const bool lit = demandShown && !context.FaultActive && context.MainState >= 2000;
      YellowColour_ = lit ? clYellow : clSilver;
    }
  }

  Paint(ShapeRot_, RedColour_);
  Paint(ShapeGelb_, YellowColour_);
  Paint(ShapeGruen_, GreenColour_);
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
