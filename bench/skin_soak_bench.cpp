// Long use of the skin. First hover / leave / press / release / focus cycles
// over the eighteen buttons of the main window, then attach / detach cycles
// of a form holding a control of every kind the skin knows. At the start and
// after every tenth of each run it prints the GDI objects alive in the
// process (found by asking the system about every handle value, and as
// GetGuiResources reports them where the system keeps that count) and the
// process's private bytes. After the first tenth (warm-up) both must stay flat.
//
//   skin_soak_bench [--scale N]   divides both cycle counts by N (default 1)
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <vector>

#include "app/frm_main.h"
#include "bench/bench_window.h"
#include "skin/clsSkinner.h"

namespace {

constexpr int kButtonCycles = 100000;
constexpr int kAttachCycles = 10000;

struct Sample {
  int gdiObjects = 0;     // handle values the system knows as GDI objects
  DWORD guiResources = 0;  // GetGuiResources(GR_GDIOBJECTS); 0 where it is not kept
  SIZE_T privateBytes = 0;  // PrivateUsage, or the page-file commit where that is not kept
  SIZE_T workingSet = 0;
};

Sample Measure() {
  Sample s;
  for (UINT_PTR value = 1; value <= 0xFFFF; ++value) {
    s.gdiObjects += GetObjectType(reinterpret_cast<HGDIOBJ>(value)) != 0;
  }
  s.guiResources = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof(counters);
  if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof(counters))) {
    s.privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    s.workingSet = counters.WorkingSetSize;
  }
  return s;
}

// Runs `cycles` cycles of `body`, measuring at the start and every 10 %.
template <typename Body>
void Soak(const char* name, int cycles, Body body) {
  std::printf("\n%s: %d cycles\n%6s %10s %12s %16s %14s %14s\n", name, cycles, "done", "cycles",
              "GDI objects", "GetGuiResources", "private KiB", "working KiB");
  Sample warm;
  Sample last;
  for (int tenth = 0; tenth <= 10; ++tenth) {
    if (tenth > 0) {
      for (int i = (tenth - 1) * cycles / 10; i < tenth * cycles / 10; ++i) body(i);
    }
    bench::Pump();
    last = Measure();
    if (tenth == 1) warm = last;
    std::printf("%5d%% %10d %12d %16lu %14llu %14llu\n", tenth * 10, tenth * cycles / 10, last.gdiObjects,
                static_cast<unsigned long>(last.guiResources),
                static_cast<unsigned long long>(last.privateBytes / 1024),
                static_cast<unsigned long long>(last.workingSet / 1024));
    std::fflush(stdout);
  }
  std::printf("growth after warm-up (10%% to 100%%): GDI objects %+d, private %+lld KiB\n",
              last.gdiObjects - warm.gdiObjects,
              (static_cast<long long>(last.privateBytes) - static_cast<long long>(warm.privateBytes)) / 1024);
}

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    FillRect(dc, &ps.rcPaint, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    EndPaint(window, &ps);
    return 0;
  }
  if (message == BM_GETCHECK || message == PBM_GETPOS) return GetWindowLongPtrW(window, GWLP_USERDATA);
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND Child(HWND parent, const wchar_t* cls, DWORD style, DWORD exStyle, int x, int y, int w, int h,
           LONG_PTR value = 0) {
  HWND window = CreateWindowExW(exStyle, cls, L"控件", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window, GWLP_USERDATA, value);
  return window;
}

// A top-level form with every kind: buttons of both drawing styles, sunken
// and plain edits, three combo boxes, a header with items, a nested form,
// and windows under the class names of the other kinds.
HWND EveryKindForm() {
  for (const wchar_t* name : {L"ThunderRT6FormDC", L"ThunderRT6CheckBox", L"ThunderRT6OptionButton",
                              L"ThunderRT6DriveListBox", L"ProgressBar20WndClass", L"ApexGridXYZ",
                              L"DataListWndClass"}) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = StandInProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    RegisterClassW(&wc);
  }
  HWND form = CreateWindowExW(0, L"ThunderRT6FormDC", L"soak", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                              440, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  Child(form, L"Button", BS_PUSHBUTTON, 0, 10, 10, 75, 23);
  Child(form, L"Button", BS_AUTOCHECKBOX, 0, 10, 40, 75, 23);
  Child(form, L"Button", BS_PUSHBUTTON | WS_DISABLED, 0, 10, 70, 75, 23);
  Child(form, L"Edit", 0, WS_EX_CLIENTEDGE, 100, 10, 100, 24);
  Child(form, L"Edit", WS_BORDER, 0, 100, 40, 100, 24);
  Child(form, L"ComboBox", CBS_SIMPLE, 0, 210, 10, 120, 80);
  Child(form, L"ComboBox", CBS_DROPDOWN, 0, 210, 100, 121, 150);
  Child(form, L"ComboBox", CBS_DROPDOWNLIST, 0, 210, 140, 120, 150);
  Child(form, L"ThunderRT6CheckBox", 0, 0, 10, 100, 100, 20, BST_CHECKED);
  Child(form, L"ThunderRT6OptionButton", 0, 0, 10, 125, 100, 20, BST_CHECKED);
  Child(form, L"ThunderRT6DriveListBox", CBS_DROPDOWNLIST, 0, 10, 150, 120, 21);
  Child(form, L"ProgressBar20WndClass", WS_BORDER, 0, 10, 180, 103, 20, 15000);
  Child(form, L"ApexGridXYZ", WS_BORDER, 0, 10, 235, 60, 30);
  Child(form, L"DataListWndClass", 0, WS_EX_CLIENTEDGE, 150, 235, 60, 30);
  HWND header = Child(form, WC_HEADERW, HDS_HORZ, 0, 10, 205, 210, 20);
  for (int i = 0; i < 2; ++i) {
    HDITEMW item = {};
    item.mask = HDI_TEXT | HDI_WIDTH;
    item.pszText = const_cast<wchar_t*>(L"名称");
    item.cxy = 100;
    SendMessageW(header, HDM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  HWND nested = Child(form, L"ThunderRT6FormDC", 0, 0, 340, 200, 90, 90);
  Child(nested, L"Button", BS_PUSHBUTTON, 0, 5, 5, 75, 23);
  return form;
}

int ScaleFrom(int argc, wchar_t** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::wcscmp(argv[i], L"--scale") == 0) {
      const int scale = _wtoi(argv[i + 1]);
      return scale > 0 ? scale : 1;
    }
  }
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int scale = ScaleFrom(argc, argv);
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);

  app::FrmMain main;
  main.Move(0, 0, 3750, 4500);
  main.Show();
  bench::Pump();
  skin::clsSkinner skinner;
  skinner.AttachSkin(main.hwnd());
  bench::Pump();
  const std::vector<HWND> buttons = bench::SlotButtons(main);
  const LPARAM inside = MAKELPARAM(5, 5);
  Soak("hover / leave / press / release / focus over the main window's buttons", kButtonCycles / scale,
       [&](int i) {
         HWND button = buttons[static_cast<size_t>(i) % buttons.size()];
         RECT r = {};
         GetWindowRect(button, &r);
         SetCursorPos(r.left + 5, r.top + 5);  // the skin starts a hover only under the pointer
         SendMessageW(button, WM_MOUSEMOVE, 0, inside);  // enter: the hover fade starts
         SendMessageW(button, WM_TIMER, 1, 0);
         SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, inside);  // pressed face, takes the focus
         ReleaseCapture();  // so that the release below clicks nothing
         SendMessageW(button, WM_LBUTTONUP, 0, inside);
         SendMessageW(button, WM_MOUSELEAVE, 0, 0);
         SetFocus(main.hwnd());  // the button loses the focus
         SendMessageW(button, WM_TIMER, 1, 0);
         if (i % 64 == 0) bench::Pump();
       });
  skinner.DetachSkin(main.hwnd());
  main.Destroy();
  bench::Pump();

  HWND form = EveryKindForm();
  bench::Pump();
  Soak("attach / detach of a form with every kind of control", kAttachCycles / scale, [&](int i) {
    skinner.AttachSkin(form);
    if (i % 16 == 0) {
      RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    skinner.DetachSkin(form);
    if (i % 16 == 0) bench::Pump();
  });
  DestroyWindow(form);
  return 0;
}
