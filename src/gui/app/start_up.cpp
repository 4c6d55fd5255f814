#include "gui/app/start_up.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QVariant>

#include "gui/dialogs/settings_store.h"

namespace ampelsim::ui {
namespace {

constexpr char MigrationValue[] = "SecStrings/Verzeichnis";

QString DefaultDataPath(const QString& startDirectory) {
  return QDir(startDirectory).filePath(QString::fromLatin1(DefaultDataDirectoryName));
}

}  // namespace

QString ReadMigrationPath(const QString& startDirectory) {
  const QString file = QDir(startDirectory).filePath(QString::fromLatin1(MigrationFileName));
  if (!QFileInfo(file).isFile()) {
    return {};
  }
  const QSettings ini(file, QSettings::IniFormat);
  const QVariant value = ini.value(QString::fromLatin1(MigrationValue));
  // The INI reader splits an unquoted value at commas; a path may hold one.
  if (value.typeId() == QMetaType::QStringList) {
    return value.toStringList().join(QLatin1Char(','));
  }
  return value.toString();
}

AppPaths SettleStartPaths(const QString& startDirectory, SettingsStore& settings) {
  const QString defaultPath = DefaultDataPath(startDirectory);
  QString standardPath;
  if (settings.KeyExisted()) {
    standardPath = settings.StandardDataPath();
  } else {
    // First start for this user: the old file hands its path over once.
    standardPath = ReadMigrationPath(startDirectory);
    if (standardPath.isEmpty()) {
      standardPath = defaultPath;
    }
    settings.SetStandardDataPath(standardPath);
  }
  if (standardPath.isEmpty()) {
    standardPath = defaultPath;
  }

  // A configured directory that is gone (removed, or on a drive that is not
  // mounted) stays in the settings and is tried again at the next start.
  if (!QFileInfo(standardPath).isDir()) {
    standardPath = defaultPath;
    QDir().mkpath(standardPath);
  }

  AppPaths paths;
  paths.StandardDataPath = standardPath;
  paths.DataDirectory = standardPath;
  paths.StartDirectory = startDirectory;
  return paths;
}

}  // namespace ampelsim::ui
