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
  for (int n = 1; n <= kSlotCount; ++n) {
    bool found = false;
    {
      SlotStatement query(db, SlotQuery(n));
      found = query.Step();
    }
    // Each statement commits by itself. An existing slot updates only the row
    // its query finds first, located by rowid through the same condition.
    SlotStatement write(
        db, found ? "update data set id=?1, cont=?2 where rowid=(select rowid from data where id=" +
                        std::to_string(n) + " limit 1)"
                  : std::string("insert into data (id, cont) values (?1, ?2)"));
    write.BindInt(1, n);
    write.BindText(2, slots[n - 1]);
    write.Step();
  }
}

}  // namespace app
