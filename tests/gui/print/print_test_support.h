#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QByteArray>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "app/simulation.h"
#include "data/windows1252.h"
#include "engine/clock.h"
#include "gui/app/program_windows.h"
#include "gui/reports/preview_font.h"
#include "reports/report_document.h"
#include "gui/app/app_test_support.h"

namespace ampelsim::test {

using ReportWriter = ReportStatus (*)(ReportDocument& report, const ReportContext& context);

inline QAbstractButton* Button(ui::ProgramWindows& windows, const QString& name) {
  auto* button = windows.FormSteuer.findChild<QAbstractButton*>(name);
  if (button == nullptr) {
    throw std::runtime_error("no button " + name.toStdString());
  }
  return button;
}

inline QAction* Action(ui::ProgramWindows& windows, const QString& name) {
  auto* action = windows.FormSteuer.findChild<QAction*>(name);
  if (action == nullptr) {
    throw std::runtime_error("no menu entry " + name.toStdString());
  }
  return action;
}

inline void Tick(ui::ProgramWindows& windows, int ticks) {
  for (int i = 0; i < ticks; ++i) {
    windows.Ticks.HMSTimer();
  }
}

// The demo junction as the build makes it, copied over the start
// directory's "Demo" folder before the program starts.
inline void UseDemoJunction(const StartDirectory& start) {
  const char* binary = std::getenv("AMPELSIM_BINARY_DIR");
  if (binary == nullptr) {
    throw std::runtime_error("AMPELSIM_BINARY_DIR is not set; run the test through ctest");
  }
  const std::filesystem::path demo = std::filesystem::path(binary) / "Demo";
  for (const auto& file : std::filesystem::directory_iterator(demo)) {
    std::filesystem::copy_file(file.path(), start.Demo() / file.path().filename(),
                               std::filesystem::copy_options::overwrite_existing);
  }
}

inline QString FromWindows1252(const std::string& text) {
  return QString::fromStdString(Windows1252ToUtf8(text));
}

// The report as a writer makes it, in the form the preview shows it.
inline QString ReportAsShown(Simulation& simulation, ReportWriter writer) {
  ReportDocument report;
  writer(report, simulation.ReportView());
  QString text = FromWindows1252(report.ReportText());
  text.chop(text.endsWith(QLatin1Char('\n')) ? 1 : 0);
  return text;
}

// Runs a poppler tool and returns its standard output; empty on failure.
inline QByteArray RunTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    return {};
  }
  return process.readAllStandardOutput();
}

// The value of one field of `pdfinfo`, e.g. "Pages" or "Title".
inline QString PdfInfo(const QString& pdf, const QString& field) {
  const QString info = QString::fromUtf8(RunTool(QStringLiteral("pdfinfo"), {pdf}));
  for (const QString& line : info.split(QLatin1Char('\n'))) {
    if (line.startsWith(field + QLatin1Char(':'))) {
      return line.mid(field.size() + 1).trimmed();
    }
  }
  return {};
}

// Where the printer puts the characters of the print font, in points: the
// corner of the printable area, the width of a character and of a line.
struct PrintGrid {
  double Left = 0.0;
  double Top = 0.0;
  double Pitch = 1.0;
  double LineHeight = 1.0;
};

inline PrintGrid GridOf(QPrinter& printer) {
  const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Point);
  const QFontMetricsF metrics(ui::PreviewPrintFont(), &printer);
  const double toPoints = 72.0 / printer.resolution();
  return PrintGrid{paint.left(), paint.top(),
                   metrics.horizontalAdvance(QLatin1Char('M')) * toPoints,
                   metrics.lineSpacing() * toPoints};
}

// Lines as they stand on paper: blanks at their ends leave no trace, and
// neither do empty lines below the last printed one.
inline QStringList AsOnPaper(QStringList lines) {
  for (QString& line : lines) {
    while (line.endsWith(QLatin1Char(' '))) {
      line.chop(1);
    }
  }
  while (!lines.isEmpty() && lines.back().isEmpty()) {
    lines.removeLast();
  }
  return lines;
}

// The pages of a PDF file read back with `pdftotext -bbox`: every word is put
// at the line and column of the print grid where it stands. offGrid counts
// the words that stand between two grid positions (none for a fixed-pitch
// printout).
inline QList<QStringList> PdfPages(const QString& pdf, const PrintGrid& grid, int* offGrid) {
  *offGrid = 0;
  const QString xml = QString::fromUtf8(
      RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
  const QRegularExpression wordPattern(QStringLiteral(
      R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="[-0-9.]+" yMax="[-0-9.]+">([^<]*)</word>)re"));
  QList<QStringList> pages;
  for (const QString& page : xml.split(QStringLiteral("<page ")).mid(1)) {
    QStringList lines;
    auto matches = wordPattern.globalMatch(page);
    while (matches.hasNext()) {
      const auto match = matches.next();
      const double column = (match.captured(1).toDouble() - grid.Left) / grid.Pitch;
      const double row = (match.captured(2).toDouble() - grid.Top) / grid.LineHeight;
      if (std::abs(column - std::round(column)) > 0.2 || std::abs(row - std::round(row)) > 0.2 ||
          column < -0.5 || row < -0.5) {
        ++*offGrid;
        continue;
      }
      QString word = match.captured(3);
      word.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
          .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
          .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
          .replace(QStringLiteral("&apos;"), QStringLiteral("'"))
          .replace(QStringLiteral("&#39;"), QStringLiteral("'"))
          .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
      const auto lineIndex = static_cast<qsizetype>(std::lround(row));
      const auto at = static_cast<qsizetype>(std::lround(column));
      while (lines.size() <= lineIndex) {
        lines.append(QString());
      }
      QString& line = lines[lineIndex];
      if (line.size() < at + word.size()) {
        line = line.leftJustified(at + word.size(), QLatin1Char(' '));
      }
      line.replace(at, word.size(), word);
    }
    pages.append(AsOnPaper(lines));
  }
  return pages;
}

}  // namespace ampelsim::test

namespace ampelsim::test {

// The simulated clock stands still enough for a test: it runs on from a
// whole minute, so every report head built within the test shows 10:00.
inline void FixClock(ui::ProgramWindows& windows) {
  const auto moment = ParseLocalTime("2024-05-06 10:00:00");
  if (!moment) {
    throw std::runtime_error("bad moment");
  }
  windows.FormSteuer.Sim().SimClock().SetSimulatedNow(*moment);
}

}  // namespace ampelsim::test
