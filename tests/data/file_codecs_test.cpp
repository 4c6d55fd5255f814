#include "data/file_codecs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/byte_reader.h"
#include "test_support/test_files.h"

namespace ampelsim {
namespace {

using test::Bytes;
using enum DataFile;

std::size_t SizeOf(DataFile file) {
  return InfoOf(file).Size;
}

// A zero-filled file with the given bytes placed at an offset.
Bytes FileWith(DataFile file, std::size_t offset, const Bytes& placed) {
  Bytes bytes(SizeOf(file), 0);
  std::copy(placed.begin(), placed.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
  return bytes;
}

std::unique_ptr<ControllerDataSet> Decoded(DataFile file, const Bytes& bytes) {
  auto data = std::make_unique<ControllerDataSet>();
  EXPECT_TRUE(DecodeDataFile(file, bytes, *data));
  return data;
}

// One field of one file: the bytes at an offset and the value they give.
struct FieldCase {
  DataFile File;
  std::size_t Offset;
  Bytes Placed;
  std::int64_t (*Field)(const ControllerDataSet&);
  std::int64_t Expected;
};

void PrintTo(const FieldCase& c, std::ostream* os) {
  *os << InfoOf(c.File).Name << " at " << c.Offset;
}

class FieldOffsetTest : public testing::TestWithParam<FieldCase> {};

TEST_P(FieldOffsetTest, DecodesTheBytesAtTheirOffset) {
  const FieldCase& c = GetParam();
  const auto data = Decoded(c.File, FileWith(c.File, c.Offset, c.Placed));
  EXPECT_EQ(c.Field(*data), c.Expected);
}

// The value of one field of a data set.
#define FIELD(field) [](const ControllerDataSet& d) -> std::int64_t { return d.field; }

// Offsets are written out by hand from the file layouts.
INSTANTIATE_TEST_SUITE_P(
    Layouts, FieldOffsetTest,
    testing::Values(
        // ALL.DAT
        FieldCase{All, 0, {0x18, 0, 0, 0}, FIELD(GeneralData.GroupCount), 24},
        FieldCase{All, 103, {0xC8}, FIELD(GeneralData.ModeSimulatable), 200},
        FieldCase{All, 104, {0xFF, 0xFF, 0xFF, 0xFF}, FIELD(GeneralData.Demand1MissLimit), -1},
        FieldCase{
            All, 108, {0x00, 0x00, 0x00, 0x80}, FIELD(GeneralData.Demand2MissLimit), -2147483648LL},
        FieldCase{All, 112, {1}, FIELD(GeneralData.SecondQueryPoints), 1},
        FieldCase{All, 113, {7}, FIELD(GeneralData.ProgramReleased[0]), 7},
        FieldCase{All, 118, {9}, FIELD(GeneralData.ProgramReleased[5]), 9},
        FieldCase{
            All, 119, {0x01, 0x02, 0x03, 0x04}, FIELD(GeneralData.EmergencyProgram), 0x04030201},
        // PROG.DAT, record of 2915 bytes
        FieldCase{Prog, 0, {0xFE, 0xFF, 0xFF, 0xFF}, FIELD(SignalPrograms[0].SpareValue), -2},
        FieldCase{Prog, 32, {33}, FIELD(SignalPrograms[0].ChangePoint1), 33},
        FieldCase{Prog, 38, {1}, FIELD(SignalPrograms[0].ForcedCycle), 1},
        FieldCase{Prog,
                  39,
                  {0x78, 0x56, 0x34, 0x12},
                  FIELD(SignalPrograms[0].ForcedCycleInterval),
                  0x12345678},
        FieldCase{Prog, 55, {55}, FIELD(SignalPrograms[0].DemandDelay2), 55},
        FieldCase{Prog, 151, {0x2C, 0x01}, FIELD(SignalPrograms[0].GreenBegin1[23]), 300},
        FieldCase{Prog, 155, {12}, FIELD(SignalPrograms[0].GreenBegin2[0]), 12},
        FieldCase{Prog, 1787, {1}, FIELD(SignalPrograms[0].StandbyFlash[0]), 1},
        FieldCase{Prog, 1885, {1}, FIELD(SignalPrograms[0].FlashWithoutDemand[2]), 1},
        FieldCase{Prog, 2867, {3}, FIELD(SignalPrograms[0].ExtendBeyond[0]), 3},
        FieldCase{Prog, 2919, {90}, FIELD(SignalPrograms[1].CycleTime), 90},
        FieldCase{Prog, 3 * 2915 + 2771 + 20, {17}, FIELD(SignalPrograms[3].TargetPoint2[5]), 17},
        FieldCase{Prog, 17466, {1}, FIELD(SignalPrograms[5].WaitSignal[0]), 1},
        FieldCase{Prog, 17489, {0xAB}, FIELD(SignalPrograms[5].WaitSignal[23]), 0xAB},
        // Switch programs: record ((p - 1) * 3 + (s - 1)) * 76
        FieldCase{Ein, 380, {0xF6, 0xFF, 0xFF, 0xFF}, FIELD(SwitchOnPrograms[1][2].Duration), -10},
        FieldCase{Ein, 384, {1}, FIELD(SwitchOnPrograms[1][2].Red[0]), 1},
        FieldCase{Aus1, 408, {2}, FIELD(PlannedOffPrograms[1][2].Yellow[0]), 2},
        FieldCase{Aus2, 432, {3}, FIELD(FaultOffPrograms[1][2].Green[0]), 3},
        FieldCase{Aus1, 76, {5}, FIELD(PlannedOffPrograms[0][1].Duration), 5},
        FieldCase{Aus2, 1367, {4}, FIELD(FaultOffPrograms[5][2].Green[23]), 4},
        // SCH.DAT: ((k * 7 + d) * 8 + t) * 2, switching point k + 1
        FieldCase{Sch, 140, {0x9F, 0x05}, FIELD(SwitchingPoints[1][1][6]), 1439},
        FieldCase{Sch, 0, {0xFF, 0xFF}, FIELD(SwitchingPoints[0][0][0]), 65535},
        FieldCase{Sch, 1118, {0x00, 0x80}, FIELD(SwitchingPoints[9][6][7]), 32768},
        // ZWI.DAT: block p * 2880, locks a * 24 + b, intergreen 576 + (e * 24 + c) * 4
        FieldCase{Zwi, 2 * 2880 + 4 * 24 + 7, {1}, FIELD(GreenGreenLocks[2][4][7]), 1},
        FieldCase{Zwi, 3972, {7}, FIELD(IntergreenTimes[1][5][9]), 7},
        FieldCase{Zwi, 17276, {0xFF, 0xFF, 0xFF, 0xFF}, FIELD(IntergreenTimes[5][23][23]), -1},
        // KOPF.DAT
        FieldCase{Kopf, 0, {0x39, 0x30}, FIELD(HeadNumbers[0]), 12345},
        FieldCase{Kopf, 92, {24}, FIELD(HeadNumbers[23]), 24},
        // MIT.DAT: block p * 672, map demanded * 24 + input, memory 576 + g * 4
        FieldCase{Mit, 725, {1}, FIELD(DemandInputMap[1].Map[2][5]), 1},
        FieldCase{Mit, 2632, {0x10, 0x27}, FIELD(DemandInputMap[3].MemoryTime[10]), 10000},
        // GSP.DAT
        FieldCase{Gsp, 32, {44}, FIELD(ChangePoints[1][2]), 44},
        FieldCase{Gsp, 116, {66}, FIELD(ChangePoints[4][5]), 66},
        FieldCase{Gsp, 120, {1}, FIELD(ChangeOnDemandOnly[0]), 1},
        FieldCase{Gsp, 125, {2}, FIELD(ChangeOnDemandOnly[5]), 2},
        // MELDER.DAT: g * 6 + p
        FieldCase{Melder, 13, {1}, FIELD(DetectorPrestore[2][1]), 1},
        FieldCase{Melder, 143, {5}, FIELD(DetectorPrestore[23][5]), 5},
        // PW.DAT
        FieldCase{Pw, 0, {1}, FIELD(ChangeRequestByDetector[0][0]), 1},
        FieldCase{Pw, 143, {2}, FIELD(ChangeRequestByDetector[23][5]), 2},
        FieldCase{Pw, 166, {3}, FIELD(ChangeCancelByDetector[3][4]), 3},
        FieldCase{Pw, 288, {4}, FIELD(ChangeTargetProgram[0]), 4},
        FieldCase{Pw, 316, {0x2C, 0x01}, FIELD(ChangeCancelSecond[1]), 300},
        FieldCase{Pw, 344, {0xFF, 0xFF, 0xFF, 0xFF}, FIELD(ChangeReserved[2]), -1},
        FieldCase{Pw, 380, {8}, FIELD(ChangeReleaseSeconds[5]), 8},
        // GRMINTAB.DAT: (g * 6 + p) * 4
        FieldCase{GrMinTab, 180, {6}, FIELD(MinGreenTimes[7][3]), 6},
        FieldCase{
            GrMinTab, 572, {0x00, 0x00, 0x00, 0x80}, FIELD(MinGreenTimes[23][5]), -2147483648LL}),
    [](const testing::TestParamInfo<FieldCase>& tpi) {
      std::string name(InfoOf(tpi.param.File).Name);
      name[name.find('.')] = '_';
      return name + "_at_" + std::to_string(tpi.param.Offset);
    });
#undef FIELD

Bytes TextField(std::uint8_t lengthByte, const std::string& text) {
  Bytes field(33, 0);
  field[0] = lengthByte;
  std::copy(text.begin(), text.end(), field.begin() + 1);
  return field;
}

TEST(TextFieldTest, TextEndsAtFirstZeroOrAfter32CharactersWhateverTheLengthByte) {
  const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdef";
  ASSERT_EQ(letters.size(), 32u);
  Bytes bytes(123, 0);
  const auto place = [&](std::size_t offset, const Bytes& field) {
    std::copy(field.begin(), field.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
  };
  place(4, TextField(5, "ABCDE"));
  place(37, TextField(0, letters));
  place(70, TextField(32, "Kreuzung"));
  bytes[103] = 0x5A;  // right behind the last text

  const auto data = Decoded(DataFile::All, bytes);
  EXPECT_EQ(data->GeneralData.SiteText1.Str(), "ABCDE");
  EXPECT_EQ(data->GeneralData.SiteText2.Str(), letters);
  EXPECT_EQ(data->GeneralData.ClientText.Str(), "Kreuzung");
  EXPECT_EQ(data->GeneralData.ModeSimulatable, 0x5A);
}

TEST(DecodeDataFileTest, RejectsEveryWrongSizeAndLeavesTheTablesAlone) {
  const auto before = test::RandomDataSet(7);
  for (const auto& info : DataFiles) {
    for (const std::size_t size : {std::size_t{0}, info.Size - 1, info.Size + 1, 2 * info.Size}) {
      SCOPED_TRACE(std::string(info.Name) + " of " + std::to_string(size) + " bytes");
      auto data = std::make_unique<ControllerDataSet>(*before);
      EXPECT_FALSE(DecodeDataFile(info.File, test::RandomBytes(size, 1), *data));
      EXPECT_TRUE(*data == *before);
    }
  }
}

TEST(FileCodecsTest, EncodeInvertsDecodeForRandomFiles) {
  for (const auto& info : DataFiles) {
    for (const std::uint32_t seed : {1u, 2u, 3u}) {
      SCOPED_TRACE(std::string(info.Name) + " seed " + std::to_string(seed));
      const Bytes bytes = test::RandomBytes(info.Size, seed);
      auto data = std::make_unique<ControllerDataSet>();
      ASSERT_TRUE(DecodeDataFile(info.File, bytes, *data));
      EXPECT_EQ(EncodeDataFile(info.File, *data), bytes);
    }
  }
}

TEST(FileCodecsTest, EncodedFilesHaveTheirExactSizes) {
  const std::vector<std::pair<DataFile, std::size_t>> sizes = {
      {DataFile::All, 123},     {DataFile::Aus1, 1368},  {DataFile::Aus2, 1368},
      {DataFile::Ein, 1368},    {DataFile::Prog, 17490}, {DataFile::Sch, 1120},
      {DataFile::Zwi, 17280},   {DataFile::Kopf, 96},    {DataFile::Mit, 4032},
      {DataFile::Gsp, 126},     {DataFile::Melder, 144}, {DataFile::Pw, 384},
      {DataFile::GrMinTab, 576}};
  const auto zero = std::make_unique<ControllerDataSet>();
  const auto random = test::RandomDataSet(3);
  for (const auto& [file, size] : sizes) {
    EXPECT_EQ(InfoOf(file).Size, size);
    EXPECT_EQ(EncodeDataFile(file, *zero).size(), size);
    EXPECT_EQ(EncodeDataFile(file, *random).size(), size);
  }
}

// ZWI.DAT with chosen blocks filled: a lock byte and an intergreen time.
struct ZwiCase {
  const char* Name;
  bool P1Filled;
  bool P3Released;
  bool P3OwnLocks;
  bool P3OwnIntergreen;
  bool P3LocksFromP1;
  bool P3IntergreenFromP1;
};

void PrintTo(const ZwiCase& c, std::ostream* os) {
  *os << c.Name;
}

class MatrixFallbackTest : public testing::TestWithParam<ZwiCase> {};

TEST_P(MatrixFallbackTest, ReleasedProgramWithEmptyMatrixTakesProgram1s) {
  const ZwiCase& c = GetParam();
  Bytes bytes(17280, 0);
  if (c.P1Filled) {
    bytes[0 * 24 + 1] = 1;              // P1: groups 1 and 2 locked
    bytes[576 + (1 * 24 + 0) * 4] = 5;  // P1: entering 2, clearing 1, 5 s
  }
  if (c.P3OwnLocks) {
    bytes[2 * 2880 + 2 * 24 + 3] = 1;  // P3: groups 3 and 4 locked
  }
  if (c.P3OwnIntergreen) {
    bytes[2 * 2880 + 576 + (3 * 24 + 2) * 4] = 9;  // P3: entering 4, clearing 3, 9 s
  }
  auto data = std::make_unique<ControllerDataSet>();
  data->GeneralData.ProgramReleased = {1, 0, static_cast<std::uint8_t>(c.P3Released ? 1 : 0),
                                       0, 0, 0};
  ASSERT_TRUE(DecodeDataFile(DataFile::Zwi, bytes, *data));

  const std::uint8_t lock12 = c.P3LocksFromP1 ? 1 : 0;
  const std::uint8_t lock34 = c.P3OwnLocks ? 1 : 0;
  const std::int32_t intergreen21 = c.P3IntergreenFromP1 ? 5 : 0;
  const std::int32_t intergreen43 = c.P3OwnIntergreen ? 9 : 0;
  EXPECT_EQ(data->GreenGreenLocks[2][0][1], lock12);
  EXPECT_EQ(data->GreenGreenLocks[2][2][3], lock34);
  EXPECT_EQ(data->IntergreenTimes[2][1][0], intergreen21);
  EXPECT_EQ(data->IntergreenTimes[2][3][2], intergreen43);
  // Program 2 is not released and stays empty; program 1 keeps its own.
  EXPECT_EQ(data->GreenGreenLocks[1][0][1], 0);
  EXPECT_EQ(data->IntergreenTimes[1][1][0], 0);
  EXPECT_EQ(data->GreenGreenLocks[0][0][1], c.P1Filled ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Zwi, MatrixFallbackTest,
    testing::Values(
        //     name                     P1     rel3   locks3 inter3 locksP1 interP1
        ZwiCase{"EmptyAndReleased", true, true, false, false, true, true},
        ZwiCase{"EmptyNotReleased", true, false, false, false, false, false},
        ZwiCase{"OnlyIntergreenEmpty", true, true, true, false, false, true},
        ZwiCase{"OnlyLocksEmpty", true, true, false, true, true, false},
        ZwiCase{"BothOwn", true, true, true, true, false, false},
        ZwiCase{"Program1Empty", false, true, false, false, false, false},
        ZwiCase{"Program1EmptyOwnKept", false, true, true, true, false, false}),
    [](const testing::TestParamInfo<ZwiCase>& tpi) { return std::string(tpi.param.Name); });

TEST(MatrixFallbackTest, KeepLeavesTheFilesMatrices) {
  Bytes bytes(17280, 0);
  bytes[1] = 1;
  auto data = std::make_unique<ControllerDataSet>();
  data->GeneralData.ProgramReleased = {1, 1, 1, 1, 1, 1};
  ASSERT_TRUE(DecodeDataFile(DataFile::Zwi, bytes, *data, MatrixFallback::Keep));
  EXPECT_EQ(data->GreenGreenLocks[2][0][1], 0);
  ApplyMatrixFallback(*data);
  EXPECT_EQ(data->GreenGreenLocks[2][0][1], 1);
}

TEST(ByteReaderTest, ReadsLittleEndianAndZerosPastTheEnd) {
  const Bytes bytes = {0x34, 0x12, 0xFF, 0xFF, 0xFF, 0x7F, 0x01};
  ByteReader reader(bytes);
  EXPECT_EQ(reader.ReadUInt16(), 0x1234);
  EXPECT_EQ(reader.ReadInt32(), 0x7FFFFFFF);
  EXPECT_FALSE(reader.Overran());
  EXPECT_EQ(reader.ReadInt32(), 1);  // one byte left, three missing
  EXPECT_TRUE(reader.Overran());
  EXPECT_EQ(reader.ReadByte(), 0);
}

}  // namespace
}  // namespace ampelsim
