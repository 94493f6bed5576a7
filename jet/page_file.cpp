#include "jet/page_file.h"

namespace jet {
namespace {

constexpr uint16_t kDeletedFlag = 0x8000;
constexpr uint16_t kOverflowFlag = 0x4000;
constexpr uint16_t kOffsetMask = 0x1FFF;

const char* TypeName(unsigned type) {
  switch (type) {
    case 0x00: return "the database definition page";
    case kDataPage: return "a data page";
    case kTableDefinitionPage: return "a table definition page";
    case 0x03: case 0x04: return "an index page";
    case kUsageMapPage: return "a page usage map";
    default: return "a page of unknown type";
  }
}

}  // namespace

std::string RowPointer::Describe() const { return "page " + std::to_string(page) + " row " + std::to_string(row); }

PageFile::PageFile(ByteView file, const FileHeader& header)
    : file_(file), header_(header), page_count_(static_cast<uint32_t>(file.size() / header.page_size)) {}

ByteView PageFile::Page(uint32_t n, const std::string& what) const {
  if (n >= page_count_)
    Damaged(what + ": page " + std::to_string(n) + " is past the end of the file (" + std::to_string(page_count_) +
            " pages)");
  return file_.Sub(static_cast<size_t>(n) * header_.page_size, header_.page_size, "page");
}

ByteView PageFile::TypedPage(uint32_t n, PageType type, const std::string& what) const {
  const ByteView page = Page(n, what);
  if (n == 0 || page.data()[0] != type)
    Damaged(what + ": page " + std::to_string(n) + " is " + TypeName(n == 0 ? 0 : page.data()[0]) + ", not " +
            TypeName(type));
  return page;
}

std::vector<RowSlot> PageFile::ReadSlots(uint32_t n, const std::string& what, uint32_t* table_end_out) const {
  const ByteView page = TypedPage(n, kDataPage, what);
  const size_t count_at = header_.format == Format::kJet3 ? 8 : 12;
  const uint32_t count = page.U16(count_at, "row count");
  const uint32_t table_end = static_cast<uint32_t>(count_at + 2 + 2 * static_cast<size_t>(count));
  if (table_end > page_size())
    Damaged(what + ": data page " + std::to_string(n) + " claims " + std::to_string(count) +
            " rows, more than a page holds");
  std::vector<RowSlot> slots(count);
  uint32_t end = page_size();
  for (uint32_t i = 0; i < count; ++i) {
    const uint16_t stored = page.U16(count_at + 2 + 2 * i, "row table");
    RowSlot& slot = slots[i];
    slot.start = stored & kOffsetMask;
    slot.end = end;
    slot.deleted = (stored & kDeletedFlag) != 0;
    slot.overflow = (stored & kOverflowFlag) != 0;
    end = slot.start;
  }
  *table_end_out = table_end;
  return slots;
}

void PageFile::CheckSlot(const RowSlot& slot, uint32_t table_end, RowPointer at, const std::string& what) const {
  if (slot.start < table_end || slot.start >= slot.end || slot.end > page_size())
    Damaged(what + ": " + at.Describe() + " has offset " + std::to_string(slot.start) +
            ", outside its place in the page");
}

std::vector<RowSlot> PageFile::Slots(uint32_t n, const std::string& what) const {
  uint32_t table_end = 0;
  std::vector<RowSlot> slots = ReadSlots(n, what, &table_end);
  for (uint32_t i = 0; i < slots.size(); ++i)
    if (!slots[i].deleted) CheckSlot(slots[i], table_end, {n, i}, what);
  return slots;
}

ByteView PageFile::Row(RowPointer at, const std::string& what, RowSlot* slot_out) const {
  uint32_t table_end = 0;
  const std::vector<RowSlot> slots = ReadSlots(at.page, what, &table_end);
  if (at.row >= slots.size())
    Damaged(what + ": points at " + at.Describe() + ", but that page has " + std::to_string(slots.size()) + " rows");
  const RowSlot& slot = slots[at.row];
  CheckSlot(slot, table_end, at, what);
  if (slot_out) *slot_out = slot;
  return Page(at.page, what).Sub(slot.start, slot.end - slot.start, "row");
}

}  // namespace jet
