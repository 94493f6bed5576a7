#pragma once
// The clipboard side of a paste into another window: the text is offered on
// the clipboard by delayed rendering, marked so that clipboard monitors and
// the clipboard history leave it alone, and handed over when a reader asks.
// The first reader need not be the paste target (a clipboard listener reads
// at once), so the clipboard is emptied only a grace time after the text was
// taken, or after a short time when nobody takes it. A message-only window of
// its own is the clipboard owner and receives WM_RENDERFORMAT,
// WM_DESTROYCLIPBOARD and the timers.
#include <windows.h>

#include <string>

namespace app {

class PasteClipboard {
 public:
  // How long an offer waits for a reader before the clipboard is emptied.
  static constexpr UINT kDefaultUntakenMs = 1500;
  // How long the text stays on the clipboard after it was taken, for the
  // paste target reading after a listener.
  static constexpr UINT kDefaultGraceMs = 1500;
  // Spacing of the attempts to empty the clipboard while a reader holds it
  // open, and how long they go on.
  static constexpr UINT kRetryMs = 20;
  static constexpr DWORD kEmptyTimeoutMs = 2000;

  explicit PasteClipboard(UINT untakenMs = kDefaultUntakenMs, UINT graceMs = kDefaultGraceMs);
  ~PasteClipboard();
  PasteClipboard(const PasteClipboard&) = delete;
  PasteClipboard& operator=(const PasteClipboard&) = delete;

  // Empties the clipboard and offers the text on it in plain-text format.
  // False when the clipboard stayed busy; it is then left as it was.
  bool Offer(const std::wstring& text);
  // Empties the clipboard the grace time after the offered text was taken,
  // or after the untaken time. Only the clipboard this object still owns is
  // emptied: data another program put there since is left alone.
  void EmptyWhenTaken();

  // True from Offer until the clipboard has been emptied (by this object or
  // by anyone else).
  bool Pending() const { return state_ != State::Idle; }
  // True once a reader has had the text rendered.
  bool Taken() const { return state_ == State::Rendered; }
  HWND Owner() const { return owner_; }

 private:
  enum class State { Idle, Offered, Rendered };
  enum TimerId : UINT_PTR { kUntakenTimer = 1, kRetryTimer = 2, kGraceTimer = 3 };

  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void MarkPrivate();
  void Render();
  void StartEmptying();
  void TryEmpty();
  void Reset();

  HWND owner_ = nullptr;
  UINT untakenMs_;
  UINT graceMs_;
  std::wstring text_;
  State state_ = State::Idle;
  bool emptyRequested_ = false;
  DWORD emptyingSince_ = 0;
};

}  // namespace app
