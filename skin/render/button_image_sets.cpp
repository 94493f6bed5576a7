#include "skin/render/button_image_sets.h"

#include <utility>
#include <vector>

namespace skin {
namespace {

// One entry per button whose surfaces hold rendered images; UI thread only.
std::vector<std::pair<HWND, ButtonImageSet>>& Rendered() noexcept {
  static std::vector<std::pair<HWND, ButtonImageSet>> rendered;
  return rendered;
}

}  // namespace

HWND FindButtonImageSource(const ButtonImageSet& set, HWND window) noexcept {
  for (const auto& [source, held] : Rendered()) {
    if (source != window && held == set && IsWindow(source)) return source;
  }
  return nullptr;
}

void NoteButtonImages(HWND window, const ButtonImageSet& set) noexcept {
  ForgetButtonImages(window);
  try {
    Rendered().emplace_back(window, set);
  } catch (...) {
    // Unrecorded images are only drawn again for the next button.
  }
}

void ForgetButtonImages(HWND window) noexcept {
  auto& rendered = Rendered();
  for (size_t i = 0; i < rendered.size(); ++i) {
    if (rendered[i].first != window) continue;
    rendered[i] = std::move(rendered.back());
    rendered.pop_back();
    return;
  }
}

}  // namespace skin
