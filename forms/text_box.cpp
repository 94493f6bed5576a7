#include "forms/text_box.h"

#include <algorithm>

#include "forms/event_guard.h"

namespace forms {

TextBox::TextBox(Form& form, int id, const ControlLayout& layout, TextBoxOptions options,
                 uint32_t foreColor, uint32_t backColor)
    : Control(form, id, foreColor, backColor) {
  DWORD style = WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL;
  if (options.verticalScrollBar) style |= WS_VSCROLL;
  CreateWindowFor(L"Edit", L"", style, WS_EX_CLIENTEDGE, layout);
  // No 32K limit on typed or pasted text.
  if (hwnd()) SendMessageW(hwnd(), EM_SETLIMITTEXT, 0, 0);
}

std::wstring TextBox::Text() const {
  std::wstring text = WindowText();
  if (!whole_.empty() && text == shown_) return whole_;
  return text;
}

void TextBox::SetText(const std::wstring& text) {
  whole_.clear();
  shown_.clear();
  if (text.find(L'\0') != std::wstring::npos) {
    whole_ = text;
    shown_ = text;
    std::replace(shown_.begin(), shown_.end(), L'\0', L'\x2400');
  }
  // A multi-line edit does not report EN_CHANGE for WM_SETTEXT on every
  // platform; raise Change here when the control stayed silent.
  changeNotified_ = false;
  SetWindowTextW(hwnd(), whole_.empty() ? text.c_str() : shown_.c_str());
  if (!changeNotified_ && OnChange) RunGuarded(OnChange);
}

std::wstring TextBox::TextStart(size_t count) const {
  std::wstring text(count + 1, L'\0');
  const int copied = GetWindowTextW(hwnd(), text.data(), static_cast<int>(count + 1));
  text.resize(static_cast<size_t>(copied < 0 ? 0 : copied));
  return text;
}

void TextBox::OnCommand(WORD code) {
  if (code == EN_CHANGE) {
    changeNotified_ = true;
    if (OnChange) RunGuarded(OnChange);
  } else if (code == EN_SETFOCUS) {
    if (OnGotFocus) RunGuarded(OnGotFocus);
  }
}

}  // namespace forms
