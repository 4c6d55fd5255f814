#include "data/data_set_loader.h"

#include <algorithm>

#include "data/data_file_reader.h"
#include "data/data_files.h"
#include "data/file_codecs.h"

namespace ampelsim {
namespace {

// Characters, not bytes, of a UTF-8 text: the heading is underlined per character.
std::size_t CharacterCount(const std::string& utf8) {
  return static_cast<std::size_t>(std::count_if(
      utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

void DataSetLoader::Load(ControllerDataSet& data, const std::string& dataDirectory) {
  dataValid_ = true;
  sizesCorrect_ = true;
  log_.clear();

  const std::string heading = "Lese Daten aus: " + dataDirectory;
  log_.push_back(heading);
  log_.push_back(std::string(CharacterCount(heading), '-'));
  log_.emplace_back();

  for (std::size_t index = 0; index < DataFiles.size(); ++index) {
    LoadFile(data, dataDirectory, index);
  }
  dataReloaded_ = true;

  if (!dataValid_) {
    log_.emplace_back();
    log_.push_back("Dateien nicht vollständig !");
    log_.push_back("Start nicht möglich !");
  }
  if (!sizesCorrect_) {
    log_.emplace_back();
    log_.push_back("Eine oder mehrere Dateigrössen stimmen nicht !");
    log_.push_back("Start nicht möglich !");
    dataValid_ = false;
  }

  auto& general = data.GeneralData;
  if (dataValid_) {
    // A complete, correct set of an operating mode that cannot be run loads
    // but is not valid; the start button then names the mode.
    dataValid_ = general.ModeSimulatable != 0;
  } else {
    // After a failed load the start button reports invalid data instead.
    general.ModeSimulatable = 1;
  }

  // Every per-group table holds 24 groups, so a larger count is clamped to
  // them rather than letting the engine or the reports run past a table.
  general.GroupCount = std::clamp(general.GroupCount, 1, MaxGroups);
}

void DataSetLoader::LoadFile(ControllerDataSet& data, const std::string& dataDirectory,
                             std::size_t index) {
  const DataFileInfo& info = DataFiles[index];
  const std::string name(info.Name);
  const FileReadResult read = ReadDataFile(DataFilePath(dataDirectory, info.Name), info.Size);
  switch (read.Status) {
    case FileReadStatus::Missing:
      log_.push_back(name + " nicht gefunden !");
      dataValid_ = false;
      return;
    case FileReadStatus::WrongSize:
      sizesCorrect_ = false;
      log_.push_back(name + " gelesen");
      return;
    case FileReadStatus::Read:
      log_.push_back(name + " gelesen");
      DecodeDataFile(info.File, read.Bytes, data);
      return;
  }
}

}  // namespace ampelsim
