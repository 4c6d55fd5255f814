#include "gui/display/form_ampel.h"

#include <QCloseEvent>
#include <QPalette>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include "app/simulation.h"
#include "gui/display/form_resize_rule.h"
#include "gui/display/head_element_widget.h"
#include "gui/widgets/common_keys.h"

namespace ampelsim::ui {
namespace {

constexpr int InitialLeft = 381;
constexpr int InitialTop = 250;
constexpr int FrameSettleMilliseconds = 300;

constexpr Qt::WindowFlags FormFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                      Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                      Qt::WindowCloseButtonHint;

void PaintBlack(QWidget& widget) {
  QPalette colours = widget.palette();
  colours.setColor(QPalette::Window, Qt::black);
  widget.setPalette(colours);
  widget.setAutoFillBackground(true);
}

}  // namespace

TFormAmpel::TFormAmpel(Simulation& simulation, CommonKeys& keys, QWidget* parent)
    : QWidget(parent, FormFlags) {
  FormCreate(simulation, keys);
}

void TFormAmpel::FormCreate(Simulation& simulation, CommonKeys& keys) {
  setObjectName(QStringLiteral("FormAmpel"));
  setWindowTitle(QStringLiteral("Ampelköpfe"));
  // Only the main window ends the program.
  setAttribute(Qt::WA_QuitOnClose, false);
  PaintBlack(*this);

  // The heads lie on a black sheet of the design size; the window scrolls
  // over it when it is made smaller.
  auto* sheet = new QWidget;
  sheet_ = sheet;
  sheet->setObjectName(QStringLiteral("HeadSheet"));
  sheet->setFixedSize(FormAmpelDesignWidth, FormAmpelDesignHeight);
  PaintBlack(*sheet);
  for (int i = 0; i < MaxGroups; ++i) {
    heads_[static_cast<std::size_t>(i)] = new HeadElementWidget(simulation, i, sheet);
  }

  scrollArea_ = new QScrollArea(this);
  scrollArea_->setFrameShape(QFrame::NoFrame);
  scrollArea_->setWidgetResizable(false);
  scrollArea_->setWidget(sheet);
  PaintBlack(*scrollArea_->viewport());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scrollArea_);

  resize(FormAmpelDesignWidth, FormAmpelDesignHeight);
  move(InitialLeft, InitialTop);
  keys.InstallOn(this);
}

void TFormAmpel::ShowHeads() {
  // Unchanged heads cost a comparison, so a running program stays idle.
  for (HeadElementWidget* head : heads_) {
    head->RefreshIfChanged();
  }
}

void TFormAmpel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FormResize();
}

void TFormAmpel::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FitToCurrentFrame();
  // Some window managers frame a window only after it is shown; a look a
  // little later catches that, unless a fit happened meanwhile.
  QTimer::singleShot(FrameSettleMilliseconds, this, [this, fits = fitCount_] {
    if (fitCount_ == fits) {
      FitToCurrentFrame();
    }
  });
}

// The window manager reports its frame once the window is framed; a move
// follows.
void TFormAmpel::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  FitToCurrentFrame();
}

void TFormAmpel::FitToCurrentFrame() {
  const QRect outer = frameGeometry();
  const QRect inner = geometry();
  FitInsideToFrame({inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom()});
}

void TFormAmpel::FitInsideToFrame(FrameMargins frame) {
  if (frame == frame_) {
    return;
  }
  frame_ = frame;
  ++fitCount_;
  const FormSize before = full_;
  full_ = FormAmpelInsideSize(frame);
  // The sheet is the full inside: no black band below the heads, and no
  // scroll bars at full size.
  sheet_->setFixedSize(full_.Width, full_.Height);
  if (width() >= before.Width && height() >= before.Height) {
    resize(full_.Width, full_.Height);
  } else {
    FormResize();
  }
}

void TFormAmpel::FormResize() {
  const FormSize snapped = SnappedFormAmpelSize({width(), height()}, full_);
  if (snapped.Width != width() || snapped.Height != height()) {
    resize(snapped.Width, snapped.Height);
  }
}

void TFormAmpel::closeEvent(QCloseEvent* event) {
  // Closing only hides the window; the simulation runs on behind it.
  hide();
  event->accept();
}

}  // namespace ampelsim::ui
