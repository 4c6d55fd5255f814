#include "form_drucker_test.h"

#include <QFontInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include "gui/reports/form_drucker.h"
#include "gui/reports/pdf_output.h"
#include "print_test_support.h"
#include "reports/program_table_reports.h"

namespace ampelsim::test {
namespace {

using ui::ProgramWindows;
using ui::TFormDrucker;

TFormDrucker* OpenPreview(ProgramWindows& windows) {
  windows.Printing.OpenPreview();
  TFormDrucker* preview = windows.Printing.Preview();
  if (preview == nullptr) {
    throw std::runtime_error("no preview window");
  }
  return preview;
}

QPlainTextEdit* EditDrucken(TFormDrucker* preview) {
  return preview->findChild<QPlainTextEdit*>(QStringLiteral("EditDrucken"));
}

QPushButton* PreviewButton(TFormDrucker* preview, const char* name) {
  auto* button = preview->findChild<QPushButton*>(QString::fromLatin1(name));
  if (button == nullptr) {
    throw std::runtime_error(std::string("no button ") + name);
  }
  return button;
}

// Deferred deletions run, so a closed preview is really gone.
void LetClosedWindowsGo() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

int VisiblePreviews() {
  int count = 0;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (qobject_cast<TFormDrucker*>(widget) != nullptr && widget->isVisible()) {
      ++count;
    }
  }
  return count;
}

// Every print control of the main window enabled, both toggles up.
bool PrintControlsFree(ProgramWindows& windows) {
  const ControlPanel& panel = windows.FormSteuer.Sim().Panel();
  for (const PanelCommand command :
       {PanelCommand::EinzelDruck, PanelCommand::DateiMenu, PanelCommand::DruckenMenu,
        PanelCommand::DruckSoll, PanelCommand::DruckSt}) {
    if (!panel.IsEnabled(command)) {
      return false;
    }
  }
  for (const PanelToggle toggle : {PanelToggle::DruckIst, PanelToggle::DruckStEinAus}) {
    if (!panel.IsEnabled(toggle) || panel.IsDown(toggle)) {
      return false;
    }
  }
  for (const char* name : {"DruckSoll", "DruckIst", "DruckSt", "DruckStEinAus"}) {
    QAbstractButton* button = Button(windows, QString::fromLatin1(name));
    if (!button->isEnabled() || button->isChecked()) {
      return false;
    }
  }
  for (const char* name : {"DateiMenu", "Drucken", "EinzelDruck"}) {
    auto* menu = windows.FormSteuer.findChild<QMenu*>(QString::fromLatin1(name));
    if (menu == nullptr || !menu->menuAction()->isEnabled()) {
      return false;
    }
  }
  return true;
}

}  // namespace

void FormDruckerTest::cleanup() {
  LetClosedWindowsGo();
  QCOMPARE(VisiblePreviews(), 0);
}

void FormDruckerTest::layoutAsDesigned() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  TFormDrucker* preview = OpenPreview(windows);
  QVERIFY(preview->isVisible());
  QCOMPARE(preview->objectName(), QStringLiteral("FormDrucker"));
  QCOMPARE(preview->windowTitle(), QStringLiteral("Drucker Vorschau"));
  QCOMPARE(preview->pos(), QPoint(356, 180));
  QCOMPARE(preview->size(), QSize(732, 413));
  QCOMPARE(preview->minimumSize(), preview->maximumSize());
  QVERIFY(preview->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(!preview->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

  QPlainTextEdit* edit = EditDrucken(preview);
  QVERIFY(edit != nullptr);
  QCOMPARE(edit->geometry(), QRect(0, 0, 732, 377));
  QVERIFY(edit->isReadOnly());
  QCOMPARE(edit->focusPolicy(), Qt::ClickFocus);
  QCOMPARE(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  QCOMPARE(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  QCOMPARE(edit->font().pixelSize(), 13);
  QVERIFY(QFontInfo(edit->font()).fixedPitch());
  QVERIFY(edit->toPlainText().isEmpty());

  struct Expected {
    const char* Name;
    const char* Caption;
    QRect Geometry;
  };
  for (const Expected& expected : {Expected{"DruckStart", "Drucken", QRect(272, 384, 75, 25)},
                                   Expected{"DruckNicht", "Abbrechen", QRect(384, 384, 75, 25)}}) {
    QPushButton* button = PreviewButton(preview, expected.Name);
    QCOMPARE(button->text(), QString::fromLatin1(expected.Caption));
    QCOMPARE(button->geometry(), expected.Geometry);
    QVERIFY(button->focusPolicy() & Qt::TabFocus);
  }
  // "Drucken" comes first in the tab order, "Abbrechen" after it.
  QCOMPARE(PreviewButton(preview, "DruckStart")->nextInFocusChain(),
           PreviewButton(preview, "DruckNicht"));
  QCOMPARE(preview->focusWidget(), PreviewButton(preview, "DruckStart"));
  QCOMPARE(preview->FocusEnterCount(), 1);
  preview->close();
}

void FormDruckerTest::onlyOnePreviewExists() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  TFormDrucker* first = OpenPreview(windows);
  first->showMinimized();
  TFormDrucker* second = OpenPreview(windows);
  QCOMPARE(second, first);
  QVERIFY(second->isVisible());
  QVERIFY(!second->isMinimized());
  QCOMPARE(VisiblePreviews(), 1);
  first->close();
  QCOMPARE(windows.Printing.Preview(), nullptr);
  // The next command creates a new window with an empty report.
  TFormDrucker* third = OpenPreview(windows);
  QVERIFY(third->Report().ReportText().empty());
  third->close();
}

void FormDruckerTest::focusStaysOffTheReportText() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  TFormDrucker* preview = OpenPreview(windows);
  preview->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(preview));
  QPlainTextEdit* edit = EditDrucken(preview);
  QPushButton* drucken = PreviewButton(preview, "DruckStart");
  QCOMPARE(preview->FocusEnterCount(), 1);

  // A click into the text: the focus goes straight on to "Drucken".
  QTest::mouseClick(edit->viewport(), Qt::LeftButton);
  QCOMPARE(preview->FocusEnterCount(), 2);
  QCOMPARE(QApplication::focusWidget(), drucken);

  // Scrolling to the end lets the text have the focus for one moment.
  preview->ScrollPreviewToEnd();
  QCOMPARE(preview->FocusEnterCount(), 1);
  QCOMPARE(QApplication::focusWidget(), drucken);
  QTest::mouseClick(edit->viewport(), Qt::LeftButton);
  QCOMPARE(preview->FocusEnterCount(), 2);
  QCOMPARE(QApplication::focusWidget(), drucken);
  preview->close();
}

void FormDruckerTest::scrollPreviewToEndShowsTheLastLine() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  TFormDrucker* preview = OpenPreview(windows);
  QPlainTextEdit* edit = EditDrucken(preview);
  for (int i = 0; i < 200; ++i) {
    preview->AddContinuousLine("         P1 " + std::to_string(i));
  }
  edit->verticalScrollBar()->setValue(0);
  preview->ScrollPreviewToEnd();
  QScrollBar* bar = edit->verticalScrollBar();
  QVERIFY(bar->maximum() > 0);
  QCOMPARE(bar->value(), bar->maximum());
  QVERIFY(edit->textCursor().atEnd());
  QCOMPARE(preview->focusWidget(), PreviewButton(preview, "DruckStart"));
  preview->close();
}

void FormDruckerTest::continuousLinesGoBelowTheReport() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  Tick(windows, 1);
  TFormDrucker* preview = OpenPreview(windows);
  QCOMPARE(preview->RunReport(&PrintProgramRelease), ReportStatus::Printed);
  const std::string report = preview->Report().ReportText();
  const QString shown = preview->PreviewText();
  QCOMPARE(shown + QLatin1Char('\n'), FromWindows1252(report));

  preview->AddContinuousLine("                Ursache   : Gr\xFCn");
  preview->AddContinuousLine("         P1 000");
  QCOMPARE(preview->PreviewText(),
           shown + QStringLiteral("\n                Ursache   : Grün\n         P1 000"));
  // The lines are on screen only, not in the report text.
  QCOMPARE(preview->Report().ReportText(), report);
  preview->close();
}

void FormDruckerTest::closingEnablesEveryPrintControl_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("Abbrechen") << QStringLiteral("Abbrechen");
  QTest::newRow("close box") << QStringLiteral("close");
}

void FormDruckerTest::closingEnablesEveryPrintControl() {
  QFETCH(QString, how);
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  windows.FormSteuer.show();
  Tick(windows, 1);
  QVERIFY(PrintControlsFree(windows));
  QTest::mouseClick(Button(windows, QStringLiteral("DruckIst")), Qt::LeftButton);
  QPointer<TFormDrucker> preview = windows.Printing.Preview();
  QVERIFY(preview != nullptr);
  QVERIFY(!PrintControlsFree(windows));
  if (how == QStringLiteral("Abbrechen")) {
    QTest::mouseClick(PreviewButton(preview, "DruckNicht"), Qt::LeftButton);
  } else {
    preview->close();
  }
  QCOMPARE(windows.Printing.Preview(), nullptr);
  QVERIFY(PrintControlsFree(windows));
  LetClosedWindowsGo();
  QVERIFY(preview.isNull());
}

void FormDruckerTest::noDataMessageClosesThePreview() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  QPointer<TFormDrucker> preview = OpenPreview(windows);
  ModalSeen seen;
  HandleNextModal(&seen);
  preview->ShowNoDataMessage();
  QVERIFY(seen.Seen);
  QCOMPARE(seen.Title, QStringLiteral("Keine Daten"));
  QCOMPARE(seen.Text, QStringLiteral("Für den gewählten Ausdruck sind keine Daten vorhanden"));
  QCOMPARE(seen.Icon, QMessageBox::NoIcon);
  QCOMPARE(windows.Printing.Preview(), nullptr);
  QVERIFY(PrintControlsFree(windows));
  LetClosedWindowsGo();
  QVERIFY(preview.isNull());
}

void FormDruckerTest::commonKeysReachTheMainWindow() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  TFormDrucker* preview = OpenPreview(windows);
  QVERIFY(!windows.FormSteuer.isVisible());
  QTest::keyClick(PreviewButton(preview, "DruckStart"), Qt::Key_F12);
  QVERIFY(windows.FormSteuer.isVisible());
  // The common keys do not close or print anything.
  QTest::keyClick(PreviewButton(preview, "DruckStart"), Qt::Key_F10);
  QCoreApplication::processEvents();
  QCOMPARE(windows.Printing.Preview(), preview);
  preview->close();
}

void FormDruckerTest::printErrorShowsTheExceptionBoxAndKeepsTheWindow() {
  const StartDirectory start;
  const TempDir out;
  ProgramWindows windows(start.QPath());
  windows.Printing.Printer().setOutputFormat(QPrinter::PdfFormat);
  Tick(windows, 1);
  TFormDrucker* preview = OpenPreview(windows);
  preview->RunReport(&PrintProgramRelease);
  QString answer = Q(out / "fehlt" / "x.pdf");
  preview->SetPdfFileQuestion([&answer](QWidget*, const QString&) { return answer; });
  ModalSeen seen;
  HandleNextModal(&seen);
  QTest::mouseClick(PreviewButton(preview, "DruckStart"), Qt::LeftButton);
  QTRY_VERIFY(seen.Seen);
  QCOMPARE(seen.Title, QStringLiteral("Simulationsprogramm"));
  QCOMPARE(seen.Icon, QMessageBox::Critical);
  QVERIFY2(seen.Text.contains(QStringLiteral("konnte nicht geschrieben werden")),
           qPrintable(seen.Text));
  QCOMPARE(windows.Printing.Preview(), preview);
  QVERIFY(preview->isVisible());
  QVERIFY(!preview->PreviewText().isEmpty());

  // A file dialog left with "Abbrechen" prints nothing and keeps the window.
  answer.clear();
  QTest::mouseClick(PreviewButton(preview, "DruckStart"), Qt::LeftButton);
  QCoreApplication::processEvents();
  QCOMPARE(windows.Printing.Preview(), preview);

  // With a file that can be written the same window prints, says where, and closes.
  answer = Q(out / "x.pdf");
  ModalSeen saved;
  HandleNextModal(&saved);
  QTest::mouseClick(PreviewButton(preview, "DruckStart"), Qt::LeftButton);
  QTRY_COMPARE(windows.Printing.Preview(), nullptr);
  QVERIFY(QFile::exists(Q(out / "x.pdf")));
  QVERIFY(saved.Seen);
  QCOMPARE(saved.Title, QStringLiteral("Drucken"));
}

void FormDruckerTest::previewStillOpenWhenTheProgramEnds() {
  const StartDirectory start;
  QPointer<TFormDrucker> preview;
  {
    ProgramWindows windows(start.QPath());
    windows.FormSteuer.show();
    Tick(windows, 1);
    QTest::mouseClick(Button(windows, QStringLiteral("DruckIst")), Qt::LeftButton);
    preview = windows.Printing.Preview();
    QVERIFY(preview != nullptr);
    Tick(windows, 20);
  }
  QVERIFY(preview.isNull());
}

void FormDruckerTest::pdfFileName_data() {
  QTest::addColumn<QString>("printName");
  QTest::addColumn<QDate>("date");
  QTest::addColumn<QString>("fileName");
  QTest::newRow("one word") << QStringLiteral("Sollausdruck") << QDate(2024, 5, 17)
                            << QStringLiteral("Sollausdruck_2024-05-17.pdf");
  QTest::newRow("blanks and dots") << QStringLiteral("Grün Min. Tabelle") << QDate(2010, 2, 3)
                                   << QStringLiteral("Grün_Min_Tabelle_2010-02-03.pdf");
  QTest::newRow("trailing dot") << QStringLiteral("Ausschaltprogramme gez.") << QDate(2026, 12, 9)
                                << QStringLiteral("Ausschaltprogramme_gez_2026-12-09.pdf");
  QTest::newRow("slash") << QStringLiteral("Anf./Ein") << QDate(2026, 1, 1)
                         << QStringLiteral("Anf_Ein_2026-01-01.pdf");
  QTest::newRow("no name") << QString() << QDate(2026, 1, 1)
                           << QStringLiteral("Ausdruck_2026-01-01.pdf");
}

void FormDruckerTest::pdfFileName() {
  QFETCH(QString, printName);
  QFETCH(QDate, date);
  QFETCH(QString, fileName);
  QCOMPARE(ui::PdfFileName(printName, date), fileName);
  const LocalTime moment =
      std::chrono::local_days{std::chrono::year{date.year()} / static_cast<unsigned>(date.month()) /
                              static_cast<unsigned>(date.day())} +
      std::chrono::hours{23} + std::chrono::minutes{59};
  QCOMPARE(ui::DateOf(moment), date);
}

}  // namespace ampelsim::test
