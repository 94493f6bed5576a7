#include "interaction_fixture.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/core/skin_window.h"
#include "skin/core/window_props.h"
#include "skin/interaction/fade_timer.h"
#include "skin/render/button_state_surfaces.h"

namespace {

constexpr wchar_t kOriginalProc[] = L"TESTORIGINALPROC";

std::map<HWND, std::vector<UINT>>& Log() {
  static std::map<HWND, std::vector<UINT>> log;
  return log;
}

std::map<HWND, std::vector<UINT>>& Swallowed() {
  static std::map<HWND, std::vector<UINT>> swallowed;
  return swallowed;
}

std::map<HWND, UINT>& UnskinTriggers() {
  static std::map<HWND, UINT> triggers;
  return triggers;
}

LRESULT CALLBACK RecorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Log()[window].push_back(message);
  auto trigger = UnskinTriggers().find(window);
  if (trigger != UnskinTriggers().end() && trigger->second == message) {
    UnskinTriggers().erase(trigger);
    skin::UnskinWindow(window);
  }
  const auto& swallowed = Swallowed()[window];
  if (std::find(swallowed.begin(), swallowed.end(), message) != swallowed.end()) {
    return kSwallowedResult;
  }
  auto original = reinterpret_cast<WNDPROC>(GetPropW(window, kOriginalProc));
  return CallWindowProcW(original, window, message, wParam, lParam);
}

void SetHeaderWidth(HWND header, int index, int width) {
  HDITEMW item = {};
  item.mask = HDI_WIDTH;
  item.cxy = width;
  SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

InteractionForm::InteractionForm() {
  if (!ui.form) return;
  ParkCursor();
  secondButton = CreateChild(ui.form, L"Button", BS_PUSHBUTTON, 0, 340, 10, 75, 23, L"清除");
  textBox = CreateChild(ui.form, L"Edit", 0, 0, 340, 40, 70, 20);
  secondOption = CreateChild(ui.form, L"ThunderRT6OptionButton", 0, 0, 340, 70, 70, 20);
  emptyHeader = CreateChild(ui.form, WC_HEADERW, HDS_HORZ, 0, 340, 100, 70, 20);
  editableCombo = CreateChild(ui.form, L"ComboBox", CBS_DROPDOWN, 0, 220, 262, 121, 150);
  wideHeader = ui.header;
  SetWindowPos(wideHeader, nullptr, 0, 0, 210, 20, SWP_NOMOVE | SWP_NOZORDER);
  SetHeaderWidth(wideHeader, 0, 100);
  SetHeaderWidth(wideHeader, 1, 100);
  PumpAndPaint(ui.form);
  attached = skinner.AttachSkin(ui.form) == 1;
  PumpAndPaint(ui.form);
}

InteractionForm::~InteractionForm() {
  if (attached) skinner.DetachSkin(ui.form);
}

void RecordPreviousProcedure(HWND window, std::vector<UINT> swallowed) {
  const LONG_PTR original = skin::GetSkinProp(window, skin::prop::kProcAddr);
  SetPropW(window, kOriginalProc, reinterpret_cast<HANDLE>(original));
  skin::SetSkinProp(window, skin::prop::kProcAddr, reinterpret_cast<LONG_PTR>(&RecorderProc));
  Swallowed()[window] = std::move(swallowed);
  Log()[window].clear();
}

std::vector<UINT> RecordedMessages(HWND window) { return Log()[window]; }

void UnskinOnMessage(HWND window, UINT message) { UnskinTriggers()[window] = message; }

void ClearRecordedMessages() {
  for (auto& entry : Log()) entry.second.clear();
}

LONG_PTR Prop(HWND window, const wchar_t* key) { return skin::GetSkinProp(window, key); }

LPARAM ClientPoint(int x, int y) {
  return static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(static_cast<WORD>(x), static_cast<WORD>(y))));
}

void PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  MSG msg;
  do {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  } while (GetTickCount() - start < milliseconds);
}

void CursorOver(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  PumpFor(100);
}

void ParkCursor() {
  SetCursorPos(900, 900);
  PumpFor(100);
}

std::map<HWND, std::vector<LONG_PTR>> RunFades(const std::vector<HWND>& buttons) {
  std::map<HWND, std::vector<LONG_PTR>> levels;
  auto running = [&] {
    return std::any_of(buttons.begin(), buttons.end(),
                       [](HWND b) { return Prop(b, skin::prop::kTimerId) != 0; });
  };
  const DWORD start = GetTickCount();
  MSG msg;
  while (running() && GetTickCount() - start < 5000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_TIMER &&
          std::find(buttons.begin(), buttons.end(), msg.hwnd) != buttons.end()) {
        levels[msg.hwnd].push_back(Prop(msg.hwnd, skin::prop::kAlphaLevel));
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return levels;
}

std::vector<LONG_PTR> FadeLevels(LONG_PTR start) {
  std::vector<LONG_PTR> levels;
  for (LONG_PTR level = start; level <= 255; level += 3) levels.push_back(level);
  return levels;
}

int PixelsDifferentFromImage(HWND button, int state) {
  WindowPixels shown(button);
  HDC image = skin::ButtonStateSurface(button, state);
  if (!image) return -1;
  int different = 0;
  for (int y = 1; y < shown.height() - 1; ++y) {
    for (int x = 1; x < shown.width() - 1; ++x) {
      if (shown.At(x, y) != GetPixel(image, x, y)) ++different;
    }
  }
  return different;
}

void ResetButton(HWND button) {
  skin::StopFadeTimer(button);
  skin::SetSkinProp(button, skin::prop::kMouseFlag, 0);
  skin::SetSkinProp(button, skin::prop::kOldState, 0);
  RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void Scribble(HWND window, COLORREF colour) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  OffsetRect(&rect, -rect.left, -rect.top);
  HDC dc = GetWindowDC(window);
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
  ReleaseDC(window, dc);
}
