#include "planning/intergreen_calculation.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace ampelsim::planning {
namespace {

// Distances over speeds in floating point: 12 m at 3 m/s may come out a hair
// above 4 s, which must not round up to 5 s.
constexpr double RoundingTolerance = 1e-9;
// Beyond any intergreen a program can hold; keeps a zero speed from
// overflowing the whole seconds.
constexpr double LongestRequired = 999.0;

MethodValue Chosen(const std::optional<double>& given, const MethodValue& fallback) {
  if (given) {
    return {*given, ValueBasis::Given, "Geometriedatei"};
  }
  return fallback;
}

std::string Number(double value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

}  // namespace

IntergreenTerms CalculateIntergreen(const ConflictPoint& point,
                                    const IntergreenParameters& parameters) {
  const RoadUserDefaults& clearing =
      point.WaitingLeftTurner ? parameters.WaitingLeftTurner : parameters.Of(point.Clearing);
  const RoadUserDefaults& entering = parameters.Of(point.Entering);
  IntergreenTerms terms;
  terms.PassingTime = Chosen(point.PassingTime, clearing.PassingTime);
  terms.ClearingSpeed = Chosen(point.ClearingSpeed, clearing.ClearingSpeed);
  terms.VehicleLength = Chosen(point.VehicleLength, clearing.VehicleLength);
  terms.EnteringSpeed = Chosen(point.EnteringSpeed, entering.EnteringSpeed);
  terms.ClearingPath = point.ClearingDistance + terms.VehicleLength.Value;
  terms.ClearingTime = terms.ClearingPath / terms.ClearingSpeed.Value;
  terms.EnteringTime = point.EnteringDistance / terms.EnteringSpeed.Value;
  terms.Exact = terms.PassingTime.Value + terms.ClearingTime - terms.EnteringTime;
  const double bounded =
      std::isnan(terms.Exact) ? LongestRequired : std::clamp(terms.Exact, 0.0, LongestRequired);
  terms.Required = static_cast<int>(std::ceil(bounded - RoundingTolerance));
  return terms;
}

std::vector<std::string> IntergreenTerms::AssumedValues() const {
  std::vector<std::string> lines;
  const auto note = [&lines](const MethodValue& value, const char* name, const char* unit) {
    if (value.Basis == ValueBasis::Assumed) {
      lines.push_back(std::string(name) + " " + Number(value.Value) + " " + unit + " angenommen");
    }
  };
  note(PassingTime, "Überfahrzeit", "s");
  note(ClearingSpeed, "Räumgeschwindigkeit", "m/s");
  note(VehicleLength, "Fahrzeuglänge", "m");
  note(EnteringSpeed, "Einfahrgeschwindigkeit", "m/s");
  return lines;
}

}  // namespace ampelsim::planning
