// The editable signal timing chart, driven with real mouse events on the
// demo junction: P1 gives G. 1 green from 10 to 48 s, and G. 5, which begins
// green at 54 s, needs 6 s intergreen after G. 1.
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "data/data_set_loader.h"
#include "edit/live_findings.h"
#include "gui/app/app_test_support.h"
#include "gui/edit/edge_limits.h"
#include "gui/edit/form_bearbeiten.h"
#include "gui/edit/program_chart_editor.h"
#include "gui/edit/program_table.h"

namespace ampelsim::test {
namespace {

constexpr int Group1 = 1;
constexpr int Group5 = 5;
constexpr int Green1Begin = 13;
constexpr int Green1End = 48;

QStringList FindingTexts(const ui::TFormBearbeiten& form) {
  QStringList texts;
  for (const Finding& finding : form.Model().Findings()) {
    texts << QString::fromStdString(finding.Text);
  }
  return texts;
}

// The verifier names the entering group first.
bool HasIntergreenFehler(const ui::TFormBearbeiten& form, int clearing, int entering) {
  for (const Finding& finding : form.Model().Findings()) {
    if (finding.Level == Severity::Fehler && finding.Kind == FindingKind::Intergreen &&
        finding.Groups == std::vector<int>{entering, clearing}) {
      return true;
    }
  }
  return false;
}

}  // namespace

class ChartEditorTest : public QObject {
  Q_OBJECT

 private:
  std::filesystem::path CopyDemo() {
    const std::filesystem::path copy = dir_.Path() / "Demo";
    std::filesystem::remove_all(copy);
    std::filesystem::remove_all(dir_.Path() / "Demo.bak");
    std::filesystem::copy(qEnvironmentVariable("AMPELSIM_BINARY_DIR").toStdString() + "/Demo",
                          copy);
    return copy;
  }

  // The editor on a copy of the demo, shown, with the chart of P1.
  ui::ProgramChartEditor& OpenEditor(ui::TFormBearbeiten& form) {
    if (form.Open(CopyDemo())) {
      qFatal("the demo does not open");
    }
    form.show();
    auto* chart = form.findChild<ui::ProgramChartEditor*>(QStringLiteral("SignalplanEditor"));
    if (chart == nullptr) {
      qFatal("no chart editor");
    }
    chart->show();
    return *chart;
  }

  // Presses at `from`, moves a second at a time to `to`, releases there.
  static void Drag(ui::ProgramChartEditor& chart, int group, int from, int to,
                   Qt::KeyboardModifiers keys = Qt::NoModifier, bool release = true) {
    const QPoint start = *chart.BarPoint(group, from);
    QTest::mousePress(&chart, Qt::LeftButton, keys, start);
    const int step = to > from ? 1 : -1;
    for (int second = from + step; second != to + step; second += step) {
      QTest::mouseMove(&chart, *chart.BarPoint(group, second));
    }
    if (release) {
      QTest::mouseRelease(&chart, Qt::LeftButton, keys, *chart.BarPoint(group, to));
    }
  }

  TempDir dir_;

 private slots:
  // G. 1's green end dragged 5 s earlier: that edge alone changes, in the
  // model and in the files read back by the loader; the drag is one step.
  void DraggingGreenEndChangesThatWindowInModelAndFiles() {
    ui::TFormBearbeiten form;
    ui::ProgramChartEditor& chart = OpenEditor(form);
    auto edited = std::make_unique<ControllerDataSet>(form.Model().Data());
    edited->SignalPrograms[0].GreenEnd1[0] = Green1End - 5;

    Drag(chart, Group1, Green1End, Green1End - 5);
    QVERIFY(form.Model().Data() == *edited);
    QCOMPARE(QString::fromStdString(form.Model().UndoName()),
             QStringLiteral("Grünende G. 1 (P1) auf 43 s"));

    // The simulator's loader reads the saved folder as it read the old one
    // (kept as Demo.bak), but for that one value.
    QVERIFY(form.Save());
    auto expected = std::make_unique<ControllerDataSet>();
    DataSetLoader{}.Load(*expected, (dir_.Path() / "Demo.bak").string());
    expected->SignalPrograms[0].GreenEnd1[0] = Green1End - 5;
    auto loaded = std::make_unique<ControllerDataSet>();
    DataSetLoader loader;
    loader.Load(*loaded, form.Model().Directory().string());
    QVERIFY(loader.DataValid());
    QVERIFY(*loaded == *expected);
  }

  // Dragged 5 s later, G. 1's green ends 1 s before G. 5's begins: while
  // the button is held the edge is drawn red in the intergreen band, the
  // chart has the red bracket and the list the Fehler; one undo restores.
  void BrokenIntergreenShowsFindingAndRedMarkAndUndoRestores() {
    ui::TFormBearbeiten form;
    ui::ProgramChartEditor& chart = OpenEditor(form);
    const auto before = std::make_unique<ControllerDataSet>(form.Model().Data());
    const QStringList findingsBefore = FindingTexts(form);
    QVERIFY(!HasIntergreenFehler(form, Group1, Group5));

    Drag(chart, Group1, Green1End, Green1End + 5, Qt::NoModifier, false);
    QCOMPARE(form.Model().Data().SignalPrograms[0].GreenEnd1[0], Green1End + 5);
    QVERIFY(chart.DragViolates());
    const QImage shot = chart.grab().toImage();
    const QPoint edge = *chart.BarPoint(Group1, Green1End + 5);
    QCOMPARE(shot.pixelColor(edge.x(), edge.y() - 12).rgb(), QColor(210, 0, 0).rgb());
    QVERIFY(HasIntergreenFehler(form, Group1, Group5));
    auto* list = form.findChild<QTableWidget*>(QStringLiteral("Befunde"));
    QCOMPARE(list->rowCount(), static_cast<int>(form.Model().Findings().size()));
    QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier,
                        *chart.BarPoint(Group1, Green1End + 5));
    QVERIFY(!chart.DragViolates());

    bool redBracket = false;
    for (const IntergreenBracket& bracket : chart.Chart().Brackets) {
      redBracket = redBracket || (bracket.Violated && bracket.Clearing == 0 &&
                                  bracket.Entering == 4 && bracket.Actual == 1);
    }
    QVERIFY(redBracket);

    form.Undo();
    QVERIFY(form.Model().Data() == *before);
    QCOMPARE(FindingTexts(form), findingsBefore);
    QVERIFY(chart.Chart().Brackets.empty());
    QVERIFY(!form.IsDirty());
  }

  // The bands a dragged edge must keep out of say what the verifier says:
  // for every place of G. 1's begin and end in the cycle, an edge in a band
  // exactly when the cycle has an intergreen, conflict or minimum green
  // finding on G. 1.
  void LimitBandsAgreeWithVerifier() {
    ui::TFormBearbeiten form;
    OpenEditor(form);
    for (const edit::GreenEdge edge : {edit::GreenEdge::Begin, edit::GreenEdge::End}) {
      const bool isEnd = edge == edit::GreenEdge::End;
      for (int at = isEnd ? Green1Begin + 1 : 0; at <= (isEnd ? 90 : Green1End - 1); ++at) {
        auto data = std::make_unique<ControllerDataSet>(form.Model().Data());
        (isEnd ? data->SignalPrograms[0].GreenEnd1 : data->SignalPrograms[0].GreenBegin1)[0] = at;
        edit::LiveFindings verifier;
        verifier.Refresh(*data);
        bool found = false;
        for (const Finding& finding : verifier.Of(1)) {
          found = found || (finding.Where == Situation::Cycle &&
                            (finding.Kind == FindingKind::Intergreen ||
                             finding.Kind == FindingKind::GreenConflict ||
                             finding.Kind == FindingKind::MinimumGreen) &&
                            std::find(finding.Groups.begin(), finding.Groups.end(), Group1) !=
                                finding.Groups.end());
        }
        const SignalProgram& plan = data->SignalPrograms[0];
        bool banned = false;
        for (const ui::LimitBand& band : ui::EdgeLimits(*data, 1, Group1, 1, edge)) {
          banned = banned || band.ViolatedBy(plan.GreenBegin1[0], plan.GreenEnd1[0], 90);
        }
        QVERIFY2(found == banned, qPrintable(QStringLiteral("%1 at %2 s: verifier %3, band %4")
                                                 .arg(isEnd ? "end" : "begin")
                                                 .arg(at)
                                                 .arg(found)
                                                 .arg(banned)));
      }
    }
  }

  // With Shift the whole green moves and keeps its length, as one step.
  void ShiftDragMovesWholeWindow() {
    ui::TFormBearbeiten form;
    ui::ProgramChartEditor& chart = OpenEditor(form);
    Drag(chart, Group1, 30, 26, Qt::ShiftModifier);
    const SignalProgram& plan = form.Model().Data().SignalPrograms[0];
    QCOMPARE(plan.GreenBegin1[0], Green1Begin - 4);
    QCOMPARE(plan.GreenEnd1[0], Green1End - 4);
    form.Undo();
    QCOMPARE(plan.GreenBegin1[0], Green1Begin);
    QVERIFY(!form.IsDirty());

    // Without Shift, pressing inside the green changes nothing.
    Drag(chart, Group1, 30, 26);
    QVERIFY(!form.IsDirty());
  }

  // The program's points move along the axis in their label strip; the
  // double-click form sets exact values.
  void PointDragAndExactValues() {
    ui::TFormBearbeiten form;
    ui::ProgramChartEditor& chart = OpenEditor(form);
    const SignalProgram& plan = form.Model().Data().SignalPrograms[0];
    const int gsp = plan.ChangePoint1;
    QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, chart.PointLabelPoint(gsp));
    QTest::mouseMove(&chart, chart.PointLabelPoint(gsp + 3));
    QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, chart.PointLabelPoint(gsp + 3));
    QCOMPARE(plan.ChangePoint1, gsp + 3);

    chart.SetExactValuesQuestion(
        [](QWidget*, const QString& title, const std::vector<ui::ExactValue>& fields) {
          if (!title.startsWith(QStringLiteral("Grün 1 von G. 1")) || fields.size() != 2 ||
              fields[0].Value != Green1Begin) {
            return std::optional<std::vector<int>>();
          }
          return std::optional<std::vector<int>>({12, 40});
        });
    QTest::mouseDClick(&chart, Qt::LeftButton, Qt::NoModifier, *chart.BarPoint(Group1, 30));
    QCOMPARE(plan.GreenBegin1[0], 12);
    QCOMPARE(plan.GreenEnd1[0], 40);
  }

  // The context menu in a group's row adds a second green as long as the
  // minimum green at the second clicked, and then offers to remove it.
  void ContextMenuAddsAndRemovesSecondGreen() {
    ui::TFormBearbeiten form;
    ui::ProgramChartEditor& chart = OpenEditor(form);
    const auto choose = [&](const QString& entry) {
      QTimer::singleShot(0, [entry] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        for (QAction* action : menu != nullptr ? menu->actions() : QList<QAction*>()) {
          if (action->text() == entry) {
            menu->setActiveAction(action);
            QTest::keyClick(menu, Qt::Key_Return);
            return;
          }
        }
        if (menu != nullptr) {
          menu->close();
        }
      });
      const QPoint at = *chart.BarPoint(Group1, 70);
      QContextMenuEvent click(QContextMenuEvent::Mouse, at, chart.mapToGlobal(at));
      QApplication::sendEvent(&chart, &click);
    };
    const SignalProgram& plan = form.Model().Data().SignalPrograms[0];
    choose(QStringLiteral("Grün 2 von G. 1 ab 70 s einfügen (10 s)"));
    QCOMPARE(plan.GreenBegin2[0], 70);
    QCOMPARE(plan.GreenEnd2[0], 80);
    choose(QStringLiteral("Grün 2 von G. 1 entfernen"));
    QCOMPARE(plan.GreenEnd2[0], 0);
  }

  // The keyboard's way: a group's point in its row of the table, the
  // program's points in theirs; the chart shows what was typed.
  void TablesSetPointsAsTheChartDoes() {
    ui::TFormBearbeiten form;
    ui::ProgramChartEditor& chart = OpenEditor(form);
    const SignalProgram& plan = form.Model().Data().SignalPrograms[0];
    auto* table = form.findChild<QTableWidget*>(QStringLiteral("Programmtabelle"));
    auto* points = form.findChild<QTableWidget*>(QStringLiteral("Programmpunkte"));
    table->item(0, static_cast<int>(ui::ProgramColumn::Query1))->setText(QStringLiteral("30"));
    QCOMPARE(plan.QueryPoint1[0], 30);
    QCOMPARE(chart.Chart().Rows[0].Marks.front().At, 30);
    table->item(0, static_cast<int>(ui::ProgramColumn::Query1))->setText(QString());
    QCOMPARE(plan.QueryPoint1[0], 0);

    points->item(static_cast<int>(edit::ProgramPoint::Change1), 0)->setText(QStringLiteral("25"));
    QCOMPARE(plan.ChangePoint1, 25);
    QVERIFY(
        std::any_of(chart.Chart().Lines.begin(), chart.Chart().Lines.end(),
                    [](const ChartLine& line) { return line.Text == "GSP1" && line.At == 25; }));
    points->item(static_cast<int>(edit::ProgramPoint::Change1), 0)->setText(QStringLiteral("x"));
    QCOMPARE(plan.ChangePoint1, 25);
    QCOMPARE(points->item(static_cast<int>(edit::ProgramPoint::Change1), 0)->text(),
             QStringLiteral("25"));
  }

  // A double click on a finding shows its program, marks its group and
  // second in the chart and selects the group's row in the table.
  void FindingJumpsToRowAndSecond() {
    ui::TFormBearbeiten form;
    ui::ProgramChartEditor& chart = OpenEditor(form);
    Drag(chart, Group1, Green1End, Green1End + 5);
    const auto& findings = form.Model().Findings();
    const auto found = std::find_if(findings.begin(), findings.end(), [](const Finding& f) {
      return f.Kind == FindingKind::Intergreen && f.Level == Severity::Fehler;
    });
    QVERIFY(found != findings.end());
    auto* list = form.findChild<QTableWidget*>(QStringLiteral("Befunde"));
    const int row = static_cast<int>(found - findings.begin());
    QCOMPARE(list->item(row, 0)->background().color(), QColor(255, 215, 215));
    emit list->cellDoubleClicked(row, 1);
    QCOMPARE(chart.MarkedGroup(), found->Groups.front());
    QCOMPARE(chart.MarkedSecond(), found->Second);
    auto* table = form.findChild<QTableWidget*>(QStringLiteral("Programmtabelle"));
    QCOMPARE(table->currentRow(), found->Groups.front() - 1);
  }
};

}  // namespace ampelsim::test

int main(int argc, char** argv) {
  QTemporaryDir configHome;
  qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
  QApplication app(argc, argv);
  ampelsim::test::ChartEditorTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "chart_editor_test.moc"
