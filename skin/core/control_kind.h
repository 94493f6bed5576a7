#pragma once
#include <windows.h>

#include <string_view>

namespace skin {

// What a window is to the skin, decided from its class name on every use.
enum class ControlKind {
  Form,
  CommandButton,
  ComboBox,
  DriveList,
  CheckBox,
  OptionButton,
  ProgressBar,
  Header,
  DataList,
  ComboList,
  Grid,
  Other,
};

// Case-insensitive exact match against the known class names; any name that
// starts with "apexgrid" is a Grid; everything else is Other.
ControlKind ClassifyClassName(std::wstring_view className) noexcept;

// ClassifyClassName(GetWndClassName(window)); Other for a handle that names no window.
ControlKind ClassifyWindow(HWND window) noexcept;

}  // namespace skin
