// The one drawing of a chart as it lands in files: pixels of a PNG at the
// columns of known seconds, an SVG that parses, a PDF whose text pdftotext
// reads back.

#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QXmlStreamReader>
#include <cstdio>
#include <memory>
#include <string>

#include "chart/planned_chart.h"
#include "render/chart_export.h"
#include "render/chart_renderer.h"
#include "test_support/test_files.h"

namespace ampelsim {
namespace {

// Program 1, 20 s: G. 1 green 15..5 with 1 s red/yellow and 3 s yellow,
// G. 2 (head 12) green 8..12 without yellow times.
ChartModel KnownChart() {
  auto data = std::make_unique<ControllerDataSet>();
  data->GeneralData.GroupCount = 2;
  data->HeadNumbers = {11, 12};
  SignalProgram& p = data->SignalPrograms[0];
  p.CycleTime = 20;
  p.GreenBegin1 = {15, 8};
  p.GreenEnd1 = {5, 12};
  p.RedYellowTime[0] = 1;
  p.YellowTime[0] = 3;
  return *PlannedChart(*data, PlannedChartKind::SignalProgram, 1);
}

bool Near(QColor actual, QColor expected) {
  return std::abs(actual.red() - expected.red()) <= 8 &&
         std::abs(actual.green() - expected.green()) <= 8 &&
         std::abs(actual.blue() - expected.blue()) <= 8;
}

struct PixelCase {
  int Row;
  int Second;
  double Height;  // 0 top of the bar .. 1 bottom
  QColor Expected;
};

TEST(ChartRender, PngHasTheStateColoursAtTheirSeconds) {
  test::TempDir dir;
  const std::string path = (dir / "p1.png").string();
  const ChartModel chart = KnownChart();
  ASSERT_EQ(ExportChart(chart, path), ChartExportStatus::Written);
  QImage image(QString::fromStdString(path));
  ASSERT_FALSE(image.isNull());
  // Short cycles are drawn at 14 px a second behind a 14 px margin and the
  // 120 px label column.
  const ChartLayout layout(chart, ChartLayout::ExportPixelsPerSecond(chart));
  ASSERT_EQ(layout.PixelsPerSecond(), 14.0);
  ASSERT_EQ(layout.X(0), 134.0);
  EXPECT_EQ(image.size(), layout.Size());

  const QColor green(0, 160, 0), yellow(255, 200, 0), red(210, 0, 0), white(255, 255, 255);
  const PixelCase cases[] = {
      {0, 0, 0.5, green},  {0, 4, 0.2, green},   {0, 5, 0.2, yellow}, {0, 7, 0.8, yellow},
      {0, 10, 0.5, red},   {0, 10, 0.15, white}, {0, 14, 0.2, red},   {0, 14, 0.8, yellow},
      {0, 15, 0.5, green}, {0, 19, 0.8, green},  {1, 7, 0.5, red},    {1, 8, 0.2, green},
      {1, 11, 0.8, green}, {1, 12, 0.5, red},    {1, 12, 0.2, white},
  };
  for (const PixelCase& c : cases) {
    const QRectF band = layout.RowBand(c.Row);
    // The bar of a row lies below its band of marks.
    const double top = band.top() + 13.0;
    const int x = static_cast<int>(layout.X(c.Second + 0.5));
    const int y = static_cast<int>(top + 16.0 * c.Height);
    EXPECT_TRUE(Near(image.pixelColor(x, y), c.Expected))
        << "row " << c.Row << " second " << c.Second << " at " << x << "," << y << ": "
        << image.pixelColor(x, y).name().toStdString();
  }
}

TEST(ChartRender, SvgParsesAndHoldsTheTexts) {
  test::TempDir dir;
  const std::string path = (dir / "p1.svg").string();
  ASSERT_EQ(ExportChart(KnownChart(), path), ChartExportStatus::Written);
  QFile file(QString::fromStdString(path));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  QString text;
  bool svgRoot = false;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement() && xml.name() == QStringLiteral("svg")) {
      svgRoot = true;
    }
    if (xml.isCharacters()) {
      text += xml.text();
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_TRUE(svgRoot);
  EXPECT_TRUE(text.contains(QStringLiteral("Signalzeitenplan P1 – Umlaufzeit 20 s")));
  EXPECT_TRUE(text.contains(QStringLiteral("G. 2")));
  EXPECT_TRUE(text.contains(QStringLiteral("K. 12")));
}

std::string PdfText(const std::string& path) {
  const std::string command = "pdftotext '" + path + "' - 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return {};
  }
  std::string out;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
    out.append(buffer, n);
  }
  pclose(pipe);
  return out;
}

TEST(ChartRender, PdfTextHoldsTitleAndGroupLabels) {
  test::TempDir dir;
  const std::string path = (dir / "p1.PDF").string();  // the extension in any case
  ASSERT_EQ(ExportChart(KnownChart(), path), ChartExportStatus::Written);
  const std::string text = PdfText(path);
  EXPECT_NE(text.find("Signalzeitenplan P1 – Umlaufzeit 20 s"), std::string::npos) << text;
  for (const char* label : {"G. 1", "G. 2", "K. 11", "K. 12"}) {
    EXPECT_NE(text.find(label), std::string::npos) << label;
  }
}

TEST(ChartRender, ExportRefusesUnknownTypesAndUnwritablePlaces) {
  test::TempDir dir;
  EXPECT_EQ(ExportChart(KnownChart(), (dir / "p1.gif").string()), ChartExportStatus::UnknownFormat);
  EXPECT_EQ(ExportChart(KnownChart(), (dir / "png").string()), ChartExportStatus::UnknownFormat);
  EXPECT_EQ(ExportChart(KnownChart(), (dir / "missing" / "p1.png").string()),
            ChartExportStatus::NotWritable);
  EXPECT_FALSE(std::filesystem::exists(dir / "p1.gif"));
}

TEST(ChartRender, ExportScaleFollowsTheLength) {
  const struct {
    std::int64_t Seconds;
    double PixelsPerSecond;
  } cases[] = {{20, 14.0}, {90, 14.0}, {600, 3.0}, {3600, 2.0}, {86400, 16000.0 / 86400}};
  for (const auto& c : cases) {
    ChartModel chart;
    chart.AxisEnd = c.Seconds;
    chart.Rows.push_back({"G. 1", "K. 1", {{0, c.Seconds, Green}}, {}, {}});
    const ChartLayout layout(chart, ChartLayout::ExportPixelsPerSecond(chart));
    EXPECT_DOUBLE_EQ(layout.PixelsPerSecond(), c.PixelsPerSecond) << c.Seconds;
    EXPECT_LE(layout.Size().width(), 16000 + 200) << c.Seconds;
  }
}

TEST(ChartRender, HoverFindsMarksAndLines) {
  const ChartModel chart = KnownChart();
  ChartModel marked = chart;
  marked.Rows[1].Marks.push_back({9, ChartMarkKind::QueryPoint, "AP1", "Abfragepunkt 1: 9 s"});
  marked.Lines.push_back({4, ChartLineKind::ProgramPoint, "GSP1", "Programmwechselpunkt 1: 4 s"});
  const ChartLayout layout(marked, 14.0);
  const QRectF band = layout.RowBand(1);
  EXPECT_EQ(ChartDetailAt(marked, layout, {layout.X(9.5), band.top() + 6}).toStdString(),
            "Abfragepunkt 1: 9 s");
  EXPECT_EQ(ChartDetailAt(marked, layout, {layout.X(4), band.top() + 20}).toStdString(),
            "Programmwechselpunkt 1: 4 s");
  EXPECT_TRUE(ChartDetailAt(marked, layout, {layout.X(15.5), band.top() + 6}).isEmpty());
  // Of two marks a second (4 px) apart, the one under the pointer.
  marked.Rows[1].Marks.push_back({10, ChartMarkKind::Fault, "!", "Störung"});
  const ChartLayout narrow(marked, 4.0);
  const double top = narrow.RowBand(1).top() + 6;
  EXPECT_EQ(ChartDetailAt(marked, narrow, {narrow.X(10.5) - 1, top}).toStdString(), "Störung");
  EXPECT_EQ(ChartDetailAt(marked, narrow, {narrow.X(9.5) + 1, top}).toStdString(),
            "Abfragepunkt 1: 9 s");
}

// A fault and a detector pulse in neighbouring seconds: on the fault's dot
// the fault speaks, above the bar the nearer mark.
TEST(ChartRender, HoverOnTheFaultDotShowsTheFault) {
  ChartModel chart = KnownChart();
  chart.Rows[0].Marks.push_back({9, ChartMarkKind::Detector, "*", "Melder G. 1"});
  chart.Rows[0].Marks.push_back({10, ChartMarkKind::Fault, "!", "Störung: Rot defekt"});
  const ChartLayout layout(chart, 4.0);
  const QRectF bar = layout.BarArea(0, 10, 11);
  EXPECT_EQ(ChartDetailAt(chart, layout, {layout.X(9.5), bar.center().y()}).toStdString(),
            "Störung: Rot defekt");
  EXPECT_EQ(
      ChartDetailAt(chart, layout, {layout.X(9.5), layout.RowBand(0).top() + 6}).toStdString(),
      "Melder G. 1");
}

}  // namespace
}  // namespace ampelsim

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const ampelsim::ChartPainting painting;
  return RUN_ALL_TESTS();
}
