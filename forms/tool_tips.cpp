#include "forms/tool_tips.h"

#include <commctrl.h>

#include <vector>

namespace forms {

ToolTips::~ToolTips() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void ToolTips::Create(HWND owner) {
  static const bool initialised = [] {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES};
    return InitCommonControlsEx(&init) != FALSE;
  }();
  (void)initialised;
  owner_ = owner;
  // Not owned by the form: under Wine a topmost window owned by the form keeps
  // the form itself from becoming topmost. Destroyed with the ToolTips object.
  hwnd_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                          WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleW(nullptr),
                          nullptr);
  if (hwnd_) {
    // Long slot texts wrap instead of running off the screen.
    SendMessageW(hwnd_, TTM_SETMAXTIPWIDTH, 0, 400);
  }
}

TTTOOLINFOW ToolTips::ToolInfo(HWND tool) const {
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = owner_;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  return info;
}

void ToolTips::SetText(HWND tool, const std::wstring& text) {
  if (!hwnd_) return;
  TTTOOLINFOW info = ToolInfo(tool);
  info.lpszText = const_cast<wchar_t*>(text.c_str());
  TTTOOLINFOW probe = ToolInfo(tool);
  bool exists = SendMessageW(hwnd_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&probe)) != 0;
  SendMessageW(hwnd_, exists ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0,
               reinterpret_cast<LPARAM>(&info));
}

std::wstring ToolTips::Text(HWND tool) const {
  if (!hwnd_) return {};
  TTTOOLINFOW probe = ToolInfo(tool);
  if (!SendMessageW(hwnd_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&probe))) return {};
  // The buffer is sized from the control's own text length plus room; the
  // tooltip copies at most wParam characters.
  int length = GetWindowTextLengthW(tool);
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1024, L'\0');
  TTTOOLINFOW info = ToolInfo(tool);
  info.lpszText = buffer.data();
  SendMessageW(hwnd_, TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&info));
  buffer.back() = L'\0';
  return std::wstring(buffer.data());
}

}  // namespace forms
