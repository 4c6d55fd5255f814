#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ampelsim::ui {

class CommonKeys;
class TFormGetStandDir;

// "Neuer Ordner": creates a folder below the directory that "Datenpfad wählen"
// shows, and makes that dialog's list show it.
class TFormOrdner final : public QDialog {
  Q_OBJECT

 public:
  TFormOrdner(TFormGetStandDir& owner, CommonKeys& keys, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;

 private slots:
  void FormShow();
  void ButtonOkClick();
  void ButtonAbbruchClick();

 private:
  TFormGetStandDir& owner_;

  QLabel* LabelAktuell;
  QLineEdit* MemoPfad;
  QPushButton* ButtonOk;
  QPushButton* ButtonAbbruch;

  QString ParentPath;
  QString NewFolderPath;
};

}  // namespace ampelsim::ui
