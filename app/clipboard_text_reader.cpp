#include "app/clipboard_text_reader.h"

#include <atomic>
#include <utility>

#include "forms/clipboard.h"

namespace app {
namespace {

constexpr UINT kOpened = WM_APP + 1;
constexpr UINT kReadDone = WM_APP + 2;
constexpr UINT_PTR kAnswerTimer = 1;

class ClipboardCloser {
 public:
  ~ClipboardCloser() { CloseClipboard(); }
};

class WindowDestroyer {
 public:
  explicit WindowDestroyer(HWND hwnd) : hwnd_(hwnd) {}
  ~WindowDestroyer() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  WindowDestroyer(const WindowDestroyer&) = delete;
  WindowDestroyer& operator=(const WindowDestroyer&) = delete;

 private:
  HWND hwnd_;
};

}  // namespace

struct ClipboardTextReader::Request {
  HWND notify = nullptr;
  DWORD openTimeoutMs = 0;
  std::atomic<bool> opened{false};
  std::atomic<bool> done{false};
  ClipboardRead read;
};

namespace {

ClipboardRead ReadClipboard(ClipboardTextReader::Request& request) {
  // Opened for a window of this thread: the clipboard held open by another
  // program without a window must still count as busy.
  HWND window = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  WindowDestroyer destroyer(window);
  const DWORD start = GetTickCount();
  while (!OpenClipboard(window)) {
    if (GetTickCount() - start >= request.openTimeoutMs) return {ClipboardRead::Outcome::Busy, {}};
    Sleep(10);
  }
  ClipboardCloser closer;
  // From now on the owner may be asked for its text: its time starts.
  request.opened.store(true, std::memory_order_release);
  PostMessageW(request.notify, kOpened, 0, 0);
  std::optional<std::wstring> text = forms::Clipboard::ReadOpenText();
  if (!text) return {ClipboardRead::Outcome::Unreadable, {}};
  return {ClipboardRead::Outcome::Text, std::move(*text)};
}

}  // namespace

ClipboardTextReader::ClipboardTextReader(ReadTiming timing)
    : timing_(timing), window_([this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return HandleMessage(message, wParam, lParam, result);
      }) {}

ClipboardTextReader::~ClipboardTextReader() {
  // A read still waiting for its owner finishes on its own thread; its
  // answer finds no window any more.
  if (window_.hwnd()) KillTimer(window_.hwnd(), kAnswerTimer);
}

void ClipboardTextReader::Read(Answer answer) {
  if (pending_ || !window_.hwnd()) {
    answer({ClipboardRead::Outcome::Busy, {}});
    return;
  }
  auto request = std::make_shared<Request>();
  request->notify = window_.hwnd();
  request->openTimeoutMs = timing_.openTimeoutMs;
  auto* param = new std::shared_ptr<Request>(request);
  HANDLE thread = CreateThread(nullptr, 0, &ClipboardTextReader::ReadOnThread, param, 0, nullptr);
  if (!thread) {
    delete param;
    answer({ClipboardRead::Outcome::Busy, {}});
    return;
  }
  CloseHandle(thread);
  pending_ = std::move(request);
  answer_ = std::move(answer);
}

DWORD WINAPI ClipboardTextReader::ReadOnThread(void* param) {
  std::unique_ptr<std::shared_ptr<Request>> owned(static_cast<std::shared_ptr<Request>*>(param));
  Request& request = **owned;
  try {
    request.read = ReadClipboard(request);
  } catch (...) {
    // Only copying out a text too large for memory can fail.
    request.read = {ClipboardRead::Outcome::Unreadable, {}};
  }
  request.done.store(true, std::memory_order_release);
  PostMessageW(request.notify, kReadDone, 0, 0);
  return 0;
}

bool ClipboardTextReader::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  result = 0;
  if (message == kOpened) {
    if (pending_ && pending_->opened.load(std::memory_order_acquire) && !pending_->done.load(std::memory_order_acquire))
      SetTimer(window_.hwnd(), kAnswerTimer, timing_.answerMs, nullptr);
    return true;
  }
  if (message == kReadDone) {
    // A late answer of a read already given up finds another request, or none.
    if (pending_ && pending_->done.load(std::memory_order_acquire)) Finish(std::move(pending_->read));
    return true;
  }
  if (message == WM_TIMER && wParam == kAnswerTimer) {
    if (pending_) Finish({ClipboardRead::Outcome::NoAnswer, {}});
    return true;
  }
  return false;
}

void ClipboardTextReader::Finish(ClipboardRead read) {
  KillTimer(window_.hwnd(), kAnswerTimer);
  pending_.reset();
  Answer answer = std::move(answer_);
  answer_ = nullptr;
  if (answer) answer(std::move(read));
}

}  // namespace app
