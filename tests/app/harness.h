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
  TempDir() {
    static int count = 0;
    path = fs::temp_directory_path() /
           (L"clip_t" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++count));
    fs::remove_all(path);
    fs::create_directory(path);
  }
  ~TempDir() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  std::wstring File(const wchar_t* name) const { return (path / name).wstring(); }
  fs::path path;
};

inline std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
inline void PutFile(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

// Runs this thread's messages until done() holds or capMs pass.
inline bool PumpUntil(const std::function<bool()>& done, DWORD capMs = 5000) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (GetTickCount() - start >= capMs) return done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

inline bool OpenClip(HWND owner = nullptr) {
  for (int i = 0; i < 300; ++i, Sleep(10))
    if (OpenClipboard(owner)) return true;
  return false;
}

// Empties the clipboard, then puts the text (CF_UNICODETEXT), an image
// (CF_BITMAP) or nothing (0) on it.
inline void PutClip(UINT format, const std::wstring& text = L"") {
  static HWND owner = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      nullptr, nullptr);
  if (!OpenClip(owner)) return;
  EmptyClipboard();
  if (format == CF_UNICODETEXT) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(block), text.c_str(), bytes);
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
  } else if (format == CF_BITMAP) {
    HDC screen = GetDC(nullptr);
    SetClipboardData(CF_BITMAP, CreateCompatibleBitmap(screen, 4, 4));
    ReleaseDC(nullptr, screen);
  }
  CloseClipboard();
}

// The clipboard's text in CF_UNICODETEXT or CF_TEXT (decoded from the ANSI
// code page); nullopt when that format is absent.
inline std::optional<std::wstring> ClipText(UINT format = CF_UNICODETEXT) {
  if (!OpenClip()) return std::nullopt;
  std::optional<std::wstring> text;
  HANDLE data = GetClipboardData(format);
  if (const void* p = data ? GlobalLock(data) : nullptr) {
    if (format == CF_TEXT) {
      const auto* ansi = static_cast<const char*>(p);
      std::wstring wide(std::strlen(ansi) + 1, L'\0');
      const int n = MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide.data(), static_cast<int>(wide.size()));
      wide.resize(n > 0 ? static_cast<size_t>(n) - 1 : 0);
      text = wide;
    } else {
      text = static_cast<const wchar_t*>(p);
    }
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

// Holds the clipboard open from another thread, as a busy program would.
class ClipHolder {
 public:
  ClipHolder() { WaitForSingleObject(opened_, 10000); }
  ~ClipHolder() {
    SetEvent(release_);
    thread_.join();
    CloseHandle(opened_);
    CloseHandle(release_);
  }

 private:
  HANDLE opened_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread thread_{[this] {
    const bool open = OpenClipboard(nullptr) != FALSE;
    SetEvent(opened_);
    WaitForSingleObject(release_, 10000);
    if (open) CloseClipboard();
  }};
};
