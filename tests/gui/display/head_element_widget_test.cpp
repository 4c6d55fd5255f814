#include "head_element_widget_test.h"

#include <QAbstractButton>
#include <QLabel>
#include <QtTest>

#include "gui/widgets/panel_controls.h"
#include "head_lookup.h"

namespace ampelsim::test {
namespace {

const SignalHeadElement& HeadOf(Simulation& simulation, int group) {
  return simulation.Heads()[static_cast<std::size_t>(group)];
}

bool StuckOn(const SignalHeadElement& head, Lamp lamp) {
  switch (lamp) {
    case Lamp::Red:
      return head.IsRedStuckOn();
    case Lamp::Yellow:
      return head.IsYellowStuckOn();
    case Lamp::Green:
      break;
  }
  return head.IsGreenStuckOn();
}

bool Failed(const SignalHeadElement& head, Lamp lamp) {
  switch (lamp) {
    case Lamp::Red:
      return head.IsRedFailed();
    case Lamp::Yellow:
      return head.IsYellowFailed();
    case Lamp::Green:
      break;
  }
  return head.IsGreenFailed();
}

const char* ShapeName(Lamp lamp) {
  switch (lamp) {
    case Lamp::Red:
      return "ShapeRot";
    case Lamp::Yellow:
      return "ShapeGelb";
    case Lamp::Green:
      break;
  }
  return "ShapeGruen";
}

const char* CrossName(Lamp lamp) {
  switch (lamp) {
    case Lamp::Red:
      return "LabelRotDef";
    case Lamp::Yellow:
      return "LabelGelbDef";
    case Lamp::Green:
      break;
  }
  return "LabelGruenDef";
}

}  // namespace

void HeadElementWidgetTest::init() {
  junction_ = std::make_unique<HeadsJunction>();
  keys_ = std::make_unique<ui::CommonKeys>(nullptr, nullptr);
  form_ = std::make_unique<ui::TFormAmpel>(junction_->Sim(), *keys_);
  form_->show();
  QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void HeadElementWidgetTest::cleanup() {
  form_.reset();
  keys_.reset();
  junction_.reset();
}

void HeadElementWidgetTest::templateControls_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QRect>("geometry");
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("bold");
  QTest::addColumn<int>("pixelSize");
  QTest::addColumn<bool>("hidden");
  QTest::addColumn<bool>("alignRight");
  auto row = [](const char* name, const char* kind, QRect geometry, const char* text = "",
                bool bold = false, int pixelSize = 11, bool hidden = false,
                bool alignRight = false) {
    QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(kind) << geometry
                        << QString::fromLatin1(text) << bold << pixelSize << hidden << alignRight;
  };
  row("BevelRot", "raised", {2, 2, 40, 40});
  row("BevelGelb", "raised", {2, 42, 40, 40});
  row("BevelGruen", "raised", {2, 82, 40, 40});
  row("SpeedButtonAnf", "button", {44, 96, 25, 25}, "A", true, 13);
  row("ShapeRot", "circle", {4, 4, 36, 36});
  row("ShapeGelb", "circle", {4, 44, 36, 36});
  row("ShapeGruen", "circle", {4, 84, 36, 36});
  row("LabelRotDef", "label", {16, 12, 13, 20}, "X", true, 16, true);
  row("LabelGelbDef", "label", {16, 52, 13, 20}, "X", true, 16, true);
  row("LabelGruenDef", "label", {16, 92, 13, 20}, "X", true, 16, true);
  row("BevelGruppe", "lowered", {41, 2, 30, 40});
  row("LabelGr", "label", {44, 7, 11, 13}, "G.");
  row("LabelGruppeNr", "label", {55, 7, 12, 13}, "", false, 11, false, true);
  row("BevelStoer", "raised", {44, 44, 25, 12});
  row("BevelAnf", "raised", {44, 70, 25, 12});
  row("Label6", "label", {44, 56, 13, 13}, "St.");
  row("Label7", "label", {45, 82, 19, 13}, "Anf.");
  row("ShapeSt", "rectangle", {45, 45, 23, 10});
  row("ShapeAnf", "rectangle", {45, 71, 23, 10});
  row("LabelKopf", "label", {44, 22, 10, 13}, "K.");
  row("LabelKopfNr", "label", {55, 22, 12, 13}, "", false, 11, false, true);
  row("LabelWarte", "label", {7, 58, 30, 10}, "WARTE", false, 8, true);
}

void HeadElementWidgetTest::templateControls() {
  QFETCH(QString, name);
  QFETCH(QString, kind);
  QFETCH(QRect, geometry);
  QFETCH(QString, text);
  QFETCH(bool, bold);
  QFETCH(int, pixelSize);
  QFETCH(bool, hidden);
  QFETCH(bool, alignRight);
  for (int index : {0, 13, 23}) {
    QWidget* panel = PanelOf(*form_, index);
    QVERIFY(panel != nullptr);
    QCOMPARE(panel->size(), QSize(72, 124));
    auto* control = panel->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
    QVERIFY2(control != nullptr, qPrintable(name));
    QCOMPARE(control->geometry(), geometry);
    if (kind == "raised" || kind == "lowered") {
      auto* bevel = qobject_cast<ui::Bevel*>(control);
      QVERIFY(bevel != nullptr);
      QCOMPARE(bevel->BevelStyle(),
               kind == "raised" ? ui::Bevel::Style::Raised : ui::Bevel::Style::Lowered);
    } else if (kind == "circle" || kind == "rectangle") {
      auto* shape = qobject_cast<ui::Shape*>(control);
      QVERIFY(shape != nullptr);
      QCOMPARE(shape->ShapeKind(),
               kind == "circle" ? ui::Shape::Kind::Circle : ui::Shape::Kind::Rectangle);
      QCOMPARE(shape->BrushColor(), SilverRgb);
    } else if (kind == "button") {
      auto* button = qobject_cast<QAbstractButton*>(control);
      QVERIFY(button != nullptr);
      QCOMPARE(button->text(), text);
      QCOMPARE(button->font().bold(), bold);
      QCOMPARE(button->font().pixelSize(), pixelSize);
      QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    } else {
      auto* label = qobject_cast<QLabel*>(control);
      QVERIFY(label != nullptr);
      if (!text.isEmpty()) {
        QCOMPARE(label->text(), text);
      }
      QCOMPARE(label->font().bold(), bold);
      QCOMPARE(label->font().pixelSize(), pixelSize);
      QCOMPARE(label->isHidden(), hidden);
      QCOMPARE(label->alignment().testFlag(Qt::AlignRight), alignRight);
    }
  }
}

void HeadElementWidgetTest::headNumbersAfterFirstTick() {
  auto* before = ControlOf<QLabel>(PanelOf(*form_, 0), "LabelKopfNr");
  QVERIFY(before != nullptr);
  QCOMPARE(before->text(), QString());
  junction_->Tick(*form_);
  for (int i = 0; i < MaxGroups; ++i) {
    auto* label = ControlOf<QLabel>(PanelOf(*form_, i), "LabelKopfNr");
    QVERIFY(label != nullptr);
    QCOMPARE(label->text(), QString::number(101 + i));
  }
}

void HeadElementWidgetTest::lampsFollowTheElement() {
  QVERIFY(junction_->StartProgram(*form_));
  int greenSeen = 0;
  int redSeen = 0;
  // Two cycles of 20 s, checked after every tick.
  for (int tick = 0; tick < 400; ++tick) {
    junction_->Tick(*form_);
    for (int group = 0; group < JunctionGroups; ++group) {
      const SignalHeadElement& head = HeadOf(junction_->Sim(), group);
      QWidget* panel = PanelOf(*form_, group);
      for (Lamp lamp : {Lamp::Red, Lamp::Yellow, Lamp::Green}) {
        auto* shape = ControlOf<ui::Shape>(panel, ShapeName(lamp));
        QCOMPARE(shape->BrushColor(), LampRgb(lamp, head.ShapeState(lamp)));
      }
      QCOMPARE(ControlOf<ui::Shape>(panel, "ShapeAnf")->BrushColor(),
               head.DemandIndicatorState() == LampState::Lit ? AquaRgb : SilverRgb);
      QCOMPARE(ControlOf<ui::Shape>(panel, "ShapeSt")->BrushColor(),
               head.FaultIndicatorState() == LampState::Lit ? RedRgb : SilverRgb);
    }
    auto* green = ControlOf<ui::Shape>(PanelOf(*form_, GroupEarlyGreen), "ShapeGruen");
    auto* red = ControlOf<ui::Shape>(PanelOf(*form_, GroupEarlyGreen), "ShapeRot");
    greenSeen += green->BrushColor() == LimeRgb ? 1 : 0;
    redSeen += red->BrushColor() == RedRgb ? 1 : 0;
  }
  QVERIFY(greenSeen > 0);
  QVERIFY(redSeen > 0);
}

void HeadElementWidgetTest::lampPressSimulatesDefect_data() {
  QTest::addColumn<int>("group");
  QTest::addColumn<int>("lamp");
  QTest::addColumn<int>("button");
  QTest::addColumn<bool>("allowed");
  QTest::newRow("red, left button")
      << GroupEarlyGreen << int(Lamp::Red) << int(Qt::LeftButton) << true;
  QTest::newRow("yellow, right button")
      << GroupWatchedRed << int(Lamp::Yellow) << int(Qt::RightButton) << true;
  QTest::newRow("green, middle button")
      << GroupWaitSign << int(Lamp::Green) << int(Qt::MiddleButton) << true;
  QTest::newRow("group not in use") << 7 << int(Lamp::Red) << int(Qt::LeftButton) << false;
}

void HeadElementWidgetTest::lampPressSimulatesDefect() {
  QFETCH(int, group);
  QFETCH(int, lamp);
  QFETCH(int, button);
  QFETCH(bool, allowed);
  const auto which = static_cast<Lamp>(lamp);
  junction_->Tick(*form_);  // loads the data set; the controller is off, every lamp dark
  QWidget* panel = PanelOf(*form_, group);
  auto* shape = ControlOf<ui::Shape>(panel, ShapeName(which));
  auto* cross = ControlOf<QLabel>(panel, CrossName(which));
  QVERIFY(shape != nullptr && cross != nullptr);
  QCOMPARE(shape->BrushColor(), SilverRgb);

  QTest::mousePress(shape, static_cast<Qt::MouseButton>(button));
  const SignalHeadElement& head = HeadOf(junction_->Sim(), group);
  // A dark lamp pressed lights up for good.
  QCOMPARE(StuckOn(head, which), allowed);
  QCOMPARE(Failed(head, which), false);
  QCOMPARE(cross->isHidden(), !allowed);
  QCOMPARE(shape->BrushColor(), allowed ? LitRgb(which) : SilverRgb);
}

void HeadElementWidgetTest::crossPressClearsDefect_data() {
  QTest::addColumn<int>("lamp");
  QTest::newRow("red") << int(Lamp::Red);
  QTest::newRow("yellow") << int(Lamp::Yellow);
  QTest::newRow("green") << int(Lamp::Green);
}

void HeadElementWidgetTest::crossPressClearsDefect() {
  QFETCH(int, lamp);
  const auto which = static_cast<Lamp>(lamp);
  junction_->Tick(*form_);
  QWidget* panel = PanelOf(*form_, GroupEarlyGreen);
  auto* cross = ControlOf<QLabel>(panel, CrossName(which));
  QTest::mouseClick(ControlOf(panel, ShapeName(which)), Qt::LeftButton);
  QVERIFY(!cross->isHidden());

  QTest::mouseClick(cross, Qt::LeftButton);
  const SignalHeadElement& head = HeadOf(junction_->Sim(), GroupEarlyGreen);
  QVERIFY(!StuckOn(head, which));
  QVERIFY(!Failed(head, which));
  QVERIFY(cross->isHidden());
}

void HeadElementWidgetTest::redLampClickAfterStartFailsTheLamp() {
  QVERIFY(junction_->StartProgram(*form_));
  QWidget* panel = PanelOf(*form_, GroupWatchedRed);
  auto* red = ControlOf<ui::Shape>(panel, "ShapeRot");
  auto* cross = ControlOf<QLabel>(panel, "LabelRotDef");
  auto* faultMark = ControlOf<ui::Shape>(panel, "ShapeSt");
  for (int tick = 0; tick < 300 && red->BrushColor() != RedRgb; ++tick) {
    junction_->Tick(*form_);
  }
  QCOMPARE(red->BrushColor(), RedRgb);
  QCOMPARE(faultMark->BrushColor(), SilverRgb);

  QTest::mouseClick(red, Qt::LeftButton);
  const SignalHeadElement& head = HeadOf(junction_->Sim(), GroupWatchedRed);
  QVERIFY(head.IsRedFailed());
  QVERIFY(!cross->isHidden());
  QVERIFY(cross->isVisible());
  QCOMPARE(red->BrushColor(), SilverRgb);

  // The next tick's monitoring finds the watched lamp dark and marks the head.
  junction_->Tick(*form_);
  QVERIFY(junction_->Sim().State().FaultActive != 0);
  QCOMPARE(faultMark->BrushColor(), RedRgb);

  // Pressing the cross repairs the lamp.
  QTest::mouseClick(cross, Qt::LeftButton);
  QVERIFY(!head.IsRedFailed());
  QVERIFY(cross->isHidden());
}

void HeadElementWidgetTest::waitSignPressClicksYellow() {
  QVERIFY(junction_->StartProgram(*form_));
  QWidget* panel = PanelOf(*form_, GroupWaitSign);
  auto* sign = ControlOf<QLabel>(panel, "LabelWarte");
  auto* cross = ControlOf<QLabel>(panel, "LabelGelbDef");
  QVERIFY(sign != nullptr && cross != nullptr);
  QVERIFY(sign->isVisible());
  QVERIFY(ControlOf<QLabel>(PanelOf(*form_, GroupEarlyGreen), "LabelWarte")->isHidden());

  QTest::mouseClick(sign, Qt::LeftButton);
  const SignalHeadElement& head = HeadOf(junction_->Sim(), GroupWaitSign);
  QVERIFY(head.IsYellowStuckOn() || head.IsYellowFailed());
  QVERIFY(!head.IsRedStuckOn() && !head.IsRedFailed());
  QVERIFY(!head.IsGreenStuckOn() && !head.IsGreenFailed());
  QVERIFY(cross->isVisible());
}

void HeadElementWidgetTest::demandButtonShiftLatches() {
  junction_->Tick(*form_);
  auto* button = ControlOf<QAbstractButton>(PanelOf(*form_, 4), "SpeedButtonAnf");
  QVERIFY(button != nullptr);
  const SignalHeadElement& head = HeadOf(junction_->Sim(), 4);
  QCOMPARE(button->text(), QStringLiteral("A"));

  QTest::mousePress(button, Qt::LeftButton, Qt::ShiftModifier);
  QCOMPARE(button->text(), QStringLiteral("DA"));
  QVERIFY(button->isDown());
  QTest::mouseRelease(button, Qt::LeftButton, Qt::ShiftModifier);
  QCOMPARE(button->text(), QStringLiteral("DA"));
  QVERIFY(button->isDown());
  QVERIFY(head.IsDemandButtonDown());
  QVERIFY(head.IsContinuousDemand());

  // Ticks do not release it either.
  junction_->TickFor(*form_, 15);
  QVERIFY(button->isDown());
  QVERIFY(head.IsDemandButtonDown());

  // A plain press and release unlatches it.
  QTest::mousePress(button, Qt::LeftButton);
  QCOMPARE(button->text(), QStringLiteral("DA"));
  QTest::mouseRelease(button, Qt::LeftButton);
  QCOMPARE(button->text(), QStringLiteral("A"));
  QVERIFY(!button->isDown());
  QVERIFY(!head.IsDemandButtonDown());
}

void HeadElementWidgetTest::demandButtonPlainPressHolds() {
  junction_->Tick(*form_);
  auto* button = ControlOf<QAbstractButton>(PanelOf(*form_, 20), "SpeedButtonAnf");
  QVERIFY(button != nullptr);
  const SignalHeadElement& head = HeadOf(junction_->Sim(), 20);

  QTest::mousePress(button, Qt::RightButton);
  QVERIFY(button->isDown());
  QVERIFY(head.IsDemandButtonDown());
  QCOMPARE(button->text(), QStringLiteral("A"));
  // Only this head's button is pressed.
  QVERIFY(!HeadOf(junction_->Sim(), 19).IsDemandButtonDown());

  QTest::mouseRelease(button, Qt::RightButton);
  QVERIFY(!button->isDown());
  QVERIFY(!head.IsDemandButtonDown());
}

}  // namespace ampelsim::test
