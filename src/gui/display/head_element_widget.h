#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "display/signal_head_element.h"

class QLabel;

namespace ampelsim {
class Simulation;
}

namespace ampelsim::ui {

class Shape;
class SpeedButton;

// The panel that draws one signal head: three lamps in raised frames with
// their fault crosses, group and head number, fault and demand indicators,
// the "WARTE" sign and the demand button "A". It shows what its element in
// the simulation reports and forwards the user's presses to the simulation;
// the controls carry the template's names so they can be found by name.
class HeadElementWidget final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int PanelWidth = 72;
  static constexpr int PanelHeight = 124;

  // Element `index` (0..23) of the simulation's heads, placed at its element's
  // position; element 0 is the template panel "PanelKopf".
  HeadElementWidget(Simulation& simulation, int index, QWidget* parent);

  int Index() const { return index_; }

  // Draws the element again if anything visible changed since the last time.
  void RefreshIfChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  const SignalHeadElement& Element() const;
  void BuildControls();
  QLabel* AddLabel(const char* name, QRect geometry, const QString& text);
  void WireLamp(QWidget* control, Lamp lamp);
  void Refresh();
  void LampPressed(Lamp lamp);
  void DemandButtonDown(bool shift);
  void DemandButtonUp(bool shift);

  Simulation& simulation_;
  int index_;
  std::uint64_t paintedCount_ = 0;

  std::array<Shape*, 3> lamps_{};                              // red, yellow, green
  std::array<QLabel*, 3> crosses_{};                           // the "X" on each lamp
  std::vector<std::pair<const QObject*, Lamp>> lampControls_;  // what a press there clicks
  Shape* faultIndicator_ = nullptr;                            // ShapeSt
  Shape* demandIndicator_ = nullptr;                           // ShapeAnf
  QLabel* groupNumber_ = nullptr;
  QLabel* headNumber_ = nullptr;
  QLabel* waitSign_ = nullptr;
  SpeedButton* demandButton_ = nullptr;
};

}  // namespace ampelsim::ui
