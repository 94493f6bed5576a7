#pragma once
// Writes slots to a SlotStore on a thread of its own, so that no keystroke,
// hotkey or paint waits for the disk. The caller hands over the latest text
// of a slot; the thread writes each slot by itself (a connection and a
// transaction per write, the file closed in between), the latest text only.
//
// A write that finds the file held by another program is tried again after
// a short while; one that fails otherwise is kept and tried again later, at
// growing intervals, and the failure is told (through the callback) once,
// not again until every slot handed over has been written.
#include <array>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "app/slots/slot_store.h"
#include "forms/runtime_error.h"

namespace app {

class SlotWriter {
 public:
  struct Timing {
    std::chrono::milliseconds lockWait{250};       // for another program's lock, per try
    std::chrono::milliseconds busyRetry{250};      // after a try found the file held
    std::chrono::milliseconds firstRetry{1000};    // after the first failure
    std::chrono::milliseconds longestRetry{8000};  // the intervals double up to this
  };

  // The store is used by the writer's thread from now until Stop returns.
  // onFailure runs on the writer's thread.
  SlotWriter(SlotStore& store, std::function<void()> onFailure);
  SlotWriter(SlotStore& store, std::function<void()> onFailure, Timing timing);
  ~SlotWriter();
  SlotWriter(const SlotWriter&) = delete;
  SlotWriter& operator=(const SlotWriter&) = delete;

  // Slot `slot` (1 to 9) is to become `text`; replaces a text of the slot
  // not yet written.
  void Hand(int slot, std::wstring text);

  // Waits for the write in progress, then ends the thread; texts not yet
  // written are dropped. The store is the caller's again afterwards.
  void Stop();

  // True while a text waits to be written or is being written.
  bool Pending() const;
  // Writes tried so far, failed ones included.
  int Attempts() const;
  // The failure last met, kept until a later write succeeds.
  std::optional<forms::RuntimeError> LastFailure() const;

 private:
  using Clock = std::chrono::steady_clock;
  void Run();
  // Writes one waiting slot; called with the lock held, returns with it held.
  void WriteOne(std::unique_lock<std::mutex>& lock, int slot);

  SlotStore& store_;
  std::function<void()> onFailure_;
  Timing timing_;

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::array<std::optional<std::wstring>, kSlotCount> waiting_;
  bool writing_ = false;
  bool stop_ = false;
  bool told_ = false;  // the failure of this run of failures was told
  int attempts_ = 0;
  Clock::time_point nextTry_{};
  std::chrono::milliseconds retry_{0};
  std::optional<forms::RuntimeError> lastFailure_;
  std::thread thread_;
};

}  // namespace app
