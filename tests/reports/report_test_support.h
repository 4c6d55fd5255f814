#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "data/controller_data_set.h"
#include "engine/clock.h"
#include "reports/report_document.h"

namespace ampelsim::test {

// Expected texts are the report's lines without their margin; Text() adds the
// eight blanks and the line feed of every report line.
inline std::string Text(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) {
    text.append("        ").append(line).push_back('\n');
  }
  return text;
}

inline std::string Empty(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text.append("        \n");
  }
  return text;
}

// The head of a report built at 15.03.2024 09:41:27.
inline std::string Head(std::string_view title) {
  const std::string ruler =
      "        -----------------------------------------------------------------------";
  return Text({ruler,
               "        I       AMPELSIM  Lichtsignalanlagen-Simulation        Version: 2.10 I",
               ruler, "        I       Simulation      " + std::string(title) + " 15.03.24 09:41 I",
               ruler});
}

// The data-set block of SampleDataSet() from "/daten/k1".
inline std::string DataBlock() {
  return Text({"", "        Standort      : Kreuzung Hauptstr.", "                      : Nebenweg",
               "        Auftraggeber  : Stadt Musterstadt", "        Programmname  : /daten/k1",
               "        Benutzer      : 00"});
}

inline constexpr std::string_view NumberLine =
    "        01 02 03 04 05 06 07 08 09 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24";

inline LocalTime ReportMoment() {
  using namespace std::chrono;
  return LocalTime{local_days{year{2024} / March / 15}} + hours{9} + minutes{41} + seconds{27};
}

// A junction with its names filled in and every table zero.
inline std::unique_ptr<ControllerDataSet> SampleDataSet(int groupCount) {
  auto data = std::make_unique<ControllerDataSet>();
  data->GeneralData.GroupCount = groupCount;
  data->GeneralData.SiteText1 = Text32::FromString("Kreuzung Hauptstr.");
  data->GeneralData.SiteText2 = Text32::FromString("Nebenweg");
  data->GeneralData.ClientText = Text32::FromString("Stadt Musterstadt");
  return data;
}

// A document, a clock at the report moment and a context over a sample data set.
class ReportFixture {
 public:
  explicit ReportFixture(int groupCount = 4) : data_(SampleDataSet(groupCount)) {}

  ControllerDataSet& Data() { return *data_; }
  ReportContext Context(const FaultStoreRecords* store = nullptr) const {
    return ReportContext{*data_, clock_, "/daten/k1", store};
  }
  ReportDocument& Document() { return document_; }
  const std::string& Printed() const { return document_.ReportText(); }

 private:
  std::unique_ptr<ControllerDataSet> data_;
  VirtualClock clock_{ReportMoment()};
  ReportDocument document_;
};

}  // namespace ampelsim::test
