#pragma once

#include <string>
#include <vector>

#include "data/controller_data_set.h"

namespace ampelsim {

// Loads a data set from its thirteen files and keeps the outcome and the log
// that the loading window shows. The log lines are UTF-8.
class DataSetLoader {
 public:
  // Reads every file of dataDirectory in load order. Missing or wrongly sized
  // files leave their tables as they were; no failure stops the load.
  void Load(ControllerDataSet& data, const std::string& dataDirectory);

  // The data set may be run (every file there, every size right, a mode that
  // can be simulated).
  bool DataValid() const { return dataValid_; }
  // A load happened and the engine has not yet reset itself for it.
  bool DataReloaded() const { return dataReloaded_; }
  void ClearReloaded() { dataReloaded_ = false; }
  bool SizesCorrect() const { return sizesCorrect_; }

  const std::vector<std::string>& Log() const { return log_; }

 private:
  void LoadFile(ControllerDataSet& data, const std::string& dataDirectory, std::size_t index);

  bool dataValid_ = false;
  bool dataReloaded_ = false;
  bool sizesCorrect_ = false;
  std::vector<std::string> log_;
};

}  // namespace ampelsim
