#include "form_steuer_test.h"

#include <QAbstractButton>
#include <QAction>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/simulation.h"
#include "app_test_support.h"
#include "engine/engine_state.h"
#include "gui/app/program_windows.h"
#include "gui/reports/form_drucker.h"
#include "gui/verify/form_pruefen.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/panel_controls.h"
#include "verify/plan_verifier.h"

namespace ampelsim::test {
namespace {

using ui::ProgramWindows;

QAbstractButton* Button(ProgramWindows& windows, const QString& name) {
  auto* button = windows.FormSteuer.findChild<QAbstractButton*>(name);
  if (button == nullptr) {
    qFatal("no button %s", qPrintable(name));
  }
  return button;
}

QAction* Action(ProgramWindows& windows, const QString& name) {
  auto* action = windows.FormSteuer.findChild<QAction*>(name);
  if (action == nullptr) {
    qFatal("no menu entry %s", qPrintable(name));
  }
  return action;
}

void Tick(ProgramWindows& windows, int ticks) {
  for (int i = 0; i < ticks; ++i) {
    windows.Ticks.HMSTimer();
  }
}

std::int32_t MainState(ProgramWindows& windows) {
  return windows.FormSteuer.Sim().State().MainState;
}

// Holds "Start" until cycle operation has begun (at most five seconds).
bool StartController(ProgramWindows& windows) {
  QAbstractButton* start = Button(windows, QStringLiteral("StartButton"));
  QTest::mousePress(start, Qt::LeftButton);
  for (int tick = 0; tick < 50 && MainState(windows) != states::CycleOperation; ++tick) {
    Tick(windows, 1);
  }
  QTest::mouseRelease(start, Qt::LeftButton);
  return MainState(windows) == states::CycleOperation;
}

// The colour the panel must show for the model's lamp, spelled out here.
QColor ModelColour(ProgramWindows& windows, PanelLamp lamp) {
  if (windows.FormSteuer.Sim().Panel().LampStateOf(lamp) == LampState::Dark) {
    return QColor(192, 192, 192);
  }
  switch (lamp) {
    case PanelLamp::StRotFaden:
    case PanelLamp::StStatusRot:
    case PanelLamp::Stoerlampe:
      return QColor(255, 0, 0);
    case PanelLamp::StFeind:
    case PanelLamp::StGruenStatus:
      return QColor(0, 255, 0);
    default:
      return QColor(255, 255, 0);
  }
}

}  // namespace

void FormSteuerTest::init() {
  openedUrls_.clear();
  QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "OpenUrl");
}

void FormSteuerTest::cleanup() {
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
  RemoveSettings();
}

void FormSteuerTest::startShowsOnlyTheMainWindowAndRunsTheTick() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  QVERIFY(!windows.Ticks.HMS()->isActive());
  windows.Start();
  QTimer* hms = windows.Ticks.HMS();
  const bool running = hms->isActive();
  const int interval = hms->interval();
  hms->stop();
  QVERIFY(running);
  QCOMPARE(interval, 100);
  QVERIFY(windows.FormSteuer.isVisible());
  for (QWidget* other : std::initializer_list<QWidget*>{
           &windows.AboutBox, &windows.FormAmpel, &windows.FormLaden, &windows.FormGetDir,
           &windows.FormGetStandDir, &windows.FormUhrzeit}) {
    QVERIFY2(!other->isVisible(), other->metaObject()->className());
  }
}

void FormSteuerTest::windowFrame() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  ui::TFormSteuer& steuer = windows.FormSteuer;
  steuer.show();
  QCOMPARE(steuer.windowTitle(), QStringLiteral("Steuerung"));
  QCOMPARE(steuer.centralWidget()->size(), QSize(624, 232));
  QCOMPARE(steuer.minimumSize(), steuer.maximumSize());
  QVERIFY(steuer.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(!steuer.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  auto* bar = steuer.findChild<QWidget*>(QStringLiteral("SpeedBar"));
  QVERIFY(bar != nullptr);
  QCOMPARE(bar->geometry(), QRect(0, 0, 624, 32));
  auto* programs = steuer.findChild<QWidget*>(QStringLiteral("ProgrammPanel"));
  QVERIFY(programs != nullptr);
  QCOMPARE(programs->size(), QSize(89, 191));
}

void FormSteuerTest::menuEntries_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("caption");
  const char* const rows[][2] = {
      {"DateiMenu", "Datei"},
      {"DatenLaden", "Daten laden"},
      {"Beenden", "Beenden"},
      {"Ansicht", "Ampelköpfe"},
      {"Drucken", "Drucken"},
      {"BearbeitenMenu", "Bearbeiten"},
      {"EinzelDruck", "Einzelausdruck"},
      {"DruckerEinrichten", "Drucker Einrichten"},
      {"Uhrzeit", "Uhrzeit"},
      {"SetUhr", "Zeit eingeben"},
      {"ResetUhr", "Zeit auf PC Zeit "},
      {"Programmeinstellungen1", "Programmeinstellungen"},
      {"Pruefen", "Prüfen ..."},
      {"InfoMenu", "?"},
      {"MHilfe", "Onlinehilfe"},
      {"About", "Info"},
      {"AusGez", "Ausschaltprogramme gez."},
      {"AusSt", "Ausschaltprogramme St."},
      {"AutoMelder", "Auto. Meldervorsp."},
      {"Einschalt", "Einschaltprogramme"},
      {"GrMinTab", "Grün Min. Tabelle"},
      {"Gruenver", "Grünverriegelungen"},
      {"Programme", "Programme"},
      {"Programmfrei", "Programmfreigabe"},
      {"PrWechselAnf", "Prog. Wechsel Anf."},
      {"Programmwechselpunkt", "Programmwechselpunkte"},
      {"Schaltpunkte", "Schaltpunkte"},
      {"ZuAnfEin", "Zuordnung Anf. Ein."},
      {"ZwischenZt", "Zwischenzeiten"},
  };
  for (const auto& row : rows) {
    QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromUtf8(row[1]);
  }
}

void FormSteuerTest::menuEntries() {
  QFETCH(QString, name);
  QFETCH(QString, caption);
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  QAction* action = Action(windows, name);
  QCOMPARE(action->text(), caption);
  // Without the help document "Onlinehilfe" is hidden, and so not enabled.
  QCOMPARE(action->isEnabled(), name != QStringLiteral("MHilfe"));
}

// "Prüfen ..." lists the findings of the loaded data set; its "Drucken"
// shows the Prüfprotokoll in the print preview.
void FormSteuerTest::pruefenShowsTheFindingsAndPrintsThem() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  windows.Ticks.HMSTimer();  // the first tick loads the data set
  Action(windows, QStringLiteral("Pruefen"))->trigger();
  auto* form = windows.FormSteuer.findChild<ui::TFormPruefen*>(QStringLiteral("FormPruefen"));
  QVERIFY(form != nullptr);
  QVERIFY(form->isVisible());
  QCOMPARE(form->Findings(), VerifyDataSet(windows.FormSteuer.Sim().Data()));
  QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("DruckenButton")), Qt::LeftButton);
  QVERIFY(windows.Printing.Preview() != nullptr);
  QVERIFY(windows.Printing.Preview()->PreviewText().contains(QStringLiteral("Pruefprotokoll")));
  Action(windows, QStringLiteral("Pruefen"))->trigger();  // the same window again
  QCOMPARE(windows.FormSteuer.findChildren<ui::TFormPruefen*>().size(), 1);
}

void FormSteuerTest::reportEntriesInOrder() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  auto* reports = windows.FormSteuer.findChild<QMenu*>(QStringLiteral("EinzelDruck"));
  QVERIFY(reports != nullptr);
  QStringList names;
  for (const QAction* action : reports->actions()) {
    names << action->objectName();
  }
  QCOMPARE(names, QStringList({"AusGez", "AusSt", "AutoMelder", "Einschalt", "GrMinTab", "Gruenver",
                               "Programme", "Programmfrei", "PrWechselAnf", "Programmwechselpunkt",
                               "Schaltpunkte", "ZuAnfEin", "ZwischenZt", "ZwzBerechnung"}));
  auto* drucken = windows.FormSteuer.findChild<QMenu*>(QStringLiteral("Drucken"));
  QVERIFY(drucken != nullptr);
  QCOMPARE(drucken->actions().size(), 3);  // submenu, separator, printer set-up
  QVERIFY(drucken->actions().at(1)->isSeparator());
}

void FormSteuerTest::speedBarControls_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("hint");
  QTest::addColumn<bool>("toggle");
  QTest::addColumn<QSize>("size");
  QTest::addColumn<bool>("struckOut");
  struct Row {
    const char* Name;
    const char* Caption;
    const char* Hint;
    bool Toggle;
    int Width;
    bool Struck;
  };
  const Row rows[] = {
      {"StartButton", "", "Start", false, 25, false},
      {"QuittButton", "", "Quittung", false, 25, false},
      {"StopButton", "", "Stop", false, 25, false},
      {"HandTaster", "", "Weiter bei Handbetrieb", false, 25, false},
      {"AnforderButton1", "1", "Anforderung 1 Weiter", false, 35, false},
      {"AnforderButton2", "2", "Anforderung 2 Weiter", false, 35, false},
      {"BlinkButton", "", "Blinken", true, 25, false},
      {"HandbetriebButton", "", "Handbetrieb", true, 25, false},
      {"DauerButton", "", "Daueranforderung", true, 25, false},
      {"RotuebAus", "Rot", "Rotüberwachung aus", true, 35, true},
      {"GruenuebAus", "Grün", "Grünüberwachung aus", true, 35, true},
      {"ZwischenAus", "ZwZt", "Zwischenzeitüberwachung aus", true, 35, true},
      {"StatusAus", "Stat.", "Statusüberwachung aus", true, 35, true},
      {"DruckSoll", "Soll", "Sollausdruck", false, 48, false},
      {"DruckIst", "Ist", "Istausdruck ein/aus", true, 48, false},
      {"DruckSt", "St.", "Störausdruck Seitenweise", false, 48, false},
      {"DruckStEinAus", "St.S", "Störausdruck ein/aus", true, 48, false},
      {"TestEinAus", "Test ein/aus", "Testbetrieb ein/ausschalten", true, 81, false},
      {"TestWeiter", "Weiter", "Testbetrieb Zeitpunkt weiter ", false, 81, false},
      {"UhrButton", "Ub.", "", true, 25, false},
      {"ProgButton1", "P1", "", true, 25, false},
      {"ProgButton6", "P6", "", true, 25, false},
  };
  for (const Row& row : rows) {
    QTest::newRow(row.Name) << QString::fromLatin1(row.Name) << QString::fromUtf8(row.Caption)
                            << QString::fromUtf8(row.Hint) << row.Toggle << QSize(row.Width, 25)
                            << row.Struck;
  }
}

void FormSteuerTest::speedBarControls() {
  QFETCH(QString, name);
  QFETCH(QString, caption);
  QFETCH(QString, hint);
  QFETCH(bool, toggle);
  QFETCH(QSize, size);
  QFETCH(bool, struckOut);
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  QAbstractButton* button = Button(windows, name);
  QCOMPARE(button->text(), caption);
  QCOMPARE(button->toolTip(), hint);
  QCOMPARE(button->isCheckable(), toggle);
  QCOMPARE(button->size(), size);
  QCOMPARE(button->font().strikeOut(), struckOut);
  QVERIFY(button->isEnabled());
  QCOMPARE(button->isChecked(), name == QStringLiteral("ProgButton1"));
  if (caption.isEmpty() || name.startsWith(QStringLiteral("Druck")) ||
      name.startsWith(QStringLiteral("Anforder"))) {
    QVERIFY(!button->icon().isNull());
  }
}

void FormSteuerTest::lampsStartSilver_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<int>("size");
  for (const char* name :
       {"StRotFaden", "StFeind", "StGruenStatus", "StZwischenZt", "StStatusGelb", "StStatusRot",
        "Stoerlampe", "StAnf1Fehlt", "StAnf2Fehlt", "ImWartepunkt", "ZumWartepunkt"}) {
    QTest::newRow(name) << QString::fromLatin1(name) << 21;
  }
  QTest::newRow("SynImp1") << QStringLiteral("SynImp1") << 16;
  QTest::newRow("SynImp2") << QStringLiteral("SynImp2") << 16;
}

void FormSteuerTest::lampsStartSilver() {
  QFETCH(QString, name);
  QFETCH(int, size);
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  auto* lamp = windows.FormSteuer.findChild<ui::Shape*>(name);
  QVERIFY(lamp != nullptr);
  QCOMPARE(lamp->size(), QSize(size, size));
  QCOMPARE(lamp->BrushColor(), QColor(192, 192, 192));
}

void FormSteuerTest::labelsAndLampsShowTheModel() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  for (const char* name : {"Umlaufzeit", "Zeitpunkt", "Datum", "Zeit", "ProgLauf", "AktDatei"}) {
    auto* label = windows.FormSteuer.findChild<QLabel*>(QString::fromLatin1(name));
    QVERIFY(label != nullptr);
    QVERIFY2(label->text().isEmpty(), name);
  }
  Tick(windows, 1);
  QVERIFY(StartController(windows));
  Tick(windows, 35);

  const ControlPanel& panel = windows.FormSteuer.Sim().Panel();
  for (std::size_t i = 0; i < PanelLabelCount; ++i) {
    const auto which = static_cast<PanelLabel>(i);
    const QString name = QString::fromLatin1(ComponentName(which).data(),
                                             static_cast<qsizetype>(ComponentName(which).size()));
    auto* label = windows.FormSteuer.findChild<QLabel*>(name);
    QCOMPARE(label->text(), QString::fromStdString(panel.LabelText(which)));
    QVERIFY2(!label->text().isEmpty(), qPrintable(name));
  }
  QCOMPARE(windows.FormSteuer.findChild<QLabel*>(QStringLiteral("Umlaufzeit"))->text(),
           QStringLiteral("20"));
  QCOMPARE(windows.FormSteuer.findChild<QLabel*>(QStringLiteral("AktDatei"))->text(),
           start.QDemo());
  for (std::size_t i = 0; i < PanelLampCount; ++i) {
    const auto which = static_cast<PanelLamp>(i);
    const QString name = QString::fromLatin1(ComponentName(which).data(),
                                             static_cast<qsizetype>(ComponentName(which).size()));
    QCOMPARE(windows.FormSteuer.findChild<ui::Shape*>(name)->BrushColor(),
             ModelColour(windows, which));
  }
}

void FormSteuerTest::elidePath_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("shown");
  QTest::newRow("fits") << QStringLiteral("/home/nutzer/Demo")
                        << QStringLiteral("/home/nutzer/Demo");
  QTest::newRow("middle cut") << QStringLiteral(
                                     "/home/nutzer/daten/Kreuzungen/Hauptstrasse_Bahnhofstrasse")
                              << QStringLiteral("/home/nutzer/…/Hauptstrasse_Bahnhofstrasse");
  QTest::newRow("final separator") << QStringLiteral("/home/nutzer/daten/Kreuzung_Nord/")
                                   << QStringLiteral("/home/…/Kreuzung_Nord/");
  QTest::newRow("only the last folder")
      << QStringLiteral("/x/y/Kreuzung") << QStringLiteral("…/Kreuzung");
}

// The width is exactly that of the expected text: one pixel less must shorten
// it further, so the cut is the longest that fits.
void FormSteuerTest::elidePath() {
  QFETCH(QString, path);
  QFETCH(QString, shown);
  const QFontMetrics metrics(QApplication::font());
  const int width = metrics.horizontalAdvance(shown);
  QCOMPARE(ui::ElidePath(path, metrics, width), shown);
  const QString narrower = ui::ElidePath(path, metrics, width - 1);
  QVERIFY(narrower != shown);
  QVERIFY(metrics.horizontalAdvance(narrower) <= width - 1);
}

void FormSteuerTest::longDataDirectoryKeepsItsLastFolderVisible() {
  const StartDirectory start;
  const TempDir deep;
  const std::filesystem::path junction =
      deep.Path() / "Verkehrstechnik" / "Signalprogramme" / "Landkreis" / "Kreuzung_B27_Nord";
  std::filesystem::create_directories(junction);
  WriteDataSet(junction, *SmallJunctionData());
  ProgramWindows windows(start.QPath());
  windows.FormSteuer.show();
  Tick(windows, 1);
  QVERIFY(windows.FormSteuer.Sim().LoadDataSet(junction.string()));
  Tick(windows, 12);
  auto* label = windows.FormSteuer.findChild<ui::PathLabel*>(QStringLiteral("AktDatei"));
  QVERIFY(label != nullptr);
  QCOMPARE(label->text(), Q(junction));
  QCOMPARE(label->toolTip(), Q(junction));
  QCOMPARE(label->width(), 166);  // the label keeps its place in the panel
  const QString shown = label->DisplayedText();
  QVERIFY2(shown.contains(QChar(0x2026)), qPrintable(shown));
  QVERIFY2(shown.endsWith(QStringLiteral("/Kreuzung_B27_Nord")), qPrintable(shown));
  QVERIFY(label->fontMetrics().horizontalAdvance(shown) <= label->contentsRect().width());
}

void FormSteuerTest::holdingStartAcrossATickStarts() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  windows.FormSteuer.show();
  Tick(windows, 1);
  QCOMPARE(MainState(windows), states::WaitingForStart);
  QAbstractButton* button = Button(windows, QStringLiteral("StartButton"));
  QTest::mousePress(button, Qt::LeftButton);
  Tick(windows, 10);
  QTest::mouseRelease(button, Qt::LeftButton);
  Tick(windows, 30);
  QCOMPARE(MainState(windows), states::CycleOperation);
}

void FormSteuerTest::startClickBetweenTicksDoesNotStart() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  windows.FormSteuer.show();
  Tick(windows, 1);
  QAbstractButton* button = Button(windows, QStringLiteral("StartButton"));
  QTest::mousePress(button, Qt::LeftButton);
  QVERIFY(windows.FormSteuer.Sim().Panel().StartPressed());
  QTest::mouseRelease(button, Qt::LeftButton);
  QVERIFY(!windows.FormSteuer.Sim().Panel().StartPressed());
  Tick(windows, 40);
  QCOMPARE(MainState(windows), states::WaitingForStart);
}

void FormSteuerTest::startCheckMessages_data() {
  QTest::addColumn<bool>("filesThere");
  QTest::addColumn<QString>("message");
  QTest::newRow("files missing") << false
                                 << QStringLiteral("Daten ungültig. Start nicht möglich !");
  QTest::newRow("mode not simulatable")
      << true
      << QStringLiteral(
             "Es können nur Programme mit der Betriebsart Festzeit und Festzeit mit VA "
             "simuliert werden. Start nicht möglich !");
}

void FormSteuerTest::startCheckMessages() {
  QFETCH(bool, filesThere);
  QFETCH(QString, message);
  const StartDirectory start;
  std::filesystem::remove_all(start.Demo());
  std::filesystem::create_directory(start.Demo());
  if (filesThere) {
    auto data = SmallJunctionData();
    data->GeneralData.ModeSimulatable = 0;
    WriteDataSet(start.Demo(), *data);
  }
  ProgramWindows windows(start.QPath());
  windows.FormSteuer.show();
  Tick(windows, 1);
  QVERIFY(!windows.FormSteuer.Sim().Loader().DataValid());

  ModalSeen seen;
  HandleNextModal(&seen);
  QTest::mouseClick(Button(windows, QStringLiteral("StartButton")), Qt::LeftButton);
  QVERIFY(seen.Seen);
  QCOMPARE(seen.ClassName, QStringLiteral("QMessageBox"));
  QCOMPARE(seen.Title, QStringLiteral("Fehler"));
  QCOMPARE(seen.Text, message);
  QCOMPARE(seen.Icon, QMessageBox::NoIcon);
  QVERIFY(!windows.FormSteuer.Sim().Panel().StartPressed());
}

void FormSteuerTest::shiftReleaseKeepsTheDemand() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  windows.FormSteuer.show();
  const ControlPanel& panel = windows.FormSteuer.Sim().Panel();
  QAbstractButton* button = Button(windows, QStringLiteral("AnforderButton1"));
  const QImage released = button->icon().pixmap(16, 16).toImage();

  QTest::mousePress(button, Qt::LeftButton);
  QVERIFY(panel.Demand1Pressed());
  const QImage pressed = button->icon().pixmap(16, 16).toImage();
  QVERIFY(pressed != released);
  QCOMPARE(pressed.pixelColor(8, 8), QColor(Qt::red));

  QTest::mouseRelease(button, Qt::LeftButton, Qt::ShiftModifier);
  QVERIFY(panel.Demand1Pressed());
  QCOMPARE(button->icon().pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));
  Tick(windows, 20);
  QVERIFY(panel.Demand1Pressed());

  QTest::mouseClick(button, Qt::LeftButton);
  QVERIFY(!panel.Demand1Pressed());
  QCOMPARE(button->icon().pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::white));

  // The other demand button is independent and forgets its demand without Shift.
  QAbstractButton* second = Button(windows, QStringLiteral("AnforderButton2"));
  QTest::mousePress(second, Qt::LeftButton);
  QVERIFY(panel.Demand2Pressed());
  QTest::mouseRelease(second, Qt::LeftButton);
  QVERIFY(!panel.Demand2Pressed());
}

void FormSteuerTest::missingGlyphFileReachesTheExceptionBox() {
  const StartDirectory start;
  std::filesystem::remove(start.Path() / "Pfeilrot.bmp");
  ProgramWindows windows(start.QPath());
  windows.FormSteuer.show();
  QAbstractButton* button = Button(windows, QStringLiteral("AnforderButton2"));

  ModalSeen seen;
  HandleNextModal(&seen);
  QTest::mousePress(button, Qt::LeftButton);
  QVERIFY(seen.Seen);
  QCOMPARE(seen.Title, QStringLiteral("Simulationsprogramm"));
  QCOMPARE(seen.Text, QStringLiteral("Die Datei \"Pfeilrot.bmp\" kann nicht geöffnet werden."));
  QCOMPARE(seen.Icon, QMessageBox::Critical);
  // The demand was registered before the picture failed, and the program goes on.
  QVERIFY(windows.FormSteuer.Sim().Panel().Demand2Pressed());
  QTest::mouseRelease(button, Qt::LeftButton);
  QVERIFY(!windows.FormSteuer.Sim().Panel().Demand2Pressed());
  QVERIFY(!button->isDown());
}

void FormSteuerTest::monitoringSwitchSpringsBackAfter600Seconds() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  windows.FormSteuer.show();
  const ControlPanel& panel = windows.FormSteuer.Sim().Panel();
  Tick(windows, 3);
  QAbstractButton* button = Button(windows, QStringLiteral("RotuebAus"));
  QTest::mouseClick(button, Qt::LeftButton);
  QVERIFY(button->isChecked());
  QVERIFY(panel.IsDown(PanelToggle::RotuebAus));
  QCOMPARE(panel.RedOffSeconds(), 0);

  int ticks = 0;
  while (panel.RedOffSeconds() < 599 && ticks < 7000) {
    Tick(windows, 1);
    ++ticks;
  }
  QCOMPARE(panel.RedOffSeconds(), 599);
  QVERIFY(button->isChecked());
  while (panel.RedOffSeconds() < 600 && ticks < 7000) {
    Tick(windows, 1);
    ++ticks;
  }
  QVERIFY(ticks <= 6000);
  QVERIFY(!panel.IsDown(PanelToggle::RotuebAus));
  QVERIFY(!button->isChecked());
}

void FormSteuerTest::togglesAndProgramButtonsGoThroughTheModel() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  windows.FormSteuer.show();
  const ControlPanel& panel = windows.FormSteuer.Sim().Panel();
  for (const auto toggle :
       {PanelToggle::BlinkButton, PanelToggle::HandbetriebButton, PanelToggle::DauerButton,
        PanelToggle::TestEinAus, PanelToggle::StatusAus, PanelToggle::DruckStEinAus}) {
    const std::string_view name = ComponentName(toggle);
    QAbstractButton* button =
        Button(windows, QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(panel.IsDown(toggle));
    QVERIFY(button->isChecked());
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!panel.IsDown(toggle));
    QVERIFY(!button->isChecked());
  }
  // "St.S" opened the print preview; closing it frees the print toggles again.
  auto* preview = windows.FormSteuer.findChild<QWidget*>(QStringLiteral("FormDrucker"));
  QVERIFY(preview != nullptr);
  preview->close();
  // "Stat." and "St.S" do not release each other.
  QTest::mouseClick(Button(windows, QStringLiteral("StatusAus")), Qt::LeftButton);
  QTest::mouseClick(Button(windows, QStringLiteral("DruckStEinAus")), Qt::LeftButton);
  QVERIFY(panel.IsDown(PanelToggle::StatusAus));
  QVERIFY(panel.IsDown(PanelToggle::DruckStEinAus));

  QTest::mouseClick(Button(windows, QStringLiteral("ProgButton3")), Qt::LeftButton);
  QCOMPARE(panel.SelectedProgramButton(), ProgramButton::ProgButton3);
  QVERIFY(Button(windows, QStringLiteral("ProgButton3"))->isChecked());
  QVERIFY(!Button(windows, QStringLiteral("ProgButton1"))->isChecked());
  QTest::mouseClick(Button(windows, QStringLiteral("ProgButton3")), Qt::LeftButton);
  QVERIFY(Button(windows, QStringLiteral("ProgButton3"))->isChecked());
  QTest::mouseClick(Button(windows, QStringLiteral("UhrButton")), Qt::LeftButton);
  QCOMPARE(panel.SelectedProgramButton(), ProgramButton::UhrButton);
  QVERIFY(!Button(windows, QStringLiteral("ProgButton3"))->isChecked());
}

void FormSteuerTest::pressedTogglesAreSunkenAndDarker_data() {
  QTest::addColumn<QString>("name");
  for (const char* name :
       {"ProgButton3", "UhrButton", "ProgButton6", "TestEinAus", "BlinkButton", "RotuebAus"}) {
    QTest::newRow(name) << QString::fromLatin1(name);
  }
}

// Measured on the drawn pixels: the face of a pressed switch is clearly
// darker than that of a released one, and its edge is sunken (dark above,
// light below).
void FormSteuerTest::pressedTogglesAreSunkenAndDarker() {
  QFETCH(QString, name);
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  windows.FormSteuer.show();
  QAbstractButton* button = Button(windows, name);
  auto meanGrey = [](const QImage& image) {
    double sum = 0;
    int count = 0;
    for (int y = 3; y < image.height() - 3; ++y) {
      for (int x = 3; x < image.width() - 3; ++x) {
        sum += qGray(image.pixel(x, y));
        ++count;
      }
    }
    return sum / count;
  };
  QVERIFY(!button->isChecked());
  const QImage released = button->grab().toImage();
  QTest::mouseClick(button, Qt::LeftButton);
  QVERIFY(button->isChecked());
  const QImage pressed = button->grab().toImage();
  QVERIFY2(
      meanGrey(released) - meanGrey(pressed) >= 30,
      qPrintable(QStringLiteral("%1 against %2").arg(meanGrey(pressed)).arg(meanGrey(released))));
  const int right = pressed.width() - 1;
  const int bottom = pressed.height() - 1;
  QVERIFY(qGray(pressed.pixel(right / 2, 0)) + 100 < qGray(pressed.pixel(right / 2, bottom)));
  QVERIFY(qGray(pressed.pixel(0, bottom / 2)) + 100 < qGray(pressed.pixel(right, bottom / 2)));
}

void FormSteuerTest::menuEnablesFollowTheEngine() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  windows.FormSteuer.show();
  Tick(windows, 1);
  QAction* datenLaden = Action(windows, QStringLiteral("DatenLaden"));
  QVERIFY(datenLaden->isEnabled());
  QVERIFY(StartController(windows));
  Tick(windows, 1);
  QVERIFY(!datenLaden->isEnabled());

  // Holding "Stop" over a tick switches off and enables loading again.
  QAbstractButton* stop = Button(windows, QStringLiteral("StopButton"));
  QTest::mousePress(stop, Qt::LeftButton);
  Tick(windows, 2);
  QTest::mouseRelease(stop, Qt::LeftButton);
  Tick(windows, 1);
  QCOMPARE(MainState(windows), states::WaitingForStart);
  QVERIFY(datenLaden->isEnabled());
}

void FormSteuerTest::datenLadenCancelledChangesNothing() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  windows.FormSteuer.show();
  Tick(windows, 1);
  Simulation& sim = windows.FormSteuer.Sim();
  const std::vector<std::string> logBefore = sim.Loader().Log();
  QVERIFY(!sim.Loader().DataReloaded());

  ModalSeen seen;
  HandleNextModal(&seen);
  Action(windows, QStringLiteral("DatenLaden"))->trigger();
  QVERIFY(seen.Seen);
  QCOMPARE(seen.ClassName, QStringLiteral("ampelsim::ui::TFormGetDir"));
  QCOMPARE(windows.FormSteuer.Paths().DataDirectory, start.QDemo());
  QCOMPARE(QString::fromStdString(sim.DataDirectory()), start.QDemo());
  QVERIFY(!sim.Loader().DataReloaded());
  QVERIFY(sim.Loader().Log() == logBefore);
  QVERIFY(!windows.FormLaden.isVisible());
}

void FormSteuerTest::datenLadenConfirmedLoadsTheChosenDirectory() {
  const StartDirectory start;
  const TempDir other;
  auto data = SmallJunctionData();
  data->SignalPrograms[0].CycleTime = 30;
  WriteDataSet(other.Path(), *data);
  ProgramWindows windows(start.QPath());
  windows.FormSteuer.show();
  Tick(windows, 1);

  ModalSeen chooser;
  ModalSeen loading;
  const QString target = Q(other.Path());
  HandleNextModal(&chooser, [&loading, target](QWidget* modal) {
    auto* dialog = qobject_cast<ui::TFormGetDir*>(modal);
    QVERIFY(dialog != nullptr);
    dialog->SetListDirectory(target);
    HandleNextModal(&loading, [](QWidget* laden) { qobject_cast<QDialog*>(laden)->accept(); });
    dialog->findChild<QPushButton*>(QStringLiteral("OK"))->click();
  });
  Action(windows, QStringLiteral("DatenLaden"))->trigger();
  QVERIFY(chooser.Seen);
  QVERIFY(loading.Seen);
  QCOMPARE(loading.ClassName, QStringLiteral("ampelsim::ui::TFormLaden"));
  QCOMPARE(windows.FormSteuer.Paths().DataDirectory, target);
  Simulation& sim = windows.FormSteuer.Sim();
  QCOMPARE(QString::fromStdString(sim.DataDirectory()), target);
  QVERIFY(sim.Loader().DataValid());
  QCOMPARE(sim.Data().SignalPrograms[0].CycleTime, 30);
  // The standard path is not touched by loading.
  QCOMPARE(windows.FormSteuer.Paths().StandardDataPath, start.QDemo());
}

// The controller starts while the directory dialog is open (as the automatic
// restart does): OK then loads nothing and says why.
void FormSteuerTest::datenLadenConfirmedWhileRunningIsRefusedWithAMessage() {
  const StartDirectory start;
  const TempDir other;
  WriteDataSet(other.Path(), *SmallJunctionData());
  ProgramWindows windows(start.QPath());
  windows.FormSteuer.show();
  Tick(windows, 1);
  Simulation& sim = windows.FormSteuer.Sim();
  const std::vector<std::string> logBefore = sim.Loader().Log();

  ModalSeen chooser;
  ModalSeen message;
  bool started = false;
  HandleNextModal(&chooser, [&](QWidget* modal) {
    auto* dialog = qobject_cast<ui::TFormGetDir*>(modal);
    QVERIFY(dialog != nullptr);
    dialog->SetListDirectory(Q(other.Path()));
    started = StartController(windows);
    HandleNextModal(&message);
    dialog->findChild<QPushButton*>(QStringLiteral("OK"))->click();
  });
  Action(windows, QStringLiteral("DatenLaden"))->trigger();
  QVERIFY(chooser.Seen);
  QVERIFY(started);
  QVERIFY(message.Seen);
  QCOMPARE(message.ClassName, QStringLiteral("QMessageBox"));
  QCOMPARE(message.Title, QStringLiteral("Hinweis"));
  QVERIFY2(message.Text.startsWith(QStringLiteral(
               "Die Daten können nur bei ausgeschalteter Steuerung geladen werden.")),
           qPrintable(message.Text));
  QVERIFY(!windows.FormLaden.isVisible());
  QCOMPARE(QString::fromStdString(sim.DataDirectory()), start.QDemo());
  QVERIFY(sim.Loader().Log() == logBefore);
  QCOMPARE(MainState(windows), states::CycleOperation);
}

void FormSteuerTest::f12InHeadWindowBringsUpTheMainWindow() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  windows.FormAmpel.show();
  QVERIFY(!windows.FormSteuer.isVisible());
  QTest::keyClick(&windows.FormAmpel, Qt::Key_F12);
  QVERIFY(windows.FormSteuer.isVisible());
}

void FormSteuerTest::helpKeys() {
  const StartDirectory start;
  const std::filesystem::path document = start.Path() / "Idrun210.pdf";
  WriteBytes(document, Bytes{'%', 'P', 'D', 'F'});
  ProgramWindows windows(start.QPath());
  windows.FormSteuer.Help().SetViewer(
      [](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); });
  windows.FormSteuer.show();
  const QUrl expected = QUrl::fromLocalFile(Q(document));

  QTest::keyClick(&windows.FormSteuer, Qt::Key_F1);
  QCOMPARE(openedUrls_, QList<QUrl>({expected}));
  QTest::keyClick(Button(windows, QStringLiteral("StopButton")), Qt::Key_F1);
  QCOMPARE(openedUrls_.size(), 2);
  QTest::keyClick(&windows.FormSteuer, Qt::Key_F1, Qt::AltModifier);
  QCOMPARE(openedUrls_.size(), 2);
  QTest::keyClick(&windows.FormAmpel, Qt::Key_F1);
  QCOMPARE(openedUrls_.size(), 3);
  Action(windows, QStringLiteral("MHilfe"))->trigger();
  QCOMPARE(openedUrls_.size(), 4);

  // Every press looks for the file again.
  std::filesystem::remove(document);
  QTest::keyClick(&windows.FormSteuer, Qt::Key_F1);
  Action(windows, QStringLiteral("MHilfe"))->trigger();
  QCOMPARE(openedUrls_.size(), 4);

  // Without Alt the main window swallows every key, so a key cannot press
  // a button of the panel.
  QTest::keyClick(Button(windows, QStringLiteral("ProgButton3")), Qt::Key_Space);
  QCOMPARE(windows.FormSteuer.Sim().Panel().SelectedProgramButton(), ProgramButton::ProgButton1);
}

void FormSteuerTest::helpWithoutViewerTellsWhereTheDocumentIs() {
  const StartDirectory start;
  const std::filesystem::path document = start.Path() / "Idrun210.pdf";
  WriteBytes(document, Bytes{'%', 'P', 'D', 'F'});
  ProgramWindows windows(start.QPath());
  QStringList handed;
  windows.FormSteuer.Help().SetViewer([&handed](const QString& path) {
    handed << path;
    return false;
  });
  windows.FormSteuer.show();
  for (const bool byMenu : {false, true}) {
    ModalSeen seen;
    HandleNextModal(&seen);
    if (byMenu) {
      Action(windows, QStringLiteral("MHilfe"))->trigger();
    } else {
      QTest::keyClick(&windows.FormSteuer, Qt::Key_F1);
    }
    QVERIFY(seen.Seen);
    QCOMPARE(seen.Title, QStringLiteral("Onlinehilfe"));
    QVERIFY2(seen.Text.endsWith(QStringLiteral("Das Handbuch liegt hier:\n") + Q(document)),
             qPrintable(seen.Text));
  }
  QCOMPARE(handed, QStringList({Q(document), Q(document)}));

  // A document that is not there is not offered, and nothing is said.
  std::filesystem::remove(document);
  ModalSeen none;
  HandleNextModal(&none, nullptr, 20);
  QTest::keyClick(&windows.FormSteuer, Qt::Key_F1);
  QTest::qWait(300);
  QVERIFY(!none.Seen);
  QCOMPARE(handed.size(), 2);
}

void FormSteuerTest::clockCommands() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  windows.FormSteuer.show();
  Tick(windows, 1);

  QTest::mouseClick(windows.FormSteuer.findChild<QLabel*>(QStringLiteral("Datum")), Qt::LeftButton);
  QVERIFY(windows.FormUhrzeit.isVisible());
  QVERIFY(!windows.FormUhrzeit.isModal());
  windows.FormUhrzeit.hide();
  QTest::mouseClick(windows.FormSteuer.findChild<QLabel*>(QStringLiteral("Zeit")), Qt::LeftButton);
  QVERIFY(windows.FormUhrzeit.isVisible());
  windows.FormUhrzeit.hide();
  Action(windows, QStringLiteral("SetUhr"))->trigger();
  QVERIFY(windows.FormUhrzeit.isVisible());
  windows.FormUhrzeit.hide();

  Clock& clock = windows.FormSteuer.Sim().SimClock();
  clock.SetSimulatedNow(LocalTime{std::chrono::local_days{std::chrono::year{2010} / 2 / 23}});
  QVERIFY(clock.OffsetActive());
  Action(windows, QStringLiteral("ResetUhr"))->trigger();
  QVERIFY(!clock.OffsetActive());
}

void FormSteuerTest::windowCommands() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  windows.FormSteuer.show();

  Action(windows, QStringLiteral("Ansicht"))->trigger();
  QVERIFY(windows.FormAmpel.isVisible());
  Action(windows, QStringLiteral("Programmeinstellungen1"))->trigger();
  QVERIFY(windows.FormGetStandDir.isVisible());
  QVERIFY(!windows.FormGetStandDir.isModal());
  Action(windows, QStringLiteral("About"))->trigger();
  QVERIFY(windows.AboutBox.isVisible());
  QCOMPARE(windows.AboutBox.windowTitle(), QStringLiteral("Info"));
  QCOMPARE(windows.AboutBox.findChild<QLabel*>(QStringLiteral("Version"))->text(),
           QStringLiteral("Version: 2.10 / 23.2.2010"));
  QVERIFY(windows.AboutBox.findChild<QLabel*>(QStringLiteral("Comments"))
              ->text()
              .contains(QStringLiteral("(Nur für Festzeit mit VA Programme der Version 5.xx)")));
  QTest::mouseClick(windows.AboutBox.findChild<QPushButton*>(QStringLiteral("OKButton")),
                    Qt::LeftButton);
  QVERIFY(!windows.AboutBox.isVisible());

  // The printer set-up works on the one printer every later printout uses.
  QPrinter* printer = &windows.Printing.Printer();
  ModalSeen seen;
  HandleNextModal(&seen);
  Action(windows, QStringLiteral("DruckerEinrichten"))->trigger();
  QVERIFY(seen.Seen);
  QCOMPARE(seen.ClassName, QStringLiteral("QPrintDialog"));
  QCOMPARE(&windows.Printing.Printer(), printer);
}

}  // namespace ampelsim::test
