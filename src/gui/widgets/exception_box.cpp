#include "gui/widgets/exception_box.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

namespace ampelsim::ui {

QString ExceptionBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.')) {
    return message + QLatin1Char('.');
  }
  return message;
}

void ShowExceptionBox(const QString& message) {
  QMessageBox box(QMessageBox::Critical, QString::fromLatin1(ApplicationTitle),
                  ExceptionBoxText(message), QMessageBox::Ok, QApplication::activeWindow());
  box.setObjectName(QStringLiteral("ExceptionBox"));
  box.exec();
}

void ReportingExceptions(const std::function<void()>& work) {
  try {
    work();
  } catch (const std::exception& error) {
    ShowExceptionBox(QString::fromUtf8(error.what()));
  } catch (...) {
    ShowExceptionBox(QStringLiteral("Unbekannter Fehler"));
  }
}

}  // namespace ampelsim::ui
