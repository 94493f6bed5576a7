#pragma once
// One cell of a row as the reader gives it, and its text form.
//
// Column types and the values they give:
//   Boolean                      kBoolean
//   Byte, Integer, Long Integer  kInteger (Byte is unsigned, the others signed)
//   Currency                     kMoney: `integer` in ten-thousandths
//   Single, Double               kReal
//   Date/Time                    kDateTime: `real` days since 1899-12-30, the fraction the time of day
//   Decimal                      kDecimal: `text` the number in decimal, with as
//                                many digits after the point as the column's
//                                scale ("-12.340", "0.005")
//   Text, Memo                   kText (UTF-16)
//   Binary, OLE, Replication ID and any type this reader does not know
//                                kBinary: the stored bytes as they are
// A Null of any type is kNull.
#include <cstdint>
#include <string>
#include <vector>

#include "jet/table_definition.h"

namespace jet {

enum class ValueKind { kNull, kBoolean, kInteger, kMoney, kDecimal, kReal, kDateTime, kText, kBinary };

struct Value {
  ValueKind kind = ValueKind::kNull;
  ColumnType type = ColumnType::kText;  // the type of the column it came from
  bool boolean = false;
  int64_t integer = 0;
  double real = 0;
  std::u16string text;
  std::vector<uint8_t> bytes;

  bool is_null() const { return kind == ValueKind::kNull; }
};

using Row = std::vector<Value>;  // one value per column, in the table's column order

// The value as text: Null and the empty text give "", a boolean "1" or "0",
// integers in decimal, money with four decimals ("-12.3400"), a Decimal as
// decoded, with its column's scale of decimals ("-12.340"), reals in the
// shortest form that reads back the same ("0.1", "1e+300"), dates as
// "YYYY-MM-DD HH:MM:SS" (a date outside years 1-9999 as its day number), a
// Replication ID as "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}", other binary
// values as lower-case hexadecimal.
std::u16string ToText(const Value& value);

}  // namespace jet
