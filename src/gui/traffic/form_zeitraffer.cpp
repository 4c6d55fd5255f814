#include "gui/traffic/form_zeitraffer.h"

#include <algorithm>

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/widgets/common_keys.h"

namespace ampelsim::ui {
namespace {

// The controller's clock has no time zone: its fields are shown as they are.
QDateTime ToDateTime(LocalTime moment) {
  return QDateTime::fromMSecsSinceEpoch(moment.time_since_epoch().count(), Qt::UTC);
}

LocalTime ToLocalTime(const QDateTime& moment) {
  return LocalTime(std::chrono::milliseconds(moment.toMSecsSinceEpoch()));
}

QString HoursMinutes(qint64 seconds) {
  return QStringLiteral("%1:%2")
      .arg(seconds / 3600)
      .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString SpanText(std::int64_t seconds) {
  if (seconds % 86400 == 0) {
    return seconds == 86400 ? QStringLiteral("1 Tag (24 Stunden)")
                            : QStringLiteral("%1 Tage").arg(seconds / 86400);
  }
  if (seconds % 3600 == 0) {
    return seconds == 3600 ? QStringLiteral("1 Stunde")
                           : QStringLiteral("%1 Stunden").arg(seconds / 3600);
  }
  return QStringLiteral("%1 min").arg(seconds / 60);
}

TFormZeitraffer::TFormZeitraffer(CommonKeys& keys, QWidget* parent)
    : QDialog(parent), worker_(this) {
  setObjectName(QStringLiteral("FormZeitraffer"));
  setWindowTitle(QStringLiteral("Zeitraffer"));

  file_ = new QLabel(this);
  file_->setObjectName(QStringLiteral("LabelVerkehrsdatei"));
  span_ = new QComboBox(this);
  span_->setObjectName(QStringLiteral("Zeitspanne"));
  for (const std::int64_t seconds : TimeLapseSpans) {
    span_->addItem(SpanText(seconds), static_cast<qlonglong>(seconds));
  }
  begin_ = new QDateTimeEdit(this);
  begin_->setObjectName(QStringLiteral("Beginn"));
  begin_->setTimeSpec(Qt::UTC);
  begin_->setDisplayFormat(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
  runs_ = new QSpinBox(this);
  runs_->setObjectName(QStringLiteral("Laeufe"));
  runs_->setRange(1, MaxTimeLapseRuns);
  runs_->setValue(1);
  seeds_ = new QLabel(this);
  seeds_->setObjectName(QStringLiteral("LabelStartwerte"));
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("Fortschritt"));
  progress_->setRange(0, 1000);
  progress_->setValue(0);
  state_ = new QLabel(this);
  state_->setObjectName(QStringLiteral("LabelZustand"));
  start_ = new QPushButton(QStringLiteral("Starten"), this);
  start_->setObjectName(QStringLiteral("StartenButton"));
  start_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("Abbrechen"), this);
  cancel_->setObjectName(QStringLiteral("AbbrechenButton"));

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Verkehr:"), file_);
  form->addRow(QStringLiteral("Zeitspanne:"), span_);
  form->addRow(QStringLiteral("Beginn (Uhr der Steuerung):"), begin_);
  auto* runsRow = new QHBoxLayout;
  runsRow->addWidget(runs_);
  runsRow->addWidget(seeds_, 1);
  form->addRow(QStringLiteral("Läufe:"), runsRow);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(start_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Der Verkehr läuft so schnell wie möglich in einer "
                                              "eigenen Simulation;\ndie laufende Steuerung bleibt "
                                              "unberührt."),
                               this));
  layout->addLayout(form);
  layout->addWidget(progress_);
  layout->addWidget(state_);
  layout->addLayout(buttons);

  connect(runs_, &QSpinBox::valueChanged, this, [this] { ShowSeeds(); });
  connect(start_, &QPushButton::clicked, this, [this] { StartClick(); });
  connect(cancel_, &QPushButton::clicked, this, &TFormZeitraffer::AbbrechenClick);
  connect(&worker_, &TimeLapseWorker::Progress, this, &TFormZeitraffer::ShowProgress);
  connect(&worker_, &TimeLapseWorker::Finished, this, &TFormZeitraffer::RunEnded);
  keys.InstallOn(this);
}

void TFormZeitraffer::Prepare(const traffic::TrafficDescription& traffic,
                              const QString& trafficFile, const std::string& dataDirectory,
                              const std::filesystem::path& faultStore, LocalTime now) {
  traffic_ = traffic;
  dataDirectory_ = dataDirectory;
  faultStore_ = faultStore;
  trafficFile_ = QFileInfo(trafficFile).fileName();
  file_->setText(
      QStringLiteral("%1, Startwert %2").arg(QFileInfo(trafficFile).fileName()).arg(traffic.Seed));
  file_->setToolTip(QDir::toNativeSeparators(trafficFile));
  // Whole seconds, as the command line's --now takes them.
  begin_->setDateTime(ToDateTime(std::chrono::floor<std::chrono::seconds>(now)));
  progress_->setValue(0);
  state_->clear();
  ShowSeeds();
  ShowIdle(!worker_.Running());
}

void TFormZeitraffer::SetRuns(int runs) {
  runs_->setValue(runs);
}

int TFormZeitraffer::Runs() const {
  return runs_->value();
}

// Each run its own seed, counted on from the traffic's: the spread over them
// tells what the single seed cannot.
void TFormZeitraffer::ShowSeeds() {
  const int runs = runs_->value();
  seeds_->setText(runs == 1 ? QStringLiteral("Startwert %1").arg(traffic_.Seed)
                            : QStringLiteral("Startwerte %1 bis %2, Mittel und Streuung")
                                  .arg(traffic_.Seed)
                                  .arg(traffic_.Seed + static_cast<std::uint64_t>(runs - 1)));
}

void TFormZeitraffer::SetSpan(std::int64_t seconds) {
  const int index = span_->findData(static_cast<qlonglong>(seconds));
  if (index >= 0) {
    span_->setCurrentIndex(index);
  }
}

std::int64_t TFormZeitraffer::Span() const {
  return span_->currentData().toLongLong();
}

bool TFormZeitraffer::StartClick() {
  if (worker_.Running()) {
    return false;
  }
  // The run keeps its faults to itself: it works on a copy of the store.
  scratch_ = std::make_unique<QTemporaryDir>();
  if (!scratch_->isValid()) {
    QMessageBox::warning(this, windowTitle(),
                         QStringLiteral("Für den Zeitraffer lässt sich kein Arbeitsordner "
                                        "anlegen:\n%1")
                             .arg(scratch_->errorString()));
    return false;
  }
  const std::filesystem::path store = scratch_->filePath(QStringLiteral("DATEN.STO")).toStdString();
  std::error_code ignored;
  std::filesystem::copy_file(faultStore_, store, ignored);

  TimeLapseRequest request;
  request.DataDirectory = dataDirectory_;
  request.FaultStore = store;
  request.Start = ToLocalTime(begin_->dateTime());
  request.Seconds = span_->currentData().toLongLong();
  request.Traffic = traffic_;
  request.Seed = traffic_.Seed;
  request.Runs = runs_->value();
  request.ChartSeconds = chartSeconds_;
  runDescription_ = QStringLiteral("%1, %2 ab %3")
                        .arg(trafficFile_, span_->currentText(),
                             begin_->dateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
  worker_.Start(std::move(request));
  ShowIdle(false);
  state_->setText(QStringLiteral("Läuft ..."));
  return true;
}

void TFormZeitraffer::AbbrechenClick() {
  if (worker_.Running()) {
    worker_.Cancel();
    state_->setText(QStringLiteral("Wird abgebrochen ..."));
    return;
  }
  QDialog::reject();
}

void TFormZeitraffer::reject() {
  // Escape and the close button cancel a run first, as "Abbrechen" does.
  AbbrechenClick();
}

void TFormZeitraffer::ShowProgress(qint64 secondsDone, qint64 seconds) {
  if (seconds <= 0) {
    return;
  }
  progress_->setValue(static_cast<int>(std::min(secondsDone, seconds) * 1000 / seconds));
  QString text =
      QStringLiteral("%1 von %2 h simuliert").arg(HoursMinutes(secondsDone), HoursMinutes(seconds));
  if (runs_->value() > 1) {
    text += QStringLiteral(" (%1 Läufe)").arg(runs_->value());
  }
  state_->setText(text);
}

void TFormZeitraffer::RunEnded() {
  ShowIdle(true);
  scratch_.reset();
  const TimeLapseResult& result = *worker_.Result();
  switch (result.Outcome) {
    case TimeLapseOutcome::Finished:
      progress_->setValue(progress_->maximum());
      state_->setText(QStringLiteral("Fertig."));
      emit Finished();
      accept();
      return;
    case TimeLapseOutcome::Cancelled:
      progress_->setValue(0);
      state_->setText(QStringLiteral("Abgebrochen."));
      return;
    case TimeLapseOutcome::DataInvalid:
    case TimeLapseOutcome::TrafficRefused:
    case TimeLapseOutcome::RunFailed:
      break;
  }
  state_->setText(QStringLiteral("Nicht gelaufen."));
  QMessageBox box(QMessageBox::Warning, windowTitle(),
                  QStringLiteral("Der Zeitraffer ist nicht gelaufen:\n\n%1")
                      .arg(QString::fromStdString(result.Reason)),
                  QMessageBox::Ok, this);
  box.setObjectName(QStringLiteral("ZeitrafferFehlerBox"));
  box.exec();
}

void TFormZeitraffer::ShowIdle(bool idle) {
  start_->setEnabled(idle);
  span_->setEnabled(idle);
  begin_->setEnabled(idle);
  runs_->setEnabled(idle);
  cancel_->setText(idle ? QStringLiteral("Schließen") : QStringLiteral("Abbrechen"));
}

}  // namespace ampelsim::ui
