#pragma once
// A read-only reader of Jet 3 (Access 97) and Jet 4 (Access 2000-2003)
// database files: bytes in, rows out. It makes no operating system call; the
// caller reads the file and, for Jet 3 text in other code pages than the
// Western ones, provides the code page decoder.
//
//   jet::Database db(bytes);                       // checks the header
//   for (const auto& name : db.TableNames()) ...   // the user tables
//   jet::Table table = db.OpenTable(u"data");      // by name, any case
//   table.ForEachRow([&](const jet::Row& row) { ... row[table.ColumnIndex(u"cont")] ... });
//
// Every failure is a jet::Error (jet/error.h) with a kind and an English
// reason; nothing in a damaged file can make the reader read outside the
// bytes, loop, or allocate more than the file's size gives reason for.
// Values and their text forms: jet/value.h.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "jet/error.h"
#include "jet/file_header.h"
#include "jet/table_definition.h"
#include "jet/text_decode.h"
#include "jet/value.h"

namespace jet {

struct Options {
  // Jet 3 text: bytes in the column's (or the database's) code page to UTF-16.
  CodePageDecoder decode_code_page = DecodeWesternCodePage;
  // A database password only guards opening in Access; the pages are not
  // encrypted by it. Reading such a file is refused (kPasswordProtected)
  // unless this is set.
  bool accept_password = false;
};

class Database;
struct CatalogEntry;

// One table, open for reading. It keeps what it needs of its database alive.
class Table {
 public:
  const std::u16string& name() const { return name_; }
  const std::vector<Column>& columns() const { return def_.columns; }
  // The index of the column with that name (any case), or -1.
  int ColumnIndex(std::u16string_view column) const;

  // Calls `on_row` for each row in file order, one value per column. Throws
  // Error on damage; the rows before it have been given.
  void ForEachRow(const std::function<void(const Row&)>& on_row) const;
  std::vector<Row> ReadAllRows() const;

 private:
  friend class Database;
  struct Source;
  Table(std::shared_ptr<const Source> source, std::u16string name, TableDefinition def);

  std::shared_ptr<const Source> source_;
  std::u16string name_;
  TableDefinition def_;
};

class Database {
 public:
  // Takes the whole file. Throws Error: kNotJet, kNewerFormat, kEncrypted,
  // kPasswordProtected, kDamaged (a header, or a catalog that cannot be read).
  explicit Database(std::vector<uint8_t> file, Options options = {});

  Format format() const;
  uint16_t code_page() const;  // the database's default code page (Jet 3 text)
  bool has_password() const;

  // The user tables (not the system ones, MSysObjects and the like), in the
  // catalog's order.
  std::vector<std::u16string> TableNames() const;
  // The table of that name, compared without regard to case: a user table,
  // else a system table. OpenTable throws kNoSuchTable when there is none,
  // kDamaged when its definition is broken.
  bool HasTable(std::u16string_view name) const;
  Table OpenTable(std::u16string_view name) const;

 private:
  const CatalogEntry* Find(std::u16string_view name) const;

  std::shared_ptr<const Table::Source> source_;
};

}  // namespace jet
