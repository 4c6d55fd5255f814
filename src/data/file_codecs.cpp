#include "data/file_codecs.h"

#include <algorithm>

#include "data/byte_reader.h"
#include "data/byte_writer.h"
#include "data/record_fields.h"

namespace ampelsim {
namespace {

// Adapters that let one transfer description read or write a file.
class Decoder {
 public:
  explicit Decoder(std::span<const std::uint8_t> bytes) : reader_(bytes) {}
  void Int32(const char*, std::int32_t& value) { value = reader_.ReadInt32(); }
  void UInt16(const char*, std::uint16_t& value) { value = reader_.ReadUInt16(); }
  void Byte(const char*, std::uint8_t& value) { value = reader_.ReadByte(); }
  void Text(const char*, Text32& text) { reader_.ReadText32(text); }
  template <std::size_t N>
  void Int32s(const char* name, std::array<std::int32_t, N>& values) {
    for (auto& value : values) {
      Int32(name, value);
    }
  }
  template <std::size_t N>
  void Bytes(const char*, std::array<std::uint8_t, N>& values) {
    reader_.ReadBytes(values);
  }

 private:
  ByteReader reader_;
};

class Encoder {
 public:
  void Int32(const char*, const std::int32_t& value) { writer_.WriteInt32(value); }
  void UInt16(const char*, const std::uint16_t& value) { writer_.WriteUInt16(value); }
  void Byte(const char*, const std::uint8_t& value) { writer_.WriteByte(value); }
  void Text(const char*, const Text32& text) { writer_.WriteText32(text); }
  template <std::size_t N>
  void Int32s(const char* name, const std::array<std::int32_t, N>& values) {
    for (const auto& value : values) {
      Int32(name, value);
    }
  }
  template <std::size_t N>
  void Bytes(const char*, const std::array<std::uint8_t, N>& values) {
    writer_.WriteBytes(values);
  }
  std::vector<std::uint8_t> Take() { return writer_.Take(); }

 private:
  ByteWriter writer_;
};

// Each Transfer function lists one file's fields in file order. DataSet is
// ControllerDataSet for decoding and const ControllerDataSet for encoding.

template <class IO, class Programs>
void TransferSwitchPrograms(IO& io, Programs& programs) {
  for (auto& program : programs) {
    for (auto& step : program) {
      VisitFields(step, io);
    }
  }
}

template <class IO, class Matrix>
void TransferByteMatrix(IO& io, Matrix& matrix) {
  for (auto& row : matrix) {
    io.Bytes("", row);
  }
}

template <class IO, class DataSet>
void TransferFile(DataFile file, IO& io, DataSet& d) {
  switch (file) {
    case DataFile::All:
      VisitFields(d.GeneralData, io);
      break;
    case DataFile::Aus1:
      TransferSwitchPrograms(io, d.PlannedOffPrograms);
      break;
    case DataFile::Aus2:
      TransferSwitchPrograms(io, d.FaultOffPrograms);
      break;
    case DataFile::Ein:
      TransferSwitchPrograms(io, d.SwitchOnPrograms);
      break;
    case DataFile::Prog:
      for (auto& program : d.SignalPrograms) {
        VisitFields(program, io);
      }
      break;
    case DataFile::Sch:
      for (auto& point : d.SwitchingPoints) {
        for (auto& weekday : point) {
          for (auto& minute : weekday) {
            io.UInt16("", minute);
          }
        }
      }
      break;
    case DataFile::Zwi:
      for (std::size_t p = 0; p < ProgramCount; ++p) {
        TransferByteMatrix(io, d.GreenGreenLocks[p]);
        for (auto& row : d.IntergreenTimes[p]) {
          io.Int32s("", row);
        }
      }
      break;
    case DataFile::Kopf:
      io.Int32s("", d.HeadNumbers);
      break;
    case DataFile::Mit:
      for (auto& program : d.DemandInputMap) {
        TransferByteMatrix(io, program.Map);
        io.Int32s("", program.MemoryTime);
      }
      break;
    case DataFile::Gsp:
      for (auto& changePoint : d.ChangePoints) {
        io.Int32s("", changePoint);
      }
      io.Bytes("", d.ChangeOnDemandOnly);
      break;
    case DataFile::Melder:
      TransferByteMatrix(io, d.DetectorPrestore);
      break;
    case DataFile::Pw:
      TransferByteMatrix(io, d.ChangeRequestByDetector);
      TransferByteMatrix(io, d.ChangeCancelByDetector);
      io.Int32s("", d.ChangeTargetProgram);
      io.Int32s("", d.ChangeCancelSecond);
      io.Int32s("", d.ChangeReserved);
      io.Int32s("", d.ChangeReleaseSeconds);
      break;
    case DataFile::GrMinTab:
      for (auto& row : d.MinGreenTimes) {
        io.Int32s("", row);
      }
      break;
  }
}

// True if any entry of a group matrix is not zero.
template <class Matrix>
bool AnyNonZero(const Matrix& matrix) {
  return std::ranges::any_of(matrix, [](const auto& row) {
    return std::ranges::any_of(row, [](auto value) { return value != 0; });
  });
}

}  // namespace

bool DecodeDataFile(DataFile file, std::span<const std::uint8_t> bytes, ControllerDataSet& data,
                    MatrixFallback fallback) {
  if (bytes.size() != InfoOf(file).Size) {
    return false;
  }
  Decoder decoder(bytes);
  TransferFile(file, decoder, data);
  if (file == DataFile::Zwi && fallback == MatrixFallback::Apply) {
    ApplyMatrixFallback(data);
  }
  return true;
}

std::vector<std::uint8_t> EncodeDataFile(DataFile file, const ControllerDataSet& data) {
  Encoder encoder;
  TransferFile(file, encoder, data);
  return encoder.Take();
}

void ApplyMatrixFallback(ControllerDataSet& data) {
  // Program 1 never changes here, so checking after the whole file is decoded
  // gives the same result as checking each program right after its block.
  for (std::size_t p = 1; p < ProgramCount; ++p) {
    if (data.GeneralData.ProgramReleased[p] == 0) {
      continue;
    }
    if (!AnyNonZero(data.IntergreenTimes[p])) {
      data.IntergreenTimes[p] = data.IntergreenTimes[0];
    }
    if (!AnyNonZero(data.GreenGreenLocks[p])) {
      data.GreenGreenLocks[p] = data.GreenGreenLocks[0];
    }
  }
}

}  // namespace ampelsim
