#pragma once

#include "gui/edit/data_table.h"

namespace ampelsim::ui {

// The intergreen matrix of a program: a row per clearing group (räumend), a
// column per entering group (einfahrend), seconds in the cells. A cell is
// marked where the plan's greens need more than it gives (the verifier's
// intergreen finding on the pair) or where locked groups have no time.
DataTable IntergreenTable();

// The conflict (lock) matrix of a program, symmetric: a check where two
// groups must never be green together. Marked where the plan shows them
// green together, or where the pair lacks an intergreen time.
DataTable LockTable();

}  // namespace ampelsim::ui
