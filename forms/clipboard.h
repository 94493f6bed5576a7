#pragma once
// Plain-text clipboard (CF_UNICODETEXT). Opening is retried for a short time
// when another program holds the clipboard open; meanwhile messages sent to
// this thread (render requests for its own offers) are answered.
#include <windows.h>

#include <optional>
#include <string>

namespace forms {

class Clipboard {
 public:
  // How long an operation keeps trying to open a busy clipboard.
  static constexpr DWORD kOpenTimeoutMs = 500;

  // The clipboard's text; empty when it holds no text. nullopt when the
  // clipboard stayed busy or its announced text could not be read.
  static std::optional<std::wstring> GetText();
  // Empties the clipboard and puts the text on it. False when busy.
  static bool SetText(const std::wstring& text);
  // Empties the clipboard. False when busy.
  static bool Clear();

  // A movable memory block holding the text and its NUL, as SetClipboardData
  // takes it; null when out of memory.
  static HGLOBAL NewTextBlock(const std::wstring& text);

  // Opens the clipboard for the owner window (the layer's own when null),
  // retrying while it is busy. The caller closes it (CloseClipboard).
  static bool Open(HWND owner = nullptr);
};

}  // namespace forms
