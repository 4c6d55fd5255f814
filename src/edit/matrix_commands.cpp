#include "edit/matrix_commands.h"

#include "data/text_format.h"
#include "edit/edit_checks.h"

namespace ampelsim::edit {
namespace {

// The verifier's bound: a longer intergreen can never be kept.
constexpr int LongestIntergreen = 255;

std::optional<Error> PairRefusal(const ControllerDataSet& data, int program, int first,
                                 int second) {
  if (auto refusal = ProgramRefusal(program)) {
    return refusal;
  }
  if (auto refusal = GroupRefusal(data, first)) {
    return refusal;
  }
  if (auto refusal = GroupRefusal(data, second)) {
    return refusal;
  }
  if (first == second) {
    return Error{Format("%s steht nicht gegen sich selbst", GroupLabel(first).c_str())};
  }
  return std::nullopt;
}

std::int32_t& IntergreenOf(ControllerDataSet& data, int program, int clearing, int entering) {
  return data.IntergreenTimes[Index(program)][Index(entering)][Index(clearing)];
}

bool IsLocked(const ControllerDataSet& data, int program, int first, int second) {
  const auto& locks = data.GreenGreenLocks[Index(program)];
  return locks[Index(first)][Index(second)] != 0 || locks[Index(second)][Index(first)] != 0;
}

}  // namespace

std::string SetIntergreen::Name() const {
  return Format("Zwischenzeit %d → %d (P%d) auf %d s", clearing_, entering_, program_, seconds_);
}

std::string SetIntergreen::MergeKey() const {
  return Format("intergreen %d %d %d", program_, clearing_, entering_);
}

// A lock keeps its intergreen times: a locked pair without them would let the
// entering group start green in the clearing group's yellow. So 0 s between
// locked groups is refused rather than the lock silently dropped.
Result<std::string> SetIntergreen::Apply(ControllerDataSet& data) const {
  if (auto refusal = PairRefusal(data, program_, clearing_, entering_)) {
    return *refusal;
  }
  if (auto refusal = RangeRefusal("Zwischenzeit", seconds_, 0, LongestIntergreen, " s")) {
    return *refusal;
  }
  if (seconds_ == 0 && IsLocked(data, program_, clearing_, entering_)) {
    return Error{Format("%s und %s sind in P%d feindlich; ihre Zwischenzeit darf nicht 0 s sein",
                        GroupLabel(clearing_).c_str(), GroupLabel(entering_).c_str(), program_)};
  }
  IntergreenOf(data, program_, clearing_, entering_) = seconds_;
  return std::string();
}

std::string SetLock::Name() const {
  return Format("Feindlichkeit %s / %s (P%d) %s", GroupLabel(first_).c_str(),
                GroupLabel(second_).c_str(), program_, locked_ ? "gesetzt" : "aufgehoben");
}

// A new lock needs both intergreen times first (see SetIntergreen).
Result<std::string> SetLock::Apply(ControllerDataSet& data) const {
  if (auto refusal = PairRefusal(data, program_, first_, second_)) {
    return *refusal;
  }
  if (locked_ && (IntergreenOf(data, program_, first_, second_) <= 0 ||
                  IntergreenOf(data, program_, second_, first_) <= 0)) {
    return Error{
        Format("Zwischenzeiten %d → %d und %d → %d (P%d) fehlen; eine Feindlichkeit "
               "braucht beide",
               first_, second_, second_, first_, program_)};
  }
  auto& locks = data.GreenGreenLocks[Index(program_)];
  const std::uint8_t value = locked_ ? 1 : 0;
  locks[Index(first_)][Index(second_)] = value;
  locks[Index(second_)][Index(first_)] = value;
  return std::string();
}

}  // namespace ampelsim::edit
