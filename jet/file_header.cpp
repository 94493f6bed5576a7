#include "jet/file_header.h"

#include <array>
#include <cstring>
#include <string>

namespace jet {
namespace {

constexpr size_t kVersionOffset = 0x14;
constexpr size_t kMaskedOffset = 0x18;  // start of the masked part of the page
constexpr size_t kMaskedLength = 128;
constexpr size_t kCodePageOffset = 0x3C;
constexpr size_t kDatabaseKeyOffset = 0x3E;
constexpr size_t kPasswordOffset = 0x42;
constexpr size_t kCreationDateOffset = 0x72;  // Jet 4: a date whose whole days mask the password

// The masked part of the first page is XORed with an RC4 key stream whose key
// is the same in every file.
std::array<uint8_t, kMaskedLength> HeaderKeyStream() {
  static const uint8_t kKey[4] = {0xC7, 0xDA, 0x39, 0x6B};
  uint8_t s[256];
  for (int i = 0; i < 256; ++i) s[i] = static_cast<uint8_t>(i);
  for (int i = 0, j = 0; i < 256; ++i) {
    j = (j + s[i] + kKey[i % 4]) & 0xFF;
    std::swap(s[i], s[j]);
  }
  std::array<uint8_t, kMaskedLength> stream{};
  for (size_t n = 0, i = 0, j = 0; n < stream.size(); ++n) {
    i = (i + 1) & 0xFF;
    j = (j + s[i]) & 0xFF;
    std::swap(s[i], s[j]);
    stream[n] = s[(s[i] + s[j]) & 0xFF];
  }
  return stream;
}

bool Starts(ByteView file, size_t offset, const char* text) {
  const size_t length = std::strlen(text) + 1;  // with its terminating zero
  return file.Holds(offset, length) && std::memcmp(file.data() + offset, text, length) == 0;
}

}  // namespace

FileHeader ReadFileHeader(ByteView file) {
  static const uint8_t kMagic[4] = {0x00, 0x01, 0x00, 0x00};
  if (!file.Holds(0, kVersionOffset + 1) || std::memcmp(file.data(), kMagic, 4) != 0)
    throw Error(ErrorKind::kNotJet, "not a Jet database (no Jet signature at the start of the file)");
  const bool ace = Starts(file, 4, "Standard ACE DB");
  if (!ace && !Starts(file, 4, "Standard Jet DB"))
    throw Error(ErrorKind::kNotJet, "not a Jet database (no Jet signature at the start of the file)");
  const unsigned version = file.U8(kVersionOffset, "version");
  if (ace || version > 1)
    throw Error(ErrorKind::kNewerFormat, "an Access 2007 or later database (format version " +
                                             std::to_string(version) + "); only Jet 3 and Jet 4 are read");

  FileHeader header;
  header.format = version == 0 ? Format::kJet3 : Format::kJet4;
  header.page_size = version == 0 ? 2048 : 4096;
  if (file.size() < header.page_size)
    Damaged("the file is cut short: " + std::to_string(file.size()) + " bytes, less than one page");

  std::array<uint8_t, kMaskedLength> page = HeaderKeyStream();
  for (size_t i = 0; i < page.size(); ++i) page[i] ^= file.data()[kMaskedOffset + i];
  const ByteView plain(page.data(), page.size());
  header.code_page = plain.U16(kCodePageOffset - kMaskedOffset, "code page");
  if (plain.U32(kDatabaseKeyOffset - kMaskedOffset, "database key") != 0)
    throw Error(ErrorKind::kEncrypted, "the database is encrypted");

  // Without a password the Jet 3 field is all zero; in Jet 4 each 4-byte group
  // holds the whole days of the creation date instead.
  uint32_t mask = 0;
  if (header.format == Format::kJet4) {
    double created = 0;
    const uint64_t bits = plain.U64(kCreationDateOffset - kMaskedOffset, "creation date");
    std::memcpy(&created, &bits, sizeof created);
    if (created >= 0 && created < 4294967296.0) mask = static_cast<uint32_t>(created);
  }
  const size_t length = header.format == Format::kJet3 ? 20 : 40;
  for (size_t i = 0; i < length; i += 4)
    if (plain.U32(kPasswordOffset - kMaskedOffset + i, "password") != mask) header.password = true;
  return header;
}

}  // namespace jet
