#include "app/clipboard/paste_clipboard.h"

#include <algorithm>
#include <utility>

#include "forms/clipboard.h"
#include "forms/keystroke_sender.h"

namespace app {
namespace {

constexpr UINT kPasteOver = WM_APP + 1;
constexpr UINT kReleased = WM_APP + 2;

enum TimerId : UINT_PTR { kOpenTimer = 1, kWatchTimer, kQueueTimer, kKeepTimer, kGraceTimer, kEmptyTimer };

// Spacing of the attempts to open a clipboard that others hold open.
constexpr UINT kRetryMs = 10;

// A registered format holding one DWORD, as clipboard monitors read them.
void PutFlag(const wchar_t* name, DWORD value) {
  const UINT format = RegisterClipboardFormatW(name);
  HGLOBAL block = format ? forms::Clipboard::NewBlock(&value, sizeof value) : nullptr;
  if (block && !SetClipboardData(format, block)) GlobalFree(block);
}

bool Contains(const std::vector<DWORD>& processes, DWORD process) {
  return std::find(processes.begin(), processes.end(), process) != processes.end();
}

}  // namespace

PasteClipboard::PasteClipboard(Timing timing, Keystroke keystroke, AccessCheck access, Notify notify)
    : timing_(timing),
      keystroke_(keystroke ? std::move(keystroke) : Keystroke([] { forms::SendCtrlKey('V'); })),
      access_(access ? std::move(access) : AccessCheck(&AccessOf)),
      notify_(std::move(notify)),
      window_([this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return HandleMessage(message, wParam, lParam, result);
      }) {}

PasteClipboard::~PasteClipboard() {
  const HWND owner = window_.hwnd();
  if (!owner) return;
  StopTimers();
  KillTimer(owner, kEmptyTimer);
  done_ = nullptr;
  released_ = nullptr;
  // An offer still on the clipboard goes with its owner: the clipboard ends empty.
  if (offered_ && OpenClipboard(owner)) {
    forms::ClipboardCloser closer;
    if (GetClipboardOwner() == owner) EmptyClipboard();
  }
}

void PasteClipboard::StopTimers() {
  for (UINT_PTR id : {kOpenTimer, kWatchTimer, kQueueTimer, kKeepTimer, kGraceTimer}) KillTimer(window_.hwnd(), id);
}

void PasteClipboard::Paste(std::wstring text, HWND target, Done done) {
  // The new offer replaces what is left of the last one.
  StopTimers();
  KillTimer(window_.hwnd(), kEmptyTimer);
  emptying_ = false;
  text_ = std::move(text);
  target_ = target;
  done_ = std::move(done);
  readingWindow_ = nullptr;
  targetProcesses_.clear();
  // Asked before the offer: an elevated target leaves the text for the user.
  elevated_ = target && access_(target) == TargetAccess::Elevated;
  phase_ = Phase::Opening;
  openingSince_ = GetTickCount();
  TryOffer();
}

void PasteClipboard::TryOffer() {
  const HWND owner = window_.hwnd();
  if (!owner || !OpenClipboard(owner)) {
    if (!owner || GetTickCount() - openingSince_ >= timing_.openTimeoutMs) {
      // Held open by another program all along: the clipboard is left as it was.
      KillTimer(owner, kOpenTimer);
      Tell(PasteNotice::ClipboardBusy);
      EndPaste();
    } else {
      SetTimer(owner, kOpenTimer, kRetryMs, nullptr);
    }
    return;
  }
  KillTimer(owner, kOpenTimer);
  {
    forms::ClipboardCloser closer;
    // Emptying ends an earlier offer of ours (its WM_DESTROYCLIPBOARD comes now).
    offering_ = true;
    EmptyClipboard();
    offering_ = false;
    SetClipboardData(CF_UNICODETEXT, nullptr);
    MarkPrivate();
  }
  offered_ = true;
  offeredAt_ = lastSeenOpen_ = GetTickCount();
  wasOpen_ = false;
  if (elevated_) {
    // No keystroke: the user's own Ctrl+V reaches that window. The next
    // action need not wait for it.
    AwaitTargetRead(target_);
    Tell(PasteNotice::Elevated);
    PasteOver();
    return;
  }
  phase_ = Phase::Readers;
  SetTimer(owner, kWatchTimer, timing_.pollMs, nullptr);
}

void PasteClipboard::MarkPrivate() {
  // Clipboard monitors skip an offer that carries the first two formats; the
  // clipboard history and the cloud clipboard keep none whose flag holds 0.
  PutFlag(L"ExcludeClipboardContentFromMonitorProcessing", 0);
  PutFlag(L"Clipboard Viewer Ignore", 0);
  PutFlag(L"CanIncludeInClipboardHistory", 0);
  PutFlag(L"CanUploadToCloudClipboard", 0);
}

void PasteClipboard::WatchReaders() {
  const bool open = GetOpenClipboardWindow() != nullptr;
  if (open) ReaderSeen(!wasOpen_);
  wasOpen_ = open;
  const DWORD now = GetTickCount(), quietMs = QuietMs();
  const bool quiet = now - offeredAt_ >= quietMs && now - lastSeenOpen_ >= quietMs;
  if (quiet || now - offeredAt_ >= timing_.readersMaxMs) SendKeystroke();
}

void PasteClipboard::ReaderSeen(bool arriving) {
  lastSeenOpen_ = GetTickCount();
  // How long a reader took to come, not how long it stayed, is what the
  // next paste learns from.
  if (!arriving) return;
  const DWORD late = lastSeenOpen_ - offeredAt_;
  if (late > slowestReaderMs_ && late < timing_.readersMaxMs) slowestReaderMs_ = late;
}

DWORD PasteClipboard::QuietMs() const {
  return std::max(timing_.quietMs, std::min(2 * slowestReaderMs_, timing_.quietMaxMs));
}

void PasteClipboard::SendKeystroke() {
  const HWND owner = window_.hwnd();
  KillTimer(owner, kWatchTimer);
  const HWND active = GetForegroundWindow();
  if (target_ && active != target_) {
    // The user has gone to another window meanwhile: the text is not pasted there.
    EndPaste();
    return;
  }
  if (!target_ && active && access_(active) == TargetAccess::Elevated) {
    elevated_ = true;
    AwaitTargetRead(active);
    Tell(PasteNotice::Elevated);
    PasteOver();
    return;
  }
  AwaitTargetRead(active);
  SetTimer(owner, kQueueTimer, timing_.untakenMs, nullptr);
  keystroke_();
}

void PasteClipboard::AwaitTargetRead(HWND window) {
  readingWindow_ = window;
  targetProcesses_ = TargetProcesses(window);
  phase_ = Phase::Sent;
  sentAt_ = GetTickCount();
  // The user's own Ctrl+V may come whenever: an elevated target keeps the
  // text until the next action.
  if (!elevated_) SetTimer(window_.hwnd(), kKeepTimer, timing_.activePollMs, nullptr);
}

void PasteClipboard::WatchTarget() {
  if (GetTickCount() - sentAt_ >= timing_.keepMs) {
    EndPaste();
    return;
  }
  // Gone to another window (not one the target owns, such as its dialog):
  // that window's paste must not get the text, and the target will not ask.
  const HWND active = GetForegroundWindow();
  if (active && active != readingWindow_ && GetAncestor(active, GA_ROOTOWNER) != readingWindow_) EndPaste();
}

bool PasteClipboard::IsTargetReading() const {
  // A reader that opened the clipboard without a window cannot be told apart.
  const HWND opener = GetOpenClipboardWindow();
  return !opener || targetProcesses_.empty() || Contains(targetProcesses_, ProcessOf(opener));
}

void PasteClipboard::OnRenderRequest() {
  if (phase_ == Phase::Readers || (phase_ == Phase::Sent && !IsTargetReading())) {
    // A reader of every change: it gets nothing, and the text stays for the
    // target. One that comes after the keystroke teaches the next paste to
    // wait longer.
    ReaderSeen(true);
    ++refusedReads_;
    return;
  }
  if (phase_ != Phase::Sent && phase_ != Phase::Taken) return;
  Render();
  if (phase_ == Phase::Sent) {
    phase_ = Phase::Taken;
    for (UINT_PTR id : {kQueueTimer, kKeepTimer}) KillTimer(window_.hwnd(), id);
    SetTimer(window_.hwnd(), kGraceTimer, timing_.graceMs, nullptr);
    // The next action starts once the target's read is over.
    PasteOver();
  }
}

void PasteClipboard::Render() {
  // The reader holds the clipboard open; the data goes straight in.
  HGLOBAL block = forms::Clipboard::NewTextBlock(text_);
  if (block && !SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
}

void PasteClipboard::Tell(PasteNotice notice) {
  if (notify_) notify_(notice);
}

void PasteClipboard::PasteOver() { PostMessageW(window_.hwnd(), kPasteOver, 0, 0); }

void PasteClipboard::EndPaste() {
  // Not pasted: the offer, if any, goes at once.
  phase_ = Phase::Idle;
  StopTimers();
  StartEmptying();
  PasteOver();
}

void PasteClipboard::Release(Done then) {
  StopTimers();
  if (phase_ == Phase::Sent || phase_ == Phase::Taken) phase_ = Phase::Idle;
  if (!offered_ && !emptying_) {
    // Nothing of ours on the clipboard.
    then();
    return;
  }
  released_ = std::move(then);
  if (!emptying_) StartEmptying();
}

void PasteClipboard::StartEmptying() {
  if (emptying_) return;
  emptying_ = true;
  emptyingSince_ = GetTickCount();
  TryEmpty();
}

void PasteClipboard::TryEmpty() {
  const HWND owner = window_.hwnd();
  if (!offered_) {
    EmptyingOver();
    return;
  }
  if (OpenClipboard(owner)) {
    forms::ClipboardCloser closer;
    // Data another program put there since is left alone.
    if (GetClipboardOwner() == owner) EmptyClipboard();
    offered_ = false;
    EmptyingOver();
    return;
  }
  if (GetTickCount() - emptyingSince_ >= timing_.emptyTimeoutMs) {
    // Held open by someone else all along: give up rather than spin.
    EmptyingOver();
    return;
  }
  // The target is usually still inside its paste: try after it has closed.
  SetTimer(owner, kEmptyTimer, kRetryMs, nullptr);
}

void PasteClipboard::EmptyingOver() {
  KillTimer(window_.hwnd(), kEmptyTimer);
  emptying_ = false;
  if (phase_ == Phase::Taken) phase_ = Phase::Idle;
  if (released_) PostMessageW(window_.hwnd(), kReleased, 0, 0);
}

void PasteClipboard::OnClipboardDestroyed() {
  offered_ = false;
  if (offering_) return;  // our own new offer replaces the old one
  // Emptied by another program: the text is gone, and so is the paste.
  const bool waiting = phase_ == Phase::Readers || phase_ == Phase::Sent;
  if (phase_ == Phase::Opening || phase_ == Phase::Idle) return;
  StopTimers();
  if (waiting) PasteOver();
  phase_ = Phase::Idle;
}

bool PasteClipboard::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_RENDERFORMAT:
      if (wParam == CF_UNICODETEXT) OnRenderRequest();
      return true;
    case WM_RENDERALLFORMATS:
      // The owner is going away with the text not taken: let it vanish.
      return true;
    case WM_DESTROYCLIPBOARD:
      OnClipboardDestroyed();
      return true;
    case kPasteOver:
      if (Done done = std::move(done_)) {
        done_ = nullptr;
        done();
      }
      return true;
    case kReleased:
      if (!emptying_) {
        if (Done then = std::move(released_)) {
          released_ = nullptr;
          then();
        }
      }
      return true;
    case WM_TIMER:
      // The watches repeat; every other timer fires once.
      if (wParam != kWatchTimer && wParam != kKeepTimer) KillTimer(window_.hwnd(), wParam);
      switch (wParam) {
        case kOpenTimer:
          TryOffer();
          break;
        case kWatchTimer:
          if (phase_ == Phase::Readers) WatchReaders();
          else KillTimer(window_.hwnd(), kWatchTimer);
          break;
        case kQueueTimer:
          // The target is slow to read: the next action may go, the text stays.
          if (phase_ == Phase::Sent) PasteOver();
          break;
        case kKeepTimer:
          if (phase_ == Phase::Sent) WatchTarget();
          else KillTimer(window_.hwnd(), kKeepTimer);
          break;
        case kGraceTimer:
          StartEmptying();
          break;
        case kEmptyTimer:
          TryEmpty();
          break;
        default:
          break;
      }
      return true;
    default:
      return false;
  }
}

}  // namespace app
