#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "chart/actual_chart.h"
#include "chart/planned_chart.h"
#include "data/data_set_loader.h"
#include "engine/state_at.h"
#include "render/chart_export.h"
#include "render/chart_renderer.h"

namespace {

std::string DemoDirectory() {
  const char* fromEnvironment = std::getenv("AMPELSIM_DEMO_DIR");
  return fromEnvironment != nullptr ? fromEnvironment : AMPELSIM_DEMO_DIR;
}

std::unique_ptr<ampelsim::ControllerDataSet> Demo() {
  auto data = std::make_unique<ampelsim::ControllerDataSet>();
  ampelsim::DataSetLoader loader;
  loader.Load(*data, DemoDirectory());
  return data;
}

// The longest program of the demo: P4, 100 s.
constexpr int LongestProgram = 4;

void BM_PlannedChartModelP4(benchmark::State& state) {
  const auto data = Demo();
  for (auto _ : state) {
    auto chart =
        ampelsim::PlannedChart(*data, ampelsim::PlannedChartKind::SignalProgram, LongestProgram);
    benchmark::DoNotOptimize(chart);
  }
}
BENCHMARK(BM_PlannedChartModelP4)->Unit(benchmark::kMicrosecond);

// Model, painting and PNG file, as `ampelsim-cli chart Demo --program 4`
// does after loading.
void BM_PlannedChartPngP4(benchmark::State& state) {
  const auto data = Demo();
  const std::string path =
      (std::filesystem::temp_directory_path() / "ampelsim_bench_p4.png").string();
  for (auto _ : state) {
    const auto chart =
        ampelsim::PlannedChart(*data, ampelsim::PlannedChartKind::SignalProgram, LongestProgram);
    ampelsim::ExportChart(*chart, path);
  }
  state.counters["png_bytes"] = static_cast<double>(std::filesystem::file_size(path));
  std::filesystem::remove(path);
}
BENCHMARK(BM_PlannedChartPngP4)->Unit(benchmark::kMillisecond);

// What the live window does each second: the model of the last three cycles
// of P4 and one paint of it at window size.
void BM_LiveChartSecond(benchmark::State& state) {
  const auto data = Demo();
  ampelsim::ActualChartRecorder recorder;
  for (int s = 0; s < 3600; ++s) {
    ampelsim::SecondRecord record;
    record.Program = LongestProgram;
    record.CycleTime = 100;
    record.TimePoint = s % 100;
    for (int g = 0; g < data->GeneralData.GroupCount; ++g) {
      record.GroupState[static_cast<std::size_t>(g)] =
          ampelsim::StateAt(*data, LongestProgram - 1, g, record.TimePoint);
    }
    record.DetectorSeen[3] = s % 7 == 0 ? 1 : 0;
    recorder.OnSecond(record);
  }
  QImage image(1280, 520, QImage::Format_RGB32);
  for (auto _ : state) {
    const ampelsim::ChartModel chart = recorder.Chart(*data, 3600 - 300, 3600);
    const ampelsim::ChartLayout layout(chart,
                                       ampelsim::ChartLayout::FitPixelsPerSecond(chart, 1260));
    QPainter painter(&image);
    ampelsim::PaintChart(painter, chart, layout);
  }
}
BENCHMARK(BM_LiveChartSecond)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  const ampelsim::ChartPainting painting;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
