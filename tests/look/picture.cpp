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

template <typename T>
using Com = Microsoft::WRL::ComPtr<T>;

// COM for the calling thread, for as long as the object lives.
struct ComScope {
  const bool ok = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  ~ComScope() { if (ok) CoUninitialize(); }
};

bool Factory(Com<IWICImagingFactory>& factory) {
  return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(factory.GetAddressOf())));
}

int Channel(std::uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); }

bool Inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

}  // namespace

Picture Grab(HDC dc, int x, int y, int width, int height) {
  Picture picture;
  if (width <= 0 || height <= 0) return picture;
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory && bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, dc, x, y, SRCCOPY);
    GdiFlush();
    const auto* raw = static_cast<const std::uint32_t*>(bits);
    picture = {width, height, {raw, raw + static_cast<size_t>(width) * height}};
    for (auto& p : picture.rgb) p &= 0xFFFFFF;
    SelectObject(memory, old);
  }
  if (bitmap) DeleteObject(bitmap);
  if (memory) DeleteDC(memory);
  return picture;
}

bool LoadPng(const std::wstring& path, Picture& picture) {
  ComScope com;
  Com<IWICImagingFactory> factory;
  Com<IWICBitmapDecoder> decoder;
  Com<IWICBitmapFrameDecode> frame;
  Com<IWICFormatConverter> converter;
  UINT w = 0, h = 0;
  if (!Factory(factory) ||
      FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.GetAddressOf())) ||
      FAILED(decoder->GetFrame(0, frame.GetAddressOf())) || FAILED(factory->CreateFormatConverter(converter.GetAddressOf())) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                   nullptr, 0, WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&w, &h))) {
    return false;
  }
  std::vector<std::uint32_t> rgb(static_cast<size_t>(w) * h);
  if (FAILED(converter->CopyPixels(nullptr, w * 4, static_cast<UINT>(rgb.size() * 4),
                                   reinterpret_cast<BYTE*>(rgb.data())))) {
    return false;
  }
  for (auto& p : rgb) p &= 0xFFFFFF;
  picture = {static_cast<int>(w), static_cast<int>(h), std::move(rgb)};
  return true;
}

bool SavePng(const std::wstring& path, const Picture& picture) {
  ComScope com;
  Com<IWICImagingFactory> factory;
  Com<IWICStream> stream;
  Com<IWICBitmapEncoder> encoder;
  Com<IWICBitmapFrameEncode> frame;
  std::vector<BYTE> bgr;
  for (std::uint32_t p : picture.rgb) bgr.insert(bgr.end(), {BYTE(p), BYTE(p >> 8), BYTE(p >> 16)});
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  const auto w = static_cast<UINT>(picture.width), h = static_cast<UINT>(picture.height);
  return Factory(factory) && SUCCEEDED(factory->CreateStream(stream.GetAddressOf())) &&
         SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
         SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.GetAddressOf())) &&
         SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
         SUCCEEDED(encoder->CreateNewFrame(frame.GetAddressOf(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
         SUCCEEDED(frame->SetSize(w, h)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
         format == GUID_WICPixelFormat24bppBGR &&
         SUCCEEDED(frame->WritePixels(h, w * 3, static_cast<UINT>(bgr.size()), bgr.data())) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

RECT CentredTextZone(HWND window, const std::wstring& text, const RECT& area) {
  RECT extent = {0, 0, 0, 0};
  HDC dc = GetDC(window);
  if (!dc) return extent;
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)));
  DrawTextW(dc, text.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  const int x = (area.left + area.right - extent.right) / 2, y = (area.top + area.bottom - extent.bottom) / 2;
  return {x - 1, y - 1, x + extent.right + 2, y + extent.bottom + 2};
}

RECT ButtonCaptionZone(HWND button) {
  RECT r = {};
  GetWindowRect(button, &r);
  std::wstring caption(static_cast<size_t>(GetWindowTextLengthW(button)) + 1, L'\0');
  caption.resize(static_cast<size_t>(GetWindowTextW(button, caption.data(), static_cast<int>(caption.size()))));
  return CentredTextZone(button, caption, {2, 2, r.right - r.left - 2, r.bottom - r.top - 2});
}

RECT InWindow(HWND top, HWND child, RECT zone) {
  RECT t = {}, c = {};
  GetWindowRect(top, &t);
  GetWindowRect(child, &c);
  OffsetRect(&zone, c.left - t.left, c.top - t.top);
  return zone;
}

RECT WindowIn(HWND top, HWND child) {
  RECT c = {};
  GetWindowRect(child, &c);
  return InWindow(top, child, {0, 0, c.right - c.left, c.bottom - c.top});
}

bool Renewing() { return GetEnvironmentVariableW(L"CLIP_LOOK_RENEW", nullptr, 0) > 0; }

Difference Compare(const Picture& reference, const Picture& seen, const std::vector<RECT>& textZones) {
  const bool sameSize = reference.width == seen.width && reference.height == seen.height;
  Difference d = {0, std::vector<bool>(reference.rgb.size()), reference};
  for (size_t i = 0; i < reference.rgb.size(); ++i) {
    const int x = static_cast<int>(i % reference.width), y = static_cast<int>(i / reference.width);
    const bool text = std::any_of(textZones.begin(), textZones.end(), [&](const RECT& r) { return Inside(r, x, y); });
    // Differences in red on the reference washed three quarters towards
    // white, or towards pale yellow where text is drawn.
    int off = sameSize ? 0 : 256;
    std::uint32_t washed = 0;
    for (int shift : {0, 8, 16}) {
      const int was = Channel(reference.rgb[i], shift);
      if (sameSize) off = std::max(off, std::abs(was - Channel(seen.rgb[i], shift)));
      washed |= static_cast<std::uint32_t>((was + 3 * (text && shift == 0 ? 160 : 255)) / 4) << shift;
    }
    d.differs[i] = off > (text ? kTextTolerance : 0);
    d.pixels += d.differs[i];
    d.picture.rgb[i] = d.differs[i] ? 0xFF0000 : washed;
  }
  return d;
}

std::wstring DescribeIn(const Difference& difference, const RECT& area) {
  const size_t w = static_cast<size_t>(difference.picture.width);
  RECT box = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
  int pixels = 0;
  for (size_t i = 0; i < difference.differs.size(); ++i) {
    const LONG x = static_cast<LONG>(i % w), y = static_cast<LONG>(i / w);
    if (!difference.differs[i] || !Inside(area, x, y)) continue;
    ++pixels;
    box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
  }
  auto n = [](long v) { return std::to_wstring(v); };
  return pixels == 0 ? L"" : n(pixels) + L" pixels in " + n(box.left) + L" " + n(box.top) + L" " +
                                 n(box.right - box.left) + L" " + n(box.bottom - box.top);
}

}  // namespace look
