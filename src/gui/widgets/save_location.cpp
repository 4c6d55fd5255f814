#include "gui/widgets/save_location.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStringList>

namespace ampelsim::ui {

void SaveLocation::Remember(const QString& file) {
  lastFolder_ = QFileInfo(file).absolutePath();
}

QString SaveLocation::Folder() const {
  if (!lastFolder_.isEmpty() && QFileInfo(lastFolder_).isDir()) {
    return lastFolder_;
  }
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!documents.isEmpty() && QFileInfo(documents).isDir()) {
    return documents;
  }
  return QDir::homePath();
}

QString SaveLocation::ProposedPath(const QString& content, const QString& program, QDate date,
                                   const QString& extension) const {
  QStringList parts{FileNamePart(content)};
  if (!program.isEmpty()) {
    parts << FileNamePart(program);
  }
  parts << date.toString(Qt::ISODate);
  return QDir(Folder()).filePath(parts.join(QLatin1Char('_')) + QLatin1Char('.') + extension);
}

QString FileNamePart(const QString& text) {
  QStringList words;
  QString word;
  for (const QChar c : text + QLatin1Char(' ')) {
    if (c.isLetterOrNumber()) {
      word += c;
    } else if (!word.isEmpty()) {
      words << word;
      word.clear();
    }
  }
  return words.isEmpty() ? QStringLiteral("Ausdruck") : words.join(QLatin1Char('_'));
}

QString WriteFailureReason(const QString& file) {
  const QFileInfo info(file);
  const QFileInfo folder(info.absolutePath());
  const QString where = QDir::toNativeSeparators(folder.absoluteFilePath());
  if (!folder.exists()) {
    return QStringLiteral("den Ordner %1 gibt es nicht").arg(where);
  }
  if (!folder.isDir()) {
    return QStringLiteral("%1 ist kein Ordner").arg(where);
  }
  if (info.exists() && info.isDir()) {
    return QStringLiteral("es gibt dort einen Ordner dieses Namens");
  }
  if (info.exists() && !info.isWritable()) {
    return QStringLiteral("die Datei ist schreibgeschützt");
  }
  if (!folder.isWritable()) {
    return QStringLiteral("der Ordner %1 ist schreibgeschützt").arg(where);
  }
  return QStringLiteral("der Datenträger ist voll oder nicht erreichbar");
}

QString CannotWriteText(const QString& file) {
  return QStringLiteral("Die Datei %1 konnte nicht geschrieben werden: %2.")
      .arg(QDir::toNativeSeparators(file), WriteFailureReason(file));
}

void ShowFileSaved(QWidget* parent, const QString& caption, const QString& file) {
  QMessageBox box(QMessageBox::Information, caption,
                  QStringLiteral("Gespeichert in der Datei:\n") + QDir::toNativeSeparators(file),
                  QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("DateiGespeichertBox"));
  box.setTextInteractionFlags(Qt::TextSelectableByMouse);
  box.exec();
}

void ShowCannotWrite(QWidget* parent, const QString& caption, const QString& file) {
  QMessageBox box(QMessageBox::Critical, caption, CannotWriteText(file), QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("DateiNichtGeschriebenBox"));
  box.exec();
}

}  // namespace ampelsim::ui
