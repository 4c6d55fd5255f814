#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "gui/app/form_steuer.h"
#include "gui/app/installed_layout.h"
#include "test_support/test_files.h"

namespace ampelsim::test {
namespace {

namespace fs = std::filesystem;

QString Q(const fs::path& path) {
  return QString::fromStdString(path.string());
}

void Touch(const fs::path& path) {
  std::ofstream(path, std::ios::trunc) << "x";
}

// A prefix as `cmake --install` lays it out: bin/ and share/ampelsim/ with the
// demo junction, the help document and the glyphs.
struct InstalledTree {
  TempDir Prefix;
  InstalledTree() {
    fs::create_directories(Prefix / "bin");
    fs::create_directories(Prefix / "share/ampelsim/Demo");
    Touch(Prefix / "share/ampelsim/Demo/ALL.DAT");
    for (const char* name : {"Idrun210.pdf", "Pfeilrot.bmp", "Pfeilleer.bmp"}) {
      Touch(Prefix / "share/ampelsim" / name);
    }
  }
  QString Bin() const { return Q(Prefix / "bin"); }
  fs::path Share() const { return Prefix / "share/ampelsim"; }
};

}  // namespace

class InstalledLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void installedDataIsFoundBesideTheExecutable() {
    const InstalledTree tree;
    QCOMPARE(ui::InstalledDataDirectory(tree.Bin()), Q(tree.Share()));
  }

  void aBuildFolderIsNotAnInstallation() {
    const TempDir build;
    fs::create_directories(build / "Demo");
    QVERIFY(ui::InstalledDataDirectory(Q(build.Path())).isEmpty());
    QVERIFY(ui::InstalledDataDirectory(QString()).isEmpty());
  }

  void startDirectoryFollowsWhereTheProgramRuns_data() {
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("glyphsInCurrent");
    QTest::addColumn<bool>("workspaceExpected");
    QTest::newRow("build folder, started in it") << false << true << false;
    QTest::newRow("build folder, started elsewhere") << false << false << false;
    QTest::newRow("installed, started in a prepared folder") << true << true << false;
    QTest::newRow("installed, started from the menu") << true << false << true;
  }

  void startDirectoryFollowsWhereTheProgramRuns() {
    QFETCH(bool, installed);
    QFETCH(bool, glyphsInCurrent);
    QFETCH(bool, workspaceExpected);
    const InstalledTree tree;
    const TempDir build;
    const TempDir current;
    const TempDir dataHome;
    if (glyphsInCurrent) {
      Touch(current / "Pfeilrot.bmp");
      Touch(current / "Pfeilleer.bmp");
    }
    const QString executable = installed ? tree.Bin() : Q(build.Path());
    const QString start =
        ui::ChooseStartDirectory(Q(current.Path()), executable, Q(dataHome.Path()));
    const QString workspace = Q(dataHome / "ampelsim");
    QCOMPARE(start, workspaceExpected ? workspace : Q(current.Path()));
    QCOMPARE(QFileInfo(workspace).isDir(), workspaceExpected);
  }

  void workspaceLinksLeadToTheInstalledFiles() {
    const InstalledTree tree;
    const TempDir current;
    const TempDir dataHome;
    const QString start =
        ui::ChooseStartDirectory(Q(current.Path()), tree.Bin(), Q(dataHome.Path()));
    for (const char* name : {"Demo", "Idrun210.pdf", "Pfeilrot.bmp", "Pfeilleer.bmp"}) {
      const QFileInfo link(QDir(start).filePath(QString::fromLatin1(name)));
      QVERIFY2(link.isSymLink(), name);
      QCOMPARE(link.canonicalFilePath(), QFileInfo(Q(tree.Share() / name)).canonicalFilePath());
    }
    QVERIFY(QFileInfo(QDir(start).filePath(QStringLiteral("Demo/ALL.DAT"))).isFile());
  }

  void linksToAnOlderInstallationAreRenewedAndOwnFilesKept() {
    const InstalledTree tree;
    const TempDir current;
    const TempDir dataHome;
    const TempDir gone;
    const fs::path workspace = dataHome / "ampelsim";
    fs::create_directories(workspace);
    fs::create_directory_symlink(gone / "Demo", workspace / "Demo");  // dangling
    Touch(workspace / "Idrun210.pdf");                                // the user's own copy
    ui::ChooseStartDirectory(Q(current.Path()), tree.Bin(), Q(dataHome.Path()));
    QCOMPARE(QFileInfo(Q(workspace / "Demo")).canonicalFilePath(),
             QFileInfo(Q(tree.Share() / "Demo")).canonicalFilePath());
    QVERIFY(!QFileInfo(Q(workspace / "Idrun210.pdf")).isSymLink());
    QVERIFY(QFileInfo(Q(workspace / "Pfeilrot.bmp")).isSymLink());
  }

  // The whole start of an installed program: the demo junction is the data
  // directory, read through the link; the fault store is written to the
  // user's folder and nothing lands in the installed tree or the current one.
  void installedProgramWritesOnlyToTheUsersFolder() {
    const InstalledTree tree;
    const TempDir current;
    const TempDir dataHome;
    const TempDir configHome;
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    setenv("XDG_CONFIG_HOME", configHome.Str().c_str(), 1);
    {
      const QString start =
          ui::ChooseStartDirectory(Q(current.Path()), tree.Bin(), Q(dataHome.Path()));
      ui::ProgramBasis basis(start);
      QCOMPARE(basis.Paths.DataDirectory, Q(dataHome / "ampelsim/Demo"));
      QVERIFY(QFileInfo(Q(dataHome / "ampelsim/DATEN.STO")).isFile());
    }
    if (oldConfig.isNull()) {
      unsetenv("XDG_CONFIG_HOME");
    } else {
      setenv("XDG_CONFIG_HOME", oldConfig.constData(), 1);
    }
    QVERIFY(!fs::exists(tree.Share() / "DATEN.STO"));
    QVERIFY(!fs::exists(tree.Share() / "Demo/DATEN.STO"));
    QVERIFY(fs::is_empty(current.Path()));
  }
};

}  // namespace ampelsim::test

QTEST_MAIN(ampelsim::test::InstalledLayoutTest)
#include "installed_layout_test.moc"
