#pragma once
#include <windows.h>

#include <string>

namespace skin {

// Keys of the per-window skin state kept in window properties.
namespace prop {
inline constexpr wchar_t kProcAddr[] = L"PROCADDR";
inline constexpr wchar_t kOldStyle[] = L"OLDSTYLE";
inline constexpr wchar_t kMouseFlag[] = L"MOUSEFLAG";
inline constexpr wchar_t kTimerId[] = L"TIMERID";
inline constexpr wchar_t kOldState[] = L"OLDSTATE";
inline constexpr wchar_t kAlphaLevel[] = L"ALPHALEVEL";
inline constexpr wchar_t kHeaderDownIndex[] = L"HDINDEX";
inline constexpr wchar_t kHeaderHotIndex[] = L"HMINDEX";
// The procedure SkinWndProc passes straight through to on a window the skin
// left while another procedure sat on top of it (that one still calls it).
inline constexpr wchar_t kPassProc[] = L"PASSPROC";
}  // namespace prop

// The two cached surfaces a command button keeps per visual state.
enum class StateSurface { DeviceContext, Bitmap };

// "0HDC" .. "3HDC" and "0BMP" .. "3BMP"; state is 0..3.
std::wstring StateSurfaceKey(int state, StateSurface which);

// Property values are pointer-sized: handles and procedure addresses keep
// their full width, -1 reads back as -1, an absent property reads as 0.
LONG_PTR GetSkinProp(HWND window, const wchar_t* key) noexcept;
BOOL SetSkinProp(HWND window, const wchar_t* key, LONG_PTR value) noexcept;
void RemoveSkinProp(HWND window, const wchar_t* key) noexcept;
// Drops what this thread remembers of the window's properties (it is gone,
// or the skin has left it); later reads ask the window itself.
void ForgetSkinProps(HWND window) noexcept;

}  // namespace skin
