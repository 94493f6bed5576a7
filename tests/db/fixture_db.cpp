#include "tests/db/fixture_db.h"

#include <stdexcept>

namespace slot_test {

FixtureDb::FixtureDb(const std::wstring& path) {
  if (sqlite3_open16(path.c_str(), &db_) != SQLITE_OK) {
    const std::string message = sqlite3_errmsg(db_);
    sqlite3_close(db_);
    throw std::runtime_error("fixture open: " + message);
  }
  sqlite3_busy_timeout(db_, 10000);
}

FixtureDb::~FixtureDb() { sqlite3_close_v2(db_); }

void FixtureDb::Exec(const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : "?";
    sqlite3_free(error);
    throw std::runtime_error("fixture exec: " + message + " in " + sql);
  }
}

std::vector<std::string> FixtureDb::Rows(const std::string& sql) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
    throw std::runtime_error(std::string("fixture query: ") + sqlite3_errmsg(db_));
  }
  std::vector<std::string> rows;
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    std::string row;
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
      if (i > 0) row += '|';
      if (sqlite3_column_type(stmt, i) == SQLITE_NULL) {
        row += "<null>";
      } else {
        const auto* text = sqlite3_column_text(stmt, i);
        row.append(reinterpret_cast<const char*>(text),
                   static_cast<size_t>(sqlite3_column_bytes(stmt, i)));
      }
    }
    rows.push_back(row);
  }
  sqlite3_finalize(stmt);
  if (rc != SQLITE_DONE) throw std::runtime_error(std::string("fixture step: ") + sqlite3_errmsg(db_));
  return rows;
}

std::string FixtureDb::Value(const std::string& sql) {
  const std::vector<std::string> rows = Rows(sql);
  if (rows.size() != 1) throw std::runtime_error("fixture value: not one row in " + sql);
  return rows.front();
}

}  // namespace slot_test
