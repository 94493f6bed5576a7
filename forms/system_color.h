#pragma once
// Colour values as the forms use them: 0x00BBGGRR, or 0x800000nn for the
// system colour nn.
#include <windows.h>

#include <cstdint>

namespace forms {

constexpr uint32_t SystemColor(int index) { return 0x80000000u | static_cast<uint32_t>(index); }

// The RGB colour a form colour value stands for now.
COLORREF ResolveColor(uint32_t color);

// True while the system's high-contrast setting is on (SPI_GETHIGHCONTRAST);
// tests put their own setting in its place.
extern bool (*HighContrastOn)();
bool SystemHighContrastOn();

}  // namespace forms
