#include "jet/long_value.h"

#include <algorithm>
#include <set>

namespace jet {
namespace {

constexpr size_t kFieldHeader = 12;
constexpr uint32_t kLengthMask = 0x3FFFFFFF;
constexpr uint32_t kInlineFlag = 0x80000000;
constexpr uint32_t kSingleRowFlag = 0x40000000;

}  // namespace

std::vector<uint8_t> ReadLongValue(const PageFile& file, ByteView field, const std::string& what) {
  if (field.size() < kFieldHeader) Damaged(what + ": a memo field of " + std::to_string(field.size()) + " bytes");
  const uint32_t stored = field.U32(0, "long value header");
  const uint32_t length = stored & kLengthMask;
  const uint32_t storage = stored & ~kLengthMask;
  RowPointer at = RowPointer::From(field.U32(4, "long value pointer"));
  if (length == 0) return {};
  if (storage == kInlineFlag) {
    const ByteView inline_bytes = field.From(kFieldHeader, "memo");
    if (inline_bytes.size() < length)
      Damaged(what + ": a memo of " + std::to_string(length) + " bytes has only " +
              std::to_string(inline_bytes.size()) + " in its row");
    return std::vector<uint8_t>(inline_bytes.data(), inline_bytes.data() + length);
  }
  if (length > file.file_size())
    Damaged(what + ": a memo claims " + std::to_string(length) + " bytes, more than the whole file");
  if (storage == kSingleRowFlag) {
    const ByteView row = file.Row(at, what + " memo");
    if (row.size() < length)
      Damaged(what + ": a memo of " + std::to_string(length) + " bytes has only " + std::to_string(row.size()) +
              " at " + at.Describe());
    return std::vector<uint8_t>(row.data(), row.data() + length);
  }
  if (storage != 0) Damaged(what + ": a memo has unknown storage flags");

  std::vector<uint8_t> bytes;
  bytes.reserve(length);
  std::set<uint64_t> seen;
  while (bytes.size() < length) {
    if (!seen.insert(uint64_t{at.page} << 8 | at.row).second)
      Damaged(what + ": a memo's chain of pages loops back to " + at.Describe());
    const ByteView row = file.Row(at, what + " memo");
    const uint32_t next = row.U32(0, "next memo part");
    const ByteView part = row.From(4, "memo part");
    const size_t take = std::min<size_t>(part.size(), length - bytes.size());
    bytes.insert(bytes.end(), part.data(), part.data() + take);
    if (bytes.size() == length) break;
    if (next == 0)
      Damaged(what + ": a memo's chain of pages ends after " + std::to_string(bytes.size()) + " of its " +
              std::to_string(length) + " bytes");
    at = RowPointer::From(next);
  }
  return bytes;
}

}  // namespace jet
