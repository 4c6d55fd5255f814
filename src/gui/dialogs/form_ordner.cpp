#include "gui/dialogs/form_ordner.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "gui/dialogs/dialog_frame.h"
#include "gui/dialogs/dialog_messages.h"
#include "gui/dialogs/folder_name.h"
#include "gui/dialogs/form_get_stand_dir.h"
#include "gui/widgets/common_keys.h"

namespace ampelsim::ui {

TFormOrdner::TFormOrdner(TFormGetStandDir& owner, CommonKeys& keys, QWidget* parent)
    : QDialog(parent), owner_(owner) {
  setObjectName(QStringLiteral("FormOrdner"));
  SetUpDialogFrame(*this, QStringLiteral("Neuer Ordner"), QSize(443, 106));

  AddLabel(this, QStringLiteral("Aktueller Ordner:"), QRect(8, 8, 427, 16));
  LabelAktuell = Place(new QLabel(this), QStringLiteral("LabelAktuell"), QRect(8, 24, 427, 16));

  AddLabel(this, QStringLiteral("Name:"), QRect(8, 48, 40, 16));
  MemoPfad = Place(new QLineEdit(this), QStringLiteral("MemoPfad"), QRect(48, 46, 387, 21));
  MemoPfad->setMaxLength(255);

  ButtonOk = Place(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("ButtonOk"),
                   QRect(272, 74, 75, 25));
  ButtonOk->setDefault(true);
  ButtonAbbruch = Place(new QPushButton(QStringLiteral("Abbruch"), this),
                        QStringLiteral("ButtonAbbruch"), QRect(360, 74, 75, 25));

  connect(ButtonOk, &QPushButton::clicked, this, &TFormOrdner::ButtonOkClick);
  connect(ButtonAbbruch, &QPushButton::clicked, this, &TFormOrdner::ButtonAbbruchClick);

  keys.InstallOn(this);
}

void TFormOrdner::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) {
    FormShow();
  }
}

void TFormOrdner::FormShow() {
  ParentPath = owner_.ListDirectory();
  LabelAktuell->setText(ParentPath);
  MemoPfad->setText(QStringLiteral("Neuer Ordner"));
  MemoPfad->selectAll();
  MemoPfad->setFocus();
}

void TFormOrdner::ButtonOkClick() {
  const QString name = MemoPfad->text();
  if (!IsValidFolderName(name)) {
    ShowMessage(this, InvalidFolderNameCaption(), InvalidFolderNameText(name));
    return;
  }
  NewFolderPath = NewFolderPathFor(ParentPath, name);
  if (!QFileInfo(NewFolderPath).isDir()) {
    QDir().mkpath(NewFolderPath);
  }
  if (QFileInfo(NewFolderPath).isDir()) {
    // Visiting the new folder and coming back makes the list read the parent afresh.
    owner_.SetListDirectory(NewFolderPath);
    owner_.SetListDirectory(ParentPath);
  }
  accept();
}

void TFormOrdner::ButtonAbbruchClick() {
  reject();
}

}  // namespace ampelsim::ui
