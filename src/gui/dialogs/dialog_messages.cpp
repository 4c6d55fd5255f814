#include "gui/dialogs/dialog_messages.h"

#include <QMessageBox>

namespace ampelsim::ui {

QString AccessErrorCaption() {
  return QStringLiteral("Zugriffsfehler");
}

QString ConfiguredDriveNotReadyText() {
  return QStringLiteral(
      "Das eingestellte Laufwerk ist nicht bereit\nBitte den Fehler beheben (z.B. Diskette "
      "einlegen)\nund wiederholen !");
}

QString ChosenDriveNotReadyDisketteText() {
  return QStringLiteral(
      "Das gewählte Laufwerk ist nicht bereit\nBitte den Fehler beheben (z.B. Diskette "
      "einlegen)\nund wiederholen !");
}

QString ChosenDriveNotReadyDatentraegerText() {
  return QStringLiteral(
      "Das gewählte Laufwerk ist nicht bereit\nBitte den Fehler beheben (z.B. Datenträger "
      "einlegen)\nund wiederholen !");
}

QString InfoCaption() {
  return QStringLiteral("Info");
}

QString SettingsApplyAtNextStartText() {
  return QStringLiteral("Die Programmeinstellungen werden\nbeim nächsten Start übernommen !");
}

void ShowMessage(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace ampelsim::ui
