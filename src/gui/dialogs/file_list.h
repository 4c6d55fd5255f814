#pragma once

#include <QListWidget>

namespace ampelsim::ui {

// Lists the files of one directory that match a mask, for information only.
// The mask matches regardless of case: data files may be named ALL.DAT or all.dat.
class FileList final : public QListWidget {
  Q_OBJECT

 public:
  explicit FileList(QString mask, QWidget* parent = nullptr);

  // Reads directory afresh; an empty directory clears the list.
  void SetDirectory(const QString& directory);
  QString Directory() const { return directory_; }

 private:
  QString mask_;
  QString directory_;
};

}  // namespace ampelsim::ui
