#include "forms/form.h"

#include <algorithm>

#include "forms/control.h"
#include "forms/event_guard.h"
#include "forms/screen.h"

namespace forms {
namespace {

const wchar_t kFormProperty[] = L"FormsFormObject";
constexpr int kFormSlot = 0;  // offset in the class's window bytes

void RegisterFormClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.cbWndExtra = sizeof(LONG_PTR);  // the Form object, read on every message
    wc.lpfnWndProc = &Form::WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = Form::kClassName;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  (void)registered;
}

// The window's own DPI where the system tells it (0 otherwise).
int DpiOf(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return hwnd && getDpi ? static_cast<int>(getDpi(hwnd)) : 0;
}

}  // namespace

Form::Form(const std::wstring& caption) {
  RegisterFormClass();
  CreateWindowExW(0, kClassName, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                  250, 300, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (hwnd_) toolTips_.Create(hwnd_);
  SetWindowDpi(DpiOf(hwnd_));
}

Form::~Form() {
  Destroy();
  SetWindowDpi(0);
}

void Form::Destroy() {
  OnLoad = nullptr;
  OnResize = nullptr;
  OnUnload = nullptr;
  if (hwnd_) DestroyWindow(hwnd_);
}

Form* Form::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<Form*>(GetPropW(hwnd, kFormProperty)) : nullptr;
}

LRESULT CALLBACK Form::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* form = static_cast<Form*>(create->lpCreateParams);
    if (form) {
      form->hwnd_ = hwnd;
      SetPropW(hwnd, kFormProperty, form);
      SetWindowLongPtrW(hwnd, kFormSlot, reinterpret_cast<LONG_PTR>(form));
    }
  }
  // The class's own slot: a property lookup is a round trip to the window system.
  auto* self = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, kFormSlot));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    ReportCurrentException();
    return 0;
  }
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (Control* control = FindControl(reinterpret_cast<HWND>(lParam))) {
        control->OnCommand(HIWORD(wParam));
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (Control* control = FindControl(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = control->OnCtlColor(reinterpret_cast<HDC>(wParam)))
          return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case WM_SIZE:
      RaiseResize();
      return 0;
    case WM_DPICHANGED:
      if (lParam) OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      UnloadAndDestroy();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // The process may be ended as soon as this message returns.
      if (wParam) {
        sessionEnding_ = true;
        UnloadAndDestroy();
      }
      return 0;
    case WM_DESTROY:
      if (quitOnDestroy_) PostQuitMessage(0);
      break;
    case WM_NCDESTROY: {
      LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
      RemovePropW(hwnd_, kFormProperty);
      SetWindowLongPtrW(hwnd_, kFormSlot, 0);
      hwnd_ = nullptr;
      return result;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool Form::Load() {
  loaded_ = true;
  ApplyTabOrder();
  return OnLoad ? RunGuarded(OnLoad) : true;
}

void Form::Show() {
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOW);
  if (!shownOnce_) {
    shownOnce_ = true;
    RaiseResize();
  }
}

void Form::Close() {
  if (hwnd_) SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void Form::OnDpiChanged(int dpi, const RECT& suggested) {
  std::vector<TwipsRect> layouts;
  for (Control* control : controls_)
    layouts.push_back({control->Left(), control->Top(), control->Width(), control->Height()});
  SetWindowDpi(dpi);
  for (size_t i = 0; i < controls_.size(); ++i) {
    controls_[i]->Move(layouts[i].left, layouts[i].top, layouts[i].width, layouts[i].height);
    controls_[i]->RefreshFont();
  }
  SetWindowRect(suggested, 0);
}

void Form::UnloadAndDestroy() {
  if (unloaded_) return;
  unloaded_ = true;
  if (OnUnload) RunGuarded(OnUnload);
  if (hwnd_) DestroyWindow(hwnd_);
}

void Form::RaiseResize() {
  if (loaded_ && !unloaded_ && OnResize) RunGuarded(OnResize);
}

RECT Form::WindowRect() const {
  RECT rect{};
  if (hwnd_) GetWindowRect(hwnd_, &rect);
  return rect;
}

void Form::SetWindowRect(const RECT& rect, UINT flags) {
  if (!hwnd_) return;
  SetWindowPos(hwnd_, nullptr, rect.left, rect.top, rect.right - rect.left,
               rect.bottom - rect.top, flags | SWP_NOZORDER | SWP_NOACTIVATE);
}

double Form::Left() const { return ToTwips(WindowRect()).left; }
double Form::Top() const { return ToTwips(WindowRect()).top; }
double Form::Width() const { return ToTwips(WindowRect()).width; }
double Form::Height() const { return ToTwips(WindowRect()).height; }

void Form::SetWidth(double twips) {
  TwipsRect r = ToTwips(WindowRect());
  r.width = twips;
  SetWindowRect(ToPixels(r), SWP_NOMOVE);
}

void Form::SetHeight(double twips) {
  TwipsRect r = ToTwips(WindowRect());
  r.height = twips;
  SetWindowRect(ToPixels(r), SWP_NOMOVE);
}

void Form::Move(double left, double top, double width, double height) {
  SetWindowRect(ToPixels({left, top, width, height}), 0);
}

TwipsRect Form::RestoredBounds() const {
  return hwnd_ ? ToTwips(RestoredWindowRect(hwnd_)) : TwipsRect{};
}

void Form::KeepOnScreen() {
  if (!hwnd_) return;
  RECT current = WindowRect();
  RECT placed = PlaceOnScreen(current);
  if (placed.left != current.left || placed.top != current.top) SetWindowRect(placed, SWP_NOSIZE);
}

void Form::SetTopMost() {
  if (hwnd_) SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

WindowState Form::GetWindowState() const {
  if (hwnd_ && IsIconic(hwnd_)) return WindowState::Minimized;
  if (hwnd_ && IsZoomed(hwnd_)) return WindowState::Maximized;
  return WindowState::Normal;
}

void Form::SetWindowState(WindowState state) {
  if (!hwnd_ || state == GetWindowState()) return;
  switch (state) {
    case WindowState::Normal:
      ShowWindow(hwnd_, SW_RESTORE);
      break;
    case WindowState::Minimized:
      ShowWindow(hwnd_, SW_MINIMIZE);
      break;
    case WindowState::Maximized:
      ShowWindow(hwnd_, SW_MAXIMIZE);
      break;
  }
}

bool Form::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

void Form::SetVisible(bool visible) {
  if (!hwnd_) return;
  if (visible) {
    Show();
  } else {
    ShowWindow(hwnd_, SW_HIDE);
  }
}

std::wstring Form::Caption() const { return WindowTextOf(hwnd_); }

void Form::SetIcon(HICON icon, HICON large) {
  if (!hwnd_) return;
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large ? large : icon));
}

void Form::Register(Control* control) {
  controls_.push_back(control);
  TabOrderChanged();
}

void Form::TabOrderChanged() {
  // Controls made one after the other are put in order once, at the load:
  // each reordering moves every control.
  if (loaded_) ApplyTabOrder();
}

Control* Form::FindControl(HWND hwnd) const {
  if (!hwnd) return nullptr;
  for (Control* control : controls_) {
    if (control->hwnd() == hwnd) return control;
  }
  return nullptr;
}

void Form::Unregister(Control* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

void Form::ApplyTabOrder() {
  std::vector<Control*> ordered = controls_;
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const Control* a, const Control* b) { return a->TabIndex() < b->TabIndex(); });
  HWND after = HWND_TOP;
  for (Control* control : ordered) {
    if (!control->hwnd()) continue;
    SetWindowPos(control->hwnd(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = control->hwnd();
  }
}

}  // namespace forms
