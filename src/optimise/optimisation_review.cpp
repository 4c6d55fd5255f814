#include "optimise/optimisation_review.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "data/data_set_saver.h"
#include "data/text_format.h"
#include "edit/edit_model.h"
#include "optimise/optimisation_report.h"
#include "optimise/optimised_program_command.h"
#include "optimise/scratch_folder.h"

namespace ampelsim::optimise {
namespace {

LocalTime StartOfHour(int hour) {
  using namespace std::chrono;
  // The day of the refinement's runs, so that the comparison meets the same start.
  return LocalTime{local_days{year{2024} / January / 1}} + hours{hour};
}

}  // namespace

Result<OptimisationReview> ReviewOptimisation(const ControllerDataSet& data,
                                              const traffic::TrafficDescription& traffic,
                                              OptimiseRequest request,
                                              const ReviewProgressObserver& observer) {
  if (observer) {
    request.Progress = [&observer](const Refinement& sofar) {
      const RefinementStep& best = sofar.Steps.back();
      observer(ReviewProgress{false, sofar.Evaluated, best.Delay, best.Timing});
    };
  }
  auto optimised = OptimiseFixedTime(data, traffic, request);
  if (!optimised) {
    return optimised.Failure();
  }
  OptimisationReview review;
  review.Optimised = std::move(optimised.Value());
  const OptimiseResult& result = review.Optimised;
  review.Lines =
      OptimisationLines(result, request.Hour, request.Range, request.Runs, request.Seconds);

  // The findings as the editor will show them once the step is taken.
  edit::EditModel trial(std::make_unique<ControllerDataSet>(data));
  const auto step = trial.Execute(PutOptimisedProgram(result.Data, result.Program, result.Slot));
  if (!step) {
    return step.Failure();
  }
  review.Findings = CountFindings(trial.Findings());

  if (request.Stop.stop_requested()) {
    return Error{"Abgebrochen"};
  }
  if (observer) {
    observer(ReviewProgress{true, 0, 0.0, result.Timing});
  }
  ScratchFolder scratch("ampelsim-review-");
  if (scratch.Path().empty()) {
    return Error{"Kein Platz für den Vergleich im temporären Verzeichnis"};
  }
  const auto before = SaveDataSet(data, scratch.Path() / "vorher");
  const auto after = SaveDataSet(trial.Data(), scratch.Path() / "nachher");
  if (!before || !after) {
    return Error{"Kein Platz für den Vergleich im temporären Verzeichnis"};
  }
  ComparisonSettings& settings = review.Comparison;
  settings.Programs = {
      {result.Program, before->Directory.string(), Format("vorher P%d", result.Program)},
      {result.Slot, after->Directory.string(), Format("nachher P%d", result.Slot)}};
  settings.Seconds = 3600;
  settings.Runs = std::max(request.Runs, 4);
  settings.FirstSeed = result.FirstSeed;
  settings.Start = StartOfHour(request.Hour);
  settings.Threads = request.Threads;
  settings.Stop = request.Stop;
  const auto compared = ComparePrograms(traffic, settings);
  if (!compared) {
    return compared.Failure();
  }
  for (const std::vector<ComparisonRun>& runs : compared->Runs) {
    for (const ComparisonRun& run : runs) {
      if (!run.Loaded) {
        return Error{"Der Datensatz lässt sich für den Vergleich nicht laden"};
      }
      if (run.Refused) {
        return Error{*run.Refused};
      }
    }
  }
  review.ComparisonTable = ComparisonLines(traffic, settings, *compared);
  review.WaitBefore = JunctionMeanWait(*compared, 0);
  review.WaitAfter = JunctionMeanWait(*compared, 1);
  return review;
}

}  // namespace ampelsim::optimise
