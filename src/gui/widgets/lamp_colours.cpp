#include "gui/widgets/lamp_colours.h"

namespace ampelsim::ui {
namespace {

const QColor Silver(192, 192, 192);
const QColor Red(255, 0, 0);
const QColor Yellow(255, 255, 0);
const QColor Lime(0, 255, 0);
const QColor Aqua(0, 255, 255);

QColor Shown(LampState state, const QColor& lit) {
  return state == LampState::Lit ? lit : Silver;
}

QColor LitColour(Lamp lamp) {
  switch (lamp) {
    case Lamp::Red:
      return Red;
    case Lamp::Yellow:
      return Yellow;
    case Lamp::Green:
      break;
  }
  return Lime;
}

QColor LitColour(PanelLamp lamp) {
  switch (lamp) {
    case PanelLamp::StRotFaden:
    case PanelLamp::StStatusRot:
    case PanelLamp::Stoerlampe:
      return Red;
    case PanelLamp::StFeind:
    case PanelLamp::StGruenStatus:
      return Lime;
    case PanelLamp::StZwischenZt:
    case PanelLamp::StStatusGelb:
    case PanelLamp::StAnf1Fehlt:
    case PanelLamp::StAnf2Fehlt:
    case PanelLamp::ImWartepunkt:
    case PanelLamp::ZumWartepunkt:
    case PanelLamp::SynImp1:
    case PanelLamp::SynImp2:
      break;
  }
  return Yellow;
}

}  // namespace

QColor DarkLightColour() {
  return Silver;
}

QColor HeadLampColour(Lamp lamp, LampState state) {
  return Shown(state, LitColour(lamp));
}

QColor DemandIndicatorColour(LampState state) {
  return Shown(state, Aqua);
}

QColor FaultIndicatorColour(LampState state) {
  return Shown(state, Red);
}

QColor PanelLampColour(PanelLamp lamp, LampState state) {
  return Shown(state, LitColour(lamp));
}

}  // namespace ampelsim::ui
