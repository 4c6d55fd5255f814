#pragma once

#include <algorithm>

namespace ampelsim::ui {

// The heads window's design size is its outer size, frame included: the
// inside is what the window manager's frame leaves of it. Below full height
// the window may be 16 pixels wider, the room its vertical scroll bar then
// takes; it never grows beyond that.
inline constexpr int FormAmpelDesignWidth = 652;
inline constexpr int FormAmpelDesignHeight = 438;
inline constexpr int FormAmpelScrollBarRoom = 16;
// Where the heads end on their sheet: right edge of the eighth column and
// bottom of the third row.
inline constexpr int FormAmpelHeadsRight = 631;
inline constexpr int FormAmpelHeadsBottom = 394;

struct FormSize {
  int Width;
  int Height;
  bool operator==(const FormSize&) const = default;
};

// The widths of the window manager's frame around the inside.
struct FrameMargins {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  bool operator==(const FrameMargins&) const = default;
};

// The inside that makes the outer size the design size; never smaller than
// the heads themselves, however wide a frame is.
constexpr FormSize FormAmpelInsideSize(FrameMargins frame) {
  return {std::max(FormAmpelDesignWidth - std::max(frame.Left, 0) - std::max(frame.Right, 0),
                   FormAmpelHeadsRight),
          std::max(FormAmpelDesignHeight - std::max(frame.Top, 0) - std::max(frame.Bottom, 0),
                   FormAmpelHeadsBottom)};
}

// The size the window's inside snaps back to after the user resized it to
// `size`, where `full` is its full inside (FormAmpelInsideSize).
constexpr FormSize SnappedFormAmpelSize(FormSize size, FormSize full = {FormAmpelDesignWidth,
                                                                        FormAmpelDesignHeight}) {
  if (size.Width > full.Width) {
    size.Width = size.Height >= full.Height ? full.Width : full.Width + FormAmpelScrollBarRoom;
  }
  if (size.Height > full.Height) {
    size.Height = full.Height;
  }
  return size;
}

}  // namespace ampelsim::ui
