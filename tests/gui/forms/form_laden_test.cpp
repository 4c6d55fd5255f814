#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/simulation.h"
#include "engine/clock.h"
#include "gui/data/form_laden.h"
#include "gui/widgets/common_keys.h"
#include "test_support/test_files.h"
#include "gui/forms/form_tests.h"

namespace ampelsim::test {
namespace {

using ui::CommonKeys;
using ui::TFormLaden;

const QStringList FilesInLoadOrder = {
    "ALL.DAT",  "AUS1.DAT", "AUS2.DAT", "EIN.DAT",    "PROG.DAT", "SCH.DAT",     "ZWI.DAT",
    "KOPF.DAT", "MIT.DAT",  "GSP.DAT",  "MELDER.DAT", "PW.DAT",   "GRMINTAB.DAT"};

// The heading, its underline and the empty line below it.
QStringList Heading(const QString& directory) {
  const QString heading = QStringLiteral("Lese Daten aus: ") + directory;
  return {heading, QString(heading.size(), QLatin1Char('-')), QString()};
}

QString AsLogText(const QStringList& lines) {
  return lines.join(QLatin1Char('\n')) + '\n';
}

// A simulation with its own start directory, and the loading window over it.
struct LadenFixture {
  TempDir start;
  Simulation simulation{start.Str(),
                        std::make_unique<VirtualClock>(LocalTime{std::chrono::hours{24 * 365}}),
                        start / "DATEN.STO"};
  CommonKeys keys{nullptr, nullptr};
  TFormLaden form{simulation, keys};

  QPushButton* OK() { return form.findChild<QPushButton*>(QStringLiteral("OK")); }
  QPlainTextEdit* EditLaden() {
    return form.findChild<QPlainTextEdit*>(QStringLiteral("EditLaden"));
  }

  // Runs the modal window; whileOpen looks at it, then OK closes it. A window
  // that never closes is rejected after a while so that a failure cannot hang.
  int LoadAndShow(const QString& directory, const std::function<void()>& whileOpen) {
    QTimer::singleShot(0, &form, [this, whileOpen] {
      whileOpen();
      if (QPushButton* ok = OK()) {
        ok->click();
      }
    });
    QTimer::singleShot(10000, &form, &QDialog::reject);
    return form.LoadAndShow(directory);
  }
};

}  // namespace

class FormLadenTest : public QObject {
  Q_OBJECT

 private slots:
  void WindowIsLaidOutAsDesigned() {
    LadenFixture fixture;
    QCOMPARE(fixture.form.windowTitle(), QStringLiteral("Daten für Steuerung laden"));
    QCOMPARE(fixture.form.size(), QSize(452, 437));
    QCOMPARE(fixture.form.minimumSize(), fixture.form.maximumSize());

    QPlainTextEdit* edit = fixture.EditLaden();
    QVERIFY(edit != nullptr);
    QCOMPARE(edit->geometry(), QRect(0, 0, 452, 401));
    QVERIFY(edit->isReadOnly());
    QCOMPARE(edit->focusPolicy(), Qt::NoFocus);
    QCOMPARE(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(edit->font().pixelSize(), 11);
    QVERIFY(QFontInfo(edit->font()).fixedPitch());

    QPushButton* ok = fixture.OK();
    QVERIFY(ok != nullptr);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(ok->geometry(), QRect(188, 408, 75, 25));
  }

  void CompleteSetLogsEveryFileAsRead() {
    LadenFixture fixture;
    TempDir data;
    WriteDataSet(data.Path(), *ValidDataSet(7));

    QStringList expected = Heading(QString::fromStdString(data.Str()));
    for (const QString& file : FilesInLoadOrder) {
      expected << file + QStringLiteral(" gelesen");
    }
    QString shown;
    bool visible = false;
    bool modal = false;
    const int result = fixture.LoadAndShow(QString::fromStdString(data.Str()), [&] {
      shown = fixture.form.LogText();
      visible = fixture.form.isVisible();
      modal = fixture.form.isModal();
    });

    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY(visible);
    QVERIFY(modal);
    QCOMPARE(shown, AsLogText(expected));
    QVERIFY(fixture.simulation.Loader().DataValid());
    QCOMPARE(fixture.simulation.DataDirectory(), data.Str());
    QVERIFY(!fixture.form.isVisible());
  }

  void EmptyFolderLogsTheMissingFileBlock() {
    LadenFixture fixture;
    TempDir empty;

    QStringList expected = Heading(QString::fromStdString(empty.Str()));
    for (const QString& file : FilesInLoadOrder) {
      expected << file + QStringLiteral(" nicht gefunden !");
    }
    expected << QString() << QStringLiteral("Dateien nicht vollständig !")
             << QStringLiteral("Start nicht möglich !");
    QString shown;
    fixture.LoadAndShow(QString::fromStdString(empty.Str()),
                        [&] { shown = fixture.form.LogText(); });

    QCOMPARE(shown, AsLogText(expected));
    QVERIFY(!fixture.simulation.Loader().DataValid());
  }

  void HeadingIsUnderlinedPerCharacter() {
    LadenFixture fixture;
    TempDir parent;
    const std::filesystem::path umlauts = parent / "Kreuzung Süd";
    std::filesystem::create_directory(umlauts);
    const QString directory = QString::fromStdString(umlauts.string());

    QString shown;
    fixture.LoadAndShow(directory, [&] { shown = fixture.form.LogText(); });

    const QStringList lines = shown.split(QLatin1Char('\n'));
    QVERIFY(lines.size() > 2);
    QCOMPARE(lines.at(0), QStringLiteral("Lese Daten aus: ") + directory);
    QCOMPARE(lines.at(1), QString(lines.at(0).size(), QLatin1Char('-')));
  }

  void FocusStaysOnOK() {
    LadenFixture fixture;
    TempDir data;
    WriteDataSet(data.Path(), *ValidDataSet(3));

    QWidget* focusAtShow = nullptr;
    QWidget* focusAfterMove = nullptr;
    bool active = false;
    fixture.LoadAndShow(QString::fromStdString(data.Str()), [&] {
      active = QTest::qWaitForWindowActive(&fixture.form);
      focusAtShow = QApplication::focusWidget();
      // A control that takes the focus hands it straight back to OK.
      fixture.EditLaden()->setFocus(Qt::OtherFocusReason);
      QTest::qWait(50);
      focusAfterMove = QApplication::focusWidget();
    });

    QVERIFY(active);
    QCOMPARE(focusAtShow, static_cast<QWidget*>(fixture.OK()));
    QCOMPARE(focusAfterMove, static_cast<QWidget*>(fixture.OK()));
  }

  void EachShowingShowsTheLatestLoad() {
    LadenFixture fixture;
    TempDir data;
    WriteDataSet(data.Path(), *ValidDataSet(5));
    TempDir empty;

    QString first;
    QString second;
    fixture.LoadAndShow(QString::fromStdString(empty.Str()),
                        [&] { first = fixture.form.LogText(); });
    fixture.LoadAndShow(QString::fromStdString(data.Str()),
                        [&] { second = fixture.form.LogText(); });

    QVERIFY(first.contains(QStringLiteral("ALL.DAT nicht gefunden !")));
    QVERIFY(second.contains(QStringLiteral("ALL.DAT gelesen")));
    QVERIFY(!second.contains(QStringLiteral("nicht gefunden")));
  }

  void NothingIsLoadedOrShownWhileLoadingIsDisabled() {
    LadenFixture fixture;
    TempDir data;
    WriteDataSet(data.Path(), *ValidDataSet(9));
    fixture.simulation.Panel().SetDatenLadenEnabled(false);

    bool shown = false;
    QTimer::singleShot(0, &fixture.form, [&] {
      shown = fixture.form.isVisible();
      fixture.form.reject();
    });
    const int result = fixture.form.LoadAndShow(QString::fromStdString(data.Str()));
    QCoreApplication::processEvents();

    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(!shown);
    QVERIFY(fixture.simulation.DataDirectory() != data.Str());
    QVERIFY(fixture.simulation.Loader().Log().empty());
  }
};

int RunFormLadenTests(int argc, char** argv) {
  FormLadenTest tests;
  return QTest::qExec(&tests, argc, argv);
}

}  // namespace ampelsim::test

#include "form_laden_test.moc"
