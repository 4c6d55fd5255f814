#pragma once

#include <memory>
#include <vector>

#include "data/controller_data_set.h"
#include "edit/command_group.h"
#include "planning/geometry_file.h"

namespace ampelsim::ui {

// One pair of groups the geometry names: the program's intergreen time now
// and the time the calculation requires.
struct IntergreenComparison {
  int Clearing = 0;  // group numbers 1..24
  int Entering = 0;
  int Current = 0;
  int Calculated = 0;
};

// Every pair with a conflict point, clearing group first, in group order.
std::vector<IntergreenComparison> CompareIntergreens(const planning::RequiredIntergreens& required,
                                                     const ControllerDataSet& data, int program);

// One step that sets the calculated times of a program where they differ
// ("Zwischenzeiten P1 aus der Geometrie berechnet"); none when no time differs.
std::unique_ptr<edit::CommandGroup> FillIntergreens(
    const std::vector<IntergreenComparison>& comparison, int program);

}  // namespace ampelsim::ui
