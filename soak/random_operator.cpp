#include "random_operator.h"

#include <algorithm>
#include <chrono>

#include "data/limits.h"

namespace ampelsim::soak {
namespace {

// Per simulated second.
constexpr double DetectorRate = 0.04;  // per group in use
constexpr double ButtonRate = 0.004;
constexpr double ToggleRate = 0.002;
constexpr double ProgramRate = 0.001;
constexpr double LampRate = 0.0005;  // one failing lamp in about half an hour
constexpr double ClockRate = 0.0003;
constexpr double LoadRate = 0.0002;
constexpr std::int64_t RestartAfterSeconds = 300;

constexpr PanelToggle Toggles[] = {
    PanelToggle::BlinkButton, PanelToggle::HandbetriebButton, PanelToggle::DauerButton,
    PanelToggle::RotuebAus,   PanelToggle::GruenuebAus,       PanelToggle::ZwischenAus,
    PanelToggle::StatusAus,   PanelToggle::DruckIst,          PanelToggle::DruckStEinAus,
    PanelToggle::TestEinAus,
};

}  // namespace

RandomOperator::RandomOperator(std::uint64_t seed, int groups, std::string dataDirectory,
                               std::string missingDirectory)
    : random_(seed),
      groups_(std::clamp(groups, 1, MaxGroups)),
      dataDirectory_(std::move(dataDirectory)),
      missingDirectory_(std::move(missingDirectory)) {
  // Sized once, so that the soak's own bookkeeping does not look like growth.
  pending_.reserve(1024);
}

std::vector<scenario::Command> RandomOperator::CommandsBeforeTick(std::int64_t tick, bool running) {
  std::vector<scenario::Command> due;
  const auto released = std::stable_partition(pending_.begin(), pending_.end(),
                                              [tick](const Timed& t) { return t.Tick > tick; });
  for (auto it = released; it != pending_.end(); ++it) {
    due.push_back(std::move(it->Command));
  }
  pending_.erase(released, pending_.end());
  if (tick % 10 == 0) {
    EverySecond(tick, running, due);
  }
  return due;
}

void RandomOperator::Press(PushButton button, std::int64_t tick,
                           std::vector<scenario::Command>& due) {
  due.push_back(scenario::ButtonDown{button});
  pending_.push_back({tick + Between(1, 25), scenario::ButtonUp{button, Chance(0.1)}});
}

void RandomOperator::Reload(std::int64_t tick, std::vector<scenario::Command>& due) {
  // "Daten laden" is refused while the controller runs: stop it and give the
  // switch-off program time. Now and then the directory has vanished in the
  // meantime, and the user loads the right one a few minutes later.
  Press(PushButton::Stop, tick, due);
  std::int64_t at = tick + 10 * Between(120, 240);
  if (Chance(0.3)) {
    pending_.push_back({at, scenario::LoadData{missingDirectory_}});
    at += 10 * Between(10, 300);
  }
  pending_.push_back({at, scenario::LoadData{dataDirectory_}});
  pending_.push_back({at + 10, scenario::ButtonDown{PushButton::Start}});
  pending_.push_back({at + 12, scenario::ButtonUp{PushButton::Start, false}});
}

void RandomOperator::EverySecond(std::int64_t tick, bool running,
                                 std::vector<scenario::Command>& due) {
  offSeconds_ = running ? 0 : offSeconds_ + 1;
  if (offSeconds_ >= RestartAfterSeconds) {
    due.push_back(scenario::SetToggle{PanelToggle::BlinkButton, false});
    due.push_back(scenario::SetToggle{PanelToggle::HandbetriebButton, false});
    due.push_back(scenario::SetToggle{PanelToggle::TestEinAus, false});
    Press(PushButton::Quittung, tick, due);
    pending_.push_back({tick + 30, scenario::ButtonDown{PushButton::Start}});
    pending_.push_back({tick + 32, scenario::ButtonUp{PushButton::Start, false}});
    offSeconds_ = 0;
  }
  for (int g = 0; g < groups_; ++g) {
    if (Chance(DetectorRate)) {
      const bool shift = Chance(0.05);
      due.push_back(scenario::Detector{g, true, shift});
      pending_.push_back({tick + Between(1, 40), scenario::Detector{g, false, shift}});
    }
  }
  if (Chance(ButtonRate)) {
    Press(static_cast<PushButton>(Between(0, 6)), tick, due);
  }
  if (Chance(ToggleRate)) {
    const auto toggle = Toggles[Between(0, static_cast<int>(std::size(Toggles)) - 1)];
    due.push_back(scenario::SetToggle{toggle, Chance(0.3)});
  }
  if (Chance(ProgramRate)) {
    due.push_back(scenario::SelectProgram{static_cast<ProgramButton>(Between(0, 6))});
  }
  if (Chance(LampRate)) {
    // A lamp fails (or sticks on); the second click, a few minutes on, repairs it.
    const scenario::ClickLamp click{Between(0, groups_ - 1), static_cast<Lamp>(Between(0, 2))};
    due.push_back(click);
    pending_.push_back({tick + 10 * Between(60, 1800), click});
  }
  if (Chance(ClockRate)) {
    const std::chrono::local_days monday{std::chrono::year{2024} / 3 / 4};
    due.push_back(scenario::SetClock{LocalTime{monday} + std::chrono::minutes{Between(0, 10079)}});
  }
  if (Chance(LoadRate)) {
    Reload(tick, due);
  }
}

}  // namespace ampelsim::soak
