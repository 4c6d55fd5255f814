#include "edit/command_group.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "edit/edit_model.h"
#include "edit/matrix_commands.h"
#include "scenario/junction.h"

namespace ampelsim::edit {
namespace {

// The scenario tests' junction: G. 1..3; G. 1/G. 2 and G. 2/G. 3 locked.
std::unique_ptr<CommandGroup> TwoIntergreens(int second) {
  std::vector<std::unique_ptr<EditCommand>> parts;
  parts.push_back(std::make_unique<SetIntergreen>(1, 1, 2, 7));
  parts.push_back(std::make_unique<SetIntergreen>(1, 2, 1, second));
  return std::make_unique<CommandGroup>("Zwischenzeiten P1 berechnet", 1, std::move(parts));
}

TEST(CommandGroup, AllPartsAreOneStep) {
  EditModel model(scenario_test::BaseJunction());
  const ControllerDataSet before = model.Data();
  ASSERT_TRUE(model.Execute(*TwoIntergreens(8)).Ok());
  EXPECT_EQ(model.Data().IntergreenTimes[0][1][0], 7);
  EXPECT_EQ(model.Data().IntergreenTimes[0][0][1], 8);
  EXPECT_EQ(model.UndoName(), "Zwischenzeiten P1 berechnet");
  model.Undo();
  EXPECT_TRUE(model.Data() == before);
  EXPECT_FALSE(model.CanUndo());
}

// The second part refuses (0 s between locked groups): the first one, which
// had applied, is not kept, and the refusal names the part.
TEST(CommandGroup, ARefusedPartLeavesEverythingAsItWas) {
  EditModel model(scenario_test::BaseJunction());
  const ControllerDataSet before = model.Data();
  const Result<std::string> done = model.Execute(*TwoIntergreens(0));
  ASSERT_FALSE(done.Ok());
  EXPECT_NE(done.Failure().Message.find("Zwischenzeit 2 → 1 (P1) auf 0 s: "), std::string::npos)
      << done.Failure().Message;
  EXPECT_TRUE(model.Data() == before);
  EXPECT_FALSE(model.CanUndo());
}

}  // namespace
}  // namespace ampelsim::edit
