#include "edit/edit_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "edit/cycle_command.h"
#include "edit/edit_support.h"
#include "edit/green_commands.h"
#include "edit/matrix_commands.h"
#include "test_support/test_files.h"

namespace ampelsim::edit {
namespace {

using edit_test::DemoDir;
using edit_test::Encoded;

class DemoEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    auto opened = EditModel::Open(DemoDir());
    ASSERT_TRUE(opened.Ok()) << opened.Failure().Message;
    model_ = std::make_unique<EditModel>(std::move(opened).Value());
    original_ = Encoded(model_->Data());
  }

  EditModel& Model() { return *model_; }
  bool Unchanged() const { return Encoded(model_->Data()) == original_; }

  std::unique_ptr<EditModel> model_;
  edit_test::FileBytes original_;
};

TEST_F(DemoEdit, AnOpenedDataSetEncodesToTheFilesItWasReadFrom) {
  const auto encoded = Encoded(Model().Data());
  for (std::size_t i = 0; i < DataFiles.size(); ++i) {
    std::ifstream file(DemoDir() / std::string(DataFiles[i].Name), std::ios::binary);
    const std::vector<std::uint8_t> stored{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(encoded[i], stored) << DataFiles[i].Name;
  }
  EXPECT_FALSE(Model().IsDirty());
  EXPECT_EQ(Model().Directory(), DemoDir());
}

TEST(EditModelOpen, NamesTheFilesThatAreMissingOrOfTheWrongSize) {
  test::TempDir dir;
  std::filesystem::copy(DemoDir(), dir.Path(), std::filesystem::copy_options::recursive);
  std::filesystem::remove(dir / "ZWI.DAT");
  std::ofstream(dir / "KOPF.DAT", std::ios::trunc) << "kurz";
  const auto opened = EditModel::Open(dir.Path());
  ASSERT_FALSE(opened.Ok());
  EXPECT_NE(opened.Failure().Message.find("ZWI.DAT fehlt"), std::string::npos);
  EXPECT_NE(opened.Failure().Message.find("KOPF.DAT hat nicht 96 Bytes"), std::string::npos);
}

TEST_F(DemoEdit, ADragIsOneUndoStepNamedAfterWhereItEnded) {
  Model().BeginGesture();
  for (int end = 47; end >= 43; --end) {
    ASSERT_TRUE(Model().Execute(SetGreenEdge(1, 1, 1, GreenEdge::End, end)).Ok());
  }
  Model().EndGesture();
  EXPECT_EQ(Model().UndoName(), "Grünende G. 1 (P1) auf 43 s");
  EXPECT_EQ(Model().Data().SignalPrograms[0].GreenEnd1[0], 43);

  Model().Undo();
  EXPECT_FALSE(Model().CanUndo());
  EXPECT_TRUE(Unchanged());
  EXPECT_EQ(Model().RedoName(), "Grünende G. 1 (P1) auf 43 s");
}

TEST_F(DemoEdit, OutsideAGestureEveryMoveIsItsOwnStep) {
  ASSERT_TRUE(Model().Execute(SetGreenEdge(1, 1, 1, GreenEdge::End, 47)).Ok());
  ASSERT_TRUE(Model().Execute(SetGreenEdge(1, 1, 1, GreenEdge::End, 46)).Ok());
  Model().Undo();
  EXPECT_EQ(Model().Data().SignalPrograms[0].GreenEnd1[0], 47);
}

TEST_F(DemoEdit, ADragBackToWhereItBeganLeavesNoStep) {
  Model().BeginGesture();
  ASSERT_TRUE(Model().Execute(SetGreenEdge(1, 1, 1, GreenEdge::End, 40)).Ok());
  ASSERT_TRUE(Model().Execute(SetGreenEdge(1, 1, 1, GreenEdge::End, 48)).Ok());
  Model().EndGesture();
  EXPECT_FALSE(Model().CanUndo());
  EXPECT_FALSE(Model().IsDirty());
}

TEST_F(DemoEdit, DirtyUntilUndoneBackToTheSavedState) {
  ASSERT_TRUE(Model().Execute(SetIntergreen(1, 1, 3, 6)).Ok());
  EXPECT_TRUE(Model().IsDirty());
  Model().Undo();
  EXPECT_FALSE(Model().IsDirty());
  Model().Redo();
  EXPECT_TRUE(Model().IsDirty());

  Model().MarkSaved();
  EXPECT_FALSE(Model().IsDirty());
  // A drag right after saving must not fold into the saved step.
  Model().BeginGesture();
  ASSERT_TRUE(Model().Execute(SetIntergreen(1, 1, 3, 7)).Ok());
  Model().EndGesture();
  EXPECT_TRUE(Model().IsDirty());
  Model().Undo();
  EXPECT_FALSE(Model().IsDirty());
  Model().Undo();
  EXPECT_TRUE(Model().IsDirty());
  EXPECT_TRUE(Unchanged());
}

TEST(EditModelNew, ANewJunctionIsDirtyUntilSaved) {
  EditModel model(std::make_unique<ControllerDataSet>());
  EXPECT_TRUE(model.IsDirty());
  EXPECT_TRUE(model.Directory().empty());
  model.MarkSaved("/tmp/neu");
  EXPECT_FALSE(model.IsDirty());
  EXPECT_EQ(model.Directory(), "/tmp/neu");
}

TEST_F(DemoEdit, SavingWritesTheEditedFilesAndAFailedSaveKeepsTheChangeUnsaved) {
  EditModel model(std::make_unique<ControllerDataSet>(Model().Data()));
  EXPECT_FALSE(model.Save().Ok());  // no folder yet
  test::TempDir temp;
  const auto folder = temp.Path() / "Knoten";
  ASSERT_TRUE(model.SaveAs(folder).Ok());
  EXPECT_FALSE(model.IsDirty());
  EXPECT_EQ(model.Directory(), folder);

  ASSERT_TRUE(model.Execute(SetIntergreen(1, 1, 3, 7)).Ok());
  SaveOptions failing;
  failing.CheckWritten = [](const auto&, const auto&) { return std::string("Prüfung misslungen"); };
  EXPECT_FALSE(model.Save(failing).Ok());
  EXPECT_TRUE(model.IsDirty());
  EXPECT_EQ(Encoded(EditModel::Open(folder)->Data()), original_);

  ASSERT_TRUE(model.Save().Ok());
  EXPECT_FALSE(model.IsDirty());
  EXPECT_EQ(Encoded(EditModel::Open(folder)->Data()), Encoded(model.Data()));
  EXPECT_EQ(Encoded(EditModel::Open(BackupPathOf(folder))->Data()), original_);
}

TEST_F(DemoEdit, ShorteningTheCycleCarriesAlongAsOneStep) {
  // P1 of the demo, 90 s: G. 2 green 10..62, G. 3 and G. 4 71..4 over the
  // cycle end, G. 5 54..65, G. 6 and G. 7 68..1 and 69..1; wait points of
  // G. 3 at 85 and G. 5 at 60; GSP3 at 80.
  const auto done = Model().Execute(SetCycleTime(1, 60));
  ASSERT_TRUE(done.Ok()) << done.Failure().Message;
  EXPECT_EQ(done.Value(),
            "Umlaufzeit P1 auf 60 s: GSP3 von 80 auf 59 s gesetzt, Grün 1 von G. 2 gekürzt, "
            "Wartepkt. von G. 3 von 85 auf "
            "59 s gesetzt, Grün 1 von G. 3 gekürzt, Grün 1 von G. 4 gekürzt, Wartepkt. von "
            "G. 5 von 60 auf 59 s gesetzt, Grün 1 von G. 5 gekürzt, Grün 1 von G. 6 gekürzt, "
            "Grün 1 von G. 7 gekürzt");
  const SignalProgram& plan = Model().Data().SignalPrograms[0];
  for (int g = 0; g < 9; ++g) {
    EXPECT_LE(plan.GreenBegin1[g], 60) << g;
    EXPECT_LE(plan.GreenEnd1[g], 60) << g;
  }
  EXPECT_EQ(plan.GreenEnd1[1], 60);
  EXPECT_EQ(plan.GreenBegin1[2], 0);
  EXPECT_EQ(plan.GreenEnd1[2], 4);
  EXPECT_EQ(Model().UndoName(), "Umlaufzeit P1 auf 60 s");
  Model().Undo();
  EXPECT_TRUE(Unchanged());
  EXPECT_FALSE(Model().CanUndo());
}

bool HasIntergreenFinding(const std::vector<Finding>& findings, int program) {
  return std::ranges::any_of(findings, [program](const Finding& f) {
    return f.Kind == FindingKind::Intergreen && f.Program == program;
  });
}

TEST_F(DemoEdit, FindingsFollowAnIntergreenThePlanNoLongerKeeps) {
  const std::vector<Finding> before = Model().Findings();
  ASSERT_FALSE(HasIntergreenFinding(before, 1));
  // G. 1 ends at 48; G. 3 begins at 71, 23 s later: 30 s cannot be kept.
  ASSERT_TRUE(Model().Execute(SetIntergreen(1, 1, 3, 30)).Ok());
  EXPECT_TRUE(HasIntergreenFinding(Model().Findings(), 1));
  EXPECT_TRUE(HasIntergreenFinding(Model().FindingsOf(1), 1));
  EXPECT_EQ(Model().LastChangedProgram(), 1);
  EXPECT_FALSE(HasIntergreenFinding(Model().FindingsOf(2), 1));
  Model().Undo();
  EXPECT_EQ(Model().Findings(), before);
  Model().Redo();
  EXPECT_TRUE(HasIntergreenFinding(Model().Findings(), 1));
}

}  // namespace
}  // namespace ampelsim::edit
