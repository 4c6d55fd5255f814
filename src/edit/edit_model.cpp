#include "edit/edit_model.h"

#include "edit/data_set_files.h"

namespace ampelsim::edit {
namespace {

// No step ever has this id, so a new junction is dirty until it is saved.
constexpr std::uint64_t NeverSaved = UINT64_MAX;

}  // namespace

EditModel::EditModel(std::unique_ptr<ControllerDataSet> data, std::filesystem::path directory)
    : data_(std::move(data)), directory_(std::move(directory)), savedId_(NeverSaved) {
  if (data_ == nullptr) {
    data_ = std::make_unique<ControllerDataSet>();
  }
  findings_.Refresh(*data_);
}

Result<EditModel> EditModel::Open(const std::filesystem::path& directory) {
  auto data = ReadDataSetFiles(directory);
  if (!data.Ok()) {
    return data.Failure();
  }
  EditModel model(std::move(data).Value(), directory);
  model.MarkSaved();
  return model;
}

void EditModel::MarkSaved() {
  savedId_ = CurrentId();
  gestureMayMerge_ = false;  // the saved step must stay as it was saved
}

void EditModel::MarkSaved(std::filesystem::path directory) {
  directory_ = std::move(directory);
  MarkSaved();
}

Result<SaveOutcome> EditModel::Save(const SaveOptions& options) {
  if (directory_.empty()) {
    return Error{"Der Datensatz hat noch keinen Ordner: bitte \"Speichern unter\" wählen."};
  }
  return SaveAs(directory_, options);
}

Result<SaveOutcome> EditModel::SaveAs(const std::filesystem::path& directory,
                                      const SaveOptions& options) {
  Result<SaveOutcome> saved = SaveDataSet(*data_, directory, options);
  if (saved) {
    MarkSaved(saved->Directory);
  }
  return saved;
}

bool EditModel::IsDirty() const {
  return CurrentId() != savedId_;
}

Result<std::string> EditModel::Execute(const EditCommand& command) {
  const auto before = BytesOf(*data_);
  Result<std::string> carried = command.Apply(*data_);
  DataSetDelta delta = DataSetDelta::Between(*before, *data_);
  if (!carried.Ok()) {
    delta.Undo(*data_);  // a refusal leaves the data set as it was, whatever happened
    return carried;
  }
  std::string done = command.Name();
  if (!carried.Value().empty()) {
    done += ": " + carried.Value();
  }
  if (delta.Empty()) {
    return done;
  }
  redo_.clear();
  const std::string key = command.MergeKey();
  if (gesture_ && gestureMayMerge_ && !key.empty() && !undo_.empty() &&
      undo_.back().MergeKey == key) {
    Step& last = undo_.back();
    last.Delta.Absorb(delta);
    last.Name = command.Name();
    if (last.Delta.Empty()) {
      undo_.pop_back();  // the drag came back to where it began
      gestureMayMerge_ = false;
    }
  } else {
    undo_.push_back(
        Step{nextId_++, command.Name(), key, command.AffectedProgram(), std::move(delta)});
    gestureMayMerge_ = gesture_;
  }
  lastChangedProgram_ = command.AffectedProgram();
  findings_.Refresh(*data_);
  return done;
}

void EditModel::BeginGesture() {
  gesture_ = true;
  gestureMayMerge_ = false;
}

void EditModel::EndGesture() {
  gesture_ = false;
  gestureMayMerge_ = false;
}

std::string EditModel::UndoName() const {
  return undo_.empty() ? std::string() : undo_.back().Name;
}

std::string EditModel::RedoName() const {
  return redo_.empty() ? std::string() : redo_.back().Name;
}

void EditModel::Undo() {
  if (undo_.empty()) {
    return;
  }
  undo_.back().Delta.Undo(*data_);
  lastChangedProgram_ = undo_.back().Program;
  redo_.push_back(std::move(undo_.back()));
  undo_.pop_back();
  gestureMayMerge_ = false;
  findings_.Refresh(*data_);
}

void EditModel::Redo() {
  if (redo_.empty()) {
    return;
  }
  redo_.back().Delta.Redo(*data_);
  lastChangedProgram_ = redo_.back().Program;
  undo_.push_back(std::move(redo_.back()));
  redo_.pop_back();
  gestureMayMerge_ = false;
  findings_.Refresh(*data_);
}

}  // namespace ampelsim::edit
