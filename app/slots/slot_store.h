#pragma once
// The nine slot texts kept in data.mdb in the application folder. Each call
// opens its own connection and closes it before returning; nothing stays
// open in between.
#include <memory>
#include <string>

#include "app/slots/slot_texts.h"

namespace app {

// How long a write waits for another program's lock before it fails.
constexpr int kSlotLockWaitMs = 3000;

// The query that finds slot n's rows: "select * from data where id=n".
std::string SlotQuery(int slot);

// Failures are forms::RuntimeError whose number is SQLite's result code: 1 the
// table or a field is missing, 5 the file is held by another program (after
// the wait), 8 the file cannot be written, 11 the file is damaged, 13 the disk
// is full, 14 the file cannot be opened or created, 18 an older version's
// file is too large to read, 26 the file is not a slot database. The
// description names the file and the failure in words.

// Reads the nine slots. A slot without a row, or whose text is Null, is
// empty; when several rows share an id the first one counts. A missing or
// zero-byte file is a new installation: the file and the table are created.
// Throws forms::RuntimeError (number and description naming the file) when
// the file is not a slot database or cannot be read; the file is then left
// as it was.
SlotTexts LoadSlots(const std::wstring& appFolder);

// Writes the nine slots in order, each in a transaction of its own and
// whatever the file holds: slot n's first row gets id n and the text (never
// Null); a slot without a row gets a new one. Other rows are not touched.
// Throws forms::RuntimeError on the first failure; the slots before it stay
// saved, the failing one is as it was.
void SaveSlots(const std::wstring& appFolder, const SlotTexts& slots);

struct SlotImport;

// The slots of one running program. Beside the folder it keeps, per slot, the
// text it last read from or wrote to the file (the baseline). A text equal to
// its baseline was not changed here since; such a slot is written only while
// the file still holds the baseline, so a value another program stored
// meanwhile is not undone. A text that differs is written whatever the file
// holds (the last writer wins). Rows are written as by SaveSlots. A file
// that has gone since it was read is made anew with every slot.
//
// Not thread-safe: one thread at a time uses a store.
class SlotStore {
 public:
  explicit SlotStore(std::wstring appFolder);

  const std::wstring& Folder() const { return folder_; }
  // Slot n's baseline is element n - 1; all empty before Load.
  const SlotTexts& Baseline() const { return baseline_; }

  // LoadSlots; what was read becomes the baseline. An older version's Jet
  // data.mdb is taken over first (slot_import.h): its slots are the baseline.
  SlotTexts Load();
  // What the last Load took over from an older version's file; null when
  // data.mdb was not one.
  const SlotImport* Imported() const { return imported_.get(); }
  // True while data.mdb is an older version's file that the folder would not
  // let Load take over. Write and Save then try the take-over first and,
  // when it fails again, throw its failure: the old file is never written.
  bool HoldsOldFile() const { return holdsOldFile_; }

  // Writes slot `slot` (1 to 9) in a transaction of its own, waiting up to
  // lockWaitMs for another program's lock. True when written (the text is
  // then the baseline); false when another program's value was kept.
  // Throws forms::RuntimeError; the file and the baseline are then as before.
  bool Write(int slot, const std::wstring& text, int lockWaitMs = kSlotLockWaitMs);

  // The nine slots in order over one connection, each as Write does, waiting
  // up to lockWaitMs for another program's lock. Throws on the first failure;
  // the slots before it stay written.
  void Save(const SlotTexts& texts, int lockWaitMs = kSlotLockWaitMs);

 private:
  void TakeOverOldFile();

  std::wstring folder_;
  SlotTexts baseline_;
  std::shared_ptr<const SlotImport> imported_;
  bool holdsOldFile_ = false;
};

}  // namespace app
