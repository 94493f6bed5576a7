// Prints per-call times of the skin images build and of the drawing
// primitives on button-sized pieces, beside a plain BitBlt of the same size.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "skin/render/memory_dc.h"
#include "skin/render/skin_images.h"
#include "skin/render/stretch_skin_image.h"
#include "skin/render/transparent_blit.h"

namespace {

constexpr int kWidth = 75;
constexpr int kHeight = 23;

template <typename Body>
void Measure(const char* name, int iterations, Body body) {
  body();  // warm-up
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < iterations; ++i) body();
  const auto elapsed = std::chrono::steady_clock::now() - start;
  const double micros = std::chrono::duration<double, std::micro>(elapsed).count() / iterations;
  std::printf("%-48s %10.2f us/call  (%d calls)\n", name, micros, iterations);
}

}  // namespace

int main() {
  skin::SkinImages images = skin::BuildSkinImages();
  HDC dest = skin::CreateMemoryDC(kWidth, kHeight);
  HDC piece = skin::CreateMemoryDC(kWidth, kHeight);
  skin::StretchSkinImage(piece, {0, 0, kWidth, kHeight}, images.buttonFace, {0, 0, 7, 21},
                         {3, 3, 3, 3});
  // Magenta corners, as in a keyed face.
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3 - y; ++x) SetPixelV(piece, x, y, skin::TransparentKey);
  }

  std::printf("skin primitives, %d x %d destination\n", kWidth, kHeight);
  Measure("BuildSkinImages + ReleaseSkinImages (5 images)", 500, [] {
    skin::SkinImages built = skin::BuildSkinImages();
    skin::ReleaseSkinImages(built);
  });
  Measure("BitBlt (floor)", 20000,
          [&] { BitBlt(dest, 0, 0, kWidth, kHeight, piece, 0, 0, SRCCOPY); });
  Measure("StretchSkinImage button face, no key", 5000, [&] {
    skin::StretchSkinImage(dest, {0, 0, kWidth, kHeight}, images.buttonFace, {0, 21, 7, 21},
                           {3, 3, 3, 3});
  });
  Measure("StretchSkinImage button face, keyed", 5000, [&] {
    skin::StretchSkinImage(dest, {0, 0, kWidth, kHeight}, images.buttonFace, {0, 21, 7, 21},
                           {3, 3, 3, 3}, skin::TransparentKey);
  });
  Measure("TransparentBlit", 5000, [&] {
    skin::TransparentBlit(dest, 0, 0, kWidth, kHeight, piece, 0, 0, skin::TransparentKey);
  });
  Measure("TransparentBlit, 9 x 8 check mark", 5000, [&] {
    skin::TransparentBlit(dest, 2, 2, 9, 8, images.mark, 0, 0, skin::TransparentKey);
  });

  DeleteDC(piece);
  DeleteDC(dest);
  skin::ReleaseSkinImages(images);
  return 0;
}
