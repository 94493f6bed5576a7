#pragma once
// Holds the clipboard open from another thread, as a busy program would,
// until destroyed.
#include <windows.h>

#include <thread>

class ClipboardHolder {
 public:
  ClipboardHolder()
      : opened_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        thread_([this] {
          bool ok = OpenClipboard(nullptr) != FALSE;
          SetEvent(opened_);
          WaitForSingleObject(release_, 10000);
          if (ok) CloseClipboard();
        }) {
    WaitForSingleObject(opened_, 10000);
  }
  ~ClipboardHolder() {
    SetEvent(release_);
    thread_.join();
    CloseHandle(opened_);
    CloseHandle(release_);
  }
  ClipboardHolder(const ClipboardHolder&) = delete;
  ClipboardHolder& operator=(const ClipboardHolder&) = delete;

 private:
  HANDLE opened_;
  HANDLE release_;
  std::thread thread_;
};
