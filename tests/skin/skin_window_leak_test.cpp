// Thousands of attach/detach and resize cycles release everything they make,
// and the windows still paint right afterwards.
#include <gtest/gtest.h>

#include "skin/clsSkinner.h"
#include "skin/core/engine_state.h"
#include "skin/core/window_props.h"
#include "skin/render/gdi_handles.h"
#include "skin_test_form.h"

namespace {

constexpr COLORREF kButtonBorder = 0x00D58F1B;
constexpr COLORREF kFrame = 0x00D5A554;

TEST(SkinWindowLeaks, AttachDetachCyclesReleaseEverything) {
  SkinTestForm ui;
  ASSERT_NE(ui.form, nullptr);
  skin::clsSkinner skinner;
  const long start = skin::LiveGdiObjects();
  const int windows = static_cast<int>(ui.AllWindows().size());
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(skinner.AttachSkin(ui.form), 1) << i;
    ASSERT_EQ(skin::Engine().skinnedWindowCount, windows) << i;
    if (i % 100 == 0) PumpAndPaint(ui.form);
    ASSERT_EQ(skinner.DetachSkin(ui.form), 1) << i;
    ASSERT_EQ(skin::Engine().skinnedWindowCount, 0) << i;
    ASSERT_EQ(skin::Engine().images.buttonFace, nullptr) << i;
  }
  EXPECT_EQ(skin::LiveGdiObjects(), start);

  ASSERT_EQ(skinner.AttachSkin(ui.form), 1);
  PumpAndPaint(ui.form);
  EXPECT_EQ(WindowPixels(ui.pushButton).At(0, 11), kButtonBorder);
  EXPECT_EQ(WindowPixels(ui.sunkenEdit).At(0, 12), kFrame);
  EXPECT_EQ(skinner.DetachSkin(ui.form), 1);
  EXPECT_EQ(skin::LiveGdiObjects(), start);
}

TEST(SkinWindowLeaks, ResizeAndRepaintCyclesKeepTheCount) {
  SkinTestForm ui;
  ASSERT_NE(ui.form, nullptr);
  skin::clsSkinner skinner;
  ASSERT_EQ(skinner.AttachSkin(ui.form), 1);
  PumpAndPaint(ui.form);
  const long attached = skin::LiveGdiObjects();
  for (int i = 0; i < 2000; ++i) {
    const int width = 60 + i % 40;
    SetWindowPos(ui.pushButton, nullptr, 0, 0, width, 23 + i % 7, SWP_NOMOVE | SWP_NOZORDER);
    RedrawWindow(ui.pushButton, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    RedrawWindow(ui.progressBar, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    RedrawWindow(ui.header, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RedrawWindow(ui.listCombo, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RedrawWindow(ui.checkBox, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_EQ(skin::LiveGdiObjects(), attached) << i;
  }
  SetWindowPos(ui.pushButton, nullptr, 0, 0, 90, 27, SWP_NOMOVE | SWP_NOZORDER);
  PumpAndPaint(ui.form);
  WindowPixels button(ui.pushButton);
  EXPECT_EQ(button.At(0, 13), kButtonBorder);
  EXPECT_EQ(button.At(45, 26), kButtonBorder);
  EXPECT_EQ(WindowPixels(ui.progressBar).At(0, 0), kFrame);
  ASSERT_EQ(skinner.DetachSkin(ui.form), 1);
  EXPECT_EQ(skin::LiveGdiObjects(), attached - 8 * 3);
}

}  // namespace
