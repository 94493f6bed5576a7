// libFuzzer target: open the bytes as a Jet database, list its tables, read
// every row of each, of table `data` by name and of the catalog itself. A jet::Error is the
// expected answer to damage; anything else escaping, a crash, a sanitizer
// report, a hang or an oversized allocation is a finding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "jet/database.h"

namespace {

void ReadTable(const jet::Database& db, std::u16string_view name) {
  try {
    const jet::Table table = db.OpenTable(name);
    table.ForEachRow([](const jet::Row& row) {
      for (const jet::Value& value : row) (void)jet::ToText(value);
    });
  } catch (const jet::Error&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    jet::Options options;
    options.accept_password = true;
    const jet::Database db(std::vector<uint8_t>(data, data + size), options);
    for (const std::u16string& name : db.TableNames()) ReadTable(db, name);
    ReadTable(db, u"DATA");
    ReadTable(db, u"MSysObjects");
  } catch (const jet::Error&) {
  }
  return 0;
}
