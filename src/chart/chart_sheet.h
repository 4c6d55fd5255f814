#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "chart/chart_model.h"
#include "data/controller_data_set.h"

namespace ampelsim {

// Who made a sheet and from what: filled by the program that prints it.
struct SheetOrigin {
  std::string Date;         // "10.12.2026"
  std::string DataSetName;  // the data folder's name
  std::string Author;       // Bearbeiter
  std::string Company;      // Firma
};

// One field of the title block: "Knotenpunkt" and its value ("–" for none).
struct SheetField {
  std::string Name;
  std::string Value;
  bool operator==(const SheetField&) const = default;
};

// A green window of a row on the cycle, [Begin, End) with End past the
// cycle's end when the green runs over it.
struct SheetGreen {
  std::int64_t Begin = 0;
  std::int64_t End = 0;
  bool operator==(const SheetGreen&) const = default;
};

// What a printed signal timing sheet shows beside the chart: the title
// block, and for a planned program the green times and the intergreen
// matrix. Texts are UTF-8; an empty table is not printed.
struct ChartSheet {
  std::vector<SheetField> TitleBlock;
  // Per chart row, its green windows; numbered at the bars.
  std::vector<std::vector<SheetGreen>> Greens;
  std::vector<std::string> GreenTableHeader;
  std::vector<std::vector<std::string>> GreenTable;
  // The groups of the matrix; Intergreens[clearing][entering] in seconds,
  // empty where no intergreen is required.
  std::vector<std::string> MatrixGroups;
  std::vector<std::vector<std::string>> Intergreens;
  bool operator==(const ChartSheet&) const = default;
};

// The sheet of a planned chart of program 1..6 (rows as PlannedChart makes
// them); switch programs carry the title block only.
ChartSheet PlannedSheet(const ControllerDataSet& data, const ChartModel& chart, int program,
                        bool withTables, const SheetOrigin& origin);

// The sheet of an actual chart: the title block with the junction and the
// program that ran last.
ChartSheet ActualSheet(const ControllerDataSet& data, const ChartModel& chart,
                       const SheetOrigin& origin);

// The junction as its two site texts name it, UTF-8.
std::string JunctionName(const ControllerDataSet& data);

}  // namespace ampelsim
