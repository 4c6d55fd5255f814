#include "gui/app/tick_driver.h"

#include <QTimer>

#include "app/simulation.h"

namespace ampelsim::ui {
namespace {

constexpr int TickMilliseconds = 100;

}  // namespace

TickDriver::TickDriver(Simulation& simulation, QObject* parent)
    : QObject(parent), simulation_(simulation), hms_(new QTimer(this)) {
  hms_->setObjectName(QStringLiteral("HMS"));
  hms_->setInterval(TickMilliseconds);
  // Ten ticks are one simulated second; a coarse timer would let it drift.
  hms_->setTimerType(Qt::PreciseTimer);
  connect(hms_, &QTimer::timeout, this, &TickDriver::HMSTimer);
}

void TickDriver::HMSTimer() {
  simulation_.Tick();
  emit Ticked();
}

}  // namespace ampelsim::ui
