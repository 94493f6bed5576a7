#pragma once
// The tooltip window of a form: one tool per control, keyed by its handle.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace forms {

class ToolTips {
 public:
  ToolTips() = default;
  ToolTips(const ToolTips&) = delete;
  ToolTips& operator=(const ToolTips&) = delete;
  ~ToolTips();

  void Create(HWND owner);
  HWND hwnd() const { return hwnd_; }

  // Sets the tip of a control; an empty text shows no tip.
  void SetText(HWND tool, const std::wstring& text);
  // The tip text as the tooltip window holds it.
  std::wstring Text(HWND tool) const;

 private:
  TTTOOLINFOW ToolInfo(HWND tool) const;
  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
};

}  // namespace forms
