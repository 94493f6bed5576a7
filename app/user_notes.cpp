#include "app/user_notes.h"

#include "app/hot_key_id.h"
#include "app/slots/slot_import.h"
#include "forms/app.h"
#include "forms/runtime_error.h"

namespace app {
namespace {

// "Alt+2", "Ctrl+5".
std::wstring HotKeyName(int id) {
  return std::wstring(HotKeyGroup(id) == kStoreGroup ? L"Alt+" : L"Ctrl+") +
         static_cast<wchar_t>(HotKeySlot(id) + L'0');
}

}  // namespace

std::wstring HeldHotKeysNote(const std::vector<int>& ids) {
  std::wstring keys;
  for (int id : ids) keys += (keys.empty() ? L"" : L"、") + HotKeyName(id);
  return L"以下热键已被其他程序占用，在本程序中不起作用：" + keys;
}

std::wstring OldSlotsNote(const SlotImport& imported) {
  if (!imported.notTaken)
    return L"已接管旧版程序的槽：旧版的 data.mdb 已转换为新格式。\n\n旧版的 data.mdb 原样保存在：\n\n" + imported.keptPath;
  return L"已显示旧版程序的槽，但旧版的 data.mdb 无法转换为新格式：\n\n" +
         forms::FormatRuntimeErrorText(imported.notTaken->number(), imported.notTaken->description()) +
         L"\n\n旧版的 data.mdb 保持原样。程序照常运行，但槽的改动暂时无法保存；程序会稍后再试，关闭时也会再试，"
         L"仍不成功时槽的文字将保存在文本文件中。";
}

std::wstring DataFolderNote(const std::wstring& programFolder, const std::wstring& dataFolder,
                            const std::wstring& slotSource) {
  std::wstring note = L"程序所在的文件夹不能写入：\n" + programFolder + L"\n\n槽和窗口位置从现在起保存在：\n" + dataFolder;
  if (!slotSource.empty()) note += L"\n\n槽取自（原文件保持不变）：\n" + slotSource;
  return note;
}

std::wstring SessionEndNote(const std::wstring& keptPath) {
  return L"上次注销或关机时，槽没能保存到数据库，它们的文字保存在文本文件中：\n\n" + keptPath;
}

std::wstring TrayBalloonTitle() { return L"朔禾剪贴板仍在运行"; }

std::wstring TrayBalloonText() {
  return L"窗口已收到通知区域，Alt+数字键和 Ctrl+数字键照常可用。单击这个图标即可恢复窗口。";
}

std::wstring ActionNoteText(ActionNotice notice, int slot) {
  const std::wstring n = std::to_wstring(slot);
  switch (notice) {
    case ActionNotice::OwnerNoAnswer:
      return L"剪贴板上的文字属于一个没有响应的程序，它在 " + std::to_wstring(ReadTiming().answerMs / 1000) +
             L" 秒内没有交出文字。\n\n槽 " + n + L" 保持原样。";
    case ActionNotice::Elevated:
      return L"目标窗口以管理员身份运行，收不到本程序发出的按键。\n槽 " + n +
             L" 的文字已放在剪贴板上：请在该窗口中按 Ctrl+V 粘贴。";
    case ActionNotice::PasteBusy:
      return L"剪贴板正被其他程序占用，槽 " + n + L" 没有粘贴。请稍后再按 Ctrl+" + n + L"。";
    case ActionNotice::StoreBusy:
      return L"剪贴板正被其他程序占用，无法读取。槽 " + n + L" 保持原样，请稍后再试。";
  }
  return std::wstring();
}

}  // namespace app
