#include "verify/plausibility.h"

#include <vector>

#include "data/signal_state.h"
#include "data/text_format.h"
#include "engine/state_at.h"
#include "verify/finding_factory.h"
#include "verify/plan_verifier.h"

namespace ampelsim::verification {

void CheckPlausibility(const ProgramView& view, FindingList& findings) {
  const ControllerDataSet& data = view.Data();
  const SignalProgram& plan = view.Plan();
  const int p = view.Number();
  const int groups = GroupsInUse(data);
  std::vector<bool> green(Idx(groups), false);
  if (view.Cycle() <= MaxVerifiedCycle) {
    for (int t = 0; t < view.Cycle(); ++t) {
      const States states = view.StatesAt(t);
      for (int g = 0; g < groups; ++g) {
        green[Idx(g)] = green[Idx(g)] || IsGreenState(states[Idx(g)]);
      }
    }
  }
  for (int g = 0; g < groups; ++g) {
    const auto i = Idx(g);
    const std::string name = GroupName(data, g);
    const std::int32_t yellow = plan.YellowTime[i];
    const std::int32_t redYellow = plan.RedYellowTime[i];
    const bool vehicle = yellow > 0 || redYellow > 0;
    if (vehicle && yellow < 3) {
      findings.Add(PlausibilityFinding(p).Groups({g}).Says(
          Format("P%d: %s hat nur %d s Gelb; Fahrzeugsignale brauchen mindestens 3 s", p,
                 name.c_str(), yellow)));
    }
    if (vehicle && redYellow != 1) {
      findings.Add(PlausibilityFinding(p).Groups({g}).Says(
          Format("P%d: %s hat %d s Rot-Gelb statt 1 s", p, name.c_str(), redYellow)));
    }
    if (GroupUsed(data, view.Index(), g) && plan.RedMonitored[i] == 0) {
      findings.Add(PlausibilityFinding(p).Groups({g}).Says(
          Format("P%d: %s ist in Betrieb, aber ohne Rotüberwachung", p, name.c_str())));
    }
    if (view.Cycle() <= MaxVerifiedCycle && !green[i]) {
      findings.Add(PlausibilityFinding(p).Groups({g}).Says(
          Format("P%d: %s bekommt im freigegebenen Programm nie Grün", p, name.c_str())));
    }
  }
}

}  // namespace ampelsim::verification
