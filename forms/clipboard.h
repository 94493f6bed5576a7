#pragma once
// Plain-text clipboard (CF_UNICODETEXT). Opening is retried for a short time
// when another program holds the clipboard open.
#include <windows.h>

#include <optional>
#include <string>

namespace forms {

class Clipboard {
 public:
  // How long an operation keeps trying to open a busy clipboard.
  static constexpr DWORD kOpenTimeoutMs = 500;

  // The clipboard's text; empty when it holds no text. nullopt when the
  // clipboard stayed busy.
  static std::optional<std::wstring> GetText();
  // Empties the clipboard and puts the text on it. False when busy.
  static bool SetText(const std::wstring& text);
  // Empties the clipboard. False when busy.
  static bool Clear();

 private:
  static bool Open();
};

}  // namespace forms
