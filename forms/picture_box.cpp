#include "forms/picture_box.h"

#include "forms/event_guard.h"

namespace forms {
namespace {

void RegisterPictureBoxClass(WNDPROC proc) {
  static const bool registered = [proc] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = PictureBox::kClassName;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  (void)registered;
}

}  // namespace

PictureBox::PictureBox(Form& form, int id, const ControlLayout& layout, bool visible)
    : Control(form, id, 0x80000012u, 0x8000000Fu) {
  RegisterPictureBoxClass(&PictureBox::WndProc);
  CreateWindowFor(kClassName, L"", visible ? WS_VISIBLE : 0, 0, layout);
}

void PictureBox::SetPicture(HICON icon) {
  picture_ = icon;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT CALLBACK PictureBox::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = dynamic_cast<PictureBox*>(Control::FromHandle(hwnd));
  if (self) {
    switch (message) {
      case WM_MOUSEMOVE:
        self->MouseMove(wParam, lParam);
        return 0;
      case WM_PAINT:
        self->Paint();
        return 0;
      default:
        break;
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void PictureBox::MouseMove(WPARAM wParam, LPARAM lParam) {
  if (!OnMouseMove) return;
  int button = ((wParam & MK_LBUTTON) ? 1 : 0) | ((wParam & MK_RBUTTON) ? 2 : 0) |
               ((wParam & MK_MBUTTON) ? 4 : 0);
  int shift = ((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0) |
              ((GetKeyState(VK_MENU) < 0) ? 4 : 0);
  // Coordinates are the signed words of lParam, as for any mouse message.
  int px = static_cast<short>(LOWORD(lParam));
  int py = static_cast<short>(HIWORD(lParam));
  double x = px, y = py;
  if (scaleMode_ == ScaleMode::Twips) {
    x = PixelsToTwips(px, TwipsPerPixelX());
    y = PixelsToTwips(py, TwipsPerPixelY());
  }
  RunGuarded([&] { OnMouseMove(button, shift, x, y); });
}

void PictureBox::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  if (dc && picture_) DrawIconEx(dc, 0, 0, picture_, 0, 0, 0, nullptr, DI_NORMAL);
  EndPaint(hwnd(), &ps);
}

}  // namespace forms
