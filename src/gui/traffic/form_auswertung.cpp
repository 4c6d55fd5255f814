#include "gui/traffic/form_auswertung.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <fstream>

#include "app/simulation.h"
#include "app/traffic_session.h"
#include "gui/traffic/queue_plot.h"
#include "gui/widgets/common_keys.h"
#include "traffic/statistics_files.h"

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
  file_ = new QLabel(this);
  file_->setObjectName(QStringLiteral("LabelVerkehrsdatei"));
  bar->addWidget(file_);
  bar->addSpacing(16);
  run_ = new QLabel(this);
  run_->setObjectName(QStringLiteral("LabelLaufzeit"));
  bar->addWidget(run_);
  bar->addStretch();
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
  keys.InstallOn(this);
  simulation_.AddObserver(*this);
}

TFormAuswertung::~TFormAuswertung() {
  simulation_.RemoveObserver(*this);
}

void TFormAuswertung::OnSecond(const SecondRecord& /*record*/) {
  if (isVisible()) {
    Refresh();
  }
}

void TFormAuswertung::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Refresh();
}

void TFormAuswertung::Refresh() {
  const GeneratedTraffic* traffic = session_.Traffic();
  save_->setEnabled(traffic != nullptr);
  print_->setEnabled(traffic != nullptr);
  if (traffic == nullptr) {
    file_->setText(
        QStringLiteral("Keine Verkehrsdatei geladen (Verkehr > Verkehrsdatei laden ...)"));
    run_->clear();
    period_->clear();
    plotGroup_->clear();
    table_->setRowCount(0);
    plot_->SetSeries({}, 0);
    return;
  }
  const QString path = QString::fromStdString(session_.File().string());
  file_->setText(QStringLiteral("Verkehrsdatei: %1").arg(QFileInfo(path).fileName()));
  file_->setToolTip(QDir::toNativeSeparators(path));
  const traffic::TrafficStatistics statistics = traffic->Statistics();
  run_->setText(QStringLiteral("Laufzeit %1, Startwert %2, %3")
                    .arg(RunTime(statistics.Whole.To - statistics.Whole.From))
                    .arg(traffic->Description().Seed)
                    .arg(traffic->Generating() ? QStringLiteral("Verkehr wird erzeugt")
                                               : QStringLiteral("Verkehr angehalten")));
  FillPeriods(statistics);
  const int chosen = period_->currentIndex();
  const bool hour = chosen > 0 && static_cast<std::size_t>(chosen) <= statistics.Hours.size();
  FillTable(hour ? statistics.Hours[static_cast<std::size_t>(chosen - 1)] : statistics.Whole);

  if (plotGroup_->count() != static_cast<int>(traffic->Description().Groups.size()) + 1) {
    plotGroup_->clear();
    plotGroup_->addItem(QStringLiteral("alle Signalgruppen"), 0);
    for (const traffic::GroupTraffic& group : traffic->Description().Groups) {
      plotGroup_->addItem(GroupName(traffic->Description(), group.Group), group.Group);
    }
  }
  plot_->SetSeries(traffic->Series(QueuePlot::ShownSeconds), plotGroup_->currentData().toInt());
}

void TFormAuswertung::FillPeriods(const traffic::TrafficStatistics& statistics) {
  // The list grows by one entry per started hour; the choice stays.
  const int wanted = static_cast<int>(statistics.Hours.size()) + 1;
  if (period_->count() > wanted) {
    period_->clear();
  }
  if (period_->count() == 0) {
    period_->addItem(QStringLiteral("gesamter Lauf"));
  }
  while (period_->count() < wanted) {
    const traffic::PeriodFigures& hour =
        statistics.Hours[static_cast<std::size_t>(period_->count() - 1)];
    period_->addItem(QStringLiteral("Stunde ab %1").arg(QString::fromStdString(hour.ClockText)));
  }
}

void TFormAuswertung::FillTable(const traffic::PeriodFigures& period) {
  const traffic::TrafficDescription& description = session_.Traffic()->Description();
  table_->setRowCount(static_cast<int>(period.Groups.size()) + 1);
  int row = 0;
  const auto fill = [&](const traffic::GroupFigures& figures) {
    const QStringList cells = AuswertungCells(figures, GroupName(description, figures.Group));
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
      font.setBold(figures.Group == 0);
      item->setFont(font);
      if (column == QualityColumn) {
        item->setTextAlignment(Qt::AlignCenter);
        item->setBackground(QualityColour(figures.Quality));
      }
    }
    ++row;
  };
  for (const traffic::GroupFigures& figures : period.Groups) {
    fill(figures);
  }
  fill(period.Junction);
}

void TFormAuswertung::SpeichernClick() {
  const GeneratedTraffic* traffic = session_.Traffic();
  if (traffic == nullptr) {
    return;
  }
  QString selected;
  QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("Auswertung speichern"), QStringLiteral("Auswertung.csv"),
      QStringLiteral("CSV-Datei (*.csv);;JSON-Datei (*.json)"), &selected);
  if (path.isEmpty()) {
    return;
  }
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix != QStringLiteral("csv") && suffix != QStringLiteral("json")) {
    path += selected.contains(QStringLiteral("json")) ? QStringLiteral(".json")
                                                      : QStringLiteral(".csv");
  }
  const traffic::TrafficStatistics statistics = traffic->Statistics();
  const std::string text = path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)
                               ? traffic::StatisticsJson(statistics, traffic->Description())
                               : traffic::StatisticsCsv(statistics, traffic->Description());
  std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) {
    QMessageBox::critical(this, QStringLiteral("Fehler"),
                          QStringLiteral("Die Datei %1 kann nicht geschrieben werden.")
                              .arg(QDir::toNativeSeparators(path)));
  }
}

}  // namespace ampelsim::ui
