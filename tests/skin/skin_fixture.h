#pragma once
// A visible test form with a child of every kind the skin knows, and the
// means to read back what the skin did: pixels, properties, fade levels and
// the process's live GDI handles.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "skin/clsSkinner.h"

// Colour of a table entry written red first.
constexpr COLORREF Rgb(unsigned rrggbb) {
  return RGB((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF);
}
inline constexpr COLORREF kGrey = RGB(0x80, 0x70, 0x60);  // what the stand-in controls paint
inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kScribble = RGB(1, 2, 3);

// Children: system buttons, edits, combo boxes and a header (two items of
// 100 px), stand-ins registered under the other kinds' class names (their
// check state or position is their GWLP_USERDATA).
struct SkinForm {
  SkinForm();
  SkinForm(const SkinForm&) = delete;
  SkinForm& operator=(const SkinForm&) = delete;
  ~SkinForm();
  std::vector<HWND> AllWindows() const;  // the form last

  HWND form = nullptr, push = nullptr, second = nullptr, checkStyle = nullptr, disabled = nullptr;
  HWND sunken = nullptr, bordered = nullptr, text = nullptr, simpleCombo = nullptr;
  HWND editCombo = nullptr, listCombo = nullptr, driveList = nullptr, check = nullptr;
  HWND option = nullptr, progress = nullptr, header = nullptr, grid = nullptr, dataList = nullptr;
  skin::clsSkinner skinner;
  bool attached = false;
};

HWND CreateTopLevel(const wchar_t* cls, DWORD style, int x, int y, int w, int h, HWND owner = nullptr);
HWND CreateChild(HWND parent, const wchar_t* cls, DWORD style, DWORD exStyle, int x, int y, int w,
                 int h, const wchar_t* text = L"");

// What the window shows, read from its whole-window surface.
class WindowPixels {
 public:
  explicit WindowPixels(HWND window);
  COLORREF At(int x, int y) const;
  int Count(COLORREF colour) const;
  int width = 0, height = 0;

 private:
  std::vector<COLORREF> pixels_;
};

void PumpFor(DWORD milliseconds);
void Repaint(HWND window);
void Scribble(HWND window, COLORREF colour);
LONG_PTR Prop(HWND window, const wchar_t* key);
LPARAM Point(int x, int y);
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
std::vector<std::wstring> PropNames(HWND window);

// Pixels inside the rounded region that differ from the button's image of `state`.
int DiffersFromImage(HWND button, int state);
// No fade, no pointer, the normal face drawn whole.
void ResetButton(HWND button);
// Runs the message loop until no button fades (5 s at most); per button the
// "ALPHALEVEL" seen at each of its WM_TIMER messages.
std::map<HWND, std::vector<LONG_PTR>> RunFades(const std::vector<HWND>& buttons);
std::vector<LONG_PTR> FadeLevels(LONG_PTR start);  // start, start + 3, ... up to 255

// GDI objects alive in the process, counted by asking the system about every
// handle value (independent of the skin's own bookkeeping).
int LiveGdiHandles();
