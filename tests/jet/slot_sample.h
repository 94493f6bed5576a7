#pragma once
// The slot sample files slots-v2000-plain.mdb and -compressed.mdb (Jet 4,
// 4 KB pages): the rows of their table `data`, and the parts of the plain
// file that damaged copies change. No test framework and no system calls, so
// the reader's tests and the program's share it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace jet_sample {

struct Row {
  int id;
  std::u16string text;
  bool null = false;
};

// Every row of table `data`, in file order.
inline std::vector<Row> Rows() {
  std::u16string six, seven;  // a memo on a page of its own; one spread over many pages
  for (int i = 0; i < 150; ++i) six += u"中文 mixed ASCII text; ";
  for (int n = 1; n <= 4000; ++n) {
    const std::string digits = std::to_string(n);
    seven += u"第" + std::u16string(digits.begin(), digits.end()) + u"行：剪贴板 clipboard line 🙂\r\n";
  }
  return {{1, u"第一槽 slot one"}, {2, u"first row for 2"}, {3, u"line one\r\nline two\r\n\ttabbed"},
          {2, u"second row for 2"}, {4, u""}, {5, u"", true}, {6, six}, {7, seven}, {10, u"row ten is never read"},
          {8, u"Ελληνικά русский עברית 日本語 한국어"}, {9, u"emoji 🙂👍 and plain ASCII"}};
}

using Bytes = std::vector<uint8_t>;
constexpr size_t kPage = 4096;
constexpr size_t kRowTable = 14;  // where a Jet 4 data page's row offsets start

inline uint32_t Get32(const Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t{b[at + 3]} << 24;
}
inline Bytes Put(Bytes b, size_t at, uint32_t value, int size = 4) {
  for (int i = 0; i < size; ++i) b[at + i] = static_cast<uint8_t>(value >> 8 * i);
  return b;
}
inline size_t RowStart(const Bytes& b, uint32_t pointer) {  // pointer: page << 8 | row
  const size_t page = pointer >> 8, entry = page * kPage + kRowTable + 2 * (pointer & 0xFF);
  return page * kPage + ((b[entry] | b[entry + 1] << 8) & 0x1FFF);
}
// The ASCII text in UTF-16 after `prefix`.
inline Bytes Utf16(const std::string& ascii, Bytes prefix = {}) {
  for (char c : ascii) prefix.insert(prefix.end(), {static_cast<uint8_t>(c), 0});
  return prefix;
}
// Where the bytes first hold `pattern` (their size when nowhere).
inline size_t FindBytes(const Bytes& bytes, const Bytes& pattern, size_t from = 0) {
  return static_cast<size_t>(std::search(bytes.begin() + static_cast<ptrdiff_t>(from), bytes.end(), pattern.begin(),
                                         pattern.end()) - bytes.begin());
}

struct SlotFile {
  explicit SlotFile(Bytes file) : bytes(std::move(file)) {}
  bool Found() const { return memo < bytes.size() && (data_page + 1) * kPage <= bytes.size() && definition < bytes.size(); }
  // A column's name (its length in bytes, then UTF-16) changed in the table's
  // definition, to one of the same length.
  Bytes Renamed(const std::string& from, const std::string& to) const {
    const size_t at = FindBytes(bytes, Utf16(from, {static_cast<uint8_t>(2 * from.size()), 0}), definition);
    Bytes renamed = bytes;
    for (size_t i = 0; at < bytes.size() && i < to.size(); ++i) renamed[at + 2 + 2 * i] = static_cast<uint8_t>(to[i]);
    return renamed;
  }

  Bytes bytes;
  // The memo's pointer to its first part, after the length of the 118,893-character memo: 237,786 bytes in a chain.
  size_t memo = FindBytes(bytes, {0xDA, 0xA0, 0x03, 0x00}) + 4;
  uint32_t data_page = static_cast<uint32_t>(FindBytes(bytes, Utf16("first row for 2")) / kPage);  // of table data
  size_t definition = FindBytes(bytes, Utf16("cont")) / kPage * kPage;  // table data's definition page
};

}  // namespace jet_sample
