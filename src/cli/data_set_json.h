#pragma once

#include <nlohmann/json.hpp>
#include <stdexcept>

#include "data/controller_data_set.h"

namespace ampelsim::cli {

// The loaded tables of a data set as JSON, every field included, field names
// as in the data set model, texts as UTF-8 strings.
nlohmann::ordered_json DataSetToJson(const ControllerDataSet& data);

// A data set from JSON. Missing fields and missing array entries are zero;
// unknown fields, values out of range and arrays that are too long are errors.
class DataSetJsonError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
ControllerDataSet DataSetFromJson(const nlohmann::ordered_json& json);

// JSON text with short arrays of numbers kept on one line, so that a data set
// stays readable (one line per group row).
std::string FormatJson(const nlohmann::ordered_json& json);

inline constexpr const char* DataSetFormat = "ampelsim data set 1";

}  // namespace ampelsim::cli
