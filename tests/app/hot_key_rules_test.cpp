// Hotkey ids, the Ctrl+key keystroke around held modifiers, the tray record,
// its tip and the decoding of its callback.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/hot_key_id.h"
#include "app/mod_tray.h"
#include "forms/keystroke_sender.h"

namespace {

using namespace app;

TEST(HotKeyId, EighteenIdsMapBackToTheirGroupAndSlot) {
  for (int n = 1; n <= 9; ++n) {
    int store = HotKeyId(kStoreGroup, SlotKey(n));
    int recall = HotKeyId(kRecallGroup, SlotKey(n));
    EXPECT_EQ(store, 148 + n);
    EXPECT_EQ(recall, 248 + n);
    EXPECT_EQ(HotKeyGroup(store), 1);
    EXPECT_EQ(HotKeyGroup(recall), 2);
    EXPECT_EQ(HotKeySlot(store), n);
    EXPECT_EQ(HotKeySlot(recall), n);
  }
  EXPECT_EQ(SlotKey(1), 49);
  EXPECT_EQ(SlotKey(9), 57);
}

TEST(HotKeyId, GroupIsTheFloorOfIdOverHundred) {
  // The system's own ids are negative and belong to no group of ours.
  EXPECT_EQ(HotKeyGroup(-1), -1);
  EXPECT_EQ(HotKeyGroup(-2), -1);
  EXPECT_EQ(HotKeyGroup(-100), -1);
  EXPECT_EQ(HotKeyGroup(-101), -2);
  EXPECT_EQ(HotKeyGroup(0), 0);
  EXPECT_EQ(HotKeyGroup(99), 0);
  EXPECT_EQ(HotKeyGroup(100), 1);
  EXPECT_EQ(HotKeyGroup(199), 1);
  EXPECT_EQ(HotKeyGroup(200), 2);
  // Ids of the right group but no slot fall outside 1..9.
  EXPECT_EQ(HotKeySlot(148), 0);
  EXPECT_EQ(HotKeySlot(158), 10);
  EXPECT_EQ(HotKeySlot(100), -48);
}

struct Key {
  WORD vk;
  bool up;
  bool operator==(const Key& o) const { return vk == o.vk && up == o.up; }
};

std::vector<Key> Keys(const std::vector<INPUT>& inputs) {
  std::vector<Key> keys;
  for (const INPUT& in : inputs) {
    EXPECT_EQ(in.type, static_cast<DWORD>(INPUT_KEYBOARD));
    keys.push_back({in.ki.wVk, (in.ki.dwFlags & KEYEVENTF_KEYUP) != 0});
  }
  return keys;
}

TEST(CtrlKeystroke, FitsTheModifiersTheUserHolds) {
  forms::HeldModifiers none;
  EXPECT_EQ(Keys(forms::CtrlKeyInputs('V', none)),
            (std::vector<Key>{{VK_CONTROL, false}, {'V', false}, {'V', true}, {VK_CONTROL, true}}));

  // Ctrl held (the hotkey's own modifier): only the key, Ctrl stays down.
  forms::HeldModifiers ctrl;
  ctrl.control = true;
  EXPECT_EQ(Keys(forms::CtrlKeyInputs('V', ctrl)), (std::vector<Key>{{'V', false}, {'V', true}}));

  // Alt and Shift released around the key and pressed again in reverse order.
  forms::HeldModifiers more;
  more.control = true;
  more.others = {VK_LMENU, VK_RSHIFT};
  EXPECT_EQ(Keys(forms::CtrlKeyInputs('V', more)),
            (std::vector<Key>{{VK_LMENU, true},
                              {VK_RSHIFT, true},
                              {'V', false},
                              {'V', true},
                              {VK_RSHIFT, false},
                              {VK_LMENU, false}}));

  // Right-hand keys are extended keys.
  forms::HeldModifiers win;
  win.control = true;
  win.others = {VK_RMENU};
  std::vector<INPUT> inputs = forms::CtrlKeyInputs('V', win);
  ASSERT_EQ(inputs.size(), 4u);
  EXPECT_TRUE(inputs[0].ki.dwFlags & KEYEVENTF_EXTENDEDKEY);
  EXPECT_FALSE(inputs[1].ki.dwFlags & KEYEVENTF_EXTENDEDKEY);
}

TEST(TrayIcon, RecordAndTwoLineTip) {
  const std::wstring tip = mod_Tray::TipText();
  EXPECT_EQ(tip, L"朔禾剪贴板 V1.3\r\n提示：Alt+数字键赋值，Ctrl+数字键取值");
  EXPECT_EQ(tip.size(), 35u);

  HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
  HICON icon = reinterpret_cast<HICON>(static_cast<INT_PTR>(0x5678));
  mod_Tray::FillTrayIconData(window, icon);
  const NOTIFYICONDATAW& d = mod_Tray::TrayIconData;
  EXPECT_EQ(d.cbSize, sizeof(NOTIFYICONDATAW));
  EXPECT_EQ(d.hWnd, window);
  EXPECT_EQ(d.uID, 1u);
  EXPECT_EQ(d.uFlags, 7u);
  EXPECT_EQ(d.uCallbackMessage, 0x200u);
  EXPECT_EQ(d.hIcon, icon);
  EXPECT_EQ(std::wstring(d.szTip), tip);
  // A second fill starts from a clean record.
  mod_Tray::FillTrayIconData(nullptr, nullptr);
  EXPECT_EQ(mod_Tray::TrayIconData.hWnd, nullptr);
  EXPECT_EQ(std::wstring(mod_Tray::TrayIconData.szTip), tip);
}

TEST(TrayIcon, CallbackMessageFromTheScaledCoordinate) {
  using forms::ScaleMode;
  // Twips at 96 dpi: 15 per pixel.
  EXPECT_EQ(mod_Tray::CallbackMessage(0x202 * 15.0, ScaleMode::Twips, 15), WM_LBUTTONUP);
  EXPECT_EQ(mod_Tray::CallbackMessage(0x201 * 15.0, ScaleMode::Twips, 15), WM_LBUTTONDOWN);
  EXPECT_EQ(mod_Tray::CallbackMessage(0x205 * 15.0, ScaleMode::Twips, 15), WM_RBUTTONUP);
  // 120 dpi: 12 twips per pixel.
  EXPECT_EQ(mod_Tray::CallbackMessage(0x202 * 12.0, ScaleMode::Twips, 12), WM_LBUTTONUP);
  // Halves go to the even neighbour.
  EXPECT_EQ(mod_Tray::CallbackMessage(514.5 * 15, ScaleMode::Twips, 15), 514);
  EXPECT_EQ(mod_Tray::CallbackMessage(515.5 * 15, ScaleMode::Twips, 15), 516);
  // Pixels: the coordinate itself.
  EXPECT_EQ(mod_Tray::CallbackMessage(514, ScaleMode::Pixels, 15), WM_LBUTTONUP);
  EXPECT_EQ(mod_Tray::CallbackMessage(513.6, ScaleMode::Pixels, 15), 514);
}

}  // namespace
