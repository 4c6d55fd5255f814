#include "gui/dialogs/drive_selector.h"

#include <QFileInfo>
#include <QSignalBlocker>

namespace ampelsim::ui {

DriveSelector::DriveSelector(QWidget* parent) : QComboBox(parent), source_(SystemVolumeSource()) {
  Refresh();
}

void DriveSelector::SetVolumeSource(VolumeSource source) {
  source_ = std::move(source);
  Refresh();
}

void DriveSelector::Refresh() {
  const QSignalBlocker blocker(this);
  const QString selected = Drive();
  volumes_ = source_.mounted ? source_.mounted() : QList<Volume>{};
  clear();
  for (const Volume& volume : volumes_) {
    const bool showName = !volume.name.isEmpty() && volume.name != volume.root;
    addItem(showName ? volume.root + QStringLiteral("  [") + volume.name + QLatin1Char(']')
                     : volume.root,
            volume.root);
  }
  setCurrentIndex(findData(selected));
}

QString DriveSelector::Drive() const {
  return currentData().toString();
}

void DriveSelector::SetDrive(const QString& root) {
  const QSignalBlocker blocker(this);
  setCurrentIndex(root.isEmpty() ? -1 : findData(root));
}

QString DriveSelector::DriveOf(const QString& path) const {
  return VolumeRootOf(path, volumes_);
}

bool DriveSelector::IsReady(const QString& root) const {
  return !root.isEmpty() && source_.ready && source_.ready(root) && QFileInfo(root).isDir();
}

bool DriveSelector::IsOnReadyDrive(const QString& path) const {
  const QString root = DriveOf(path);
  return root.isEmpty() || IsReady(root);
}

}  // namespace ampelsim::ui
