#include "cli/data_commands.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "cli/data_set_json.h"
#include "data/data_file_reader.h"
#include "data/data_files.h"
#include "data/data_set_loader.h"
#include "data/file_codecs.h"

namespace ampelsim::cli {

int RunCheck(const std::string& directory, std::ostream& out) {
  auto data = std::make_unique<ControllerDataSet>();
  DataSetLoader loader;
  loader.Load(*data, directory);
  for (const auto& line : loader.Log()) {
    out << line << '\n';
  }
  return loader.DataValid() ? ExitOk : ExitFailed;
}

std::unique_ptr<ControllerDataSet> ReadStoredDataSet(const std::string& directory,
                                                     const std::string& command,
                                                     std::ostream& err) {
  auto data = std::make_unique<ControllerDataSet>();
  bool complete = true;
  for (const auto& info : DataFiles) {
    const auto path = DataFilePath(directory, info.Name);
    const FileReadResult read = ReadDataFile(path, info.Size);
    if (read.Status == FileReadStatus::Missing) {
      err << "ampelsim-cli " << command << ": " << path.string() << " fehlt\n";
      complete = false;
    } else if (read.Status == FileReadStatus::WrongSize) {
      err << "ampelsim-cli " << command << ": " << path.string() << " hat nicht " << info.Size
          << " Bytes\n";
      complete = false;
    } else {
      // The files' own matrices, without the fallback of loading, so that
      // writing them gives the same files again.
      DecodeDataFile(info.File, read.Bytes, *data, MatrixFallback::Keep);
    }
  }
  return complete ? std::move(data) : nullptr;
}

int RunDump(const std::string& directory, std::ostream& out, std::ostream& err) {
  const auto data = ReadStoredDataSet(directory, "dump", err);
  if (data == nullptr) {
    return ExitFailed;
  }
  out << FormatJson(DataSetToJson(*data));
  return ExitOk;
}

namespace {

bool WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  file.close();
  return !file.fail();
}

}  // namespace

bool WriteDataSet(const ControllerDataSet& data, const std::string& outputDirectory,
                  std::string_view command, std::ostream& err) {
  std::error_code error;
  std::filesystem::create_directories(outputDirectory, error);
  if (error) {
    err << "ampelsim-cli " << command << ": " << outputDirectory
        << " lässt sich nicht anlegen: " << error.message() << '\n';
    return false;
  }
  for (const auto& info : DataFiles) {
    const auto path = DataFilePath(outputDirectory, info.Name);
    if (!WriteFile(path, EncodeDataFile(info.File, data))) {
      err << "ampelsim-cli " << command << ": " << path.string() << " lässt sich nicht schreiben\n";
      return false;
    }
  }
  return true;
}

int RunBuild(const std::string& jsonPath, const std::string& outputDirectory, std::ostream& err) {
  const std::string source = jsonPath == "-" ? std::string("die Standardeingabe") : jsonPath;
  nlohmann::ordered_json json;
  try {
    if (jsonPath == "-") {
      json = nlohmann::ordered_json::parse(std::cin);
    } else {
      std::ifstream file(jsonPath);
      if (!file.is_open()) {
        err << "ampelsim-cli build: " << jsonPath << " lässt sich nicht öffnen\n";
        return ExitFailed;
      }
      json = nlohmann::ordered_json::parse(file);
    }
  } catch (const nlohmann::json::parse_error& e) {
    err << "ampelsim-cli build: " << source << " ist kein gültiges JSON: " << e.what() << '\n';
    return ExitFailed;
  }

  std::unique_ptr<ControllerDataSet> data;
  try {
    data = std::make_unique<ControllerDataSet>(DataSetFromJson(json));
  } catch (const DataSetJsonError& e) {
    err << "ampelsim-cli build: " << source << ": " << e.what() << '\n';
    return ExitFailed;
  }

  if (!WriteDataSet(*data, outputDirectory, "build", err)) {
    return ExitFailed;
  }
  return ExitOk;
}

}  // namespace ampelsim::cli
