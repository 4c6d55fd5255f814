#include "data/controller_data_set.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/signal_state.h"

namespace ampelsim {
namespace {

struct ProgramCase {
  int Program;
  bool Defined;
  bool Usable;
};

class ProgramTest : public testing::TestWithParam<ProgramCase> {
 protected:
  void SetUp() override {
    // P1 released, cycle 90; P2 released, no cycle; P3 not released, cycle 90;
    // P4 neither; P5 released, cycle 120; P6 released, negative cycle.
    data_->GeneralData.ProgramReleased = {1, 1, 0, 0, 2, 1};
    const int cycles[] = {90, 0, 90, 0, 120, -1};
    for (int p = 0; p < 6; ++p) {
      data_->SignalPrograms[static_cast<std::size_t>(p)].CycleTime = cycles[p];
    }
  }
  std::unique_ptr<ControllerDataSet> data_ = std::make_unique<ControllerDataSet>();
};

TEST_P(ProgramTest, DefinedAndUsable) {
  const ProgramCase& c = GetParam();
  EXPECT_EQ(IsProgramDefined(*data_, c.Program), c.Defined);
  EXPECT_EQ(IsProgramUsable(*data_, c.Program), c.Usable);
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramTest,
                         testing::Values(ProgramCase{-1, false, false},
                                         ProgramCase{0, false, false}, ProgramCase{1, true, true},
                                         ProgramCase{2, false, false}, ProgramCase{3, true, false},
                                         ProgramCase{4, false, false}, ProgramCase{5, true, true},
                                         ProgramCase{6, true, true}, ProgramCase{7, false, true},
                                         ProgramCase{8, false, true}, ProgramCase{99, false, true}),
                         [](const testing::TestParamInfo<ProgramCase>& tpi) {
                           return tpi.param.Program < 0
                                      ? "Minus" + std::to_string(-tpi.param.Program)
                                      : "P" + std::to_string(tpi.param.Program);
                         });

TEST(ProgramTest, FreshDataSetHasNoSignalProgram) {
  const auto data = std::make_unique<ControllerDataSet>();
  for (int p = 1; p <= 6; ++p) {
    EXPECT_FALSE(IsProgramUsable(*data, p)) << p;
  }
  EXPECT_TRUE(IsProgramUsable(*data, 7));
}

struct StateCase {
  int Code;
  const char* Cell;
  const char* Legend;
  bool Green;
};

TEST(SignalStateTest, CellsLegendsAndGreenStates) {
  const StateCase cases[] = {
      {-1, "", "", false},
      {0, " - ", "-  Dunkel", false},
      {1, " R ", "R  Rot", false},
      {2, " Gr", "Gr Gruen", true},
      {3, " RG", "RG Rot /  Gelb", false},
      {4, " Ge", "Ge Gelb", false},
      {5, " B ", "B  Gelb Blinken", false},
      {6, " RD", "RD Rot & Ge.Dau", false},
      {7, " RB", "RB Rot & Ge.Bli", false},
      {8, " GD", "GD Gruen & Ge.Dau", true},
      {9, " GB", "GB Gruen & Ge.Bli", true},
      {10, "", "", false},
      {1000, "", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Code);
    EXPECT_EQ(SignalStateCell(c.Code), c.Cell);
    EXPECT_EQ(SignalStateLegend(c.Code), c.Legend);
    EXPECT_EQ(IsGreenState(c.Code), c.Green);
  }
}

TEST(Text32Test, StrEndsAtZeroOrAfter32Bytes) {
  Text32 text;
  text.Bytes.fill('x');
  EXPECT_EQ(text.Str(), std::string(32, 'x'));
  text.Bytes[3] = 0;
  EXPECT_EQ(text.Str(), "xxx");
  EXPECT_EQ(Text32::FromString("Nord").LengthByte, 4);
  EXPECT_EQ(Text32::FromString("Nord").Str(), "Nord");
  EXPECT_FALSE(text.IsCanonical());  // bytes behind the zero
}

}  // namespace
}  // namespace ampelsim
