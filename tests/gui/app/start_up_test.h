#pragma once

#include <QObject>

namespace ampelsim::test {

// The start-up decisions: fault store, settings, migration, data path, help.
class StartUpTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup();
  void startDirectoryIsTheCurrentDirectory();
  void faultStoreIsCreatedWith180Bytes();
  void existingFaultStoreIsReadNotRewritten();
  void firstStartMigratesThePathOfTheIniFile();
  void laterStartIgnoresTheIniFile();
  void firstStartWithoutUsablePath_data();
  void firstStartWithoutUsablePath();
  void removedConfiguredDirectoryFallsBackToDemo();
  void helpEntryVisibleOnlyWithTheDocument_data();
  void helpEntryVisibleOnlyWithTheDocument();
};

}  // namespace ampelsim::test
