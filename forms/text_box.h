#pragma once
// A multi-line text box: a system "Edit" window with a sunken edge. Change
// runs on every change of the text, by code or by typing.
#include <functional>
#include <string>

#include "forms/control.h"

namespace forms {

struct TextBoxOptions {
  bool verticalScrollBar = false;
};

class TextBox : public Control {
 public:
  TextBox(Form& form, int id, const ControlLayout& layout, TextBoxOptions options = {},
          uint32_t foreColor = 0x80000008u, uint32_t backColor = 0x80000005u);

  // An edit window cannot hold a NUL character: a text with one is shown
  // with U+2400 in its place, and Text() gives it back whole until the text
  // is edited (then the text as shown counts).
  std::wstring Text() const;
  // The first `count` characters of the text as shown (all of a shorter text).
  std::wstring TextStart(size_t count) const;
  void SetText(const std::wstring& text);

  std::function<void()> OnChange;
  std::function<void()> OnGotFocus;

  void OnCommand(WORD code) override;

 private:
  bool changeNotified_ = false;
  std::wstring whole_;  // a text with NUL characters as set
  std::wstring shown_;  // and as shown
};

}  // namespace forms
