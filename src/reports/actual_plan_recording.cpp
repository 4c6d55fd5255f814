#include "reports/actual_plan_recording.h"

#include <fstream>

#include "reports/planned_phase_plan.h"

namespace ampelsim {
namespace {

constexpr std::string_view IstTitle = "I        Ist Phasenplan      I";
constexpr int RingSize = 9;
constexpr std::chrono::seconds StampStep{2};

// Writes `text` to `temporary`, stamps it and renames it to `target`.
void WriteStamped(const std::filesystem::path& temporary, const std::filesystem::path& target,
                  std::string_view text, std::chrono::system_clock::time_point stamp) {
  std::error_code error;
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (!file.is_open()) {
      return;
    }
    std::filesystem::remove(target, error);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  const auto fileTime = std::chrono::file_clock::from_sys(stamp);
  std::filesystem::last_write_time(temporary, fileTime, error);
  std::filesystem::rename(temporary, target, error);
}

// The head as it stands in "D0.ist": the report lines without their margin.
std::string WithoutMargin(std::string_view reportText) {
  std::string out;
  std::size_t pos = 0;
  while (pos < reportText.size()) {
    std::size_t end = reportText.find('\n', pos);
    if (end == std::string_view::npos) {
      end = reportText.size();
    }
    std::string_view line = reportText.substr(pos, end - pos);
    if (line.substr(0, ReportMargin.size()) == ReportMargin) {
      line.remove_prefix(ReportMargin.size());
    }
    out.append(line);
    out.push_back('\n');
    pos = end + 1;
  }
  return out;
}

}  // namespace

std::string ActualPlanFileName(int number) {
  return "D" + std::to_string(number) + ".ist";
}

void ActualPlanRecorder::StartActualPhasePlan(ReportDocument& report, const ReportContext& context,
                                              std::int32_t program,
                                              std::chrono::system_clock::time_point start) {
  const int index = program >= 1 && program <= ProgramCount ? program - 1 : 0;
  istRecordingActive_ = true;
  std::error_code error;
  for (int number = 0; number <= RingSize; ++number) {
    std::filesystem::remove(directory_ / ActualPlanFileName(number), error);
  }
  istFileStamp_ = start;
  istFileNumber_ = 0;

  // Every line of the head also goes into the head file.
  const std::size_t headBegin = report.ReportText().size();
  report.ReportHead(IstTitle, context.Time);
  report.AddEmptyLines(1);
  report.DataSetHeader(context.Data, context.DataDirectory);
  ProgramSummary(report, context.Data, index, true);
  report.AddEmptyLines(1);
  GroupFlagRows(report, context.Data, index, true);
  const std::string_view head = std::string_view(report.ReportText()).substr(headBegin);
  WriteStamped(directory_ / "DK.ist", directory_ / ActualPlanFileName(0), WithoutMargin(head),
               istFileStamp_);
}

void ActualPlanRecorder::RecordLine(std::string_view fileLine) {
  if (!istRecordingActive_) {
    return;
  }
  istFileStamp_ += StampStep;
  istFileNumber_ = istFileNumber_ % RingSize + 1;
  WriteStamped(directory_ / "DZ.ist", directory_ / ActualPlanFileName(istFileNumber_), fileLine,
               istFileStamp_);
}

}  // namespace ampelsim
