// Events of a form and its controls, delivered through real windows.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "forms/app.h"
#include "forms/command_button.h"
#include "forms/form.h"
#include "forms/label.h"
#include "forms/picture_box.h"
#include "forms/runtime_error.h"
#include "forms/text_box.h"

namespace {

struct Report {
  long number;
  std::wstring description;
};

class FormEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::App::SetErrorReporterForTesting(
        [this](long number, const std::wstring& description) {
          reports.push_back({number, description});
        });
  }
  void TearDown() override { forms::App::RestoreDefaultErrorReporter(); }

  std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64]{};
    GetClassNameW(hwnd, name, 64);
    return name;
  }

  std::vector<Report> reports;
};

TEST_F(FormEvents, ClassNamesAndStyles) {
  forms::Form form(L"朔禾");
  forms::TextBox box(form, 1, {300, 150, 1815, 315}, {true});
  forms::CommandButton button(form, 2, {2220, 120, 615, 315}, L"赋值");
  forms::Label label(form, 3, {120, 210, 180, 180}, L"1:");
  forms::PictureBox picture(form, 4, {1140, 1320, 615, 555}, false);

  EXPECT_EQ(ClassOf(form.hwnd()), L"ThunderRT6FormDC");
  EXPECT_EQ(ClassOf(box.hwnd()), L"Edit");
  EXPECT_EQ(ClassOf(label.hwnd()), L"Static");
  EXPECT_EQ(ClassOf(picture.hwnd()), L"ThunderRT6PictureBoxDC");
  EXPECT_EQ(_wcsicmp(ClassOf(button.hwnd()).c_str(), L"Button"), 0);
  LONG_PTR boxStyle = GetWindowLongPtrW(box.hwnd(), GWL_STYLE);
  EXPECT_TRUE(boxStyle & ES_MULTILINE);
  EXPECT_TRUE(boxStyle & WS_VSCROLL);
  EXPECT_TRUE(GetWindowLongPtrW(box.hwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(GetWindowLongPtrW(button.hwnd(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  EXPECT_FALSE(picture.Visible());
  EXPECT_EQ(button.Caption(), L"赋值");
  // The label sizes itself to its text.
  EXPECT_GT(label.Width(), 0);
  EXPECT_GT(label.Height(), 0);
  EXPECT_LT(label.Width(), 600);
}

TEST_F(FormEvents, ChangeFollowsCodeAndTypingWithoutLosingCharacters) {
  forms::Form form(L"f");
  forms::TextBox box(form, 1, {300, 150, 1815, 270});
  std::vector<std::wstring> seen;
  box.OnChange = [&] { seen.push_back(box.Text()); };

  const std::wstring text = L"中文 \U0001F600 é";
  box.SetText(text);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), text);
  EXPECT_EQ(box.Text(), text);

  box.SetText(L"");
  seen.clear();
  SendMessageW(box.hwnd(), WM_CHAR, L'剪', 1);
  SendMessageW(box.hwnd(), WM_CHAR, 0xD83D, 1);
  SendMessageW(box.hwnd(), WM_CHAR, 0xDE00, 1);
  EXPECT_EQ(box.Text(), L"剪\U0001F600");
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen.front(), L"剪");
  EXPECT_EQ(seen.back(), box.Text());
}

TEST_F(FormEvents, UnloadRunsOnceOnClose) {
  forms::Form form(L"f");
  int unloads = 0;
  form.OnUnload = [&] { ++unloads; };
  HWND hwnd = form.hwnd();
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(unloads, 1);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(form.hwnd(), nullptr);
  form.Close();
  EXPECT_EQ(unloads, 1);
}

TEST_F(FormEvents, UnloadRunsOnceWhenTheSessionEnds) {
  forms::Form form(L"f");
  int unloads = 0;
  form.OnUnload = [&] { ++unloads; };
  HWND hwnd = form.hwnd();
  EXPECT_TRUE(SendMessageW(hwnd, WM_QUERYENDSESSION, 0, 0));
  EXPECT_EQ(unloads, 0);
  // A cancelled session end changes nothing.
  SendMessageW(hwnd, WM_ENDSESSION, FALSE, 0);
  EXPECT_EQ(unloads, 0);
  EXPECT_TRUE(IsWindow(hwnd));
  SendMessageW(hwnd, WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(unloads, 1);
  EXPECT_FALSE(IsWindow(hwnd));
}

WNDPROC g_previous = nullptr;
int g_subclassCalls = 0;
LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ++g_subclassCalls;
  return CallWindowProcW(g_previous, hwnd, message, wParam, lParam);
}

TEST_F(FormEvents, EventsStillArriveBehindASubclass) {
  forms::Form form(L"f");
  forms::CommandButton button(form, 7, {0, 0, 615, 315}, L"b");
  int clicks = 0, unloads = 0;
  button.OnClick = [&] { ++clicks; };
  form.OnUnload = [&] { ++unloads; };
  g_subclassCalls = 0;
  g_previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      form.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
  ASSERT_EQ(g_previous, &forms::Form::WndProc);

  SendMessageW(button.hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_GT(g_subclassCalls, 0);
  SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(unloads, 1);
}

TEST_F(FormEvents, HandlerFailuresAreReportedAndStayInside) {
  forms::Form form(L"f");
  forms::CommandButton button(form, 7, {0, 0, 615, 315}, L"b");
  forms::TextBox box(form, 8, {0, 400, 615, 315});
  button.OnClick = [] { throw forms::RuntimeError(521, L"无法打开剪贴板"); };
  box.OnChange = [] { throw std::runtime_error("boom"); };
  form.OnLoad = [] { throw std::bad_alloc(); };

  SendMessageW(button.hwnd(), BM_CLICK, 0, 0);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].number, 521);
  EXPECT_EQ(reports[0].description, L"无法打开剪贴板");

  box.SetText(L"x");
  ASSERT_GE(reports.size(), 2u);
  EXPECT_EQ(reports[1].number, 51);
  EXPECT_NE(reports[1].description.find(L"boom"), std::wstring::npos);

  EXPECT_FALSE(form.Load());
  EXPECT_EQ(reports.back().number, 7);
  EXPECT_EQ(forms::FormatRuntimeErrorText(521, L"无法打开剪贴板"),
            L"运行时错误 '521':\n\n无法打开剪贴板");
}

TEST_F(FormEvents, ResizeFollowsSizeAndStateOnceLoaded) {
  forms::Form form(L"f");
  int resizes = 0;
  form.OnResize = [&] {
    ++resizes;
    // Setting the size from the handler re-enters it at once.
    if (form.GetWindowState() == forms::WindowState::Normal && form.Width() < 3750)
      form.SetWidth(3750);
  };
  form.SetWidth(3000);
  EXPECT_EQ(resizes, 0);  // not loaded yet
  ASSERT_TRUE(form.Load());
  form.Show();
  EXPECT_GE(resizes, 2);  // first show, then the re-entered width change
  EXPECT_DOUBLE_EQ(form.Width(), 3750);
  resizes = 0;
  form.SetWindowState(forms::WindowState::Minimized);
  EXPECT_EQ(form.GetWindowState(), forms::WindowState::Minimized);
  EXPECT_GE(resizes, 1);
  form.SetWindowState(forms::WindowState::Normal);
  EXPECT_EQ(form.GetWindowState(), forms::WindowState::Normal);
}

TEST_F(FormEvents, PictureBoxMouseMoveInTwipsOrPixels) {
  forms::Form form(L"f");
  forms::PictureBox picture(form, 4, {1140, 1320, 615, 555}, false);
  std::vector<double> xs;
  picture.OnMouseMove = [&](int, int, double x, double) { xs.push_back(x); };
  // The tray service puts the mouse message in lParam.
  SendMessageW(picture.hwnd(), WM_MOUSEMOVE, 0, WM_LBUTTONUP);
  picture.SetScaleMode(forms::ScaleMode::Pixels);
  SendMessageW(picture.hwnd(), WM_MOUSEMOVE, 0, WM_LBUTTONUP);
  ASSERT_EQ(xs.size(), 2u);
  EXPECT_DOUBLE_EQ(xs[0], 0x202 * forms::TwipsPerPixelX());
  EXPECT_DOUBLE_EQ(xs[1], 0x202);
}

}  // namespace
