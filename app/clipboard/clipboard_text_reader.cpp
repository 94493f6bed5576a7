#include "app/clipboard/clipboard_text_reader.h"

#include <mutex>
#include <utility>

#include "forms/clipboard.h"

namespace app {
namespace {

constexpr UINT kOpened = WM_APP + 1;
constexpr UINT kReadDone = WM_APP + 2;
constexpr UINT_PTR kAnswerTimer = 1;

}  // namespace

struct ClipboardTextReader::Worker {
  Worker(HWND notifyWindow, DWORD openMs) : notify(notifyWindow), openTimeoutMs(openMs) {}
  ~Worker() {
    if (wake) CloseHandle(wake);
  }
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

  static DWORD WINAPI Run(void* param);
  ClipboardRead ReadClipboard(HWND window);

  const HWND notify;
  const DWORD openTimeoutMs;
  HANDLE wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  std::mutex mutex;
  // Guarded by mutex: a read asked for, the last one's answer, and the end.
  bool asked = false;
  bool opened = false;
  bool done = false;
  bool quit = false;
  ClipboardRead read;
};

DWORD WINAPI ClipboardTextReader::Worker::Run(void* param) {
  std::unique_ptr<std::shared_ptr<Worker>> owned(static_cast<std::shared_ptr<Worker>*>(param));
  Worker& worker = **owned;
  // The clipboard is opened for a window of this thread: one held open by
  // another program without a window must still count as busy.
  HWND window = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  for (;;) {
    WaitForSingleObject(worker.wake, INFINITE);
    {
      std::lock_guard<std::mutex> lock(worker.mutex);
      if (worker.quit) break;
      if (!worker.asked) continue;
      worker.asked = false;
    }
    ClipboardRead read;
    try {
      read = worker.ReadClipboard(window);
    } catch (...) {
      // Only copying out a text too large for memory can fail.
      read = {ClipboardRead::Outcome::Unreadable, {}};
    }
    {
      std::lock_guard<std::mutex> lock(worker.mutex);
      worker.read = std::move(read);
      worker.done = true;
    }
    PostMessageW(worker.notify, kReadDone, 0, 0);
  }
  if (window) DestroyWindow(window);
  return 0;
}

ClipboardRead ClipboardTextReader::Worker::ReadClipboard(HWND window) {
  const DWORD start = GetTickCount();
  while (!OpenClipboard(window)) {
    if (GetTickCount() - start >= openTimeoutMs) return {ClipboardRead::Outcome::Busy, {}};
    Sleep(10);
  }
  forms::ClipboardCloser closer;
  {
    // From now on the owner may be asked for its text: its time starts.
    std::lock_guard<std::mutex> lock(mutex);
    opened = true;
  }
  PostMessageW(notify, kOpened, 0, 0);
  std::optional<std::wstring> text = forms::Clipboard::ReadOpenText();
  if (!text) return {ClipboardRead::Outcome::Unreadable, {}};
  return {ClipboardRead::Outcome::Text, std::move(*text)};
}

ClipboardTextReader::ClipboardTextReader(ReadTiming timing)
    : timing_(timing), window_([this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return HandleMessage(message, wParam, lParam, result);
      }) {}

ClipboardTextReader::~ClipboardTextReader() {
  if (window_.hwnd()) KillTimer(window_.hwnd(), kAnswerTimer);
  LetWorkerGo();
}

void ClipboardTextReader::LetWorkerGo() {
  if (!worker_) return;
  // It ends now, or once the read that holds it up is over.
  {
    std::lock_guard<std::mutex> lock(worker_->mutex);
    worker_->quit = true;
  }
  SetEvent(worker_->wake);
  worker_.reset();
}

void ClipboardTextReader::Read(Answer answer) {
  if (busy_ || !window_.hwnd()) {
    answer({ClipboardRead::Outcome::Busy, {}});
    return;
  }
  if (!worker_) {
    auto worker = std::make_shared<Worker>(window_.hwnd(), timing_.openTimeoutMs);
    auto* param = new std::shared_ptr<Worker>(worker);
    HANDLE thread = worker->wake ? CreateThread(nullptr, 0, &Worker::Run, param, 0, nullptr) : nullptr;
    if (!thread) {
      delete param;
      answer({ClipboardRead::Outcome::Busy, {}});
      return;
    }
    CloseHandle(thread);
    worker_ = std::move(worker);
  }
  {
    std::lock_guard<std::mutex> lock(worker_->mutex);
    worker_->asked = true;
    worker_->opened = worker_->done = false;
  }
  busy_ = true;
  answer_ = std::move(answer);
  SetEvent(worker_->wake);
}

bool ClipboardTextReader::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  result = 0;
  if (message == kOpened || message == kReadDone) {
    // Notes of a worker let go find another worker, or none.
    if (!busy_ || !worker_) return true;
    bool opened = false, done = false;
    ClipboardRead read;
    {
      std::lock_guard<std::mutex> lock(worker_->mutex);
      opened = worker_->opened, done = worker_->done;
      if (done) read = std::move(worker_->read), worker_->done = false;
    }
    if (done) {
      Finish(std::move(read));
    } else if (opened && message == kOpened) {
      SetTimer(window_.hwnd(), kAnswerTimer, timing_.answerMs, nullptr);
    }
    return true;
  }
  if (message == WM_TIMER && wParam == kAnswerTimer) {
    KillTimer(window_.hwnd(), kAnswerTimer);
    if (busy_) {
      // The worker waits for an owner that does not answer: it is let go.
      LetWorkerGo();
      Finish({ClipboardRead::Outcome::NoAnswer, {}});
    }
    return true;
  }
  return false;
}

void ClipboardTextReader::Finish(ClipboardRead read) {
  KillTimer(window_.hwnd(), kAnswerTimer);
  busy_ = false;
  Answer answer = std::move(answer_);
  answer_ = nullptr;
  if (answer) answer(std::move(read));
}

}  // namespace app
