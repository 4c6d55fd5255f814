#include "cli/report_command.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <vector>

#include "app/report_catalogue.h"
#include "cli/data_commands.h"
#include "data/data_set_loader.h"
#include "data/windows1252.h"
#include "engine/clock.h"
#include "engine/fault_record.h"

namespace ampelsim::cli {
namespace {

// A missing or unreadable store is an empty one, as at the program's start.
FaultStoreRecords ReadFaultStore(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<std::uint8_t> image(FaultStoreSize);
  if (file.is_open()) {
    file.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
    image.resize(static_cast<std::size_t>(std::max<std::streamsize>(file.gcount(), 0)));
  } else {
    image.clear();
  }
  return DecodeFaultStore(image);
}

}  // namespace

std::string ReportNameList() {
  std::string names;
  for (const ReportEntry& entry : Reports()) {
    if (!names.empty()) {
      names.append(", ");
    }
    names.append(entry.Name);
  }
  return names;
}

int RunReport(const ReportOptions& options, std::ostream& out, std::ostream& err) {
  const ReportEntry* entry = FindReport(options.Name);
  if (entry == nullptr) {
    err << "ampelsim-cli report: unknown report \"" << options.Name << "\" (one of "
        << ReportNameList() << ")\n";
    return ExitUsage;
  }
  std::unique_ptr<Clock> clock;
  if (options.Now) {
    const auto start = ParseLocalTime(*options.Now);
    if (!start) {
      err << "ampelsim-cli report: --now wants \"YYYY-MM-DD HH:MM:SS\", not \"" << *options.Now
          << "\"\n";
      return ExitUsage;
    }
    clock = std::make_unique<VirtualClock>(*start);
  } else {
    clock = std::make_unique<SystemClock>();
  }
  std::error_code error;
  if (!std::filesystem::is_directory(options.Directory, error)) {
    err << "ampelsim-cli report: " << options.Directory << " ist kein Verzeichnis\n";
    return ExitFailed;
  }

  // The reports print whatever the files hold, also from a set that may not run.
  auto data = std::make_unique<ControllerDataSet>();
  DataSetLoader loader;
  loader.Load(*data, options.Directory);
  const FaultStoreRecords store = ReadFaultStore(options.StorePath);
  const std::string directory = Utf8ToWindows1252Lossy(options.Directory);

  ReportDocument report;
  const ReportContext context{*data, *clock, directory, &store};
  if (entry->Print(report, context) == ReportStatus::NoData) {
    err << Windows1252ToUtf8(NoDataMessage) << '\n';
    return ExitNoData;
  }
  out << Windows1252ToUtf8(report.ReportText());
  return ExitOk;
}

}  // namespace ampelsim::cli
