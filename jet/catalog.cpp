#include "jet/catalog.h"

#include "jet/name_compare.h"
#include "jet/table_reader.h"

namespace jet {
namespace {

constexpr uint32_t kCatalogPage = 2;
constexpr int64_t kTableObject = 1;
constexpr uint32_t kSystemFlags = 0x80000002;
constexpr uint32_t kPageMask = 0x00FFFFFF;

size_t ColumnIndex(const TableDefinition& def, const std::string& name) {
  const std::u16string wide(name.begin(), name.end());
  for (size_t i = 0; i < def.columns.size(); ++i)
    if (SameName(def.columns[i].name, wide)) return i;
  Damaged("the catalog has no column " + name);
}

}  // namespace

std::vector<CatalogEntry> ReadCatalog(const PageFile& file, const CodePageDecoder& decode) {
  const std::string what = "the catalog";
  const TableDefinition def = ReadTableDefinition(file, kCatalogPage, decode, what);
  const size_t id = ColumnIndex(def, "Id");
  const size_t name = ColumnIndex(def, "Name");
  const size_t type = ColumnIndex(def, "Type");
  const size_t flags = ColumnIndex(def, "Flags");
  std::vector<CatalogEntry> tables;
  ReadRows(file, def, decode, what, [&](Row&& row) {
    if (row[type].kind != ValueKind::kInteger || row[type].integer != kTableObject) return;
    if (row[id].kind != ValueKind::kInteger || row[name].kind != ValueKind::kText) return;
    CatalogEntry entry;
    entry.name = std::move(row[name].text);
    entry.definition_page = static_cast<uint32_t>(row[id].integer) & kPageMask;
    entry.system = row[flags].kind == ValueKind::kInteger && (static_cast<uint32_t>(row[flags].integer) & kSystemFlags) != 0;
    tables.push_back(std::move(entry));
  });
  return tables;
}

}  // namespace jet
