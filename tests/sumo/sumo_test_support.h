#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "data/controller_data_set.h"
#include "sumo/sumo_mapping.h"

namespace ampelsim::test {

std::filesystem::path SourceDir();
std::filesystem::path BinaryDir();
std::filesystem::path DemoDir();
std::filesystem::path SumoDemoDir();  // demo/sumo in the source tree

// The demo data set as the build made it, and the demo mapping.
std::unique_ptr<ControllerDataSet> LoadDemoData();
SumoMapping DemoMapping(const ControllerDataSet& data);

}  // namespace ampelsim::test
