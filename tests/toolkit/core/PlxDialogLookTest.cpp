// What a toolkit dialog with its popup menu open and a docked dialog bar look like under the
// program's manager, compared pixel for pixel with the pictures in reference/
// (PICTAVO_WRITE_REFERENCES=1 writes them anew; look at them first).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/ReferencePicture.h"
#include "tests/support/Snapshot.h"
#include "tests/toolkit/core/PlxDialogHost.h"
#include "tests/toolkit/core/SizingBarFrame.h"
#include "toolkit/core/PlxButton.h"
#include "toolkit/core/PlxDialogBar.h"
#include "toolkit/core/PlxVisualManagerXP.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

using namespace dialogtest;

std::string Reference(const std::string& name) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source ? source : ".") + "/tests/toolkit/core/reference/" + name;
}

int SnapshotDifferences(const CRect& area, const std::string& name) {
  return pictavo::test::DesktopAreaDifferences(area, name, Reference(name));
}

class PlxDialogBarLook : public pictavo::test::SizingBarFrame {
 protected:
  void SetUp() override {
    // The glyph strip is loaded for the manager that draws it, whatever ran before.
    CPlxMenuGlyphs::CleanUp();
    CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
    CPlxVisualManager::GetInstance();
    SizingBarFrame::SetUp();
  }
  void TearDown() override {
    SizingBarFrame::TearDown();
    m_dialogBars.clear();
    CPlxVisualManager::SetDefaultManager(nullptr);
    CPlxVisualManager::DestroyInstance();
  }
  std::vector<std::unique_ptr<CPlxDialogBar>> m_dialogBars;
};

TEST_F(PlxDialogBarLook, DialogBarsDockedAtTheTopAndOnTheLeft) {
  for (UINT dock : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT}) {
    auto bar = std::make_unique<CPlxDialogBar>();
    const UINT id = 0xE900 + 0x190 + static_cast<UINT>(m_dialogBars.size());
    ASSERT_TRUE(bar->Create("Find", &m_frame, TRUE, kBarTemplate, WS_CHILD | WS_VISIBLE | CBRS_TOP, id));
    bar->EnableDocking(CBRS_ALIGN_ANY);
    m_frame.DockControlBar(bar.get(), dock);
    m_dialogBars.push_back(std::move(bar));
    Settle();
  }
  m_dialogBars[0]->GetDlgItem(kBarEdit)->SetWindowText("photos");
  m_frame.RedrawWindow(nullptr, nullptr,
                       RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  pictavo::test::PumpPending();
  CRect area;
  m_frame.GetWindowRect(area);
  area.right = area.left + 420;
  area.bottom = area.top + 240;
  EXPECT_EQ(SnapshotDifferences(area, "dialog-bars-xp.png"), 0);
}

class PlxDialogLook : public DialogHostTest {
 protected:
  void SetUp() override {
    CPlxMenuGlyphs::CleanUp();
    CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
    CPlxVisualManager::GetInstance();
    DialogHostTest::SetUp();
  }
  void TearDown() override {
    DialogHostTest::TearDown();
    CPlxVisualManager::SetDefaultManager(nullptr);
    CPlxVisualManager::DestroyInstance();
  }
};

TEST_F(PlxDialogLook, ADialogInTheManagersColoursWithItsPopupOpen) {
  ASSERT_NE(MakeDialog(), nullptr);
  // The dialog takes the manager's bar colour; its menu button is the toolkit's push button.
  auto* manager = dynamic_cast<CPlxVisualManagerXP*>(CPlxVisualManager::GetInstance());
  ASSERT_NE(manager, nullptr);
  dialog->SetBackgroundColor(manager->m_clrBarFill);
  CPlxButton button;
  ASSERT_TRUE(button.SubclassDlgItem(kMenuButton, dialog));
  ::SetFocus(nullptr);  // no focus rectangle, whichever window had the focus before
  dialog->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  dialog->SendMessage(WM_COMMAND, MAKEWPARAM(kMenuButton, BN_CLICKED),
                      reinterpret_cast<LPARAM>(button.GetSafeHwnd()));
  Pump();
  CPlxPopupMenu* popup = CPlxPopupMenu::GetActiveMenu();
  ASSERT_NE(popup, nullptr);
  popup->SendMessage(WM_KEYDOWN, VK_DOWN);  // Cut is hot
  Pump();
  popup->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();

  CRect area, popupRect;
  dialog->GetWindowRect(area);
  popup->GetWindowRect(popupRect);
  area.UnionRect(area, popupRect);
  area.InflateRect(8, 8);
  EXPECT_EQ(SnapshotDifferences(area, "dialog-popup-xp.png"), 0);
  popup->SendMessage(WM_CLOSE);
  Pump();
  button.UnsubclassWindow();
}

}  // namespace
