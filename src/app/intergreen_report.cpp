#include "app/intergreen_report.h"

#include <filesystem>
#include <system_error>

#include "app/intergreen_table.h"
#include "data/report_spelling.h"
#include "planning/geometry_file.h"

namespace ampelsim {
namespace {

void Head(ReportDocument& report, const ReportContext& context) {
  report.ReportHead("I  Zwischenzeitenberechnung  I", context.Time);
  report.AddReportLine({});
  report.DataSetHeader(context.Data, context.DataDirectory);
  report.AddEmptyLines(2);
}

ReportStatus PrintRefusal(ReportDocument& report, const ReportContext& context,
                          const std::string& reason) {
  Head(report, context);
  report.AddReportLine(ReportSpelling("Geometrie nicht verwendbar: " + reason));
  return ReportStatus::Printed;
}

}  // namespace

ReportStatus PrintIntergreenCalculation(ReportDocument& report, const ReportContext& context) {
  const std::filesystem::path path =
      std::filesystem::path(context.DataDirectory) / GeometryFileName;
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    return ReportStatus::NoData;
  }
  const auto geometry = planning::ReadIntergreenGeometry(path);
  if (!geometry) {
    return PrintRefusal(report, context, geometry.Failure().Message);
  }
  const auto required = planning::CalculateRequiredIntergreens(*geometry, context.Data);
  if (!required) {
    return PrintRefusal(report, context, required.Failure().Message);
  }
  bool printed = false;
  for (int p = 1; p <= ProgramCount; ++p) {
    if (context.Data.SignalPrograms[static_cast<std::size_t>(p - 1)].CycleTime <= 0) {
      continue;
    }
    Head(report, context);
    for (const std::string& line : IntergreenTableLines(context.Data, p, *geometry, *required)) {
      report.AddReportLine(ReportSpelling(line));
    }
    report.AddEmptyLines(2);
    printed = true;
  }
  return printed ? ReportStatus::Printed : ReportStatus::NoData;
}

}  // namespace ampelsim
