#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>

#include "gui/app/form_steuer.h"
#include "gui/app/glyphs.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/lamp_colours.h"
#include "gui/widgets/panel_controls.h"

namespace ampelsim::ui {
namespace {

constexpr int BarHeight = 32;
constexpr int ButtonTop = 3;
constexpr int ButtonHeight = 25;
constexpr int SquareLamp = 21;
constexpr int CircleLamp = 16;

QString Name(std::string_view name) {
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QFrame* AddSeparator(QWidget* bar, int x) {
  auto* line = new QFrame(bar);
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(x, ButtonTop, 4, ButtonHeight);
  return line;
}

QLabel* AddText(QWidget* parent, const QString& text, int x, int y, int width, int height) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(x, y, width, height);
  return label;
}

void SetPointSize(QWidget* widget, int pointSize) {
  QFont font = widget->font();
  font.setPointSize(pointSize);
  widget->setFont(font);
}

// A lamp with its caption at its right.
Shape* AddLamp(QWidget* box, PanelLamp lamp, Shape::Kind form, const char* caption, int y) {
  const bool circle = form == Shape::Kind::Circle;
  const int size = circle ? CircleLamp : SquareLamp;
  const int inset = (SquareLamp - size) / 2;
  auto* widget = new Shape(form, DarkLightColour(), box);
  widget->setFixedSize(size, size);
  widget->setObjectName(Name(ComponentName(lamp)));
  widget->move(8 + inset, y + inset);
  if (caption != nullptr) {
    AddText(box, QString::fromUtf8(caption), 8 + SquareLamp + 6, y, 90, SquareLamp);
  }
  return widget;
}

}  // namespace

PanelPushButton* TFormSteuer::AddPushButton(QWidget* bar, const char* name, const QString& hint,
                                            int x, int width) {
  auto* button = new PanelPushButton(bar);
  button->setObjectName(QString::fromLatin1(name));
  button->setToolTip(hint);
  button->setGeometry(x, ButtonTop, width, ButtonHeight);
  return button;
}

QToolButton* TFormSteuer::AddToggle(QWidget* bar, PanelToggle toggle, const QString& hint, int x,
                                    int width) {
  auto* button = new LatchButton(bar);
  button->setObjectName(Name(ComponentName(toggle)));
  button->setToolTip(hint);
  button->setCheckable(true);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setGeometry(x, ButtonTop, width, ButtonHeight);
  toggles_[static_cast<std::size_t>(toggle)] = button;
  return button;
}

void TFormSteuer::BuildSpeedBar(QWidget* client) {
  auto* bar = new QFrame(client);
  bar->setObjectName(QStringLiteral("SpeedBar"));
  bar->setFrameShape(QFrame::Panel);
  bar->setFrameShadow(QFrame::Raised);
  bar->setGeometry(0, 0, client->width(), BarHeight);

  struct Push {
    const char* Name;
    const char* Hint;
    Glyph Picture;
    int X;
    void (TFormSteuer::*Down)();
    void (TFormSteuer::*Up)();
  };
  const Push pushes[] = {
      {"StartButton", "Start", Glyph::Start, 4, &TFormSteuer::StartButtonMouseDown,
       &TFormSteuer::StartButtonMouseUp},
      {"QuittButton", "Quittung", Glyph::Acknowledge, 29, &TFormSteuer::QuittButtonMouseDown,
       nullptr},
      {"StopButton", "Stop", Glyph::Stop, 54, &TFormSteuer::StopButtonMouseDown,
       &TFormSteuer::StopButtonMouseUp},
      {"HandTaster", "Weiter bei Handbetrieb", Glyph::ManualStep, 79,
       &TFormSteuer::HandTasterMouseDown, &TFormSteuer::HandTasterMouseUp},
  };
  for (const Push& push : pushes) {
    PanelPushButton* button =
        AddPushButton(bar, push.Name, QString::fromUtf8(push.Hint), push.X, 25);
    button->setIcon(PaintGlyph(push.Picture));
    connect(button, &PanelPushButton::MouseDown, this, push.Down);
    if (push.Up != nullptr) {
      connect(button, &PanelPushButton::MouseUp, this, push.Up);
    }
    if (push.Down == &TFormSteuer::StartButtonMouseDown) {
      connect(button, &QToolButton::clicked, this, &TFormSteuer::StartButtonClick);
    }
  }

  anforderButton1_ =
      AddPushButton(bar, "AnforderButton1", QStringLiteral("Anforderung 1 Weiter"), 104, 35);
  anforderButton2_ =
      AddPushButton(bar, "AnforderButton2", QStringLiteral("Anforderung 2 Weiter"), 139, 35);
  anforderButton1_->setText(QStringLiteral("1"));
  anforderButton2_->setText(QStringLiteral("2"));
  for (PanelPushButton* button : {anforderButton1_, anforderButton2_}) {
    button->setIcon(PaintGlyph(Glyph::DemandEmpty));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  }
  connect(anforderButton1_, &PanelPushButton::MouseDown, this,
          &TFormSteuer::AnforderButton1MouseDown);
  connect(anforderButton1_, &PanelPushButton::MouseUp, this, &TFormSteuer::AnforderButton1MouseUp);
  connect(anforderButton2_, &PanelPushButton::MouseDown, this,
          &TFormSteuer::AnforderButton2MouseDown);
  connect(anforderButton2_, &PanelPushButton::MouseUp, this, &TFormSteuer::AnforderButton2MouseUp);

  AddSeparator(bar, 176);
  struct Mode {
    PanelToggle Toggle;
    const char* Hint;
    Glyph Picture;
    int X;
  };
  const Mode modes[] = {
      {PanelToggle::BlinkButton, "Blinken", Glyph::Flashing, 182},
      {PanelToggle::HandbetriebButton, "Handbetrieb", Glyph::ManualMode, 207},
      {PanelToggle::DauerButton, "Daueranforderung", Glyph::Continuous, 232},
  };
  for (const Mode& mode : modes) {
    AddToggle(bar, mode.Toggle, QString::fromUtf8(mode.Hint), mode.X, 25)
        ->setIcon(PaintGlyph(mode.Picture));
    connect(toggles_[static_cast<std::size_t>(mode.Toggle)], &QToolButton::clicked, this,
            [this, toggle = mode.Toggle] { ToggleClick(toggle); });
  }

  AddSeparator(bar, 259);
  struct Monitoring {
    PanelToggle Toggle;
    const char* Caption;
    const char* Hint;
    int X;
    void (TFormSteuer::*Click)();
  };
  const Monitoring monitoring[] = {
      {PanelToggle::RotuebAus, "Rot", "Rotüberwachung aus", 265, &TFormSteuer::RotuebAusClick},
      {PanelToggle::GruenuebAus, "Grün", "Grünüberwachung aus", 300,
       &TFormSteuer::GruenuebAusClick},
      {PanelToggle::ZwischenAus, "ZwZt", "Zwischenzeitüberwachung aus", 335,
       &TFormSteuer::ZwischenAusClick},
      {PanelToggle::StatusAus, "Stat.", "Statusüberwachung aus", 370, &TFormSteuer::StatusAusClick},
  };
  for (const Monitoring& item : monitoring) {
    QToolButton* button = AddToggle(bar, item.Toggle, QString::fromUtf8(item.Hint), item.X, 35);
    button->setText(QString::fromUtf8(item.Caption));
    QFont struck = button->font();
    struck.setStrikeOut(true);
    button->setFont(struck);
    connect(button, &QToolButton::clicked, this, item.Click);
  }

  AddSeparator(bar, 407);
  druckSoll_ = AddPushButton(bar, "DruckSoll", QStringLiteral("Sollausdruck"), 413, 48);
  druckSoll_->setText(QStringLiteral("Soll"));
  druckIst_ = AddToggle(bar, PanelToggle::DruckIst, QStringLiteral("Istausdruck ein/aus"), 461, 48);
  druckIst_->setText(QStringLiteral("Ist"));
  druckSt_ = AddPushButton(bar, "DruckSt", QStringLiteral("Störausdruck Seitenweise"), 509, 48);
  druckSt_->setText(QStringLiteral("St."));
  druckStEinAus_ =
      AddToggle(bar, PanelToggle::DruckStEinAus, QStringLiteral("Störausdruck ein/aus"), 557, 48);
  druckStEinAus_->setText(QStringLiteral("St.S"));
  for (QToolButton* button : {druckSoll_, druckIst_, druckSt_, druckStEinAus_}) {
    button->setIcon(PaintGlyph(Glyph::Print));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  }
  // Printing connects the four print buttons (AttachPrinting).
}

void TFormSteuer::BuildProgramPanel(QWidget* client) {
  auto* panel = new QFrame(client);
  panel->setObjectName(QStringLiteral("ProgrammPanel"));
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Raised);
  panel->setGeometry(4, 36, 89, 191);

  const char* const captions[ProgramButtonCount] = {"Ub.", "P1", "P2", "P3", "P4", "P5", "P6"};
  const char* const labels[ProgramButtonCount] = {"Uhrbetrieb", "Prog. 1", "Prog. 2", "Prog. 3",
                                                  "Prog. 4",    "Prog. 5", "Prog. 6"};
  for (std::size_t i = 0; i < ProgramButtonCount; ++i) {
    const auto program = static_cast<ProgramButton>(i);
    const int y = 4 + static_cast<int>(i) * 26;
    auto* button = new LatchButton(panel);
    button->setObjectName(Name(ComponentName(program)));
    button->setText(QString::fromLatin1(captions[i]));
    button->setCheckable(true);
    button->setAutoExclusive(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(4, y, 25, 25);
    connect(button, &QToolButton::clicked, this, [this, program] { ProgramButtonClick(program); });
    programButtons_[i] = button;
    AddText(panel, QString::fromLatin1(labels[i]), 33, y, 54, 25);
  }
}

void TFormSteuer::BuildLampBoxes(QWidget* client) {
  using Form = Shape::Kind;
  auto lamp = [this](QWidget* box, PanelLamp which, Form form, const char* caption, int row) {
    lamps_[static_cast<std::size_t>(which)] = AddLamp(box, which, form, caption, 20 + row * 28);
  };

  auto* faults = new QGroupBox(QStringLiteral("Störmeldungen"), client);
  faults->setObjectName(QStringLiteral("StoermeldungenBox"));
  faults->setGeometry(97, 36, 125, 191);
  lamp(faults, PanelLamp::StRotFaden, Form::Rectangle, "Rot def.", 0);
  lamp(faults, PanelLamp::StFeind, Form::Rectangle, "Grün/Grün", 1);
  lamp(faults, PanelLamp::StGruenStatus, Form::Rectangle, "Status Grün", 2);
  lamp(faults, PanelLamp::StZwischenZt, Form::Rectangle, "Zw. Zeit", 3);
  lamp(faults, PanelLamp::StStatusGelb, Form::Rectangle, "Status Gelb", 4);
  lamp(faults, PanelLamp::StStatusRot, Form::Rectangle, "Status Rot", 5);

  auto* messages = new QGroupBox(QStringLiteral("Meldungen"), client);
  messages->setObjectName(QStringLiteral("MeldungenBox"));
  messages->setGeometry(226, 36, 127, 191);
  lamp(messages, PanelLamp::StAnf1Fehlt, Form::Rectangle, "Anf. 1 fehlt", 0);
  lamp(messages, PanelLamp::StAnf2Fehlt, Form::Rectangle, "Anf. 2 fehlt", 1);
  lamp(messages, PanelLamp::ImWartepunkt, Form::Rectangle, "Im Wartep.", 2);
  lamp(messages, PanelLamp::ZumWartepunkt, Form::Rectangle, "Zum Wartep.", 3);
  lamp(messages, PanelLamp::SynImp1, Form::Circle, "Syn. Imp. 1", 4);
  lamp(messages, PanelLamp::SynImp2, Form::Circle, "Syn. Imp. 2", 5);

  auto* fault = new QGroupBox(QStringLiteral("Störung"), client);
  fault->setObjectName(QStringLiteral("StoerungBox"));
  fault->setGeometry(539, 36, 81, 62);
  lamps_[static_cast<std::size_t>(PanelLamp::Stoerlampe)] =
      AddLamp(fault, PanelLamp::Stoerlampe, Form::Rectangle, nullptr, 28);
  lamps_[static_cast<std::size_t>(PanelLamp::Stoerlampe)]->move((81 - SquareLamp) / 2, 28);
}

void TFormSteuer::BuildInfoBox(QWidget* client) {
  auto* box = new QFrame(client);
  box->setObjectName(QStringLiteral("InfoPanel"));
  box->setFrameShape(QFrame::Panel);
  box->setFrameShadow(QFrame::Raised);
  box->setGeometry(357, 36, 178, 191);

  const char* const captions[] = {
      "Umlaufzeit:", "Zeitpunkt:", "Datum:", "Zeit:", "Programm:", "Programmname:"};
  const PanelLabel values[] = {PanelLabel::Umlaufzeit, PanelLabel::Zeitpunkt, PanelLabel::Datum,
                               PanelLabel::Zeit, PanelLabel::ProgLauf};
  for (int row = 0; row < 6; ++row) {
    QLabel* caption = AddText(box, QString::fromUtf8(captions[row]), 6, 6 + row * 24, 120, 22);
    SetPointSize(caption, 12);
  }
  for (int row = 0; row < 5; ++row) {
    const PanelLabel which = values[row];
    QLabel* label = nullptr;
    if (which == PanelLabel::Datum || which == PanelLabel::Zeit) {
      auto* clickable = new ClickableLabel(box);
      connect(clickable, &ClickableLabel::Clicked, this, &TFormSteuer::SetUhrClick);
      label = clickable;
    } else {
      label = new QLabel(box);
    }
    label->setGeometry(94, 7 + row * 24, 78, 20);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    labels_[static_cast<std::size_t>(which)] = label;
  }
  // A long data directory is shortened in the middle; its last folder names
  // the junction.
  auto* aktDatei = new PathLabel(box);
  aktDatei->setGeometry(6, 151, 166, 20);
  aktDatei->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  labels_[static_cast<std::size_t>(PanelLabel::AktDatei)] = aktDatei;

  for (std::size_t i = 0; i < PanelLabelCount; ++i) {
    QLabel* label = labels_[i];
    label->setObjectName(Name(ComponentName(static_cast<PanelLabel>(i))));
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->setContentsMargins(3, 0, 3, 0);
    SetPointSize(label, 10);
  }

  QToolButton* test = AddToggle(client, PanelToggle::TestEinAus,
                                QStringLiteral("Testbetrieb ein/ausschalten"), 539, 81);
  test->setText(QStringLiteral("Test ein/aus"));
  test->setAutoRaise(false);
  test->move(539, 168);
  connect(test, &QToolButton::clicked, this, [this] { ToggleClick(PanelToggle::TestEinAus); });

  PanelPushButton* weiter =
      AddPushButton(client, "TestWeiter", QStringLiteral("Testbetrieb Zeitpunkt weiter "), 539, 81);
  weiter->setText(QStringLiteral("Weiter"));
  weiter->setAutoRaise(false);
  weiter->move(539, 200);
  connect(weiter, &PanelPushButton::MouseDown, this, &TFormSteuer::TestWeiterMouseDown);
  connect(weiter, &PanelPushButton::MouseUp, this, &TFormSteuer::TestWeiterMouseUp);
}

}  // namespace ampelsim::ui
