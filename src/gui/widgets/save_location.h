#pragma once

#include <QDate>
#include <QString>

class QWidget;

namespace ampelsim::ui {

// One rule for every file the desktop program proposes to write: in the
// folder used last, else in the user's documents folder (else the home
// folder), named <Inhalt>_<Programm>_<Datum>.<ext>; after writing, a box
// names the file, and a failure says that the file could not be written and
// why.
class SaveLocation {
 public:
  // The folder of the last file written; empty before the first.
  const QString& LastFolder() const { return lastFolder_; }
  void SetLastFolder(const QString& folder) { lastFolder_ = folder; }
  // Takes the folder of a file just written.
  void Remember(const QString& file);

  // The folder proposed now: the last one while it exists, else Documents.
  QString Folder() const;
  // "Auswertung", "P1", 17.5.2024, "csv" -> <Folder>/Auswertung_P1_2024-05-17.csv.
  // An empty program is left out.
  QString ProposedPath(const QString& content, const QString& program, QDate date,
                       const QString& extension) const;

 private:
  QString lastFolder_;
};

// "Grün Min. Tabelle" -> "Grün_Min_Tabelle": letters and digits kept, every
// other run of characters one "_".
QString FileNamePart(const QString& text);

// Why a file cannot be written there, in German ("der Ordner ... ist
// schreibgeschützt"), as far as the file system tells.
QString WriteFailureReason(const QString& file);
// "Die Datei ... konnte nicht geschrieben werden: <reason>."
QString CannotWriteText(const QString& file);

void ShowFileSaved(QWidget* parent, const QString& caption, const QString& file);
void ShowCannotWrite(QWidget* parent, const QString& caption, const QString& file);

}  // namespace ampelsim::ui
