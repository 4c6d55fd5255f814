#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "harness.h"
#include "test_support/file_fault_support.h"
#include "test_support/test_files.h"

namespace ampelsim {
namespace {

namespace fs = std::filesystem;

using Replay = void (*)(std::span<const std::uint8_t>, const fs::path&);

// The targets without files get the same signature as the others.
void Decoders(std::span<const std::uint8_t> input, const fs::path&) {
  fuzz::FuzzDecoders(input);
}
void Scenario(std::span<const std::uint8_t> input, const fs::path&) {
  fuzz::FuzzScenario(input);
}
void JunctionSpec(std::span<const std::uint8_t> input, const fs::path&) {
  fuzz::FuzzJunctionSpec(input);
}
void IntergreenGeometry(std::span<const std::uint8_t> input, const fs::path&) {
  fuzz::FuzzIntergreenGeometry(input);
}
void TrafficFile(std::span<const std::uint8_t> input, const fs::path&) {
  fuzz::FuzzTrafficFile(input);
}
#ifdef AMPELSIM_FUZZ_SUMO_MAPPING
void SumoMapping(std::span<const std::uint8_t> input, const fs::path&) {
  fuzz::FuzzSumoMapping(input);
}
#endif
void SumoNetwork(std::span<const std::uint8_t> input, const fs::path&) {
  fuzz::FuzzSumoNetwork(input);
}
#ifdef AMPELSIM_FUZZ_DATA_SET_JSON
void DataSetJson(std::span<const std::uint8_t> input, const fs::path&) {
  fuzz::FuzzDataSetJson(input);
}
void EditPatch(std::span<const std::uint8_t> input, const fs::path&) {
  fuzz::FuzzEditPatch(input);
}
void Stages(std::span<const std::uint8_t> input, const fs::path&) {
  fuzz::FuzzStages(input);
}
#endif

struct FuzzTarget {
  const char* Name;
  Replay Run;
};

constexpr FuzzTarget Targets[] = {
    {"decoders", &Decoders},
    {"loader", &fuzz::FuzzLoader},
    {"scenario", &Scenario},
    {"reports", &fuzz::FuzzReports},
    {"simulation", &fuzz::FuzzSimulation},
    {"junction_spec", &JunctionSpec},
    {"intergreen_geometry", &IntergreenGeometry},
    {"traffic_file", &TrafficFile},
#ifdef AMPELSIM_FUZZ_SUMO_MAPPING
    {"sumo_mapping", &SumoMapping},
#endif
    {"sumo_network", &SumoNetwork},
#ifdef AMPELSIM_FUZZ_DATA_SET_JSON
    {"data_set_json", &DataSetJson},
    {"edit_patch", &EditPatch},
    {"stages", &Stages},
#endif
};

struct StoredInput {
  FuzzTarget Target;
  fs::path File;
};

void PrintTo(const StoredInput& input, std::ostream* out) {
  *out << input.File;
}

// fuzz/<folder>/<target>/*: the seed corpus, or the inputs of past findings.
std::vector<StoredInput> StoredInputs(const char* folder) {
  std::vector<StoredInput> inputs;
  for (const auto& target : Targets) {
    const fs::path directory = fs::path(AMPELSIM_FUZZ_DIR) / folder / target.Name;
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(directory, error)) {
      if (entry.is_regular_file()) {
        files.push_back(entry.path());
      }
    }
    std::sort(files.begin(), files.end());
    for (auto& file : files) {
      inputs.push_back({target, std::move(file)});
    }
  }
  return inputs;
}

std::string TestName(const ::testing::TestParamInfo<StoredInput>& info) {
  std::string name =
      std::string(info.param.Target.Name) + "_" + info.param.File.filename().string();
  std::replace_if(
      name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c) == 0; }, '_');
  return name;
}

// A crash, a sanitizer report or a broken property (which aborts) fails it,
// and so does a hang, since a past finding was one: each input runs in a
// child process with a time limit.
class ReplayInput : public ::testing::TestWithParam<StoredInput> {};

TEST_P(ReplayInput, RunsClean) {
  const test::TempDir scratch;
  const auto bytes = test::ReadBytes(GetParam().File);
  const std::string verdict = test::RunWithTimeLimit(60, [&]() -> std::string {
    try {
      GetParam().Target.Run(bytes, scratch.Path());
    } catch (const std::exception& error) {
      return error.what();
    }
    return "";
  });
  EXPECT_EQ(verdict, "");
}

INSTANTIATE_TEST_SUITE_P(Seeds, ReplayInput, ::testing::ValuesIn(StoredInputs("corpus")), TestName);
INSTANTIATE_TEST_SUITE_P(PastFindings, ReplayInput,
                         ::testing::ValuesIn(StoredInputs("regressions")), TestName);

// Without this a missing or emptied folder of findings would replay nothing
// and pass; a file outside a target's folder would be skipped as well.
TEST(FindingsFolder, HoldsInputsOfKnownTargetsOnly) {
  const fs::path folder = fs::path(AMPELSIM_FUZZ_DIR) / "regressions";
  ASSERT_TRUE(fs::is_directory(folder)) << folder;
  EXPECT_FALSE(StoredInputs("regressions").empty()) << "no input in " << folder;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(entry.is_directory() &&
                std::any_of(std::begin(Targets), std::end(Targets),
                            [&](const FuzzTarget& target) { return name == target.Name; }))
        << entry.path() << " is not the folder of a fuzz target";
  }
}

// Each target has seeds, so the replay above covers all of them.
TEST(SeedCorpus, EveryTargetHasSeeds) {
  const auto seeds = StoredInputs("corpus");
  for (const auto& target : Targets) {
    EXPECT_TRUE(std::any_of(seeds.begin(), seeds.end(), [&](const StoredInput& seed) {
      return std::string(seed.Target.Name) == target.Name;
    })) << target.Name;
  }
}

}  // namespace
}  // namespace ampelsim
