#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace ampelsim::cli {

struct OptimiseOptions {
  std::string Directory;
  std::string TrafficPath;
  int Program = 0;
  int Hour = -1;
  std::string Cycle = "60-120";       // the range of the cycle time, seconds
  std::optional<int> Into;            // absent: the first free program slot
  std::optional<std::string> Stages;  // absent: from the program's greens
  int Runs = 4;                       // 0: Webster's plan without refinement
  std::optional<std::uint64_t> Seed;
  int Jobs = 0;
  std::optional<std::string> OutDirectory;
};

// Optimises a fixed-time program for the traffic of one hour (Webster's
// cycle and split, then the refinement by simulation), writes the result
// into its program slot through the edit model, verifies it, saves it to
// --out (never to DIR unless --out names it) and compares the program
// before and after with the same generated traffic. Exit 0 done; 1 with
// Fehler in the result or when saving failed; 2 for wrong options or input.
int RunOptimise(const OptimiseOptions& options, std::ostream& out, std::ostream& err);

}  // namespace ampelsim::cli
