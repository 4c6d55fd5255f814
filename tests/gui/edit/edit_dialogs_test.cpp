#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "app/simulation.h"
#include "edit/edit_model.h"
#include "gui/app/app_test_support.h"
#include "gui/app/program_windows.h"
#include "gui/edit/form_bearbeiten.h"
#include "gui/edit/intergreen_dialog.h"
#include "gui/edit/new_junction_dialog.h"
#include "gui/edit/program_table.h"
#include "gui/edit/test_run.h"
#include "planning/junction_generator.h"
#include "verify/plan_verifier.h"

namespace ampelsim::test {
namespace {

template <class T>
T* Child(QWidget& parent, const char* name) {
  auto* child = parent.findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr) {
    qFatal("no child %s", name);
  }
  return child;
}

void Type(QTableWidget* table, int row, int column, const QString& text) {
  if (table->item(row, column) == nullptr) {
    table->setItem(row, column, new QTableWidgetItem);
  }
  table->item(row, column)->setText(text);
}

int Errors(const ControllerDataSet& data) {
  int errors = 0;
  for (const Finding& finding : VerifyDataSet(data)) {
    errors += finding.Level == Severity::Fehler ? 1 : 0;
  }
  return errors;
}

// One conflict point of the demo's G. 3 (clearing) and G. 1 (entering) with
// every value given: t = 1 s + (30 m + 6 m) / 6 m/s - 0 m / 10 m/s = 7 s.
constexpr char Geometry[] = R"({"Pairs": [
  {"Clearing": 3, "Entering": 1, "ClearingKind": "Kfz abbiegend",
   "EnteringKind": "Kfz geradeaus", "ClearingDistance": 30, "EnteringDistance": 0,
   "PassingTime": 1, "VehicleLength": 6, "ClearingSpeed": 6, "EnteringSpeed": 10}]})";
constexpr int Calculated = 7;
constexpr int DemoIntergreen = 9;

}  // namespace

class EditDialogsTest : public QObject {
  Q_OBJECT

 private:
  std::filesystem::path CopyDemo() {
    const std::filesystem::path demo = dir_.Path() / "Demo";
    std::filesystem::remove_all(demo);
    std::filesystem::copy(qEnvironmentVariable("AMPELSIM_BINARY_DIR").toStdString() + "/Demo",
                          demo);
    return demo;
  }

  static QByteArray Bytes(const std::filesystem::path& file) {
    QFile in(QString::fromStdString(file.string()));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
  }

  TempDir dir_;

 private slots:
  // "Testlauf" runs the edited plan from a copy: the data set's own files
  // stay as they were, the live chart shows, and what is edited during the
  // run does not reach the loaded controller.
  void TestRunLoadsTheEditedCopy() {
    const StartDirectory start;
    ui::ProgramWindows windows(start.QPath());
    const std::filesystem::path demo = CopyDemo();
    windows.Basis.Paths.DataDirectory = QString::fromStdString(demo.string());
    windows.FormSteuer.show();
    windows.FormSteuer.findChild<QAction*>(QStringLiteral("DatensatzBearbeiten"))->trigger();
    ui::TFormBearbeiten& editor = windows.Editing.Editor;
    auto* program = Child<QTableWidget>(editor, "Programmtabelle");
    const int green1End = static_cast<int>(ui::ProgramColumn::Green1End);
    program->item(0, green1End)->setText(QStringLiteral("43"));
    const QByteArray saved = Bytes(demo / "PROG.DAT");

    windows.FormSteuer.findChild<QAction*>(QStringLiteral("Testlauf"))->trigger();
    ui::TFormTestlauf& run = windows.Editing.TestRun;
    QVERIFY2(!run.Copy().empty(), qPrintable(run.StatusText()));
    QCOMPARE(windows.Basis.Sim->DataDirectory(), run.Copy().string());
    QCOMPARE(windows.Basis.Sim->Data().SignalPrograms[0].GreenEnd1[0], 43);
    QVERIFY(windows.Basis.Sim->Loader().DataValid());
    QVERIFY(windows.Signalplan.Ist.isVisible());
    QCOMPARE(Bytes(demo / "PROG.DAT"), saved);
    QVERIFY(editor.IsDirty());

    program->item(0, green1End)->setText(QStringLiteral("40"));
    QCOMPARE(windows.Basis.Sim->Data().SignalPrograms[0].GreenEnd1[0], 43);

    editor.hide();
    Child<QPushButton>(run, "ZurueckZurBearbeitung")->click();
    QVERIFY(editor.isVisible());
    QVERIFY(!run.isVisible());
    editor.SetUnsavedChangesQuestion(
        [](QWidget*, const QString&) { return ui::UnsavedChoice::Verwerfen; });
  }

  // The T-junction of the demo description typed into the dialog: the data
  // set written is the one `ampelsim-cli new` makes of the file, and it
  // verifies with 0 Fehler.
  void NewJunctionTypedInVerifies() {
    ui::NewJunctionDialog dialog;
    Child<QLineEdit>(dialog, "Ortstext1")->setText(QStringLiteral("Einmündung Hauptstraße /"));
    Child<QLineEdit>(dialog, "Ortstext2")->setText(QStringLiteral("Schulweg"));
    Child<QLineEdit>(dialog, "Auftraggeber")
        ->setText(QStringLiteral("Stadt Musterhausen Tiefbauamt"));
    Child<QSpinBox>(dialog, "Umlaufzeit")->setValue(60);
    Child<QSpinBox>(dialog, "AnzahlGruppen")->setValue(4);
    Child<QSpinBox>(dialog, "AnzahlPhasen")->setValue(2);
    auto* groups = Child<QTableWidget>(dialog, "Signalgruppen");
    const int minGreens[] = {10, 10, 6, 6};
    for (int row = 0; row < 4; ++row) {
      Type(groups, row, 2, QString::number(minGreens[row]));
    }
    qobject_cast<QComboBox*>(groups->cellWidget(3, 1))->setCurrentText(QStringLiteral("Fußgänger"));
    auto* conflicts = Child<QTableWidget>(dialog, "Konfliktmatrix");
    // Row clears, column enters, as the description's Intergreens.
    Type(conflicts, 0, 2, QStringLiteral("5"));
    Type(conflicts, 2, 0, QStringLiteral("6"));
    Type(conflicts, 1, 2, QStringLiteral("6"));
    Type(conflicts, 2, 1, QStringLiteral("5"));
    Type(conflicts, 3, 2, QStringLiteral("9"));
    Type(conflicts, 2, 3, QStringLiteral("4"));
    auto* stages = Child<QTableWidget>(dialog, "Phasenfolge");
    Type(stages, 0, 1, QStringLiteral("1, 2, 4"));
    Type(stages, 1, 1, QStringLiteral("3"));

    const std::filesystem::path folder = dir_.Path() / "T";
    QVERIFY2(dialog.Generate(folder), qPrintable(dialog.StatusText()));
    const Result<edit::EditModel> written = edit::EditModel::Open(folder);
    QVERIFY(written.Ok());
    QCOMPARE(Errors(written->Data()), 0);

    const auto spec =
        planning::ReadJunctionSpec(qEnvironmentVariable("AMPELSIM_SOURCE_DIR").toStdString() +
                                   "/demo/new-junction/t-junction.json");
    QVERIFY(spec.Ok());
    const planning::JunctionPlanResult plan = planning::GenerateJunction(*spec);
    QVERIFY(plan.Ok());
    QVERIFY(written->Data() == *plan->Data);
  }

  // A typing error names its cell and writes nothing.
  void NewJunctionRefusesBadCell() {
    ui::NewJunctionDialog dialog;
    Type(Child<QTableWidget>(dialog, "Konfliktmatrix"), 0, 1, QStringLiteral("fünf"));
    QVERIFY(!dialog.Generate(dir_.Path() / "Nichts"));
    QVERIFY(dialog.StatusText().contains(QStringLiteral("G. 1 räumt / G. 2")));
    QVERIFY(!std::filesystem::exists(dir_.Path() / "Nichts"));
  }

  // The calculation shows matrix and result side by side; taking it is one
  // step that sets that pair alone.
  void CalculatedIntergreensAreOneStep() {
    const std::filesystem::path demo = CopyDemo();
    const QString geometry = QString::fromStdString((dir_.Path() / "geometrie.json").string());
    QFile file(geometry);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(Geometry);
    file.close();

    ui::TFormBearbeiten form;
    QVERIFY(!form.Open(demo));
    auto expected = std::make_unique<ControllerDataSet>(form.Model().Data());
    expected->IntergreenTimes[0][0][2] = Calculated;
    ui::IntergreenDialog dialog(form.Model(), 1);
    QVERIFY(dialog.LoadGeometry(geometry));
    auto* table = Child<QTableWidget>(dialog, "Zwischenzeitenvergleich");
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(table->item(0, 2)->text(), QString::number(DemoIntergreen));
    QCOMPARE(table->item(0, 3)->text(), QString::number(Calculated));
    QCOMPARE(table->item(0, 4)->text(), QString::number(Calculated - DemoIntergreen));

    const auto fill = dialog.Fill();
    QVERIFY(fill != nullptr);
    form.Apply(*fill);
    QVERIFY(form.Model().Data() == *expected);
    QCOMPARE(QString::fromStdString(form.Model().UndoName()),
             QStringLiteral("Zwischenzeiten P1 aus der Geometrie berechnet"));
    form.Undo();
    QVERIFY(!form.IsDirty());
  }
};

}  // namespace ampelsim::test

int main(int argc, char** argv) {
  QTemporaryDir configHome;
  qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
  QApplication app(argc, argv);
  ampelsim::test::EditDialogsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "edit_dialogs_test.moc"
