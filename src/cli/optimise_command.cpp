#include "cli/optimise_command.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <regex>

#include "cli/compare_command.h"
#include "cli/data_commands.h"
#include "cli/traffic_output.h"
#include "cli/verify_command.h"
#include "data/data_set_saver.h"
#include "data/text_format.h"
#include "edit/edit_model.h"
#include "optimise/fixed_time_optimiser.h"
#include "optimise/optimisation_report.h"
#include "optimise/optimised_program_command.h"
#include "optimise/scratch_folder.h"

namespace ampelsim::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* Command = "ampelsim-cli optimise: ";

std::optional<optimise::CycleRange> ParseCycleRange(const std::string& text) {
  static const std::regex range(R"(\s*(\d{1,3})\s*-\s*(\d{1,3})\s*)");
  std::smatch match;
  if (!std::regex_match(text, match, range)) {
    return std::nullopt;
  }
  optimise::CycleRange cycle{std::stoi(match[1]), std::stoi(match[2])};
  if (cycle.Min < 1 || cycle.Max < cycle.Min || cycle.Max > 255) {
    return std::nullopt;
  }
  return cycle;
}

}  // namespace

int RunOptimise(const OptimiseOptions& options, std::ostream& out, std::ostream& err) {
  const auto range = ParseCycleRange(options.Cycle);
  if (!range) {
    err << Command << "--cycle erwartet einen Bereich in Sekunden wie 60-120 (1 bis 255), nicht \""
        << options.Cycle << "\"\n";
    return ExitUsage;
  }
  if (options.Hour < 0 || options.Hour > 23 || options.Runs < 0 || options.Runs > 100 ||
      options.Jobs < 0) {
    err << Command << "--hour wählt die Stunde 0 bis 23, --runs 0 bis 100\n";
    return ExitUsage;
  }
  auto model = edit::EditModel::Open(options.Directory);
  if (!model) {
    err << Command << model.Failure().Message << '\n';
    return ExitNotLoadable;
  }
  const auto traffic = LoadTrafficFile("optimise", options.TrafficPath, err);
  if (!traffic) {
    return ExitUsage;
  }
  optimise::OptimiseRequest request;
  request.Program = options.Program;
  request.Into = options.Into;
  request.Stages = options.Stages;
  request.Hour = options.Hour;
  request.Range = *range;
  request.Runs = options.Runs;
  request.Seed = options.Seed;
  request.Threads = options.Jobs;
  const auto result = optimise::OptimiseFixedTime(model->Data(), *traffic, request);
  if (!result) {
    err << Command << result.Failure().Message << '\n';
    return ExitUsage;
  }
  for (const std::string& line :
       optimise::OptimisationLines(*result, options.Hour, *range, options.Runs)) {
    out << line << '\n';
  }
  const auto step =
      model->Execute(optimise::PutOptimisedProgram(result->Data, result->Program, result->Slot));
  if (!step) {
    err << Command << step.Failure().Message << '\n';
    return ExitFailed;
  }
  out << "\nPrüfung des Datensatzes mit P" << result->Slot << ":\n";
  if (PrintFindings(model->Findings(), false, out) != ExitOk) {
    err << Command << "das Ergebnis hat Fehler und wird nicht gespeichert\n";
    return ExitFailed;
  }

  optimise::ScratchFolder scratch("ampelsim-optimised-");
  fs::path before = options.Directory;
  fs::path after;
  if (options.OutDirectory) {
    std::error_code ignored;
    const bool replacesDirectory =
        fs::equivalent(*options.OutDirectory, options.Directory, ignored);
    const auto saved = model->SaveAs(*options.OutDirectory);
    if (!saved) {
      err << Command << saved.Failure().Message << '\n';
      return ExitFailed;
    }
    after = saved->Directory;
    if (replacesDirectory && saved->Backup) {
      before = *saved->Backup;  // the data set as it was, kept by the safe saver
    }
    out << "\nGespeichert in " << after.string();
    if (saved->Backup) {
      out << ", vorige Fassung in " << saved->Backup->string();
    }
    out << '\n';
  } else {
    const auto saved = SaveDataSet(model->Data(), scratch.Path() / "Ergebnis");
    if (scratch.Path().empty() || !saved) {
      err << Command << "kein Platz für den Vergleich im temporären Verzeichnis\n";
      return ExitFailed;
    }
    after = saved->Directory;
    out << "\nNicht gespeichert (--out DIR2 schreibt den Datensatz mit P" << result->Slot << ")\n";
  }

  out << "\nVorher und nachher mit demselben Verkehr:\n";
  CompareOptions compare;
  compare.Directory = options.Directory;
  compare.TrafficPath = options.TrafficPath;
  compare.Programs = {result->Program, result->Slot};
  compare.Directories = {before.string(), after.string()};
  compare.Labels = {Format("vorher P%d", result->Program), Format("nachher P%d", result->Slot)};
  compare.Seconds = 3600;
  compare.Runs = std::max(options.Runs, 4);
  compare.Seed = result->FirstSeed;
  compare.Now = Format("2024-01-01 %02d:00:00", options.Hour);
  compare.Jobs = options.Jobs;
  return RunCompare(compare, out, err);
}

}  // namespace ampelsim::cli
