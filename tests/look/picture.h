#pragma once
// Pictures of what windows show: grabbed from a device context, read from and
// written to PNG files, and compared with a reference pixel by pixel.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace look {

struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> rgb;  // 0xRRGGBB, rows from the top
};

// The width x height pixels at x, y of a device context (a window's or the screen's).
Picture Grab(HDC dc, int x, int y, int width, int height);
// PNG through the platform's imaging component; false when the file cannot be read or written.
bool LoadPng(const std::wstring& path, Picture& picture);
bool SavePng(const std::wstring& path, const Picture& picture);

// Where a window draws text of its own, in its coordinates: `text` centred
// in `area` with the window's font, one pixel of smoothing around it.
RECT CentredTextZone(HWND window, const std::wstring& text, const RECT& area);
// The same for a skinned command button's caption.
RECT ButtonCaptionZone(HWND button);
// `zone`, in `child`'s window coordinates, moved into those of `top`.
RECT InWindow(HWND top, HWND child, RECT zone);
// The whole of `child` in `top`'s window coordinates.
RECT WindowIn(HWND top, HWND child);

struct Difference {
  int pixels = 0;   // beyond their tolerance; every pixel when the sizes differ
  Picture picture;  // the reference washed out (text zones yellowish), differing pixels pure red
};
// Every pixel must match exactly, except that inside `textZones` each channel
// may be off by the smoothing tolerance.
Difference Compare(const Picture& reference, const Picture& seen, const std::vector<RECT>& textZones);
// "N pixels in X Y W H" for the differing pixels inside `area`; empty when none.
std::wstring DescribeIn(const Difference& difference, const RECT& area);

}  // namespace look
