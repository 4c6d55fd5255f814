#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <string_view>

#include "edit/edit_model.h"
#include "gui/app/app_test_support.h"
#include "gui/app/program_windows.h"
#include "gui/edit/form_bearbeiten.h"
#include "gui/edit/optimise_dialog.h"
#include "optimise/fixed_time_optimiser.h"
#include "optimise/optimised_program_command.h"
#include "traffic/traffic_file.h"

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

QString PeakFile() {
  return qEnvironmentVariable("AMPELSIM_SOURCE_DIR") + QStringLiteral("/demo/traffic/peak.json");
}

// The demo's P1 into the free slot P5 for the evening peak, as the dialog is filled in.
void FillIn(ui::OptimiseDialog& dialog, const QString& traffic, int runs) {
  Child<QLineEdit>(dialog, "Verkehrsdatei")->setText(traffic);
  auto* source = Child<QComboBox>(dialog, "Ausgangsprogramm");
  source->setCurrentIndex(source->findData(1));
  Child<QSpinBox>(dialog, "Stunde")->setValue(16);
  Child<QSpinBox>(dialog, "Laeufe")->setValue(runs);
  auto* target = Child<QComboBox>(dialog, "Zielprogramm");
  target->setCurrentIndex(target->findData(5));
}

bool Finished(const ui::OptimiseDialog& dialog) {
  return QTest::qWaitFor([&] { return !dialog.Running(); }, 120000);
}

}  // namespace

class OptimiseDialogTest : public QObject {
  Q_OBJECT

 private:
  std::filesystem::path CopyDemo() {
    const std::filesystem::path demo = dir_.Path() / "Demo";
    std::filesystem::remove_all(demo);
    std::filesystem::copy(qEnvironmentVariable("AMPELSIM_BINARY_DIR").toStdString() + "/Demo",
                          demo);
    return demo;
  }

  TempDir dir_;

 private slots:
  void AppliedProgramIsTheOptimisersInOneStep_data() {
    QTest::addColumn<int>("runs");
    QTest::newRow("Webster") << 0;
    QTest::newRow("ein Lauf") << 1;
  }

  // What "Übernehmen" writes is the optimiser's result for the same entries,
  // in the chosen slot, as one step that Undo takes back to the byte.
  void AppliedProgramIsTheOptimisersInOneStep() {
    QFETCH(int, runs);
    ui::TFormBearbeiten form;
    QVERIFY(!form.Open(CopyDemo()));
    const ControllerDataSet before = form.Model().Data();

    optimise::OptimiseRequest request;
    request.Program = 1;
    request.Into = 5;
    request.Hour = 16;
    request.Runs = runs;
    const auto traffic = traffic::ReadTrafficFile(PeakFile().toStdString());
    QVERIFY(traffic.Ok());
    const auto core = optimise::OptimiseFixedTime(before, *traffic, request);
    QVERIFY(core.Ok());
    ControllerDataSet expected = before;
    QVERIFY(optimise::PutOptimisedProgram(core->Data, 1, 5).Apply(expected).Ok());

    // The evening peak file has the same flows all day: its hour stays.
    ui::OptimiseDialog dialog(form.Model(), 1, PeakFile());
    QCOMPARE(Child<QSpinBox>(dialog, "Stunde")->value(), 16);
    FillIn(dialog, PeakFile(), runs);
    QVERIFY(dialog.Calculate());
    QVERIFY(Finished(dialog));
    QVERIFY2(dialog.Review() != nullptr, qPrintable(dialog.StatusText()));
    QVERIFY(Child<QPushButton>(dialog, "Uebernehmen")->isEnabled());
    QVERIFY(Child<QLabel>(dialog, "Webster")
                ->text()
                .contains(QStringLiteral("Umlaufzeit %1 s").arg(core->Plan.Timing.Cycle)));
    QVERIFY(Child<QLabel>(dialog, "Pruefung")->text().contains(QStringLiteral(" 0 Fehler")));
    const QString report = Child<QPlainTextEdit>(dialog, "Bericht")->toPlainText();
    QVERIFY(report.contains(QStringLiteral("vorher P1")));
    QVERIFY(report.contains(QStringLiteral("nachher P5")));

    form.Apply(*dialog.Command());
    QVERIFY(form.Model().Data() == expected);
    QCOMPARE(form.Model().Data().SignalPrograms[4].CycleTime, core->Timing.Cycle);
    QVERIFY(QString::fromStdString(form.Model().UndoName())
                .startsWith(QStringLiteral("Festzeitoptimierung von P1 als P5")));
    form.Undo();
    QVERIFY(form.Model().Data() == before);
    QVERIFY(!form.IsDirty());
  }

  // Through the menu: the dialog on the editor's data set, its result one
  // step of "Rückgängig"; "Abbrechen" changes nothing.
  void MenuEntryAppliesOrLeavesTheDataSet() {
    const StartDirectory start;
    ui::ProgramWindows windows(start.QPath());
    windows.Basis.Paths.DataDirectory = QString::fromStdString(CopyDemo().string());
    windows.FormSteuer.show();
    windows.FormSteuer.findChild<QAction*>(QStringLiteral("DatensatzBearbeiten"))->trigger();
    ui::TFormBearbeiten& editor = windows.Editing.Editor;
    QVERIFY(editor.HasModel());
    const ControllerDataSet before = editor.Model().Data();
    auto* optimise = windows.FormSteuer.findChild<QAction*>(QStringLiteral("Festzeitoptimierung"));
    QVERIFY(optimise != nullptr && optimise->isEnabled());

    for (const char* button : {"Abbrechen", "Uebernehmen"}) {
      QTimer::singleShot(0, [button] {
        auto* dialog = qobject_cast<ui::OptimiseDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        FillIn(*dialog, PeakFile(), 0);
        QVERIFY(dialog->Calculate());
        QVERIFY(Finished(*dialog));
        Child<QPushButton>(*dialog, button)->click();
      });
      optimise->trigger();
      if (std::string_view(button) == "Abbrechen") {
        QVERIFY(editor.Model().Data() == before);
        QVERIFY(!editor.Model().CanUndo());
      }
    }
    QVERIFY(!(editor.Model().Data() == before));
    QVERIFY(editor.Model().Data().SignalPrograms[4].CycleTime > 0);
    windows.FormSteuer.findChild<QAction*>(QStringLiteral("Rueckgaengig"))->trigger();
    QVERIFY(editor.Model().Data() == before);
    QVERIFY(!editor.Model().CanUndo());
    editor.SetUnsavedChangesQuestion(
        [](QWidget*, const QString&) { return ui::UnsavedChoice::Verwerfen; });
  }

  // Stopped during the refinement, the dialog has no result to take over.
  void StoppedRunOffersNothing() {
    ui::TFormBearbeiten form;
    QVERIFY(!form.Open(CopyDemo()));
    ui::OptimiseDialog dialog(form.Model(), 1, QString());
    FillIn(dialog, PeakFile(), 8);
    QVERIFY(dialog.Calculate());
    Child<QPushButton>(dialog, "BerechnungAbbrechen")->click();
    QVERIFY(Finished(dialog));
    QVERIFY(dialog.StatusText().contains(QStringLiteral("abgebrochen")));
    QVERIFY(dialog.Command() == nullptr);
    QVERIFY(!Child<QPushButton>(dialog, "Uebernehmen")->isEnabled());
    QVERIFY(!form.Model().CanUndo());
  }

  // Stages the optimiser refuses come back as its German reason, nothing to take over.
  void RefusedStagesAreSaid() {
    ui::TFormBearbeiten form;
    QVERIFY(!form.Open(CopyDemo()));
    ui::OptimiseDialog dialog(form.Model(), 1, QString());
    FillIn(dialog, PeakFile(), 0);
    Child<QLineEdit>(dialog, "Phasenfolge")->setText(QStringLiteral("1,2,8,9/2,5/3,4,6,99"));
    QVERIFY(dialog.Calculate());
    QVERIFY(Finished(dialog));
    QVERIFY2(dialog.StatusText().startsWith(QStringLiteral("Nicht berechnet: Phasenfolge: G. 99")),
             qPrintable(dialog.StatusText()));
    QVERIFY(dialog.Command() == nullptr);
  }

  void BadEntriesAreSaid_data() {
    QTest::addColumn<QString>("traffic");
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("message");
    QTest::newRow("keine Datei") << QString() << 60 << QStringLiteral("Bitte eine Verkehrsdatei");
    QTest::newRow("unlesbar") << QStringLiteral("kaputt.json") << 60
                              << QStringLiteral("kann nicht gelesen werden");
    QTest::newRow("fehlt") << QStringLiteral("fehlt.json") << 60
                           << QStringLiteral("kann nicht gelesen werden");
    QTest::newRow("leerer Bereich") << PeakFile() << 121 << QStringLiteral("Umlaufzeit ist leer");
  }

  void BadEntriesAreSaid() {
    QFETCH(QString, traffic);
    QFETCH(int, from);
    QFETCH(QString, message);
    QFile broken(QString::fromStdString((dir_.Path() / "kaputt.json").string()));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("{\"Groups\": [");
    broken.close();
    ui::TFormBearbeiten form;
    QVERIFY(!form.Open(CopyDemo()));
    ui::OptimiseDialog dialog(form.Model(), 1, QString());
    FillIn(dialog,
           traffic.endsWith(QStringLiteral("peak.json")) || traffic.isEmpty()
               ? traffic
               : QString::fromStdString((dir_.Path() / traffic.toStdString()).string()),
           0);
    Child<QSpinBox>(dialog, "UmlaufVon")->setValue(from);
    QVERIFY(!dialog.Calculate());
    QVERIFY2(dialog.StatusText().contains(message), qPrintable(dialog.StatusText()));
    QVERIFY(!dialog.Running());
    QVERIFY(dialog.Command() == nullptr);
  }
};

}  // namespace ampelsim::test

int main(int argc, char** argv) {
  QTemporaryDir configHome;
  qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
  QApplication app(argc, argv);
  ampelsim::test::OptimiseDialogTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "optimise_dialog_test.moc"
