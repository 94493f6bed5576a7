#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "skin/render/caption_text.h"
#include "skin/render/rect_primitives.h"
#include "skin/render/window_bounds.h"
#include "surface_helpers.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

// A font that has CJK glyphs under the test locale.
class TestFont {
 public:
  TestFont()
      : font_(CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                          DEFAULT_PITCH, L"WenQuanYi Micro Hei")) {}
  ~TestFont() { DeleteObject(font_); }
  HFONT get() const { return font_; }

 private:
  HFONT font_;
};

// A white text surface with the test font, black text, transparent background.
class TextSurface : public TestSurface {
 public:
  TextSurface(int width, int height) : TestSurface(width, height, kWhite) {
    previousFont_ = SelectObject(dc(), font_.get());
    SetBkMode(dc(), TRANSPARENT);
    SetTextColor(dc(), RGB(0, 0, 0));
  }
  ~TextSurface() { SelectObject(dc(), previousFont_); }
  std::vector<COLORREF> Pixels() const { return ReadBlock(dc(), 0, 0, width(), height()); }
  void Clear() { skin::FillSolidRect(dc(), 0, 0, width(), height(), kWhite); }

 private:
  TestFont font_;
  HGDIOBJ previousFont_;
};

// Text drawn centred without ellipsis or prefix handling.
std::vector<COLORREF> PlainText(TextSurface& surface, const std::wstring& text) {
  surface.Clear();
  RECT rect{0, 0, surface.width(), surface.height()};
  DrawTextW(surface.dc(), text.c_str(), -1, &rect,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  return surface.Pixels();
}

// True when drawing `text` with the caption format looks exactly like some
// shorter prefix of it followed by "...".
bool EndsInEllipsis(const std::wstring& text, int width) {
  TextSurface surface(width, 24);
  skin::DrawCaptionText(surface.dc(), text, 0, 0, width, 24);
  const std::vector<COLORREF> drawn = surface.Pixels();
  for (size_t keep = 0; keep < text.size(); ++keep) {
    if (PlainText(surface, text.substr(0, keep) + L"...") == drawn) return true;
  }
  return false;
}

bool IsInk(COLORREF colour) { return colour != kWhite; }

}  // namespace

TEST(SkinRectPrimitives, FillCoversExactlyTheRectangle) {
  TestSurface surface(10, 10, kWhite);
  EXPECT_NE(skin::FillSolidRect(surface.dc(), 2, 3, 4, 5, kRed), 0);
  EXPECT_EQ(surface.At(2, 3), kRed);
  EXPECT_EQ(surface.At(5, 7), kRed);
  EXPECT_EQ(surface.At(6, 7), kWhite);
  EXPECT_EQ(surface.At(5, 8), kWhite);
  EXPECT_EQ(surface.At(1, 3), kWhite);
  EXPECT_EQ(surface.At(2, 2), kWhite);
}

TEST(SkinRectPrimitives, FrameIsOnePixelInsideTheRectangle) {
  TestSurface surface(10, 10, kWhite);
  const COLORREF frame = 0x00D5A554;
  EXPECT_NE(skin::FrameSolidRect(surface.dc(), 1, 1, 6, 5, frame), 0);
  EXPECT_EQ(surface.At(1, 1), frame);
  EXPECT_EQ(surface.At(6, 1), frame);
  EXPECT_EQ(surface.At(1, 5), frame);
  EXPECT_EQ(surface.At(6, 5), frame);
  EXPECT_EQ(surface.At(3, 1), frame);
  EXPECT_EQ(surface.At(2, 2), kWhite);
  EXPECT_EQ(surface.At(5, 4), kWhite);
  EXPECT_EQ(surface.At(7, 1), kWhite);
  EXPECT_EQ(surface.At(1, 6), kWhite);
}

TEST(SkinRectPrimitives, FocusFrameDrawnTwiceLeavesNoTrace) {
  TestSurface surface(20, 12, kWhite);
  const std::vector<COLORREF> before = ReadBlock(surface.dc(), 0, 0, 20, 12);
  EXPECT_TRUE(skin::DrawFocusFrame(surface.dc(), 2, 2, 16, 8));
  const std::vector<COLORREF> once = ReadBlock(surface.dc(), 0, 0, 20, 12);
  EXPECT_NE(once, before);
  EXPECT_EQ(surface.At(10, 6), kWhite);  // inside stays
  EXPECT_EQ(surface.At(1, 1), kWhite);   // outside stays
  EXPECT_TRUE(skin::DrawFocusFrame(surface.dc(), 2, 2, 16, 8));
  EXPECT_EQ(ReadBlock(surface.dc(), 0, 0, 20, 12), before);
}

TEST(SkinWindowBounds, WindowRectangleWithSize) {
  HWND window = CreateWindowExW(0, L"STATIC", L"朔禾剪贴板 V1.3", WS_CHILD, 10, 20, 80, 24,
                                HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr) << GetLastError();
  skin::WindowBounds bounds;
  EXPECT_TRUE(skin::GetWindowBounds(window, bounds));
  EXPECT_EQ(bounds.left, 10);
  EXPECT_EQ(bounds.top, 20);
  EXPECT_EQ(bounds.right, 90);
  EXPECT_EQ(bounds.bottom, 44);
  EXPECT_EQ(bounds.width, 80);
  EXPECT_EQ(bounds.height, 24);
  EXPECT_EQ(skin::GetWindowCaption(window), L"朔禾剪贴板 V1.3");
  SetWindowTextW(window, L"");
  EXPECT_EQ(skin::GetWindowCaption(window), L"");
  DestroyWindow(window);

  EXPECT_FALSE(skin::GetWindowBounds(window, bounds));
  EXPECT_EQ(bounds.width, 0);
  EXPECT_EQ(bounds.height, 0);
  EXPECT_EQ(skin::GetWindowCaption(window), L"");
}

TEST(SkinCaptionText, FitsCentredAndUnchangedWhenItFits) {
  TextSurface surface(120, 24);
  EXPECT_GT(skin::DrawCaptionText(surface.dc(), L"OK", 0, 0, 120, 24), 0);
  const std::vector<COLORREF> drawn = surface.Pixels();
  EXPECT_EQ(drawn, PlainText(surface, L"OK"));
  // Centred: ink on both sides of the middle, none near the edges.
  int minX = 120, maxX = -1;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 120; ++x) {
      if (IsInk(drawn[static_cast<size_t>(y) * 120 + x])) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
      }
    }
  }
  ASSERT_GE(maxX, 0);
  EXPECT_LT(minX, 60);
  EXPECT_GT(maxX, 60);
  EXPECT_GT(minX, 30);
  EXPECT_LT(maxX, 90);
}

TEST(SkinCaptionText, TooWideTextEndsInEllipsis) {
  EXPECT_TRUE(EndsInEllipsis(L"Assign the clipboard text to this slot", 60));
  EXPECT_TRUE(EndsInEllipsis(L"提示：Alt+数字键赋值，Ctrl+数字键取值", 70));
  // Control: a caption that fits is not shortened.
  EXPECT_FALSE(EndsInEllipsis(L"OK", 120));
}

TEST(SkinCaptionText, ChineseGlyphsAreDrawnDistinctly) {
  TextSurface surface(80, 24);
  skin::DrawCaptionText(surface.dc(), L"赋值", 0, 0, 80, 24);
  const std::vector<COLORREF> assign = surface.Pixels();
  surface.Clear();
  skin::DrawCaptionText(surface.dc(), L"清除", 0, 0, 80, 24);
  const std::vector<COLORREF> clear = surface.Pixels();
  EXPECT_TRUE(std::any_of(assign.begin(), assign.end(), IsInk));
  EXPECT_NE(assign, clear);
}

TEST(SkinCaptionText, AmpersandUnderlinesTheNextLetter) {
  TextSurface surface(100, 24);
  skin::DrawCaptionText(surface.dc(), L"&Save", 0, 0, 100, 24);
  const std::vector<COLORREF> mnemonic = surface.Pixels();
  const std::vector<COLORREF> plain = PlainText(surface, L"Save");
  const std::vector<COLORREF> literal = PlainText(surface, L"&Save");
  EXPECT_NE(mnemonic, literal);

  // Every pixel of the plain word is there; the extra ones form the underline
  // below the glyphs, under the first letter.
  int plainLeft = 100, plainBottom = -1;
  std::vector<POINT> extra;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 100; ++x) {
      const size_t i = static_cast<size_t>(y) * 100 + x;
      if (IsInk(plain[i])) {
        EXPECT_TRUE(IsInk(mnemonic[i])) << x << "," << y;
        plainLeft = std::min(plainLeft, x);
        plainBottom = std::max(plainBottom, y);
      } else if (IsInk(mnemonic[i])) {
        extra.push_back(POINT{x, y});
      }
    }
  }
  ASSERT_FALSE(extra.empty());
  SIZE letter = {};
  GetTextExtentPoint32W(surface.dc(), L"S", 1, &letter);
  for (const POINT& p : extra) {
    EXPECT_GT(p.y, plainBottom - 2) << p.x << "," << p.y;
    EXPECT_GE(p.x, plainLeft - 2);
    EXPECT_LE(p.x, plainLeft + letter.cx + 1);
  }
}
