#include "app/slots/slot_import.h"

#include <windows.h>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <climits>
#include <new>
#include <utility>

#include "app/slots/file_handle.h"
#include "app/slots/slot_database.h"
#include "app/slots/slot_statement.h"
#include "jet/database.h"
#include "jet/utf8.h"

namespace app {
namespace {

const wchar_t kLockName[] = L"data.mdb-import.lock";
const wchar_t kCopyTemp[] = L"data.mdb-copy.tmp";
const wchar_t kNewTemp[] = L"data.mdb-new.tmp";
constexpr DWORD kLockWaitMs = 10000;  // for another copy's import
constexpr DWORD kChunk = 1 << 20;

std::function<void(const char*)>& StepHook() {
  static std::function<void(const char*)> hook;
  return hook;
}
void Done(const char* step) {
  if (StepHook()) StepHook()(step);
}

std::wstring InFolder(const std::wstring& folder, const wchar_t* name) { return folder + L"\\" + name; }

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

std::wstring FromUtf8(const char* text) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (size <= 1) return std::wstring();
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), size);
  out.resize(static_cast<size_t>(size) - 1);
  return out;
}

std::wstring SystemError(DWORD error) { return L"（系统错误 " + std::to_wstring(error) + L"）"; }

forms::RuntimeError WriteFailure(const std::wstring& path, DWORD error) {
  long number = SQLITE_IOERR;
  std::wstring words = L"读写文件出错";
  switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      number = SQLITE_READONLY, words = L"文件夹无法写入";
      break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      number = SQLITE_FULL, words = L"磁盘已满";
      break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      number = SQLITE_BUSY, words = L"文件正被其他程序占用";
      break;
    default:
      break;
  }
  return forms::RuntimeError(number, L"无法写入“" + path + L"”：" + words + SystemError(error));
}

// The old file could not be read: it stays as it is.
[[noreturn]] void Refuse(const std::wstring& path, long number, const std::wstring& words) {
  throw forms::RuntimeError(number, L"数据库文件“" + path + L"”出错：" + words + L"，文件未改动");
}

std::pair<long, std::wstring> JetFailure(jet::ErrorKind kind) {
  switch (kind) {
    case jet::ErrorKind::kNoSuchTable:
      return {SQLITE_ERROR, L"旧版的 Jet 数据库中没有表 data"};
    case jet::ErrorKind::kEncrypted:
      return {SQLITE_NOTADB, L"是加密的 Jet 数据库，无法读取"};
    case jet::ErrorKind::kPasswordProtected:
      return {SQLITE_NOTADB, L"是设有密码的 Jet 数据库，无法读取"};
    case jet::ErrorKind::kNewerFormat:
      return {SQLITE_NOTADB, L"是较新版本的 Access 数据库（Access 2007 或更高版本），无法读取"};
    case jet::ErrorKind::kCodePage:
      return {SQLITE_NOTADB, L"是旧版的 Jet 数据库，但其中文字的代码页无法转换"};
    case jet::ErrorKind::kNotJet:
    case jet::ErrorKind::kDamaged:
      break;
  }
  return {SQLITE_CORRUPT, L"是旧版的 Jet 数据库，但文件已损坏"};
}

struct OldFile {
  std::vector<uint8_t> bytes;
  FILETIME written{};
};

OldFile ReadOldFile(const std::wstring& path) {
  FileHandle file = OpenForReading(path, SlotDatabase::kBusyTimeoutMs);
  if (!file.valid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
      Refuse(path, SQLITE_BUSY, L"文件正被其他程序占用");
    Refuse(path, SQLITE_CANTOPEN, L"无法打开文件" + SystemError(error));
  }
  OldFile old;
  LARGE_INTEGER length{};
  if (!GetFileSizeEx(file.get(), &length) || !GetFileTime(file.get(), nullptr, nullptr, &old.written))
    Refuse(path, SQLITE_IOERR, L"无法读取文件" + SystemError(GetLastError()));
  const uint64_t size = static_cast<uint64_t>(length.QuadPart);
  if (size > kMaxOldFileBytes) {
    Refuse(path, SQLITE_TOOBIG, L"是 Jet 数据库，但有 " + std::to_wstring(size) + L" 字节，超过旧版槽文件的上限 " +
                                    std::to_wstring(kMaxOldFileBytes >> 20) + L" MB，不予读取");
  }
  old.bytes.resize(static_cast<size_t>(size));
  size_t total = 0;
  while (total < old.bytes.size()) {
    DWORD read = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(kChunk, old.bytes.size() - total));
    if (!ReadFile(file.get(), old.bytes.data() + total, want, &read, nullptr))
      Refuse(path, SQLITE_IOERR, L"无法读取文件" + SystemError(GetLastError()));
    if (read == 0) break;  // shorter now; checked again before data.mdb is replaced
    total += read;
  }
  old.bytes.resize(total);
  return old;
}

std::vector<OldSlotRow> ReadOldRows(const std::wstring& path, std::vector<uint8_t> bytes) {
  try {
    jet::Options options;
    options.decode_code_page = DecodeOldText;
    const jet::Database db(std::move(bytes), options);
    const jet::Table table = db.OpenTable(u"data");
    const int id = table.ColumnIndex(u"id");
    const int cont = table.ColumnIndex(u"cont");
    for (const auto& [index, name] : {std::pair{id, L"id"}, std::pair{cont, L"cont"}}) {
      if (index < 0)
        Refuse(path, SQLITE_ERROR, std::wstring(L"旧版的 Jet 数据库中，表 data 没有字段 ") + name +
                                       L"（table data has no column " + name + L"）");
    }
    std::vector<OldSlotRow> rows;
    table.ForEachRow([&](const jet::Row& row) {
      rows.push_back({row[static_cast<size_t>(id)], row[static_cast<size_t>(cont)]});
    });
    return rows;
  } catch (const jet::Error& e) {
    const auto [number, words] = JetFailure(e.kind());
    Refuse(path, number, words + L"（" + FromUtf8(e.what()) + L"）");
  }
}

bool SameId(const jet::Value& id, int n) {
  switch (id.kind) {
    case jet::ValueKind::kInteger:
      return id.integer == n;
    case jet::ValueKind::kMoney:
      return id.integer == int64_t{n} * 10000;
    case jet::ValueKind::kReal:
      return id.real == n;
    default:
      return false;
  }
}

void BindId(SlotStatement& insert, const jet::Value& id) {
  switch (id.kind) {
    case jet::ValueKind::kNull:
      return;
    case jet::ValueKind::kInteger:
      return insert.BindInt64(1, id.integer);
    case jet::ValueKind::kMoney:
      if (id.integer % 10000 == 0) return insert.BindInt64(1, id.integer / 10000);
      return insert.BindReal(1, static_cast<double>(id.integer) / 10000);
    case jet::ValueKind::kReal:
      return insert.BindReal(1, id.real);
    default:
      return insert.BindBlob(1, jet::ToUtf8(jet::ToText(id)));
  }
}

bool Exists(const std::wstring& path) {
  if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  const DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

// True when the file holds exactly these bytes.
bool Holds(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  WIN32_FILE_ATTRIBUTE_DATA info{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
      (uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow) != bytes.size())
    return false;
  FileHandle file = OpenForReading(path, 0);
  std::vector<uint8_t> chunk(std::min<size_t>(kChunk, bytes.size()));
  for (size_t at = 0; at < bytes.size();) {
    DWORD read = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(chunk.size(), bytes.size() - at));
    if (!file.valid() || !ReadFile(file.get(), chunk.data(), want, &read, nullptr) || read == 0 ||
        !std::equal(chunk.begin(), chunk.begin() + read, bytes.begin() + static_cast<ptrdiff_t>(at)))
      return false;
    at += read;
  }
  return true;
}

// A new file with the bytes, flushed to the disk.
void WriteWholeFile(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) throw WriteFailure(path, GetLastError());
  for (size_t at = 0; at < bytes.size();) {
    DWORD written = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(kChunk, bytes.size() - at));
    if (!WriteFile(file.get(), bytes.data() + at, want, &written, nullptr) || written == 0)
      throw WriteFailure(path, GetLastError());
    at += written;
  }
  if (!FlushFileBuffers(file.get())) throw WriteFailure(path, GetLastError());
}

void Flush(const std::wstring& path) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid() || !FlushFileBuffers(file.get())) throw WriteFailure(path, GetLastError());
}

void RemoveTemporaryFiles(const std::wstring& folder) {
  for (const wchar_t* name : {kCopyTemp, kNewTemp}) DeleteFileW(InFolder(folder, name).c_str());
  DeleteFileW((InFolder(folder, kNewTemp) + L"-journal").c_str());
}

// The old bytes under a kept name: an existing copy with the same bytes, or
// a new file at the first free name. *made tells which.
std::wstring KeepOldFile(const std::wstring& folder, const std::vector<uint8_t>& bytes, bool* made) {
  const std::wstring temp = InFolder(folder, kCopyTemp);
  bool written = false;
  for (int n = 1; n <= 100; ++n) {
    const std::wstring kept = InFolder(folder, KeptOldFileName(n).c_str());
    if (Exists(kept)) {
      if (Holds(kept, bytes)) return kept;
      continue;
    }
    if (!written) {
      WriteWholeFile(temp, bytes);
      written = true;
      Done("copy written");
    }
    // Without MOVEFILE_REPLACE_EXISTING: a file that appeared meanwhile stays.
    if (MoveFileExW(temp.c_str(), kept.c_str(), MOVEFILE_WRITE_THROUGH)) {
      *made = true;
      return kept;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) throw WriteFailure(kept, error);
  }
  throw forms::RuntimeError(SQLITE_CANTOPEN, L"无法保留旧版的 data.mdb：“" + folder + L"”中名为 data-旧版 的文件太多");
}

bool Unchanged(const std::wstring& path, const OldFile& old) {
  WIN32_FILE_ATTRIBUTE_DATA info{};
  return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info) &&
         (uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow) == old.bytes.size() &&
         CompareFileTime(&info.ftLastWriteTime, &old.written) == 0;
}

// Held for the import; deleted by the system when closed, also when the
// process ends. Waits while another copy holds it.
HANDLE TakeImportLock(const std::wstring& folder, DWORD* error) {
  const std::wstring path = InFolder(folder, kLockName);
  const ULONGLONG deadline = GetTickCount64() + kLockWaitMs;
  for (;;) {
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    *error = lock == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    if (*error != ERROR_SHARING_VIOLATION || GetTickCount64() >= deadline) return lock;
    Sleep(50);
  }
}

}  // namespace

bool DecodeOldText(uint16_t codePage, const uint8_t* bytes, size_t size, std::u16string* out) {
  if (codePage == 0) return jet::DecodeWesternCodePage(codePage, bytes, size, out);
  if (size == 0) return true;
  if (size > INT_MAX) return false;
  const auto source = reinterpret_cast<const char*>(bytes);
  DWORD flags = MB_ERR_INVALID_CHARS;
  int length = MultiByteToWideChar(codePage, flags, source, static_cast<int>(size), nullptr, 0);
  if (length <= 0 && GetLastError() == ERROR_INVALID_FLAGS) {
    flags = 0;  // code pages that take no flags
    length = MultiByteToWideChar(codePage, flags, source, static_cast<int>(size), nullptr, 0);
  }
  if (length <= 0) return false;
  const size_t at = out->size();
  out->resize(at + static_cast<size_t>(length));
  return MultiByteToWideChar(codePage, flags, source, static_cast<int>(size), reinterpret_cast<wchar_t*>(&(*out)[at]),
                             length) == length;
}

SlotTexts SlotsFromOldRows(const std::vector<OldSlotRow>& rows) {
  SlotTexts slots;
  std::array<bool, kSlotCount> found{};
  for (const OldSlotRow& row : rows) {
    for (int n = 1; n <= kSlotCount; ++n) {
      if (found[n - 1] || !SameId(row.id, n)) continue;
      found[n - 1] = true;
      slots[n - 1] = Wide(jet::ToText(row.cont));
    }
  }
  return slots;
}

void WriteOldRows(const std::wstring& path, const std::vector<OldSlotRow>& rows) {
  SlotDatabase db(path);
  // A file no one else knows yet, flushed as a whole once written: it needs
  // no journal and no flush of its own.
  db.Exec("pragma journal_mode=memory");
  db.Exec("pragma synchronous=off");
  SlotTransaction transaction(db);
  {
    SlotStatement insert(db, "insert into data (id, cont) values (?1, ?2)");
    for (const OldSlotRow& row : rows) {
      insert.Reset();
      BindId(insert, row.id);
      if (!row.cont.is_null()) insert.BindText(2, Wide(jet::ToText(row.cont)));
      insert.Step();
    }
  }
  transaction.Commit();
}

bool IsJetFile(const std::wstring& path) {
  static const char kJet[] = "\x00\x01\x00\x00Standard Jet DB";
  static const char kAce[] = "\x00\x01\x00\x00Standard ACE DB";
  FileHandle file = OpenForReading(path, SlotDatabase::kBusyTimeoutMs);
  char head[sizeof kJet] = {};  // the signature and its terminating zero
  DWORD read = 0;
  return file.valid() && ReadFile(file.get(), head, sizeof head, &read, nullptr) && read == sizeof head &&
         (std::equal(head, head + sizeof head, kJet) || std::equal(head, head + sizeof head, kAce));
}

std::wstring KeptOldFileName(int n) {
  return n == 1 ? L"data-旧版.mdb" : L"data-旧版 (" + std::to_wstring(n) + L").mdb";
}

std::optional<SlotImport> ImportOldSlots(const std::wstring& appFolder) {
  const std::wstring path = SlotDatabasePath(appFolder);
  if (!IsJetFile(path)) return std::nullopt;
  DWORD lockError = ERROR_SUCCESS;
  const FileHandle lock(TakeImportLock(appFolder, &lockError));
  // Another copy of the program may have taken the file over meanwhile.
  if (lock.valid() && !IsJetFile(path)) return std::nullopt;

  OldFile old = ReadOldFile(path);
  std::vector<OldSlotRow> rows;
  try {
    std::vector<uint8_t> copy = old.bytes;
    rows = ReadOldRows(path, std::move(copy));
  } catch (const std::bad_alloc&) {
    Refuse(path, SQLITE_NOMEM, L"内存不足，无法读取旧版的 Jet 数据库");
  }
  SlotImport result;
  result.slots = SlotsFromOldRows(rows);
  Done("read");
  if (!lock.valid()) {
    result.notTaken = WriteFailure(appFolder, lockError);
    return result;
  }

  const std::wstring temp = InFolder(appFolder, kNewTemp);
  bool madeCopy = false;
  try {
    RemoveTemporaryFiles(appFolder);
    result.keptPath = KeepOldFile(appFolder, old.bytes, &madeCopy);
    Done("kept");
    WriteOldRows(temp, rows);
    Done("rows written");
    Flush(temp);
    Done("flushed");
    if (!Unchanged(path, old))
      throw forms::RuntimeError(SQLITE_BUSY, L"数据库文件“" + path + L"”在转换时被其他程序改动");
    if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      throw WriteFailure(path, GetLastError());
    Done("replaced");
  } catch (const forms::RuntimeError& e) {
    RemoveTemporaryFiles(appFolder);
    // A copy made now goes again: the folder is left as it was found.
    if (madeCopy) DeleteFileW(result.keptPath.c_str());
    result.keptPath.clear();
    result.notTaken = e;
  }
  return result;
}

void SetImportStepHookForTesting(std::function<void(const char* step)> hook) { StepHook() = std::move(hook); }

}  // namespace app
