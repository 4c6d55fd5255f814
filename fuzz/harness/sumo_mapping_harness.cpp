#include <string>

#include "check.h"
#include "data/controller_data_set.h"
#include "harness.h"
#include "sumo/sumo_mapping.h"

namespace ampelsim::fuzz {

void FuzzSumoMapping(std::span<const std::uint8_t> input) {
  if (input.size() < 2) {
    return;
  }
  ControllerDataSet data;
  data.GeneralData.GroupCount = input[0];
  const std::uint8_t stateSeed = input[1];
  const std::string text(reinterpret_cast<const char*>(input.data() + 2), input.size() - 2);
  const Result<SumoMapping> mapping = ParseSumoMapping(text, data);
  if (!mapping) {
    Require(!mapping.Failure().Message.empty(), "a refused mapping says why");
    return;
  }
  const int groups = GroupsInUse(data);
  Require(!mapping->TrafficLight.empty(), "an accepted mapping names its traffic light");
  Require(!mapping->Links.empty(), "an accepted mapping drives a link");
  for (std::size_t i = 0; i < mapping->Links.size(); ++i) {
    const SumoLink& link = mapping->Links[i];
    Require(link.Index == static_cast<int>(i), "links cover 0..n-1 in order");
    Require(link.Group >= 0 && link.Group < groups, "a link's group is in use");
    Require(link.Green == 'G' || link.Green == 'g', "a link's green is G or g");
    Require(link.Flashing == 'o' || link.Flashing == 'O', "a link's flashing is o or O");
  }
  for (const SumoLoop& loop : mapping->Loops) {
    Require(loop.Group >= 0 && loop.Group < groups, "a loop's group is in use");
  }
  for (const SumoCrossing& crossing : mapping->Crossings) {
    Require(crossing.Group >= 0 && crossing.Group < groups, "a crossing's group is in use");
  }
  // A network with exactly what the mapping names fits it.
  SumoNetworkFacts network;
  network.TrafficLightExists = true;
  network.ControlledLinks = static_cast<int>(mapping->Links.size());
  for (const SumoLoop& loop : mapping->Loops) {
    network.Loops.push_back(loop.Loop);
  }
  for (const SumoCrossing& crossing : mapping->Crossings) {
    network.Crossings.push_back(crossing.Crossing);
  }
  Require(!CheckSumoMapping(*mapping, network), "a mapping fits the network it names");
  network.ControlledLinks += 1;
  Require(CheckSumoMapping(*mapping, network).has_value(), "an unmapped link is refused");
  // Every state, and codes beyond them, give one letter per link.
  GroupStates states{};
  for (std::size_t g = 0; g < states.size(); ++g) {
    states[g] = static_cast<std::int32_t>((stateSeed + 7 * g) % 40) - 4;
  }
  Require(SumoStateString(*mapping, states).size() == mapping->Links.size(), "one letter per link");
}

}  // namespace ampelsim::fuzz
