#include "app/ui/help_document.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace ampelsim::ui {

HelpDocument::HelpDocument(const QString& startDirectory)
    : path_(QDir(startDirectory).filePath(QString::fromLatin1(HelpDocumentName))) {}

bool HelpDocument::Exists() const {
  return QFileInfo(path_).isFile();
}

void HelpDocument::Open() const {
  if (Exists()) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path_));
  }
}

}  // namespace ampelsim::ui
