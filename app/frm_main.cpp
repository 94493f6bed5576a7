#include "app/frm_main.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "app/data_folder.h"
#include "app/hot_key_id.h"
#include "app/mod_hot_key.h"
#include "app/mod_ini.h"
#include "app/mod_tray.h"
#include "app/resources/resource_ids.h"
#include "app/single_instance.h"
#include "app/slots/slot_import.h"
#include "app/slots/slot_text_file.h"
#include "app/tip_text.h"
#include "app/user_notes.h"
#include "forms/app.h"
#include "forms/event_guard.h"
#include "forms/keystroke_sender.h"
#include "forms/runtime_error.h"
#include "forms/system_color.h"
#include "forms/twips.h"

namespace app {
namespace {

const wchar_t kCaption[] = L"朔禾剪贴板 V1.3";
const wchar_t kSection[] = L"Last";

constexpr uint32_t kLabelForeColor = 0x000000C0;    // dark red
constexpr uint32_t kTextForeColor = 0x00C00000;     // dark blue
constexpr uint32_t kTextBackColor = 0x80000018;     // tooltip background

double RowOffset(int n) { return 420.0 * (n - 1); }

int GetButtonTabIndex(int n) { return n == 1 ? 18 : n == 9 ? 20 : 2 * n + 18; }
int ClearButtonTabIndex(int n) { return n == 1 ? 19 : n == 9 ? 21 : 2 * n + 19; }

// Posted to the main window: a slot's write failed; keys were refused; an
// older version's slots were taken over.
constexpr UINT kNotesMessage = WM_APP + 2;

}  // namespace

FrmMain::FrmMain() : forms::Form(kCaption), dataFolder_(forms::App::Path()) {
  // The icon's own image for the sizes the system asks for (16 to 32 pixels
  // at 100 to 200 % scaling): small for the title bar and the notification
  // area, large for Alt+Tab.
  const auto load = [](int cx, int cy) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_CLIPBOARD), IMAGE_ICON,
                                         GetSystemMetrics(cx), GetSystemMetrics(cy), 0));
  };
  icon_ = load(SM_CXSMICON, SM_CYSMICON);
  largeIcon_ = load(SM_CXICON, SM_CYICON);
  SetIcon(icon_, largeIcon_);
  CreateControls();
  actions_ = std::make_unique<ClipboardActions>(*this);
  OnLoad = [this] { Form_Load(); };
  OnResize = [this] { Form_Resize(); };
  OnUnload = [this] { Form_Unload(); };
  // A reported error ends the program: no icon may stay behind.
  forms::App::SetErrorCleanup([this] {
    if (inTray_) DelTray();
  });
}

FrmMain::~FrmMain() {
  forms::App::SetErrorCleanup(nullptr);
  // The window goes first, while the controls its messages refer to still exist.
  Destroy();
  if (icon_) DestroyIcon(icon_);
  if (largeIcon_) DestroyIcon(largeIcon_);
}

FrmMain* FrmMain::FromHandle(HWND hwnd) {
  return dynamic_cast<FrmMain*>(forms::Form::FromHandle(hwnd));
}

size_t FrmMain::Slot(int index) {
  if (index < 1 || index > kSlotCount) throw std::out_of_range("slot index");
  return static_cast<size_t>(index - 1);
}

void FrmMain::CreateControls() {
  for (int n = 1; n <= kSlotCount; ++n) {
    size_t i = Slot(n);
    double row = RowOffset(n);

    lblNumber_[i] = std::make_unique<forms::Label>(*this, LabelId(n),
                                                   forms::ControlLayout{120, 210 + row, 180, 180},
                                                   std::to_wstring(n) + L":", kLabelForeColor);
    lblNumber_[i]->SetTabIndex(n - 1);

    forms::TextBoxOptions options;
    options.verticalScrollBar = n == 9;
    txtClip_[i] = std::make_unique<forms::TextBox>(
        *this, TextBoxId(n), forms::ControlLayout{300, 150 + row, 1815, n == 9 ? 315.0 : 270.0},
        options, kTextForeColor, kTextBackColor);
    txtClip_[i]->SetTabIndex(8 + n);
    txtClip_[i]->OnChange = [this, n] { txtClip_Change(n); };
    txtClip_[i]->OnGotFocus = [this, n] { txtClip_GotFocus(n); };

    cmdGet_[i] = std::make_unique<forms::CommandButton>(
        *this, GetButtonId(n), forms::ControlLayout{2220, 120 + row, 615, 315}, L"赋值");
    cmdGet_[i]->SetTabIndex(GetButtonTabIndex(n));
    cmdGet_[i]->OnClick = [this, n] { cmdGet_Click(n); };

    cmdClear_[i] = std::make_unique<forms::CommandButton>(
        *this, ClearButtonId(n), forms::ControlLayout{2880, 120 + row, 615, 315}, L"清除");
    cmdClear_[i]->SetTabIndex(ClearButtonTabIndex(n));
    cmdClear_[i]->OnClick = [this, n] { cmdClear_Click(n); };
  }
  picTray_ = std::make_unique<forms::PictureBox>(*this, kTrayPictureId,
                                                 forms::ControlLayout{1140, 1320, 615, 555}, false);
  picTray_->SetPicture(icon_);
  picTray_->SetTabIndex(36);
  picTray_->OnMouseMove = [this](int button, int shift, double x, double y) {
    picTray_MouseMove(button, shift, x, y);
  };
}

void FrmMain::Form_Load() {
  // Beside the program, or in the user's own folder where the program's
  // folder takes no files; the settings path comes first, as always.
  const app::DataFolder folder = ChooseDataFolder(forms::App::Path(), LocalAppDataFolder());
  const bool made = PrepareDataFolder(folder);
  dataFolder_ = folder.path;
  mod_Ini::SetIniPath(mod_Ini::IniPathFor(dataFolder_));
  if (made) TellLater(DataFolderNote(forms::App::Path(), dataFolder_, folder.slotSource), MB_ICONINFORMATION);
  const std::wstring keptAtSessionEnd = TakeKeptAtSessionEnd(dataFolder_);
  if (!keptAtSessionEnd.empty()) TellLater(SessionEndNote(keptAtSessionEnd), MB_ICONWARNING);

  int width = mod_Ini::ReadIniInt(kSection, L"Width", 3750);
  int height = mod_Ini::ReadIniInt(kSection, L"Height", 4500);
  int left = mod_Ini::ReadIniInt(kSection, L"Left", 0);
  int top = mod_Ini::ReadIniInt(kSection, L"Top", 0);

  if (width < 3750) width = 3750;
  if (height < 4225) height = 4225;
  if (left < 0) left = 0;
  if (top < 0) top = 0;

  Move(left, top, width, height);
  // A stored position beyond every monitor would leave the window out of reach.
  KeepOnScreen();
  SetTopMost();

  // The nine slots from the database, through the slot load list; from now
  // on a changed slot is written within moments, off this thread.
  keeper_ = std::make_unique<SlotKeeper>(dataFolder_, [this](int n) { return txtClip(n).Text(); });
  slotLoadList_ = keeper_->Load();
  for (int n = 1; n <= kSlotCount; ++n) txtClip(n).SetText(slotLoadList_[Slot(n)]);
  if (const SlotImport* imported = keeper_->Imported()) {
    // Told once the window shows the slots.
    TellLater(OldSlotsNote(*imported), imported->notTaken ? MB_ICONWARNING : MB_ICONINFORMATION);
  }
  keeper_->StartWrites();

  // The skin, before the hotkey procedure so that messages run hotkeys,
  // skin, forms layer; it stands aside while the system's high contrast is on.
  skinner_ = std::make_unique<skin::clsSkinner>();
  highContrast_ = forms::HighContrastOn();
  if (!highContrast_) skinner_->AttachSkin(hwnd());
  ApplySlotColors();

  // The hotkeys: HotKeyWndProc goes in front of the procedure found (the
  // skin's once attached), then the eighteen keys are registered.
  mod_HotKey::InstallHotKeyWndProc(hwnd(), [this](int group, int slot) { OnSlotKey(group, slot); });
  const std::vector<int> heldHotKeys = mod_HotKey::RegisterSlotHotKeys();
  // Told once the window is up; the keys that were free work already.
  if (!heldHotKeys.empty()) TellLater(HeldHotKeysNote(heldHotKeys), MB_ICONWARNING);
}

void FrmMain::OnSlotKey(int group, int slot) {
  if (group == kStoreGroup) {
    // The user still holds Alt: its release must not put the active window
    // into menu mode.
    forms::MaskAltRelease();
    actions_->Store(slot);
  } else {
    actions_->Paste(slot);
  }
}

void FrmMain::ApplySlotColors() {
  // In high contrast the slots take the system's window and text colours.
  for (int n = 1; n <= kSlotCount; ++n) {
    lblNumber(n).SetColors(highContrast_ ? forms::SystemColor(COLOR_BTNTEXT) : kLabelForeColor,
                           forms::SystemColor(COLOR_BTNFACE));
    txtClip(n).SetColors(highContrast_ ? forms::SystemColor(COLOR_WINDOWTEXT) : kTextForeColor,
                         highContrast_ ? forms::SystemColor(COLOR_WINDOW) : kTextBackColor);
  }
}

void FrmMain::FollowHighContrast() {
  if (!skinner_ || forms::HighContrastOn() == highContrast_) return;
  highContrast_ = !highContrast_;
  // The skin goes on or off with the hotkey procedure still in front of it.
  mod_HotKey::RemoveHotKeyWndProc(hwnd());
  if (highContrast_) skinner_->DetachSkin(hwnd());
  else skinner_->AttachSkin(hwnd());
  mod_HotKey::InstallHotKeyWndProc(hwnd(), [this](int group, int slot) { OnSlotKey(group, slot); });
  ApplySlotColors();
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void FrmMain::Form_Resize() {
  switch (GetWindowState()) {
    case forms::WindowState::Minimized:
      if (!inTray_) {
        SetVisible(false);
        AddTray();
      }
      return;
    case forms::WindowState::Maximized:
      return;
    case forms::WindowState::Normal:
      break;
  }
  if (Width() < kMinWidth) SetWidth(kMinWidth);
  if (Height() < kMinHeight) SetHeight(kMinHeight);
  // Moving the controls leaves the form's own size as it is.
  const double width = Width();
  for (int n = 1; n <= kSlotCount; ++n) {
    txtClip(n).SetWidth(width - 1935);
    cmdGet(n).SetLeft(width - 1530);
    cmdClear(n).SetLeft(width - 870);
  }
  txtClip(9).SetHeight(Height() - 4110);
}

void FrmMain::Form_Unload() {
  // The slots first: if saving fails, the settings file is not written.
  // Without a load there is nothing read to tell this program's changes from
  // another's: every slot counts as unchanged.
  if (!keeper_) keeper_ = std::make_unique<SlotKeeper>(dataFolder_, [this](int n) { return txtClip(n).Text(); });
  if (keeper_->Save(SessionEnding())) {
    // A minimised (or tray-hidden) window reports its iconic position; the
    // user's size and place are the restored rectangle.
    forms::TwipsRect bounds = GetWindowState() == forms::WindowState::Minimized
                                  ? RestoredBounds()
                                  : forms::TwipsRect{Left(), Top(), Width(), Height()};
    mod_Ini::WriteIniInt(kSection, L"Width", forms::RoundToInt32(bounds.width));
    mod_Ini::WriteIniInt(kSection, L"Height", forms::RoundToInt32(bounds.height));
    mod_Ini::WriteIniInt(kSection, L"Left", forms::RoundToInt32(bounds.left));
    mod_Ini::WriteIniInt(kSection, L"Top", forms::RoundToInt32(bounds.top));
  }

  // Detaching puts back the procedure the skin found, which also takes the
  // hotkey procedure out of the chain.
  if (skinner_) skinner_->DetachSkin(hwnd());
  skinner_.reset();

  mod_HotKey::UnregisterSlotHotKeys();
}

void FrmMain::TellLater(std::wstring note, UINT icon) {
  notes_.emplace_back(std::move(note), icon);
  PostMessageW(hwnd(), kNotesMessage, 0, 0);
}

void FrmMain::TellNotes() {
  // One box after the other, not one inside the other's wait.
  if (tellingNotes_) return;
  tellingNotes_ = true;
  while (!notes_.empty()) {
    const auto [note, icon] = notes_.front();
    notes_.erase(notes_.begin());
    forms::App::Ask(note, MB_OK | icon);
  }
  tellingNotes_ = false;
}

void FrmMain::cmdGet_Click(int index) {
  // In turn with the hotkeys; a clipboard held open by another program, or
  // whose owner never hands the text over, leaves the slot as it was.
  actions_->Assign(index);
}

void FrmMain::cmdClear_Click(int index) { txtClip(index).SetText(L""); }

void FrmMain::txtClip_Change(int index) {
  // One character past what a tip shows tells whether the text is cut.
  txtClip(index).SetToolTipText(SlotTipText(txtClip(index).TextStart(kTipMaxChars + 1)));
  if (keeper_) keeper_->Changed(index);
}

void FrmMain::Tell(ActionNotice notice, int slot) {
  const std::wstring text = ActionNoteText(notice, slot);
  if (notice != ActionNotice::OwnerNoAnswer) {
    // The user goes on in the window they work in: no box in the way.
    notice_.Show(text, GetForegroundWindow());
    return;
  }
  if (telling_) return;  // one message at a time
  telling_ = true;
  forms::App::Ask(text, MB_OK | MB_ICONWARNING);
  telling_ = false;
}

void FrmMain::txtClip_GotFocus(int) {}

void FrmMain::AddTray() {
  mod_Tray::FillTrayIconData(picTray().hwnd(), picTray().Picture());
  // The first time after a start, the icon says that the program runs on
  // (Windows 11 may put a new icon out of sight, in the overflow).
  if (!trayTold_) mod_Tray::AddBalloon(TrayBalloonTitle(), TrayBalloonText());
  inTray_ = true;
  if (mod_Tray::AddIcon()) {
    trayTold_ = true;
  } else {
    // No icon to come back by: the window stays reachable. InTray is still
    // True while it is shown, so the resize this raises does nothing.
    SetVisible(true);
    inTray_ = false;
  }
}

void FrmMain::DelTray() {
  mod_Tray::DeleteIcon();
  inTray_ = false;
}

void FrmMain::BringBack() {
  SetVisible(true);
  if (GetWindowState() == forms::WindowState::Minimized) SetWindowState(forms::WindowState::Normal);
  if (inTray_) DelTray();
  SetForegroundWindow(hwnd());
}

void FrmMain::picTray_MouseMove(int, int, double x, double) {
  int message = mod_Tray::CallbackMessage(x, picTray().GetScaleMode(), forms::TwipsPerPixelX());
  if (message != WM_LBUTTONUP) return;
  // InTray stays True until DelTray, so the resizes raised here do not send
  // the window back to the tray.
  SetVisible(true);
  if (GetWindowState() == forms::WindowState::Minimized) SetWindowState(forms::WindowState::Normal);
  DelTray();
}

LRESULT FrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == mod_Tray::TaskbarCreatedMessage()) {
    // The notification area was created again and lost our icon.
    if (inTray_) forms::RunGuarded([this] { AddTray(); });
  } else if (message == WM_DESTROY && inTray_) {
    // No stale icon stays behind when the program ends in the tray.
    DelTray();
  } else if (message == WM_SETTINGCHANGE || message == WM_SYSCOLORCHANGE) {
    forms::RunGuarded([this] { FollowHighContrast(); });
    // New system colours show at once.
    if (message == WM_SYSCOLORCHANGE) RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  } else if (message == ShowRunningCopyMessage()) {
    forms::RunGuarded([this] { BringBack(); });
    return 0;
  } else if (message == kNotesMessage) {
    forms::RunGuarded([this] { TellNotes(); });
    return 0;
  }
  return forms::Form::HandleMessage(message, wParam, lParam);
}

}  // namespace app
