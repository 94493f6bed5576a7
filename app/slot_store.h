#pragma once
// The nine slot texts kept in data.mdb in the application folder: read once
// at start-up, written back once at shut-down. Each call opens its own
// connection and closes it before returning; nothing stays open in between.
#include <array>
#include <string>

namespace app {

constexpr int kSlotCount = 9;

// Slot n (1 to 9) is element n - 1.
using SlotTexts = std::array<std::wstring, kSlotCount>;

// The folder as given, then "\data.mdb" (a drive root gives "C:\\data.mdb").
std::wstring SlotDatabasePath(const std::wstring& appFolder);

// The query that finds slot n's rows: "select * from data where id=n".
std::string SlotQuery(int slot);

// Failures are forms::RuntimeError whose number is SQLite's result code: 1 the
// table or a field is missing, 5 the file is held by another program (after
// a wait of a few seconds), 8 the file cannot be written, 14 the file cannot
// be opened or created, 26 the file is not a slot database.

// Reads the nine slots. A slot without a row, or whose text is Null, is
// empty; when several rows share an id the first one counts. A missing or
// zero-byte file is a new installation: the file and the table are created.
// Throws forms::RuntimeError (number and description naming the file) when
// the file is not a slot database or cannot be read; the file is then left
// as it was.
SlotTexts LoadSlots(const std::wstring& appFolder);

// Writes the nine slots in order, each by itself: slot n's first row gets id
// n and the text (never Null); a slot without a row gets a new one. Other rows
// are not touched. Throws forms::RuntimeError on the first failure; the slots
// before it stay saved.
void SaveSlots(const std::wstring& appFolder, const SlotTexts& slots);

}  // namespace app
