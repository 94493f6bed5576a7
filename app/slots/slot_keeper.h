#pragma once
// Keeps a window's nine slots in data.mdb: loads them, writes a changed slot
// once its box pauses (through the writer thread), saves all of them at the
// end, and keeps the texts in a text file whenever the database will not take
// them, telling the user so. The window supplies the texts as they are now.
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/slots/slot_store.h"
#include "app/slots/slot_writer.h"
#include "forms/message_window.h"

namespace app {

struct SlotImport;

class SlotKeeper {
 public:
  // A changed slot is handed to the writer once its box has had no change
  // for kWritePauseMs, or kWriteLatestMs after its first change at the latest.
  static constexpr UINT kWritePauseMs = 400;
  static constexpr UINT kWriteLatestMs = 1500;
  // How long the save at a session's end waits for another program's lock,
  // and how long the other saves and the check at the start wait (tests that
  // hold the lock wait less).
  static constexpr int kSessionEndLockWaitMs = 1000;
  static inline int lockWaitMs = kSlotLockWaitMs;

  using TextOf = std::function<std::wstring(int slot)>;

  SlotKeeper(std::wstring folder, TextOf textOf);
  ~SlotKeeper();
  SlotKeeper(const SlotKeeper&) = delete;
  SlotKeeper& operator=(const SlotKeeper&) = delete;

  // The nine slots from the file (an older version's taken over).
  SlotTexts Load();
  // Once the window shows the loaded slots: a save that cannot succeed is
  // told at once, and changed slots are written from now on.
  void StartWrites();
  // What the load took over from an older version's file; null when none.
  const SlotImport* Imported() const { return store_.Imported(); }

  // Slot `slot` changed: written once its box pauses.
  void Changed(int slot);
  // True while a changed slot waits for its box's pause.
  bool WritesWaiting() const { return timer_; }
  // Null before Load and after Save.
  SlotWriter* Writer() { return writer_.get(); }

  // Every slot at the end, after the writes stopped. When that fails the
  // user may try again, and one who gives up is told where the texts were
  // kept instead; at a session's end one bounded try, then the text file at
  // once without a box, noted for the next start. True when saved.
  bool Save(bool sessionEnding);

 private:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  SlotTexts Texts() const;
  void Hand();
  void StopWrites();
  bool SaveOrAsk(const SlotTexts& texts);
  void ReportWriteFailure();

  std::wstring folder_;
  TextOf textOf_;
  SlotStore store_;
  std::unique_ptr<SlotWriter> writer_;  // from the load to the save
  std::array<bool, kSlotCount> changed_{};  // not yet handed to the writer
  ULONGLONG firstChange_ = 0, lastChange_ = 0;
  bool timer_ = false;
  forms::MessageWindow window_;
};

}  // namespace app
