#include <gtest/gtest.h>

#include <string>

#include "controls/MenuCH.h"
#include "platform/user/User.h"
#include "tests/support/Canvas.h"

namespace {

using pictavo::test::Canvas;

TEST(MenuCH, FindCharFromFindsTheFirstAtOrAfterStart) {
  struct Case {
    const char* text;
    char c;
    int start, found;
  };
  const Case cases[] = {{"a\tb\tc", '\t', 0, 1}, {"a\tb\tc", '\t', 2, 3}, {"abc", '\t', 0, -1},
                        {"", 'a', 0, -1},        {"abc", 'c', 5, -1},     {nullptr, 'a', 0, -1}};
  for (const auto& c : cases)
    EXPECT_EQ(FindCharFrom(c.text, c.c, c.start), c.found) << (c.text ? c.text : "null");
}

TEST(MenuCH, TextsSplitAtTheirFirstTab) {
  struct Case {
    const char* text;
    const char* label;
    const char* shortcut;  // null: none
  };
  const Case cases[] = {
      {"&Open\tCtrl+O", "&Open", "Ctrl+O"},
      {"Two\tTabs\tKept", "Two", "Tabs\tKept"},
      {"More Colors ...", "More Colors ...", nullptr},
      {"\tOnly", "", "Only"},
  };
  CMenuCH menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  UINT id = 100;
  for (const auto& c : cases) ASSERT_TRUE(menu.AppendItem(MF_STRING, id++, c.text, 0, 0, TRUE));
  for (int i = 0; i < menu.GetItemCount(); ++i) {
    const CMenuCHItem* item = menu.GetItemRecord(i);
    EXPECT_STREQ(item->label, cases[i].label);
    if (cases[i].shortcut == nullptr)
      EXPECT_EQ(item->shortcut, nullptr) << cases[i].text;
    else
      EXPECT_STREQ(item->shortcut, cases[i].shortcut);
  }
}

TEST(MenuCH, ALongLabelIsCutToFitItsRecord) {
  const std::string longText = std::string(126, 'x') + "\xC3\xA9" + std::string(60, 'y') + "\tF5";
  CMenuCH menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  ASSERT_TRUE(menu.AppendItem(MF_STRING, 7, longText.c_str(), 0, 0, TRUE));
  const CMenuCHItem* item = menu.GetItemRecord(0);
  EXPECT_EQ(std::string(item->label), std::string(126, 'x'));  // the two-byte letter does not fit whole
  EXPECT_STREQ(item->shortcut, "F5");
}

TEST(MenuCH, ItemsKeepTheSizeSetWhenTheyWereAppendedSeparatorsAreSixHigh) {
  CMenuCH menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.SetItemWidth(6);
  menu.SetItemHeight(18);
  ASSERT_TRUE(menu.AppendItem(MF_STRING, 32861, "0", 0, 0, TRUE));
  menu.SetItemWidth(90);
  menu.SetItemHeight(22);
  ASSERT_TRUE(menu.AppendItem(MF_STRING, 32877, "More Colors ...", 0, 0, TRUE));
  ASSERT_TRUE(menu.AppendItem(MF_SEPARATOR, 0, "", 0, 0, TRUE));

  struct Case {
    int index;
    UINT id;
    UINT width, height;
  };
  const Case cases[] = {{0, 32861, 6, 18}, {1, 32877, 90, 22}, {2, 0, 90, 6}};
  for (const auto& c : cases) {
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = c.id;
    mis.itemData = reinterpret_cast<ULONG_PTR>(menu.GetItemRecord(c.index));
    menu.MeasureItem(&mis);
    EXPECT_EQ(mis.itemWidth, c.width) << c.index;
    EXPECT_EQ(mis.itemHeight, c.height) << c.index;
  }
  // Owner-drawn items carry their record; the popup of a submenu would not.
  EXPECT_EQ(menu.GetMenuState(32861, MF_BYCOMMAND) & MF_OWNERDRAW, static_cast<UINT>(MF_OWNERDRAW));
}

TEST(MenuCH, AMissingBitmapLeavesTheRecordWithoutAnImage) {
  CMenuCH menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  ASSERT_TRUE(menu.AppendItem(MF_STRING, 5, "Item", 59999, 0, TRUE));
  const CMenuCHItem* item = menu.GetItemRecord(0);
  ASSERT_NE(item->bitmap, nullptr);
  EXPECT_EQ(item->bitmap->GetSafeHandle(), nullptr);
}

TEST(MenuCH, ColourSwatchesShowTheirTextAsAColour) {
  struct Case {
    const char* text;
    COLORREF swatch;
  };
  const Case cases[] = {
      {"12632256", RGB(192, 192, 192)}, {"255", RGB(255, 0, 0)}, {"not a number", RGB(0, 0, 0)}};
  for (const auto& c : cases) {
    CMenuCH menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.SetStyle(MENUCH_STYLE_COLOR);
    menu.SetItemWidth(20);
    menu.SetItemHeight(18);
    ASSERT_TRUE(menu.AppendItem(MF_STRING, 32869, c.text, 0, 0, TRUE));
    Canvas canvas(20, 18, RGB(1, 2, 3));
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = 32869;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = ODS_SELECTED;
    dis.hDC = canvas.Dc();
    dis.rcItem = RECT{0, 0, 20, 18};
    dis.itemData = reinterpret_cast<ULONG_PTR>(menu.GetItemRecord(0));
    menu.DrawItem(&dis);
    EXPECT_EQ(canvas.At(10, 9), c.swatch) << c.text;
    EXPECT_EQ(canvas.At(3, 3), RGB(128, 128, 128)) << c.text;  // its grey frame
    EXPECT_EQ(menu.GetLastColor(), c.swatch) << c.text;
    EXPECT_EQ(menu.GetLastSelectedId(), 32869u);

    // Moving the selection away wipes the raised edge with the face colour.
    dis.itemAction = ODA_SELECT;
    dis.itemState = 0;
    menu.DrawItem(&dis);
    EXPECT_EQ(canvas.At(0, 0), static_cast<COLORREF>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(canvas.At(1, 1), static_cast<COLORREF>(GetSysColor(COLOR_BTNFACE)));
  }
}

}  // namespace

#include <filesystem>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/Wnd.h"
#include "platform/user/Display.h"
#include "tests/support/PngPicture.h"

namespace {

// Forwards item messages to the colour popup and snapshots it once it waits.
class SwatchOwner : public CWnd {
 public:
  CMenuCH* menu = nullptr;
  std::string snapshot;
  bool saved = false;
  int downPresses = 3;

 protected:
  afx_msg void OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMIS) { menu->MeasureItem(lpMIS); }
  afx_msg void OnDrawItem(int, LPDRAWITEMSTRUCT lpDIS) { menu->DrawItem(lpDIS); }
  afx_msg void OnEnterIdle(UINT, CWnd*) {
    if (downPresses-- > 0) {
      pictavo::user::InjectKey({VK_DOWN, true});
      pictavo::user::InjectKey({VK_DOWN, false});
      return;
    }
    if (!saved) saved = pictavo::display::Headless()->SaveSnapshot(snapshot, ::FindWindow("#32768", nullptr));
    ::EndMenu();
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(SwatchOwner, CWnd)
ON_WM_MEASUREITEM()
ON_WM_DRAWITEM()
ON_WM_ENTERIDLE()
END_MESSAGE_MAP()

TEST(MenuCHSnapshot, TheBlankImageColourPopup) {
  if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  // As the main window fills it: swatches 6 x 18, then two text items.
  static constexpr COLORREF kColours[] = {0x000000, 0xFFFFFF, 0x000080, 0x008000, 0x008080, 0x800000,
                                          0x800080, 0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00,
                                          0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00};
  CMenuCH menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.SetItemWidth(6);
  menu.SetItemHeight(18);
  menu.SetStyle(MENUCH_STYLE_COLOR);
  UINT id = 32861;
  for (COLORREF colour : kColours)
    ASSERT_TRUE(menu.AppendItem(MF_STRING, id++, std::to_string(colour).c_str(), 0, 0, TRUE));
  ASSERT_TRUE(menu.AppendItem(MF_STRING, id++, "More Colors ...", 0, 0, FALSE));
  ASSERT_TRUE(menu.AppendItem(MF_STRING, id++, "Custom Blank Image ...", 0, 0, FALSE));

  SwatchOwner owner;
  owner.menu = &menu;
  ASSERT_TRUE(
      owner.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr));
  owner.SetForegroundWindow();
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  const std::filesystem::path folder = std::filesystem::path(bin ? bin : ".") / "test-output";
  std::filesystem::create_directories(folder);
  owner.snapshot = (folder / "blank-image-colours.png").string();
  menu.TrackPopupMenu(TPM_RETURNCMD, 20, 20, &owner);
  ASSERT_TRUE(owner.saved);
  EXPECT_EQ(menu.GetLastSelectedId(), 32863u);  // the third swatch was drawn selected
  EXPECT_EQ(menu.GetLastColor(), static_cast<COLORREF>(0x000080));
  pictavo::test::Picture picture;
  ASSERT_TRUE(pictavo::test::ReadPng(owner.snapshot, &picture));
  EXPECT_GT(picture.height, 16 * 18);
  owner.DestroyWindow();
}

}  // namespace
