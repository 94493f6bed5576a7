#include "skin_test_form.h"

#include <commctrl.h>

#include <cstdint>

namespace {

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT client;
      GetClientRect(window, &client);
      HBRUSH brush = CreateSolidBrush(kControlGrey);
      FillRect(dc, &client, brush);
      DeleteObject(brush);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case BM_GETCHECK:
    case PBM_GETPOS:
      return GetWindowLongPtrW(window, GWLP_USERDATA);
    case CB_GETDROPPEDSTATE:
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

const wchar_t* const kStandInClasses[] = {
    L"ThunderRT6FormDC",       L"ThunderRT6CheckBox", L"ThunderRT6OptionButton",
    L"ThunderRT6DriveListBox", L"ProgressBar20WndClass", L"ApexGridXYZ",
    L"DataListWndClass",       L"#32770"};

void RegisterStandIns() {
  static bool done = false;
  if (done) return;
  INITCOMMONCONTROLSEX icc = {};
  icc.dwSize = sizeof(icc);
  icc.dwICC = ICC_LISTVIEW_CLASSES;
  InitCommonControlsEx(&icc);
  for (const wchar_t* name : kStandInClasses) {
    if (std::wstring(name) == L"#32770") continue;  // the system dialog class
    WNDCLASSW wc = {};
    wc.lpfnWndProc = StandInProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    RegisterClassW(&wc);
  }
  done = true;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectPropName(HWND, LPWSTR name, HANDLE, ULONG_PTR list) {
  if (!IS_INTRESOURCE(name)) reinterpret_cast<std::vector<std::wstring>*>(list)->push_back(name);
  return TRUE;
}

}  // namespace

HWND CreateTopLevel(const wchar_t* className, DWORD style, DWORD exStyle, int x, int y, int width,
                    int height, HWND owner) {
  RegisterStandIns();
  for (int attempt = 0; attempt < 20; ++attempt) {
    HWND window = CreateWindowExW(exStyle, className, L"skin test", style, x, y, width, height,
                                  owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window) return window;
    Sleep(100);
  }
  return nullptr;
}

HWND CreateChild(HWND parent, const wchar_t* className, DWORD style, DWORD exStyle, int x, int y,
                 int width, int height, const wchar_t* text) {
  RegisterStandIns();
  HWND window = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y,
                                width, height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window) SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return window;
}

SkinTestForm::SkinTestForm() {
  form = CreateTopLevel(L"ThunderRT6FormDC", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0,
                        420, 300);
  if (!form) return;
  pushButton = CreateChild(form, L"Button", BS_PUSHBUTTON, 0, 10, 10, 75, 23, L"赋值");
  checkStyleButton = CreateChild(form, L"Button", BS_AUTOCHECKBOX, 0, 10, 40, 75, 23, L"check");
  disabledButton = CreateChild(form, L"Button", BS_PUSHBUTTON | WS_DISABLED, 0, 10, 70, 75, 23,
                               L"清除");
  sunkenEdit = CreateChild(form, L"Edit", 0, WS_EX_CLIENTEDGE, 100, 10, 100, 24);
  borderEdit = CreateChild(form, L"Edit", WS_BORDER, 0, 100, 40, 100, 24);
  scrollEdit = CreateChild(form, L"Edit", ES_MULTILINE | WS_VSCROLL, WS_EX_CLIENTEDGE, 100, 70,
                           100, 40);
  simpleCombo = CreateChild(form, L"ComboBox", CBS_SIMPLE, 0, 210, 10, 120, 80);
  dropDownCombo = CreateChild(form, L"ComboBox", CBS_DROPDOWN, 0, 210, 100, 120, 150);
  listCombo = CreateChild(form, L"ComboBox", CBS_DROPDOWNLIST, 0, 210, 140, 120, 150);
  checkBox = CreateChild(form, L"ThunderRT6CheckBox", 0, 0, 10, 100, 100, 20);
  optionButton = CreateChild(form, L"ThunderRT6OptionButton", 0, 0, 10, 125, 100, 20);
  driveList = CreateChild(form, L"ThunderRT6DriveListBox", CBS_DROPDOWNLIST, 0, 10, 150, 120, 21);
  progressBar = CreateChild(form, L"ProgressBar20WndClass", WS_BORDER, 0, 10, 180, 103, 20);
  header = CreateChild(form, WC_HEADERW, HDS_HORZ, 0, 10, 205, 200, 20);
  grid = CreateChild(form, L"ApexGridXYZ", WS_BORDER, 0, 10, 235, 60, 30);
  borderlessGrid = CreateChild(form, L"ApexGridXYZ", 0, 0, 80, 235, 60, 30);
  dataList = CreateChild(form, L"DataListWndClass", 0, WS_EX_CLIENTEDGE, 150, 235, 60, 30);

  const wchar_t* titles[] = {L"名称", L"B"};
  const int widths[] = {60, 50};
  for (int i = 0; i < 2; ++i) {
    HDITEMW item = {};
    item.mask = HDI_TEXT | HDI_WIDTH;
    item.pszText = const_cast<wchar_t*>(titles[i]);
    item.cxy = widths[i];
    SendMessageW(header, HDM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  PumpAndPaint(form);
}

SkinTestForm::~SkinTestForm() {
  if (form) DestroyWindow(form);
}

std::vector<HWND> SkinTestForm::AllWindows() const {
  std::vector<HWND> windows;
  EnumChildWindows(form, CollectWindow, reinterpret_cast<LPARAM>(&windows));
  windows.push_back(form);
  return windows;
}

void PumpAndPaint(HWND top) {
  MSG msg;
  for (int round = 0; round < 3; ++round) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (top) RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
}

WindowPixels::WindowPixels(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  width_ = rect.right - rect.left;
  height_ = rect.bottom - rect.top;
  if (width_ <= 0 || height_ <= 0) return;
  HDC source = GetWindowDC(window);
  HDC memory = CreateCompatibleDC(source);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
  GdiFlush();
  pixels_.resize(static_cast<size_t>(width_) * height_);
  const auto* raw = static_cast<const std::uint32_t*>(bits);
  for (size_t i = 0; i < pixels_.size(); ++i) {
    const std::uint32_t p = raw[i];  // 0x00RRGGBB
    pixels_[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, source);
}

COLORREF WindowPixels::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

std::vector<std::wstring> PropertyNames(HWND window) {
  std::vector<std::wstring> names;
  EnumPropsExW(window, CollectPropName, reinterpret_cast<LPARAM>(&names));
  return names;
}

LONG_PTR ProcOf(HWND window) { return GetWindowLongPtrW(window, GWLP_WNDPROC); }

SIZE WindowSize(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}
