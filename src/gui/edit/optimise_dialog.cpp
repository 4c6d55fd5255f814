#include "gui/edit/optimise_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "optimise/fixed_time_optimiser.h"
#include "optimise/optimised_program_command.h"
#include "optimise/stage_sequence.h"
#include "traffic/traffic_file.h"

namespace ampelsim::ui {
namespace {

QString AskTrafficFile(QWidget* parent, const QString& folder) {
  return QFileDialog::getOpenFileName(parent, QStringLiteral("Verkehrsdatei wählen"), folder,
                                      QStringLiteral("Verkehrsdatei (*.json);;Alle Dateien (*)"));
}

QString StagesText(const optimise::StageSequence& sequence) {
  QStringList stages;
  for (const std::vector<int>& stage : sequence.Stages) {
    QStringList groups;
    for (const int g : stage) {
      groups << QString::number(g + 1);
    }
    stages << groups.join(QLatin1Char(','));
  }
  return stages.join(QLatin1Char('/'));
}

QString GreensText(const optimise::StageTiming& timing) {
  QStringList greens;
  for (const int green : timing.Greens) {
    greens << QString::number(green);
  }
  return QStringLiteral("Umlaufzeit %1 s, Freigabezeiten %2 s")
      .arg(timing.Cycle)
      .arg(greens.join(QLatin1Char('/')));
}

QString Seconds(double value, int decimals) {
  return QLocale(QLocale::German).toString(value, 'f', decimals);
}

// The hour with the most vehicles, the one a planner looks at first; with
// a flat day (or several equal peaks) the hour already chosen if it is one.
int PeakHour(const traffic::TrafficDescription& traffic, int chosen) {
  std::array<double, traffic::HoursPerDay> total{};
  for (const traffic::GroupTraffic& group : traffic.Groups) {
    if (group.Kind == traffic::RoadUser::Vehicle) {
      for (std::size_t h = 0; h < total.size(); ++h) {
        total[h] += group.HourlyFlow[h];
      }
    }
  }
  const auto peak = std::max_element(total.begin(), total.end());
  return total[static_cast<std::size_t>(chosen)] < *peak ? static_cast<int>(peak - total.begin())
                                                         : chosen;
}

QSpinBox* SpinBox(QWidget* parent, const char* name, int low, int high, int value) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setRange(low, high);
  box->setValue(value);
  return box;
}

}  // namespace

OptimiseDialog::OptimiseDialog(const edit::EditModel& model, int program, const QString& traffic,
                               QWidget* parent)
    : QDialog(parent),
      model_(model),
      file_(new QLineEdit(this)),
      source_(new QComboBox(this)),
      hour_(SpinBox(this, "Stunde", 0, traffic::HoursPerDay - 1, 16)),
      cycleFrom_(SpinBox(this, "UmlaufVon", 1, 255, 60)),
      cycleTo_(SpinBox(this, "UmlaufBis", 1, 255, 120)),
      stages_(new QLineEdit(this)),
      target_(new QComboBox(this)),
      runs_(SpinBox(this, "Laeufe", 0, 100, 4)),
      calculate_(new QPushButton(QStringLiteral("Berechnen"), this)),
      progress_(new QProgressBar(this)),
      stop_(new QPushButton(QStringLiteral("Abbrechen"), this)),
      status_(new QLabel(this)),
      webster_(new QLabel(this)),
      refined_(new QLabel(this)),
      wait_(new QLabel(this)),
      findings_(new QLabel(this)),
      report_(new QPlainTextEdit(this)),
      askFile_(AskTrafficFile) {
  setObjectName(QStringLiteral("Festzeitoptimierung"));
  setWindowTitle(QStringLiteral("Festzeitoptimierung"));
  const ControllerDataSet& dataSet = model_.Data();
  const QFileInfo given(traffic);
  if (given.isFile()) {
    file_->setText(given.filePath());
    folder_ = given.absolutePath();
    if (const auto read = traffic::ReadTrafficFile(given.absoluteFilePath().toStdString())) {
      hour_->setValue(PeakHour(*read, hour_->value()));
    }
  } else {
    folder_ = traffic;
  }

  auto* form = new QFormLayout;
  auto* fileRow = new QHBoxLayout;
  file_->setObjectName(QStringLiteral("Verkehrsdatei"));
  file_->setPlaceholderText(QStringLiteral("keine Verkehrsdatei gewählt"));
  fileRow->addWidget(file_, 1);
  auto* choose = new QPushButton(QStringLiteral("Wählen ..."), this);
  choose->setObjectName(QStringLiteral("VerkehrsdateiWaehlen"));
  fileRow->addWidget(choose);
  form->addRow(QStringLiteral("Verkehrsdatei:"), fileRow);

  source_->setObjectName(QStringLiteral("Ausgangsprogramm"));
  for (int p = 1; p <= ProgramCount; ++p) {
    if (IsProgramDefined(dataSet, p)) {
      source_->addItem(QStringLiteral("P%1 (Umlaufzeit %2 s)")
                           .arg(p)
                           .arg(dataSet.SignalPrograms[static_cast<std::size_t>(p - 1)].CycleTime),
                       p);
    }
  }
  source_->setCurrentIndex(std::max(0, source_->findData(program)));
  form->addRow(QStringLiteral("Ausgangsprogramm:"), source_);
  hour_->setSuffix(QStringLiteral(" Uhr"));
  hour_->setToolTip(
      QStringLiteral("Die Stunde, deren Verkehrsstärken zählen; beim Wählen einer "
                     "Datei ihre Spitzenstunde, wenn sie eine hat"));
  form->addRow(QStringLiteral("Stunde:"), hour_);
  auto* cycleRow = new QHBoxLayout;
  cycleRow->addWidget(new QLabel(QStringLiteral("von"), this));
  cycleRow->addWidget(cycleFrom_);
  cycleRow->addWidget(new QLabel(QStringLiteral("bis"), this));
  cycleRow->addWidget(cycleTo_);
  cycleRow->addWidget(new QLabel(QStringLiteral("s"), this));
  cycleRow->addStretch(1);
  form->addRow(QStringLiteral("Umlaufzeit:"), cycleRow);
  stages_->setObjectName(QStringLiteral("Phasenfolge"));
  stages_->setToolTip(
      QStringLiteral("Signalgruppen je Phase durch Komma, Phasen durch „/“ "
                     "getrennt, z. B. 1,2,8,9/2,5/3,4,6,7; vorgegeben aus den "
                     "Freigabezeiten des Ausgangsprogramms"));
  form->addRow(QStringLiteral("Phasenfolge:"), stages_);
  target_->setObjectName(QStringLiteral("Zielprogramm"));
  for (int p = 1; p <= ProgramCount; ++p) {
    target_->addItem(IsProgramDefined(dataSet, p) ? QStringLiteral("P%1 ersetzen").arg(p)
                                                  : QStringLiteral("P%1 (frei)").arg(p),
                     p);
  }
  const std::optional<int> free = optimise::FreeProgramSlot(dataSet);
  target_->setCurrentIndex(std::max(0, target_->findData(free.value_or(program))));
  form->addRow(QStringLiteral("Ergebnis als:"), target_);
  runs_->setToolTip(
      QStringLiteral("Läufe je Variante mit verschiedenen Startwerten; 0: nur "
                     "der Plan nach Webster"));
  form->addRow(QStringLiteral("Läufe der Verfeinerung:"), runs_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);

  auto* runRow = new QHBoxLayout;
  calculate_->setObjectName(QStringLiteral("Berechnen"));
  calculate_->setDefault(true);
  runRow->addWidget(calculate_);
  progress_->setObjectName(QStringLiteral("Fortschritt"));
  progress_->setRange(0, 0);  // the number of variants is not known beforehand
  progress_->setTextVisible(false);
  runRow->addWidget(progress_, 1);
  stop_->setObjectName(QStringLiteral("BerechnungAbbrechen"));
  runRow->addWidget(stop_);
  layout->addLayout(runRow);
  status_->setObjectName(QStringLiteral("Meldung"));
  status_->setWordWrap(true);
  layout->addWidget(status_);
  for (QLabel* label : {webster_, refined_, wait_, findings_}) {
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);
  }
  webster_->setObjectName(QStringLiteral("Webster"));
  refined_->setObjectName(QStringLiteral("Verfeinerung"));
  wait_->setObjectName(QStringLiteral("Wartezeit"));
  findings_->setObjectName(QStringLiteral("Pruefung"));
  report_->setObjectName(QStringLiteral("Bericht"));
  report_->setReadOnly(true);
  report_->setLineWrapMode(QPlainTextEdit::NoWrap);
  report_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  layout->addWidget(report_, 1);

  auto* buttons = new QDialogButtonBox(this);
  apply_ = buttons->addButton(QStringLiteral("Übernehmen"), QDialogButtonBox::AcceptRole);
  apply_->setObjectName(QStringLiteral("Uebernehmen"));
  QPushButton* cancel =
      buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("Abbrechen"));
  layout->addWidget(buttons);

  connect(choose, &QPushButton::clicked, this, &OptimiseDialog::ChooseFile);
  connect(source_, &QComboBox::currentIndexChanged, this, &OptimiseDialog::ShowStages);
  connect(calculate_, &QPushButton::clicked, this, &OptimiseDialog::Calculate);
  connect(stop_, &QPushButton::clicked, &run_, &OptimiseRun::Stop);
  connect(&run_, &OptimiseRun::Progressed, this, &OptimiseDialog::ShowProgress);
  connect(&run_, &OptimiseRun::Finished, this, &OptimiseDialog::ShowResult);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &OptimiseDialog::reject);
  resize(820, 720);
  ShowStages();
  ShowRunning(false);
  apply_->setEnabled(false);
  if (source_->count() == 0) {
    Refuse(QStringLiteral("Der Datensatz hat kein Signalprogramm mit Umlaufzeit."));
  }
}

QString OptimiseDialog::StatusText() const {
  return status_->text();
}

const optimise::OptimisationReview* OptimiseDialog::Review() const {
  return result_ && *result_ ? &result_->Value() : nullptr;
}

std::unique_ptr<edit::EditCommand> OptimiseDialog::Command() const {
  const optimise::OptimisationReview* review = Review();
  if (review == nullptr) {
    return nullptr;
  }
  const optimise::OptimiseResult& result = review->Optimised;
  return std::make_unique<optimise::PutOptimisedProgram>(result.Data, result.Program, result.Slot);
}

void OptimiseDialog::ChooseFile() {
  const QString path = askFile_(this, folder_);
  if (path.isEmpty()) {
    return;
  }
  file_->setText(path);
  folder_ = QFileInfo(path).absolutePath();
  const auto read = traffic::ReadTrafficFile(path.toStdString());
  if (!read) {
    Refuse(QStringLiteral("Die Verkehrsdatei kann nicht gelesen werden: ") +
           QString::fromStdString(read.Failure().Message));
    return;
  }
  hour_->setValue(PeakHour(*read, hour_->value()));
  status_->clear();
}

void OptimiseDialog::ShowStages() {
  const int program = source_->currentData().toInt();
  const auto stages = optimise::StagesOfProgram(model_.Data(), program);
  derivedStages_ = stages ? StagesText(*stages) : QString();
  stages_->setText(derivedStages_);
  if (!stages && source_->count() > 0) {
    Refuse(QStringLiteral("Die Phasenfolge von P%1 lässt sich nicht aus den Freigabezeiten "
                          "ablesen (%2); bitte angeben.")
               .arg(program)
               .arg(QString::fromStdString(stages.Failure().Message)));
  }
}

bool OptimiseDialog::Calculate() {
  if (run_.Running()) {
    return false;
  }
  result_.reset();
  apply_->setEnabled(false);
  for (QLabel* label : {webster_, refined_, wait_, findings_}) {
    label->clear();
  }
  report_->clear();
  const QString path = file_->text().trimmed();
  if (path.isEmpty()) {
    Refuse(
        QStringLiteral("Bitte eine Verkehrsdatei wählen: ihre Verkehrsstärken ergeben die "
                       "Freigabezeiten."));
    return false;
  }
  const auto traffic = traffic::ReadTrafficFile(path.toStdString());
  if (!traffic) {
    Refuse(QStringLiteral("Die Verkehrsdatei „%1“ kann nicht gelesen werden: %2")
               .arg(path, QString::fromStdString(traffic.Failure().Message)));
    return false;
  }
  if (source_->count() == 0) {
    Refuse(QStringLiteral("Der Datensatz hat kein Signalprogramm mit Umlaufzeit."));
    return false;
  }
  if (cycleFrom_->value() > cycleTo_->value()) {
    Refuse(QStringLiteral("Der Bereich der Umlaufzeit ist leer: von %1 s bis %2 s. Bitte "
                          "„von“ höchstens so groß wie „bis“ wählen.")
               .arg(cycleFrom_->value())
               .arg(cycleTo_->value()));
    return false;
  }
  optimise::OptimiseRequest request;
  request.Program = source_->currentData().toInt();
  request.Into = target_->currentData().toInt();
  const QString stages = stages_->text().trimmed();
  if (!stages.isEmpty() && stages != derivedStages_) {
    request.Stages = stages.toStdString();
  }
  request.Hour = hour_->value();
  request.Range = {cycleFrom_->value(), cycleTo_->value()};
  request.Runs = runs_->value();
  run_.Start(model_.Data(), *traffic, request);
  status_->setText(QStringLiteral("Berechnung läuft ..."));
  ShowRunning(true);
  return true;
}

void OptimiseDialog::ShowProgress(const QString& text) {
  if (run_.Running()) {
    status_->setText(text);
  }
}

void OptimiseDialog::ShowResult(const std::shared_ptr<const ReviewResult>& result) {
  ShowRunning(false);
  if (!*result && result->Failure().Message == "Abgebrochen") {
    Refuse(QStringLiteral("Die Berechnung wurde abgebrochen; am Datensatz ist nichts geändert."));
    return;
  }
  if (!*result) {
    Refuse(QStringLiteral("Nicht berechnet: ") + QString::fromStdString(result->Failure().Message));
    return;
  }
  result_ = result;
  const optimise::OptimisationReview& review = result->Value();
  const optimise::OptimiseResult& optimised = review.Optimised;
  const optimise::FixedTimePlan& plan = optimised.Plan;
  webster_->setText(
      plan.WebsterCycle > 0.0
          ? QStringLiteral("Nach Webster: %1 (C0 = %2 s, Y = %3, L = %4 s)")
                .arg(GreensText(plan.Timing), Seconds(plan.WebsterCycle, 1),
                     QLocale(QLocale::German).toString(plan.TotalRatio, 'f', 3),
                     Seconds(plan.LostTime, 1))
          : QStringLiteral("Nach Webster: %1 (Y = %2: überlastet, Umlaufzeit am Ende des "
                           "Bereichs)")
                .arg(GreensText(plan.Timing),
                     QLocale(QLocale::German).toString(plan.TotalRatio, 'f', 3)));
  if (optimised.Refined) {
    const optimise::Refinement& refined = *optimised.Refined;
    refined_->setText(QStringLiteral("Verfeinert: %1; mittlere Gesamtwartezeit %2 s → %3 s "
                                     "(%4 Varianten simuliert)")
                          .arg(GreensText(optimised.Timing),
                               Seconds(refined.Steps.front().Delay, 0),
                               Seconds(refined.Steps.back().Delay, 0))
                          .arg(refined.Evaluated));
  } else {
    refined_->setText(
        QStringLiteral("Ohne Verfeinerung durch Simulation: das Ergebnis ist der "
                       "Plan nach Webster."));
  }
  wait_->setText(QStringLiteral("Mittlere Wartezeit am Knoten: vorher (P%1) %2 s, nachher (P%3) "
                                "%4 s")
                     .arg(optimised.Program)
                     .arg(Seconds(review.WaitBefore, 1))
                     .arg(optimised.Slot)
                     .arg(Seconds(review.WaitAfter, 1)));
  findings_->setText(QStringLiteral("Prüfung des Datensatzes mit P%1: %2 Fehler, %3 Warnungen, "
                                    "%4 Hinweise%5")
                         .arg(optimised.Slot)
                         .arg(review.Findings.Errors)
                         .arg(review.Findings.Warnings)
                         .arg(review.Findings.Notes)
                         .arg(review.Findings.Errors > 0
                                  ? QStringLiteral(" – bitte vor dem Betrieb beheben")
                                  : QString()));
  QStringList lines;
  for (const std::string& line : review.Lines) {
    lines << QString::fromStdString(line);
  }
  lines << QString() << QStringLiteral("Vorher und nachher mit demselben Verkehr:");
  for (const std::string& line : review.ComparisonTable) {
    lines << QString::fromStdString(line);
  }
  report_->setPlainText(lines.join(QLatin1Char('\n')));
  status_->setText(QStringLiteral("Berechnet. „Übernehmen“ schreibt das Ergebnis als P%1 in "
                                  "den Datensatz (rückgängig zu machen).")
                       .arg(optimised.Slot));
  apply_->setEnabled(true);
}

void OptimiseDialog::ShowRunning(bool running) {
  progress_->setVisible(running);
  stop_->setVisible(running);
  calculate_->setEnabled(!running);
  for (QWidget* entry : std::initializer_list<QWidget*>{file_, source_, hour_, cycleFrom_, cycleTo_,
                                                        stages_, target_, runs_}) {
    entry->setEnabled(!running);
  }
}

void OptimiseDialog::Refuse(const QString& text) {
  status_->setText(text);
}

void OptimiseDialog::reject() {
  // Leaving stops the runs; the thread ends with this dialog.
  run_.Stop();
  QDialog::reject();
}

}  // namespace ampelsim::ui
