#pragma once

#include <string_view>

#include "engine/fault_record.h"
#include "reports/report_document.h"

namespace ampelsim {

// The cause of a fault as the protocol names it; empty for a kind without a text.
std::string_view FaultCauseText(std::int32_t kind);

// "Stoerprotokoll": one block per stored fault, oldest first. No data when the
// first slot of the store is empty.
ReportStatus PrintFaultProtocol(ReportDocument& report, const ReportContext& context);

}  // namespace ampelsim
