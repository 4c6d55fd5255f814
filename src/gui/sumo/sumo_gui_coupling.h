#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

#include "sumo/sumo_coupling.h"

class QAction;
class QMenu;
class QWidget;

namespace ampelsim {
class Simulation;
}

namespace ampelsim::ui {

// The running controller coupled to sumo-gui in real time: after every tick
// of the heads window's timer the group states go to SUMO and SUMO makes one
// step of 0.1 s; then SUMO's loops and waiting pedestrians press the demand
// buttons for the next tick. The user may press buttons by hand as well.
// Ending the coupling, or closing SUMO, leaves the controller running.
class SumoGuiCoupling final : public QObject {
  Q_OBJECT

 public:
  SumoGuiCoupling(Simulation& simulation, QWidget* dialogParent);
  ~SumoGuiCoupling() override;

  // Starts sumo-gui on the configuration and couples it with the mapping;
  // the German reason when it cannot, and then nothing has changed.
  std::optional<QString> Couple(const QString& sumoConfig, const QString& mappingFile);
  bool Coupled() const { return coupling_ != nullptr; }
  // Where "Mit SUMO koppeln ..." starts choosing the configuration: the
  // demo's SUMO model beside the program.
  void SetStartFolder(const QString& folder) { startFolder_ = folder; }
  const SumoCoupling* Coupling() const { return coupling_.get(); }

 public slots:
  // "Mit SUMO koppeln ...": chooses the configuration and the mapping.
  void CoupleClick();
  // "Kopplung beenden".
  void End();
  // Connected to every tick of the controller.
  void AfterTick();

 signals:
  void CouplingChanged(bool coupled);

 private:
  // A failure of the coupling, with the icon of its weight.
  void ShowMessage(QMessageBox::Icon icon, const QString& text);
  void PressButton(int group, bool down);

  Simulation& simulation_;
  QWidget* dialogParent_;
  std::unique_ptr<SumoConnection> sumo_;
  std::unique_ptr<SumoCoupling> coupling_;
  int connections_ = 0;
  QString startFolder_;
};

// Adds "Mit SUMO koppeln ..." and "Kopplung beenden" to the menu; the
// coupling belongs to the menu's window.
SumoGuiCoupling* AddSumoCouplingActions(QMenu& menu, Simulation& simulation, QWidget* window);

}  // namespace ampelsim::ui
