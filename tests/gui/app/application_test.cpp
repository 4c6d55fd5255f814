#include "application_test.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QWindow>
#include <QtTest>
#include <memory>
#include <stdexcept>

#include "app_test_support.h"
#include "gui/app/ampel_application.h"
#include "gui/app/program_windows.h"

namespace ampelsim::test {
namespace {

// Throws from its event handler, as a failing handler of a window does.
class FailingReceiver final : public QObject {
 public:
  int Handled = 0;

 protected:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) {
      ++Handled;
      throw std::runtime_error("Ungültiger Wert");
    }
    return QObject::event(event);
  }
};

}  // namespace

void ApplicationTest::exceptionBoxText_data() {
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("shown");
  QTest::newRow("letter") << QStringLiteral("Fehler") << QStringLiteral("Fehler.");
  QTest::newRow("full stop") << QStringLiteral("Fehler.") << QStringLiteral("Fehler.");
  QTest::newRow("digit") << QStringLiteral("Zeile 3") << QStringLiteral("Zeile 3.");
  QTest::newRow("slash above") << QStringLiteral("a/") << QStringLiteral("a/.");
  QTest::newRow("exclamation") << QStringLiteral("Halt!") << QStringLiteral("Halt!");
  QTest::newRow("blank") << QStringLiteral("Ende ") << QStringLiteral("Ende ");
  QTest::newRow("hyphen") << QStringLiteral("a-") << QStringLiteral("a-");
  QTest::newRow("umlaut") << QStringLiteral("Grün") << QStringLiteral("Grün.");
  QTest::newRow("empty") << QString() << QString();
}

void ApplicationTest::exceptionBoxText() {
  QFETCH(QString, message);
  QFETCH(QString, shown);
  QCOMPARE(ui::ExceptionBoxText(message), shown);
}

void ApplicationTest::escapingExceptionIsShownAndTheProgramGoesOn() {
  FailingReceiver receiver;
  for (int round = 1; round <= 2; ++round) {
    ModalSeen seen;
    HandleNextModal(&seen);
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&receiver, &event);
    QVERIFY(seen.Seen);
    QCOMPARE(seen.Title, QStringLiteral("Simulationsprogramm"));
    QCOMPARE(seen.Text, QStringLiteral("Ungültiger Wert."));
    QCOMPARE(seen.Icon, QMessageBox::Critical);
    QCOMPARE(receiver.Handled, round);
  }
}

void ApplicationTest::applicationTitle() {
  QVERIFY(qobject_cast<ui::AmpelApplication*>(QCoreApplication::instance()) != nullptr);
  QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Simulationsprogramm"));
}

// Qt's own texts come in German whatever the desktop's language.
void ApplicationTest::qtDialogsSpeakGerman_data() {
  QTest::addColumn<QString>("english");
  QTest::addColumn<QString>("german");
  QTest::newRow("context menu") << QStringLiteral("&Copy") << QStringLiteral("&Kopieren");
  QTest::newRow("button box") << QStringLiteral("Cancel") << QStringLiteral("Abbrechen");
}

void ApplicationTest::qtDialogsSpeakGerman() {
  QFETCH(QString, english);
  QFETCH(QString, german);
  QLineEdit edit;
  const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
  QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QStringList texts{buttons.button(QDialogButtonBox::Cancel)->text()};
  for (const QAction* action : menu->actions()) {
    texts << action->text().section(QLatin1Char('\t'), 0, 0);
  }
  QVERIFY2(texts.contains(german), qPrintable(texts.join(QLatin1Char('|'))));
  QVERIFY(!texts.contains(english));
}

void ApplicationTest::taskBarNameLeavesTheCaptions() {
  QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Simulationsprogramm"));
  QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("ampelsim"));
  const StartDirectory start;
  ui::ProgramWindows windows(start.QPath());
  windows.Start();
  windows.Ticks.HMS()->stop();
  windows.FormAmpel.show();
  QCOMPARE(windows.FormSteuer.windowTitle(), QStringLiteral("Steuerung"));
  QCOMPARE(windows.FormAmpel.windowTitle(), QStringLiteral("Ampelköpfe"));
  // What reaches the window system: the caption alone, without a suffix.
  QCOMPARE(windows.FormSteuer.windowHandle()->title(), QStringLiteral("Steuerung"));
  QCOMPARE(windows.FormSteuer.windowIconText(), QStringLiteral("Simulationsprogramm"));
  QCOMPARE(windows.FormAmpel.windowIconText(), QStringLiteral("Simulationsprogramm"));
}

}  // namespace ampelsim::test
