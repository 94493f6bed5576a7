// jet_dump FILE          lists the user tables of a Jet database, one a line
// jet_dump FILE TABLE    prints the table as CSV (RFC 4180): a header row of
//                        column names, then the rows in file order, lines
//                        ended by CR LF, everything in UTF-8. Null is an empty
//                        field, a Boolean 1 or 0, numbers in decimal; other
//                        values as jet/value.h writes them.
// Jet 3 text is converted from its code page with iconv. A damaged file, an
// unknown table or a file that is not a Jet database is reported on stderr
// with exit status 1; wrong arguments give status 2.
#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "jet/database.h"
#include "jet/utf8.h"
#include "tools/csv_field.h"

namespace {

bool DecodeWithIconv(uint16_t code_page, const uint8_t* bytes, size_t size, std::u16string* out) {
  if (jet::DecodeWesternCodePage(code_page, bytes, size, out)) return true;
  const std::string from = "CP" + std::to_string(code_page);
  iconv_t converter = iconv_open("UTF-16LE", from.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  std::vector<char> input(bytes, bytes + size);
  std::vector<char> output(size * 4 + 4);
  char* in = input.data();
  char* result = output.data();
  size_t in_left = input.size(), out_left = output.size();
  const bool ok = iconv(converter, &in, &in_left, &result, &out_left) != static_cast<size_t>(-1);
  iconv_close(converter);
  if (!ok) return false;
  for (const char* p = output.data(); p + 1 < result; p += 2)
    out->push_back(static_cast<char16_t>(static_cast<uint8_t>(p[0]) | static_cast<uint8_t>(p[1]) << 8));
  return true;
}

std::u16string FromUtf8(const std::string& text) {
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    const auto byte = static_cast<uint8_t>(text[i]);
    const int extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
    char32_t c = extra == 0 ? byte : byte & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < text.size(); ++k) c = c << 6 | (static_cast<uint8_t>(text[i + k]) & 0x3F);
    i += 1 + extra;
    if (c >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

void PrintTable(const jet::Table& table) {
  std::string line;
  for (const jet::Column& column : table.columns()) line += (line.empty() ? "" : ",") + CsvField(jet::ToUtf8(column.name));
  std::cout << line << "\r\n";
  table.ForEachRow([](const jet::Row& row) {
    std::string text;
    for (size_t i = 0; i < row.size(); ++i) text += (i ? "," : "") + CsvField(jet::ToUtf8(jet::ToText(row[i])));
    std::cout << text << "\r\n";
  });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: jet_dump FILE          list the tables\n"
                 "       jet_dump FILE TABLE    print the table as CSV\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "jet_dump: cannot open " << argv[1] << ": " << std::strerror(errno) << "\n";
    return 1;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  try {
    jet::Options options;
    options.decode_code_page = DecodeWithIconv;
    options.accept_password = true;
    const jet::Database db(std::move(bytes), options);
    if (db.has_password()) std::cerr << "jet_dump: note: " << argv[1] << " has a database password\n";
    if (argc == 2) {
      for (const std::u16string& name : db.TableNames()) std::cout << jet::ToUtf8(name) << "\n";
    } else {
      PrintTable(db.OpenTable(FromUtf8(argv[2])));
    }
  } catch (const jet::Error& error) {
    std::cout.flush();
    std::cerr << "jet_dump: " << argv[1] << ": " << error.what() << "\n";
    return 1;
  }
  return 0;
}
