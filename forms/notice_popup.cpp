#include "forms/notice_popup.h"

#include <algorithm>

#include "forms/twips.h"
#include "forms/ui_font.h"

namespace forms {
namespace {

constexpr UINT_PTR kHideTimer = 1;
// Pixels at 96 dpi: the text's widest line, its margin, the gap to the
// work area's edge.
constexpr int kMaxTextWidth = 360, kMargin = 10, kGap = 12;

int Scaled(int pixels) { return MulDiv(pixels, static_cast<int>(1440 / TwipsPerPixelX() + 0.5), 96); }

bool RegisterPopupClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = NoticePopup::kClassName;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

RECT TextRect(HDC dc, const std::wstring& text) {
  RECT r{0, 0, Scaled(kMaxTextWidth), 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  return r;
}

}  // namespace

NoticePopup::~NoticePopup() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void NoticePopup::Show(const std::wstring& text, HWND beside, UINT showMs) {
  if (!hwnd_ && RegisterPopupClass()) {
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, L"",
                            WS_POPUP | WS_BORDER, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WndProc));
  }
  if (!hwnd_) return;
  SetWindowTextW(hwnd_, text.c_str());

  RECT textRect{};
  if (HDC dc = GetDC(hwnd_)) {
    const HGDIOBJ old = SelectObject(dc, DefaultUiFont());
    textRect = TextRect(dc, text);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
  }
  RECT frame{0, 0, textRect.right + 2 * Scaled(kMargin), textRect.bottom + 2 * Scaled(kMargin)};
  AdjustWindowRectEx(&frame, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;

  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  const HMONITOR on = beside ? MonitorFromWindow(beside, MONITOR_DEFAULTTOPRIMARY)
                           : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  if (!GetMonitorInfoW(on, &monitor)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
  const RECT& work = monitor.rcWork;
  const int left = std::max(work.left, work.right - width - Scaled(kGap));
  const int top = std::max(work.top, work.bottom - height - Scaled(kGap));
  // Shown without activation: the keys the user presses next still go to
  // the window they work in.
  SetWindowPos(hwnd_, HWND_TOPMOST, left, top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(hwnd_, nullptr, TRUE);
  SetTimer(hwnd_, kHideTimer, showMs, nullptr);
}

void NoticePopup::Hide() {
  if (!hwnd_) return;
  KillTimer(hwnd_, kHideTimer);
  ShowWindow(hwnd_, SW_HIDE);
}

void NoticePopup::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  if (!dc) return;
  RECT client;
  GetClientRect(hwnd_, &client);
  // The system's tooltip colours: readable in every colour scheme, high
  // contrast included.
  FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
  const int length = GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), length + 1)));
  const HGDIOBJ old = SelectObject(dc, DefaultUiFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  InflateRect(&client, -Scaled(kMargin), -Scaled(kMargin));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client, DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  EndPaint(hwnd_, &ps);
}

LRESULT CALLBACK NoticePopup::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<NoticePopup*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_PAINT:
      self->Paint();
      return 0;
    case WM_TIMER:
      if (wParam == kHideTimer) self->Hide();
      return 0;
    case WM_LBUTTONUP:
      self->Hide();
      return 0;
    case WM_NCDESTROY:
      KillTimer(hwnd, kHideTimer);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace forms
