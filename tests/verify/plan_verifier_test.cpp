// Small hand-made junctions, one for each kind of finding.

#include "verify/plan_verifier.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "scenario/junction.h"

namespace ampelsim {
namespace {

using scenario_test::BaseJunction;
using scenario_test::Lock;
using scenario_test::SetIntergreen;

std::vector<Finding> Errors(const ControllerDataSet& data) {
  std::vector<Finding> errors;
  for (const Finding& finding : VerifyDataSet(data)) {
    if (finding.Level == Severity::Fehler) {
      errors.push_back(finding);
    }
  }
  return errors;
}

std::string Texts(const std::vector<Finding>& findings) {
  std::string text;
  for (const Finding& finding : findings) {
    text += finding.Text + "\n";
  }
  return text;
}

TEST(PlanVerifier, BaseJunctionHasNoError) {
  const auto data = BaseJunction();
  EXPECT_EQ(Texts(Errors(*data)), "");
}

// G1 (K11) ends its green at 10, G2 (K12) begins at 15: a gap of 5 s.
TEST(PlanVerifier, IntergreenAboveTheGapIsAnErrorWithProgramGroupsAndSecond) {
  auto data = BaseJunction();
  SetIntergreen(*data, 1, 2, 1, 6);
  const auto errors = Errors(*data);
  ASSERT_FALSE(errors.empty());
  const Finding& first = errors.front();
  EXPECT_EQ(first.Kind, FindingKind::Intergreen);
  EXPECT_EQ(first.Where, Situation::Cycle);
  EXPECT_EQ(first.Program, 1);
  EXPECT_EQ(first.Second, 15);
  EXPECT_EQ(first.Groups, (std::vector<int>{2, 1}));
  EXPECT_EQ(first.Text,
            "P1: K12 (G. 2) wird in s 15 grün, 5 s nach Ende von K11 (G. 1); Zwischenzeit 6 s "
            "verlangt");
}

TEST(PlanVerifier, LockedGroupsGreenTogetherAreOneStretch) {
  auto data = BaseJunction();
  Lock(*data, 1, 1, 3);  // G1 green 2..10, G3 green 3..8
  const auto errors = Errors(*data);
  const auto conflict = std::find_if(errors.begin(), errors.end(), [](const Finding& f) {
    return f.Kind == FindingKind::GreenConflict && f.Program == 1;
  });
  ASSERT_NE(conflict, errors.end()) << Texts(errors);
  EXPECT_EQ(conflict->Second, 3);
  EXPECT_EQ(conflict->LastSecond, 7);
  EXPECT_EQ(conflict->Groups, (std::vector<int>{1, 3}));
}

TEST(PlanVerifier, GreenShorterThanMinimumGreen) {
  auto data = BaseJunction();
  data->MinGreenTimes[1][0] = 4;  // G2 in P1 is green 15..18: 3 s
  const auto errors = Errors(*data);
  ASSERT_EQ(errors.size(), 2u) << Texts(errors);
  EXPECT_EQ(errors[0].Kind, FindingKind::MinimumGreen);
  EXPECT_EQ(errors[0].Text, "P1: K12 (G. 2) ist von s 15 bis s 18 nur 3 s grün; Mindestgrün 4 s");
  // AZP 15 lies in that green: the switch-off cuts it after its first second.
  EXPECT_EQ(errors[1].Where, Situation::SwitchOff);
  EXPECT_EQ(errors[1].Text,
            "P1 AZP 15 und gez. Ausschaltprogramm: K12 (G. 2) ist von s 15 bis Schritt 1 (s 0) "
            "nur 1 s grün; Mindestgrün 4 s");
  data->MinGreenTimes[1][0] = 1;
  EXPECT_TRUE(Errors(*data).empty()) << Texts(Errors(*data));
}

// Entering P2 at its GSP1 10 cuts into G1's green 2..18 of P2: from P1's
// GSP1 12, where G1 is yellow, G1 is green only 10..17.
TEST(PlanVerifier, ProgramChangeThatCutsAGreenShort) {
  auto data = BaseJunction();
  data->SignalPrograms[1].ChangePoint1 = 10;
  data->MinGreenTimes[0][1] = 10;
  const auto errors = Errors(*data);
  const auto cut = std::find_if(errors.begin(), errors.end(), [](const Finding& f) {
    return f.Text.starts_with("Wechsel P1 (GSP1, s 12) nach P2 (s 10)");
  });
  ASSERT_NE(cut, errors.end()) << Texts(errors);
  EXPECT_EQ(cut->Where, Situation::Change);
  EXPECT_EQ(cut->Program, 2);
  EXPECT_EQ(cut->Kind, FindingKind::MinimumGreen);
  EXPECT_NE(cut->Text.find("nur 8 s grün"), std::string::npos) << cut->Text;
  // The way back, P2 at 10 into P1 at 12, ends G1 after 9 s of P2 and leaves
  // G2 too little intergreen in P1: a change both ways is looked at.
  EXPECT_TRUE(std::any_of(errors.begin(), errors.end(), [](const Finding& f) {
    return f.Text.starts_with("Wechsel P2 (GSP1, s 10) nach P1 (s 12): K12 (G. 2) wird in s 15");
  })) << Texts(errors);
  for (const Finding& f : errors) {
    EXPECT_EQ(f.Where, Situation::Change) << f.Text;
  }
}

TEST(PlanVerifier, SwitchOnStepWithLockedGreens) {
  auto data = BaseJunction();
  data->SwitchOnPrograms[0][1].Duration = 2;
  data->SwitchOnPrograms[0][1].Green = {1, 1, 0};
  const auto errors = Errors(*data);
  const auto conflict = std::find_if(errors.begin(), errors.end(), [](const Finding& f) {
    return f.Kind == FindingKind::GreenConflict && f.Where == Situation::SwitchOn;
  });
  ASSERT_NE(conflict, errors.end()) << Texts(errors);
  EXPECT_NE(conflict->Text.find("im Schritt 2"), std::string::npos) << conflict->Text;
}

// A clearing group the monitoring never counts (beyond the groups in use)
// keeps the target-jump check from ever passing: the cycle would stand still.
TEST(PlanVerifier, TargetJumpThatTheSafetyCheckNeverReleases) {
  auto data = BaseJunction();
  auto& p1 = data->SignalPrograms[0];
  p1.QueryPoint1[1] = 20;  // time point 0, all red
  p1.TargetPoint1[1] = 15;
  EXPECT_TRUE(Errors(*data).empty()) << Texts(Errors(*data));
  SetIntergreen(*data, 1, 2, 5, 10);
  const auto errors = Errors(*data);
  ASSERT_EQ(errors.size(), 1u) << Texts(errors);
  EXPECT_EQ(errors[0].Kind, FindingKind::TargetJump);
  EXPECT_NE(errors[0].Text.find("nie frei"), std::string::npos) << errors[0].Text;
}

TEST(PlanVerifier, ReferencesOutsideWhatIsDefined) {
  struct Case {
    const char* Name;
    void (*Break)(ControllerDataSet&);
    const char* Expected;
  };
  const Case cases[] = {
      {"emergency program without cycle",
       [](ControllerDataSet& d) { d.GeneralData.EmergencyProgram = 5; },
       "Notprogramm P5 hat keine Umlaufzeit"},
      {"switching point to an unreleased program",
       [](ControllerDataSet& d) { d.SwitchingPoints[0][0][3] = 360; },
       "Schaltpunkt 01 (Mo 06:00) schaltet auf P4"},
      {"change on demand to an unusable program",
       [](ControllerDataSet& d) { d.ChangeTargetProgram[0] = 3; },
       "Programmwechsel auf Anforderung nach Programm 3"},
      {"query point beyond the cycle",
       [](ControllerDataSet& d) { d.SignalPrograms[0].QueryPoint1[2] = 21; },
       "Abfr.Anf. 1 von K13 (G. 3) = 21 liegt außerhalb"},
      {"AZP beyond the cycle",
       [](ControllerDataSet& d) { d.SignalPrograms[1].SwitchOffPoint = 30; },
       "P2: AZP = 30 liegt außerhalb"},
      {"demand point negative", [](ControllerDataSet& d) { d.SignalPrograms[0].DemandPoint1 = -1; },
       "Anf. Zeit 1 = -1"},
  };
  for (const Case& c : cases) {
    auto data = BaseJunction();
    c.Break(*data);
    const std::string texts = Texts(Errors(*data));
    EXPECT_NE(texts.find(c.Expected), std::string::npos) << c.Name << ":\n" << texts;
  }
}

TEST(PlanVerifier, PlausibilityIsWarningNotError) {
  auto data = BaseJunction();
  data->SignalPrograms[0].YellowTime[0] = 2;
  data->SignalPrograms[0].RedYellowTime[0] = 2;
  data->SignalPrograms[0].RedMonitored[0] = 0;
  const auto findings = VerifyDataSet(*data);
  auto has = [&](std::string_view text) {
    return std::any_of(findings.begin(), findings.end(), [&](const Finding& f) {
      return f.Level == Severity::Warnung && f.Text.find(text) != std::string::npos;
    });
  };
  EXPECT_TRUE(has("P1: K11 (G. 1) hat nur 2 s Gelb"));
  EXPECT_TRUE(has("P1: K11 (G. 1) hat 2 s Rot-Gelb statt 1 s"));
  EXPECT_TRUE(has("P1: K11 (G. 1) ist in Betrieb, aber ohne Rotüberwachung"));
}

}  // namespace
}  // namespace ampelsim
