#include "app/mod_ini.h"

#include <windows.h>

#include <optional>

#include "app/slots/file_handle.h"
#include "app/profile_text.h"

namespace mod_Ini {
namespace {

std::wstring& IniPathStorage() {
  static std::wstring path;
  return path;
}

std::string ToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr,
                                 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
  return out;
}

using app::FileHandle;

// The whole file; nullopt when it cannot be read to its end. *missing tells
// whether the file (or its folder) does not exist.
std::optional<std::string> ReadFileBytes(const std::wstring& path, bool* missing = nullptr) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (missing) {
    const DWORD error = file.valid() ? ERROR_SUCCESS : GetLastError();
    *missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  if (!file.valid()) return std::nullopt;
  return ReadToEnd(file.get());
}

// Writes beside the file and replaces it, so a failed write never leaves a
// half-written settings file.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  const std::wstring temp = path + L".tmp";
  {
    FileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
      DeleteFileW(temp.c_str());
      return false;
    }
  }
  if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temp.c_str());
    return false;
  }
  return true;
}

bool IsUtf16(const std::string& bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xFE;
}

// Text after a UTF-8 byte order mark, if any.
size_t TextStart(const std::string& bytes) {
  return bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
}

}  // namespace

std::optional<std::string> ReadToEnd(HANDLE file) {
  std::string bytes;
  char buffer[4096];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, buffer, sizeof(buffer), &got, nullptr)) return std::nullopt;
    if (got == 0) return bytes;
    bytes.append(buffer, got);
  }
}

std::wstring IniPathFor(const std::wstring& folder) {
  if (!folder.empty() && folder.back() == L'\\') return folder + L"Config.ini";
  return folder + L"\\Config.ini";
}

void SetIniPath(const std::wstring& path) { IniPathStorage() = path; }
const std::wstring& IniPath() { return IniPathStorage(); }

std::string FormatIniValue(int value) {
  return value >= 0 ? " " + std::to_string(value) : std::to_string(value);
}

int ReadIniInt(const std::wstring& section, const std::wstring& key, int defaultValue) {
  std::optional<std::string> bytes = ReadFileBytes(IniPath());
  if (!bytes) return defaultValue;
  if (IsUtf16(*bytes)) {
    return static_cast<int>(
        GetPrivateProfileIntW(section.c_str(), key.c_str(), defaultValue, IniPath().c_str()));
  }
  std::optional<std::string> value =
      app::FindProfileValue(bytes->substr(TextStart(*bytes)), ToAnsi(section), ToAnsi(key));
  return value ? app::ParseProfileInt(*value, defaultValue) : defaultValue;
}

void WriteIniInt(const std::wstring& section, const std::wstring& key, int value) {
  // Only a file read whole (or none at all) is rewritten: a part would lose
  // the other sections.
  bool missing = false;
  std::optional<std::string> read = ReadFileBytes(IniPath(), &missing);
  if (!read && !missing) return;
  std::string bytes = read.value_or(std::string());
  if (IsUtf16(bytes)) {
    // A Unicode profile file is left to the system's own writer.
    std::string text = FormatIniValue(value);
    std::wstring wide(text.begin(), text.end());
    WritePrivateProfileStringW(section.c_str(), key.c_str(), wide.c_str(), IniPath().c_str());
    return;
  }
  size_t start = TextStart(bytes);
  std::string updated = bytes.substr(0, start) +
                        app::SetProfileValue(bytes.substr(start), ToAnsi(section), ToAnsi(key),
                                             FormatIniValue(value));
  WriteFileBytes(IniPath(), updated);
}

}  // namespace mod_Ini
