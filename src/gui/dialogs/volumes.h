#pragma once

#include <QList>
#include <QString>
#include <functional>

namespace ampelsim::ui {

// One mounted volume, the counterpart of a drive letter.
struct Volume {
  QString root;  // absolute path of its mount point
  QString name;  // what the drive selector shows beside the root; may be empty
};

// Where the drive selectors learn which volumes exist and whether one is
// ready. The system source asks the operating system; tests hand in their own
// so that a volume can be "not ready" without unplugging anything.
struct VolumeSource {
  std::function<QList<Volume>()> mounted;
  std::function<bool(const QString& root)> ready;
};

// Mounted volumes from QStorageInfo; a volume is ready when the system says so
// and its root directory exists.
VolumeSource SystemVolumeSource();

// The root of the volume that holds path: the longest root that is path itself
// or one of its ancestors; empty when no volume holds it.
QString VolumeRootOf(const QString& path, const QList<Volume>& volumes);

}  // namespace ampelsim::ui
