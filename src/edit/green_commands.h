#pragma once

#include "edit/edit_command.h"

namespace ampelsim::edit {

enum class GreenEdge { Begin, End };

// Drags one edge of green window 1 or 2 of a group; one drag is one undo step.
class SetGreenEdge : public EditCommand {
 public:
  SetGreenEdge(int program, int group, int window, GreenEdge edge, int second)
      : program_(program), group_(group), window_(window), edge_(edge), second_(second) {}
  std::string Name() const override;
  int AffectedProgram() const override { return program_; }
  std::string MergeKey() const override;
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  int program_, group_, window_;
  GreenEdge edge_;
  int second_;
};

// Sets both edges of green window 1 or 2; on window 2 of a group that has
// only one green this adds the second green.
class SetGreenWindow : public EditCommand {
 public:
  SetGreenWindow(int program, int group, int window, int begin, int end)
      : program_(program), group_(group), window_(window), begin_(begin), end_(end) {}
  std::string Name() const override;
  int AffectedProgram() const override { return program_; }
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  int program_, group_, window_, begin_, end_;
};

// Moves a whole green window so that it begins at `begin`, keeping its length.
class MoveGreenWindow : public EditCommand {
 public:
  MoveGreenWindow(int program, int group, int window, int begin)
      : program_(program), group_(group), window_(window), begin_(begin) {}
  std::string Name() const override;
  int AffectedProgram() const override { return program_; }
  std::string MergeKey() const override;
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  int program_, group_, window_, begin_;
};

// Removes green window 2 of a group (window 1 only when it is the last green).
class RemoveGreenWindow : public EditCommand {
 public:
  RemoveGreenWindow(int program, int group, int window)
      : program_(program), group_(group), window_(window) {}
  std::string Name() const override;
  int AffectedProgram() const override { return program_; }
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  int program_, group_, window_;
};

enum class GroupTime { RedYellow, Yellow, MinimumGreen };

// Red-yellow, yellow or minimum green of a group in a program.
class SetGroupTime : public EditCommand {
 public:
  SetGroupTime(int program, int group, GroupTime time, int seconds)
      : program_(program), group_(group), time_(time), seconds_(seconds) {}
  std::string Name() const override;
  int AffectedProgram() const override { return program_; }
  std::string MergeKey() const override;
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  int program_, group_;
  GroupTime time_;
  int seconds_;
};

}  // namespace ampelsim::edit
