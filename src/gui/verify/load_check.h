#pragma once

#include <QString>
#include <vector>

#include "data/controller_data_set.h"
#include "verify/finding.h"

namespace ampelsim::ui {

// What the verifier says about a data set as soon as it is loaded: whether
// its files could be read at all, and its errors (warnings and notes wait for
// "Prüfen").
struct LoadCheck {
  bool Readable = true;
  QString Folder;
  std::vector<Finding> Errors;
};

// How many findings the warning names before it points at "Prüfen".
inline constexpr std::size_t ShownFirstFindings = 5;

LoadCheck CheckDataSet(const ControllerDataSet& data);
// Reads the folder with a loader of its own (the simulation keeps its data
// set) and checks what it read.
LoadCheck CheckDataFolder(const QString& folder);

// Whether the check has something to tell the user.
bool NeedsWarning(const LoadCheck& check);
// The German warning: the count of errors and the first findings, or that the
// folder holds no readable data set.
QString LoadCheckText(const LoadCheck& check);

}  // namespace ampelsim::ui
