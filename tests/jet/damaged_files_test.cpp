// Damaged copies of a slot file, made here: each gives a jet::Error of the
// right kind with a reason that says what is wrong; none crashes or hangs.
#include <algorithm>
#include <optional>

#include "jet/database.h"
#include "tests/jet/jet_test_support.h"
#include "tests/jet/slot_file_damage.h"

namespace {

using jet_damage::Bytes;
using jet_damage::Find;
using jet_damage::Get32;
using jet_damage::kPage;
using jet_damage::kRowTable;
using jet_damage::Put;
using jet_damage::RowStart;

void ExpectError(Bytes bytes, jet::ErrorKind kind, const std::string& reason, jet::Options options = {}) {
  try {
    const jet::Database db(std::move(bytes), options);
    for (const std::u16string& name : db.TableNames()) db.OpenTable(name).ForEachRow([](const jet::Row&) {});
    ADD_FAILURE() << "no error, expected: " << reason;
  } catch (const jet::Error& error) {
    EXPECT_EQ(error.kind(), kind) << error.what();
    EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
  }
}

class JetDamagedFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::optional<std::filesystem::path> dir = jet_test::SamplesDir();
    if (!dir) GTEST_SKIP() << "Jet sample files not found (set CLIP_JET_SAMPLES to them)";
    const jet_damage::SlotFile slots(jet_test::ReadBytes(*dir / "slots" / "slots-v2000-plain.mdb"));
    ASSERT_TRUE(slots.Found());
    file_ = slots.bytes, memo_ = slots.memo, data_page_ = slots.data_page;
  }
  Bytes file_;
  size_t memo_ = 0;  // the memo's pointer to its first part
  uint32_t data_page_ = 0;
};

TEST_F(JetDamagedFiles, CutShortOrAPageNumberOutOfRange) {
  ExpectError(Bytes(file_.begin(), file_.begin() + 3000), jet::ErrorKind::kDamaged, "less than one page");
  ExpectError(Bytes(file_.begin(), file_.begin() + data_page_ * kPage), jet::ErrorKind::kDamaged,
              "is past the end of the file (" + std::to_string(data_page_) + " pages)");
  ExpectError(Bytes(file_.begin(), file_.end() - 3 * kPage - 100), jet::ErrorKind::kDamaged, "past the end of the file");
  ExpectError(Put(file_, memo_, 0xFFFFFF00), jet::ErrorKind::kDamaged, "page 16777215 is past the end of the file");
}

TEST_F(JetDamagedFiles, MemoChainLoopingBackOrEndingEarly) {
  const uint32_t first = Get32(file_, memo_), second = Get32(file_, RowStart(file_, first));
  ExpectError(Put(file_, RowStart(file_, first), first), jet::ErrorKind::kDamaged,
              "chain of pages loops back to page " + std::to_string(first >> 8));
  ExpectError(Put(file_, RowStart(file_, second), first), jet::ErrorKind::kDamaged, "loops back");
  ExpectError(Put(file_, RowStart(file_, first), 0), jet::ErrorKind::kDamaged, "ends after 4072 of its 237786 bytes");
}

TEST_F(JetDamagedFiles, RowOffsetPastThePageOrOverflowRowsInALoop) {
  const size_t entry = data_page_ * kPage + kRowTable;
  ExpectError(Put(file_, entry, 0x1F00, 2), jet::ErrorKind::kDamaged, "has offset 7936, outside its place in the page");
  const size_t row = RowStart(file_, data_page_ << 8);
  ExpectError(Put(Put(file_, entry, 0x4000 | (row % kPage), 2), row, data_page_ << 8), jet::ErrorKind::kDamaged,
              "go round in a loop");
}

TEST_F(JetDamagedFiles, CatalogPointingAtAPageOfTheWrongTypeOrADefinitionLoop) {
  const size_t definition = Find(file_, "cont") / kPage * kPage;
  ASSERT_EQ(file_[definition], 0x02);
  ExpectError(Put(file_, definition, 0x01, 1), jet::ErrorKind::kDamaged, "is a data page, not a table definition page");
  ExpectError(Put(file_, definition + 4, static_cast<uint32_t>(definition / kPage)), jet::ErrorKind::kDamaged,
              "definition pages loop back");
  ExpectError(Put(file_, 2 * kPage, 0x04, 1), jet::ErrorKind::kDamaged, "is an index page, not a table definition");
}

TEST_F(JetDamagedFiles, EncryptedPasswordNewerAndForeignFilesAreToldApart) {
  // Key and password lie under the header's mask: any change to them sets them.
  ExpectError(Put(file_, 0x3E, file_[0x3E] ^ 0x5A, 1), jet::ErrorKind::kEncrypted, "encrypted");
  const Bytes password = Put(file_, 0x42, file_[0x42] ^ 0x31, 1);
  ExpectError(password, jet::ErrorKind::kPasswordProtected, "password");
  jet::Options accept;
  accept.accept_password = true;
  EXPECT_TRUE(jet::Database(password, accept).has_password());
  EXPECT_FALSE(jet::Database(file_).has_password());
  ExpectError(Put(file_, 0x14, 2, 1), jet::ErrorKind::kNewerFormat, "Access 2007 or later");
  Bytes ace = file_;
  std::copy_n("Standard ACE DB", 15, ace.begin() + 4);
  ExpectError(ace, jet::ErrorKind::kNewerFormat, "Access 2007 or later");
  Bytes sqlite(8192);
  std::copy_n("SQLite format 3", 16, sqlite.begin());
  ExpectError(sqlite, jet::ErrorKind::kNotJet, "not a Jet database");
  ExpectError(Bytes(file_.begin(), file_.begin() + 10), jet::ErrorKind::kNotJet, "not a Jet database");
}

}  // namespace
