#pragma once
// Where the slot texts go when the database would not take them at shut-down:
// a UTF-8 text file beside the executable, one slot a section.
#include <string>

#include "app/slots/slot_texts.h"

namespace app {

// The file's contents: a byte order mark, then for n = 1 to 9 the line
// "[槽 n]" and slot n's text exactly as it is, each section ended by CR LF.
std::string SlotTextFileContents(const SlotTexts& slots);

// Writes the texts to a new file "unsaved slots <date> <time>.txt" in the
// folder (an existing file is never replaced: a number is added), else in the
// user's temporary folder. Returns the file's full path. Throws
// forms::RuntimeError naming the file and the reason when neither works.
std::wstring KeepSlotsInTextFile(const std::wstring& appFolder, const SlotTexts& slots);

// A note in the folder that a session's end kept the texts in keptPath, for
// the next start to tell; failures are ignored (the session is ending).
void NoteKeptAtSessionEnd(const std::wstring& appFolder, const std::wstring& keptPath) noexcept;
// The path the last session's end noted, once: the note is removed. Empty
// when there is none.
std::wstring TakeKeptAtSessionEnd(const std::wstring& appFolder);

}  // namespace app
