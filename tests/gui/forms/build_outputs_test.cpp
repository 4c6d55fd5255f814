#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include "gui/forms/form_tests.h"

namespace ampelsim::test {
namespace {

// The build puts the help document and the glyphs beside the programs.
QString BuildFile(const QString& name) {
  QString directory = qEnvironmentVariable("AMPELSIM_BINARY_DIR");
  if (directory.isEmpty()) {
    directory = QCoreApplication::applicationDirPath();
  }
  return QDir(directory).filePath(name);
}

int CountPages(const QByteArray& pdf) {
  // Page objects, not the page tree ("/Type /Pages").
  static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![A-Za-z])"));
  int count = 0;
  auto matches = page.globalMatch(QString::fromLatin1(pdf));
  while (matches.hasNext()) {
    matches.next();
    ++count;
  }
  return count;
}

struct PixelCounts {
  int Red = 0;
  int Background = 0;
  int Other = 0;
};

PixelCounts CountPixels(const QImage& image) {
  PixelCounts counts;
  const QRgb background = image.pixel(0, image.height() - 1);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      if (pixel == background) {
        ++counts.Background;
      } else if (qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60) {
        ++counts.Red;
      } else {
        ++counts.Other;
      }
    }
  }
  return counts;
}

}  // namespace

class BuildOutputsTest : public QObject {
  Q_OBJECT

 private slots:
  void HelpDocumentHasSeveralPages() {
    QFile pdf(BuildFile(QStringLiteral("Idrun210.pdf")));
    QVERIFY2(pdf.open(QIODevice::ReadOnly), qPrintable(pdf.fileName()));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF-"));
    QVERIFY(CountPages(bytes) > 1);
  }

  void HelpDocumentExplainsTheProgram_data() {
    QTest::addColumn<QString>("term");
    for (const char* term :
         {"Benutzerhandbuch", "Daten für Steuerung laden", "Quittung", "Weiter bei Handbetrieb",
          "Daueranforderung", "Ampelköpfe", "Datum und Zeit für die Steuerung", "Störmeldungen",
          "DATEN.STO", "Pfeilrot.bmp", "ampelsim-cli"}) {
      QTest::newRow(term) << QString::fromUtf8(term);
    }
  }

  void HelpDocumentExplainsTheProgram() {
    QFETCH(QString, term);
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) {
      QSKIP("pdftotext (poppler-utils) is not installed");
    }
    QProcess process;
    process.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                              BuildFile(QStringLiteral("Idrun210.pdf")), QStringLiteral("-")});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    // Line ends and page breaks may fall inside a phrase.
    const QString text = QString::fromUtf8(process.readAllStandardOutput()).simplified();
    QVERIFY2(text.contains(term), qPrintable(term));
  }

  void DemandGlyphsAreBitmaps_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("red");
    QTest::newRow("pressed") << QStringLiteral("Pfeilrot.bmp") << true;
    QTest::newRow("released") << QStringLiteral("Pfeilleer.bmp") << false;
  }

  void DemandGlyphsAreBitmaps() {
    QFETCH(QString, name);
    QFETCH(bool, red);
    QImageReader reader(BuildFile(name));
    QCOMPARE(reader.format(), QByteArray("bmp"));
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QVERIFY(image.width() >= 16 && image.width() <= 20);
    QCOMPARE(image.height(), image.width());

    const PixelCounts counts = CountPixels(image);
    QVERIFY(counts.Background > image.width() * image.height() / 3);
    if (red) {
      QVERIFY(counts.Red > 20);
    } else {
      QCOMPARE(counts.Red, 0);
      QVERIFY(counts.Other > 20);
    }
  }

  void PressedAndReleasedGlyphsShowTheSameArrow() {
    const QImage pressed(BuildFile(QStringLiteral("Pfeilrot.bmp")));
    const QImage released(BuildFile(QStringLiteral("Pfeilleer.bmp")));
    QCOMPARE(pressed.size(), released.size());
    QVERIFY(pressed != released);
    const QRgb background = pressed.pixel(0, pressed.height() - 1);
    QCOMPARE(released.pixel(0, released.height() - 1), background);
    // The outline of the empty arrow covers exactly the border of the red one.
    for (int y = 0; y < pressed.height(); ++y) {
      for (int x = 0; x < pressed.width(); ++x) {
        const bool arrowPressed = pressed.pixel(x, y) != background;
        const bool outlineReleased = released.pixel(x, y) != background;
        if (outlineReleased) {
          QVERIFY(arrowPressed);
        }
      }
    }
  }
};

int RunBuildOutputsTests(int argc, char** argv) {
  BuildOutputsTest tests;
  return QTest::qExec(&tests, argc, argv);
}

}  // namespace ampelsim::test

#include "build_outputs_test.moc"
