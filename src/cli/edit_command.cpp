#include "cli/edit_command.h"

#include <fstream>
#include <iostream>

#include "cli/data_commands.h"
#include "cli/data_set_loading.h"
#include "cli/verify_command.h"
#include "data/data_set_saver.h"
#include "verify/plan_verifier.h"

namespace ampelsim::cli {
namespace {

using Json = nlohmann::ordered_json;

Result<Json> ReadPatch(const std::string& path) {
  const std::string source = path == "-" ? std::string("die Standardeingabe") : path;
  try {
    if (path == "-") {
      return Json::parse(std::cin);
    }
    std::ifstream file(path);
    if (!file.is_open()) {
      return Error{path + " lässt sich nicht öffnen"};
    }
    return Json::parse(file);
  } catch (const Json::parse_error& e) {
    return Error{source + " ist kein gültiges JSON: " + e.what()};
  }
}

// What the verification of the written folder found.
struct Verdict {
  bool Loadable = true;
  int Exit = ExitOk;
};

// Checks the written folder as `verify` would check the saved one: loaded by
// the loader, findings printed. Without --force a Fehler or a data set that
// does not load keeps the folder from replacing anything.
WrittenFolderCheck VerifyingCheck(bool force, Verdict& verdict, std::ostream& out,
                                  std::ostream& err) {
  return [force, &verdict, &out, &err](const std::filesystem::path& written,
                                       const ControllerDataSet& data) -> std::string {
    if (std::string why = CheckWrittenDataSet(written, data); !why.empty()) {
      return why;
    }
    const auto loaded = LoadDataSetOrLog(written.string(), err);
    if (loaded == nullptr) {
      verdict = {false, ExitNotLoadable};
      return force ? ""
                   : "der geänderte Datensatz lässt sich nicht laden (--force schreibt ihn "
                     "trotzdem)";
    }
    verdict.Exit = PrintFindings(VerifyDataSet(*loaded), false, out);
    if (verdict.Exit != ExitOk && !force) {
      return "die Prüfung findet Fehler (--force schreibt trotzdem)";
    }
    return "";
  };
}

}  // namespace

int RunEdit(const EditOptions& options, std::ostream& out, std::ostream& err) {
  const auto data = ReadStoredDataSet(options.Directory, "edit", err);
  if (data == nullptr) {
    return ExitNotLoadable;
  }
  EditRequest request = options.Changes;
  if (options.PatchPath) {
    auto patch = ReadPatch(*options.PatchPath);
    if (!patch) {
      err << "ampelsim-cli edit: " << patch.Failure().Message << '\n';
      return ExitUsage;
    }
    request.Patch = std::move(*patch);
  }
  auto edited = ApplyEdits(*data, request);
  if (!edited) {
    err << "ampelsim-cli edit: " << edited.Failure().Message << '\n';
    return ExitUsage;
  }

  Verdict verdict;
  SaveOptions save;
  save.CheckWritten = VerifyingCheck(options.Force, verdict, out, err);
  const auto saved = SaveDataSet(**edited, options.OutDirectory.value_or(options.Directory), save);
  if (!saved) {
    err << "ampelsim-cli edit: " << saved.Failure().Message << '\n';
    return verdict.Exit != ExitOk ? verdict.Exit : ExitFailed;
  }
  out << "Gespeichert in " << saved->Directory.string();
  if (saved->Backup) {
    out << ", vorige Fassung in " << saved->Backup->string();
  }
  out << '\n';
  for (const std::string& note : saved->Notes) {
    err << "ampelsim-cli edit: " << note << '\n';
  }
  return verdict.Exit;
}

}  // namespace ampelsim::cli
