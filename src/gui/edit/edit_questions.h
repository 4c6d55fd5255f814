#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace ampelsim::ui {

// The answers to "Änderungen speichern?".
enum class UnsavedChoice { Speichern, Verwerfen, Abbrechen };

// Asks what becomes of the unsaved changes of a data set; tests answer
// without a dialog.
using UnsavedChangesQuestion =
    std::function<UnsavedChoice(QWidget* parent, const QString& dataSet)>;
UnsavedChoice AskUnsavedChanges(QWidget* parent, const QString& dataSet);

// Asks for the folder "Speichern unter" writes to, proposing one; empty when
// the user cancels.
using FolderQuestion = std::function<QString(QWidget* parent, const QString& proposed)>;
QString AskSaveFolder(QWidget* parent, const QString& proposed);

}  // namespace ampelsim::ui
