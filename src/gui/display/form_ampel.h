#pragma once

#include <QWidget>
#include <array>

#include "data/limits.h"
#include "gui/display/form_resize_rule.h"

class QScrollArea;

namespace ampelsim {
class Simulation;
}

namespace ampelsim::ui {

class CommonKeys;
class HeadElementWidget;

// The signal-head window "Ampelköpfe": the 24 heads in three rows of eight on
// black, drawn from the simulation's head elements after every tick. Closing
// it only hides it; the simulation and the heads go on either way.
class TFormAmpel : public QWidget {
  Q_OBJECT

 public:
  TFormAmpel(Simulation& simulation, CommonKeys& keys, QWidget* parent = nullptr);

  // Fits the inside to the window manager's frame so that the outer size is
  // the design size; a window at its full size follows, a smaller one stays.
  // Called whenever the frame may have become known or changed.
  void FitInsideToFrame(FrameMargins frame);
  FormSize FullInsideSize() const { return full_; }

 public slots:
  // Redraws the heads whose element changed since they were last drawn.
  void ShowHeads();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate(Simulation& simulation, CommonKeys& keys);
  void FormResize();

  void FitToCurrentFrame();

  QScrollArea* scrollArea_ = nullptr;
  QWidget* sheet_ = nullptr;
  FrameMargins frame_{};
  int fitCount_ = 0;
  FormSize full_{FormAmpelDesignWidth, FormAmpelDesignHeight};
  std::array<HeadElementWidget*, MaxGroups> heads_{};
};

}  // namespace ampelsim::ui
