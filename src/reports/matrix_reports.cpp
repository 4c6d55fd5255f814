#include "reports/matrix_reports.h"

#include <algorithm>
#include <functional>
#include <string>

#include "data/text_format.h"

namespace ampelsim {
namespace {

// What differs between the three matrix reports.
struct MatrixReport {
  std::string_view Title;
  const char* ProgramLine;  // printf format with the program number
  bool WithDataSetHeader;
  std::function<bool(int program)> HasProgramData;
  // The cell of row r, column c of a program: the matrix entry [c][r].
  std::function<void(std::string& row, int program, std::size_t r, std::size_t c)> AppendCell;
};

ReportStatus PrintMatrixReport(ReportDocument& report, const ReportContext& context,
                               const MatrixReport& matrix, bool quiet) {
  bool anyData = false;
  for (int p = 0; p < ProgramCount; ++p) {
    anyData = anyData || matrix.HasProgramData(p);
  }
  if (!anyData) {
    return quiet ? ReportStatus::Quiet : ReportStatus::NoData;
  }
  for (int p = 0; p < ProgramCount; ++p) {
    if (!matrix.HasProgramData(p)) {
      continue;
    }
    // Every block has its own head, stamped when the block is built.
    report.ReportHead(matrix.Title, context.Time);
    report.AddReportLine({});
    if (matrix.WithDataSetHeader) {
      report.DataSetHeader(context.Data, context.DataDirectory);
      report.AddEmptyLines(2);
    }
    report.AddReportLine(Format(matrix.ProgramLine, p + 1));
    report.PrintGroupNumberLine();
    report.AddReportLine({});
    for (std::size_t r = 0; r < MaxGroups; ++r) {
      std::string row = Format("   %02d I", static_cast<int>(r + 1));
      for (std::size_t c = 0; c < MaxGroups; ++c) {
        matrix.AppendCell(row, p, r, c);
      }
      report.AddReportLine(row);
    }
    report.AddEmptyLines(2);
  }
  return ReportStatus::Printed;
}

std::size_t Index(int program) {
  return static_cast<std::size_t>(program);
}

}  // namespace

ReportStatus PrintDemandInputMaps(ReportDocument& report, const ReportContext& context) {
  const auto& maps = context.Data.DemandInputMap;
  const MatrixReport matrix{
      "I  Zuordnung Anf, Eingaenge  I",
      "                      Programm: %d  Zuordnung Anfordereingaenge", false,
      // Memory times of 1 are what an unused program holds.
      [&](int p) {
        const DemandInput& input = maps[Index(p)];
        return HasData(input.Map) || std::any_of(input.MemoryTime.begin(), input.MemoryTime.end(),
                                                 [](std::int32_t seconds) { return seconds != 1; });
      },
      [&](std::string& row, int p, std::size_t r, std::size_t c) {
        const DemandInput& input = maps[Index(p)];
        if (r == c) {
          AppendFormat(row, " %02d", input.MemoryTime[r]);
        } else {
          row.append(input.Map[c][r] != 0 ? " ja" : " . ");
        }
      }};
  // This report has no quiet mode.
  return PrintMatrixReport(report, context, matrix, false);
}

ReportStatus PrintIntergreenMatrices(ReportDocument& report, const ReportContext& context,
                                     bool quiet) {
  const auto& times = context.Data.IntergreenTimes;
  const MatrixReport matrix{"I     Zwischenzeitmatrix     I",
                            "                           Programm: %d  beginnende Stroeme", true,
                            [&](int p) { return HasData(times[Index(p)]); },
                            [&](std::string& row, int p, std::size_t r, std::size_t c) {
                              const std::int32_t seconds = times[Index(p)][c][r];
                              if (seconds != 0) {
                                AppendFormat(row, " %02d", seconds);
                              } else {
                                row.append("  x");
                              }
                            }};
  return PrintMatrixReport(report, context, matrix, quiet);
}

ReportStatus PrintGreenGreenLocks(ReportDocument& report, const ReportContext& context,
                                  bool quiet) {
  const auto& locks = context.Data.GreenGreenLocks;
  const MatrixReport matrix{"I Gruen-Gruen Verriegelungen I",
                            "                     Programm: %d  Gruen verriegelt gegen Gruppe",
                            true, [&](int p) { return HasData(locks[Index(p)]); },
                            [&](std::string& row, int p, std::size_t r, std::size_t c) {
                              row.append(locks[Index(p)][c][r] != 0 ? " ja" : "  .");
                            }};
  return PrintMatrixReport(report, context, matrix, quiet);
}

}  // namespace ampelsim
