// The pictures of the editor in the help document: each window is filled as
// a user would fill it, drawn offscreen and written as PNG into the folder
// AMPELSIM_SCREENSHOT_DIR names (docs/help renews them), else beside the test.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "gui/app/app_test_support.h"
#include "gui/edit/form_bearbeiten.h"
#include "gui/edit/intergreen_dialog.h"
#include "gui/edit/new_junction_dialog.h"
#include "gui/edit/optimise_dialog.h"

namespace ampelsim::test {
namespace {

// Pairs of the demo junction with distances that make G. 3 -> G. 1 need 8 s.
constexpr char DemoGeometry[] = R"({"Pairs": [
  {"Clearing": 3, "Entering": 1, "ClearingKind": "Kfz abbiegend",
   "EnteringKind": "Kfz geradeaus", "ClearingDistance": 22, "EnteringDistance": 4,
   "WaitingLeftTurner": true},
  {"Clearing": 1, "Entering": 3, "ClearingKind": "Kfz geradeaus",
   "EnteringKind": "Kfz abbiegend", "ClearingDistance": 14, "EnteringDistance": 11.1}]})";

// At most the text width of the help document's pages, which draw a
// picture at its size in pixels: nothing is cut off.
constexpr int PictureWidth = 600;
constexpr int PictureHeight = 520;

QString OutputFolder() {
  const QString folder = qEnvironmentVariable("AMPELSIM_SCREENSHOT_DIR");
  return folder.isEmpty() ? QDir::currentPath() : folder;
}

// Draws a shown window and writes it; false when the picture is empty.
bool Write(QWidget& window, const QString& name) {
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) {
    return false;
  }
  const QImage picture = window.grab().toImage();
  return !picture.isNull() && picture.save(QDir(OutputFolder()).filePath(name), "PNG");
}

}  // namespace

class EditorScreenshots : public QObject {
  Q_OBJECT

 private:
  std::filesystem::path CopyDemo() {
    const std::filesystem::path demo = dir_.Path() / "Demo";
    std::filesystem::remove_all(demo);
    std::filesystem::copy(qEnvironmentVariable("AMPELSIM_BINARY_DIR").toStdString() + "/Demo",
                          demo);
    return demo;
  }

  TempDir dir_;

 private slots:
  // The intergreen matrix of P1 after G. 3 -> G. 1 was typed 2 s longer than
  // the plan keeps: the cell is red, the finding below.
  void IntergreenMatrix() {
    ui::TFormBearbeiten form;
    QVERIFY(!form.Open(CopyDemo()));
    form.resize(PictureWidth, PictureHeight);
    auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("Ansichten"));
    QVERIFY(tabs != nullptr);
    auto* matrix = form.findChild<QTableWidget*>(QStringLiteral("Zwischenzeitenmatrix"));
    tabs->setCurrentWidget(matrix->parentWidget());
    matrix->item(2, 0)->setText(QStringLiteral("11"));
    QVERIFY(Write(form, QStringLiteral("editor-zwischenzeiten.png")));
  }

  void ProgramTable() {
    ui::TFormBearbeiten form;
    QVERIFY(!form.Open(CopyDemo()));
    form.resize(PictureWidth, PictureHeight);
    QVERIFY(Write(form, QStringLiteral("editor-programm.png")));
  }

  void WeekPlan() {
    ui::TFormBearbeiten form;
    QVERIFY(!form.Open(CopyDemo()));
    form.resize(PictureWidth, PictureHeight);
    auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("Ansichten"));
    tabs->setCurrentWidget(
        form.findChild<QTableWidget*>(QStringLiteral("Wochentabelle"))->parentWidget());
    QVERIFY(Write(form, QStringLiteral("editor-wochenplan.png")));
  }

  void NewJunction() {
    ui::NewJunctionDialog dialog;
    QVERIFY(dialog.LoadDescription(qEnvironmentVariable("AMPELSIM_SOURCE_DIR") +
                                   QStringLiteral("/demo/new-junction/t-junction.json")));
    dialog.resize(PictureWidth, PictureHeight);
    QVERIFY(Write(dialog, QStringLiteral("neuer-knotenpunkt.png")));
  }

  void CalculatedIntergreens() {
    ui::TFormBearbeiten form;
    QVERIFY(!form.Open(CopyDemo()));
    const QString geometry = QString::fromStdString((dir_.Path() / "geometrie.json").string());
    QFile file(geometry);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(DemoGeometry);
    file.close();
    ui::IntergreenDialog dialog(form.Model(), 1);
    QVERIFY2(dialog.LoadGeometry(geometry), qPrintable(dialog.StatusText()));
    dialog.resize(PictureWidth, PictureHeight * 3 / 4);
    QVERIFY(Write(dialog, QStringLiteral("zwischenzeiten-berechnen.png")));
  }

  // The demo's P1 for the evening peak, Webster's plan alone, into P5.
  void FixedTimeOptimisation() {
    ui::TFormBearbeiten form;
    QVERIFY(!form.Open(CopyDemo()));
    // The file named as from the demo folder, so the picture shows no machine's path.
    const QString current = QDir::currentPath();
    QDir::setCurrent(qEnvironmentVariable("AMPELSIM_SOURCE_DIR") + QStringLiteral("/demo"));
    ui::OptimiseDialog dialog(form.Model(), 1, QStringLiteral("traffic/peak.json"));
    dialog.findChild<QSpinBox*>(QStringLiteral("Laeufe"))->setValue(0);
    QVERIFY(dialog.Calculate());
    QVERIFY(QTest::qWaitFor([&] { return !dialog.Running(); }, 60000));
    QDir::setCurrent(current);
    QVERIFY2(dialog.Review() != nullptr, qPrintable(dialog.StatusText()));
    dialog.resize(PictureWidth, PictureHeight * 5 / 4);
    QVERIFY(Write(dialog, QStringLiteral("festzeitoptimierung.png")));
  }
};

}  // namespace ampelsim::test

int main(int argc, char** argv) {
  QTemporaryDir configHome;
  qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
  QApplication app(argc, argv);
  ampelsim::test::EditorScreenshots test;
  return QTest::qExec(&test, argc, argv);
}

#include "editor_screenshots.moc"
