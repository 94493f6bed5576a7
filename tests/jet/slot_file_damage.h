#pragma once
// Finds the parts of slots-v2000-plain.mdb (a Jet 4 file of 4 KB pages) that
// damaged copies change: a data page of table data, the pointer of the long
// memo to its chain of pages, its column definitions. No test framework and
// no system calls, so the reader's tests and the program's share it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace jet_damage {

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
// Where the bytes first hold `pattern` (the size when nowhere).
inline size_t FindBytes(const Bytes& bytes, const Bytes& pattern, size_t from = 0) {
  return static_cast<size_t>(std::search(bytes.begin() + static_cast<ptrdiff_t>(from), bytes.end(), pattern.begin(),
                                         pattern.end()) - bytes.begin());
}
// Where the bytes first hold the ASCII text in UTF-16.
inline size_t Find(const Bytes& bytes, const std::string& utf16) {
  Bytes pattern;
  for (char c : utf16) pattern.insert(pattern.end(), {static_cast<uint8_t>(c), 0});
  return FindBytes(bytes, pattern);
}

struct SlotFile {
  explicit SlotFile(Bytes file) : bytes(std::move(file)) {
    // The length of the 118,893-character memo: 237,786 bytes in a chain.
    memo = FindBytes(bytes, {0xDA, 0xA0, 0x03, 0x00}) + 4;
    data_page = static_cast<uint32_t>(Find(bytes, "first row for 2") / kPage);
    definition = Find(bytes, "cont") / kPage * kPage;
  }
  bool Found() const { return memo < bytes.size() && (data_page + 1) * kPage <= bytes.size() && definition < bytes.size(); }
  // The memo's first page of its chain pointing at itself.
  Bytes MemoLoop() const {
    const uint32_t first = Get32(bytes, memo);
    return Put(bytes, RowStart(bytes, first), first);
  }
  // The first row of the data page at an offset past the page's end.
  Bytes RowPastPage() const { return Put(bytes, data_page * kPage + kRowTable, 0x1F00, 2); }
  // The memo pointing at a page far past the end.
  Bytes PageOutOfRange() const { return Put(bytes, memo, 0xFFFFFF00); }
  // A column's name (its length in bytes, then UTF-16) changed in the table's
  // definition, to one of the same length.
  Bytes Renamed(const std::string& from, const std::string& to) const {
    Bytes name = {static_cast<uint8_t>(2 * from.size()), 0};
    for (char c : from) name.insert(name.end(), {static_cast<uint8_t>(c), 0});
    const size_t at = FindBytes(bytes, name, definition);
    Bytes renamed = bytes;
    for (size_t i = 0; at < bytes.size() && i < to.size(); ++i) renamed[at + 2 + 2 * i] = static_cast<uint8_t>(to[i]);
    return renamed;
  }

  Bytes bytes;
  size_t memo = 0;         // the memo's pointer to its first part
  uint32_t data_page = 0;  // a data page of table data
  size_t definition = 0;   // table data's definition page
};

}  // namespace jet_damage
