#include "app/paste_clipboard.h"

#include <cstring>

#include "forms/clipboard.h"

namespace app {
namespace {

const wchar_t kOwnerClass[] = L"ClipboardPasteOwner";

void RegisterOwnerClass(WNDPROC proc) {
  static const bool registered = [proc] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kOwnerClass;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  (void)registered;
}

class ClipboardCloser {
 public:
  ~ClipboardCloser() { CloseClipboard(); }
};

}  // namespace

PasteClipboard::PasteClipboard(UINT untakenMs, UINT graceMs)
    : untakenMs_(untakenMs), graceMs_(graceMs) {
  RegisterOwnerClass(&PasteClipboard::WndProc);
  owner_ = CreateWindowExW(0, kOwnerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleW(nullptr), this);
}

PasteClipboard::~PasteClipboard() {
  if (!owner_) return;
  // An offer still on the clipboard goes with its owner: the clipboard ends empty.
  if (Pending() && OpenClipboard(owner_)) {
    ClipboardCloser closer;
    if (GetClipboardOwner() == owner_) EmptyClipboard();
  }
  HWND owner = owner_;
  SetWindowLongPtrW(owner, GWLP_USERDATA, 0);
  owner_ = nullptr;
  DestroyWindow(owner);
}

bool PasteClipboard::Offer(const std::wstring& text) {
  if (!owner_ || !forms::Clipboard::Open(owner_)) return false;
  ClipboardCloser closer;
  // Emptying ends an earlier offer of ours (WM_DESTROYCLIPBOARD resets it).
  EmptyClipboard();
  text_ = text;
  emptyRequested_ = false;
  state_ = State::Offered;
  SetClipboardData(CF_UNICODETEXT, nullptr);
  MarkPrivate();
  return true;
}

void PasteClipboard::MarkPrivate() {
  // Clipboard monitors skip an offer that carries the first format, and the
  // clipboard history keeps none whose second format holds 0.
  static const UINT exclude = RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
  static const UINT history = RegisterClipboardFormatW(L"CanIncludeInClipboardHistory");
  const DWORD no = 0;
  for (UINT format : {exclude, history}) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof no);
    void* target = block ? GlobalLock(block) : nullptr;
    if (!target) {
      if (block) GlobalFree(block);
      continue;
    }
    std::memcpy(target, &no, sizeof no);
    GlobalUnlock(block);
    if (!format || !SetClipboardData(format, block)) GlobalFree(block);
  }
}

void PasteClipboard::EmptyWhenTaken() {
  if (!Pending()) return;
  emptyRequested_ = true;
  if (state_ == State::Rendered) {
    SetTimer(owner_, kGraceTimer, graceMs_, nullptr);
  } else {
    SetTimer(owner_, kUntakenTimer, untakenMs_, nullptr);
  }
}

LRESULT CALLBACK PasteClipboard::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<PasteClipboard*>(create->lpCreateParams);
    self->owner_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<PasteClipboard*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // Only an allocation can fail here; the reader then finds no text.
    return 0;
  }
}

LRESULT PasteClipboard::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_RENDERFORMAT:
      if (wParam == CF_UNICODETEXT) Render();
      return 0;
    case WM_RENDERALLFORMATS:
      // The owner is going away with the text not taken: let it vanish.
      return 0;
    case WM_DESTROYCLIPBOARD:
      // Emptied, by us or by anyone else: the offer is over.
      Reset();
      return 0;
    case WM_TIMER:
      if (wParam == kUntakenTimer || wParam == kGraceTimer) {
        KillTimer(owner_, wParam);
        StartEmptying();
      } else if (wParam == kRetryTimer) {
        TryEmpty();
      }
      return 0;
    default:
      return DefWindowProcW(owner_, message, wParam, lParam);
  }
}

void PasteClipboard::Render() {
  if (state_ != State::Offered) return;
  // The reader holds the clipboard open; the data goes straight in.
  HGLOBAL block = forms::Clipboard::NewTextBlock(text_);
  if (block && !SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
  state_ = State::Rendered;
  if (emptyRequested_) {
    KillTimer(owner_, kUntakenTimer);
    SetTimer(owner_, kGraceTimer, graceMs_, nullptr);
  }
}

void PasteClipboard::StartEmptying() {
  emptyingSince_ = GetTickCount();
  // The reader is usually still inside its paste: try after it has closed.
  SetTimer(owner_, kRetryTimer, kRetryMs, nullptr);
}

void PasteClipboard::TryEmpty() {
  if (!Pending()) {
    KillTimer(owner_, kRetryTimer);
    return;
  }
  if (OpenClipboard(owner_)) {
    ClipboardCloser closer;
    KillTimer(owner_, kRetryTimer);
    if (GetClipboardOwner() == owner_) {
      EmptyClipboard();
    } else {
      Reset();
    }
    return;
  }
  if (GetTickCount() - emptyingSince_ >= kEmptyTimeoutMs) {
    // Held open by someone else all along: give up rather than spin.
    KillTimer(owner_, kRetryTimer);
  }
}

void PasteClipboard::Reset() {
  KillTimer(owner_, kUntakenTimer);
  KillTimer(owner_, kRetryTimer);
  KillTimer(owner_, kGraceTimer);
  state_ = State::Idle;
  emptyRequested_ = false;
  text_.clear();
  text_.shrink_to_fit();
}

}  // namespace app
