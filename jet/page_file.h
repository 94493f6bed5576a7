#pragma once
// The file as numbered pages, and the row table of a data page. Every page
// number is checked against the file and every row's extent against its page.
#include <cstdint>
#include <string>
#include <vector>

#include "jet/byte_view.h"
#include "jet/file_header.h"

namespace jet {

enum PageType : uint8_t {
  kDataPage = 0x01,
  kTableDefinitionPage = 0x02,
  kUsageMapPage = 0x05,
};

// A row's address as Jet stores it in 4 bytes: the page in the upper 24 bits,
// the row's number on that page in the low 8.
struct RowPointer {
  uint32_t page = 0;
  uint32_t row = 0;
  static RowPointer From(uint32_t stored) { return {stored >> 8, stored & 0xFF}; }
  std::string Describe() const;  // "page P row R"
};

// One entry of a data page's row table.
struct RowSlot {
  uint32_t start = 0;  // offset in the page
  uint32_t end = 0;    // one past the row's last byte
  bool deleted = false;
  bool overflow = false;  // the row holds only a pointer to where it now lives
};

class PageFile {
 public:
  PageFile(ByteView file, const FileHeader& header);

  Format format() const { return header_.format; }
  const FileHeader& header() const { return header_; }
  uint32_t page_size() const { return header_.page_size; }
  uint32_t page_count() const { return page_count_; }
  size_t file_size() const { return file_.size(); }

  // Page n; `what` says what it was read for.
  ByteView Page(uint32_t n, const std::string& what) const;
  // Page n, which must have the given type.
  ByteView TypedPage(uint32_t n, PageType type, const std::string& what) const;

  // The row table of data page n in page order. Rows that are not deleted
  // are checked to lie inside the page, after the table, without overlapping.
  std::vector<RowSlot> Slots(uint32_t n, const std::string& what) const;

  // The bytes of one row on a data page, whatever its flags (an overflow
  // row's target carries the deleted flag so that a scan passes it by); its
  // table entry goes to *slot when given.
  ByteView Row(RowPointer at, const std::string& what, RowSlot* slot = nullptr) const;

 private:
  std::vector<RowSlot> ReadSlots(uint32_t n, const std::string& what, uint32_t* table_end) const;
  void CheckSlot(const RowSlot& slot, uint32_t table_end, RowPointer at, const std::string& what) const;

  ByteView file_;
  FileHeader header_;
  uint32_t page_count_;
};

}  // namespace jet
