#pragma once
// Plain text (CF_UNICODETEXT) on the clipboard: reading it from a clipboard
// that is open, and the memory block that SetClipboardData takes.
#include <windows.h>

#include <optional>
#include <string>

namespace forms {

class Clipboard {
 public:
  // The text of the clipboard this thread has open: empty when it holds no
  // text, nullopt when its announced text could not be read.
  static std::optional<std::wstring> ReadOpenText();

  // A movable memory block holding a copy of the bytes, as SetClipboardData
  // takes it; null when out of memory.
  static HGLOBAL NewBlock(const void* bytes, size_t size);
  // The same holding the text and its NUL.
  static HGLOBAL NewTextBlock(const std::wstring& text);
};

// Closes the clipboard this thread opened, on every path out of a scope.
class ClipboardCloser {
 public:
  ClipboardCloser() = default;
  ClipboardCloser(const ClipboardCloser&) = delete;
  ClipboardCloser& operator=(const ClipboardCloser&) = delete;
  ~ClipboardCloser() { CloseClipboard(); }
};

}  // namespace forms
