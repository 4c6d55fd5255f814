#include "window_placement_test.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtTest>

#include "app_test_support.h"
#include "gui/app/program_windows.h"
#include "gui/dialogs/settings_store.h"
#include "gui/widgets/window_placement.h"

namespace ampelsim::test {

void WindowPlacementTest::cleanup() {
  RemoveSettings();
}

void WindowPlacementTest::clampToScreens_data() {
  QTest::addColumn<QRect>("frame");
  QTest::addColumn<QList<QRect>>("screens");
  QTest::addColumn<QRect>("placed");
  const QRect one(0, 0, 1920, 1050);       // one screen, task bar below
  const QRect right(1920, 0, 1280, 1024);  // a second screen at its right
  const QList<QRect> single{one};
  const QList<QRect> both{one, right};
  QTest::newRow("on the screen") << QRect(100, 80, 660, 470) << single << QRect(100, 80, 660, 470);
  QTest::newRow("over the right edge")
      << QRect(1500, 80, 660, 470) << single << QRect(1260, 80, 660, 470);
  QTest::newRow("above the top") << QRect(100, -30, 660, 470) << single << QRect(100, 0, 660, 470);
  QTest::newRow("into the task bar")
      << QRect(100, 900, 660, 470) << single << QRect(100, 580, 660, 470);
  QTest::newRow("on a screen that is gone")
      << QRect(2100, 300, 660, 470) << single << QRect(1260, 300, 660, 470);
  QTest::newRow("far away") << QRect(-9000, 9000, 660, 470) << single << QRect(0, 580, 660, 470);
  QTest::newRow("on the second screen")
      << QRect(2100, 300, 660, 470) << both << QRect(2100, 300, 660, 470);
  QTest::newRow("across both screens")
      << QRect(1700, 300, 660, 470) << both << QRect(1700, 300, 660, 470);
  QTest::newRow("below the smaller second screen")
      << QRect(2100, 800, 660, 470) << both << QRect(2100, 554, 660, 470);
  QTest::newRow("larger than the screen")
      << QRect(-50, -50, 2500, 1400) << single << QRect(0, 0, 1920, 1050);
  QTest::newRow("no screens known") << QRect(5, 5, 10, 10) << QList<QRect>() << QRect(5, 5, 10, 10);
}

void WindowPlacementTest::clampToScreens() {
  QFETCH(QRect, frame);
  QFETCH(QList<QRect>, screens);
  QFETCH(QRect, placed);
  QCOMPARE(ui::ClampToScreens(frame, screens), placed);
}

void WindowPlacementTest::placeSideBySide_data() {
  QTest::addColumn<QRect>("available");
  QTest::addColumn<bool>("sideBySide");
  QTest::addColumn<bool>("apart");
  QTest::newRow("full HD") << QRect(0, 0, 1920, 1050) << true << true;
  QTest::newRow("wide, task bar at the left") << QRect(64, 0, 1856, 1080) << true << true;
  QTest::newRow("1280 x 1024") << QRect(0, 0, 1280, 1024) << false << true;
  QTest::newRow("1024 x 768") << QRect(0, 0, 1024, 768) << false << true;
  QTest::newRow("800 x 600") << QRect(0, 0, 800, 600) << false << false;
  QTest::newRow("second screen") << QRect(1920, 0, 1920, 1080) << true << true;
}

// Checked against the geometry itself: inside the area, and no overlap where
// the area has room for both.
void WindowPlacementTest::placeSideBySide() {
  QFETCH(QRect, available);
  QFETCH(bool, sideBySide);
  QFETCH(bool, apart);
  const QSize main(634, 290);
  const QSize heads(652, 438);
  const ui::FirstPlacement placed = ui::PlaceSideBySide(available, main, heads, 16);
  const QRect mainFrame(placed.Main, main);
  const QRect headsFrame(placed.Heads, heads);
  QVERIFY(available.contains(mainFrame));
  QVERIFY(available.contains(headsFrame));
  QCOMPARE(mainFrame.intersects(headsFrame), !apart);
  QCOMPARE(headsFrame.left() > mainFrame.right(), sideBySide);
  if (sideBySide) {
    QCOMPARE(headsFrame.top(), mainFrame.top());
    QCOMPARE(headsFrame.left() - mainFrame.right() - 1, 16);
  } else if (apart) {
    QCOMPARE(headsFrame.top() - mainFrame.bottom() - 1, 16);
  }
}

void WindowPlacementTest::placesAreRememberedAndRestored() {
  const StartDirectory start;
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  {
    ui::ProgramWindows windows(start.QPath());
    windows.Start();
    windows.Ticks.HMS()->stop();
    windows.FormAmpel.show();
    // First start: both on the screen, apart where the screen has room
    // (the offscreen test screen has none).
    const QRect main = windows.FormSteuer.frameGeometry();
    const QRect heads = windows.FormAmpel.frameGeometry();
    QVERIFY(screen.contains(main));
    QVERIFY(screen.contains(heads));
    if (screen.width() >= main.width() + heads.width() + 40 ||
        screen.height() >= main.height() + heads.height() + 60) {
      QVERIFY(!main.intersects(heads));
    }

    windows.FormSteuer.move(screen.topLeft() + QPoint(40, 30));
    windows.FormAmpel.move(screen.topLeft() + QPoint(120, 90));
    windows.FormAmpel.resize(500, 300);
  }
  ui::ProgramWindows again(start.QPath());
  again.Start();
  again.Ticks.HMS()->stop();
  QCOMPARE(again.FormSteuer.pos(), screen.topLeft() + QPoint(40, 30));
  QCOMPARE(again.FormAmpel.pos(), screen.topLeft() + QPoint(120, 90));
  QCOMPARE(again.FormAmpel.size(), QSize(500, 300));
}

void WindowPlacementTest::placeOnAScreenThatIsGoneIsPulledBack() {
  const StartDirectory start;
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  {
    ui::SettingsStore settings;
    settings.SetWindowGeometry(QStringLiteral("FormSteuer"), QRect(5000, 40, 624, 260));
    settings.SetWindowGeometry(QStringLiteral("FormAmpel"), QRect(40, 4000, 500, 300));
    settings.SetWindowGeometry(QStringLiteral("FormIstSignalplan"), QRect(0, 0, -5, 99999999));
  }
  ui::ProgramWindows windows(start.QPath());
  windows.Start();
  windows.Ticks.HMS()->stop();
  windows.FormAmpel.show();
  for (const QWidget* window :
       std::initializer_list<const QWidget*>{&windows.FormSteuer, &windows.FormAmpel}) {
    QVERIFY2(screen.contains(QRect(window->pos(), window->size())),
             qPrintable(window->objectName()));
  }
  QCOMPARE(windows.FormAmpel.pos().x(), screen.left() + 40);
  // A value that is no window is not taken.
  QCOMPARE(windows.Signalplan.Ist.size(), QSize(1280, 560));
}

}  // namespace ampelsim::test
