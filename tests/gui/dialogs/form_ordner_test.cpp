#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
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

QString InvalidNameMessage(const QString& name) {
  return QStringLiteral("Der Name '") + name +
         QString::fromUtf8(
             "' ist kein zulässiger\nOrdnername, weil er nicht verwendbare Zeichen enthält.\n"
             "Bitte überprüfen Sie die Eingabe und verwenden Sie nicht\n"
             "die folgenden Zeichen: <>|*?/\\");
}

class FormOrdnerTest : public QObject {
  Q_OBJECT

 private:
  QLineEdit* Name() { return Control<QLineEdit>(*ordner_, "MemoPfad"); }
  void Click(const char* button) { Control<QPushButton>(*ordner_, button)->click(); }
  DirectoryList* OwnerList() { return Control<DirectoryList>(*owner_, "DirectoryListBox"); }
  void ShowWithName(const QString& name) {
    ordner_->show();
    Name()->setText(name);
  }

  QString startCwd_;
  std::unique_ptr<QTemporaryDir> temp_;
  QString parent_;
  QStringList entriesBefore_;
  FakeVolumes volumes_;
  AppPaths paths_;
  std::unique_ptr<SettingsStore> settings_;
  std::unique_ptr<CommonKeys> keys_;
  std::unique_ptr<TFormGetStandDir> owner_;
  TFormOrdner* ordner_ = nullptr;

 private slots:
  void initTestCase() { startCwd_ = QDir::currentPath(); }

  void init() {
    temp_ = std::make_unique<QTemporaryDir>();
    parent_ = MakeDirectory(Canonical(temp_->path()) + "/parent");
    MakeDirectory(parent_ + "/vorhanden");
    Touch(parent_ + "/vorhanden/ALL.DAT");
    Touch(parent_ + "/datei.txt");
    entriesBefore_ = Entries(parent_);
    paths_ = AppPaths{QString(), parent_, parent_};
    settings_ = std::make_unique<SettingsStore>();
    keys_ = std::make_unique<CommonKeys>([] {}, [] {});
    owner_ = std::make_unique<TFormGetStandDir>(paths_, *settings_, *keys_);
    Control<DriveSelector>(*owner_, "DriveComboBox")->SetVolumeSource(volumes_.Source());
    owner_->ShowDialog();
    ordner_ = owner_->findChild<TFormOrdner*>(QStringLiteral("FormOrdner"));
    QVERIFY(ordner_ != nullptr);
  }

  void cleanup() {
    owner_.reset();
    QCOMPARE(QDir::currentPath(), startCwd_);
    temp_.reset();
  }

  void showPresetsTheName() {
    ordner_->show();
    QCOMPARE(Control<QLabel>(*ordner_, "LabelAktuell")->text(), parent_);
    QCOMPARE(Name()->text(), QStringLiteral("Neuer Ordner"));
    QCOMPARE(Name()->selectedText(), QStringLiteral("Neuer Ordner"));
    QCOMPARE(ordner_->focusWidget(), static_cast<QWidget*>(Name()));
    QVERIFY(Control<QPushButton>(*ordner_, "ButtonOk")->isDefault());
  }

  void presetNameCreatesThatFolder() {
    ordner_->show();
    Click("ButtonOk");
    QVERIFY(QFileInfo(parent_ + "/Neuer Ordner").isDir());
  }

  void invalidNameShowsMessageAndCreatesNothing_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : {"a/b", "x?y", "<a", "b>", "c|d", "*", "e\\f"}) {
      QTest::newRow(name) << QString::fromUtf8(name);
    }
  }
  void invalidNameShowsMessageAndCreatesNothing() {
    QFETCH(QString, name);
    MessageBoxWatcher messages;
    ShowWithName(name);
    Click("ButtonOk");
    QCOMPARE(messages.Seen(), QStringList{Describe("Fehler", InvalidNameMessage(name))});
    QCOMPARE(Entries(parent_), entriesBefore_);
    QVERIFY(ordner_->isVisible());
    QCOMPARE(Name()->text(), name);
  }

  void emptyNameCreatesNothingAndCloses() {
    MessageBoxWatcher messages;
    ShowWithName(QString());
    Click("ButtonOk");
    QCOMPARE(messages.Seen(), QStringList());
    QCOMPARE(Entries(parent_), entriesBefore_);
    QVERIFY(!ordner_->isVisible());
    QCOMPARE(owner_->ListDirectory(), parent_);
  }

  void existingNameCreatesNothingAndRereadsTheList() {
    QSignalSpy changes(OwnerList(), &DirectoryList::DirectoryChanged);
    ShowWithName(QStringLiteral("vorhanden"));
    Click("ButtonOk");
    QCOMPARE(Entries(parent_), entriesBefore_);
    QCOMPARE(Entries(parent_ + "/vorhanden"), QStringList{"ALL.DAT"});
    QVERIFY(!ordner_->isVisible());
    QCOMPARE(changes.size(), 2);
    QCOMPARE(changes.at(0).at(0).toString(), parent_ + "/vorhanden");
    QCOMPARE(changes.at(1).at(0).toString(), parent_);
  }

  void newFolderIsCreatedAndTheListShowsItsParent() {
    QSignalSpy changes(OwnerList(), &DirectoryList::DirectoryChanged);
    ShowWithName(QString::fromUtf8("Kreuzung Süd"));
    Click("ButtonOk");
    const QString created = parent_ + QString::fromUtf8("/Kreuzung Süd");
    QVERIFY(QFileInfo(created).isDir());
    QVERIFY(!ordner_->isVisible());
    QCOMPARE(owner_->ListDirectory(), parent_);
    QVERIFY(Texts(OwnerList()).contains(QString::fromUtf8("Kreuzung Süd")));
    // The new folder is the selected entry, so the path field shows it: it is
    // what OK takes.
    QCOMPARE(OwnerList()->selectedItems().size(), 1);
    QCOMPARE(OwnerList()->selectedItems().constFirst()->text(), QString::fromUtf8("Kreuzung Süd"));
    QCOMPARE(Control<QLineEdit>(*owner_, "MemoPfad")->text(), created);
    QCOMPARE(changes.size(), 2);
    QCOMPARE(changes.at(0).at(0).toString(), created);
  }

  void folderThatCannotBeCreatedClosesSilently() {
    MessageBoxWatcher messages;
    const QString belowFile = parent_ + "/datei.txt/unter";
    owner_->SetListDirectory(belowFile);
    QSignalSpy changes(OwnerList(), &DirectoryList::DirectoryChanged);
    ShowWithName(QStringLiteral("neu"));
    Click("ButtonOk");
    QCOMPARE(messages.Seen(), QStringList());
    QVERIFY(!ordner_->isVisible());
    QCOMPARE(changes.size(), 0);
    QCOMPARE(owner_->ListDirectory(), belowFile);
  }

  void abbruchCreatesNothing() {
    ShowWithName(QStringLiteral("neu"));
    Click("ButtonAbbruch");
    QVERIFY(!ordner_->isVisible());
    QCOMPARE(Entries(parent_), entriesBefore_);
  }
};

}  // namespace

int RunFormOrdnerTests(int argc, char** argv) {
  FormOrdnerTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace ampelsim::ui::test

#include "form_ordner_test.moc"
