#include "app/paste_clipboard.h"

#include <algorithm>
#include <utility>

#include "forms/clipboard.h"
#include "forms/keystroke_sender.h"

namespace app {
namespace {

constexpr UINT kPasteOver = WM_APP + 1;
constexpr UINT kReleased = WM_APP + 2;

enum TimerId : UINT_PTR { kOpenTimer = 1, kWatchTimer, kUntakenTimer, kGraceTimer, kEmptyTimer };

// Spacing of the attempts to open a clipboard that others hold open.
constexpr UINT kRetryMs = 10;

class ClipboardCloser {
 public:
  ~ClipboardCloser() { CloseClipboard(); }
};

DWORD ProcessOf(HWND hwnd) {
  DWORD process = 0;
  if (hwnd) GetWindowThreadProcessId(hwnd, &process);
  return process;
}

// A registered format holding one DWORD, as clipboard monitors read them.
void PutFlag(const wchar_t* name, DWORD value) {
  const UINT format = RegisterClipboardFormatW(name);
  HGLOBAL block = format ? forms::Clipboard::NewBlock(&value, sizeof value) : nullptr;
  if (block && !SetClipboardData(format, block)) GlobalFree(block);
}

}  // namespace

PasteClipboard::PasteClipboard(Timing timing, Keystroke keystroke)
    : timing_(timing),
      keystroke_(keystroke ? std::move(keystroke) : Keystroke([] { forms::SendCtrlKey('V'); })),
      window_([this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return HandleMessage(message, wParam, lParam, result);
      }) {}

PasteClipboard::~PasteClipboard() {
  const HWND owner = window_.hwnd();
  if (!owner) return;
  for (UINT_PTR id : {kOpenTimer, kWatchTimer, kUntakenTimer, kGraceTimer, kEmptyTimer}) KillTimer(owner, id);
  done_ = nullptr;
  released_ = nullptr;
  // An offer still on the clipboard goes with its owner: the clipboard ends empty.
  if (offered_ && OpenClipboard(owner)) {
    ClipboardCloser closer;
    if (GetClipboardOwner() == owner) EmptyClipboard();
  }
}

void PasteClipboard::Paste(std::wstring text, HWND target, Done done) {
  // The new offer replaces what is left of the last one.
  for (UINT_PTR id : {kGraceTimer, kEmptyTimer}) KillTimer(window_.hwnd(), id);
  emptying_ = false;
  text_ = std::move(text);
  target_ = target;
  done_ = std::move(done);
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
      EndPaste();
    } else {
      SetTimer(owner, kOpenTimer, kRetryMs, nullptr);
    }
    return;
  }
  KillTimer(owner, kOpenTimer);
  {
    ClipboardCloser closer;
    // Emptying ends an earlier offer of ours (its WM_DESTROYCLIPBOARD comes now).
    offering_ = true;
    EmptyClipboard();
    offering_ = false;
    SetClipboardData(CF_UNICODETEXT, nullptr);
    MarkPrivate();
  }
  offered_ = true;
  phase_ = Phase::Readers;
  offeredAt_ = lastSeenOpen_ = GetTickCount();
  wasOpen_ = false;
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
  targetProcess_ = ProcessOf(active);
  phase_ = Phase::Sent;
  SetTimer(owner, kUntakenTimer, timing_.untakenMs, nullptr);
  keystroke_();
}

bool PasteClipboard::IsTargetReading() const {
  // A reader that opened the clipboard without a window cannot be told apart.
  const HWND opener = GetOpenClipboardWindow();
  return !opener || !targetProcess_ || ProcessOf(opener) == targetProcess_;
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
    KillTimer(window_.hwnd(), kUntakenTimer);
    SetTimer(window_.hwnd(), kGraceTimer, timing_.graceMs, nullptr);
    // The next action starts once the target's read is over.
    PostMessageW(window_.hwnd(), kPasteOver, 0, 0);
  }
}

void PasteClipboard::Render() {
  // The reader holds the clipboard open; the data goes straight in.
  HGLOBAL block = forms::Clipboard::NewTextBlock(text_);
  if (block && !SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
}

void PasteClipboard::EndPaste() {
  // Not pasted: the offer, if any, goes at once.
  phase_ = Phase::Idle;
  StartEmptying();
  PostMessageW(window_.hwnd(), kPasteOver, 0, 0);
}

void PasteClipboard::Release(Done then) {
  KillTimer(window_.hwnd(), kGraceTimer);
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
    ClipboardCloser closer;
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
  const HWND owner = window_.hwnd();
  KillTimer(owner, kGraceTimer);
  if (phase_ == Phase::Opening || phase_ == Phase::Idle) return;
  if (phase_ == Phase::Readers || phase_ == Phase::Sent) {
    for (UINT_PTR id : {kWatchTimer, kUntakenTimer}) KillTimer(owner, id);
    PostMessageW(owner, kPasteOver, 0, 0);
  }
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
      switch (wParam) {
        case kOpenTimer:
          TryOffer();
          break;
        case kWatchTimer:
          if (phase_ == Phase::Readers) WatchReaders();
          else KillTimer(window_.hwnd(), kWatchTimer);
          break;
        case kUntakenTimer:
          KillTimer(window_.hwnd(), kUntakenTimer);
          if (phase_ == Phase::Sent) EndPaste();
          break;
        case kGraceTimer:
          KillTimer(window_.hwnd(), kGraceTimer);
          StartEmptying();
          break;
        case kEmptyTimer:
          KillTimer(window_.hwnd(), kEmptyTimer);
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
