#include <string_view>

#include "check.h"
#include "harness.h"
#include "planning/junction_generator.h"
#include "planning/junction_spec.h"
#include "verify/plan_verifier.h"

namespace ampelsim::fuzz {

void FuzzJunctionSpec(std::span<const std::uint8_t> input) {
  const std::string_view text(reinterpret_cast<const char*>(input.data()), input.size());
  const planning::JunctionSpecResult spec = planning::ParseJunctionSpec(text);
  if (!spec) {
    Require(!spec.Failure().Message.empty(), "a refused spec says why");
    return;
  }
  const planning::JunctionPlanResult plan = planning::GenerateJunction(*spec);
  if (!plan) {
    Require(!plan.Failure().Message.empty(), "a refused plan says why");
    return;
  }
  // The generator's promise: what it writes verifies without Fehler.
  for (const Finding& finding : VerifyDataSet(*plan->Data)) {
    Require(finding.Level != Severity::Fehler, "a generated junction verifies without Fehler");
  }
  (void)planning::AssumedValues(*spec);
}

}  // namespace ampelsim::fuzz
