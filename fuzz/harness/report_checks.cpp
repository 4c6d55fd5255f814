#include "report_checks.h"

#include "app/report_catalogue.h"
#include "check.h"
#include "data/windows1252.h"
#include "app/report_catalogue.h"

namespace ampelsim::fuzz {

void PrintEveryReport(const ReportContext& context) {
  for (const ReportEntry& entry : Reports()) {
    ReportDocument document;
    const ReportStatus status = entry.Print(document, context);
    const std::string& text = document.ReportText();
    if (status != ReportStatus::Printed) {
      Require(text.empty(), "a report without data adds nothing");
      continue;
    }
    Require(!text.empty() && text.back() == '\n', "every report line ends with a line feed");
    Require(!Windows1252ToUtf8(text).empty(), "a printed report converts to UTF-8");
  }
}

}  // namespace ampelsim::fuzz
