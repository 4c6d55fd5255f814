#include "chart_files_test.h"

#include <unistd.h>

#include <QAbstractButton>
#include <QDate>
#include <QFileDialog>
#include <QImage>
#include <QPrinter>
#include <QtTest>
#include <fstream>

#include "app_test_support.h"
#include "gui/app/program_windows.h"

namespace ampelsim::test {
namespace {

using ui::ProgramWindows;
namespace fs = std::filesystem;

void Tick(ProgramWindows& windows, int ticks) {
  for (int i = 0; i < ticks; ++i) {
    windows.Ticks.HMSTimer();
  }
}

QString Today() {
  return QDate::currentDate().toString(Qt::ISODate);
}

// What the file dialog proposed; then the box after writing.
struct SaveSeen {
  QString DialogName;
  QString Proposed;
  ModalSeen Box;
};

// Takes the file dialog's (or print dialog's) proposal as it is, then notes
// the box that follows.
void AcceptProposalThenNoteTheBox(SaveSeen* seen) {
  HandleNextModal(&seen->Box, [seen](QWidget* modal) {
    seen->DialogName = modal->objectName();
    if (auto* files = qobject_cast<QFileDialog*>(modal)) {
      seen->Proposed = files->selectedFiles().value(0);
    }
    seen->Box = {};
    HandleNextModal(&seen->Box, [seen](QWidget* box) {
      seen->DialogName += QLatin1Char(' ') + box->objectName();
      qobject_cast<QDialog*>(box)->accept();
    });
    qobject_cast<QDialog*>(modal)->accept();
  });
}

void Click(QWidget& window, const char* button) {
  auto* found = window.findChild<QAbstractButton*>(QString::fromLatin1(button));
  QVERIFY2(found != nullptr, button);
  QTest::mouseClick(found, Qt::LeftButton);
}

// Root may write into any folder: the writing is tried with a plain user's
// rights, real and effective (access() asks with the real one); root is kept
// as the saved one to come back to.
class WithoutRootRights {
 public:
  WithoutRootRights() : root_(geteuid() == 0) {
    if (root_ && setresuid(NobodyId, NobodyId, 0) != 0) {
      throw std::runtime_error("cannot give up root");
    }
  }
  ~WithoutRootRights() {
    if (root_ && setresuid(0, 0, 0) != 0) {
      std::abort();
    }
  }
  WithoutRootRights(const WithoutRootRights&) = delete;
  WithoutRootRights& operator=(const WithoutRootRights&) = delete;

 private:
  static constexpr uid_t NobodyId = 65534;
  bool root_;
};

}  // namespace

void ChartFilesTest::cleanup() {
  RemoveSettings();
}

void ChartFilesTest::exportProposesTheRulesFileAndNamesIt() {
  const StartDirectory start;
  const TempDir out;
  ProgramWindows windows(start.QPath());
  Tick(windows, 1);
  windows.Files.SetLastFolder(Q(out.Path()));
  windows.Signalplan.Soll.show();
  windows.Signalplan.Soll.ShowChart(1, 1);  // the intergreen chart of P1

  SaveSeen seen;
  AcceptProposalThenNoteTheBox(&seen);
  Click(windows.Signalplan.Soll, "ExportButton");
  QTRY_VERIFY(seen.Box.Seen);
  const QString file = Q(out / ("Zwischenzeiten_P1_" + Today().toStdString() + ".png"));
  QCOMPARE(seen.DialogName, QStringLiteral("SignalplanExportDialog DateiGespeichertBox"));
  QCOMPARE(seen.Proposed, file);
  QCOMPARE(seen.Box.Text, QStringLiteral("Gespeichert in der Datei:\n") + file);
  QVERIFY(!QImage(file).isNull());
  QCOMPARE(windows.Files.LastFolder(), Q(out.Path()));
}

void ChartFilesTest::printToFileProposesTheRulesFileInDocuments() {
  if (QPrinter().outputFormat() != QPrinter::PdfFormat) {
    QSKIP("a system printer is the default here, not the PDF printer");
  }
  const StartDirectory start;
  const TempDir documents;
  // The last folder is gone: the documents folder, as the desktop names it.
  std::ofstream(
      QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() +
      "/user-dirs.dirs")
      << "XDG_DOCUMENTS_DIR=\"" << documents.Str() << "\"\n";
  ProgramWindows windows(start.QPath());
  windows.Files.SetLastFolder(Q(documents / "weg"));
  Tick(windows, 1);
  auto* startButton = windows.FormSteuer.findChild<QAbstractButton*>(QStringLiteral("StartButton"));
  QTest::mousePress(startButton, Qt::LeftButton);
  Tick(windows, 30);
  QTest::mouseRelease(startButton, Qt::LeftButton);
  Tick(windows, 1200);
  windows.Signalplan.Ist.show();

  SaveSeen seen;
  AcceptProposalThenNoteTheBox(&seen);
  Click(windows.Signalplan.Ist, "DruckenButton");
  QTRY_VERIFY(seen.Box.Seen);
  fs::remove(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() +
             "/user-dirs.dirs");
  const QString file = Q(documents / ("Ist_Signalplan_P1_" + Today().toStdString() + ".pdf"));
  QCOMPARE(seen.DialogName, QStringLiteral("SignalplanDruckDialog DateiGespeichertBox"));
  QCOMPARE(seen.Box.Text, QStringLiteral("Gespeichert in der Datei:\n") + file);
  QVERIFY(QFile::exists(file));
  QCOMPARE(windows.Files.LastFolder(), Q(documents.Path()));
}

void ChartFilesTest::exportIntoAReadOnlyFolderSaysWhyNot() {
  const StartDirectory start;
  const TempDir out;
  const fs::path readOnly = out / "nurlesen";
  fs::create_directory(readOnly);
  fs::permissions(out.Path(), fs::perms::owner_all | fs::perms::others_read |
                                  fs::perms::others_exec | fs::perms::group_read |
                                  fs::perms::group_exec);
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
  ProgramWindows windows(start.QPath());
  Tick(windows, 1);
  windows.Files.SetLastFolder(Q(readOnly));
  windows.Signalplan.Soll.show();

  SaveSeen seen;
  AcceptProposalThenNoteTheBox(&seen);
  {
    const WithoutRootRights plainUser;
    Click(windows.Signalplan.Soll, "ExportButton");
    QTRY_VERIFY(seen.Box.Seen);
  }
  const QString file = Q(readOnly / ("Signalzeitenplan_P1_" + Today().toStdString() + ".png"));
  QCOMPARE(seen.DialogName, QStringLiteral("SignalplanExportDialog DateiNichtGeschriebenBox"));
  QCOMPARE(seen.Box.Icon, QMessageBox::Critical);
  QCOMPARE(seen.Box.Text, QStringLiteral("Die Datei %1 konnte nicht geschrieben werden: der "
                                         "Ordner %2 ist schreibgeschützt.")
                              .arg(file, Q(readOnly)));
  QVERIFY(!QFile::exists(file));
  fs::permissions(readOnly, fs::perms::owner_write, fs::perm_options::add);
}

}  // namespace ampelsim::test
