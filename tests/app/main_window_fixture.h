#pragma once
// Test fixture: the main window started in a temporary application folder,
// with handler failures collected instead of ending the process.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "forms/app.h"
#include "forms/twips.h"
#include "temp_folder.h"

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::App::SetPathForTesting(folder.path());
    forms::App::SetErrorReporterForTesting(
        [this](long number, const std::wstring&) { errors.push_back(number); });
  }
  void TearDown() override {
    form.reset();
    forms::App::RestoreDefaultErrorReporter();
    forms::App::SetPathForTesting(L"");
    EXPECT_TRUE(errors.empty());
  }

  app::FrmMain& Start(const std::string& ini = std::string()) {
    if (!ini.empty()) folder.Write(L"Config.ini", ini);
    form = std::make_unique<app::FrmMain>();
    EXPECT_TRUE(form->Load());
    form->Show();
    return *form;
  }

  static int Px(double twips) { return forms::TwipsToPixelsX(twips); }
  static RECT InParent(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  static RECT OnScreen(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r;
  }

  void ExpectRow(int n, double width) {
    RECT box = InParent(form->txtClip(n).hwnd());
    EXPECT_EQ(box.right - box.left, Px(width - 1935)) << "slot " << n;
    EXPECT_EQ(InParent(form->cmdGet(n).hwnd()).left, Px(width - 1530)) << "slot " << n;
    EXPECT_EQ(InParent(form->cmdClear(n).hwnd()).left, Px(width - 870)) << "slot " << n;
    EXPECT_EQ(box.left, Px(300));
    EXPECT_EQ(box.top, Px(150 + 420 * (n - 1)));
  }

  TempFolder folder;
  std::unique_ptr<app::FrmMain> form;
  std::vector<long> errors;
};
