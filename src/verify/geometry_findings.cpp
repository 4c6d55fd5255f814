#include "verify/geometry_findings.h"

#include <optional>

#include "data/text_format.h"
#include "engine/state_at.h"
#include "verify/finding_factory.h"
#include "verify/finding_list.h"
#include "verify/plan_verifier.h"
#include "verify/timeline.h"
#include "verify/walk.h"

namespace ampelsim {
namespace {

using verification::FindingBuilder;
using verification::GroupName;
using verification::Idx;
using verification::ProgramView;

bool TreatedAsConflicting(const ControllerDataSet& data, int program, int clearing, int entering) {
  const auto& intergreen = data.IntergreenTimes[Idx(program - 1)];
  const auto& locks = data.GreenGreenLocks[Idx(program - 1)];
  return intergreen[Idx(entering)][Idx(clearing)] > 0 ||
         intergreen[Idx(clearing)][Idx(entering)] > 0 || locks[Idx(clearing)][Idx(entering)] != 0 ||
         locks[Idx(entering)][Idx(clearing)] != 0;
}

// The cycle as shown: which groups are green at each shown second.
std::vector<std::vector<bool>> GreenOverCycle(const ProgramView& view, int groups) {
  std::vector<std::vector<bool>> green;
  for (int timePoint : view.CycleOrder()) {
    const auto states = view.StatesAt(timePoint);
    std::vector<bool> row(Idx(groups));
    for (int g = 0; g < groups; ++g) {
      row[Idx(g)] = IsGreenState(states[Idx(g)]);
    }
    green.push_back(std::move(row));
  }
  return green;
}

struct Transition {
  int Position = 0;  // index into the shown cycle where the entering green begins
  int Gap = 0;       // shown seconds since the clearing group's last green
};

// The longest gap between the clearing group's green and the entering
// group's next green start over the cycle; none when one of them never
// turns green or the clearing green does not precede the entering one.
std::optional<Transition> LongestGap(const std::vector<std::vector<bool>>& green, int clearing,
                                     int entering) {
  const int n = static_cast<int>(green.size());
  std::optional<Transition> longest;
  for (int k = 0; k < n; ++k) {
    const auto& now = green[Idx(k)];
    const auto& before = green[Idx((k + n - 1) % n)];
    if (!now[Idx(entering)] || before[Idx(entering)]) {
      continue;
    }
    for (int back = 1; back < n; ++back) {
      const auto& earlier = green[Idx((k + n - back) % n)];
      if (earlier[Idx(entering)]) {
        break;
      }
      if (earlier[Idx(clearing)]) {
        if (!longest || back - 1 > longest->Gap) {
          longest = Transition{k, back - 1};
        }
        break;
      }
    }
  }
  return longest;
}

void CheckProgram(const ControllerDataSet& data, int program,
                  const RequiredIntergreenMatrix& required, std::vector<Finding>& findings) {
  const ProgramView view(data, program);
  const int groups = GroupsInUse(data);
  const auto green = GreenOverCycle(view, groups);
  const auto order = view.CycleOrder();
  for (int entering = 0; entering < groups; ++entering) {
    for (int clearing = 0; clearing < groups; ++clearing) {
      if (clearing == entering || required.Known[Idx(entering)][Idx(clearing)] == 0 ||
          !TreatedAsConflicting(data, program, clearing, entering)) {
        continue;
      }
      const int needed = required.Seconds[Idx(entering)][Idx(clearing)];
      const int given = data.IntergreenTimes[Idx(program - 1)][Idx(entering)][Idx(clearing)];
      const std::string pair = GroupName(data, clearing) + " nach " + GroupName(data, entering);
      if (given < needed) {
        findings.push_back(
            FindingBuilder(Severity::Fehler, FindingKind::Intergreen, Situation::Data, program)
                .Groups({clearing, entering})
                .Says(Format("Zwischenzeit kürzer als berechnet: %s ist %d s, die Geometrie "
                             "verlangt %d s",
                             pair.c_str(), given, needed)));
        continue;
      }
      const auto transition = LongestGap(green, clearing, entering);
      if (transition && transition->Gap > needed) {
        findings.push_back(
            FindingBuilder(Severity::Hinweis, FindingKind::Intergreen, Situation::Cycle, program)
                .Groups({clearing, entering})
                .At(order[Idx(transition->Position)])
                .Says(Format("Zwischenzeit länger als nötig: %s im Umlauf %d s, berechnet %d s; "
                             "%d s je Umlauf verloren",
                             pair.c_str(), transition->Gap, needed, transition->Gap - needed)));
      }
    }
  }
}

}  // namespace

std::vector<Finding> GeometryFindings(const ControllerDataSet& data,
                                      const RequiredIntergreenMatrix& required) {
  std::vector<Finding> findings;
  for (int p = 1; p <= ProgramCount; ++p) {
    if (verification::IsWalkable(data, p)) {
      CheckProgram(data, p, required, findings);
    }
  }
  return findings;
}

std::vector<Finding> VerifyDataSetWithGeometry(const ControllerDataSet& data,
                                               const RequiredIntergreenMatrix& required) {
  verification::FindingList list;
  for (Finding& finding : VerifyDataSet(data)) {
    list.Add(std::move(finding));
  }
  for (Finding& finding : GeometryFindings(data, required)) {
    list.Add(std::move(finding));
  }
  return std::move(list).Sorted();
}

}  // namespace ampelsim
