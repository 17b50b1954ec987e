// What colour bars look like, pixel for pixel, compared with checked-in pictures: the popup of a
// colour menu button (automatic row, grid, document colours, other row with the current-colour
// box), the same with a grid colour selected, and the grid hosted as a dialog control.
// PICTAVO_WRITE_REFERENCES=1 writes them anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/HostWindow.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"
#include "tests/toolkit/core/ColorBarFixture.h"
#include "tests/toolkit/core/ManagerSheet.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

using namespace colortest;

namespace {

bool WriteReferences() {
  const char* flag = std::getenv("PICTAVO_WRITE_REFERENCES");
  return flag != nullptr && std::string(flag) == "1";
}

class PlxColorBarLook : public ColorBarFixture {
 protected:
  void SetUp() override {
    CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
    ColorBarFixture::SetUp();
    CPlxToolBar::m_bShowTooltips = FALSE;  // a tip would stand over the edge of the picture
  }
  void TearDown() override {
    ColorBarFixture::TearDown();
    CPlxToolBar::m_bShowTooltips = TRUE;
    CPlxVisualManager::SetDefaultManager(nullptr);
    CPlxVisualManager::DestroyInstance();
  }

  // The window as it is on the screen, against its reference.
  void Check(CWnd* wnd, const std::string& name) {
    wnd->RedrawWindow(nullptr, nullptr,
                      RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pictavo::test::PumpPending();
    CRect rect;
    wnd->GetWindowRect(&rect);
    const std::string path = pictavo::test::SaveDesktopArea(rect, name);
    ASSERT_FALSE(path.empty());
    pictavo::test::Picture picture;
    ASSERT_TRUE(pictavo::test::ReadPng(path, &picture));
    pictavo::test::Canvas canvas(picture.width, picture.height);
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x) {
        const COLORREF c = picture.At(x, y);
        canvas.Pixel(x, y) = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
      }
    const std::string reference = pictavo::test::ReferencePath(name);
    if (WriteReferences()) ASSERT_TRUE(pictavo::test::WriteCanvasPng(canvas, reference));
    EXPECT_EQ(pictavo::test::CountDifferences(canvas, reference), 0) << name << " differs from " << reference;
  }

  CPlxColorBar* OpenFull(COLORREF selected) {
    frame.documentColors = {RGB(30, 60, 90), RGB(200, 120, 40), RGB(90, 0, 160)};
    auto* button = AddButton(new CScriptedColorButton(3000, "Colour"));
    button->EnableAutomaticButton("Automatic", RGB(0, 0, 0));
    button->EnableOtherButton("More Colors...");
    button->EnableDocumentColors("Document's Colors");
    button->SetColor(selected, FALSE);
    m_button = button;
    return Open(button, &toolbar);
  }
  CScriptedColorButton* m_button = nullptr;
};

TEST_F(PlxColorBarLook, APopupWithAutomaticGridDocumentAndOtherRowsAndTheCurrentColourBox) {
  CPlxColorBar* bar = OpenFull(RGB(70, 140, 210));  // in no grid: the box shows it
  ASSERT_NE(bar, nullptr);
  Check(bar->GetParent(), "color-popup-box.png");
  m_button->GetPopupMenu()->CloseMenu();
}

TEST_F(PlxColorBarLook, APopupWithAGridColourSelectedAndAHotCell) {
  CPlxColorBar* bar = OpenFull(RGB(255, 0, 0));
  ASSERT_NE(bar, nullptr);
  const int hot = FindCell(bar, [](auto& c) { return c.IsColorCell() && c.m_clrCell == RGB(0, 128, 128); });
  const CPoint point = bar->GetButton(hot)->m_rect.CenterPoint();
  bar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
  Check(bar->GetParent(), "color-popup-selected.png");
  m_button->GetPopupMenu()->CloseMenu();
}

TEST_F(PlxColorBarLook, TheGridAsADialogControl) {
  CWnd host;
  ASSERT_TRUE(host.Attach(pictavo::test::CreateHostWindow(220, 120)));
  CPlxColorBar bar;
  ASSERT_TRUE(bar.CreateAsControl(&host, CRect(10, 10, 210, 110), 2000));
  bar.SetColor(RGB(255, 255, 0));
  Check(&host, "color-control.png");
  bar.DestroyWindow();
  host.DestroyWindow();
}

TEST_F(PlxColorBarLook, ATornOffBarDockedAtTheTopLikeAToolbar) {
  CPlxColorBar* inPopup = OpenFull(RGB(0, 0, 255));
  ASSERT_NE(inPopup, nullptr);
  m_button->m_nHorzDockRows = 2;
  auto* popup = dynamic_cast<CColorPopup*>(m_button->GetPopupMenu());
  inPopup->m_nRowsWhenDockedHorz = 2;
  frame.EnableDocking(CBRS_ALIGN_ANY);
  auto* torn = dynamic_cast<CPlxColorBar*>(popup->CreateTearOffBar(&frame, 0xE900 + 0x181, "Colours"));
  ASSERT_NE(torn, nullptr);
  popup->CloseMenu();
  pictavo::test::PumpPending();
  frame.DockControlBar(torn, AFX_IDW_DOCKBAR_TOP);
  frame.RecalcLayout();
  pictavo::test::PumpPending();
  Check(&frame, "color-docked.png");
  torn->DestroyWindow();
  delete torn;
}

}  // namespace
