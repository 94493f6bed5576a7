#include "tests/jet/jet_test_support.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace jet_test {

std::optional<std::filesystem::path> SamplesDir() {
  const char* set = std::getenv("CLIP_JET_SAMPLES");
  const std::filesystem::path dir = set && *set ? std::filesystem::path(set)
                                                : std::filesystem::path(CLIP_SOURCE_DIR) / ".." / "shared" / "jet";
  if (std::filesystem::exists(dir / "access") && std::filesystem::exists(dir / "slots")) return dir;
  return std::nullopt;
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << file;
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

CsvRows ParseCsv(const std::string& text) {
  CsvRows rows(1);
  CsvField field;
  bool in_quotes = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (in_quotes && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
      field.text += text[++i];
    } else if (c == '"') {
      in_quotes = !in_quotes;
      field.quoted = true;
    } else if (in_quotes || (c != ',' && c != '\n' && c != '\r')) {
      field.text += c;
    } else if (c != '\r') {  // a CR outside quotes ends a line with the LF after it
      rows.back().push_back(std::move(field));
      field = {};
      if (c == '\n') rows.emplace_back();
    }
  }
  EXPECT_FALSE(in_quotes) << "CSV ends inside a quoted field";
  if (rows.back().empty()) rows.pop_back();
  return rows;
}

std::string Run(const std::string& command, int* status) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) ADD_FAILURE() << "cannot run " << command;
  char buffer[65536];
  for (size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  const int result = pipe ? pclose(pipe) : -1;
  if (status) *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
  return out;
}

}  // namespace jet_test
