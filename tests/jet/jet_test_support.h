#pragma once
// Helpers of the Jet reader's tests: the sample files, a CSV reader and
// running a command.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace jet_test {

// CLIP_JET_SAMPLES, else shared/jet beside the clone; nothing when neither
// holds the sample files.
std::optional<std::filesystem::path> SamplesDir();

// Skips the test, saying why, when the sample files are not here.
#define REQUIRE_JET_SAMPLES(dir)                                                                  \
  const std::optional<std::filesystem::path> dir##_found = jet_test::SamplesDir();               \
  if (!dir##_found) GTEST_SKIP() << "Jet sample files not found (set CLIP_JET_SAMPLES to them)"; \
  const std::filesystem::path dir = *dir##_found

std::vector<uint8_t> ReadBytes(const std::filesystem::path& file);

// One CSV field; `quoted` tells "" (an empty text) from an empty field.
struct CsvField {
  std::string text;
  bool quoted = false;
};
using CsvRows = std::vector<std::vector<CsvField>>;

// RFC 4180, lines ended by LF or CR LF.
CsvRows ParseCsv(const std::string& text);

// Runs a shell command: its standard output, its exit status in *status.
std::string Run(const std::string& command, int* status = nullptr);

}  // namespace jet_test
