#include "cli/new_command.h"

#include <ostream>

#include "cli/data_commands.h"
#include "cli/verify_command.h"
#include "planning/junction_generator.h"
#include "planning/junction_spec.h"
#include "verify/plan_verifier.h"

namespace ampelsim::cli {

int RunNew(const std::string& specPath, const std::string& outputDirectory, std::ostream& out,
           std::ostream& err) {
  const planning::JunctionSpecResult spec = planning::ReadJunctionSpec(specPath);
  if (!spec) {
    err << "ampelsim-cli new: " << spec.Failure().Message << '\n';
    return ExitFailed;
  }
  const planning::JunctionPlanResult plan = planning::GenerateJunction(*spec);
  if (!plan) {
    err << "ampelsim-cli new: " << specPath << ": " << plan.Failure().Message << '\n';
    return ExitFailed;
  }
  const std::vector<std::string> assumed = planning::AssumedValues(*spec);
  if (!assumed.empty()) {
    out << "Angenommene Werte (Vorgaben nach Art, zu prüfen):\n";
    for (const std::string& line : assumed) {
      out << "  " << line << '\n';
    }
  }
  out << "P1: Umlaufzeit " << spec->CycleTime << " s (mindestens " << plan->MinimumCycle << " s)\n";
  for (const planning::StageTiming& stage : plan->Stages) {
    out << "  " << stage.Name << ": Grün s " << stage.GreenBegin << " bis " << stage.GreenEnd
        << '\n';
  }
  const int verified = PrintFindings(VerifyDataSet(*plan->Data), false, out);
  if (verified != ExitOk) {
    err << "ampelsim-cli new: der erzeugte Plan hat Fehler; " << outputDirectory
        << " wird nicht geschrieben\n";
    return verified;
  }
  if (!WriteDataSet(*plan->Data, outputDirectory, "new", err)) {
    return ExitFailed;
  }
  return ExitOk;
}

}  // namespace ampelsim::cli
