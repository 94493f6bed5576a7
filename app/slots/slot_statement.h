#pragma once
// A prepared statement on a slot database connection; finalized on every path.
#include <string>

struct sqlite3_stmt;

namespace app {

class SlotDatabase;

class SlotStatement {
 public:
  // Throws forms::RuntimeError when the statement cannot be prepared.
  SlotStatement(SlotDatabase& db, const std::string& sql);
  ~SlotStatement();
  SlotStatement(const SlotStatement&) = delete;
  SlotStatement& operator=(const SlotStatement&) = delete;

  void BindInt(int index, int value);
  void BindInt64(int index, long long value);
  void BindReal(int index, double value);
  // A blob: never taken for a number or compared equal to one.
  void BindBlob(int index, const std::string& bytes);
  // Binds the text as UTF-16 with its length, so any character (NUL
  // included) survives; the empty string stays a string, not Null.
  void BindText(int index, const std::wstring& text);

  // True when a row is ready, false when the statement is done.
  // Throws forms::RuntimeError on failure.
  bool Step();
  // Makes the statement ready to run again with new values.
  void Reset();

  // The result column with this name (ignoring ASCII case), or -1.
  int ColumnIndex(const char* name) const;
  // The column's value as text; Null gives the empty string.
  std::wstring ColumnText(int column) const;
  long long ColumnInt64(int column) const;

 private:
  SlotDatabase& db_;
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace app
