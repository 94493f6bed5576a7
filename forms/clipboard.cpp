#include "forms/clipboard.h"

#include <algorithm>
#include <cstring>

namespace forms {
namespace {

// An owner window is needed for SetClipboardData to keep the data.
HWND OwnerWindow() {
  static HWND owner = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  return owner;
}

class ClipboardCloser {
 public:
  ~ClipboardCloser() { CloseClipboard(); }
};

}  // namespace

bool Clipboard::Open(HWND owner) {
  if (!owner) owner = OwnerWindow();
  const DWORD start = GetTickCount();
  for (;;) {
    if (OpenClipboard(owner)) return true;
    const DWORD waited = GetTickCount() - start;
    if (waited >= kOpenTimeoutMs) return false;
    // The holder may be waiting for us to render an offer of ours: answer
    // sent messages while waiting, but leave posted ones (other hotkeys) queued.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(20, kOpenTimeoutMs - waited),
                              QS_SENDMESSAGE);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

std::optional<std::wstring> Clipboard::GetText() {
  if (!Open()) return std::nullopt;
  ClipboardCloser closer;
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return std::wstring();
  // Text announced but not handed over (a failed delayed render): unreadable,
  // not empty.
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return std::nullopt;
  const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
  if (!text) return std::nullopt;
  // Another program's data need not be terminated: stop at the block's end.
  size_t capacity = GlobalSize(data) / sizeof(wchar_t);
  size_t length = 0;
  while (length < capacity && text[length] != L'\0') ++length;
  std::wstring result(text, length);
  GlobalUnlock(data);
  return result;
}

bool Clipboard::SetText(const std::wstring& text) {
  if (!Open()) return false;
  ClipboardCloser closer;
  EmptyClipboard();
  HGLOBAL block = NewTextBlock(text);
  if (!block) return false;
  if (!SetClipboardData(CF_UNICODETEXT, block)) {
    GlobalFree(block);
    return false;
  }
  return true;
}

HGLOBAL Clipboard::NewTextBlock(const std::wstring& text) {
  size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!block) return nullptr;
  void* target = GlobalLock(block);
  if (!target) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(target, text.c_str(), bytes);
  GlobalUnlock(block);
  return block;
}

bool Clipboard::Clear() {
  if (!Open()) return false;
  ClipboardCloser closer;
  return EmptyClipboard() != FALSE;
}

}  // namespace forms
