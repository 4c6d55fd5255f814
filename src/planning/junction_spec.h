#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "data/controller_data_set.h"
#include "data/result.h"

namespace ampelsim::planning {

// The road users a signal group serves; they decide the transition times
// and the defaults of a new junction.
enum class RoadUserKind : std::uint8_t {
  Vehicle,          // Kfz
  Cyclist,          // Rad
  Pedestrian,       // Fußgänger
  PublicTransport,  // ÖPNV
};

// The German name of a kind as the description file and the messages write it.
std::string KindName(RoadUserKind kind);

struct SpecGroup {
  int Number = 0;  // 1..24
  std::string Name;
  RoadUserKind Kind = RoadUserKind::Vehicle;
  int MinGreen = 0;  // seconds
  bool MinGreenAssumed = false;
};

// Green together: the groups of one stage (Phase), by number.
struct SpecStage {
  std::string Name;
  std::vector<int> Groups;
};

// One intergreen time of an ordered pair of conflicting groups.
struct SpecIntergreen {
  int Clearing = 0;  // group number whose green ends
  int Entering = 0;  // group number whose green begins
  int Seconds = 0;
  bool Assumed = false;
};

// A new junction as a planner describes it (docs/new-junction.md): its
// groups, which of them conflict, the intergreen and minimum green times and
// the stages in the order they run within one cycle. A value the file leaves
// out has been filled with a default by kind and is marked Assumed.
struct JunctionSpec {
  // Windows-1252, at most 32 bytes each, as the data set holds them.
  std::string SiteText1;
  std::string SiteText2;
  std::string ClientText;
  int CycleTime = 0;
  std::vector<SpecGroup> Groups;            // by number, 1..n without gaps
  GroupMatrix<bool> Conflict{};             // [a][b], symmetric, group index 0..23
  std::vector<SpecIntergreen> Intergreens;  // every ordered conflicting pair
  std::vector<SpecStage> Stages;            // in the order they run

  const SpecGroup& Group(int number) const { return Groups[static_cast<std::size_t>(number - 1)]; }
  // The intergreen of the conflicting pair; 0 for a pair that does not conflict.
  int IntergreenOf(int clearing, int entering) const;
};

// A refused spec's German message names the entry at fault
// ("Eintrag \"Stages[1].Groups\": ...").
using JunctionSpecResult = Result<JunctionSpec>;

JunctionSpecResult ParseJunctionSpec(std::string_view json);
JunctionSpecResult ReadJunctionSpec(const std::filesystem::path& path);

// The defaults the description took because the file left the values out, one German
// line each, every one marked as to be checked.
std::vector<std::string> AssumedValues(const JunctionSpec& spec);

// The defaults by kind, for values the file leaves out: planning assumptions
// to be checked against the junction's geometry, not values of a guideline.
int DefaultMinGreen(RoadUserKind kind);
int DefaultIntergreen(RoadUserKind clearing);

}  // namespace ampelsim::planning
