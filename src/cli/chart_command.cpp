#include "cli/chart_command.h"

#include <array>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string_view>

#include "chart/planned_chart.h"
#include "cli/data_commands.h"
#include "data/data_set_loader.h"
#include "render/chart_export.h"

namespace ampelsim::cli {
namespace {

struct KindName {
  std::string_view Name;
  PlannedChartKind Kind;
};

constexpr std::array<KindName, 5> KindNames = {{
    {"plan", PlannedChartKind::SignalProgram},
    {"zwischenzeiten", PlannedChartKind::Intergreen},
    {"einschalt", PlannedChartKind::SwitchOn},
    {"aus-gez", PlannedChartKind::PlannedSwitchOff},
    {"aus-st", PlannedChartKind::FaultSwitchOff},
}};

}  // namespace

std::string ChartKindList() {
  std::string names;
  for (const KindName& kind : KindNames) {
    if (!names.empty()) {
      names.append(", ");
    }
    names.append(kind.Name);
  }
  return names;
}

bool CheckChartPath(const std::string& command, const std::string& path, std::ostream& err) {
  if (!ChartFileFormatOf(path)) {
    err << "ampelsim-cli " << command << ": unknown chart file type \"" << path
        << "\" (use .png, .svg or .pdf)\n";
    return false;
  }
  return true;
}

int RunChart(const ChartOptions& options, std::ostream& err) {
  const KindName* kind = nullptr;
  for (const KindName& candidate : KindNames) {
    if (candidate.Name == options.Kind) {
      kind = &candidate;
    }
  }
  if (kind == nullptr) {
    err << "ampelsim-cli chart: unknown kind \"" << options.Kind << "\" (one of " << ChartKindList()
        << ")\n";
    return ExitUsage;
  }
  if (options.Program < 1 || options.Program > ProgramCount) {
    err << "ampelsim-cli chart: --program must be 1 to " << ProgramCount << ", not "
        << options.Program << '\n';
    return ExitUsage;
  }
  if (!CheckChartPath("chart", options.OutPath, err)) {
    return ExitUsage;
  }
  std::error_code error;
  if (!std::filesystem::is_directory(options.Directory, error)) {
    err << "ampelsim-cli chart: " << options.Directory << " ist kein Verzeichnis\n";
    return ExitFailed;
  }
  // The chart shows whatever the files hold, as the reports do.
  auto data = std::make_unique<ControllerDataSet>();
  DataSetLoader loader;
  loader.Load(*data, options.Directory);
  const auto chart = PlannedChart(*data, kind->Kind, options.Program);
  if (!chart) {
    err << "ampelsim-cli chart: Programm " << options.Program
        << (kind->Kind == PlannedChartKind::SignalProgram ||
                    kind->Kind == PlannedChartKind::Intergreen
                ? " hat keine Umlaufzeit"
                : " hat keinen Schritt mit einer Dauer")
        << " in " << options.Directory << '\n';
    return ExitFailed;
  }
  const ChartPainting painting;
  if (ExportChart(*chart, options.OutPath) != ChartExportStatus::Written) {
    err << "ampelsim-cli chart: " << options.OutPath << " lässt sich nicht schreiben\n";
    return ExitFailed;
  }
  return ExitOk;
}

}  // namespace ampelsim::cli
