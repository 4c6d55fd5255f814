#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "edit/cycle_command.h"
#include "edit/edit_model.h"
#include "edit/edit_support.h"
#include "edit/field_command.h"
#include "edit/general_commands.h"
#include "edit/green_commands.h"
#include "edit/group_commands.h"
#include "edit/matrix_commands.h"
#include "edit/point_commands.h"
#include "edit/table_commands.h"
#include "planning/junction_generator.h"
#include "planning/junction_spec.h"
#include "random_junction.h"
#include "scenario/junction.h"

namespace ampelsim::edit {
namespace {

// A command of any kind with values around the valid ranges, so that some
// are refused and the rest change every part of the data set.
class RandomCommands {
 public:
  explicit RandomCommands(std::uint64_t seed) : random_(seed) {}

  std::unique_ptr<EditCommand> Next(const ControllerDataSet& data) {
    const int groups = GroupsInUse(data);
    const int p = Pick(1, ProgramCount + 1);
    const int g = Pick(1, groups + 1);
    const int h = Pick(1, groups);
    const int cycle =
        p <= ProgramCount ? data.SignalPrograms[static_cast<std::size_t>(p - 1)].CycleTime : 0;
    const int t = Pick(-1, cycle + 1);
    switch (Pick(0, 21)) {
      case 0:
        return std::make_unique<SetGreenEdge>(p, g, Pick(1, 2),
                                              Pick(0, 1) ? GreenEdge::Begin : GreenEdge::End, t);
      case 1:
        return std::make_unique<SetGreenWindow>(p, g, Pick(1, 2), t, Pick(0, cycle));
      case 2:
        return std::make_unique<MoveGreenWindow>(p, g, Pick(1, 2), t);
      case 3:
        return std::make_unique<RemoveGreenWindow>(p, g, Pick(1, 2));
      case 4:
        return std::make_unique<SetGroupTime>(p, g, static_cast<GroupTime>(Pick(0, 2)), Pick(0, 6));
      case 5:
        return std::make_unique<SetCycleTime>(p,
                                              Pick(0, 3) == 0 ? Pick(1, 120) : cycle - Pick(0, 30));
      case 6:
        return std::make_unique<SetIntergreen>(p, g, h, Pick(0, 12));
      case 7:
        return std::make_unique<SetLock>(p, g, h, Pick(0, 1) == 1);
      case 8:
        return std::make_unique<SetProgramPoint>(p, static_cast<ProgramPoint>(Pick(0, 15)), t);
      case 9:
        return std::make_unique<SetGroupPoint>(p, g, static_cast<GroupPoint>(Pick(0, 6)), t);
      case 10:
        return std::make_unique<SetProgramReleased>(p, Pick(0, 1) == 1);
      case 11:
        return std::make_unique<SetEmergencyProgram>(Pick(0, 9));
      case 12:
        return Pick(0, 1) ? std::unique_ptr<EditCommand>(std::make_unique<AddGroup>(groups + 1))
                          : std::make_unique<RemoveGroup>(groups);
      case 13:
        return std::make_unique<SetHeadNumber>(g, Pick(0, 40));
      case 14:
        return std::make_unique<SetSiteText>(static_cast<SiteText>(Pick(0, 2)),
                                             "Straße " + std::to_string(Pick(0, 99)));
      case 15:
        return std::make_unique<SetSwitchingPoint>(Pick(1, 10), Pick(1, 7), Pick(1, 8),
                                                   Pick(0, 1440));
      case 16:
        return Pick(0, 1) ? std::unique_ptr<EditCommand>(std::make_unique<SetSwitchStepDuration>(
                                static_cast<SwitchKind>(Pick(0, 2)), p, Pick(1, 3), Pick(0, 5)))
                          : std::make_unique<SetSwitchStepLamp>(
                                static_cast<SwitchKind>(Pick(0, 2)), p, Pick(1, 3), g,
                                static_cast<Lamp>(Pick(0, 2)), Pick(0, 1) == 1);
      case 17:
        return Pick(0, 1) ? std::unique_ptr<EditCommand>(
                                std::make_unique<SetDemandInput>(p, g, h, Pick(0, 1) == 1))
                          : std::make_unique<SetDemandMemoryTime>(p, g, Pick(0, 30));
      case 18:
        return std::make_unique<SetDetectorFlag>(static_cast<DetectorTable>(Pick(0, 2)), g, p,
                                                 Pick(0, 1) == 1);
      case 19:
        return std::make_unique<SetChangeOption>(p, static_cast<ChangeOption>(Pick(0, 2)),
                                                 Pick(0, 8));
      default:
        return std::make_unique<SetField>(FieldRecord::OfProgram(p), "ExtensionTime1", g,
                                          FieldValue{std::int64_t{Pick(0, 20)}});
    }
  }

  int Pick(int lowest, int highest) {
    return std::uniform_int_distribution<int>(lowest, std::max(lowest, highest))(random_);
  }

 private:
  std::mt19937_64 random_;
};

struct Junction {
  const char* Name;
  std::uint64_t Seed;
};

class UndoProperty : public ::testing::TestWithParam<Junction> {
 protected:
  std::unique_ptr<EditModel> Open() const {
    if (std::string(GetParam().Name) == "Demo") {
      auto opened = EditModel::Open(edit_test::DemoDir());
      return opened.Ok() ? std::make_unique<EditModel>(std::move(opened).Value()) : nullptr;
    }
    if (std::string(GetParam().Name) == "FromStages") {
      const auto spec = planning::ReadJunctionSpec(std::filesystem::path(AMPELSIM_SOURCE_DIR) /
                                                   "demo/new-junction/protected-left.json");
      if (!spec) {
        return nullptr;
      }
      auto plan = planning::GenerateJunction(*spec);
      return plan ? std::make_unique<EditModel>(std::move(plan->Data)) : nullptr;
    }
    if (std::string(GetParam().Name) == "Generated") {
      std::mt19937_64 random(GetParam().Seed);
      return std::make_unique<EditModel>(soak::PlausibleJunction(random));
    }
    return std::make_unique<EditModel>(scenario_test::BaseJunction());
  }
};

TEST_P(UndoProperty, UndoingEveryStepGivesTheSameFilesAndRedoTheForwardRun) {
  auto model = Open();
  ASSERT_NE(model, nullptr);
  const auto original = edit_test::Encoded(model->Data());
  RandomCommands commands(GetParam().Seed);
  int applied = 0;
  for (int i = 0; i < 200; ++i) {
    // Now and then a drag: several commands in one gesture.
    const bool drag = commands.Pick(0, 9) == 0;
    if (drag) {
      model->BeginGesture();
    }
    const auto command = commands.Next(model->Data());
    const auto before = edit_test::Encoded(model->Data());
    const auto result = model->Execute(*command);
    applied += result.Ok() ? 1 : 0;
    if (!result.Ok()) {
      ASSERT_EQ(edit_test::Encoded(model->Data()), before) << result.Failure().Message;
    }
    if (drag) {
      for (int move = 0; move < 3; ++move) {
        model->Execute(SetGreenEdge(1, 1, 1, GreenEdge::End, commands.Pick(1, 20)));
      }
      model->EndGesture();
    }
  }
  EXPECT_GT(applied, 50);  // the sequence really changed the data set
  const auto forward = edit_test::Encoded(model->Data());

  while (model->CanUndo()) {
    model->Undo();
  }
  EXPECT_EQ(edit_test::Encoded(model->Data()), original);
  EXPECT_FALSE(model->IsDirty() && GetParam().Name == std::string("Demo"));

  while (model->CanRedo()) {
    model->Redo();
  }
  EXPECT_EQ(edit_test::Encoded(model->Data()), forward);
}

INSTANTIATE_TEST_SUITE_P(Junctions, UndoProperty,
                         ::testing::Values(Junction{"Demo", 2501}, Junction{"Demo", 7},
                                           Junction{"Small", 2502}, Junction{"Small", 99},
                                           Junction{"Generated", 11}, Junction{"Generated", 12},
                                           Junction{"FromStages", 31}),
                         [](const auto& test) {
                           return std::string(test.param.Name) + std::to_string(test.param.Seed);
                         });

}  // namespace
}  // namespace ampelsim::edit
