#pragma once

#include <QDir>
#include <QListWidget>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "gui/dialogs/volumes.h"
#include "gui/widgets/common_keys.h"

namespace ampelsim::ui::test {

// Each test program's runner; main() calls them in turn.
int RunFolderNameTests(int argc, char** argv);
int RunDialogLayoutTests(int argc, char** argv);
int RunFormGetDirTests(int argc, char** argv);
int RunFormGetStandDirTests(int argc, char** argv);
int RunFormOrdnerTests(int argc, char** argv);

// Records and closes every message box that becomes the active modal window
// while it exists, so a test can click a button that opens one.
class MessageBoxWatcher {
 public:
  MessageBoxWatcher();
  // One entry per message box, as Describe() writes it.
  QStringList Seen() const { return seen_; }

 private:
  void Poll();
  QTimer timer_;
  QStringList seen_;
};

// How a message box with one OK button and no icon is recorded by the watcher.
QString Describe(const QString& caption, const QString& text);

// Volumes of a test: the root "/" and any folders the test mounts; any of them
// can be made not ready.
class FakeVolumes {
 public:
  void Mount(const QString& root) { roots_.append(root); }
  void SetReady(const QString& root, bool ready);
  VolumeSource Source();

 private:
  QStringList roots_{QStringLiteral("/")};
  QSet<QString> notReady_;
};

struct KeyCounts {
  int help = 0;
  int mainWindow = 0;
};

inline CommonKeys MakeKeys(KeyCounts& counts) {
  return CommonKeys([&counts] { ++counts.help; }, [&counts] { ++counts.mainWindow; });
}

// A control that the dialog itself holds, found by its component name.
template <typename T>
T* Control(QWidget& dialog, const QString& name) {
  return dialog.findChild<T*>(name, Qt::FindDirectChildrenOnly);
}

QStringList Texts(const QListWidget* list);
QString MakeDirectory(const QString& path);
void Touch(const QString& path);
// Everything in directory, hidden entries included.
QStringList Entries(const QString& directory);
// The temporary folder's path with links resolved, as the lists show it.
QString Canonical(const QString& path);

// Opens an entry of a directory list the way a user does.
void PressEnterOn(QListWidget* list, const QString& entry);
void DoubleClickOn(QListWidget* list, const QString& entry);

}  // namespace ampelsim::ui::test
