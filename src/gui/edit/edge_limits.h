#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data/controller_data_set.h"
#include "edit/green_commands.h"

namespace ampelsim::ui {

// Why a green should keep to or keep out of a stretch of the cycle.
enum class LimitKind {
  MinimumGreen,  // the green must last as long as the stretch
  Intergreen,    // the green must not reach into the stretch
};

// A stretch [Begin, End) of the cycle, wrapping over its end when Begin > End.
struct LimitBand {
  int Begin = 0;
  int End = 0;
  LimitKind Kind = LimitKind::MinimumGreen;
  std::string Text;  // UTF-8, e.g. "Zwischenzeit G. 2 → G. 1: 5 s"

  bool Contains(int second) const;
  // Whether a green from `begin` to `end` breaks the band.
  bool ViolatedBy(int begin, int end, int cycle) const;
};

// Where green `window` (1 or 2) of `group` in `program` (all 1-based) may
// not be while one of its edges is dragged: for every group it needs an
// intergreen with, that group's green together with the intergreen after it
// (the group clears) or before it (the group enters). With an edge in hand
// also the minimum green, measured from the other edge.
std::vector<LimitBand> EdgeLimits(const ControllerDataSet& data, int program, int group, int window,
                                  std::optional<edit::GreenEdge> edge);

}  // namespace ampelsim::ui
