#pragma once
#include <windows.h>

namespace skin {

// Colours the painters use besides those inside the images.
inline constexpr COLORREF kFrameColour = 0x00D5A554;          // control frame, flat border
inline constexpr COLORREF kDisabledFrameColour = 0x00E9CFA4;  // the same, window disabled
inline constexpr COLORREF kPressedCheckFrameColour = 0x00C48639;
inline constexpr COLORREF kWhite = 0x00FFFFFF;
inline constexpr COLORREF kProgressFillColour = 0x00F6D64C;
inline constexpr COLORREF kCaptionColour = 0x00000000;
inline constexpr COLORREF kDisabledCaptionColour = 0x00968A79;

// The frame colour for the window's current enabled state.
inline COLORREF FrameColourFor(HWND window) noexcept {
  return IsWindowEnabled(window) ? kFrameColour : kDisabledFrameColour;
}

}  // namespace skin
