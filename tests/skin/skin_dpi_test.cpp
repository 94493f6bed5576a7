// Metrics at a window's own DPI, made up as 96, 144 and 192 dpi: with the
// system's per-DPI calls and without them (the fallbacks), and what the skin
// sizes with them.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

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
  if (!os.getDpiForWindow || !os.getSystemMetricsForDpi || !os.systemParametersInfoForDpi) GTEST_SKIP();
  NONCLIENTMETRICSW system{};  // at the system DPI
  system.cbSize = sizeof(system);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(system), &system, 0);
  SkinForm f;
  ASSERT_TRUE(f.attached);
  const WNDCLASSW wc = {0, InsetFrameProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, L"InsetFrame"};
  RegisterClassW(&wc);
  HWND frame = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, 0, 99, 99, nullptr,
                               nullptr, nullptr, nullptr);
  const forms::DpiCalls madeUp = {MadeUpDpiOf, os.getSystemMetricsForDpi, os.systemParametersInfoForDpi};
  for (const bool present : {false, true}) {  // no ASSERT until the calls are put back
    forms::ReplaceDpiCalls(present ? madeUp : forms::DpiCalls{});
    for (const int dpi : {96, 144, 192}) {
      madeUpDpi = dpi;
      // Without the calls: the screen's DPI, the system DPI's metric, its font scaled.
      EXPECT_EQ(forms::DpiOfWindow(frame), present ? dpi : forms::ScreenDpi());
      const int scroll = present ? os.getSystemMetricsForDpi(SM_CXVSCROLL, dpi) : GetSystemMetrics(SM_CXVSCROLL);
      EXPECT_EQ(forms::SystemMetricAtDpi(SM_CXVSCROLL, dpi), scroll);
      LOGFONTW font{}, made{};
      forms::MessageFontAtDpi(dpi, font);
      forms::SetWindowDpi(dpi);  // the form's DPI picks its controls' font
      GetObjectW(forms::DefaultUiFont(), sizeof(made), &made);
      for (const LOGFONTW& got : {font, made}) {  // the message font (the caption font is bold), scaled
        EXPECT_EQ(got.lfHeight, MulDiv(system.lfMessageFont.lfHeight, dpi, forms::ScreenDpi())) << present << " " << dpi;
        EXPECT_EQ(got.lfWeight, system.lfMessageFont.lfWeight);
      }
      if (!present) continue;
      // A two-pixel border beside scroll bars of this DPI.
      SetWindowLongPtrW(frame, GWLP_USERDATA, 4 + scroll);
      SetWindowPos(frame, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
      int bx = 0, by = 0;
      EXPECT_TRUE(skin::GetBorderSize(frame, bx, by) && bx == 2 && by == 2) << dpi << ": " << bx << " " << by;
      // The combo button, hit and painted (hot; its top row is clear of the
      // edit box), is a scroll bar wide inside the frame.
      skin::SetSkinProp(f.editCombo, skin::prop::kOldState, 1);
      Repaint(f.form);
      const WindowPixels combo(f.editCombo);
      const int left = combo.width - 2 - scroll;
      EXPECT_TRUE(skin::HitTestComboButton(f.editCombo, left, 5)) << dpi;
      EXPECT_FALSE(skin::HitTestComboButton(f.editCombo, left - 1, 5)) << dpi;
      EXPECT_TRUE(combo.At(left - 1, 1) == kWhite && combo.At(left, 1) != kWhite) << dpi;
      // The check box's square and the option button's face: a menu check mark's size.
      const int markX = os.getSystemMetricsForDpi(SM_CXMENUCHECK, dpi);
      const int markY = os.getSystemMetricsForDpi(SM_CYMENUCHECK, dpi);
      for (HWND box : {f.check, f.option}) {
        const WindowPixels shown(box);
        int tall = 0;
        for (int y = 0; y < shown.height; ++y) tall += shown.At(markX / 2, y) != kGrey;
        EXPECT_EQ(tall, std::min(markY, shown.height)) << dpi;
        EXPECT_NE(shown.At(markX - 1, shown.height / 2), kGrey) << dpi;
        EXPECT_EQ(shown.At(markX, shown.height / 2), kGrey) << dpi;
      }
    }
  }
  forms::ReplaceDpiCalls(os), forms::SetWindowDpi(0);
  DestroyWindow(frame);
}

}  // namespace
