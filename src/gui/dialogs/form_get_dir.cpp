#include "gui/dialogs/form_get_dir.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include "gui/dialogs/dialog_frame.h"
#include "gui/dialogs/dialog_messages.h"
#include "gui/dialogs/directory_list.h"
#include "gui/dialogs/drive_selector.h"
#include "gui/dialogs/file_list.h"
#include "gui/widgets/common_keys.h"
#include "gui/widgets/elided_label.h"

namespace ampelsim::ui {

TFormGetDir::TFormGetDir(CommonKeys& keys, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FormGetDir"));
  SetUpDialogFrame(*this, QStringLiteral("Verzeichnis auswählen"), QSize(419, 278));

  AddLabel(this, QStringLiteral("Eingestelltes Verzeichnis:"), QRect(8, 8, 403, 16));
  LabelDirAlt = Place(new PathLabel(this), QStringLiteral("LabelDirAlt"), QRect(8, 24, 403, 16));

  AddLabel(this, QStringLiteral("Verzeichnisse:"), QRect(8, 48, 200, 16));
  DirectoryListBox =
      Place(new DirectoryList(this), QStringLiteral("DirectoryListBox"), QRect(8, 64, 200, 170));

  AddLabel(this, QStringLiteral("Dateien: (*.DAT)"), QRect(216, 48, 195, 16));
  FileListBox = Place(new FileList(QStringLiteral("*.DAT"), this), QStringLiteral("FileListBox"),
                      QRect(216, 64, 195, 114));

  AddLabel(this, QStringLiteral("Laufwerke:"), QRect(216, 186, 195, 16));
  DriveComboBox =
      Place(new DriveSelector(this), QStringLiteral("DriveComboBox"), QRect(216, 204, 195, 24));

  OK = Place(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("OK"),
             QRect(248, 244, 75, 25));
  Abbrechen = Place(new QPushButton(QStringLiteral("Abbrechen"), this), QStringLiteral("Abbrechen"),
                    QRect(336, 244, 75, 25));

  DirectoryListBox->SetReachable(
      [this](const QString& directory) { return DriveComboBox->IsOnReadyDrive(directory); });
  connect(DriveComboBox, &QComboBox::currentIndexChanged, this, &TFormGetDir::DriveComboBoxChange);
  connect(OK, &QPushButton::clicked, this, &TFormGetDir::OKClick);
  connect(Abbrechen, &QPushButton::clicked, this, &TFormGetDir::AbbrechenClick);

  keys.InstallOn(this);
}

QString TFormGetDir::ListDirectory() const {
  return DirectoryListBox->Directory();
}

void TFormGetDir::SetListDirectory(const QString& directory) {
  DirectoryListBox->SetDirectory(directory);
}

void TFormGetDir::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) {
    FormShow();
  }
}

void TFormGetDir::FormShow() {
  LabelDirAlt->SetPath(SelectedDirectory);
  OK->setDefault(true);
  setResult(QDialog::Rejected);
  DriveComboBox->Refresh();

  // The list reads its directory afresh on every set-up.
  if (!DirectoryListBox->SetDirectory(SelectedDirectory)) {
    ShowSucceeded = false;
    ShowMessage(this, AccessErrorCaption(), ConfiguredDriveNotReadyText());
    return;
  }
  PointFileListAtDirectoryList();
  BindDirectoryList();
  DriveComboBox->SetDrive(DriveComboBox->DriveOf(ListDirectory()));
  RememberedDrive = DriveComboBox->Drive();
  ShowSucceeded = true;
}

void TFormGetDir::BindDirectoryList() {
  if (directoryListBound_) {
    return;
  }
  // From the first successful set-up on, the label and the file list follow
  // what the list shows chosen, which is what OK takes.
  connect(DirectoryListBox, &DirectoryList::ChosenDirectoryChanged, this,
          [this](const QString& directory) {
            LabelDirAlt->SetPath(directory);
            PointFileListAtDirectoryList();
          });
  directoryListBound_ = true;
}

void TFormGetDir::PointFileListAtDirectoryList() {
  const QString chosen = DirectoryListBox->ChosenDirectory();
  const bool readable =
      chosen == ListDirectory() ? DirectoryListBox->DirectoryRead() : QFileInfo(chosen).isDir();
  FileListBox->SetDirectory(readable ? chosen : QString());
}

void TFormGetDir::DriveComboBoxChange() {
  const QString drive = DriveComboBox->Drive();
  if (DriveComboBox->IsReady(drive)) {
    DirectoryListBox->SetDirectory(drive);
    PointFileListAtDirectoryList();
    return;
  }
  // Back to the drive of the set-up, not to the last good choice.
  DriveComboBox->SetDrive(RememberedDrive);
  ShowMessage(this, AccessErrorCaption(), ChosenDriveNotReadyDisketteText());
}

void TFormGetDir::OKClick() {
  SelectedDirectory = DirectoryListBox->ChosenDirectory();
  if (!ShowSucceeded) {
    // The user may have made the drive ready meanwhile: set up again, stay open.
    FormShow();
    return;
  }
  accept();
}

void TFormGetDir::AbbrechenClick() {
  reject();
}

}  // namespace ampelsim::ui
