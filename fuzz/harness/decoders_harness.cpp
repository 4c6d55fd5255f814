#include <algorithm>
#include <memory>

#include "byte_cursor.h"
#include "check.h"
#include "data/file_codecs.h"
#include "engine/fault_record.h"
#include "harness.h"
#include "reports/fault_line.h"

namespace ampelsim::fuzz {
namespace {

constexpr std::uint8_t KeepBit = 0x80;      // decode without the matrix fallback
constexpr std::uint8_t ReleasedBit = 0x40;  // every program released beforehand

void FuzzDataFile(DataFile file, std::uint8_t selector, std::span<const std::uint8_t> bytes) {
  const DataFileInfo& info = InfoOf(file);
  auto data = std::make_unique<ControllerDataSet>();
  if ((selector & ReleasedBit) != 0) {
    data->GeneralData.ProgramReleased.fill(1);
  }
  const auto before = std::make_unique<ControllerDataSet>(*data);
  const bool keep = (selector & KeepBit) != 0;
  const bool decoded =
      DecodeDataFile(file, bytes, *data, keep ? MatrixFallback::Keep : MatrixFallback::Apply);
  Require(decoded == (bytes.size() == info.Size), "a decoder takes exactly its file's size");
  if (!decoded) {
    Require(*data == *before, "a rejected file leaves every table as it was");
    return;
  }
  const auto encoded = EncodeDataFile(file, *data);
  Require(encoded.size() == info.Size, "the encoder writes the file's exact size");
  if (keep || file != DataFile::Zwi) {
    Require(std::equal(encoded.begin(), encoded.end(), bytes.begin(), bytes.end()),
            "encoding a decoded file gives its bytes again");
  }
}

void FuzzFaultStore(std::span<const std::uint8_t> bytes) {
  const FaultStoreRecords records = DecodeFaultStore(bytes);
  for (const auto& record : records) {
    Require(FaultText(record.DateText).size() <= FaultTextLength, "a stored text has 8 bytes");
    Require(FaultText(record.TimeText).size() <= FaultTextLength, "a stored text has 8 bytes");
    if (!record.IsEmpty()) {
      Require(!ComposeFaultLine(record).empty(), "a stored fault has a line");
    }
  }
}

}  // namespace

void FuzzDecoders(std::span<const std::uint8_t> input) {
  ByteCursor cursor(input);
  const std::uint8_t selector = cursor.U8();
  const auto bytes = cursor.Rest();
  const std::size_t which = (selector & 0x3F) % (DataFiles.size() + 1);
  if (which == DataFiles.size()) {
    FuzzFaultStore(bytes);
  } else {
    FuzzDataFile(DataFiles[which].File, selector, bytes);
  }
}

}  // namespace ampelsim::fuzz
