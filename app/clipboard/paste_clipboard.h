#pragma once
// The clipboard side of pasting a text into another window with Ctrl+V.
//
// Many programs read the clipboard the moment it changes (clipboard history,
// managers, dictionaries, remote-desktop bridges). While one of them holds the
// clipboard open, the paste target cannot open it, and its paste delivers
// nothing. So a paste runs in turns:
//  1. the text is offered by delayed rendering, marked so that clipboard
//     monitors and the clipboard history leave it alone;
//  2. the readers get their turn first: the keystroke waits until nobody has
//     held the clipboard open for a quiet time. Their requests for the text
//     are not answered, so that the text stays unrendered;
//  3. Ctrl+V goes to the target window, and the text is rendered for the
//     target's own read: a request from the process of the target window or
//     of any window inside it (a Store app's frame, a WebView2 host), which
//     tells that the paste has happened;
//  4. the clipboard is emptied a grace time after that read, or at once when
//     the next clipboard action needs it. A slow target (a remote desktop,
//     a busy program) keeps the text until it reads, the user goes to
//     another window, or a longer while has passed; the next action need not
//     wait that long. Data another program put there meanwhile is left alone.
// A target whose process stands higher than this one (run as administrator)
// never sees injected keys: it gets no keystroke, the text is left for the
// user's own Ctrl+V, and the user is told. So is a paste that finds the
// clipboard held by another program all along.
// A message-only window of its own is the clipboard owner; render requests,
// timers and the notifications of finished steps arrive there.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/clipboard/paste_target.h"
#include "forms/message_window.h"

namespace app {

// The waits of a paste.
struct PasteTiming {
  // Spacing of the looks at the clipboard while the readers have their turn.
  UINT pollMs = 5;
  // The readers' turn ends once nobody has held the clipboard open for this
  // long, counted from the offer at the earliest; a reader that a system
  // timer tick (15.6 ms) delays still comes within it. Where readers have
  // been seen to come later, it grows to twice the slowest one, up to
  // quietMaxMs...
  DWORD quietMs = 30;
  DWORD quietMaxMs = 250;
  // ...and after this long at the latest.
  DWORD readersMaxMs = 1000;
  // A clipboard held open by others this long: nothing is pasted. (A paste
  // target may hold it a long while when the machine is busy.)
  DWORD openTimeoutMs = 5000;
  // How long the next action waits for the target to read after the keystroke.
  UINT untakenMs = 1500;
  // How long a text the target has not read stays on the clipboard, and how
  // often it is checked meanwhile that the target is still the active window.
  UINT keepMs = 10000;
  UINT activePollMs = 50;
  // How long the text stays on the clipboard after the target read it.
  UINT graceMs = 1500;
  // How long emptying tries while others hold the clipboard open.
  DWORD emptyTimeoutMs = 5000;
};

// What a paste tells the user.
enum class PasteNotice {
  Elevated,       // no keystroke reaches the target: the text waits for the user's Ctrl+V
  ClipboardBusy,  // another program held the clipboard open: nothing was pasted
};

class PasteClipboard {
 public:
  using Timing = PasteTiming;
  using Keystroke = std::function<void()>;
  using AccessCheck = std::function<TargetAccess(HWND)>;
  using Notify = std::function<void(PasteNotice)>;
  using Done = std::function<void()>;

  // keystroke sends the paste key to the active window (Ctrl+V by default);
  // access tells whether keystrokes reach a window (AccessOf by default);
  // notify tells the user what became of a paste.
  explicit PasteClipboard(Timing timing = Timing(), Keystroke keystroke = nullptr, AccessCheck access = nullptr,
                          Notify notify = nullptr);
  ~PasteClipboard();
  PasteClipboard(const PasteClipboard&) = delete;
  PasteClipboard& operator=(const PasteClipboard&) = delete;

  void SetNotify(Notify notify) { notify_ = std::move(notify); }

  // Pastes the text into target, the window that was active when the paste
  // was asked for (null: whichever window is active); when another window is
  // active by the time the keystroke would go out, nothing is sent. done runs
  // once the target has read the text, the paste was given up, or the next
  // action may go. One paste at a time; a new one replaces what is left of
  // the last.
  void Paste(std::wstring text, HWND target, Done done);
  // Empties the clipboard now if it still holds our text (no grace time),
  // then runs then.
  void Release(Done then);

  // True from the offer until the clipboard no longer holds our text.
  bool Pending() const { return offered_; }
  // True once the target has read the text of the current paste.
  bool Taken() const { return phase_ == Phase::Taken; }
  // Requests for the text that were not answered (readers before the
  // keystroke, other programs after it).
  int RefusedReads() const { return refusedReads_; }
  // The processes whose reads are the target's, from the keystroke (or the
  // offer, for an elevated target) on.
  const std::vector<DWORD>& TargetReaders() const { return targetProcesses_; }
  HWND Owner() const { return window_.hwnd(); }
  // How long the clipboard must stay unused before a paste's keystroke.
  DWORD QuietMs() const;

 private:
  enum class Phase { Idle, Opening, Readers, Sent, Taken };

  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void TryOffer();
  void MarkPrivate();
  void WatchReaders();
  void ReaderSeen(bool arriving);
  void SendKeystroke();
  void AwaitTargetRead(HWND window);
  void WatchTarget();
  void OnRenderRequest();
  bool IsTargetReading() const;
  void Render();
  void Tell(PasteNotice notice);
  void PasteOver();
  void EndPaste();
  void StopTimers();
  void StartEmptying();
  void TryEmpty();
  void EmptyingOver();
  void OnClipboardDestroyed();

  Timing timing_;
  Keystroke keystroke_;
  AccessCheck access_;
  Notify notify_;
  Phase phase_ = Phase::Idle;
  std::wstring text_;
  HWND target_ = nullptr;
  HWND readingWindow_ = nullptr;  // the window whose read is awaited
  bool elevated_ = false;
  std::vector<DWORD> targetProcesses_;
  Done done_;
  Done released_;
  bool offered_ = false;
  bool offering_ = false;
  bool emptying_ = false;
  bool wasOpen_ = false;
  DWORD openingSince_ = 0;
  DWORD offeredAt_ = 0;
  DWORD sentAt_ = 0;
  DWORD lastSeenOpen_ = 0;
  DWORD emptyingSince_ = 0;
  DWORD slowestReaderMs_ = 0;
  int refusedReads_ = 0;
  forms::MessageWindow window_;
};

}  // namespace app
