#include "display/signal_head_element.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace ampelsim {
namespace {

constexpr RepaintContext Off{};                 // controller off
constexpr RepaintContext Running{false, 3000};  // cycle operation
constexpr Lamp AllLamps[] = {Lamp::Red, Lamp::Yellow, Lamp::Green};

struct Triple {
  Colour Red, Yellow, Green;
};

void ExpectShapes(const SignalHeadElement& head, const Triple& want) {
  EXPECT_EQ(head.ShapeColour(Lamp::Red), want.Red);
  EXPECT_EQ(head.ShapeColour(Lamp::Yellow), want.Yellow);
  EXPECT_EQ(head.ShapeColour(Lamp::Green), want.Green);
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

const Colour S = clSilver, R = clRed, Y = clYellow, L = clLime;

TEST(SignalHeadElement, ColourTableOfShowState) {
  struct Row {
    std::int32_t Code;
    Triple Lamps;
    bool Flashing;
  };
  const Row rows[] = {
      {0, {S, S, S}, false}, {1, {R, S, S}, false}, {2, {S, S, L}, false},  {3, {R, Y, S}, false},
      {4, {S, Y, S}, false}, {5, {S, Y, S}, true},  {6, {R, Y, S}, false},  {7, {R, Y, S}, true},
      {8, {S, Y, L}, false}, {9, {S, Y, L}, true},  {12, {S, S, S}, false}, {-1, {S, S, S}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Code);
    SignalHeadElement head(0);
    head.ShowState(5, Off);  // a flashing state before must not linger
    head.ShowState(row.Code, Off);
    ExpectShapes(head, row.Lamps);
    EXPECT_EQ(head.IsFlashing(), row.Flashing);
    EXPECT_EQ(head.State(), row.Code);
    EXPECT_EQ(head.IsGreenLit(), row.Lamps.Green == L);
  }
}

TEST(SignalHeadElement, BlinkPhaseDarkensOnlyFlashingYellow) {
  struct Row {
    std::int32_t Code;
    int Count;
    Triple Lamps;
  };
  const Row rows[] = {
      {5, 0, {S, Y, S}}, {5, 5, {S, S, S}}, {7, 0, {R, Y, S}}, {7, 5, {R, S, S}},
      {9, 0, {S, Y, L}}, {9, 5, {S, S, L}}, {4, 5, {S, Y, S}}, {6, 5, {R, Y, S}},
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
    Colour Yellow;
  };
  const Row rows[] = {
      {"demand, cycle operation", 4, true, Running, Y},
      {"demand, switch-on program", 4, true, {false, 2000}, Y},
      {"demand, below 2000", 4, true, {false, 1999}, S},
      {"demand, off", 4, true, Off, S},
      {"no demand", 4, false, Running, S},
      {"demand, fault", 4, true, {true, 3000}, S},
      {"demand but green: indicator off", 8, true, Running, S},
      {"demand on a red head", 1, true, Running, Y},
      {"flashing wins over the sign", 5, false, Off, Y},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    SignalHeadElement head(0);
    head.SetWaitSign(true);
    head.SetDemandLamp(row.Demand);
    head.ShowState(row.Code, row.Context);
    EXPECT_EQ(head.ShapeColour(Lamp::Yellow), row.Yellow);
    EXPECT_TRUE(head.WaitSignVisible());
  }
}

TEST(SignalHeadElement, DemandIndicatorDarkWhileGreen) {
  for (std::int32_t code = 0; code <= 9; ++code) {
    SCOPED_TRACE(code);
    SignalHeadElement head(0);
    head.SetDemandLamp(true);
    EXPECT_EQ(head.DemandIndicatorColour(), S);  // not painted before the repaint
    head.ShowState(code, Running);
    const bool green = code == 2 || code == 8 || code == 9;
    EXPECT_EQ(head.DemandIndicatorColour(), green ? S : clAqua);
    EXPECT_TRUE(head.IsDemandLampOn());
    head.ShowState(1, Running);
    EXPECT_EQ(head.DemandIndicatorColour(), clAqua);
  }
}

TEST(SignalHeadElement, LampClickSetsDefectFromLampState) {
  struct Row {
    const char* Name;
    std::int32_t Code;
    Lamp Clicked;
    bool Allowed;
    bool StuckOn, Failed;
    Colour Shape;
  };
  const Row rows[] = {
      {"lit red fails", 1, Lamp::Red, true, false, true, S},
      {"dark red sticks on", 2, Lamp::Red, true, true, false, R},
      {"lit yellow fails", 4, Lamp::Yellow, true, false, true, S},
      {"dark yellow sticks on", 1, Lamp::Yellow, true, true, false, Y},
      {"lit green fails", 2, Lamp::Green, true, false, true, S},
      {"dark green sticks on", 0, Lamp::Green, true, true, false, L},
      {"not allowed: lit red", 1, Lamp::Red, false, false, false, R},
      {"not allowed: dark green", 1, Lamp::Green, false, false, false, S},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    SignalHeadElement head(0);
    head.SetLampFaultsAllowed(row.Allowed);
    head.ShowState(row.Code, Running);
    head.LampClick(row.Clicked, Running);
    EXPECT_EQ(head.ShapeColour(row.Clicked), row.Shape);
    EXPECT_EQ(head.LampColour(row.Clicked), row.Shape);
    EXPECT_EQ(head.FaultCrossVisible(row.Clicked), row.StuckOn || row.Failed);
    EXPECT_EQ(Defects(head), DefectsOf(row.Clicked, row.StuckOn, row.Failed));
    // A second click clears the defect whatever LampFaultsAllowed says; the
    // lamp keeps its colour until the next state.
    head.SetLampFaultsAllowed(false);
    head.LampClick(row.Clicked, Running);
    EXPECT_FALSE(head.FaultCrossVisible(row.Clicked));
    EXPECT_EQ(Defects(head), "");
    EXPECT_EQ(head.ShapeColour(row.Clicked), row.Shape);
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
      {"red stuck on while green", 0, Lamp::Red, 2, 0, {R, S, L}},
      {"red failed while red", 1, Lamp::Red, 1, 0, {S, S, S}},
      {"green failed while green", 2, Lamp::Green, 8, 0, {S, Y, S}},
      {"green stuck on while red", 1, Lamp::Green, 1, 0, {R, S, L}},
      {"yellow stuck on in the dark blink half", 0, Lamp::Yellow, 5, 5, {S, Y, S}},
      {"yellow failed in the lit blink half", 5, Lamp::Yellow, 5, 0, {S, S, S}},
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
  ExpectShapes(head, {S, Y, L});
  EXPECT_EQ(head.FaultIndicatorColour(), R);

  head.Reset();
  for (Lamp lamp : AllLamps) {
    EXPECT_EQ(head.LampColour(lamp), S);
    EXPECT_FALSE(head.FaultCrossVisible(lamp));
  }
  EXPECT_EQ(Defects(head), "");
  EXPECT_FALSE(head.IsGreenLit() || head.IsDemandLampOn() || head.IsDemandButtonDown());
  EXPECT_FALSE(head.WaitSignVisible());
  EXPECT_EQ(head.DemandIndicatorColour(), S);
  EXPECT_EQ(head.FaultIndicatorColour(), S);
  EXPECT_EQ(head.ButtonCaption(), "DA");  // the caption is left as it is
  ExpectShapes(head, {S, Y, L});          // painted only by the next repaint

  head.SetBlinkPhase(5, Running);
  ExpectShapes(head, {S, S, S});
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

}  // namespace
}  // namespace ampelsim
