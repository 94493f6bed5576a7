#include "app/profile_text.h"

#include <cctype>
#include <climits>
#include <vector>

namespace app {
namespace {

struct Line {
  size_t begin;  // first byte
  size_t end;    // one past the last byte before the line break
  size_t next;   // first byte of the following line
};

std::vector<Line> SplitLines(const std::string& text) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    size_t next = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos) end = text.size();
    if (end > pos && text[end - 1] == '\r') --end;
    lines.push_back({pos, end, next});
    pos = next;
  }
  return lines;
}

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// "[name]" -> name; nullopt for other lines.
std::optional<std::string> SectionName(const std::string& line) {
  std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  size_t close = t.find(']');
  if (close == std::string::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

struct Entry {
  std::string key;
  std::string value;
};

std::optional<Entry> KeyLine(const std::string& line) {
  size_t eq = line.find('=');
  if (eq == std::string::npos) return std::nullopt;
  return Entry{Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))};
}

struct Found {
  bool sectionFound = false;
  size_t insertAt = 0;          // after the section's last non-blank line
  std::optional<Line> keyLine;  // the first matching key line
};

Found Locate(const std::string& text, const std::string& section, const std::string& key) {
  Found found;
  bool inSection = false;
  for (const Line& line : SplitLines(text)) {
    std::string content = text.substr(line.begin, line.end - line.begin);
    if (auto name = SectionName(content)) {
      if (inSection) break;  // the section ended
      inSection = EqualNoCase(*name, section);
      if (inSection && !found.sectionFound) {
        found.sectionFound = true;
        found.insertAt = line.next;
      }
      continue;
    }
    if (!inSection) continue;
    if (!Trim(content).empty()) found.insertAt = line.next;
    if (auto entry = KeyLine(content); entry && EqualNoCase(entry->key, key)) {
      found.keyLine = line;
      return found;
    }
  }
  return found;
}

}  // namespace

std::optional<std::string> FindProfileValue(const std::string& text, const std::string& section,
                                            const std::string& key) {
  Found found = Locate(text, section, key);
  if (!found.keyLine) return std::nullopt;
  const Line& line = *found.keyLine;
  return KeyLine(text.substr(line.begin, line.end - line.begin))->value;
}

std::string SetProfileValue(const std::string& text, const std::string& section,
                            const std::string& key, const std::string& value) {
  const std::string entry = key + "=" + value;
  Found found = Locate(text, section, key);
  if (found.keyLine) {
    return text.substr(0, found.keyLine->begin) + entry + text.substr(found.keyLine->end);
  }
  if (found.sectionFound) {
    std::string before = text.substr(0, found.insertAt);
    if (!before.empty() && before.back() != '\n') before += "\r\n";
    return before + entry + "\r\n" + text.substr(found.insertAt);
  }
  std::string result = text;
  if (!result.empty() && result.back() != '\n') result += "\r\n";
  return result + "[" + section + "]\r\n" + entry + "\r\n";
}

int ParseProfileInt(const std::string& value, int defaultValue) {
  std::string t = Trim(value);
  if (t.empty()) return defaultValue;
  size_t i = 0;
  bool negative = false;
  if (t[i] == '+' || t[i] == '-') negative = t[i++] == '-';
  long long magnitude = 0;
  for (; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])); ++i) {
    magnitude = magnitude * 10 + (t[i] - '0');
    if (magnitude > static_cast<long long>(INT_MAX) + 1) magnitude = static_cast<long long>(INT_MAX) + 1;
  }
  long long result = negative ? -magnitude : magnitude;
  if (result > INT_MAX) return INT_MAX;
  if (result < INT_MIN) return INT_MIN;
  return static_cast<int>(result);
}

}  // namespace app
