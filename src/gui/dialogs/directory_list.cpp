#include "gui/dialogs/directory_list.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStyle>

namespace ampelsim::ui {
namespace {

constexpr int PathRole = Qt::UserRole;

QString CleanDirectory(const QString& path) {
  if (path.isEmpty()) {
    return path;
  }
  return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool IsRoot(const QString& directory) {
  return QDir(directory).isRoot();
}

}  // namespace

DirectoryList::DirectoryList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QListWidget::itemDoubleClicked, this, &DirectoryList::Open);
  connect(this, &QListWidget::itemSelectionChanged, this,
          [this] { emit ChosenDirectoryChanged(ChosenDirectory()); });
}

QString DirectoryList::ChosenDirectory() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? directory_ : selected.constFirst()->data(PathRole).toString();
}

void DirectoryList::SetReachable(std::function<bool(const QString&)> reachable) {
  reachable_ = std::move(reachable);
}

bool DirectoryList::SetDirectory(const QString& path) {
  const QString cameFrom = directory_;
  directory_ = CleanDirectory(path);
  read_ = !directory_.isEmpty() && (!reachable_ || reachable_(directory_)) &&
          QFileInfo(directory_).isDir() && QFileInfo(directory_).isReadable();
  {
    // One announcement of the new choice, after the list is filled.
    const QSignalBlocker quiet(this);
    Fill(cameFrom);
  }
  emit DirectoryChanged(directory_);
  emit ChosenDirectoryChanged(ChosenDirectory());
  return read_;
}

void DirectoryList::Fill(const QString& cameFrom) {
  clear();
  if (directory_.isEmpty()) {
    return;
  }
  const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
  if (!IsRoot(directory_)) {
    auto* up = new QListWidgetItem(folderIcon, QStringLiteral(".."), this);
    up->setData(PathRole, QDir::cleanPath(directory_ + QStringLiteral("/..")));
  }
  if (read_) {
    const QDir dir(directory_);
    const QStringList names =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
      auto* entry = new QListWidgetItem(folderIcon, name, this);
      entry->setData(PathRole, dir.filePath(name));
    }
  }
  if (count() == 0) {
    return;
  }
  // Coming up from a subdirectory, that subdirectory is the entry to continue
  // from. Going down, ".." leads back but is not chosen: the folder opened is.
  for (int row = 0; row < count(); ++row) {
    if (item(row)->text() != QStringLiteral("..") &&
        item(row)->data(PathRole).toString() == cameFrom) {
      setCurrentRow(row);
      return;
    }
  }
  setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

void DirectoryList::Open(QListWidgetItem* entry) {
  if (entry != nullptr) {
    SetDirectory(entry->data(PathRole).toString());
  }
}

void DirectoryList::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    // Enter opens the entry instead of reaching the dialog's default button.
    Open(currentItem());
    event->accept();
    return;
  }
  QListWidget::keyPressEvent(event);
}

}  // namespace ampelsim::ui
