#pragma once

#include <string>

#include "edit/edit_command.h"

namespace ampelsim::edit {

// Releases a program for operation, or withdraws its release.
class SetProgramReleased : public EditCommand {
 public:
  SetProgramReleased(int program, bool released) : program_(program), released_(released) {}
  std::string Name() const override;
  int AffectedProgram() const override { return program_; }
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  int program_;
  bool released_;
};

// The program the controller runs after a fault: 1..6, 7 dark, 8 flashing.
class SetEmergencyProgram : public EditCommand {
 public:
  explicit SetEmergencyProgram(int program) : program_(program) {}
  std::string Name() const override;
  int AffectedProgram() const override { return 0; }
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  int program_;
};

enum class SiteText { Line1, Line2, Client };

// A text of the junction's general data, given in UTF-8.
class SetSiteText : public EditCommand {
 public:
  SetSiteText(SiteText which, std::string text) : which_(which), text_(std::move(text)) {}
  std::string Name() const override;
  int AffectedProgram() const override { return 0; }
  std::string MergeKey() const override;
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  SiteText which_;
  std::string text_;
};

}  // namespace ampelsim::edit
