// The menu button: its sub-items to and from a native menu, its archive form, where it opens its
// popup and how a split button splits a click; and what a menu row draws, pixel for pixel, under
// the program's manager and the classic one (PICTAVO_WRITE_REFERENCES=1 writes the pictures anew).
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/base/MemFile.h"
#include "platform/mfc/Dc.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Menu.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/Canvas.h"
#include "tests/support/HostWindow.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"
#include "tests/support/TestInChild.h"
#include "tests/toolkit/core/ManagerSheet.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxButtonImages.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

using pictavo::test::Canvas;

constexpr UINT kMainToolbar = 64600;

// A popup that records where and from what it was asked to open, without a window.
class RecordingPopup : public CPlxPopupMenu {
 public:
  BOOL Create(CWnd*, int x, int y, HMENU hMenu, BOOL, BOOL) override {
    at = CPoint(x, y);
    items = hMenu != nullptr ? ::GetMenuItemCount(hMenu) : -1;
    if (hMenu != nullptr) ::DestroyMenu(hMenu);
    return TRUE;
  }
  CPoint at;
  int items = -2;
};

class RecordingMenuButton : public CPlxToolbarMenuButton {
 public:
  using CPlxToolbarMenuButton::CPlxToolbarMenuButton;
  CPlxPopupMenu* CreatePopupMenu() override {
    popups.push_back(std::make_unique<RecordingPopup>());
    popups.back()->m_bRightAlign = rightAlign;
    return popups.back().get();
  }
  RecordingPopup* Last() { return popups.empty() ? nullptr : popups.back().get(); }
  std::vector<std::unique_ptr<RecordingPopup>> popups;
  BOOL rightAlign = FALSE;
};

// A second serialisable item kind, to see that sub-items keep their own class.
class CTestMenuItemKind : public CPlxToolbarMenuButton {
  DECLARE_SERIAL(CTestMenuItemKind)
};
IMPLEMENT_SERIAL(CTestMenuItemKind, CPlxToolbarMenuButton, VERSIONABLE_SCHEMA | 1)

// File menu: a default command, a greyed one, a column break, a separator and a sub-menu.
HMENU MakeMenu() {
  HMENU sub = ::CreatePopupMenu();
  ::AppendMenu(sub, MF_STRING, 300, "&First");
  ::AppendMenu(sub, MF_STRING | MF_GRAYED, 301, "&Second");
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenu(menu, MF_STRING, 100, "&Open\tCtrl+O");
  ::AppendMenu(menu, MF_STRING | MF_GRAYED, 101, "&Paste");
  ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenu(menu, MF_STRING | MF_MENUBREAK, 102, "Second &column");
  ::AppendMenu(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&Recent");
  ::SetMenuDefaultItem(menu, 100, FALSE);
  return menu;
}

std::string Text(HMENU menu, int i) {
  char buffer[128] = {};
  ::GetMenuString(menu, i, buffer, sizeof buffer, MF_BYPOSITION);
  return buffer;
}

}  // namespace

TEST(PlxToolbarMenuButton, NativeMenuRoundTripKeepsDefaultDisabledBreakAndSubMenu) {
  HMENU source = MakeMenu();
  CPlxToolbarMenuButton button(0, source, -1, "&File");
  ::DestroyMenu(source);
  ASSERT_EQ(button.m_lstSubItems.GetCount(), 5);

  HMENU out = button.ExportToMenu();
  ASSERT_NE(out, nullptr);
  struct Row {
    UINT id;
    const char* text;
    UINT stateBits;  // of MF_DISABLED | MF_GRAYED | MF_MENUBREAK | MF_SEPARATOR
  } const rows[] = {
      {100, "&Open\tCtrl+O", 0},
      {101, "&Paste", MF_DISABLED},  // a greyed item comes back disabled, not
                                     // greyed
      {0, "", MF_SEPARATOR},
      {102, "Second &column", MF_MENUBREAK},
      {(UINT)-1, "&Recent", 0},
  };
  ASSERT_EQ(::GetMenuItemCount(out), 5);
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(::GetMenuItemID(out, i), rows[i].id);
    EXPECT_EQ(Text(out, i), rows[i].text);
    const UINT state = ::GetMenuState(out, i, MF_BYPOSITION);
    EXPECT_EQ(state & (MF_DISABLED | MF_GRAYED | MF_MENUBREAK | MF_SEPARATOR), rows[i].stateBits);
  }
  EXPECT_EQ(::GetMenuDefaultItem(out, FALSE, GMDI_USEDISABLED), 100u);
  HMENU sub = ::GetSubMenu(out, 4);
  ASSERT_NE(sub, nullptr);
  ASSERT_EQ(::GetMenuItemCount(sub), 2);
  EXPECT_EQ(::GetMenuItemID(sub, 1), 301u);
  EXPECT_EQ(::GetMenuState(sub, 1, MF_BYPOSITION) & (MF_DISABLED | MF_GRAYED), (UINT)MF_DISABLED);
  ::DestroyMenu(out);
}

TEST(PlxToolbarMenuButton, WhatAnEmptyButtonExportsAndWhetherItOpens) {
  struct Case {
    UINT id;
    BOOL openOnClick;
    bool exports;  // a (possibly empty) menu rather than none
  } const cases[] = {
      {100, FALSE, false},  // a real command without sub-items opens nothing
      {100, TRUE, true},
      {0, FALSE, true},
      {(UINT)-1, FALSE, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    RecordingMenuButton button(c.id, nullptr, -1, "Item");
    button.m_bOpenMenuOnClick = c.openOnClick;
    HMENU menu = button.ExportToMenu();
    EXPECT_EQ(menu != nullptr, c.exports);
    if (menu != nullptr) {
      EXPECT_EQ(::GetMenuItemCount(menu), 0);
      ::DestroyMenu(menu);
    }
    EXPECT_EQ(button.OpenPopupMenu(nullptr) != FALSE, c.exports);
    EXPECT_EQ(button.popups.size(), c.exports ? 1u : 0u);
    if (c.exports) EXPECT_EQ(button.Last()->items, 0);
    button.m_pPopupMenu = nullptr;
  }
  // A menu that fails to import leaves no sub-items.
  CPlxToolbarMenuButton button(0, reinterpret_cast<HMENU>(0x1234), -1, "x");
  EXPECT_TRUE(button.m_lstSubItems.IsEmpty());
}

TEST(PlxToolbarMenuButton, ArchiveKeepsSubItemsTheirOrderAndTheirClass) {
  CPlxToolbarMenuButton button(0, nullptr, -1, "&Edit");
  auto* plain = new CPlxToolbarMenuButton(200, nullptr, -1, "Cu&t");
  auto* other = new CTestMenuItemKind;
  other->m_nID = 201;
  other->m_strText = "&Copy";
  other->m_nStyle = TBBS_DISABLED | PLX_TBBS_BREAK;
  button.m_lstSubItems.AddTail(plain);
  button.m_lstSubItems.AddTail(other);

  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    button.Serialize(ar);
  }
  file.SeekToBegin();
  CPlxToolbarMenuButton read;
  {
    CArchive ar(&file, CArchive::load);
    read.Serialize(ar);
  }
  ASSERT_EQ(read.m_lstSubItems.GetCount(), 2);
  EXPECT_TRUE(read.CompareWith(button));
  auto* first = static_cast<CPlxToolbarMenuButton*>(read.m_lstSubItems.GetHead());
  auto* second = static_cast<CPlxToolbarMenuButton*>(read.m_lstSubItems.GetTail());
  EXPECT_EQ(first->GetRuntimeClass(), RUNTIME_CLASS(CPlxToolbarMenuButton));
  EXPECT_EQ(second->GetRuntimeClass(), RUNTIME_CLASS(CTestMenuItemKind));
  EXPECT_EQ(std::string(second->m_strText), "&Copy");
  EXPECT_EQ(second->m_nStyle, TBBS_DISABLED | PLX_TBBS_BREAK);

  // A copy is deep: the copy's items are its own, of the same classes.
  CPlxToolbarMenuButton copy;
  copy.CopyFrom(button);
  EXPECT_TRUE(copy.CompareWith(button));
  EXPECT_NE(copy.m_lstSubItems.GetHead(), button.m_lstSubItems.GetHead());
  EXPECT_EQ(static_cast<CObject*>(copy.m_lstSubItems.GetTail())->GetRuntimeClass(),
            RUNTIME_CLASS(CTestMenuItemKind));
}

class PlxMenuButtonOnBar : public shelltest::RegistryFixture {
 protected:
  void SetUp() override {
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    m_host = pictavo::test::CreateHostWindow(400, 200);
    ASSERT_TRUE(m_bar.Create(CWnd::FromHandle(m_host), WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 1001));
  }
  void TearDown() override {
    m_bar.DestroyWindow();
    DestroyWindow(m_host);
    pictavo::test::PumpPending();
    CPlxVisualManager::DestroyInstance();
  }
  HWND m_host = nullptr;
  CPlxToolBar m_bar;
};

TEST_F(PlxMenuButtonOnBar, PopupOpensBelowBesideOrRightAlignedAndASecondClickClosesIt) {
  HMENU menu = MakeMenu();
  struct Case {
    const char* name;
    BOOL openToRight;
    BOOL rightAlign;
    CPoint expected;  // in the bar's client coordinates
  } const cases[] = {
      {"below", FALSE, FALSE, CPoint(10, 29)},
      {"to the right", TRUE, FALSE, CPoint(59, 8)},
      {"right-aligned", FALSE, TRUE, CPoint(59, 29)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingMenuButton button(0, menu, -1, "&File");
    button.OnChangeParentWnd(&m_bar);
    EXPECT_TRUE(button.m_bArrowPart);  // no command of its own: the whole button opens the menu
    button.m_rect = CRect(10, 8, 60, 30);
    button.m_bOpenToRight = c.openToRight;
    button.rightAlign = c.rightAlign;
    ASSERT_TRUE(button.OnClick(&m_bar, FALSE));
    ASSERT_NE(button.Last(), nullptr);
    CPoint expected = c.expected;
    m_bar.ClientToScreen(&expected);
    EXPECT_EQ(button.Last()->at, expected);
    EXPECT_EQ(button.Last()->GetDropDirection(), CPlxPopupMenu::DROP_DIRECTION_BOTTOM);
    EXPECT_EQ(button.Last()->m_pParentBtn, &button);
    EXPECT_EQ(button.Last()->items, 5);
    EXPECT_TRUE(button.IsDroppedDown());
    // Clicked again while open: the popup goes and the click is taken.
    EXPECT_TRUE(button.OnClick(&m_bar, FALSE));
    EXPECT_FALSE(button.IsDroppedDown());
    EXPECT_EQ(button.popups.size(), 1u);
  }
  ::DestroyMenu(menu);
}

// Popups that end while they open: one whose window refuses to be made, one closed before its
// Create returns. Either deletes itself; the button neither reads nor frees it again, stays
// closed and opens the next popup that does come up.
class EndingPopup : public CPlxPopupMenu {
 public:
  enum class End { None, RefusesItsWindow, ClosedWhileOpening };
  explicit EndingPopup(End end) : m_end(end) {}
  ~EndingPopup() override { ++deleted; }
  BOOL Create(CWnd* pWndParent, int x, int y, HMENU hMenu, BOOL bLocked, BOOL bOwnMessage) override {
    if (!CPlxPopupMenu::Create(pWndParent, x, y, hMenu, bLocked, bOwnMessage)) return FALSE;
    if (m_end == End::ClosedWhileOpening) DestroyWindow();  // deletes this
    return TRUE;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CREATE && m_end == End::RefusesItsWindow) return -1;
    return CPlxPopupMenu::WindowProc(message, wParam, lParam);
  }
  static inline int deleted = 0;

 private:
  End m_end;
};

class EndingMenuButton : public CPlxToolbarMenuButton {
 public:
  using CPlxToolbarMenuButton::CPlxToolbarMenuButton;
  CPlxPopupMenu* CreatePopupMenu() override { return new EndingPopup(end); }
  EndingPopup::End end = EndingPopup::End::None;
};

TEST_F(PlxMenuButtonOnBar, APopupThatEndsWhileOpeningIsGoneOnceAndTheButtonStaysClosed) {
  HMENU menu = MakeMenu();
  for (auto end : {EndingPopup::End::RefusesItsWindow, EndingPopup::End::ClosedWhileOpening}) {
    SCOPED_TRACE(end == EndingPopup::End::RefusesItsWindow ? "refuses its window" : "closed while opening");
    EndingMenuButton button(0, menu, -1, "&File");
    button.OnChangeParentWnd(&m_bar);
    button.m_rect = CRect(10, 8, 60, 30);
    button.m_pWndMessage = &m_bar;  // handed to the popup once it is open
    button.end = end;
    EndingPopup::deleted = 0;
    EXPECT_FALSE(button.OnClick(&m_bar, FALSE));
    EXPECT_EQ(EndingPopup::deleted, 1);
    EXPECT_FALSE(button.IsDroppedDown());
    button.end = EndingPopup::End::None;
    ASSERT_TRUE(button.OnClick(&m_bar, FALSE));
    ASSERT_TRUE(button.IsDroppedDown());
    EXPECT_EQ(button.GetPopupMenu()->m_pMessageWnd, &m_bar);
    button.OnCancelMode();
    pictavo::test::PumpPending();
    EXPECT_EQ(EndingPopup::deleted, 2);
  }
  ::DestroyMenu(menu);
}

TEST_F(PlxMenuButtonOnBar, ASubMenuOpensBesideItsPopupBarOnTheSideItsLayoutReads) {
  CPlxPopupMenuBar popupBar;
  ASSERT_TRUE(popupBar.Create(CWnd::FromHandle(m_host), WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 1003));
  popupBar.SetWindowPos(nullptr, 20, 40, 120, 100, SWP_NOZORDER);
  const int offset = CPlxVisualManager::GetInstance()->GetPopupMenuOffset();
  struct Case {
    const char* name;
    BOOL rtl;
    CPlxPopupMenu::DROP_DIRECTION direction;
  } const cases[] = {
      {"left to right", FALSE, CPlxPopupMenu::DROP_DIRECTION_RIGHT},
      {"right to left", TRUE, CPlxPopupMenu::DROP_DIRECTION_LEFT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.rtl) popupBar.ModifyStyleEx(0, WS_EX_LAYOUTRTL);
    RecordingMenuButton item((UINT)-1, nullptr, -1, "&Recent");
    item.m_lstSubItems.AddTail(new CPlxToolbarMenuButton(300, nullptr, -1, "&First"));
    item.OnChangeParentWnd(&popupBar);
    EXPECT_TRUE(item.m_bMenuItem);
    EXPECT_TRUE(item.m_bArrowPart);
    item.m_rect = CRect(0, 20, 120, 40);
    ASSERT_TRUE(item.OpenPopupMenu(&popupBar));
    CRect window;
    popupBar.GetWindowRect(&window);
    CPoint top(0, 18);
    popupBar.ClientToScreen(&top);
    const CPoint expected(c.rtl ? window.left - offset : window.right + offset, top.y);
    EXPECT_EQ(item.Last()->at, expected);
    EXPECT_EQ(item.Last()->GetDropDirection(), c.direction);
    EXPECT_EQ(item.Last()->items, 1);
    item.m_pPopupMenu = nullptr;
  }
  popupBar.DestroyWindow();
}

TEST_F(PlxMenuButtonOnBar, SplitButtonRunsItsCommandUnlessTheArrowIsClicked) {
  HMENU menu = MakeMenu();
  RecordingMenuButton button(100, menu, -1, "&Open");
  ::DestroyMenu(menu);
  button.OnChangeParentWnd(&m_bar);
  ASSERT_TRUE(button.m_bArrowPart);
  button.m_rect = CRect(0, 0, 40, 22);
  Canvas canvas(60, 30);
  CDC dc;
  dc.Attach(canvas.Dc());
  button.OnDraw(&dc, button.m_rect, nullptr, TRUE, FALSE, FALSE);
  dc.Detach();
  ASSERT_FALSE(button.m_rectArrow.IsRectEmpty());
  EXPECT_GT(button.m_rectArrow.left, 20);  // the arrow part sits at the right end

  struct Case {
    const char* name;
    CPoint client;
    BOOL taken;
  } const cases[] = {
      {"main part", CPoint(5, 10), FALSE},
      {"arrow part", CPoint(button.m_rectArrow.CenterPoint()), TRUE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CPoint screen = c.client;
    m_bar.ClientToScreen(&screen);
    ::SetCursorPos(screen.x, screen.y);
    EXPECT_EQ(button.OnClick(&m_bar, FALSE), c.taken);
    EXPECT_EQ(button.m_bClickedOnArrow, c.taken);
    EXPECT_EQ(button.popups.size(), c.taken ? 1u : 0u);
  }
  button.OnCancelMode();
  EXPECT_FALSE(button.IsDroppedDown());
}

// ---- menu rows, pixel for pixel ----

namespace {

std::string BarsReference(const std::string& name) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source ? source : ".") + "/tests/toolkit/bars/reference/" + name;
}

struct RowSpec {
  const char* name;
  UINT id;
  int image;
  const char* text;
  UINT style;
  BOOL highlight;
  BOOL radio;
  BOOL textFits;
};

// image, highlighted image, check, radio, shortcut, disabled (embossed under the classic look),
// ellipsis, sub-menu arrow, window command glyph, the menu's default item
const RowSpec kRows[] = {
    {"image", 57601, 1, "&Open\tCtrl+O", 0, FALSE, FALSE, TRUE},
    {"image hot", 57601, 1, "&Open\tCtrl+O", 0, TRUE, FALSE, TRUE},
    {"check", 40001, -1, "&Word wrap", TBBS_CHECKED, FALSE, FALSE, TRUE},
    {"radio hot", 40002, -1, "&Large icons", TBBS_CHECKED, TRUE, TRUE, TRUE},
    {"disabled", 57637, 2, "&Paste\tCtrl+V", TBBS_DISABLED, FALSE, FALSE, TRUE},
    {"ellipsis", 40003, -1, "A label far too long for the row it is in", 0, FALSE, FALSE, FALSE},
    {"arrow", (UINT)-1, -1, "&Recent files", 0, FALSE, FALSE, TRUE},
    {"close", 0xF060, -1, "&Close\tAlt+F4", 0, FALSE, FALSE, TRUE},
    {"default", 40004, -1, "&Properties", 0, FALSE, FALSE, TRUE},
};

constexpr int kRowWidth = 180;
constexpr int kRowHeight = 22;

}  // namespace

class PlxMenuItemLook : public shelltest::RegistryFixture {
 protected:
  void SetUp() override {
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    m_host = pictavo::test::CreateHostWindow(400, 200);
  }
  void TearDown() override {
    m_strip.DestroyWindow();
    DestroyWindow(m_host);
    pictavo::test::PumpPending();
    CPlxToolBar::CleanUpImages();
    CPlxMenuGlyphs::CleanUp();
    CPlxVisualManager::SetDefaultManager(nullptr);
    CPlxVisualManager::DestroyInstance();
  }

  void Check(const std::string& name, CRuntimeClass* manager) {
    CPlxVisualManager::SetDefaultManager(manager);
    CPlxVisualManager::GetInstance();  // made before the strip loads: it re-reads the colours
    ASSERT_TRUE(m_strip.Create(CWnd::FromHandle(m_host), WS_CHILD | CBRS_ALIGN_TOP, 1002));
    ASSERT_TRUE(m_strip.LoadToolBar(kMainToolbar));  // the shared images the rows show
    CPlxPopupMenuBar menuBar;
    menuBar.m_uiDefaultItem = 40004;
    const int count = static_cast<int>(std::size(kRows));
    Canvas canvas(kRowWidth, kRowHeight * count, g_plxGlobalData.clrBtnFace);
    CDC dc;
    dc.Attach(canvas.Dc());
    CFont* oldFont = dc.SelectObject(&g_plxGlobalData.fontRegular);
    // The popup bar paints its rows inside one drawing series of the strip.
    PlxImageDrawState series;
    ASSERT_TRUE(CPlxToolBar::m_sharedImages.PrepareDrawImage(series, CPlxToolBar::GetMenuImageSize()));
    for (int i = 0; i < count; ++i) {
      const RowSpec& row = kRows[i];
      CPlxToolbarMenuButton item(row.id, nullptr, row.image, row.text);
      item.m_nStyle = row.style;
      item.m_bTextFits = row.textFits;
      item.OnChangeParentWnd(&menuBar);
      if (row.radio) item.m_bRadio = TRUE;
      item.m_rect = CRect(0, i * kRowHeight, kRowWidth, (i + 1) * kRowHeight);
      item.OnDraw(&dc, item.m_rect, &CPlxToolBar::m_sharedImages, TRUE, FALSE, row.highlight);
      EXPECT_TRUE(item.m_rectArrow.IsRectEmpty()) << row.name;  // a menu row has no split arrow
    }
    CPlxToolBar::m_sharedImages.EndDrawImage(series);
    dc.SelectObject(oldFont);
    dc.Detach();
    pictavo::test::WriteCanvasPng(canvas, pictavo::test::SnapshotPath("menu-items-" + name));
    const std::string reference = BarsReference("menu-items-" + name);
    const char* flag = std::getenv("PICTAVO_WRITE_REFERENCES");
    if (flag != nullptr && std::string(flag) == "1")
      ASSERT_TRUE(pictavo::test::WriteCanvasPng(canvas, reference));
    EXPECT_EQ(pictavo::test::CountDifferences(canvas, reference), 0) << name << " differs from " << reference;
  }

  HWND m_host = nullptr;
  CPlxToolBar m_strip;
};

// Strips take their greys from the manager made before them, so each picture is drawn in a fresh
// process, whatever the tests before left behind.
bool InLookChild() {
  return std::getenv("PICTAVO_MENU_LOOK_CHILD") != nullptr;
}

void ExpectChildPasses(const char* test) {
  const pictavo::test::ChildResult child =
      pictavo::test::RunTestInChild(test, {{"PICTAVO_MENU_LOOK_CHILD", "1"}});
  EXPECT_EQ(child.status, 0) << child.output;
  EXPECT_NE(child.output.find("[  PASSED  ] 1 test"), std::string::npos) << child.output;
}

TEST_F(PlxMenuItemLook, RowsUnderTheProgramsManager) {
  if (!InLookChild()) return ExpectChildPasses("PlxMenuItemLook.RowsUnderTheProgramsManager");
  Check("xp.png", RUNTIME_CLASS(CPlxWinXPVisualManager));
}

TEST_F(PlxMenuItemLook, RowsUnderTheClassicManager) {
  if (!InLookChild()) return ExpectChildPasses("PlxMenuItemLook.RowsUnderTheClassicManager");
  Check("classic.png", RUNTIME_CLASS(CPlxVisualManager));
}

TEST(PlxMenuItemDraw, AnItemThatHidItsImageShowsTheImageItHasFromThenOn) {
  struct Case {
    int image;
    int userImage;
    BOOL userFlag;
    BOOL shown;      // m_bImage afterwards
    BOOL userShown;  // m_bUserImage afterwards
  } const cases[] = {
      {-1, 3, FALSE, TRUE, TRUE},   // a user image wins
      {2, -1, TRUE, TRUE, FALSE},   // else the standard image
      {-1, -1, TRUE, FALSE, TRUE},  // with neither, both flags stay
  };
  CPlxPopupMenuBar menuBar;
  Canvas canvas(150, 22);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.image * 10 + c.userImage);
    CPlxToolbarMenuButton item(40010, nullptr, -1, "Item");
    item.OnChangeParentWnd(&menuBar);  // text only in a menu
    item.m_iImage = c.image;
    item.m_iUserImage = c.userImage;
    item.m_bUserImage = c.userFlag;
    item.m_rect = CRect(0, 0, 150, 22);
    CDC dc;
    dc.Attach(canvas.Dc());
    item.DrawMenuItem(&dc, item.m_rect, nullptr, FALSE, FALSE, TRUE);
    dc.Detach();
    EXPECT_EQ(item.m_bImage, c.shown);
    EXPECT_EQ(item.m_bUserImage, c.userShown);
  }
  CPlxVisualManager::DestroyInstance();
}
