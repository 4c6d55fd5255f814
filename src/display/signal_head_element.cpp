#include "display/signal_head_element.h"

#include <cstddef>
#include <utility>

#include "data/signal_state.h"

namespace ampelsim {
namespace {

struct LampTriple {
  LampState Red, Yellow, Green;
};

constexpr LampState DarkLamp = LampState::Dark;
constexpr LampState LitLamp = LampState::Lit;

LampTriple LampsOf(std::int32_t code) {
  switch (code) {
    case Red:
      return {LitLamp, DarkLamp, DarkLamp};
    case Green:
      return {DarkLamp, DarkLamp, LitLamp};
    case RedYellow:
    case RedWithSteadyYellow:
    case RedWithFlashingYellow:
      return {LitLamp, LitLamp, DarkLamp};
    case Yellow:
    case YellowFlashing:
      return {DarkLamp, LitLamp, DarkLamp};
    case GreenWithSteadyYellow:
    case GreenWithFlashingYellow:
      return {DarkLamp, LitLamp, LitLamp};
    default:  // dark, and any code a corrupt plan may produce
      return {DarkLamp, DarkLamp, DarkLamp};
  }
}

bool IsFlashingState(std::int32_t code) {
  return code == YellowFlashing || code == RedWithFlashingYellow || code == GreenWithFlashingYellow;
}

}  // namespace

template <class Self>
auto& SignalHeadElement::LampField(Self& self, Lamp lamp) {
  switch (lamp) {
    case Lamp::Red:
      return self.redLamp_;
    case Lamp::Yellow:
      return self.yellowLamp_;
    case Lamp::Green:
      break;
  }
  return self.greenLamp_;
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
  repaintDue_ = true;
  stateDue_ = true;
  for (Lamp lamp : {Lamp::Red, Lamp::Yellow, Lamp::Green}) {
    Paint(CrossField(*this, lamp), false);
    StuckOnField(*this, lamp) = false;
    FailedField(*this, lamp) = false;
    // Only the field: the shape stays as painted until the next repaint.
    LampField(*this, lamp) = DarkLamp;
  }
  hasLampDefect_ = false;
  Paint(demandButtonDown_, false);
  demandLampOn_ = false;
  SetWaitSign(false);
  Paint(shapeAnf_, DarkLamp);
  Paint(shapeSt_, DarkLamp);
}

void SignalHeadElement::ShowNewState(std::int32_t code, const RepaintContext& context) {
  stateDue_ = false;
  state_ = code;
  const LampTriple lamps = LampsOf(code);
  redLamp_ = lamps.Red;
  yellowLamp_ = lamps.Yellow;
  greenLamp_ = lamps.Green;
  flashing_ = IsFlashingState(code);
  Repaint(context);
}

void SignalHeadElement::SetDemandLamp(bool on) {
  if (demandLampOn_ != on) {
    demandLampOn_ = on;
    repaintDue_ = true;
  }
}

void SignalHeadElement::SetWaitSign(bool on) {
  if (waitSignOn_ != on) {
    waitSignOn_ = on;
    repaintDue_ = true;
  }
  Paint(labelWarteVisible_, on);
}

void SignalHeadElement::SetFaultMark(bool on) {
  Paint(shapeSt_, LitIf(on));
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

LampState SignalHeadElement::LampStateOf(Lamp lamp) const {
  return LampField(*this, lamp);
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
    LampState& shown = LampField(*this, lamp);
    if (shown == DarkLamp) {
      stuckOn = true;
      shown = LitLamp;
    } else {
      failed = true;
      shown = DarkLamp;
    }
    Paint(CrossField(*this, lamp), true);
  }
  hasLampDefect_ =
      redStuckOn_ || redFailed_ || yellowStuckOn_ || yellowFailed_ || greenStuckOn_ || greenFailed_;
  Repaint(context);
  // A repaired lamp keeps the defect's field until the state is shown again.
  stateDue_ = true;
}

LampState SignalHeadElement::ShapeState(Lamp lamp) const {
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
  Paint(shapeAnf_, LitIf(demandShown));

  // Simulated defects win over whatever the state asked for. Spelled out per
  // lamp: this runs three times a second for every head.
  auto applyDefects = [](LampState& lamp, bool stuckOn, bool failed) {
    if (stuckOn) {
      lamp = LitLamp;
    }
    if (failed) {
      lamp = DarkLamp;
    }
  };
  applyDefects(redLamp_, redStuckOn_, redFailed_);
  applyDefects(yellowLamp_, yellowStuckOn_, yellowFailed_);
  applyDefects(greenLamp_, greenStuckOn_, greenFailed_);

  if (!yellowStuckOn_ && !yellowFailed_) {
    if (flashing_) {
      yellowLamp_ = LitIf(!blinkOff_);
    } else if (waitSignOn_) {
      // A wait-sign head uses its yellow lamp only as the lit "WARTE" sign,
      // and only while a program runs without fault.
      yellowLamp_ = LitIf(demandShown && !context.FaultActive && context.MainState >= 2000);
    }
  }

  Paint(shapeRot_, redLamp_);
  Paint(shapeGelb_, yellowLamp_);
  Paint(shapeGruen_, greenLamp_);
  repaintDue_ = false;
  paintedFor_ = context;
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
