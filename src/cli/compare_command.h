#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace ampelsim::cli {

struct CompareOptions {
  std::string Directory;
  std::string TrafficPath;
  std::vector<int> Programs;  // 1..6
  std::int64_t Seconds = 3600;
  int Runs = 8;
  std::optional<std::uint64_t> Seed;  // first seed; absent: the file's
  std::optional<std::string> Now;     // "YYYY-MM-DD HH:MM:SS"; absent: the local clock
  int Jobs = 0;                       // parallel runs; 0: one per core
  std::string StorePath = "DATEN.STO";
  // Per program, the data directory it runs from and the heading of its
  // column; left empty, every program runs from Directory under "P<n>".
  std::vector<std::string> Directories;
  std::vector<std::string> Labels;
};

// Runs the controller with generated traffic once per program and seed, as
// a user would: the program button pressed, then "Start" at 1 s. Run k of
// every program uses seed first + k, so the programs meet the same traffic.
// The runs go in parallel, each in a directory of its own with a copy of
// the fault store, and the mean and spread of each group's figures are
// printed side by side.
int RunCompare(const CompareOptions& options, std::ostream& out, std::ostream& err);

}  // namespace ampelsim::cli
