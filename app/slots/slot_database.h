#pragma once
// One connection to a slot database file, open for the life of the object.
//
// Opening checks the file before anything can be written to it: a missing or
// zero-byte file gets the table `data` (id integer, cont text) created; any
// other file must start with the SQLite header and hold table `data` with the
// fields `id` and `cont`, else the open fails and the file stays untouched.
// Another program's lock is waited for a few seconds (or the wait given)
// before failing.
#include <memory>
#include <string>

struct sqlite3;

namespace app {

// The folder as given, then "\data.mdb" (a drive root gives "C:\\data.mdb").
std::wstring SlotDatabasePath(const std::wstring& appFolder);

class SlotDatabase {
 public:
  static constexpr int kBusyTimeoutMs = 3000;

  // Throws forms::RuntimeError on failure.
  explicit SlotDatabase(std::wstring path, int busyWaitMs = kBusyTimeoutMs);
  ~SlotDatabase();
  SlotDatabase(const SlotDatabase&) = delete;
  SlotDatabase& operator=(const SlotDatabase&) = delete;

  sqlite3* handle() const { return db_.get(); }
  const std::wstring& path() const { return path_; }
  // True when this open made the file (or filled a zero-byte one).
  bool Created() const { return created_; }

  // Runs SQL without results; throws the connection's error on failure.
  void Exec(const char* sql);

  // Throws the connection's last error as forms::RuntimeError: the failure
  // in Chinese words where a user meets it, the engine's text after them.
  [[noreturn]] void ThrowLastError() const;
  // Throws forms::RuntimeError(number, "<file>: <what>").
  [[noreturn]] void Throw(long number, const std::wstring& what) const;

 private:
  void CheckHeader() const;
  void CheckSchema(bool createTable);

  struct Closer {
    void operator()(sqlite3* db) const;
  };

  std::wstring path_;
  int busyWaitMs_;
  bool created_ = false;
  std::unique_ptr<sqlite3, Closer> db_;
};

// "begin immediate" on construction: the write lock is taken (or waited for)
// before anything is read, so what is read stays true until the commit.
// Rolled back unless committed, so a write that fails half-way leaves the
// file as it was.
class SlotTransaction {
 public:
  explicit SlotTransaction(SlotDatabase& db);
  ~SlotTransaction();
  SlotTransaction(const SlotTransaction&) = delete;
  SlotTransaction& operator=(const SlotTransaction&) = delete;

  void Commit();

 private:
  SlotDatabase& db_;
  bool open_ = true;
};

}  // namespace app
