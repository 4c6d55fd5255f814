#include "gui/edit/edit_questions.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace ampelsim::ui {

UnsavedChoice AskUnsavedChanges(QWidget* parent, const QString& dataSet) {
  QMessageBox box(
      QMessageBox::Question, QStringLiteral("Änderungen speichern?"),
      QStringLiteral("Der Datensatz „%1“ wurde geändert.\nÄnderungen speichern?").arg(dataSet),
      QMessageBox::NoButton, parent);
  box.setObjectName(QStringLiteral("AenderungenSpeichernBox"));
  QPushButton* save = box.addButton(QStringLiteral("Speichern"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(QStringLiteral("Verwerfen"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == save) {
    return UnsavedChoice::Speichern;
  }
  return box.clickedButton() == discard ? UnsavedChoice::Verwerfen : UnsavedChoice::Abbrechen;
}

QString AskSaveFolder(QWidget* parent, const QString& proposed) {
  return QFileDialog::getExistingDirectory(parent, QStringLiteral("Speichern unter"), proposed);
}

}  // namespace ampelsim::ui
