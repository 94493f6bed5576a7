#include "tests/db/slot_test_folder.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace slot_test {

TempFolder::TempFolder() {
  static std::atomic<unsigned> counter{0};
  const fs::path folder = fs::temp_directory_path() /
                          (L"slotdb-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                           std::to_wstring(counter++));
  fs::remove_all(folder);
  fs::create_directory(folder);
  path_ = folder.wstring();
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

bool FileExists(const fs::path& path) {
  std::error_code ignored;
  return fs::exists(path, ignored);
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace slot_test
