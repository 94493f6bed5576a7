#include "app/slots/slot_write_check.h"

#include <sqlite3.h>

#include "app/slots/slot_database.h"
#include "app/slots/slot_statement.h"

namespace app {

void CheckSlotsWritable(const std::wstring& appFolder, int lockWaitMs) {
  SlotDatabase db(SlotDatabasePath(appFolder), lockWaitMs);
  // A file that cannot be opened for writing is opened read-only without a word.
  if (sqlite3_db_readonly(db.handle(), "main") == 1) {
    db.Throw(SQLITE_READONLY, L"文件只读，无法写入");
  }
  SlotTransaction rollback(db);  // waits for another program's lock like the save; never committed
  bool changed = false;
  {
    SlotStatement update(db, "update data set id=id where rowid=(select rowid from data limit 1)");
    update.Step();
    changed = sqlite3_changes(db.handle()) > 0;
  }
  if (!changed) {
    SlotStatement insert(db, "insert into data (id, cont) values (1, '')");
    insert.Step();
  }
}

}  // namespace app
