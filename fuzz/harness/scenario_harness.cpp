#include <string_view>
#include <variant>

#include "app/scenario_script.h"
#include "check.h"
#include "engine/clock.h"
#include "harness.h"

namespace ampelsim::fuzz {
namespace {

int LineCount(std::string_view text) {
  int lines = 1;
  for (const char c : text) {
    lines += c == '\n' ? 1 : 0;
  }
  return lines;
}

void CheckEvents(const Scenario& scenario, int lines) {
  std::int64_t previous = 0;
  for (const auto& event : scenario.Events) {
    Require(event.Tick >= previous, "events come in the order they are due");
    Require(event.Line >= 1 && event.Line <= lines, "an event names a line of the script");
    previous = event.Tick;
    if (const auto* detector = std::get_if<scenario::Detector>(&event.Command)) {
      Require(detector->Group >= 0 && detector->Group < MaxGroups, "detector group in range");
    }
    if (const auto* lamp = std::get_if<scenario::ClickLamp>(&event.Command)) {
      Require(lamp->Group >= 0 && lamp->Group < MaxGroups, "lamp group in range");
    }
    if (const auto* expect = std::get_if<scenario::Expect>(&event.Command)) {
      const int most = expect->What == scenario::ExpectWhat::Fault ? MaxGroups : MaxGroups - 1;
      Require(expect->Group >= 0 && expect->Group <= most, "expected group in range");
      Require(static_cast<std::size_t>(expect->Lamp) < PanelLampCount, "expected lamp in range");
      Require(expect->Within >= 0, "expectation window not negative");
    }
  }
}

}  // namespace

void FuzzScenario(std::span<const std::uint8_t> input) {
  const std::string_view text(reinterpret_cast<const char*>(input.data()), input.size());
  const int lines = LineCount(text);
  const auto parsed = ParseScenario(text);
  if (!parsed) {
    const Error& error = parsed.Failure();
    Require(error.Line >= 1 && error.Line <= lines, "an error names a line of the script");
    Require(!error.Message.empty(), "an error gives its reason");
  } else {
    CheckEvents(parsed.Value(), lines);
  }
  // The same parser reads the --now option and the clock command.
  if (const auto moment = ParseLocalTime(text)) {
    Require(ShortDateText(*moment).size() == 8, "a parsed moment has an 8-character date");
    Require(LongTimeText(*moment).size() == 8, "a parsed moment has an 8-character time");
  }
}

}  // namespace ampelsim::fuzz
