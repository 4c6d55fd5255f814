#pragma once

#include <QComboBox>

#include "gui/dialogs/volumes.h"

namespace ampelsim::ui {

// The drive selector: one entry per mounted volume. Changes made through
// SetDrive and Refresh are silent; only the user's choice emits
// currentIndexChanged.
class DriveSelector final : public QComboBox {
  Q_OBJECT

 public:
  explicit DriveSelector(QWidget* parent = nullptr);

  void SetVolumeSource(VolumeSource source);

  // Reads the mounted volumes again, keeping the selected one if it is still there.
  void Refresh();

  // Root of the selected volume; empty when none is selected.
  QString Drive() const;
  void SetDrive(const QString& root);

  // Root of the listed volume that holds path; empty when none does.
  QString DriveOf(const QString& path) const;

  // A drive is ready when the source says so and its root directory exists.
  bool IsReady(const QString& root) const;

  // Whether path can be read as far as its drive is concerned; a path on no
  // listed volume is left to the file system to judge.
  bool IsOnReadyDrive(const QString& path) const;

 private:
  VolumeSource source_;
  QList<Volume> volumes_;
};

}  // namespace ampelsim::ui
