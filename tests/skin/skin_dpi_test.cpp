// Metrics at a window's own DPI, made up as 96, 144 and 192 dpi, and what the
// skin sizes with them: a text box's border beside its scroll bars, the combo
// button's zone, the controls' font.
#include <gtest/gtest.h>

#include <windows.h>

#include <tuple>

#include "forms/dpi_metrics.h"
#include "forms/twips.h"
#include "forms/ui_font.h"
#include "skin/core/nc_paint.h"
#include "skin/interaction/hit_tests.h"
#include "skin_fixture.h"

namespace {

int madeUpDpi = 96;
UINT WINAPI MadeUpDpiOf(HWND) { return static_cast<UINT>(madeUpDpi); }

// Its frame is GWLP_USERDATA pixels wider and taller than its client area.
LRESULT CALLBACK InsetFrameProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_NCCALCSIZE) return DefWindowProcW(w, message, wParam, lParam);
  const auto inset = static_cast<LONG>(GetWindowLongPtrW(w, GWLP_USERDATA));
  RECT& r = *reinterpret_cast<RECT*>(lParam);  // also the first rectangle of NCCALCSIZE_PARAMS
  r.right -= inset, r.bottom -= inset;
  return 0;
}

TEST(SkinDpi, MetricsFollowTheWindowsDpi) {
  const forms::DpiCalls os = forms::User32DpiCalls();
  ASSERT_TRUE(os.getDpiForWindow && os.getSystemMetricsForDpi && os.systemParametersInfoForDpi);
  NONCLIENTMETRICSW system{};  // at the system DPI
  system.cbSize = sizeof(system);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(system), &system, 0);
  SkinForm f;
  const WNDCLASSW wc = {0, InsetFrameProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, L"InsetFrame"};
  RegisterClassW(&wc);
  HWND frame = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, 0, 99, 99, nullptr,
                               nullptr, nullptr, nullptr);
  forms::ReplaceDpiCalls({MadeUpDpiOf, os.getSystemMetricsForDpi, os.systemParametersInfoForDpi});
  for (const int dpi : {96, 144, 192}) {
    madeUpDpi = dpi;
    const int scroll = os.getSystemMetricsForDpi(SM_CXVSCROLL, dpi);
    LOGFONTW made{};
    forms::SetWindowDpi(dpi);  // the form's DPI picks its controls' font: the message font, scaled
    GetObjectW(forms::DefaultUiFont(), sizeof(made), &made);
    EXPECT_EQ(std::make_pair(made.lfHeight, made.lfWeight),
              std::make_pair(static_cast<LONG>(MulDiv(system.lfMessageFont.lfHeight, dpi, forms::ScreenDpi())), system.lfMessageFont.lfWeight));
    // A two-pixel border beside scroll bars of this DPI.
    SetWindowLongPtrW(frame, GWLP_USERDATA, 4 + scroll);
    SetWindowPos(frame, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    int bx = 0, by = 0;
    EXPECT_TRUE(skin::GetBorderSize(frame, bx, by) && bx == 2 && by == 2) << dpi << ": " << bx << " " << by;
    // The combo button is a scroll bar wide inside the frame.
    RECT combo;
    GetWindowRect(f.editCombo, &combo);
    const int right = combo.right - combo.left - 2;
    for (const auto& [x, y, in] : {std::tuple{right - scroll, 2, true}, {right - scroll - 1, 5, false}, {right + 1, 5, false}})
      EXPECT_EQ(skin::HitTestComboButton(f.editCombo, x, y), in) << dpi << ": " << x << "," << y;
  }
  forms::ReplaceDpiCalls(os), forms::SetWindowDpi(0);
  DestroyWindow(frame);
}

}  // namespace
