#pragma once
// The Jet sample files for the Windows build's tests and benchmarks:
// CLIP_JET_SAMPLES, else shared/jet beside the clone. Under Wine a Unix path
// is reached through drive Z:.
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

inline std::optional<std::filesystem::path> JetSamplesDir() {
  wchar_t set[1024] = {};
  const DWORD length = GetEnvironmentVariableW(L"CLIP_JET_SAMPLES", set, 1024);
  const auto beside = std::filesystem::path(CLIP_SOURCE_DIR).parent_path() / L"shared" / L"jet";
  std::wstring dir = length > 0 && length < 1024 ? std::wstring(set) : beside.wstring();
  if (!dir.empty() && dir[0] == L'/') dir = L"Z:" + dir;
  std::error_code error;
  if (std::filesystem::exists(std::filesystem::path(dir) / L"slots", error)) return std::filesystem::path(dir);
  return std::nullopt;
}
