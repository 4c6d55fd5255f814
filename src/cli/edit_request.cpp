#include "cli/edit_request.h"

#include "cli/data_set_json.h"
#include "cli/edit_shortcuts.h"

namespace ampelsim::cli {
namespace {

using Json = nlohmann::ordered_json;

// Values a patch may copy in all, counted in JSON values: as many as the
// whole data set has, so that a few copies of the document into itself
// cannot grow it without bound.
std::size_t CountValues(const Json& root, std::size_t limit) {
  std::size_t count = 0;
  std::vector<const Json*> open{&root};
  while (!open.empty() && count <= limit) {
    const Json* value = open.back();
    open.pop_back();
    ++count;
    if (value->is_structured()) {
      for (const auto& item : *value) {
        open.push_back(&item);
      }
    }
  }
  return count;
}

std::string Describe(const Json& operation, std::size_t index) {
  std::string text = "Patch-Operation " + std::to_string(index + 1);
  if (operation.is_object() && operation.contains("op") && operation["op"].is_string() &&
      operation.contains("path") && operation["path"].is_string()) {
    text += " (" + operation["op"].get<std::string>() + " " + operation["path"].get<std::string>() +
            ")";
  }
  return text;
}

std::optional<Error> ApplyPatch(Json& document, const Json& patch) {
  if (!patch.is_array()) {
    return Error{"Der Patch ist keine Liste von Operationen (RFC 6902)"};
  }
  std::size_t copyBudget = CountValues(document, std::numeric_limits<std::size_t>::max());
  for (std::size_t i = 0; i < patch.size(); ++i) {
    const Json& operation = patch[i];
    try {
      if (operation.is_object() && operation.value("op", "") == "copy" &&
          operation.contains("from") && operation["from"].is_string()) {
        const Json& from = document.at(Json::json_pointer(operation["from"].get<std::string>()));
        const std::size_t size = CountValues(from, copyBudget);
        if (size > copyBudget) {
          return Error{Describe(operation, i) + ": der Patch kopiert mehr, als der Datensatz hat"};
        }
        copyBudget -= size;
      }
      document.patch_inplace(Json::array({operation}));
    } catch (const Json::exception& e) {
      return Error{Describe(operation, i) + ": " + e.what()};
    }
  }
  return std::nullopt;
}

std::optional<Error> ApplyShortcuts(Json& document, ShortcutKind kind,
                                    const std::vector<std::string>& expressions) {
  for (const std::string& expression : expressions) {
    const auto operations = ShortcutPatch(document, kind, expression);
    if (!operations) {
      return operations.Failure();
    }
    try {
      document.patch_inplace(*operations);
    } catch (const Json::exception& e) {
      return Error{"\"" + expression + "\" passt nicht zum Datensatz: " + e.what()};
    }
  }
  return std::nullopt;
}

}  // namespace

Result<std::unique_ptr<ControllerDataSet>> ApplyEdits(const ControllerDataSet& data,
                                                      const EditRequest& request) {
  Json document = DataSetToJson(data);
  std::optional<Error> error;
  if (request.Patch) {
    error = ApplyPatch(document, *request.Patch);
  }
  error = error ? error : ApplyShortcuts(document, ShortcutKind::Cycle, request.Cycles);
  error = error ? error : ApplyShortcuts(document, ShortcutKind::Set, request.Sets);
  error = error ? error : ApplyShortcuts(document, ShortcutKind::Intergreen, request.Intergreens);
  if (error) {
    return *error;
  }
  try {
    return std::make_unique<ControllerDataSet>(DataSetFromJson(document));
  } catch (const DataSetJsonError& e) {
    return Error{std::string("Der geänderte Datensatz ist ungültig: ") + e.what()};
  }
}

}  // namespace ampelsim::cli
