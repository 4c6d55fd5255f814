#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "chart/chart_model.h"
#include "data/controller_data_set.h"
#include "edit/edit_command.h"
#include "gui/edit/chart_targets.h"

namespace ampelsim::ui {

// An entry of the chart's context menu and the step it stands for.
struct ChartMenuEntry {
  QString Text;
  std::shared_ptr<const edit::EditCommand> Command;
};

// The entries the context menu offers at a target: add or remove the second
// green of the row's group, set a missing point at the second clicked or
// remove one; in the labels of the program's points the same for them.
std::vector<ChartMenuEntry> ChartMenuEntries(const ControllerDataSet& data, int program,
                                             const ChartModel& chart, const ChartTarget& target);

// A value the double-click form asks for.
struct ExactValue {
  QString Label;
  int Value = 0;
  int Lowest = 0;
  int Highest = 0;
};

// The form of exact values for a green window or a point, and the step its
// answers make.
struct ExactEdit {
  QString Title;
  std::vector<ExactValue> Fields;
  std::function<std::unique_ptr<edit::EditCommand>(const std::vector<int>& answers)> Command;
};
std::optional<ExactEdit> ExactEditOf(const ControllerDataSet& data, int program,
                                     const ChartTarget& target);

// Asks for the values of a form; nothing when the user cancels. Tests answer
// without a dialog.
using ExactValuesQuestion = std::function<std::optional<std::vector<int>>(
    QWidget* parent, const QString& title, const std::vector<ExactValue>& fields)>;
std::optional<std::vector<int>> AskExactValues(QWidget* parent, const QString& title,
                                               const std::vector<ExactValue>& fields);

}  // namespace ampelsim::ui
