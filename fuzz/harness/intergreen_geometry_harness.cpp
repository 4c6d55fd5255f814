#include <algorithm>
#include <memory>
#include <string_view>

#include "check.h"
#include "harness.h"
#include "planning/geometry_file.h"

namespace ampelsim::fuzz {

void FuzzIntergreenGeometry(std::span<const std::uint8_t> input) {
  const std::string_view text(reinterpret_cast<const char*>(input.data()), input.size());
  const planning::IntergreenGeometryResult geometry = planning::ParseIntergreenGeometry(text);
  if (!geometry) {
    Require(!geometry.Failure().Message.empty(), "a refused geometry says why");
    return;
  }
  auto data = std::make_unique<ControllerDataSet>();
  // A small junction refuses the higher groups, a full one takes them all.
  for (const int groups : {4, MaxGroups}) {
    data->GeneralData.GroupCount = groups;
    const auto required = planning::CalculateRequiredIntergreens(*geometry, *data);
    if (!required) {
      Require(groups < MaxGroups, "a full junction takes every group of a read geometry");
      Require(!required.Failure().Message.empty(), "a refused group says why");
      continue;
    }
    for (const planning::RequiredIntergreen& point : required->Points) {
      Require(point.Terms.Required >= 0 && point.Terms.Required <= 999,
              "a required intergreen is whole seconds within 0..999");
      const std::int32_t governing =
          required->Seconds[static_cast<std::size_t>(point.Entering - 1)]
                           [static_cast<std::size_t>(point.Clearing - 1)];
      Require(governing >= point.Terms.Required, "the longest point of a pair governs");
      (void)point.Terms.AssumedValues();
    }
  }
}

}  // namespace ampelsim::fuzz
