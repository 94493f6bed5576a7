#include "tests/look/picture.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdlib>

namespace look {
namespace {

// Wine smooths glyph edges with FreeType's grey-scale anti-aliasing; their
// grey levels follow the FreeType build and its gamma, which a freshly set-up
// machine may have in another point release. Where text is drawn a channel
// may therefore be off by this much; nothing else is smoothed, and everywhere
// else every pixel must match exactly. A colour that is clearly wrong (a
// label in green instead of dark red) differs by far more at the glyph cores.
constexpr int kTextTolerance = 32;
constexpr std::uint32_t kRed = 0xFF0000;  // a differing pixel (no washed one is this red)

template <typename T>
using Com = Microsoft::WRL::ComPtr<T>;

// The imaging factory, with COM for the calling thread for as long as it lives.
struct Wic {
  const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  Com<IWICImagingFactory> factory;
  const bool ok = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)));
  ~Wic() { if (factory.Reset(), com) CoUninitialize(); }
};

int Off(std::uint32_t a, std::uint32_t b) {  // the largest difference of a channel
  auto channel = [](std::uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); };
  return std::max({std::abs(channel(a, 0) - channel(b, 0)), std::abs(channel(a, 8) - channel(b, 8)),
                   std::abs(channel(a, 16) - channel(b, 16))});
}

}  // namespace

Picture Grab(HDC dc, int x, int y, int width, int height) {
  BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
  void* bits = nullptr;
  HBITMAP bitmap = width > 0 && height > 0 ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  if (!bitmap) return {};
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, dc, x, y, SRCCOPY);
  GdiFlush();
  const auto* raw = static_cast<const std::uint32_t*>(bits);
  Picture picture = {width, height, {raw, raw + static_cast<size_t>(width) * height}};
  for (auto& p : picture.rgb) p &= 0xFFFFFF;
  SelectObject(memory, old), DeleteObject(bitmap), DeleteDC(memory);
  return picture;
}

bool LoadPng(const std::wstring& path, Picture& picture) {
  Wic wic;
  Com<IWICBitmapDecoder> decoder;
  Com<IWICBitmapFrameDecode> frame;
  Com<IWICBitmapSource> bgr;
  UINT w = 0, h = 0;
  if (!wic.ok || FAILED(wic.factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                               WICDecodeMetadataCacheOnDemand, &decoder)) ||
      FAILED(decoder->GetFrame(0, &frame)) || FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame.Get(), &bgr)) ||
      FAILED(bgr->GetSize(&w, &h))) {
    return false;
  }
  std::vector<std::uint32_t> rgb(static_cast<size_t>(w) * h);
  if (FAILED(bgr->CopyPixels(nullptr, w * 4, w * h * 4, reinterpret_cast<BYTE*>(rgb.data())))) return false;
  for (auto& p : rgb) p &= 0xFFFFFF;
  return picture = {static_cast<int>(w), static_cast<int>(h), std::move(rgb)}, true;
}

bool SavePng(const std::wstring& path, const Picture& picture) {
  Wic wic;
  Com<IWICBitmap> bitmap;
  Com<IWICStream> stream;
  Com<IWICBitmapEncoder> encoder;
  Com<IWICBitmapFrameEncode> frame;
  auto* pixels = reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(picture.rgb.data()));  // copied by WIC
  const auto w = static_cast<UINT>(picture.width), h = static_cast<UINT>(picture.height);
  return wic.ok && SUCCEEDED(wic.factory->CreateBitmapFromMemory(w, h, GUID_WICPixelFormat32bppBGR, w * 4, w * h * 4, pixels, &bitmap)) &&
         SUCCEEDED(wic.factory->CreateStream(&stream)) && SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
         SUCCEEDED(wic.factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
         SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
         SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) && SUCCEEDED(frame->SetSize(w, h)) &&
         SUCCEEDED(frame->WriteSource(bitmap.Get(), nullptr)) && SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

RECT CentredTextZone(HWND window, const std::wstring& text, const RECT& area) {
  RECT extent = {0, 0, 0, 0};
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)));
  DrawTextW(dc, text.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old), ReleaseDC(window, dc);
  const int x = (area.left + area.right - extent.right) / 2, y = (area.top + area.bottom - extent.bottom) / 2;
  return {x - 1, y - 1, x + extent.right + 2, y + extent.bottom + 2};
}

RECT ButtonCaptionZone(HWND button) {
  RECT r = {};
  GetWindowRect(button, &r);
  wchar_t caption[256] = {};
  GetWindowTextW(button, caption, 256);
  return CentredTextZone(button, caption, {2, 2, r.right - r.left - 2, r.bottom - r.top - 2});
}

RECT InWindow(HWND top, HWND child, RECT zone) {
  RECT t = {}, c = {};
  GetWindowRect(top, &t), GetWindowRect(child, &c);
  OffsetRect(&zone, c.left - t.left, c.top - t.top);
  return zone;
}

RECT WindowIn(HWND top, HWND child) {
  RECT c = {};
  GetWindowRect(child, &c);
  return InWindow(top, child, {0, 0, c.right - c.left, c.bottom - c.top});
}

Difference Compare(const Picture& reference, const Picture& seen, const std::vector<RECT>& textZones) {
  const bool sameSize = reference.width == seen.width && reference.height == seen.height;
  Difference d = {0, reference};
  for (size_t i = 0; i < reference.rgb.size(); ++i) {
    const int x = static_cast<int>(i % reference.width), y = static_cast<int>(i / reference.width);
    const bool text = std::any_of(textZones.begin(), textZones.end(), [&](const RECT& r) { return PtInRect(&r, {x, y}); });
    const bool differs = (sameSize ? Off(reference.rgb[i], seen.rgb[i]) : 256) > (text ? kTextTolerance : 0);
    d.pixels += differs;
    // Each channel washed three quarters towards white (blue towards 120 where text is drawn).
    d.picture.rgb[i] = differs ? kRed : (reference.rgb[i] >> 2 & 0x3F3F3F) + (text ? 0xBFBF78 : 0xBFBFBF);
  }
  return d;
}

std::wstring DescribeIn(const Difference& difference, const RECT& area) {
  const Picture& p = difference.picture;
  RECT box = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
  int pixels = 0;
  for (size_t i = 0; i < p.rgb.size(); ++i) {
    const LONG x = static_cast<LONG>(i % p.width), y = static_cast<LONG>(i / p.width);
    if (p.rgb[i] != kRed || !PtInRect(&area, {x, y})) continue;
    ++pixels;
    box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
  }
  auto n = [](long v) { return std::to_wstring(v); };
  return pixels == 0 ? L"" : n(pixels) + L" pixels in " + n(box.left) + L" " + n(box.top) + L" " +
                                 n(box.right - box.left) + L" " + n(box.bottom - box.top);
}

}  // namespace look
