#include <QTest>

#include "dialog_test_support.h"
#include "gui/dialogs/folder_name.h"
#include "gui/dialogs/volumes.h"

namespace ampelsim::ui::test {
namespace {

class FolderNameTest : public QObject {
  Q_OBJECT

 private slots:
  void isValidFolderName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("preset") << QStringLiteral("Neuer Ordner") << true;
    QTest::newRow("umlauts and dots") << QStringLiteral("Kreuzung Süd.2") << true;
    QTest::newRow("parent") << QStringLiteral("..") << true;
    QTest::newRow("slash") << QStringLiteral("a/b") << false;
    QTest::newRow("question mark") << QStringLiteral("x?y") << false;
    QTest::newRow("less") << QStringLiteral("<a") << false;
    QTest::newRow("greater") << QStringLiteral("a>") << false;
    QTest::newRow("pipe") << QStringLiteral("a|b") << false;
    QTest::newRow("star") << QStringLiteral("*") << false;
    QTest::newRow("backslash") << QStringLiteral("a\\b") << false;
    QTest::newRow("colon is allowed here") << QStringLiteral("a:b") << true;
  }
  void isValidFolderName() {
    QFETCH(QString, name);
    QFETCH(bool, valid);
    QCOMPARE(IsValidFolderName(name), valid);
  }

  void newFolderPathFor_data() {
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::newRow("root") << "/"
                          << "Daten"
                          << "/Daten";
    QTest::newRow("below a folder") << "/home/ampel"
                                    << "Daten"
                                    << "/home/ampel/Daten";
    QTest::newRow("empty name") << "/home/ampel"
                                << ""
                                << "/home/ampel/";
  }
  void newFolderPathFor() {
    QFETCH(QString, parent);
    QFETCH(QString, name);
    QFETCH(QString, path);
    QCOMPARE(NewFolderPathFor(parent, name), path);
  }

  void invalidFolderNameText() {
    const QString text = InvalidFolderNameText(QStringLiteral("x?y"));
    QCOMPARE(text, QString::fromUtf8("Der Name 'x?y' ist kein zulässiger\n"
                                     "Ordnername, weil er nicht verwendbare Zeichen enthält.\n"
                                     "Bitte überprüfen Sie die Eingabe und verwenden Sie nicht\n"
                                     "die folgenden Zeichen: <>|*?/\\"));
    QVERIFY(text.endsWith(QStringLiteral(": <>|*?/\\")));
    QCOMPARE(InvalidFolderNameCaption(), QStringLiteral("Fehler"));
  }

  void volumeRootOf_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("root");
    QTest::newRow("on the root volume") << "/home/ampel"
                                        << "/";
    QTest::newRow("the mount point itself") << "/mnt/usb"
                                            << "/mnt/usb";
    QTest::newRow("below the longer mount") << "/mnt/usb2/daten"
                                            << "/mnt/usb2";
    QTest::newRow("name prefix is no parent") << "/mnt/usbx"
                                              << "/";
    QTest::newRow("empty path") << ""
                                << "";
  }
  void volumeRootOf() {
    QFETCH(QString, path);
    QFETCH(QString, root);
    const QList<Volume> volumes{{"/", ""}, {"/mnt/usb", ""}, {"/mnt/usb2", ""}};
    QCOMPARE(VolumeRootOf(path, volumes), root);
  }

  void volumeRootOfWithoutRootVolume() {
    QCOMPARE(VolumeRootOf(QStringLiteral("/home"), {{"/mnt/usb", ""}}), QString());
  }
};

}  // namespace

int RunFolderNameTests(int argc, char** argv) {
  FolderNameTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace ampelsim::ui::test

#include "folder_name_test.moc"
