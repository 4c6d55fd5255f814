#include "preview_printing_test.h"

#include <QPrinter>
#include <QtTest>
#include <stdexcept>

#include "gui/reports/preview_font.h"
#include "gui/reports/preview_printing.h"
#include "print_test_support.h"

namespace ampelsim::test {
namespace {

// A PDF printer writing into `directory`, as the printer set-up leaves it.
void PrintToPdf(QPrinter& printer, const QString& file) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(file);
}

// Numbered lines in the shape of report lines: a margin, a label, cells.
QString NumberedLines(int count) {
  QStringList lines;
  for (int i = 1; i <= count; ++i) {
    lines << QStringLiteral("         P1 %1 R  Gr*Ge RG").arg(i, 3, 10, QLatin1Char('0'));
  }
  return lines.join(QLatin1Char('\n'));
}

ui::PrintedPages LayOut(const QString& text) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  return ui::LayOutPages(text, ui::PreviewPrintFont(), printer, printer.width(), printer.height());
}

}  // namespace

void PreviewPrintingTest::layOutPagesFillsEachPage_data() {
  QTest::addColumn<int>("fullPages");
  QTest::addColumn<int>("extraLines");
  QTest::addColumn<int>("pages");
  QTest::newRow("one line") << 0 << 1 << 1;
  QTest::newRow("one page exactly") << 1 << 0 << 1;
  QTest::newRow("one line more than a page") << 1 << 1 << 2;
  QTest::newRow("three pages exactly") << 3 << 0 << 3;
  QTest::newRow("three pages and a half") << 3 << 30 << 4;
}

void PreviewPrintingTest::layOutPagesFillsEachPage() {
  QFETCH(int, fullPages);
  QFETCH(int, extraLines);
  QFETCH(int, pages);
  const int perPage = LayOut(QString()).LinesPerPage;
  // About 10 point on A4 or Letter: some sixty to seventy lines a page.
  QVERIFY2(perPage >= 55 && perPage <= 80, qPrintable(QString::number(perPage)));
  const QString text = NumberedLines(fullPages * perPage + extraLines);
  const ui::PrintedPages layout = LayOut(text);
  QCOMPARE(layout.Pages.size(), pages);
  QStringList joined;
  for (qsizetype page = 0; page < layout.Pages.size(); ++page) {
    const bool last = page + 1 == layout.Pages.size();
    if (!last) {
      QCOMPARE(layout.Pages[page].size(), perPage);
    }
    joined << layout.Pages[page];
  }
  QCOMPARE(joined.join(QLatin1Char('\n')), text);
}

void PreviewPrintingTest::layOutPagesContinuesWideLines() {
  const int width = LayOut(QString()).CharactersPerLine;
  // Every report line fits: the margin and the widest report row.
  QVERIFY2(width >= 8 + 81, qPrintable(QString::number(width)));
  QString wide;
  for (int i = 0; i < 2 * width + 5; ++i) {
    wide.append(QChar(u'a' + i % 26));
  }
  const ui::PrintedPages layout = LayOut(QStringLiteral("vorher\n") + wide);
  QCOMPARE(layout.Pages.size(), 1);
  const QStringList& lines = layout.Pages[0];
  QCOMPARE(lines.size(), 4);
  QCOMPARE(lines[0], QStringLiteral("vorher"));
  QCOMPARE(lines[1].size(), width);
  QCOMPARE(lines[2].size(), width);
  QCOMPARE(lines[1] + lines[2] + lines[3], wide);

  const ui::PrintedPages empty = LayOut(QString());
  QCOMPARE(empty.Pages.size(), 1);
  QCOMPARE(empty.Pages[0], QStringList{QString()});
}

void PreviewPrintingTest::longTextGivesAsManyPagesAsItNeeds() {
  const TempDir out;
  const QString pdf = Q(out / "lang.pdf");
  const int lineCount = 250;
  const QString text = NumberedLines(lineCount);
  QPrinter printer(QPrinter::HighResolution);
  PrintToPdf(printer, pdf);
  ui::PrintPreviewText(printer, text);

  int offGrid = 0;
  const QList<QStringList> pages = PdfPages(pdf, GridOf(printer), &offGrid);
  QCOMPARE(offGrid, 0);
  // A full first page tells how many lines a page holds.
  QVERIFY(!pages.isEmpty());
  const int perPage = static_cast<int>(pages[0].size());
  QVERIFY2(perPage >= 55 && perPage <= 80, qPrintable(QString::number(perPage)));
  QCOMPARE(pages.size(), (lineCount + perPage - 1) / perPage);
  QCOMPARE(PdfInfo(pdf, QStringLiteral("Pages")), QString::number(pages.size()));
  const QStringList lines = text.split(QLatin1Char('\n'));
  for (qsizetype page = 0; page < pages.size(); ++page) {
    QCOMPARE(pages[page], AsOnPaper(lines.mid(page * perPage, perPage)));
  }
}

void PreviewPrintingTest::emptyLinesAndMarginsReachThePaper() {
  const TempDir out;
  const QString pdf = Q(out / "leer.pdf");
  const QString text = QStringLiteral(
      "        ----------\n"
      "\n"
      "        I  Kopf  I\n"
      "\n"
      "\n"
      "                Ursache   : Rot defekt        Prog.: 1\n"
      "P1 000");
  QPrinter printer(QPrinter::HighResolution);
  PrintToPdf(printer, pdf);
  ui::PrintPreviewText(printer, text);
  int offGrid = 0;
  const QList<QStringList> pages = PdfPages(pdf, GridOf(printer), &offGrid);
  QCOMPARE(offGrid, 0);
  QCOMPARE(pages.size(), 1);
  QCOMPARE(pages[0], AsOnPaper(text.split(QLatin1Char('\n'))));
}

void PreviewPrintingTest::documentTitleIsTest() {
  const TempDir out;
  const QString pdf = Q(out / "titel.pdf");
  QPrinter printer(QPrinter::HighResolution);
  PrintToPdf(printer, pdf);
  printer.setDocName(QStringLiteral("anders"));
  ui::PrintPreviewText(printer, QStringLiteral("        eine Zeile"));
  QCOMPARE(PdfInfo(pdf, QStringLiteral("Title")), QStringLiteral("Test"));
  QCOMPARE(printer.docName(), QStringLiteral("Test"));
}

void PreviewPrintingTest::printerThatCannotOpenThrows() {
  const TempDir out;
  QPrinter printer(QPrinter::HighResolution);
  PrintToPdf(printer, Q(out / "fehlt" / "x.pdf"));
  try {
    ui::PrintPreviewText(printer, QStringLiteral("        eine Zeile"));
    QFAIL("printing into a missing folder did not fail");
  } catch (const std::runtime_error& error) {
    // A PDF printout is a file: the message names it and why it was not written.
    const QString text = QString::fromUtf8(error.what());
    QVERIFY2(text.startsWith(QStringLiteral("Die Datei ")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("x.pdf konnte nicht geschrieben werden: den Ordner")),
             qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("gibt es nicht")), qPrintable(text));
  }
  QVERIFY(!QFile::exists(Q(out / "fehlt" / "x.pdf")));
}

}  // namespace ampelsim::test
