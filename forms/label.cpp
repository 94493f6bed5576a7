#include "forms/label.h"

#include "forms/ui_font.h"

namespace forms {

Label::Label(Form& form, int id, const ControlLayout& layout, const std::wstring& caption,
             uint32_t foreColor, uint32_t backColor)
    : Control(form, id, foreColor, backColor) {
  CreateWindowFor(L"Static", caption.c_str(), WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, layout);
  SizeToText();
}

void Label::RefreshFont() {
  Control::RefreshFont();
  SizeToText();
}

void Label::SizeToText() {
  if (!hwnd()) return;
  HDC dc = GetDC(hwnd());
  if (!dc) return;
  HGDIOBJ old = SelectObject(dc, DefaultUiFont());
  std::wstring text = WindowText();
  RECT rect{0, 0, 0, 0};
  DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &rect,
            DT_CALCRECT | DT_NOPREFIX | DT_LEFT);
  SelectObject(dc, old);
  ReleaseDC(hwnd(), dc);
  SetWindowPos(hwnd(), nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace forms
