#pragma once
// A visible test form with a child of every kind the skin knows, and the
// means to read back what the skin did: pixels, properties, fade levels and
// the process's live GDI handles.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "skin/clsSkinner.h"
#include "skin/core/window_props.h"
#include "skin/interaction/fade_timer.h"
#include "skin/render/button_state_surfaces.h"
#include "tests/look/picture.h"

// Colour of a table entry written red first.
constexpr COLORREF Rgb(unsigned rrggbb) {
  return RGB((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF);
}
inline constexpr COLORREF kGrey = RGB(0x80, 0x70, 0x60);  // what the stand-in controls paint
inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kScribble = RGB(1, 2, 3);

// The stand-ins paint grey and answer check state and position from GWLP_USERDATA.
inline LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    SetDCBrushColor(dc, kGrey);
    FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    EndPaint(window, &ps);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  if (message == BM_GETCHECK || message == PBM_GETPOS) return GetWindowLongPtrW(window, GWLP_USERDATA);
  return DefWindowProcW(window, message, wParam, lParam);
}

// Registering again fails harmlessly.
inline void RegisterStandIns() {
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  for (const wchar_t* name : {L"ThunderRT6FormDC", L"ThunderRT6CheckBox", L"ThunderRT6OptionButton",
                              L"ThunderRT6DriveListBox", L"ProgressBar20WndClass", L"ApexGridXYZ",
                              L"DataListWndClass"}) {
    const WNDCLASSW wc = {0, StandInProc, 0, 0, GetModuleHandleW(nullptr), nullptr, LoadCursor(nullptr, IDC_ARROW),
                          reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr, name};
    RegisterClassW(&wc);
  }
}

inline HWND CreateTopLevel(const wchar_t* cls, DWORD style, int x, int y, int w, int h, HWND owner = nullptr) {
  RegisterStandIns();
  return CreateWindowExW(0, cls, L"skin test", style, x, y, w, h, owner, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

inline HWND CreateChild(HWND parent, const wchar_t* cls, DWORD style, DWORD exStyle, int x, int y, int w,
                        int h, const wchar_t* text = L"") {
  HWND window = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return window;
}

inline void PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  MSG msg;
  do {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  } while (GetTickCount() - start < milliseconds &&
           MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT) != WAIT_FAILED);
}

// Runs the message loop until `done` holds (5 s at most); whether it came to hold.
template <typename Done>
bool PumpUntil(Done done) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > 5000) return false;
    PumpFor(10);
  }
  return true;
}

inline void Repaint(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpFor(0);
}

inline void Scribble(HWND window, COLORREF colour) {
  const RECT all = {0, 0, 4000, 4000};  // clipped to the window
  HDC dc = GetWindowDC(window);
  SetDCBrushColor(dc, colour);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  ReleaseDC(window, dc);
}

inline LONG_PTR Prop(HWND window, const wchar_t* key) { return reinterpret_cast<LONG_PTR>(GetPropW(window, key)); }

inline LPARAM Point(int x, int y) { return static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(x, y))); }

inline LRESULT Send(HWND w, UINT message, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageW(w, message, wp, lp); }

inline std::vector<std::wstring> PropNames(HWND window) {
  std::vector<std::wstring> names;
  EnumPropsExW(window, [](HWND, LPWSTR name, HANDLE, ULONG_PTR list) -> BOOL {
    // The skin's keys only: the system keeps lower-case ones of its own.
    if (!IS_INTRESOURCE(name) && std::wstring(name).find_first_of(L"abcdefghijklmnopqrstuvwxyz_") == std::wstring::npos) {
      reinterpret_cast<std::vector<std::wstring>*>(list)->push_back(name);
    }
    return TRUE;
  }, reinterpret_cast<LPARAM>(&names));
  std::sort(names.begin(), names.end());
  return names;
}

// What the window shows, read from its whole-window surface.
struct WindowPixels : look::Picture {
  explicit WindowPixels(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    HDC source = GetWindowDC(window);
    look::Picture::operator=(look::Grab(source, 0, 0, rect.right - rect.left, rect.bottom - rect.top));
    ReleaseDC(window, source);
  }
  COLORREF At(int x, int y) const {
    return x < 0 || y < 0 || x >= width || y >= height ? CLR_INVALID : Rgb(rgb[static_cast<size_t>(y) * width + x]);
  }
  int Count(COLORREF colour) const {
    return static_cast<int>(std::count_if(rgb.begin(), rgb.end(), [colour](std::uint32_t p) { return Rgb(p) == colour; }));
  }
};

// Children: system buttons, edits, combo boxes and a header (two items of
// 100 px), stand-ins registered under the other kinds' class names (their
// check state or position is their GWLP_USERDATA).
struct SkinForm {
  SkinForm() {
    form = CreateTopLevel(L"ThunderRT6FormDC", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 440, 300);
    if (!form) return;
    push = CreateChild(form, L"Button", BS_PUSHBUTTON, 0, 10, 10, 75, 23, L"赋值");
    checkStyle = CreateChild(form, L"Button", BS_AUTOCHECKBOX, 0, 10, 40, 75, 23, L"check");
    disabled = CreateChild(form, L"Button", BS_PUSHBUTTON | WS_DISABLED, 0, 10, 70, 75, 23, L"清除");
    second = CreateChild(form, L"Button", BS_PUSHBUTTON, 0, 340, 10, 75, 23, L"清除");
    sunken = CreateChild(form, L"Edit", 0, WS_EX_CLIENTEDGE, 100, 10, 100, 24);
    bordered = CreateChild(form, L"Edit", WS_BORDER, 0, 100, 40, 100, 24);
    text = CreateChild(form, L"Edit", 0, 0, 340, 40, 70, 20);
    simpleCombo = CreateChild(form, L"ComboBox", CBS_SIMPLE, 0, 210, 10, 120, 80);
    editCombo = CreateChild(form, L"ComboBox", CBS_DROPDOWN, 0, 210, 100, 121, 150);
    listCombo = CreateChild(form, L"ComboBox", CBS_DROPDOWNLIST, 0, 210, 140, 120, 150);
    check = CreateChild(form, L"ThunderRT6CheckBox", 0, 0, 10, 100, 100, 20);
    option = CreateChild(form, L"ThunderRT6OptionButton", 0, 0, 10, 125, 100, 20);
    driveList = CreateChild(form, L"ThunderRT6DriveListBox", CBS_DROPDOWNLIST, 0, 10, 150, 120, 21);
    progress = CreateChild(form, L"ProgressBar20WndClass", WS_BORDER, 0, 10, 180, 103, 20);
    header = CreateChild(form, WC_HEADERW, HDS_HORZ, 0, 10, 205, 210, 20);
    grid = CreateChild(form, L"ApexGridXYZ", WS_BORDER, 0, 10, 235, 60, 30);
    dataList = CreateChild(form, L"DataListWndClass", 0, WS_EX_CLIENTEDGE, 150, 235, 60, 30);
    for (const wchar_t* title : {L"名称", L"B"}) {  // appended: the index is past the end
      HDITEMW item = {};
      item.mask = HDI_TEXT | HDI_WIDTH, item.cxy = 100, item.pszText = const_cast<wchar_t*>(title);
      SendMessageW(header, HDM_INSERTITEMW, 2, reinterpret_cast<LPARAM>(&item));
    }
    PumpFor(0);
    attached = skinner.AttachSkin(form) == 1;
    Repaint(form);
  }
  SkinForm(const SkinForm&) = delete;
  SkinForm& operator=(const SkinForm&) = delete;
  ~SkinForm() {
    if (attached) skinner.DetachSkin(form);
    if (form) DestroyWindow(form);
  }
  // The form last.
  std::vector<HWND> AllWindows() const {
    std::vector<HWND> windows;
    EnumChildWindows(form, [](HWND w, LPARAM list) {
      reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
      return TRUE;
    }, reinterpret_cast<LPARAM>(&windows));
    windows.push_back(form);
    return windows;
  }

  HWND form = nullptr, push = nullptr, second = nullptr, checkStyle = nullptr, disabled = nullptr;
  HWND sunken = nullptr, bordered = nullptr, text = nullptr, simpleCombo = nullptr;
  HWND editCombo = nullptr, listCombo = nullptr, driveList = nullptr, check = nullptr;
  HWND option = nullptr, progress = nullptr, header = nullptr, grid = nullptr, dataList = nullptr;
  skin::clsSkinner skinner;
  bool attached = false;
};

// Pixels inside the rounded region that differ from the button's image of `state`.
inline int DiffersFromImage(HWND button, int state) {
  WindowPixels shown(button);
  HDC image = skin::ButtonStateSurface(button, state);
  if (!image) return -1;
  int different = 0;
  for (int y = 1; y < shown.height - 1; ++y) {
    for (int x = 1; x < shown.width - 1; ++x) different += shown.At(x, y) != GetPixel(image, x, y);
  }
  return different;
}

// No fade, no pointer, the normal face drawn whole.
inline void ResetButton(HWND button) {
  skin::StopFadeTimer(button);
  skin::SetSkinProp(button, skin::prop::kMouseFlag, 0);
  skin::SetSkinProp(button, skin::prop::kOldState, 0);
  RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// Runs the message loop until no button fades (5 s at most); per button the
// "ALPHALEVEL" seen at each of its WM_TIMER messages.
inline std::map<HWND, std::vector<LONG_PTR>> RunFades(const std::vector<HWND>& buttons) {
  std::map<HWND, std::vector<LONG_PTR>> levels;
  auto fading = [&] {
    return std::any_of(buttons.begin(), buttons.end(), [](HWND b) { return Prop(b, L"TIMERID") != 0; });
  };
  const DWORD start = GetTickCount();
  MSG msg;
  while (fading() && GetTickCount() - start < 5000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_TIMER && std::count(buttons.begin(), buttons.end(), msg.hwnd)) {
        levels[msg.hwnd].push_back(Prop(msg.hwnd, L"ALPHALEVEL"));
      }
      DispatchMessageW(&msg);
    }
  }
  return levels;
}

// start, start + 3, ... up to 255
inline std::vector<LONG_PTR> FadeLevels(LONG_PTR start) {
  std::vector<LONG_PTR> levels;
  for (LONG_PTR level = start; level <= 255; level += 3) levels.push_back(level);
  return levels;
}

// GDI objects alive in the process, counted by asking the system about every
// handle value (independent of the skin's own bookkeeping).
inline int LiveGdiHandles() {
  int live = 0;
  for (UINT_PTR value = 1; value <= 0xFFFF; ++value) live += GetObjectType(reinterpret_cast<HGDIOBJ>(value)) != 0;
  return live;
}
