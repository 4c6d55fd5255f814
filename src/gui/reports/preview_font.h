#pragma once

#include <QFont>

namespace ampelsim::ui {

// The reports are fixed-width text: "Courier New", or its metric twin where
// it is not installed, 13 pixels high on screen.
QFont PreviewScreenFont();

// The same face for paper: 13 pixels at 96 pixels per inch, about 10 point.
QFont PreviewPrintFont();

}  // namespace ampelsim::ui
