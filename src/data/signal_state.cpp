#include "data/signal_state.h"

#include <array>

namespace ampelsim {
namespace {

constexpr std::array<std::string_view, SignalStateCount> Cells = {
    " - ", " R ", " Gr", " RG", " Ge", " B ", " RD", " RB", " GD", " GB"};

constexpr std::array<std::string_view, SignalStateCount> Legends = {
    "-  Dunkel",         "R  Rot",           "Gr Gruen",        "RG Rot /  Gelb",
    "Ge Gelb",           "B  Gelb Blinken",  "RD Rot & Ge.Dau", "RB Rot & Ge.Bli",
    "GD Gruen & Ge.Dau", "GB Gruen & Ge.Bli"};

bool IsKnown(std::int32_t code) {
  return code >= 0 && code < SignalStateCount;
}

}  // namespace

std::string_view SignalStateCell(std::int32_t code) {
  return IsKnown(code) ? Cells[static_cast<std::size_t>(code)] : std::string_view{};
}

std::string_view SignalStateLegend(std::int32_t code) {
  return IsKnown(code) ? Legends[static_cast<std::size_t>(code)] : std::string_view{};
}

}  // namespace ampelsim
