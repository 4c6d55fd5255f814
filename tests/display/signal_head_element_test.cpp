#include "display/signal_head_element.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "data/signal_state.h"
#include "test_support/head_view.h"

namespace ampelsim {
namespace {

constexpr RepaintContext Off{};                 // controller off
constexpr RepaintContext Running{false, 3000};  // cycle operation
constexpr Lamp AllLamps[] = {Lamp::Red, Lamp::Yellow, Lamp::Green};

struct Triple {
  LampState Red, Yellow, Green;
};

void ExpectShapes(const SignalHeadElement& head, const Triple& want) {
  EXPECT_EQ(head.ShapeState(Lamp::Red), want.Red);
  EXPECT_EQ(head.ShapeState(Lamp::Yellow), want.Yellow);
  EXPECT_EQ(head.ShapeState(Lamp::Green), want.Green);
}

// The six defect flags as text, e.g. "RF" for a failed red lamp.
std::string Defects(const SignalHeadElement& h) {
  std::string text;
  const bool flags[] = {h.IsRedStuckOn(),   h.IsRedFailed(),    h.IsYellowStuckOn(),
                        h.IsYellowFailed(), h.IsGreenStuckOn(), h.IsGreenFailed()};
  const char* names[] = {"RS", "RF", "YS", "YF", "GS", "GF"};
  for (int i = 0; i < 6; ++i) {
    text += flags[i] ? names[i] : "";
  }
  return text;
}

std::string DefectsOf(Lamp lamp, bool stuckOn, bool failed) {
  const std::string prefix = lamp == Lamp::Red ? "R" : lamp == Lamp::Yellow ? "Y" : "G";
  return stuckOn ? prefix + "S" : failed ? prefix + "F" : "";
}

constexpr LampState Dk = LampState::Dark, On = LampState::Lit;

TEST(SignalHeadElement, LampTableOfShowState) {
  struct Row {
    std::int32_t Code;
    Triple Lamps;
    bool Flashing;
  };
  const Row rows[] = {
      {0, {Dk, Dk, Dk}, false}, {1, {On, Dk, Dk}, false},  {2, {Dk, Dk, On}, false},
      {3, {On, On, Dk}, false}, {4, {Dk, On, Dk}, false},  {5, {Dk, On, Dk}, true},
      {6, {On, On, Dk}, false}, {7, {On, On, Dk}, true},   {8, {Dk, On, On}, false},
      {9, {Dk, On, On}, true},  {12, {Dk, Dk, Dk}, false}, {-1, {Dk, Dk, Dk}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Code);
    SignalHeadElement head(0);
    head.ShowState(5, Off);  // a flashing state before must not linger
    head.ShowState(row.Code, Off);
    ExpectShapes(head, row.Lamps);
    EXPECT_EQ(head.IsFlashing(), row.Flashing);
    EXPECT_EQ(head.State(), row.Code);
    EXPECT_EQ(head.IsGreenLit(), row.Lamps.Green == On);
  }
}

TEST(SignalHeadElement, BlinkPhaseDarkensOnlyFlashingYellow) {
  struct Row {
    std::int32_t Code;
    int Count;
    Triple Lamps;
  };
  const Row rows[] = {
      {5, 0, {Dk, On, Dk}}, {5, 5, {Dk, Dk, Dk}}, {7, 0, {On, On, Dk}}, {7, 5, {On, Dk, Dk}},
      {9, 0, {Dk, On, On}}, {9, 5, {Dk, Dk, On}}, {4, 5, {Dk, On, Dk}}, {6, 5, {On, On, Dk}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.Code << " at " << row.Count);
    SignalHeadElement head(0);
    head.ShowState(row.Code, Off);
    head.SetBlinkPhase(row.Count, Off);
    ExpectShapes(head, row.Lamps);
  }
}

TEST(SignalHeadElement, WaitSignLightsYellowOnlyForStoredDemandWhileRunning) {
  struct Row {
    const char* Name;
    std::int32_t Code;
    bool Demand;
    RepaintContext Context;
    LampState Yellow;
  };
  const Row rows[] = {
      {"demand, cycle operation", 4, true, Running, On},
      {"demand, switch-on program", 4, true, {false, 2000}, On},
      {"demand, below 2000", 4, true, {false, 1999}, Dk},
      {"demand, off", 4, true, Off, Dk},
      {"no demand", 4, false, Running, Dk},
      {"demand, fault", 4, true, {true, 3000}, Dk},
      {"demand but green: indicator off", 8, true, Running, Dk},
      {"demand on a red head", 1, true, Running, On},
      {"flashing wins over the sign", 5, false, Off, On},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    SignalHeadElement head(0);
    head.SetWaitSign(true);
    head.SetDemandLamp(row.Demand);
    head.ShowState(row.Code, row.Context);
    EXPECT_EQ(head.ShapeState(Lamp::Yellow), row.Yellow);
    EXPECT_TRUE(head.WaitSignVisible());
  }
}

TEST(SignalHeadElement, DemandIndicatorDarkWhileGreen) {
  for (std::int32_t code = 0; code <= 9; ++code) {
    SCOPED_TRACE(code);
    SignalHeadElement head(0);
    head.SetDemandLamp(true);
    EXPECT_EQ(head.DemandIndicatorState(), Dk);  // not painted before the repaint
    head.ShowState(code, Running);
    const bool green = code == 2 || code == 8 || code == 9;
    EXPECT_EQ(head.DemandIndicatorState(), green ? Dk : On);
    EXPECT_TRUE(head.IsDemandLampOn());
    head.ShowState(1, Running);
    EXPECT_EQ(head.DemandIndicatorState(), On);
  }
}

TEST(SignalHeadElement, LampClickSetsDefectFromLampState) {
  struct Row {
    const char* Name;
    std::int32_t Code;
    Lamp Clicked;
    bool Allowed;
    bool StuckOn, Failed;
    LampState Shape;
  };
  const Row rows[] = {
      {"lit red fails", 1, Lamp::Red, true, false, true, Dk},
      {"dark red sticks on", 2, Lamp::Red, true, true, false, On},
      {"lit yellow fails", 4, Lamp::Yellow, true, false, true, Dk},
      {"dark yellow sticks on", 1, Lamp::Yellow, true, true, false, On},
      {"lit green fails", 2, Lamp::Green, true, false, true, Dk},
      {"dark green sticks on", 0, Lamp::Green, true, true, false, On},
      {"not allowed: lit red", 1, Lamp::Red, false, false, false, On},
      {"not allowed: dark green", 1, Lamp::Green, false, false, false, Dk},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    SignalHeadElement head(0);
    head.SetLampFaultsAllowed(row.Allowed);
    head.ShowState(row.Code, Running);
    head.LampClick(row.Clicked, Running);
    EXPECT_EQ(head.ShapeState(row.Clicked), row.Shape);
    EXPECT_EQ(head.LampStateOf(row.Clicked), row.Shape);
    EXPECT_EQ(head.FaultCrossVisible(row.Clicked), row.StuckOn || row.Failed);
    EXPECT_EQ(Defects(head), DefectsOf(row.Clicked, row.StuckOn, row.Failed));
    // A second click clears the defect whatever LampFaultsAllowed says; the
    // lamp stays as it is until the next state.
    head.SetLampFaultsAllowed(false);
    head.LampClick(row.Clicked, Running);
    EXPECT_FALSE(head.FaultCrossVisible(row.Clicked));
    EXPECT_EQ(Defects(head), "");
    EXPECT_EQ(head.ShapeState(row.Clicked), row.Shape);
  }
}

TEST(SignalHeadElement, DefectsSurviveShowState) {
  struct Row {
    const char* Name;
    std::int32_t BeforeCode;
    Lamp Clicked;
    std::int32_t AfterCode;
    int Count;
    Triple Lamps;
  };
  const Row rows[] = {
      {"red stuck on while green", 0, Lamp::Red, 2, 0, {On, Dk, On}},
      {"red failed while red", 1, Lamp::Red, 1, 0, {Dk, Dk, Dk}},
      {"green failed while green", 2, Lamp::Green, 8, 0, {Dk, On, Dk}},
      {"green stuck on while red", 1, Lamp::Green, 1, 0, {On, Dk, On}},
      {"yellow stuck on in the dark blink half", 0, Lamp::Yellow, 5, 5, {Dk, On, Dk}},
      {"yellow failed in the lit blink half", 5, Lamp::Yellow, 5, 0, {Dk, Dk, Dk}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    SignalHeadElement head(0);
    head.SetLampFaultsAllowed(true);
    head.ShowState(row.BeforeCode, Running);
    head.LampClick(row.Clicked, Running);
    head.SetBlinkPhase(row.Count, Running);
    head.ShowState(row.AfterCode, Running);
    ExpectShapes(head, row.Lamps);
  }
}

TEST(SignalHeadElement, ResetClearsAtOnceButLampsDarkenAtTheNextRepaint) {
  SignalHeadElement head(3);
  head.SetLampFaultsAllowed(true);
  head.SetWaitSign(true);
  head.SetDemandLamp(true);
  head.ShowState(7, Running);
  head.LampClick(Lamp::Red, Running);  // red fails
  head.ShowState(3, Running);
  head.LampClick(Lamp::Green, Running);  // green sticks on
  head.SetFaultMark(true);
  head.DemandButtonMouseDown(true);
  head.DemandButtonMouseUp(true);
  ExpectShapes(head, {Dk, On, On});
  EXPECT_EQ(head.FaultIndicatorState(), On);

  head.Reset();
  for (Lamp lamp : AllLamps) {
    EXPECT_EQ(head.LampStateOf(lamp), Dk);
    EXPECT_FALSE(head.FaultCrossVisible(lamp));
  }
  EXPECT_EQ(Defects(head), "");
  EXPECT_FALSE(head.IsGreenLit() || head.IsDemandLampOn() || head.IsDemandButtonDown());
  EXPECT_FALSE(head.WaitSignVisible());
  EXPECT_EQ(head.DemandIndicatorState(), Dk);
  EXPECT_EQ(head.FaultIndicatorState(), Dk);
  EXPECT_EQ(head.ButtonCaption(), "DA");  // the caption is left as it is
  ExpectShapes(head, {Dk, On, On});       // painted only by the next repaint

  head.SetBlinkPhase(5, Running);
  ExpectShapes(head, {Dk, Dk, Dk});
}

TEST(SignalHeadElement, DemandButtonLatchesWithShift) {
  struct Row {
    const char* Name;
    bool ShiftDown, ShiftUp;
    bool Down;
    const char* Caption;
  };
  const Row rows[] = {
      {"plain press", false, false, false, "A"},
      {"Shift press and release", true, true, true, "DA"},
      {"Shift press, plain release", true, false, false, "A"},
      {"plain press, Shift release", false, true, true, "A"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    SignalHeadElement head(0);
    head.DemandButtonMouseDown(row.ShiftDown);
    EXPECT_TRUE(head.IsDemandButtonDown());
    head.DemandButtonMouseUp(row.ShiftUp);
    EXPECT_EQ(head.IsDemandButtonDown(), row.Down);
    EXPECT_EQ(head.ButtonCaption(), row.Caption);
    EXPECT_EQ(head.IsContinuousDemand(), std::string(row.Caption) == "DA");
    // A plain press and release always ends in the released state.
    head.DemandButtonMouseDown(false);
    head.DemandButtonMouseUp(false);
    EXPECT_FALSE(head.IsDemandButtonDown());
    EXPECT_EQ(head.ButtonCaption(), "A");
  }
}

TEST(SignalHeadElement, HeadNumberPrintsAnyInt32) {
  constexpr auto Min = std::numeric_limits<std::int32_t>::min();
  constexpr auto Max = std::numeric_limits<std::int32_t>::max();
  struct Row {
    int Index;
    std::int32_t Number;
    const char* Text;
  };
  const Row rows[] = {
      {0, 0, "0"}, {5, 7, "7"}, {23, -1, "-1"}, {13, Min, "-2147483648"}, {1, Max, "2147483647"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Index);
    auto data = std::make_unique<ControllerDataSet>();
    data->HeadNumbers[static_cast<std::size_t>(row.Index)] = row.Number;
    SignalHeadElement head(row.Index);
    EXPECT_EQ(head.HeadNumberText(), "");
    head.ShowHeadNumber(*data);
    EXPECT_EQ(head.HeadNumberText(), row.Text);
  }
}

TEST(SignalHeadElement, GroupNumberAndPlace) {
  struct Row {
    int Index;
    const char* Group;
    int Left, Top;
  };
  const Row rows[] = {
      {0, "1", 6, 10}, {7, "8", 559, 10}, {13, "14", 401, 140}, {23, "24", 559, 270}};
  const auto heads = MakeHeadElements();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Index);
    const SignalHeadElement& head = heads[static_cast<std::size_t>(row.Index)];
    EXPECT_EQ(head.Index(), row.Index);
    EXPECT_EQ(head.GroupNumberText(), row.Group);
    EXPECT_EQ(head.PanelLeft(), row.Left);
    EXPECT_EQ(head.PanelTop(), row.Top);
  }
}

TEST(SignalHeadElement, PaintCountBumpsOnlyOnVisibleChange) {
  SignalHeadElement head(0);
  struct Step {
    const char* Name;
    void (*Run)(SignalHeadElement&);
    bool Bumps;
  };
  const std::vector<Step> steps = {
      {"new state", [](SignalHeadElement& h) { h.ShowState(1, Off); }, true},
      {"same state", [](SignalHeadElement& h) { h.ShowState(1, Off); }, false},
      {"steady lamps, blink", [](SignalHeadElement& h) { h.SetBlinkPhase(5, Off); }, false},
      {"demand lamp alone", [](SignalHeadElement& h) { h.SetDemandLamp(true); }, false},
      {"lamp faults allowed", [](SignalHeadElement& h) { h.SetLampFaultsAllowed(true); }, false},
      {"repaint shows demand", [](SignalHeadElement& h) { h.SetBlinkPhase(0, Off); }, true},
      {"wait sign", [](SignalHeadElement& h) { h.SetWaitSign(true); }, true},
      {"fault mark", [](SignalHeadElement& h) { h.SetFaultMark(true); }, true},
      {"button", [](SignalHeadElement& h) { h.DemandButtonMouseDown(false); }, true},
      {"lamp click", [](SignalHeadElement& h) { h.LampClick(Lamp::Red, Off); }, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.Name);
    const std::uint64_t before = head.PaintCount();
    step.Run(head);
    EXPECT_EQ(head.PaintCount() != before, step.Bumps);
  }
}

// ShowState and SetBlinkPhase skip a repaint that could change nothing. At
// every such call a copy that must repaint gets the same call and has to
// show exactly the same, lamp fields and paint count included.
TEST(SignalHeadElement, ASkippedRepaintWouldHaveChangedNothing) {
  enum class Do { Show, Blink, Demand, Wait, Click, Reset, AllowFaults };
  struct Step {
    Do What;
    int Value;
    RepaintContext Context;
  };
  constexpr RepaintContext Fault{true, 3000};
  const Step steps[] = {
      {Do::Show, Red, Running},
      {Do::Blink, 0, Running},
      {Do::Blink, 5, Running},
      {Do::Show, Red, Running},
      {Do::Demand, 1, Running},
      {Do::Blink, 0, Running},
      {Do::Blink, 5, Running},
      {Do::Show, Red, Fault},
      {Do::Show, Red, Fault},
      {Do::Show, Green, Running},
      {Do::Show, Green, Running},
      {Do::AllowFaults, 1, Running},
      {Do::Click, int(Lamp::Green), Running},
      {Do::Blink, 0, Running},
      {Do::Show, Green, Running},
      {Do::Click, int(Lamp::Green), Running},
      {Do::Blink, 5, Running},
      {Do::Show, Green, Running},
      {Do::Show, Green, Running},
      {Do::Click, int(Lamp::Red), Running},
      {Do::Show, Red, Running},
      {Do::Show, Red, Running},
      {Do::Click, int(Lamp::Red), Running},
      {Do::Show, Red, Running},
      {Do::Wait, 1, Running},
      {Do::Show, Red, Running},
      {Do::Blink, 0, Off},
      {Do::Blink, 5, Off},
      {Do::Demand, 0, Off},
      {Do::Show, YellowFlashing, Off},
      {Do::Blink, 0, Off},
      {Do::Blink, 5, Off},
      {Do::Show, YellowFlashing, Off},
      {Do::Show, Yellow, Running},
      {Do::Reset, 0, Running},
      {Do::Blink, 0, Running},
      {Do::Show, Yellow, Running},
      {Do::Show, Yellow, Running},
  };
  SignalHeadElement head(0);
  int skipped = 0;
  for (std::size_t n = 0; n < std::size(steps); ++n) {
    const Step& step = steps[n];
    SignalHeadElement full = test::DueToRepaint(head);
    switch (step.What) {
      case Do::Show:
        skipped += step.Value == head.State() && head.IsPaintedFor(step.Context) ? 1 : 0;
        head.ShowState(step.Value, step.Context);
        full.ShowState(step.Value, step.Context);
        EXPECT_EQ(test::HeadView(head), test::HeadView(full)) << "step " << n;
        continue;
      case Do::Blink:
        skipped += head.IsPaintedFor(step.Context) ? 1 : 0;
        head.SetBlinkPhase(step.Value, step.Context);
        full.SetBlinkPhase(step.Value, step.Context);
        EXPECT_EQ(test::HeadView(head), test::HeadView(full)) << "step " << n;
        continue;
      case Do::Demand:
        head.SetDemandLamp(step.Value != 0);
        break;
      case Do::Wait:
        head.SetWaitSign(step.Value != 0);
        break;
      case Do::Click:
        head.LampClick(static_cast<Lamp>(step.Value), step.Context);
        break;
      case Do::Reset:
        head.Reset();
        break;
      case Do::AllowFaults:
        head.SetLampFaultsAllowed(true);
        break;
    }
    EXPECT_EQ(head.HasLampDefect(), !Defects(head).empty()) << "step " << n;
  }
  EXPECT_GE(skipped, 8);
}

}  // namespace
}  // namespace ampelsim
