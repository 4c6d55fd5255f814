#include "planning/intergreen_parameters.h"

namespace ampelsim::planning {
namespace {

// The short source names; docs/intergreen.md quotes each.
constexpr const char* Wikipedia = "Wikipedia, Zwischenzeit (Verkehrstechnik), nach RiLSA";
constexpr const char* Hamburg = "Straßenverkehrsbehörde Hamburg 2017, nach RiLSA";
constexpr const char* CyclistPassing = "Radverkehrsforum, Zitat aus der RiLSA";
constexpr const char* Program = "angenommen; wie ein öffentliches Planungsprogramm";
constexpr const char* Assumed = "angenommen";

MethodValue Confirmed(double value, const char* source) {
  return {value, ValueBasis::Confirmed, source};
}

MethodValue Assume(double value, const char* source = Assumed) {
  return {value, ValueBasis::Assumed, source};
}

}  // namespace

std::string ConflictRoadUserName(ConflictRoadUser user) {
  switch (user) {
    case ConflictRoadUser::VehicleStraight:
      return "Kfz geradeaus";
    case ConflictRoadUser::VehicleTurning:
      return "Kfz abbiegend";
    case ConflictRoadUser::Cyclist:
      return "Rad";
    case ConflictRoadUser::Pedestrian:
      return "Fußgänger";
    case ConflictRoadUser::Tram:
      return "Straßenbahn";
  }
  return "Kfz geradeaus";
}

std::string BasisName(ValueBasis basis) {
  switch (basis) {
    case ValueBasis::Confirmed:
      return "belegt";
    case ValueBasis::Assumed:
      return "angenommen";
    case ValueBasis::Given:
      return "vorgegeben";
  }
  return "angenommen";
}

IntergreenParameters GuidelineDefaults() {
  IntergreenParameters parameters;
  parameters.Of(ConflictRoadUser::VehicleStraight) = {Assume(3.0, Program), Assume(10.0, Program),
                                                      Confirmed(6.0, Wikipedia),
                                                      Assume(11.1, Program)};
  parameters.Of(ConflictRoadUser::VehicleTurning) = {
      Assume(2.0, Program), Assume(7.0, Program), Confirmed(6.0, Wikipedia), Assume(11.1, Program)};
  parameters.Of(ConflictRoadUser::Cyclist) = {Confirmed(1.0, CyclistPassing), Assume(4.0, Program),
                                              Confirmed(0.0, Wikipedia), Assume(5.0, Program)};
  // A pedestrian's clearing starts at the end of green at the kerb: no
  // passing time and no length.
  parameters.Of(ConflictRoadUser::Pedestrian) = {Assume(0.0), Confirmed(1.2, Hamburg), Assume(0.0),
                                                 Assume(1.5)};
  parameters.Of(ConflictRoadUser::Tram) = {Assume(2.0), Assume(7.0), Confirmed(15.0, Wikipedia),
                                           Assume(11.1)};
  // Waiting inside the junction it starts from standstill; slower than a
  // turner that passes the stop line at the end of green.
  parameters.WaitingLeftTurner = {Assume(2.0), Assume(5.0), Confirmed(6.0, Wikipedia),
                                  Assume(11.1, Program)};
  return parameters;
}

}  // namespace ampelsim::planning
