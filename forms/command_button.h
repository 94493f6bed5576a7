#pragma once
// A command button: a system "Button" window (push button). Click runs on
// BN_CLICKED, from the mouse, the keyboard or code.
#include <functional>
#include <string>

#include "forms/control.h"

namespace forms {

class CommandButton : public Control {
 public:
  CommandButton(Form& form, int id, const ControlLayout& layout, const std::wstring& caption);

  std::wstring Caption() const { return WindowText(); }

  std::function<void()> OnClick;

  void OnCommand(WORD code) override;
};

}  // namespace forms
