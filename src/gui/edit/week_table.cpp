#include "gui/edit/week_table.h"

#include <QRegularExpression>
#include <vector>

#include "edit/command_group.h"
#include "edit/general_commands.h"
#include "edit/table_commands.h"

namespace ampelsim::ui {
namespace {

constexpr int MinutesPerDay = 24 * 60;

std::size_t At(int index) {
  return static_cast<std::size_t>(index);
}

const char* const WeekdayNames[WeekdayCount] = {"Montag",  "Dienstag", "Mittwoch", "Donnerstag",
                                                "Freitag", "Samstag",  "Sonntag"};

// The name of a switching target as the cell writes it.
QString TargetName(int target) {
  if (target == DarkProgram) {
    return QStringLiteral("Dunkel");
  }
  if (target == FlashingProgram) {
    return QStringLiteral("Blinken");
  }
  return QStringLiteral("P%1").arg(target);
}

int TargetOf(const QString& name) {
  for (int target = 1; target <= SwitchTargetCount; ++target) {
    if (name.compare(TargetName(target), Qt::CaseInsensitive) == 0) {
      return target;
    }
  }
  return 0;
}

enum class ReleaseColumn { Released, Emergency };

}  // namespace

QString SwitchTimesText(const SwitchTimes& times) {
  QStringList entries;
  for (int target = 1; target <= SwitchTargetCount; ++target) {
    const int minute = times[At(target - 1)];
    if (minute != 0) {
      entries << QStringLiteral("%1:%2 %3")
                     .arg(minute / 60, 2, 10, QLatin1Char('0'))
                     .arg(minute % 60, 2, 10, QLatin1Char('0'))
                     .arg(TargetName(target));
    }
  }
  return entries.join(QStringLiteral(", "));
}

Result<SwitchTimes> ParseSwitchTimes(const QString& text) {
  static const QRegularExpression entryPattern(QStringLiteral("^(\\d{1,2}):(\\d{2})\\s+(\\S+)$"));
  SwitchTimes times{};
  for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const QString entry = part.trimmed();
    if (entry.isEmpty()) {
      continue;
    }
    const QRegularExpressionMatch match = entryPattern.match(entry);
    if (!match.hasMatch()) {
      return Error{QStringLiteral("„%1“: erwartet „hh:mm Programm“, z. B. „06:00 P1“")
                       .arg(entry)
                       .toStdString()};
    }
    const int minute = match.captured(1).toInt() * 60 + match.captured(2).toInt();
    if (match.captured(2).toInt() > 59 || minute >= MinutesPerDay || minute == 0) {
      return Error{QStringLiteral("„%1“: die Uhrzeit muss zwischen 00:01 und 23:59 liegen")
                       .arg(entry)
                       .toStdString()};
    }
    const int target = TargetOf(match.captured(3));
    if (target == 0) {
      return Error{QStringLiteral("„%1“: Programm „%2“ gibt es nicht (P1 bis P6, Dunkel, Blinken)")
                       .arg(entry, match.captured(3))
                       .toStdString()};
    }
    if (times[At(target - 1)] != 0) {
      return Error{QStringLiteral("„%1“: %2 steht zweimal in der Zelle")
                       .arg(entry, TargetName(target))
                       .toStdString()};
    }
    times[At(target - 1)] = static_cast<std::uint16_t>(minute);
  }
  return times;
}

namespace {

QStringList WeekRows(const ControllerDataSet&) {
  QStringList titles;
  for (int slot = 1; slot <= SwitchingPointCount; ++slot) {
    titles << QStringLiteral("Schaltpunkt %1").arg(slot);
  }
  return titles;
}

QStringList WeekColumns(const ControllerDataSet&) {
  QStringList titles;
  for (const char* day : WeekdayNames) {
    titles << QString::fromLatin1(day);
  }
  return titles;
}

TableCell WeekCell(const edit::EditModel& model, int, int row, int column) {
  return TableCell{SwitchTimesText(model.Data().SwitchingPoints[At(row)][At(column)])};
}

Result<std::unique_ptr<edit::EditCommand>> WeekEdit(const ControllerDataSet& data, int, int row,
                                                    int column, const TableCell& entered) {
  const Result<SwitchTimes> times = ParseSwitchTimes(entered.Text);
  if (!times) {
    return times.Failure();
  }
  const SwitchTimes& now = data.SwitchingPoints[At(row)][At(column)];
  std::vector<std::unique_ptr<edit::EditCommand>> parts;
  for (int target = 1; target <= SwitchTargetCount; ++target) {
    if ((*times)[At(target - 1)] != now[At(target - 1)]) {
      parts.push_back(std::make_unique<edit::SetSwitchingPoint>(row + 1, column + 1, target,
                                                                (*times)[At(target - 1)]));
    }
  }
  const QString shown = SwitchTimesText(*times);
  const QString name = QStringLiteral("Schaltpunkt %1 (%2) auf „%3“")
                           .arg(row + 1)
                           .arg(QString::fromLatin1(WeekdayNames[column]),
                                shown.isEmpty() ? QStringLiteral("kein Eintrag") : shown);
  return std::unique_ptr<edit::EditCommand>(
      std::make_unique<edit::CommandGroup>(name.toStdString(), 0, std::move(parts)));
}

}  // namespace

DataTable WeekTable() {
  return {.Caption = QStringLiteral("Wochenplan"),
          .ObjectName = QStringLiteral("Wochentabelle"),
          .RowTitles = &WeekRows,
          .ColumnTitles = &WeekColumns,
          .Cell = &WeekCell,
          .Edit = &WeekEdit};
}

namespace {

QStringList ReleaseRows(const ControllerDataSet&) {
  QStringList titles;
  for (int target = 1; target <= SwitchTargetCount; ++target) {
    titles << TargetName(target);
  }
  return titles;
}

QStringList ReleaseColumns(const ControllerDataSet&) {
  return {QStringLiteral("Freigegeben"), QStringLiteral("Notprogramm")};
}

TableCell ReleaseCell(const edit::EditModel& model, int, int row, int column) {
  const GeneralDataRecord& general = model.Data().GeneralData;
  const int target = row + 1;
  if (static_cast<ReleaseColumn>(column) == ReleaseColumn::Emergency) {
    return TableCell{QString(), general.EmergencyProgram == target};
  }
  if (target > ProgramCount) {
    // Dark and flashing may always run.
    return TableCell{QString(), true, false};
  }
  return TableCell{QString(), general.ProgramReleased[At(row)] != 0};
}

Result<std::unique_ptr<edit::EditCommand>> ReleaseEdit(const ControllerDataSet&, int, int row,
                                                       int column, const TableCell& entered) {
  const bool on = entered.Checked.value_or(false);
  if (static_cast<ReleaseColumn>(column) == ReleaseColumn::Released) {
    return std::unique_ptr<edit::EditCommand>(
        std::make_unique<edit::SetProgramReleased>(row + 1, on));
  }
  if (!on) {
    return Error{"Ein anderes Notprogramm wird gewählt, indem es angekreuzt wird"};
  }
  return std::unique_ptr<edit::EditCommand>(std::make_unique<edit::SetEmergencyProgram>(row + 1));
}

}  // namespace

DataTable ReleaseTable() {
  return {.Caption = QStringLiteral("Freigabe"),
          .ObjectName = QStringLiteral("Freigabetabelle"),
          .RowTitles = &ReleaseRows,
          .ColumnTitles = &ReleaseColumns,
          .Cell = &ReleaseCell,
          .Edit = &ReleaseEdit};
}

}  // namespace ampelsim::ui
