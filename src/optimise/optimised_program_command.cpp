#include "optimise/optimised_program_command.h"

#include <cstddef>

#include "data/text_format.h"

namespace ampelsim::optimise {

std::string PutOptimisedProgram::Name() const {
  const int cycle = slot_ >= 1 && slot_ <= ProgramCount
                        ? optimised_.SignalPrograms[static_cast<std::size_t>(slot_ - 1)].CycleTime
                        : 0;
  if (source_ == slot_) {
    return Format("Festzeitoptimierung P%d (Umlauf %d s)", slot_, cycle);
  }
  return Format("Festzeitoptimierung von P%d als P%d (Umlauf %d s)", source_, slot_, cycle);
}

Result<std::string> PutOptimisedProgram::Apply(ControllerDataSet& data) const {
  if (slot_ < 1 || slot_ > ProgramCount) {
    return Error{Format("Programmplatz P%d gibt es nicht (1 bis %d)", slot_, ProgramCount)};
  }
  if (GroupsInUse(data) != GroupsInUse(optimised_)) {
    return Error{"Die Gruppen des Datensatzes haben sich seit der Optimierung geändert"};
  }
  const auto p = static_cast<std::size_t>(slot_ - 1);
  data.SignalPrograms[p] = optimised_.SignalPrograms[p];
  data.SwitchOnPrograms[p] = optimised_.SwitchOnPrograms[p];
  data.PlannedOffPrograms[p] = optimised_.PlannedOffPrograms[p];
  data.FaultOffPrograms[p] = optimised_.FaultOffPrograms[p];
  data.GreenGreenLocks[p] = optimised_.GreenGreenLocks[p];
  data.IntergreenTimes[p] = optimised_.IntergreenTimes[p];
  data.DemandInputMap[p] = optimised_.DemandInputMap[p];
  for (int g = 0; g < MaxGroups; ++g) {
    const auto i = static_cast<std::size_t>(g);
    data.MinGreenTimes[i][p] = optimised_.MinGreenTimes[i][p];
    data.DetectorPrestore[i][p] = optimised_.DetectorPrestore[i][p];
    data.ChangeRequestByDetector[i][p] = optimised_.ChangeRequestByDetector[i][p];
    data.ChangeCancelByDetector[i][p] = optimised_.ChangeCancelByDetector[i][p];
  }
  data.ChangeOnDemandOnly[p] = optimised_.ChangeOnDemandOnly[p];
  data.ChangeTargetProgram[p] = optimised_.ChangeTargetProgram[p];
  data.ChangeReserved[p] = optimised_.ChangeReserved[p];
  for (std::size_t k = 0; k < data.ChangePoints.size(); ++k) {
    data.ChangePoints[k][p] = optimised_.ChangePoints[k][p];
  }
  data.ChangeCancelSecond[p] = optimised_.ChangeCancelSecond[p];
  data.ChangeReleaseSeconds[p] = optimised_.ChangeReleaseSeconds[p];
  data.GeneralData.ProgramReleased[p] = optimised_.GeneralData.ProgramReleased[p];
  return std::string{};
}

}  // namespace ampelsim::optimise
