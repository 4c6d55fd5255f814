#include <CLI/CLI.hpp>
#include <iostream>
#include <string>

#include "cli/chart_command.h"
#include "cli/compare_command.h"
#include "cli/data_commands.h"
#include "cli/edit_command.h"
#include "cli/intergreen_command.h"
#include "cli/new_command.h"
#include "cli/optimise_command.h"
#include "cli/report_command.h"
#include "cli/run_command.h"
#include "cli/sumo_commands.h"
#include "cli/test_command.h"
#include "cli/verify_command.h"

int main(int argc, char** argv) {
  using namespace ampelsim::cli;

  CLI::App app{"ampelsim-cli: the traffic-signal controller simulator without windows"};
  app.require_subcommand(1);
  int exitCode = ExitOk;

  std::string directory;
  auto* check = app.add_subcommand("check", "Load a data directory and print the load log");
  check->add_option("DIR", directory, "data directory")->required();
  check->callback([&] { exitCode = RunCheck(directory, std::cout); });

  auto* dump = app.add_subcommand("dump", "Print the data set of a directory as JSON");
  dump->add_option("DIR", directory, "data directory")->required();
  dump->callback([&] { exitCode = RunDump(directory, std::cout, std::cerr); });

  ReportOptions reportOptions;
  std::string nowText;
  auto* report = app.add_subcommand("report", "Print a report of a data directory");
  report->add_option("NAME", reportOptions.Name, "report: " + ReportNameList())->required();
  report->add_option("DIR", reportOptions.Directory, "data directory")->required();
  auto* now =
      report->add_option("--now", nowText, "date and time of the head, \"YYYY-MM-DD HH:MM:SS\"");
  report->add_option("--store", reportOptions.StorePath, "fault store file")->capture_default_str();
  report->callback([&] {
    if (now->count() > 0) {
      reportOptions.Now = nowText;
    }
    exitCode = RunReport(reportOptions, std::cout, std::cerr);
  });

  RunOptions runOptions;
  std::string runNow;
  std::string scriptPath;
  auto* run = app.add_subcommand("run", "Run the controller on a data directory, headless");
  run->add_option("DIR", runOptions.Directory, "data directory")->required();
  run->add_option("--seconds", runOptions.Seconds, "simulated seconds to run (at most 315360000)")
      ->capture_default_str();
  auto* script = run->add_option("--script", scriptPath, "scenario script");
  auto* runStart = run->add_option("--now", runNow, "start of the clock, \"YYYY-MM-DD HH:MM:SS\"");
  run->add_option("--report", runOptions.Reports, "report printed after the run (repeatable)");
  std::string chartPath;
  std::int64_t chartFrom = 0;
  std::int64_t chartTo = 0;
  auto* runChart =
      run->add_option("--chart", chartPath, "actual chart of the run (.png, .svg, .pdf)");
  auto* runChartFrom = run->add_option("--chart-from", chartFrom, "first second of the chart");
  auto* runChartTo = run->add_option("--chart-to", chartTo, "second at which the chart ends");
  std::string trafficPath;
  std::uint64_t seed = 0;
  std::string statsPath;
  auto* runTraffic = run->add_option("--traffic", trafficPath,
                                     "generated traffic from this file (docs/traffic.md); "
                                     "without --script the run presses Start at 1 s");
  auto* runSeed = run->add_option("--seed", seed, "seed of the traffic instead of the file's");
  auto* runStats =
      run->add_option("--stats", statsPath, "statistics of the traffic to this .json or .csv");
  run->add_option("--runs", runOptions.Runs,
                  "runs of the traffic with seeds S..S+K-1; the first prints as one run, "
                  "then the spread of all")
      ->capture_default_str();
  run->add_option("--jobs", runOptions.Jobs, "runs at the same time (0: one per core)")
      ->capture_default_str();
  run->callback([&] {
    if (runTraffic->count() > 0) {
      runOptions.TrafficPath = trafficPath;
    }
    if (runSeed->count() > 0) {
      runOptions.Seed = seed;
    }
    if (runStats->count() > 0) {
      runOptions.StatsPath = statsPath;
    }
    if (runChart->count() > 0) {
      runOptions.ChartPath = chartPath;
    }
    if (runChartFrom->count() > 0) {
      runOptions.ChartFrom = chartFrom;
    }
    if (runChartTo->count() > 0) {
      runOptions.ChartTo = chartTo;
    }
    if (script->count() > 0) {
      runOptions.ScriptPath = scriptPath;
    }
    if (runStart->count() > 0) {
      runOptions.Now = runNow;
    }
    exitCode = RunSimulation(runOptions, std::cout, std::cerr);
  });

  CompareOptions compareOptions;
  std::uint64_t compareSeed = 0;
  std::string compareNow;
  auto* compare = app.add_subcommand(
      "compare", "Run signal programs with the same generated traffic and compare them");
  compare->add_option("DIR", compareOptions.Directory, "data directory")->required();
  compare->add_option("--traffic", compareOptions.TrafficPath, "traffic file (docs/traffic.md)")
      ->required();
  compare->add_option("--programs", compareOptions.Programs, "programs to compare, e.g. 1,2")
      ->delimiter(',')
      ->required();
  compare
      ->add_option("--seconds", compareOptions.Seconds,
                   "simulated seconds of each run (at most 315360000)")
      ->capture_default_str();
  compare->add_option("--runs", compareOptions.Runs, "runs of each program, seeds S..S+K-1")
      ->capture_default_str();
  auto* compareSeedOption =
      compare->add_option("--seed", compareSeed, "first seed instead of the file's");
  auto* compareStart =
      compare->add_option("--now", compareNow, "start of the clock, \"YYYY-MM-DD HH:MM:SS\"");
  compare->add_option("--jobs", compareOptions.Jobs, "runs at the same time (0: one per core)")
      ->capture_default_str();
  compare->callback([&] {
    if (compareSeedOption->count() > 0) {
      compareOptions.Seed = compareSeed;
    }
    if (compareStart->count() > 0) {
      compareOptions.Now = compareNow;
    }
    exitCode = RunCompare(compareOptions, std::cout, std::cerr);
  });

  OptimiseOptions optimiseOptions;
  int optimiseInto = 0;
  std::string optimiseStages;
  std::uint64_t optimiseSeed = 0;
  std::string optimiseOut;
  auto* optimise = app.add_subcommand(
      "optimise",
      "Optimise a fixed-time program for one hour's traffic (Webster, then simulation)");
  optimise->add_option("DIR", optimiseOptions.Directory, "data directory")->required();
  optimise->add_option("--traffic", optimiseOptions.TrafficPath, "traffic file (docs/traffic.md)")
      ->required();
  optimise->add_option("--program", optimiseOptions.Program, "program whose stages are optimised")
      ->required();
  optimise->add_option("--hour", optimiseOptions.Hour, "hour of the flows, 0..23")->required();
  optimise->add_option("--cycle", optimiseOptions.Cycle, "range of the cycle time, seconds")
      ->capture_default_str();
  auto* optimiseIntoOption =
      optimise->add_option("--into", optimiseInto, "program slot of the result (default: free)");
  auto* optimiseStagesOption = optimise->add_option(
      "--stages", optimiseStages, "stages by group numbers, e.g. 1,2,8,9/2,5/3,4,6,7");
  optimise->add_option("--runs", optimiseOptions.Runs, "seeds of the refinement, 0: none")
      ->capture_default_str();
  auto* optimiseSeedOption =
      optimise->add_option("--seed", optimiseSeed, "first seed instead of the file's");
  optimise->add_option("--jobs", optimiseOptions.Jobs, "runs at the same time (0: one per core)")
      ->capture_default_str();
  auto* optimiseOutOption =
      optimise->add_option("--out", optimiseOut, "save the data set with the result here");
  optimise->callback([&] {
    if (optimiseIntoOption->count() > 0) {
      optimiseOptions.Into = optimiseInto;
    }
    if (optimiseStagesOption->count() > 0) {
      optimiseOptions.Stages = optimiseStages;
    }
    if (optimiseSeedOption->count() > 0) {
      optimiseOptions.Seed = optimiseSeed;
    }
    if (optimiseOutOption->count() > 0) {
      optimiseOptions.OutDirectory = optimiseOut;
    }
    exitCode = RunOptimise(optimiseOptions, std::cout, std::cerr);
  });

  ChartOptions chartOptions;
  auto* chart = app.add_subcommand("chart", "Write the planned signal timing chart of a program");
  chart->add_option("DIR", chartOptions.Directory, "data directory")->required();
  chart->add_option("--program", chartOptions.Program, "program 1 to 6")->required();
  chart->add_option("--kind", chartOptions.Kind, "chart: " + ChartKindList())
      ->capture_default_str();
  chart->add_option("--out", chartOptions.OutPath, "file to write: .png, .svg or .pdf")->required();
  chart->callback([&] { exitCode = RunChart(chartOptions, std::cerr); });

  bool verifyJson = false;
  auto* verify = app.add_subcommand("verify", "Check the signal plans of a data directory");
  verify->add_option("DIR", directory, "data directory")->required();
  verify->add_flag("--json", verifyJson, "the findings as JSON");
  GeometrySource verifyGeometry;
  verify->add_option("--geometry", verifyGeometry.GeometryPath,
                     "also hold the intergreens against this geometry file");
  verify->add_option("--sumo-net", verifyGeometry.NetPath,
                     "also hold the intergreens against this SUMO network (with --map)");
  verify->add_option("--map", verifyGeometry.MapPath, "SUMO mapping of the network's links");
  verify->callback(
      [&] { exitCode = RunVerify(directory, verifyJson, std::cout, std::cerr, verifyGeometry); });

  IntergreenOptions intergreenOptions;
  auto* intergreen = app.add_subcommand(
      "intergreen", "Intergreens the junction's geometry requires, next to the data set's");
  intergreen->add_option("DIR", intergreenOptions.Directory, "data directory")->required();
  intergreen->add_option("--geometry", intergreenOptions.Source.GeometryPath,
                         "geometry file (docs/intergreen.md)");
  intergreen->add_option("--sumo-net", intergreenOptions.Source.NetPath,
                         "SUMO network (.net.xml) to derive the geometry from");
  intergreen->add_option("--map", intergreenOptions.Source.MapPath,
                         "SUMO mapping of the network's links to the groups");
  intergreen->add_option("--program", intergreenOptions.Program, "program whose matrix is shown")
      ->capture_default_str();
  intergreen->add_flag("--json", intergreenOptions.Json, "the calculation as JSON");
  intergreen->callback([&] {
    if (!intergreenOptions.Source.Given()) {
      std::cerr << "ampelsim-cli intergreen: --geometry oder --sumo-net mit --map angeben\n";
      exitCode = ExitUsage;
      return;
    }
    exitCode = RunIntergreen(intergreenOptions, std::cout, std::cerr);
  });

  TestOptions testOptions;
  std::string testData;
  std::string junitPath;
  auto* test = app.add_subcommand("test", "Run scenario scripts and check their expectations");
  test->add_option("FILE", testOptions.Files, "scenario scripts")->required();
  auto* testDataOption = test->add_option("--data", testData, "data directory of every script");
  auto* junitOption = test->add_option("--junit", junitPath, "write the results as JUnit XML");
  test->add_option("--now", testOptions.Now, "start of the clock, \"YYYY-MM-DD HH:MM:SS\"")
      ->capture_default_str();
  test->callback([&] {
    if (testDataOption->count() > 0) {
      testOptions.DataDirectory = testData;
    }
    if (junitOption->count() > 0) {
      testOptions.JUnitPath = junitPath;
    }
    exitCode = RunTests(testOptions, std::cout, std::cerr);
  });

  std::string jsonPath;
  std::string outputDirectory;
  auto* build = app.add_subcommand("build", "Write the thirteen data files from JSON");
  build->add_option("FILE", jsonPath, "JSON data set, - for standard input")->required();
  build->add_option("OUTDIR", outputDirectory, "directory to write")->required();
  build->callback([&] { exitCode = RunBuild(jsonPath, outputDirectory, std::cerr); });

  EditOptions editOptions;
  std::string patchPath;
  std::string editOut;
  auto* edit = app.add_subcommand(
      "edit", "Change a data directory by a JSON Patch and shortcuts, verify it, save it safely");
  edit->add_option("DIR", editOptions.Directory, "data directory")->required();
  auto* editPatch =
      edit->add_option("--patch", patchPath, "JSON Patch on the dump JSON, - for standard input");
  edit->add_option("--set", editOptions.Changes.Sets,
                   "e.g. P2.G3.Gruen1=12-40, P2.G3.Gelb=3, P1.EZP=0 (docs/editing.md)");
  edit->add_option("--cycle", editOptions.Changes.Cycles, "cycle time, e.g. P2=80");
  edit->add_option("--intergreen", editOptions.Changes.Intergreens,
                   "intergreen from clearing to entering group, e.g. P1:1:3=6");
  auto* editOutOption =
      edit->add_option("--out", editOut, "save here instead of DIR (DIR stays as it is)");
  edit->add_flag("--force", editOptions.Force, "save even with Fehler");
  edit->callback([&] {
    if (editPatch->count() > 0) {
      editOptions.PatchPath = patchPath;
    }
    if (editOutOption->count() > 0) {
      editOptions.OutDirectory = editOut;
    }
    exitCode = RunEdit(editOptions, std::cout, std::cerr);
  });
  std::string specPath;
  std::string newDirectory;
  auto* newJunction =
      app.add_subcommand("new", "Write a new junction's data files from its stages (JSON spec)");
  newJunction->add_option("SPEC", specPath, "junction description (docs/new-junction.md)")
      ->required();
  newJunction->add_option("OUTDIR", newDirectory, "directory to write")->required();
  newJunction->callback([&] { exitCode = RunNew(specPath, newDirectory, std::cout, std::cerr); });

  AddSumoCommands(app, exitCode);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::cerr << "ampelsim-cli: " << e.what() << "\n"
              << "Run with --help for usage.\n";
    return ExitUsage;
  }
  return exitCode;
}
