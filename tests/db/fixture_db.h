#pragma once
// A direct SQLite connection for building and inspecting test databases.
#include <sqlite3.h>

#include <string>
#include <vector>

namespace slot_test {

class FixtureDb {
 public:
  explicit FixtureDb(const std::wstring& path);
  ~FixtureDb();
  FixtureDb(const FixtureDb&) = delete;
  FixtureDb& operator=(const FixtureDb&) = delete;

  sqlite3* handle() const { return db_; }
  // Runs SQL (UTF-8); throws std::runtime_error with SQLite's message.
  void Exec(const std::string& sql);
  // Every row of a query, its columns as UTF-8 text joined by '|', Null as
  // "<null>".
  std::vector<std::string> Rows(const std::string& sql);
  // The single value of a query as UTF-8 text.
  std::string Value(const std::string& sql);

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace slot_test
