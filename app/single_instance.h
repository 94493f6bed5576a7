#pragma once
// One copy of the program per user session. The first copy makes a named
// shared block in the session's namespace, keyed by the user, and publishes
// its main window there; a later start finds the block, brings that window
// back (out of the notification area too) and ends without a word. Copies in
// other sessions (another user, a remote desktop) do not meet here.
#include <windows.h>

#include <string>

namespace app {

class SingleInstance {
 public:
  // name: the block's name without the namespace and the user's key.
  explicit SingleInstance(const std::wstring& name);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // False when another copy of this session made the block first.
  bool First() const { return first_; }
  // By the first copy, once its main window exists.
  void Publish(HWND window);
  // The first copy's main window, waited for up to waitMs while it starts;
  // null when none comes.
  HWND RunningWindow(DWORD waitMs) const;

 private:
  HANDLE mapping_ = nullptr;
  HWND* shared_ = nullptr;
  bool first_ = true;
};

// The message that asks the first copy to show its window.
UINT ShowRunningCopyMessage();

// Lets the running copy come to the front (this process was just started by
// the user and may hand that on) and asks it to show its window.
void ShowRunningCopy(HWND window);

}  // namespace app
