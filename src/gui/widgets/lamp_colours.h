#pragma once

#include <QColor>

#include "display/lamp_state.h"
#include "panel/control_panel.h"

namespace ampelsim::ui {

// The colours of the lights the models report as lit or dark: a dark light is
// silver, a lit one shows its lamp's colour. The models keep no colours; the
// heads window and the panel take them from here.
QColor DarkLightColour();
QColor HeadLampColour(Lamp lamp, LampState state);
QColor DemandIndicatorColour(LampState state);
QColor FaultIndicatorColour(LampState state);
QColor PanelLampColour(PanelLamp lamp, LampState state);

}  // namespace ampelsim::ui
