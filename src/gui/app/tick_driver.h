#pragma once

#include <QObject>

class QTimer;

namespace ampelsim {
class Simulation;
}

namespace ampelsim::ui {

// The 100 ms timer "HMS" that drives the whole program: each timeout is one
// tick of the simulation, after which the windows that show it draw
// (`Ticked`, in the order they were connected).
class TickDriver final : public QObject {
  Q_OBJECT

 public:
  explicit TickDriver(Simulation& simulation, QObject* parent = nullptr);

  // The timer, stopped; whoever owns the program starts it.
  QTimer* HMS() const { return hms_; }

 public slots:
  // One tick: the simulation steps, then every window draws.
  void HMSTimer();

 signals:
  void Ticked();

 private:
  Simulation& simulation_;
  QTimer* hms_ = nullptr;
};

}  // namespace ampelsim::ui
