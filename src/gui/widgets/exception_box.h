#pragma once

#include <QString>
#include <functional>

namespace ampelsim::ui {

inline constexpr char ApplicationTitle[] = "Simulationsprogramm";

// The text of the standard exception box: the message with a full stop
// appended when its last character sorts above ".".
QString ExceptionBoxText(const QString& message);

// Shows the standard exception box: caption "Simulationsprogramm", error
// icon, one OK button.
void ShowExceptionBox(const QString& message);

// Runs an event handler's work and shows what it throws in the exception box:
// an exception must never travel through Qt's event dispatch.
void ReportingExceptions(const std::function<void()>& work);

}  // namespace ampelsim::ui
