#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "app/headless_simulation.h"
#include "engine/engine_state.h"
#include "gui/app/program_windows.h"
#include "gui/sumo/sumo_gui_coupling.h"
#include "gui/sumo/sumo_remote.h"
#include "gui/app/app_test_support.h"

namespace ampelsim::test {

class SumoGuiCouplingTest : public QObject {
  Q_OBJECT

 private:
  static QString SourceDir() { return qEnvironmentVariable("AMPELSIM_SOURCE_DIR"); }
  static QString BinaryDir() { return qEnvironmentVariable("AMPELSIM_BINARY_DIR"); }
  static QString DemoConfig() { return SourceDir() + QStringLiteral("/demo/sumo/demo.sumocfg"); }
  static QString DemoMapping() { return SourceDir() + QStringLiteral("/demo/sumo/map.json"); }

  // The demo controller, loaded and switched on.
  std::unique_ptr<HeadlessSimulation> StartedDemo() {
    auto script = ParseScenario("0 program P1\n1 press Start\n");
    auto run = std::make_unique<HeadlessSimulation>(
        (BinaryDir() + QStringLiteral("/Demo")).toStdString(), LocalTime{},
        (dir_.path() + QStringLiteral("/DATEN.STO")).toStdString(), std::move(script).Value());
    run->RunSeconds(10);
    return run;
  }

  QString Write(const QString& name, const std::string& text) {
    const QString path = dir_.filePath(name);
    std::ofstream(path.toStdString()) << text;
    return path;
  }

  QTemporaryDir dir_;

 private slots:
  void menuHoldsTheCouplingEntries() {
    const StartDirectory start;
    ui::ProgramWindows windows(start.QPath());
    auto* menu = windows.FormSteuer.findChild<QMenu*>(QStringLiteral("VerkehrMenu"));
    QVERIFY(menu != nullptr);
    QCOMPARE(menu->title(), QStringLiteral("Verkehr"));
    auto* couple = menu->findChild<QAction*>(QStringLiteral("SumoKoppeln"));
    auto* end = menu->findChild<QAction*>(QStringLiteral("SumoKopplungBeenden"));
    QVERIFY(couple != nullptr && end != nullptr);
    QCOMPARE(couple->text(), QStringLiteral("Mit SUMO koppeln ..."));
    QVERIFY(couple->isEnabled());
    QVERIFY(!end->isEnabled());
    QVERIFY(windows.Sumo.Coupling() != nullptr);
    RemoveSettings();
  }

  void refusesWithAGermanMessage_data() {
    QTest::addColumn<QString>("config");
    QTest::addColumn<QString>("mapping");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no config") << dir_.filePath(QStringLiteral("fehlt.sumocfg")) << DemoMapping()
                               << QStringLiteral("gibt es nicht");
    QTest::newRow("mapping not json")
        << DemoConfig() << Write(QStringLiteral("kaputt.json"), "{\"Links\": [")
        << QStringLiteral("kein gültiges JSON");
    QTest::newRow("unknown group")
        << DemoConfig()
        << Write(QStringLiteral("gruppe.json"),
                 R"({"TrafficLight": "C", "Links": [{"Index": 0, "Group": 12, "Green": "G"}]})")
        << QStringLiteral("Links[0]: Signalgruppe 12 gibt es im Datensatz nicht");
    QTest::newRow("bad config")
        << Write(QStringLiteral("kaputt.sumocfg"),
                 "<configuration><input><net-file value=\"fehlt.net.xml\"/></input>"
                 "</configuration>\n")
        << DemoMapping() << QStringLiteral("ist fehlerhaft");
  }

  void refusesWithAGermanMessage() {
    QFETCH(QString, config);
    QFETCH(QString, mapping);
    QFETCH(QString, expected);
    auto run = StartedDemo();
    ui::SumoGuiCoupling coupling(run->Sim(), nullptr);
    const auto problem = coupling.Couple(config, mapping);
    QVERIFY(problem.has_value());
    if (!RemoteSumoAvailable() ||
        QStandardPaths::findExecutable(QStringLiteral("sumo-gui")).isEmpty()) {
      QVERIFY2(problem->contains(QStringLiteral("SUMO ist nicht installiert")),
               qPrintable(*problem));
    } else {
      QVERIFY2(problem->contains(expected), qPrintable(*problem));
    }
    QVERIFY(!coupling.Coupled());
    QCOMPARE(run->Sim().State().MainState, states::CycleOperation);
  }

  // Needs a display for sumo-gui (run under Xvfb).
  void couplesToSumoGuiAndEndsWithoutStoppingTheController() {
    if (!RemoteSumoAvailable() ||
        QStandardPaths::findExecutable(QStringLiteral("sumo-gui")).isEmpty() ||
        qEnvironmentVariableIsEmpty("DISPLAY")) {
      QSKIP("sumo-gui oder Bildschirm fehlt: Kopplung mit sumo-gui nicht geprüft");
    }
    auto run = StartedDemo();
    ui::SumoGuiCoupling coupling(run->Sim(), nullptr);

    // A mapping with one link more than the network has changes nothing.
    std::ifstream demo(DemoMapping().toStdString());
    std::string text((std::istreambuf_iterator<char>(demo)), std::istreambuf_iterator<char>());
    text.replace(text.find("\"Links\": ["), 10,
                 "\"Links\": [{\"Index\": 16, \"Group\": 1, \"Green\": \"G\"}, ");
    const auto problem = coupling.Couple(DemoConfig(), Write(QStringLiteral("17.json"), text));
    QVERIFY(problem.has_value());
    QVERIFY2(problem->contains(QStringLiteral("Verbindung 16 gibt es im SUMO-Netz nicht")),
             qPrintable(*problem));
    QVERIFY(!coupling.Coupled());

    const auto coupled = coupling.Couple(DemoConfig(), DemoMapping());
    QVERIFY2(!coupled.has_value(), qPrintable(coupled.value_or(QString())));
    QVERIFY(coupling.Coupled());
    int pressed = 0;
    for (int tick = 0; tick < 1200; ++tick) {
      run->RunTick();
      coupling.AfterTick();
      for (int g = 0; g < 9; ++g) {
        pressed += coupling.Coupling()->Held(g) ? 1 : 0;
      }
    }
    QVERIFY(coupling.Coupled());
    QVERIFY(pressed > 0);
    coupling.End();
    QVERIFY(!coupling.Coupled());
    run->RunSeconds(5);
    QCOMPARE(run->Sim().State().MainState, states::CycleOperation);
  }
};

}  // namespace ampelsim::test

int main(int argc, char** argv) {
  // Settings stay in a temporary configuration folder, fixed before the
  // application object exists.
  const ampelsim::test::TempDir configHome;
  setenv("XDG_CONFIG_HOME", configHome.Str().c_str(), 1);
  QApplication application(argc, argv);
  ampelsim::test::SumoGuiCouplingTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "sumo_gui_coupling_test.moc"
