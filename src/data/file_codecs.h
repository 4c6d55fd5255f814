#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "data/controller_data_set.h"
#include "data/data_files.h"

namespace ampelsim {

// Whether a released program with an all-zero intergreen or lock matrix takes
// over program 1's matrix while ZWI.DAT is decoded. Loading applies it; the
// JSON dump keeps the files' own contents so that they can be rebuilt exactly.
enum class MatrixFallback { Apply, Keep };

// Decodes the bytes of one data file into its tables. A buffer that does not
// have the file's exact size is rejected (false) and no table is touched.
bool DecodeDataFile(DataFile file, std::span<const std::uint8_t> bytes, ControllerDataSet& data,
                    MatrixFallback fallback = MatrixFallback::Apply);

// The exact inverse of DecodeDataFile without the fallback: the file's bytes.
std::vector<std::uint8_t> EncodeDataFile(DataFile file, const ControllerDataSet& data);

// Released programs whose intergreen or lock matrix is all zero take over
// program 1's matrix; unreleased programs keep theirs.
void ApplyMatrixFallback(ControllerDataSet& data);

}  // namespace ampelsim
