#pragma once

#include <QString>
#include <QStringList>

class QFont;
class QPaintDevice;
class QPrinter;

namespace ampelsim::ui {

// Every printout carries this document title.
inline constexpr char PrintDocumentTitle[] = "Test";

// How a text is cut into printed lines and pages: as many whole lines as the
// printable height holds, a line wider than the printable width continued on
// the next printed line. Nothing is added: no margins of our own, no page
// numbers, no running heads.
struct PrintedPages {
  int LinesPerPage = 1;
  int CharactersPerLine = 1;
  QList<QStringList> Pages;
};

// Lays the text out for a page of the given size (device pixels of `device`)
// in `font`, which must be a fixed-pitch font.
PrintedPages LayOutPages(const QString& text, const QFont& font, QPaintDevice& device,
                         double pageWidth, double pageHeight);

// Prints the text page after page in the fixed-pitch print font on the
// printer, document title "Test". A printer that cannot be opened or that
// fails while printing throws std::runtime_error: the caller does not handle
// it, the application's exception box shows it.
void PrintPreviewText(QPrinter& printer, const QString& text);

}  // namespace ampelsim::ui
