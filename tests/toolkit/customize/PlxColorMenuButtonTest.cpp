// The colour menu button: its stored form (this version, data before the dock values, no
// workspace, damaged data), buttons of one command kept in step, and its colour strip, compared
// with a checked-in picture. PICTAVO_WRITE_REFERENCES=1 writes the picture anew.
#include <cstdlib>
#include <string>
#include <vector>

#include <cstring>
#include <memory>

#include "platform/base/File.h"
#include "tests/platform/base/TestSupport.h"
#include "tests/toolkit/core/ColorBarFixture.h"
#include "tests/toolkit/customize/ColourPicture.h"
#include "toolkit/bars/PlxMenuBar.h"
#include "toolkit/bars/PlxPopupMenuBar.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxWorkspace.h"

using namespace colortest;

namespace {

using testing_support::Bytes;
using testing_support::LoadObject;

CPlxColorMenuButton* MakeButton() {
  auto* button = new CPlxColorMenuButton(3000, "Colour");
  button->m_Colors.RemoveAll();
  for (COLORREF c : {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)}) button->m_Colors.Add(c);
  button->m_nColumns = 3;
  button->m_nVertDockColumns = 2;
  button->m_nHorzDockRows = 5;
  button->EnableAutomaticButton("Automatic", RGB(1, 2, 3));
  button->EnableOtherButton("More...", FALSE);
  button->EnableDocumentColors("Document");
  return button;
}

// Where the colour count starts: after the menu button's own part.
size_t CountOffset(CPlxColorMenuButton& button) {
  return testing_support::Store([&](CArchive& ar) { button.CPlxToolbarMenuButton::Serialize(ar); }).size();
}

void ExpectLaterFields(const CPlxColorMenuButton& copy) {
  EXPECT_EQ(copy.m_Colors.GetSize(), 3);
  EXPECT_EQ(copy.m_nColumns, 3);
  EXPECT_TRUE(copy.m_bIsAutomaticButton);
  EXPECT_TRUE(copy.m_bIsOtherButton);
  EXPECT_TRUE(copy.m_bIsDocumentColors);
  EXPECT_STREQ(copy.m_strAutomaticButtonLabel, "Automatic");
  EXPECT_STREQ(copy.m_strOtherButtonLabel, "More...");
  EXPECT_STREQ(copy.m_strDocumentColorsLabel, "Document");
  EXPECT_EQ(copy.m_colorAutomatic, RGB(1, 2, 3));
  EXPECT_TRUE(copy.m_bStdColorDlg);
}

// The dock values came with data version 0x40710: older data has none; data of this version, and
// data whose version is unknown (no workspace, or none read), has them.
TEST(PlxColorMenuButtonArchive, DockValuesAreReadOnlyFromDataThatHasThem) {
  const struct {
    bool workspace;
    int major, minor;
    bool oldData;
    int vertColumns, horzRows;
  } cases[] = {
      {false, -1, -1, false, 2, 5},                               // no workspace: this version's layout
      {true, -1, -1, false, 2, 5},                                // a workspace that read no version
      {true, 4, 71, false, 2, 5},                                 // 0x40710
      {true, 6, 40, false, 2, 5},   {true, 4, 70, true, -1, -1},  // 0x40700: before the dock values
      {true, 4, 7, true, -1, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.workspace) + " " + std::to_string(c.major) + "." + std::to_string(c.minor));
    std::unique_ptr<CPlxWorkspace> workspace;
    if (c.workspace) {
      workspace = std::make_unique<CPlxWorkspace>();
      workspace->m_iSavedVersionMajor = c.major;
      workspace->m_iSavedVersionMinor = c.minor;
    }
    std::unique_ptr<CPlxColorMenuButton> source(MakeButton());
    Bytes bytes = testing_support::Store([&](CArchive& ar) { source->Serialize(ar); });
    if (c.oldData) {  // count, three colours and the columns, then the two dock values go
      const auto at = static_cast<long>(CountOffset(*source) + 4 + 3 * 4 + 4);
      bytes.erase(bytes.begin() + at, bytes.begin() + at + 8);
    }
    CPlxColorMenuButton copy;
    ASSERT_TRUE(LoadObject(copy, bytes));
    EXPECT_EQ(copy.m_nVertDockColumns, c.vertColumns);
    EXPECT_EQ(copy.m_nHorzDockRows, c.horzRows);
    ExpectLaterFields(copy);
    EXPECT_EQ(copy.m_Colors[2], RGB(0, 0, 255));
  }
}

// A damaged count runs into the end of the data instead of sizing an allocation by it.
TEST(PlxColorMenuButtonArchive, DamagedCountsFailWithoutAllocatingForThem) {
  std::unique_ptr<CPlxColorMenuButton> source(MakeButton());
  const Bytes good = testing_support::Store([&](CArchive& ar) { source->Serialize(ar); });
  const size_t at = CountOffset(*source);
  const struct {
    DWORD count;
    size_t keep;  // bytes kept (0: all)
  } cases[] = {{0xFFFFFFFF, 0}, {0x40000000, 0}, {1000, 0}, {3, at + 10}};
  for (const auto& c : cases) {
    Bytes bytes = good;
    std::memcpy(bytes.data() + at, &c.count, 4);
    if (c.keep != 0) bytes.resize(c.keep);
    CPlxColorMenuButton copy;
    EXPECT_FALSE(LoadObject(copy, bytes)) << c.count;
  }
}

// Wherever it sits the button keeps its image (its strip) and its drop-down part; in a popup
// menu it is drawn as a menu item, in menus it shows its text.
TEST(PlxColorMenuButtonParent, TheImageAndTheDropDownPartStayEverywhere) {
  CPlxMenuBar menuBar;
  CPlxPopupMenuBar popupBar;
  CPlxToolBar toolBar;
  const struct {
    CWnd* parent;
    const char* what;
    BOOL menuItem, text;
  } cases[] = {{&menuBar, "menu bar", FALSE, TRUE},
               {&popupBar, "popup menu", TRUE, TRUE},
               {&toolBar, "toolbar", FALSE, FALSE},
               {nullptr, "none", FALSE, FALSE}};
  for (const auto& c : cases) {
    CPlxColorMenuButton button(3000, "Colour");
    button.m_bImage = TRUE;
    button.m_bText = FALSE;
    button.OnChangeParentWnd(c.parent);
    EXPECT_EQ(button.m_pWndParent, c.parent) << c.what;
    EXPECT_EQ(button.m_bMenuItem, c.menuItem) << c.what;
    EXPECT_EQ(button.m_bText, c.text) << c.what;
    EXPECT_TRUE(button.m_bImage) << c.what;
    EXPECT_TRUE(button.m_bArrowPart) << c.what;
  }
}

TEST(PlxColorMenuButtonCopy, ACopyTakesEverythingAndRecordsItsColour) {
  CPlxColorMenuButton::m_ColorsByID.RemoveAll();
  std::unique_ptr<CPlxColorMenuButton> source(MakeButton());
  source->SetColor(RGB(9, 8, 7), FALSE);
  CPlxColorMenuButton::m_ColorsByID.RemoveAll();
  CPlxColorMenuButton copy;
  copy.CopyFrom(*source);
  EXPECT_EQ(copy.GetColor(), RGB(9, 8, 7));
  EXPECT_EQ(CPlxColorMenuButton::GetColorByCmdID(3000), RGB(9, 8, 7));
  EXPECT_EQ(copy.m_nVertDockColumns, 2);
  EXPECT_EQ(copy.m_nHorzDockRows, 5);
  ExpectLaterFields(copy);
  CPlxColorMenuButton::m_ColorsByID.RemoveAll();
}

class PlxColorMenuButtons : public ColorBarFixture {
 protected:
  void TearDown() override {
    second.DestroyWindow();
    ColorBarFixture::TearDown();
  }
  // A colour button showing image 0 of the loaded strip, first on the bar.
  static CPlxColorMenuButton* AddImageButton(CPlxToolBar& bar) {
    auto* button = new CPlxColorMenuButton(3000, "Colour");
    bar.InsertButtonObject(button, 0);
    button->SetImage(0);
    button->m_bImage = TRUE;
    button->m_bText = FALSE;
    bar.AdjustLayout();
    return button;
  }
  void Paint(CWnd& wnd) {
    wnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pictavo::test::PumpPending();
  }
  CPlxToolBar second;
};

TEST_F(PlxColorMenuButtons, ButtonsOfOneCommandShowTheSameColour) {
  ASSERT_TRUE(toolbar.LoadToolBar(60003));
  ASSERT_TRUE(second.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 1002));
  second.SetWindowPos(nullptr, 0, 40, 420, 26, SWP_NOZORDER);
  ASSERT_TRUE(second.LoadToolBar(60003));
  CPlxColorMenuButton* one = AddImageButton(toolbar);
  CPlxColorMenuButton* two = AddImageButton(second);
  Paint(frame);
  one->SetColor(RGB(255, 0, 0), TRUE);
  Paint(frame);
  EXPECT_EQ(two->GetColor(), RGB(255, 0, 0));
  EXPECT_EQ(two->m_clrStrip, RGB(255, 0, 0)) << "the other bar's strip was repainted";
  EXPECT_EQ(CPlxColorMenuButton::GetColorByCmdID(3000), RGB(255, 0, 0));

  // A button read back while a twin is on a bar takes the twin's colour.
  std::unique_ptr<CPlxColorMenuButton> source(MakeButton());
  const Bytes bytes = testing_support::Store([&](CArchive& ar) { source->Serialize(ar); });
  CPlxColorMenuButton loaded;
  ASSERT_TRUE(LoadObject(loaded, bytes));
  EXPECT_EQ(loaded.GetColor(), RGB(255, 0, 0));
}

TEST_F(PlxColorMenuButtons, TheStripShowsTheColourTheAutomaticOneOrTheShadow) {
  ASSERT_TRUE(toolbar.LoadToolBar(60003));
  CPlxColorMenuButton* button = AddImageButton(toolbar);
  button->m_colorAutomatic = RGB(0, 128, 0);
  const struct {
    COLORREF selected;
    UINT style;
    COLORREF want;
  } cases[] = {{RGB(0, 0, 255), 0, RGB(0, 0, 255)},
               {(COLORREF)-1, 0, RGB(0, 128, 0)},
               {RGB(0, 0, 255), TBBS_DISABLED, g_plxGlobalData.clrBarShadow}};
  for (const auto& c : cases) {
    button->SetColor(c.selected, FALSE);
    toolbar.SetButtonStyle(0, c.style);
    Paint(frame);
    EXPECT_EQ(button->m_clrStrip, c.want) << c.selected << "/" << c.style;
    EXPECT_EQ(button->m_rectStrip.Height(), 5);
  }
  toolbar.SetButtonStyle(0, 0);
}

TEST_F(PlxColorMenuButtons, TheStripLooksRightUnderTheImage) {
  ASSERT_TRUE(toolbar.LoadToolBar(60003));
  CPlxColorMenuButton* button = AddImageButton(toolbar);
  button->SetColor(RGB(255, 0, 0), FALSE);
  Paint(frame);
  CRect rect;
  toolbar.GetWindowRect(&rect);
  rect.right = rect.left + 120;
  colourtest::CheckPicture(rect, "color-menu-button-strip.png");
  pictavo::test::Picture picture;
  ASSERT_TRUE(pictavo::test::ReadPng(pictavo::test::SnapshotPath("color-menu-button-strip.png"), &picture));
  // The strip itself: red pixels under the image.
  const CRect strip = button->m_rectStrip;
  EXPECT_EQ(picture.At(strip.CenterPoint().x, strip.CenterPoint().y), RGB(255, 0, 0));
}

}  // namespace
