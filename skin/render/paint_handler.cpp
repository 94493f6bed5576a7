#include "skin/render/paint_handler.h"

#include <commctrl.h>

#include "skin/core/control_kind.h"
#include "skin/core/engine_state.h"
#include "skin/core/skin_handler.h"
#include "skin/core/visual_state.h"
#include "skin/core/window_props.h"
#include "skin/interaction/fade_timer.h"
#include "skin/render/button_painter.h"
#include "skin/render/check_option_painters.h"
#include "skin/render/combo_button_painter.h"
#include "skin/render/gdi_handles.h"
#include "skin/render/header_item_painter.h"
#include "skin/render/memory_dc.h"
#include "skin/render/progress_fill.h"
#include "skin/render/rect_primitives.h"
#include "skin/render/round_half_even.h"
#include "skin/render/skin_colours.h"
#include "skin/render/window_bounds.h"

namespace skin {
namespace {

constexpr LONG_PTR kComboSimpleOrListBit = 1;  // clear only for CBS_DROPDOWN

// BeginPaint/EndPaint around the handler's own painting.
class PaintSession {
 public:
  explicit PaintSession(HWND window) noexcept : window_(window) { dc_ = BeginPaint(window, &ps_); }
  PaintSession(const PaintSession&) = delete;
  PaintSession& operator=(const PaintSession&) = delete;
  ~PaintSession() { EndPaint(window_, &ps_); }
  HDC dc() const noexcept { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT ps_ = {};
  HDC dc_ = nullptr;
};

WindowBounds BoundsOf(HWND window) noexcept {
  WindowBounds bounds;
  GetWindowBounds(window, bounds);
  return bounds;
}

VisualState StoredState(HWND window) noexcept {
  return static_cast<VisualState>(GetSkinProp(window, prop::kOldState));
}

// The frame colour outside, white one pixel inside.
void DrawTwoLineFrame(HWND window, HDC dc) noexcept {
  const WindowBounds b = BoundsOf(window);
  FrameSolidRect(dc, 0, 0, b.width, b.height, FrameColourFor(window));
  FrameSolidRect(dc, 1, 1, b.width - 2, b.height - 2, kWhite);
}

// Two-line frame and drop-down button over the control's own painting.
void FrameWithComboButton(HWND window) noexcept {
  VisualState state = StoredState(window);
  BorrowedWindowDC dc(window);
  DrawTwoLineFrame(window, dc.get());
  PaintComboButton(window, dc.get(), state, true);
}

LRESULT PaintCommandButton(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                           LPARAM lParam) noexcept {
  if (!IsSkinDrawnButtonStyle(GetSkinProp(window, prop::kOldStyle))) {
    return PassOn(previous, window, message, wParam, lParam);
  }
  StopFadeTimer(window);
  SetSkinProp(window, prop::kAlphaLevel, 255);
  PaintSession paint(window);
  PaintButtonBlend(window, paint.dc());
  return 0;
}

LRESULT PaintComboBox(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                      LPARAM lParam) noexcept {
  if (GetWindowLongPtrW(window, GWL_STYLE) & kComboSimpleOrListBit) {
    const LRESULT result = PassOn(previous, window, message, wParam, lParam);
    FrameWithComboButton(window);
    return result;
  }
  // Editable drop-down: its own painting never runs.
  VisualState state = StoredState(window);
  const WindowBounds b = BoundsOf(window);
  PaintSession paint(window);
  FillSolidRect(paint.dc(), 0, 0, b.width, b.height, kWhite);
  FrameSolidRect(paint.dc(), 0, 0, b.width, b.height, FrameColourFor(window));
  PaintComboButton(window, paint.dc(), state, true);
  return 0;
}

LRESULT PaintProgressBar(HWND window) noexcept {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  RECT client = {};
  GetClientRect(window, &client);
  const int w = client.right;
  const int h = client.bottom;
  OwnedMemoryDC image(CreateMemoryDC(w, h));
  const float fraction = ProgressFraction(window);
  FillSolidRect(image.get(), 0, 0, w, h, kWhite);
  if (fraction != 0.0f) {
    if (style & PBS_VERTICAL) {
      const int filled = ProgressFillLength(h, fraction);
      FillSolidRect(image.get(), 0, RoundHalfEven(h - static_cast<double>(fraction) * h), w,
                    filled, kProgressFillColour);
    } else {
      FillSolidRect(image.get(), 0, 0, ProgressFillLength(w, fraction), h, kProgressFillColour);
    }
  }
  PaintSession paint(window);
  BitBlt(paint.dc(), 0, 0, w, h, image.get(), 0, 0, SRCCOPY);
  return 0;
}

LRESULT PaintHeader(HWND window) noexcept {
  const WindowBounds b = BoundsOf(window);
  const SkinImages& images = Engine().images;
  OwnedMemoryDC image(CreateMemoryDC(b.width, b.height));
  // The middle column of the normal face is the background right of the items;
  // a lower header drops rows rather than ANDing them.
  SetStretchBltMode(image.get(), COLORONCOLOR);
  StretchBlt(image.get(), 0, 0, b.width, b.height, images.header, 1, 0, 1, kHeaderFaceHeight,
             SRCCOPY);
  const auto count = static_cast<int>(SendMessageW(window, HDM_GETITEMCOUNT, 0, 0));
  if (count > 0) {
    const LONG_PTR pressed = GetSkinProp(window, prop::kHeaderDownIndex);
    const LONG_PTR hot = GetSkinProp(window, prop::kHeaderHotIndex);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0));
    ScopedSelection useFont(image.get(), font);
    SetBkMode(image.get(), TRANSPARENT);
    SetTextColor(image.get(), kCaptionColour);
    for (int i = 0; i < count; ++i) {
      RECT item = {};
      SendMessageW(window, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      const VisualState face = i == pressed ? VisualState::Pressed
                               : i == hot   ? VisualState::Hot
                                            : VisualState::Normal;
      DrawHeaderItemFace(image.get(), window, i, face, item.left, item.right - item.left, b.height,
                         item.bottom);
    }
  }
  PaintSession paint(window);
  BitBlt(paint.dc(), 0, 0, b.width, b.height, image.get(), 0, 0, SRCCOPY);
  return 0;
}

}  // namespace

LRESULT OnSkinPaint(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                    LPARAM lParam) noexcept {
  switch (ClassifyWindow(window)) {
    case ControlKind::CommandButton:
      return PaintCommandButton(previous, window, message, wParam, lParam);
    case ControlKind::ComboBox:
      return PaintComboBox(previous, window, message, wParam, lParam);
    case ControlKind::DriveList: {
      const LRESULT result = PassOn(previous, window, message, wParam, lParam);
      FrameWithComboButton(window);
      return result;
    }
    case ControlKind::CheckBox: {
      const LRESULT result = PassOn(previous, window, message, wParam, lParam);
      PaintCheckBox(window, VisualState::Normal, true);
      return result;
    }
    case ControlKind::OptionButton: {
      const LRESULT result = PassOn(previous, window, message, wParam, lParam);
      PaintOptionButton(window, VisualState::Normal, true);
      return result;
    }
    case ControlKind::DataList:
    case ControlKind::ComboList: {
      const LRESULT result = PassOn(previous, window, message, wParam, lParam);
      BorrowedWindowDC dc(window);
      DrawTwoLineFrame(window, dc.get());
      return result;
    }
    case ControlKind::ProgressBar:
      return PaintProgressBar(window);
    case ControlKind::Header:
      return PaintHeader(window);
    case ControlKind::Grid: {
      const LRESULT result = PassOn(previous, window, message, wParam, lParam);
      if (GetWindowLongPtrW(window, GWL_STYLE) & WS_BORDER) {
        const WindowBounds b = BoundsOf(window);
        BorrowedWindowDC dc(window);
        FrameSolidRect(dc.get(), 0, 0, b.width, b.height, FrameColourFor(window));
      }
      return result;
    }
    default:
      return PassOn(previous, window, message, wParam, lParam);
  }
}

}  // namespace skin
