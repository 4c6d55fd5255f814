#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/controller_data_set.h"
#include "data/result.h"
#include "engine/state_at.h"

namespace ampelsim {

// Which SUMO traffic-light links a signal group drives, which induction loops
// are its detector and which crossings' waiting pedestrians press its demand
// button. Groups are 0-based here, 1-based in the file.
struct SumoLink {
  int Index = 0;
  int Group = 0;
  char Green = 'G';  // 'G' priority, 'g' must yield (permissive movements)
  // Flashing yellow: 'o' yields (side road), 'O' keeps the priority the
  // signs give when the signals are off (main road). SUMO refuses links that
  // would all have to yield to each other.
  char Flashing = 'o';
};

struct SumoLoop {
  std::string Loop;
  int Group = 0;
};

struct SumoCrossing {
  std::string Crossing;
  int Group = 0;
};

struct SumoMapping {
  std::string TrafficLight;
  std::vector<SumoLink> Links;  // sorted by Index, covering 0..n-1 once each
  std::vector<SumoLoop> Loops;
  std::vector<SumoCrossing> Crossings;
};

// Link indices above this are refused: no junction has that many.
inline constexpr int MaxSumoLinks = 1024;

// The mapping, or the German reason it is refused, naming the entry. Groups
// must exist in the data set (below its GroupCount).
Result<SumoMapping> ParseSumoMapping(const std::string& jsonText, const ControllerDataSet& data);
Result<SumoMapping> ReadSumoMapping(const std::string& path, const ControllerDataSet& data);

// What the loaded SUMO network offers, to hold the mapping against.
struct SumoNetworkFacts {
  bool TrafficLightExists = false;
  int ControlledLinks = 0;
  std::vector<std::string> Loops;
  std::vector<std::string> Crossings;  // edge ids of function "crossing"
};

// The German reason the mapping does not fit the network, or nothing. A
// mapping made without ParseSumoMapping is held to its rules too: links
// 0..n-1 once each in order, groups 1 to 24.
std::optional<std::string> CheckSumoMapping(const SumoMapping& mapping,
                                            const SumoNetworkFacts& network);

// SUMO's letter for a group state on a link: green G/g as mapped, yellow y,
// red-yellow u, red r, flashing yellow o (or O as mapped), dark O.
// A group outside 0..23 is dark.
char SumoLetter(std::int32_t state, const SumoLink& link);

// The state string of the traffic light for the group states.
std::string SumoStateString(const SumoMapping& mapping, const GroupStates& states);

}  // namespace ampelsim
