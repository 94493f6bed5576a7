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

  std::wstring Text() const { return WindowText(); }
  // The first `count` characters of the text (all of a shorter text).
  std::wstring TextStart(size_t count) const;
  void SetText(const std::wstring& text);

  std::function<void()> OnChange;
  std::function<void()> OnGotFocus;

  void OnCommand(WORD code) override;

 private:
  bool changeNotified_ = false;
};

}  // namespace forms
