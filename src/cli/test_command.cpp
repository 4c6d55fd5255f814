#include "cli/test_command.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "app/expectation_checker.h"
#include "app/headless_simulation.h"
#include "app/scenario_script.h"
#include "cli/data_commands.h"
#include "cli/data_set_loading.h"
#include "cli/script_loading.h"

namespace ampelsim::cli {
namespace {

struct FileOutcome {
  std::string File;
  std::vector<ExpectationResult> Results;
  std::string Error;  // the data set could not be loaded
};

// The five characters XML reserves; the texts are ours and UTF-8.
std::string Escaped(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&apos;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

void WriteJUnit(std::ostream& xml, const std::vector<FileOutcome>& outcomes) {
  int tests = 0;
  int failures = 0;
  for (const FileOutcome& o : outcomes) {
    tests += static_cast<int>(o.Results.size()) + (o.Error.empty() ? 0 : 1);
    failures += o.Error.empty() ? 0 : 1;
    for (const auto& r : o.Results) {
      failures += r.Passed ? 0 : 1;
    }
  }
  xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  xml << "<testsuites name=\"ampelsim\" tests=\"" << tests << "\" failures=\"" << failures
      << "\">\n";
  for (const FileOutcome& o : outcomes) {
    int fileFailures = o.Error.empty() ? 0 : 1;
    for (const auto& r : o.Results) {
      fileFailures += r.Passed ? 0 : 1;
    }
    xml << "  <testsuite name=\"" << Escaped(o.File) << "\" tests=\""
        << o.Results.size() + (o.Error.empty() ? 0 : 1) << "\" failures=\"" << fileFailures
        << "\">\n";
    if (!o.Error.empty()) {
      xml << "    <testcase classname=\"" << Escaped(o.File) << "\" name=\"load\">\n"
          << "      <failure message=\"" << Escaped(o.Error) << "\"/>\n    </testcase>\n";
    }
    for (const auto& r : o.Results) {
      xml << "    <testcase classname=\"" << Escaped(o.File) << "\" name=\"line " << r.Line
          << ": expect " << Escaped(r.Expected) << "\"";
      if (r.Passed) {
        xml << "/>\n";
      } else {
        xml << ">\n      <failure message=\"expected " << Escaped(r.Expected) << ", actual "
            << Escaped(r.Actual) << "\"/>\n    </testcase>\n";
      }
    }
    xml << "  </testsuite>\n";
  }
  xml << "</testsuites>\n";
}

std::optional<std::string> FirstLoad(const Scenario& scenario) {
  for (const ScenarioEvent& event : scenario.Events) {
    if (const auto* load = std::get_if<scenario::LoadData>(&event.Command)) {
      return load->Directory;
    }
  }
  return std::nullopt;
}

}  // namespace

int RunTests(const TestOptions& options, std::ostream& out, std::ostream& err) {
  const auto start = ParseLocalTime(options.Now);
  if (!start) {
    err << "ampelsim-cli test: --now wants \"YYYY-MM-DD HH:MM:SS\", not \"" << options.Now
        << "\"\n";
    return ExitUsage;
  }
  // Every script is read and parsed before any runs.
  std::vector<std::pair<std::string, Scenario>> scripts;
  for (const std::string& file : options.Files) {
    std::optional<Scenario> read = LoadScriptOrReport("test", file, err);
    if (!read) {
      return ExitUsage;
    }
    Scenario scenario = std::move(*read);
    // --data stands for the data directory of every script, its load lines
    // included, so that one script runs on a copy of the junction anywhere.
    if (options.DataDirectory) {
      for (ScenarioEvent& event : scenario.Events) {
        if (auto* load = std::get_if<scenario::LoadData>(&event.Command)) {
          load->Directory = *options.DataDirectory;
        }
      }
    }
    if (!options.DataDirectory && !FirstLoad(scenario)) {
      err << "ampelsim-cli test: " << file
          << ": kein Datenverzeichnis (eine Zeile \"load\" oder --data)\n";
      return ExitUsage;
    }
    scripts.emplace_back(file, std::move(scenario));
  }

  // Each run's fault store goes to a directory of its own, never the
  // caller's DATEN.STO.
  std::string pattern = (std::filesystem::temp_directory_path() / "ampelsim-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    err << "ampelsim-cli test: ein temporäres Verzeichnis lässt sich nicht anlegen\n";
    return ExitFailed;
  }
  const std::filesystem::path scratch = pattern;
  std::error_code error;
  std::vector<FileOutcome> outcomes;
  int passed = 0;
  int failed = 0;
  for (auto& [file, scenario] : scripts) {
    FileOutcome outcome{file, {}, {}};
    const std::string directory =
        options.DataDirectory ? *options.DataDirectory : *FirstLoad(scenario);
    const auto store = scratch / "DATEN.STO";
    std::filesystem::remove(store, error);
    HeadlessSimulation run(directory, *start, store, scenario);
    ExpectationChecker checker(scenario, [&run] { return run.TicksRun(); });
    run.Sim().AddObserver(checker);
    const std::int64_t ticks = checker.TicksNeeded();
    for (std::int64_t tick = 0; tick < ticks; ++tick) {
      run.RunTick();
      if (tick == 0 && !run.Sim().Loader().DataValid()) {
        WriteLoadLog(run.Sim().Loader(), err);
        outcome.Error = "der Datensatz " + directory + " lässt sich nicht laden";
        break;
      }
    }
    run.Sim().RemoveObserver(checker);
    if (!outcome.Error.empty()) {
      out << file << ": " << outcome.Error << '\n';
      ++failed;
      outcomes.push_back(std::move(outcome));
      continue;
    }
    checker.Finish();
    for (const ExpectationResult& result : checker.Results()) {
      if (result.Passed) {
        ++passed;
      } else {
        ++failed;
        out << file << ":" << result.Line << ": expected " << result.Expected << ", actual "
            << result.Actual << '\n';
      }
    }
    outcome.Results = checker.Results();
    outcomes.push_back(std::move(outcome));
  }
  std::filesystem::remove_all(scratch, error);
  out << passed << " passed, " << failed << " failed\n";
  if (options.JUnitPath) {
    std::ofstream xml(*options.JUnitPath, std::ios::trunc);
    WriteJUnit(xml, outcomes);
    if (!xml) {
      err << "ampelsim-cli test: " << *options.JUnitPath << " lässt sich nicht schreiben\n";
      return ExitFailed;
    }
  }
  return failed == 0 ? ExitOk : ExitFailed;
}

}  // namespace ampelsim::cli
