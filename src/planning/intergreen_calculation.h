#pragma once

#include <optional>
#include <string>
#include <vector>

#include "planning/intergreen_parameters.h"

namespace ampelsim::planning {

// One conflict point of two streams (docs/intergreen.md): who clears it and
// who enters it, and their distances to it. A value given here wins over the
// default of the road user.
struct ConflictPoint {
  ConflictRoadUser Clearing = ConflictRoadUser::VehicleStraight;
  ConflictRoadUser Entering = ConflictRoadUser::VehicleStraight;
  double ClearingDistance = 0.0;  // Grundräumweg s_0, m: stop line (or waiting position) to point
  double EnteringDistance = 0.0;  // Einfahrweg s_e, m: stop line to point
  // The clearing stream is a left turner waiting inside the junction; its
  // distance is measured from the waiting position.
  bool WaitingLeftTurner = false;
  std::optional<double> VehicleLength;
  std::optional<double> PassingTime;
  std::optional<double> ClearingSpeed;
  std::optional<double> EnteringSpeed;
};

// The terms of t_z = t_ü + t_r − t_e and the values they used.
struct IntergreenTerms {
  MethodValue PassingTime;    // t_ü, s
  MethodValue ClearingSpeed;  // v_r, m/s
  MethodValue VehicleLength;  // l_Fz, m
  MethodValue EnteringSpeed;  // v_e, m/s
  double ClearingPath = 0.0;  // s_r = s_0 + l_Fz, m
  double ClearingTime = 0.0;  // t_r = s_r / v_r, s
  double EnteringTime = 0.0;  // t_e = s_e / v_e, s
  double Exact = 0.0;         // t_ü + t_r − t_e, s
  int Required = 0;           // rounded up to whole seconds, never below 0

  // One German line per value that is an assumed default, e.g.
  // "Räumgeschwindigkeit 7 m/s angenommen".
  std::vector<std::string> AssumedValues() const;
};

// Speeds are expected positive (the geometry file checks them); a zero speed
// gives the longest time rather than a fault.
IntergreenTerms CalculateIntergreen(const ConflictPoint& point,
                                    const IntergreenParameters& parameters);

}  // namespace ampelsim::planning
