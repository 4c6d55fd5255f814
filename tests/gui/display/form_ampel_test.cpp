#include "form_ampel_test.h"

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <vector>

#include "gui/app/tick_driver.h"
#include "gui/display/form_resize_rule.h"
#include "gui/widgets/panel_controls.h"
#include "head_lookup.h"

namespace ampelsim::test {

void FormAmpelTest::init() {
  junction_ = std::make_unique<HeadsJunction>();
  helpCalls_ = 0;
  mainWindowCalls_ = 0;
  keys_ =
      std::make_unique<ui::CommonKeys>([this] { ++helpCalls_; }, [this] { ++mainWindowCalls_; });
  form_ = std::make_unique<ui::TFormAmpel>(junction_->Sim(), *keys_);
  form_->show();
  QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void FormAmpelTest::cleanup() {
  form_.reset();
  keys_.reset();
  junction_.reset();
}

void FormAmpelTest::captionPositionAndButtons() {
  QCOMPARE(form_->windowTitle(), QString::fromUtf8("Ampelk\xc3\xb6pfe"));
  QCOMPARE(form_->pos(), QPoint(381, 250));
  // 652 x 438 is the outer size; the inside is what the frame leaves.
  QCOMPARE(form_->frameGeometry().size(), QSize(652, 438));
  const ui::FormSize full = form_->FullInsideSize();
  QCOMPARE(form_->size(), QSize(full.Width, full.Height));
  QVERIFY(form_->isWindow());
  QVERIFY(form_->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(!form_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  auto* sheet = form_->findChild<QWidget*>(QStringLiteral("HeadSheet"));
  QVERIFY(sheet != nullptr);
  QVERIFY(sheet->autoFillBackground());
  QCOMPARE(sheet->palette().color(QPalette::Window), QColor(Qt::black));
}

void FormAmpelTest::timerIsHmsAtHundredMillisecondsAndStopped() {
  ui::TickDriver ticks(junction_->Sim());
  QTimer* timer = ticks.HMS();
  QVERIFY(timer != nullptr);
  QCOMPARE(timer->objectName(), QStringLiteral("HMS"));
  QCOMPARE(ticks.findChild<QTimer*>(QStringLiteral("HMS")), timer);
  QCOMPARE(timer->interval(), 100);
  QVERIFY(!timer->isSingleShot());
  QVERIFY(!timer->isActive());
}

void FormAmpelTest::timerTicksTheSimulation() {
  ui::TickDriver ticks(junction_->Sim());
  QSignalSpy ticked(&ticks, &ui::TickDriver::Ticked);
  ticks.HMS()->start();
  QVERIFY(ticked.wait(2000));
  ticks.HMS()->stop();
  // The first tick loads the data set.
  QVERIFY(junction_->Sim().State().FirstTickDone != 0);
  QVERIFY(junction_->Sim().Loader().DataValid());
}

void FormAmpelTest::resizeSnapsBack_data() {
  QTest::addColumn<QSize>("requested");
  QTest::addColumn<QSize>("expected");
  QTest::newRow("wider at full height") << QSize(800, 438) << QSize(652, 438);
  QTest::newRow("wider and taller") << QSize(900, 700) << QSize(652, 438);
  QTest::newRow("wider at height 300") << QSize(800, 300) << QSize(668, 300);
  QTest::newRow("a little wider, lower") << QSize(660, 437) << QSize(668, 437);
  QTest::newRow("taller only") << QSize(652, 600) << QSize(652, 438);
  QTest::newRow("smaller") << QSize(400, 200) << QSize(400, 200);
  QTest::newRow("narrower at full height") << QSize(500, 438) << QSize(500, 438);
}

void FormAmpelTest::resizeSnapsBack() {
  QFETCH(QSize, requested);
  QFETCH(QSize, expected);
  const ui::FormSize rule = ui::SnappedFormAmpelSize({requested.width(), requested.height()});
  QCOMPARE(QSize(rule.Width, rule.Height), expected);
  // The window applies the rule to its inside: the same sizes, less its frame.
  const ui::FormSize full = form_->FullInsideSize();
  const QSize frame(ui::FormAmpelDesignWidth - full.Width, ui::FormAmpelDesignHeight - full.Height);
  form_->resize(requested - frame);
  QTRY_COMPARE(form_->size(), expected - frame);
}

void FormAmpelTest::insideFitsTheFrame_data() {
  QTest::addColumn<int>("left");
  QTest::addColumn<int>("top");
  QTest::addColumn<int>("right");
  QTest::addColumn<int>("bottom");
  QTest::addColumn<QSize>("inside");
  QTest::newRow("no frame") << 0 << 0 << 0 << 0 << QSize(652, 438);
  QTest::newRow("title bar and borders") << 4 << 30 << 4 << 4 << QSize(644, 404);
  QTest::newRow("thin borders") << 1 << 22 << 1 << 1 << QSize(650, 415);
  QTest::newRow("frame wider than the room") << 20 << 60 << 20 << 20 << QSize(631, 394);
  QTest::newRow("negative margins are none") << -3 << -3 << -3 << -3 << QSize(652, 438);
}

// Offscreen windows have no real window manager, so the frame is handed in.
void FormAmpelTest::insideFitsTheFrame() {
  QFETCH(int, left);
  QFETCH(int, top);
  QFETCH(int, right);
  QFETCH(int, bottom);
  QFETCH(QSize, inside);
  const ui::FormSize rule = ui::FormAmpelInsideSize({left, top, right, bottom});
  QCOMPARE(QSize(rule.Width, rule.Height), inside);

  form_->FitInsideToFrame({left, top, right, bottom});
  QTRY_COMPARE(form_->size(), inside);
  auto* sheet = form_->findChild<QWidget*>(QStringLiteral("HeadSheet"));
  QCOMPARE(sheet->size(), inside);
  // Every head lies on the sheet, and at full size nothing scrolls.
  for (int i = 0; i < MaxGroups; ++i) {
    QVERIFY(sheet->rect().contains(PanelOf(*form_, i)->geometry()));
  }
  auto* area = form_->findChild<QScrollArea*>();
  QTRY_VERIFY(!area->horizontalScrollBar()->isVisible());
  QTRY_VERIFY(!area->verticalScrollBar()->isVisible());
  // A window the user made smaller stays so when the frame changes.
  form_->resize(400, 300);
  QTRY_COMPARE(form_->size(), QSize(400, 300));
  form_->FitInsideToFrame({left + 1, top, right, bottom});
  QCOMPARE(form_->size(), QSize(400, 300));
}

void FormAmpelTest::scrollBarsWhenSmaller_data() {
  QTest::addColumn<QSize>("size");
  QTest::addColumn<bool>("horizontal");
  QTest::addColumn<bool>("vertical");
  QTest::newRow("design size") << QSize(652, 438) << false << false;
  QTest::newRow("lower, with room for the bar") << QSize(668, 300) << false << true;
  QTest::newRow("narrower: its bar takes height") << QSize(400, 438) << true << true;
  QTest::newRow("smaller both ways") << QSize(300, 200) << true << true;
}

void FormAmpelTest::scrollBarsWhenSmaller() {
  QFETCH(QSize, size);
  QFETCH(bool, horizontal);
  QFETCH(bool, vertical);
  form_->FitInsideToFrame({});  // the sizes of the table are insides without a frame
  form_->resize(size);
  QTRY_COMPARE(form_->size(), size);
  auto* area = form_->findChild<QScrollArea*>();
  QVERIFY(area != nullptr);
  QTRY_COMPARE(area->horizontalScrollBar()->isVisible(), horizontal);
  QTRY_COMPARE(area->verticalScrollBar()->isVisible(), vertical);
}

void FormAmpelTest::panelsInThreeRowsOfEight() {
  for (int i = 0; i < MaxGroups; ++i) {
    QWidget* panel = PanelOf(*form_, i);
    QVERIFY2(panel != nullptr, qPrintable(QStringLiteral("panel %1").arg(i)));
    QCOMPARE(panel->geometry(), QRect(6 + (i % 8) * 79, 10 + (i / 8) * 130, 72, 124));
    QCOMPARE(panel->autoFillBackground(), true);
    QCOMPARE(panel->palette().color(QPalette::Window), QColor(255, 251, 240));
    auto* number = ControlOf<QLabel>(panel, "LabelGruppeNr");
    QVERIFY(number != nullptr);
    QCOMPARE(number->text(), QString::number(i + 1));
  }
  QVERIFY(PanelOf(*form_, MaxGroups) == nullptr);
}

void FormAmpelTest::element13ShowsGroup14() {
  QWidget* panel = PanelOf(*form_, 13);
  QVERIFY(panel != nullptr);
  QCOMPARE(panel->pos(), QPoint(401, 140));
  auto* prefix = ControlOf<QLabel>(panel, "LabelGr");
  auto* number = ControlOf<QLabel>(panel, "LabelGruppeNr");
  QVERIFY(prefix != nullptr && number != nullptr);
  QCOMPARE(prefix->text(), QStringLiteral("G."));
  QCOMPARE(number->text(), QStringLiteral("14"));
  // The number follows "G." on the same line.
  QCOMPARE(number->y(), prefix->y());
  QCOMPARE(number->x(), prefix->x() + prefix->width());
  QVERIFY(number->isVisible());
}

void FormAmpelTest::group17IsLeftOfThirdRow() {
  std::vector<int> tops;
  for (int i = 0; i < MaxGroups; ++i) {
    tops.push_back(PanelOf(*form_, i)->y());
  }
  std::sort(tops.begin(), tops.end());
  tops.erase(std::unique(tops.begin(), tops.end()), tops.end());
  QCOMPARE(tops.size(), std::size_t{3});

  // The third row, left to right.
  std::vector<std::pair<int, QString>> thirdRow;
  for (QWidget* panel : form_->findChildren<QWidget*>(QRegularExpression("^PanelKopf\\d*$"))) {
    if (panel->y() == tops[2]) {
      thirdRow.emplace_back(panel->x(), ControlOf<QLabel>(panel, "LabelGruppeNr")->text());
    }
  }
  std::sort(thirdRow.begin(), thirdRow.end());
  QCOMPARE(thirdRow.size(), std::size_t{8});
  QCOMPARE(thirdRow.front().first, 6);
  for (std::size_t column = 0; column < thirdRow.size(); ++column) {
    QCOMPARE(thirdRow[column].second, QString::number(17 + static_cast<int>(column)));
  }
}

void FormAmpelTest::commonKeys_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<bool>("onHeadButton");
  QTest::addColumn<int>("help");
  QTest::addColumn<int>("mainWindow");
  QTest::newRow("F1 opens help") << int(Qt::Key_F1) << false << 1 << 0;
  QTest::newRow("F12 brings the main window") << int(Qt::Key_F12) << false << 0 << 1;
  QTest::newRow("F12 on a head's button") << int(Qt::Key_F12) << true << 0 << 1;
  QTest::newRow("F10 is swallowed") << int(Qt::Key_F10) << false << 0 << 0;
  QTest::newRow("other keys do nothing") << int(Qt::Key_A) << false << 0 << 0;
}

void FormAmpelTest::commonKeys() {
  QFETCH(int, key);
  QFETCH(bool, onHeadButton);
  QFETCH(int, help);
  QFETCH(int, mainWindow);
  QWidget* target = form_.get();
  if (onHeadButton) {
    target = ControlOf(PanelOf(*form_, 5), "SpeedButtonAnf");
    QVERIFY(target != nullptr);
  }
  QTest::keyClick(target, static_cast<Qt::Key>(key));
  QCOMPARE(helpCalls_, help);
  QCOMPARE(mainWindowCalls_, mainWindow);
}

void FormAmpelTest::closingHidesAndTicksGoOn() {
  QVERIFY(form_->close());
  QVERIFY(form_->isHidden());
  QVERIFY(junction_->StartProgram(*form_));
  const std::int32_t before = junction_->Sim().State().TimePoint;
  junction_->TickFor(*form_, 30);
  QVERIFY(form_->isHidden());
  QCOMPARE(junction_->Sim().State().MainState, states::CycleOperation);
  QVERIFY(junction_->Sim().State().TimePoint != before);

  // Shown again, every head shows the present lamps.
  form_->show();
  QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  const auto& heads = junction_->Sim().Heads();
  for (int i = 0; i < MaxGroups; ++i) {
    const char* lamps[] = {"ShapeRot", "ShapeGelb", "ShapeGruen"};
    const Lamp kinds[] = {Lamp::Red, Lamp::Yellow, Lamp::Green};
    for (int l = 0; l < 3; ++l) {
      auto* shape = ControlOf<ui::Shape>(PanelOf(*form_, i), lamps[l]);
      QVERIFY(shape != nullptr);
      QCOMPARE(shape->BrushColor(),
               LampRgb(kinds[l], heads[static_cast<std::size_t>(i)].ShapeState(kinds[l])));
    }
  }
  // Some head is lit, so the comparison above compared something.
  bool anyLit = false;
  for (const auto& head : heads) {
    anyLit = anyLit || head.ShapeState(Lamp::Red) == LampState::Lit ||
             head.ShapeState(Lamp::Green) == LampState::Lit;
  }
  QVERIFY(anyLit);
}

}  // namespace ampelsim::test
