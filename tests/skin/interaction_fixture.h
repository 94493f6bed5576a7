#pragma once
#include <windows.h>

#include <map>
#include <vector>

#include "skin/clsSkinner.h"
#include "skin_test_form.h"

// The skin test form with a few more controls for the input handlers: a
// second push button, a text box, a second option button, a header with two
// items of 100 pixels, a header without items and an editable combo box 121
// pixels wide. The form is skinned while the object lives. The cursor is
// parked away from every window unless a test moves it.
class InteractionForm {
 public:
  InteractionForm();
  InteractionForm(const InteractionForm&) = delete;
  InteractionForm& operator=(const InteractionForm&) = delete;
  ~InteractionForm();

  SkinTestForm ui;
  skin::clsSkinner skinner;
  HWND secondButton = nullptr;
  HWND textBox = nullptr;
  HWND secondOption = nullptr;
  HWND wideHeader = nullptr;
  HWND emptyHeader = nullptr;
  HWND editableCombo = nullptr;
  bool attached = false;
};

// Messages that reached the procedure a skinned window had before the skin:
// the recorder is put between the skin and the control (it stays there after
// detach). Messages in `swallowed`
// stop there and return kSwallowedResult.
inline constexpr LRESULT kSwallowedResult = 0x1234;
void RecordPreviousProcedure(HWND window, std::vector<UINT> swallowed = {});
std::vector<UINT> RecordedMessages(HWND window);
// The recorder takes the skin off the window when this message reaches it,
// as a click handler that closes the form would.
void UnskinOnMessage(HWND window, UINT message);
void ClearRecordedMessages();

LONG_PTR Prop(HWND window, const wchar_t* key);
LPARAM ClientPoint(int x, int y);

// Puts the cursor on the middle of the window (or far from every window) and
// handles what that brings.
void CursorOver(HWND window);
void ParkCursor();

// Handles the thread's messages for the given time.
void PumpFor(DWORD milliseconds);

// Runs the message loop until none of the buttons has a fade timer (at most
// five seconds) and returns, per button, the "ALPHALEVEL" at each WM_TIMER
// it was sent.
std::map<HWND, std::vector<LONG_PTR>> RunFades(const std::vector<HWND>& buttons);

// The levels a fade from `start` draws: start, start + 3, ... up to 255.
std::vector<LONG_PTR> FadeLevels(LONG_PTR start);

// Pixels inside the rounded region where the window shows something other
// than the button's cached image of `state`.
int PixelsDifferentFromImage(HWND button, int state);

// Brings a button back to rest: no fade, no pointer, Normal face drawn whole.
void ResetButton(HWND button);

// Paints the window's whole surface in one colour, so a later drawing shows.
void Scribble(HWND window, COLORREF colour);
