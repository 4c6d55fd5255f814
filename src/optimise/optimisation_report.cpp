#include "optimise/optimisation_report.h"

#include <cstddef>

#include "data/text_format.h"

namespace ampelsim::optimise {
namespace {

std::string GroupsText(const std::vector<int>& groups) {
  std::string text;
  for (const int g : groups) {
    text += (text.empty() ? "G. " : ", ") + std::to_string(g + 1);
  }
  return text;
}

std::string TimingText(const StageTiming& timing) {
  std::string greens;
  for (const int green : timing.Greens) {
    greens += (greens.empty() ? "" : "/") + std::to_string(green);
  }
  return Format("Umlauf %3d s, Grün %s s", timing.Cycle, greens.c_str());
}

}  // namespace

std::vector<std::string> OptimisationLines(const OptimiseResult& result, int hour,
                                           const CycleRange& range, int runs,
                                           std::int64_t seconds) {
  const FixedTimePlan& plan = result.Plan;
  std::vector<std::string> lines;
  lines.push_back(Format("Festzeitoptimierung von P%d nach Webster, Verkehr von %02d bis %02d Uhr",
                         result.Program, hour, hour + 1));
  lines.push_back(result.StagesGiven
                      ? "Phasenfolge wie angegeben:"
                      : Format("Phasenfolge aus den Grünzeiten von P%d:", result.Program));
  for (std::size_t i = 0; i < plan.Stages.size(); ++i) {
    const StagePlan& stage = plan.Stages[i];
    const std::string critical =
        stage.CriticalGroup >= 0 && stage.FlowRatio > 0.0
            ? Format("y = %.3f (G. %d)", stage.FlowRatio, stage.CriticalGroup + 1)
            : std::string("y = 0 (kein Kfz-Strom)");
    lines.push_back(Format("  Phase %zu: %-24s %-20s Mindestgrün %2d s, Übergang %2d s", i + 1,
                           GroupsText(result.Input.Sequence.Stages[i]).c_str(), critical.c_str(),
                           stage.MinGreen, stage.Transition));
  }
  lines.push_back(Format("Summe der maßgebenden Belastungsverhältnisse Y = %.3f", plan.TotalRatio));
  lines.push_back(
      Format("Verlustzeit L = %.1f s (Übergänge, Anfahrverluste abzüglich genutzter "
             "Gelbzeit, Phasen ohne Kfz)",
             plan.LostTime));
  if (plan.WebsterCycle > 0.0) {
    lines.push_back(
        Format("Umlaufzeit C0 = (1,5 L + 5) / (1 - Y) = %.1f s -> %d s (Bereich %d-%d "
               "s, kürzester möglicher Umlauf %d s)",
               plan.WebsterCycle, plan.Timing.Cycle, range.Min, range.Max, plan.ShortestCycle));
  } else {
    lines.push_back(
        Format("Y >= 1: der Knoten ist überlastet, es gibt kein Optimum; Umlauf %d s "
               "(das Ende des Bereichs)",
               plan.Timing.Cycle));
  }
  lines.push_back("Nach Webster: " + TimingText(plan.Timing) +
                  " (Grün im Verhältnis der y, Mindestgrün eingehalten)");
  if (result.Refined) {
    const Refinement& refined = *result.Refined;
    lines.push_back(Format(
        "Verfeinerung durch Simulation: je Variante %d Läufe zu %lld s mit den "
        "Startwerten %llu bis %llu, %d Varianten simuliert",
        runs, static_cast<long long>(seconds), static_cast<unsigned long long>(result.FirstSeed),
        static_cast<unsigned long long>(result.FirstSeed + runs - 1), refined.Evaluated));
    for (std::size_t i = 0; i < refined.Steps.size(); ++i) {
      const RefinementStep& step = refined.Steps[i];
      lines.push_back(Format("  %-10s %s: mittlere Gesamtwartezeit %.0f s",
                             i == 0 ? "Webster" : Format("Schritt %zu", i).c_str(),
                             TimingText(step.Timing).c_str(), step.Delay));
    }
  } else {
    lines.push_back("Ohne Verfeinerung durch Simulation (--runs 0)");
  }
  lines.push_back(Format("Ergebnis als P%d: %s", result.Slot, TimingText(result.Timing).c_str()));
  return lines;
}

}  // namespace ampelsim::optimise
