// Damaged copies of a slot file, made here: each gives a jet::Error of the
// right kind with a reason that says what is wrong; none crashes or hangs.
#include <tuple>

#include "jet/database.h"
#include "tests/jet/jet_test_support.h"
#include "tests/jet/slot_sample.h"

namespace {

using jet_sample::Bytes;
using jet_sample::kPage;
using jet_sample::Put;
using jet_sample::RowStart;

TEST(JetDamagedFiles, EachGivesAnErrorOfItsKindThatSaysWhatIsWrong) {
  REQUIRE_JET_SAMPLES(dir);
  const jet_sample::SlotFile slots(jet_test::ReadBytes(dir / "slots" / "slots-v2000-plain.mdb"));
  ASSERT_TRUE(slots.Found());
  const Bytes& file = slots.bytes;
  const uint32_t page = slots.data_page, memo = jet_sample::Get32(file, slots.memo);
  // The row of the memo's first part (it starts with the pointer to the next);
  // a data page's row offsets and its first row.
  const size_t part = RowStart(file, memo), entry = page * kPage + jet_sample::kRowTable;
  const size_t row = RowStart(file, page << 8);
  const size_t definition = slots.definition;
  const std::string sqlite = "SQLite format 3";
  // Key and password lie under the header's mask: any change to them sets them.
  const Bytes password = Put(file, 0x42, file[0x42] ^ 0x31, 1);
  using K = jet::ErrorKind;
  const std::tuple<Bytes, K, std::string> cases[] = {
      {Bytes(file.begin(), file.begin() + 3000), K::kDamaged, "less than one page"},
      {Bytes(file.begin(), file.begin() + page * kPage), K::kDamaged,
       "is past the end of the file (" + std::to_string(page) + " pages)"},
      {Bytes(file.begin(), file.end() - 3 * kPage - 100), K::kDamaged, "past the end of the file"},
      {Put(file, slots.memo, 0xFFFFFF00), K::kDamaged, "page 16777215 is past the end of the file"},
      // The memo's chain: its first part pointing at itself, the second back at the first, the first at nothing.
      {Put(file, part, memo), K::kDamaged, "chain of pages loops back to page " + std::to_string(memo >> 8)},
      {Put(file, RowStart(file, jet_sample::Get32(file, part)), memo), K::kDamaged, "loops back"},
      {Put(file, part, 0), K::kDamaged, "ends after 4072 of its 237786 bytes"},
      {Put(file, entry, 0x1F00, 2), K::kDamaged, "has offset 7936, outside its place in the page"},
      {Put(Put(file, entry, 0x4000 | (row % kPage), 2), row, page << 8), K::kDamaged, "go round in a loop"},
      {Put(file, definition, 0x01, 1), K::kDamaged, "is a data page, not a table definition page"},
      {Put(file, definition + 4, static_cast<uint32_t>(definition / kPage)), K::kDamaged, "definition pages loop back"},
      {Put(file, 2 * kPage, 0x04, 1), K::kDamaged, "is an index page, not a table definition"},
      {Put(file, 0x3E, file[0x3E] ^ 0x5A, 1), K::kEncrypted, "encrypted"},
      {password, K::kPasswordProtected, "password"},
      {Put(file, 0x14, 2, 1), K::kNewerFormat, "Access 2007 or later"},
      {Put(file, 13, 'A' | 'C' << 8 | 'E' << 16, 3), K::kNewerFormat, "Access 2007 or later"},  // Standard ACE DB
      {Bytes(sqlite.begin(), sqlite.end()), K::kNotJet, "not a Jet database"},
      {Bytes(file.begin(), file.begin() + 10), K::kNotJet, "not a Jet database"}};
  for (const auto& [bytes, kind, reason] : cases) {
    const auto [thrown, message] = jet_test::Thrown([&bytes = bytes] {
      const jet::Database db(bytes);
      for (const std::u16string& name : db.TableNames()) db.OpenTable(name).ForEachRow([](const jet::Row&) {});
    });
    EXPECT_EQ(thrown, static_cast<int>(kind)) << message;
    EXPECT_NE(message.find(reason), std::string::npos) << message << ", expected: " << reason;
  }
  EXPECT_TRUE(jet::Database(password, {jet::DecodeWesternCodePage, true}).has_password());
  EXPECT_FALSE(jet::Database(file).has_password());
}

}  // namespace
