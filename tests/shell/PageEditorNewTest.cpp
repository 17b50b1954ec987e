// The organize page: the file browser panel opens at its saved height, keeps the height the sizer
// gives it across later layouts, never goes below 100 pixels, hides and shows from the View
// menu's command, and passes the project notification to the panel before the album editor.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/comctl/CommCtrl.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/CmdUI.h"
#include "platform/res/ResourceModule.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/PageEditorNew.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/MessagePump.h"

using namespace shelltest;

namespace {

// A menu item's update pass that keeps the text it was given.
class TextCmdUI : public CCmdUI {
 public:
  CString text;
  void SetText(LPCTSTR lpszText) override { text = lpszText; }
};

class PageEditorNewTest : public RegistryFixture {
 protected:
  void SetUp() override {
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    // The file browser panel holds a tree view and a list view, as the program registers them.
    InitCommonControls();
    GetAppSettings()->Window.ExploreBarHeight = 250;
    ASSERT_TRUE(
        owner.CreateEx(0, nullptr, "Owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1000, 800), nullptr, 0));
    ASSERT_TRUE(page.Create(IDD_PAGE_EDITOR_NEW, &owner));
    page.ShowWindow(SW_SHOW);
    // The main window lays its page out more than once while it opens (its own size, then the
    // saved placement); the panel has reached its saved height by the second layout.
    Move(880, 680);
    Move(900, 700);
  }
  void TearDown() override {
    page.DestroyWindow();
    owner.DestroyWindow();
    pictavo::test::PumpPending();
    CWnd::DeleteTempMap();
  }
  void Move(int cx, int cy) {
    page.SendMessage(WM_MOVE_PAGE, MAKELONG(2, 0), MAKELONG(cx, cy));
    pictavo::test::PumpPending();
  }
  CRect Place(int id) {
    CRect rc;
    page.GetDlgItem(id)->GetWindowRect(&rc);
    page.ScreenToClient(&rc);
    return rc;
  }
  // What the sizer bar reports after the user dragged it by dy.
  void DragSizer(int dy) {
    _tagLayoutNotify notify{};
    notify.hdr.idFrom = IDC_EDITOR_SIZER;
    notify.hdr.code = LAYOUT_NOTIFY_SIZER_MOVED;
    notify.move.dy = dy;
    page.SendMessage(g_uWinMgrMsg, IDC_EDITOR_SIZER, reinterpret_cast<LPARAM>(&notify));
  }

  CWnd owner;
  CPageEditorNew page;
};

}  // namespace

TEST_F(PageEditorNewTest, PanelOpensAtTheSavedHeightAndKeepsTheDraggedOne) {
  EXPECT_EQ(Place(IDC_EXPLORE_BAR).Height(), 250);
  EXPECT_EQ(Place(IDC_EDITOR_SIZER), CRect(0, 250, 900, 254));
  EXPECT_EQ(Place(IDC_ALBUM_EDITOR), CRect(0, 254, 900, 700));

  DragSizer(40);
  EXPECT_EQ(Place(IDC_EXPLORE_BAR).Height(), 290);
  for (const CSize size : {CSize(1200, 900), CSize(800, 600)}) {
    Move(size.cx, size.cy);
    EXPECT_EQ(Place(IDC_EXPLORE_BAR).Height(), 290) << size.cx << "x" << size.cy;
    EXPECT_EQ(Place(IDC_ALBUM_EDITOR).bottom, size.cy);
  }
  int height = 0;
  int treeWidth = 0;
  EXPECT_TRUE(page.GetPanelSizes(height, treeWidth));
  EXPECT_EQ(height, 290);
  EXPECT_EQ(treeWidth, 270);  // the folder tree at the stored width
}

TEST_F(PageEditorNewTest, PanelNeverShrinksBelowAHundredPixels) {
  DragSizer(-200);
  Move(1000, 750);
  EXPECT_GE(Place(IDC_EXPLORE_BAR).Height(), 100);
}

TEST_F(PageEditorNewTest, HidingThePanelGivesTheAlbumEditorThePageAndTheMenuTextFollows) {
  const struct {
    bool panelVisible;
    const char* text;
  } steps[] = {{false, "&Show File Folder List Panel"}, {true, "&Hide File Folder List Panel"}};
  for (const auto& step : steps) {
    page.ToggleFileBrowser();
    EXPECT_EQ(page.GetDlgItem(IDC_EXPLORE_BAR)->IsWindowVisible() != FALSE, step.panelVisible);
    EXPECT_EQ(page.GetDlgItem(IDC_EDITOR_SIZER)->IsWindowVisible() != FALSE, step.panelVisible);
    EXPECT_EQ(Place(IDC_ALBUM_EDITOR).top, step.panelVisible ? 254 : 0);
    TextCmdUI ui;
    ui.m_nID = 32803;
    page.OnUpdateToggleFileBrowser(&ui);
    EXPECT_STREQ(ui.text.GetString(), step.text);
  }
}

TEST_F(PageEditorNewTest, ContextMenusHaveTheirPopupsByPosition) {
  // Item ids by position; -1 is a submenu, 0 a separator.
  const struct {
    CMenu* popup;
    std::vector<int> ids;
  } cases[] = {
      {page.GetPopupEditor(),
       {32934, 32918, 32922, 0, 32919, 32920, 0, 32834, 33926, 32808, 32783, 0, 32926, 33925, 32809, 0, 0,
        33924, 33923}},
      {page.GetPopupEditorFile(), {-1, -1, 0, 32923, 32924, 0, 32934}},
      {page.GetPopupEditorAlbum(), {32925, 32804, 32805, 0, 32820, 32809}},
      {page.GetPopupEditorMore(), {33926, 0, 32783, 32926, 33925, 32809, 0, 33924, 33923}},
      {page.GetPopupEditorVideoClipsDlg(), {32918, 32922, 32934, 0, 33924, 33923}},
  };
  for (const auto& c : cases) {
    ASSERT_NE(c.popup, nullptr);
    std::vector<int> ids;
    for (UINT i = 0; i < c.popup->GetMenuItemCount(); ++i)
      ids.push_back(static_cast<int>(c.popup->GetMenuItemID(static_cast<int>(i))));
    EXPECT_EQ(ids, c.ids);
  }
  // The file browser's View submenu holds its five views.
  CMenu* view = page.GetPopupEditorFile()->GetSubMenu(0);
  ASSERT_NE(view, nullptr);
  std::vector<UINT> views;
  for (UINT i = 0; i < view->GetMenuItemCount(); ++i)
    views.push_back(view->GetMenuItemID(static_cast<int>(i)));
  EXPECT_EQ(views, (std::vector<UINT>{32927, 32928, 32817, 32818, 32819}));
}
