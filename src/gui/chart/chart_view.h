#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "chart/chart_model.h"
#include "chart/chart_sheet.h"
#include "render/chart_renderer.h"

namespace ampelsim {
class Simulation;
}

namespace ampelsim::ui {

// Who signs a printed sheet, as the settings name them.
struct SheetAuthors {
  QString Author;   // Bearbeiter
  QString Company;  // Firma
};
using SheetAuthorsSource = std::function<SheetAuthors()>;

// The origin of a sheet printed now: today's date, the loaded data set's
// folder name and the authors from `authors` (none when it is empty).
SheetOrigin SheetOriginNow(const Simulation& simulation, const SheetAuthorsSource& authors);

// Draws one chart with the shared renderer, fitted to its width down to the
// smallest readable scale (below that the scroll area around it scrolls).
// Hovering a mark, line or bracket shows its text.
class ChartView final : public QWidget {
  Q_OBJECT

 public:
  explicit ChartView(QWidget* parent = nullptr);

  void SetChart(ChartModel chart);
  const ChartModel& Chart() const { return chart_; }
  // The scale the chart is drawn at now, pixels per second.
  double PixelsPerSecond() const;
  // Marks the second of a row (a finding opened from the verification)
  // until it is cleared; the chart may change underneath.
  void MarkSecond(int row, std::int64_t second);
  void ClearMark();
  std::optional<std::pair<int, std::int64_t>> Mark() const { return mark_; }
  // Where the mark is drawn, in the view's coordinates; empty without one.
  QRectF MarkArea() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void Relayout();

  ChartModel chart_;
  std::optional<ChartLayout> layout_;
  std::optional<std::pair<int, std::int64_t>> mark_;
};

}  // namespace ampelsim::ui
