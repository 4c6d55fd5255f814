#pragma once

#include <QString>

#include "gui/dialogs/app_paths.h"

namespace ampelsim::ui {

class SettingsStore;

// The file that holds the standard data path before the settings existed.
inline constexpr char MigrationFileName[] = "ODATPFAD_2.00.INI";
// The data directory below the start directory used when no other is there.
inline constexpr char DefaultDataDirectoryName[] = "Demo";
// The demo's SUMO model, beside the demo junction and its traffic files
// (DemoTrafficDirectoryName).
inline constexpr char DemoSumoDirectoryName[] = "sumo";

// The path that the migration file in startDirectory names; empty when the
// file or its entry is missing. The file is only read.
QString ReadMigrationPath(const QString& startDirectory);

// Settles the paths of a program started in startDirectory: the standard
// data path from the settings (on the very first start from the migration
// file, which is then written to the settings), falling back to "Demo" below
// the start directory, created if needed, when the configured directory is
// not there. The fallback is not written to the settings.
AppPaths SettleStartPaths(const QString& startDirectory, SettingsStore& settings);

}  // namespace ampelsim::ui
