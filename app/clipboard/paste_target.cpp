#include "app/clipboard/paste_target.h"

#include <algorithm>
#include <vector>

namespace app {
namespace {

// A kernel handle that may be null, closed on every path.
class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE h = nullptr) : h_(h) {}
  ~OwnedHandle() {
    if (h_) CloseHandle(h_);
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  HANDLE get() const { return h_; }
  HANDLE* put() { return &h_; }

 private:
  HANDLE h_;
};

struct Collect {
  const ProcessOfWindow* processOf;
  std::vector<DWORD>* processes;
};

void Add(std::vector<DWORD>& processes, DWORD process) {
  if (process && std::find(processes.begin(), processes.end(), process) == processes.end())
    processes.push_back(process);
}

BOOL CALLBACK AddChild(HWND child, LPARAM param) {
  const auto* collect = reinterpret_cast<const Collect*>(param);
  Add(*collect->processes, (*collect->processOf)(child));
  return TRUE;
}

}  // namespace

DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  if (window) GetWindowThreadProcessId(window, &process);
  return process;
}

std::vector<DWORD> TargetProcesses(HWND window, const ProcessOfWindow& processOf) {
  std::vector<DWORD> processes;
  if (!window) return processes;
  Add(processes, processOf(window));
  // Every descendant, however deep, whichever process made it.
  Collect collect{&processOf, &processes};
  EnumChildWindows(window, &AddChild, reinterpret_cast<LPARAM>(&collect));
  return processes;
}

TargetAccess AccessFor(std::optional<DWORD> targetLevel, std::optional<DWORD> ownLevel) {
  if (!ownLevel) return TargetAccess::Reachable;
  if (!targetLevel || *targetLevel > *ownLevel) return TargetAccess::Elevated;
  return TargetAccess::Reachable;
}

std::optional<DWORD> IntegrityLevelOf(HANDLE process) {
  OwnedHandle token;
  if (!process || !OpenProcessToken(process, TOKEN_QUERY, token.put())) return std::nullopt;
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenIntegrityLevel, nullptr, 0, &size);
  if (size < sizeof(TOKEN_MANDATORY_LABEL)) return std::nullopt;
  std::vector<unsigned char> buffer(size);
  auto* label = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer.data());
  if (!GetTokenInformation(token.get(), TokenIntegrityLevel, label, size, &size) || !label->Label.Sid ||
      !IsValidSid(label->Label.Sid))
    return std::nullopt;
  const UCHAR count = *GetSidSubAuthorityCount(label->Label.Sid);
  if (count == 0) return std::nullopt;
  return *GetSidSubAuthority(label->Label.Sid, count - 1u);
}

TargetAccess AccessOf(HWND window) {
  const DWORD process = ProcessOf(window);
  if (!process || process == GetCurrentProcessId()) return TargetAccess::Reachable;
  OwnedHandle target(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process));
  return AccessFor(IntegrityLevelOf(target.get()), IntegrityLevelOf(GetCurrentProcess()));
}

}  // namespace app
