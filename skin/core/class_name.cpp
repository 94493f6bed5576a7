#include "skin/core/class_name.h"

namespace skin {

std::wstring GetWndClassName(HWND window) noexcept {
  try {
    wchar_t buffer[255] = {};
    const int length = GetClassNameW(window, buffer, 255);
    if (length <= 0) return std::wstring();
    return std::wstring(buffer, static_cast<size_t>(length));
  } catch (...) {
    return std::wstring();
  }
}

}  // namespace skin
