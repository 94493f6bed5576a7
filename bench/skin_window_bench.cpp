// Prints the cost of putting the skin on the main window (its 38 child
// windows and itself), of one full repaint of it with and without the skin,
// and of one blend of a button's cached state image. Floors of the attach
// and detach: creating the main window and its children, without the skin;
// writing and removing the window properties the skin keeps, and shaping the
// command buttons, on their own.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/frm_main.h"
#include "bench/bench_window.h"
#include "skin/clsSkinner.h"
#include "skin/core/window_props.h"
#include "skin/render/button_painter.h"

namespace {

// Average microseconds per call of body, after a warm-up call; `between`
// runs after each call outside the measured time.
template <typename Body, typename Between>
double MeasureMicros(int iterations, Body body, Between between) {
  body();
  between();
  std::chrono::steady_clock::duration total{};
  for (int i = 0; i < iterations; ++i) {
    const auto start = std::chrono::steady_clock::now();
    body();
    total += std::chrono::steady_clock::now() - start;
    between();
  }
  return std::chrono::duration<double, std::micro>(total).count() / iterations;
}

void Print(const char* name, double micros, int iterations) {
  std::printf("%-52s %10.1f us/call  (%d calls)\n", name, micros, iterations);
}

void FullRepaint(HWND window) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

using WindowProps = std::set<std::pair<HWND, std::wstring>>;

BOOL CALLBACK CollectProp(HWND window, LPWSTR key, HANDLE, ULONG_PTR props) {
  // Atoms (keys given as numbers) are not the skin's.
  if (reinterpret_cast<ULONG_PTR>(key) >> 16) {
    reinterpret_cast<WindowProps*>(props)->emplace(window, key);
  }
  return TRUE;
}

BOOL CALLBACK CollectChildProps(HWND child, LPARAM props) {
  EnumPropsExW(child, CollectProp, props);
  return TRUE;
}

// The named properties of the window and of all its descendants.
WindowProps PropsOfTree(HWND window) {
  WindowProps props;
  EnumPropsExW(window, CollectProp, reinterpret_cast<LPARAM>(&props));
  EnumChildWindows(window, CollectChildProps, reinterpret_cast<LPARAM>(&props));
  return props;
}

}  // namespace

int wmain() {
  constexpr int kCreations = 50;
  std::optional<app::FrmMain> created;
  Print("floor: creating the window and its children",
        MeasureMicros(kCreations, [&] { created.emplace(); },
                      [&] {
                        created.reset();
                        bench::Pump();
                      }),
        kCreations);

  app::FrmMain form;
  form.Move(0, 0, 3750, 4500);
  form.Show();
  bench::Pump();
  const HWND window = form.hwnd();
  const HWND button = form.cmdGet(1).hwnd();
  skin::clsSkinner skinner;
  auto nothing = [] {};

  std::printf("main window %ux%u twips, %d child windows\n", 3750u, 4500u,
              [&] {
                int n = 0;
                for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++n;
                return n;
              }());

  constexpr int kRepaints = 200;
  Print("full repaint without the skin", MeasureMicros(kRepaints, [&] { FullRepaint(window); }, bench::Pump),
        kRepaints);

  constexpr int kAttaches = 200;
  // The first attach of a cycle also builds the five images.
  Print("AttachSkin (engine start + whole tree)",
        MeasureMicros(kAttaches, [&] { skinner.AttachSkin(window); },
                      [&] {
                        bench::Pump();
                        skinner.DetachSkin(window);
                        bench::Pump();
                      }),
        kAttaches);
  Print("DetachSkin (whole tree, images released)",
        MeasureMicros(kAttaches, [&] { skinner.DetachSkin(window); },
                      [&] {
                        bench::Pump();
                        skinner.AttachSkin(window);
                        bench::Pump();
                      }),
        kAttaches);

  // Floor of both: the property calls themselves. The properties the skin
  // keeps are those on the tree while it is on and gone once it is off.
  skinner.AttachSkin(window);
  bench::Pump();
  const WindowProps skinned = PropsOfTree(window);
  skinner.DetachSkin(window);
  bench::Pump();
  const WindowProps bare = PropsOfTree(window);
  std::vector<std::pair<HWND, std::wstring>> kept;
  for (const auto& prop : skinned) {
    if (!bare.count(prop)) kept.push_back(prop);
  }
  char what[96];
  std::snprintf(what, sizeof what, "floor: SetPropW of the %zu properties the skin keeps", kept.size());
  constexpr int kPropRounds = 50;
  auto removeAll = [&] {
    for (const auto& [w, key] : kept) RemovePropW(w, key.c_str());
  };
  Print(what, MeasureMicros(kPropRounds, [&] {
          for (const auto& [w, key] : kept) SetPropW(w, key.c_str(), reinterpret_cast<HANDLE>(1));
        }, removeAll),
        kPropRounds);
  std::snprintf(what, sizeof what, "floor: RemovePropW of the %zu properties", kept.size());
  Print(what, MeasureMicros(kPropRounds, removeAll, [&] {
          for (const auto& [w, key] : kept) SetPropW(w, key.c_str(), reinterpret_cast<HANDLE>(1));
        }),
        kPropRounds);
  removeAll();
  // The rounded shape the skin gives each command button, on its own.
  const std::vector<HWND> buttons = bench::SlotButtons(form);
  std::snprintf(what, sizeof what, "floor: SetWindowRgn, rounded, on the %zu buttons", buttons.size());
  auto shape = [&] {
    for (HWND b : buttons) {
      RECT r = {};
      GetWindowRect(b, &r);
      HRGN region = CreateRoundRectRgn(0, 0, r.right - r.left + 1, r.bottom - r.top + 1, 3, 3);
      if (!SetWindowRgn(b, region, TRUE)) DeleteObject(region);
    }
  };
  auto unshape = [&] {
    for (HWND b : buttons) SetWindowRgn(b, nullptr, TRUE);
  };
  Print(what, MeasureMicros(kPropRounds, shape, [&] {
          unshape();
          bench::Pump();
        }),
        kPropRounds);
  shape();
  bench::Pump();
  std::snprintf(what, sizeof what, "floor: SetWindowRgn, none, on the %zu buttons", buttons.size());
  Print(what, MeasureMicros(kPropRounds, unshape, [&] {
          shape();
          bench::Pump();
        }),
        kPropRounds);
  unshape();
  bench::Pump();

  skinner.AttachSkin(window);
  bench::Pump();
  Print("full repaint with the skin", MeasureMicros(kRepaints, [&] { FullRepaint(window); }, bench::Pump),
        kRepaints);

  constexpr int kBlends = 5000;
  skin::SetSkinProp(button, skin::prop::kAlphaLevel, 255);
  Print("PaintButtonBlend (one 41x21 button, window surface)",
        MeasureMicros(kBlends, [&] { skin::PaintButtonBlend(button, nullptr); }, nothing), kBlends);
  skin::SetSkinProp(button, skin::prop::kAlphaLevel, 128);
  Print("PaintButtonBlend at opacity 128",
        MeasureMicros(kBlends, [&] { skin::PaintButtonBlend(button, nullptr); }, nothing), kBlends);

  skinner.DetachSkin(window);
  form.Destroy();
  return 0;
}
