#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Colour the stand-in controls paint their client area with.
inline constexpr COLORREF kControlGrey = RGB(0x80, 0x70, 0x60);

// A visible top-level form of class "ThunderRT6FormDC" holding one child of
// every kind the skin knows: system buttons, edits and combo boxes, a real
// header, and stand-in windows registered under the class names of the other
// kinds (their check state or position is their GWLP_USERDATA).
class SkinTestForm {
 public:
  SkinTestForm();
  SkinTestForm(const SkinTestForm&) = delete;
  SkinTestForm& operator=(const SkinTestForm&) = delete;
  ~SkinTestForm();

  // Every window of the tree, the form last.
  std::vector<HWND> AllWindows() const;

  HWND form = nullptr;
  HWND pushButton = nullptr;
  HWND checkStyleButton = nullptr;
  HWND disabledButton = nullptr;
  HWND sunkenEdit = nullptr;
  HWND borderEdit = nullptr;
  HWND scrollEdit = nullptr;
  HWND simpleCombo = nullptr;
  HWND dropDownCombo = nullptr;
  HWND listCombo = nullptr;
  HWND checkBox = nullptr;
  HWND optionButton = nullptr;
  HWND driveList = nullptr;
  HWND progressBar = nullptr;
  HWND header = nullptr;
  HWND grid = nullptr;
  HWND borderlessGrid = nullptr;
  HWND dataList = nullptr;
};

// A top-level window of the given class (stand-in classes are registered on
// first use); retried a few times, as creation can fail while other test
// processes start up.
HWND CreateTopLevel(const wchar_t* className, DWORD style, DWORD exStyle, int x, int y, int width,
                    int height, HWND owner = nullptr);

// A child window; for the stand-in class names the stand-in procedure.
HWND CreateChild(HWND parent, const wchar_t* className, DWORD style, DWORD exStyle, int x, int y,
                 int width, int height, const wchar_t* text = L"");

// Handles every waiting message, then paints whatever is invalid in the tree.
void PumpAndPaint(HWND top);

// What the window shows, read from its whole-window surface.
class WindowPixels {
 public:
  explicit WindowPixels(HWND window);
  COLORREF At(int x, int y) const;
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<COLORREF> pixels_;
};

// Names of the window's properties.
std::vector<std::wstring> PropertyNames(HWND window);

// Procedure currently installed on a window.
LONG_PTR ProcOf(HWND window);

// Window size from GetWindowRect.
SIZE WindowSize(HWND window);
