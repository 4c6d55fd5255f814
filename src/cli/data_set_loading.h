#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "data/controller_data_set.h"
#include "data/data_set_loader.h"

namespace ampelsim {

// The load log of a data set that could not be loaded, a line each.
void WriteLoadLog(const DataSetLoader& loader, std::ostream& err);

// The data set of `directory`, or null once its load log went to `err`.
std::unique_ptr<ControllerDataSet> LoadDataSetOrLog(const std::string& directory,
                                                    std::ostream& err);

}  // namespace ampelsim
