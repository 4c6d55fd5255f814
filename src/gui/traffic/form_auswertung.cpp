#include "gui/traffic/form_auswertung.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <chrono>
#include <fstream>

#include "app/generated_traffic.h"
#include "app/simulation.h"
#include "app/traffic_session.h"
#include "gui/traffic/auswertung_spread.h"
#include "gui/traffic/queue_plot.h"
#include "gui/widgets/common_keys.h"
#include "gui/widgets/save_location.h"

namespace ampelsim::ui {
namespace {

enum Column {
  GroupColumn,
  KindColumn,
  ArrivalsColumn,
  DeparturesColumn,
  MeanWaitColumn,
  Wait95Column,
  MaxWaitColumn,
  MeanQueueColumn,
  MaxQueueColumn,
  GreenPhasesColumn,
  MeanGreenColumn,
  GreenShareColumn,
  CapacityColumn,
  SaturationColumn,
  WebsterColumn,
  QualityColumn,
  ColumnCount
};

QString Decimal(double value, int decimals) {
  return QString::number(value, 'f', decimals);
}

QString Optional(const std::optional<double>& value, int decimals) {
  return value ? Decimal(*value, decimals) : QString();
}

// Quality levels from green (A) to red (F), light enough to read black on.
QColor QualityColour(char level) {
  switch (level) {
    case 'A':
      return {198, 239, 206};
    case 'B':
      return {222, 244, 196};
    case 'C':
      return {255, 242, 180};
    case 'D':
      return {255, 221, 170};
    case 'E':
      return {255, 196, 160};
    default:
      return {255, 170, 170};
  }
}

QString GroupName(const traffic::TrafficDescription& description, int group) {
  if (group == 0) {
    return QStringLiteral("Knoten");
  }
  QString text = QStringLiteral("%1").arg(group, 2, 10, QLatin1Char('0'));
  for (const traffic::GroupTraffic& traffic : description.Groups) {
    if (traffic.Group == group && !traffic.Name.empty()) {
      text += QLatin1Char(' ') + QString::fromStdString(traffic.Name);
    }
  }
  return text;
}

// "4 min 12 s", "1 h 05 min": the length of a sample.
QString SampleLength(double seconds) {
  const auto whole = static_cast<long long>(seconds);
  if (whole >= 3600) {
    return QStringLiteral("%1 h %2 min")
        .arg(whole / 3600)
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'));
  }
  return QStringLiteral("%1 min %2 s").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

QString ClockDate(LocalTime moment) {
  const std::chrono::year_month_day day{std::chrono::floor<std::chrono::days>(moment)};
  return QDate(static_cast<int>(day.year()), static_cast<int>(static_cast<unsigned>(day.month())),
               static_cast<int>(static_cast<unsigned>(day.day())))
      .toString(Qt::ISODate);
}

QString RunTime(double seconds) {
  const auto whole = static_cast<long long>(seconds);
  return QStringLiteral("%1:%2:%3")
      .arg(whole / 3600, 2, 10, QLatin1Char('0'))
      .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
      .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

QStringList AuswertungHeadings() {
  return {QStringLiteral("Signalgruppe"),
          QStringLiteral("Art"),
          QStringLiteral("Ankünfte"),
          QStringLiteral("Abfluss"),
          QStringLiteral("Wartezeit\nmittel [s]"),
          QStringLiteral("Wartezeit\n95 % [s]"),
          QStringLiteral("Wartezeit\nmax [s]"),
          QStringLiteral("Rückstau\nmittel"),
          QStringLiteral("Rückstau\nmax"),
          QStringLiteral("Grün-\nphasen"),
          QStringLiteral("Freigabezeit\nmittel [s]"),
          QStringLiteral("Grün-\nanteil [%]"),
          QStringLiteral("Kapazität\n[Fz/h]"),
          QStringLiteral("Auslastungs-\ngrad"),
          QStringLiteral("Webster\n[s]"),
          QStringLiteral("Qualitäts-\nstufe")};
}

QStringList AuswertungCells(const traffic::GroupFigures& figures, const QString& name) {
  QStringList cells;
  cells.reserve(ColumnCount);
  const bool junction = figures.Group == 0;
  cells << name
        << (junction                                     ? QString()
            : figures.Kind == traffic::RoadUser::Vehicle ? QStringLiteral("Kfz")
                                                         : QStringLiteral("Fg"))
        << QString::number(figures.Arrivals) << QString::number(figures.Departures)
        << Decimal(figures.MeanWait, 1) << Decimal(figures.Wait95, 1) << Decimal(figures.MaxWait, 1)
        << Decimal(figures.MeanQueue, 1) << QString::number(figures.MaxQueue)
        << (junction ? QString() : QString::number(figures.GreenPhases))
        << (junction ? QString() : Decimal(figures.MeanGreen, 1))
        << (junction ? QString() : Decimal(figures.GreenShare * 100.0, 1))
        << Optional(figures.Capacity, 0) << Optional(figures.Saturation, 2)
        << Optional(figures.WebsterDelay, 1) << QString(QLatin1Char(figures.Quality));
  return cells;
}

TFormAuswertung::TFormAuswertung(TrafficSession& session, Simulation& simulation, CommonKeys& keys,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), simulation_(simulation) {
  setObjectName(QStringLiteral("FormAuswertung"));
  setWindowTitle(QStringLiteral("Auswertung"));
  resize(1180, 640);

  auto* layout = new QVBoxLayout(this);
  auto* bar = new QHBoxLayout;
  layout->addLayout(bar);
  source_ = new QLabel(this);
  source_->setObjectName(QStringLiteral("LabelVerkehrsdatei"));
  bar->addWidget(source_);
  bar->addSpacing(16);
  run_ = new QLabel(this);
  run_->setObjectName(QStringLiteral("LabelLaufzeit"));
  bar->addWidget(run_);
  bar->addStretch();
  live_ = new QPushButton(QStringLiteral("Laufende Simulation zeigen"), this);
  live_->setObjectName(QStringLiteral("LaufendeSimulationButton"));
  live_->hide();
  bar->addWidget(live_);
  bar->addWidget(new QLabel(QStringLiteral("Zeitraum"), this));
  period_ = new QComboBox(this);
  period_->setObjectName(QStringLiteral("Zeitraum"));
  period_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  bar->addWidget(period_);
  save_ = new QPushButton(QStringLiteral("Speichern ..."), this);
  save_->setObjectName(QStringLiteral("SpeichernButton"));
  bar->addWidget(save_);
  print_ = new QPushButton(QStringLiteral("Drucken"), this);
  print_->setObjectName(QStringLiteral("DruckenButton"));
  bar->addWidget(print_);

  sample_ = new QLabel(this);
  sample_->setObjectName(QStringLiteral("LabelStichprobe"));
  layout->addWidget(sample_);

  table_ = new QTableWidget(0, ColumnCount, this);
  table_->setObjectName(QStringLiteral("AuswertungTabelle"));
  table_->setHorizontalHeaderLabels(AuswertungHeadings());
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  layout->addWidget(table_, 3);

  auto* plotBar = new QHBoxLayout;
  layout->addLayout(plotBar);
  plotBar->addWidget(
      new QLabel(QStringLiteral("Rückstau der letzten %1 min in Fahrzeugen bzw. Personen")
                     .arg(QueuePlot::ShownSeconds / 60),
                 this));
  plotBar->addStretch();
  plotGroup_ = new QComboBox(this);
  plotGroup_->setObjectName(QStringLiteral("RueckstauGruppe"));
  plotBar->addWidget(plotGroup_);
  plot_ = new QueuePlot(this);
  layout->addWidget(plot_, 2);

  connect(period_, &QComboBox::activated, this, &TFormAuswertung::Refresh);
  connect(plotGroup_, &QComboBox::activated, this, &TFormAuswertung::Refresh);
  connect(save_, &QPushButton::clicked, this, &TFormAuswertung::SpeichernClick);
  connect(print_, &QPushButton::clicked, this, &TFormAuswertung::PrintRequested);
  connect(live_, &QPushButton::clicked, this, &TFormAuswertung::ShowRunningSimulation);
  keys.InstallOn(this);
  simulation_.AddObserver(*this);
}

TFormAuswertung::~TFormAuswertung() {
  simulation_.RemoveObserver(*this);
}

void TFormAuswertung::OnSecond(const SecondRecord& /*record*/) {
  if (isVisible() && !timeLapse_) {
    Refresh();
  }
}

void TFormAuswertung::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Refresh();
  if (!fitted_) {
    FitToTable();
  }
}

void TFormAuswertung::ShowTimeLapse(TimeLapseResult result, const QString& description) {
  timeLapse_ = std::move(result);
  timeLapseText_ = description;
  ++timeLapseRuns_;
  period_->clear();
  plotGroup_->clear();
  Refresh();
}

void TFormAuswertung::ShowRunningSimulation() {
  if (!timeLapse_) {
    return;
  }
  timeLapse_.reset();
  period_->clear();
  plotGroup_->clear();
  Refresh();
}

void TFormAuswertung::SetSumoCoupled(bool coupled) {
  sumoCoupled_ = coupled;
  if (isVisible()) {
    Refresh();
  }
}

const traffic::TrafficDescription* TFormAuswertung::ShownDescription() const {
  if (timeLapse_) {
    return &timeLapse_->Description;
  }
  const GeneratedTraffic* traffic = session_.Traffic();
  return traffic != nullptr ? &traffic->Description() : nullptr;
}

std::optional<traffic::TrafficStatistics> TFormAuswertung::ShownStatistics() const {
  if (timeLapse_) {
    return timeLapse_->Statistics;
  }
  const GeneratedTraffic* traffic = session_.Traffic();
  if (traffic == nullptr) {
    return std::nullopt;
  }
  return traffic->Statistics();
}

const traffic::StatisticsSpread* TFormAuswertung::ShownSpread() const {
  return timeLapse_ && timeLapse_->Spread ? &*timeLapse_->Spread : nullptr;
}

const std::vector<std::uint64_t>& TFormAuswertung::ShownSeeds() const {
  static const std::vector<std::uint64_t> none;
  return timeLapse_ ? timeLapse_->Seeds : none;
}

bool TFormAuswertung::HasEvaluation() const {
  const std::optional<traffic::TrafficStatistics> statistics = ShownStatistics();
  return statistics && statistics->Whole.To > statistics->Whole.From;
}

// A time-lapse result is marked by its run (negative), the running
// simulation's figures by the second they reach.
double TFormAuswertung::EvaluationMark() const {
  if (timeLapse_) {
    return -static_cast<double>(timeLapseRuns_);
  }
  const std::optional<traffic::TrafficStatistics> statistics = ShownStatistics();
  return statistics ? statistics->Whole.To : 0.0;
}

bool TFormAuswertung::HasUnsavedEvaluation() const {
  return HasEvaluation() && savedMark_ != EvaluationMark();
}

void TFormAuswertung::Refresh() {
  const std::optional<traffic::TrafficStatistics> statistics = ShownStatistics();
  const traffic::TrafficDescription* description = ShownDescription();
  save_->setEnabled(statistics.has_value());
  print_->setEnabled(statistics.has_value());
  live_->setVisible(timeLapse_.has_value());
  if (!statistics || description == nullptr) {
    source_->setText(
        QStringLiteral("Keine Verkehrsdatei geladen (Verkehr > Verkehrsdatei laden ...)"));
    source_->setToolTip(QString());
    run_->clear();
    sample_->clear();
    period_->clear();
    plotGroup_->clear();
    table_->setRowCount(0);
    plot_->SetSeries({}, 0);
    return;
  }
  ShowSource(*statistics, *description);
  FillPeriods(*statistics);
  // With several runs their spread comes first in the list, then the first
  // run's whole run and hours.
  const traffic::StatisticsSpread* spread = ShownSpread();
  const int chosen = period_->currentIndex() - (spread != nullptr ? 1 : 0);
  const bool hour = chosen > 0 && static_cast<std::size_t>(chosen) <= statistics->Hours.size();
  const traffic::PeriodFigures& period =
      hour ? statistics->Hours[static_cast<std::size_t>(chosen - 1)] : statistics->Whole;
  ShowSample(period);
  const bool meaningful = period.To - period.From >= ShortestMeaningfulSample;
  if (spread != nullptr && chosen < 0) {
    FillSpreadTable(*spread, *description, meaningful);
  } else {
    FillTable(period, *description, meaningful);
  }
  FillPlot(*description,
           timeLapse_ ? timeLapse_->Series : session_.Traffic()->Series(QueuePlot::ShownSeconds));
}

void TFormAuswertung::ShowSource(const traffic::TrafficStatistics& statistics,
                                 const traffic::TrafficDescription& description) {
  const QString path = QString::fromStdString(session_.File().string());
  const QString file = QFileInfo(path).fileName();
  if (timeLapse_) {
    source_->setText(
        QStringLiteral("Quelle: Zeitraffer mit erzeugtem Verkehr (%1)").arg(timeLapseText_));
    const QString length = RunTime(statistics.Whole.To - statistics.Whole.From);
    if (const traffic::StatisticsSpread* spread = ShownSpread()) {
      run_->setText(QStringLiteral("Laufzeit %1 je Lauf, %2 Läufe mit den Startwerten %3 bis %4")
                        .arg(length)
                        .arg(spread->Runs)
                        .arg(timeLapse_->Seeds.front())
                        .arg(timeLapse_->Seeds.back()));
      return;
    }
    run_->setText(QStringLiteral("Laufzeit %1, Startwert %2").arg(length).arg(description.Seed));
    return;
  }
  source_->setText(QStringLiteral("Quelle: erzeugter Verkehr, Verkehrsdatei %1").arg(file));
  source_->setToolTip(QDir::toNativeSeparators(path));
  QString state = session_.Generating() ? QStringLiteral("Verkehr wird erzeugt")
                                        : QStringLiteral("Verkehr angehalten");
  if (sumoCoupled_) {
    state = QStringLiteral(
        "Verkehr angehalten: SUMO liefert den Verkehr, er ist hier nicht "
        "ausgewertet");
  }
  run_->setText(QStringLiteral("Laufzeit %1, Startwert %2, %3")
                    .arg(RunTime(statistics.Whole.To - statistics.Whole.From))
                    .arg(description.Seed)
                    .arg(state));
}

void TFormAuswertung::ShowSample(const traffic::PeriodFigures& period) {
  const double length = period.To - period.From;
  if (length >= ShortestMeaningfulSample) {
    sample_->setText(QStringLiteral("Stichprobe: %1").arg(SampleLength(length)));
    sample_->setStyleSheet(QString());
    return;
  }
  sample_->setText(QStringLiteral("Stichprobe: %1 – kürzer als 15 min, die Kennwerte sind nicht "
                                  "aussagekräftig (grau)")
                       .arg(SampleLength(length)));
  sample_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
}

void TFormAuswertung::FillPlot(const traffic::TrafficDescription& description,
                               std::vector<traffic::QueueSeries> series) {
  if (plotGroup_->count() != static_cast<int>(description.Groups.size()) + 1) {
    plotGroup_->clear();
    plotGroup_->addItem(QStringLiteral("alle Signalgruppen"), 0);
    for (const traffic::GroupTraffic& group : description.Groups) {
      plotGroup_->addItem(GroupName(description, group.Group), group.Group);
    }
  }
  const int shown = plotGroup_->currentData().toInt();
  std::vector<QueueLegendName> names;
  bool vehicles = false;
  bool persons = false;
  for (const traffic::GroupTraffic& group : description.Groups) {
    names.push_back({group.Group, GroupName(description, group.Group)});
    if (shown == 0 || shown == group.Group) {
      (group.Kind == traffic::RoadUser::Vehicle ? vehicles : persons) = true;
    }
  }
  const QString unit = !persons   ? QStringLiteral("Fz")
                       : vehicles ? QStringLiteral("Fz/Pers.")
                                  : QStringLiteral("Pers.");
  plot_->SetSeries(std::move(series), shown, std::move(names), unit);
}

void TFormAuswertung::FillPeriods(const traffic::TrafficStatistics& statistics) {
  // The list grows by one entry per started hour; the choice stays. The
  // periods of a series are those of its first run, after the spread.
  const traffic::StatisticsSpread* spread = ShownSpread();
  const int before = spread != nullptr ? 1 : 0;
  const QString run = spread != nullptr
                          ? QStringLiteral("Startwert %1: ").arg(timeLapse_->Seeds.front())
                          : QString();
  const int wanted = static_cast<int>(statistics.Hours.size()) + 1 + before;
  if (period_->count() > wanted) {
    period_->clear();
  }
  if (period_->count() == 0) {
    if (spread != nullptr) {
      period_->addItem(QStringLiteral("Streuung über %1 Läufe").arg(spread->Runs));
    }
    period_->addItem(run + QStringLiteral("gesamter Lauf"));
  }
  while (period_->count() < wanted) {
    const traffic::PeriodFigures& hour =
        statistics.Hours[static_cast<std::size_t>(period_->count() - 1 - before)];
    period_->addItem(run +
                     QStringLiteral("Stunde ab %1").arg(QString::fromStdString(hour.ClockText)));
  }
}

void TFormAuswertung::FillTable(const traffic::PeriodFigures& period,
                                const traffic::TrafficDescription& description, bool meaningful) {
  ShowColumnsOf(false);
  table_->setRowCount(static_cast<int>(period.Groups.size()) + 1);
  int row = 0;
  for (const traffic::GroupFigures& figures : period.Groups) {
    FillRow(row++, AuswertungCells(figures, GroupName(description, figures.Group)), false,
            meaningful, figures.Quality);
  }
  FillRow(row, AuswertungCells(period.Junction, GroupName(description, 0)), true, meaningful,
          period.Junction.Quality);
}

void TFormAuswertung::FillSpreadTable(const traffic::StatisticsSpread& spread,
                                      const traffic::TrafficDescription& description,
                                      bool meaningful) {
  ShowColumnsOf(true);
  table_->setRowCount(static_cast<int>(spread.Groups.size()) + 1);
  int row = 0;
  for (const traffic::GroupSpread& group : spread.Groups) {
    FillRow(row++, AuswertungSpreadCells(group, GroupName(description, group.Group)), false,
            meaningful, WorstQuality(group));
  }
  FillRow(row, AuswertungSpreadCells(spread.Junction, GroupName(description, 0)), true, meaningful,
          WorstQuality(spread.Junction));
}

void TFormAuswertung::ShowColumnsOf(bool spread) {
  if (spread == spreadColumns_) {
    return;
  }
  spreadColumns_ = spread;
  const QStringList headings = spread ? AuswertungSpreadHeadings() : AuswertungHeadings();
  table_->clearContents();
  table_->setColumnCount(static_cast<int>(headings.size()));
  table_->setHorizontalHeaderLabels(headings);
}

// The last column holds the quality level, coloured by `quality`.
void TFormAuswertung::FillRow(int row, const QStringList& cells, bool junction, bool meaningful,
                              char quality) {
  for (int column = 0; column < cells.size(); ++column) {
    QTableWidgetItem* item = table_->item(row, column);
    if (item == nullptr) {
      item = new QTableWidgetItem;
      table_->setItem(row, column, item);
    }
    item->setText(cells[column]);
    item->setTextAlignment(column <= KindColumn ? Qt::AlignLeft | Qt::AlignVCenter
                                                : Qt::AlignRight | Qt::AlignVCenter);
    QFont font = item->font();
    font.setBold(junction);
    // Figures of a short sample are shown, but greyed: they say little.
    font.setItalic(!meaningful && column > KindColumn);
    item->setFont(font);
    item->setForeground(!meaningful && column > KindColumn ? QBrush(Qt::gray) : QBrush());
    if (column == cells.size() - 1) {
      item->setTextAlignment(Qt::AlignCenter);
      item->setBackground(QualityColour(quality));
    }
  }
}

void TFormAuswertung::FitToTable() {
  if (table_->rowCount() == 0) {
    return;
  }
  fitted_ = true;
  table_->resizeColumnsToContents();
  const int frame = 2 * table_->frameWidth();
  int columns = frame + table_->verticalScrollBar()->sizeHint().width();
  for (int column = 0; column < table_->columnCount(); ++column) {
    columns += table_->columnWidth(column);
  }
  int rows = frame + table_->horizontalHeader()->height();
  for (int row = 0; row < table_->rowCount(); ++row) {
    rows += table_->rowHeight(row);
  }
  // The table keeps room for every row; the plot takes what is left.
  table_->setMinimumHeight(rows);
  const QMargins margins = layout()->contentsMargins();
  const int width = columns + margins.left() + margins.right();
  layout()->activate();
  resize(std::max(this->width(), width), std::max(height(), minimumSizeHint().height()));
}

void TFormAuswertung::SpeichernClick() {
  SaveEvaluation();
}

bool TFormAuswertung::SaveEvaluation() {
  const std::optional<traffic::TrafficStatistics> statistics = ShownStatistics();
  const traffic::TrafficDescription* description = ShownDescription();
  if (!statistics || description == nullptr) {
    return false;
  }
  const double mark = EvaluationMark();
  const QString program = statistics->Whole.SingleProgram > 0
                              ? QStringLiteral("P%1").arg(statistics->Whole.SingleProgram)
                              : QString();
  const QString date = ClockDate(simulation_.SimClock().SimulatedNow());
  SaveLocation fallback;
  const SaveLocation& location = saveLocation_ != nullptr ? *saveLocation_ : fallback;
  const QString proposed =
      location.ProposedPath(QStringLiteral("Auswertung"), program,
                            QDate::fromString(date, Qt::ISODate), QStringLiteral("csv"));
  const EvaluationFile file = askFile_(this, proposed, lastFormat_);
  if (file.Path.isEmpty()) {
    return false;
  }
  lastFormat_ = file.Format;
  // Several runs are saved as their spread, as `ampelsim-cli run --runs` does.
  const traffic::StatisticsSpread* spread = ShownSpread();
  const std::string text =
      spread != nullptr ? EvaluationSpreadFileText(file.Format, *spread, *description, ShownSeeds())
                        : EvaluationFileText(file.Format, *statistics, *description);
  std::ofstream out(file.Path.toStdString(), std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) {
    ShowCannotWrite(this, QStringLiteral("Auswertung speichern"), file.Path);
    return false;
  }
  if (saveLocation_ != nullptr) {
    saveLocation_->Remember(file.Path);
  }
  savedMark_ = mark;
  ShowFileSaved(this, QStringLiteral("Auswertung speichern"), file.Path);
  return true;
}

}  // namespace ampelsim::ui
