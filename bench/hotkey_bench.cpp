// Times the hotkeys on the real main window, in-process:
//  - store: WM_HOTKEY for Alt+3 until slot 3 holds the clipboard's text
//    (1 KB and 1 MB), beside a bare message through the same window
//    procedure chain;
//  - paste: WM_HOTKEY for Ctrl+3 posted until the text has arrived in an
//    editor window that is active (1 KB and 1 MB), beside a posted keystroke
//    message to that editor until its character has arrived; 1 KB also with
//    a clipboard reader running in another process (this program started
//    again with --reader), which reads every clipboard change at once.
// Floors: a bare multi-line EDIT of the slot box's size and font given the
// text with WM_SETTEXT (and given the part of it the box lays out), and the
// editor's own paste (WM_PASTE) of the text from a plain clipboard. Each store
// is broken down into reading the clipboard, copying out its text, the text
// box, the tooltip and the skin's repaint of the box.
// Usage: hotkey_bench [rounds]   (needs a desktop; works in a folder under %TEMP%)
//        hotkey_bench --reader      (the reader; ends when its window is closed)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/clipboard/clipboard_text_reader.h"
#include "app/frm_main.h"
#include "forms/app.h"
#include "forms/clipboard.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
  double median_ms;
  double best_ms;
  int failures;
};

// body returns false when the round did not reach its end.
Figures Time(int rounds, const std::function<void()>& before, const std::function<bool()>& body) {
  std::vector<double> ms;
  int failures = 0;
  for (int i = 0; i < rounds; ++i) {
    before();
    const auto start = Clock::now();
    if (!body()) ++failures;
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms.front(), failures};
}

void Report(const char* what, const Figures& f) {
  std::printf("%-46s median %9.3f ms   best %9.3f ms%s\n", what, f.median_ms, f.best_ms,
              f.failures ? "   (some rounds timed out)" : "");
}

// Dispatches messages until done() or 10 s.
bool PumpUntil(const std::function<bool()>& done) {
  const auto start = Clock::now();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (Clock::now() - start > std::chrono::seconds(10)) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
}

int TextLength(HWND hwnd) { return GetWindowTextLengthW(hwnd); }

bool OpenClip(HWND owner = nullptr) {
  for (int i = 0; i < 100; ++i, Sleep(10)) {
    if (OpenClipboard(owner)) return true;
  }
  return false;
}

// The text on the clipboard, owned by a window of this process (as a program
// copying text owns it).
void PutText(const std::wstring& text) {
  static HWND owner = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (!OpenClip(owner)) return;
  EmptyClipboard();
  if (HGLOBAL block = forms::Clipboard::NewTextBlock(text)) {
    if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
  }
  CloseClipboard();
}

const wchar_t kReaderTitle[] = L"hotkey_bench reader";

// A clipboard reader of another process: reads every change's text at once.
int RunReader() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_CLIPBOARDUPDATE && OpenClipboard(hwnd)) {
      GetClipboardData(CF_UNICODETEXT);
      CloseClipboard();
      return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  };
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"HotkeyBenchReader";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, kReaderTitle, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              wc.hInstance, nullptr);
  if (!hwnd || !AddClipboardFormatListener(hwnd)) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

// Starts this program again as the reader; returns its window, or null.
HWND StartReader() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" --reader";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return nullptr;
  CloseHandle(pi.hThread), CloseHandle(pi.hProcess);
  HWND reader = nullptr;
  PumpUntil([&] { return (reader = FindWindowW(L"HotkeyBenchReader", kReaderTitle)) != nullptr; });
  return reader;
}

std::wstring Text(size_t length) {
  std::wstring text;
  text.reserve(length);
  for (size_t i = 0; text.size() < length; ++i) {
    text += (i % 64 == 63) ? L'\n' : static_cast<wchar_t>(L'a' + i % 26);
  }
  return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 1 && std::wstring(argv[1]) == L"--reader") return RunReader();
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 20;
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring folder =
      std::wstring(temp) + L"hotkey_bench_" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  forms::App::SetPathForTesting(folder);

  {
    app::FrmMain form;
    if (!form.Load()) return 1;
    form.Show();
    const HWND main = form.hwnd();
    std::printf("hotkeys, %d rounds each\n", rounds);

    Report("floor: message through the chain (sent)",
           Time(rounds * 10, [] {}, [&] {
             SendMessageW(main, WM_USER + 100, 0, 0);
             return true;
           }));
    for (size_t kb : {size_t{1}, size_t{1024}}) {
      const std::wstring text = Text(kb * 1024 / sizeof(wchar_t));
      PutText(text);
      char what[64];
      std::snprintf(what, sizeof what, "store: Alt+3 -> slot holds %zu KB", kb);
      Report(what, Time(kb == 1 ? rounds * 10 : rounds, [&] { form.txtClip(3).SetText(L""); },
                        [&] {
                          SendMessageW(main, WM_HOTKEY, 151, 0);
                          return PumpUntil([&] { return form.txtClip(3).Text().size() == text.size(); });
                        }));
      // The part of it that is the text box (and its tooltip) taking the text.
      std::snprintf(what, sizeof what, "  of which setting the slot's %zu KB", kb);
      Report(what, Time(kb == 1 ? rounds * 10 : rounds, [&] { form.txtClip(4).SetText(L""); },
                        [&] {
                          form.txtClip(4).SetText(text);
                          return true;
                        }));
    }

    for (size_t kb : {size_t{1}, size_t{1024}}) {
      const std::wstring text = Text(kb * 1024 / sizeof(wchar_t));
      PutText(text);
      const HWND box = form.txtClip(4).hwnd();
      form.txtClip(4).SetText(text);
      const size_t part = form.txtClip(4).PartLength();
      RECT r = {};
      GetWindowRect(box, &r);
      HWND bare = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"",
                                  WS_POPUP | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 600, 0,
                                  r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
      SendMessageW(bare, EM_SETLIMITTEXT, 0, 0);
      SendMessageW(bare, WM_SETFONT, SendMessageW(box, WM_GETFONT, 0, 0), FALSE);
      const int n = kb == 1 ? rounds * 10 : std::max(1, rounds / 4);
      char what[96];
      std::snprintf(what, sizeof what, "floor: bare multi-line EDIT, WM_SETTEXT %zu KB", kb);
      Report(what, Time(n, [&] { SetWindowTextW(bare, L""); }, [&] {
               return SendMessageW(bare, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
             }));
      if (part) {
        const std::wstring start = text.substr(0, part);
        std::snprintf(what, sizeof what, "  same EDIT, the %zu characters laid out", part);
        Report(what, Time(rounds * 10, [&] { SetWindowTextW(bare, L""); }, [&] {
                 return SendMessageW(bare, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(start.c_str())) != 0;
               }));
      }
      DestroyWindow(bare);
      std::printf("store of %zu KB, broken down:\n", kb);
      HANDLE data = nullptr;
      Report("  floor: open, GetClipboardData, close", Time(n, [] {}, [&] {
               if (!OpenClip()) return false;
               data = GetClipboardData(CF_UNICODETEXT);
               CloseClipboard();
               return data != nullptr;
             }));
      app::ClipboardTextReader reader;
      Report("  read and copied out on the reader's thread", Time(n, [] {}, [&] {
               size_t got = 0;
               reader.Read([&](app::ClipboardRead read) { got = read.text.size() + 1; });
               return PumpUntil([&] { return got != 0; }) && got == text.size() + 1;
             }));
      Report("  text box: WM_SETTEXT on the slot's box", Time(n, [&] { SetWindowTextW(box, L""); }, [&] {
               return SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
             }));
      Report("  tooltip: the Change handler (text to tip)", Time(n, [&] {
               form.txtClip(4).SetToolTipText(L"");
             }, [&] {
               form.txtClip_Change(4);
               return true;
             }));
      Report("  skin: repaint of the box", Time(n, [] {}, [&] {
               return RedrawWindow(box, nullptr, nullptr,
                                   RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW) != 0;
             }));
      form.txtClip(4).SetText(L"");
    }

    // The target: an editor window of this process, active and focused.
    HWND editor = CreateWindowExW(0, L"Edit", L"",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL,
                                  300, 300, 400, 300, nullptr, nullptr, GetModuleHandleW(nullptr),
                                  nullptr);
    SendMessageW(editor, EM_SETLIMITTEXT, 0, 0);
    SetForegroundWindow(editor);
    SetFocus(editor);
    const auto settle = Clock::now();
    PumpUntil([&] { return Clock::now() - settle > std::chrono::milliseconds(200); });
    auto clearEditor = [&] {
      SetWindowTextW(editor, L"");
      PumpUntil([&] { return !form.Paste().Pending(); });
    };

    Report("floor: posted key -> character in editor",
           Time(rounds, clearEditor, [&] {
             PostMessageW(editor, WM_CHAR, L'x', 1);
             return PumpUntil([&] { return TextLength(editor) == 1; });
           }));
    {
      const std::wstring text = Text(1024 * 1024 / sizeof(wchar_t));
      const int expected = static_cast<int>(text.size());
      Report("floor: editor's own paste (WM_PASTE) of 1 MB",
             Time(std::max(1, rounds / 4),
                  [&] {
                    SetWindowTextW(editor, L"");
                    PutText(text);
                  },
                  [&] {
                    SendMessageW(editor, WM_PASTE, 0, 0);
                    return TextLength(editor) >= expected;
                  }));
    }
    for (size_t kb : {size_t{1}, size_t{1024}}) {
      const std::wstring text = Text(kb * 1024 / sizeof(wchar_t));
      form.txtClip(3).SetText(text);
      const int expected = static_cast<int>(text.size());
      char what[64];
      std::snprintf(what, sizeof what, "paste: Ctrl+3 -> %zu KB in editor", kb);
      Report(what, Time(kb == 1 ? rounds : std::max(1, rounds / 4), clearEditor, [&] {
               PostMessageW(main, WM_HOTKEY, 251, 0);
               return PumpUntil([&] { return TextLength(editor) >= expected; });
             }));
    }
    if (HWND reader = StartReader()) {
      const std::wstring text = Text(1024 / sizeof(wchar_t));
      form.txtClip(3).SetText(text);
      const int expected = static_cast<int>(text.size());
      Report("paste: Ctrl+3 -> 1 KB, reader in another process", Time(rounds, clearEditor, [&] {
               PostMessageW(main, WM_HOTKEY, 251, 0);
               return PumpUntil([&] { return TextLength(editor) >= expected; });
             }));
      PostMessageW(reader, WM_CLOSE, 0, 0);
    } else {
      std::printf("paste with a reader: could not start the reader\n");
    }
    DestroyWindow(editor);
    form.Close();
  }
  forms::App::SetPathForTesting(L"");
  DeleteFileW((folder + L"\\data.mdb").c_str());
  DeleteFileW((folder + L"\\Config.ini").c_str());
  RemoveDirectoryW(folder.c_str());
  return 0;
}
