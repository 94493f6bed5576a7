#pragma once
// The main window: nine slots, each a number label, a text box holding the
// slot's text, an assign button (fills the slot from the clipboard) and a
// clear button; the hidden tray picture box.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/clipboard/clipboard_actions.h"
#include "app/slots/slot_keeper.h"
#include "forms/command_button.h"
#include "forms/form.h"
#include "forms/label.h"
#include "forms/notice_popup.h"
#include "forms/picture_box.h"
#include "forms/text_box.h"
#include "skin/clsSkinner.h"

namespace app {

class FrmMain : public forms::Form, public SlotHost {
 public:
  static constexpr int kSlotCount = 9;
  static constexpr double kMinWidth = 3750;   // twips
  static constexpr double kMinHeight = 4425;  // twips

  // Control ids: label 10+n, text box 20+n, assign 30+n, clear 40+n (n = 1..9).
  static constexpr int LabelId(int n) { return 10 + n; }
  static constexpr int TextBoxId(int n) { return 20 + n; }
  static constexpr int GetButtonId(int n) { return 30 + n; }
  static constexpr int ClearButtonId(int n) { return 40 + n; }
  static constexpr int kTrayPictureId = 50;

  FrmMain();
  ~FrmMain() override;

  // The FrmMain whose window this is, or null.
  static FrmMain* FromHandle(HWND hwnd);

  // Controls by slot index 1..9.
  forms::Label& lblNumber(int index) { return *lblNumber_.at(Slot(index)); }
  forms::TextBox& txtClip(int index) { return *txtClip_.at(Slot(index)); }
  forms::CommandButton& cmdGet(int index) { return *cmdGet_.at(Slot(index)); }
  forms::CommandButton& cmdClear(int index) { return *cmdClear_.at(Slot(index)); }
  forms::PictureBox& picTray() { return *picTray_; }

  bool InTray() const { return inTray_; }
  // Shows the tray icon (InTray True); when no icon can be shown, the window
  // is made visible again instead.
  void AddTray();
  // Removes the tray icon (InTray False).
  void DelTray();

  // Where data.mdb and Config.ini live (from start-up on).
  const std::wstring& DataFolder() const { return dataFolder_; }
  // Shows the window, out of the notification area too, and brings it to
  // the front (a second start of the program asks for this).
  void BringBack();

  // Storing the clipboard's text in slots and pasting slots, in order.
  ClipboardActions& Actions() { return *actions_; }
  // The clipboard side of pasting a slot with Ctrl+digit.
  PasteClipboard& Paste() { return actions_->paste(); }

  // A note shown without a modal box (a paste that could not be sent).
  const forms::NoticePopup& Notice() const { return notice_; }

  // The slots as the clipboard actions see them, and what they tell.
  std::wstring SlotText(int slot) override { return txtClip(slot).Text(); }
  void SetSlotText(int slot, const std::wstring& text) override { txtClip(slot).SetText(text); }
  void Tell(ActionNotice notice, int slot) override;

  // Writes changed slots to data.mdb while the program runs (from start-up
  // to shut-down; null otherwise).
  SlotWriter* Writer() { return keeper_ ? keeper_->Writer() : nullptr; }
  // True while a changed slot waits for its box's typing pause.
  bool SlotWritesWaiting() const { return keeper_ && keeper_->WritesWaiting(); }

  void Form_Load();
  void Form_Resize();
  void Form_Unload();
  void cmdGet_Click(int index);
  void cmdClear_Click(int index);
  void txtClip_Change(int index);
  void txtClip_GotFocus(int index);
  void picTray_MouseMove(int button, int shift, double x, double y);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static size_t Slot(int index);
  // Posted notes, each told once when the window shows.
  void TellLater(std::wstring note, UINT icon);
  void TellNotes();
  void CreateControls();
  // The skin and the slots' colours follow the system's high-contrast setting.
  void ApplySlotColors();
  void FollowHighContrast();
  // Alt+digit (store) and Ctrl+digit (paste), in turn with the buttons.
  void OnSlotKey(int group, int slot);


  std::array<std::unique_ptr<forms::Label>, kSlotCount> lblNumber_;
  std::array<std::unique_ptr<forms::TextBox>, kSlotCount> txtClip_;
  std::array<std::unique_ptr<forms::CommandButton>, kSlotCount> cmdGet_;
  std::array<std::unique_ptr<forms::CommandButton>, kSlotCount> cmdClear_;
  std::unique_ptr<forms::PictureBox> picTray_;
  std::unique_ptr<ClipboardActions> actions_;
  SlotTexts slotLoadList_;  // filled at start-up, copied into the text boxes
  std::unique_ptr<SlotKeeper> keeper_;  // from start-up on
  std::wstring dataFolder_;  // the application folder until start-up chooses
  std::vector<std::pair<std::wstring, UINT>> notes_;  // told once the window shows
  bool tellingNotes_ = false;
  std::unique_ptr<skin::clsSkinner> skinner_;  // from start-up to shut-down
  forms::NoticePopup notice_;
  bool telling_ = false;  // a message box about an action is up
  HICON icon_ = nullptr, largeIcon_ = nullptr;
  bool trayTold_ = false;
  bool highContrast_ = false;  // the skin stands aside  // the first trip to the tray said where the window went
  bool inTray_ = false;
};

}  // namespace app
