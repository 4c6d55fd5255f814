#pragma once

#include <QListWidget>
#include <functional>

namespace ampelsim::ui {

// A directory list that browses on its own: it shows ".." and the
// subdirectories of its directory, and a double-click or Enter on an entry
// opens it. Unlike a platform directory list it never touches the process's
// current directory, so files opened by bare name stay in the start directory.
class DirectoryList final : public QListWidget {
  Q_OBJECT

 public:
  explicit DirectoryList(QWidget* parent = nullptr);

  // Asked before a directory is read; a directory on a drive that is not
  // ready is shown without entries instead of being read.
  void SetReachable(std::function<bool(const QString& directory)> reachable);

  // Makes path the list's directory and reads it afresh. The directory is taken
  // even when it cannot be read, so a later retry reads the same place again;
  // returns whether it could be read. Emits DirectoryChanged in either case.
  bool SetDirectory(const QString& path);

  // Absolute and clean, without a trailing separator except for the root.
  QString Directory() const { return directory_; }
  bool DirectoryRead() const { return read_; }
  // What looks chosen, and so what a dialog's OK takes: the selected entry,
  // else the list's directory. Coming up with "..", the folder left is the
  // selected entry.
  QString ChosenDirectory() const;

 signals:
  void DirectoryChanged(const QString& directory);
  void ChosenDirectoryChanged(const QString& directory);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Fill(const QString& cameFrom);
  void Open(QListWidgetItem* item);

  std::function<bool(const QString&)> reachable_;
  QString directory_;
  bool read_ = false;
};

}  // namespace ampelsim::ui
