#include "jet/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace jet {
namespace {

std::u16string Widen(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

std::string RealText(double real, bool single) {
  char buffer[64];
  const auto result = single ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(real))
                             : std::to_chars(buffer, buffer + sizeof buffer, real);
  return std::string(buffer, result.ptr);
}

std::string MoneyText(int64_t ten_thousandths) {
  const bool negative = ten_thousandths < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(ten_thousandths) : static_cast<uint64_t>(ten_thousandths);
  std::string fraction = std::to_string(magnitude % 10000);
  fraction.insert(0, 4 - fraction.size(), '0');
  return (negative ? "-" : "") + std::to_string(magnitude / 10000) + "." + fraction;
}

// Year, month and day of a day count from 1970-01-01 (proleptic Gregorian).
void CivilDate(int64_t days, int64_t* year, unsigned* month, unsigned* day) {
  days += 719468;  // from 0000-03-01
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t day_of_era = days - era * 146097;
  const int64_t year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int64_t shifted_month = (5 * day_of_year + 2) / 153;  // March is 0
  *day = static_cast<unsigned>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  *month = static_cast<unsigned>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  *year = year_of_era + era * 400 + (*month <= 2 ? 1 : 0);
}

// A Jet date: whole days from 1899-12-30, and a fraction that is the time of
// day whatever the sign of the days (-1.25 is 1899-12-29 06:00).
std::string DateText(double days) {
  if (!std::isfinite(days) || std::fabs(days) > 3000000) return RealText(days, false);
  double whole = std::trunc(days);
  int64_t seconds = std::llround(std::fabs(days - whole) * 86400);
  if (seconds >= 86400) {
    seconds -= 86400;
    whole += 1;  // 24:00 is midnight of the next calendar day
  }
  int64_t year = 0;
  unsigned month = 0, day = 0;
  CivilDate(static_cast<int64_t>(whole) - 25569, &year, &month, &day);
  if (year < 1 || year > 9999) return RealText(days, false);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(year), month, day,
                static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  return buffer;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (uint8_t byte : bytes) {
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 15]);
  }
  return text;
}

// The first three groups of a GUID are stored little-endian.
std::string GuidText(const std::vector<uint8_t>& b) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[3],
                b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
  return buffer;
}

}  // namespace

std::u16string ToText(const Value& value) {
  switch (value.kind) {
    case ValueKind::kNull: return u"";
    case ValueKind::kBoolean: return value.boolean ? u"1" : u"0";
    case ValueKind::kInteger: return Widen(std::to_string(value.integer));
    case ValueKind::kMoney: return Widen(MoneyText(value.integer));
    case ValueKind::kReal: return Widen(RealText(value.real, value.type == ColumnType::kFloat));
    case ValueKind::kDateTime: return Widen(DateText(value.real));
    case ValueKind::kDecimal:
    case ValueKind::kText: return value.text;
    case ValueKind::kBinary:
      return Widen(value.type == ColumnType::kGuid && value.bytes.size() == 16 ? GuidText(value.bytes) : Hex(value.bytes));
  }
  return u"";
}

}  // namespace jet
