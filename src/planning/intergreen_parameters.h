#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace ampelsim::planning {

// The road users the intergreen method tells apart, for the stream that
// clears the conflict point and for the one that enters it.
enum class ConflictRoadUser : std::uint8_t {
  VehicleStraight,  // Kfz geradeaus
  VehicleTurning,   // Kfz abbiegend
  Cyclist,          // Rad
  Pedestrian,       // Fußgänger
  Tram,             // Straßenbahn
};
inline constexpr std::size_t ConflictRoadUserCount = 5;

// The German label the geometry file and the messages use.
std::string ConflictRoadUserName(ConflictRoadUser user);

// Where a value of the calculation comes from.
enum class ValueBasis : std::uint8_t {
  Confirmed,  // belegt: a public source states it as the guideline's value
  Assumed,    // angenommen: no source found; to be checked by the planner
  Given,      // vorgegeben: the planner's own value (geometry file)
};

struct MethodValue {
  double Value = 0.0;
  ValueBasis Basis = ValueBasis::Assumed;
  std::string Source;  // short name of the source (docs/intergreen.md lists them)
};

// The defaults of one kind of road user; the first two only matter when it
// clears, the last when it enters.
struct RoadUserDefaults {
  MethodValue PassingTime;    // Überfahrzeit t_ü, s
  MethodValue ClearingSpeed;  // Räumgeschwindigkeit v_r, m/s
  MethodValue VehicleLength;  // Fahrzeuglänge l_Fz, m, added to the clearing distance
  MethodValue EnteringSpeed;  // Einfahrgeschwindigkeit v_e, m/s
};

// All defaults of the method. A planner overrides any value by setting it
// (with ValueBasis::Given); the geometry file does so under "Defaults".
struct IntergreenParameters {
  std::array<RoadUserDefaults, ConflictRoadUserCount> ByRoadUser{};
  // A left turner that waits inside the junction for the opposing stream and
  // clears from its waiting position when that stream has stopped.
  RoadUserDefaults WaitingLeftTurner;

  const RoadUserDefaults& Of(ConflictRoadUser user) const {
    return ByRoadUser[static_cast<std::size_t>(user)];
  }
  RoadUserDefaults& Of(ConflictRoadUser user) { return ByRoadUser[static_cast<std::size_t>(user)]; }
};

// The defaults as far as public sources state them; the rest marked assumed.
IntergreenParameters GuidelineDefaults();

// "belegt", "angenommen" or "vorgegeben".
std::string BasisName(ValueBasis basis);

}  // namespace ampelsim::planning
