#include "data_image.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "byte_cursor.h"

namespace ampelsim::fuzz {
namespace {

constexpr std::size_t MaxSkip = 0xFFFF;
constexpr std::size_t MaxRun = 0xFF;

std::size_t TotalSize() {
  std::size_t total = 0;
  for (const auto& info : DataFiles) {
    total += info.Size;
  }
  return total;
}

std::vector<std::uint8_t> Concatenate(const DataImage& image) {
  std::vector<std::uint8_t> flat;
  flat.reserve(TotalSize());
  for (std::size_t f = 0; f < image.size(); ++f) {
    auto bytes = image[f];
    bytes.resize(DataFiles[f].Size, 0);
    flat.insert(flat.end(), bytes.begin(), bytes.end());
  }
  return flat;
}

DataImage Split(const std::vector<std::uint8_t>& flat) {
  DataImage image;
  std::size_t offset = 0;
  for (std::size_t f = 0; f < image.size(); ++f) {
    const auto begin = flat.begin() + static_cast<std::ptrdiff_t>(offset);
    image[f].assign(begin, begin + static_cast<std::ptrdiff_t>(DataFiles[f].Size));
    offset += DataFiles[f].Size;
  }
  return image;
}

// Whether the next few bytes are zero, so that a run may as well end here.
bool ZeroGapAhead(std::span<const std::uint8_t> flat, std::size_t at) {
  constexpr std::size_t gap = 4;
  for (std::size_t i = at; i < std::min(flat.size(), at + gap); ++i) {
    if (flat[i] != 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

DataImage ZeroImage() {
  DataImage image;
  for (std::size_t f = 0; f < image.size(); ++f) {
    image[f].assign(DataFiles[f].Size, 0);
  }
  return image;
}

std::vector<std::uint8_t> ReadSparseBytes(std::span<const std::uint8_t> runs, std::size_t size) {
  std::vector<std::uint8_t> bytes(size, 0);
  ByteCursor cursor(runs);
  std::size_t position = 0;
  while (!cursor.AtEnd()) {
    position += cursor.U16();
    for (const std::uint8_t byte : cursor.Take(cursor.U8())) {
      if (position < bytes.size()) {
        bytes[position] = byte;
      }
      ++position;
    }
  }
  return bytes;
}

std::vector<std::uint8_t> WriteSparseBytes(std::span<const std::uint8_t> flat) {
  std::vector<std::uint8_t> runs;
  std::size_t position = 0;
  while (true) {
    const auto next = std::find_if(flat.begin() + static_cast<std::ptrdiff_t>(position), flat.end(),
                                   [](std::uint8_t b) { return b != 0; });
    if (next == flat.end()) {
      break;
    }
    std::size_t skip = static_cast<std::size_t>(next - flat.begin()) - position;
    while (skip > MaxSkip) {  // an empty run only moves on
      runs.insert(runs.end(), {0xFF, 0xFF, 0});
      skip -= MaxSkip;
      position += MaxSkip;
    }
    position += skip;
    std::size_t length = 0;
    while (length < MaxRun && position + length < flat.size() &&
           !ZeroGapAhead(flat, position + length)) {
      ++length;
    }
    runs.push_back(static_cast<std::uint8_t>(skip & 0xFF));
    runs.push_back(static_cast<std::uint8_t>(skip >> 8));
    runs.push_back(static_cast<std::uint8_t>(length));
    runs.insert(runs.end(), flat.begin() + static_cast<std::ptrdiff_t>(position),
                flat.begin() + static_cast<std::ptrdiff_t>(position + length));
    position += length;
  }
  return runs;
}

DataImage ReadSparseImage(std::span<const std::uint8_t> runs) {
  return Split(ReadSparseBytes(runs, TotalSize()));
}

std::vector<std::uint8_t> WriteSparseImage(const DataImage& image) {
  return WriteSparseBytes(Concatenate(image));
}

void WriteDataImage(const std::filesystem::path& directory, const DataImage& image) {
  for (std::size_t f = 0; f < image.size(); ++f) {
    const auto path = directory / std::string(DataFiles[f].Name);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(image[f].data()),
               static_cast<std::streamsize>(image[f].size()));
    if (!file) {
      throw std::runtime_error("cannot write " + path.string());
    }
  }
}

DataImage ReadDataImage(const std::filesystem::path& directory) {
  DataImage image = ZeroImage();
  for (std::size_t f = 0; f < image.size(); ++f) {
    std::ifstream file(directory / std::string(DataFiles[f].Name), std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    if (bytes.size() == DataFiles[f].Size) {
      image[f] = std::move(bytes);
    }
  }
  return image;
}

}  // namespace ampelsim::fuzz
