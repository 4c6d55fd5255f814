#pragma once

#include <QDialog>
#include <QString>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <string>

#include "app/time_lapse.h"
#include "gui/traffic/time_lapse_worker.h"

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace ampelsim::ui {

class CommonKeys;

// The spans "Zeitraffer" offers, in seconds.
inline constexpr std::int64_t TimeLapseSpans[] = {3600, 4 * 3600, 24 * 3600};
QString SpanText(std::int64_t seconds);
inline constexpr int MaxTimeLapseRuns = 100;

// "Zeitraffer": the loaded traffic for a chosen span, from a chosen moment,
// run as fast as the machine allows on a simulation of its own, with a
// progress bar; "Abbrechen" stops the run and forgets it. Several runs take
// the seeds from the traffic's on, as `ampelsim-cli run --runs` does.
class TFormZeitraffer final : public QDialog {
  Q_OBJECT

 public:
  explicit TFormZeitraffer(CommonKeys& keys, QWidget* parent = nullptr);

  // What the next run works on; the moment is preset to `now` (the
  // controller's clock) and the span to the last one chosen.
  void Prepare(const traffic::TrafficDescription& traffic, const QString& trafficFile,
               const std::string& dataDirectory, const std::filesystem::path& faultStore,
               LocalTime now);
  void SetSpan(std::int64_t seconds);
  // How many runs (seeds) the next start runs; 1 to MaxTimeLapseRuns.
  void SetRuns(int runs);
  int Runs() const;
  // The last seconds of the first run kept for the actual chart.
  void SetChartSeconds(std::size_t seconds) { chartSeconds_ = seconds; }

  // "Starten": false when a run is going or the fault store cannot be copied.
  bool StartClick();
  void AbbrechenClick();
  TimeLapseWorker& Worker() { return worker_; }
  // The span chosen now, in seconds.
  std::int64_t Span() const;
  // What the last run started ran: "weekday.json, 1 Stunde ab 10.12.2026 07:00:00".
  const QString& RunDescription() const { return runDescription_; }

 signals:
  // A run ended with figures: the result is in Worker().Result().
  void Finished();

 protected:
  void reject() override;

 private:
  void ShowProgress(qint64 secondsDone, qint64 seconds);
  void RunEnded();
  void ShowIdle(bool idle);
  void ShowSeeds();

  traffic::TrafficDescription traffic_;
  std::string dataDirectory_;
  std::filesystem::path faultStore_;
  std::size_t chartSeconds_ = 0;
  std::unique_ptr<QTemporaryDir> scratch_;
  QString trafficFile_;
  QString runDescription_;
  TimeLapseWorker worker_;
  QLabel* file_ = nullptr;
  QComboBox* span_ = nullptr;
  QDateTimeEdit* begin_ = nullptr;
  QSpinBox* runs_ = nullptr;
  QLabel* seeds_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* state_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace ampelsim::ui
