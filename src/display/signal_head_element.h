#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "data/controller_data_set.h"
#include "data/limits.h"
#include "display/lamp_state.h"

namespace ampelsim {

// What the repaint needs to know of the engine (wait sign rule).
struct RepaintContext {
  bool FaultActive = false;
  std::int32_t MainState = 0;

  bool operator==(const RepaintContext&) const = default;
};

// The logic of one signal head: the state shown, the lit lamps, the demand
// and fault indicators, the wait sign, the detector button and the simulated
// lamp defects. The engine drives it, the user's clicks are forwarded to it,
// and the view draws what the accessors at the end report. It never calls the
// engine.
//
// Two layers of lamp states are kept apart on purpose: the lamp fields
// (redLamp_...) are what the logic decided, the shapes (shapeRot_...) are what
// was last painted. Only a repaint copies the first into the second, so a
// reset darkens the lamps on screen only with the next blink phase.
class SignalHeadElement {
 public:
  // Group index 0..23; the element shows group index + 1 after "G.".
  explicit SignalHeadElement(int index);

  int Index() const { return index_; }

  // Engine side. ShowState and SetBlinkPhase repaint only when the repaint
  // could change something (IsPaintedFor).
  void Reset();
  // The lamp fields of a repainted head are those of its state with the
  // defects applied, so the same state again changes nothing.
  void ShowState(std::int32_t code, const RepaintContext& context) {
    if (code != state_ || stateDue_ || !IsPaintedFor(context)) {
      ShowNewState(code, context);
    }
  }
  // Twice a second for every head: the test whether anything is to repaint
  // is inline.
  void SetBlinkPhase(int tickCount, const RepaintContext& context) {
    blinkOff_ = tickCount != 0;
    if (!IsPaintedFor(context)) {
      Repaint(context);
    }
  }
  // Nothing a repaint reads has changed since the last one, which ran with
  // this context, and no lamp blinks: a repaint would change nothing.
  bool IsPaintedFor(const RepaintContext& context) const {
    return !repaintDue_ && !flashing_ && context == paintedFor_;
  }
  void SetDemandLamp(bool on);  // painted at the next repaint
  void SetWaitSign(bool on);
  void SetFaultMark(bool on);
  void ShowHeadNumber(const ControllerDataSet& data);
  void SetLampFaultsAllowed(bool allowed);

  bool IsDemandLampOn() const { return demandLampOn_; }
  bool IsDemandButtonDown() const { return demandButtonDown_; }
  bool IsContinuousDemand() const { return continuousCaption_; }
  bool IsGreenLit() const { return greenLamp_ == LampState::Lit; }
  bool IsRedFailed() const { return redFailed_; }
  bool IsRedStuckOn() const { return redStuckOn_; }
  bool IsYellowFailed() const { return yellowFailed_; }
  bool IsYellowStuckOn() const { return yellowStuckOn_; }
  bool IsGreenFailed() const { return greenFailed_; }
  bool IsGreenStuckOn() const { return greenStuckOn_; }
  // Any lamp stuck on or failed.
  bool HasLampDefect() const { return hasLampDefect_; }
  bool IsWaitSignOn() const { return waitSignOn_; }
  bool IsFlashing() const { return flashing_; }
  bool IsBlinkOff() const { return blinkOff_; }
  bool AreLampFaultsAllowed() const { return lampFaultsAllowed_; }
  LampState LampStateOf(Lamp lamp) const;  // the lamp field, not the painted shape

  // User side, forwarded by the view or a scenario script.
  void DemandButtonMouseDown(bool shift);
  void DemandButtonMouseUp(bool shift);
  void LampClick(Lamp lamp, const RepaintContext& context);

  // What the drawing shows.
  LampState ShapeState(Lamp lamp) const;  // as of the last repaint
  LampState DemandIndicatorState() const { return shapeAnf_; }
  LampState FaultIndicatorState() const { return shapeSt_; }
  bool FaultCrossVisible(Lamp lamp) const;
  bool WaitSignVisible() const { return labelWarteVisible_; }
  std::string ButtonCaption() const { return continuousCaption_ ? "DA" : "A"; }
  std::string GroupNumberText() const { return labelGruppeNr_; }
  std::string HeadNumberText() const { return labelKopfNr_; }
  std::int32_t State() const { return state_; }
  // Position of the element's panel in the heads window: three rows of eight.
  int PanelLeft() const { return 6 + (index_ % 8) * 79; }
  int PanelTop() const { return 10 + (index_ / 8) * 130; }
  // Bumps whenever something visible changed, so a view repaints only then.
  std::uint64_t PaintCount() const { return paintCount_; }

 private:
  void ShowNewState(std::int32_t code, const RepaintContext& context);
  void Repaint(const RepaintContext& context);
  // The field of one lamp; a template so that const and mutable callers share it.
  template <class Self>
  static auto& LampField(Self& self, Lamp lamp);
  template <class Self>
  static auto& StuckOnField(Self& self, Lamp lamp);
  template <class Self>
  static auto& FailedField(Self& self, Lamp lamp);
  template <class Self>
  static auto& CrossField(Self& self, Lamp lamp);
  template <class T>
  void Paint(T& control, const T& value) {
    if (!(control == value)) {
      control = value;
      ++paintCount_;
    }
  }

  int index_;
  std::uint64_t paintCount_ = 0;
  // Set where a field the repaint reads changes without a repaint.
  bool repaintDue_ = true;
  // Set where the lamp fields may differ from the state shown with its
  // defects (a reset, a defect set or repaired): the same state shown again
  // puts them back.
  bool stateDue_ = true;
  RepaintContext paintedFor_;

  LampState redLamp_ = LampState::Dark;
  LampState yellowLamp_ = LampState::Dark;
  LampState greenLamp_ = LampState::Dark;
  std::int32_t state_ = 0;
  bool demandLampOn_ = false;
  bool waitSignOn_ = false;
  bool demandButtonDown_ = false;
  bool blinkOff_ = false;
  bool flashing_ = false;
  bool redStuckOn_ = false;
  bool redFailed_ = false;
  bool yellowStuckOn_ = false;
  bool yellowFailed_ = false;
  bool greenStuckOn_ = false;
  bool greenFailed_ = false;
  bool lampFaultsAllowed_ = false;
  bool hasLampDefect_ = false;  // any of the six flags above

  // The drawn controls.
  LampState shapeRot_ = LampState::Dark;
  LampState shapeGelb_ = LampState::Dark;
  LampState shapeGruen_ = LampState::Dark;
  LampState shapeAnf_ = LampState::Dark;
  LampState shapeSt_ = LampState::Dark;
  bool labelRotDefVisible_ = false;
  bool labelGelbDefVisible_ = false;
  bool labelGruenDefVisible_ = false;
  bool labelWarteVisible_ = false;
  bool continuousCaption_ = false;  // the button reads "DA" instead of "A"
  std::string labelGruppeNr_;
  std::string labelKopfNr_;
};

// The 24 elements of the heads window, element i for group index i.
std::array<SignalHeadElement, MaxGroups> MakeHeadElements();

}  // namespace ampelsim
