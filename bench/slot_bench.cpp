// Times the slot store beside floors measured in the same run:
//  - one load and one save of the nine slots (small texts and nine 1 MB
//    texts) beside a bare connection open and close and the nine megabytes
//    written to a plain file;
//  - one slot's write as the program makes it while running (its own
//    connection and transaction) for 1 KB and 1 MB, beside the same bytes
//    written to a plain file and flushed;
//  - typing into the main window's boxes, a 1 MB slot beside them or being
//    typed into, with the slot writes on and with the box's change doing the
//    tooltip alone (as without the writes); and the hand-over of a 1 MB slot
//    to the writer, the one cost of a write on the window's thread;
//  - taking over an older version's Jet data.mdb at start-up (the sample
//    slots-v2000-compressed.mdb) beside reading the file's bytes and beside
//    a start-up load that makes a new data.mdb.
// Usage: slot_bench [rounds]   (needs a desktop; works in a fresh folder under %TEMP%)
#include <windows.h>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "app/slots/slot_import.h"
#include "app/slots/slot_database.h"
#include "app/slots/slot_store.h"
#include "app/tip_text.h"
#include "forms/app.h"
#include "forms/runtime_error.h"
#include "tests/db/jet_samples.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Figures {
  double median_ms;
  double best_ms;
};

Figures Time(int rounds, const std::function<void()>& body) {
  std::vector<double> ms;
  for (int i = 0; i < rounds; ++i) {
    const auto start = Clock::now();
    body();
    ms.push_back(Ms(Clock::now() - start));
  }
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms.front()};
}

// As Time, with `setup` before each round, not timed.
Figures TimeEach(int rounds, const std::function<void()>& setup, const std::function<void()>& body) {
  std::vector<double> ms;
  for (int i = 0; i < rounds; ++i) {
    setup();
    ms.push_back(Time(1, body).best_ms);
  }
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms.front()};
}

void Report(const char* what, const Figures& f) {
  std::printf("%-46s median %9.3f ms   best %9.3f ms\n", what, f.median_ms, f.best_ms);
}

app::SlotTexts Texts(size_t length, wchar_t first) {
  app::SlotTexts slots;
  for (int n = 0; n < app::kSlotCount; ++n) {
    slots[n] = std::wstring(length, static_cast<wchar_t>(first + n));
  }
  return slots;
}

// The bytes once, flushed, closed: what a write of them costs at least.
void WritePlainFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) std::abort();
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  FlushFileBuffers(file);
  CloseHandle(file);
}

// Log-like lines of 80 characters.
std::wstring LogText(size_t length) {
  std::wstring text;
  text.reserve(length + 100);
  for (int line = 1; text.size() < length; ++line) {
    std::wstring row = L"2024-05-0" + std::to_wstring(line % 9 + 1) + L" 12:00:00 INFO worker " +
                       std::to_wstring(line) + L" finished its step";
    row.resize(78, L'.');
    text += row + L"\r\n";
  }
  text.resize(length);
  return text;
}

// Runs every waiting message, then waits for more until `ms` have passed.
void PumpFor(double ms) {
  const auto end = Clock::now() + std::chrono::duration<double, std::milli>(ms);
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  } while (Clock::now() < end && MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT) != WAIT_FAILED);
}

struct Keystrokes {
  double median_ms, p95_ms, max_ms;
  int writes;
};

// Types `bursts` bursts of 30 characters into the box, each followed by a
// pause long enough for the box's write to start; times each keystroke (the
// character and the messages it raises).
Keystrokes Type(app::FrmMain& form, int slot, int bursts) {
  HWND box = form.txtClip(slot).hwnd();
  SetFocus(box);
  const int end = GetWindowTextLengthW(box);
  SendMessageW(box, EM_SETSEL, end, end);
  const int writesBefore = form.Writer() ? form.Writer()->Attempts() : 0;
  std::vector<double> ms;
  for (int burst = 0; burst < bursts; ++burst) {
    for (int i = 0; i < 30; ++i) {
      const auto start = Clock::now();
      SendMessageW(box, WM_CHAR, static_cast<WPARAM>(L'a' + i % 26), 1);
      PumpFor(0);
      ms.push_back(Ms(Clock::now() - start));
    }
    PumpFor(app::SlotKeeper::kWritePauseMs + 60);  // the write starts; the next burst types beside it
  }
  std::sort(ms.begin(), ms.end());
  const int writes = form.Writer() ? form.Writer()->Attempts() - writesBefore : 0;
  return {ms[ms.size() / 2], ms[ms.size() * 95 / 100], ms.back(), writes};
}

void Report(const char* what, const Keystrokes& k) {
  std::printf("%-46s median %9.3f ms   p95 %9.3f ms   max %9.3f ms   (%d writes)\n", what, k.median_ms,
              k.p95_ms, k.max_ms, k.writes);
}

void TypingFigures(const std::wstring& folder, int bursts) {
  forms::App::SetPathForTesting(folder);
  forms::App::SetAskerForTesting([](const std::wstring&, unsigned) { return IDOK; });
  app::SaveSlots(folder, app::SlotTexts{});
  app::FrmMain form;
  if (!form.Load()) std::abort();
  form.Show();
  const std::wstring megabyte = LogText(1 << 20);
  form.txtClip(1).SetText(megabyte);
  PumpFor(app::SlotKeeper::kWritePauseMs + 100);
  while (form.Writer()->Pending()) PumpFor(10);

  // Without the writes: the box's change does the tooltip alone.
  const auto tipOnly = [&form](int n) {
    form.txtClip(n).OnChange = [&form, n] {
      form.txtClip(n).SetToolTipText(app::SlotTipText(form.txtClip(n).TextStart(app::kTipMaxChars + 1)));
    };
  };
  const auto withWrites = [&form](int n) { form.txtClip(n).OnChange = [&form, n] { form.txtClip_Change(n); }; };
  for (int n : {1, 2}) tipOnly(n);
  Report("typing beside a 1 MB slot, no writes", Type(form, 2, bursts));
  for (int n : {1, 2}) withWrites(n);
  Report("typing beside a 1 MB slot, with writes", Type(form, 2, bursts));
  for (int n : {1, 2}) tipOnly(n);
  Report("typing into a 1 MB slot, no writes", Type(form, 1, bursts));
  for (int n : {1, 2}) withWrites(n);
  Report("typing into a 1 MB slot, with writes", Type(form, 1, bursts));
  while (form.Writer()->Pending()) PumpFor(10);

  // The window's share of a write: the box's text read once and handed over.
  Report("hand-over of a 1 MB slot to the writer", Time(20, [&] {
            form.Writer()->Hand(1, form.txtClip(1).Text());
          }));
  while (form.Writer()->Pending()) PumpFor(10);
  form.Close();
}

// The old file taken over by a start-up's load, beside its bytes read into
// memory and beside a load that makes a new data.mdb.
void ImportFigures(const std::wstring& folder, int rounds) {
  const std::optional<std::filesystem::path> samples = JetSamplesDir();
  if (!samples) {
    std::printf("skipped: taking over an old slot file (no Jet sample files; set CLIP_JET_SAMPLES)\n");
    return;
  }
  const std::wstring sample = (*samples / L"slots" / L"slots-v2000-compressed.mdb").wstring();
  const std::wstring dir = folder + L"\\import";
  CreateDirectoryW(dir.c_str(), nullptr);
  const std::wstring data = app::SlotDatabasePath(dir), kept = dir + L"\\" + app::KeptOldFileName(1);
  const auto clear = [&] { DeleteFileW(data.c_str()), DeleteFileW(kept.c_str()); };
  const auto oldFile = [&] {
    clear();
    if (!CopyFileW(sample.c_str(), data.c_str(), FALSE)) std::abort();
  };
  oldFile();
  std::vector<char> bytes;
  // Each round on a fresh copy, as each import gets one.
  Report("floor: the old file's bytes read", TimeEach(rounds, oldFile, [&] {
            HANDLE file = CreateFileW(data.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            LARGE_INTEGER size{};
            DWORD read = 0;
            if (file == INVALID_HANDLE_VALUE || !GetFileSizeEx(file, &size)) std::abort();
            bytes.resize(static_cast<size_t>(size.QuadPart));
            ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
            CloseHandle(file);
          }));
  std::printf("  (%zu bytes: nine slots, one of 118,893 characters)\n", bytes.size());
  Report("start-up load taking the old file over", TimeEach(rounds, oldFile, [&] {
            app::SlotStore store(dir);
            if (store.Load()[6].size() != 118893 || !store.Imported() || store.HoldsOldFile()) std::abort();
          }));
  Report("start-up load making a new data.mdb", TimeEach(rounds, clear, [&] { app::SlotStore(dir).Load(); }));
  clear();
  RemoveDirectoryW(dir.c_str());
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
  const std::wstring plain = folder + L"\\plain.bin";

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
    // As at start-up: the file is first checked for an older version's.
    Report("start-up load of 9 small slots", Time(rounds, [&] { app::SlotStore(folder).Load(); }));

    // One slot at a time, as written while the program runs; the text
    // changes every round so that every write changes the row.
    app::SlotStore store(folder);
    store.Load();
    for (const size_t size : {size_t{1024}, size_t{1} << 20}) {
      const bool kb = size == 1024;
      const int slotRounds = kb ? rounds : std::max(1, rounds / 4);
      const std::string bytes(size, 'a');
      Report(kb ? "floor: 1 KB written to a file, flushed" : "floor: 1 MB written to a file, flushed",
             Time(slotRounds, [&] { WritePlainFile(plain, bytes); }));
      const std::wstring texts[2] = {std::wstring(size, L'a'), std::wstring(size, L'b')};
      int round = 0;
      Report(kb ? "write one 1 KB slot" : "write one 1 MB slot",
             Time(slotRounds, [&] { store.Write(3, texts[++round % 2]); }));
    }

    const app::SlotTexts large = Texts(1024 * 1024, L'a');
    const int largeRounds = std::max(1, rounds / 4);
    // The same nine megabytes as nine writes to a plain file, each flushed to
    // the disk on its own, as each slot's write is.
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

    ImportFigures(folder, rounds);
    TypingFigures(folder, std::max(2, rounds / 2));
  } catch (const forms::RuntimeError& error) {
    std::printf("failed: %ld %ls\n", error.number(), error.description().c_str());
    status = 1;
  }

  for (const wchar_t* name : {L"data.mdb", L"data.mdb-journal", L"Config.ini", L"plain.bin"}) {
    DeleteFileW((folder + L"\\" + name).c_str());
  }
  RemoveDirectoryW(folder.c_str());
  return status;
}
