#include "app/clipboard/clipboard_actions.h"

namespace app {

ClipboardActions::ClipboardActions(SlotHost& host, PasteClipboard::Timing pasteTiming, ReadTiming readTiming,
                                   PasteClipboard::AccessCheck access)
    : host_(host),
      paste_(pasteTiming, nullptr, std::move(access),
             [this](PasteNotice notice) {
               host_.Tell(notice == PasteNotice::Elevated ? ActionNotice::Elevated : ActionNotice::PasteBusy,
                          pastingSlot_);
             }),
      reader_(readTiming) {}

void ClipboardActions::Store(int slot) { Add({Kind::Store, slot, nullptr}); }
void ClipboardActions::Assign(int slot) { Add({Kind::Assign, slot, nullptr}); }
void ClipboardActions::Paste(int slot) { Add({Kind::Paste, slot, GetForegroundWindow()}); }

void ClipboardActions::Add(const Action& action) {
  // A key held down would otherwise queue pastes faster than they go out.
  if (waiting_.size() >= kMaxWaiting) return;
  waiting_.push_back(action);
  if (!running_) RunNext();
}

void ClipboardActions::RunNext() {
  if (running_ || waiting_.empty()) return;
  const Action action = waiting_.front();
  waiting_.pop_front();
  running_ = true;
  if (action.kind == Kind::Paste) {
    // A new offer replaces what is left of the last paste.
    Run(action);
  } else {
    // The text of a paste is gone before the clipboard is read again.
    paste_.Release([this, action] { Run(action); });
  }
}

void ClipboardActions::Run(const Action& action) {
  if (action.kind == Kind::Paste) {
    pastingSlot_ = action.slot;
    paste_.Paste(host_.SlotText(action.slot), action.target, [this] { Over(); });
  } else {
    reader_.Read([this, action](ClipboardRead read) {
      running_ = false;
      TakeText(action, read);
      RunNext();
    });
  }
}

void ClipboardActions::TakeText(const Action& action, const ClipboardRead& read) {
  switch (read.outcome) {
    case ClipboardRead::Outcome::Text:
      if (action.kind == Kind::Assign) host_.SetSlotText(action.slot, L"");
      host_.SetSlotText(action.slot, read.text);
      break;
    case ClipboardRead::Outcome::NoAnswer:
      // The actions behind it go on while the user is told.
      RunNext();
      host_.Tell(ActionNotice::OwnerNoAnswer, action.slot);
      break;
    case ClipboardRead::Outcome::Busy:
      RunNext();
      host_.Tell(ActionNotice::StoreBusy, action.slot);
      break;
    case ClipboardRead::Outcome::Unreadable:
      // Announced text never handed over: the slot stays as it was.
      break;
  }
}

void ClipboardActions::Over() {
  running_ = false;
  RunNext();
}

}  // namespace app
