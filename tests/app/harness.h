#pragma once
// Test helpers: a scratch folder, whole files, a bounded message pump, and the
// clipboard read, written and held busy straight through the system.
#include <windows.h>

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

// Empties the clipboard, then puts the text (CF_UNICODETEXT), an image
// (CF_BITMAP), text announced but never rendered (kUnrendered) or nothing (0) on it.
constexpr UINT kUnrendered = CF_PRIVATEFIRST;
inline void PutClip(UINT format, const std::wstring& text = L"") {
  static HWND owner = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (!OpenClip(owner)) return;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  std::memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(block);
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

// Holds the clipboard open from another thread, as a busy program would.
struct ClipHolder {
  ClipHolder() { WaitForSingleObject(opened, 10000); }
  ~ClipHolder() { SetEvent(release), thread.join(), CloseHandle(opened), CloseHandle(release); }
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr), release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread thread{[this] {
    const bool open = OpenClipboard(nullptr) != FALSE;
    SetEvent(opened), WaitForSingleObject(release, 10000);
    if (open) CloseClipboard();
  }};
};
