#pragma once
// Reads the clipboard's text on a thread of its own. A program that offers
// its text by delayed rendering hands it over only when asked, and may take
// long or never answer; meanwhile the reading thread waits, not the window.
// The answer comes back through this thread's message loop.
//
// The reading thread lives from the first read on. One held up by an owner
// that never answers is left to finish on its own, and the next read gets a
// new one.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "forms/message_window.h"

namespace app {

struct ClipboardRead {
  enum class Outcome {
    Text,        // text holds the clipboard's text (empty: no text on it)
    Busy,        // another program kept the clipboard open
    Unreadable,  // text was announced but not handed over
    NoAnswer,    // the program offering the text did not hand it over in time
  };
  Outcome outcome = Outcome::Busy;
  std::wstring text;
};

// The waits of a read.
struct ReadTiming {
  // How long a clipboard held open by another program is waited for.
  DWORD openTimeoutMs = 5000;
  // How long the clipboard's owner then has to hand its text over.
  DWORD answerMs = 10000;
};

class ClipboardTextReader {
 public:
  using Answer = std::function<void(ClipboardRead)>;

  explicit ClipboardTextReader(ReadTiming timing = ReadTiming());
  ~ClipboardTextReader();
  ClipboardTextReader(const ClipboardTextReader&) = delete;
  ClipboardTextReader& operator=(const ClipboardTextReader&) = delete;

  // Starts a read; answer runs on this thread once it is over. One read at a
  // time: a read asked for while one runs is answered Busy at once.
  void Read(Answer answer);
  bool Busy() const { return busy_; }

  // The reading thread and what it shares with this one.
  struct Worker;

 private:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void Finish(ClipboardRead read);
  void LetWorkerGo();

  ReadTiming timing_;
  std::shared_ptr<Worker> worker_;
  bool busy_ = false;
  Answer answer_;
  forms::MessageWindow window_;
};

}  // namespace app
