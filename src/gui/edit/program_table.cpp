#include "gui/edit/program_table.h"

#include "edit/green_commands.h"

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

bool IsSecondGreen(ProgramColumn column) {
  return column == ProgramColumn::Green2Begin || column == ProgramColumn::Green2End;
}

}  // namespace

QStringList ProgramColumnTitles() {
  return {QStringLiteral("Grün 1 von"), QStringLiteral("Grün 1 bis"), QStringLiteral("Grün 2 von"),
          QStringLiteral("Grün 2 bis"), QStringLiteral("Rotgelb"),    QStringLiteral("Gelb"),
          QStringLiteral("Mindestgrün")};
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
    case ProgramColumn::MinimumGreen:
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
    case ProgramColumn::MinimumGreen:
      break;
  }
  return std::make_unique<edit::SetGroupTime>(program, group, GroupTime::MinimumGreen, *value);
}

}  // namespace ampelsim::ui
