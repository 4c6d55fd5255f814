#pragma once

#include "edit/edit_command.h"

namespace ampelsim::edit {

// One cell of the weekly plan: at `minute` of the day (0 = no entry) on
// `weekday` (1 Monday .. 7 Sunday) switch to `target` (1..6, 7 dark, 8 flashing).
class SetSwitchingPoint : public EditCommand {
 public:
  SetSwitchingPoint(int slot, int weekday, int target, int minute)
      : slot_(slot), weekday_(weekday), target_(target), minute_(minute) {}
  std::string Name() const override;
  int AffectedProgram() const override { return 0; }
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  int slot_, weekday_, target_, minute_;
};

enum class SwitchKind { SwitchOn, PlannedOff, FaultOff };
// "Einschaltprogramm", "gez. Ausschaltprogramm", "Stör. Ausschaltprogramm"
const char* LabelOf(SwitchKind kind);
enum class Lamp { Red, Yellow, Green };

// The duration of step 1..3 of a switch-on or switch-off program.
class SetSwitchStepDuration : public EditCommand {
 public:
  SetSwitchStepDuration(SwitchKind kind, int program, int step, int seconds)
      : kind_(kind), program_(program), step_(step), seconds_(seconds) {}
  std::string Name() const override;
  int AffectedProgram() const override { return program_; }
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  SwitchKind kind_;
  int program_, step_, seconds_;
};

// One lamp of a group in a step of a switch-on or switch-off program.
class SetSwitchStepLamp : public EditCommand {
 public:
  SetSwitchStepLamp(SwitchKind kind, int program, int step, int group, Lamp lamp, bool lit)
      : kind_(kind), program_(program), step_(step), group_(group), lamp_(lamp), lit_(lit) {}
  std::string Name() const override;
  int AffectedProgram() const override { return program_; }
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  SwitchKind kind_;
  int program_, step_, group_;
  Lamp lamp_;
  bool lit_;
};

// Whether the demand input of group `input` also demands group `group`.
class SetDemandInput : public EditCommand {
 public:
  SetDemandInput(int program, int group, int input, bool on)
      : program_(program), group_(group), input_(input), on_(on) {}
  std::string Name() const override;
  int AffectedProgram() const override { return program_; }
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  int program_, group_, input_;
  bool on_;
};

// How long a demand of a group is kept.
class SetDemandMemoryTime : public EditCommand {
 public:
  SetDemandMemoryTime(int program, int group, int seconds)
      : program_(program), group_(group), seconds_(seconds) {}
  std::string Name() const override;
  int AffectedProgram() const override { return program_; }
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  int program_, group_, seconds_;
};

enum class DetectorTable { Prestore, ChangeRequest, ChangeCancel };

// A flag of the detector of a group in a program: prestore a demand, request
// or cancel a change on demand.
class SetDetectorFlag : public EditCommand {
 public:
  SetDetectorFlag(DetectorTable table, int group, int program, bool on)
      : table_(table), group_(group), program_(program), on_(on) {}
  std::string Name() const override;
  int AffectedProgram() const override { return program_; }
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  DetectorTable table_;
  int group_, program_;
  bool on_;
};

enum class ChangeOption { Target, OnDemandOnly, Reserved };

// The change on demand of a program: its target program (0 none, 1..8),
// whether it changes on demand only (0/1), and the reserved value.
class SetChangeOption : public EditCommand {
 public:
  SetChangeOption(int program, ChangeOption option, int value)
      : program_(program), option_(option), value_(value) {}
  std::string Name() const override;
  int AffectedProgram() const override { return program_; }
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  int program_;
  ChangeOption option_;
  int value_;
};

}  // namespace ampelsim::edit
