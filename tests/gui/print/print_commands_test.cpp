#include "print_commands_test.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>
#include <algorithm>

#include "display/signal_head_element.h"
#include "engine/engine_state.h"
#include "gui/reports/form_drucker.h"
#include "gui/reports/pdf_output.h"
#include "gui/reports/preview_font.h"
#include "gui/reports/preview_printing.h"
#include "print_test_support.h"
#include "reports/combined_planned.h"
#include "reports/fault_line.h"
#include "reports/fault_protocol.h"
#include "reports/matrix_reports.h"
#include "reports/planned_phase_plan.h"
#include "reports/program_table_reports.h"
#include "reports/switch_program_reports.h"

Q_DECLARE_METATYPE(ampelsim::test::ReportWriter)

namespace ampelsim::test {
namespace {

using ui::ProgramWindows;
using ui::TFormDrucker;

ReportStatus IntergreenLoud(ReportDocument& report, const ReportContext& context) {
  return PrintIntergreenMatrices(report, context, false);
}

ReportStatus GreenGreenLocksLoud(ReportDocument& report, const ReportContext& context) {
  return PrintGreenGreenLocks(report, context, false);
}

QPushButton* PreviewButton(TFormDrucker* preview, const char* name) {
  auto* button = preview->findChild<QPushButton*>(QString::fromLatin1(name));
  if (button == nullptr) {
    throw std::runtime_error(std::string("no button ") + name);
  }
  return button;
}

QAction* MenuAction(ProgramWindows& windows, const char* name) {
  auto* menu = windows.FormSteuer.findChild<QMenu*>(QString::fromLatin1(name));
  if (menu == nullptr) {
    throw std::runtime_error(std::string("no menu ") + name);
  }
  return menu->menuAction();
}

// What the main window lets the user do: enabled and down, as shown.
struct PrintControls {
  bool EinzelDruck;
  bool Datei;
  bool Drucken;
  bool Soll;
  bool St;
  bool Ist;
  bool StS;
  bool IstDown;
  bool StSDown;

  bool operator==(const PrintControls&) const = default;
};

PrintControls Shown(ProgramWindows& windows) {
  return PrintControls{
      MenuAction(windows, "EinzelDruck")->isEnabled(),
      MenuAction(windows, "DateiMenu")->isEnabled(),
      MenuAction(windows, "Drucken")->isEnabled(),
      Button(windows, QStringLiteral("DruckSoll"))->isEnabled(),
      Button(windows, QStringLiteral("DruckSt"))->isEnabled(),
      Button(windows, QStringLiteral("DruckIst"))->isEnabled(),
      Button(windows, QStringLiteral("DruckStEinAus"))->isEnabled(),
      Button(windows, QStringLiteral("DruckIst"))->isChecked(),
      Button(windows, QStringLiteral("DruckStEinAus"))->isChecked(),
  };
}

char* Describe(const PrintControls& c) {
  return qstrdup(QStringLiteral("Einzel %1 Datei %2 Drucken %3 Soll %4 St %5 Ist %6/%7 StS %8/%9")
                     .arg(c.EinzelDruck)
                     .arg(c.Datei)
                     .arg(c.Drucken)
                     .arg(c.Soll)
                     .arg(c.St)
                     .arg(c.Ist)
                     .arg(c.IstDown)
                     .arg(c.StS)
                     .arg(c.StSDown)
                     .toUtf8()
                     .constData());
}

constexpr PrintControls AllFree{true, true, true, true, true, true, true, false, false};
constexpr PrintControls ReportShown{false, true, true, false, false, false, false, false, false};

void LetClosedWindowsGo() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

bool AnyPreviewWindow() {
  const auto windows = QApplication::topLevelWidgets();
  return std::any_of(windows.begin(), windows.end(), [](QWidget* widget) {
    return qobject_cast<TFormDrucker*>(widget) != nullptr && widget->isVisible();
  });
}

// A program on its start directory, shown, its data set loaded by the first
// tick and its clock standing at a whole minute.
struct Program {
  explicit Program(bool demo) {
    if (demo) {
      UseDemoJunction(Start);
    }
    Windows = std::make_unique<ProgramWindows>(Start.QPath());
    Windows->FormSteuer.show();
    FixClock(*Windows);
    Tick(*Windows, 1);
  }

  Simulation& Sim() { return Windows->FormSteuer.Sim(); }
  TFormDrucker* Preview() { return Windows->Printing.Preview(); }
  QString PreviewText() { return Preview() == nullptr ? QString() : Preview()->PreviewText(); }

  StartDirectory Start;
  std::unique_ptr<ProgramWindows> Windows;
};

int StoredFaults(Simulation& simulation) {
  const auto& records = simulation.Faults().Records();
  return static_cast<int>(std::count_if(
      records.begin(), records.end(), [](const FaultRecord& record) { return !record.IsEmpty(); }));
}

// Holds "Start" until cycle operation has begun.
bool StartController(Program& program) {
  QAbstractButton* start = Button(*program.Windows, QStringLiteral("StartButton"));
  QTest::mousePress(start, Qt::LeftButton);
  for (int tick = 0; tick < 100 && program.Sim().State().MainState != states::CycleOperation;
       ++tick) {
    Tick(*program.Windows, 1);
  }
  QTest::mouseRelease(start, Qt::LeftButton);
  return program.Sim().State().MainState == states::CycleOperation;
}

// Breaks the red lamp of a group that shows red in cycle operation; the
// monitoring registers "Rot defekt" within a tick or two.
bool BreakRedLamp(Program& program) {
  const int before = StoredFaults(program.Sim());
  for (int tick = 0; tick < 600; ++tick) {
    const auto& state = program.Sim().State().GroupState;
    for (int g = 0; g < 5; ++g) {
      if (state[static_cast<std::size_t>(g)] == 1) {
        program.Sim().LampClick(g, Lamp::Red);
        for (int wait = 0; wait < 5 && StoredFaults(program.Sim()) == before; ++wait) {
          Tick(*program.Windows, 1);
        }
        return StoredFaults(program.Sim()) > before;
      }
    }
    Tick(*program.Windows, 1);
  }
  return false;
}

// "Quittung" with the lamp still broken: the monitoring registers it again.
bool AcknowledgeIntoTheSameFault(Program& program) {
  const int before = StoredFaults(program.Sim());
  QTest::mousePress(Button(*program.Windows, QStringLiteral("QuittButton")), Qt::LeftButton);
  QTest::mouseRelease(Button(*program.Windows, QStringLiteral("QuittButton")), Qt::LeftButton);
  for (int tick = 0; tick < 100 && StoredFaults(program.Sim()) == before; ++tick) {
    Tick(*program.Windows, 1);
  }
  return StoredFaults(program.Sim()) > before;
}

qsizetype LineCount(const QString& text) {
  return text.isEmpty() ? 0 : text.count(QLatin1Char('\n')) + 1;
}

}  // namespace
}  // namespace ampelsim::test

namespace QTest {
template <>
inline char* toString(const ampelsim::test::PrintControls& controls) {
  return ampelsim::test::Describe(controls);
}
}  // namespace QTest

namespace ampelsim::test {

void PrintCommandsTest::cleanup() {
  LetClosedWindowsGo();
  QVERIFY(!AnyPreviewWindow());
}

void PrintCommandsTest::reportEntryShowsItsReport_data() {
  QTest::addColumn<QString>("entry");
  QTest::addColumn<QString>("title");
  QTest::addColumn<ReportWriter>("writer");
  struct Row {
    const char* Entry;
    const char* Title;
    ReportWriter Writer;
  };
  const Row rows[] = {
      {"AusGez", "I  Gez. Ausschaltprogramme   I", &PrintPlannedOffPrograms},
      {"AusSt", "I Stoer. Ausschaltprogramme  I", &PrintFaultOffPrograms},
      {"AutoMelder", "I Auto. Meldervorspeicherung I", &PrintDetectorPrestore},
      {"Einschalt", "I     Einschaltprogramme     I", &PrintSwitchOnPrograms},
      {"GrMinTab", "I Gruen Min. Zeiten Tabelle  I", &PrintMinGreenTimes},
      {"Gruenver", "I Gruen-Gruen Verriegelungen I", &GreenGreenLocksLoud},
      {"Programme", "I       Soll Phasenplan      I", &PrintPlannedPhasePlan},
      {"Programmfrei", "      Programmfreigabe       I", &PrintProgramRelease},
      {"PrWechselAnf", "I  Prog. Wechsel auf Anford. I", &PrintChangeOnDemand},
      {"Programmwechselpunkt", "I   Programmwechselpunkte    I", &PrintChangePoints},
      {"Schaltpunkte", "I        Schaltpunkte        I", &PrintSwitchingPoints},
      {"ZuAnfEin", "I  Zuordnung Anf, Eingaenge  I", &PrintDemandInputMaps},
      {"ZwischenZt", "I     Zwischenzeitmatrix     I", &IntergreenLoud},
  };
  for (const Row& row : rows) {
    QTest::newRow(row.Entry) << QString::fromLatin1(row.Entry) << QString::fromLatin1(row.Title)
                             << row.Writer;
  }
}

void PrintCommandsTest::reportEntryShowsItsReport() {
  QFETCH(QString, entry);
  QFETCH(QString, title);
  QFETCH(ReportWriter, writer);
  Program program(true);
  QCOMPARE(Shown(*program.Windows), AllFree);
  Action(*program.Windows, entry)->trigger();
  QPointer<TFormDrucker> preview = program.Preview();
  QVERIFY(preview != nullptr);
  QVERIFY(preview->isVisible());
  const QString shown = preview->PreviewText();
  QVERIFY2(shown.contains(QStringLiteral("Simulation      ") + title), qPrintable(shown.left(600)));
  QCOMPARE(shown, ReportAsShown(program.Sim(), writer));
  QCOMPARE(Shown(*program.Windows), ReportShown);

  // A disabled entry starts nothing while the preview is shown.
  Action(*program.Windows, QStringLiteral("Programmfrei"))->trigger();
  QCOMPARE(preview->PreviewText(), shown);

  QTest::mouseClick(PreviewButton(preview, "DruckNicht"), Qt::LeftButton);
  QCOMPARE(program.Preview(), nullptr);
  QCOMPARE(Shown(*program.Windows), AllFree);
  LetClosedWindowsGo();
  QVERIFY(preview.isNull());
}

void PrintCommandsTest::reportEntryWithoutDataShowsKeineDaten_data() {
  QTest::addColumn<QString>("entry");
  QTest::addColumn<bool>("noData");
  // The small junction has one program and nothing else.
  QTest::newRow("AusGez") << QStringLiteral("AusGez") << true;
  QTest::newRow("AusSt") << QStringLiteral("AusSt") << true;
  QTest::newRow("AutoMelder") << QStringLiteral("AutoMelder") << true;
  QTest::newRow("Einschalt") << QStringLiteral("Einschalt") << true;
  QTest::newRow("GrMinTab") << QStringLiteral("GrMinTab") << false;
  QTest::newRow("Gruenver") << QStringLiteral("Gruenver") << true;
  QTest::newRow("Programme") << QStringLiteral("Programme") << false;
  QTest::newRow("Programmfrei") << QStringLiteral("Programmfrei") << false;
  QTest::newRow("PrWechselAnf") << QStringLiteral("PrWechselAnf") << true;
  QTest::newRow("Programmwechselpunkt") << QStringLiteral("Programmwechselpunkt") << true;
  QTest::newRow("Schaltpunkte") << QStringLiteral("Schaltpunkte") << true;
  // Unused programs hold memory times of 0 here, not 1: the map prints.
  QTest::newRow("ZuAnfEin") << QStringLiteral("ZuAnfEin") << false;
  QTest::newRow("ZwischenZt") << QStringLiteral("ZwischenZt") << true;
}

void PrintCommandsTest::reportEntryWithoutDataShowsKeineDaten() {
  QFETCH(QString, entry);
  QFETCH(bool, noData);
  Program program(false);
  ModalSeen seen;
  if (noData) {
    HandleNextModal(&seen);
  }
  Action(*program.Windows, entry)->trigger();
  if (!noData) {
    QVERIFY(program.Preview() != nullptr);
    QVERIFY(!program.PreviewText().isEmpty());
    program.Preview()->close();
    return;
  }
  QVERIFY(seen.Seen);
  QCOMPARE(seen.Title, QStringLiteral("Keine Daten"));
  QCOMPARE(seen.Text, QStringLiteral("Für den gewählten Ausdruck sind keine Daten vorhanden"));
  QCOMPARE(program.Preview(), nullptr);
  QCOMPARE(Shown(*program.Windows), AllFree);
  LetClosedWindowsGo();
  QVERIFY(!AnyPreviewWindow());
}

void PrintCommandsTest::sollPutsFourReportsIntoOnePreview() {
  Program program(true);
  QTest::mouseClick(Button(*program.Windows, QStringLiteral("DruckSoll")), Qt::LeftButton);
  const QString shown = program.PreviewText();
  QCOMPARE(shown, ReportAsShown(program.Sim(), &PrintCombinedPlanned));
  qsizetype from = 0;
  for (const char* title : {"I       Soll Phasenplan      I", "I     Zwischenzeitmatrix     I",
                            "I Gruen-Gruen Verriegelungen I", "I Gruen Min. Zeiten Tabelle  I"}) {
    const qsizetype at = shown.indexOf(QString::fromLatin1(title), from);
    QVERIFY2(at > from, title);
    from = at;
  }
  QCOMPARE(Shown(*program.Windows), ReportShown);
  // "Soll" and "St." start nothing more while the preview is shown.
  QTest::mouseClick(Button(*program.Windows, QStringLiteral("DruckSoll")), Qt::LeftButton);
  QTest::mouseClick(Button(*program.Windows, QStringLiteral("DruckSt")), Qt::LeftButton);
  program.Windows->Printing.PrintPlanned();
  program.Windows->Printing.PrintFaults();
  QCOMPARE(program.PreviewText(), shown);
  program.Preview()->close();
  QCOMPARE(Shown(*program.Windows), AllFree);
}

void PrintCommandsTest::sollWithEmptyMatricesTellsNothing() {
  Program program(false);
  ModalSeen seen;
  HandleNextModal(&seen, nullptr, 20);
  QTest::mouseClick(Button(*program.Windows, QStringLiteral("DruckSoll")), Qt::LeftButton);
  QTest::qWait(400);
  QVERIFY(!seen.Seen);
  const QString shown = program.PreviewText();
  QCOMPARE(shown, ReportAsShown(program.Sim(), &PrintCombinedPlanned));
  // The planned plan, nine empty lines (margin only), the minimum green times.
  QVERIFY(shown.contains(QRegularExpression(QStringLiteral("\\S\\n( {8}\\n){9} {16}-{71}\\n"))));
  QVERIFY(!shown.contains(QStringLiteral("Zwischenzeitmatrix")));
  program.Preview()->close();
}

void PrintCommandsTest::stWithEmptyStoreShowsKeineDaten() {
  Program program(true);
  ModalSeen seen;
  HandleNextModal(&seen);
  QTest::mouseClick(Button(*program.Windows, QStringLiteral("DruckSt")), Qt::LeftButton);
  QVERIFY(seen.Seen);
  QCOMPARE(seen.Title, QStringLiteral("Keine Daten"));
  QCOMPARE(program.Preview(), nullptr);
  QCOMPARE(Shown(*program.Windows), AllFree);
}

void PrintCommandsTest::stPrintsTheFaultProtocol() {
  Program program(true);
  QVERIFY(StartController(program));
  QVERIFY(BreakRedLamp(program));
  QTest::mouseClick(Button(*program.Windows, QStringLiteral("DruckSt")), Qt::LeftButton);
  const QString shown = program.PreviewText();
  QVERIFY(shown.contains(QStringLiteral("I       Stoerprotokoll       I")));
  QVERIFY(shown.contains(QStringLiteral("        Ursache   : Rot defekt")));
  QCOMPARE(shown, ReportAsShown(program.Sim(), &PrintFaultProtocol));
  QCOMPARE(Shown(*program.Windows), ReportShown);
  // Not a continuous printout: a later fault adds nothing.
  QVERIFY(AcknowledgeIntoTheSameFault(program));
  QCOMPARE(program.PreviewText(), shown);
  program.Preview()->close();
}

void PrintCommandsTest::istPrintsTheActualPlanAndSpringsBackAfter300Seconds() {
  Program program(true);
  // A detector pulse before "Ist" is forgotten by the first line.
  program.Sim().DemandButtonMouseDown(4, false);
  Tick(*program.Windows, 1);
  program.Sim().DemandButtonMouseUp(4, false);
  QCOMPARE(program.Sim().State().Detectors.DetectorSeen[4], 1);

  QTest::mouseClick(Button(*program.Windows, QStringLiteral("DruckIst")), Qt::LeftButton);
  QVERIFY(program.Preview() != nullptr);
  const auto& seen = program.Sim().State().Detectors.DetectorSeen;
  QVERIFY(std::all_of(seen.begin(), seen.end(), [](std::uint8_t flag) { return flag == 0; }));
  QCOMPARE(Shown(*program.Windows),
           (PrintControls{false, false, false, false, false, true, false, true, false}));
  const QString head = program.PreviewText();
  QVERIFY(head.contains(QStringLiteral("I        Ist Phasenplan      I")));
  QVERIFY(head.endsWith(QStringLiteral(" 22 23 24")));
  QVERIFY(QFile::exists(program.Start.QPath() + QStringLiteral("/D0.ist")));

  // One line per simulated second, below the head, and the view follows.
  Tick(*program.Windows, 30);
  QString shown = program.PreviewText();
  QVERIFY(shown.startsWith(head + QLatin1Char('\n')));
  const QStringList lines = shown.mid(head.size() + 1).split(QLatin1Char('\n'));
  QCOMPARE(lines.size(), 3);
  for (const QString& line : lines) {
    // Nine blanks, program and time point, 24 times mark and code.
    QVERIFY2(QRegularExpression(QStringLiteral("^         P\\d \\d{3}([ *]..){24}$"))
                 .match(line)
                 .hasMatch(),
             qPrintable(line));
    QVERIFY(!line.contains(QLatin1Char('*')));
  }
  auto* edit = program.Preview()->findChild<QPlainTextEdit*>(QStringLiteral("EditDrucken"));
  QCOMPARE(edit->verticalScrollBar()->value(), edit->verticalScrollBar()->maximum());

  // 300 seconds after the press both toggles spring back and stay disabled.
  const std::int32_t before = program.Sim().Panel().RecordingSeconds();
  QCOMPARE(before, 3);
  Tick(*program.Windows, (299 - before) * 10);
  QVERIFY(Shown(*program.Windows).IstDown);
  Tick(*program.Windows, 10);
  const PrintControls locked{false, false, false, false, false, false, false, false, false};
  QCOMPARE(Shown(*program.Windows), locked);
  const QString atEnd = program.PreviewText();
  QCOMPARE(LineCount(atEnd) - LineCount(head), 299);
  Tick(*program.Windows, 200);
  QCOMPARE(program.PreviewText(), atEnd);
  QCOMPARE(Shown(*program.Windows), locked);

  program.Preview()->close();
  QCOMPARE(Shown(*program.Windows), AllFree);
}

void PrintCommandsTest::istReleasedByTheUserLocksBothToggles() {
  Program program(true);
  QAbstractButton* ist = Button(*program.Windows, QStringLiteral("DruckIst"));
  QTest::mouseClick(ist, Qt::LeftButton);
  Tick(*program.Windows, 20);
  QTest::mouseClick(ist, Qt::LeftButton);
  const PrintControls locked{false, false, false, false, false, false, false, false, false};
  QCOMPARE(Shown(*program.Windows), locked);
  const QString shown = program.PreviewText();
  Tick(*program.Windows, 30);
  QCOMPARE(program.PreviewText(), shown);
  // Disabled, a click changes nothing.
  QTest::mouseClick(ist, Qt::LeftButton);
  program.Windows->Printing.ToggleActualPlan();
  QCOMPARE(Shown(*program.Windows), locked);
  QTest::mouseClick(PreviewButton(program.Preview(), "DruckNicht"), Qt::LeftButton);
  QCOMPARE(Shown(*program.Windows), AllFree);
}

void PrintCommandsTest::abbrechenWhileIstIsDownEndsTheLines() {
  Program program(true);
  QTest::mouseClick(Button(*program.Windows, QStringLiteral("DruckIst")), Qt::LeftButton);
  QPointer<TFormDrucker> preview = program.Preview();
  Tick(*program.Windows, 20);
  QVERIFY(Shown(*program.Windows).IstDown);
  QTest::mouseClick(PreviewButton(preview, "DruckNicht"), Qt::LeftButton);
  QCOMPARE(Shown(*program.Windows), AllFree);
  QVERIFY(!program.Sim().Panel().IsDown(PanelToggle::DruckIst));
  // The recording stops with the lines: D1.ist and D2.ist, no D3.ist.
  Tick(*program.Windows, 50);
  QVERIFY(QFile::exists(program.Start.QPath() + QStringLiteral("/D2.ist")));
  QVERIFY(!QFile::exists(program.Start.QPath() + QStringLiteral("/D3.ist")));
  LetClosedWindowsGo();
  QVERIFY(preview.isNull());
}

void PrintCommandsTest::stsWithEmptyStoreWaitsForTheFirstFault() {
  Program program(true);
  QVERIFY(StartController(program));
  QCOMPARE(StoredFaults(program.Sim()), 0);
  QTest::mouseClick(Button(*program.Windows, QStringLiteral("DruckStEinAus")), Qt::LeftButton);
  QVERIFY(program.Preview() != nullptr);
  QCOMPARE(program.PreviewText(), QString());
  // Only one continuous printout runs into a preview: "Ist" was up.
  QCOMPARE(Shown(*program.Windows),
           (PrintControls{false, true, true, false, false, false, true, false, true}));

  QVERIFY(BreakRedLamp(program));
  const FaultRecord& first = program.Sim().Faults().Records()[0];
  QCOMPARE(first.Kind, 1);
  const QString line = FromWindows1252(ComposeFaultLine(first));
  QVERIFY(
      line.startsWith(QStringLiteral("                Ursache   : Rot defekt        Prog.: 1")));
  QCOMPARE(program.PreviewText(), line);
  QVERIFY(program.Preview()->Report().ReportText().empty());

  QVERIFY(AcknowledgeIntoTheSameFault(program));
  QCOMPARE(program.PreviewText(),
           line + QLatin1Char('\n') +
               FromWindows1252(ComposeFaultLine(program.Sim().Faults().Records()[1])));
  program.Preview()->close();
  QCOMPARE(Shown(*program.Windows), AllFree);
}

void PrintCommandsTest::stsWithFaultsPrintsTheProtocolThenLines() {
  Program program(true);
  QVERIFY(StartController(program));
  QVERIFY(BreakRedLamp(program));
  QTest::mouseClick(Button(*program.Windows, QStringLiteral("DruckStEinAus")), Qt::LeftButton);
  const QString protocol = ReportAsShown(program.Sim(), &PrintFaultProtocol);
  QCOMPARE(program.PreviewText(), protocol);
  QVERIFY(AcknowledgeIntoTheSameFault(program));
  QCOMPARE(program.PreviewText(),
           protocol + QLatin1Char('\n') +
               FromWindows1252(ComposeFaultLine(program.Sim().Faults().Records()[1])));

  // Released by the user: no more lines, and both toggles wait for the close.
  QTest::mouseClick(Button(*program.Windows, QStringLiteral("DruckStEinAus")), Qt::LeftButton);
  QCOMPARE(Shown(*program.Windows),
           (PrintControls{false, true, true, false, false, false, false, false, false}));
  const QString shown = program.PreviewText();
  QVERIFY(AcknowledgeIntoTheSameFault(program));
  QCOMPARE(program.PreviewText(), shown);
  program.Preview()->close();
}

void PrintCommandsTest::druckenWritesThePreviewIntoAPdf() {
  Program program(true);
  // Without a printer the PDF printer is taken, and no file is named for it
  // behind the user's back.
  QPrinter& printer = program.Windows->Printing.Printer();
  QCOMPARE(printer.docName(), QStringLiteral("Test"));
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    QCOMPARE(printer.outputFileName(), QString());
  }
  printer.setOutputFormat(QPrinter::PdfFormat);
  // An earlier PDF printout went into the start directory.
  printer.setOutputFileName(program.Start.QPath() + QStringLiteral("/Frueher.pdf"));
  const QString pdf = program.Start.QPath() + QStringLiteral("/Soll.pdf");

  QTest::mouseClick(Button(*program.Windows, QStringLiteral("DruckSoll")), Qt::LeftButton);
  QVERIFY(QTest::qWaitForWindowExposed(program.Preview()));
  const QString text = program.PreviewText();
  QCOMPARE(text, ReportAsShown(program.Sim(), &PrintCombinedPlanned));

  // "Drucken" asks for the file in a file dialog, proposing the printout's
  // name and date in the folder of the last PDF. Cancelling it prints
  // nothing and keeps the preview.
  const QString proposed =
      program.Start.QPath() + QStringLiteral("/Sollausdruck_") +
      ui::DateOf(program.Sim().SimClock().SimulatedNow()).toString(Qt::ISODate) +
      QStringLiteral(".pdf");
  ModalSeen question;
  QString offered;
  HandleNextModal(&question, [&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
    offered = dialog->selectedFiles().value(0);
    static_cast<QDialog*>(dialog)->reject();
  });
  QTest::mouseClick(PreviewButton(program.Preview(), "DruckStart"), Qt::LeftButton);
  QTRY_VERIFY(question.Seen);
  QCOMPARE(question.Title, QStringLiteral("Ausdruck als PDF-Datei speichern"));
  QCOMPARE(offered, proposed);
  QVERIFY(program.Preview() != nullptr);
  QVERIFY(!QFile::exists(proposed));

  // The chosen file is written, and a message says where it went. The
  // answer comes through the question's seam: accepting a file dialog
  // offscreen races with its folder model.
  program.Preview()->SetPdfFileQuestion([&pdf](QWidget*, const QString&) { return pdf; });
  ModalSeen saved;
  HandleNextModal(&saved);
  QTest::mouseClick(PreviewButton(program.Preview(), "DruckStart"), Qt::LeftButton);
  QTRY_COMPARE(program.Preview(), nullptr);
  QVERIFY(saved.Seen);
  QVERIFY2(saved.Text.endsWith(QStringLiteral("gespeichert:\n") + pdf), qPrintable(saved.Text));
  QCOMPARE(Shown(*program.Windows), AllFree);
  QVERIFY(QFile::exists(pdf));
  QVERIFY(!QFile::exists(program.Start.QPath() + QStringLiteral("/Test.pdf")));

  // The page count and every page's text are those of the preview's text.
  const ui::PrintedPages pages =
      ui::LayOutPages(text, ui::PreviewPrintFont(), printer, printer.width(), printer.height());
  QVERIFY(pages.Pages.size() > 1);
  QCOMPARE(PdfInfo(pdf, QStringLiteral("Pages")), QString::number(pages.Pages.size()));
  QCOMPARE(PdfInfo(pdf, QStringLiteral("Title")), QStringLiteral("Test"));
  int offGrid = 0;
  const QList<QStringList> printed = PdfPages(pdf, GridOf(printer), &offGrid);
  QCOMPARE(offGrid, 0);
  QCOMPARE(printed.size(), pages.Pages.size());
  QStringList laidOut;
  for (qsizetype page = 0; page < printed.size(); ++page) {
    QCOMPARE(printed[page], AsOnPaper(pages.Pages[page]));
    laidOut << pages.Pages[page];
  }
  // Every line fits the paper: the pages hold the text, line for line.
  QCOMPARE(laidOut, text.split(QLatin1Char('\n')));
}

void PrintCommandsTest::druckerEinrichtenChoosesWhereDruckenPrints() {
  Program program(true);
  const QString pdf = program.Start.QPath() + QStringLiteral("/Gewaehlt.pdf");
  // The set-up always offers the PDF printer; the test chooses it and a file.
  QStringList offered;
  QString confirm;
  ModalSeen seen;
  HandleNextModal(&seen, [&](QWidget* dialog) {
    if (auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"))) {
      for (int i = 0; i < printers->count(); ++i) {
        offered << printers->itemText(i);
      }
      printers->setCurrentIndex(printers->count() - 1);
    }
    if (auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename"))) {
      file->setText(pdf);
    }
    if (auto* buttons = dialog->findChild<QDialogButtonBox*>()) {
      confirm = buttons->button(QDialogButtonBox::Ok)->text();
    }
    static_cast<QDialog*>(dialog)->accept();
  });
  Action(*program.Windows, QStringLiteral("DruckerEinrichten"))->trigger();
  QVERIFY(seen.Seen);
  QVERIFY2(!offered.isEmpty() && offered.back().contains(QStringLiteral("PDF")),
           qPrintable(offered.join(QLatin1Char('|'))));
  QCOMPARE(program.Windows->Printing.Printer().outputFileName(), pdf);
  QCOMPARE(seen.Title, QStringLiteral("Drucker einrichten"));
  QCOMPARE(confirm, QStringLiteral("OK"));
  QVERIFY2(!QFile::exists(pdf), "the set-up prints nothing");

  // The printout is named after the report, in the folder chosen there.
  Action(*program.Windows, QStringLiteral("Programmfrei"))->trigger();
  const QString text = program.PreviewText();
  QString proposal;
  program.Preview()->SetPdfFileQuestion([&proposal](QWidget*, const QString& proposed) {
    proposal = proposed;
    return proposed;
  });
  ModalSeen saved;
  HandleNextModal(&saved);
  QTest::mouseClick(PreviewButton(program.Preview(), "DruckStart"), Qt::LeftButton);
  QTRY_COMPARE(program.Preview(), nullptr);
  QVERIFY(saved.Seen);
  QCOMPARE(QFileInfo(proposal).absolutePath(), program.Start.QPath());
  QVERIFY2(QFileInfo(proposal).fileName().startsWith(QStringLiteral("Programmfreigabe_")),
           qPrintable(proposal));
  const QString written = proposal;
  int offGrid = 0;
  const QList<QStringList> printed =
      PdfPages(written, GridOf(program.Windows->Printing.Printer()), &offGrid);
  QCOMPARE(offGrid, 0);
  QCOMPARE(printed.size(), 1);
  QCOMPARE(printed[0], AsOnPaper(text.split(QLatin1Char('\n'))));
}

}  // namespace ampelsim::test
