#include "app/slot_text_file.h"

#include <windows.h>

#include <vector>

#include "app/file_handle.h"
#include "forms/runtime_error.h"

namespace app {
namespace {

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
  return out;
}

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

}  // namespace app
