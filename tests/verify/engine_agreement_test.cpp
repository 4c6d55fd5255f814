// The verifier against the running controller: on random fixed-time
// junctions, what the verifier finds about conflicts and intergreen times is
// exactly what the monitoring raises, at the same second.

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "engine/second_record.h"
#include "random_junction.h"
#include "scenario/harness.h"
#include "verify/plan_verifier.h"

namespace ampelsim {
namespace {

// Takes the traffic actuation out, so that the program runs fixed time.
void MakeFixedTime(ControllerDataSet& data) {
  for (std::size_t p = 0; p < ProgramCount; ++p) {
    SignalProgram& plan = data.SignalPrograms[p];
    plan.DemandPoint1 = plan.DemandPoint2 = 0;
    plan.QueryPoint1 = plan.QueryPoint2 = {};
    plan.TargetPoint1 = plan.TargetPoint2 = {};
    plan.ExtensionPoint1 = plan.ExtensionPoint2 = {};
    data.ChangeTargetProgram[p] = 0;
  }
}

class FaultCollector : public SecondObserver {
 public:
  void OnFault(const FaultRecord& record) override { faults.push_back(record); }
  void OnSecond(const SecondRecord&) override {}
  std::vector<FaultRecord> faults;
};

bool IsMonitoringFault(std::int32_t kind) {
  return kind == HostileGreen || kind == IntergreenViolation;
}

bool IsMonitoredFinding(const Finding& f, int program) {
  return f.Level == Severity::Fehler && f.Program == program &&
         (f.Kind == FindingKind::GreenConflict || f.Kind == FindingKind::Intergreen);
}

bool InStretch(int second, int first, int last) {
  return first <= last ? first <= second && second <= last : second >= first || second <= last;
}

// A fault the verifier foresaw: same kind and groups, and in the program's
// cycle the same second.
bool Foresees(const Finding& f, const FaultRecord& fault) {
  if (f.Groups.size() != 2) {
    return false;
  }
  if (f.Kind == FindingKind::Intergreen) {
    if (fault.Kind != IntergreenViolation || f.Groups[0] != fault.FirstGroup ||
        f.Groups[1] != fault.SecondGroup) {
      return false;
    }
  } else {
    const bool same = (f.Groups[0] == fault.FirstGroup && f.Groups[1] == fault.SecondGroup) ||
                      (f.Groups[1] == fault.FirstGroup && f.Groups[0] == fault.SecondGroup);
    if (fault.Kind != HostileGreen || !same) {
      return false;
    }
  }
  if (f.Where == Situation::SwitchOn && f.Second < 0) {
    return true;  // in a switch-on step
  }
  const int last = f.LastSecond >= 0 ? f.LastSecond : f.Second;
  return InStretch(fault.TimePoint, f.Second, last);
}

struct Tally {
  int Compared = 0;    // runs of a valid data set compared with the findings
  int WithErrors = 0;  // of which the cycle had conflicts or intergreen errors
  int Clean = 0;       // of which the verifier found neither
};

// Runs the first usable program of the junction through its switch-on
// program and four cycles and compares the first fault with the findings.
void RunAndCompare(const ControllerDataSet& junction, std::uint64_t seed, Tally& tally) {
  int program = 0;
  for (int p = 1; p <= ProgramCount && program == 0; ++p) {
    if (IsProgramUsable(junction, p)) {
      program = p;
    }
  }
  ASSERT_NE(program, 0) << "seed " << seed;
  char script[64];
  std::snprintf(script, sizeof script, "0 program P%d\n1 press Start\n", program);
  scenario_test::ScenarioHarness run(junction, script);
  FaultCollector faults;
  run.Sim().AddObserver(faults);
  run.RunUntilTick(1);
  if (!run.Sim().Loader().DataValid()) {
    run.Sim().RemoveObserver(faults);
    return;
  }
  ++tally.Compared;
  const std::vector<Finding> findings = VerifyDataSet(run.Sim().Data());
  // A run goes through the switch-on program into the cycle. The verifier
  // also reports greens that begin at EZP, which the monitoring lets pass
  // (it marks every green checked when cycle operation begins): a fault
  // may come from either, and one must come from the cycle's findings.
  std::vector<Finding> expected;
  bool inCycle = false;
  for (const Finding& f : findings) {
    if (IsMonitoredFinding(f, program) &&
        (f.Where == Situation::Cycle || f.Where == Situation::SwitchOn)) {
      expected.push_back(f);
      inCycle = inCycle || f.Where == Situation::Cycle;
    }
  }
  const std::int64_t cycle =
      run.Sim().Data().SignalPrograms[static_cast<std::size_t>(program - 1)].CycleTime;
  // Switch-on (at most 3 x 5 s in plausible junctions) and four cycles; a
  // fault ends the run.
  for (std::int64_t tick = 1; tick < (20 + 4 * cycle) * 10 && faults.faults.empty(); ++tick) {
    run.RunUntilTick(tick + 1);
  }
  run.Sim().RemoveObserver(faults);
  SCOPED_TRACE("seed " + std::to_string(seed) + ", P" + std::to_string(program));
  if (expected.empty()) {
    ++tally.Clean;
    for (const FaultRecord& fault : faults.faults) {
      EXPECT_FALSE(IsMonitoringFault(fault.Kind))
          << "unforeseen fault " << fault.Kind << " at " << fault.TimePoint << ", groups "
          << fault.FirstGroup << "/" << fault.SecondGroup;
    }
    return;
  }
  // An EZP outside the cycle (a finding of its own) lets the controller
  // count time points outside the cycle for as long as it takes to reach it.
  const std::int32_t ezp =
      run.Sim().Data().SignalPrograms[static_cast<std::size_t>(program - 1)].SwitchOnPoint;
  if (inCycle && run.Sim().State().MainState >= 3000 && ezp >= 0 && ezp < cycle) {
    ++tally.WithErrors;
    std::string all;
    for (const Finding& f : expected) {
      all += "\n  " + f.Text;
    }
    ASSERT_FALSE(faults.faults.empty()) << "foreseen, not raised:" << all;
  }
  if (faults.faults.empty()) {
    return;
  }
  const FaultRecord& fault = faults.faults.front();
  EXPECT_EQ(fault.Program, program);
  const bool foreseen = std::any_of(expected.begin(), expected.end(),
                                    [&](const Finding& f) { return Foresees(f, fault); });
  EXPECT_TRUE(foreseen) << "fault " << fault.Kind << " at " << fault.TimePoint << ", groups "
                        << fault.FirstGroup << "/" << fault.SecondGroup << "; first finding "
                        << expected.front().Text;
}

TEST(EngineAgreement, VerifierForeseesEveryMonitoringFaultOfRandomFixedTimeJunctions) {
  Tally tally;
  for (std::uint64_t seed = 1; seed <= 100; ++seed) {
    std::mt19937_64 random(seed);
    auto junction = soak::PlausibleJunction(random);
    MakeFixedTime(*junction);
    RunAndCompare(*junction, seed, tally);
  }
  // Both sides of the agreement were exercised.
  EXPECT_GT(tally.WithErrors, 5);
  EXPECT_GT(tally.Clean, 5);
}

// Every table random bytes: huge, negative and wrapping values everywhere.
TEST(EngineAgreement, VerifierForeseesEveryMonitoringFaultOfRawJunctions) {
  Tally tally;
  // Seeds 41..70 hold self-locked groups and EZPs far outside the cycle.
  for (std::uint64_t seed = 41; seed <= 70; ++seed) {
    std::mt19937_64 random(seed);
    auto junction = soak::RawJunction(random);
    MakeFixedTime(*junction);
    RunAndCompare(*junction, seed, tally);
  }
  // Their EZP lies outside the cycle nearly always: they check that every
  // fault raised is foreseen, and that none comes where none is.
  EXPECT_GT(tally.Compared, 10);
}

}  // namespace
}  // namespace ampelsim
