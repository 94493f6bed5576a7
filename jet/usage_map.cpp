#include "jet/usage_map.h"

namespace jet {
namespace {

// Appends the pages whose bits are set, bit 0 of the first byte being `first`.
void AddMarkedPages(const PageFile& file, ByteView bits, uint64_t first, const std::string& what,
                    std::vector<uint32_t>* pages) {
  for (size_t i = 0; i < bits.size(); ++i) {
    const uint8_t byte = bits.data()[i];
    for (unsigned bit = 0; byte != 0 && bit < 8; ++bit) {
      if ((byte >> bit & 1) == 0) continue;
      const uint64_t page = first + i * 8 + bit;
      if (page >= file.page_count())
        Damaged(what + ": its page map lists page " + std::to_string(page) + ", past the end of the file (" +
                std::to_string(file.page_count()) + " pages)");
      pages->push_back(static_cast<uint32_t>(page));
    }
  }
}

}  // namespace

std::vector<uint32_t> ReadUsageMap(const PageFile& file, RowPointer map, const std::string& what) {
  const ByteView row = file.Row(map, what + " page map");
  std::vector<uint32_t> pages;
  const uint8_t type = row.U8(0, "page map type");
  if (type == 0) {
    AddMarkedPages(file, row.From(5, "page map"), row.U32(1, "page map start"), what, &pages);
  } else if (type == 1) {
    const uint64_t pages_per_map_page = uint64_t{file.page_size() - 4} * 8;
    for (size_t i = 0; 1 + 4 * i + 4 <= row.size(); ++i) {
      const uint32_t map_page = row.U32(1 + 4 * i, "page map page");
      if (map_page == 0) continue;
      const ByteView page = file.TypedPage(map_page, kUsageMapPage, what + " page map");
      AddMarkedPages(file, page.From(4, "page map"), i * pages_per_map_page, what, &pages);
    }
  } else {
    Damaged(what + ": its page map has unknown type " + std::to_string(type));
  }
  return pages;
}

}  // namespace jet
