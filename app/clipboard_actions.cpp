#include "app/clipboard_actions.h"

#include <string>

#include "app/frm_main.h"
#include "forms/app.h"

namespace app {

ClipboardActions::ClipboardActions(FrmMain& form, PasteTiming pasteTiming, ReadTiming readTiming)
    : form_(form), answerMs_(readTiming.answerMs), paste_(pasteTiming), reader_(readTiming) {}

void ClipboardActions::Store(int slot) { Add({Kind::Store, slot, nullptr}); }
void ClipboardActions::Assign(int slot) { Add({Kind::Assign, slot, nullptr}); }
void ClipboardActions::Paste(int slot) { Add({Kind::Paste, slot, GetForegroundWindow()}); }

void ClipboardActions::Add(const Action& action) {
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
    paste_.Paste(form_.txtClip(action.slot).Text(), action.target, [this] { Over(); });
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
      if (action.kind == Kind::Assign) form_.txtClip(action.slot).SetText(L"");
      form_.txtClip(action.slot).SetText(read.text);
      break;
    case ClipboardRead::Outcome::NoAnswer:
      // The actions behind it go on while the message is shown; one
      // message at a time.
      RunNext();
      if (telling_) break;
      telling_ = true;
      forms::App::Ask(L"剪贴板上的文字属于一个没有响应的程序，它在 " + std::to_wstring(answerMs_ / 1000) +
                          L" 秒内没有交出文字。\n\n槽 " + std::to_wstring(action.slot) + L" 保持原样。",
                      MB_OK | MB_ICONWARNING);
      telling_ = false;
      break;
    case ClipboardRead::Outcome::Busy:
    case ClipboardRead::Outcome::Unreadable:
      // Held open by another program, or announced text never handed over:
      // the slot stays as it was.
      break;
  }
}

void ClipboardActions::Over() {
  running_ = false;
  RunNext();
}

}  // namespace app
