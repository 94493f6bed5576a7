#pragma once
// The notification-area icon: one record for the tray service, its two-line
// tip, and the decoding of its callback as the picture box reports it.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "forms/twips.h"

namespace app {
namespace mod_Tray {

constexpr UINT kIconId = 1;
constexpr UINT kCallbackMessage = WM_MOUSEMOVE;  // 0x200

// "朔禾剪贴板 V1.3", CR LF, "提示：Alt+数字键赋值，Ctrl+数字键取值".
const std::wstring& TipText();

// The record as AddTray last filled it.
extern NOTIFYICONDATAW TrayIconData;

// Fills TrayIconData for the icon shown by the window with the picture.
void FillTrayIconData(HWND window, HICON icon);

// Adds a balloon to TrayIconData (NIF_INFO): shown when the icon is added.
void AddBalloon(const std::wstring& title, const std::wstring& text);

// The tray service (Shell_NotifyIconW; replaceable for tests).
extern BOOL(WINAPI* NotifyIcon)(DWORD message, PNOTIFYICONDATAW data);

// NIM_ADD with the record; when the icon still exists (the shell kept it),
// NIM_MODIFY. True when the icon is there afterwards.
bool AddIcon();
// NIM_DELETE with the record.
bool DeleteIcon();

// The mouse message carried by the callback's x coordinate, which the
// picture box delivers converted from pixels into its scale unit.
int CallbackMessage(double x, forms::ScaleMode scaleMode, double twipsPerPixel);

// The message the shell broadcasts when the notification area is created
// again ("TaskbarCreated").
UINT TaskbarCreatedMessage();

}  // namespace mod_Tray
}  // namespace app
