#include "forms/text_box.h"

#include <algorithm>
#include <unordered_map>

#include "forms/event_guard.h"
#include "forms/text_preview.h"

namespace forms {
namespace {

// Each box's edit window, its procedure before ours and its box (null once
// the box is gone but the window lives on under someone else's procedure).
struct Hook {
  TextBox* box;
  WNDPROC next;
};

std::unordered_map<HWND, Hook>& Hooks() {
  thread_local std::unordered_map<HWND, Hook> hooks;
  return hooks;
}

// No font the box is given draws lines less than this high, nor characters
// narrower than this wide: the part laid out covers the box with room over.
constexpr int kMinLinePixels = 8;
constexpr int kMinCharPixels = 2;
constexpr size_t kMinLineChars = 256;

// Messages after which the window must hold the whole text: the user is at
// the box, or code reads or edits its lines, selection or scroll position.
bool UsesWholeText(UINT msg) {
  switch (msg) {
    case WM_SETFOCUS:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_IME_CHAR:
    case WM_IME_STARTCOMPOSITION:
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_GETSEL:
    case EM_SETSEL:
    case EM_SCROLL:
    case EM_LINESCROLL:
    case EM_SCROLLCARET:
    case EM_GETLINECOUNT:
    case EM_LINEINDEX:
    case EM_SETHANDLE:
    case EM_GETHANDLE:
    case EM_GETTHUMB:
    case EM_LINELENGTH:
    case EM_REPLACESEL:
    case EM_GETLINE:
    case EM_CANUNDO:
    case EM_UNDO:
    case EM_FMTLINES:
    case EM_LINEFROMCHAR:
    case EM_GETFIRSTVISIBLELINE:
    case EM_POSFROMCHAR:
    case EM_CHARFROMPOS:
      return true;
    default:
      return false;
  }
}

}  // namespace

TextBox::TextBox(Form& form, int id, const ControlLayout& layout, TextBoxOptions options,
                 uint32_t foreColor, uint32_t backColor)
    : Control(form, id, foreColor, backColor) {
  DWORD style = WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL;
  if (options.verticalScrollBar) style |= WS_VSCROLL;
  CreateWindowFor(L"Edit", L"", style, WS_EX_CLIENTEDGE, layout);
  if (!hwnd()) return;
  // No 32K limit on typed or pasted text.
  SendMessageW(hwnd(), EM_SETLIMITTEXT, 0, 0);
  const auto edit = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TextBox::EditProc)));
  Hooks()[hwnd()] = {this, edit};
}

TextBox::~TextBox() {
  if (!hwnd()) return;
  auto hook = Hooks().find(hwnd());
  if (hook == Hooks().end()) return;
  if (GetWindowLongPtrW(hwnd(), GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&TextBox::EditProc)) {
    SetWindowLongPtrW(hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook->second.next));
    Hooks().erase(hook);
  } else {
    hook->second.box = nullptr;  // another procedure sits over ours: pass through from now on
  }
}

LRESULT CALLBACK TextBox::EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto hook = Hooks().find(hwnd);
  if (hook == Hooks().end()) return DefWindowProcW(hwnd, msg, wParam, lParam);
  const Hook found = hook->second;
  if (msg == WM_NCDESTROY) {
    Hooks().erase(hook);
    return CallWindowProcW(found.next, hwnd, msg, wParam, lParam);
  }
  if (!found.box) return CallWindowProcW(found.next, hwnd, msg, wParam, lParam);
  try {
    return found.box->Handle(found.next, hwnd, msg, wParam, lParam);
  } catch (...) {
    ReportCurrentException();
    return 0;
  }
}

template <typename Send>
LRESULT TextBox::TakeText(std::wstring text, Send send) {
  // A multi-line edit does not report EN_CHANGE for WM_SETTEXT on every
  // platform; raise Change here when the control stayed silent.
  changeNotified_ = false;
  const std::wstring window = Present(std::move(text));
  const LRESULT result = send(window.c_str());
  if (!changeNotified_ && OnChange) RunGuarded(OnChange);
  return result;
}

LRESULT TextBox::Handle(WNDPROC next, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (partial_) {
    switch (msg) {
      case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(shown_.size());
      case WM_GETTEXT: {
        if (wParam == 0 || lParam == 0) return 0;
        auto* buffer = reinterpret_cast<wchar_t*>(lParam);
        const size_t copied = std::min(shown_.size(), static_cast<size_t>(wParam) - 1);
        std::copy_n(shown_.data(), copied, buffer);
        buffer[copied] = L'\0';
        return static_cast<LRESULT>(copied);
      }
      default:
        if (UsesWholeText(msg)) Expand();
        break;
    }
  }
  switch (msg) {
    case WM_SETTEXT: {
      if (settingText_) break;
      // Text set by other code, taken as if through SetText.
      const wchar_t* text = reinterpret_cast<const wchar_t*>(lParam);
      return TakeText(text ? text : L"", [&](const wchar_t* window) {
        return CallWindowProcW(next, hwnd, msg, wParam, reinterpret_cast<LPARAM>(window));
      });
    }
    case WM_SIZE:
    case WM_SETFONT: {
      const LRESULT result = CallWindowProcW(next, hwnd, msg, wParam, lParam);
      Refill();
      return result;
    }
    default:
      break;
  }
  return CallWindowProcW(next, hwnd, msg, wParam, lParam);
}

std::wstring TextBox::Present(std::wstring text) {
  whole_.clear();
  shown_ = std::move(text);
  if (shown_.find(L'\0') != std::wstring::npos) {
    whole_ = shown_;
    std::replace(shown_.begin(), shown_.end(), L'\0', L'\x2400');
  }
  partLength_ = GetFocus() == hwnd() ? shown_.size() : FillLength();
  partial_ = partLength_ < shown_.size();
  if (partial_) return shown_.substr(0, partLength_);
  if (!whole_.empty()) return shown_;
  std::wstring window = std::move(shown_);
  shown_.clear();
  return window;
}

size_t TextBox::FillLength() const {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  const size_t lines = static_cast<size_t>(std::max<LONG>(client.bottom, 0) / kMinLinePixels) + 1;
  const size_t lineChars =
      std::max(kMinLineChars, static_cast<size_t>(std::max<LONG>(client.right, 0) / kMinCharPixels));
  return PreviewLength(shown_, lines, lineChars);
}

LRESULT TextBox::PassText(const wchar_t* text) {
  const auto hook = Hooks().find(hwnd());
  if (hook == Hooks().end()) return 0;
  quiet_ = true;
  const LRESULT result =
      CallWindowProcW(hook->second.next, hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  quiet_ = false;
  return result;
}

void TextBox::Expand() {
  if (!partial_) return;
  partial_ = false;
  PassText(shown_.c_str());
  if (whole_.empty()) shown_.clear();
}

void TextBox::Refill() {
  if (!partial_) return;
  const size_t fill = FillLength();
  if (fill >= shown_.size()) return Expand();
  if (fill == partLength_) return;
  partLength_ = fill;
  PassText(shown_.substr(0, fill).c_str());
}

std::wstring TextBox::Text() const {
  // While the window holds part of the text, the text is here: no round trip
  // through the window's procedures.
  if (partial_) return whole_.empty() ? shown_ : whole_;
  std::wstring text = WindowText();
  if (!whole_.empty() && text == shown_) return whole_;
  return text;
}

void TextBox::SetText(const std::wstring& text) {
  TakeText(text, [this](const wchar_t* window) {
    settingText_ = true;
    const LRESULT result = SetWindowTextW(hwnd(), window);
    settingText_ = false;
    return result;
  });
}

std::wstring TextBox::TextStart(size_t count) const {
  // Read on every change for the tip: straight from the text while the
  // window holds part of it, without a round trip through its procedures.
  if (partial_) return shown_.substr(0, count);
  std::wstring text(count + 1, L'\0');
  const int copied = GetWindowTextW(hwnd(), text.data(), static_cast<int>(count + 1));
  text.resize(static_cast<size_t>(copied < 0 ? 0 : copied));
  return text;
}

void TextBox::OnCommand(WORD code) {
  if (code == EN_CHANGE) {
    if (quiet_) return;
    changeNotified_ = true;
    if (OnChange) RunGuarded(OnChange);
  } else if (code == EN_SETFOCUS) {
    if (OnGotFocus) RunGuarded(OnGotFocus);
  }
}

}  // namespace forms
