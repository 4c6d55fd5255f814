#include "gui/display/head_element_widget.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>

#include "app/simulation.h"
#include "gui/widgets/lamp_colours.h"
#include "gui/widgets/panel_controls.h"

namespace ampelsim::ui {
namespace {

// The panel colour of a head; no lamp uses it, so the core does not know it.
const QColor clCream(255, 251, 240);
const QColor LabelText(0, 0, 0);

// The original face is not available here; a metric sans-serif at the same
// pixel sizes keeps every text inside its control.
QFont PanelFont(int pixelSize, bool bold = false) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

constexpr int TextPixels = 11;
constexpr int CrossPixels = 16;
constexpr int ButtonPixels = 13;
constexpr int WaitSignPixels = 8;

QString PanelName(int index) {
  return index == 0 ? QStringLiteral("PanelKopf") : QStringLiteral("PanelKopf%1").arg(index);
}

std::size_t Slot(Lamp lamp) {
  return static_cast<std::size_t>(lamp);
}

}  // namespace

HeadElementWidget::HeadElementWidget(Simulation& simulation, int index, QWidget* parent)
    : QWidget(parent), simulation_(simulation), index_(index) {
  Q_ASSERT(index >= 0 && index < MaxGroups);
  setObjectName(PanelName(index));
  // Three rows of eight, whatever the window around them does.
  setGeometry(Element().PanelLeft(), Element().PanelTop(), PanelWidth, PanelHeight);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, clCream);
  colours.setColor(QPalette::WindowText, LabelText);
  setPalette(colours);
  setAutoFillBackground(true);
  setFont(PanelFont(TextPixels));
  BuildControls();
  Refresh();
}

const SignalHeadElement& HeadElementWidget::Element() const {
  // The index comes from the window's own loop over the 24 heads.
  return simulation_.Heads()[static_cast<std::size_t>(index_)];
}

void HeadElementWidget::BuildControls() {
  // In the template's order, which is also the stacking order: later controls
  // lie on top, so the crosses and "WARTE" cover the lamps.
  auto bevel = [this](const char* name, QRect geometry, Bevel::Style style) {
    auto* control = new Bevel(style, this);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
  };
  auto shape = [this](const char* name, QRect geometry, Shape::Kind kind) {
    auto* control = new Shape(kind, DarkLightColour(), this);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
  };

  bevel("BevelRot", {2, 2, 40, 40}, Bevel::Style::Raised);
  bevel("BevelGelb", {2, 42, 40, 40}, Bevel::Style::Raised);
  bevel("BevelGruen", {2, 82, 40, 40}, Bevel::Style::Raised);

  demandButton_ = new SpeedButton(this);
  demandButton_->setObjectName(QStringLiteral("SpeedButtonAnf"));
  demandButton_->setGeometry(44, 96, 25, 25);
  demandButton_->setFont(PanelFont(ButtonPixels, true));
  connect(demandButton_, &SpeedButton::MouseDown, this, &HeadElementWidget::DemandButtonDown);
  connect(demandButton_, &SpeedButton::MouseUp, this, &HeadElementWidget::DemandButtonUp);

  lamps_[Slot(Lamp::Red)] = shape("ShapeRot", {4, 4, 36, 36}, Shape::Kind::Circle);
  lamps_[Slot(Lamp::Yellow)] = shape("ShapeGelb", {4, 44, 36, 36}, Shape::Kind::Circle);
  lamps_[Slot(Lamp::Green)] = shape("ShapeGruen", {4, 84, 36, 36}, Shape::Kind::Circle);

  const QString cross = QStringLiteral("X");
  crosses_[Slot(Lamp::Red)] = AddLabel("LabelRotDef", {16, 12, 13, 20}, cross);
  crosses_[Slot(Lamp::Yellow)] = AddLabel("LabelGelbDef", {16, 52, 13, 20}, cross);
  crosses_[Slot(Lamp::Green)] = AddLabel("LabelGruenDef", {16, 92, 13, 20}, cross);
  for (QLabel* label : crosses_) {
    label->setFont(PanelFont(CrossPixels, true));
    label->hide();
  }

  auto* groupFrame = new Bevel(Bevel::Style::Lowered, this);
  groupFrame->setObjectName(QStringLiteral("BevelGruppe"));
  groupFrame->setGeometry(41, 2, 30, 40);
  AddLabel("LabelGr", {44, 7, 11, 13}, QStringLiteral("G."));
  groupNumber_ = AddLabel("LabelGruppeNr", {55, 7, 12, 13}, QString());
  groupNumber_->setAlignment(Qt::AlignRight | Qt::AlignTop);

  bevel("BevelStoer", {44, 44, 25, 12}, Bevel::Style::Raised);
  bevel("BevelAnf", {44, 70, 25, 12}, Bevel::Style::Raised);
  AddLabel("Label6", {44, 56, 13, 13}, QStringLiteral("St."));
  AddLabel("Label7", {45, 82, 19, 13}, QStringLiteral("Anf."));
  faultIndicator_ = shape("ShapeSt", {45, 45, 23, 10}, Shape::Kind::Rectangle);
  demandIndicator_ = shape("ShapeAnf", {45, 71, 23, 10}, Shape::Kind::Rectangle);

  AddLabel("LabelKopf", {44, 22, 10, 13}, QStringLiteral("K."));
  headNumber_ = AddLabel("LabelKopfNr", {55, 22, 12, 13}, QString());
  headNumber_->setAlignment(Qt::AlignRight | Qt::AlignTop);

  waitSign_ = AddLabel("LabelWarte", {7, 58, 30, 10}, QStringLiteral("WARTE"));
  waitSign_->setFont(PanelFont(WaitSignPixels));
  waitSign_->hide();

  for (Lamp lamp : {Lamp::Red, Lamp::Yellow, Lamp::Green}) {
    WireLamp(lamps_[Slot(lamp)], lamp);
    WireLamp(crosses_[Slot(lamp)], lamp);
  }
  WireLamp(waitSign_, Lamp::Yellow);
}

QLabel* HeadElementWidget::AddLabel(const char* name, QRect geometry, const QString& text) {
  // Labels keep their size and draw from the top left, without a background
  // of their own, like the form library's labels.
  auto* label = new QLabel(text, this);
  label->setObjectName(QLatin1String(name));
  label->setGeometry(geometry);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setTextFormat(Qt::PlainText);
  return label;
}

void HeadElementWidget::WireLamp(QWidget* control, Lamp lamp) {
  control->installEventFilter(this);
  lampControls_.emplace_back(control, lamp);
}

bool HeadElementWidget::eventFilter(QObject* watched, QEvent* event) {
  // Any mouse button, on the press; the second press of a double click is a
  // press as well.
  const auto type = event->type();
  if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
    for (const auto& [control, lamp] : lampControls_) {
      if (control == watched) {
        LampPressed(lamp);
        return true;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void HeadElementWidget::paintEvent(QPaintEvent* /*event*/) {
  DrawBevelFrame(*this, true);
}

void HeadElementWidget::RefreshIfChanged() {
  if (Element().PaintCount() != paintedCount_) {
    Refresh();
  }
}

void HeadElementWidget::Refresh() {
  const SignalHeadElement& element = Element();
  paintedCount_ = element.PaintCount();
  for (Lamp lamp : {Lamp::Red, Lamp::Yellow, Lamp::Green}) {
    lamps_[Slot(lamp)]->SetBrushColor(HeadLampColour(lamp, element.ShapeState(lamp)));
    crosses_[Slot(lamp)]->setVisible(element.FaultCrossVisible(lamp));
  }
  faultIndicator_->SetBrushColor(FaultIndicatorColour(element.FaultIndicatorState()));
  demandIndicator_->SetBrushColor(DemandIndicatorColour(element.DemandIndicatorState()));
  waitSign_->setVisible(element.WaitSignVisible());
  // Qt skips the repaint when a text is set to what it already is.
  groupNumber_->setText(QString::fromStdString(element.GroupNumberText()));
  headNumber_->setText(QString::fromStdString(element.HeadNumberText()));
  demandButton_->setText(QString::fromStdString(element.ButtonCaption()));
  demandButton_->setDown(element.IsDemandButtonDown());
}

void HeadElementWidget::LampPressed(Lamp lamp) {
  simulation_.LampClick(index_, lamp);
  RefreshIfChanged();
}

void HeadElementWidget::DemandButtonDown(bool shift) {
  simulation_.DemandButtonMouseDown(index_, shift);
  RefreshIfChanged();
}

void HeadElementWidget::DemandButtonUp(bool shift) {
  simulation_.DemandButtonMouseUp(index_, shift);
  RefreshIfChanged();
}

}  // namespace ampelsim::ui
