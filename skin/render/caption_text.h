#pragma once
#include <windows.h>

#include <string>

namespace skin {

// Centred on one line, ending in "..." when too wide; '&' marks a mnemonic.
inline constexpr UINT kCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
static_assert(kCaptionFormat == 0x8025, "caption format");

// The window's text; empty for a window without text or no window at all.
std::wstring GetWindowCaption(HWND window);

// Draws the text in the rectangle with the surface's font, text colour and
// background mode; DrawTextW's result (the text height, 0 on failure).
int DrawCaptionText(HDC dc, const std::wstring& text, int x, int y, int width, int height,
                    UINT format = kCaptionFormat) noexcept;

}  // namespace skin
