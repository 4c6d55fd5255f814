#include <QApplication>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "edit/edit_model.h"
#include "gui/app/app_test_support.h"
#include "gui/edit/data_table_view.h"
#include "gui/edit/form_bearbeiten.h"
#include "gui/edit/week_table.h"

namespace ampelsim::test {
namespace {

// The demo junction's P1: G. 3 ends green at 4 s, G. 1 begins at 10 s, and
// the matrix asks 6 s from G. 3 to G. 1 (row G. 3, column G. 1).
constexpr int ClearingRow = 2;
constexpr int EnteringColumn = 0;
constexpr int DemoIntergreen = 9;

QTableWidget* Table(QWidget& form, const char* name) {
  auto* table = form.findChild<QTableWidget*>(QString::fromLatin1(name));
  if (table == nullptr) {
    qFatal("no table %s", name);
  }
  return table;
}

bool HasIntergreenFinding(const edit::EditModel& model) {
  for (const Finding& finding : model.FindingsOf(1)) {
    if (finding.Kind == FindingKind::Intergreen && finding.Groups == std::vector<int>{1, 3}) {
      return true;
    }
  }
  return false;
}

}  // namespace

class DataTablesTest : public QObject {
  Q_OBJECT

 private:
  std::filesystem::path CopyDemo() {
    const std::filesystem::path copy = dir_.Path() / "Demo";
    std::filesystem::remove_all(copy);
    std::filesystem::copy(qEnvironmentVariable("AMPELSIM_BINARY_DIR").toStdString() + "/Demo",
                          copy);
    return copy;
  }

  TempDir dir_;

 private slots:
  // A longer intergreen than the plan keeps: that cell alone changes, is
  // marked, the verifier reports it; undo restores cell, mark and finding.
  void IntergreenBeyondThePlanIsMarkedAndUndone() {
    ui::TFormBearbeiten form;
    QVERIFY(!form.Open(CopyDemo()));
    QTableWidget* matrix = Table(form, "Zwischenzeitenmatrix");
    QTableWidgetItem* cell = matrix->item(ClearingRow, EnteringColumn);
    QCOMPARE(cell->text(), QString::number(DemoIntergreen));
    QVERIFY(!HasIntergreenFinding(form.Model()));
    auto expected = std::make_unique<ControllerDataSet>(form.Model().Data());
    expected->IntergreenTimes[0][EnteringColumn][ClearingRow] = DemoIntergreen + 2;

    cell->setText(QString::number(DemoIntergreen + 2));
    QVERIFY(form.Model().Data() == *expected);
    QVERIFY(HasIntergreenFinding(form.Model()));
    QCOMPARE(matrix->item(ClearingRow, EnteringColumn)->background().color(),
             ui::MarkColour(ui::CellMark::Violated));
    QVERIFY(matrix->item(EnteringColumn, ClearingRow)->background().style() == Qt::NoBrush);

    form.Undo();
    QCOMPARE(matrix->item(ClearingRow, EnteringColumn)->text(), QString::number(DemoIntergreen));
    QVERIFY(matrix->item(ClearingRow, EnteringColumn)->background().style() == Qt::NoBrush);
    QVERIFY(!form.IsDirty());
  }

  // Locking two groups sets both halves of the matrix; without intergreen
  // times the lock is refused, said in the status line, and the box cleared.
  void LockIsSymmetricAndNeedsIntergreens() {
    ui::TFormBearbeiten form;
    QVERIFY(!form.Open(CopyDemo()));
    QTableWidget* locks = Table(form, "Feindlichkeitsmatrix");
    locks->item(0, 1)->setCheckState(Qt::Checked);
    QVERIFY(form.StatusText().contains(QStringLiteral("fehlen")));
    QCOMPARE(locks->item(0, 1)->checkState(), Qt::Unchecked);
    QVERIFY(!form.IsDirty());

    Table(form, "Zwischenzeitenmatrix")->item(0, 1)->setText(QStringLiteral("4"));
    Table(form, "Zwischenzeitenmatrix")->item(1, 0)->setText(QStringLiteral("5"));
    locks->item(0, 1)->setCheckState(Qt::Checked);
    QCOMPARE(form.Model().Data().GreenGreenLocks[0][0][1], 1);
    QCOMPARE(form.Model().Data().GreenGreenLocks[0][1][0], 1);
    QCOMPARE(locks->item(1, 0)->checkState(), Qt::Checked);
    // G. 1 and G. 2 are green together in the demo: the lock shows it.
    QCOMPARE(locks->item(1, 0)->background().color(), ui::MarkColour(ui::CellMark::Violated));
  }

  // A cell of the week table that sets two targets is one undo step.
  void WeekCellIsOneStep() {
    ui::TFormBearbeiten form;
    QVERIFY(!form.Open(CopyDemo()));
    const ControllerDataSet before = form.Model().Data();
    Table(form, "Wochentabelle")->item(0, 0)->setText(QStringLiteral("06:00 P1, 22:00 Blinken"));
    QCOMPARE(form.Model().Data().SwitchingPoints[0][0][FlashingProgram - 1], 22 * 60);
    QCOMPARE(form.Model().Data().SwitchingPoints[0][0][0], 6 * 60);
    Table(form, "Wochentabelle")->item(0, 0)->setText(QStringLiteral("25:00 P1"));
    QVERIFY(form.StatusText().contains(QStringLiteral("zwischen 00:01 und 23:59")));
    form.Undo();
    QVERIFY(form.Model().Data() == before);
  }

  void SwitchTimesReadBackAsWritten_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("shown");
    QTest::newRow("leer") << QString() << true << QString();
    QTest::newRow("zwei") << "22:00 blinken,6:05 P2" << true << "06:05 P2, 22:00 Blinken";
    QTest::newRow("dunkel") << "23:59 Dunkel" << true << "23:59 Dunkel";
    QTest::newRow("mitternacht") << "00:00 P1" << false << QString();
    QTest::newRow("minute") << "06:60 P1" << false << QString();
    QTest::newRow("programm") << "06:00 P7" << false << QString();
    QTest::newRow("doppelt") << "06:00 P1, 07:00 P1" << false << QString();
    QTest::newRow("form") << "P1 06:00" << false << QString();
  }
  void SwitchTimesReadBackAsWritten() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, shown);
    const Result<ui::SwitchTimes> times = ui::ParseSwitchTimes(text);
    QCOMPARE(times.Ok(), valid);
    if (valid) {
      QCOMPARE(ui::SwitchTimesText(*times), shown);
    }
  }
};

}  // namespace ampelsim::test

int main(int argc, char** argv) {
  QTemporaryDir configHome;
  qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
  QApplication app(argc, argv);
  ampelsim::test::DataTablesTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "data_tables_test.moc"
