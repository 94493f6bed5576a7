#include "skin/render/header_item_painter.h"

#include <commctrl.h>

#include <array>

#include "skin/core/engine_state.h"
#include "skin/render/caption_text.h"
#include "skin/render/gdi_handles.h"
#include "skin/render/memory_dc.h"
#include "skin/render/stretch_skin_image.h"
#include "skin/render/target_surface.h"
#include "skin/render/window_bounds.h"

namespace skin {

std::wstring HeaderItemText(HWND header, int index) {
  // The buffer's true size goes into cchTextMax, so the control can never
  // write past its end.
  std::array<wchar_t, 256> buffer = {};
  HDITEMW item = {};
  item.mask = HDI_TEXT;
  item.pszText = buffer.data();
  item.cchTextMax = static_cast<int>(buffer.size());
  SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  buffer.back() = L'\0';
  // A control may hand back its own text pointer instead of filling ours.
  const wchar_t* text = item.pszText && item.pszText != LPSTR_TEXTCALLBACKW ? item.pszText : L"";
  return std::wstring(text).substr(0, buffer.size() - 1);
}

int HeaderFaceX(VisualState state) noexcept {
  switch (state) {
    case VisualState::Hot:
      return kHeaderFaceWidth;
    case VisualState::Pressed:
      return 2 * kHeaderFaceWidth;
    default:
      return 0;
  }
}

void DrawHeaderItemFace(HDC surface, HWND header, int index, VisualState state, int x, int width,
                        int faceHeight, int textHeight) noexcept {
  StretchSkinImage(surface, {x, 0, width, faceHeight}, Engine().images.header,
                   {HeaderFaceX(state), 0, kHeaderFaceWidth, kHeaderFaceHeight}, {1, 1, 1, 1});
  std::wstring text;
  try {
    text = HeaderItemText(header, index);
  } catch (...) {
  }
  if (!text.empty()) DrawCaptionText(surface, text, x, 0, width, textHeight);
}

int PaintHeaderItem(HWND window, HDC surface, int index, VisualState state) noexcept {
  if (index < 0) return 0;
  WindowBounds bounds;
  GetWindowBounds(window, bounds);
  RECT item = {};
  SendMessageW(window, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  const int iw = item.right - item.left;
  const int ih = item.bottom - item.top;
  if (iw <= 0 || bounds.height <= 0) return 0;

  OwnedMemoryDC face(CreateMemoryDC(iw, bounds.height));
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0));
  ScopedSelection useFont(face.get(), font);
  SetBkMode(face.get(), TRANSPARENT);
  DrawHeaderItemFace(face.get(), window, index, state, 0, iw, bounds.height, bounds.height);

  TargetSurface target(window, surface);
  BitBlt(target.get(), item.left, 0, iw, ih, face.get(), 0, 0, SRCCOPY);
  return 0;
}

}  // namespace skin
