#include "chart/chart_sheet.h"

#include <algorithm>

#include "data/signal_state.h"
#include "data/windows1252.h"

namespace ampelsim {
namespace {

const std::string None = "–";

std::string OrNone(const std::string& text) {
  return text.empty() ? None : text;
}

// The green windows of a row over the axis; a green over the cycle end is
// one window when the axis is the whole cycle.
std::vector<SheetGreen> GreensOf(const ChartRow& row, const ChartModel& chart, bool wholeCycle) {
  std::vector<SheetGreen> greens;
  for (const ChartBar& bar : row.Bars) {
    if (!IsGreenState(bar.State)) {
      continue;
    }
    if (!greens.empty() && greens.back().End == bar.Begin) {
      greens.back().End = bar.End;
    } else {
      greens.push_back({bar.Begin, bar.End});
    }
  }
  if (wholeCycle && greens.size() > 1 && greens.front().Begin == chart.AxisBegin &&
      greens.back().End == chart.AxisEnd) {
    greens.back().End += greens.front().End - greens.front().Begin;
    greens.erase(greens.begin());
  }
  return greens;
}

std::string WindowsText(const std::vector<SheetGreen>& greens, std::int64_t cycle) {
  std::string text;
  for (const SheetGreen& green : greens) {
    if (!text.empty()) {
      text += ", ";
    }
    const std::int64_t end = cycle > 0 && green.End > cycle ? green.End - cycle : green.End;
    text += std::to_string(green.Begin) + "–" + std::to_string(end);
  }
  return OrNone(text);
}

void AddTables(ChartSheet& sheet, const ControllerDataSet& data, const ChartModel& chart,
               int index) {
  const std::int64_t cycle = chart.AxisEnd - chart.AxisBegin;
  sheet.GreenTableHeader = {"Gruppe", "Kopf", "Art", "Grün [s]", "Grünzeit [s]", "Mindestgrün [s]"};
  for (std::size_t r = 0; r < chart.Rows.size(); ++r) {
    const ChartRow& row = chart.Rows[r];
    std::int64_t total = 0;
    for (const SheetGreen& green : sheet.Greens[r]) {
      total += green.End - green.Begin;
    }
    const std::int32_t minimum = row.Group >= 0 && row.Group < MaxGroups
                                     ? data.MinGreenTimes[static_cast<std::size_t>(row.Group)]
                                                         [static_cast<std::size_t>(index)]
                                     : 0;
    sheet.GreenTable.push_back({row.Label, OrNone(row.HeadLabel), GroupKindShort(row.Kind),
                                WindowsText(sheet.Greens[r], cycle), std::to_string(total),
                                minimum > 0 ? std::to_string(minimum) : None});
    sheet.MatrixGroups.push_back(row.Label);
  }
  const auto& matrix = data.IntergreenTimes[static_cast<std::size_t>(index)];
  for (const ChartRow& clearing : chart.Rows) {
    std::vector<std::string> line;
    for (const ChartRow& entering : chart.Rows) {
      std::int32_t value = 0;
      if (clearing.Group >= 0 && entering.Group >= 0 && clearing.Group < MaxGroups &&
          entering.Group < MaxGroups) {
        value = matrix[static_cast<std::size_t>(entering.Group)]
                      [static_cast<std::size_t>(clearing.Group)];
      }
      line.push_back(value > 0 ? std::to_string(value) : std::string());
    }
    sheet.Intergreens.push_back(std::move(line));
  }
}

}  // namespace

std::string JunctionName(const ControllerDataSet& data) {
  std::string site = Windows1252ToUtf8(data.GeneralData.SiteText1.Str());
  const std::string second = Windows1252ToUtf8(data.GeneralData.SiteText2.Str());
  if (!second.empty()) {
    site += site.empty() ? second : " " + second;
  }
  return site;
}

ChartSheet PlannedSheet(const ControllerDataSet& data, const ChartModel& chart, int program,
                        bool withTables, const SheetOrigin& origin) {
  ChartSheet sheet;
  const bool known = program >= 1 && program <= ProgramCount;
  const std::int32_t cycle =
      known ? data.SignalPrograms[static_cast<std::size_t>(program - 1)].CycleTime : 0;
  // The data set holds no offset against a coordination: the field stays
  // empty for the planner to fill in by hand.
  sheet.TitleBlock = {{"Knotenpunkt", OrNone(JunctionName(data))},
                      {"Programm", known ? "P" + std::to_string(program) : None},
                      {"Umlaufzeit", cycle > 0 ? std::to_string(cycle) + " s" : None},
                      {"Versatz", None},
                      {"Datum", OrNone(origin.Date)},
                      {"Datensatz", OrNone(origin.DataSetName)},
                      {"Bearbeiter", OrNone(origin.Author)},
                      {"Firma", OrNone(origin.Company)}};
  const bool wholeCycle = cycle > 0 && chart.AxisEnd - chart.AxisBegin == cycle;
  for (const ChartRow& row : chart.Rows) {
    sheet.Greens.push_back(GreensOf(row, chart, wholeCycle));
  }
  if (withTables && known) {
    AddTables(sheet, data, chart, program - 1);
  }
  return sheet;
}

ChartSheet ActualSheet(const ControllerDataSet& data, const ChartModel& chart,
                       const SheetOrigin& origin) {
  ChartSheet sheet;
  const std::string prefix = "Ist-Signalplan ";
  const std::string program =
      chart.Title.rfind(prefix, 0) == 0 ? chart.Title.substr(prefix.size()) : std::string();
  sheet.TitleBlock = {{"Knotenpunkt", OrNone(JunctionName(data))},
                      {"Programm", OrNone(program)},
                      {"Zeitraum", OrNone(chart.Subtitle)},
                      {"Datum", OrNone(origin.Date)},
                      {"Datensatz", OrNone(origin.DataSetName)},
                      {"Bearbeiter", OrNone(origin.Author)},
                      {"Firma", OrNone(origin.Company)}};
  return sheet;
}

}  // namespace ampelsim
