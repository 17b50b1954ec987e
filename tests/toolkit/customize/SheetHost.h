// The customize sheet's test host: an MDI frame with a menu bar, a toolbar that may be hidden and
// a locked one that may not, and a document template with its own menu. The sheet opened on it
// is the process's current sheet until it is closed.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/mfc/Document.h"
#include "platform/mfc/WinApp.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/MessagePump.h"
#include "tests/toolkit/customize/CustomizeHost.h"
#include "toolkit/bars/PlxMenuBar.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxMDIFrameWnd.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/customize/PlxCommandsPage.h"
#include "toolkit/customize/PlxCustomizeSheet.h"
#include "toolkit/customize/PlxToolbarsPage.h"

namespace sheettest {

constexpr UINT kFrameMenu = 16350;
constexpr UINT kStandardBar = 64600;  // the demonstration toolbar's strip
constexpr UINT kPicturesBar = 64601;

// An MDI frame that counts the customize-mode messages it is sent.
class CHostFrame : public CPlxMDIFrameWnd {
 public:
  std::vector<WPARAM> customizeModes;
  std::vector<std::pair<WPARAM, LPARAM>> helpRequests;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != 0 && message == PLX_WM_CUSTOMIZETOOLBAR) customizeModes.push_back(wParam);
    if (message != 0 && message == PLX_WM_CUSTOMIZEHELP) helpRequests.emplace_back(wParam, lParam);
    return CPlxMDIFrameWnd::WindowProc(message, wParam, lParam);
  }
};

class SheetHost : public shelltest::RegistryFixture {
 protected:
  static void SetUpTestSuite() {
    customize_test::StartDisplay();
    if (PLX_WM_TOOLBARMENU == 0) PlxRegisterToolbarMessages();
  }

  void SetUp() override {
    shelltest::RegistryFixture::SetUp();
    frame = new CHostFrame;
    frame->m_bAutoDelete = TRUE;
    ASSERT_TRUE(frame->LoadFrame(kFrameMenu, WS_OVERLAPPEDWINDOW));
    frame->SetWindowPos(nullptr, 0, 0, 700, 500, SWP_NOZORDER);
    frame->ShowWindow(SW_SHOW);
    hwnd = frame->m_hWnd;
    ASSERT_TRUE(menuBar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0xE805));
    if (frame->m_Impl.GetMenuBar() == nullptr) frame->m_Impl.SetMenuBar(&menuBar);
    ASSERT_TRUE(standard.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0xE800));
    ASSERT_TRUE(standard.LoadToolBar(kStandardBar));
    standard.SetWindowText("Standard");
    ASSERT_TRUE(pictures.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0xE801));
    ASSERT_TRUE(pictures.LoadToolBar(kPicturesBar, 0, 0, TRUE));
    pictures.SetWindowText("Pictures");
    pictures.m_bPermanent = TRUE;  // may not be hidden
    menuBar.SetWindowPos(nullptr, 0, 0, 690, 22, SWP_NOZORDER);
    standard.SetWindowPos(nullptr, 0, 24, 400, 26, SWP_NOZORDER);
    pictures.SetWindowPos(nullptr, 0, 52, 400, 26, SWP_NOZORDER);
    PumpAll();
  }

  void TearDown() override {
    if (g_pActiveCustomizeSheet != nullptr) g_pActiveCustomizeSheet->DestroyWindow();
    PumpAll();
    for (CPlxToolBar* bar : {static_cast<CPlxToolBar*>(&menuBar), &standard, &pictures})
      if (bar->GetSafeHwnd() != nullptr) bar->DestroyWindow();
    if (::IsWindow(hwnd)) frame->DestroyWindow();
    PumpAll();
    CPlxToolBar::m_bCustomizeMode = FALSE;
    CPlxToolBar::CleanUpImages();
    CPlxVisualManager::DestroyInstance();
    shelltest::RegistryFixture::TearDown();
  }

  static void PumpAll() { customize_test::Pump(); }

  // A sheet on the frame, open; null when it did not open.
  CPlxToolbarCustomize* Open(UINT flags = 0) {
    auto* sheet = new CPlxToolbarCustomize(frame, TRUE, flags);
    if (!sheet->ShowModeless()) {
      delete sheet;
      return nullptr;
    }
    PumpAll();
    return sheet;
  }

  CHostFrame* frame = nullptr;
  HWND hwnd = nullptr;
  CPlxMenuBar menuBar;
  CPlxToolBar standard;
  CPlxToolBar pictures;
};

}  // namespace sheettest
