#include <windows.h>

#include "app/frm_main.h"
#include "app/single_instance.h"
#include "forms/app.h"
#include "forms/message_loop.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // A second start brings the running copy back instead.
  app::SingleInstance instance(L"朔禾剪贴板");
  if (!instance.First()) {
    if (const HWND running = instance.RunningWindow(10000)) app::ShowRunningCopy(running);
    return 0;
  }
  forms::App::SetTitle(L"朔禾剪贴板");
  app::FrmMain form;
  instance.Publish(form.hwnd());
  form.SetQuitOnDestroy(true);
  if (!form.Load()) return static_cast<int>(forms::App::kErrorExitCode);
  form.Show();
  return forms::RunMessageLoop();
}
