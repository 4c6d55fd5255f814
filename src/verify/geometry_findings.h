#pragma once

#include <cstdint>
#include <vector>

#include "data/controller_data_set.h"
#include "verify/finding.h"

namespace ampelsim {

// The intergreens a junction's geometry requires, calculated above this
// layer (docs/intergreen.md) and handed down as plain seconds.
struct RequiredIntergreenMatrix {
  GroupMatrix<std::int32_t> Seconds{};  // [entering][clearing], like the data set's
  GroupMatrix<std::uint8_t> Known{};    // 1: the geometry has a conflict point for the pair
};

// Each usable program's intergreens held against the geometry, for the pairs
// the data set treats as conflicting (an intergreen either way or a lock):
// "Zwischenzeit kürzer als berechnet" (Fehler) where the matrix holds less
// than required, "Zwischenzeit länger als nötig" (Hinweis) where the cycle
// runs from the end of one green to the start of the other in more seconds
// than required, with the seconds lost per cycle.
std::vector<Finding> GeometryFindings(const ControllerDataSet& data,
                                      const RequiredIntergreenMatrix& required);

// The verification of the data set with the geometry findings added, sorted
// like VerifyDataSet's.
std::vector<Finding> VerifyDataSetWithGeometry(const ControllerDataSet& data,
                                               const RequiredIntergreenMatrix& required);

}  // namespace ampelsim
