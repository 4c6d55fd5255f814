#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "dialog_test_support.h"
#include "gui/dialogs/dialog_messages.h"
#include "gui/dialogs/directory_list.h"
#include "gui/dialogs/drive_selector.h"
#include "gui/dialogs/file_list.h"
#include "gui/dialogs/form_get_dir.h"

namespace ampelsim::ui::test {
namespace {

const QString ConfiguredNotReady = QString::fromUtf8(
    "Das eingestellte Laufwerk ist nicht bereit\nBitte den Fehler beheben (z.B. Diskette "
    "einlegen)\nund wiederholen !");
const QString ChosenNotReady = QString::fromUtf8(
    "Das gewählte Laufwerk ist nicht bereit\nBitte den Fehler beheben (z.B. Diskette "
    "einlegen)\nund wiederholen !");

class FormGetDirTest : public QObject {
  Q_OBJECT

 private:
  DirectoryList* List() { return Control<DirectoryList>(*dialog_, "DirectoryListBox"); }
  FileList* Files() { return Control<FileList>(*dialog_, "FileListBox"); }
  DriveSelector* Drives() { return Control<DriveSelector>(*dialog_, "DriveComboBox"); }
  QLabel* Label() { return Control<QLabel>(*dialog_, "LabelDirAlt"); }
  void Click(const char* button) { Control<QPushButton>(*dialog_, button)->click(); }
  void ChooseDrive(const QString& root) { Drives()->setCurrentIndex(Drives()->findData(root)); }

  QString startCwd_;
  std::unique_ptr<QTemporaryDir> temp_;
  QString root_;
  QString data_;
  QString stickA_;
  QString stickB_;
  FakeVolumes volumes_;
  std::unique_ptr<CommonKeys> keys_;
  std::unique_ptr<TFormGetDir> dialog_;

 private slots:
  void initTestCase() { startCwd_ = QDir::currentPath(); }

  void init() {
    temp_ = std::make_unique<QTemporaryDir>();
    root_ = Canonical(temp_->path());
    data_ = MakeDirectory(root_ + "/data");
    MakeDirectory(data_ + "/Alpha");
    MakeDirectory(data_ + "/beta");
    for (const char* name : {"ALL.DAT", "PROG.DAT", "zw.dat", "readme.txt", "ALL.DAT.bak"}) {
      Touch(data_ + "/" + name);
    }
    Touch(data_ + "/Alpha/GRUEN.DAT");
    stickA_ = MakeDirectory(root_ + "/stickA");
    stickB_ = MakeDirectory(root_ + "/stickB");
    MakeDirectory(stickB_ + "/daten");
    Touch(stickB_ + "/daten/ALL.DAT");
    volumes_ = FakeVolumes();
    volumes_.Mount(stickA_);
    volumes_.Mount(stickB_);
    keys_ = std::make_unique<CommonKeys>([] {}, [] {});
    dialog_ = std::make_unique<TFormGetDir>(*keys_);
    Drives()->SetVolumeSource(volumes_.Source());
  }

  void cleanup() {
    dialog_.reset();
    QCOMPARE(QDir::currentPath(), startCwd_);
    temp_.reset();
  }

  void showListsSubdirectoriesAndDataFiles() {
    MessageBoxWatcher messages;
    dialog_->SelectedDirectory = data_;
    dialog_->show();
    QCOMPARE(messages.Seen(), QStringList());
    QCOMPARE(dialog_->ListDirectory(), data_);
    QCOMPARE(Texts(List()), (QStringList{"..", "Alpha", "beta"}));
    QCOMPARE(Texts(Files()), (QStringList{"ALL.DAT", "PROG.DAT", "zw.dat"}));
    QCOMPARE(Label()->text(), data_);
    QCOMPARE(Drives()->Drive(), QStringLiteral("/"));
    QVERIFY(Control<QPushButton>(*dialog_, "OK")->isDefault());
  }

  void enterAndDoubleClickOpenDirectories() {
    dialog_->SelectedDirectory = data_;
    dialog_->show();
    PressEnterOn(List(), QStringLiteral("Alpha"));
    QCOMPARE(dialog_->ListDirectory(), data_ + "/Alpha");
    QVERIFY2(dialog_->isVisible(), "Enter in the list must not confirm the dialog");
    QCOMPARE(Texts(Files()), QStringList{"GRUEN.DAT"});
    QCOMPARE(Label()->text(), data_ + "/Alpha");

    DoubleClickOn(List(), QStringLiteral(".."));
    QCOMPARE(dialog_->ListDirectory(), data_);
    QCOMPARE(List()->currentItem()->text(), QStringLiteral("Alpha"));
    DoubleClickOn(List(), QStringLiteral("beta"));
    QCOMPARE(dialog_->ListDirectory(), data_ + "/beta");
    QCOMPARE(Texts(Files()), QStringList());
    QCOMPARE(dialog_->SelectedDirectory, data_);
  }

  void okReturnsListDirectory() {
    dialog_->SelectedDirectory = data_;
    QTimer::singleShot(0, this, [this] {
      PressEnterOn(List(), QStringLiteral("beta"));
      Click("OK");
    });
    QTimer::singleShot(5000, dialog_.get(), &QDialog::reject);  // never hang the run
    QCOMPARE(dialog_->exec(), int(QDialog::Accepted));
    QCOMPARE(dialog_->SelectedDirectory, data_ + "/beta");
  }

  // Up with "..": the folder left is selected, the label and the file list
  // show it, and OK takes it, not the folder above.
  void comingUpSelectsTheFolderLeftAndOkTakesIt() {
    dialog_->SelectedDirectory = data_ + "/Alpha";
    QTimer::singleShot(0, this, [this] {
      DoubleClickOn(List(), QStringLiteral(".."));
      QCOMPARE(dialog_->ListDirectory(), data_);
      QCOMPARE(List()->selectedItems().size(), 1);
      QCOMPARE(List()->selectedItems().constFirst()->text(), QStringLiteral("Alpha"));
      QCOMPARE(Label()->text(), data_ + "/Alpha");
      QCOMPARE(Label()->toolTip(), data_ + "/Alpha");
      QCOMPARE(Texts(Files()), QStringList{"GRUEN.DAT"});
      Click("OK");
    });
    QTimer::singleShot(5000, dialog_.get(), &QDialog::reject);  // never hang the run
    QCOMPARE(dialog_->exec(), int(QDialog::Accepted));
    QCOMPARE(dialog_->SelectedDirectory, data_ + "/Alpha");
  }

  // Going down, ".." is not chosen: OK takes the folder opened.
  void goingDownChoosesTheFolderOpened() {
    dialog_->SelectedDirectory = data_;
    dialog_->show();
    DoubleClickOn(List(), QStringLiteral("beta"));
    QVERIFY(List()->selectedItems().isEmpty());
    QCOMPARE(Label()->text(), data_ + "/beta");
    // A click on another entry chooses it.
    List()->setCurrentItem(List()->item(0));
    QCOMPARE(Label()->text(), data_);
    Click("OK");
    QCOMPARE(dialog_->SelectedDirectory, data_);
  }

  void cancelLeavesSelectedDirectory() {
    dialog_->SelectedDirectory = data_;
    dialog_->show();
    PressEnterOn(List(), QStringLiteral("Alpha"));
    Click("Abbrechen");
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(dialog_->result(), int(QDialog::Rejected));
    QCOMPARE(dialog_->SelectedDirectory, data_);
  }

  void missingDirectoryIsReportedAndOkRetries() {
    MessageBoxWatcher messages;
    const QString missing = root_ + "/later";
    dialog_->SelectedDirectory = missing;
    dialog_->show();
    QCOMPARE(messages.Seen(), QStringList{Describe("Zugriffsfehler", ConfiguredNotReady)});

    Click("OK");
    QCOMPARE(messages.Seen().size(), 2);
    QVERIFY(dialog_->isVisible());

    MakeDirectory(missing);
    Click("OK");  // the retry succeeds and the dialog stays open
    QCOMPARE(messages.Seen().size(), 2);
    QVERIFY(dialog_->isVisible());
    Click("OK");
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    QCOMPARE(dialog_->SelectedDirectory, missing);
  }

  void driveNotReadyAtSetUp() {
    MessageBoxWatcher messages;
    volumes_.SetReady(stickB_, false);
    dialog_->SelectedDirectory = stickB_ + "/daten";
    dialog_->show();
    QCOMPARE(messages.Seen(), QStringList{Describe("Zugriffsfehler", ConfiguredNotReady)});
    QCOMPARE(Texts(List()), QStringList{".."});  // a drive that is not ready is not read
    QCOMPARE(Texts(Files()), QStringList());

    Click("OK");
    QCOMPARE(messages.Seen().size(), 2);
    volumes_.SetReady(stickB_, true);
    Click("OK");
    QCOMPARE(messages.Seen().size(), 2);
    QCOMPARE(Texts(Files()), QStringList{"ALL.DAT"});
    QCOMPARE(Drives()->Drive(), stickB_);
    Click("OK");
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    QCOMPARE(dialog_->SelectedDirectory, stickB_ + "/daten");
  }

  void chosenDriveNotReadyReturnsToDriveOfSetUp() {
    MessageBoxWatcher messages;
    volumes_.SetReady(stickB_, false);
    dialog_->SelectedDirectory = data_;
    dialog_->show();

    ChooseDrive(stickA_);
    QCOMPARE(messages.Seen(), QStringList());
    QCOMPARE(dialog_->ListDirectory(), stickA_);
    QCOMPARE(Label()->text(), stickA_);

    ChooseDrive(stickB_);
    QCOMPARE(messages.Seen(), QStringList{Describe("Zugriffsfehler", ChosenNotReady)});
    QCOMPARE(Drives()->Drive(), QStringLiteral("/"));
    QCOMPARE(dialog_->ListDirectory(), stickA_);
  }

  void systemVolumesAreOffered() {
    dialog_ = std::make_unique<TFormGetDir>(*keys_);
    dialog_->SelectedDirectory = data_;
    dialog_->show();
    QVERIFY(Drives()->count() >= 1);
    QCOMPARE(Drives()->Drive(), QStorageInfo(data_).rootPath());
    QVERIFY(Drives()->IsReady(Drives()->Drive()));
  }
};

}  // namespace

int RunFormGetDirTests(int argc, char** argv) {
  FormGetDirTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace ampelsim::ui::test

#include "form_get_dir_test.moc"
