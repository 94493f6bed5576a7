#include "forms/clipboard.h"

#include <cstring>

namespace forms {

std::optional<std::wstring> Clipboard::ReadOpenText() {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return std::wstring();
  // Text announced but not handed over (a failed delayed render): unreadable,
  // not empty.
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return std::nullopt;
  const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
  if (!text) return std::nullopt;
  // Another program's data need not be terminated: stop at the block's end.
  const size_t capacity = GlobalSize(data) / sizeof(wchar_t);
  size_t length = 0;
  while (length < capacity && text[length] != L'\0') ++length;
  std::optional<std::wstring> result;
  try {
    result.emplace(text, length);
  } catch (...) {
    GlobalUnlock(data);
    throw;
  }
  GlobalUnlock(data);
  return result;
}

HGLOBAL Clipboard::NewBlock(const void* bytes, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return nullptr;
  void* target = GlobalLock(block);
  if (!target) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(target, bytes, size);
  GlobalUnlock(block);
  return block;
}

HGLOBAL Clipboard::NewTextBlock(const std::wstring& text) {
  return NewBlock(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

}  // namespace forms
