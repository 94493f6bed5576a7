#pragma once
// Test helpers: a scratch folder, whole files, a bounded message pump, and the
// clipboard read, written and held busy straight through the system.
#include <windows.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <thread>

namespace fs = std::filesystem;

struct TempDir {
  TempDir() { fs::remove_all(path), fs::create_directory(path); }
  ~TempDir() { std::error_code ignored; fs::remove_all(path, ignored); }
  inline static int count = 0;
  fs::path path = fs::temp_directory_path() /
                  (L"clip_t" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++count));
};

inline std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
inline void PutFile(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

// Runs this thread's messages until done() holds or capMs pass.
inline bool PumpUntil(const std::function<bool()>& done, DWORD capMs = 5000) {
  for (const DWORD start = GetTickCount(); !done(); MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
    if (GetTickCount() - start >= capMs) return false;
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); DispatchMessageW(&msg)) TranslateMessage(&msg);
  }
  return true;
}

inline bool OpenClip(HWND owner = nullptr) {
  for (int i = 0; i < 300; ++i, Sleep(10)) if (OpenClipboard(owner)) return true;
  return false;
}

inline HGLOBAL TextBlock(const std::wstring& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  std::memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(block);
  return block;
}

// Empties the clipboard, then puts the text (CF_UNICODETEXT), an image
// (CF_BITMAP), text announced but never rendered (kUnrendered) or nothing (0) on it.
constexpr UINT kUnrendered = CF_PRIVATEFIRST;
inline void PutClip(UINT format, const std::wstring& text = L"") {
  static HWND owner = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (!OpenClip(owner)) return;
  EmptyClipboard();
  HGLOBAL block = TextBlock(text);
  if (format == CF_UNICODETEXT) SetClipboardData(CF_UNICODETEXT, block); else GlobalFree(block);
  if (format == CF_BITMAP) SetClipboardData(CF_BITMAP, CreateBitmap(4, 4, 1, 32, nullptr));
  if (format == kUnrendered) SetClipboardData(CF_UNICODETEXT, nullptr);
  CloseClipboard();
}

// The clipboard's CF_UNICODETEXT; nullopt when it holds none.
inline std::optional<std::wstring> ClipText() {
  if (!OpenClip()) return std::nullopt;
  std::optional<std::wstring> text;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (const void* p = data ? GlobalLock(data) : nullptr) text = static_cast<const wchar_t*>(p), GlobalUnlock(data);
  CloseClipboard();
  return text;
}

inline std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

// An editor window that typing reaches, once the desktop has made it the
// active window; null when it never became so.
inline HWND ActiveEditor() {
  HWND editor = CreateWindowExW(0, L"Edit", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE | ES_MULTILINE, 300, 300, 300,
                                200, nullptr, nullptr, nullptr, nullptr);
  INPUT key[2] = {{INPUT_KEYBOARD, {}}, {INPUT_KEYBOARD, {}}};
  key[0].ki.wVk = key[1].ki.wVk = 'A', key[1].ki.dwFlags = KEYEVENTF_KEYUP;
  for (int i = 0; i < 10 && WindowText(editor).empty(); ++i) {
    SetForegroundWindow(editor), SetFocus(editor), SendInput(2, key, sizeof(INPUT));
    PumpUntil([&] { return !WindowText(editor).empty(); }, 1000);
  }
  if (!WindowText(editor).empty()) return editor;
  DestroyWindow(editor);
  return nullptr;
}

// Another program's reader on a thread of its own: opens the clipboard, reads
// its text unless it only holds the clipboard, keeps it open holdMs longer (or
// until destroyed), closes it at closedAt.
struct ClipReader {
  explicit ClipReader(DWORD holdMs, bool read = true) : thread([this, holdMs, read] {
    HWND window = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (OpenClip(window)) {
      HANDLE data = read ? GetClipboardData(CF_UNICODETEXT) : nullptr;
      if (const void* p = data ? GlobalLock(data) : nullptr) text = static_cast<const wchar_t*>(p), GlobalUnlock(data);
      SetEvent(opened), WaitForSingleObject(release, holdMs);
      closedAt = GetTickCount(), CloseClipboard();
    }
    DestroyWindow(window), SetEvent(opened), done = true;
  }) {}
  ~ClipReader() { SetEvent(release), thread.join(), CloseHandle(opened), CloseHandle(release); }
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr), release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::optional<std::wstring> text;
  DWORD closedAt = 0;
  std::atomic<bool> done{false};
  std::thread thread;
};

// Holds the clipboard open until destroyed, as a busy program would.
struct ClipHolder : ClipReader {
  ClipHolder() : ClipReader(10000, false) { WaitForSingleObject(opened, 10000); }
};
