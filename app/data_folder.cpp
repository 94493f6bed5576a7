#include "app/data_folder.h"

#include <windows.h>
#include <shlobj.h>

#include "forms/runtime_error.h"

namespace app {

const wchar_t kDataFolderName[] = L"朔禾剪贴板";

namespace {

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  return !folder.empty() && folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

[[noreturn]] void Fail(const std::wstring& what, const std::wstring& path, DWORD error) {
  throw forms::RuntimeError(static_cast<long>(error), what + L"“" + path + L"”（系统错误 " + std::to_wstring(error) + L"）");
}

// Copies source to target through a temporary name beside the target, so
// that the target appears whole or not at all; an existing target stays.
void CopyWhole(const std::wstring& source, const std::wstring& target) {
  const std::wstring temp = target + L"-copy.tmp";
  DeleteFileW(temp.c_str());  // left by a start cut short
  if (!CopyFileW(source.c_str(), temp.c_str(), TRUE)) Fail(L"无法读取", source, GetLastError());
  SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only original's copy is ours to write
  if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileW(temp.c_str());
    if (error != ERROR_ALREADY_EXISTS) Fail(L"无法写入", target, error);
  }
}

}  // namespace

std::wstring VirtualStoreFolder(const std::wstring& folder, const std::wstring& localAppData) {
  if (localAppData.empty() || folder.size() < 2 || folder[1] != L':' || !iswalpha(folder[0])) return std::wstring();
  std::wstring rest = folder.substr(2);
  if (!rest.empty() && rest.front() == L'\\') rest.erase(0, 1);
  return rest.empty() ? Join(localAppData, L"VirtualStore") : Join(Join(localAppData, L"VirtualStore"), rest);
}

std::wstring NewestFile(const std::vector<std::wstring>& paths) {
  std::wstring newest;
  ULONGLONG newestTime = 0;
  for (const std::wstring& path : paths) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      continue;
    const ULONGLONG time = (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    if (newest.empty() || time > newestTime) newest = path, newestTime = time;
  }
  return newest;
}

bool FolderTakesFiles(const std::wstring& folder) {
  const std::wstring probe = Join(folder, L"~write-check-" + std::to_wstring(GetCurrentProcessId()) + L".tmp");
  const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return true;
  }
  const DWORD error = GetLastError();
  return error != ERROR_ACCESS_DENIED && error != ERROR_WRITE_PROTECT && error != ERROR_NETWORK_ACCESS_DENIED;
}

std::wstring LocalAppDataFolder() {
  PWSTR path = nullptr;
  std::wstring folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path)) && path) folder = path;
  CoTaskMemFree(path);
  return folder;
}

DataFolder ChooseDataFolder(const std::wstring& programFolder, const std::wstring& localAppData,
                            const std::function<bool(const std::wstring&)>& takesFiles) {
  DataFolder chosen;
  if (localAppData.empty() || takesFiles(programFolder)) {
    chosen.path = programFolder;
    return chosen;
  }
  chosen.path = Join(localAppData, kDataFolderName);
  chosen.perUser = true;
  const std::wstring virtualized = VirtualStoreFolder(programFolder, localAppData);
  const auto source = [&](const wchar_t* name) {
    if (Exists(Join(chosen.path, name))) return std::wstring();
    return NewestFile({Join(programFolder, name), virtualized.empty() ? std::wstring() : Join(virtualized, name)});
  };
  chosen.slotSource = source(L"data.mdb");
  chosen.iniSource = source(L"Config.ini");
  return chosen;
}

bool PrepareDataFolder(const DataFolder& folder) {
  if (!folder.perUser) return false;
  const bool made = CreateDirectoryW(folder.path.c_str(), nullptr) != FALSE;
  if (!made && GetLastError() != ERROR_ALREADY_EXISTS) Fail(L"无法建立文件夹", folder.path, GetLastError());
  if (!folder.slotSource.empty()) CopyWhole(folder.slotSource, Join(folder.path, L"data.mdb"));
  if (!folder.iniSource.empty()) CopyWhole(folder.iniSource, Join(folder.path, L"Config.ini"));
  return made;
}

}  // namespace app
