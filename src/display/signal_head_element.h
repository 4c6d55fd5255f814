#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "data/controller_data_set.h"
#include "data/limits.h"
#include "display/colour.h"

namespace ampelsim {

enum class Lamp { Red, Yellow, Green };

// What the repaint needs to know of the engine (wait sign rule).
struct RepaintContext {
  bool FaultActive = false;
  std::int32_t MainState = 0;
};

// The logic of one signal head: the state shown, the lamp colours, the demand
// and fault indicators, the wait sign, the detector button and the simulated
// lamp defects. The engine drives it, the user's clicks are forwarded to it,
// and the view draws what the accessors at the end report. It never calls the
// engine.
//
// Two layers of colour are kept apart on purpose: the lamp colour fields
// (RedColour_...) are what the logic decided, the shape colours (ShapeRot_...)
// are what was last painted. Only a repaint copies the first into the second,
// so a reset darkens the lamps on screen only with the next blink phase.
class SignalHeadElement {
 public:
  // Group index 0..23; the element shows group index + 1 after "G.".
  explicit SignalHeadElement(int index);

  int Index() const { return index_; }

  // Engine side.
  void Reset();
  void ShowState(std::int32_t code, const RepaintContext& context);
  void SetBlinkPhase(int tickCount, const RepaintContext& context);
  void SetDemandLamp(bool on);  // painted at the next repaint
  void SetWaitSign(bool on);
  void SetFaultMark(bool on);
  void ShowHeadNumber(const ControllerDataSet& data);
  void SetLampFaultsAllowed(bool allowed);

  bool IsDemandLampOn() const { return DemandLampOn_; }
  bool IsDemandButtonDown() const { return DemandButtonDown_; }
  bool IsContinuousDemand() const { return ContinuousCaption_; }
  bool IsGreenLit() const { return GreenColour_ == clLime; }
  bool IsRedFailed() const { return RedFailed_; }
  bool IsRedStuckOn() const { return RedStuckOn_; }
  bool IsYellowFailed() const { return YellowFailed_; }
  bool IsYellowStuckOn() const { return YellowStuckOn_; }
  bool IsGreenFailed() const { return GreenFailed_; }
  bool IsGreenStuckOn() const { return GreenStuckOn_; }
  bool IsWaitSignOn() const { return WaitSignOn_; }
  bool IsFlashing() const { return Flashing_; }
  bool IsBlinkOff() const { return BlinkOff_; }
  bool AreLampFaultsAllowed() const { return LampFaultsAllowed_; }
  Colour LampColour(Lamp lamp) const;  // the colour field, not the painted shape

  // User side, forwarded by the view or a scenario script.
  void DemandButtonMouseDown(bool shift);
  void DemandButtonMouseUp(bool shift);
  void LampClick(Lamp lamp, const RepaintContext& context);

  // What the drawing shows.
  Colour ShapeColour(Lamp lamp) const;  // as of the last repaint
  Colour DemandIndicatorColour() const { return ShapeAnf_; }
  Colour FaultIndicatorColour() const { return ShapeSt_; }
  bool FaultCrossVisible(Lamp lamp) const;
  bool WaitSignVisible() const { return LabelWarteVisible_; }
  std::string ButtonCaption() const { return ContinuousCaption_ ? "DA" : "A"; }
  std::string GroupNumberText() const { return LabelGruppeNr_; }
  std::string HeadNumberText() const { return LabelKopfNr_; }
  std::int32_t State() const { return State_; }
  // Position of the element's panel in the heads window: three rows of eight.
  int PanelLeft() const { return 6 + (index_ % 8) * 79; }
  int PanelTop() const { return 10 + (index_ / 8) * 130; }
  // Bumps whenever something visible changed, so a view repaints only then.
  std::uint64_t PaintCount() const { return paintCount_; }

 private:
  void Repaint(const RepaintContext& context);
  // The field of one lamp; a template so that const and mutable callers share it.
  template <class Self>
  static auto& ColourField(Self& self, Lamp lamp);
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

  Colour RedColour_ = clSilver;
  Colour YellowColour_ = clSilver;
  Colour GreenColour_ = clSilver;
  std::int32_t State_ = 0;
  bool DemandLampOn_ = false;
  bool WaitSignOn_ = false;
  bool DemandButtonDown_ = false;
  bool BlinkOff_ = false;
  bool Flashing_ = false;
  bool RedStuckOn_ = false;
  bool RedFailed_ = false;
  bool YellowStuckOn_ = false;
  bool YellowFailed_ = false;
  bool GreenStuckOn_ = false;
  bool GreenFailed_ = false;
  bool LampFaultsAllowed_ = false;

  // The drawn controls.
  Colour ShapeRot_ = clSilver;
  Colour ShapeGelb_ = clSilver;
  Colour ShapeGruen_ = clSilver;
  Colour ShapeAnf_ = clSilver;
  Colour ShapeSt_ = clSilver;
  bool LabelRotDefVisible_ = false;
  bool LabelGelbDefVisible_ = false;
  bool LabelGruenDefVisible_ = false;
  bool LabelWarteVisible_ = false;
  bool ContinuousCaption_ = false;  // the button reads "DA" instead of "A"
  std::string LabelGruppeNr_;
  std::string LabelKopfNr_;
};

// The 24 elements of the heads window, element i for group index i.
std::array<SignalHeadElement, MaxGroups> MakeHeadElements();

}  // namespace ampelsim
