#pragma once

#include <string>
#include <vector>

#include "data/controller_data_set.h"
#include "planning/geometry_file.h"

namespace ampelsim {

// The required intergreens of a program beside the data set's, as German
// lines (UTF-8): the matrix with "Datensatz/berechnet" in each cell, then
// every conflict point with its distances, values and times; a value marked
// "*" is an assumed default of the method (docs/intergreen.md). The
// required intergreens are those calculated from this geometry; program 1..6.
std::vector<std::string> IntergreenTableLines(const ControllerDataSet& data, int program,
                                              const planning::IntergreenGeometry& geometry,
                                              const planning::RequiredIntergreens& required);

// The name of the clearing road user of a point: its kind, or "Wartender
// Linksabbieger".
std::string ClearingUserName(const planning::ConflictPoint& point);

}  // namespace ampelsim
