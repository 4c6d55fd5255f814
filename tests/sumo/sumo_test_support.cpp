#include "sumo/sumo_test_support.h"

#include <cstdlib>
#include <stdexcept>

#include "data/data_set_loader.h"

namespace ampelsim::test {

std::filesystem::path SourceDir() {
  const char* dir = std::getenv("AMPELSIM_SOURCE_DIR");
  return dir != nullptr ? dir : AMPELSIM_SOURCE_DIR;
}

std::filesystem::path BinaryDir() {
  const char* dir = std::getenv("AMPELSIM_BINARY_DIR");
  return dir != nullptr ? dir : AMPELSIM_BINARY_DIR;
}

std::filesystem::path DemoDir() {
  return BinaryDir() / "Demo";
}

std::filesystem::path SumoDemoDir() {
  return SourceDir() / "demo" / "sumo";
}

std::unique_ptr<ControllerDataSet> LoadDemoData() {
  auto data = std::make_unique<ControllerDataSet>();
  DataSetLoader loader;
  loader.Load(*data, DemoDir().string());
  if (!loader.DataValid()) {
    throw std::runtime_error("the Demo data set of the build does not load");
  }
  return data;
}

SumoMapping DemoMapping(const ControllerDataSet& data) {
  auto mapping = ReadSumoMapping((SumoDemoDir() / "map.json").string(), data);
  if (!mapping) {
    throw std::runtime_error(mapping.Failure().Message);
  }
  return std::move(mapping).Value();
}

}  // namespace ampelsim::test
