#pragma once
// Metrics that size or paint a control, taken at the DPI of the window they
// belong to. The per-DPI calls exist from Windows 10 1607 on and are looked
// up in user32 at run time; without them the system-DPI calls answer.
// Nothing here caches a DPI: each call asks for the window's current one, so
// a window moved to a monitor of another scale is measured anew.
#include <windows.h>

namespace forms {

// The per-DPI calls in use; a null member counts as absent.
struct DpiCalls {
  UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
  int(WINAPI* getSystemMetricsForDpi)(int, UINT) = nullptr;
  BOOL(WINAPI* systemParametersInfoForDpi)(UINT, UINT, void*, UINT, UINT) = nullptr;
};

// The calls user32 exports, looked up once.
const DpiCalls& User32DpiCalls() noexcept;
// Puts `calls` in place of those in use (tests, while no other thread
// measures); returns the replaced ones.
DpiCalls ReplaceDpiCalls(const DpiCalls& calls) noexcept;

// The DPI the window is shown at: for a per-monitor aware window its
// monitor's, for a system-aware one the system's, for an unaware one 96. The
// screen's where the system cannot tell (no GetDpiForWindow, no window).
int DpiOfWindow(HWND window) noexcept;

// GetSystemMetrics(index) at `dpi`; at the system DPI where the system has
// no per-DPI answer.
int SystemMetricAtDpi(int index, int dpi) noexcept;

// SystemMetricAtDpi at the window's DPI.
int WindowMetric(HWND window, int index) noexcept;

// The message-box font of the non-client metrics at `dpi`; without the
// per-DPI call the system DPI's, its height scaled to `dpi`. False when the
// system gives no metrics.
bool MessageFontAtDpi(int dpi, LOGFONTW& font) noexcept;

}  // namespace forms
