#include "gui/verify/check_questions.h"

#include <QMessageBox>
#include <QPushButton>

namespace ampelsim::ui {

CheckWarningChoice ShowCheckWarning(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Datensatz prüfen"), text,
                  QMessageBox::NoButton, parent);
  box.setObjectName(QStringLiteral("DatensatzFehlerBox"));
  QPushButton* check = box.addButton(QStringLiteral("Prüfen"), QMessageBox::ActionRole);
  QPushButton* ok = box.addButton(QMessageBox::Ok);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
  return box.clickedButton() == check ? CheckWarningChoice::Pruefen : CheckWarningChoice::Ok;
}

bool AskStartDespiteErrors(QWidget* parent, int errors) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Start"),
                  QStringLiteral("Der Datensatz enthält %1 Fehler. Trotzdem starten?").arg(errors),
                  QMessageBox::NoButton, parent);
  box.setObjectName(QStringLiteral("TrotzdemStartenBox"));
  QPushButton* start = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
  QPushButton* cancel = box.addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
  box.setDefaultButton(cancel);
  box.setEscapeButton(cancel);
  box.exec();
  return box.clickedButton() == start;
}

}  // namespace ampelsim::ui
