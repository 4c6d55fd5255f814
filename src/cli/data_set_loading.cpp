#include "cli/data_set_loading.h"

namespace ampelsim {

void WriteLoadLog(const DataSetLoader& loader, std::ostream& err) {
  for (const auto& line : loader.Log()) {
    err << line << '\n';
  }
}

std::unique_ptr<ControllerDataSet> LoadDataSetOrLog(const std::string& directory,
                                                    std::ostream& err) {
  auto data = std::make_unique<ControllerDataSet>();
  DataSetLoader loader;
  loader.Load(*data, directory);
  if (!loader.DataValid()) {
    WriteLoadLog(loader, err);
    return nullptr;
  }
  return data;
}

}  // namespace ampelsim
