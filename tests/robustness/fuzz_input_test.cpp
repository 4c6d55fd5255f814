#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <variant>

#include "app/scenario_script.h"
#include "data_image.h"
#include "simulation_input.h"
#include "test_support/test_files.h"

namespace ampelsim {
namespace {

using fuzz::DataImage;

// A data image whose bytes are non-zero with the given density.
DataImage SparseRandomImage(std::uint32_t seed, int percentNonZero) {
  DataImage image = fuzz::ZeroImage();
  const auto noise = test::RandomBytes(64 * 1024, seed);
  std::size_t n = 0;
  for (auto& file : image) {
    for (auto& byte : file) {
      const std::uint8_t r = noise[n++ % noise.size()];
      if (r % 100 < percentNonZero) {
        byte = static_cast<std::uint8_t>(r | 1);
      }
    }
  }
  return image;
}

struct ImageCase {
  std::uint32_t Seed;
  int PercentNonZero;
};

class SparseImage : public ::testing::TestWithParam<ImageCase> {};

TEST_P(SparseImage, RunsGiveTheImageBack) {
  const DataImage image = SparseRandomImage(GetParam().Seed, GetParam().PercentNonZero);
  EXPECT_EQ(fuzz::ReadSparseImage(fuzz::WriteSparseImage(image)), image);
}

INSTANTIATE_TEST_SUITE_P(Densities, SparseImage,
                         ::testing::Values(ImageCase{1, 0}, ImageCase{2, 1}, ImageCase{3, 10},
                                           ImageCase{4, 50}, ImageCase{5, 100}),
                         [](const auto& param) {
                           return std::to_string(param.param.PercentNonZero) + "PercentNonZero";
                         });

TEST(SparseImage, AnyBytesGiveFilesOfTheirExactSizes) {
  for (std::uint32_t seed = 0; seed < 20; ++seed) {
    const DataImage image = fuzz::ReadSparseImage(test::RandomBytes(seed * 97, seed));
    for (std::size_t f = 0; f < image.size(); ++f) {
      EXPECT_EQ(image[f].size(), DataFiles[f].Size);
    }
  }
}

TEST(SimulationInput, AScriptSurvivesTheByteForm) {
  const auto parsed = ParseScenario(
      "1 press Start\n2.5 detector 3 down shift\n3 detector 3 up\n40 lamp 24 yellow\n"
      "50 set Rot off\n60 program P6\n90 clock 2024-03-10 23:59:00\n100 load Demo\n"
      "101 load elsewhere\n700 up Anf2 shift\n");
  ASSERT_TRUE(parsed);
  fuzz::SimulationInput input;
  input.OutputsForced = true;
  input.StoreIsNamedPipe = true;
  input.Ticks = 4321;
  input.StartMinuteOfWeek = 6 * 24 * 60 + 5;
  input.Image = SparseRandomImage(9, 2);
  input.Events = parsed.Value();

  const auto bytes = fuzz::WriteSimulationInput(input, "Demo");
  const auto read = fuzz::ReadSimulationInput(bytes, "Demo", "gone");
  EXPECT_EQ(read.OutputsForced, true);
  EXPECT_EQ(read.PreviewExists, false);
  EXPECT_EQ(read.StoreIsNamedPipe, true);
  EXPECT_EQ(read.Ticks, 4321);
  EXPECT_EQ(read.StartMinuteOfWeek, input.StartMinuteOfWeek);
  EXPECT_EQ(read.Image, input.Image);
  ASSERT_EQ(read.Events.Events.size(), input.Events.Events.size());
  for (std::size_t i = 0; i < read.Events.Events.size(); ++i) {
    EXPECT_EQ(read.Events.Events[i].Tick, input.Events.Events[i].Tick) << i;
    EXPECT_EQ(read.Events.Events[i].Command.index(), input.Events.Events[i].Command.index()) << i;
  }
  EXPECT_EQ(std::get<scenario::LoadData>(read.Events.Events[8].Command).Directory, "Demo");
  EXPECT_EQ(std::get<scenario::LoadData>(read.Events.Events[9].Command).Directory, "gone");
  // A clock command keeps its weekday and time of day (the week may differ).
  const LocalTime moment = std::get<scenario::SetClock>(read.Events.Events[7].Command).Moment;
  EXPECT_EQ(ShortDateText(moment).size(), 8u);
  EXPECT_EQ(LongTimeText(moment), "23:59:00");
  EXPECT_EQ(std::chrono::weekday(std::chrono::floor<std::chrono::days>(moment)),
            std::chrono::Sunday);
  EXPECT_EQ(fuzz::WriteSimulationInput(read, "Demo"), bytes);
}

TEST(SimulationInput, RunsAreBoundedWhateverTheBytes) {
  for (std::uint32_t seed = 0; seed < 20; ++seed) {
    const auto read = fuzz::ReadSimulationInput(test::RandomBytes(seed * 131, seed), "d", "m");
    EXPECT_LE(read.Ticks, fuzz::SimulationInput::MaxTicks);
    EXPECT_LT(read.StartMinuteOfWeek, 7 * 24 * 60);
  }
}

// The input of the past finding still expresses it in the current layout.
TEST(SimulationInput, TheNamedPipeFindingStillMakesAPipe) {
  const auto bytes = test::ReadBytes(std::filesystem::path(AMPELSIM_FUZZ_DIR) /
                                     "regressions/simulation/daten_sto_named_pipe");
  const auto read = fuzz::ReadSimulationInput(bytes, "d", "m");
  EXPECT_TRUE(read.StoreIsNamedPipe);
  EXPECT_FALSE(read.Events.Events.empty());
}

}  // namespace
}  // namespace ampelsim
