#pragma once

#include <memory>
#include <optional>
#include <string>

#include "chart/chart_model.h"
#include "chart/chart_sheet.h"

namespace ampelsim {

// The file kinds a chart is written to, told by the file name's extension.
enum class ChartFileFormat { Png, Svg, Pdf };

// .png, .svg or .pdf in any case; nothing for any other name.
std::optional<ChartFileFormat> ChartFileFormatOf(const std::string& path);

enum class ChartExportStatus { Written, UnknownFormat, NotWritable };

// Writes the chart as the windows draw it, at the export scale; a PDF is one
// page of the chart's own size. Needs a QGuiApplication (see ChartPainting).
ChartExportStatus ExportChart(const ChartModel& chart, const std::string& path);

// Writes the chart on its sheet with title block and tables, as it is
// printed (render/sheet_renderer.h): PNG and SVG at the sheet's size, PDF on
// an A4 landscape page.
ChartExportStatus ExportSheet(const ChartModel& chart, const ChartSheet& sheet,
                              const std::string& path);

// Painting needs a GUI application for its fonts. A program without windows
// makes one of these first: it creates a QGuiApplication unless one exists,
// on the offscreen platform when none is chosen, so no display is needed.
class ChartPainting {
 public:
  ChartPainting();
  ~ChartPainting();
  ChartPainting(const ChartPainting&) = delete;
  ChartPainting& operator=(const ChartPainting&) = delete;

 private:
  struct Application;
  std::unique_ptr<Application> application_;
};

}  // namespace ampelsim
