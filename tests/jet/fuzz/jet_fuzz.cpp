// libFuzzer target: open the bytes as a Jet database, list its tables, read
// every row of each, of table `data` by name and of the catalog itself. A jet::Error is the
// expected answer to damage; anything else escaping, a crash, a sanitizer
// report, a hang or an oversized allocation is a finding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "jet/database.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const jet::Database db(std::vector<uint8_t>(data, data + size), {jet::DecodeWesternCodePage, true});
    std::vector<std::u16string> names = db.TableNames();
    names.insert(names.end(), {u"DATA", u"MSysObjects"});
    for (const std::u16string& name : names) {
      try {
        db.OpenTable(name).ForEachRow([](const jet::Row& row) {
          for (const jet::Value& value : row) (void)jet::ToText(value);
        });
      } catch (const jet::Error&) {
      }
    }
  } catch (const jet::Error&) {
  }
  return 0;
}
