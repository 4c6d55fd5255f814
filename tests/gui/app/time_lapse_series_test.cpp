#include "time_lapse_series_test.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>
#include <fstream>
#include <nlohmann/json.hpp>

#include "app/simulation.h"
#include "app_test_support.h"
#include "gui/app/program_windows.h"
#include "reports/actual_plan_line.h"
#include "traffic/statistics_files.h"

namespace ampelsim::test {
namespace {

using ui::ProgramWindows;

constexpr std::uint64_t Seed = 1;  // the seed of demo/traffic/weekday.json
const QString Begin = QStringLiteral("2026-12-10 07:00:00");

QString BinaryDir() {
  return qEnvironmentVariable("AMPELSIM_BINARY_DIR");
}
std::filesystem::path BuiltDemo() {
  return (BinaryDir() + QStringLiteral("/Demo")).toStdString();
}
QString WeekdayTraffic() {
  return qEnvironmentVariable("AMPELSIM_SOURCE_DIR") + QStringLiteral("/demo/traffic/weekday.json");
}

// The start directory's data set becomes the built demo junction.
void UseBuiltDemo(const StartDirectory& start) {
  for (const auto& entry : std::filesystem::directory_iterator(BuiltDemo())) {
    std::filesystem::copy_file(entry.path(), start.Demo() / entry.path().filename(),
                               std::filesystem::copy_options::overwrite_existing);
  }
}

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// `ampelsim-cli run` of an hour of the weekday traffic on the demo; its
// standard output, and the statistics file `stats` in `folder`.
QStringList CommandLineRun(const std::filesystem::path& folder, int runs, const QString& stats) {
  QProcess cli;
  cli.setWorkingDirectory(Q(folder));
  cli.start(
      BinaryDir() + QStringLiteral("/ampelsim-cli"),
      {QStringLiteral("run"), Q(BuiltDemo()), QStringLiteral("--seconds"), QStringLiteral("3600"),
       QStringLiteral("--traffic"), WeekdayTraffic(), QStringLiteral("--now"), Begin,
       QStringLiteral("--runs"), QString::number(runs), QStringLiteral("--stats"), stats});
  if (!cli.waitForFinished(300000) || cli.exitCode() != 0) {
    return {};
  }
  return QString::fromUtf8(cli.readAllStandardOutput()).split(QLatin1Char('\n'));
}

// Runs "Zeitraffer" over an hour from Begin with `runs` seeds, as a user
// would: the dialog's fields, Starten, then the windows it fills.
bool RunTimeLapse(ProgramWindows& windows, int runs) {
  windows.Traffic.ZeitrafferClick();
  ui::TFormZeitraffer* dialog = windows.Traffic.Zeitraffer();
  dialog->SetSpan(3600);
  dialog->findChild<QSpinBox*>(QStringLiteral("Laeufe"))->setValue(runs);
  QDateTime begin = QDateTime::fromString(Begin, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  begin.setTimeSpec(Qt::UTC);
  dialog->findChild<QDateTimeEdit*>(QStringLiteral("Beginn"))->setDateTime(begin);
  QSignalSpy finished(dialog, &ui::TFormZeitraffer::Finished);
  return dialog->StartClick() && finished.wait(300000);
}

std::string SavedAs(ui::TFormAuswertung& auswertung, const std::filesystem::path& file,
                    ui::EvaluationFormat format) {
  auswertung.SetFileQuestion([&](QWidget*, const QString&, ui::EvaluationFormat) {
    return ui::EvaluationFile{Q(file), format};
  });
  ModalSeen saved;
  HandleNextModal(&saved);
  return auswertung.SaveEvaluation() ? ReadAll(file) : std::string();
}

QStringList RowTexts(const QTableWidget& table, int row) {
  QStringList texts;
  for (int column = 0; column < table.columnCount(); ++column) {
    texts << (table.item(row, column) != nullptr ? table.item(row, column)->text() : QString());
  }
  return texts;
}

QStringList Headings(const QTableWidget& table) {
  QStringList headings;
  for (int column = 0; column < table.columnCount(); ++column) {
    headings << table.horizontalHeaderItem(column)->text();
  }
  return headings;
}

// The actual-plan lines of the command line ("P1 023 Ge ..."), one a second.
QStringList PlanLines(const QStringList& output) {
  QStringList lines;
  for (const QString& line : output) {
    if (line.startsWith(QStringLiteral(" P"))) {
      lines << line;
    }
  }
  return lines;
}

// Second `s` of the chart as the command line prints it, detector marks
// left out: the time point and each group's state code.
QString ChartLine(const ChartModel& chart, std::int64_t s, const QString& program) {
  std::array<std::int32_t, MaxGroups> states{};
  for (const ChartRow& row : chart.Rows) {
    for (const ChartBar& bar : row.Bars) {
      if (bar.Begin <= s && s < bar.End) {
        states[static_cast<std::size_t>(row.Group)] = static_cast<std::int32_t>(bar.State);
      }
    }
  }
  std::array<std::uint8_t, MaxGroups> noMarks{};
  const QString line =
      QString::fromStdString(
          ActualPlanFileLine(ComposeActualPlanLine(
              program.toInt(), chart.CycleSeconds[static_cast<std::size_t>(s - chart.AxisBegin)],
              states, noMarks)))
          .chopped(1);
  return line;
}

QString WithoutMarks(QString line) {
  return line.replace(QLatin1Char('*'), QLatin1Char(' '));
}

}  // namespace

void TimeLapseSeriesTest::cleanup() {
  RemoveSettings();
}

void TimeLapseSeriesTest::severalRunsShowTheSpreadOfTheCommandLine() {
  const TempDir cli;
  const QStringList output = CommandLineRun(cli.Path(), 3, QStringLiteral("spread.csv"));
  QVERIFY(!output.isEmpty());
  QVERIFY(!CommandLineRun(cli.Path(), 3, QStringLiteral("spread.json")).isEmpty());
  const nlohmann::json expected = nlohmann::json::parse(ReadAll(cli.Path() / "spread.json"));

  const StartDirectory start;
  UseBuiltDemo(start);
  ProgramWindows windows(start.QPath());
  QVERIFY(windows.Traffic.LoadTrafficFile(WeekdayTraffic()));
  QVERIFY(RunTimeLapse(windows, 3));
  ui::TFormAuswertung& auswertung = windows.Traffic.Auswertung;
  QVERIFY(auswertung.ShownSpread() != nullptr);
  QCOMPARE(auswertung.ShownSeeds(), (std::vector<std::uint64_t>{Seed, Seed + 1, Seed + 2}));

  // The files are the command line's, byte for byte.
  const TempDir out;
  QCOMPARE(SavedAs(auswertung, out.Path() / "a.csv", ui::EvaluationFormat::CsvInternational),
           ReadAll(cli.Path() / "spread.csv"));
  QCOMPARE(SavedAs(auswertung, out.Path() / "a.json", ui::EvaluationFormat::Json),
           ReadAll(cli.Path() / "spread.json"));
  const std::string german =
      SavedAs(auswertung, out.Path() / "b.csv", ui::EvaluationFormat::CsvGerman);
  QVERIFY(german.starts_with("\xEF\xBB\xBFSignalgruppe;Name;Art;Läufe;Ankünfte Mittel;"));

  // The window shows the spread first: mean ± deviation, runs per level.
  auswertung.show();
  auto* period = auswertung.findChild<QComboBox*>(QStringLiteral("Zeitraum"));
  QCOMPARE(period->itemText(0), QStringLiteral("Streuung über 3 Läufe"));
  QCOMPARE(period->itemText(1), QStringLiteral("Startwert 1: gesamter Lauf"));
  auto* table = auswertung.findChild<QTableWidget*>(QStringLiteral("AuswertungTabelle"));
  QCOMPARE(Headings(*table).last(), QStringLiteral("Qualitätsstufen\n(Anzahl der Läufe)"));
  const nlohmann::json& first = expected["Groups"][0];
  const QStringList cells = RowTexts(*table, 0);
  QCOMPARE(cells[2], QStringLiteral("%1 ± %2")
                         .arg(first["Figures"]["Arrivals"]["Mean"].get<double>(), 0, 'f', 0)
                         .arg(first["Figures"]["Arrivals"]["Deviation"].get<double>(), 0, 'f', 0));
  QStringList levels;
  for (const auto& [level, count] : first["Quality"].items()) {
    if (count.get<int>() > 0) {
      levels << QStringLiteral("%1 %2").arg(QString::fromStdString(level)).arg(count.get<int>());
    }
  }
  QCOMPARE(cells.last(), levels.join(QStringLiteral(", ")));
  QVERIFY2(auswertung.findChild<QLabel*>(QStringLiteral("LabelLaufzeit"))
               ->text()
               .contains(QStringLiteral("3 Läufe mit den Startwerten 1 bis 3")),
           "the run count and seeds are named");
  // The first run's own figures stay one choice away.
  period->setCurrentIndex(1);
  auswertung.Refresh();
  QCOMPARE(Headings(*table), ui::AuswertungHeadings());

  // The actual chart ends with the lapsed run's last cycle, second for
  // second as the command line printed it for the same seed.
  ui::TFormIstSignalplan& ist = windows.Signalplan.Ist;
  QVERIFY(ist.ShowsTimeLapse());
  ist.show();
  const ChartModel& chart = ist.View().Chart();
  const QStringList lines = PlanLines(output);
  QCOMPARE(lines.size(), 3600);
  QCOMPARE(chart.AxisEnd, 3600);
  // From the start of the last whole cycle to the last second.
  QVERIFY(chart.CycleStarts.size() >= 2);
  const std::int64_t from = chart.CycleStarts[chart.CycleStarts.size() - 2];
  for (std::int64_t s = from; s < chart.AxisEnd; ++s) {
    const QString printed = lines[static_cast<int>(s)];
    // " P1 023", then mark and state of each group; those in use are compared.
    const int head = printed.indexOf(QLatin1Char(' '), 1) + 4;
    const int length = head + 3 * static_cast<int>(chart.Rows.size());
    const QString program = printed.mid(2, head - 6);
    QCOMPARE(WithoutMarks(ChartLine(chart, s, program).left(length)),
             WithoutMarks(printed.left(length)));
  }
}

void TimeLapseSeriesTest::oneRunShowsTheTableOfOneRun() {
  const StartDirectory start;
  UseBuiltDemo(start);
  ProgramWindows windows(start.QPath());
  QVERIFY(windows.Traffic.LoadTrafficFile(WeekdayTraffic()));
  QVERIFY(RunTimeLapse(windows, 1));
  ui::TFormAuswertung& auswertung = windows.Traffic.Auswertung;
  QVERIFY(auswertung.ShownSpread() == nullptr);
  auswertung.show();
  auto* period = auswertung.findChild<QComboBox*>(QStringLiteral("Zeitraum"));
  QCOMPARE(period->itemText(0), QStringLiteral("gesamter Lauf"));
  auto* table = auswertung.findChild<QTableWidget*>(QStringLiteral("AuswertungTabelle"));
  QCOMPARE(Headings(*table), ui::AuswertungHeadings());
  const traffic::TrafficStatistics statistics = *auswertung.ShownStatistics();
  QCOMPARE(table->rowCount(), static_cast<int>(statistics.Whole.Groups.size()) + 1);
  const traffic::GroupFigures& first = statistics.Whole.Groups.front();
  QCOMPARE(RowTexts(*table, 0), ui::AuswertungCells(first, table->item(0, 0)->text()));
  QVERIFY(auswertung.findChild<QLabel*>(QStringLiteral("LabelLaufzeit"))
              ->text()
              .endsWith(QStringLiteral(", Startwert 1")));
  const TempDir out;
  QCOMPARE(SavedAs(auswertung, out.Path() / "a.csv", ui::EvaluationFormat::CsvInternational),
           traffic::StatisticsCsv(statistics, *auswertung.ShownDescription()));
  QVERIFY(windows.Signalplan.Ist.ShowsTimeLapse());
}

}  // namespace ampelsim::test
