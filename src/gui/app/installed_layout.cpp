#include "gui/app/installed_layout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "gui/app/glyphs.h"
#include "gui/app/help_document.h"
#include "gui/app/start_up.h"
#include "gui/traffic/traffic_feature.h"

namespace ampelsim::ui {
namespace {

bool IsPreparedStartDirectory(const QString& directory) {
  const QDir dir(directory);
  return QFileInfo(dir.filePath(QString::fromLatin1(DemandPressedGlyphFile))).isFile() &&
         QFileInfo(dir.filePath(QString::fromLatin1(DemandReleasedGlyphFile))).isFile();
}

// A link in the workspace to an installed file; what the user put there under
// the same name is kept.
void LinkInstalledFile(const QDir& workspace, const QDir& installed, const char* name) {
  const QString target = installed.filePath(QString::fromLatin1(name));
  const QString link = workspace.filePath(QString::fromLatin1(name));
  if (!QFileInfo::exists(target)) {
    return;
  }
  const QFileInfo present(link);
  if (present.isSymLink()) {
    if (present.canonicalFilePath() == QFileInfo(target).canonicalFilePath()) {
      return;
    }
    QFile::remove(link);
  } else if (present.exists()) {
    return;
  }
  QFile::link(target, link);
}

}  // namespace

QString InstalledDataDirectory(const QString& executableDirectory) {
  const QString data = QDir::cleanPath(
      QDir(executableDirectory).filePath(QString::fromLatin1(InstalledDataFromExecutable)));
  const QDir dir(data);
  if (executableDirectory.isEmpty() ||
      !QFileInfo(dir.filePath(QString::fromLatin1(DefaultDataDirectoryName))).isDir()) {
    return {};
  }
  return data;
}

QString ChooseStartDirectory(const QString& currentDirectory, const QString& executableDirectory,
                             const QString& userDataHome) {
  if (IsPreparedStartDirectory(currentDirectory)) {
    return currentDirectory;
  }
  const QString installed = InstalledDataDirectory(executableDirectory);
  if (installed.isEmpty() || userDataHome.isEmpty()) {
    return currentDirectory;
  }
  const QString workspace =
      QDir::cleanPath(QDir(userDataHome).filePath(QString::fromLatin1(UserWorkspaceName)));
  if (!QDir().mkpath(workspace)) {
    return currentDirectory;
  }
  const QDir workspaceDir(workspace);
  const QDir installedDir(installed);
  for (const char* name :
       {DefaultDataDirectoryName, HelpDocumentName, DemandPressedGlyphFile, DemandReleasedGlyphFile,
        DemoTrafficDirectoryName, DemoSumoDirectoryName}) {
    LinkInstalledFile(workspaceDir, installedDir, name);
  }
  return workspace;
}

}  // namespace ampelsim::ui
