#include "auswertung_layout_test.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest>

#include "app/simulation.h"
#include "app_test_support.h"
#include "engine/engine_state.h"
#include "gui/app/program_windows.h"

namespace ampelsim::test {
namespace {

using ui::ProgramWindows;

void Tick(ProgramWindows& windows, int ticks) {
  for (int i = 0; i < ticks; ++i) {
    windows.Ticks.HMSTimer();
  }
}

// The start directory's data set becomes the built demo junction.
void UseBuiltDemo(const StartDirectory& start) {
  const std::filesystem::path demo =
      qEnvironmentVariable("AMPELSIM_BINARY_DIR").toStdString() + "/Demo";
  for (const auto& entry : std::filesystem::directory_iterator(demo)) {
    std::filesystem::copy_file(entry.path(), start.Demo() / entry.path().filename(),
                               std::filesystem::copy_options::overwrite_existing);
  }
}

QString WeekdayTraffic() {
  return qEnvironmentVariable("AMPELSIM_SOURCE_DIR") + QStringLiteral("/demo/traffic/weekday.json");
}

}  // namespace

void AuswertungLayoutTest::cleanup() {
  RemoveSettings();
}

// Loading the traffic opens the window with the figures of no second yet;
// five minutes of the demo's traffic later the widest figures are in, and
// still every column, the last ("QS") too, and the row "Knoten" show whole.
void AuswertungLayoutTest::defaultSizeShowsEveryColumnAndTheJunctionRow() {
  const StartDirectory start;
  UseBuiltDemo(start);
  ProgramWindows windows(start.QPath());
  QVERIFY(windows.Traffic.LoadTrafficFile(WeekdayTraffic()));
  ui::TFormAuswertung& auswertung = windows.Traffic.Auswertung;
  QVERIFY(auswertung.isVisible());
  auto* startButton = windows.FormSteuer.findChild<QAbstractButton*>(QStringLiteral("StartButton"));
  QTest::mousePress(startButton, Qt::LeftButton);
  Tick(windows, 30);
  QTest::mouseRelease(startButton, Qt::LeftButton);
  Tick(windows, 3000);
  QCOMPARE(windows.FormSteuer.Sim().State().MainState, states::CycleOperation);
  QTest::qWait(50);  // the table lays its columns out anew

  auto* table = auswertung.findChild<QTableWidget*>(QStringLiteral("AuswertungTabelle"));
  QVERIFY(table != nullptr);
  const int last = table->rowCount() - 1;
  QVERIFY(last > 1);
  QCOMPARE(table->item(last, 0)->text(), QStringLiteral("Knoten"));
  // The quality level (QS), the last column, holds a letter for every row.
  const int quality = table->columnCount() - 1;
  QVERIFY(table->horizontalHeaderItem(quality)->text().startsWith(QStringLiteral("Qualit")));
  QVERIFY(!table->item(last, quality)->text().isEmpty());

  int columns = 0;
  for (int column = 0; column < table->columnCount(); ++column) {
    columns += table->columnWidth(column);
  }
  const QRect viewport = table->viewport()->rect();
  QVERIFY2(
      columns <= viewport.width(),
      qPrintable(QStringLiteral("%1 px of columns in %2 px").arg(columns).arg(viewport.width())));
  QVERIFY(!table->horizontalScrollBar()->isVisible());
  QVERIFY(!table->verticalScrollBar()->isVisible());
  for (const int column : {0, quality}) {
    const QRect cell = table->visualItemRect(table->item(last, column));
    QVERIFY2(viewport.contains(cell), qPrintable(QStringLiteral("cell %1,%2 at %3,%4 %5x%6")
                                                     .arg(last)
                                                     .arg(column)
                                                     .arg(cell.x())
                                                     .arg(cell.y())
                                                     .arg(cell.width())
                                                     .arg(cell.height())));
  }
}

}  // namespace ampelsim::test
