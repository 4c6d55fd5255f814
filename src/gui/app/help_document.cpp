#include "gui/app/help_document.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace ampelsim::ui {
namespace {

constexpr int DesktopQueryMilliseconds = 3000;

// False only when the desktop says for sure that no program takes PDF files.
bool DesktopHasPdfViewer() {
  const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (xdgMime.isEmpty()) {
    return true;  // no way to ask: the launch itself tells
  }
  QProcess query;
  query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"),
                        QStringLiteral("application/pdf")});
  if (!query.waitForFinished(DesktopQueryMilliseconds)) {
    query.kill();
    query.waitForFinished();
    return true;
  }
  return query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0 ||
         !query.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

bool OpenWithDesktopViewer(const QString& path) {
  return DesktopHasPdfViewer() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

HelpDocument::HelpDocument(const QString& startDirectory, PdfViewer viewer)
    : path_(QDir(startDirectory).filePath(QString::fromLatin1(HelpDocumentName))),
      viewer_(std::move(viewer)) {}

bool HelpDocument::Exists() const {
  return QFileInfo(path_).isFile();
}

HelpDocument::OpenResult HelpDocument::Open() const {
  if (!Exists()) {
    return OpenResult::Missing;
  }
  return viewer_ && viewer_(path_) ? OpenResult::Opened : OpenResult::NoViewer;
}

QString NoHelpViewerText(const QString& path) {
  return QStringLiteral(
             "Die Onlinehilfe kann nicht angezeigt werden: für PDF-Dateien ist kein "
             "Anzeigeprogramm eingerichtet.\n\nDas Handbuch liegt hier:\n") +
         QDir::toNativeSeparators(path);
}

}  // namespace ampelsim::ui
