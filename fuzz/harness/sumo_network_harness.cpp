#include <cmath>
#include <fstream>
#include <string>

#include "app/intergreen_import.h"
#include "check.h"
#include "harness.h"
#include "scratch_directory.h"
#include "sumo/link_conflicts.h"

namespace ampelsim::fuzz {

// The input is a SUMO network file; its traffic light "C" is imported with
// the links mapped in turn to four groups, the first two running together.
void FuzzSumoNetwork(std::span<const std::uint8_t> input) {
  const ScratchDirectory scratch;
  const auto path = scratch.Path() / "net.xml";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(input.data()),
             static_cast<std::streamsize>(input.size()));
  const auto links = ReadLinkPaths(path.string(), "C");
  if (!links) {
    Require(!links.Failure().Message.empty(), "a refused network says why");
    return;
  }
  SumoMapping mapping;
  mapping.TrafficLight = "C";
  GroupMatrix<std::int32_t> intergreens{};
  for (std::size_t a = 0; a < 4; ++a) {
    for (std::size_t b = 0; b < 4; ++b) {
      intergreens[a][b] = a != b && a + b != 1 ? 5 : 0;
    }
  }
  for (const LinkPath& link : *links) {
    mapping.Links.push_back({link.Index, link.Index % 4});
  }
  const auto conflicts = FindLinkConflicts(*links);
  for (const LinkConflict& conflict : conflicts) {
    Require(std::isfinite(conflict.FirstDistance) && std::isfinite(conflict.SecondDistance),
            "a conflict point lies at finite distances");
  }
  const auto geometry = GeometryFromLinks(*links, conflicts, mapping, intergreens);
  for (const planning::GeometryPair& pair : geometry.Pairs) {
    Require(pair.Clearing >= 1 && pair.Clearing <= 4 && pair.Entering >= 1 && pair.Entering <= 4 &&
                pair.Clearing != pair.Entering,
            "a pair joins two different mapped groups");
    (void)planning::CalculateIntergreen(pair.Point, geometry.Parameters);
  }
}

}  // namespace ampelsim::fuzz
