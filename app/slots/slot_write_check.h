#pragma once
// Finds out at start-up whether the shut-down save can write data.mdb, so that
// the user hears of it while the slots can still be kept some other way.
#include <string>

namespace app {

// Makes the changes a save would make to the slot database (a row updated
// through its rowid, or one added) inside a transaction that is rolled back:
// a read-only file, a folder that takes no journal, a lock held past the wait,
// a `data` that is a view or has no rowid all fail here as in the save.
// Throws forms::RuntimeError (number and description naming the file); the
// file's contents are left as they were in every case.
void CheckSlotsWritable(const std::wstring& appFolder, int lockWaitMs = 3000);

}  // namespace app
