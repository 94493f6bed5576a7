#include "skin/render/stretch_skin_image.h"

#include <algorithm>

#include "skin/render/gdi_handles.h"
#include "skin/render/memory_dc.h"
#include "skin/render/transparent_blit.h"

namespace skin {
namespace {

struct Span {
  int lead;
  int trail;
};

// Margins that fit in `extent`: shrunk in proportion when they do not.
Span FitMargins(int lead, int trail, int extent) noexcept {
  lead = std::max(lead, 0);
  trail = std::max(trail, 0);
  if (lead + trail <= extent) return {lead, trail};
  const int fittedLead = static_cast<int>(static_cast<long long>(extent) * lead / (lead + trail));
  return {fittedLead, extent - fittedLead};
}

// One piece; pieces with an empty side are skipped rather than mirrored.
void DrawPiece(HDC target, const PixelRect& to, HDC image, const PixelRect& from) noexcept {
  if (to.width <= 0 || to.height <= 0 || from.width <= 0 || from.height <= 0) return;
  if (to.width == from.width && to.height == from.height) {
    BitBlt(target, to.x, to.y, to.width, to.height, image, from.x, from.y, SRCCOPY);
  } else {
    StretchBlt(target, to.x, to.y, to.width, to.height, image, from.x, from.y, from.width,
               from.height, SRCCOPY);
  }
}

}  // namespace

int StretchSkinImage(HDC dest, const PixelRect& to, HDC image, const PixelRect& from,
                     const Margins& margins, std::optional<COLORREF> key) noexcept {
  if (to.width <= 0 || to.height <= 0 || from.width <= 0 || from.height <= 0) return 0;

  OwnedMemoryDC canvas(CreateMemoryDC(to.width, to.height));
  // Pixels dropped when shrinking are discarded, not ANDed together.
  SetStretchBltMode(canvas.get(), COLORONCOLOR);

  const int dw = to.width, dh = to.height;
  const int sx = from.x, sy = from.y, sw = from.width, sh = from.height;
  const int left = std::max(margins.left, 0), right = std::max(margins.right, 0);
  const int top = std::max(margins.top, 0), bottom = std::max(margins.bottom, 0);
  const Span h = FitMargins(left, right, dw);
  const Span v = FitMargins(top, bottom, dh);
  const int midW = dw - h.lead - h.trail, midH = dh - v.lead - v.trail;
  const int srcMidW = sw - left - right, srcMidH = sh - top - bottom;
  const HDC c = canvas.get();

  // Corners.
  DrawPiece(c, {0, 0, h.lead, v.lead}, image, {sx, sy, h.lead, v.lead});
  DrawPiece(c, {dw - h.trail, 0, h.trail, v.lead}, image, {sx + sw - h.trail, sy, h.trail, v.lead});
  DrawPiece(c, {0, dh - v.trail, h.lead, v.trail}, image, {sx, sy + sh - v.trail, h.lead, v.trail});
  DrawPiece(c, {dw - h.trail, dh - v.trail, h.trail, v.trail}, image,
            {sx + sw - h.trail, sy + sh - v.trail, h.trail, v.trail});
  // Left, right, top and bottom edges.
  DrawPiece(c, {0, v.lead, h.lead, midH}, image, {sx, sy + top, h.lead, srcMidH});
  DrawPiece(c, {dw - h.trail, v.lead, h.trail, midH}, image,
            {sx + sw - h.trail, sy + top, h.trail, srcMidH});
  DrawPiece(c, {h.lead, 0, midW, v.lead}, image, {sx + left, sy, srcMidW, v.lead});
  DrawPiece(c, {h.lead, dh - v.trail, midW, v.trail}, image,
            {sx + left, sy + sh - v.trail, srcMidW, v.trail});
  // Centre.
  DrawPiece(c, {h.lead, v.lead, midW, midH}, image, {sx + left, sy + top, srcMidW, srcMidH});

  if (key) {
    TransparentBlit(dest, to.x, to.y, dw, dh, c, 0, 0, *key);
    return 1;
  }
  return BitBlt(dest, to.x, to.y, dw, dh, c, 0, 0, SRCCOPY);
}

}  // namespace skin
