#pragma once

#include <QWidget>
#include <array>

#include "data/limits.h"
#include "display/ui/form_resize_rule.h"

class QScrollArea;
class QTimer;

namespace ampelsim {
class Simulation;
}

namespace ampelsim::ui {

class CommonKeys;
class HeadElementWidget;

// The signal-head window "Ampelköpfe": the 24 heads in three rows of eight on
// black, and the 100 ms timer HMS that drives the whole simulation. Closing
// it only hides it; the timer and the heads go on either way.
class TFormAmpel : public QWidget {
  Q_OBJECT

 public:
  TFormAmpel(Simulation& simulation, CommonKeys& keys, QWidget* parent = nullptr);

  // The 100 ms timer (objectName "HMS"); whoever owns the program starts it.
  QTimer* HMS() const { return hms_; }

  // Fits the inside to the window manager's frame so that the outer size is
  // the design size; a window at its full size follows, a smaller one stays.
  // Called whenever the frame may have become known or changed.
  void FitInsideToFrame(FrameMargins frame);
  FormSize FullInsideSize() const { return full_; }

 public slots:
  // One tick: the simulation steps, then the heads that changed are redrawn.
  void HMSTimer();

 signals:
  void Ticked();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate(CommonKeys& keys);
  void FormResize();

  Simulation& simulation_;
  QTimer* hms_ = nullptr;
  void FitToCurrentFrame();

  QScrollArea* scrollArea_ = nullptr;
  QWidget* sheet_ = nullptr;
  FrameMargins frame_{};
  int fitCount_ = 0;
  FormSize full_{FormAmpelDesignWidth, FormAmpelDesignHeight};
  std::array<HeadElementWidget*, MaxGroups> heads_{};
};

}  // namespace ampelsim::ui
