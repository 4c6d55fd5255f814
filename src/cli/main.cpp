#include <CLI/CLI.hpp>
#include <iostream>
#include <string>

#include "cli/data_commands.h"

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

  std::string jsonPath;
  std::string outputDirectory;
  auto* build = app.add_subcommand("build", "Write the thirteen data files from JSON");
  build->add_option("FILE", jsonPath, "JSON data set, - for standard input")->required();
  build->add_option("OUTDIR", outputDirectory, "directory to write")->required();
  build->callback([&] { exitCode = RunBuild(jsonPath, outputDirectory, std::cerr); });

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::cerr << "ampelsim-cli: " << e.what() << "\n" << "Run with --help for usage.\n";
    return ExitUsage;
  }
  return exitCode;
}
