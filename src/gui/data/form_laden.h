#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;
class QPushButton;

namespace ampelsim {
class Simulation;
}

namespace ampelsim::ui {

class CommonKeys;

// "Daten für Steuerung laden": loads a data set chosen with "Daten laden" and
// shows the loader's log, one line per entry, until the user presses OK.
class TFormLaden : public QDialog {
  Q_OBJECT

 public:
  TFormLaden(Simulation& simulation, CommonKeys& keys, QWidget* parent = nullptr);

  // "Daten laden" confirmed: loads the directory into the simulation, shows
  // the log and runs modally. Nothing is loaded or shown while the menu entry
  // is disabled (the controller runs); the result is then Rejected.
  int LoadAndShow(const QString& directory);

  // The text of the log box: every line ends with a line feed.
  QString LogText() const;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormShow();
  void OKClick();
  void OKExit();

  Simulation& simulation_;
  QPlainTextEdit* editLaden_;
  QPushButton* ok_;
};

}  // namespace ampelsim::ui
