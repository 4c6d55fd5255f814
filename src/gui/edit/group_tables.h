#pragma once

#include "gui/edit/data_table.h"

namespace ampelsim::ui {

// The minimum green of every group in every program: a row per group, a
// column per program. Marked where the verifier finds a green shorter.
DataTable MinimumGreenTable();

// What each group's detector does in a program (prestore a demand, request
// or cancel a change on demand) and how long its demand is kept.
DataTable DetectorAssignmentTable();

// Which demand inputs (columns) also demand a group (rows) in a program.
DataTable DemandAssignmentTable();

}  // namespace ampelsim::ui
