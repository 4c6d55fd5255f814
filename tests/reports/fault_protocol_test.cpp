#include "reports/fault_protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reports/report_test_support.h"

namespace ampelsim {
namespace {

using test::DataBlock;
using test::Head;
using test::ReportFixture;
using test::Text;

// A DATEN.STO image written byte by byte: kind, program, time point, date and
// time texts, first and second group of each record.
struct StoredFault {
  std::uint32_t Kind, Program, TimePoint;
  std::string Date, Time;
  std::uint32_t First, Second;
};

std::vector<std::uint8_t> StoreImage(const std::vector<StoredFault>& faults) {
  std::vector<std::uint8_t> image;
  auto put = [&](std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
      image.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
  };
  auto text = [&](const std::string& value) {
    for (std::size_t i = 0; i < 8; ++i) {
      image.push_back(i < value.size() ? static_cast<std::uint8_t>(value[i]) : 0);
    }
  };
  for (const StoredFault& fault : faults) {
    put(fault.Kind);
    put(fault.Program);
    put(fault.TimePoint);
    text(fault.Date);
    text(fault.Time);
    put(fault.First);
    put(fault.Second);
  }
  image.resize(180, 0);
  return image;
}

const std::string ProtocolStart =
    Head("I       Stoerprotokoll       I") + Text({""}) + DataBlock() + Text({"", ""});

TEST(FaultProtocol, PrintsEveryStoredFaultOldestFirst) {
  ReportFixture f;
  const FaultStoreRecords store = DecodeFaultStore(StoreImage({
      {2, 2, 45, "15.03.24", "09:41:27", 3, 7},
      {1, 1, 7, "15.03.24", "09:42:59", 5, 0},
      {6, 8, 1234, "16.03.24", "23:05:00", 100, 0xFFFFFFFFu},
      // A cleared slot keeps its old values but counts as empty.
      {0, 4, 12, "01.01.24", "00:00:00", 9, 9},
      {7, 3, 0, "16.03.24", "23:06:01", 24, 0},
  }));
  EXPECT_EQ(PrintFaultProtocol(f.Document(), f.Context(&store)), ReportStatus::Printed);
  EXPECT_EQ(f.Printed(), ProtocolStart + Text({
                                             "        Ursache   : feindliches Gruen",
                                             "        Programm  : 2",
                                             "        Zeitpunkt : 045",
                                             "        Dat./Zeit : 15.03.24 09:41",
                                             "        Gruppe    : 03 - 07",
                                             "",
                                             "        Ursache   : Rot defekt",
                                             "        Programm  : 1",
                                             "        Zeitpunkt : 007",
                                             "        Dat./Zeit : 15.03.24 09:42",
                                             "        Gruppe    : 05 - 00",
                                             "",
                                             "        Ursache   : ",
                                             "        Programm  : 8",
                                             "        Zeitpunkt : 1234",
                                             "        Dat./Zeit : 16.03.24 23:05",
                                             "        Gruppe    : 100 - -1",
                                             "",
                                             "        Ursache   : Status Rot",
                                             "        Programm  : 3",
                                             "        Zeitpunkt : 000",
                                             "        Dat./Zeit : 16.03.24 23:06",
                                             "        Gruppe    : 24 - 00",
                                             "",
                                         }));
}

TEST(FaultProtocol, NamesTheCauseOfEachKind) {
  const std::vector<std::pair<std::int32_t, std::string>> causes = {{1, "Rot defekt"},
                                                                    {2, "feindliches Gruen"},
                                                                    {3, "Status Gruen"},
                                                                    {4, "Zwischenzeit"},
                                                                    {5, "Status Gelb"},
                                                                    {7, "Status Rot"},
                                                                    {0, ""},
                                                                    {6, ""},
                                                                    {8, ""},
                                                                    {-1, ""}};
  for (const auto& [kind, cause] : causes) {
    EXPECT_EQ(FaultCauseText(kind), cause) << kind;
  }
}

TEST(FaultProtocol, AnEmptyFirstSlotIsNoData) {
  ReportFixture f;
  f.Document().AddReportLine("before");
  // Only slot 0 decides, as the store always fills from the front.
  const FaultStoreRecords store =
      DecodeFaultStore(StoreImage({{0, 1, 2, "", "", 3, 0}, {1, 1, 5, "", "", 2, 0}}));
  EXPECT_EQ(PrintFaultProtocol(f.Document(), f.Context(&store)), ReportStatus::NoData);
  EXPECT_EQ(PrintFaultProtocol(f.Document(), f.Context(nullptr)), ReportStatus::NoData);
  EXPECT_EQ(f.Printed(), Text({"before"}));
}

TEST(FaultProtocol, DamagedTextsEndAtTheirFirstZeroByte) {
  ReportFixture f;
  const FaultStoreRecords store = DecodeFaultStore(StoreImage({{4, 2, 17, "1.3.", "9:4", 1, 2}}));
  PrintFaultProtocol(f.Document(), f.Context(&store));
  EXPECT_EQ(f.Printed(), ProtocolStart + Text({
                                             "        Ursache   : Zwischenzeit",
                                             "        Programm  : 2",
                                             "        Zeitpunkt : 017",
                                             "        Dat./Zeit : 1.3. 9:4",
                                             "        Gruppe    : 01 - 02",
                                             "",
                                         }));
}

}  // namespace
}  // namespace ampelsim
