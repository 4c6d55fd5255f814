#pragma once

#include <QString>

class QWidget;

namespace ampelsim::ui {

// The texts the data path dialogs show in message boxes.
QString AccessErrorCaption();
QString ConfiguredDriveNotReadyText();
QString ChosenDriveNotReadyDisketteText();
QString ChosenDriveNotReadyDatentraegerText();
QString InfoCaption();
QString SettingsApplyAtNextStartText();

// A message box with one OK button and no icon; returns when it is closed.
void ShowMessage(QWidget* parent, const QString& caption, const QString& text);

}  // namespace ampelsim::ui
