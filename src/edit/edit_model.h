#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/controller_data_set.h"
#include "data/data_set_saver.h"
#include "data/result.h"
#include "edit/data_set_delta.h"
#include "edit/edit_command.h"
#include "edit/live_findings.h"

namespace ampelsim::edit {

// The data set being edited: where it is stored, whether it differs from
// what was stored, the undo and redo steps, and the verifier's findings on
// the current state. Every change goes through an EditCommand.
class EditModel {
 public:
  // A data set not yet stored anywhere (a new junction); it counts as changed.
  explicit EditModel(std::unique_ptr<ControllerDataSet> data, std::filesystem::path directory = {});

  // The data set of a directory, unchanged.
  static Result<EditModel> Open(const std::filesystem::path& directory);

  const ControllerDataSet& Data() const { return *data_; }
  const std::filesystem::path& Directory() const { return directory_; }

  // "Speichern": writes the thirteen files safely to its directory (the
  // previous folder kept as "<Dir>.bak"); the current state becomes the
  // saved one. A failure leaves the old files and the dirty flag as they were.
  Result<SaveOutcome> Save(const SaveOptions& options = {});
  // "Speichern unter": the same to another directory, which becomes its own.
  Result<SaveOutcome> SaveAs(const std::filesystem::path& directory,
                             const SaveOptions& options = {});

  // After the data set was written: to `directory` (Speichern unter) or to
  // the directory it has. The current state becomes the saved one.
  void MarkSaved();
  void MarkSaved(std::filesystem::path directory);
  // Whether the data set differs from the state last saved (or opened).
  bool IsDirty() const;

  // Applies a command as a new undo step. Returns the refusal, or what the
  // step did: its name, followed by what it carried along ("Umlaufzeit P2
  // auf 80 s: GSP2 von 85 auf 79 s gesetzt"). A command that changes nothing
  // adds no step.
  Result<std::string> Execute(const EditCommand& command);

  // Within a gesture, commands with the same merge key as the last step
  // become part of that step: a drag is undone as one.
  void BeginGesture();
  void EndGesture();

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  std::string UndoName() const;  // empty when there is nothing to undo
  std::string RedoName() const;
  void Undo();
  void Redo();

  // The verifier's findings on the current state.
  const std::vector<Finding>& Findings() const { return findings_.All(); }
  std::vector<Finding> FindingsOf(int program) const { return findings_.Of(program); }
  // The program the last executed, undone or redone step changed (0: the
  // data set as a whole), whose chart and findings a window shows next.
  int LastChangedProgram() const { return lastChangedProgram_; }

 private:
  struct Step {
    std::uint64_t Id = 0;
    std::string Name;
    std::string MergeKey;
    int Program = 0;
    DataSetDelta Delta;
  };
  // Id of the step whose state is the current one; 0 is the state opened.
  std::uint64_t CurrentId() const { return undo_.empty() ? baseId_ : undo_.back().Id; }

  std::unique_ptr<ControllerDataSet> data_;
  std::filesystem::path directory_;
  std::vector<Step> undo_;
  std::vector<Step> redo_;
  std::uint64_t nextId_ = 1;
  std::uint64_t baseId_ = 0;
  std::uint64_t savedId_ = 0;
  bool gesture_ = false;
  bool gestureMayMerge_ = false;  // the last step was made in the open gesture
  int lastChangedProgram_ = 0;
  LiveFindings findings_;
};

}  // namespace ampelsim::edit
