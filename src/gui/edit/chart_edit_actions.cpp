#include "gui/edit/chart_edit_actions.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

#include "edit/edit_checks.h"
#include "edit/green_commands.h"
#include "edit/point_commands.h"

namespace ampelsim::ui {
namespace {

// A new second green lasts the minimum green, 5 s where the group has none.
constexpr int NewGreenWithoutMinimum = 5;

QString Label(const char* utf8) {
  return QString::fromUtf8(utf8);
}

QString GroupText(int group) {
  return QString::fromStdString(edit::GroupLabel(group));
}

std::optional<int> ChartedAt(const ChartModel& chart, edit::ProgramPoint point) {
  for (const ChartLine& line : chart.Lines) {
    if (line.Kind == ChartLineKind::ProgramPoint && ProgramPointOfLine(line.Text) == point) {
      return static_cast<int>(line.At);
    }
  }
  return std::nullopt;
}

// Points are time points of the cycle: the axis end is its second 0 again.
int PointSecond(const ControllerDataSet& data, int program, int second) {
  const int cycle = edit::PlanOf(data, program).CycleTime;
  return cycle > 0 ? second % cycle : 0;
}

void AddGroupEntries(std::vector<ChartMenuEntry>& entries, const ControllerDataSet& data,
                     int program, const ChartTarget& target) {
  const SignalProgram& plan = edit::PlanOf(data, program);
  const std::size_t g = edit::Index(target.Group);
  const QString group = GroupText(target.Group);
  if (plan.GreenBegin2[g] != 0 || plan.GreenEnd2[g] != 0) {
    entries.push_back({QStringLiteral("Grün 2 von %1 entfernen").arg(group),
                       std::make_shared<edit::RemoveGreenWindow>(program, target.Group, 2)});
  } else {
    const int minimum = data.MinGreenTimes[g][edit::Index(program)];
    const int length = minimum > 0 ? minimum : NewGreenWithoutMinimum;
    const int begin = PointSecond(data, program, target.Second);
    const int end = (begin + length - 1) % plan.CycleTime + 1;
    entries.push_back(
        {QStringLiteral("Grün 2 von %1 ab %2 s einfügen (%3 s)").arg(group).arg(begin).arg(length),
         std::make_shared<edit::SetGreenWindow>(program, target.Group, 2, begin, end)});
  }
  const int second = PointSecond(data, program, target.Second);
  for (const edit::GroupPointInfo& info : edit::GroupPoints()) {
    const QString label = Label(info.Label);
    if ((plan.*info.Field)[g] != 0) {
      entries.push_back(
          {QStringLiteral("%1 von %2 entfernen").arg(label, group),
           std::make_shared<edit::SetGroupPoint>(program, target.Group, info.Point, 0)});
    } else if (second > 0) {
      entries.push_back(
          {QStringLiteral("%1 von %2 auf %3 s setzen").arg(label, group).arg(second),
           std::make_shared<edit::SetGroupPoint>(program, target.Group, info.Point, second)});
    }
  }
}

void AddProgramEntries(std::vector<ChartMenuEntry>& entries, const ControllerDataSet& data,
                       const ChartModel& chart, int program, const ChartTarget& target) {
  const int second = PointSecond(data, program, target.Second);
  for (const edit::ProgramPointInfo& info : edit::ProgramPoints()) {
    if (info.Point > edit::ProgramPoint::Sync2) {
      continue;  // the seconds of a change on demand are not charted
    }
    const QString label = Label(info.Label);
    if (MayBeNone(info.Point) && ChartedAt(chart, info.Point)) {
      entries.push_back({QStringLiteral("%1 entfernen").arg(label),
                         std::make_shared<edit::SetProgramPoint>(program, info.Point, 0)});
    } else if (second > 0 || !MayBeNone(info.Point)) {
      entries.push_back({QStringLiteral("%1 auf %2 s setzen").arg(label).arg(second),
                         std::make_shared<edit::SetProgramPoint>(program, info.Point, second)});
    }
  }
}

}  // namespace

std::vector<ChartMenuEntry> ChartMenuEntries(const ControllerDataSet& data, int program,
                                             const ChartModel& chart, const ChartTarget& target) {
  std::vector<ChartMenuEntry> entries;
  if (program < 1 || program > ProgramCount || edit::PlanOf(data, program).CycleTime <= 0) {
    return entries;
  }
  switch (target.Kind) {
    case TargetKind::GreenBegin:
    case TargetKind::GreenEnd:
    case TargetKind::GreenWindow:
    case TargetKind::GroupPoint:
    case TargetKind::Row:
      AddGroupEntries(entries, data, program, target);
      break;
    case TargetKind::ProgramPoint:
    case TargetKind::PointLabels:
      AddProgramEntries(entries, data, chart, program, target);
      break;
    case TargetKind::None:
      break;
  }
  return entries;
}

std::optional<ExactEdit> ExactEditOf(const ControllerDataSet& data, int program,
                                     const ChartTarget& target) {
  if (program < 1 || program > ProgramCount) {
    return std::nullopt;
  }
  const SignalProgram& plan = edit::PlanOf(data, program);
  const int cycle = plan.CycleTime;
  if (cycle <= 0) {
    return std::nullopt;
  }
  const QString where = QStringLiteral("%1 (P%2)").arg(GroupText(target.Group)).arg(program);
  switch (target.Kind) {
    case TargetKind::GreenBegin:
    case TargetKind::GreenEnd:
    case TargetKind::GreenWindow: {
      const std::size_t g = edit::Index(target.Group);
      const bool second = target.Window == 2;
      const int begin = second ? plan.GreenBegin2[g] : plan.GreenBegin1[g];
      const int end = second ? plan.GreenEnd2[g] : plan.GreenEnd1[g];
      const int group = target.Group;
      const int window = target.Window;
      return ExactEdit{QStringLiteral("Grün %1 von %2").arg(window).arg(where),
                       {{QStringLiteral("Grün von [s]"), begin, 0, cycle},
                        {QStringLiteral("Grün bis [s]"), end, 0, cycle}},
                       [=](const std::vector<int>& answers) -> std::unique_ptr<edit::EditCommand> {
                         return std::make_unique<edit::SetGreenWindow>(
                             program, group, window, answers.at(0), answers.at(1));
                       }};
    }
    case TargetKind::GroupPoint: {
      const edit::GroupPointInfo& info = edit::InfoOf(target.GroupPoint);
      const int group = target.Group;
      const edit::GroupPoint point = target.GroupPoint;
      return ExactEdit{QStringLiteral("%1 von %2").arg(Label(info.Label), where),
                       {{QStringLiteral("Sekunde (0 = keiner)"),
                         (plan.*info.Field)[edit::Index(group)], 0, cycle - 1}},
                       [=](const std::vector<int>& answers) -> std::unique_ptr<edit::EditCommand> {
                         return std::make_unique<edit::SetGroupPoint>(program, group, point,
                                                                      answers.at(0));
                       }};
    }
    case TargetKind::ProgramPoint: {
      const edit::ProgramPoint point = target.ProgramPoint;
      const QString label = Label(edit::InfoOf(point).Label);
      return ExactEdit{
          QStringLiteral("%1 (P%2)").arg(label).arg(program),
          {{MayBeNone(point) ? QStringLiteral("Sekunde (0 = keiner)") : QStringLiteral("Sekunde"),
            target.At, 0, cycle - 1}},
          [=](const std::vector<int>& answers) -> std::unique_ptr<edit::EditCommand> {
            return std::make_unique<edit::SetProgramPoint>(program, point, answers.at(0));
          }};
    }
    default:
      break;
  }
  return std::nullopt;
}

std::optional<std::vector<int>> AskExactValues(QWidget* parent, const QString& title,
                                               const std::vector<ExactValue>& fields) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("GenaueWerte"));
  dialog.setWindowTitle(title);
  auto* form = new QFormLayout(&dialog);
  std::vector<QSpinBox*> boxes;
  for (const ExactValue& field : fields) {
    auto* box = new QSpinBox(&dialog);
    box->setRange(field.Lowest, field.Highest);
    box->setValue(field.Value);
    box->setSuffix(QStringLiteral(" s"));
    form->addRow(field.Label, box);
    boxes.push_back(box);
  }
  auto* buttons = new QDialogButtonBox(&dialog);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  std::vector<int> answers;
  for (const QSpinBox* box : boxes) {
    answers.push_back(box->value());
  }
  return answers;
}

}  // namespace ampelsim::ui
