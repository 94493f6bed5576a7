#pragma once
// A picture box: a window of its own class that shows an icon and reports
// mouse moves in its scale unit (twips unless set to pixels).
#include <functional>

#include "forms/control.h"
#include "forms/twips.h"

namespace forms {

class PictureBox : public Control {
 public:
  static constexpr const wchar_t* kClassName = L"ThunderRT6PictureBoxDC";

  PictureBox(Form& form, int id, const ControlLayout& layout, bool visible);

  HICON Picture() const { return picture_; }
  // The icon is not owned; it must outlive the picture box.
  void SetPicture(HICON icon);

  ScaleMode GetScaleMode() const { return scaleMode_; }
  void SetScaleMode(ScaleMode mode) { scaleMode_ = mode; }

  // Button: 1 left, 2 right, 4 middle; Shift: 1 shift, 2 ctrl, 4 alt;
  // X and Y in the scale unit.
  std::function<void(int button, int shift, double x, double y)> OnMouseMove;

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void MouseMove(WPARAM wParam, LPARAM lParam);
  void Paint();

  HICON picture_ = nullptr;
  ScaleMode scaleMode_ = ScaleMode::Twips;
};

}  // namespace forms
