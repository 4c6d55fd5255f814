#include "cli/traffic_spread_output.h"

#include <fstream>
#include <ostream>
#include <string_view>

#include "traffic/spread_files.h"
#include "traffic/spread_table.h"

namespace ampelsim::cli {
namespace {

bool EndsWith(const std::string& text, std::string_view end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

void PrintTrafficSpread(const traffic::StatisticsSpread& spread,
                        const traffic::TrafficDescription& description,
                        const std::vector<std::uint64_t>& seeds, std::ostream& out) {
  out << '\n';
  for (const std::string& line :
       traffic::SpreadTableLines(spread, description, seeds, traffic::Spelling::Utf8)) {
    out << line << '\n';
  }
}

bool WriteTrafficSpread(const std::string& command, const std::string& path,
                        const traffic::StatisticsSpread& spread,
                        const traffic::TrafficDescription& description,
                        const std::vector<std::uint64_t>& seeds, std::ostream& err) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (file.is_open()) {
    file << (EndsWith(path, ".json") ? traffic::SpreadJson(spread, description, seeds)
                                     : traffic::SpreadCsv(spread, description));
  }
  if (!file.is_open() || !file.good()) {
    err << "ampelsim-cli " << command << ": " << path << " lässt sich nicht schreiben\n";
    return false;
  }
  return true;
}

}  // namespace ampelsim::cli
