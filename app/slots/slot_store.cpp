#include "app/slots/slot_store.h"

#include <stdexcept>
#include <utility>

#include "app/slots/slot_database.h"
#include "app/slots/slot_import.h"
#include "app/slots/slot_statement.h"

namespace app {
namespace {

// One slot's write on an open connection; the statements are prepared once
// and run once per slot.
class RowWriter {
 public:
  explicit RowWriter(SlotDatabase& db)
      : db_(db),
        // Compares as the literal of the load's query does (no affinity of its own).
        query_(db, "select rowid, cont from data where id=?1"),
        update_(db, "update data set id=?1, cont=?2 where rowid=?3"),
        insert_(db, "insert into data (id, cont) values (?1, ?2)") {}

  // Writes slot n in a transaction of its own. With a baseline equal to the
  // text, only while the file still holds that baseline (a missing row or
  // Null counting as empty); true when written.
  bool Write(int n, const std::wstring& text, const std::wstring* baseline) {
    SlotTransaction transaction(db_);
    // An existing slot updates only the row its query finds first.
    query_.Reset();
    query_.BindInt(1, n);
    const bool found = query_.Step();
    const long long rowid = found ? query_.ColumnInt64(0) : 0;
    const bool keepTheirs =
        baseline != nullptr && text == *baseline && (found ? query_.ColumnText(1) : std::wstring()) != *baseline;
    query_.Reset();  // no read stays open across the write
    if (keepTheirs) return false;
    if (found) {
      Run(update_, n, text, &rowid);
    } else {
      // The slots' rows stay in slot order: the rows missing beside this
      // one come with it, empty (as a missing row reads).
      for (int m = 1; m <= kSlotCount; ++m) {
        if (m == n || !Find(m)) Run(insert_, m, m == n ? text : std::wstring(), nullptr);
      }
    }
    transaction.Commit();
    return true;
  }

 private:
  bool Find(int n) {
    query_.Reset();
    query_.BindInt(1, n);
    const bool found = query_.Step();
    query_.Reset();
    return found;
  }

  static void Run(SlotStatement& write, int n, const std::wstring& text, const long long* rowid) {
    write.Reset();
    write.BindInt(1, n);
    write.BindText(2, text);
    if (rowid) write.BindInt64(3, *rowid);
    write.Step();
    write.Reset();
  }

  SlotDatabase& db_;
  SlotStatement query_;
  SlotStatement update_;
  SlotStatement insert_;
};

void CheckSlot(int slot) {
  if (slot < 1 || slot > kSlotCount) throw std::out_of_range("slot number");
}

}  // namespace

std::string SlotQuery(int slot) { return "select * from data where id=" + std::to_string(slot); }

SlotTexts LoadSlots(const std::wstring& appFolder) {
  SlotDatabase db(SlotDatabasePath(appFolder));
  SlotTexts slots;
  for (int n = 1; n <= kSlotCount; ++n) {
    SlotStatement query(db, SlotQuery(n));
    const int cont = query.ColumnIndex("cont");
    if (query.Step() && cont >= 0) slots[n - 1] = query.ColumnText(cont);
  }
  return slots;
}

void SaveSlots(const std::wstring& appFolder, const SlotTexts& slots) {
  SlotDatabase db(SlotDatabasePath(appFolder));
  RowWriter writer(db);
  for (int n = 1; n <= kSlotCount; ++n) writer.Write(n, slots[n - 1], nullptr);
}

SlotStore::SlotStore(std::wstring appFolder) : folder_(std::move(appFolder)) {}

SlotTexts SlotStore::Load() {
  std::optional<SlotImport> imported = ImportOldSlots(folder_);
  holdsOldFile_ = imported && imported->notTaken;
  baseline_ = imported ? imported->slots : LoadSlots(folder_);
  imported_ = imported ? std::make_shared<const SlotImport>(std::move(*imported)) : nullptr;
  return baseline_;
}

void SlotStore::TakeOverOldFile() {
  if (!holdsOldFile_) return;
  // Read again: the file's rows as they are now go into the new one; the
  // baseline stays what this program showed.
  const std::optional<SlotImport> again = ImportOldSlots(folder_);
  if (again && again->notTaken) throw *again->notTaken;
  holdsOldFile_ = false;
}

bool SlotStore::Write(int slot, const std::wstring& text, int lockWaitMs) {
  CheckSlot(slot);
  TakeOverOldFile();
  SlotDatabase db(SlotDatabasePath(folder_), lockWaitMs);
  RowWriter writer(db);
  std::wstring& baseline = baseline_[slot - 1];
  if (db.Created()) {
    // The file went away since it was read: the new one holds nothing of
    // anyone's and gets every slot, the others as last read or written.
    for (int n = 1; n <= kSlotCount; ++n) writer.Write(n, n == slot ? text : baseline_[n - 1], nullptr);
  } else if (!writer.Write(slot, text, &baseline)) {
    return false;
  }
  baseline = text;
  return true;
}

void SlotStore::Save(const SlotTexts& texts, int lockWaitMs) {
  TakeOverOldFile();
  SlotDatabase db(SlotDatabasePath(folder_), lockWaitMs);
  RowWriter writer(db);
  // A file made by this open holds nothing of anyone's: every slot is written.
  const bool created = db.Created();
  for (int n = 1; n <= kSlotCount; ++n) {
    if (writer.Write(n, texts[n - 1], created ? nullptr : &baseline_[n - 1])) baseline_[n - 1] = texts[n - 1];
  }
}

}  // namespace app
