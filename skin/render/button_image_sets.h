#pragma once
// Command buttons of one size, caption, font and focus show the same four
// state images. Which set each button's surfaces hold is remembered, so that
// a button whose set another one holds copies that one's surfaces instead of
// drawing them again.
#include <windows.h>

#include <string>

namespace skin {

struct ButtonImageSet {
  int width = 0;
  int height = 0;
  std::wstring caption;
  HGDIOBJ font = nullptr;
  bool focused = false;

  bool operator==(const ButtonImageSet& other) const noexcept {
    return width == other.width && height == other.height && font == other.font &&
           focused == other.focused && caption == other.caption;
  }
};

// A button other than `window` whose four surfaces hold the images of `set`,
// or 0 when there is none.
HWND FindButtonImageSource(const ButtonImageSet& set, HWND window) noexcept;

// Records that the four surfaces of `window` now hold the images of `set`.
void NoteButtonImages(HWND window, const ButtonImageSet& set) noexcept;

// Forgets what the surfaces of `window` hold (they are replaced or deleted).
void ForgetButtonImages(HWND window) noexcept;

}  // namespace skin
