// Damaged copies of a slot file, made here: each gives a jet::Error of the
// right kind with a reason that says what is wrong; none crashes or hangs.
#include <algorithm>
#include <optional>

#include "jet/database.h"
#include "tests/jet/jet_test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr size_t kPage = 4096;
constexpr size_t kRowTable = 14;  // a Jet 4 data page's first row offset

// Opens the bytes and reads every row of every table; the error that ends it.
std::optional<jet::Error> ReadAll(Bytes bytes, jet::Options options = {}) {
  try {
    const jet::Database db(std::move(bytes), options);
    for (const std::u16string& name : db.TableNames()) db.OpenTable(name).ForEachRow([](const jet::Row&) {});
  } catch (const jet::Error& error) {
    return error;
  }
  return std::nullopt;
}

void ExpectError(const Bytes& bytes, jet::ErrorKind kind, const std::string& reason) {
  const std::optional<jet::Error> error = ReadAll(bytes);
  ASSERT_TRUE(error) << "no error, expected: " << reason;
  EXPECT_EQ(error->kind(), kind) << error->what();
  EXPECT_NE(std::string(error->what()).find(reason), std::string::npos) << error->what();
}

size_t Find(const Bytes& bytes, const Bytes& pattern) {
  const auto at = std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
  EXPECT_NE(at, bytes.end()) << "pattern not found";
  return at == bytes.end() ? 0 : static_cast<size_t>(at - bytes.begin());
}

Bytes Utf16(const std::string& ascii) {
  Bytes bytes;
  for (char c : ascii) bytes.insert(bytes.end(), {static_cast<uint8_t>(c), 0});
  return bytes;
}

uint32_t Get32(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t{b[at + 3]} << 24; }
void Put32(Bytes* b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*b)[at + i] = static_cast<uint8_t>(v >> 8 * i);
}
void Put16(Bytes* b, size_t at, uint16_t v) {
  (*b)[at] = static_cast<uint8_t>(v);
  (*b)[at + 1] = static_cast<uint8_t>(v >> 8);
}

// Where row `row` of page `page` starts.
size_t RowStart(const Bytes& b, uint32_t page, uint32_t row) {
  const size_t entry = page * kPage + kRowTable + 2 * row;
  return page * kPage + ((b[entry] | b[entry + 1] << 8) & 0x1FFF);
}

class JetDamagedFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::optional<std::filesystem::path> dir = jet_test::SamplesDir();
    if (!dir) GTEST_SKIP() << "Jet sample files not found (set CLIP_JET_SAMPLES to them)";
    plain_ = jet_test::ReadBytes(*dir / "slots" / "slots-v2000-plain.mdb");
    ASSERT_FALSE(ReadAll(plain_));
    // The pointer in the header of the 118,893-character memo (237,786 bytes
    // in a chain of pages), and the data page of table `data`.
    long_memo_ = Find(plain_, {0xDA, 0xA0, 0x03, 0x00}) + 4;
    data_page_ = static_cast<uint32_t>(Find(plain_, Utf16("first row for 2")) / kPage);
  }

  Bytes plain_;
  size_t long_memo_ = 0;
  uint32_t data_page_ = 0;
};

TEST_F(JetDamagedFiles, CutShort) {
  ExpectError(Bytes(plain_.begin(), plain_.begin() + 3000), jet::ErrorKind::kDamaged, "less than one page");
  ExpectError(Bytes(plain_.begin(), plain_.begin() + data_page_ * kPage), jet::ErrorKind::kDamaged,
              "is past the end of the file (" + std::to_string(data_page_) + " pages)");
  // The memo's last pages are gone.
  ExpectError(Bytes(plain_.begin(), plain_.end() - 3 * kPage - 100), jet::ErrorKind::kDamaged, "is past the end of the file");
  ExpectError(Bytes(plain_.begin(), plain_.begin() + 10), jet::ErrorKind::kNotJet, "not a Jet database");
}

TEST_F(JetDamagedFiles, PageNumberOutOfRange) {
  Bytes bytes = plain_;
  Put32(&bytes, long_memo_, 0xFFFFFF00);
  ExpectError(bytes, jet::ErrorKind::kDamaged, "page 16777215 is past the end of the file");
}

TEST_F(JetDamagedFiles, MemoChainLoopingBack) {
  const uint32_t first = Get32(plain_, long_memo_);
  const size_t first_row = RowStart(plain_, first >> 8, first & 0xFF);
  const uint32_t second = Get32(plain_, first_row);
  Bytes self = plain_;
  Put32(&self, first_row, first);
  ExpectError(self, jet::ErrorKind::kDamaged, "chain of pages loops back to page " + std::to_string(first >> 8));
  Bytes back = plain_;
  Put32(&back, RowStart(plain_, second >> 8, second & 0xFF), first);
  ExpectError(back, jet::ErrorKind::kDamaged, "loops back");
  Bytes ended = plain_;
  Put32(&ended, first_row, 0);
  ExpectError(ended, jet::ErrorKind::kDamaged, "ends after 4072 of its 237786 bytes");
}

TEST_F(JetDamagedFiles, RowOffsetPastThePageOrOverflowRowsInALoop) {
  Bytes past = plain_;
  Put16(&past, data_page_ * kPage + kRowTable, 0x1F00);
  ExpectError(past, jet::ErrorKind::kDamaged, "has offset 7936, outside its place in the page");
  Bytes loop = plain_;
  Put16(&loop, data_page_ * kPage + kRowTable, static_cast<uint16_t>(0x4000 | (RowStart(plain_, data_page_, 0) % kPage)));
  Put32(&loop, RowStart(plain_, data_page_, 0), data_page_ << 8);
  ExpectError(loop, jet::ErrorKind::kDamaged, "go round in a loop");
}

TEST_F(JetDamagedFiles, CatalogPointingAtAPageOfTheWrongTypeOrADefinitionLoop) {
  const size_t definition = Find(plain_, Utf16("cont")) / kPage * kPage;
  ASSERT_EQ(plain_[definition], 0x02);
  Bytes wrong = plain_;
  wrong[definition] = 0x01;
  ExpectError(wrong, jet::ErrorKind::kDamaged, "is a data page, not a table definition page");
  Bytes loop = plain_;
  Put32(&loop, definition + 4, static_cast<uint32_t>(definition / kPage));
  ExpectError(loop, jet::ErrorKind::kDamaged, "definition pages loop back");
  Bytes catalog = plain_;
  catalog[2 * kPage] = 0x04;
  ExpectError(catalog, jet::ErrorKind::kDamaged, "is an index page, not a table definition page");
}

TEST_F(JetDamagedFiles, EncryptedPasswordNewerAndForeignFilesAreToldApart) {
  Bytes encrypted = plain_;
  encrypted[0x3E] ^= 0x5A;  // the database key, under the header's mask
  ExpectError(encrypted, jet::ErrorKind::kEncrypted, "encrypted");
  Bytes password = plain_;
  password[0x42] ^= 0x31;
  ExpectError(password, jet::ErrorKind::kPasswordProtected, "password");
  jet::Options accept;
  accept.accept_password = true;
  EXPECT_FALSE(ReadAll(password, accept));
  EXPECT_TRUE(jet::Database(password, accept).has_password());
  EXPECT_FALSE(jet::Database(plain_).has_password());
  Bytes newer = plain_;
  newer[0x14] = 2;
  ExpectError(newer, jet::ErrorKind::kNewerFormat, "Access 2007 or later");
  Bytes ace = plain_;
  std::copy_n("Standard ACE DB", 15, ace.begin() + 4);
  ExpectError(ace, jet::ErrorKind::kNewerFormat, "Access 2007 or later");
  Bytes sqlite(8192);
  std::copy_n("SQLite format 3", 16, sqlite.begin());
  ExpectError(sqlite, jet::ErrorKind::kNotJet, "not a Jet database");
}

}  // namespace
