#pragma once
// A visible test form with a child of every kind the skin knows, and the
// means to drive it and read back what the skin did: pixels and properties.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "skin/clsSkinner.h"
#include "skin/core/window_props.h"
#include "skin/interaction/fade_timer.h"
#include "skin/render/button_state_surfaces.h"
#include "tests/app/harness.h"
#include "tests/look/picture.h"

// Colour of a table entry written red first.
constexpr COLORREF Rgb(unsigned v) { return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); }
inline constexpr COLORREF kGrey = RGB(0x80, 0x70, 0x60);  // the stand-ins

inline void Fill(HDC dc, const RECT& area, COLORREF colour) {
  SetDCBrushColor(dc, colour);
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// The stand-ins paint grey and answer check state and position from GWLP_USERDATA.
inline LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  PAINTSTRUCT ps;
  if (message == WM_PAINT) return Fill(BeginPaint(window, &ps), ps.rcPaint, kGrey), EndPaint(window, &ps), 0;
  if (message == WM_ERASEBKGND) return 1;
  if (message == BM_GETCHECK || message == PBM_GETPOS) return GetWindowLongPtrW(window, GWLP_USERDATA);
  return DefWindowProcW(window, message, wParam, lParam);
}

inline HWND CreateChild(HWND parent, const wchar_t* cls, DWORD style, DWORD exStyle, int x, int y, int w, int h,
                        const wchar_t* text = L"") {
  HWND window = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  return SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE), window;
}

// Runs the message loop, once through at least, until `milliseconds` have passed.
inline void PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  PumpUntil([&, once = false]() mutable { return std::exchange(once, true) && GetTickCount() - start >= milliseconds; });
}

inline void Repaint(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpFor(0);
}

inline LONG_PTR Prop(HWND window, const wchar_t* key) { return reinterpret_cast<LONG_PTR>(GetPropW(window, key)); }
inline LPARAM Point(int x, int y) { return static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(x, y))); }
inline LRESULT Send(HWND w, UINT message, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageW(w, message, wp, lp); }

// What the window shows, read from its whole-window surface.
struct WindowPixels : look::Picture {
  explicit WindowPixels(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    HDC source = GetWindowDC(window);
    look::Picture::operator=(look::Grab(source, 0, 0, r.right - r.left, r.bottom - r.top));
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
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    // The form's and the stand-ins' classes (registering again fails harmlessly).
    for (const wchar_t* name : {L"ThunderRT6FormDC", L"ThunderRT6CheckBox", L"ThunderRT6OptionButton", L"ApexGridXYZ",
                                L"ThunderRT6DriveListBox", L"ProgressBar20WndClass", L"DataListWndClass"}) {
      const WNDCLASSW wc = {0, StandInProc, 0, 0, GetModuleHandleW(nullptr), nullptr, LoadCursor(nullptr, IDC_ARROW),
                            reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr, name};
      RegisterClassW(&wc);
    }
    form = CreateWindowExW(0, L"ThunderRT6FormDC", L"skin test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 440, 300,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    push = CreateChild(form, L"Button", BS_PUSHBUTTON, 0, 10, 10, 75, 23, L"赋值");
    checkStyle = CreateChild(form, L"Button", BS_AUTOCHECKBOX, 0, 10, 40, 75, 23, L"check");
    disabled = CreateChild(form, L"Button", BS_PUSHBUTTON | WS_DISABLED, 0, 10, 70, 75, 23, L"清除");
    second = CreateChild(form, L"Button", BS_PUSHBUTTON, 0, 340, 10, 75, 23, L"清除");
    sunken = CreateChild(form, L"Edit", 0, WS_EX_CLIENTEDGE, 100, 10, 100, 24);
    CreateChild(form, L"Edit", WS_BORDER, 0, 100, 40, 100, 24);
    text = CreateChild(form, L"Edit", 0, 0, 340, 40, 70, 20);
    CreateChild(form, L"ComboBox", CBS_SIMPLE, 0, 210, 10, 120, 80);
    editCombo = CreateChild(form, L"ComboBox", CBS_DROPDOWN, 0, 210, 100, 121, 150);
    listCombo = CreateChild(form, L"ComboBox", CBS_DROPDOWNLIST, 0, 210, 140, 120, 150);
    check = CreateChild(form, L"ThunderRT6CheckBox", 0, 0, 10, 100, 100, 20);
    option = CreateChild(form, L"ThunderRT6OptionButton", 0, 0, 10, 125, 100, 20);
    driveList = CreateChild(form, L"ThunderRT6DriveListBox", CBS_DROPDOWNLIST, 0, 10, 150, 120, 21);
    progress = CreateChild(form, L"ProgressBar20WndClass", WS_BORDER, 0, 10, 180, 103, 20);
    header = CreateChild(form, WC_HEADERW, HDS_HORZ, 0, 10, 205, 210, 20);
    CreateChild(form, L"ApexGridXYZ", WS_BORDER, 0, 10, 235, 60, 30);
    CreateChild(form, L"DataListWndClass", 0, WS_EX_CLIENTEDGE, 150, 235, 60, 30);
    for (const wchar_t* title : {L"名称", L"B"}) {  // appended: the index is past the end
      HDITEMW item = {};
      item.mask = HDI_TEXT | HDI_WIDTH, item.cxy = 100, item.pszText = const_cast<wchar_t*>(title);
      SendMessageW(header, HDM_INSERTITEMW, 2, reinterpret_cast<LPARAM>(&item));
    }
    PumpFor(0);
    attached = skinner.AttachSkin(form) == 1;
    Repaint(form);
  }
  ~SkinForm() {
    if (attached) skinner.DetachSkin(form);
    if (form) DestroyWindow(form);
  }

  HWND form, push, checkStyle, disabled, second, sunken, text, editCombo, listCombo, check, option, driveList,
      progress, header;
  skin::clsSkinner skinner;
  bool attached = false;
};
