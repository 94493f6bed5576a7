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
#include "app/slot_import.h"
#include "app/slot_text_file.h"
#include "app/slot_write_check.h"
#include "app/tip_text.h"
#include "app/user_notes.h"
#include "forms/app.h"
#include "forms/event_guard.h"
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
constexpr UINT kSlotWriteFailedMessage = WM_APP + 1;
constexpr UINT kNotesMessage = WM_APP + 2;
// How long the save at a session's end waits for another program's lock.
constexpr int kSessionEndLockWaitMs = 1000;
constexpr UINT_PTR kWriteTimerId = 1;

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

  // The nine slots from the database, through the slot load list.
  store_ = std::make_unique<SlotStore>(dataFolder_);
  slotLoadList_ = store_->Load();
  for (int n = 1; n <= kSlotCount; ++n) txtClip(n).SetText(slotLoadList_[Slot(n)]);
  if (const SlotImport* imported = store_->Imported()) {
    // Told once the window shows the slots.
    TellLater(OldSlotsNote(*imported), imported->notTaken ? MB_ICONWARNING : MB_ICONINFORMATION);
  }
  // A save that cannot succeed is told now, not when the window closes. An
  // old file the folder would not let go of has just been told.
  if (!store_->HoldsOldFile()) {
    try {
      CheckSlotsWritable(dataFolder_);
    } catch (const forms::RuntimeError& e) {
      forms::App::Ask(forms::FormatRuntimeErrorText(e.number(), e.description()) +
                          L"\n\n程序照常运行，但槽可能无法保存到这个文件。",
                      MB_OK | MB_ICONWARNING);
    }
  }

  // From now on a changed slot is written within moments, off this thread.
  const HWND window = hwnd();
  writer_ = std::make_unique<SlotWriter>(*store_, [window] { PostMessageW(window, kSlotWriteFailedMessage, 0, 0); });

  // The skin, before the hotkey procedure so that messages run hotkeys,
  // skin, forms layer; it stands aside while the system's high contrast is on.
  skinner_ = std::make_unique<skin::clsSkinner>();
  highContrast_ = forms::HighContrastOn();
  if (!highContrast_) skinner_->AttachSkin(hwnd());
  ApplySlotColors();

  // The hotkeys: HotKeyWndProc goes in front of the procedure found (the
  // skin's once attached), then the eighteen keys are registered.
  mod_HotKey::InstallHotKeyWndProc(hwnd());
  const std::vector<int> heldHotKeys = mod_HotKey::RegisterSlotHotKeys();
  // Told once the window is up; the keys that were free work already.
  if (!heldHotKeys.empty()) TellLater(HeldHotKeysNote(heldHotKeys), MB_ICONWARNING);
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
  mod_HotKey::InstallHotKeyWndProc(hwnd());
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
  // The slots first: if saving fails, the settings file is not written. No
  // write of the writer runs beside the save or after it; the save writes
  // every text the writer had not written yet.
  StopSlotWrites();
  if (SessionEnding() ? SaveSlotsAtSessionEnd(CurrentTexts()) : SaveSlotsOrKeepThem(CurrentTexts())) {
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

SlotTexts FrmMain::CurrentTexts() const {
  SlotTexts texts;
  for (int n = 1; n <= kSlotCount; ++n) texts[Slot(n)] = txtClip_[Slot(n)]->Text();
  return texts;
}

bool FrmMain::SaveSlotsOrKeepThem(const SlotTexts& texts) {
  const auto text = [](const forms::RuntimeError& e) {
    return forms::FormatRuntimeErrorText(e.number(), e.description());
  };
  // Without a load there is nothing read to tell this program's changes
  // from another's: every slot counts as unchanged.
  if (!store_) store_ = std::make_unique<SlotStore>(dataFolder_);
  for (;;) {
    try {
      store_->Save(texts);
      return true;
    } catch (const forms::RuntimeError& e) {
      if (forms::App::Ask(text(e) + L"\n\n槽没有保存。要再试一次吗？", MB_RETRYCANCEL | MB_ICONERROR) ==
          IDRETRY)
        continue;
    }
    try {
      const std::wstring kept = KeepSlotsInTextFile(dataFolder_, texts);
      forms::App::Ask(L"槽没有保存到数据库，它们的文字已保存在文本文件中：\n\n" + kept,
                      MB_OK | MB_ICONINFORMATION);
      return false;
    } catch (const forms::RuntimeError& e) {
      if (forms::App::Ask(text(e) + L"\n\n槽的文字无处保存，关闭后将丢失。要再试一次吗？",
                          MB_RETRYCANCEL | MB_ICONERROR) != IDRETRY)
        return false;
    }
  }
}

bool FrmMain::SaveSlotsAtSessionEnd(const SlotTexts& texts) {
  try {
    if (!store_) store_ = std::make_unique<SlotStore>(dataFolder_);
    store_->Save(texts, kSessionEndLockWaitMs);
    return true;
  } catch (const forms::RuntimeError&) {
  }
  try {
    NoteKeptAtSessionEnd(dataFolder_, KeepSlotsInTextFile(dataFolder_, texts));
  } catch (const forms::RuntimeError&) {
    // Nowhere to keep them, and nobody to ask.
  }
  return false;
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
  NoteSlotChanged(index);
}

void FrmMain::NoteSlotChanged(int index) {
  if (!writer_) return;
  // Only noted here: a keystroke costs no copy of a long text. The text is
  // read once, when the box's changes pause.
  changed_[Slot(index)] = true;
  lastChange_ = GetTickCount64();
  if (writeTimer_) return;
  firstChange_ = lastChange_;
  writeTimer_ = SetTimer(hwnd(), kWriteTimerId, kWritePauseMs, &FrmMain::WriteTimerProc) != 0;
  if (!writeTimer_) HandChangedSlots();
}

void CALLBACK FrmMain::WriteTimerProc(HWND hwnd, UINT, UINT_PTR, DWORD) {
  FrmMain* form = FromHandle(hwnd);
  if (!form) {
    KillTimer(hwnd, kWriteTimerId);
    return;
  }
  forms::RunGuarded([form] { form->OnWriteTimer(); });
}

void FrmMain::OnWriteTimer() {
  const ULONGLONG now = GetTickCount64();
  const ULONGLONG pauseEnds = lastChange_ + kWritePauseMs;
  const ULONGLONG latest = firstChange_ + kWriteLatestMs;
  if (now < pauseEnds && now < latest) {
    // Still typing: wait for the pause, but not past the latest time.
    const ULONGLONG wait = std::min(pauseEnds, latest) - now;
    if (SetTimer(hwnd(), kWriteTimerId, static_cast<UINT>(wait), &FrmMain::WriteTimerProc)) return;
  }
  KillTimer(hwnd(), kWriteTimerId);
  writeTimer_ = false;
  HandChangedSlots();
}

void FrmMain::HandChangedSlots() {
  for (int n = 1; n <= kSlotCount; ++n) {
    if (!changed_[Slot(n)]) continue;
    changed_[Slot(n)] = false;
    if (writer_) writer_->Hand(n, txtClip(n).Text());
  }
}

void FrmMain::StopSlotWrites() {
  if (writeTimer_) KillTimer(hwnd(), kWriteTimerId);
  writeTimer_ = false;
  changed_.fill(false);
  if (writer_) writer_->Stop();
  writer_.reset();
}

void FrmMain::ReportSlotWriteFailure() {
  const std::optional<forms::RuntimeError> failure = writer_ ? writer_->LastFailure() : std::nullopt;
  if (!failure) return;
  std::wstring text = forms::FormatRuntimeErrorText(failure->number(), failure->description()) +
                      L"\n\n槽暂时没有保存到数据库，程序会稍后再试，关闭时也会再试。";
  try {
    const std::wstring kept = KeepSlotsInTextFile(dataFolder_, CurrentTexts());
    text += L"\n在此之前，槽的文字已保存在文本文件中：\n\n" + kept;
  } catch (const forms::RuntimeError& e) {
    text += L"\n槽的文字也无法保存到文本文件：" + e.description();
  }
  forms::App::Ask(text, MB_OK | MB_ICONWARNING);
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
  } else if (message == kSlotWriteFailedMessage) {
    forms::RunGuarded([this] { ReportSlotWriteFailure(); });
    return 0;
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
