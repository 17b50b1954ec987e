// The toolkit's MDI frame, MDI child and OLE in-place frames: the menu bar takes the children's
// menus, Window popups list the children, children without a system menu stay maximized, and the
// in-place frames hand g_pTopLevelFrame on.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/mfc/Document.h"
#include "tests/toolkit/core/FrameFixture.h"
#include "toolkit/core/PlxMDIChildWnd.h"
#include "toolkit/core/PlxMDIFrameWnd.h"
#include "toolkit/core/PlxOleIPFrameWnd.h"

using namespace frametest;

namespace {

constexpr UINT kFrameResource = 61200;  // File and Window menus
constexpr UINT kReportResource = 61201;
constexpr UINT kWindowsDialog = 0x7777;

class MDIFrame : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    mdi = new CPlxMDIFrameWnd;
    mdi->m_bAutoDelete = TRUE;
    ASSERT_TRUE(mdi->LoadFrame(kFrameResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    mdi->SetWindowPos(nullptr, 40, 30, 640, 480, SWP_NOZORDER);
    mdi->ShowWindow(SW_SHOW);
    hwnd = mdi->GetSafeHwnd();
    ASSERT_NE(mdi->m_hmenuWindow, nullptr);
  }
  void TearDown() override {
    if (::IsWindow(hwnd)) mdi->DestroyWindow();
    pictavo::test::PumpPending();
    FrameFixture::TearDown();
  }

  CPlxMDIChildWnd* NewChild(const std::string& title,
                            DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW) {
    auto* child = new CPlxMDIChildWnd;
    child->m_bAutoDelete = TRUE;
    EXPECT_TRUE(child->Create(nullptr, title.c_str(), style, CRect(10, 10, 210, 160), mdi)) << title;
    pictavo::test::PumpPending();
    return child;
  }

  // The texts of a popup's items: "-" a separator, "*" before a checked one.
  static std::vector<std::string> Items(CPlxPopupMenu* popup) {
    std::vector<std::string> items;
    for (int i = 0; i < popup->GetMenuBar()->GetCount(); ++i) {
      CPlxToolbarButton* item = popup->GetMenuBar()->GetButton(i);
      if (item->m_nStyle & TBBS_SEPARATOR)
        items.emplace_back("-");
      else
        items.push_back(std::string((item->m_nStyle & TBBS_CHECKED) ? "*" : "") +
                        std::string(item->m_strText));
    }
    return items;
  }

  // A popup like the Window menu's: two Window commands.
  CPlxPopupMenu* OpenWindowPopup() {
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenu(menu, MF_STRING, 57650, "&Cascade");
    ::AppendMenu(menu, MF_STRING, 57651, "&Tile");
    auto* popup = new CPlxPopupMenu;
    const BOOL created = popup->Create(mdi, 100, 100, menu);
    ::DestroyMenu(menu);
    pictavo::test::PumpPending();
    return created ? popup : nullptr;
  }

  CPlxMDIFrameWnd* mdi = nullptr;
  HWND hwnd = nullptr;
};

}  // namespace

TEST_F(MDIFrame, TheMenuBarTakesTheChildrensMenus) {
  CRecordingMenuBar mdiBar;
  ASSERT_TRUE(mdiBar.Create(mdi, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0xE806));
  if (mdi->m_Impl.GetMenuBar() == nullptr) mdi->m_Impl.SetMenuBar(&mdiBar);
  const HMENU frameMenu = mdi->m_Impl.GetDefaultMenu();
  ASSERT_NE(frameMenu, nullptr);
  EXPECT_EQ(::GetMenu(hwnd), nullptr) << "the window shows no menu of its own";
  EXPECT_EQ(mdiBar.GetDefaultMenu(), frameMenu);

  HMENU report = ::LoadMenu(AfxGetInstanceHandle(), MAKEINTRESOURCE(kReportResource));
  ASSERT_NE(report, nullptr);
  EXPECT_TRUE(mdi->OnSetMenu(report));
  EXPECT_EQ(mdiBar.GetMenu(), report);
  EXPECT_TRUE(mdi->OnSetMenu(nullptr));
  EXPECT_EQ(mdiBar.GetMenu(), frameMenu) << "no menu: the frame's own";

  // Through the MDI client, as a child's activation switches menus.
  ::SendMessage(mdi->m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(report),
                reinterpret_cast<LPARAM>(mdi->m_hmenuWindow));
  EXPECT_EQ(mdiBar.GetMenu(), report);
  EXPECT_EQ(::GetMenu(hwnd), nullptr) << "the client got a null frame menu";
  ::DestroyMenu(report);

  // Without a menu bar the frame keeps its Windows menus.
  mdi->m_Impl.m_pMenuBar = nullptr;
  EXPECT_FALSE(mdi->OnSetMenu(frameMenu));
  mdiBar.DestroyWindow();
}

// The menu bar shows the maximized child's buttons however the child got there: the frame's MDI
// requests, the child's own system commands, another child's activation, a close. The frame
// itself never moves.
TEST_F(MDIFrame, TheMenuBarFollowsTheChildsMaximizeRestoreAndClose) {
  CRecordingMenuBar mdiBar;
  ASSERT_TRUE(mdiBar.Create(mdi, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0xE806));
  if (mdi->m_Impl.GetMenuBar() == nullptr) mdi->m_Impl.SetMenuBar(&mdiBar);
  CPlxMDIChildWnd* first = NewChild("First");
  CPlxMDIChildWnd* second = NewChild("Second");
  enum class Do { kMaximize, kRestore, kSysMaximize, kSysRestore, kActivate, kClose };
  struct Step {
    Do action;
    CPlxMDIChildWnd* child;
    CPlxMDIChildWnd* shown;  // whose buttons the bar shows afterwards; null: none
  };
  const Step steps[] = {
      {Do::kMaximize, second, second}, {Do::kRestore, second, nullptr},   {Do::kSysMaximize, second, second},
      {Do::kActivate, first, first},   {Do::kSysRestore, first, nullptr}, {Do::kMaximize, first, first},
      {Do::kClose, first, second},     {Do::kClose, second, nullptr},
  };
  CRect before;
  mdi->GetWindowRect(before);
  int index = 0;
  for (const Step& s : steps) {
    const HWND shown = s.shown != nullptr ? s.shown->GetSafeHwnd() : nullptr;
    switch (s.action) {
      case Do::kMaximize:
        mdi->MDIMaximize(s.child);
        break;
      case Do::kRestore:
        mdi->MDIRestore(s.child);
        break;
      case Do::kSysMaximize:
        s.child->SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        break;
      case Do::kSysRestore:
        s.child->SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
        break;
      case Do::kActivate:
        mdi->MDIActivate(s.child);
        break;
      case Do::kClose:
        s.child->MDIDestroy();
        break;
    }
    pictavo::test::PumpPending();
    EXPECT_EQ(mdiBar.m_bMaximizedChild, shown != nullptr) << "step " << index;
    EXPECT_EQ(mdi->m_hwndMaximizedChild, shown) << "step " << index;
    ++index;
  }
  CRect after;
  mdi->GetWindowRect(after);
  EXPECT_EQ(before, after);
  mdi->m_Impl.m_pMenuBar = nullptr;
  mdiBar.DestroyWindow();
}

// A child showing a document of that title (no view needed).
class CDocChild : public CPlxMDIChildWnd {
 public:
  explicit CDocChild(const char* title) { m_doc.SetTitle(title); }
  CDocument* GetActiveDocument() override { return &m_doc; }
  CDocument m_doc;
};

// The frame's caption names the active document, and only the frame's own title is left once
// every document closed, whether the last one was maximized or not.
TEST_F(MDIFrame, TheTitleDropsTheDocumentNameWhenTheLastChildCloses) {
  const std::string base = static_cast<LPCTSTR>(mdi->GetTitle());
  ASSERT_FALSE(base.empty());
  for (const bool maximized : {false, true}) {
    std::vector<CDocChild*> children;
    for (const char* title : {"Album1", "Track1"}) {
      auto* child = new CDocChild(title);
      child->m_bAutoDelete = TRUE;
      ASSERT_TRUE(child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                                CRect(10, 10, 210, 160), mdi));
      mdi->MDIActivate(child);
      children.push_back(child);
    }
    pictavo::test::PumpPending();
    CString caption;
    mdi->GetWindowText(caption);
    EXPECT_EQ(std::string(caption), base + " - Track1");
    if (maximized) {
      mdi->MDIMaximize(children.back());
      pictavo::test::PumpPending();
      mdi->GetWindowText(caption);
      EXPECT_EQ(std::string(caption), base + " - [Track1]") << "maximized: the child's name once";
    }
    const std::string titles[] = {base + (maximized ? " - [Album1]" : " - Album1"), base};
    for (size_t i = 0; i < 2; ++i) {
      children[1 - i]->MDIDestroy();
      pictavo::test::PumpPending();
      CString caption;
      mdi->GetWindowText(caption);
      EXPECT_EQ(std::string(caption), titles[i]) << (maximized ? "maximized, " : "") << i + 1 << " closed";
    }
  }
}

TEST_F(MDIFrame, WindowPopupsListTheChildren) {
  struct Case {
    int children;
    UINT dialog;
    BOOL always;
    std::vector<std::string> tail;  // after the two Window commands
  };
  const Case cases[] = {
      {0, 0, FALSE, {}},
      {2, 0, FALSE, {"-", "&1 Doc1", "*&2 Doc2"}},
      {2, kWindowsDialog, FALSE, {"-", "&1 Doc1", "*&2 Doc2"}},
      {2, kWindowsDialog, TRUE, {"-", "&1 Doc1", "*&2 Doc2", "&Windows..."}},
      {11,
       0,
       FALSE,
       {"-", "&1 Doc1", "&2 Doc2", "&3 Doc3", "&4 Doc4", "&5 Doc5", "&6 Doc6", "&7 Doc7", "&8 Doc8",
        "&9 Doc9", "&More Windows..."}},
      {11,
       kWindowsDialog,
       FALSE,
       {"-", "&1 Doc1", "&2 Doc2", "&3 Doc3", "&4 Doc4", "&5 Doc5", "&6 Doc6", "&7 Doc7", "&8 Doc8",
        "&9 Doc9", "&Windows..."}},
  };
  for (const Case& c : cases) {
    std::vector<CPlxMDIChildWnd*> children;
    for (int i = 0; i < c.children; ++i) children.push_back(NewChild("Doc" + std::to_string(i + 1)));
    mdi->m_uiWindowsDlgMenuId = c.dialog;
    mdi->m_strWindowsDlgMenuText = "&Windows...";
    mdi->m_bShowWindowsDlgAlways = c.always;
    CPlxPopupMenu* popup = OpenWindowPopup();
    ASSERT_NE(popup, nullptr);
    std::vector<std::string> want{"&Cascade", "&Tile"};
    want.insert(want.end(), c.tail.begin(), c.tail.end());
    EXPECT_EQ(Items(popup), want) << c.children << " children, dialog " << c.dialog << " always " << c.always;
    popup->SendMessage(WM_CLOSE);
    pictavo::test::PumpPending();
    for (CPlxMDIChildWnd* child : children) child->MDIDestroy();
    pictavo::test::PumpPending();
  }
}

TEST_F(MDIFrame, AChildWithoutASystemMenuStaysMaximizedAndComesBackToItsPlace) {
  CPlxMDIChildWnd* plain = NewChild("Plain");
  EXPECT_FALSE(plain->IsZoomed());
  EXPECT_EQ(plain->m_pMDIFrame, mdi);

  CPlxMDIChildWnd* bare = NewChild("Bare", WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME);
  EXPECT_TRUE(bare->IsZoomed());
  EXPECT_EQ(bare->m_rectNormal, CRect(10, 10, 210, 160));

  // The system menu comes back: the child goes where it was made.
  bare->ModifyStyle(0, WS_SYSMENU);
  CRect rect;
  bare->GetWindowRect(rect);
  ::MapWindowPoints(nullptr, mdi->m_hWndMDIClient, reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect, CRect(10, 10, 210, 160));
  EXPECT_FALSE(bare->IsZoomed());

  // Moved, then without a system menu again: maximized, remembering the new place.
  bare->SetWindowPos(nullptr, 30, 40, 200, 150, SWP_NOZORDER | SWP_NOACTIVATE);
  bare->ModifyStyle(WS_SYSMENU, 0);
  EXPECT_TRUE(bare->IsZoomed());
  EXPECT_EQ(bare->m_rectNormal, CRect(30, 40, 230, 190));
}

TEST_F(MDIFrame, KeysTypedInAChildGoToTheOpenPopupNotToTheAccelerators) {
  ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'R', 61210}};
  mdi->m_hAccelTable = ::CreateAcceleratorTable(keys, 1);
  CPlxMDIChildWnd* child = NewChild("Doc");
  SetKey(VK_CONTROL, true);
  MSG msg{child->GetSafeHwnd(), WM_KEYDOWN, 'R', 1};
  const UINT before = CPlxToolBar::m_commandUsage.GetCount(61210);
  EXPECT_FALSE(child->PreTranslateMessage(&msg));
  EXPECT_TRUE(mdi->PreTranslateMessage(&msg)) << "the frame's accelerator without a popup";
  EXPECT_EQ(CPlxToolBar::m_commandUsage.GetCount(61210), before + 1);
  CPlxPopupMenu* popup = OpenWindowPopup();
  ASSERT_NE(popup, nullptr);
  EXPECT_FALSE(child->PreTranslateMessage(&msg));
  EXPECT_TRUE(mdi->PreTranslateMessage(&msg)) << "the popup takes the key";
  EXPECT_EQ(CPlxToolBar::m_commandUsage.GetCount(61210), before + 1) << "no command ran";
  SetKey(VK_CONTROL, false);
  if (::IsWindow(popup->GetSafeHwnd())) popup->SendMessage(WM_CLOSE);
  pictavo::test::PumpPending();
}

TEST_F(MDIFrame, HooksAreFoundByKindInTheToolkitsOrder) {
  EXPECT_EQ(CPlxToolkitFrame(mdi).GetMDIFrame(), mdi);
  EXPECT_EQ(CPlxToolkitFrame(mdi).GetImpl(), &mdi->m_Impl);
  EXPECT_EQ(CPlxToolkitFrame(&frame).GetImpl(), &frame.m_Impl);
  CFrameWnd plain;
  EXPECT_FALSE(CPlxToolkitFrame(&plain)) << "a frame of no toolkit kind";
  EXPECT_FALSE(CPlxToolkitFrame(nullptr));
}

// Activating in-place frames makes each the top-level frame in turn; deactivating or destroying
// one gives the place back to the one before it.
TEST_F(MDIFrame, InPlaceFramesHandTheTopLevelFrameOn) {
  auto first = std::make_unique<CPlxOleIPFrameWnd>();
  auto second = std::make_unique<CPlxOleDocIPFrameWnd>();
  ASSERT_TRUE(first->Create(nullptr, "First", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100)));
  ASSERT_TRUE(second->Create(nullptr, "Second", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100)));
  // Each became the top-level frame as it was shown and activated; the first gave its place up
  // when it lost the activation.
  EXPECT_EQ(g_pTopLevelFrame, second.get());
  EXPECT_EQ(PlxGetToolkitFrame(&bar).GetFrame(), second.get()) << "asked before the window's own frame";

  // The first activated while the second still holds the place (as an in-place frame of another
  // container would): it takes over and remembers the second.
  first->SetActiveWindow();
  g_pTopLevelFrame = second.get();
  first->SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(g_pTopLevelFrame, first.get());
  EXPECT_EQ(first->m_hwndLastTopLevelFrame, second->GetSafeHwnd());

  HWND popup = OpenPopup(100, 100)->GetSafeHwnd();
  first->DestroyWindow();
  pictavo::test::PumpPending();
  EXPECT_EQ(g_pTopLevelFrame, second.get()) << "the one before comes back";
  EXPECT_FALSE(IsOpen(popup)) << "the open popup went with it";

  second->SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_EQ(g_pTopLevelFrame, nullptr);
  second->DestroyWindow();
  pictavo::test::PumpPending();
}
