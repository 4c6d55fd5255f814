#pragma once

namespace ampelsim {

class Simulation;

// Something that takes part in every 100 ms tick of the controller as a user
// at the junction would: it may press or release buttons just before the
// tick and looks at what the controller shows just after it. Simulation::Tick
// calls every participant, so the desktop's timer, the headless runs and the
// tests all drive them the same way. A participant must not add or remove
// participants from within these calls.
class TickParticipant {
 public:
  virtual ~TickParticipant() = default;
  virtual void BeforeTick(Simulation& simulation) = 0;
  virtual void AfterTick(Simulation& simulation) = 0;
};

}  // namespace ampelsim
