#pragma once
// The slot actions that go through the clipboard: storing its text in a slot
// (Alt+digit, the assign button) and pasting a slot into the active window
// (Ctrl+digit). They run one at a time, in the order they were asked for,
// each waiting for the clipboard without making the window wait: a slow
// clipboard owner, a reader holding the clipboard open or a paste target
// still reading delays the actions behind it, never the window.
#include <windows.h>

#include <deque>
#include <string>

#include "app/clipboard/clipboard_text_reader.h"
#include "app/clipboard/paste_clipboard.h"

namespace app {

// What the user is told about an action.
enum class ActionNotice {
  OwnerNoAnswer,  // the clipboard's owner did not hand its text over: the slot stays
  Elevated,       // the target runs as administrator: the text waits for the user's Ctrl+V
  PasteBusy,      // another program held the clipboard open: nothing was pasted
  StoreBusy,      // another program held the clipboard open: the slot stays
};

// The slots the actions read and fill, and the user they tell; the window
// that holds the slots supplies it.
class SlotHost {
 public:
  virtual ~SlotHost() = default;
  virtual std::wstring SlotText(int slot) = 0;
  virtual void SetSlotText(int slot, const std::wstring& text) = 0;
  virtual void Tell(ActionNotice notice, int slot) = 0;
};

class ClipboardActions {
 public:
  // Actions asked for beyond this many waiting ones are dropped.
  static constexpr size_t kMaxWaiting = 32;

  explicit ClipboardActions(SlotHost& host, PasteClipboard::Timing pasteTiming = PasteTiming(),
                            ReadTiming readTiming = ReadTiming(), PasteClipboard::AccessCheck access = nullptr);

  // The slot becomes the clipboard's text (empty when it holds none).
  void Store(int slot);
  // The same from the assign button: the slot is emptied, then given the text.
  void Assign(int slot);
  // The slot's text, as it is when the action's turn comes, is pasted into
  // the window active now.
  void Paste(int slot);

  // Nothing waiting or running, and no text of ours left on the clipboard.
  bool Idle() const { return !running_ && waiting_.empty() && !paste_.Pending(); }
  PasteClipboard& paste() { return paste_; }

 private:
  enum class Kind { Store, Assign, Paste };
  struct Action {
    Kind kind;
    int slot;
    HWND target;
  };

  void Add(const Action& action);
  void RunNext();
  void Run(const Action& action);
  void TakeText(const Action& action, const ClipboardRead& read);
  void Over();

  SlotHost& host_;
  std::deque<Action> waiting_;
  bool running_ = false;
  int pastingSlot_ = 0;
  PasteClipboard paste_;
  ClipboardTextReader reader_;
};

}  // namespace app
