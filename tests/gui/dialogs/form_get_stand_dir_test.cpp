#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "dialog_test_support.h"
#include "gui/dialogs/app_paths.h"
#include "gui/dialogs/directory_list.h"
#include "gui/dialogs/drive_selector.h"
#include "gui/dialogs/form_get_stand_dir.h"
#include "gui/dialogs/form_ordner.h"
#include "gui/dialogs/settings_store.h"

namespace ampelsim::ui::test {
namespace {

const QString ConfiguredNotReady = QString::fromUtf8(
    "Das eingestellte Laufwerk ist nicht bereit\nBitte den Fehler beheben (z.B. Diskette "
    "einlegen)\nund wiederholen !");
const QString ChosenNotReady = QString::fromUtf8(
    "Das gewählte Laufwerk ist nicht bereit\nBitte den Fehler beheben (z.B. Datenträger "
    "einlegen)\nund wiederholen !");
const QString ApplyAtNextStart =
    QString::fromUtf8("Die Programmeinstellungen werden\nbeim nächsten Start übernommen !");
const QString Before = QStringLiteral("/stored/before");

class FormGetStandDirTest : public QObject {
  Q_OBJECT

 private:
  DirectoryList* List() { return Control<DirectoryList>(*dialog_, "DirectoryListBox"); }
  DriveSelector* Drives() { return Control<DriveSelector>(*dialog_, "DriveComboBox"); }
  QString Memo() { return Control<QLineEdit>(*dialog_, "MemoPfad")->text(); }
  void Click(const char* button) { Control<QAbstractButton>(*dialog_, button)->click(); }
  void ChooseDrive(const QString& root) { Drives()->setCurrentIndex(Drives()->findData(root)); }

  QString startCwd_;
  std::unique_ptr<QTemporaryDir> temp_;
  QString root_;
  QString data_;
  QString stickA_;
  QString stickB_;
  FakeVolumes volumes_;
  AppPaths paths_;
  std::unique_ptr<SettingsStore> settings_;
  std::unique_ptr<CommonKeys> keys_;
  std::unique_ptr<TFormGetStandDir> dialog_;

 private slots:
  void initTestCase() { startCwd_ = QDir::currentPath(); }

  void init() {
    temp_ = std::make_unique<QTemporaryDir>();
    root_ = Canonical(temp_->path());
    data_ = MakeDirectory(root_ + "/data");
    MakeDirectory(data_ + "/Alpha");
    stickA_ = MakeDirectory(root_ + "/stickA");
    stickB_ = MakeDirectory(root_ + "/stickB");
    volumes_ = FakeVolumes();
    volumes_.Mount(stickA_);
    volumes_.Mount(stickB_);
    paths_ = AppPaths{QStringLiteral("/loaded/set"), data_, MakeDirectory(root_ + "/start")};
    settings_ = std::make_unique<SettingsStore>();
    settings_->SetStandardDataPath(Before);
    keys_ = std::make_unique<CommonKeys>([] {}, [] {});
    dialog_ = std::make_unique<TFormGetStandDir>(paths_, *settings_, *keys_);
    Drives()->SetVolumeSource(volumes_.Source());
  }

  void cleanup() {
    dialog_.reset();
    QCOMPARE(QDir::currentPath(), startCwd_);
    temp_.reset();
  }

  void okWithoutChangeWritesSettingWithoutMessage() {
    MessageBoxWatcher messages;
    dialog_->ShowDialog();
    QCOMPARE(Memo(), data_);
    QVERIFY(Control<QPushButton>(*dialog_, "OK")->isDefault());
    Click("OK");
    QCOMPARE(messages.Seen(), QStringList());
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(settings_->StandardDataPath(), data_);
    QCOMPARE(paths_.StandardDataPath, data_);
    QCOMPARE(paths_.DataDirectory, QStringLiteral("/loaded/set"));
  }

  void okAfterChangeShowsInfo() {
    MessageBoxWatcher messages;
    dialog_->ShowDialog();
    PressEnterOn(List(), QStringLiteral("Alpha"));
    QCOMPARE(Memo(), data_ + "/Alpha");
    Click("OK");
    QCOMPARE(messages.Seen(), QStringList{Describe("Info", ApplyAtNextStart)});
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(settings_->StandardDataPath(), data_ + "/Alpha");
    QCOMPARE(paths_.StandardDataPath, data_ + "/Alpha");
    QCOMPARE(paths_.DataDirectory, QStringLiteral("/loaded/set"));
  }

  void cancelSavesNothing() {
    MessageBoxWatcher messages;
    dialog_->ShowDialog();
    PressEnterOn(List(), QStringLiteral("Alpha"));
    Click("ButtonCancel");
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(messages.Seen(), QStringList());
    QCOMPARE(settings_->StandardDataPath(), Before);
    QCOMPARE(paths_.StandardDataPath, data_);
  }

  void missingPathFallsBackToDemoBelowStartDirectory() {
    MessageBoxWatcher messages;
    paths_.StandardDataPath = root_ + "/removed";
    paths_.StartDirectory = root_ + "/new/start";  // Demo is created with its parents
    const QString demo = root_ + "/new/start/Demo";
    dialog_->ShowDialog();
    QCOMPARE(messages.Seen(), QStringList());
    QVERIFY(QFileInfo(demo).isDir());
    QCOMPARE(paths_.StandardDataPath, demo);
    QCOMPARE(Memo(), demo);
    Click("ButtonCancel");
    QCOMPARE(settings_->StandardDataPath(), Before);
    QCOMPARE(paths_.StandardDataPath, demo);  // the fallback stays for this run
  }

  void fallbackConfirmedWithoutChangeShowsNoMessage() {
    MessageBoxWatcher messages;
    paths_.StandardDataPath.clear();
    dialog_->ShowDialog();
    Click("OK");
    QCOMPARE(messages.Seen(), QStringList());
    QCOMPARE(settings_->StandardDataPath(), root_ + "/start/Demo");
  }

  void chosenDriveNotReadyReturnsToDriveOfSetUp() {
    MessageBoxWatcher messages;
    volumes_.SetReady(stickB_, false);
    dialog_->ShowDialog();
    ChooseDrive(stickA_);
    QCOMPARE(Memo(), stickA_);
    ChooseDrive(stickB_);
    QCOMPARE(messages.Seen(), QStringList{Describe("Zugriffsfehler", ChosenNotReady)});
    QCOMPARE(Drives()->Drive(), QStringLiteral("/"));
    QCOMPARE(Memo(), stickA_);
    QCOMPARE(dialog_->ListDirectory(), stickA_);
  }

  void driveNotReadyAtSetUpRetriesOnOk() {
    MessageBoxWatcher messages;
    volumes_.SetReady(stickA_, false);
    paths_.StandardDataPath = stickA_;
    dialog_->ShowDialog();
    QCOMPARE(messages.Seen(), QStringList{Describe("Zugriffsfehler", ConfiguredNotReady)});
    Click("OK");
    QCOMPARE(messages.Seen().size(), 2);
    QVERIFY(dialog_->isVisible());
    QCOMPARE(settings_->StandardDataPath(), Before);

    volumes_.SetReady(stickA_, true);
    Click("OK");
    QCOMPARE(messages.Seen().size(), 2);
    QVERIFY(dialog_->isVisible());
    QCOMPARE(Drives()->Drive(), stickA_);
    Click("OK");
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(settings_->StandardDataPath(), stickA_);
  }

  void showingAgainWhileOpenKeepsTheBrowsedDirectory() {
    dialog_->ShowDialog();
    PressEnterOn(List(), QStringLiteral("Alpha"));
    dialog_->ShowDialog();
    QCOMPARE(dialog_->ListDirectory(), data_ + "/Alpha");
  }

  void newFolderButtonOpensNewFolderDialogModally() {
    MessageBoxWatcher messages;
    dialog_->ShowDialog();
    QString shownParent;
    bool wasModal = false;
    QTimer::singleShot(0, this, [&] {
      auto* ordner = qobject_cast<TFormOrdner*>(QApplication::activeModalWidget());
      if (ordner == nullptr) {
        return;
      }
      wasModal = true;
      shownParent = Control<QLabel>(*ordner, "LabelAktuell")->text();
      Control<QLineEdit>(*ordner, "MemoPfad")->setText(QStringLiteral("Projekt"));
      Control<QPushButton>(*ordner, "ButtonOk")->click();
    });
    QTimer::singleShot(5000, this, [] {
      if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        open->reject();  // never hang the run
      }
    });
    Click("SpeedButtonNOrdner");
    QVERIFY(wasModal);
    QCOMPARE(shownParent, data_);
    QVERIFY(QFileInfo(data_ + "/Projekt").isDir());
    QCOMPARE(dialog_->ListDirectory(), data_);
    QCOMPARE(Texts(List()), (QStringList{"..", "Alpha", "Projekt"}));
    QCOMPARE(Memo(), data_ + "/Projekt");  // the new folder is selected: OK takes it
    QCOMPARE(messages.Seen(), QStringList());
  }
};

}  // namespace

int RunFormGetStandDirTests(int argc, char** argv) {
  FormGetStandDirTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace ampelsim::ui::test

#include "form_get_stand_dir_test.moc"
