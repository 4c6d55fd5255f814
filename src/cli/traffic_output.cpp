#include "cli/traffic_output.h"

#include <fstream>
#include <ostream>

#include "traffic/statistics_files.h"
#include "traffic/statistics_table.h"
#include "traffic/traffic_file.h"

namespace ampelsim::cli {
namespace {

std::string Extension(const std::string& path) {
  const auto dot = path.find_last_of('.');
  const auto slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    return {};
  }
  return path.substr(dot);
}

}  // namespace

std::optional<traffic::TrafficDescription> LoadTrafficFile(const std::string& command,
                                                           const std::string& path,
                                                           std::ostream& err) {
  auto read = traffic::ReadTrafficFile(path);
  if (!read) {
    err << "ampelsim-cli " << command << ": " << read.Failure().Message << '\n';
    return std::nullopt;
  }
  return std::move(read).Value();
}

bool CheckStatisticsPath(const std::string& command, const std::string& path, std::ostream& err) {
  const std::string extension = Extension(path);
  if (extension == ".json" || extension == ".csv") {
    return true;
  }
  err << "ampelsim-cli " << command << ": --stats wants a .json or .csv file, not \"" << path
      << "\"\n";
  return false;
}

void PrintTrafficStatistics(const traffic::TrafficStatistics& statistics,
                            const traffic::TrafficDescription& description, std::ostream& out) {
  using traffic::Spelling;
  out << "\nAuswertung des generierten Verkehrs\n\n";
  for (const auto& line : traffic::RunSummaryLines(statistics, description, Spelling::Utf8)) {
    out << line << '\n';
  }
  out << '\n';
  for (const auto& line :
       traffic::StatisticsTableLines(statistics.Whole, description, Spelling::Utf8)) {
    out << line << '\n';
  }
  if (statistics.Hours.size() > 1) {
    out << "\nStundenwerte\n\n";
    for (const auto& line : traffic::HourlySummaryLines(statistics, Spelling::Utf8)) {
      out << line << '\n';
    }
  }
}

bool WriteTrafficStatistics(const std::string& command, const std::string& path,
                            const traffic::TrafficStatistics& statistics,
                            const traffic::TrafficDescription& description, std::ostream& err) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (file.is_open()) {
    file << (Extension(path) == ".json" ? traffic::StatisticsJson(statistics, description)
                                        : traffic::StatisticsCsv(statistics, description));
  }
  if (!file.is_open() || !file.good()) {
    err << "ampelsim-cli " << command << ": " << path << " lässt sich nicht schreiben\n";
    return false;
  }
  return true;
}

Scenario StartScenario(std::optional<int> program) {
  std::string text;
  if (program) {
    text += "0 program P" + std::to_string(*program) + "\n";
  }
  text += "1 press Start\n";
  return ParseScenario(text).Value();
}

}  // namespace ampelsim::cli
