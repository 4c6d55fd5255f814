#include "gui/edit/optimise_run.h"

#include <QLocale>
#include <exception>

namespace ampelsim::ui {

QString ProgressText(const optimise::ReviewProgress& progress) {
  if (progress.Comparing) {
    return QStringLiteral("Vergleich vorher/nachher mit demselben Verkehr läuft ...");
  }
  QStringList greens;
  for (const int green : progress.Best.Greens) {
    greens << QString::number(green);
  }
  return QStringLiteral(
             "Verfeinerung: %1 Varianten simuliert, beste mittlere Gesamtwartezeit %2 s "
             "(Umlaufzeit %3 s, Freigabezeiten %4 s)")
      .arg(progress.Evaluated)
      .arg(QLocale(QLocale::German).toString(progress.BestDelay, 'f', 0))
      .arg(progress.Best.Cycle)
      .arg(greens.join(QLatin1Char('/')));
}

OptimiseRun::~OptimiseRun() {
  Stop();
  if (thread_.joinable()) {
    thread_.join();
  }
}

bool OptimiseRun::Start(const ControllerDataSet& data, const traffic::TrafficDescription& traffic,
                        const optimise::OptimiseRequest& request) {
  if (running_) {
    return false;
  }
  if (thread_.joinable()) {
    thread_.join();  // the last run has already reported
  }
  running_ = true;
  auto input = std::make_shared<const ControllerDataSet>(data);
  thread_ = std::jthread([this, input, traffic, request = request](std::stop_token stop) mutable {
    request.Stop = stop;
    auto report = [this](const optimise::ReviewProgress& progress) {
      const QString text = ProgressText(progress);
      QMetaObject::invokeMethod(
          this, [this, text] { emit Progressed(text); }, Qt::QueuedConnection);
    };
    std::shared_ptr<const ReviewResult> result;
    try {
      result = std::make_shared<const ReviewResult>(
          optimise::ReviewOptimisation(*input, traffic, request, report));
    } catch (const std::exception& e) {
      result = std::make_shared<const ReviewResult>(
          Error{std::string("Die Berechnung ist abgebrochen: ") + e.what()});
    }
    QMetaObject::invokeMethod(
        this,
        [this, result] {
          running_ = false;
          emit Finished(result);
        },
        Qt::QueuedConnection);
  });
  return true;
}

void OptimiseRun::Stop() {
  thread_.request_stop();
}

}  // namespace ampelsim::ui
