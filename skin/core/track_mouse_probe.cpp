#include "skin/core/track_mouse_probe.h"

namespace skin {

bool HasUser32TrackMouseEvent(const char* functionName, const wchar_t* moduleName) noexcept {
  HMODULE module = GetModuleHandleW(moduleName);
  bool loadedHere = false;
  if (!module) {
    module = LoadLibraryW(moduleName);
    if (!module) return false;
    loadedHere = true;
  }
  const bool found = GetProcAddress(module, functionName) != nullptr;
  if (loadedHere) FreeLibrary(module);
  return found;
}

}  // namespace skin
