#include "forms/dpi_metrics.h"

#include "forms/twips.h"

namespace forms {
namespace {

template <typename Function>
Function User32Function(const char* name) noexcept {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                : nullptr;
}

DpiCalls& CallsInUse() noexcept {
  static DpiCalls calls = User32DpiCalls();
  return calls;
}

}  // namespace

const DpiCalls& User32DpiCalls() noexcept {
  static const DpiCalls calls = [] {
    DpiCalls found;
    found.getDpiForWindow = User32Function<decltype(found.getDpiForWindow)>("GetDpiForWindow");
    found.getSystemMetricsForDpi =
        User32Function<decltype(found.getSystemMetricsForDpi)>("GetSystemMetricsForDpi");
    found.systemParametersInfoForDpi =
        User32Function<decltype(found.systemParametersInfoForDpi)>("SystemParametersInfoForDpi");
    return found;
  }();
  return calls;
}

DpiCalls ReplaceDpiCalls(const DpiCalls& calls) noexcept {
  const DpiCalls previous = CallsInUse();
  CallsInUse() = calls;
  return previous;
}

int DpiOfWindow(HWND window) noexcept {
  const auto getDpi = CallsInUse().getDpiForWindow;
  // 0 for a window that is gone.
  const UINT dpi = window && getDpi ? getDpi(window) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : ScreenDpi();
}

int SystemMetricAtDpi(int index, int dpi) noexcept {
  const auto forDpi = CallsInUse().getSystemMetricsForDpi;
  if (forDpi && dpi > 0) {
    // 0 is its failure.
    const int value = forDpi(index, static_cast<UINT>(dpi));
    if (value != 0) return value;
  }
  return GetSystemMetrics(index);
}

int WindowMetric(HWND window, int index) noexcept {
  return SystemMetricAtDpi(index, DpiOfWindow(window));
}

bool MessageFontAtDpi(int dpi, LOGFONTW& font) noexcept {
  if (dpi <= 0) dpi = ScreenDpi();
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  const auto forDpi = CallsInUse().systemParametersInfoForDpi;
  if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi))) {
    font = metrics.lfMessageFont;
    return true;
  }
  metrics = NONCLIENTMETRICSW{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return false;
  // These are at the system DPI, the screen DC's.
  font = metrics.lfMessageFont;
  font.lfHeight = MulDiv(font.lfHeight, dpi, ScreenDpi());
  return true;
}

}  // namespace forms
