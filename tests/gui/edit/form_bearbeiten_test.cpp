#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "edit/edit_model.h"
#include "gui/app/app_test_support.h"
#include "gui/app/program_windows.h"
#include "gui/edit/form_bearbeiten.h"
#include "gui/edit/program_table.h"

namespace ampelsim::test {
namespace {

constexpr int Column(ui::ProgramColumn column) {
  return static_cast<int>(column);
}

// The demo junction's P1 gives G. 1 green from 10 to 48 s.
constexpr int Group1Row = 0;
constexpr int Group1GreenEnd = 48;

QStringList Severities(QTableWidget* findings) {
  QStringList texts;
  for (int row = 0; row < findings->rowCount(); ++row) {
    texts << findings->item(row, 0)->text();
  }
  return texts;
}

}  // namespace

class FormBearbeitenTest : public QObject {
  Q_OBJECT

 private:
  // A copy of the built demo junction, which the editor may change.
  std::filesystem::path CopyDemo() {
    const std::filesystem::path copy = dir_.Path() / "Demo";
    std::filesystem::remove_all(copy);
    std::filesystem::copy(qEnvironmentVariable("AMPELSIM_BINARY_DIR").toStdString() + "/Demo",
                          copy);
    return copy;
  }

  static QTableWidget* Table(QWidget& form, const char* name) {
    auto* table = form.findChild<QTableWidget*>(QString::fromLatin1(name));
    if (table == nullptr) {
      qFatal("no table %s", name);
    }
    return table;
  }

  TempDir dir_;

 private slots:
  // Grün 1 bis of G. 1 typed 5 s earlier changes that field alone, in the
  // model and, after saving, in the files.
  void CellEditChangesThatFieldInModelAndFiles() {
    const std::filesystem::path demo = CopyDemo();
    ui::TFormBearbeiten form;
    QVERIFY(!form.Open(demo));
    auto expected = std::make_unique<ControllerDataSet>(form.Model().Data());
    expected->SignalPrograms[0].GreenEnd1[0] = Group1GreenEnd - 5;

    QTableWidget* table = Table(form, "Programmtabelle");
    QCOMPARE(table->item(Group1Row, Column(ui::ProgramColumn::Green1End))->text(),
             QString::number(Group1GreenEnd));
    table->item(Group1Row, Column(ui::ProgramColumn::Green1End))
        ->setText(QString::number(Group1GreenEnd - 5));
    QVERIFY(form.Model().Data() == *expected);
    QVERIFY(form.windowTitle().endsWith(QLatin1Char('*')));

    QVERIFY(form.Save());
    QVERIFY(!form.windowTitle().endsWith(QLatin1Char('*')));
    const Result<edit::EditModel> saved = edit::EditModel::Open(demo);
    QVERIFY(saved.Ok());
    QVERIFY(saved->Data() == *expected);
  }

  // A refused value shows the reason and the cell shows the model's value again.
  void RefusalShowsReasonAndRestoresCell() {
    ui::TFormBearbeiten form;
    QVERIFY(!form.Open(CopyDemo()));
    QTableWidgetItem* cell =
        Table(form, "Programmtabelle")->item(Group1Row, Column(ui::ProgramColumn::Green1End));
    cell->setText(QStringLiteral("500"));
    QVERIFY(!form.StatusText().isEmpty());
    QCOMPARE(cell->text(), QString::number(Group1GreenEnd));
    QVERIFY(!form.IsDirty());
  }

  // A second green needs both edges before it is added; emptied, it is removed.
  void SecondGreenIsAddedWithBothEdgesAndRemovedWhenEmptied() {
    ui::TFormBearbeiten form;
    QVERIFY(!form.Open(CopyDemo()));
    QTableWidget* table = Table(form, "Programmtabelle");
    const SignalProgram& plan = form.Model().Data().SignalPrograms[0];
    table->item(Group1Row, Column(ui::ProgramColumn::Green2Begin))->setText(QStringLiteral("60"));
    QVERIFY(!form.IsDirty());
    table->item(Group1Row, Column(ui::ProgramColumn::Green2End))->setText(QStringLiteral("70"));
    QCOMPARE(plan.GreenBegin2[0], 60);
    QCOMPARE(plan.GreenEnd2[0], 70);

    table->item(Group1Row, Column(ui::ProgramColumn::Green2End))->setText(QString());
    QCOMPARE(plan.GreenBegin2[0], 0);
    QCOMPARE(plan.GreenEnd2[0], 0);
    QCOMPARE(table->item(Group1Row, Column(ui::ProgramColumn::Green2Begin))->text(), QString());
  }

  // Green of G. 1 stretched into the other groups' greens: the findings list
  // shows a Fehler; undo takes it back and the title loses its star.
  void IntergreenBreakShowsFehlerAndUndoRestores() {
    ui::TFormBearbeiten form;
    QVERIFY(!form.Open(CopyDemo()));
    QTableWidget* findings = Table(form, "Befunde");
    const QStringList before = Severities(findings);
    QVERIFY(!before.contains(QStringLiteral("Fehler")));

    Table(form, "Programmtabelle")
        ->item(Group1Row, Column(ui::ProgramColumn::Green1End))
        ->setText(QStringLiteral("70"));
    QVERIFY(form.IsDirty());
    QVERIFY(Severities(findings).contains(QStringLiteral("Fehler")));

    form.Undo();
    QCOMPARE(Severities(findings), before);
    QVERIFY(!form.IsDirty());
    QVERIFY(!form.windowTitle().endsWith(QLatin1Char('*')));
  }

  // Closing with changes asks; "Abbrechen" keeps the window and the changes,
  // "Verwerfen" closes it.
  void CloseWithChangesAsks() {
    ui::TFormBearbeiten form;
    QVERIFY(!form.Open(CopyDemo()));
    form.show();
    int asked = 0;
    ui::UnsavedChoice answer = ui::UnsavedChoice::Abbrechen;
    form.SetUnsavedChangesQuestion([&](QWidget*, const QString&) {
      ++asked;
      return answer;
    });
    QVERIFY(form.close());
    QCOMPARE(asked, 0);

    QVERIFY(!form.Open(CopyDemo()));
    form.show();
    Table(form, "Programmtabelle")
        ->item(Group1Row, Column(ui::ProgramColumn::Yellow))
        ->setText(QStringLiteral("4"));
    QVERIFY(!form.close());
    QCOMPARE(asked, 1);
    QVERIFY(form.isVisible());
    QVERIFY(form.IsDirty());

    answer = ui::UnsavedChoice::Verwerfen;
    QVERIFY(form.close());
    QVERIFY(!form.HasModel());
  }

  // "Datensatz bearbeiten" opens the data directory that is set; the undo
  // entry names the step; quitting with changes asks and may be cancelled.
  void MenuOpensDataDirectoryAndQuitIsGuarded() {
    const StartDirectory start;
    ui::ProgramWindows windows(start.QPath());
    windows.Basis.Paths.DataDirectory = Q(CopyDemo());
    windows.FormSteuer.show();
    auto* edit = windows.FormSteuer.findChild<QAction*>(QStringLiteral("DatensatzBearbeiten"));
    auto* undo = windows.FormSteuer.findChild<QAction*>(QStringLiteral("Rueckgaengig"));
    QVERIFY(edit != nullptr && undo != nullptr);
    QVERIFY(!undo->isEnabled());
    edit->trigger();
    ui::TFormBearbeiten& editor = windows.Editing.Editor;
    QVERIFY(editor.isVisible());
    QVERIFY(editor.windowTitle().contains(windows.Basis.Paths.DataDirectory));

    Table(editor, "Programmtabelle")
        ->item(Group1Row, Column(ui::ProgramColumn::Yellow))
        ->setText(QStringLiteral("4"));
    QVERIFY(undo->isEnabled());
    QVERIFY(undo->text().startsWith(QStringLiteral("Rückgängig: ")));

    int asked = 0;
    editor.SetUnsavedChangesQuestion([&](QWidget*, const QString&) {
      ++asked;
      return ui::UnsavedChoice::Abbrechen;
    });
    QVERIFY(!windows.FormSteuer.close());
    QCOMPARE(asked, 1);
    QVERIFY(windows.FormSteuer.isVisible());
    undo->trigger();
    QVERIFY(!editor.IsDirty());
  }
};

}  // namespace ampelsim::test

int main(int argc, char** argv) {
  QTemporaryDir configHome;
  qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
  QApplication app(argc, argv);
  ampelsim::test::FormBearbeitenTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "form_bearbeiten_test.moc"
