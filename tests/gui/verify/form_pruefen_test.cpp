#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <memory>

#include "data/data_set_loader.h"
#include "gui/verify/form_pruefen.h"
#include "gui/widgets/common_keys.h"

namespace ampelsim::test {

class FormPruefenTest : public QObject {
  Q_OBJECT

 private:
  QString BinaryDir() const { return qEnvironmentVariable("AMPELSIM_BINARY_DIR"); }

  std::unique_ptr<ControllerDataSet> LoadDemo() {
    auto data = std::make_unique<ControllerDataSet>();
    DataSetLoader loader;
    loader.Load(*data, (BinaryDir() + QStringLiteral("/Demo")).toStdString());
    return data;
  }

  ui::CommonKeys keys_{[] {}, [] {}};

  static QStringList Column(QTableWidget* table, int column, bool visibleOnly) {
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row) {
      if (!visibleOnly || !table->isRowHidden(row)) {
        texts << table->item(row, column)->text();
      }
    }
    return texts;
  }

 private slots:
  // The window lists exactly what `ampelsim-cli verify` prints for the demo.
  void ShowsTheFindingsOfTheCommandLine() {
    const auto data = LoadDemo();
    ui::TFormPruefen form(*data, keys_);
    form.SetGroupedAcrossPrograms(false);  // one row per finding, as the command line prints
    auto* table = form.findChild<QTableWidget*>(QStringLiteral("Befunde"));
    QVERIFY(table != nullptr);

    QProcess cli;
    cli.start(BinaryDir() + QStringLiteral("/ampelsim-cli"),
              {QStringLiteral("verify"), BinaryDir() + QStringLiteral("/Demo")});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    QStringList lines = QString::fromUtf8(cli.readAllStandardOutput()).split('\n');
    lines.removeAll(QString());
    QVERIFY(!lines.isEmpty());
    const QString summary = lines.takeLast();
    QStringList cliTexts;
    for (const QString& line : lines) {
      cliTexts << line.mid(8);
    }
    QStringList windowTexts = Column(table, 6, false);
    cliTexts.sort();
    windowTexts.sort();
    QCOMPARE(windowTexts, cliTexts);
    QCOMPARE(form.findChild<QLabel*>(QStringLiteral("Zusammenfassung"))->text(), summary);
  }

  void FiltersBySeverityAndProgram() {
    auto data = LoadDemo();
    data->IntergreenTimes[0][2][0] = 30;  // K3 after K1 in P1: the plan leaves 23 s
    ui::TFormPruefen form(*data, keys_);
    auto* table = form.findChild<QTableWidget*>(QStringLiteral("Befunde"));
    auto* severity = form.findChild<QComboBox*>(QStringLiteral("FilterArt"));
    auto* program = form.findChild<QComboBox*>(QStringLiteral("FilterProgramm"));
    severity->setCurrentIndex(severity->findText(QStringLiteral("Fehler")));
    const QStringList errors = Column(table, 0, true);
    QVERIFY(!errors.isEmpty());
    QCOMPARE(errors.count(QStringLiteral("Fehler")), errors.size());
    program->setCurrentIndex(program->findText(QStringLiteral("P1")));
    const QStringList texts = Column(table, 6, true);
    QVERIFY(texts.contains(QStringLiteral(
        "P1: K3 (G. 3) wird in s 71 grün, 23 s nach Ende von K1 (G. 1); Zwischenzeit 30 s "
        "verlangt")));
    QCOMPARE(Column(table, 1, true).count(QStringLiteral("P1")), texts.size());
    severity->setCurrentIndex(0);
    program->setCurrentIndex(0);
    QCOMPARE(Column(table, 0, true).size(), table->rowCount());
  }

  // The demo's 16 warnings are 4 facts found in 4 programs: 4 rows, errors
  // above them, the second of a finding in "Sek.".
  void GroupsTheSameFactAcrossProgramsErrorsFirst() {
    auto data = LoadDemo();
    data->IntergreenTimes[0][2][0] = 30;
    ui::TFormPruefen form(*data, keys_);
    auto* table = form.findChild<QTableWidget*>(QStringLiteral("Befunde"));
    const int warnings = static_cast<int>(
        std::count_if(form.Findings().begin(), form.Findings().end(),
                      [](const Finding& f) { return f.Level == Severity::Warnung; }));
    QCOMPARE(warnings, 16);
    QCOMPARE(Column(table, 0, false).count(QStringLiteral("Warnung")), 4);
    QVERIFY(Column(table, 6, false)
                .contains(
                    QStringLiteral("P1–P4: K21 (G. 6) ist in Betrieb, aber ohne Rotüberwachung")));
    const auto error = std::find_if(form.Findings().begin(), form.Findings().end(),
                                    [](const Finding& f) { return f.Level == Severity::Fehler; });
    QVERIFY(error != form.Findings().end() && error->Second >= 0);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("Fehler"));
    QCOMPARE(table->item(0, 1)->text(), QStringLiteral("P%1").arg(error->Program));
    QCOMPARE(table->item(0, 2)->text(),
             error->LastSecond > error->Second
                 ? QStringLiteral("%1–%2").arg(error->Second).arg(error->LastSecond)
                 : QString::number(error->Second));
    QCOMPARE(table->item(table->rowCount() - 1, 2)->text(), QStringLiteral("–"));
    auto* program = form.findChild<QComboBox*>(QStringLiteral("FilterProgramm"));
    program->setCurrentIndex(program->findText(QStringLiteral("P3")));
    QCOMPARE(Column(table, 1, true), QStringList(4, QStringLiteral("P1–P4")));
  }

  void SortsAndAsksForTheChartAndThePrint() {
    auto data = LoadDemo();
    data->IntergreenTimes[0][2][0] = 30;
    ui::TFormPruefen form(*data, keys_);
    auto* table = form.findChild<QTableWidget*>(QStringLiteral("Befunde"));
    table->sortItems(0);  // Fehler first
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("Fehler"));
    int row = 0;
    while (table->item(row, 6)->text() !=
           QStringLiteral("P1: K3 (G. 3) wird in s 71 grün, 23 s nach Ende von K1 (G. 1); "
                          "Zwischenzeit 30 s verlangt")) {
      ++row;
    }
    QSignalSpy chart(&form, &ui::TFormPruefen::FindingActivated);
    emit table->cellDoubleClicked(row, 6);
    QCOMPARE(chart.count(), 1);
    QCOMPARE(chart.at(0).at(0).toInt(), 1);
    QCOMPARE(chart.at(0).at(1).toInt(), 71);
    QSignalSpy print(&form, &ui::TFormPruefen::PrintRequested);
    QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("DruckenButton")),
                      Qt::LeftButton);
    QCOMPARE(print.count(), 1);
  }
};

}  // namespace ampelsim::test

int main(int argc, char** argv) {
  QTemporaryDir configHome;
  qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
  QApplication application(argc, argv);
  ampelsim::test::FormPruefenTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "form_pruefen_test.moc"
