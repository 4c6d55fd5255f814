#include "gui/edit/matrix_tables.h"

#include <algorithm>

#include "edit/matrix_commands.h"
#include "verify/finding.h"

namespace ampelsim::ui {
namespace {

// The verifier's bound, as the command checks it.
constexpr int LongestIntergreen = 255;

std::size_t At(int index) {
  return static_cast<std::size_t>(index);
}

std::int32_t IntergreenOf(const ControllerDataSet& data, int program, int clearing, int entering) {
  return data.IntergreenTimes[At(program - 1)][At(entering)][At(clearing)];
}

bool IsLocked(const ControllerDataSet& data, int program, int a, int b) {
  const auto& locks = data.GreenGreenLocks[At(program - 1)];
  return locks[At(a)][At(b)] != 0 || locks[At(b)][At(a)] != 0;
}

// Whether a finding of this kind names exactly these groups (numbers 1..24)
// in this order, or in either order when `ordered` is false.
bool HasFinding(const edit::EditModel& model, int program, FindingKind kind, int first, int second,
                bool ordered) {
  const std::vector<Finding> findings = model.FindingsOf(program);
  return std::any_of(findings.begin(), findings.end(), [&](const Finding& finding) {
    if (finding.Kind != kind || finding.Groups.size() != 2) {
      return false;
    }
    const int a = finding.Groups[0];
    const int b = finding.Groups[1];
    return (a == first && b == second) || (!ordered && a == second && b == first);
  });
}

}  // namespace

QStringList GroupTitles(const ControllerDataSet& data) {
  QStringList titles;
  for (int group = 1; group <= GroupsInUse(data); ++group) {
    titles << QStringLiteral("G. %1").arg(group);
  }
  return titles;
}

Result<int> ParseWholeNumber(const QString& text, int lowest, int highest) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) {
    return 0;
  }
  bool ok = false;
  const int value = trimmed.toInt(&ok);
  if (!ok) {
    return Error{QStringLiteral("„%1“ ist keine ganze Zahl").arg(trimmed).toStdString()};
  }
  if (value < lowest || value > highest) {
    return Error{QStringLiteral("%1 liegt nicht zwischen %2 und %3")
                     .arg(value)
                     .arg(lowest)
                     .arg(highest)
                     .toStdString()};
  }
  return value;
}

namespace {

QStringList IntergreenRows(const ControllerDataSet& data) {
  QStringList titles = GroupTitles(data);
  for (QString& title : titles) {
    title += QStringLiteral(" räumt");
  }
  return titles;
}

TableCell IntergreenCell(const edit::EditModel& model, int program, int row, int column) {
  if (row == column) {
    return TableCell{QString(), std::nullopt, false, CellMark::None};
  }
  const ControllerDataSet& data = model.Data();
  const std::int32_t seconds = IntergreenOf(data, program, row, column);
  TableCell cell{seconds == 0 ? QString() : QString::number(seconds)};
  if (HasFinding(model, program, FindingKind::Intergreen, column + 1, row + 1, true)) {
    cell.Mark = CellMark::Violated;
  } else if (seconds == 0 && IsLocked(data, program, row, column)) {
    cell.Mark = CellMark::Missing;
  }
  return cell;
}

Result<std::unique_ptr<edit::EditCommand>> IntergreenEdit(const ControllerDataSet&, int program,
                                                          int row, int column,
                                                          const TableCell& entered) {
  const Result<int> seconds = ParseWholeNumber(entered.Text, 0, LongestIntergreen);
  if (!seconds) {
    return seconds.Failure();
  }
  return std::unique_ptr<edit::EditCommand>(
      std::make_unique<edit::SetIntergreen>(program, row + 1, column + 1, *seconds));
}

}  // namespace

DataTable IntergreenTable() {
  return {.Caption = QStringLiteral("Zwischenzeiten"),
          .ObjectName = QStringLiteral("Zwischenzeitenmatrix"),
          .RowTitles = &IntergreenRows,
          .ColumnTitles = &GroupTitles,
          .Cell = &IntergreenCell,
          .Edit = &IntergreenEdit};
}

namespace {

TableCell LockCell(const edit::EditModel& model, int program, int row, int column) {
  if (row == column) {
    return TableCell{QString(), std::nullopt, false, CellMark::None};
  }
  const ControllerDataSet& data = model.Data();
  const bool locked = IsLocked(data, program, row, column);
  TableCell cell{QString(), locked};
  if (HasFinding(model, program, FindingKind::GreenConflict, row + 1, column + 1, false)) {
    cell.Mark = CellMark::Violated;
  } else if (locked && (IntergreenOf(data, program, row, column) == 0 ||
                        IntergreenOf(data, program, column, row) == 0)) {
    cell.Mark = CellMark::Missing;
  }
  return cell;
}

Result<std::unique_ptr<edit::EditCommand>> LockEdit(const ControllerDataSet&, int program, int row,
                                                    int column, const TableCell& entered) {
  return std::unique_ptr<edit::EditCommand>(std::make_unique<edit::SetLock>(
      program, row + 1, column + 1, entered.Checked.value_or(false)));
}

}  // namespace

DataTable LockTable() {
  return {.Caption = QStringLiteral("Feindlichkeiten"),
          .ObjectName = QStringLiteral("Feindlichkeitsmatrix"),
          .RowTitles = &GroupTitles,
          .ColumnTitles = &GroupTitles,
          .Cell = &LockCell,
          .Edit = &LockEdit};
}

}  // namespace ampelsim::ui
