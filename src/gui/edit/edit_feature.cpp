#include "gui/edit/edit_feature.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <filesystem>

#include "gui/edit/intergreen_dialog.h"
#include "gui/edit/new_junction_dialog.h"
#include "gui/edit/optimise_dialog.h"

namespace ampelsim::ui {
namespace {

QString StepCaption(const char* verb, const std::string& step) {
  const QString caption = QString::fromUtf8(verb);
  return step.empty() ? caption : caption + QStringLiteral(": ") + QString::fromStdString(step);
}

}  // namespace

EditFeature::EditFeature(const QString& dataDirectory) : dataDirectory_(dataDirectory) {}

void EditFeature::Install(FeatureHost& host) {
  host_ = &host;
  QMenu& menu = host.Menu(MainMenu::Bearbeiten);
  QObject::connect(AddMenuAction(menu, "NeuerKnotenpunkt", QStringLiteral("Neuer Knotenpunkt ...")),
                   &QAction::triggered, &menu, [this] { NewJunction(); });
  QAction* edit =
      AddMenuAction(menu, "DatensatzBearbeiten", QStringLiteral("Datensatz bearbeiten"));
  edit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  QObject::connect(edit, &QAction::triggered, &menu, [this] { EditDataSet(); });
  menu.addSeparator();
  save_ = AddMenuAction(menu, "Speichern", QStringLiteral("Speichern"));
  save_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  QObject::connect(save_, &QAction::triggered, &menu, [this] { Editor.Save(); });
  saveAs_ = AddMenuAction(menu, "SpeichernUnter", QStringLiteral("Speichern unter ..."));
  QObject::connect(saveAs_, &QAction::triggered, &menu, [this] { Editor.SaveAs(); });
  menu.addSeparator();
  undo_ = AddMenuAction(menu, "Rueckgaengig", QStringLiteral("Rückgängig"));
  undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  QObject::connect(undo_, &QAction::triggered, &menu, [this] { Editor.Undo(); });
  redo_ = AddMenuAction(menu, "Wiederholen", QStringLiteral("Wiederholen"));
  redo_->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  QObject::connect(redo_, &QAction::triggered, &menu, [this] { Editor.Redo(); });
  menu.addSeparator();
  calculate_ = AddMenuAction(menu, "ZwischenzeitenBerechnen",
                             QStringLiteral("Zwischenzeiten berechnen ..."));
  QObject::connect(calculate_, &QAction::triggered, &menu, [this] { CalculateIntergreens(); });
  optimise_ = AddMenuAction(menu, "Festzeitoptimierung", QStringLiteral("Festzeitoptimierung ..."));
  QObject::connect(optimise_, &QAction::triggered, &menu, [this] { OptimiseFixedTime(); });
  testRun_ = AddMenuAction(menu, "Testlauf", QStringLiteral("Testlauf"));
  testRun_->setShortcut(QKeySequence(Qt::Key_F9));
  QObject::connect(testRun_, &QAction::triggered, &menu, [this] { RunTest(); });
  QObject::connect(&TestRun, &TFormTestlauf::BackToEditing, &menu, [this] {
    if (Editor.HasModel()) {
      ShowOnTop(Editor);
    }
  });
  // The editor is a window of its own: the keys work there as in the main window.
  Editor.addActions({save_, undo_, redo_, testRun_});
  QObject::connect(&Editor, &TFormBearbeiten::ModelChanged, &menu, [this] { ShowCommands(); });
  ShowCommands();
}

void EditFeature::ShowCommands() {
  if (save_ == nullptr) {
    return;
  }
  const bool open = Editor.HasModel();
  save_->setEnabled(open);
  saveAs_->setEnabled(open);
  calculate_->setEnabled(open);
  optimise_->setEnabled(open);
  testRun_->setEnabled(open);
  undo_->setEnabled(open && Editor.Model().CanUndo());
  undo_->setText(StepCaption("Rückgängig", open ? Editor.Model().UndoName() : std::string()));
  redo_->setEnabled(open && Editor.Model().CanRedo());
  redo_->setText(StepCaption("Wiederholen", open ? Editor.Model().RedoName() : std::string()));
}

void EditFeature::EditDataSet() {
  const std::filesystem::path directory = dataDirectory_.toStdString();
  if (Editor.HasModel() && Editor.Model().Directory() == directory) {
    ShowOnTop(Editor);
    return;
  }
  if (!Editor.MayDiscard()) {
    return;
  }
  if (const std::optional<Error> refused = Editor.Open(directory)) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Datensatz bearbeiten"),
                    QStringLiteral("Der Datensatz in „%1“ kann nicht bearbeitet werden:\n%2")
                        .arg(dataDirectory_, QString::fromStdString(refused->Message)),
                    QMessageBox::Ok, host_ != nullptr ? &host_->MainWindow() : nullptr);
    box.setObjectName(QStringLiteral("BearbeitenFehlerBox"));
    box.exec();
    return;
  }
  ShowOnTop(Editor);
}

void EditFeature::NewJunction() {
  if (!Editor.MayDiscard()) {
    return;
  }
  NewJunctionDialog dialog(host_ != nullptr ? &host_->MainWindow() : nullptr);
  if (dialog.exec() != QDialog::Accepted) {
    return;
  }
  OpenWritten(dialog.Written());
}

void EditFeature::OpenWritten(const std::filesystem::path& directory) {
  if (const std::optional<Error> refused = Editor.Open(directory)) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Neuer Knotenpunkt"),
                    QStringLiteral("Der neue Datensatz kann nicht geöffnet werden:\n%1")
                        .arg(QString::fromStdString(refused->Message)),
                    QMessageBox::Ok, host_ != nullptr ? &host_->MainWindow() : nullptr);
    box.setObjectName(QStringLiteral("BearbeitenFehlerBox"));
    box.exec();
    return;
  }
  ShowOnTop(Editor);
}

void EditFeature::CalculateIntergreens() {
  if (!Editor.HasModel()) {
    return;
  }
  IntergreenDialog dialog(Editor.Model(), Editor.CurrentProgram(), &Editor);
  if (dialog.exec() != QDialog::Accepted) {
    return;
  }
  if (const std::unique_ptr<edit::CommandGroup> fill = dialog.Fill()) {
    Editor.Apply(*fill);
  }
}

void EditFeature::OptimiseFixedTime() {
  if (!Editor.HasModel()) {
    return;
  }
  const QString traffic =
      TrafficLocation ? TrafficLocation()
                      : QString::fromStdString(Editor.Model().Directory().parent_path().string());
  OptimiseDialog dialog(Editor.Model(), Editor.CurrentProgram(), traffic, &Editor);
  if (dialog.exec() != QDialog::Accepted) {
    return;
  }
  if (const std::unique_ptr<edit::EditCommand> step = dialog.Command()) {
    Editor.Apply(*step);
  }
}

void EditFeature::RunTest() {
  if (!Editor.HasModel() || !RunDataSet) {
    return;
  }
  TestRun.Run(Editor.Model(), RunDataSet);
  ShowOnTop(TestRun);
}

bool EditFeature::MayChangeDataSet() {
  return Editor.MayDiscard();
}

}  // namespace ampelsim::ui
