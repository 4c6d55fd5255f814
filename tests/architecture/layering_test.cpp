// The folders of src/ form layers; a file may include its own folder and the
// layers below it, never one above. The build links each layer only
// downward, but a header-only upward include would still compile, so this
// test reads every include.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Folder (relative to src/) -> layer, and whether it may use Qt. Lower
// numbers sit lower; a folder may include its own files and any folder of a
// lower layer. A feature (chart, verification, traffic) gets its core logic in
// layer 4 beside the reports and its window in a ui/ folder of layer 8.
struct Layer {
  int Rank;
  bool Qt;
};

const std::map<std::string, Layer>& Layers() {
  static const std::map<std::string, Layer> layers = {
      {"data", {0, false}},     // data set model, codecs, loader
      {"display", {1, false}},  // the passive model of one signal head
      {"panel", {2, false}},    // the passive model of the operator panel
      {"engine", {3, false}},   // the controller and its second record
      {"reports", {4, false}},  // formatters of the data set and of the record
      {"chart", {4, false}},    // features built on the record
      {"verify", {4, false}},
      {"traffic", {4, false}},
      {"sumo", {4, false}},
      {"app", {5, false}},          // Simulation, headless facade, report catalogue
      {"chart/render", {6, true}},  // drawing on Qt Gui, shared by windows and CLI
      {"widgets", {6, true}},       // shared Qt widgets (leaf of the Qt side)
      {"cli", {7, false}},          // ampelsim-cli
      {"data/ui", {8, true}},       // windows of each subsystem and feature
      {"engine/ui", {8, true}},
      {"display/ui", {8, true}},
      {"reports/ui", {8, true}},
      {"chart/ui", {8, true}},
      {"verify/ui", {8, true}},
      {"traffic/ui", {8, true}},
      {"sumo/ui", {8, true}},
      {"dialogs", {8, true}},
      {"app/ui", {9, true}},  // the main window, composition root of the program
  };
  return layers;
}

// The folder of a path relative to src/: "engine/ui/x.cpp" -> "engine/ui".
std::string FolderOf(const fs::path& relative) {
  return relative.parent_path().generic_string();
}

std::optional<Layer> LayerOf(const std::string& folder) {
  const auto found = Layers().find(folder);
  if (found == Layers().end()) {
    return std::nullopt;
  }
  return found->second;
}

fs::path SourceRoot() {
  const char* root = std::getenv("AMPELSIM_SOURCE_DIR");
  return fs::path(root != nullptr ? root : AMPELSIM_SOURCE_DIR) / "src";
}

struct Violation {
  std::string File;
  std::string Include;
};

std::vector<Violation> UpwardIncludes(const fs::path& root) {
  static const std::regex include(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])");
  std::vector<Violation> violations;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const fs::path path = entry.path();
    if (!entry.is_regular_file() || (path.extension() != ".h" && path.extension() != ".cpp")) {
      continue;
    }
    const fs::path relative = fs::relative(path, root);
    const std::string folder = FolderOf(relative);
    const std::optional<Layer> own = LayerOf(folder);
    if (!own) {
      violations.push_back({relative.generic_string(), "(folder without a layer)"});
      continue;
    }
    std::ifstream file(path);
    std::string line;
    std::smatch match;
    while (std::getline(file, line)) {
      if (!std::regex_search(line, match, include)) {
        continue;
      }
      const std::string target = match[1];
      if (target.starts_with("Q") || target.starts_with("qt")) {
        if (!own->Qt) {
          violations.push_back({relative.generic_string(), target});
        }
        continue;
      }
      const std::string targetFolder = FolderOf(fs::path(target));
      const std::optional<Layer> layer = LayerOf(targetFolder);
      if (!layer) {
        continue;  // a library header or a same-folder relative include
      }
      if (targetFolder != folder && layer->Rank >= own->Rank) {
        violations.push_back({relative.generic_string(), target});
      }
    }
  }
  return violations;
}

TEST(Layering, NoFileIncludesALayerAboveItsOwn) {
  const fs::path root = SourceRoot();
  ASSERT_TRUE(fs::is_directory(root / "engine")) << root;
  for (const Violation& v : UpwardIncludes(root)) {
    ADD_FAILURE() << v.File << " includes " << v.Include;
  }
}

TEST(Layering, TheCheckSeesAnUpwardInclude) {
  const fs::path root = fs::temp_directory_path() / "ampelsim_layering_probe";
  fs::remove_all(root);
  fs::create_directories(root / "engine");
  fs::create_directories(root / "reports");
  std::ofstream(root / "engine" / "probe.cpp") << "#include \"reports/report_document.h\"\n";
  std::ofstream(root / "reports" / "fine.cpp") << "#include \"engine/engine.h\"\n";
  const auto violations = UpwardIncludes(root);
  fs::remove_all(root);
  ASSERT_EQ(violations.size(), 1u);
  EXPECT_EQ(violations[0].File, "engine/probe.cpp");
}

}  // namespace
