#pragma once

#include <QString>

namespace ampelsim::ui {

// The three program-wide paths of the desktop program.
struct AppPaths {
  QString DataDirectory;     // where the data set is loaded from
  QString StandardDataPath;  // the configured standard path, the one persisted setting
  QString StartDirectory;    // the current directory at start-up; never changed afterwards
};

}  // namespace ampelsim::ui
