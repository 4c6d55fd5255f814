#include "cli/intergreen_command.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "app/intergreen_table.h"
#include "cli/data_commands.h"
#include "cli/data_set_loading.h"

namespace ampelsim::cli {
namespace {

nlohmann::ordered_json Matrix(const GroupMatrix<std::int32_t>& seconds, int groups) {
  nlohmann::ordered_json rows = nlohmann::ordered_json::array();
  for (int e = 0; e < groups; ++e) {
    nlohmann::ordered_json row = nlohmann::ordered_json::array();
    for (int c = 0; c < groups; ++c) {
      row.push_back(seconds[static_cast<std::size_t>(e)][static_cast<std::size_t>(c)]);
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

nlohmann::ordered_json Value(const planning::MethodValue& value) {
  return {{"value", value.Value}, {"basis", planning::BasisName(value.Basis)}};
}

nlohmann::ordered_json ToJson(const ControllerDataSet& data, int program,
                              const JunctionIntergreens& calculated) {
  const int groups = GroupsInUse(data);
  nlohmann::ordered_json json;
  json["program"] = program;
  json["groups"] = groups;
  json["dataSet"] = Matrix(data.IntergreenTimes[static_cast<std::size_t>(program - 1)], groups);
  json["required"] = Matrix(calculated.Required.Seconds, groups);
  nlohmann::ordered_json points = nlohmann::ordered_json::array();
  const auto& pairs = calculated.Geometry.Pairs;
  for (std::size_t i = 0; i < pairs.size() && i < calculated.Required.Points.size(); ++i) {
    const planning::ConflictPoint& p = pairs[i].Point;
    const planning::IntergreenTerms& t = calculated.Required.Points[i].Terms;
    nlohmann::ordered_json point;
    point["clearing"] = pairs[i].Clearing;
    point["entering"] = pairs[i].Entering;
    point["clearingKind"] = ClearingUserName(p);
    point["enteringKind"] = planning::ConflictRoadUserName(p.Entering);
    point["clearingDistance"] = p.ClearingDistance;
    point["enteringDistance"] = p.EnteringDistance;
    point["passingTime"] = Value(t.PassingTime);
    point["clearingSpeed"] = Value(t.ClearingSpeed);
    point["vehicleLength"] = Value(t.VehicleLength);
    point["enteringSpeed"] = Value(t.EnteringSpeed);
    point["clearingTime"] = t.ClearingTime;
    point["enteringTime"] = t.EnteringTime;
    point["exact"] = t.Exact;
    point["required"] = t.Required;
    points.push_back(std::move(point));
  }
  json["points"] = std::move(points);
  return json;
}

}  // namespace

int RunIntergreen(const IntergreenOptions& options, std::ostream& out, std::ostream& err) {
  const auto data = LoadDataSetOrLog(options.Directory, err);
  if (data == nullptr) {
    return ExitNotLoadable;
  }
  if (options.Program < 1 || options.Program > ProgramCount) {
    err << "ampelsim-cli intergreen: --program muss zwischen 1 und " << ProgramCount << " liegen\n";
    return ExitUsage;
  }
  const auto calculated =
      CalculateFromSource(options.Source, *data, options.Program, "intergreen", err);
  if (!calculated) {
    return ExitFailed;
  }
  if (options.Json) {
    out << ToJson(*data, options.Program, *calculated).dump(2) << '\n';
    return ExitOk;
  }
  for (const std::string& line :
       IntergreenTableLines(*data, options.Program, calculated->Geometry, calculated->Required)) {
    out << line << '\n';
  }
  return ExitOk;
}

}  // namespace ampelsim::cli
