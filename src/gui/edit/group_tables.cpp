#include "gui/edit/group_tables.h"

#include <algorithm>

#include "edit/green_commands.h"
#include "edit/table_commands.h"
#include "verify/finding.h"

namespace ampelsim::ui {
namespace {

// The longest time a table takes, as the commands check it further.
constexpr int LongestTime = 9999;

std::size_t At(int index) {
  return static_cast<std::size_t>(index);
}

bool HasMinimumGreenFinding(const edit::EditModel& model, int program, int group) {
  const std::vector<Finding> findings = model.FindingsOf(program);
  return std::any_of(findings.begin(), findings.end(), [group](const Finding& finding) {
    return finding.Kind == FindingKind::MinimumGreen && !finding.Groups.empty() &&
           finding.Groups.front() == group;
  });
}

// The columns of the detector table: three flags, then the memory time.
enum class DetectorColumn { Prestore, ChangeRequest, ChangeCancel, MemoryTime };

std::unique_ptr<edit::EditCommand> Owned(std::unique_ptr<edit::EditCommand> command) {
  return command;
}

}  // namespace

namespace {

QStringList MinimumGreenColumns(const ControllerDataSet&) {
  QStringList titles;
  for (int program = 1; program <= ProgramCount; ++program) {
    titles << QStringLiteral("P%1").arg(program);
  }
  return titles;
}

TableCell MinimumGreenCell(const edit::EditModel& model, int, int row, int column) {
  TableCell cell{QString::number(model.Data().MinGreenTimes[At(row)][At(column)])};
  if (HasMinimumGreenFinding(model, column + 1, row + 1)) {
    cell.Mark = CellMark::Violated;
  }
  return cell;
}

Result<std::unique_ptr<edit::EditCommand>> MinimumGreenEdit(const ControllerDataSet&, int, int row,
                                                            int column, const TableCell& entered) {
  const Result<int> seconds = ParseWholeNumber(entered.Text, 0, LongestTime);
  if (!seconds) {
    return seconds.Failure();
  }
  return Owned(std::make_unique<edit::SetGroupTime>(column + 1, row + 1,
                                                    edit::GroupTime::MinimumGreen, *seconds));
}

}  // namespace

DataTable MinimumGreenTable() {
  return {.Caption = QStringLiteral("Mindestgrün"),
          .ObjectName = QStringLiteral("Mindestgruentabelle"),
          .RowTitles = &GroupTitles,
          .ColumnTitles = &MinimumGreenColumns,
          .Cell = &MinimumGreenCell,
          .Edit = &MinimumGreenEdit};
}

namespace {

QStringList DetectorAssignmentColumns(const ControllerDataSet&) {
  return {QStringLiteral("Anforderung vorspeichern"), QStringLiteral("Wechsel anfordern"),
          QStringLiteral("Wechsel abbrechen"), QStringLiteral("Speicherzeit")};
}

TableCell DetectorAssignmentCell(const edit::EditModel& model, int program, int row, int column) {
  const ControllerDataSet& data = model.Data();
  const std::size_t g = At(row);
  const std::size_t p = At(program - 1);
  switch (static_cast<DetectorColumn>(column)) {
    case DetectorColumn::Prestore:
      return TableCell{QString(), data.DetectorPrestore[g][p] != 0};
    case DetectorColumn::ChangeRequest:
      return TableCell{QString(), data.ChangeRequestByDetector[g][p] != 0};
    case DetectorColumn::ChangeCancel:
      return TableCell{QString(), data.ChangeCancelByDetector[g][p] != 0};
    case DetectorColumn::MemoryTime:
      break;
  }
  return TableCell{QString::number(data.DemandInputMap[p].MemoryTime[g])};
}

Result<std::unique_ptr<edit::EditCommand>> DetectorAssignmentEdit(const ControllerDataSet&,
                                                                  int program, int row, int column,
                                                                  const TableCell& entered) {
  const bool on = entered.Checked.value_or(false);
  switch (static_cast<DetectorColumn>(column)) {
    case DetectorColumn::Prestore:
      return Owned(std::make_unique<edit::SetDetectorFlag>(edit::DetectorTable::Prestore, row + 1,
                                                           program, on));
    case DetectorColumn::ChangeRequest:
      return Owned(std::make_unique<edit::SetDetectorFlag>(edit::DetectorTable::ChangeRequest,
                                                           row + 1, program, on));
    case DetectorColumn::ChangeCancel:
      return Owned(std::make_unique<edit::SetDetectorFlag>(edit::DetectorTable::ChangeCancel,
                                                           row + 1, program, on));
    case DetectorColumn::MemoryTime:
      break;
  }
  const Result<int> seconds = ParseWholeNumber(entered.Text, 0, LongestTime);
  if (!seconds) {
    return seconds.Failure();
  }
  return Owned(std::make_unique<edit::SetDemandMemoryTime>(program, row + 1, *seconds));
}

}  // namespace

DataTable DetectorAssignmentTable() {
  return {.Caption = QStringLiteral("Detektoren"),
          .ObjectName = QStringLiteral("Detektortabelle"),
          .RowTitles = &GroupTitles,
          .ColumnTitles = &DetectorAssignmentColumns,
          .Cell = &DetectorAssignmentCell,
          .Edit = &DetectorAssignmentEdit};
}

namespace {

QStringList DemandAssignmentColumns(const ControllerDataSet& data) {
  QStringList titles = GroupTitles(data);
  for (QString& title : titles) {
    title = QStringLiteral("Eingang ") + title;
  }
  return titles;
}

TableCell DemandAssignmentCell(const edit::EditModel& model, int program, int row, int column) {
  return TableCell{QString(),
                   model.Data().DemandInputMap[At(program - 1)].Map[At(row)][At(column)] != 0};
}

Result<std::unique_ptr<edit::EditCommand>> DemandAssignmentEdit(const ControllerDataSet&,
                                                                int program, int row, int column,
                                                                const TableCell& entered) {
  return Owned(std::make_unique<edit::SetDemandInput>(program, row + 1, column + 1,
                                                      entered.Checked.value_or(false)));
}

}  // namespace

DataTable DemandAssignmentTable() {
  return {.Caption = QStringLiteral("Anforderungen"),
          .ObjectName = QStringLiteral("Anforderungstabelle"),
          .RowTitles = &GroupTitles,
          .ColumnTitles = &DemandAssignmentColumns,
          .Cell = &DemandAssignmentCell,
          .Edit = &DemandAssignmentEdit};
}

}  // namespace ampelsim::ui
