#include "temp_folder.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static int counter = 0;
  std::wstringstream name;
  name << base << L"clip_app_test_" << GetCurrentProcessId() << L"_" << ++counter;
  path_ = name.str();
  CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((path_ + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring file = data.cFileName;
      if (file != L"." && file != L"..") DeleteFileW((path_ + L"\\" + file).c_str());
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(path_.c_str());
}

void TempFolder::Write(const std::wstring& name, const std::string& bytes) const {
  std::ofstream out(std::filesystem::path(File(name)), std::ios::binary);
  out << bytes;
}

std::string TempFolder::Read(const std::wstring& name) const {
  std::ifstream in(std::filesystem::path(File(name)), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
