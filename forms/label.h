#pragma once
// A label: a system "Static" window that sizes itself to its text.
#include <string>

#include "forms/control.h"

namespace forms {

class Label : public Control {
 public:
  // Only left and top of the layout are used; the size follows the text.
  Label(Form& form, int id, const ControlLayout& layout, const std::wstring& caption,
        uint32_t foreColor = 0x80000012u, uint32_t backColor = 0x8000000Fu);

  std::wstring Caption() const { return WindowText(); }
  void RefreshFont() override;

 private:
  void SizeToText();
};

}  // namespace forms
