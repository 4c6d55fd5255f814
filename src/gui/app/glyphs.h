#pragma once

#include <QPixmap>
#include <QString>

namespace ampelsim::ui {

// The pictures on the panel's buttons.
enum class Glyph {
  Start,        // green triangle
  Stop,         // red square
  Acknowledge,  // check mark
  ManualStep,   // step forward: triangle and bar
  Flashing,     // yellow lamp with rays
  ManualMode,   // hand-operated: "H" on a plate
  Continuous,   // arrow that runs round
  Print,        // printer
  DemandEmpty,  // outlined arrow, as the demand buttons show when released
};

inline constexpr int GlyphSize = 16;

QPixmap PaintGlyph(Glyph glyph);

// The demand buttons' pictures, read from the start directory.
inline constexpr char DemandPressedGlyphFile[] = "Pfeilrot.bmp";
inline constexpr char DemandReleasedGlyphFile[] = "Pfeilleer.bmp";

// Reads a picture file from the start directory; a missing or unreadable file
// throws std::runtime_error, which the application shows in its exception box.
QPixmap LoadGlyphFile(const QString& startDirectory, const char* fileName);

}  // namespace ampelsim::ui
