// The windows dialog of an MDI frame with three children, driven by the messages its buttons and
// list send: listing, activating, saving, closing (with a child that refuses), arranging, the
// buttons' states; the MDI client's menu routing; a child without a system menu.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/mfc/Document.h"
#include "platform/user/Mdi.h"
#include "platform/user/MessageBox.h"
#include "tests/toolkit/core/FrameFixture.h"
#include "toolkit/core/PlxMDIChildWnd.h"
#include "toolkit/core/PlxMDIFrameWnd.h"
#include "toolkit/core/PlxWindowListDlg.h"

using namespace frametest;

namespace {

constexpr UINT kFrameResource = 61200;  // File and Window menus
constexpr UINT kReportResource = 61201;

// A 16 x 16 icon of one colour with a white frame.
HICON MakeIcon(DWORD argb) {
  std::vector<DWORD> bits(16 * 16, argb);
  for (int i = 0; i < 16; ++i) bits[i] = bits[15 * 16 + i] = bits[i * 16] = bits[i * 16 + 15] = 0xFFFFFFFF;
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = ::CreateBitmap(16, 16, 1, 32, bits.data());
  info.hbmMask = ::CreateBitmap(16, 16, 1, 1, nullptr);
  HICON icon = ::CreateIconIndirect(&info);
  ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
  return icon;
}

// A document that counts its saves instead of writing a file.
class CCountingDoc : public CDocument {
 public:
  BOOL DoFileSave() override {
    ++saves;
    return TRUE;
  }
  int saves = 0;
};

// A child that can be read-only, refuse to close or hold a document.
class CTestChild : public CPlxMDIChildWnd {
 public:
  BOOL IsReadOnly() override { return readOnly; }
  CDocument* GetActiveDocument() override { return &doc; }
  BOOL readOnly = FALSE;
  BOOL refuseClose = FALSE;
  CCountingDoc doc;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CLOSE) {
      if (refuseClose) return 0;
      MDIDestroy();
      return 0;
    }
    return CPlxMDIChildWnd::WindowProc(message, wParam, lParam);
  }
};

// An MDI frame that can paint its client's background itself.
class CPaintingFrame : public CPlxMDIFrameWnd {
 public:
  BOOL OnEraseMDIClientBackground(CDC*) override {
    ++asked;
    return paints;
  }
  int asked = 0;
  BOOL paints = FALSE;
};

// The dialog with a script: each step runs from a message the dialog posts itself, inside its
// own modal loop, the last one ending it.
class CScriptedList : public CPlxWindowListDlg {
 public:
  using CPlxWindowListDlg::CPlxWindowListDlg;
  std::vector<std::function<void(CScriptedList&)>> steps;

  BOOL OnInitDialog() override {
    CPlxWindowListDlg::OnInitDialog();
    PostMessage(WM_APP);
    return TRUE;
  }
  // The titles listed, "*" before a selected one.
  std::vector<std::string> Listed() const {
    std::vector<std::string> items;
    for (int i = 0; i < m_wndList.GetCount(); ++i) {
      CString text;
      m_wndList.GetText(i, text);
      items.push_back(std::string(m_wndList.GetSel(i) > 0 ? "*" : "") + std::string(text));
    }
    return items;
  }
  // Selects exactly the listed titles, as the user's clicks would, and tells the dialog.
  void Select(const std::vector<std::string>& titles) {
    for (int i = 0; i < m_wndList.GetCount(); ++i) {
      CString text;
      m_wndList.GetText(i, text);
      bool want = false;
      for (const std::string& t : titles) want |= t == std::string(text);
      m_wndList.SetSel(i, want);
    }
    SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LIST, LBN_SELCHANGE),
                reinterpret_cast<LPARAM>(m_wndList.GetSafeHwnd()));
  }
  // Presses a button (a disabled one ignores it, as it ignores the mouse).
  void Press(int id) { GetDlgItem(id)->SendMessage(BM_CLICK); }
  // "A" activate, "S" save, "C" close, "H" tile horizontally, "V" tile vertically, "D" cascade,
  // "M" minimise: the letters of the enabled buttons.
  std::string Enabled() const {
    std::string on;
    const std::pair<int, char> buttons[] = {{IDC_ACTIVATE, 'A'},  {IDC_SAVE, 'S'},      {IDC_CLOSE, 'C'},
                                            {IDC_TILE_HORZ, 'H'}, {IDC_TILE_VERT, 'V'}, {IDC_CASCADE, 'D'},
                                            {IDC_MINIMIZE, 'M'}};
    for (auto [id, letter] : buttons)
      if (GetDlgItem(id)->IsWindowEnabled()) on += letter;
    return on;
  }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_APP) {
      if (next < steps.size()) {
        steps[next++](*this);
        if (GetSafeHwnd() != nullptr && next < steps.size()) PostMessage(WM_APP);
      }
      return 0;
    }
    return CPlxWindowListDlg::WindowProc(message, wParam, lParam);
  }
  size_t next = 0;
};

class WindowList : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    mdi = painting = new CPaintingFrame;
    mdi->m_bAutoDelete = TRUE;
    ASSERT_TRUE(mdi->LoadFrame(kFrameResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    mdi->SetWindowPos(nullptr, 40, 30, 640, 480, SWP_NOZORDER);
    mdi->ShowWindow(SW_SHOW);
    hwnd = mdi->GetSafeHwnd();
    for (const char* title : {"Doc1", "Doc2", "Doc3"}) children.push_back(NewChild(title));
  }
  void TearDown() override {
    if (::IsWindow(hwnd)) mdi->DestroyWindow();
    pictavo::test::PumpPending();
    FrameFixture::TearDown();
  }

  CTestChild* NewChild(const std::string& title, DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW) {
    auto* child = new CTestChild;
    child->m_bAutoDelete = TRUE;
    const int n = static_cast<int>(children.size());
    EXPECT_TRUE(child->Create(nullptr, title.c_str(), style,
                              CRect(10 + 20 * n, 10 + 20 * n, 210 + 20 * n, 160 + 20 * n), mdi))
        << title;
    pictavo::test::PumpPending();
    return child;
  }
  HWND Active() const {
    return reinterpret_cast<HWND>(::SendMessage(mdi->m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0));
  }
  bool Open(int i) const { return ::IsWindow(handles[i]); }
  void KeepHandles() {
    handles.clear();
    for (CTestChild* c : children) handles.push_back(c->GetSafeHwnd());
  }

  CPlxMDIFrameWnd* mdi = nullptr;
  CPaintingFrame* painting = nullptr;
  HWND hwnd = nullptr;
  std::vector<CTestChild*> children;
  std::vector<HWND> handles;
};

}  // namespace

// The whole road through one modal run: the list, Save, Close Window on two children, then
// Activate ends it; a second run ends with OK and changes nothing.
TEST_F(WindowList, ListSaveCloseTwoActivateThenOK) {
  KeepHandles();
  children[1]->readOnly = TRUE;
  CScriptedList dialog(mdi);
  dialog.steps = {
      [&](CScriptedList& d) {
        // Window order is the stacking order: the newest child first, the active one selected.
        EXPECT_EQ(d.Listed(), (std::vector<std::string>{"*Doc3", "Doc2", "Doc1"}));
        EXPECT_EQ(d.Enabled(), "ASCM");
        EXPECT_GT(d.m_wndList.GetHorizontalExtent(), ::GetSystemMetrics(SM_CXHSCROLL) + 30);
      },
      [&](CScriptedList& d) {
        d.Select({"Doc2", "Doc1"});
        EXPECT_EQ(d.Enabled(), "SCHVDM");
        d.Press(CPlxWindowListDlg::IDC_SAVE);
        EXPECT_EQ(children[0]->doc.saves, 1) << "Doc1 saved";
        EXPECT_EQ(children[1]->doc.saves, 0) << "Doc2 is read-only";
        EXPECT_EQ(children[2]->doc.saves, 0) << "Doc3 not selected";
        EXPECT_EQ(d.Listed(), (std::vector<std::string>{"*Doc3", "Doc2", "Doc1"}))
            << "rebuilt, active selected";
      },
      [&](CScriptedList& d) {
        d.Select({"Doc3", "Doc1"});
        d.Press(CPlxWindowListDlg::IDC_CLOSE);
        EXPECT_FALSE(Open(0));
        EXPECT_FALSE(Open(2));
        EXPECT_TRUE(Open(1));
        EXPECT_EQ(d.Listed(), (std::vector<std::string>{"*Doc2"}));
        EXPECT_EQ(d.Enabled(), "ACM") << "one read-only child left";
      },
      [&](CScriptedList& d) { d.Press(CPlxWindowListDlg::IDC_ACTIVATE); },
  };
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(Active(), handles[1]);

  NewChild("Doc4");
  const HWND before = Active();
  CScriptedList again(mdi);
  again.steps = {[&](CScriptedList& d) {
    d.Select({"Doc2"});
    d.Press(IDOK);
  }};
  EXPECT_EQ(again.DoModal(), IDOK);
  EXPECT_EQ(Active(), before) << "OK activates nothing";
}

// Activate restores a minimised child; a double-click in the list activates as well.
TEST_F(WindowList, ActivateRestoresAMinimisedChild) {
  KeepHandles();
  ::ShowWindow(handles[0], SW_MINIMIZE);
  for (bool doubleClick : {false, true}) {
    CScriptedList dialog(mdi);
    dialog.steps = {[&](CScriptedList& d) {
      d.Select({"Doc1"});
      if (doubleClick)
        d.SendMessage(WM_COMMAND, MAKEWPARAM(CPlxWindowListDlg::IDC_LIST, LBN_DBLCLK),
                      reinterpret_cast<LPARAM>(d.m_wndList.GetSafeHwnd()));
      else
        d.Press(CPlxWindowListDlg::IDC_ACTIVATE);
    }};
    EXPECT_EQ(dialog.DoModal(), IDOK) << doubleClick;
    EXPECT_FALSE(::IsIconic(handles[0])) << doubleClick;
    EXPECT_EQ(Active(), handles[0]) << doubleClick;
    ::ShowWindow(handles[0], SW_MINIMIZE);
    children[1]->MDIActivate();
  }
}

// Which buttons the selection enables, with read-only children, a child whose Close is greyed and
// a child without a system menu.
TEST_F(WindowList, ButtonsFollowTheSelection) {
  struct Case {
    const char* what;
    int readOnly;     // child index, -1 none
    int closeGreyed;  // child index, -1 none
    bool bare;        // a fourth child without system menu
    std::vector<std::string> selected;
    std::string enabled;
  };
  const Case cases[] = {
      {"nothing selected", -1, -1, false, {}, ""},
      {"one", -1, -1, false, {"Doc1"}, "ASCM"},
      {"two", -1, -1, false, {"Doc1", "Doc2"}, "SCHVDM"},
      {"only read-only", 0, -1, false, {"Doc1"}, "ACM"},
      {"read-only and another", 0, -1, false, {"Doc1", "Doc2"}, "SCHVDM"},
      {"close greyed", 1, 1, false, {"Doc2"}, "AM"},
      // Scanning stops at the greyed one: Doc3 (listed first) is scanned, Doc2 stops the scan.
      {"greyed after a savable one", 1, 1, false, {"Doc3", "Doc2"}, "SHVDM"},
      {"greyed before the savable one", 1, 1, false, {"Doc2", "Doc1"}, "HVDM"},
      {"bare child listed", -1, -1, true, {"Doc1", "Doc2"}, "SC"},
      {"bare child listed, one", -1, -1, true, {"Doc1"}, "ASC"},
  };
  for (const Case& c : cases) {
    for (CTestChild* child : children) child->readOnly = FALSE;
    if (c.readOnly >= 0) children[c.readOnly]->readOnly = TRUE;
    const HMENU sysMenu =
        c.closeGreyed >= 0 ? ::GetSystemMenu(children[c.closeGreyed]->GetSafeHwnd(), FALSE) : nullptr;
    if (sysMenu != nullptr) ::EnableMenuItem(sysMenu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    CTestChild* bare =
        c.bare ? NewChild("Bare", WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME) : nullptr;
    CScriptedList dialog(mdi);
    std::string enabled;
    bool allSysMenu = true;
    dialog.steps = {[&](CScriptedList& d) {
      d.Select(c.selected);
      enabled = d.Enabled();
      allSysMenu = d.m_bMDIActions;
      d.EndDialog(IDCANCEL);
    }};
    EXPECT_EQ(dialog.DoModal(), IDCANCEL) << c.what;
    EXPECT_EQ(enabled, c.enabled) << c.what;
    EXPECT_EQ(allSysMenu, !c.bare) << c.what;
    if (sysMenu != nullptr) ::EnableMenuItem(sysMenu, SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
    if (bare != nullptr) bare->MDIDestroy();
    pictavo::test::PumpPending();
  }
}

// Closing goes from the last selected item to the first; a child that refuses stops it there and
// the ones listed before it stay open.
TEST_F(WindowList, ARefusedCloseStopsTheRest) {
  struct Case {
    int refuser;  // child index, -1 none
    std::vector<bool> open;
  };
  // Listed Doc3, Doc2, Doc1: the close runs Doc1, Doc2, Doc3.
  const Case cases[] = {{-1, {false, false, false}},
                        {0, {true, true, true}},
                        {1, {false, true, true}},
                        {2, {false, false, true}}};
  KeepHandles();
  for (const Case& c : cases) {
    if (!Open(0) || !Open(1) || !Open(2)) {
      for (HWND h : handles)
        if (::IsWindow(h)) ::SendMessage(mdi->m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(h), 0);
      pictavo::test::PumpPending();
      children.clear();
      for (const char* title : {"Doc1", "Doc2", "Doc3"}) children.push_back(NewChild(title));
    }
    KeepHandles();
    for (int i = 0; i < 3; ++i) children[i]->refuseClose = i == c.refuser;
    CScriptedList dialog(mdi);
    std::vector<std::string> left;
    dialog.steps = {[&](CScriptedList& d) {
      d.Select({"Doc1", "Doc2", "Doc3"});
      d.Press(CPlxWindowListDlg::IDC_CLOSE);
      left = d.Listed();
      d.EndDialog(IDCANCEL);
    }};
    dialog.DoModal();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Open(i), c.open[i]) << "refuser " << c.refuser << " child " << i;
    size_t stillOpen = 0;
    for (bool o : c.open) stillOpen += o;
    EXPECT_EQ(left.size(), stillOpen) << "the list is rebuilt";
    for (int i = 0; i < 3; ++i)
      if (Open(i)) children[i]->refuseClose = FALSE;
  }
}

// Cascade and the tilings restore the selected children, minimise the others, then arrange.
TEST_F(WindowList, ArrangingActsOnTheSelection) {
  KeepHandles();
  struct Case {
    int button;
    const char* what;
  };
  const Case cases[] = {{CPlxWindowListDlg::IDC_CASCADE, "cascade"},
                        {CPlxWindowListDlg::IDC_TILE_HORZ, "tile horizontally"},
                        {CPlxWindowListDlg::IDC_TILE_VERT, "tile vertically"},
                        {CPlxWindowListDlg::IDC_MINIMIZE, "minimise"}};
  for (const Case& c : cases) {
    for (HWND h : handles) ::ShowWindow(h, SW_RESTORE);
    ::ShowWindow(handles[1], SW_MINIMIZE);
    CScriptedList dialog(mdi);
    dialog.steps = {[&](CScriptedList& d) {
      d.Select({"Doc2", "Doc3"});
      d.Press(c.button);
      d.EndDialog(IDCANCEL);
    }};
    dialog.DoModal();
    const bool minimise = c.button == CPlxWindowListDlg::IDC_MINIMIZE;
    EXPECT_EQ(::IsIconic(handles[0]) != 0, !minimise) << c.what << ": Doc1 not selected";
    EXPECT_EQ(::IsIconic(handles[1]) != 0, minimise) << c.what;
    EXPECT_EQ(::IsIconic(handles[2]) != 0, minimise) << c.what;
    if (minimise) continue;
    CRect r2, r3;
    ::GetWindowRect(handles[1], r2);
    ::GetWindowRect(handles[2], r3);
    if (c.button == CPlxWindowListDlg::IDC_TILE_HORZ) {
      EXPECT_EQ(r2.left, r3.left) << c.what;
      EXPECT_NE(r2.top, r3.top) << c.what;
    } else if (c.button == CPlxWindowListDlg::IDC_TILE_VERT) {
      EXPECT_EQ(r2.top, r3.top) << c.what;
      EXPECT_NE(r2.left, r3.left) << c.what;
    } else {
      EXPECT_NE(r2.TopLeft(), r3.TopLeft()) << c.what;
      EXPECT_EQ(r2.Size(), r3.Size()) << c.what;
    }
  }
}

// The MDI client's menu messages: who ends up with the menu, and what the default procedure gets.
TEST_F(WindowList, MenuRouting) {
  CRecordingMenuBar mdiBar;
  ASSERT_TRUE(mdiBar.Create(mdi, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0xE806));
  if (mdi->m_Impl.GetMenuBar() == nullptr) mdi->m_Impl.SetMenuBar(&mdiBar);
  const HMENU frameMenu = mdi->m_Impl.GetDefaultMenu();
  HMENU report = ::LoadMenu(AfxGetInstanceHandle(), MAKEINTRESOURCE(kReportResource));
  ASSERT_NE(report, nullptr);
  const HWND client = mdi->m_hWndMDIClient;
  struct Case {
    const char* what;
    bool menuBar;
    HMENU sent;
    HMENU barShows;     // null: not looked at
    HMENU windowShows;  // the frame window's own menu afterwards
  };
  const Case cases[] = {
      {"menu bar takes the child's menu", true, report, report, nullptr},
      {"menu bar takes null as the frame's menu", true, nullptr, frameMenu, nullptr},
      {"no menu bar: the window shows the menu", false, report, nullptr, report},
  };
  for (const Case& c : cases) {
    mdi->m_Impl.m_pMenuBar = c.menuBar ? &mdiBar : nullptr;
    ::SetMenu(hwnd, nullptr);
    ::SendMessage(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(c.sent), 0);
    if (c.barShows != nullptr) EXPECT_EQ(mdiBar.GetMenu(), c.barShows) << c.what;
    EXPECT_EQ(::GetMenu(hwnd), c.windowShows) << c.what;
  }
  ::SetMenu(hwnd, nullptr);

  // A refresh finds the Window menu again in the menu bar's default menu.
  mdi->m_Impl.m_pMenuBar = &mdiBar;
  mdi->m_hmenuWindow = nullptr;
  ::SendMessage(client, WM_MDIREFRESHMENU, 0, 0);
  EXPECT_EQ(mdi->m_hmenuWindow, ::GetSubMenu(mdiBar.GetDefaultMenu(), 1));
  mdi->m_Impl.m_pMenuBar = nullptr;
  mdi->m_hmenuWindow = nullptr;
  ::SendMessage(client, WM_MDIREFRESHMENU, 0, 0);
  EXPECT_EQ(mdi->m_hmenuWindow, nullptr) << "no menu bar: nothing looked up";
  ::DestroyMenu(report);
  mdiBar.DestroyWindow();

  // The background: the frame paints it when it says so, else the client erases it itself.
  for (BOOL paints : {TRUE, FALSE}) {
    painting->paints = paints;
    painting->asked = 0;
    HDC dc = ::GetDC(client);
    ::SetPixel(dc, 5, 5, RGB(1, 2, 3));
    const LRESULT erased = ::SendMessage(client, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const COLORREF pixel = ::GetPixel(dc, 5, 5);
    ::ReleaseDC(client, dc);
    EXPECT_EQ(painting->asked, 1) << paints;
    EXPECT_NE(erased, 0) << paints;
    EXPECT_EQ(pixel == RGB(1, 2, 3), paints != FALSE) << "erased by the client unless the frame painted";
  }
}

// Tabs are off until asked for: the strip exists but stays hidden and nothing follows the children;
// the icons it will show are shared all the same.
TEST_F(WindowList, TabsAreOffUntilAskedAndIconsAreShared) {
  CPlxMDIClientWnd& area = mdi->m_wndClientArea;
  EXPECT_FALSE(area.m_bTabsEnabled);
  ASSERT_NE(area.m_wndTab.GetSafeHwnd(), nullptr);
  EXPECT_FALSE(area.m_wndTab.IsWindowVisible());
  EXPECT_FALSE(area.SetActiveTabFor(children[0]));
  area.UpdateTabs(TRUE);
  EXPECT_EQ(area.m_wndTab.GetTabsNum(), 0);

  HICON shared = MakeIcon(0xFF2050C0);
  HICON other = MakeIcon(0xFFF08020);
  ASSERT_NE(shared, nullptr);
  ASSERT_NE(other, nullptr);
  children[0]->SetIcon(shared, FALSE);
  children[1]->SetIcon(shared, FALSE);
  children[2]->SetIcon(other, FALSE);
  const int a = area.GetTabIconIndex(children[0]->GetSafeHwnd());
  const int b = area.GetTabIconIndex(children[1]->GetSafeHwnd());
  const int c = area.GetTabIconIndex(children[2]->GetSafeHwnd());
  EXPECT_GE(a, 0);
  EXPECT_EQ(a, b) << "one image for the same icon";
  EXPECT_NE(a, c);
  EXPECT_EQ(area.m_TabIcons.GetImageCount(), 2);
  area.m_bTabIcons = FALSE;
  EXPECT_EQ(area.GetTabIconIndex(children[0]->GetSafeHwnd()), -1);
  area.m_bTabIcons = TRUE;
  EXPECT_EQ(CPlxMDIClientWnd::GetTabLabel(children[1]->GetSafeHwnd()), CString("Doc2"));
}

namespace {

// The tabs' labels in row order, "*" before the active one.
std::vector<std::string> TabLabels(const CPlxTabWnd& tabs) {
  std::vector<std::string> labels;
  for (int i = 0; i < tabs.GetTabsNum(); ++i) {
    CString label;
    tabs.GetTabLabel(i, label);
    labels.push_back(std::string(i == tabs.GetActiveTab() ? "*" : "") + std::string(label));
  }
  return labels;
}

}  // namespace

// Turned on, the strip lies where the client was and the client fills its window area, below or
// above the tab row; off again, the client takes the whole area back.
TEST_F(WindowList, TabsTakeTheirRowFromTheClient) {
  CPlxMDIClientWnd& area = mdi->m_wndClientArea;
  const auto frameRect = [&](HWND w) {
    CRect r;
    ::GetWindowRect(w, r);
    mdi->ScreenToClient(r);
    return r;
  };
  const HWND client = mdi->m_hWndMDIClient;
  const CRect whole = frameRect(client);
  struct Case {
    int location;
    bool rowAbove;
  };
  for (const Case c : {Case{CPlxTabWnd::LOCATION_TOP, true}, Case{CPlxTabWnd::LOCATION_BOTTOM, false}}) {
    area.EnableTabs(TRUE, c.location);
    const CRect strip = frameRect(area.m_wndTab.GetSafeHwnd());
    const CRect now = frameRect(client);
    EXPECT_TRUE(area.m_wndTab.IsWindowVisible()) << c.location;
    EXPECT_EQ(strip, whole) << "the strip takes the client's place";
    CRect inner;
    EXPECT_TRUE(inner.IntersectRect(now, strip) && inner == now) << "the client inside the strip";
    EXPECT_LT(now.Height(), whole.Height() - area.m_wndTab.m_nTabsHeight + 1) << c.location;
    if (c.rowAbove)
      EXPECT_GE(now.top - strip.top, area.m_wndTab.m_nTabsHeight);
    else
      EXPECT_GE(strip.bottom - now.bottom, area.m_wndTab.m_nTabsHeight);
    // The mouse over the children finds the client, not the strip beneath it.
    const CPoint centre = now.CenterPoint();
    EXPECT_NE(::ChildWindowFromPoint(hwnd, centre), area.m_wndTab.GetSafeHwnd()) << c.location;
  }
  // Print preview takes the whole area: the tabs go while it shows.
  mdi->OnSetPreviewMode(TRUE, nullptr);
  EXPECT_FALSE(area.m_wndTab.IsWindowVisible());
  mdi->OnSetPreviewMode(FALSE, nullptr);
  EXPECT_TRUE(area.m_wndTab.IsWindowVisible());
  area.EnableTabs(FALSE);
  EXPECT_FALSE(area.m_wndTab.IsWindowVisible());
  EXPECT_EQ(frameRect(client), whole);
  mdi->OnSetPreviewMode(FALSE, nullptr);
  EXPECT_FALSE(area.m_wndTab.IsWindowVisible()) << "tabs off: leaving the preview shows none";
}

// One tab per child, kept in step: the active child's tab is the active one, a click on a tab and
// Ctrl+Page Down activate children, a new title relabels, a hidden child loses its tab and gets a
// new one (active) when shown, a closed child's tab goes and does not come back.
TEST_F(WindowList, TabsFollowTheChildren) {
  KeepHandles();
  CPlxMDIClientWnd& area = mdi->m_wndClientArea;
  CPlxTabWnd& tabs = area.m_wndTab;
  area.EnableTabs(TRUE);
  // Window order is the stacking order: the newest child first.
  EXPECT_EQ(TabLabels(tabs), (std::vector<std::string>{"*Doc3", "Doc2", "Doc1"}));
  EXPECT_EQ(Active(), handles[2]) << "turning tabs on activates nothing else";

  // The client's empty corner, as painted before the strip repaints itself over the client's place.
  const auto Corner = [&] {
    CRect r;
    ::GetClientRect(mdi->m_hWndMDIClient, r);
    HDC dc = ::GetDC(mdi->m_hWndMDIClient);
    const COLORREF pixel = ::GetPixel(dc, r.right - 4, r.bottom - 4);
    ::ReleaseDC(mdi->m_hWndMDIClient, dc);
    return pixel;
  };
  mdi->ModifyStyle(0, WS_CLIPCHILDREN);  // as MDI frames are made: the frame's own erase stays off the client
  ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const COLORREF cornerBefore = Corner();
  CRect rect;
  ASSERT_TRUE(tabs.GetTabRect(2, rect));
  tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
  tabs.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
  pictavo::test::PumpPending();
  EXPECT_EQ(Active(), handles[0]) << "the click activated Doc1";
  EXPECT_EQ(TabLabels(tabs), (std::vector<std::string>{"Doc3", "Doc2", "*Doc1"}));
  EXPECT_NE(cornerBefore, RGB(0, 0, 0));
  EXPECT_EQ(Corner(), cornerBefore) << "the strip repainted itself without covering the client";

  // Ctrl+Page Down from inside a child: the strip is no ancestor of it, the client passes it on.
  SetKey(VK_CONTROL, true);
  MSG key{handles[0], WM_KEYDOWN, VK_NEXT, 1};
  EXPECT_TRUE(CWnd::WalkPreTranslateTree(hwnd, &key));
  SetKey(VK_CONTROL, false);
  pictavo::test::PumpPending();
  EXPECT_EQ(Active(), handles[2]) << "wrapped round to the first tab";
  MSG plain{handles[2], WM_KEYDOWN, VK_NEXT, 1};
  EXPECT_FALSE(area.PreTranslateMessage(&plain)) << "Page Down alone is the child's";

  // A new icon reaches the tab, drawn at the icons' size.
  HICON icon = MakeIcon(0xFF2050C0);
  children[0]->SetIcon(icon, FALSE);
  const int iconTab = tabs.GetTabFromHwnd(handles[0]);
  EXPECT_EQ(tabs.GetTabIcon(iconTab), area.GetTabIconIndex(handles[0]));
  EXPECT_TRUE(tabs.HasTabImage(iconTab));
  EXPECT_EQ(tabs.GetImageSize(), CSize(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)));

  children[1]->SetWindowText("Renamed");
  EXPECT_EQ(TabLabels(tabs), (std::vector<std::string>{"*Doc3", "Renamed", "Doc1"}));

  // MDI activation from elsewhere moves the active tab too.
  children[1]->MDIActivate();
  pictavo::test::PumpPending();
  EXPECT_EQ(TabLabels(tabs), (std::vector<std::string>{"Doc3", "*Renamed", "Doc1"}));

  children[0]->ShowWindow(SW_HIDE);
  area.UpdateTabs(FALSE);
  EXPECT_EQ(tabs.GetTabFromHwnd(handles[0]), -1) << "hidden: no tab";
  children[0]->ShowWindow(SW_SHOW);
  area.UpdateTabs(FALSE);
  ASSERT_EQ(tabs.GetTabFromHwnd(handles[0]), tabs.GetTabsNum() - 1) << "shown: a new last tab";
  EXPECT_EQ(tabs.GetActiveTab(), tabs.GetTabsNum() - 1);

  const int before = tabs.GetTabsNum();
  children[2]->MDIDestroy();
  pictavo::test::PumpPending();
  EXPECT_EQ(tabs.GetTabsNum(), before - 1);
  EXPECT_EQ(tabs.GetTabFromHwnd(handles[2]), -1);
  area.UpdateTabs(FALSE);
  EXPECT_EQ(tabs.GetTabsNum(), before - 1) << "the closed child's tab stays gone";
  const int active = tabs.GetActiveTab();
  ASSERT_GE(active, 0);
  EXPECT_EQ(tabs.GetTabWnd(active)->GetSafeHwnd(), Active()) << "the active tab is the active child's";
}

// A child without a system menu shows no caption buttons, is listed as one that cannot be
// arranged, and still takes the keys: Ctrl+F6 moves on and the frame's accelerators run.
TEST_F(WindowList, AChildWithoutASystemMenuStillTakesKeys) {
  CTestChild* bare = NewChild("Bare", WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME);
  EXPECT_TRUE(bare->IsZoomed());
  // The caption's buttons, scanned along the caption line of each child.
  auto codes = [](HWND w) {
    CRect r;
    ::GetWindowRect(w, r);
    const int y = r.top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYCAPTION) / 2;
    std::string found;
    for (int x = r.left; x < r.right; ++x) {
      const LRESULT hit = ::SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(x, y));
      const char letter = hit == HTCLOSE       ? 'X'
                          : hit == HTMAXBUTTON ? 'M'
                          : hit == HTMINBUTTON ? 'N'
                          : hit == HTSYSMENU   ? 'S'
                                               : 0;
      if (letter != 0 && (found.empty() || found.back() != letter)) found += letter;
    }
    return found;
  };
  EXPECT_NE(codes(children[0]->GetSafeHwnd()).find('X'), std::string::npos)
      << "an ordinary child has its Close";
  EXPECT_EQ(codes(bare->GetSafeHwnd()), "") << "no system menu, no buttons";

  // Ctrl+F6 through the client's keys: the next child becomes active.
  ASSERT_EQ(Active(), bare->GetSafeHwnd());
  SetKey(VK_CONTROL, true);
  MSG msg{bare->GetSafeHwnd(), WM_KEYDOWN, VK_F6, 1};
  EXPECT_TRUE(::TranslateMDISysAccel(mdi->m_hWndMDIClient, &msg));
  SetKey(VK_CONTROL, false);
  pictavo::test::PumpPending();
  EXPECT_NE(Active(), bare->GetSafeHwnd());

  // The frame's accelerator from the bare child.
  bare->MDIActivate();
  ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'R', 61210}};
  mdi->m_hAccelTable = ::CreateAcceleratorTable(keys, 1);
  SetKey(VK_CONTROL, true);
  MSG accel{bare->GetSafeHwnd(), WM_KEYDOWN, 'R', 1};
  const UINT before = CPlxToolBar::m_commandUsage.GetCount(61210);
  EXPECT_FALSE(bare->PreTranslateMessage(&accel));
  EXPECT_TRUE(mdi->PreTranslateMessage(&accel));
  SetKey(VK_CONTROL, false);
  EXPECT_EQ(CPlxToolBar::m_commandUsage.GetCount(61210), before + 1);
}

// Taking the system menu away and giving it back: where the child ends up.
TEST_F(WindowList, TheSystemMenuComesBackToTheNormalPlace) {
  constexpr DWORD kBare = WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME;
  constexpr DWORD kFull = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW;
  struct Case {
    const char* what;
    DWORD style;
    bool maximizeFirst;  // maximized (with a system menu) before it is taken away
    bool moveFirst;      // moved to (30, 40) before it is taken away
    CRect back;          // in the MDI client, after the system menu returns
  };
  // NewChild places the fourth child at (70, 70), 200 x 150.
  const Case cases[] = {
      {"made bare", kBare, false, false, CRect(70, 70, 270, 220)},
      {"made whole, moved, taken", kFull, false, true, CRect(30, 40, 230, 190)},
      {"made whole, taken while normal", kFull, false, false, CRect(70, 70, 270, 220)},
      // Nothing was kept: the restored place, not an empty rectangle.
      {"made whole, taken while maximized", kFull, true, false, CRect(70, 70, 270, 220)},
  };
  for (const Case& c : cases) {
    CTestChild* child = NewChild(c.what, c.style);
    children.push_back(child);
    if (c.moveFirst) child->SetWindowPos(nullptr, 30, 40, 200, 150, SWP_NOZORDER | SWP_NOACTIVATE);
    if (c.maximizeFirst) child->MDIMaximize();
    if (c.style & WS_SYSMENU) child->ModifyStyle(WS_SYSMENU, 0);
    EXPECT_TRUE(child->IsZoomed()) << c.what;
    child->ModifyStyle(0, WS_SYSMENU);
    CRect rect;
    child->GetWindowRect(rect);
    ::MapWindowPoints(nullptr, mdi->m_hWndMDIClient, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect, c.back) << c.what << ": " << rect.left << "," << rect.top << "," << rect.right << ","
                            << rect.bottom;
    EXPECT_FALSE(child->IsZoomed()) << c.what;
    child->MDIDestroy();
    children.pop_back();
    pictavo::test::PumpPending();
  }
}

// The list is only rebuilt by the dialog's own actions (arranging does not): a child that went
// meanwhile is not activated, and the dialog stays open with the list rebuilt.
TEST_F(WindowList, ActivatingAChildThatWentMeanwhileRefreshesTheList) {
  KeepHandles();
  CScriptedList dialog(mdi);
  std::vector<std::string> after;
  dialog.steps = {
      [&](CScriptedList& d) {
        d.Select({"Doc1"});
        children[0]->MDIDestroy();  // behind the dialog's back
      },
      [&](CScriptedList& d) {
        d.Press(CPlxWindowListDlg::IDC_ACTIVATE);
        after = d.Listed();
      },
      [&](CScriptedList& d) { d.EndDialog(IDCANCEL); },
  };
  EXPECT_EQ(dialog.DoModal(), IDCANCEL) << "Activate did not end it";
  EXPECT_EQ(after, (std::vector<std::string>{"*Doc3", "Doc2"}));
}

// Help (the command and F1's WM_HELPINFO) goes to the main window as "WINDOW_HELP" with the dialog.
TEST_F(WindowList, HelpGoesToTheMainWindow) {
  class CHelpRecorder : public CWnd {
   public:
    std::vector<LPARAM> got;

   protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message != 0 && message == PLX_WM_WINDOW_HELP && wParam == 0) got.push_back(lParam);
      return CWnd::WindowProc(message, wParam, lParam);
    }
  } main;
  ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), "Main", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  CWinThread* thread = AfxGetThread();
  ASSERT_NE(thread, nullptr);
  CWnd* const oldMain = thread->m_pMainWnd;
  thread->m_pMainWnd = &main;
  CScriptedList dialog(mdi);
  LRESULT helpInfo = -1;
  dialog.steps = {[&](CScriptedList& d) {
    d.SendMessage(WM_COMMAND, ID_HELP);
    HELPINFO info{};
    info.cbSize = sizeof info;
    helpInfo = d.SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    d.EndDialog(IDCANCEL);
  }};
  dialog.DoModal();
  thread->m_pMainWnd = oldMain;
  EXPECT_EQ(main.got,
            (std::vector<LPARAM>{reinterpret_cast<LPARAM>(&dialog), reinterpret_cast<LPARAM>(&dialog)}));
  EXPECT_EQ(helpInfo, FALSE);
  main.DestroyWindow();
}

// A child made without a system menu is never seen at its normal size: the client does not draw
// while the child grows and is shown maximized during its creation, and draws again after it.
TEST_F(WindowList, ABareChildShowsNoIntermediateState) {
  class CWatchedChild : public CPlxMDIChildWnd {
   public:
    int changes = 0;       // size and show changes while being created
    int whileDrawing = 0;  // ... of them while the client draws

   protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == WM_CREATE) creating = true;
      if (creating && (message == WM_SIZE || message == WM_SHOWWINDOW)) {
        ++changes;
        whileDrawing += ::IsWindowVisible(::GetParent(m_hWnd)) != 0;
      }
      const LRESULT result = CPlxMDIChildWnd::WindowProc(message, wParam, lParam);
      if (message == WM_CREATE) creating = false;
      return result;
    }
    bool creating = false;
  };
  auto* child = new CWatchedChild;
  child->m_bAutoDelete = TRUE;
  ASSERT_TRUE(child->Create(nullptr, "Watched", WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME,
                            CRect(10, 10, 210, 160), mdi));
  pictavo::test::PumpPending();
  EXPECT_TRUE(child->IsZoomed());
  EXPECT_GT(child->changes, 0);
  EXPECT_EQ(child->whileDrawing, 0);
  EXPECT_TRUE(::IsWindowVisible(mdi->m_hWndMDIClient)) << "the client draws again";
}

// Arranging locks the client's updates for the while; a lock some other window holds stays held.
TEST_F(WindowList, ArrangingLeavesAnotherWindowsLockAlone) {
  for (bool otherLock : {false, true}) {
    if (otherLock) ASSERT_TRUE(::LockWindowUpdate(frame.GetSafeHwnd()));
    CScriptedList dialog(mdi);
    dialog.steps = {[&](CScriptedList& d) {
      d.Select({"Doc1", "Doc2"});
      d.Press(CPlxWindowListDlg::IDC_CASCADE);
      d.EndDialog(IDCANCEL);
    }};
    dialog.DoModal();
    EXPECT_FALSE(::IsIconic(children[0]->GetSafeHwnd())) << otherLock;
    EXPECT_TRUE(::IsIconic(children[2]->GetSafeHwnd())) << otherLock;
    // Free now unless the other window still holds it.
    const BOOL free = ::LockWindowUpdate(children[2]->GetSafeHwnd());
    EXPECT_EQ(free != FALSE, !otherLock) << "the other window's lock " << (otherLock ? "kept" : "none");
    ::LockWindowUpdate(nullptr);
    ::ShowWindow(children[2]->GetSafeHwnd(), SW_RESTORE);
  }
}

// Extended styles share bit values with the system menu's (WS_EX_LAYERED is WS_SYSMENU's bit):
// changing them leaves the child as it is.
TEST_F(WindowList, AnExtendedStyleChangeIsNoSystemMenuChange) {
  CTestChild* child = children[0];
  CRect before;
  child->GetWindowRect(before);
  child->ModifyStyleEx(0, WS_EX_LAYERED);
  EXPECT_FALSE(child->IsZoomed());
  child->ModifyStyleEx(WS_EX_LAYERED, 0);
  CRect after;
  child->GetWindowRect(after);
  EXPECT_EQ(after, before);

  CTestChild* bare = NewChild("Bare", WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME);
  bare->ModifyStyleEx(0, WS_EX_LAYERED);
  EXPECT_TRUE(bare->IsZoomed()) << "a bare child stays maximized";
}

// With the mouse: a click and a Ctrl+click pick two children, Close Window closes them both.
TEST_F(WindowList, ClicksPickTwoChildrenAndCloseWindowClosesThem) {
  KeepHandles();
  CScriptedList dialog(mdi);
  ASSERT_TRUE(dialog.Create(CPlxWindowListDlg::IDD, mdi));
  dialog.ShowWindow(SW_SHOW);
  pictavo::test::PumpPending();
  auto pump = [] {
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
      }
    }
  };
  auto click = [&](CWnd& wnd, CRect rect) {
    wnd.ClientToScreen(rect);
    pictavo::user::InjectMouseMove(rect.CenterPoint());
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
    pump();
  };
  // Listed Doc3, Doc2, Doc1.
  CRect item;
  dialog.m_wndList.GetItemRect(2, item);
  click(dialog.m_wndList, item);
  EXPECT_EQ(dialog.Listed(), (std::vector<std::string>{"Doc3", "Doc2", "*Doc1"}));
  EXPECT_EQ(dialog.Enabled(), "ASCM");
  dialog.m_wndList.GetItemRect(1, item);
  pictavo::user::InjectKey({VK_CONTROL, true});
  click(dialog.m_wndList, item);
  pictavo::user::InjectKey({VK_CONTROL, false});
  pump();
  EXPECT_EQ(dialog.Listed(), (std::vector<std::string>{"Doc3", "*Doc2", "*Doc1"}));
  EXPECT_EQ(dialog.Enabled(), "SCHVDM") << "the list's own notification updated the buttons";

  CWnd* close = dialog.GetDlgItem(CPlxWindowListDlg::IDC_CLOSE);
  CRect button;
  close->GetClientRect(button);
  click(*close, button);
  EXPECT_FALSE(Open(0));
  EXPECT_FALSE(Open(1));
  EXPECT_TRUE(Open(2));
  EXPECT_EQ(dialog.Listed(), (std::vector<std::string>{"*Doc3"}));
  dialog.DestroyWindow();
}
