#include <gtest/gtest.h>

#include <functional>
#include <memory>
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
#include "scenario/junction.h"

namespace ampelsim::edit {
namespace {

// The scenario tests' junction: G. 1..3; P1 20 s (G. 1 green 2..10), P2 30 s,
// P3 undefined; G. 1/G. 2 and G. 2/G. 3 locked with their intergreens.
EditModel Junction() {
  return EditModel(scenario_test::BaseJunction());
}

struct Refusal {
  const char* Case;
  std::function<std::unique_ptr<EditCommand>()> Make;
  const char* Reason;
};

template <class Command, class... Args>
std::function<std::unique_ptr<EditCommand>()> Make(Args... args) {
  return [=] { return std::make_unique<Command>(args...); };
}

class Refused : public ::testing::TestWithParam<Refusal> {};

TEST_P(Refused, WithItsReasonAndTheDataSetUntouched) {
  EditModel model = Junction();
  const auto before = edit_test::Encoded(model.Data());
  const auto result = model.Execute(*GetParam().Make());
  ASSERT_FALSE(result.Ok());
  EXPECT_EQ(result.Failure().Message, GetParam().Reason);
  EXPECT_EQ(edit_test::Encoded(model.Data()), before);
  EXPECT_FALSE(model.CanUndo());
}

INSTANTIATE_TEST_SUITE_P(
    Edits, Refused,
    ::testing::Values(
        Refusal{"GroupAboveCount", Make<SetGreenEdge>(1, 4, 1, GreenEdge::Begin, 5),
                "Signalgruppe 4 gibt es nicht (1 bis 3)"},
        Refusal{"ProgramOutside", Make<SetCycleTime>(7, 80), "Programm 7 gibt es nicht (1 bis 6)"},
        Refusal{"ProgramWithoutCycle", Make<SetProgramPoint>(3, ProgramPoint::SwitchOn, 5),
                "P3 hat keine Umlaufzeit"},
        Refusal{"PointOutsideCycle", Make<SetGroupPoint>(1, 1, GroupPoint::Wait, 20),
                "Wartepkt. 20 s liegt außerhalb des Umlaufs von P1 (0 bis 19 s)"},
        Refusal{"GreenOutsideCycle", Make<SetGreenWindow>(1, 1, 1, 5, 25),
                "Grünende 25 s liegt außerhalb des Umlaufs von P1 (0 bis 20 s)"},
        Refusal{"EmptyGreen", Make<SetGreenEdge>(1, 1, 1, GreenEdge::End, 2),
                "Grün von G. 1 in P1 wäre leer (2 bis 2 s)"},
        Refusal{"OverlappingGreens", Make<SetGreenWindow>(1, 1, 2, 8, 12),
                "Grün 2 von G. 1 in P1 überschneidet sich in Sekunde 8 mit dem anderen Grün"},
        Refusal{"NoSecondGreen", Make<SetGreenEdge>(1, 1, 2, GreenEdge::End, 15),
                "G. 1 hat in P1 kein Grün 2"},
        Refusal{"LockedWithoutIntergreen", Make<SetIntergreen>(1, 1, 2, 0),
                "G. 1 und G. 2 sind in P1 feindlich; ihre Zwischenzeit darf nicht 0 s sein"},
        Refusal{"LockWithoutIntergreens", Make<SetLock>(1, 1, 3, true),
                "Zwischenzeiten 1 → 3 und 3 → 1 (P1) fehlen; eine Feindlichkeit braucht beide"},
        Refusal{"IntergreenTooLong", Make<SetIntergreen>(1, 1, 3, 256),
                "Zwischenzeit 256 s liegt außerhalb von 0 bis 255 s"},
        Refusal{"AddNotNext", Make<AddGroup>(5),
                "Signalgruppe 5 kann nicht hinzugefügt werden; die nächste ist 4"},
        Refusal{"RemoveNotLast", Make<RemoveGroup>(2),
                "Nur die letzte Signalgruppe (3) kann entfernt werden"},
        Refusal{"CycleTooLong", Make<SetCycleTime>(1, 3601),
                "Umlaufzeit 3601 s liegt außerhalb von 1 bis 3600 s"},
        Refusal{"ReleaseUndefined", Make<SetProgramReleased>(3, true), "P3 hat keine Umlaufzeit"},
        Refusal{"TextNotWindows1252", Make<SetSiteText>(SiteText::Line1, std::string("Ω-Platz")),
                "Standorttext 1 hat ein Zeichen, das Windows-1252 nicht kennt"},
        Refusal{"FieldWithOwnCommand",
                Make<SetField>(FieldRecord::OfProgram(1), std::string("CycleTime"), 0,
                               FieldValue{std::int64_t{10}}),
                "CycleTime wird über „Umlaufzeit“ geändert"},
        Refusal{"FieldGroupAboveCount",
                Make<SetField>(FieldRecord::OfProgram(1), std::string("ExtensionTime1"), 4,
                               FieldValue{std::int64_t{5}}),
                "Signalgruppe 4 gibt es nicht (1 bis 3)"},
        Refusal{"FieldPointOutsideCycle",
                Make<SetField>(FieldRecord::OfProgram(2), std::string("SwitchOnPoint"), 0,
                               FieldValue{std::int64_t{30}}),
                "SwitchOnPoint 30 s liegt außerhalb des Umlaufs von P2 (0 bis 29 s)"},
        Refusal{"FieldByteRange",
                Make<SetField>(FieldRecord::General(), std::string("ModeSimulatable"), 0,
                               FieldValue{std::int64_t{256}}),
                "ModeSimulatable 256 liegt außerhalb von 0 bis 255"},
        Refusal{"FieldUnknown",
                Make<SetField>(FieldRecord::General(), std::string("Gibtsnicht"), 0,
                               FieldValue{std::int64_t{1}}),
                "Das Feld Gibtsnicht gibt es in diesem Satz nicht"}),
    [](const auto& test) { return std::string(test.param.Case); });

struct FieldEdit {
  const char* Case;
  FieldRecord Record;
  const char* Field;
  int Element;
  FieldValue Value;
  std::function<std::int64_t(const ControllerDataSet&)> Read;
};

class FieldEdited : public ::testing::TestWithParam<FieldEdit> {};

TEST_P(FieldEdited, ReachesTheFieldOfItsRecord) {
  EditModel model = Junction();
  const FieldEdit& edit = GetParam();
  const auto done = model.Execute(SetField(edit.Record, edit.Field, edit.Element, edit.Value));
  ASSERT_TRUE(done.Ok()) << done.Failure().Message;
  EXPECT_EQ(edit.Read(model.Data()), std::get<std::int64_t>(edit.Value));
}

INSTANTIATE_TEST_SUITE_P(
    Records, FieldEdited,
    ::testing::Values(
        FieldEdit{"General", FieldRecord::General(), "Demand1MissLimit", 0,
                  FieldValue{std::int64_t{5}},
                  [](const ControllerDataSet& d) { return d.GeneralData.Demand1MissLimit; }},
        FieldEdit{"ProgramPerGroup", FieldRecord::OfProgram(2), "ExtensionTime1", 3,
                  FieldValue{std::int64_t{7}},
                  [](const ControllerDataSet& d) { return d.SignalPrograms[1].ExtensionTime1[2]; }},
        FieldEdit{"ProgramPoint", FieldRecord::OfProgram(2), "SwitchOnPoint", 0,
                  FieldValue{std::int64_t{29}},
                  [](const ControllerDataSet& d) { return d.SignalPrograms[1].SwitchOnPoint; }},
        FieldEdit{"SwitchStepLamp", FieldRecord::OfStep(SwitchKind::PlannedOff, 1, 2), "Red", 3,
                  FieldValue{std::int64_t{1}},
                  [](const ControllerDataSet& d) { return d.PlannedOffPrograms[0][1].Red[2]; }}),
    [](const auto& test) { return std::string(test.param.Case); });

TEST(EditCommands, ATextFieldIsStoredInWindows1252) {
  EditModel model = Junction();
  ASSERT_TRUE(
      model.Execute(SetField(FieldRecord::General(), "ClientText", 0, std::string("Köln"))).Ok());
  EXPECT_EQ(model.Data().GeneralData.ClientText.Str(), "K\xf6ln");
}

TEST(EditCommands, NamesAreTheMenuTexts) {
  EXPECT_EQ(SetGreenEdge(2, 3, 1, GreenEdge::Begin, 12).Name(), "Grünbeginn G. 3 (P2) auf 12 s");
  EXPECT_EQ(SetIntergreen(1, 1, 3, 6).Name(), "Zwischenzeit 1 → 3 (P1) auf 6 s");
  EXPECT_EQ(SetCycleTime(2, 80).Name(), "Umlaufzeit P2 auf 80 s");
  EXPECT_EQ(AddGroup(7).Name(), "Signalgruppe 7 hinzugefügt");
}

TEST(EditCommands, TheIntergreenCellIsFromClearingToEntering) {
  EditModel model = Junction();
  ASSERT_TRUE(model.Execute(SetIntergreen(1, 1, 3, 6)).Ok());
  // [program][entering][clearing], as the controller reads it.
  EXPECT_EQ(model.Data().IntergreenTimes[0][2][0], 6);
  EXPECT_EQ(model.Data().IntergreenTimes[0][0][2], 0);
}

TEST(EditCommands, ALockIsSymmetricOnceBothIntergreensExist) {
  EditModel model = Junction();
  ASSERT_TRUE(model.Execute(SetIntergreen(1, 1, 3, 6)).Ok());
  ASSERT_TRUE(model.Execute(SetIntergreen(1, 3, 1, 4)).Ok());
  ASSERT_TRUE(model.Execute(SetLock(1, 3, 1, true)).Ok());
  EXPECT_EQ(model.Data().GreenGreenLocks[0][0][2], 1);
  EXPECT_EQ(model.Data().GreenGreenLocks[0][2][0], 1);
}

TEST(EditCommands, MovingAGreenKeepsItsLengthOverTheCycleEnd) {
  EditModel model = Junction();
  // G. 1 in P1: 2..10 in a cycle of 20; moved to 15 it wraps to 15..3.
  ASSERT_TRUE(model.Execute(MoveGreenWindow(1, 1, 1, 15)).Ok());
  EXPECT_EQ(model.Data().SignalPrograms[0].GreenBegin1[0], 15);
  EXPECT_EQ(model.Data().SignalPrograms[0].GreenEnd1[0], 3);
  ASSERT_TRUE(model.Execute(MoveGreenWindow(1, 1, 1, 12)).Ok());
  EXPECT_EQ(model.Data().SignalPrograms[0].GreenEnd1[0], 20);
}

TEST(EditCommands, ARemovedGroupComesBackEmpty) {
  EditModel model = Junction();
  ASSERT_TRUE(model.Execute(SetIntergreen(1, 1, 3, 6)).Ok());
  ASSERT_TRUE(model.Execute(RemoveGroup(3)).Ok());
  EXPECT_EQ(model.Data().GeneralData.GroupCount, 2);
  ASSERT_TRUE(model.Execute(AddGroup(3)).Ok());
  const ControllerDataSet& data = model.Data();
  EXPECT_EQ(data.IntergreenTimes[0][2][0], 0);
  EXPECT_EQ(data.GreenGreenLocks[0][1][2], 0);
  EXPECT_EQ(data.SignalPrograms[0].GreenBegin1[2], 0);
  EXPECT_EQ(data.SignalPrograms[0].GreenEnd1[2], 0);
}

TEST(EditCommands, ASecondGreenOnlyBesideAFirst) {
  EditModel model = Junction();
  ASSERT_TRUE(model.Execute(AddGroup(4)).Ok());
  const auto refused = model.Execute(SetGreenWindow(1, 4, 2, 12, 14));
  ASSERT_FALSE(refused.Ok());
  EXPECT_EQ(refused.Failure().Message, "G. 4 hat in P1 kein erstes Grün; erst Grün 1 anlegen");
  ASSERT_TRUE(model.Execute(SetGreenWindow(1, 4, 1, 2, 6)).Ok());
  ASSERT_TRUE(model.Execute(SetGreenWindow(1, 4, 2, 12, 14)).Ok());
  const auto kept = model.Execute(RemoveGreenWindow(1, 4, 1));
  ASSERT_FALSE(kept.Ok());
  EXPECT_EQ(kept.Failure().Message, "G. 4 hat in P1 ein zweites Grün; erst Grün 2 entfernen");
}

TEST(EditCommands, AShorterCycleKeepsTheRemainingGreenAsTheFirst) {
  EditModel model = Junction();
  ASSERT_TRUE(model.Execute(SetGreenWindow(1, 1, 1, 14, 18)).Ok());
  ASSERT_TRUE(model.Execute(SetGreenWindow(1, 1, 2, 2, 6)).Ok());
  const auto done = model.Execute(SetCycleTime(1, 12));
  ASSERT_TRUE(done.Ok());
  EXPECT_NE(done.Value().find("Grün 1 von G. 1 entfernt, Grün 2 von G. 1 wird Grün 1"),
            std::string::npos)
      << done.Value();
  const SignalProgram& plan = model.Data().SignalPrograms[0];
  EXPECT_EQ(plan.GreenBegin1[0], 2);
  EXPECT_EQ(plan.GreenEnd1[0], 6);
  EXPECT_EQ(plan.GreenBegin2[0], 0);
  EXPECT_EQ(plan.GreenEnd2[0], 0);
}

TEST(EditCommands, AnUnchangedTextKeepsItsStoredBytes) {
  auto data = scenario_test::BaseJunction();
  data->GeneralData.SiteText1.LengthByte = 77;  // as some files hold it
  data->GeneralData.SiteText1.Bytes[0] = 'A';
  EditModel model(std::move(data));
  const auto done = model.Execute(SetSiteText(SiteText::Line1, "A"));
  ASSERT_TRUE(done.Ok());
  EXPECT_FALSE(model.CanUndo());
  EXPECT_EQ(model.Data().GeneralData.SiteText1.LengthByte, 77);
}

}  // namespace
}  // namespace ampelsim::edit
