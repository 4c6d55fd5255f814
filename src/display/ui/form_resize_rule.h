#pragma once

namespace ampelsim::ui {

// The heads window never grows beyond its design size; below full height it
// may be 16 pixels wider, the room its vertical scroll bar then takes.
inline constexpr int FormAmpelDesignWidth = 652;
inline constexpr int FormAmpelDesignHeight = 438;
inline constexpr int FormAmpelScrollBarRoom = 16;

struct FormSize {
  int Width;
  int Height;
  bool operator==(const FormSize&) const = default;
};

// The size the window snaps back to after the user resized it to `size`.
constexpr FormSize SnappedFormAmpelSize(FormSize size) {
  if (size.Width > FormAmpelDesignWidth) {
    size.Width = size.Height >= FormAmpelDesignHeight
                     ? FormAmpelDesignWidth
                     : FormAmpelDesignWidth + FormAmpelScrollBarRoom;
  }
  if (size.Height > FormAmpelDesignHeight) {
    size.Height = FormAmpelDesignHeight;
  }
  return size;
}

}  // namespace ampelsim::ui
