#pragma once
// The window settings file Config.ini in the application folder: its path and
// integer values written as "Key= 3750" (a blank before values >= 0) or
// "Key=-150".
#include <windows.h>

#include <optional>
#include <string>

namespace mod_Ini {

// The settings path for a folder: "Config.ini" appended directly when the
// folder ends with a backslash (a drive's root), else after a backslash.
std::wstring IniPathFor(const std::wstring& folder);

// IniPath is set from the application folder before the first read.
void SetIniPath(const std::wstring& path);
const std::wstring& IniPath();

// The value text as written: a blank or a minus sign, then the digits.
std::string FormatIniValue(int value);

// The rest of an open file; nullopt when a read fails before its end.
std::optional<std::string> ReadToEnd(HANDLE file);

int ReadIniInt(const std::wstring& section, const std::wstring& key, int defaultValue);
// Failures (read-only folder and the like) are ignored. A file that exists but
// cannot be read whole is left as it is.
void WriteIniInt(const std::wstring& section, const std::wstring& key, int value);

}  // namespace mod_Ini
