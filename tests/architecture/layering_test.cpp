// The folders of src/ form layers; a file may include its own folder and the
// layers below it, never one above. Each folder is one library (a few have a
// second one beside it, or a program), and a library links exactly the
// libraries whose headers its files include: a link edge without an include
// hides a dependency that nobody sees, an include without its link edge only
// builds because something else links it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Folder (relative to src/) -> layer, and whether it may use Qt. Lower
// numbers sit lower; a folder may include its own files and any folder of a
// lower layer. A feature gets its core logic in layer 4 beside the reports
// and its windows in gui/<feature>, layer 8.
struct Layer {
  int Rank;
  bool Qt;
};

const std::map<std::string, Layer>& Layers() {
  static const std::map<std::string, Layer> layers = {
      {"data", {0, false}},     // data set model, codecs, loader
      {"display", {1, false}},  // the passive model of one signal head
      {"panel", {2, false}},    // the passive model of the operator panel
      {"engine", {3, false}},   // the controller, the cycle rules, the second record
      {"reports", {4, false}},  // formatters of the data set and of the record
      {"chart", {4, false}},    // features built on the record
      {"verify", {4, false}},
      {"traffic", {4, false}},
      {"planning", {4, false}},  // new junctions from stages
      {"sumo", {4, false}},
      {"app", {5, false}},         // Simulation, headless facade, report catalogue
      {"edit", {5, false}},        // the edit model: typed commands, undo, live findings
      {"optimise", {6, false}},    // fixed-time optimisation: Webster's plan, simulated refinement
      {"render", {6, true}},       // chart drawing on Qt Gui, shared by windows and CLI
      {"cli", {7, false}},         // ampelsim-cli
      {"gui/widgets", {7, true}},  // shared Qt controls (leaf of the windows)
      {"gui/shell", {7, true}},    // what the main window offers the features
      {"gui/dialogs", {8, true}},  // the windows of each subsystem and feature
      {"gui/data", {8, true}},
      {"gui/display", {8, true}},
      {"gui/engine", {8, true}},
      {"gui/reports", {8, true}},
      {"gui/chart", {8, true}},
      {"gui/verify", {8, true}},
      {"gui/traffic", {8, true}},
      {"gui/sumo", {8, true}},
      {"gui/edit", {8, true}},
      {"gui/app", {9, true}},  // composition root: main window, tick, main()
  };
  return layers;
}

std::optional<Layer> LayerOf(const std::string& folder) {
  const auto found = Layers().find(folder);
  if (found == Layers().end()) {
    return std::nullopt;
  }
  return found->second;
}

// The folder of a path relative to src/: "gui/engine/x.cpp" -> "gui/engine".
std::string FolderOf(const std::string& relative) {
  return fs::path(relative).parent_path().generic_string();
}

bool IsSource(const fs::path& path) {
  return path.extension() == ".h" || path.extension() == ".cpp";
}

fs::path SourceRoot() {
  const char* root = std::getenv("AMPELSIM_SOURCE_DIR");
  return fs::path(root != nullptr ? root : AMPELSIM_SOURCE_DIR) / "src";
}

// The quoted and angled includes of one file.
std::vector<std::string> IncludesOf(const fs::path& path) {
  static const std::regex include(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])");
  std::vector<std::string> includes;
  std::ifstream file(path);
  std::string line;
  std::smatch match;
  while (std::getline(file, line)) {
    if (std::regex_search(line, match, include)) {
      includes.push_back(match[1]);
    }
  }
  return includes;
}

bool IsQtHeader(const std::string& include) {
  return include.starts_with("Q") || include.starts_with("qt");
}

struct Violation {
  std::string File;
  std::string Include;
};

std::vector<Violation> UpwardIncludes(const fs::path& root) {
  std::vector<Violation> violations;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file() || !IsSource(entry.path())) {
      continue;
    }
    const std::string relative = fs::relative(entry.path(), root).generic_string();
    const std::string folder = FolderOf(relative);
    const std::optional<Layer> own = LayerOf(folder);
    if (!own) {
      violations.push_back({relative, "(folder without a layer)"});
      continue;
    }
    for (const std::string& target : IncludesOf(entry.path())) {
      if (target.find("../") != std::string::npos || target.starts_with("./")) {
        violations.push_back({relative, target + " (relative to the file)"});
        continue;
      }
      if (IsQtHeader(target)) {
        if (!own->Qt) {
          violations.push_back({relative, target});
        }
        continue;
      }
      const std::string targetFolder = FolderOf(target);
      const std::optional<Layer> layer = LayerOf(targetFolder);
      if (!layer) {
        continue;  // a library header
      }
      if (targetFolder != folder && layer->Rank >= own->Rank) {
        violations.push_back({relative, target});
      }
    }
  }
  return violations;
}

// One target as the build recorded it (see src/CMakeLists.txt).
struct Target {
  std::string Name;
  std::string Folder;                // relative to src/
  std::vector<std::string> Sources;  // relative to src/
  std::set<std::string> Links;
};

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  std::string part;
  while (std::getline(stream, part, separator)) {
    parts.push_back(part);
  }
  return parts;
}

std::vector<Target> ReadTargets(const fs::path& file, const fs::path& root) {
  std::vector<Target> targets;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    const std::vector<std::string> fields = Split(line, '|');
    if (fields.size() < 4) {
      continue;
    }
    Target target;
    target.Name = fields[0];
    const fs::path folder = fs::path(fields[2]);
    target.Folder = fs::relative(folder, root).generic_string();
    for (const std::string& source : Split(fields[3], ';')) {
      const fs::path path = fs::path(source).is_absolute() ? fs::path(source) : folder / source;
      target.Sources.push_back(fs::relative(path, root).generic_string());
    }
    if (fields.size() > 4) {
      for (const std::string& link : Split(fields[4], ';')) {
        target.Links.insert(link);
      }
    }
    targets.push_back(std::move(target));
  }
  return targets;
}

// The library of a folder: "gui/app" -> "ampelsim_gui_app".
std::string LibraryOf(const std::string& folder) {
  std::string name = "ampelsim_" + folder;
  std::replace(name.begin(), name.end(), '/', '_');
  return name;
}

std::string StemPath(const std::string& relative) {
  return fs::path(relative).replace_extension().generic_string();
}

// Compares every recorded target's own link libraries with what its files
// include; returns one text per disagreement.
std::vector<std::string> LinkDisagreements(const std::vector<Target>& targets,
                                           const fs::path& root) {
  std::set<std::string> names;
  std::map<std::string, std::string> ownerOfStem;  // "sumo/sumo_embedded" -> its target
  for (const Target& target : targets) {
    names.insert(target.Name);
    for (const std::string& source : target.Sources) {
      ownerOfStem[StemPath(source)] = target.Name;
    }
  }
  const auto providerOf = [&](const std::string& include) {
    const auto owner = ownerOfStem.find(StemPath(include));
    return owner != ownerOfStem.end() ? owner->second : LibraryOf(FolderOf(include));
  };

  std::vector<std::string> disagreements;
  for (const Target& target : targets) {
    const std::optional<Layer> layer = LayerOf(target.Folder);
    if (!layer) {
      disagreements.push_back(target.Name + ": folder " + target.Folder + " has no layer");
      continue;
    }
    // A folder's library owns every file of the folder that no other target lists.
    std::vector<fs::path> files;
    if (target.Name == LibraryOf(target.Folder)) {
      for (const auto& entry : fs::directory_iterator(root / target.Folder)) {
        const std::string relative = fs::relative(entry.path(), root).generic_string();
        if (IsSource(entry.path()) && providerOf(relative) == target.Name) {
          files.push_back(entry.path());
        }
      }
    } else {
      for (const std::string& source : target.Sources) {
        files.push_back(root / source);
      }
    }
    std::set<std::string> needed;
    for (const fs::path& file : files) {
      for (const std::string& include : IncludesOf(file)) {
        if (!IsQtHeader(include) && LayerOf(FolderOf(include)) &&
            providerOf(include) != target.Name) {
          needed.insert(providerOf(include));
        }
      }
    }
    std::set<std::string> linked;
    for (const std::string& link : target.Links) {
      if (names.contains(link)) {
        linked.insert(link);
      }
      if (!layer->Qt && link.starts_with("Qt")) {
        disagreements.push_back(target.Name + " links " + link + " below the Qt layers");
      }
    }
    for (const std::string& library : needed) {
      if (!linked.contains(library)) {
        disagreements.push_back(target.Name + " includes " + library + " without linking it");
      }
    }
    for (const std::string& library : linked) {
      if (!needed.contains(library)) {
        disagreements.push_back(target.Name + " links " + library + " without including it");
      }
    }
  }
  return disagreements;
}

TEST(Layering, NoFileIncludesALayerAboveItsOwn) {
  const fs::path root = SourceRoot();
  ASSERT_TRUE(fs::is_directory(root / "engine")) << root;
  for (const Violation& v : UpwardIncludes(root)) {
    ADD_FAILURE() << v.File << " includes " << v.Include;
  }
}

TEST(Layering, EveryLibraryLinksWhatItIncludesAndNothingElse) {
  const fs::path root = SourceRoot();
  const std::vector<Target> targets = ReadTargets(AMPELSIM_LAYER_TARGETS_FILE, root);
  ASSERT_GE(targets.size(), 10u) << AMPELSIM_LAYER_TARGETS_FILE;
  for (const std::string& disagreement : LinkDisagreements(targets, root)) {
    ADD_FAILURE() << disagreement;
  }
}

class LayeringProbe : public testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(root_);
    for (const char* folder : {"engine", "reports", "gui/engine"}) {
      fs::create_directories(root_ / folder);
    }
  }
  void TearDown() override { fs::remove_all(root_); }
  void Write(const std::string& file, const std::string& text) {
    std::ofstream(root_ / file) << text;
  }

  // One folder per test: ctest runs the two probes at the same time.
  fs::path root_ = fs::temp_directory_path() /
                   ("ampelsim_layering_probe_" +
                    std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
};

TEST_F(LayeringProbe, SeesUpwardRelativeAndQtIncludes) {
  Write("engine/up.cpp", "#include \"reports/report_document.h\"\n");
  Write("engine/relative.cpp", "#include \"../data/limits.h\"\n");
  Write("engine/qt.cpp", "#include <QString>\n");
  Write("reports/fine.cpp", "#include \"engine/engine.h\"\n#include <string>\n");
  Write("gui/engine/fine.cpp", "#include <QWidget>\n#include \"engine/engine.h\"\n");
  std::vector<std::string> files;
  for (const Violation& v : UpwardIncludes(root_)) {
    files.push_back(v.File);
  }
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files,
            (std::vector<std::string>{"engine/qt.cpp", "engine/relative.cpp", "engine/up.cpp"}));
}

TEST_F(LayeringProbe, SeesMissingAndNeedlessLinks) {
  Write("engine/engine.cpp", "#include \"engine/engine.h\"\n");
  Write("reports/a.cpp", "#include \"engine/engine.h\"\n");
  Write("gui/engine/w.cpp", "#include \"engine/engine.h\"\n");
  const std::vector<Target> targets = {
      {"ampelsim_engine", "engine", {"engine/engine.cpp"}, {"ampelsim_reports"}},
      {"ampelsim_reports", "reports", {"reports/a.cpp"}, {"Qt6::Core"}},
      {"ampelsim_gui_engine",
       "gui/engine",
       {"gui/engine/w.cpp"},
       {"ampelsim_engine", "Qt6::Widgets"}},
  };
  std::vector<std::string> found = LinkDisagreements(targets, root_);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{
                       "ampelsim_engine links ampelsim_reports without including it",
                       "ampelsim_reports includes ampelsim_engine without linking it",
                       "ampelsim_reports links Qt6::Core below the Qt layers",
                   }));
}

}  // namespace
