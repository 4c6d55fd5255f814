#include "optimise/delay_evaluation.h"

#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

#include "app/generated_traffic.h"
#include "app/headless_simulation.h"
#include "app/scenario_script.h"
#include "data/data_file_reader.h"
#include "data/data_files.h"
#include "data/file_codecs.h"
#include "data/text_format.h"
#include "optimise/scratch_folder.h"
#include "traffic/traffic_file.h"

namespace ampelsim::optimise {
namespace {

namespace fs = std::filesystem;

struct RunOutcome {
  std::optional<std::string> Failure;
  double TotalDelay = 0.0;
};

LocalTime StartOfHour(int hour) {
  using namespace std::chrono;
  // A Monday; the program is chosen by its button, so the weekly plan does not matter.
  return LocalTime{local_days{year{2024} / January / 1}} + hours{hour};
}

RunOutcome RunOne(const fs::path& dataDirectory, const fs::path& store,
                  const EvaluationSettings& settings, std::uint64_t seed) {
  const Scenario script =
      ParseScenario(Format("0 program P%d\n1 press Start\n", settings.Slot)).Value();
  HeadlessSimulation run(dataDirectory.string(), StartOfHour(settings.Hour), store, script);
  // Only the queues count here: the lanes' capacity is not measured.
  GeneratedTraffic traffic(run.Sim(), settings.Traffic, seed, traffic::LaneCapacity::NotMeasured);
  run.RunTick();
  RunOutcome outcome;
  if (!run.Sim().Loader().DataValid()) {
    outcome.Failure = "Der geänderte Datensatz lässt sich nicht laden";
    return outcome;
  }
  if (auto refused = traffic::CheckTrafficForDataSet(settings.Traffic, run.Sim().Data())) {
    outcome.Failure = *refused;
    return outcome;
  }
  run.RunUntilTick(settings.Seconds * 10);
  const traffic::PeriodFigures whole = traffic.Statistics().Whole;
  const double seconds = whole.To - whole.From;
  for (const traffic::GroupFigures& group : whole.Groups) {
    outcome.TotalDelay += group.MeanQueue * seconds;
  }
  return outcome;
}

// The thirteen files of a candidate, plainly: the folder is thrown away
// after the runs, so the safe saver's read-back and syncing would only cost.
bool WriteScratchDataSet(const ControllerDataSet& data, const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) {
    return false;
  }
  for (const DataFileInfo& info : DataFiles) {
    const std::vector<std::uint8_t> bytes = EncodeDataFile(info.File, data);
    std::ofstream file(DataFilePath(folder.string(), info.Name), std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file.good()) {
      return false;
    }
  }
  return true;
}

}  // namespace

Result<std::vector<double>> MeanTotalDelays(const std::vector<ControllerDataSet>& candidates,
                                            const EvaluationSettings& settings) {
  if (settings.Runs < 1 || settings.Seconds < 1 || settings.Slot < 1 ||
      settings.Slot > ProgramCount) {
    return Error{"Bewertung: mindestens ein Lauf von mindestens einer Sekunde"};
  }
  ScratchFolder scratch("ampelsim-optimise-");
  if (scratch.Path().empty()) {
    return Error{"Bewertung: kein Platz für die Läufe im temporären Verzeichnis"};
  }
  std::vector<fs::path> folders;
  for (std::size_t c = 0; c < candidates.size(); ++c) {
    folders.push_back(scratch.Path() / ("Variante" + std::to_string(c)));
    if (!WriteScratchDataSet(candidates[c], folders.back())) {
      return Error{"Bewertung: " + folders.back().string() + " lässt sich nicht schreiben"};
    }
  }
  const auto runs = static_cast<std::size_t>(settings.Runs);
  const std::size_t jobs = candidates.size() * runs;
  std::vector<RunOutcome> outcomes(jobs);
  std::atomic<std::size_t> next{0};
  auto worker = [&] {
    for (std::size_t job = next++; job < jobs; job = next++) {
      if (settings.Stop.stop_requested()) {
        outcomes[job].Failure = "Abgebrochen";
        continue;
      }
      const fs::path store = scratch.Path() / ("Lauf" + std::to_string(job) + ".STO");
      try {
        outcomes[job] = RunOne(folders[job / runs], store, settings,
                               settings.FirstSeed + static_cast<std::uint64_t>(job % runs));
      } catch (const std::exception& e) {
        outcomes[job].Failure = std::string("Bewertungslauf abgebrochen: ") + e.what();
      }
    }
  };
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t threads = std::min<std::size_t>(
      settings.Threads > 0 ? static_cast<std::size_t>(settings.Threads) : cores, jobs);
  std::vector<std::thread> pool;
  try {
    for (std::size_t t = 1; t < threads; ++t) {
      pool.emplace_back(worker);
    }
  } catch (const std::system_error&) {
    // Fewer threads than wished: the jobs are shared among those that run.
  }
  worker();
  for (std::thread& thread : pool) {
    thread.join();
  }
  std::vector<double> means;
  for (std::size_t c = 0; c < candidates.size(); ++c) {
    double sum = 0.0;
    for (std::size_t k = 0; k < runs; ++k) {
      const RunOutcome& outcome = outcomes[c * runs + k];
      if (outcome.Failure) {
        return Error{*outcome.Failure};
      }
      sum += outcome.TotalDelay;
    }
    means.push_back(sum / static_cast<double>(runs));
  }
  return means;
}

}  // namespace ampelsim::optimise
