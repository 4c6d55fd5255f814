#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QLineEdit;
class QPushButton;
class QToolButton;

namespace ampelsim::ui {

struct AppPaths;
class CommonKeys;
class DirectoryList;
class DriveSelector;
class SettingsStore;
class TFormOrdner;

// "Datenpfad wählen": changes the standard data path, which takes effect at the
// next start. Shown modelessly; it owns the "Neuer Ordner" dialog it opens.
// The current directory is never changed while browsing, so nothing has to be
// restored when it hides.
class TFormGetStandDir final : public QDialog {
  Q_OBJECT

 public:
  TFormGetStandDir(AppPaths& paths, SettingsStore& settings, CommonKeys& keys,
                   QWidget* parent = nullptr);

  // Called with the new standard data path once the user confirmed it.
  void SetPathChangedHandler(std::function<void(const QString& path)> handler) {
    pathChanged_ = std::move(handler);
  }

  QString ListDirectory() const;
  void SetListDirectory(const QString& directory);

 public slots:
  // "Programmeinstellungen": shows the dialog, or brings it to the front if it is open.
  void ShowDialog();

 protected:
  void showEvent(QShowEvent* event) override;

 private slots:
  void FormShow();
  void DirectoryListBoxChange(const QString& directory);
  void DriveComboBoxChange();
  void OKClick();
  void ButtonCancelClick();
  void SpeedButtonNOrdnerClick();

 private:
  AppPaths& paths_;
  SettingsStore& settings_;

  QToolButton* SpeedButtonNOrdner;
  QLineEdit* MemoPfad;
  QLineEdit* EditBearbeiter;
  QLineEdit* EditFirma;
  DirectoryList* DirectoryListBox;
  DriveSelector* DriveComboBox;
  QPushButton* ButtonCancel;
  QPushButton* OK;
  TFormOrdner* FormOrdner;

  QString PathAtOpen;
  QString RememberedDrive;
  bool ShowSucceeded = false;
  std::function<void(const QString& path)> pathChanged_;
};

}  // namespace ampelsim::ui
