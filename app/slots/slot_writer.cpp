#include "app/slots/slot_writer.h"

#include <sqlite3.h>

#include <algorithm>
#include <exception>
#include <new>
#include <utility>

namespace app {

SlotWriter::SlotWriter(SlotStore& store, std::function<void()> onFailure)
    : SlotWriter(store, std::move(onFailure), Timing{}) {}

SlotWriter::SlotWriter(SlotStore& store, std::function<void()> onFailure, Timing timing)
    : store_(store), onFailure_(std::move(onFailure)), timing_(timing), thread_([this] {
        try {
          Run();
        } catch (...) {
          // Nothing more is written in the background; the shut-down save
          // still writes every slot.
        }
      }) {}

SlotWriter::~SlotWriter() { Stop(); }

void SlotWriter::Hand(int slot, std::wstring text) {
  if (slot < 1 || slot > kSlotCount) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stop_) return;
    waiting_[static_cast<size_t>(slot - 1)] = std::move(text);
  }
  wake_.notify_all();
}

void SlotWriter::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto& text : waiting_) text.reset();
}

bool SlotWriter::Pending() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return writing_ || std::any_of(waiting_.begin(), waiting_.end(), [](const auto& text) { return text.has_value(); });
}

int SlotWriter::Attempts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return attempts_;
}

std::optional<forms::RuntimeError> SlotWriter::LastFailure() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lastFailure_;
}

void SlotWriter::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stop_) {
    const auto next = std::find_if(waiting_.begin(), waiting_.end(), [](const auto& text) { return text.has_value(); });
    if (next == waiting_.end()) {
      wake_.wait(lock);
    } else if (Clock::now() < nextTry_) {
      wake_.wait_until(lock, nextTry_);
    } else {
      WriteOne(lock, static_cast<int>(next - waiting_.begin()) + 1);
    }
  }
}

void SlotWriter::WriteOne(std::unique_lock<std::mutex>& lock, int slot) {
  std::optional<std::wstring>& waiting = waiting_[static_cast<size_t>(slot - 1)];
  std::wstring text = std::move(*waiting);
  waiting.reset();
  writing_ = true;
  ++attempts_;
  lock.unlock();

  std::optional<forms::RuntimeError> failure;
  try {
    // A slot another program changed while this one did not is left to it:
    // nothing more to do for it either way.
    store_.Write(slot, text, static_cast<int>(timing_.lockWait.count()));
  } catch (const forms::RuntimeError& e) {
    failure = e;
  } catch (const std::bad_alloc&) {
    failure.emplace(SQLITE_NOMEM, L"内存不足");
  } catch (const std::exception&) {
    failure.emplace(51, L"内部错误");
  }

  lock.lock();
  writing_ = false;
  const bool othersWait =
      std::any_of(waiting_.begin(), waiting_.end(), [](const auto& t) { return t.has_value(); });
  if (!failure) {
    retry_ = std::chrono::milliseconds(0);
    if (!othersWait) {
      // Everything handed over is written: a later failure is news again.
      told_ = false;
      lastFailure_.reset();
    }
    return;
  }
  // Tried again later, unless a newer text has come meanwhile.
  if (!waiting) waiting = std::move(text);
  const long number = failure->number();
  if (number == SQLITE_BUSY || number == SQLITE_LOCKED) {
    nextTry_ = Clock::now() + timing_.busyRetry;
    return;
  }
  retry_ = retry_.count() == 0 ? timing_.firstRetry : std::min(retry_ * 2, timing_.longestRetry);
  nextTry_ = Clock::now() + retry_;
  lastFailure_ = std::move(failure);
  if (told_ || !onFailure_) return;
  told_ = true;
  lock.unlock();
  try {
    onFailure_();
  } catch (...) {
    // Told or not, the write is tried again.
  }
  lock.lock();
}

}  // namespace app
