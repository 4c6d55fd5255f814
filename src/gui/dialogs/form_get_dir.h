#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace ampelsim::ui {

class CommonKeys;
class DirectoryList;
class DriveSelector;
class FileList;
class PathLabel;

// "Verzeichnis auswählen": picks the directory of the data set to load. The
// caller sets SelectedDirectory, runs exec() and reads SelectedDirectory back.
// Browsing never changes the process's current directory.
class TFormGetDir final : public QDialog {
  Q_OBJECT

 public:
  explicit TFormGetDir(CommonKeys& keys, QWidget* parent = nullptr);

  // In: the starting directory. Out: the chosen one; unchanged unless OK was used.
  QString SelectedDirectory;

  QString ListDirectory() const;
  void SetListDirectory(const QString& directory);

 protected:
  void showEvent(QShowEvent* event) override;

 private slots:
  void FormShow();
  void DriveComboBoxChange();
  void OKClick();
  void AbbrechenClick();

 private:
  void BindDirectoryList();
  void PointFileListAtDirectoryList();

  PathLabel* LabelDirAlt;
  DirectoryList* DirectoryListBox;
  FileList* FileListBox;
  DriveSelector* DriveComboBox;
  QPushButton* OK;
  QPushButton* Abbrechen;

  QString RememberedDrive;
  bool ShowSucceeded = false;
  bool directoryListBound_ = false;
};

}  // namespace ampelsim::ui
