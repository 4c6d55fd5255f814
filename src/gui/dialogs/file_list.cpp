#include "gui/dialogs/file_list.h"

#include <QDir>

namespace ampelsim::ui {

FileList::FileList(QString mask, QWidget* parent) : QListWidget(parent), mask_(std::move(mask)) {
  setSelectionMode(QAbstractItemView::NoSelection);
}

void FileList::SetDirectory(const QString& directory) {
  directory_ = directory;
  clear();
  if (directory_.isEmpty()) {
    return;
  }
  // Without QDir::CaseSensitive the name filter ignores case.
  addItems(QDir(directory_).entryList({mask_}, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

}  // namespace ampelsim::ui
