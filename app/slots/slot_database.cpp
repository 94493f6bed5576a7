#include "app/slots/slot_database.h"
#include "app/slots/slot_statement.h"

#include <windows.h>

#include <sqlite3.h>

#include <cstring>
#include <utility>

#include "app/slots/file_handle.h"
#include "app/slots/utf8_text.h"
#include "forms/runtime_error.h"

namespace app {
namespace {

constexpr char kSqliteHeader[16] = "SQLite format 3";  // 15 chars and a NUL

// The failures a user meets, in words; empty for the rest.
std::wstring FailureWords(int code) {
  switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return L"文件正被其他程序占用";
    case SQLITE_FULL:
      return L"磁盘已满";
    case SQLITE_READONLY:
      return L"文件只读，无法写入";
    case SQLITE_CORRUPT:
      return L"文件已损坏";
    case SQLITE_NOTADB:
      return L"不是数据库文件";
    case SQLITE_CANTOPEN:
      return L"无法打开文件";
    case SQLITE_IOERR:
      return L"读写文件出错";
    case SQLITE_PERM:
      return L"没有访问权限";
    case SQLITE_NOMEM:
      return L"内存不足";
    case SQLITE_TOOBIG:
      return L"文字太长";
    default:
      return std::wstring();
  }
}

}  // namespace

std::wstring SlotDatabasePath(const std::wstring& appFolder) { return appFolder + L"\\data.mdb"; }

SlotDatabase::SlotDatabase(std::wstring path, int busyWaitMs)
    : path_(std::move(path)), busyWaitMs_(busyWaitMs) {
  WIN32_FILE_ATTRIBUTE_DATA info{};
  bool newFile = false;
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
  if (!GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &info)) {
    // No file yet: a new installation. Anything else is left to the open
    // below to report.
    if (GetLastError() == ERROR_FILE_NOT_FOUND) {
      newFile = true;
      flags |= SQLITE_OPEN_CREATE;
    }
  } else if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    newFile = info.nFileSizeHigh == 0 && info.nFileSizeLow == 0;
    if (!newFile) CheckHeader();
  }

  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(ToUtf8(path_).c_str(), &db, flags, nullptr);
  db_.reset(db);  // a failed open still gives a handle that must be closed
  if (rc != SQLITE_OK) {
    if (!db_) Throw(rc, L"内存不足");
    ThrowLastError();
  }
  sqlite3_busy_timeout(db_.get(), busyWaitMs_);
  // A new file gets pages of 16 KB: a long slot text then takes a quarter of
  // the pages (and of the page writes) it would take at the default 4 KB,
  // and the file stays a plain SQLite database with a rollback journal.
  if (newFile) sqlite3_exec(db_.get(), "pragma page_size=16384", nullptr, nullptr, nullptr);
  CheckSchema(newFile);
}

SlotDatabase::~SlotDatabase() = default;

void SlotDatabase::Closer::operator()(sqlite3* db) const { sqlite3_close_v2(db); }

void SlotDatabase::Exec(const char* sql) {
  if (sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) ThrowLastError();
}

void SlotDatabase::ThrowLastError() const {
  const long number = sqlite3_errcode(db_.get());
  std::wstring message;
  if (const void* text = sqlite3_errmsg16(db_.get())) message = static_cast<const wchar_t*>(text);
  const std::wstring words = FailureWords(static_cast<int>(number));
  Throw(number, words.empty() ? message : words + L"（" + message + L"）");
}

void SlotDatabase::Throw(long number, const std::wstring& what) const {
  throw forms::RuntimeError(number, L"数据库文件“" + path_ + L"”出错：" + what);
}

void SlotDatabase::CheckHeader() const {
  FileHandle file = OpenForReading(path_, busyWaitMs_);
  if (!file.valid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
      Throw(SQLITE_BUSY, L"文件正被其他程序占用");
    }
    Throw(SQLITE_CANTOPEN, L"无法打开文件（系统错误 " + std::to_wstring(error) + L"）");
  }
  char header[sizeof kSqliteHeader] = {};
  DWORD read = 0;
  if (!ReadFile(file.get(), header, sizeof header, &read, nullptr)) {
    Throw(SQLITE_IOERR, L"无法读取文件（系统错误 " + std::to_wstring(GetLastError()) + L"）");
  }
  if (read != sizeof header || std::memcmp(header, kSqliteHeader, sizeof header) != 0) {
    Throw(SQLITE_NOTADB, L"不是剪贴板数据库（SQLite 格式），文件未改动");
  }
}

void SlotDatabase::CheckSchema(bool createTable) {
  bool hasTable = false, hasId = false, hasCont = false;
  {
    SlotStatement columns(*this, "select name from pragma_table_info('data')");
    while (columns.Step()) {
      hasTable = true;
      const std::wstring name = columns.ColumnText(0);
      hasId = hasId || _wcsicmp(name.c_str(), L"id") == 0;
      hasCont = hasCont || _wcsicmp(name.c_str(), L"cont") == 0;
    }
  }
  if (!hasTable && createTable) {
    if (sqlite3_exec(db_.get(), "create table data (id integer, cont text)", nullptr, nullptr,
                     nullptr) != SQLITE_OK) {
      ThrowLastError();
    }
    created_ = true;
    return;
  }
  if (!hasTable) Throw(SQLITE_ERROR, L"没有表 data，文件未改动");
  if (!hasId) Throw(SQLITE_ERROR, L"表 data 没有字段 id，文件未改动");
  if (!hasCont) Throw(SQLITE_ERROR, L"表 data 没有字段 cont，文件未改动");
}

SlotTransaction::SlotTransaction(SlotDatabase& db) : db_(db) { db_.Exec("begin immediate"); }

SlotTransaction::~SlotTransaction() {
  if (open_) sqlite3_exec(db_.handle(), "rollback", nullptr, nullptr, nullptr);
}

void SlotTransaction::Commit() {
  db_.Exec("commit");
  open_ = false;
}

}  // namespace app
