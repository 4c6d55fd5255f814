#include "gui/dialogs/folder_name.h"

namespace ampelsim::ui {

bool IsValidFolderName(const QString& name) {
  static const QString Forbidden = QStringLiteral("<>|*?\\/");
  for (const QChar c : name) {
    if (Forbidden.contains(c)) {
      return false;
    }
  }
  return true;
}

QString NewFolderPathFor(const QString& parent, const QString& name) {
  if (parent.endsWith(QLatin1Char('/'))) {
    return parent + name;
  }
  return parent + QLatin1Char('/') + name;
}

QString InvalidFolderNameCaption() {
  return QStringLiteral("Fehler");
}

QString InvalidFolderNameText(const QString& name) {
  return QStringLiteral("Der Name '") + name +
         QStringLiteral(
             "' ist kein zulässiger\nOrdnername, weil er nicht verwendbare Zeichen "
             "enthält.\nBitte überprüfen Sie die Eingabe und verwenden Sie nicht\ndie "
             "folgenden Zeichen: <>|*?/\\");
}

}  // namespace ampelsim::ui
