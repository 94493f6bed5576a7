#include "app/slot_store.h"

#include "app/slot_database.h"
#include "app/slot_statement.h"

namespace app {

std::wstring SlotDatabasePath(const std::wstring& appFolder) { return appFolder + L"\\data.mdb"; }

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
  // Prepared once, run once per slot; each run commits by itself.
  SlotStatement update(db, "update data set id=?1, cont=?2 where rowid=?3");
  SlotStatement insert(db, "insert into data (id, cont) values (?1, ?2)");
  // Compares as the literal of the load's query does (no affinity of its own).
  SlotStatement query(db, "select rowid from data where id=?1");
  for (int n = 1; n <= kSlotCount; ++n) {
    // An existing slot updates only the row its query finds first; the
    // query reads the row's place, not its old text.
    query.Reset();
    query.BindInt(1, n);
    const bool found = query.Step();
    const long long rowid = found ? query.ColumnInt64(0) : 0;
    query.Reset();  // no read stays open across the write
    SlotStatement& write = found ? update : insert;
    write.Reset();
    write.BindInt(1, n);
    write.BindText(2, slots[n - 1]);
    if (found) write.BindInt64(3, rowid);
    write.Step();
  }
}

}  // namespace app
