#include "jet/row_decoder.h"

#include <cstring>

#include "jet/long_value.h"
#include "jet/utf8.h"

namespace jet {
namespace {

constexpr uint64_t kCellCost = 16;

size_t FixedWidth(const Column& column) {
  switch (column.type) {
    case ColumnType::kByte: return 1;
    case ColumnType::kInt16: return 2;
    case ColumnType::kInt32: case ColumnType::kFloat: return 4;
    case ColumnType::kMoney: case ColumnType::kDouble: case ColumnType::kDateTime: return 8;
    case ColumnType::kGuid: return 16;
    case ColumnType::kNumeric: return 17;
    default: return column.length;
  }
}

double AsDouble(uint64_t bits) {
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

float AsFloat(uint32_t bits) {
  float value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// A Decimal's 17 bytes: a sign byte (0x80 when negative), then the magnitude
// as four 32-bit little-endian words, the most significant first. Its last
// `scale` digits follow the point; there are at least scale + 1 digits.
std::u16string DecimalText(ByteView data, unsigned scale) {
  uint32_t words[4];
  bool zero = true;
  for (size_t i = 0; i < 4; ++i) {
    words[i] = data.U32(1 + 4 * i, "decimal");
    zero = zero && words[i] == 0;
  }
  std::string digits;  // least significant first
  for (bool more = true; more;) {
    // Divides the magnitude by 10^9, the remainder giving nine digits.
    uint64_t rest = 0;
    more = false;
    for (uint32_t& word : words) {
      const uint64_t part = rest << 32 | word;
      word = static_cast<uint32_t>(part / 1000000000);
      rest = part % 1000000000;
      more = more || word != 0;
    }
    for (int i = 0; i < 9; ++i, rest /= 10) digits.push_back(static_cast<char>('0' + rest % 10));
  }
  while (digits.size() > scale + 1 && digits.back() == '0') digits.pop_back();
  if (digits.size() < scale + 1) digits.resize(scale + 1, '0');
  std::u16string text = !zero && (data.U8(0, "decimal sign") & 0x80) != 0 ? u"-" : u"";
  for (size_t i = digits.size(); i-- > 0;) {
    text.push_back(static_cast<char16_t>(digits[i]));
    if (i == scale && i != 0) text.push_back(u'.');
  }
  return text;
}

}  // namespace

void ReadBudget::Spend(uint64_t bytes, const std::string& what) {
  if (bytes > left_) Damaged(what + ": gives far more data than the file holds (values shared between rows?)");
  left_ -= bytes;
}

RowDecoder::RowDecoder(const PageFile& file, const TableDefinition& def, const CodePageDecoder& decode,
                       std::string what)
    : file_(file), def_(def), decode_(decode), what_(std::move(what)), jet3_(file.format() == Format::kJet3) {}

RowDecoder::Parts RowDecoder::Split(ByteView row) const {
  Parts parts;
  parts.column_count = jet3_ ? row.U8(0, "row column count") : row.U16(0, "row column count");
  parts.fixed_start = jet3_ ? 1 : 2;
  const size_t mask_size = (parts.column_count + 7) / 8;
  if (row.size() < parts.fixed_start + mask_size)
    Damaged(what_ + ": a row of " + std::to_string(row.size()) + " bytes is too short for its " +
            std::to_string(parts.column_count) + " columns");
  const size_t mask_at = row.size() - mask_size;
  parts.null_mask = row.Sub(mask_at, mask_size, "null mask");
  parts.fixed_end = mask_at;
  if (def_.var_column_count > 0) ReadVarOffsets(row, mask_at, &parts);
  return parts;
}

void RowDecoder::ReadVarOffsets(ByteView row, size_t mask_at, Parts* parts) const {
  if (!jet3_) {
    ReadVarOffsetTable(row, mask_at, 0, parts);
    return;
  }
  // Jet 3 keeps one jump table byte per 256 bytes of row, each the number of
  // the first entry whose offset lies at or beyond that multiple of 256. A
  // row of exactly a multiple of 256 bytes may count one byte fewer; that
  // reading is taken when the first does not hold together.
  const size_t jumps = row.size() / 256;
  if (jumps == 0 || row.size() % 256 != 0) {
    ReadVarOffsetTable(row, mask_at, jumps, parts);
    return;
  }
  try {
    ReadVarOffsetTable(row, mask_at, jumps, parts);
  } catch (const Error&) {
    ReadVarOffsetTable(row, mask_at, jumps - 1, parts);
  }
}

void RowDecoder::ReadVarOffsetTable(ByteView row, size_t mask_at, size_t jumps, Parts* parts) const {
  const size_t entry = jet3_ ? 1 : 2;
  if (mask_at < parts->fixed_start + entry) Damaged(what_ + ": a row is too short for its offset table");
  const size_t count_at = mask_at - entry;
  const size_t count = jet3_ ? row.U8(count_at, "variable column count") : row.U16(count_at, "variable column count");
  const size_t needed = jumps + (count + 1) * entry;
  if (count_at < parts->fixed_start + needed)
    Damaged(what_ + ": a row's offset table of " + std::to_string(count) + " entries does not fit in its " +
            std::to_string(row.size()) + " bytes");
  const size_t first_entry = count_at - jumps - entry;  // the entries run backwards from here
  const size_t table_start = count_at - needed;
  parts->var_offsets.resize(count + 1);
  size_t previous = parts->fixed_start;
  for (size_t i = 0; i <= count; ++i) {
    const size_t at = first_entry - i * entry;
    size_t offset = jet3_ ? row.U8(at, "offset") : row.U16(at, "offset");
    for (size_t j = 0; j < jumps; ++j)
      if (row.U8(count_at - 1 - j, "jump table") <= i) offset += 256;
    if (offset < previous || offset > table_start)
      Damaged(what_ + ": a row's variable column " + std::to_string(i) + " has offset " + std::to_string(offset) +
              ", outside the row's data");
    parts->var_offsets[i] = previous = offset;
  }
  parts->fixed_end = parts->var_offsets[0];
}

Row RowDecoder::Decode(ByteView row, ReadBudget* budget) const {
  const Parts parts = WithContext(nullptr, [&] { return Split(row); });
  Row values;
  values.reserve(def_.columns.size());
  for (const Column& column : def_.columns) {
    values.push_back(WithContext(&column, [&] { return DecodeColumn(column, row, parts); }));
    const Value& value = values.back();
    budget->Spend(kCellCost + 2 * value.text.size() + value.bytes.size(), what_);
  }
  return values;
}

template <typename Step>
auto RowDecoder::WithContext(const Column* column, Step step) const -> decltype(step()) {
  try {
    return step();
  } catch (const Error& error) {
    const std::string message = error.what();
    if (message.compare(0, what_.size(), what_) == 0) throw;
    throw Error(error.kind(), what_ + (column ? ", column " + ToUtf8(column->name) : std::string()) + ": " + message);
  }
}

Value RowDecoder::DecodeColumn(const Column& column, ByteView row, const Parts& parts) const {
  Value value;
  value.type = column.type;
  if (column.number >= parts.column_count) return value;  // added after the row was written
  const bool set = (parts.null_mask.data()[column.number / 8] >> (column.number % 8) & 1) != 0;
  if (column.type == ColumnType::kBoolean) {
    value.kind = ValueKind::kBoolean;
    value.boolean = set;
    return value;
  }
  if (!set) return value;
  if (column.fixed) {
    const size_t start = parts.fixed_start + column.fixed_offset;
    const size_t width = FixedWidth(column);
    if (start > parts.fixed_end || width > parts.fixed_end - start)
      Damaged(what_ + ": column " + std::to_string(column.number) + " lies outside its row's fixed part");
    return DecodeBytes(column, row.Sub(start, width, "fixed column"));
  }
  if (parts.var_offsets.empty() || column.var_index + 1u >= parts.var_offsets.size()) return value;
  const size_t start = parts.var_offsets[column.var_index];
  return DecodeBytes(column, row.Sub(start, parts.var_offsets[column.var_index + 1u] - start, "variable column"));
}

Value RowDecoder::DecodeBytes(const Column& column, ByteView data) const {
  Value value;
  value.type = column.type;
  const auto need = [&](size_t size) {
    if (data.size() < size)
      Damaged(what_ + ": column " + std::to_string(column.number) + " holds " + std::to_string(data.size()) +
              " bytes, too few for its type");
  };
  switch (column.type) {
    case ColumnType::kByte:
      need(1);
      value.kind = ValueKind::kInteger;
      value.integer = data.U8(0, "byte");
      break;
    case ColumnType::kInt16:
      need(2);
      value.kind = ValueKind::kInteger;
      value.integer = static_cast<int16_t>(data.U16(0, "integer"));
      break;
    case ColumnType::kInt32:
      need(4);
      value.kind = ValueKind::kInteger;
      value.integer = static_cast<int32_t>(data.U32(0, "long integer"));
      break;
    case ColumnType::kMoney:
      need(8);
      value.kind = ValueKind::kMoney;
      value.integer = static_cast<int64_t>(data.U64(0, "currency"));
      break;
    case ColumnType::kFloat:
      need(4);
      value.kind = ValueKind::kReal;
      value.real = AsFloat(data.U32(0, "single"));
      break;
    case ColumnType::kDouble:
    case ColumnType::kDateTime:
      need(8);
      value.kind = column.type == ColumnType::kDouble ? ValueKind::kReal : ValueKind::kDateTime;
      value.real = AsDouble(data.U64(0, "double"));
      break;
    case ColumnType::kNumeric:
      need(17);
      value.kind = ValueKind::kDecimal;
      value.text = DecimalText(data, column.scale);
      break;
    case ColumnType::kText:
      value.kind = ValueKind::kText;
      value.text = DecodeText(column, data);
      break;
    case ColumnType::kMemo: {
      const std::vector<uint8_t> bytes = ReadLongValue(file_, data, what_);
      value.kind = ValueKind::kText;
      value.text = DecodeText(column, ByteView(bytes.data(), bytes.size()));
      break;
    }
    case ColumnType::kOle:
      value.kind = ValueKind::kBinary;
      value.bytes = ReadLongValue(file_, data, what_);
      break;
    default:
      value.kind = ValueKind::kBinary;
      value.bytes.assign(data.data(), data.data() + data.size());
      break;
  }
  return value;
}

std::u16string RowDecoder::DecodeText(const Column& column, ByteView data) const {
  if (!jet3_) return DecodeJet4Text(data);
  const uint16_t code_page = column.code_page != 0 ? column.code_page : file_.header().code_page;
  std::u16string text;
  if (!decode_(code_page, data.data(), data.size(), &text))
    throw Error(ErrorKind::kCodePage,
                what_ + ": a text is in code page " + std::to_string(code_page) + ", which cannot be decoded");
  return text;
}

}  // namespace jet
