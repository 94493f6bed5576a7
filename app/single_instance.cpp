#include "app/single_instance.h"

#include <sddl.h>

#include <vector>

namespace app {
namespace {

// The user's SID as text, so that two users of one session do not meet.
std::wstring UserKey() {
  HANDLE token = nullptr;
  std::wstring key;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return key;
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<unsigned char> buffer(size);
  PWSTR text = nullptr;
  if (size && GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
      ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
    key = text;
    LocalFree(text);
  }
  CloseHandle(token);
  return key;
}

}  // namespace

SingleInstance::SingleInstance(const std::wstring& name) {
  const std::wstring full = L"Local\\" + name + L"-" + UserKey();
  mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(HWND), full.c_str());
  const DWORD error = GetLastError();
  // Made by another copy, or made by one this user may not even open.
  first_ = !(mapping_ ? error == ERROR_ALREADY_EXISTS : error == ERROR_ACCESS_DENIED);
  if (mapping_) shared_ = static_cast<HWND*>(MapViewOfFile(mapping_, FILE_MAP_WRITE | FILE_MAP_READ, 0, 0, sizeof(HWND)));
}

SingleInstance::~SingleInstance() {
  if (shared_) UnmapViewOfFile(shared_);
  if (mapping_) CloseHandle(mapping_);
}

void SingleInstance::Publish(HWND window) {
  if (!shared_) return;
  InterlockedExchangePointer(reinterpret_cast<PVOID volatile*>(shared_), window);
  // A copy started at a lower integrity level may still ask this one.
  ChangeWindowMessageFilterEx(window, ShowRunningCopyMessage(), MSGFLT_ALLOW, nullptr);
}

HWND SingleInstance::RunningWindow(DWORD waitMs) const {
  if (!shared_) return nullptr;
  for (const DWORD start = GetTickCount();; Sleep(50)) {
    const HWND window = static_cast<HWND>(
        InterlockedCompareExchangePointer(reinterpret_cast<PVOID volatile*>(shared_), nullptr, nullptr));
    if (window && IsWindow(window)) return window;
    if (GetTickCount() - start >= waitMs) return nullptr;
  }
}

UINT ShowRunningCopyMessage() {
  static const UINT message = RegisterWindowMessageW(L"朔禾剪贴板-ShowRunningCopy");
  return message;
}

void ShowRunningCopy(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  AllowSetForegroundWindow(process);
  PostMessageW(window, ShowRunningCopyMessage(), 0, 0);
}

}  // namespace app
