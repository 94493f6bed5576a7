#include "jet/table_reader.h"

#include "jet/usage_map.h"

namespace jet {
namespace {

constexpr int kMaxOverflowHops = 16;
// Output a table may give per byte of file (a row of 255 Booleans costs 16
// bytes per value in about 36 bytes of file), and a fixed allowance.
constexpr uint64_t kBudgetPerFileByte = 256;
constexpr uint64_t kBudgetBase = uint64_t{16} << 20;

}  // namespace

void ReadRows(const PageFile& file, const TableDefinition& def, const CodePageDecoder& decode,
              const std::string& what, const std::function<void(Row&&)>& on_row) {
  const RowDecoder decoder(file, def, decode, what);
  ReadBudget budget(kBudgetPerFileByte * file.file_size() + kBudgetBase);
  for (const uint32_t page_number : ReadUsageMap(file, def.used_pages, what)) {
    const ByteView page = file.Page(page_number, what);
    if (page.data()[0] != kDataPage || page.U32(4, "owner") != def.page)
      Damaged(what + ": its page map lists page " + std::to_string(page_number) + ", which is not one of its data pages");
    const std::vector<RowSlot> slots = file.Slots(page_number, what);
    for (uint32_t i = 0; i < slots.size(); ++i) {
      RowSlot slot = slots[i];
      if (slot.deleted) continue;
      ByteView row = page.Sub(slot.start, slot.end - slot.start, "row");
      for (int hops = 0; slot.overflow; ++hops) {
        if (hops == kMaxOverflowHops)
          Damaged(what + ": the overflow rows from page " + std::to_string(page_number) + " row " +
                  std::to_string(i) + " go round in a loop");
        row = file.Row(RowPointer::From(row.U32(0, "overflow pointer")), what + " overflow row", &slot);
      }
      on_row(decoder.Decode(row, &budget));
    }
  }
}

}  // namespace jet
