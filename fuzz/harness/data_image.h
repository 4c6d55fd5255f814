#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "data/data_files.h"

namespace ampelsim::fuzz {

// The thirteen files of a data set, each of its exact size, in load order.
using DataImage = std::array<std::vector<std::uint8_t>, DataFiles.size()>;

// Every file all zero.
DataImage ZeroImage();

// A data set is mostly zero, so a fuzz input describes it sparsely: runs over
// the thirteen files laid end to end, each "skip (u16 LE), length (u8), that
// many bytes". Any byte sequence is an image; runs past the end are cut off.
DataImage ReadSparseImage(std::span<const std::uint8_t> runs);
std::vector<std::uint8_t> WriteSparseImage(const DataImage& image);

// The same run encoding over one buffer of the given size.
std::vector<std::uint8_t> ReadSparseBytes(std::span<const std::uint8_t> runs, std::size_t size);
std::vector<std::uint8_t> WriteSparseBytes(std::span<const std::uint8_t> bytes);

// The files of an image in a directory, replacing what is there.
void WriteDataImage(const std::filesystem::path& directory, const DataImage& image);

// The files of a directory; a missing or wrongly sized file reads as zero.
DataImage ReadDataImage(const std::filesystem::path& directory);

}  // namespace ampelsim::fuzz
