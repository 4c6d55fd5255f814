#include "verify/verification_report.h"

#include <algorithm>
#include <array>

#include "data/report_spelling.h"
#include "data/text_format.h"

namespace ampelsim {
namespace {

// Width of the sentence column; longer sentences go on at the next line.
constexpr std::size_t TextWidth = 62;

std::vector<std::string> Wrapped(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t space = text.find(' ', pos);
    const std::string word =
        text.substr(pos, space == std::string::npos ? std::string::npos : space - pos);
    pos = space == std::string::npos ? text.size() : space + 1;
    if (!line.empty() && line.size() + 1 + word.size() > TextWidth) {
      lines.push_back(line);
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  if (!line.empty()) {
    lines.push_back(line);
  }
  return lines;
}

std::string GroupsText(const std::vector<int>& groups) {
  std::string text;
  for (std::size_t i = 0; i < groups.size() && i < 3; ++i) {
    text += Format(i == 0 ? "%02d" : "-%02d", groups[i]);
  }
  return text;
}

}  // namespace

std::vector<std::string> FindingReportLines(std::span<const Finding> findings) {
  std::vector<std::string> lines;
  const FindingCounts counts = CountFindings(findings);
  lines.push_back(Format("        Fehler    : %d", counts.Errors));
  lines.push_back(Format("        Warnungen : %d", counts.Warnings));
  lines.push_back(Format("        Hinweise  : %d", counts.Notes));
  lines.emplace_back();
  if (findings.empty()) {
    lines.emplace_back("        Keine Befunde: alle Pruefungen ohne Beanstandung.");
    return lines;
  }
  lines.emplace_back("        Nr. Art     Prog. Sek. Gruppen   Pruefung / Lage");
  lines.push_back("        " + std::string(70, '-'));
  int number = 0;
  for (const Finding& finding : findings) {
    std::string head =
        Format("        %03d %-7s ", ++number, std::string(SeverityText(finding.Level)).c_str());
    head += finding.Program > 0 ? Format("P%d    ", finding.Program) : std::string("      ");
    head += finding.Second >= 0 ? Format("%03d  ", finding.Second) : std::string("     ");
    const std::string groups = GroupsText(finding.Groups);
    head += groups + std::string(groups.size() < 10 ? 10 - groups.size() : 1, ' ');
    head += ReportSpelling(InfoOf(finding.Kind).Title) + " / " +
            ReportSpelling(InfoOf(finding.Where).Title);
    lines.push_back(head);
    // "G. 3" stays on one line.
    std::string text = ReportSpelling(finding.Text);
    for (std::size_t at = text.find("G. "); at != std::string::npos; at = text.find("G. ", at)) {
      text[at + 2] = '\x01';
    }
    for (std::string line : Wrapped(text)) {
      std::replace(line.begin(), line.end(), '\x01', ' ');
      lines.push_back("            " + line);
    }
  }
  return lines;
}

}  // namespace ampelsim
