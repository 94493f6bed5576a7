#include "skin/core/nc_paint.h"

#include <commctrl.h>

#include "forms/dpi_metrics.h"
#include "skin/core/control_kind.h"
#include "skin/core/skin_handler.h"
#include "skin/render/gdi_handles.h"
#include "skin/render/memory_dc.h"
#include "skin/render/progress_fill.h"
#include "skin/render/rect_primitives.h"
#include "skin/render/round_half_even.h"
#include "skin/render/skin_colours.h"

namespace skin {
namespace {

struct Sizes {
  int windowWidth = 0;
  int windowHeight = 0;
  int clientWidth = 0;
  int clientHeight = 0;
};

Sizes SizesOf(HWND window) noexcept {
  RECT outer = {};
  RECT client = {};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  return {outer.right - outer.left, outer.bottom - outer.top, client.right - client.left,
          client.bottom - client.top};
}

LRESULT PaintProgressBarWhole(HWND window) noexcept {
  int bx = 0;
  int by = 0;
  GetBorderSize(window, bx, by);
  const Sizes s = SizesOf(window);
  OwnedMemoryDC image(CreateMemoryDC(s.windowWidth, s.windowHeight));
  const float fraction = ProgressFraction(window);
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);

  FillSolidRect(image.get(), 0, 0, s.windowWidth, s.windowHeight, kFrameColour);
  FillSolidRect(image.get(), 1, 1, s.windowWidth - 2, s.windowHeight - 2, kWhite);
  if (fraction != 0.0f) {
    // The bar stays inside the client area, so a position above the scale
    // fills it completely without covering the frame.
    const HRGN clientArea = CreateRectRgn(bx, by, bx + s.clientWidth, by + s.clientHeight);
    SelectClipRgn(image.get(), clientArea);
    DeleteObject(clientArea);
    if (style & PBS_VERTICAL) {
      // Filled whole, then uncovered down to the fill line, smooth or not; an
      // over-full bar uncovers nothing (a negative height would paint upwards).
      FillSolidRect(image.get(), bx, by, s.clientWidth, s.clientHeight, kProgressFillColour);
      const int empty =
          RoundHalfEven(s.clientHeight - s.clientHeight * static_cast<double>(fraction));
      if (empty > 0) FillSolidRect(image.get(), bx, by, s.clientWidth, empty, kWhite);
    } else {
      FillSolidRect(image.get(), bx, by, ProgressFillLength(s.clientWidth, fraction),
                    s.clientHeight, kProgressFillColour);
    }
    SelectClipRgn(image.get(), nullptr);
  }
  BorrowedWindowDC target(window);
  BitBlt(target.get(), 0, 0, s.windowWidth, s.windowHeight, image.get(), 0, 0, SRCCOPY);
  return 0;
}

void DrawFlatBorder(HWND window) noexcept {
  int bx = 0;
  int by = 0;
  GetBorderSize(window, bx, by);
  const Sizes s = SizesOf(window);
  BorrowedWindowDC whole(window);
  BorrowedWindowDC client(window, BorrowedWindowDC::Area::Client);
  FrameSolidRect(whole.get(), 0, 0, s.windowWidth, s.windowHeight, FrameColourFor(window));
  const COLORREF background = GetBkColor(client.get());
  for (int d = 1; d <= bx; ++d) {
    FrameSolidRect(whole.get(), d, d, s.windowWidth - 1 - d, s.windowHeight - 1 - d, background);
  }
}

}  // namespace

bool GetBorderSize(HWND window, int& horizontal, int& vertical) noexcept {
  const Sizes s = SizesOf(window);
  int excessX = s.windowWidth - s.clientWidth;
  int excessY = s.windowHeight - s.clientHeight;
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  if (style & WS_VSCROLL) excessX -= forms::WindowMetric(window, SM_CXVSCROLL);
  if (style & WS_HSCROLL) excessY -= forms::WindowMetric(window, SM_CYHSCROLL);
  horizontal = RoundHalfEven(excessX / 2.0);
  vertical = RoundHalfEven(excessY / 2.0);
  return true;
}

LRESULT OnSkinNcPaint(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                      LPARAM lParam) noexcept {
  switch (ClassifyWindow(window)) {
    case ControlKind::ProgressBar:
      return PaintProgressBarWhole(window);
    case ControlKind::DataList:
      return PassOn(previous, window, message, wParam, lParam);
    default: {
      const LRESULT result = PassOn(previous, window, message, wParam, lParam);
      if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) DrawFlatBorder(window);
      return result;
    }
  }
}

}  // namespace skin
