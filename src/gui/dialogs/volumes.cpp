#include "gui/dialogs/volumes.h"

#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace ampelsim::ui {
namespace {

bool Contains(const QString& root, const QString& path) {
  if (path == root) {
    return true;
  }
  const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
  return path.startsWith(prefix);
}

QList<Volume> MountedSystemVolumes() {
  QList<Volume> volumes;
  for (const QStorageInfo& info : QStorageInfo::mountedVolumes()) {
    const QString root = info.rootPath();
    // Containers bind-mount single files; only directories can be browsed.
    if (!info.isValid() || !QFileInfo(root).isDir()) {
      continue;
    }
    const bool known = std::any_of(volumes.cbegin(), volumes.cend(),
                                   [&](const Volume& v) { return v.root == root; });
    if (!known) {
      volumes.append({root, info.displayName()});
    }
  }
  std::sort(volumes.begin(), volumes.end(),
            [](const Volume& a, const Volume& b) { return a.root < b.root; });
  return volumes;
}

bool SystemVolumeReady(const QString& root) {
  const QStorageInfo info(root);
  return info.isValid() && info.isReady() && QFileInfo(root).isDir();
}

}  // namespace

VolumeSource SystemVolumeSource() {
  return {MountedSystemVolumes, SystemVolumeReady};
}

QString VolumeRootOf(const QString& path, const QList<Volume>& volumes) {
  QString best;
  if (path.isEmpty()) {
    return best;
  }
  for (const Volume& volume : volumes) {
    if (volume.root.size() > best.size() && Contains(volume.root, path)) {
      best = volume.root;
    }
  }
  return best;
}

}  // namespace ampelsim::ui
