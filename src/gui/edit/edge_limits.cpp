#include "gui/edit/edge_limits.h"

#include <cstddef>

#include "edit/edit_checks.h"
#include "engine/state_at.h"

namespace ampelsim::ui {
namespace {

struct Green {
  int Begin = 0;
  int End = 0;
};

// The green windows a group has in a program (an absent one is 0 to 0).
std::vector<Green> GreensOf(const SignalProgram& plan, std::size_t g) {
  std::vector<Green> greens;
  if (plan.GreenBegin1[g] != 0 || plan.GreenEnd1[g] != 0) {
    greens.push_back({plan.GreenBegin1[g], plan.GreenEnd1[g]});
  }
  if (plan.GreenBegin2[g] != 0 || plan.GreenEnd2[g] != 0) {
    greens.push_back({plan.GreenBegin2[g], plan.GreenEnd2[g]});
  }
  return greens;
}

int Wrapped(int second, int cycle) {
  return ((second % cycle) + cycle) % cycle;
}

// The seconds a window [begin, end) of the cycle lasts.
int LengthOf(int begin, int end, int cycle) {
  return Wrapped(end - begin, cycle);
}

std::string IntergreenText(int clearing, int entering, int required) {
  return "Zwischenzeit " + edit::GroupLabel(clearing) + " → " + edit::GroupLabel(entering) + ": " +
         std::to_string(required) + " s";
}

void AddIntergreens(std::vector<LimitBand>& bands, const ControllerDataSet& data, int program,
                    int group) {
  const SignalProgram& plan = edit::PlanOf(data, program);
  const int cycle = plan.CycleTime;
  const auto& matrix = data.IntergreenTimes[edit::Index(program)];
  const std::size_t own = edit::Index(group);
  for (int other = 1; other <= GroupsInUse(data); ++other) {
    const std::size_t o = edit::Index(other);
    if (other == group) {
      continue;
    }
    // The matrix is kept [entering][clearing].
    const int afterOther = matrix[own][o];   // the group enters after the other
    const int beforeOther = matrix[o][own];  // the other enters after the group
    for (const Green& green : GreensOf(plan, o)) {
      if (afterOther > 0) {
        const int length = LengthOf(green.Begin, green.End, cycle) + afterOther;
        bands.push_back({green.Begin, Wrapped(green.Begin + std::min(length, cycle), cycle),
                         LimitKind::Intergreen, IntergreenText(other, group, afterOther)});
      }
      if (beforeOther > 0) {
        const int length = LengthOf(green.Begin, green.End, cycle) + beforeOther;
        const int begin = Wrapped(green.End - std::min(length, cycle), cycle);
        bands.push_back({begin, Wrapped(green.End, cycle), LimitKind::Intergreen,
                         IntergreenText(group, other, beforeOther)});
      }
    }
  }
}

}  // namespace

bool LimitBand::Contains(int second) const {
  if (Begin == End) {
    return Kind == LimitKind::Intergreen;  // a stretch over the whole cycle
  }
  return CycleWindow{Begin, End}.Contains(second);
}

bool LimitBand::ViolatedBy(int begin, int end, int cycle) const {
  if (cycle <= 0) {
    return false;
  }
  const int length = LengthOf(begin, end, cycle);
  if (Kind == LimitKind::MinimumGreen) {
    return length < LengthOf(Begin, End, cycle);
  }
  for (int t = 0; t < length; ++t) {
    if (Contains(Wrapped(begin + t, cycle))) {
      return true;
    }
  }
  return false;
}

std::vector<LimitBand> EdgeLimits(const ControllerDataSet& data, int program, int group, int window,
                                  std::optional<edit::GreenEdge> edge) {
  std::vector<LimitBand> bands;
  if (program < 1 || program > ProgramCount || group < 1 || group > GroupsInUse(data) ||
      edit::PlanOf(data, program).CycleTime <= 0) {
    return bands;
  }
  const SignalProgram& plan = edit::PlanOf(data, program);
  const int cycle = plan.CycleTime;
  const std::size_t g = edit::Index(group);
  const int minimum = data.MinGreenTimes[g][edit::Index(program)];
  if (edge && minimum > 0 && minimum < cycle) {
    const Green green = window == 2 ? Green{plan.GreenBegin2[g], plan.GreenEnd2[g]}
                                    : Green{plan.GreenBegin1[g], plan.GreenEnd1[g]};
    const int from = *edge == edit::GreenEdge::End ? green.Begin : green.End - minimum;
    bands.push_back({Wrapped(from, cycle), Wrapped(from + minimum, cycle), LimitKind::MinimumGreen,
                     "Mindestgrün " + std::to_string(minimum) + " s"});
  }
  AddIntergreens(bands, data, program, group);
  return bands;
}

}  // namespace ampelsim::ui
