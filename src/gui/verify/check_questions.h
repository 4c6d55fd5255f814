#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace ampelsim::ui {

// The answers to the warning after a load with errors.
enum class CheckWarningChoice { Pruefen, Ok };

// Shows the warning of a load check; tests answer without a dialog.
using CheckWarning = std::function<CheckWarningChoice(QWidget* parent, const QString& text)>;
CheckWarningChoice ShowCheckWarning(QWidget* parent, const QString& text);

// What Start does after the check: start at once, start after the user was
// asked (the mouse was released in the question), or not start.
enum class StartDecision { Start, StartAfterQuestion, DontStart };

// "Der Datensatz enthält n Fehler. Trotzdem starten?": true starts.
using StartQuestion = std::function<bool(QWidget* parent, int errors)>;
bool AskStartDespiteErrors(QWidget* parent, int errors);

}  // namespace ampelsim::ui
