#include "forms/command_button.h"

#include "forms/event_guard.h"

namespace forms {

CommandButton::CommandButton(Form& form, int id, const ControlLayout& layout,
                             const std::wstring& caption)
    : Control(form, id, 0x80000012u, 0x8000000Fu) {
  CreateWindowFor(L"Button", caption.c_str(), WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, layout);
}

void CommandButton::OnCommand(WORD code) {
  if (code == BN_CLICKED && OnClick) RunGuarded(OnClick);
}

}  // namespace forms
