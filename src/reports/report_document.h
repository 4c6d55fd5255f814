#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "data/controller_data_set.h"
#include "engine/clock.h"
#include "engine/fault_record.h"

namespace ampelsim {

// The operator's line in every report head, exactly 39 characters.
inline constexpr std::string_view CompanyLine = "AMPELSIM  Lichtsignalanlagen-Simulation";
static_assert(CompanyLine.size() == 39);

inline constexpr std::string_view VersionText = "Version: 2.10";

// What the preview window shows instead of a report whose tables are empty
// (Windows-1252 like every text of the reports).
inline constexpr std::string_view NoDataCaption = "Keine Daten";
inline constexpr std::string_view NoDataMessage =
    "F\xFCr den gew\xE4hlten Ausdruck sind keine Daten vorhanden";

// Every line of a report begins with this margin, on screen and on paper.
inline constexpr std::string_view ReportMargin = "        ";

// What a report writer reads besides its document. The data directory is
// printed as given, as Windows-1252 text.
struct ReportContext {
  const ControllerDataSet& Data;
  const Clock& Time;
  std::string_view DataDirectory;
  const FaultStoreRecords* FaultStore = nullptr;  // null: an empty store
};

// What a report writer did.
enum class ReportStatus {
  Printed,  // the report is in the document
  NoData,   // its tables are empty: nothing was added, the caller tells the user
  Quiet,    // quiet mode and empty tables: nothing was added and nothing is to be told
};

// The text of the print preview: fixed-width 8-bit lines (Windows-1252), each
// with its margin and a line feed. Report writers build it line by line.
class ReportDocument {
 public:
  // Appends the margin, the line and a line feed.
  void AddReportLine(std::string_view line);
  void AddEmptyLines(int count);

  // The five head lines: rulers, company line, and the identification line
  // with the title (30 characters) and the simulated date and time.
  void ReportHead(std::string_view title, const Clock& clock);
  // The six lines that name the data set and where it came from.
  void DataSetHeader(const ControllerDataSet& data, std::string_view dataDirectory);
  // Seven blanks and the numbers 01..24, whatever the number of groups in use.
  void PrintGroupNumberLine();
  // Three empty lines between two reports of one preview.
  void ReportSeparator();

  void ClearReportText() { reportText_.clear(); }
  const std::string& ReportText() const { return reportText_; }

 private:
  std::string reportText_;
};

// True when any byte of the table is not 0.
bool HasData(std::span<const std::byte> table);

// The same over a whole table; only tables without padding bytes qualify, so
// that every byte tested is a byte of the data.
template <class Table>
bool HasData(const Table& table) {
  static_assert(std::has_unique_object_representations_v<Table>,
                "a table with padding has bytes that are not data");
  return HasData(std::span<const std::byte>(std::as_bytes(std::span<const Table, 1>(&table, 1))));
}

// The number of groups whose columns the phase-plan and switch reports print:

}  // namespace ampelsim
