#pragma once
// A slow clipboard owner in a process of its own, for the app tests.
#include <windows.h>

#include <string>

#include "harness.h"

// Another program (test_editor owner) that offers its text by delayed
// rendering and hands it over only once released.
struct SlowOwner {
  SlowOwner() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" TEST_EDITOR_EXE L"\" owner \"late 迟到\"";
    ResetEvent(release);  // left set by an owner of an earlier run that was never ended
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return;
    // Taking the clipboard over tells its owner, which may be a window of this thread.
    PumpUntil([this] { return (peer = OwnWindow()) && GetClipboardOwner() == peer; }, 20000);
  }
  HWND OwnWindow() const {
    HWND w = nullptr;
    DWORD pid = 0;
    while ((w = FindWindowExW(nullptr, w, nullptr, L"ClipPeer")) && (GetWindowThreadProcessId(w, &pid), pid != process.dwProcessId)) {}
    return w;
  }
  ~SlowOwner() {
    Release(), TerminateProcess(process.hProcess, 0), WaitForSingleObject(process.hProcess, 10000);
    for (HANDLE h : {process.hProcess, process.hThread, release}) if (h) CloseHandle(h);
  }
  bool Asked() const { return peer && GetPropW(peer, L"ASKED"); }
  // Waits without running this thread's messages.
  bool AwaitAsked() const {
    for (const DWORD start = GetTickCount(); !Asked(); Sleep(10)) if (GetTickCount() - start > 10000) return false;
    return true;
  }
  void Release() const { SetEvent(release); }
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, L"ClipPeerRelease");
  PROCESS_INFORMATION process{};
  HWND peer = nullptr;
};
