#include "reports/fault_line.h"

#include <string_view>

#include "data/text_format.h"

namespace ampelsim {
namespace {

// The cause texts of the continuous line, padded to 18 characters.
std::string_view PaddedCauseText(std::int32_t kind) {
  switch (kind) {
    case RedLampDefective:
      return "Rot defekt        ";
    case HostileGreen:
      return "feindliches Gruen ";
    case GreenStatus:
      return "Status Gruen      ";
    case IntergreenViolation:
      return "Zwischenzeit      ";
    case YellowStatus:
      return "Status Gelb       ";
    case RedStatus:
      return "Status Rot        ";
    default:
      return {};
  }
}

}  // namespace

std::string ComposeFaultLine(const FaultRecord& record) {
  std::string line = "                Ursache   : ";
  line += PaddedCauseText(record.Kind);
  AppendFormat(line, "Prog.: %d Zeitpkt.: %03d Gruppe : %02d - %02d", record.Program,
               record.TimePoint, record.FirstGroup, record.SecondGroup);
  return line;
}

}  // namespace ampelsim
