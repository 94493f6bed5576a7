#pragma once
// Older versions kept data.mdb as a Jet database (Access 97 or 2000). At
// start-up such a file's slots are taken over: the old file is kept beside
// it byte for byte ("data-旧版.mdb"), and data.mdb becomes a slot database
// holding every row of the old table `data`. Each step leaves the user's
// data whole, whenever the machine stops:
//   1. the old bytes are written to a temporary file, flushed, and renamed
//      to the kept name (never over an existing file; a kept copy with the
//      same bytes is used again);
//   2. the new database is written under a temporary name and flushed;
//   3. it is renamed over data.mdb in one step.
// Until step 3 data.mdb is the old file as it was; from then on it is the
// whole new one. Temporary files of a stop half-way are removed at the next
// try. A lock file keeps two copies of the program from importing at once.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/slots/slot_texts.h"
#include "forms/runtime_error.h"
#include "jet/value.h"

namespace app {

// A Jet file larger than this is refused without being read.
constexpr uint64_t kMaxOldFileBytes = uint64_t{256} << 20;

// One row of the old table `data`: its two fields as the reader gives them.
struct OldSlotRow {
  jet::Value id;
  jet::Value cont;
};

// Slot n is the first row whose id equals n as a number (an integer, or a
// real or currency value equal to n): its cont as text, Null as empty. A slot
// without such a row is empty; rows with other ids count for nothing.
SlotTexts SlotsFromOldRows(const std::vector<OldSlotRow>& rows);

// Creates a slot database at `path` (which must not exist) holding the rows
// in their order. An id is kept as a number when it is one; other ids are
// kept as blobs of their text, which no slot's query matches, as none
// matched in the old file. Throws forms::RuntimeError.
void WriteOldRows(const std::wstring& path, const std::vector<OldSlotRow>& rows);

// Jet 3 text to UTF-16, for the reader: the code page the file names, through
// the system (0: the reader's Western decoder). False when the system cannot
// convert that code page or those bytes.
bool DecodeOldText(uint16_t codePage, const uint8_t* bytes, size_t size, std::u16string* out);

// True when the file starts with the signature of a Jet (or a later Access)
// database.
bool IsJetFile(const std::wstring& path);

// "data-旧版.mdb", then "data-旧版 (2).mdb" and so on.
std::wstring KeptOldFileName(int n);

struct SlotImport {
  SlotTexts slots;        // read from the old file
  std::wstring keptPath;  // where the old file is kept; empty when not taken over
  // Why the folder did not take the new file; data.mdb is then the old file
  // as it was.
  std::optional<forms::RuntimeError> notTaken;
};

// Takes over data.mdb in the folder when it is a Jet file; nullopt (nothing
// done) when it is not one or is absent. Throws forms::RuntimeError, the
// file left as it was, when the old file cannot be read: held by another
// program (5), no table data or no field id or cont (1), damaged (11), too
// large (18), encrypted, password-protected, of a newer Access or text in a
// code page the system cannot convert (26).
std::optional<SlotImport> ImportOldSlots(const std::wstring& appFolder);

// Called with each step's name as it is done; tests stop an import there.
void SetImportStepHookForTesting(std::function<void(const char* step)> hook);

}  // namespace app
