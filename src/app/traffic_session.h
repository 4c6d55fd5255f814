#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/generated_traffic.h"

namespace ampelsim {

class Simulation;

// The generated traffic of the desktop program: at most one traffic file at
// a time, attached to the running simulation. Loading a file replaces the
// traffic before it (its figures start again); a refused file changes
// nothing. Switching off keeps the figures until the next file.
class TrafficSession {
 public:
  explicit TrafficSession(Simulation& simulation) : simulation_(simulation) {}
  TrafficSession(const TrafficSession&) = delete;
  TrafficSession& operator=(const TrafficSession&) = delete;

  // Reads and checks the file against the data set in use and, if it is
  // sound, lets its traffic arrive from the next tick on. Returns the German
  // message of a refusal.
  std::optional<std::string> Load(const std::filesystem::path& file);

  // After another data set was loaded: a traffic file naming groups the new
  // set does not use is let go (its buttons released), and the German reason
  // is returned. A fitting file keeps running.
  std::optional<std::string> CheckAgainstLoadedDataSet();

  bool Loaded() const { return traffic_ != nullptr; }
  const std::filesystem::path& File() const { return file_; }
  void SetGenerating(bool on);
  bool Generating() const { return traffic_ != nullptr && traffic_->Generating(); }
  // The traffic while a file is loaded, else null.
  const GeneratedTraffic* Traffic() const { return traffic_.get(); }

 private:
  Simulation& simulation_;
  std::filesystem::path file_;
  std::unique_ptr<GeneratedTraffic> traffic_;
};

}  // namespace ampelsim
