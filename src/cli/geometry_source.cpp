#include "cli/geometry_source.h"

#include <ostream>

#include "app/intergreen_import.h"
#include "sumo/sumo_mapping.h"

namespace ampelsim::cli {
namespace {

std::optional<planning::IntergreenGeometry> ReadGeometry(const GeometrySource& source,
                                                         const ControllerDataSet& data, int program,
                                                         const std::string& command,
                                                         std::ostream& err) {
  const std::string prefix = "ampelsim-cli " + command + ": ";
  if (!source.GeometryPath.empty()) {
    if (!source.NetPath.empty() || !source.MapPath.empty()) {
      err << prefix << "entweder --geometry oder --sumo-net mit --map angeben\n";
      return std::nullopt;
    }
    auto geometry = planning::ReadIntergreenGeometry(source.GeometryPath);
    if (!geometry) {
      err << prefix << source.GeometryPath << ": " << geometry.Failure().Message << '\n';
      return std::nullopt;
    }
    return std::move(geometry).Value();
  }
  if (source.NetPath.empty() || source.MapPath.empty()) {
    err << prefix << "--sumo-net und --map gehören zusammen\n";
    return std::nullopt;
  }
  const auto mapping = ReadSumoMapping(source.MapPath, data);
  if (!mapping) {
    err << prefix << source.MapPath << ": " << mapping.Failure().Message << '\n';
    return std::nullopt;
  }
  auto geometry = ImportIntergreenGeometry(
      source.NetPath, *mapping, data.IntergreenTimes[static_cast<std::size_t>(program - 1)]);
  if (!geometry) {
    err << prefix << geometry.Failure().Message << '\n';
    return std::nullopt;
  }
  return std::move(geometry).Value();
}

}  // namespace

std::optional<JunctionIntergreens> CalculateFromSource(const GeometrySource& source,
                                                       const ControllerDataSet& data, int program,
                                                       const std::string& command,
                                                       std::ostream& err) {
  auto geometry = ReadGeometry(source, data, program, command, err);
  if (!geometry) {
    return std::nullopt;
  }
  auto required = planning::CalculateRequiredIntergreens(*geometry, data);
  if (!required) {
    err << "ampelsim-cli " << command << ": " << required.Failure().Message << '\n';
    return std::nullopt;
  }
  return JunctionIntergreens{std::move(*geometry), std::move(required).Value()};
}

RequiredIntergreenMatrix ForVerifier(const planning::RequiredIntergreens& required) {
  RequiredIntergreenMatrix matrix;
  matrix.Seconds = required.Seconds;
  for (const planning::RequiredIntergreen& point : required.Points) {
    matrix.Known[static_cast<std::size_t>(point.Entering - 1)]
                [static_cast<std::size_t>(point.Clearing - 1)] = 1;
  }
  return matrix;
}

}  // namespace ampelsim::cli
