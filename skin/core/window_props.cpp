#include "skin/core/window_props.h"

#include <cwchar>
#include <unordered_map>
#include <vector>

namespace skin {
namespace {

// What this thread last wrote to, or removed from, a window's properties.
// Every write still goes to the window, where other processes read it; reads
// are answered from here, because each property call is a round trip to the
// window system. The entry of a window goes when it is destroyed or unskinned.
struct CachedProp {
  wchar_t key[16];
  LONG_PTR value;
  bool present;
};

using PropCache = std::unordered_map<HWND, std::vector<CachedProp>>;

PropCache& Cache() noexcept {
  thread_local PropCache cache;
  return cache;
}

bool Cacheable(const wchar_t* key) noexcept {
  return key && std::wcslen(key) < std::size(CachedProp{}.key);
}

CachedProp* Find(HWND window, const wchar_t* key) noexcept {
  const auto entry = Cache().find(window);
  if (entry == Cache().end()) return nullptr;
  for (CachedProp& prop : entry->second) {
    if (std::wcscmp(prop.key, key) == 0) return &prop;
  }
  return nullptr;
}

void Remember(HWND window, const wchar_t* key, LONG_PTR value, bool present) noexcept {
  if (!Cacheable(key)) return;
  if (CachedProp* known = Find(window, key)) {
    known->value = value;
    known->present = present;
    return;
  }
  try {
    CachedProp prop = {};
    std::wcscpy(prop.key, key);
    prop.value = value;
    prop.present = present;
    Cache()[window].push_back(prop);
  } catch (...) {
    // Unremembered, the property is read from the window.
  }
}

void Forget(HWND window, const wchar_t* key) noexcept {
  const auto entry = Cache().find(window);
  if (entry == Cache().end()) return;
  auto& props = entry->second;
  for (size_t i = 0; i < props.size(); ++i) {
    if (std::wcscmp(props[i].key, key) != 0) continue;
    props[i] = props.back();
    props.pop_back();
    return;
  }
}

}  // namespace

std::wstring StateSurfaceKey(int state, StateSurface which) {
  std::wstring key(1, static_cast<wchar_t>(L'0' + state));
  key += which == StateSurface::DeviceContext ? L"HDC" : L"BMP";
  return key;
}

LONG_PTR GetSkinProp(HWND window, const wchar_t* key) noexcept {
  if (Cacheable(key)) {
    if (const CachedProp* known = Find(window, key)) return known->value;
  }
  return reinterpret_cast<LONG_PTR>(GetPropW(window, key));
}

BOOL SetSkinProp(HWND window, const wchar_t* key, LONG_PTR value) noexcept {
  if (Cacheable(key)) {
    const CachedProp* known = Find(window, key);
    if (known && known->present && known->value == value) return TRUE;
  }
  const BOOL ok = SetPropW(window, key, reinterpret_cast<HANDLE>(value));
  if (ok) {
    Remember(window, key, value, true);
  } else if (Cacheable(key)) {
    Forget(window, key);
  }
  return ok;
}

void RemoveSkinProp(HWND window, const wchar_t* key) noexcept {
  if (Cacheable(key)) {
    const CachedProp* known = Find(window, key);
    if (known && !known->present) return;
  }
  RemovePropW(window, key);
  Remember(window, key, 0, false);
}

void ForgetSkinProps(HWND window) noexcept { Cache().erase(window); }

}  // namespace skin
