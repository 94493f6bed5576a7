#pragma once
// The words the program tells the user, in one place.
#include <string>
#include <vector>

#include "app/clipboard/clipboard_actions.h"

namespace app {

struct SlotImport;

// The keys another program holds, by hotkey id: "…：Alt+2、Ctrl+5".
std::wstring HeldHotKeysNote(const std::vector<int>& ids);

// An older version's slots taken over, or shown from its file where the
// folder would not take a new one.
std::wstring OldSlotsNote(const SlotImport& imported);

// The program's folder takes no files: the files live in dataFolder, the
// slots taken from slotSource (empty: none).
std::wstring DataFolderNote(const std::wstring& programFolder, const std::wstring& dataFolder,
                            const std::wstring& slotSource);

// The last session's end kept the texts in keptPath.
std::wstring SessionEndNote(const std::wstring& keptPath);

// The balloon of the first trip to the notification area.
std::wstring TrayBalloonTitle();
std::wstring TrayBalloonText();

// What became of a clipboard action on slot `slot`.
std::wstring ActionNoteText(ActionNotice notice, int slot);

}  // namespace app
