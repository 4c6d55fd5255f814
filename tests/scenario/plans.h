#pragma once

#include <array>
#include <string_view>

namespace ampelsim::scenario_test {

// What groups 1..3 show at each time point of the junction's programs, read
// off their green windows by hand (see junction.h).

// BaseJunction P1, cycle 20.
inline std::string_view P1At(int timePoint) {
  static constexpr std::array<std::string_view, 20> Plan = {
      "R R R",   "RG R R",  "Gr R R",  "Gr R Gr", "Gr R Gr",  // 0..4
      "Gr R Gr", "Gr R Gr", "Gr R Gr", "Gr R R",  "Gr R R",   // 5..9
      "Ge R R",  "Ge R R",  "Ge R R",  "R R R",   "R RG R",   // 10..14
      "R Gr R",  "R Gr R",  "R Gr R",  "R Ge R",  "R Ge R",   // 15..19
  };
  return Plan.at(static_cast<std::size_t>(timePoint));
}

// BaseJunction P2, cycle 30.
inline std::string_view P2At(int timePoint) {
  static constexpr std::array<std::string_view, 30> Plan = {
      "R R R",   "RG R R",  "Gr R R",  "Gr R Gr", "Gr R Gr",  // 0..4
      "Gr R Gr", "Gr R Gr", "Gr R Gr", "Gr R Gr", "Gr R Gr",  // 5..9
      "Gr R Gr", "Gr R Gr", "Gr R Gr", "Gr R Gr", "Gr R R",   // 10..14
      "Gr R R",  "Gr R R",  "Gr R R",  "Ge R R",  "Ge R R",   // 15..19
      "Ge R R",  "R R R",   "R R R",   "R RG R",  "R Gr R",   // 20..24
      "R Gr R",  "R Gr R",  "R Gr R",  "R Ge R",  "R Ge R",   // 25..29
  };
  return Plan.at(static_cast<std::size_t>(timePoint));
}

// ActuatedJunction P1, cycle 30.
inline std::string_view ActuatedAt(int timePoint) {
  static constexpr std::array<std::string_view, 30> Plan = {
      "R R Ge", "RG R R", "Gr R R", "Gr R R", "Gr R R",  // 0..4
      "Gr R R", "Gr R R", "Gr R R", "Gr R R", "Gr R R",  // 5..9
      "Ge R R", "Ge R R", "Ge R R", "R R R",  "R RG R",  // 10..14
      "R Gr R", "R Gr R", "R Gr R", "R Gr R", "R Gr R",  // 15..19
      "R Ge R", "R Ge R", "R Ge R", "R R R",  "R R RG",  // 20..24
      "R R Gr", "R R Gr", "R R Gr", "R R Ge", "R R Ge",  // 25..29
  };
  return Plan.at(static_cast<std::size_t>(timePoint));
}

// The switch-on program of P1 in the base and the actuated junction: 3 s, 0 s,
// 2 s. Lines 0..4 of a run started at 0.5 s.
inline constexpr std::array<std::string_view, 5> P1SwitchOn = {"Ge Ge -", "Ge Ge -", "Ge Ge -",
                                                               "R R R", "R R R"};
inline constexpr std::array<int, 5> P1SwitchOnTimePoints = {0, 1, 2, 0, 1};

}  // namespace ampelsim::scenario_test
