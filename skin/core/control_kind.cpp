#include "skin/core/control_kind.h"

#include <string>

#include "skin/core/class_name.h"

namespace skin {
namespace {

struct KnownClass {
  std::wstring_view name;
  ControlKind kind;
};

constexpr KnownClass kKnownClasses[] = {
    {L"#32770", ControlKind::Form},
    {L"thunderformdc", ControlKind::Form},
    {L"thunderrt6formdc", ControlKind::Form},
    {L"form", ControlKind::Form},
    {L"thundercommandbutton", ControlKind::CommandButton},
    {L"thunderrt6commandbutton", ControlKind::CommandButton},
    {L"button", ControlKind::CommandButton},
    {L"thundercombobox", ControlKind::ComboBox},
    {L"thunderrt6combobox", ControlKind::ComboBox},
    {L"combo", ControlKind::ComboBox},
    {L"combobox", ControlKind::ComboBox},
    {L"thunderdrivelistbox", ControlKind::DriveList},
    {L"thunderrt6drivelistbox", ControlKind::DriveList},
    {L"thundercheckbox", ControlKind::CheckBox},
    {L"thunderrt6checkbox", ControlKind::CheckBox},
    {L"thunderoptionbutton", ControlKind::OptionButton},
    {L"thunderrt6optionbutton", ControlKind::OptionButton},
    {L"progressbar20wndclass", ControlKind::ProgressBar},
    {L"progressbarwndclass", ControlKind::ProgressBar},
    {L"msvb_lib_header", ControlKind::Header},
    {L"sysheader32", ControlKind::Header},
    {L"datalistwndclass", ControlKind::DataList},
    {L"dblistwndclass", ControlKind::DataList},
    {L"combolbox", ControlKind::ComboList},
};

constexpr std::wstring_view kGridPrefix = L"apexgrid";

}  // namespace

ControlKind ClassifyClassName(std::wstring_view className) noexcept {
  try {
    std::wstring lower(className);
    if (!lower.empty()) CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    for (const KnownClass& known : kKnownClasses) {
      if (lower == known.name) return known.kind;
    }
    if (lower.compare(0, kGridPrefix.size(), kGridPrefix) == 0) return ControlKind::Grid;
  } catch (...) {
  }
  return ControlKind::Other;
}

ControlKind ClassifyWindow(HWND window) noexcept {
  return ClassifyClassName(GetWndClassName(window));
}

}  // namespace skin
