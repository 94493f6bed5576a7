#include "forms/control.h"

#include "forms/form.h"
#include "forms/system_color.h"
#include "forms/twips.h"
#include "forms/ui_font.h"

namespace forms {
namespace {

const wchar_t kControlProperty[] = L"FormsControlObject";

}  // namespace

Control::Control(Form& form, int id, uint32_t foreColor, uint32_t backColor)
    : form_(form), id_(id), foreColor_(foreColor), backColor_(backColor) {}

Control::~Control() {
  form_.Unregister(this);
  if (hwnd_ && IsWindow(hwnd_) && GetPropW(hwnd_, kControlProperty) == this) {
    RemovePropW(hwnd_, kControlProperty);
    DestroyWindow(hwnd_);
  }
}

void Control::CreateWindowFor(const wchar_t* className, const wchar_t* text, DWORD style,
                              DWORD exStyle, const ControlLayout& layout) {
  RECT r = ToPixels(layout);
  hwnd_ = CreateWindowExW(
      exStyle, className, text, WS_CHILD | style, r.left, r.top, r.right - r.left,
      r.bottom - r.top, form_.hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
      GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return;
  SetPropW(hwnd_, kControlProperty, this);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultUiFont()), FALSE);
  form_.Register(this);
}

Control* Control::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<Control*>(GetPropW(hwnd, kControlProperty)) : nullptr;
}

RECT Control::RectInParent() const {
  RECT rect{};
  if (!hwnd_) return rect;
  GetWindowRect(hwnd_, &rect);
  MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void Control::SetRectInParent(const RECT& rect) {
  if (!hwnd_) return;
  SetWindowPos(hwnd_, nullptr, rect.left, rect.top, rect.right - rect.left,
               rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

double Control::Left() const { return ToTwips(RectInParent()).left; }
double Control::Top() const { return ToTwips(RectInParent()).top; }
double Control::Width() const { return ToTwips(RectInParent()).width; }
double Control::Height() const { return ToTwips(RectInParent()).height; }

void Control::SetLeft(double twips) {
  TwipsRect r = ToTwips(RectInParent());
  r.left = twips;
  SetRectInParent(ToPixels(r));
}

void Control::SetWidth(double twips) {
  TwipsRect r = ToTwips(RectInParent());
  r.width = twips;
  SetRectInParent(ToPixels(r));
}

void Control::SetHeight(double twips) {
  TwipsRect r = ToTwips(RectInParent());
  r.height = twips;
  SetRectInParent(ToPixels(r));
}

void Control::Move(double left, double top, double width, double height) {
  SetRectInParent(ToPixels({left, top, width, height}));
}

bool Control::Visible() const { return hwnd_ && (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE); }

void Control::SetVisible(bool visible) {
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void Control::SetTabIndex(int index) {
  tabIndex_ = index;
  form_.TabOrderChanged();
}

std::wstring Control::ToolTipText() const { return form_.ToolTipWindow().Text(hwnd_); }

void Control::SetToolTipText(const std::wstring& text) {
  form_.ToolTipWindow().SetText(hwnd_, text);
}

std::wstring WindowTextOf(HWND hwnd) {
  if (!hwnd) return {};
  int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied < 0 ? 0 : copied));
  return text;
}

std::wstring Control::WindowText() const { return WindowTextOf(hwnd_); }

void Control::RefreshFont() {
  if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultUiFont()), TRUE);
}

void Control::OnCommand(WORD) {}

void Control::SetColors(uint32_t foreColor, uint32_t backColor) {
  foreColor_ = foreColor;
  backColor_ = backColor;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

HBRUSH Control::OnCtlColor(HDC dc) {
  COLORREF back = ResolveColor(backColor_);
  if (!backBrush_ || backBrushColor_ != back) {
    backBrush_.Reset(CreateSolidBrush(back));
    backBrushColor_ = back;
  }
  SetTextColor(dc, ResolveColor(foreColor_));
  SetBkColor(dc, back);
  return backBrush_.get();
}

}  // namespace forms
