#include "application_test.h"

#include <QCoreApplication>
#include <QEvent>
#include <QtTest>
#include <stdexcept>

#include "app/ui/ampel_application.h"
#include "app_test_support.h"

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

}  // namespace ampelsim::test
