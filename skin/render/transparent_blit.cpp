#include "skin/render/transparent_blit.h"

#include <ole2.h>
#include <olectl.h>

#include "skin/render/gdi_handles.h"
#include "skin/render/memory_dc.h"
#include "skin/render/skin_colours.h"

namespace skin {
namespace {

constexpr DWORD kDestAndNotSource = 0x00220326;
constexpr COLORREF kBlack = 0x00000000;

}  // namespace

void TransparentBlit(HDC dest, int dx, int dy, int width, int height, HDC source, int sx, int sy,
                     COLORREF key, HPALETTE palette) noexcept {
  if (width <= 0 || height <= 0) return;
  OwnedDC display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
  OwnedPalette halftone;
  if (!palette) {
    halftone.reset(CreateHalftonePalette(display.get()));
    palette = halftone.get();
  }
  COLORREF resolved = 0;
  if (FAILED(OleTranslateColor(key, palette, &resolved))) {
    BitBlt(dest, dx, dy, width, height, source, sx, sy, SRCCOPY);
    return;
  }
  resolved &= 0x00FFFFFF;

  // What is on the destination now.
  OwnedMemoryDC back(CreateMemoryDC(width, height));
  ScopedPalette backPalette(back.get(), palette, false);
  BitBlt(back.get(), 0, 0, width, height, dest, dx, dy, SRCCOPY);

  // A copy of the source block.
  OwnedMemoryDC copy(CreateMemoryDC(width, height));
  ScopedPalette copyPalette(copy.get(), palette, true);
  SetBkColor(copy.get(), GetBkColor(source));
  SetTextColor(copy.get(), GetTextColor(source));
  BitBlt(copy.get(), 0, 0, width, height, source, sx, sy, SRCCOPY);

  // Monochrome mask: white where the key colour is.
  OwnedDC mask(CreateCompatibleDC(display.get()));
  OwnedBitmap maskBitmap(CreateBitmap(width, height, 1, 1, nullptr));
  ScopedSelection maskSelection(mask.get(), maskBitmap.get());
  SetBkColor(copy.get(), resolved);
  SetTextColor(copy.get(), kWhite);
  BitBlt(mask.get(), 0, 0, width, height, copy.get(), 0, 0, SRCCOPY);

  // Key pixels of the copy become black; the destination copy keeps only them.
  SetTextColor(copy.get(), kBlack);
  SetBkColor(copy.get(), kWhite);
  BitBlt(copy.get(), 0, 0, width, height, mask.get(), 0, 0, kDestAndNotSource);
  BitBlt(back.get(), 0, 0, width, height, mask.get(), 0, 0, SRCAND);
  BitBlt(back.get(), 0, 0, width, height, copy.get(), 0, 0, SRCPAINT);
  BitBlt(dest, dx, dy, width, height, back.get(), 0, 0, SRCCOPY);
}

}  // namespace skin
