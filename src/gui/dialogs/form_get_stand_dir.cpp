#include "gui/dialogs/form_get_stand_dir.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QToolButton>

#include "gui/dialogs/app_paths.h"
#include "gui/dialogs/dialog_frame.h"
#include "gui/dialogs/dialog_messages.h"
#include "gui/dialogs/directory_list.h"
#include "gui/dialogs/drive_selector.h"
#include "gui/dialogs/form_ordner.h"
#include "gui/dialogs/settings_store.h"
#include "gui/widgets/common_keys.h"

namespace ampelsim::ui {

TFormGetStandDir::TFormGetStandDir(AppPaths& paths, SettingsStore& settings, CommonKeys& keys,
                                   QWidget* parent)
    : QDialog(parent), paths_(paths), settings_(settings) {
  setObjectName(QStringLiteral("FormGetStandDir"));
  SetUpDialogFrame(*this, QStringLiteral("Datenpfad wählen"), QSize(419, 242));

  AddLabel(this, QStringLiteral("gewähltes Standardverzeichnis:"), QRect(8, 8, 403, 16));
  SpeedButtonNOrdner =
      Place(new QToolButton(this), QStringLiteral("SpeedButtonNOrdner"), QRect(8, 26, 25, 25));
  SpeedButtonNOrdner->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
  SpeedButtonNOrdner->setAutoRaise(true);
  SpeedButtonNOrdner->setToolTip(QStringLiteral("Neuen Ordner erstellen"));
  MemoPfad = Place(new QLineEdit(this), QStringLiteral("MemoPfad"), QRect(40, 28, 371, 21));
  MemoPfad->setReadOnly(true);

  AddLabel(this, QStringLiteral("Verzeichnisse:"), QRect(8, 58, 240, 16));
  DirectoryListBox =
      Place(new DirectoryList(this), QStringLiteral("DirectoryListBox"), QRect(8, 74, 240, 160));

  AddLabel(this, QStringLiteral("Laufwerke:"), QRect(256, 58, 155, 16));
  DriveComboBox =
      Place(new DriveSelector(this), QStringLiteral("DriveComboBox"), QRect(256, 74, 155, 24));

  // Who signs the printed signal timing sheets.
  AddLabel(this, QStringLiteral("Bearbeiter:"), QRect(256, 110, 155, 16));
  EditBearbeiter =
      Place(new QLineEdit(this), QStringLiteral("EditBearbeiter"), QRect(256, 126, 155, 21));
  AddLabel(this, QStringLiteral("Firma:"), QRect(256, 152, 155, 16));
  EditFirma = Place(new QLineEdit(this), QStringLiteral("EditFirma"), QRect(256, 168, 155, 21));

  ButtonCancel = Place(new QPushButton(QStringLiteral("Abbruch"), this),
                       QStringLiteral("ButtonCancel"), QRect(256, 209, 75, 25));
  OK = Place(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("OK"),
             QRect(336, 209, 75, 25));

  DirectoryListBox->SetReachable(
      [this](const QString& directory) { return DriveComboBox->IsOnReadyDrive(directory); });
  // The path field shows what the list shows chosen, which is what OK takes.
  connect(DirectoryListBox, &DirectoryList::ChosenDirectoryChanged, this,
          &TFormGetStandDir::DirectoryListBoxChange);
  connect(DriveComboBox, &QComboBox::currentIndexChanged, this,
          &TFormGetStandDir::DriveComboBoxChange);
  connect(OK, &QPushButton::clicked, this, &TFormGetStandDir::OKClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &TFormGetStandDir::ButtonCancelClick);
  connect(SpeedButtonNOrdner, &QToolButton::clicked, this,
          &TFormGetStandDir::SpeedButtonNOrdnerClick);

  keys.InstallOn(this);
  // Created last: it reads this dialog's list, and installs its own key handling.
  FormOrdner = new TFormOrdner(*this, keys, this);
}

QString TFormGetStandDir::ListDirectory() const {
  return DirectoryListBox->Directory();
}

void TFormGetStandDir::SetListDirectory(const QString& directory) {
  DirectoryListBox->SetDirectory(directory);
}

void TFormGetStandDir::ShowDialog() {
  show();
  raise();
  activateWindow();
}

void TFormGetStandDir::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) {
    FormShow();
  }
}

void TFormGetStandDir::FormShow() {
  OK->setDefault(true);
  DriveComboBox->Refresh();
  if (!QFileInfo(paths_.StandardDataPath).isDir()) {
    // Kept for this run only; the settings still name the configured path.
    paths_.StandardDataPath = QDir::cleanPath(paths_.StartDirectory + QStringLiteral("/Demo"));
    QDir().mkpath(paths_.StandardDataPath);
  }
  PathAtOpen = paths_.StandardDataPath;
  EditBearbeiter->setText(settings_.SheetAuthor());
  EditFirma->setText(settings_.SheetCompany());

  if (!DirectoryListBox->SetDirectory(paths_.StandardDataPath)) {
    ShowSucceeded = false;
    ShowMessage(this, AccessErrorCaption(), ConfiguredDriveNotReadyText());
    return;
  }
  DriveComboBox->SetDrive(DriveComboBox->DriveOf(ListDirectory()));
  RememberedDrive = DriveComboBox->Drive();
  ShowSucceeded = true;
}

void TFormGetStandDir::DirectoryListBoxChange(const QString& directory) {
  MemoPfad->setText(directory);
}

void TFormGetStandDir::DriveComboBoxChange() {
  const QString drive = DriveComboBox->Drive();
  if (DriveComboBox->IsReady(drive)) {
    DirectoryListBox->SetDirectory(drive);
    return;
  }
  DriveComboBox->SetDrive(RememberedDrive);
  ShowMessage(this, AccessErrorCaption(), ChosenDriveNotReadyDatentraegerText());
}

void TFormGetStandDir::OKClick() {
  if (!ShowSucceeded) {
    FormShow();
    return;
  }
  accept();
  settings_.SetSheetAuthors(EditBearbeiter->text().trimmed(), EditFirma->text().trimmed());
  paths_.StandardDataPath = DirectoryListBox->ChosenDirectory();
  // Written even when unchanged, so the settings always hold what the user confirmed.
  settings_.SetStandardDataPath(paths_.StandardDataPath);
  if (paths_.StandardDataPath != PathAtOpen) {
    ShowMessage(parentWidget(), InfoCaption(), SettingsApplyAtNextStartText());
    if (pathChanged_) {
      pathChanged_(paths_.StandardDataPath);
    }
  }
}

void TFormGetStandDir::ButtonCancelClick() {
  reject();
}

void TFormGetStandDir::SpeedButtonNOrdnerClick() {
  FormOrdner->exec();
}

}  // namespace ampelsim::ui
