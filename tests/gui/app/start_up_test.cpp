#include "start_up_test.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QtTest>
#include <fstream>

#include "app/simulation.h"
#include "app_test_support.h"
#include "gui/app/form_steuer.h"
#include "gui/app/start_up.h"
#include "gui/dialogs/settings_store.h"

namespace ampelsim::test {
namespace {

void WriteIni(const std::filesystem::path& startDirectory, const std::string& content) {
  std::ofstream(startDirectory / "ODATPFAD_2.00.INI", std::ios::trunc) << content;
}

std::string IniNaming(const QString& path) {
  return "[SecStrings]\nVerzeichnis=" + path.toStdString() + "\n";
}

QString StoredPath() {
  const ui::SettingsStore store;
  return store.StandardDataPath();
}

}  // namespace

void StartUpTest::cleanup() {
  RemoveSettings();
}

void StartUpTest::startDirectoryIsTheCurrentDirectory() {
  const QString current = QDir::currentPath();
  QFile::remove(current + QStringLiteral("/DATEN.STO"));
  ui::ProgramBasis basis(QDir::currentPath());
  ui::TFormSteuer steuer(basis);
  QCOMPARE(steuer.Paths().StartDirectory, current);
  QCOMPARE(steuer.Paths().DataDirectory, current + QStringLiteral("/Demo"));
  QCOMPARE(QFileInfo(current + QStringLiteral("/DATEN.STO")).size(), 180);
  QVERIFY(QFileInfo(current + QStringLiteral("/Demo")).isDir());
  QCOMPARE(QDir::currentPath(), current);
}

void StartUpTest::faultStoreIsCreatedWith180Bytes() {
  const StartDirectory start;
  ui::ProgramBasis basis(start.QPath());
  ui::TFormSteuer steuer(basis);
  const QFileInfo store(start.QPath() + QStringLiteral("/DATEN.STO"));
  QVERIFY(store.isFile());
  QCOMPARE(store.size(), 180);
  for (const FaultRecord& record : steuer.Sim().Faults().Records()) {
    QCOMPARE(record.Kind, static_cast<std::int32_t>(NoFault));
  }
}

void StartUpTest::existingFaultStoreIsReadNotRewritten() {
  const StartDirectory start;
  Bytes image(180, 0);
  image[0] = static_cast<std::uint8_t>(HostileGreen);
  image[4] = 3;  // program
  image[36] = static_cast<std::uint8_t>(RedStatus);
  WriteBytes(start.Path() / "DATEN.STO", image);

  ui::ProgramBasis basis(start.QPath());
  ui::TFormSteuer steuer(basis);
  QCOMPARE(steuer.Sim().Faults().Records()[0].Kind, static_cast<std::int32_t>(HostileGreen));
  QCOMPARE(steuer.Sim().Faults().Records()[0].Program, 3);
  QCOMPARE(steuer.Sim().Faults().Records()[1].Kind, static_cast<std::int32_t>(RedStatus));
  QVERIFY(ReadBytes(start.Path() / "DATEN.STO") == image);
}

void StartUpTest::firstStartMigratesThePathOfTheIniFile() {
  const StartDirectory start;
  const TempDir configured;
  WriteIni(start.Path(), IniNaming(Q(configured.Path())));
  const Bytes iniBefore = ReadBytes(start.Path() / "ODATPFAD_2.00.INI");
  QVERIFY(!QFileInfo::exists(SettingsFilePath()));

  ui::SettingsStore settings;
  QVERIFY(!settings.KeyExisted());
  const ui::AppPaths paths = ui::SettleStartPaths(start.QPath(), settings);

  QCOMPARE(paths.DataDirectory, Q(configured.Path()));
  QCOMPARE(paths.StandardDataPath, Q(configured.Path()));
  QCOMPARE(paths.StartDirectory, start.QPath());
  QVERIFY(QFileInfo::exists(SettingsFilePath()));
  QCOMPARE(StoredPath(), Q(configured.Path()));
  QVERIFY(ReadBytes(start.Path() / "ODATPFAD_2.00.INI") == iniBefore);
}

void StartUpTest::laterStartIgnoresTheIniFile() {
  const StartDirectory start;
  const TempDir first;
  const TempDir second;
  WriteIni(start.Path(), IniNaming(Q(first.Path())));
  {
    ui::SettingsStore settings;
    ui::SettleStartPaths(start.QPath(), settings);
  }
  WriteIni(start.Path(), IniNaming(Q(second.Path())));
  const Bytes iniBefore = ReadBytes(start.Path() / "ODATPFAD_2.00.INI");

  ui::SettingsStore settings;
  QVERIFY(settings.KeyExisted());
  const ui::AppPaths paths = ui::SettleStartPaths(start.QPath(), settings);
  QCOMPARE(paths.DataDirectory, Q(first.Path()));
  QCOMPARE(StoredPath(), Q(first.Path()));
  QVERIFY(ReadBytes(start.Path() / "ODATPFAD_2.00.INI") == iniBefore);
}

void StartUpTest::firstStartWithoutUsablePath_data() {
  QTest::addColumn<QString>("ini");  // "-" for no file
  QTest::addColumn<bool>("storesDefault");
  QTest::newRow("no ini file") << QStringLiteral("-") << true;
  QTest::newRow("no section") << QStringLiteral("[Other]\nVerzeichnis=/x\n") << true;
  QTest::newRow("no entry") << QStringLiteral("[SecStrings]\nAnders=/x\n") << true;
  QTest::newRow("missing directory")
      << QStringLiteral("[SecStrings]\nVerzeichnis=/nonexistent/ampelsim/daten\n") << false;
}

// The first start stores what it found (or the default), but a directory
// that is not there falls back to "Demo" without that reaching the settings.
void StartUpTest::firstStartWithoutUsablePath() {
  QFETCH(QString, ini);
  QFETCH(bool, storesDefault);
  const StartDirectory start;
  std::filesystem::remove_all(start.Demo());
  if (ini != QStringLiteral("-")) {
    WriteIni(start.Path(), ini.toStdString());
  }

  ui::SettingsStore settings;
  const ui::AppPaths paths = ui::SettleStartPaths(start.QPath(), settings);

  QCOMPARE(paths.DataDirectory, start.QDemo());
  QVERIFY(QFileInfo(start.QDemo()).isDir());
  QCOMPARE(StoredPath(),
           storesDefault ? start.QDemo() : QStringLiteral("/nonexistent/ampelsim/daten"));
}

void StartUpTest::removedConfiguredDirectoryFallsBackToDemo() {
  const StartDirectory start;
  std::filesystem::remove_all(start.Demo());
  QString removed;
  {
    const TempDir configured;
    removed = Q(configured.Path() / "Daten");
    QDir().mkpath(removed);
    ui::SettingsStore settings;
    settings.SetStandardDataPath(removed);
  }
  QVERIFY(!QFileInfo::exists(removed));

  ui::ProgramBasis basis(start.QPath());
  ui::TFormSteuer steuer(basis);
  QCOMPARE(steuer.Paths().DataDirectory, start.QDemo());
  QCOMPARE(steuer.Paths().StandardDataPath, start.QDemo());
  QCOMPARE(QString::fromStdString(steuer.Sim().DataDirectory()), start.QDemo());
  QVERIFY(QFileInfo(start.QDemo()).isDir());
  QCOMPARE(StoredPath(), removed);
}

void StartUpTest::helpEntryVisibleOnlyWithTheDocument_data() {
  QTest::addColumn<bool>("documentThere");
  QTest::newRow("with Idrun210.pdf") << true;
  QTest::newRow("without") << false;
}

void StartUpTest::helpEntryVisibleOnlyWithTheDocument() {
  QFETCH(bool, documentThere);
  const StartDirectory start;
  if (documentThere) {
    WriteBytes(start.Path() / "Idrun210.pdf", Bytes{'%', 'P', 'D', 'F'});
  }
  ui::ProgramBasis basis(start.QPath());
  const ui::TFormSteuer steuer(basis);
  auto* help = steuer.findChild<QAction*>(QStringLiteral("MHilfe"));
  QVERIFY(help != nullptr);
  QCOMPARE(help->isVisible(), documentThere);
  QCOMPARE(steuer.Help().Path(), start.QPath() + QStringLiteral("/Idrun210.pdf"));
}

}  // namespace ampelsim::test
