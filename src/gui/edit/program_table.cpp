#include "gui/edit/program_table.h"

#include "edit/green_commands.h"
#include "edit/point_commands.h"

namespace ampelsim::ui {
namespace {

using edit::GreenEdge;
using edit::GroupTime;

std::size_t At(int oneBased) {
  return static_cast<std::size_t>(oneBased - 1);
}

bool HasSecondGreen(const SignalProgram& plan, std::size_t g) {
  return plan.GreenBegin2[g] != 0 || plan.GreenEnd2[g] != 0;
}

std::optional<edit::GroupPoint> GroupPointOf(ProgramColumn column) {
  if (column < ProgramColumn::Query1) {
    return std::nullopt;
  }
  return static_cast<edit::GroupPoint>(static_cast<int>(column) -
                                       static_cast<int>(ProgramColumn::Query1));
}

bool IsSecondGreen(ProgramColumn column) {
  return column == ProgramColumn::Green2Begin || column == ProgramColumn::Green2End;
}

}  // namespace

QStringList ProgramColumnTitles() {
  QStringList titles = {QStringLiteral("Grün 1 von"), QStringLiteral("Grün 1 bis"),
                        QStringLiteral("Grün 2 von"), QStringLiteral("Grün 2 bis"),
                        QStringLiteral("Rotgelb"),    QStringLiteral("Gelb"),
                        QStringLiteral("Mindestgrün")};
  for (const edit::GroupPointInfo& info : edit::GroupPoints()) {
    titles << QString::fromUtf8(info.Label);
  }
  return titles;
}

QStringList ProgramPointTitles() {
  QStringList titles;
  for (const edit::ProgramPointInfo& info : edit::ProgramPoints()) {
    titles << QString::fromUtf8(info.Label);
  }
  return titles;
}

std::optional<int> PointValue(const ControllerDataSet& data, int program, int row) {
  if (row < 0 || row >= static_cast<int>(edit::ProgramPoints().size())) {
    return std::nullopt;
  }
  // The list's accessor names the field; reading through it changes nothing.
  auto& readable = const_cast<ControllerDataSet&>(data);
  return edit::ProgramPoints()[static_cast<std::size_t>(row)].Field(readable, At(program));
}

std::unique_ptr<edit::EditCommand> PointCommand(int program, int row, std::optional<int> value) {
  if (row < 0 || row >= static_cast<int>(edit::ProgramPoints().size())) {
    return nullptr;
  }
  return std::make_unique<edit::SetProgramPoint>(
      program, edit::ProgramPoints()[static_cast<std::size_t>(row)].Point, value.value_or(0));
}

bool IsMissingSecondGreen(const ControllerDataSet& data, int program, int group,
                          ProgramColumn column) {
  return IsSecondGreen(column) && !HasSecondGreen(data.SignalPrograms[At(program)], At(group));
}

std::optional<int> CellValue(const ControllerDataSet& data, int program, int group,
                             ProgramColumn column) {
  const SignalProgram& plan = data.SignalPrograms[At(program)];
  const std::size_t g = At(group);
  if (IsMissingSecondGreen(data, program, group, column)) {
    return std::nullopt;
  }
  if (const auto point = GroupPointOf(column)) {
    const std::int32_t value = (plan.*edit::InfoOf(*point).Field)[g];
    return value != 0 ? std::optional<int>(value) : std::nullopt;
  }
  switch (column) {
    case ProgramColumn::Green1Begin:
      return plan.GreenBegin1[g];
    case ProgramColumn::Green1End:
      return plan.GreenEnd1[g];
    case ProgramColumn::Green2Begin:
      return plan.GreenBegin2[g];
    case ProgramColumn::Green2End:
      return plan.GreenEnd2[g];
    case ProgramColumn::RedYellow:
      return plan.RedYellowTime[g];
    case ProgramColumn::Yellow:
      return plan.YellowTime[g];
    default:
      break;
  }
  return data.MinGreenTimes[g][At(program)];
}

std::unique_ptr<edit::EditCommand> CellCommand(const ControllerDataSet& data, int program,
                                               int group, ProgramColumn column,
                                               std::optional<int> value, std::optional<int> other) {
  if (IsSecondGreen(column)) {
    if (!value) {
      return std::make_unique<edit::RemoveGreenWindow>(program, group, 2);
    }
    if (IsMissingSecondGreen(data, program, group, column)) {
      if (!other) {
        return nullptr;
      }
      return column == ProgramColumn::Green2Begin
                 ? std::make_unique<edit::SetGreenWindow>(program, group, 2, *value, *other)
                 : std::make_unique<edit::SetGreenWindow>(program, group, 2, *other, *value);
    }
  }
  if (const auto point = GroupPointOf(column)) {
    return std::make_unique<edit::SetGroupPoint>(program, group, *point, value.value_or(0));
  }
  if (!value) {
    return nullptr;
  }
  switch (column) {
    case ProgramColumn::Green1Begin:
      return std::make_unique<edit::SetGreenEdge>(program, group, 1, GreenEdge::Begin, *value);
    case ProgramColumn::Green1End:
      return std::make_unique<edit::SetGreenEdge>(program, group, 1, GreenEdge::End, *value);
    case ProgramColumn::Green2Begin:
      return std::make_unique<edit::SetGreenEdge>(program, group, 2, GreenEdge::Begin, *value);
    case ProgramColumn::Green2End:
      return std::make_unique<edit::SetGreenEdge>(program, group, 2, GreenEdge::End, *value);
    case ProgramColumn::RedYellow:
      return std::make_unique<edit::SetGroupTime>(program, group, GroupTime::RedYellow, *value);
    case ProgramColumn::Yellow:
      return std::make_unique<edit::SetGroupTime>(program, group, GroupTime::Yellow, *value);
    default:
      break;
  }
  return std::make_unique<edit::SetGroupTime>(program, group, GroupTime::MinimumGreen, *value);
}

}  // namespace ampelsim::ui
