#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "reports/report_document.h"

namespace ampelsim {

// Records the actual phase plan in a ring of small text files: "D0.ist" holds
// the head, D1.ist..D9.ist one line each, the last nine seconds. Each file is
// written under a temporary name and renamed, and carries the start time plus
// two seconds per line, so ordering the files by time orders the lines. Every
// file error is passed over: a failing disk never stops the simulation.
class ActualPlanRecorder {
 public:
  explicit ActualPlanRecorder(std::filesystem::path directory) : directory_(std::move(directory)) {}

  // Starts a recording: deletes the files of an earlier one, puts the head of
  // the actual phase plan (for `program`; program 1 stands in for dark,
  // flashing and none) into the report and into "D0.ist", stamped `start`.
  void StartActualPhasePlan(ReportDocument& report, const ReportContext& context,
                            std::int32_t program, std::chrono::system_clock::time_point start);

  // Writes the next line file while a recording runs.
  void RecordLine(std::string_view fileLine);

  bool IsRecording() const { return istRecordingActive_; }
  const std::filesystem::path& Directory() const { return directory_; }

 private:
  std::filesystem::path directory_;
  bool istRecordingActive_ = false;
  std::chrono::system_clock::time_point istFileStamp_{};
  int istFileNumber_ = 0;
};

// The file name of ring entry n: "D" + n + ".ist".
std::string ActualPlanFileName(int number);

}  // namespace ampelsim
