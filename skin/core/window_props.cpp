#include "skin/core/window_props.h"

namespace skin {

std::wstring StateSurfaceKey(int state, StateSurface which) {
  std::wstring key(1, static_cast<wchar_t>(L'0' + state));
  key += which == StateSurface::DeviceContext ? L"HDC" : L"BMP";
  return key;
}

LONG_PTR GetSkinProp(HWND window, const wchar_t* key) noexcept {
  return reinterpret_cast<LONG_PTR>(GetPropW(window, key));
}

BOOL SetSkinProp(HWND window, const wchar_t* key, LONG_PTR value) noexcept {
  return SetPropW(window, key, reinterpret_cast<HANDLE>(value));
}

void RemoveSkinProp(HWND window, const wchar_t* key) noexcept { RemovePropW(window, key); }

}  // namespace skin
