// Times one load and one save of the nine slots (small texts and nine 1 MB
// texts) beside their floors: a bare connection open and close, and the nine
// megabytes written to a plain file.
// Usage: slot_bench [rounds]   (works in a fresh folder under %TEMP%)
#include <windows.h>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/slot_store.h"
#include "forms/runtime_error.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
  double median_ms;
  double best_ms;
};

Figures Time(int rounds, const std::function<void()>& body) {
  std::vector<double> ms;
  for (int i = 0; i < rounds; ++i) {
    const auto start = Clock::now();
    body();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms.front()};
}

void Report(const char* what, const Figures& f) {
  std::printf("%-40s median %9.3f ms   best %9.3f ms\n", what, f.median_ms, f.best_ms);
}

app::SlotTexts Texts(size_t length, wchar_t first) {
  app::SlotTexts slots;
  for (int n = 0; n < app::kSlotCount; ++n) {
    slots[n] = std::wstring(length, static_cast<wchar_t>(first + n));
  }
  return slots;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring folder =
      std::wstring(temp) + L"slot_bench_" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring path = app::SlotDatabasePath(folder);

  int status = 0;
  try {
    app::SaveSlots(folder, Texts(0, L'a'));  // creates the file and the rows
    std::printf("slot_bench: %d rounds, SQLite %s, %ls\n", rounds, sqlite3_libversion(),
                path.c_str());

    Report("open + close (floor)", Time(rounds, [&] {
              sqlite3* db = nullptr;
              sqlite3_open16(path.c_str(), &db);
              sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
              sqlite3_close_v2(db);
            }));

    const app::SlotTexts small = Texts(40, L'A');
    Report("save 9 small slots", Time(rounds, [&] { app::SaveSlots(folder, small); }));
    Report("load 9 small slots", Time(rounds, [&] { app::LoadSlots(folder); }));

    const app::SlotTexts large = Texts(1024 * 1024, L'a');
    const int largeRounds = std::max(1, rounds / 4);
    // The same nine megabytes as nine writes to a plain file, each flushed to
    // the disk on its own, as each slot's write is.
    const std::wstring plain = folder + L"\\plain.bin";
    const std::string megabyte(1024 * 1024, 'a');
    Report("floor: 9 x 1 MB written, each flushed", Time(largeRounds, [&] {
              HANDLE file = CreateFileW(plain.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
              if (file == INVALID_HANDLE_VALUE) std::abort();
              for (int n = 0; n < app::kSlotCount; ++n) {
                DWORD written = 0;
                WriteFile(file, megabyte.data(), static_cast<DWORD>(megabyte.size()), &written, nullptr);
                FlushFileBuffers(file);
              }
              CloseHandle(file);
            }));
    DeleteFileW(plain.c_str());
    Report("save 9 x 1 MB slots", Time(largeRounds, [&] { app::SaveSlots(folder, large); }));
    Report("load 9 x 1 MB slots", Time(largeRounds, [&] {
              if (app::LoadSlots(folder)[8].size() != large[8].size()) std::abort();
            }));
  } catch (const forms::RuntimeError& error) {
    std::printf("failed: %ld %ls\n", error.number(), error.description().c_str());
    status = 1;
  }

  for (const wchar_t* name : {L"data.mdb", L"data.mdb-journal"}) {
    DeleteFileW((folder + L"\\" + name).c_str());
  }
  RemoveDirectoryW(folder.c_str());
  return status;
}
