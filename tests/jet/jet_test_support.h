#pragma once
// Helpers of the Jet reader's tests: the sample files, the error a read
// throws and running a command.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "jet/error.h"

namespace jet_test {

// CLIP_JET_SAMPLES, else shared/jet beside the clone; nothing when neither
// holds the sample files.
inline std::optional<std::filesystem::path> SamplesDir() {
  const char* set = std::getenv("CLIP_JET_SAMPLES");
  const std::filesystem::path dir = set && *set ? std::filesystem::path(set)
                                                : std::filesystem::path(CLIP_SOURCE_DIR) / ".." / "shared" / "jet";
  if (std::filesystem::exists(dir / "access") && std::filesystem::exists(dir / "slots")) return dir;
  return std::nullopt;
}

// Skips the test, saying why, when the sample files are not here.
#define REQUIRE_JET_SAMPLES(dir)                                                                  \
  const std::optional<std::filesystem::path> dir##_found = jet_test::SamplesDir();               \
  if (!dir##_found) GTEST_SKIP() << "Jet sample files not found (set CLIP_JET_SAMPLES to them)"; \
  const std::filesystem::path dir = *dir##_found

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << file;
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The kind and message of the jet::Error that act() throws; -1 and "no error"
// when it throws none.
inline std::pair<int, std::string> Thrown(const std::function<void()>& act) {
  try {
    act();
  } catch (const jet::Error& error) {
    return {static_cast<int>(error.kind()), error.what()};
  }
  return {-1, "no error"};
}

// Runs a shell command: its standard output and its exit status.
inline std::pair<std::string, int> Run(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) ADD_FAILURE() << "cannot run " << command;
  char buffer[65536];
  for (size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  const int result = pipe ? pclose(pipe) : -1;
  return {out, WIFEXITED(result) ? WEXITSTATUS(result) : -1};
}

}  // namespace jet_test
