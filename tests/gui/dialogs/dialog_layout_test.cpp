#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include "dialog_test_support.h"
#include "gui/dialogs/app_paths.h"
#include "gui/dialogs/form_get_dir.h"
#include "gui/dialogs/form_get_stand_dir.h"
#include "gui/dialogs/form_ordner.h"
#include "gui/dialogs/settings_store.h"

namespace ampelsim::ui::test {
namespace {

class DialogLayoutTest : public QObject {
  Q_OBJECT

 private:
  QDialog* Dialog(const QString& name) {
    if (name == QLatin1String("FormGetDir")) {
      return &getDir_;
    }
    if (name == QLatin1String("FormGetStandDir")) {
      return &standDir_;
    }
    return standDir_.findChild<TFormOrdner*>(QStringLiteral("FormOrdner"));
  }

  KeyCounts counts_;
  CommonKeys keys_ = MakeKeys(counts_);
  AppPaths paths_;
  SettingsStore settings_;
  TFormGetDir getDir_{keys_};
  TFormGetStandDir standDir_{paths_, settings_, keys_};

 private slots:
  void frames_data() {
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::newRow("get dir") << "FormGetDir" << QString::fromUtf8("Verzeichnis auswählen")
                             << QSize(419, 278);
    QTest::newRow("stand dir") << "FormGetStandDir" << QString::fromUtf8("Datenpfad wählen")
                               << QSize(419, 242);
    QTest::newRow("ordner") << "FormOrdner"
                            << "Neuer Ordner" << QSize(443, 106);
  }
  void frames() {
    QFETCH(QString, dialog);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QDialog* window = Dialog(dialog);
    QVERIFY(window != nullptr);
    QCOMPARE(window->windowTitle(), caption);
    QCOMPARE(window->size(), size);
    QCOMPARE(window->minimumSize(), size);
    QCOMPARE(window->maximumSize(), size);
    const Qt::WindowFlags flags = window->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
  }

  void buttons_data() {
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::newRow("get dir ok") << "FormGetDir"
                                << "OK"
                                << "OK";
    QTest::newRow("get dir cancel") << "FormGetDir"
                                    << "Abbrechen"
                                    << "Abbrechen";
    QTest::newRow("stand dir ok") << "FormGetStandDir"
                                  << "OK"
                                  << "OK";
    QTest::newRow("stand dir cancel") << "FormGetStandDir"
                                      << "ButtonCancel"
                                      << "Abbruch";
    QTest::newRow("new folder button") << "FormGetStandDir"
                                       << "SpeedButtonNOrdner"
                                       << "";
    QTest::newRow("ordner ok") << "FormOrdner"
                               << "ButtonOk"
                               << "OK";
    QTest::newRow("ordner cancel") << "FormOrdner"
                                   << "ButtonAbbruch"
                                   << "Abbruch";
  }
  void buttons() {
    QFETCH(QString, dialog);
    QFETCH(QString, control);
    QFETCH(QString, text);
    auto* button = Control<QAbstractButton>(*Dialog(dialog), control);
    QVERIFY(button != nullptr);
    QCOMPARE(button->text(), text);
  }

  void newFolderButtonHint() {
    auto* button = Control<QAbstractButton>(standDir_, QStringLiteral("SpeedButtonNOrdner"));
    QVERIFY(button != nullptr);
    QCOMPARE(button->toolTip(), QStringLiteral("Neuen Ordner erstellen"));
    QVERIFY(!button->icon().isNull());
  }

  void pathFields() {
    auto* shown = Control<QLineEdit>(standDir_, QStringLiteral("MemoPfad"));
    QVERIFY(shown != nullptr);
    QVERIFY(shown->isReadOnly());
    auto* input = Control<QLineEdit>(*Dialog(QStringLiteral("FormOrdner")), "MemoPfad");
    QVERIFY(input != nullptr);
    QVERIFY(!input->isReadOnly());
    QCOMPARE(input->maxLength(), 255);
  }

  // Every control and each dialog itself hands F1 and F12 to the common keys.
  void commonKeys_data() {
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("control");
    const QList<QPair<QString, QStringList>> controls{
        {"FormGetDir",
         {"", "LabelDirAlt", "DirectoryListBox", "FileListBox", "DriveComboBox", "OK",
          "Abbrechen"}},
        {"FormGetStandDir",
         {"", "SpeedButtonNOrdner", "MemoPfad", "DirectoryListBox", "DriveComboBox", "ButtonCancel",
          "OK"}},
        {"FormOrdner", {"", "LabelAktuell", "MemoPfad", "ButtonOk", "ButtonAbbruch"}},
    };
    for (const auto& [dialog, names] : controls) {
      for (const QString& name : names) {
        const QString row = dialog + QLatin1Char(' ') + (name.isEmpty() ? "window" : name);
        QTest::newRow(row.toUtf8().constData()) << dialog << name;
      }
    }
  }
  void commonKeys() {
    QFETCH(QString, dialog);
    QFETCH(QString, control);
    QDialog* window = Dialog(dialog);
    QWidget* target = control.isEmpty() ? window : Control<QWidget>(*window, control);
    QVERIFY(target != nullptr);
    const KeyCounts before = counts_;
    QTest::keyClick(target, Qt::Key_F1);
    QCOMPARE(counts_.help, before.help + 1);
    QTest::keyClick(target, Qt::Key_F12);
    QCOMPARE(counts_.mainWindow, before.mainWindow + 1);
    QTest::keyClick(target, Qt::Key_F10);
    QCOMPARE(counts_.help, before.help + 1);
    QCOMPARE(counts_.mainWindow, before.mainWindow + 1);
  }
};

}  // namespace

int RunDialogLayoutTests(int argc, char** argv) {
  DialogLayoutTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace ampelsim::ui::test

#include "dialog_layout_test.moc"
