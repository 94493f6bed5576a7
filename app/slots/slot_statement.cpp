#include "app/slots/slot_statement.h"

#include <sqlite3.h>

#include "app/slots/slot_database.h"

namespace app {

SlotStatement::SlotStatement(SlotDatabase& db, const std::string& sql) : db_(db) {
  if (sqlite3_prepare_v2(db.handle(), sql.c_str(), static_cast<int>(sql.size()) + 1, &stmt_,
                         nullptr) != SQLITE_OK) {
    db.ThrowLastError();
  }
}

SlotStatement::~SlotStatement() { sqlite3_finalize(stmt_); }

void SlotStatement::BindInt(int index, int value) {
  if (sqlite3_bind_int(stmt_, index, value) != SQLITE_OK) db_.ThrowLastError();
}

void SlotStatement::BindInt64(int index, long long value) {
  if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) db_.ThrowLastError();
}

void SlotStatement::BindReal(int index, double value) {
  if (sqlite3_bind_double(stmt_, index, value) != SQLITE_OK) db_.ThrowLastError();
}

void SlotStatement::BindBlob(int index, const std::string& bytes) {
  if (sqlite3_bind_blob64(stmt_, index, bytes.data(), static_cast<sqlite3_uint64>(bytes.size()), SQLITE_TRANSIENT) !=
      SQLITE_OK) {
    db_.ThrowLastError();
  }
}

void SlotStatement::BindText(int index, const std::wstring& text) {
  static_assert(sizeof(wchar_t) == 2, "slot text is UTF-16");
  // A zero-length text needs a non-null pointer to stay a string.
  const wchar_t* data = text.empty() ? L"" : text.data();
  if (sqlite3_bind_text64(stmt_, index, reinterpret_cast<const char*>(data),
                          static_cast<sqlite3_uint64>(text.size()) * sizeof(wchar_t),
                          SQLITE_TRANSIENT, SQLITE_UTF16) != SQLITE_OK) {
    db_.ThrowLastError();
  }
}

bool SlotStatement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  db_.ThrowLastError();
}

void SlotStatement::Reset() {
  // A failed earlier run is reported by that run's Step; the reset itself
  // leaves the statement ready.
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

int SlotStatement::ColumnIndex(const char* name) const {
  const int count = sqlite3_column_count(stmt_);
  for (int i = 0; i < count; ++i) {
    const char* column = sqlite3_column_name(stmt_, i);
    if (column != nullptr && sqlite3_stricmp(column, name) == 0) return i;
  }
  return -1;
}

std::wstring SlotStatement::ColumnText(int column) const {
  if (sqlite3_column_type(stmt_, column) == SQLITE_NULL) return std::wstring();
  const void* text = sqlite3_column_text16(stmt_, column);
  const int bytes = sqlite3_column_bytes16(stmt_, column);
  if (text == nullptr) {
    if (sqlite3_errcode(db_.handle()) == SQLITE_NOMEM) db_.ThrowLastError();
    return std::wstring();
  }
  return std::wstring(static_cast<const wchar_t*>(text), static_cast<size_t>(bytes) / sizeof(wchar_t));
}

long long SlotStatement::ColumnInt64(int column) const {
  return sqlite3_column_int64(stmt_, column);
}

}  // namespace app
