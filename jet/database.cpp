#include "jet/database.h"

#include "jet/catalog.h"
#include "jet/name_compare.h"
#include "jet/page_file.h"
#include "jet/table_reader.h"
#include "jet/utf8.h"

namespace jet {

struct Table::Source {
  Source(std::vector<uint8_t> bytes, Options opts)
      : file_bytes(std::move(bytes)),
        options(std::move(opts)),
        pages(ByteView(file_bytes.data(), file_bytes.size()),
              ReadFileHeader(ByteView(file_bytes.data(), file_bytes.size()))) {}
  Source(const Source&) = delete;
  Source& operator=(const Source&) = delete;

  std::vector<uint8_t> file_bytes;
  Options options;
  PageFile pages;
  std::vector<CatalogEntry> catalog;
};

Table::Table(std::shared_ptr<const Source> source, std::u16string name, TableDefinition def)
    : source_(std::move(source)), name_(std::move(name)), def_(std::move(def)) {}

int Table::ColumnIndex(std::u16string_view column) const {
  for (size_t i = 0; i < def_.columns.size(); ++i)
    if (SameName(def_.columns[i].name, column)) return static_cast<int>(i);
  return -1;
}

void Table::ForEachRow(const std::function<void(const Row&)>& on_row) const {
  ReadRows(source_->pages, def_, source_->options.decode_code_page, "table " + ToUtf8(name_),
           [&](Row&& row) { on_row(row); });
}

std::vector<Row> Table::ReadAllRows() const {
  std::vector<Row> rows;
  ReadRows(source_->pages, def_, source_->options.decode_code_page, "table " + ToUtf8(name_),
           [&](Row&& row) { rows.push_back(std::move(row)); });
  return rows;
}

Database::Database(std::vector<uint8_t> file, Options options) {
  auto source = std::make_shared<Table::Source>(std::move(file), std::move(options));
  if (source->pages.header().password && !source->options.accept_password)
    throw Error(ErrorKind::kPasswordProtected, "the database is protected by a password");
  if (!source->options.decode_code_page) source->options.decode_code_page = DecodeWesternCodePage;
  source->catalog = ReadCatalog(source->pages, source->options.decode_code_page);
  source_ = std::move(source);
}

Format Database::format() const { return source_->pages.format(); }
uint16_t Database::code_page() const { return source_->pages.header().code_page; }
bool Database::has_password() const { return source_->pages.header().password; }

std::vector<std::u16string> Database::TableNames() const {
  std::vector<std::u16string> names;
  for (const CatalogEntry& entry : source_->catalog)
    if (!entry.system) names.push_back(entry.name);
  return names;
}

const CatalogEntry* Database::Find(std::u16string_view name) const {
  for (bool system : {false, true})
    for (const CatalogEntry& entry : source_->catalog)
      if (entry.system == system && SameName(entry.name, name)) return &entry;
  return nullptr;
}

bool Database::HasTable(std::u16string_view name) const { return Find(name) != nullptr; }

Table Database::OpenTable(std::u16string_view name) const {
  const CatalogEntry* entry = Find(name);
  if (!entry) throw Error(ErrorKind::kNoSuchTable, "no table " + ToUtf8(std::u16string(name)));
  TableDefinition def = ReadTableDefinition(source_->pages, entry->definition_page, source_->options.decode_code_page,
                                            "table " + ToUtf8(entry->name));
  return Table(source_, entry->name, std::move(def));
}

}  // namespace jet
