#include <windows.h>

#include "app/frm_main.h"
#include "forms/app.h"
#include "forms/message_loop.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  forms::App::SetTitle(L"朔禾剪贴板");
  app::FrmMain form;
  form.SetQuitOnDestroy(true);
  if (!form.Load()) return static_cast<int>(forms::App::kErrorExitCode);
  form.Show();
  return forms::RunMessageLoop();
}
