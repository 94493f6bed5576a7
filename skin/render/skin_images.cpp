#include "skin/render/skin_images.h"

#include "skin/render/image_pixels.h"
#include "skin/render/memory_dc.h"

namespace skin {
namespace {

// A memory surface holding the pixels, uploaded in one call.
HDC MakeSurface(const detail::PixelImage& image) noexcept {
  HDC dc = CreateMemoryDC(image.width, image.height);
  if (!dc) return nullptr;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(image.width), static_cast<DWORD>(image.height),
                    0, 0, 0, static_cast<UINT>(image.height), image.rgb.data(), &info,
                    DIB_RGB_COLORS);
  return dc;
}

template <typename Build>
HDC MakeImage(Build build) noexcept {
  try {
    return MakeSurface(build());
  } catch (...) {
    return nullptr;
  }
}

void DeleteSurface(HDC& dc) noexcept {
  DeleteMemoryDC(dc);
  dc = nullptr;
}

}  // namespace

SkinImages BuildSkinImages() noexcept {
  SkinImages images;
  images.buttonFace = MakeImage(detail::ButtonFacePixels);
  images.comboButton = MakeImage(detail::ComboButtonPixels);
  images.mark = MakeImage(detail::MarkPixels);
  images.optionFace = MakeImage(detail::OptionFacePixels);
  images.header = MakeImage(detail::HeaderPixels);
  return images;
}

void ReleaseSkinImages(SkinImages& images) noexcept {
  DeleteSurface(images.buttonFace);
  DeleteSurface(images.comboButton);
  DeleteSurface(images.mark);
  DeleteSurface(images.optionFace);
  DeleteSurface(images.header);
}

}  // namespace skin
