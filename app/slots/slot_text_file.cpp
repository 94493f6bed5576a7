#include "app/slots/slot_text_file.h"

#include <windows.h>

#include <vector>

#include "app/slots/file_handle.h"
#include "app/slots/utf8_text.h"
#include "forms/runtime_error.h"

namespace app {
namespace {

std::wstring FileStem() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  wchar_t stem[64];
  swprintf(stem, 64, L"unsaved slots %04u-%02u-%02u %02u-%02u-%02u", now.wYear, now.wMonth,
           now.wDay, now.wHour, now.wMinute, now.wSecond);
  return stem;
}

// Writes a new file in the folder; ERROR_SUCCESS and its path, or the error.
DWORD WriteNewFile(const std::wstring& folder, const std::string& bytes, std::wstring& path) {
  const std::wstring base = folder + (!folder.empty() && folder.back() == L'\\' ? L"" : L"\\") + FileStem();
  for (int n = 1; n <= 100; ++n) {
    path = base + (n == 1 ? L"" : L" (" + std::to_wstring(n) + L")") + L".txt";
    bool written = false;
    DWORD error = ERROR_SUCCESS;
    {
      FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!file.valid()) {
        error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
        return error;
      }
      DWORD count = 0;
      written = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &count,
                          nullptr) &&
                count == bytes.size() && FlushFileBuffers(file.get());
      if (!written) error = GetLastError();
    }
    if (written) return ERROR_SUCCESS;
    // No half-written file is left to be taken for the whole.
    DeleteFileW(path.c_str());
    return error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
  }
  return ERROR_FILE_EXISTS;
}

}  // namespace

std::string SlotTextFileContents(const SlotTexts& slots) {
  std::string out = "\xEF\xBB\xBF";
  for (int n = 1; n <= kSlotCount; ++n) {
    out += ToUtf8(L"[槽 " + std::to_wstring(n) + L"]\r\n" + slots[n - 1] + L"\r\n");
  }
  return out;
}

std::wstring KeepSlotsInTextFile(const std::wstring& appFolder, const SlotTexts& slots) {
  const std::string bytes = SlotTextFileContents(slots);
  std::wstring path;
  const DWORD error = WriteNewFile(appFolder, bytes, path);
  if (error == ERROR_SUCCESS) return path;
  std::vector<wchar_t> temp(MAX_PATH + 1);
  const DWORD length = GetTempPathW(static_cast<DWORD>(temp.size()), temp.data());
  std::wstring tempPath;
  if (length > 0 && length < temp.size() &&
      WriteNewFile(std::wstring(temp.data(), length), bytes, tempPath) == ERROR_SUCCESS) {
    return tempPath;
  }
  throw forms::RuntimeError(static_cast<long>(error), L"无法写入文本文件“" + path +
                                                          L"”（系统错误 " + std::to_wstring(error) + L"）");
}

namespace {

std::wstring SessionEndNotePath(const std::wstring& appFolder) {
  return appFolder + (appFolder.empty() || appFolder.back() != L'\\' ? L"\\" : L"") + L"data.mdb-unsaved-note";
}

}  // namespace

void NoteKeptAtSessionEnd(const std::wstring& appFolder, const std::wstring& keptPath) noexcept {
  try {
    const std::string bytes = ToUtf8(keptPath);
    const HANDLE file = CreateFileW(SessionEndNotePath(appFolder).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    FlushFileBuffers(file);
    CloseHandle(file);
  } catch (...) {
  }
}

std::wstring TakeKeptAtSessionEnd(const std::wstring& appFolder) {
  const std::wstring note = SessionEndNotePath(appFolder);
  const HANDLE file = CreateFileW(note.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::wstring();
  char bytes[4096];
  DWORD read = 0;
  const bool ok = ReadFile(file, bytes, sizeof bytes, &read, nullptr) != FALSE;
  CloseHandle(file);
  DeleteFileW(note.c_str());
  const int length = ok ? MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(read), nullptr, 0) : 0;
  std::wstring path(static_cast<size_t>(length), L'\0');
  if (length > 0) MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(read), path.data(), length);
  return path;
}

}  // namespace app
