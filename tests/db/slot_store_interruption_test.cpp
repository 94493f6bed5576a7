// A process killed in the middle of saving leaves a database that opens,
// passes SQLite's integrity check, and holds for every slot either the old or
// the new text, never a mix.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/slot_store.h"
#include "tests/db/fixture_db.h"
#include "tests/db/slot_test_folder.h"

namespace {

using slot_test::TempFolder;

std::wstring HelperPath() {
  wchar_t self[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"slot_save_loop.exe";
}

// True when `text` is what the helper writes into `slot` in some round.
bool IsWholeRoundText(const std::wstring& text, int slot) {
  const size_t bar = text.find(L'|');
  if (text.rfind(L"round ", 0) != 0 || bar == std::wstring::npos) return false;
  const std::wstring fill = text.substr(bar + 1);
  const int round = std::stoi(text.substr(6, bar - 6));
  return fill == std::wstring(150000 + slot * 1000, static_cast<wchar_t>(L'a' + round % 26));
}

class ProcessHandles {
 public:
  ProcessHandles() = default;
  ~ProcessHandles() {
    if (info.hProcess) {
      TerminateProcess(info.hProcess, 1);
      WaitForSingleObject(info.hProcess, 10000);
      CloseHandle(info.hProcess);
    }
    if (info.hThread) CloseHandle(info.hThread);
  }
  ProcessHandles(const ProcessHandles&) = delete;
  ProcessHandles& operator=(const ProcessHandles&) = delete;

  PROCESS_INFORMATION info{};
};

TEST(SlotStoreInterrupted, KilledSaveLeavesAConsistentDatabase) {
  const std::wstring helper = HelperPath();
  ASSERT_TRUE(slot_test::FileExists(helper));

  // Different moments of death: the kill lands at various points of a save.
  for (DWORD delayMs : {0u, 35u, 90u, 160u, 250u}) {
    SCOPED_TRACE(delayMs);
    TempFolder folder;
    std::wstring command = L"\"" + helper + L"\" \"" + folder.path() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    ProcessHandles child;
    ASSERT_TRUE(CreateProcessW(helper.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &child.info));

    const std::wstring marker = folder.File(L"saving");
    for (int i = 0; i < 600 && !slot_test::FileExists(marker); ++i) {
      ASSERT_EQ(WaitForSingleObject(child.info.hProcess, 50), WAIT_TIMEOUT) << "helper ended";
    }
    ASSERT_TRUE(slot_test::FileExists(marker));
    Sleep(delayMs);
    ASSERT_TRUE(TerminateProcess(child.info.hProcess, 9));
    ASSERT_EQ(WaitForSingleObject(child.info.hProcess, 10000), WAIT_OBJECT_0);

    const app::SlotTexts slots = app::LoadSlots(folder.path());
    for (int n = 1; n <= app::kSlotCount; ++n) {
      EXPECT_TRUE(IsWholeRoundText(slots[n - 1], n)) << "slot " << n;
    }
    slot_test::FixtureDb db(folder.File(L"data.mdb"));
    EXPECT_EQ(db.Value("pragma integrity_check"), "ok");
    EXPECT_EQ(db.Value("select count(*) from data"), "9");
  }
}

}  // namespace
