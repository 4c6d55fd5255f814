#include "traffic_menu_test.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <fstream>

#include "app/simulation.h"
#include "app/traffic_session.h"
#include "app_test_support.h"
#include "engine/engine_state.h"
#include "gui/app/program_windows.h"
#include "gui/dialogs/form_get_dir.h"
#include "gui/reports/form_drucker.h"

namespace ampelsim::test {
namespace {

using ui::ProgramWindows;

QAction* Action(ProgramWindows& windows, const char* name) {
  auto* action = windows.FormSteuer.findChild<QAction*>(QString::fromLatin1(name));
  if (action == nullptr) {
    qFatal("no menu entry %s", name);
  }
  return action;
}

void Tick(ProgramWindows& windows, int ticks) {
  for (int i = 0; i < ticks; ++i) {
    windows.Ticks.HMSTimer();
  }
}

bool StartController(ProgramWindows& windows) {
  auto* start = windows.FormSteuer.findChild<QAbstractButton*>(QStringLiteral("StartButton"));
  QTest::mousePress(start, Qt::LeftButton);
  for (int tick = 0;
       tick < 50 && windows.FormSteuer.Sim().State().MainState != states::CycleOperation; ++tick) {
    Tick(windows, 1);
  }
  QTest::mouseRelease(start, Qt::LeftButton);
  return windows.FormSteuer.Sim().State().MainState == states::CycleOperation;
}

// A vehicle every 5 s on each of the small junction's two groups.
std::filesystem::path WriteTraffic(const std::filesystem::path& folder, int secondGroup = 2) {
  const std::filesystem::path file = folder / "verkehr.json";
  std::ofstream(file) << R"({"Seed": 7, "Groups": [
    {"Group": 1, "Kind": "vehicle", "Flow": 720, "Arrivals": "regular"},
    {"Group": )" << secondGroup
                      << R"(, "Kind": "vehicle", "Flow": 720, "Arrivals": "regular"}]})";
  return file;
}

// Notes the next message box (other modal windows are left alone) and
// closes it; gives up after `attempts` looks 10 ms apart.
void WatchForMessageBox(ModalSeen* seen, int attempts) {
  QTimer::singleShot(10, [seen, attempts] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      if (attempts > 0) {
        WatchForMessageBox(seen, attempts - 1);
      }
      return;
    }
    seen->Seen = true;
    seen->Title = box->windowTitle();
    seen->Text = box->text();
    box->reject();
  });
}

// "Verkehrsdatei laden ..." once the file dialog has given `file`; the
// message box of a refusal, if one comes, is noted in `refusal`. The watch
// for that box ends before this returns, so it cannot catch a later test's
// window.
void LoadTrafficFile(ProgramWindows& windows, const std::filesystem::path& file,
                     ModalSeen* refusal) {
  constexpr int RefusalAttempts = 100;
  WatchForMessageBox(refusal, RefusalAttempts);
  windows.Traffic.LoadTrafficFile(Q(file));
  QTest::qWait(15 * RefusalAttempts);
}

// WriteTraffic's file in `folder`, loaded without a refusal.
bool LoadSmallJunctionTraffic(ProgramWindows& windows, const std::filesystem::path& folder) {
  ModalSeen refusal;
  LoadTrafficFile(windows, WriteTraffic(folder), &refusal);
  return !refusal.Seen && windows.Basis.Traffic->Loaded();
}

// Counts the seconds in which the controller saw group 1's detector.
class DetectorSeconds final : public SecondObserver {
 public:
  void OnSecond(const SecondRecord& record) override { count += record.DetectorSeen[0] ? 1 : 0; }
  void OnFault(const FaultRecord& /*record*/) override {}
  int count = 0;
};

// "Daten laden" of `directory`, through the directory dialog and the
// loading window; a message box that follows is noted in `message`. As in
// LoadTrafficFile, the watch for it ends before this returns.
void LoadDataSet(ProgramWindows& windows, const std::filesystem::path& directory,
                 ModalSeen* message) {
  constexpr int MessageAttempts = 50;
  ModalSeen chooser;
  ModalSeen loading;
  HandleNextModal(&chooser, [&loading, directory, message](QWidget* modal) {
    auto* dialog = qobject_cast<ui::TFormGetDir*>(modal);
    QVERIFY(dialog != nullptr);
    dialog->SetListDirectory(Q(directory));
    HandleNextModal(&loading, [message](QWidget* laden) {
      WatchForMessageBox(message, MessageAttempts);
      qobject_cast<QDialog*>(laden)->accept();
    });
    dialog->findChild<QPushButton*>(QStringLiteral("OK"))->click();
  });
  windows.FormSteuer.findChild<QAction*>(QStringLiteral("DatenLaden"))->trigger();
  QTest::qWait(15 * MessageAttempts);
  QVERIFY(chooser.Seen);
  QVERIFY(loading.Seen);
}

QString Cell(QTableWidget* table, int row, int column) {
  return table->item(row, column) != nullptr ? table->item(row, column)->text() : QString();
}

}  // namespace

void TrafficMenuTest::cleanup() {
  RemoveSettings();
}

void TrafficMenuTest::withoutTrafficFileNothingToSwitchOrPrint() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  QCOMPARE(windows.FormSteuer.findChild<QMenu*>(QStringLiteral("VerkehrMenu"))->title(),
           QStringLiteral("Verkehr"));
  QVERIFY(!Action(windows, "VerkehrErzeugen")->isEnabled());
  QVERIFY(!Action(windows, "AuswertungDrucken")->isEnabled());
  Action(windows, "Auswertung")->trigger();
  QVERIFY(windows.Traffic.Auswertung.isVisible());
  auto* file = windows.Traffic.Auswertung.findChild<QLabel*>(QStringLiteral("LabelVerkehrsdatei"));
  QVERIFY(file->text().startsWith(QStringLiteral("Keine Verkehrsdatei geladen")));
  QCOMPARE(windows.Traffic.Auswertung.findChild<QTableWidget*>(QStringLiteral("AuswertungTabelle"))
               ->rowCount(),
           0);
  QVERIFY(!windows.Traffic.Auswertung.findChild<QAbstractButton*>(QStringLiteral("DruckenButton"))
               ->isEnabled());
}

// The traffic presses the detectors as a user would: the controller's own
// record of the seconds with detector activity agrees with the arrivals the
// window shows.
void TrafficMenuTest::loadedTrafficPressesTheDetectorsTheWindowCounts() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  ModalSeen refusal;
  LoadTrafficFile(windows, WriteTraffic(start.Path()), &refusal);
  QVERIFY2(!refusal.Seen, qPrintable(refusal.Title + QLatin1Char(' ') + refusal.Text));
  QVERIFY(windows.Basis.Traffic->Loaded());
  QVERIFY(Action(windows, "VerkehrErzeugen")->isEnabled());
  QVERIFY(Action(windows, "VerkehrErzeugen")->isChecked());
  QVERIFY(windows.Traffic.Auswertung.isVisible());

  DetectorSeconds seen;
  windows.FormSteuer.Sim().AddObserver(seen);
  QVERIFY(StartController(windows));
  Tick(windows, 1200);
  windows.FormSteuer.Sim().RemoveObserver(seen);

  auto* table =
      windows.Traffic.Auswertung.findChild<QTableWidget*>(QStringLiteral("AuswertungTabelle"));
  QCOMPARE(table->rowCount(), 3);
  QCOMPARE(Cell(table, 2, 0), QStringLiteral("Knoten"));
  const int arrivals = Cell(table, 0, 2).toInt();
  QVERIFY2(arrivals >= 24 && arrivals <= 25, qPrintable(Cell(table, 0, 2)));
  // An arrival occupies the detector 0.4 s: within one second or across two.
  QVERIFY2(
      seen.count >= arrivals - 1 && seen.count <= 2 * arrivals,
      qPrintable(QStringLiteral("%1 seconds seen, %2 arrivals").arg(seen.count).arg(arrivals)));
  QCOMPARE(Cell(table, 2, 2).toInt(), arrivals + Cell(table, 1, 2).toInt());
  QVERIFY(!Cell(table, 0, 15).isEmpty());
}

void TrafficMenuTest::switchingOffReleasesTheButtonsAndStopsArrivals() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  QVERIFY(LoadSmallJunctionTraffic(windows, start.Path()));
  QVERIFY(StartController(windows));
  Tick(windows, 301);
  Action(windows, "VerkehrErzeugen")->trigger();
  QVERIFY(!windows.Basis.Traffic->Generating());
  QVERIFY(!Action(windows, "VerkehrErzeugen")->isChecked());
  const auto arrivals = windows.Basis.Traffic->Traffic()->Statistics().Whole.Groups[0].Arrivals;
  for (const SignalHeadElement& head : windows.FormSteuer.Sim().Heads()) {
    QVERIFY(!head.IsDemandButtonDown());
  }
  Tick(windows, 300);
  QCOMPARE(windows.Basis.Traffic->Traffic()->Statistics().Whole.Groups[0].Arrivals, arrivals);
  auto* run = windows.Traffic.Auswertung.findChild<QLabel*>(QStringLiteral("LabelLaufzeit"));
  QVERIFY(run->text().contains(QStringLiteral("Verkehr angehalten")));
}

void TrafficMenuTest::refusedFileIsReportedAndKeepsTheRunningTraffic() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  QVERIFY(LoadSmallJunctionTraffic(windows, start.Path()));
  const GeneratedTraffic* running = windows.Basis.Traffic->Traffic();
  QVERIFY(running != nullptr);

  // Group 9 is not in use at the small junction.
  const TempDir other;
  ModalSeen refusal;
  LoadTrafficFile(windows, WriteTraffic(other.Path(), 9), &refusal);
  QVERIFY(refusal.Seen);
  QCOMPARE(refusal.Title, QStringLiteral("Verkehrsdatei"));
  QVERIFY2(refusal.Text.contains(QStringLiteral("9")), qPrintable(refusal.Text));
  QCOMPARE(windows.Basis.Traffic->Traffic(), running);
  QCOMPARE(windows.Basis.Traffic->File(), start.Path() / "verkehr.json");
}

void TrafficMenuTest::auswertungGoesIntoThePrintPreview() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  QVERIFY(LoadSmallJunctionTraffic(windows, start.Path()));
  QVERIFY(StartController(windows));
  Tick(windows, 600);
  QVERIFY(Action(windows, "AuswertungDrucken")->isEnabled());
  windows.Traffic.Auswertung.findChild<QAbstractButton*>(QStringLiteral("DruckenButton"))->click();
  ui::TFormDrucker* preview = windows.Printing.Preview();
  QVERIFY(preview != nullptr);
  const QString text = preview->findChild<QPlainTextEdit*>()->toPlainText();
  QVERIFY2(text.contains(QStringLiteral("Auswertung")), qPrintable(text.left(400)));
  QVERIFY(text.contains(QStringLiteral("Knoten")));
  // One report at a time: the entry waits until the preview is closed.
  QVERIFY(!Action(windows, "AuswertungDrucken")->isEnabled());
}

// A traffic file stays with a data set that uses its groups and is let go,
// with a message, by one that does not.
void TrafficMenuTest::dataSetWithoutTheGroupsLetsTheTrafficGo() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  windows.FormSteuer.show();
  Tick(windows, 1);
  QVERIFY(LoadSmallJunctionTraffic(windows, start.Path()));

  const TempDir fitting;
  WriteDataSet(fitting.Path(), *SmallJunctionData());
  ModalSeen message;
  LoadDataSet(windows, fitting.Path(), &message);
  QCOMPARE(windows.FormSteuer.Sim().DataDirectory(), fitting.Path().string());
  QVERIFY2(!message.Seen, qPrintable(message.Text));
  QVERIFY(windows.Basis.Traffic->Loaded());

  const TempDir oneGroup;
  auto data = SmallJunctionData();
  data->GeneralData.GroupCount = 1;
  WriteDataSet(oneGroup.Path(), *data);
  LoadDataSet(windows, oneGroup.Path(), &message);
  QCOMPARE(windows.FormSteuer.Sim().DataDirectory(), oneGroup.Path().string());
  QVERIFY(message.Seen);
  QCOMPARE(message.Title, QStringLiteral("Verkehrsdatei"));
  QVERIFY2(message.Text.contains(QStringLiteral("Gruppe 2 ist im Datensatz nicht in Gebrauch")),
           qPrintable(message.Text));
  QVERIFY(!windows.Basis.Traffic->Loaded());
  QVERIFY(!Action(windows, "VerkehrErzeugen")->isEnabled());
  QVERIFY(!Action(windows, "AuswertungDrucken")->isEnabled());
}

}  // namespace ampelsim::test
