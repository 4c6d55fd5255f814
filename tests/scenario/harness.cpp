#include "scenario/harness.h"

#include <cstdio>
#include <stdexcept>
#include <variant>

#include "app/scenario_script.h"
#include "reports/actual_plan_line.h"
#include "reports/fault_line.h"

namespace ampelsim::scenario_test {
namespace {

// The blank after a one-character code belongs to the code.
std::string PaddedCode(std::string_view code) {
  static constexpr std::string_view Codes[] = {"R", "Gr", "RG", "Ge", "B",
                                               "-", "RD", "RB", "GD", "GB"};
  for (std::string_view known : Codes) {
    if (code == known) {
      return code.size() == 1 ? std::string(code) + " " : std::string(code);
    }
  }
  throw std::invalid_argument("unknown state code \"" + std::string(code) + "\"");
}

void AppendInt32(test::Bytes& bytes, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) {
    bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
  }
}

void AppendText8(test::Bytes& bytes, std::string_view text) {
  if (text.size() != 8) {
    throw std::invalid_argument("stored texts have eight characters");
  }
  bytes.insert(bytes.end(), text.begin(), text.end());
}

}  // namespace

std::string PlanLine(int program, int timePoint, std::string_view groups) {
  char label[32];
  std::snprintf(label, sizeof label, " P%d %03d", program, timePoint);
  std::string line = label;
  int count = 0;
  std::size_t pos = 0;
  while (pos < groups.size()) {
    const std::size_t end = std::min(groups.find(' ', pos), groups.size());
    std::string_view token = groups.substr(pos, end - pos);
    pos = end + 1;
    if (token.empty()) {
      continue;
    }
    const bool marked = token.front() == '*';
    if (marked) {
      token.remove_prefix(1);
    }
    line += marked ? '*' : ' ';
    line += PaddedCode(token);
    ++count;
  }
  for (; count < MaxGroups; ++count) {
    line += " - ";
  }
  return line;
}

TimePoints& TimePoints::Run(int first, int count) {
  for (int i = 0; i < count; ++i) {
    list_.push_back((first + i) % cycleTime_);
  }
  return *this;
}

TimePoints& TimePoints::Stand(int timePoint, int count) {
  list_.insert(list_.end(), static_cast<std::size_t>(count), timePoint);
  return *this;
}

std::vector<std::string> ExpectedLines(int program, const std::vector<int>& timePoints,
                                       PlanTable plan) {
  std::vector<std::string> lines;
  for (const int timePoint : timePoints) {
    lines.push_back(PlanLine(program, timePoint, plan(timePoint)));
  }
  return lines;
}

std::string Marked(std::string_view codes, int group) {
  std::string marked;
  int current = 1;
  std::size_t pos = 0;
  while (pos < codes.size()) {
    const std::size_t end = std::min(codes.find(' ', pos), codes.size());
    const std::string_view token = codes.substr(pos, end - pos);
    pos = end + 1;
    if (token.empty()) {
      continue;
    }
    if (!marked.empty()) {
      marked += ' ';
    }
    if (current++ == group) {
      marked += '*';
    }
    marked += token;
  }
  return marked;
}

std::string FaultLine(std::string_view cause18, int program, int timePoint, int first, int second) {
  char tail[96];
  std::snprintf(tail, sizeof tail, "Prog.: %d Zeitpkt.: %03d Gruppe : %02d - %02d", program,
                timePoint, first, second);
  return "                Ursache   : " + std::string(cause18) + tail;
}

ScenarioHarness::ScenarioHarness(const ControllerDataSet& data, std::string_view script,
                                 std::string_view start) {
  auto parsed = ParseScenario(script);
  if (!parsed) {
    throw std::invalid_argument("script line " + std::to_string(parsed.Failure().Line) + ": " +
                                parsed.Failure().Message);
  }
  const auto moment = ParseLocalTime(start);
  if (!moment) {
    throw std::invalid_argument("start moment " + std::string(start));
  }
  const std::filesystem::path dataDir = dir_.Path() / "daten";
  std::filesystem::create_directory(dataDir);
  test::WriteDataSet(dataDir, data);
  storeFile_ = dir_.Path() / "DATEN.STO";

  run_ = std::make_unique<HeadlessSimulation>(dataDir.string(), *moment, storeFile_,
                                              std::move(parsed).Value());
  run_->PrintContinuousOutputs(
      Simulation::Listener{[this](const std::string& screenLine) {
                             std::string line = ActualPlanFileLine(screenLine);
                             if (line.empty() || line.back() != '\n') {
                               throw std::logic_error("a file line ends with a line feed");
                             }
                             line.pop_back();
                             planLines_.push_back(line);
                             planTicks_.push_back(run_->TicksRun());
                             output_.push_back(line);
                           },
                           [this](const FaultRecord& record) {
                             const std::string line = ComposeFaultLine(record);
                             faultLines_.push_back(line);
                             faultTicks_.push_back(run_->TicksRun());
                             output_.push_back(line);
                           }});
}

ScenarioHarness::~ScenarioHarness() = default;

void ScenarioHarness::RunUntilTick(std::int64_t tick) {
  run_->RunUntilTick(tick);
}

std::vector<std::string> ScenarioHarness::PlanLines(std::size_t first, std::size_t count) const {
  std::vector<std::string> lines;
  for (std::size_t i = first; i < first + count && i < planLines_.size(); ++i) {
    lines.push_back(planLines_[i]);
  }
  return lines;
}

const SignalHeadElement& ScenarioHarness::Head(int group) const {
  return Sim().Heads().at(static_cast<std::size_t>(group - 1));
}

test::Bytes StoreImage(const std::vector<ExpectedFault>& faults) {
  test::Bytes bytes;
  for (const ExpectedFault& fault : faults) {
    AppendInt32(bytes, fault.Kind);
    AppendInt32(bytes, fault.Program);
    AppendInt32(bytes, fault.TimePoint);
    AppendText8(bytes, fault.Date);
    AppendText8(bytes, fault.Time);
    AppendInt32(bytes, fault.First);
    AppendInt32(bytes, fault.Second);
  }
  bytes.resize(180, 0);
  return bytes;
}

}  // namespace ampelsim::scenario_test
