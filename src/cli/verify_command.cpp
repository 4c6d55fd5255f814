#include "cli/verify_command.h"

#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/data_commands.h"
#include "cli/data_set_loading.h"
#include "verify/geometry_findings.h"
#include "verify/plan_verifier.h"

namespace ampelsim::cli {
namespace {

nlohmann::ordered_json ToJson(const std::vector<Finding>& findings) {
  const FindingCounts counts = CountFindings(findings);
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const Finding& finding : findings) {
    nlohmann::ordered_json item;
    item["severity"] = SeverityText(finding.Level);
    item["kind"] = InfoOf(finding.Kind).Code;
    item["situation"] = InfoOf(finding.Where).Code;
    item["program"] = finding.Program;
    item["groups"] = finding.Groups;
    item["second"] = finding.Second;
    item["lastSecond"] = finding.LastSecond;
    item["text"] = finding.Text;
    list.push_back(std::move(item));
  }
  nlohmann::ordered_json json;
  json["errors"] = counts.Errors;
  json["warnings"] = counts.Warnings;
  json["notes"] = counts.Notes;
  json["findings"] = std::move(list);
  return json;
}

}  // namespace

int PrintFindings(const std::vector<Finding>& findings, bool json, std::ostream& out) {
  const FindingCounts counts = CountFindings(findings);
  if (json) {
    out << ToJson(findings).dump(2) << '\n';
  } else {
    for (const Finding& finding : findings) {
      std::string level(SeverityText(finding.Level));
      level.resize(8, ' ');
      out << level << finding.Text << '\n';
    }
    out << counts.Errors << " Fehler, " << counts.Warnings << " Warnungen, " << counts.Notes
        << " Hinweise\n";
  }
  return counts.Errors > 0 ? ExitFailed : ExitOk;
}

int RunVerify(const std::string& directory, bool json, std::ostream& out, std::ostream& err,
              const GeometrySource& geometry) {
  const auto data = LoadDataSetOrLog(directory, err);
  if (data == nullptr) {
    return ExitNotLoadable;
  }
  if (!geometry.Given()) {
    return PrintFindings(VerifyDataSet(*data), json, out);
  }
  const auto calculated = CalculateFromSource(geometry, *data, 1, "verify", err);
  if (!calculated) {
    return ExitUsage;
  }
  return PrintFindings(VerifyDataSetWithGeometry(*data, ForVerifier(calculated->Required)), json,
                       out);
}

}  // namespace ampelsim::cli
