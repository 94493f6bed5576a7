#include "skin/render/caption_text.h"

#include <vector>

namespace skin {

std::wstring GetWindowCaption(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return std::wstring();
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, buffer.data(), length + 1);
  if (copied <= 0) return std::wstring();
  return std::wstring(buffer.data(), static_cast<size_t>(copied));
}

int DrawCaptionText(HDC dc, const std::wstring& text, int x, int y, int width, int height,
                    UINT format) noexcept {
  RECT rect{x, y, x + width, y + height};
  return DrawTextW(dc, text.c_str(), -1, &rect, format);
}

}  // namespace skin
