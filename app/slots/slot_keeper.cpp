#include "app/slots/slot_keeper.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "app/slots/slot_text_file.h"
#include "app/slots/slot_write_check.h"
#include "forms/app.h"
#include "forms/runtime_error.h"

namespace app {
namespace {

constexpr UINT kWriteFailed = WM_APP + 1;
constexpr UINT_PTR kPauseTimer = 1;

std::wstring ErrorText(const forms::RuntimeError& e) { return forms::FormatRuntimeErrorText(e.number(), e.description()); }

}  // namespace

SlotKeeper::SlotKeeper(std::wstring folder, TextOf textOf)
    : folder_(std::move(folder)),
      textOf_(std::move(textOf)),
      store_(folder_),
      window_([this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return HandleMessage(message, wParam, lParam, result);
      }) {}

SlotKeeper::~SlotKeeper() { StopWrites(); }

SlotTexts SlotKeeper::Load() { return store_.Load(); }

void SlotKeeper::StartWrites() {
  // A save that cannot succeed is told now, not when the window closes. An
  // old file the folder would not let go of is told by the window.
  if (!store_.HoldsOldFile()) {
    try {
      CheckSlotsWritable(folder_, lockWaitMs);
    } catch (const forms::RuntimeError& e) {
      forms::App::Ask(ErrorText(e) + L"\n\n程序照常运行，但槽可能无法保存到这个文件。", MB_OK | MB_ICONWARNING);
    }
  }
  // From now on a changed slot is written within moments, off this thread.
  const HWND window = window_.hwnd();
  writer_ = std::make_unique<SlotWriter>(store_, [window] { PostMessageW(window, kWriteFailed, 0, 0); });
}

void SlotKeeper::Changed(int slot) {
  if (!writer_ || slot < 1 || slot > kSlotCount) return;
  // Only noted here: a keystroke costs no copy of a long text. The text is
  // read once, when the box's changes pause.
  changed_[static_cast<size_t>(slot - 1)] = true;
  lastChange_ = GetTickCount64();
  if (timer_) return;
  firstChange_ = lastChange_;
  timer_ = SetTimer(window_.hwnd(), kPauseTimer, kWritePauseMs, nullptr) != 0;
  if (!timer_) Hand();
}

void SlotKeeper::Hand() {
  for (int n = 1; n <= kSlotCount; ++n) {
    bool& changed = changed_[static_cast<size_t>(n - 1)];
    if (!changed) continue;
    changed = false;
    if (writer_) writer_->Hand(n, textOf_(n));
  }
}

void SlotKeeper::StopWrites() {
  if (timer_) KillTimer(window_.hwnd(), kPauseTimer);
  timer_ = false;
  changed_.fill(false);
  if (writer_) writer_->Stop();
  writer_.reset();
}

SlotTexts SlotKeeper::Texts() const {
  SlotTexts texts;
  for (int n = 1; n <= kSlotCount; ++n) texts[static_cast<size_t>(n - 1)] = textOf_(n);
  return texts;
}

bool SlotKeeper::Save(bool sessionEnding) {
  // No write of the writer runs beside the save or after it; the save writes
  // every text the writer had not written yet.
  StopWrites();
  const SlotTexts texts = Texts();
  if (!sessionEnding) return SaveOrAsk(texts);
  try {
    store_.Save(texts, kSessionEndLockWaitMs);
    return true;
  } catch (const forms::RuntimeError&) {
  }
  try {
    NoteKeptAtSessionEnd(folder_, KeepSlotsInTextFile(folder_, texts));
  } catch (const forms::RuntimeError&) {
    // Nowhere to keep them, and nobody to ask.
  }
  return false;
}

bool SlotKeeper::SaveOrAsk(const SlotTexts& texts) {
  for (;;) {
    try {
      store_.Save(texts, lockWaitMs);
      return true;
    } catch (const forms::RuntimeError& e) {
      if (forms::App::Ask(ErrorText(e) + L"\n\n槽没有保存。要再试一次吗？", MB_RETRYCANCEL | MB_ICONERROR) == IDRETRY)
        continue;
    }
    try {
      const std::wstring kept = KeepSlotsInTextFile(folder_, texts);
      forms::App::Ask(L"槽没有保存到数据库，它们的文字已保存在文本文件中：\n\n" + kept, MB_OK | MB_ICONINFORMATION);
      return false;
    } catch (const forms::RuntimeError& e) {
      if (forms::App::Ask(ErrorText(e) + L"\n\n槽的文字无处保存，关闭后将丢失。要再试一次吗？",
                          MB_RETRYCANCEL | MB_ICONERROR) != IDRETRY)
        return false;
    }
  }
}

void SlotKeeper::ReportWriteFailure() {
  const std::optional<forms::RuntimeError> failure = writer_ ? writer_->LastFailure() : std::nullopt;
  if (!failure) return;
  std::wstring text = ErrorText(*failure) + L"\n\n槽暂时没有保存到数据库，程序会稍后再试，关闭时也会再试。";
  try {
    const std::wstring kept = KeepSlotsInTextFile(folder_, Texts());
    text += L"\n在此之前，槽的文字已保存在文本文件中：\n\n" + kept;
  } catch (const forms::RuntimeError& e) {
    text += L"\n槽的文字也无法保存到文本文件：" + e.description();
  }
  forms::App::Ask(text, MB_OK | MB_ICONWARNING);
}

bool SlotKeeper::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  result = 0;
  if (message == kWriteFailed) {
    ReportWriteFailure();
    return true;
  }
  if (message != WM_TIMER || wParam != kPauseTimer) return false;
  const ULONGLONG now = GetTickCount64();
  const ULONGLONG pauseEnds = lastChange_ + kWritePauseMs;
  const ULONGLONG latest = firstChange_ + kWriteLatestMs;
  if (now < pauseEnds && now < latest) {
    // Still typing: wait for the pause, but not past the latest time.
    const ULONGLONG wait = std::min(pauseEnds, latest) - now;
    if (SetTimer(window_.hwnd(), kPauseTimer, static_cast<UINT>(wait), nullptr)) return true;
  }
  KillTimer(window_.hwnd(), kPauseTimer);
  timer_ = false;
  Hand();
  return true;
}

}  // namespace app
