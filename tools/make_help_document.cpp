// Build step: turns the German user guide (Markdown) into the help document
// that F1 and "Onlinehilfe" open, an A4 PDF.
//
//   ampelsim-make-help GUIDE.md OUTPUT.pdf

#include <QApplication>
#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>
#include <cstdio>

namespace {

constexpr int UsageError = 2;
constexpr int BuildError = 1;

QFont BodyFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(10.5);
  return font;
}

// The guide's first level-one heading names the document.
QString TitleOf(const QString& markdown) {
  const auto lines = markdown.split(QLatin1Char('\n'));
  for (const QString& line : lines) {
    if (line.startsWith(QLatin1String("# "))) {
      return line.mid(2).trimmed();
    }
  }
  return QStringLiteral("Hilfe");
}

// Every chapter after the title page starts on a new page; headings get air,
// list items stay close together.
void ArrangeHeadings(QTextDocument& document) {
  bool titleSeen = false;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    QTextBlockFormat format = block.blockFormat();
    const int level = format.headingLevel();
    if (level == 0) {
      if (block.textList() != nullptr) {
        format.setTopMargin(0);
        format.setBottomMargin(1);
        QTextCursor(block).setBlockFormat(format);
      }
      continue;
    }
    format.setTopMargin(level == 1 ? 0 : 14);
    format.setBottomMargin(level == 1 ? 10 : 4);
    if (level == 1) {
      if (titleSeen) {
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
      }
      titleSeen = true;
    }
    QTextCursor(block).setBlockFormat(format);
  }
}

// Tables of the guide: full width, thin rules, some room in the cells.
void ArrangeTables(QTextDocument& document) {
  for (QTextFrame* frame : document.rootFrame()->childFrames()) {
    auto* table = qobject_cast<QTextTable*>(frame);
    if (table == nullptr) {
      continue;
    }
    QTextTableFormat format = table->format();
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setBorder(1);
    format.setBorderBrush(QColor(170, 170, 170));
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellPadding(3);
    format.setCellSpacing(0);
    format.setTopMargin(4);
    format.setBottomMargin(8);
    table->setFormat(format);
  }
}

// The contents go at the end of the title page, just before the first chapter
// (the guide's second level-one heading): one paragraph per chapter, its
// sections on a line below the chapter's title.
QString WithContents(const QString& markdown) {
  QStringList lines = markdown.split(QLatin1Char('\n'));
  QStringList contents{QStringLiteral("## Inhalt")};
  QStringList sections;
  const auto closeChapter = [&contents, &sections] {
    if (!sections.isEmpty()) {
      contents.last() += QStringLiteral("  ");
      contents << sections.join(QStringLiteral(" · "));
      sections.clear();
    }
  };
  qsizetype firstChapter = -1;
  int chapters = 0;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString& line = lines.at(i);
    if (line.startsWith(QLatin1String("# "))) {
      if (++chapters == 2) {
        firstChapter = i;
      }
      if (chapters >= 2) {
        closeChapter();
        contents << QString()
                 << QStringLiteral("**") + line.mid(2).trimmed() + QStringLiteral("**");
      }
    } else if (line.startsWith(QLatin1String("## ")) && chapters >= 2) {
      sections << line.mid(3).trimmed();
    }
  }
  closeChapter();
  if (firstChapter < 0) {
    return markdown;
  }
  contents << QString();
  for (qsizetype i = contents.size() - 1; i >= 0; --i) {
    lines.insert(firstChapter, contents.at(i));
  }
  return lines.join(QLatin1Char('\n'));
}

bool ReadText(const QString& path, QString& text) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return false;
  }
  text = QString::fromUtf8(file.readAll());
  return true;
}

// QTextDocument::print adds a two-centimetre margin of its own and the page
// numbers; the printer's margin only keeps clear of the sheet's edge.
bool PrintPdf(const QTextDocument& document, const QString& title, const QString& path) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
  printer.setDocName(title);
  printer.setCreator(QStringLiteral("ampelsim"));
  document.print(&printer);
  return printer.printerState() != QPrinter::Error;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() != 3) {
    std::fprintf(stderr, "usage: ampelsim-make-help GUIDE.md OUTPUT.pdf\n");
    return UsageError;
  }
  const QString& sourcePath = arguments.at(1);
  const QString& outputPath = arguments.at(2);

  QString markdown;
  if (!ReadText(sourcePath, markdown)) {
    std::fprintf(stderr, "cannot read %s\n", qPrintable(sourcePath));
    return BuildError;
  }

  QTextDocument document;
  document.setDefaultFont(BodyFont());
  // Pictures are named relative to the guide; the document loads them from
  // the folder its own address names.
  const QUrl guideFolder =
      QUrl::fromLocalFile(QFileInfo(sourcePath).absolutePath() + QLatin1Char('/'));
  document.setBaseUrl(guideFolder);
  document.setMetaInformation(QTextDocument::DocumentUrl, guideFolder.toString());
  document.setMarkdown(WithContents(markdown), QTextDocument::MarkdownDialectGitHub);
  ArrangeHeadings(document);
  ArrangeTables(document);

  // A half-written document must not look up to date to the next build.
  const QString partPath = outputPath + QStringLiteral(".part");
  QFile::remove(partPath);
  if (!PrintPdf(document, TitleOf(markdown), partPath) || QFile(partPath).size() == 0) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(partPath));
    QFile::remove(partPath);
    return BuildError;
  }
  QFile::remove(outputPath);
  if (!QFile::rename(partPath, outputPath)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(outputPath));
    return BuildError;
  }
  return 0;
}
