#include "app/mod_tray.h"

#include <algorithm>

namespace app {
namespace mod_Tray {

NOTIFYICONDATAW TrayIconData{};
BOOL(WINAPI* NotifyIcon)(DWORD message, PNOTIFYICONDATAW data) = &Shell_NotifyIconW;

const std::wstring& TipText() {
  static const std::wstring tip =
      L"朔禾剪贴板 V1.3\r\n提示：Alt+数字键赋值，Ctrl+数字键取值";
  return tip;
}

void FillTrayIconData(HWND window, HICON icon) {
  TrayIconData = NOTIFYICONDATAW{};
  TrayIconData.cbSize = sizeof(NOTIFYICONDATAW);
  TrayIconData.hWnd = window;
  TrayIconData.uID = kIconId;
  TrayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  TrayIconData.uCallbackMessage = kCallbackMessage;
  TrayIconData.hIcon = icon;
  const std::wstring& tip = TipText();
  size_t length = std::min(tip.size(), std::size(TrayIconData.szTip) - 1);
  std::copy_n(tip.begin(), length, TrayIconData.szTip);
  TrayIconData.szTip[length] = L'\0';
}

void AddBalloon(const std::wstring& title, const std::wstring& text) {
  TrayIconData.uFlags |= NIF_INFO;
  TrayIconData.dwInfoFlags = NIIF_INFO;
  const size_t titleLength = std::min(title.size(), std::size(TrayIconData.szInfoTitle) - 1);
  std::copy_n(title.begin(), titleLength, TrayIconData.szInfoTitle);
  TrayIconData.szInfoTitle[titleLength] = L'\0';
  const size_t textLength = std::min(text.size(), std::size(TrayIconData.szInfo) - 1);
  std::copy_n(text.begin(), textLength, TrayIconData.szInfo);
  TrayIconData.szInfo[textLength] = L'\0';
}

bool AddIcon() {
  return NotifyIcon(NIM_ADD, &TrayIconData) || NotifyIcon(NIM_MODIFY, &TrayIconData);
}

bool DeleteIcon() { return NotifyIcon(NIM_DELETE, &TrayIconData) != FALSE; }

int CallbackMessage(double x, forms::ScaleMode scaleMode, double twipsPerPixel) {
  if (scaleMode == forms::ScaleMode::Pixels) return forms::RoundToInt32(x);
  return forms::RoundToInt32(x / twipsPerPixel);
}

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

}  // namespace mod_Tray
}  // namespace app
