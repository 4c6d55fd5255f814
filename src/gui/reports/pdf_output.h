#pragma once

#include <QDate>
#include <QString>
#include <functional>

#include "engine/clock.h"

class QPrinter;
class QWidget;

namespace ampelsim::ui {

// A printout on the PDF printer is a file the user names: the program asks
// for every printout, proposing the printout's name and date, and says where
// the file went.

// "Grün Min. Tabelle", 17.5.2024 -> "Grün_Min_Tabelle_2024-05-17.pdf": letters
// and digits kept, every other run of characters one "_".
QString PdfFileName(const QString& printName, QDate date);

// The folder of the printer's last PDF file when there was one, else the
// user's documents folder, else the home folder.
QString PdfFolder(const QPrinter& printer);

// The calendar date of a clock's moment.
QDate DateOf(LocalTime moment);

// Asks where to save, starting from `proposed`; empty when the user cancelled.
QString AskPdfFile(QWidget* parent, const QString& proposed);
using PdfFileQuestion = std::function<QString(QWidget* parent, const QString& proposed)>;

// Tells the user the file that now holds the printout.
void ShowPdfSaved(QWidget* parent, const QString& file);

}  // namespace ampelsim::ui
