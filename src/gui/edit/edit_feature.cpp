#include "gui/edit/edit_feature.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <filesystem>

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
  // The editor is a window of its own: the keys work there as in the main window.
  Editor.addActions({save_, undo_, redo_});
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

bool EditFeature::MayChangeDataSet() {
  return Editor.MayDiscard();
}

}  // namespace ampelsim::ui
