#pragma once
// Where the program keeps data.mdb and Config.ini: beside the executable
// whenever that folder can be written (portable use), else in a folder of its
// own under the user's local application data. The latter is the case for a
// program unpacked under "Program Files": its manifest turns Windows' file
// virtualization off, so writes there are refused rather than redirected.
//
// On the first use of the per-user folder its files come from the newest of
// the copy beside the executable and the copy in the VirtualStore place,
// where Windows redirected the writes of older versions (which had no
// manifest). Those are only read, never changed.
#include <functional>
#include <string>
#include <vector>

namespace app {

// The folder's name under the local application data.
extern const wchar_t kDataFolderName[];

struct DataFolder {
  std::wstring path;     // where the files live from now on
  bool perUser = false;  // the executable's folder cannot be written
  // The files the per-user folder starts from (empty: none); set only while
  // the folder has no data.mdb (resp. Config.ini) of its own.
  std::wstring slotSource, iniSource;
};

// "<localAppData>\VirtualStore\<folder without its drive>"; empty for a
// folder without a drive letter (a network path is never virtualized).
std::wstring VirtualStoreFolder(const std::wstring& folder, const std::wstring& localAppData);

// The file written last of those that exist; empty when none does.
std::wstring NewestFile(const std::vector<std::wstring>& paths);

// True unless the system refuses to create a file in the folder (access
// denied, write-protected). A full disk counts as writable: the slots' own
// failure handling keeps the texts then.
bool FolderTakesFiles(const std::wstring& folder);

// The user's local application data folder; empty when unknown.
std::wstring LocalAppDataFolder();

// The folder for a program in programFolder.
DataFolder ChooseDataFolder(const std::wstring& programFolder, const std::wstring& localAppData,
                            const std::function<bool(const std::wstring&)>& takesFiles = &FolderTakesFiles);

// Makes the per-user folder and copies the files it starts from into it
// (each complete or not at all). True when the folder was made now. Throws
// forms::RuntimeError naming the folder or file when that fails.
bool PrepareDataFolder(const DataFolder& folder);

}  // namespace app
