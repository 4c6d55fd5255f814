#pragma once

#include <QString>

namespace ampelsim::ui {

// Characters a new folder's name must not contain: < > | * ? \ /
bool IsValidFolderName(const QString& name);

// The path of a folder named name below parent; a parent that already ends
// with a separator (the root) is followed directly by the name.
QString NewFolderPathFor(const QString& parent, const QString& name);

QString InvalidFolderNameCaption();
QString InvalidFolderNameText(const QString& name);

}  // namespace ampelsim::ui
