#include "jet/catalog.h"

#include "jet/name_compare.h"
#include "jet/table_reader.h"

namespace jet {
namespace {

constexpr uint32_t kCatalogPage = 2;
constexpr int64_t kTableObject = 1;
constexpr uint32_t kSystemFlags = 0x80000002;
constexpr uint32_t kPageMask = 0x00FFFFFF;

const Column& FindColumn(const TableDefinition& def, const std::string& name) {
  const std::u16string wide(name.begin(), name.end());
  for (const Column& column : def.columns)
    if (SameName(column.name, wide)) return column;
  Damaged("the catalog has no column " + name);
}

}  // namespace

std::vector<CatalogEntry> ReadCatalog(const PageFile& file, const CodePageDecoder& decode) {
  const std::string what = "the catalog";
  TableDefinition def = ReadTableDefinition(file, kCatalogPage, decode, what);
  // Only the four columns needed are read; the others (long values among them) are passed by.
  def.columns = {FindColumn(def, "Id"), FindColumn(def, "Name"), FindColumn(def, "Type"), FindColumn(def, "Flags")};
  const size_t id = 0, name = 1, type = 2, flags = 3;
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
