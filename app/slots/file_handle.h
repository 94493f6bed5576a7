#pragma once
// Owns a file handle from CreateFileW and closes it on every path.
#include <windows.h>

#include <string>

namespace app {

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (valid()) CloseHandle(h_);
  }
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

// Opens an existing file for reading beside any other reader or writer.
// Another program may have it open without sharing for a moment: that is
// waited for up to waitMs. An invalid handle on failure, GetLastError set.
inline FileHandle OpenForReading(const std::wstring& path, int waitMs) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(waitMs);
  for (;;) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) return FileHandle(h);
    const DWORD error = GetLastError();
    if ((error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) || GetTickCount64() >= deadline) {
      SetLastError(error);
      return FileHandle(INVALID_HANDLE_VALUE);
    }
    Sleep(50);
  }
}

}  // namespace app
