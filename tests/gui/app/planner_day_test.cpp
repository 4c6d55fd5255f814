#include "planner_day_test.h"

#include <QAction>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>
#include <fstream>
#include <random>

#include "app/simulation.h"
#include "app/time_lapse.h"
#include "app/traffic_session.h"
#include "app_test_support.h"
#include "gui/app/program_windows.h"
#include "gui/traffic/time_lapse_worker.h"
#include "traffic/statistics_files.h"
#include "traffic/traffic_file.h"

namespace ampelsim::test {
namespace {

using ui::ProgramWindows;

QString BinaryDir() {
  return qEnvironmentVariable("AMPELSIM_BINARY_DIR");
}
QString SourceDir() {
  return qEnvironmentVariable("AMPELSIM_SOURCE_DIR");
}
std::filesystem::path BuiltDemo() {
  return (BinaryDir() + QStringLiteral("/Demo")).toStdString();
}
std::filesystem::path WeekdayTraffic() {
  return (SourceDir() + QStringLiteral("/demo/traffic/weekday.json")).toStdString();
}

// Every file of the demo, same name and size, filled with random bytes: the
// loader reads it all, only the verifier can tell.
void WriteRandomBytes(const std::filesystem::path& folder) {
  std::mt19937 random(28);
  for (const auto& entry : std::filesystem::directory_iterator(BuiltDemo())) {
    std::ofstream out(folder / entry.path().filename(), std::ios::binary);
    for (std::uintmax_t i = 0; i < entry.file_size(); ++i) {
      out.put(static_cast<char>(random() & 0xff));
    }
  }
}

// The "n Fehler" of `ampelsim-cli verify`'s last line.
int CommandLineErrors(const std::filesystem::path& folder) {
  QProcess cli;
  cli.start(BinaryDir() + QStringLiteral("/ampelsim-cli"), {QStringLiteral("verify"), Q(folder)});
  cli.waitForFinished(120000);
  QStringList lines = QString::fromUtf8(cli.readAllStandardOutput()).split(QLatin1Char('\n'));
  lines.removeAll(QString());
  return lines.isEmpty() ? -1 : lines.last().section(QLatin1Char(' '), 0, 0).toInt();
}

// The start directory's data set becomes the built demo junction.
void UseBuiltDemo(const StartDirectory& start) {
  for (const auto& entry : std::filesystem::directory_iterator(BuiltDemo())) {
    std::filesystem::copy_file(entry.path(), start.Demo() / entry.path().filename(),
                               std::filesystem::copy_options::overwrite_existing);
  }
}

void Tick(ProgramWindows& windows, int ticks) {
  for (int i = 0; i < ticks; ++i) {
    windows.Ticks.HMSTimer();
  }
}

// Loads the weekday traffic into the demo program, closing the window it opens.
void LoadWeekdayTraffic(ProgramWindows& windows) {
  QVERIFY(windows.Traffic.LoadTrafficFile(Q(WeekdayTraffic())));
  windows.Traffic.Auswertung.hide();
}

}  // namespace

void PlannerDayTest::cleanup() {
  RemoveSettings();
}

void PlannerDayTest::randomBytesWarnWithTheVerifiersErrorCount() {
  const StartDirectory start;
  const TempDir garbage;
  WriteRandomBytes(garbage.Path());
  const int errors = CommandLineErrors(garbage.Path());
  QVERIFY2(errors > 0, "the random bytes pass the verifier");

  ProgramWindows windows(start.QPath());
  QStringList warnings;
  windows.Verification.SetWarning([&warnings](QWidget*, const QString& text) {
    warnings << text;
    return ui::CheckWarningChoice::Ok;
  });
  // As "Programmeinstellungen" and the start-up check a folder ...
  windows.Verification.CheckFolder(Q(garbage.Path()));
  // ... and "Daten laden" the loaded set, after its log.
  QVERIFY(windows.FormSteuer.Sim().LoadDataSet(garbage.Str()));
  windows.Verification.DataSetLoaded();
  QCOMPARE(warnings.size(), 2);
  for (const QString& text : warnings) {
    QVERIFY2(text.startsWith(QStringLiteral("Der Datensatz enthält %1 Fehler.").arg(errors)),
             qPrintable(text));
    QCOMPARE(text.count(QStringLiteral("• ")), std::min<int>(errors, ui::ShownFirstFindings));
  }
}

void PlannerDayTest::validDemoLoadsWithoutWarning() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  int warnings = 0;
  windows.Verification.SetWarning([&warnings](QWidget*, const QString&) {
    ++warnings;
    return ui::CheckWarningChoice::Ok;
  });
  windows.Verification.CheckFolder(Q(BuiltDemo()));
  QVERIFY(windows.FormSteuer.Sim().LoadDataSet(BuiltDemo().string()));
  windows.Verification.DataSetLoaded();
  QCOMPARE(warnings, 0);
  // A folder without a data set is told as such.
  const TempDir empty;
  QString text;
  windows.Verification.SetWarning([&text](QWidget*, const QString& shown) {
    text = shown;
    return ui::CheckWarningChoice::Ok;
  });
  windows.Verification.CheckFolder(Q(empty.Path()));
  QVERIFY2(text.contains(QStringLiteral("kein vollständiger, lesbarer Datensatz")),
           qPrintable(text));
}

void PlannerDayTest::startAsksOnceForADataSetWithErrors() {
  const StartDirectory start;
  const TempDir garbage;
  WriteRandomBytes(garbage.Path());
  ProgramWindows windows(start.QPath());
  windows.Verification.SetWarning(
      [](QWidget*, const QString&) { return ui::CheckWarningChoice::Ok; });
  QVERIFY(windows.FormSteuer.Sim().LoadDataSet(garbage.Str()));
  windows.Verification.DataSetLoaded();
  QList<int> asked;
  bool answer = false;
  windows.Verification.SetStartQuestion([&](QWidget*, int errors) {
    asked << errors;
    return answer;
  });
  QCOMPARE(windows.Verification.MayStart(), ui::StartDecision::DontStart);
  QCOMPARE(asked.size(), 1);
  QCOMPARE(asked.front(), CommandLineErrors(garbage.Path()));
  answer = true;
  QCOMPARE(windows.Verification.MayStart(), ui::StartDecision::StartAfterQuestion);
  QCOMPARE(windows.Verification.MayStart(), ui::StartDecision::Start);
  QCOMPARE(asked.size(), 2);
  // The sound small junction never asks.
  QVERIFY(windows.FormSteuer.Sim().LoadDataSet(start.Demo().string()));
  windows.Verification.DataSetLoaded();
  QCOMPARE(windows.Verification.MayStart(), ui::StartDecision::Start);
  QCOMPARE(asked.size(), 2);
}

// The worker runs the simulation of `ampelsim-cli run --traffic`: same data,
// traffic, seed and start give the same figures, byte for byte.
void PlannerDayTest::timeLapseHourGivesTheFiguresOfTheCommandLine() {
  const TempDir cliFolder;
  QProcess cli;
  cli.setWorkingDirectory(Q(cliFolder.Path()));
  cli.start(
      BinaryDir() + QStringLiteral("/ampelsim-cli"),
      {QStringLiteral("run"), Q(BuiltDemo()), QStringLiteral("--seconds"), QStringLiteral("3600"),
       QStringLiteral("--traffic"), Q(WeekdayTraffic()), QStringLiteral("--seed"),
       QStringLiteral("11"), QStringLiteral("--now"), QStringLiteral("2026-12-10 07:00:00"),
       QStringLiteral("--stats"), QStringLiteral("cli.csv")});
  cli.setStandardOutputFile(QProcess::nullDevice());
  QVERIFY(cli.waitForFinished(120000));
  QCOMPARE(cli.exitCode(), 0);
  std::ifstream cliCsv(cliFolder.Path() / "cli.csv");
  const std::string expected((std::istreambuf_iterator<char>(cliCsv)), {});

  const TempDir workerFolder;
  TimeLapseRequest request;
  request.DataDirectory = BuiltDemo().string();
  request.FaultStore = workerFolder.Path() / "DATEN.STO";
  request.Start =
      LocalTime(std::chrono::sys_days(std::chrono::year(2026) / 12 / 10).time_since_epoch() +
                std::chrono::hours(7));
  request.Seconds = 3600;
  request.Traffic = traffic::ReadTrafficFile(WeekdayTraffic()).Value();
  request.Seed = 11;
  ui::TimeLapseWorker worker;
  QSignalSpy finished(&worker, &ui::TimeLapseWorker::Finished);
  QSignalSpy progress(&worker, &ui::TimeLapseWorker::Progress);
  QVERIFY(worker.Start(request));
  QVERIFY(!worker.Start(request));  // one run at a time
  QVERIFY(finished.wait(120000));
  const TimeLapseResult& result = *worker.Result();
  QCOMPARE(result.Outcome, TimeLapseOutcome::Finished);
  QCOMPARE(result.SecondsRun, 3600);
  QVERIFY(!progress.isEmpty());
  QCOMPARE(traffic::StatisticsCsv(result.Statistics, result.Description), expected);
}

void PlannerDayTest::quitWithUnsavedEvaluationAsks() {
  const StartDirectory start;
  UseBuiltDemo(start);
  ProgramWindows windows(start.QPath());
  LoadWeekdayTraffic(windows);
  QVERIFY(!windows.Traffic.Auswertung.HasUnsavedEvaluation());  // nothing counted yet
  Tick(windows, 50);
  QVERIFY(windows.Traffic.Auswertung.HasUnsavedEvaluation());
  QList<ui::UnsavedEvaluationChoice> answers{ui::UnsavedEvaluationChoice::Abbrechen,
                                             ui::UnsavedEvaluationChoice::Speichern,
                                             ui::UnsavedEvaluationChoice::Verwerfen};
  int asked = 0;
  windows.Traffic.SetUnsavedQuestion([&](QWidget*) { return answers[asked++]; });
  windows.Traffic.Auswertung.SetFileQuestion(
      [](QWidget*, const QString&, ui::EvaluationFormat) { return ui::EvaluationFile{}; });
  QVERIFY(!windows.FormSteuer.close());  // Abbrechen
  QVERIFY(!windows.FormSteuer.close());  // Speichern, but the file dialog was cancelled
  QVERIFY(windows.FormSteuer.close());   // Verwerfen
  QCOMPARE(asked, 3);
}

void PlannerDayTest::couplingSumoSwitchesGeneratedTrafficOff() {
  const StartDirectory start;
  UseBuiltDemo(start);
  ProgramWindows windows(start.QPath());
  LoadWeekdayTraffic(windows);
  QVERIFY(windows.Basis.Traffic->Generating());
  ModalSeen told;
  HandleNextModal(&told);
  windows.Traffic.SumoCouplingChanged(true);
  QVERIFY(told.Seen);
  QVERIFY2(told.Text.contains(QStringLiteral("SUMO liefert jetzt den Verkehr")),
           qPrintable(told.Text));
  QVERIFY(!windows.Basis.Traffic->Generating());
  auto* erzeugen = windows.FormSteuer.findChild<QAction*>(QStringLiteral("VerkehrErzeugen"));
  QVERIFY(!erzeugen->isEnabled());
  windows.Traffic.Auswertung.show();
  auto* run = windows.Traffic.Auswertung.findChild<QLabel*>(QStringLiteral("LabelLaufzeit"));
  QVERIFY2(run->text().contains(QStringLiteral("SUMO liefert den Verkehr")),
           qPrintable(run->text()));
  auto* source =
      windows.Traffic.Auswertung.findChild<QLabel*>(QStringLiteral("LabelVerkehrsdatei"));
  QVERIFY2(source->text().startsWith(QStringLiteral("Quelle: erzeugter Verkehr")),
           qPrintable(source->text()));
  windows.Traffic.SumoCouplingChanged(false);
  QVERIFY(erzeugen->isEnabled());
}

// German spreadsheet programs split at semicolons: Python's csv module with
// ';' reads back the table the window shows.
void PlannerDayTest::germanCsvIsReadBackWithSemicolons() {
  const StartDirectory start;
  UseBuiltDemo(start);
  const TempDir out;
  ProgramWindows windows(start.QPath());
  LoadWeekdayTraffic(windows);
  Tick(windows, 600);
  ui::TFormAuswertung& auswertung = windows.Traffic.Auswertung;
  const QString file = Q(out.Path() / "auswertung.csv");
  QString proposed;
  auswertung.SetFileQuestion([&](QWidget*, const QString& offered, ui::EvaluationFormat last) {
    proposed = offered;
    return ui::EvaluationFile{file, last};
  });
  ModalSeen saved;
  HandleNextModal(&saved);
  QVERIFY(auswertung.SaveEvaluation());
  QVERIFY2(
      saved.Text.contains(QDir::toNativeSeparators(file)),
      qPrintable(saved.ClassName + QLatin1Char(' ') + saved.Title + QLatin1Char(' ') + saved.Text));
  QVERIFY2(QFileInfo(proposed).fileName().startsWith(QStringLiteral("Auswertung_")),
           qPrintable(proposed));
  QVERIFY(!auswertung.HasUnsavedEvaluation());

  QProcess python;
  python.start(QStringLiteral("python3"),
               {QStringLiteral("-c"),
                QStringLiteral("import csv,sys\n"
                               "rows=list(csv.reader(open(sys.argv[1],encoding='utf-8-sig'),"
                               "delimiter=';'))\n"
                               "print(len(rows), len(rows[0]), rows[0][10], rows[1][6], "
                               "rows[1][8], rows[1][10], sep='|')"),
                file});
  QVERIFY(python.waitForFinished(30000));
  const QStringList fields =
      QString::fromUtf8(python.readAllStandardOutput()).trimmed().split(QLatin1Char('|'));
  QCOMPARE(fields.size(), 6);
  const traffic::TrafficStatistics statistics = *auswertung.ShownStatistics();
  const traffic::GroupFigures& first = statistics.Whole.Groups.front();
  // A heading, then the groups and the junction for the whole run and each hour.
  QCOMPARE(fields[0].toInt(), 1 + static_cast<int>((statistics.Whole.Groups.size() + 1) *
                                                   (1 + statistics.Hours.size())));
  QCOMPARE(fields[1].toInt(), 28);
  QCOMPARE(fields[2], QStringLiteral("Wartezeit mittel [s]"));
  QCOMPARE(fields[3], QStringLiteral("K1 Hauptstraße West"));
  QCOMPARE(fields[4].toLongLong(), first.Arrivals);
  QCOMPARE(fields[5],
           QString::number(first.MeanWait, 'f', 3).replace(QLatin1Char('.'), QLatin1Char(',')));
}

}  // namespace ampelsim::test
