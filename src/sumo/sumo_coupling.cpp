#include "sumo/sumo_coupling.h"

#include <algorithm>

namespace ampelsim {
namespace {

// Adds the time a block spends to a total.
class Stopwatch {
 public:
  explicit Stopwatch(std::chrono::nanoseconds& total)
      : total_(total), start_(std::chrono::steady_clock::now()) {}
  Stopwatch(const Stopwatch&) = delete;
  Stopwatch& operator=(const Stopwatch&) = delete;
  ~Stopwatch() { total_ += std::chrono::steady_clock::now() - start_; }

 private:
  std::chrono::nanoseconds& total_;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace

std::string LaneEdge(const std::string& lane) {
  const std::size_t underscore = lane.rfind('_');
  return underscore == std::string::npos ? lane : lane.substr(0, underscore);
}

SumoCoupling::SumoCoupling(SumoMapping mapping, SumoConnection& sumo)
    : mapping_(std::move(mapping)), sumo_(sumo) {}

std::optional<std::string> SumoCoupling::Connect() {
  const Stopwatch watch(sumoDuration_);
  SumoNetworkFacts facts;
  const auto lights = sumo_.TrafficLights();
  facts.TrafficLightExists =
      std::find(lights.begin(), lights.end(), mapping_.TrafficLight) != lights.end();
  std::vector<std::pair<std::string, std::string>> links;
  if (facts.TrafficLightExists) {
    links = sumo_.ControlledLinks(mapping_.TrafficLight);
    facts.ControlledLinks = static_cast<int>(links.size());
  }
  facts.Loops = sumo_.Loops();
  facts.Crossings = sumo_.Crossings();
  // The check also holds a mapping made in code to links 0..n-1, so that
  // every index below is one of the network's links.
  if (auto problem = CheckSumoMapping(mapping_, facts)) {
    return problem;
  }
  for (const SumoLink& link : mapping_.Links) {
    const auto& [from, to] = links[static_cast<std::size_t>(link.Index)];
    movements_.emplace(std::make_pair(LaneEdge(from), LaneEdge(to)), link.Group);
    // Lanes of vehicles only: a crossing's link starts on a walking area.
    if (!from.empty() && from[0] != ':') {
      auto& groups = approachLanes_[from];
      if (std::find(groups.begin(), groups.end(), link.Group) == groups.end()) {
        groups.push_back(link.Group);
      }
    }
  }
  return std::nullopt;
}

void SumoCoupling::PressDetectors(const ButtonHandler& button) {
  GroupArray<std::uint8_t> wanted{};
  // Connect refuses a mapping with a group outside 0..23; this keeps a
  // caller that skipped it inside the array all the same.
  const auto want = [&wanted](int group) {
    if (group >= 0 && group < MaxGroups) {
      wanted[static_cast<std::size_t>(group)] = 1;
    }
  };
  {
    const Stopwatch watch(sumoDuration_);
    for (const SumoLoop& loop : mapping_.Loops) {
      if (sumo_.LoopOccupied(loop.Loop)) {
        want(loop.Group);
      }
    }
    if (!mapping_.Crossings.empty()) {
      for (const std::string& crossing : sumo_.WaitingPedestrianCrossings()) {
        for (const SumoCrossing& mapped : mapping_.Crossings) {
          if (mapped.Crossing == crossing) {
            want(mapped.Group);
          }
        }
      }
    }
  }
  for (int g = 0; g < MaxGroups; ++g) {
    const auto i = static_cast<std::size_t>(g);
    if (wanted[i] != held_[i]) {
      held_[i] = wanted[i];
      button(g, wanted[i] != 0);
    }
  }
}

void SumoCoupling::Advance(const GroupStates& states) {
  const Stopwatch watch(sumoDuration_);
  std::string state = SumoStateString(mapping_, states);
  if (state != lastState_) {
    sumo_.SetState(mapping_.TrafficLight, state);
    lastState_ = std::move(state);
  }
  sumo_.Step();
  collisions_ += sumo_.Collisions();
  teleports_ += sumo_.StartedTeleports();
  if (++steps_ % 10 == 0) {
    for (const auto& [lane, groups] : approachLanes_) {
      if (sumo_.QueueAtLaneStart(lane, QueueStartSpace)) {
        for (const int group : groups) {
          auto& edge = queueAtStart_[static_cast<std::size_t>(group)];
          if (edge.empty()) {
            edge = LaneEdge(lane);
          }
        }
      }
    }
  }
}

std::string SumoCoupling::QueueReachedStart(int group) const {
  return group >= 0 && group < MaxGroups ? queueAtStart_[static_cast<std::size_t>(group)]
                                         : std::string();
}

void SumoCoupling::ReleaseAll(const ButtonHandler& button) {
  for (int g = 0; g < MaxGroups; ++g) {
    auto& held = held_[static_cast<std::size_t>(g)];
    if (held != 0) {
      held = 0;
      button(g, false);
    }
  }
}

int SumoCoupling::MovementGroup(const std::string& fromEdge, const std::string& toEdge) const {
  const auto found = movements_.find({fromEdge, toEdge});
  return found == movements_.end() ? -1 : found->second;
}

bool SumoCoupling::Held(int group) const {
  return group >= 0 && group < MaxGroups && held_[static_cast<std::size_t>(group)] != 0;
}

}  // namespace ampelsim
