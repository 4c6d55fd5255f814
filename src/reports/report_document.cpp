#include "reports/report_document.h"

#include <algorithm>

#include "data/text_format.h"

namespace ampelsim {
namespace {

constexpr std::string_view RuledLine =
    "        -----------------------------------------------------------------------";

}  // namespace

void ReportDocument::AddReportLine(std::string_view line) {
  reportText_.append(ReportMargin);
  reportText_.append(line);
  reportText_.push_back('\n');
}

void ReportDocument::AddEmptyLines(int count) {
  for (int i = 0; i < count; ++i) {
    AddReportLine({});
  }
}

void ReportDocument::ReportHead(std::string_view title, const Clock& clock) {
  AddReportLine(RuledLine);

  std::string company = "        I       ";
  company.append(CompanyLine);
  company.append("        ");
  company.append(VersionText);
  company.append(" I");
  AddReportLine(company);

  AddReportLine(RuledLine);

  // Hours and minutes only: the first five characters of the time text.
  const std::string time = clock.SimulatedTimeText();
  std::string identification = "        I       Simulation      ";
  identification.append(title);
  identification.push_back(' ');
  identification.append(clock.SimulatedDateText());
  identification.push_back(' ');
  identification.append(time, 0, 5);
  identification.append(" I");
  AddReportLine(identification);

  AddReportLine(RuledLine);
}

void ReportDocument::DataSetHeader(const ControllerDataSet& data, std::string_view dataDirectory) {
  const GeneralDataRecord& general = data.GeneralData;
  AddReportLine({});
  AddReportLine("        Standort      : " + general.SiteText1.Str());
  AddReportLine("                      : " + general.SiteText2.Str());
  AddReportLine("        Auftraggeber  : " + general.ClientText.Str());
  std::string program = "        Programmname  : ";
  program.append(dataDirectory);
  AddReportLine(program);
  AddReportLine("        Benutzer      : 00");
}

void ReportDocument::PrintGroupNumberLine() {
  std::string line = "       ";
  for (int group = 1; group <= MaxGroups; ++group) {
    AppendFormat(line, " %02d", group);
  }
  AddReportLine(line);
}

void ReportDocument::ReportSeparator() {
  AddEmptyLines(3);
}

bool HasData(std::span<const std::byte> table) {
  return std::any_of(table.begin(), table.end(), [](std::byte b) { return b != std::byte{0}; });
}

}  // namespace ampelsim
