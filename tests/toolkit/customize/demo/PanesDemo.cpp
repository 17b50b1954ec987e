// The panes demonstration program: a toolkit MDI frame whose children are shown as document tabs
// (renamed by a double click, dragged to another place), two toolbars with one colour button of
// the same command, a child holding an editable list and a menu button, a property sheet with a
// navigation tree, an outlook bar on the left and a tasks pane on the right. What the user does is
// logged. The end-to-end test drives it with the input script; --layout writes where things lie
// (tabs, buttons, the colour dialog's cells) and quits.
//
// Options: --log FILE, --resources DIR, --layout.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/kernel/GlobalMemory.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/StdControls.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/res/ResourceModule.h"
#include "platform/res/Resources.h"
#include "platform/user/Accel.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Menu.h"
#include "tests/support/DemoLoop.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxPopupMenuBar.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxDialog.h"
#include "toolkit/core/PlxMDIChildWnd.h"
#include "toolkit/core/PlxMDIFrameWnd.h"
#include "toolkit/core/PlxWinXPVisualManager.h"
#include "toolkit/core/PlxWorkspace.h"
#include "toolkit/customize/PlxColorDialog.h"
#include "toolkit/customize/PlxColorMenuButton.h"
#include "toolkit/customize/PlxEditableList.h"
#include "toolkit/customize/PlxMenuButton.h"
#include "toolkit/customize/PlxOutlookBar.h"
#include "toolkit/customize/PlxPropertySheet.h"
#include "toolkit/customize/PlxTabWnd.h"
#include "toolkit/customize/PlxTasksPane.h"

namespace {

constexpr UINT kFrameResource = 16800;    // menu and title
constexpr UINT kToolbarResource = 60003;  // the sample strip
constexpr UINT kFirstBarId = 16810, kSecondBarId = 16811;
constexpr UINT kTabsId = 16812, kScrollRightId = 16813;  // the document tabs and their Scroll Right
constexpr UINT kListId = 16814, kMenuButtonId = 16815;
constexpr UINT kColorCmd = 16820;
constexpr UINT kMenuFirstCmd = 16830;  // Slideshow, Print, Export
constexpr UINT kTwelveCmd = 16840, kSheetCmd = 16841;
constexpr UINT kOutlookId = 16850, kFirstShortcutCmd = 16851;  // twelve albums, then two music shortcuts
constexpr UINT kTasksId = 16870, kFirstTaskCmd = 16871;
constexpr UINT kPageOneDialog = 61001, kPageTwoDialog = 61002;
constexpr const char* kRenamed = "Beach album";  // the name the script gives the second child

std::ofstream g_log;

void Log(const std::string& line) {
  g_log << line << '\n';
  g_log.flush();
}

std::string RectText(const CRect& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
         std::to_string(r.bottom);
}

std::string ColorText(COLORREF c) {
  if (c == (COLORREF)-1) return "none";
  return std::to_string(GetRValue(c)) + " " + std::to_string(GetGValue(c)) + " " +
         std::to_string(GetBValue(c));
}

class CDemoApp : public CPlxWorkspace {
 public:
  CDemoApp() {
    SetRegistryKey("Pictavo");
    free(const_cast<LPTSTR>(m_pszProfileName));
    m_pszProfileName = strdup("PictavoPanesDemo");
  }
};

std::string ClipboardText() {
  std::string clip;
  if (::OpenClipboard(nullptr)) {
    if (HANDLE data = ::GetClipboardData(CF_TEXT); data != nullptr) {
      if (const auto* chars = static_cast<const char*>(::GlobalLock(data)); chars != nullptr) clip = chars;
      ::GlobalUnlock(data);
    }
    ::CloseClipboard();
  }
  return clip;
}

// A 16 x 16 icon of one colour with a white frame: each child's tab shows its own.
HICON MakeIcon(COLORREF color) {
  const DWORD argb = 0xFF000000 | (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
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

// The editable list of the controls child: what it hears is logged.
class CDemoList : public CPlxEditableListView {
 public:
  void EntryAdded(int i) override { Log("list added " + std::to_string(i) + " " + Text(i)); }
  void EntryRenamed(int i) override { Log("list renamed " + std::to_string(i) + " " + Text(i)); }
  void EntryMovedUp(int i) override { Log("list up " + std::to_string(i) + " " + Text(i)); }
  void EntryMovedDown(int i) override { Log("list down " + std::to_string(i) + " " + Text(i)); }
  BOOL MayDeleteEntry(int i) override {
    Log("list delete " + std::to_string(i) + " " + Text(i));
    return TRUE;
  }
  std::string Entries() const {
    std::string all;
    for (int i = 0; i < EntryCount(); ++i) all += (i ? "|" : "") + Text(i);
    return all;
  }

 private:
  std::string Text(int i) const { return static_cast<LPCTSTR>(EntryText(i)); }
};

// A document frame: a line naming it, or (the first one) the editable list and the menu button.
class CDemoChild : public CPlxMDIChildWnd {
 public:
  CDemoChild(COLORREF iconColor, bool controls) : m_iconColor(iconColor), m_bControls(controls) {}
  ~CDemoChild() override {
    if (m_hMenu != nullptr) ::DestroyMenu(m_hMenu);
  }

  CDemoList m_list;
  CPlxMenuButton m_button;
  CStatic m_label;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CPlxMDIChildWnd::OnCreate(cs) == -1) return -1;
    m_hIcon = MakeIcon(m_iconColor);
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    if (!m_bControls) {
      m_label.Create(cs->lpszName, WS_CHILD | WS_VISIBLE, CRect(10, 10, 300, 30), this);
      return 0;
    }
    if (!m_list.Create("Slides", WS_CHILD | WS_VISIBLE, CRect(8, 8, 228, 188), this, kListId) ||
        !m_list.CreateStandardButtons(CPlxEditableList::BUTTON_NEW | CPlxEditableList::BUTTON_DELETE |
                                      CPlxEditableList::BUTTON_UP | CPlxEditableList::BUTTON_DOWN))
      return -1;
    for (const char* name : {"Beach", "Harbour", "Sunset"}) m_list.InsertEntry(name);
    m_hMenu = ::CreatePopupMenu();
    const char* items[] = {"&Slideshow", "&Print", "&Export"};
    for (UINT i = 0; i < 3; ++i) ::AppendMenu(m_hMenu, MF_STRING, kMenuFirstCmd + i, items[i]);
    if (!m_button.Create("Actions", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, CRect(240, 8, 340, 32),
                         this, kMenuButtonId))
      return -1;
    m_button.m_hMenu = m_hMenu;
    m_button.SizeToContent();
    return 0;
  }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (LOWORD(wParam) == kMenuButtonId && HIWORD(wParam) == BN_CLICKED) {
      Log("menu button chose " + std::to_string(m_button.m_nMenuResult));
      return TRUE;
    }
    return CPlxMDIChildWnd::OnCommand(wParam, lParam);
  }
  void PostNcDestroy() override {
    if (m_hIcon != nullptr) ::DestroyIcon(m_hIcon);
    CPlxMDIChildWnd::PostNcDestroy();
  }
  DECLARE_MESSAGE_MAP()

  COLORREF m_iconColor;
  bool m_bControls;
  HICON m_hIcon = nullptr;
  HMENU m_hMenu = nullptr;
};
BEGIN_MESSAGE_MAP(CDemoChild, CPlxMDIChildWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

// The colour dialog of the demonstration: F12 writes what its pages show to the log.
class CDemoColorDialog : public CPlxColorDialog {
 public:
  using CPlxColorDialog::CPlxColorDialog;
  static constexpr UINT kLogState = WM_APP + 9;

 protected:
  // The new colour's sample is drawn after every change; once the change is through, the pages
  // are logged when they show something new.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kLogState) {
      LogState();
      return 0;
    }
    if (message == WM_DRAWITEM && wParam == IDC_SAMPLE) PostMessage(kLogState);
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {  // what the user accepts
      LogState();
      Log("colour dialog clipboard " + ClipboardText());
    }
    return CPlxColorDialog::WindowProc(message, wParam, lParam);
  }
  void LogState() {
    auto text = [](CWnd* page, int id) {
      char buffer[16] = {};
      if (page != nullptr && page->GetSafeHwnd() != nullptr) ::GetDlgItemText(page->m_hWnd, id, buffer, 15);
      return std::string(buffer);
    };
    const std::string line =
        "colour dialog new " + ColorText(GetColor()) + " rgb " + text(m_pPage2, CPlxColorPage2::IDC_RED) +
        " " + text(m_pPage2, CPlxColorPage2::IDC_GREEN) + " " + text(m_pPage2, CPlxColorPage2::IDC_BLUE) +
        " hls " + text(m_pPage2, CPlxColorPage2::IDC_HUE) + " " + text(m_pPage2, CPlxColorPage2::IDC_LUM) +
        " " + text(m_pPage2, CPlxColorPage2::IDC_SAT);
    if (line != m_lastLine) Log(line);
    m_lastLine = line;
  }
  std::string m_lastLine;
};

// The colour button runs the demonstration's dialog.
class CDemoColorButton : public CPlxColorMenuButton {
 public:
  using CPlxColorMenuButton::CPlxColorMenuButton;
  BOOL RunColorDialog(COLORREF colorIn, COLORREF& colorOut) override {
    CDemoColorDialog dialog(colorIn, 0, AfxGetMainWnd());
    const INT_PTR result = dialog.DoModal();
    Log(std::string("colour dialog ") + (result == IDOK ? "ok " : "cancelled ") +
        ColorText(dialog.GetColor()));
    if (result != IDOK) return FALSE;
    colorOut = dialog.GetColor();
    return TRUE;
  }
};

class CNamedPage : public CPlxPropertyPage {
 public:
  CNamedPage(UINT nTemplate, const char* title) : CPlxPropertyPage(nTemplate), m_title(title) {
    m_psp.dwFlags |= PSP_USETITLE;
    m_psp.pszTitle = m_title.c_str();
  }
  std::string m_title;
};

// The options sheet, navigated by its tree: every page it shows is logged.
class CDemoSheet : public CPlxPropertySheet {
 public:
  CDemoSheet() : CPlxPropertySheet("Options") {
    SetLook(PropSheetLook_Tree, 120);
    CPlxPropSheetCategory* general = AddTreeCategory("General");
    CPlxPropSheetCategory* advanced = AddTreeCategory("Advanced");
    CPlxPropSheetCategory* network = AddTreeCategory("Network", -1, -1, advanced);
    AddPageToTree(general, &m_display);
    AddPageToTree(general, &m_sound);
    AddPageToTree(network, &m_proxy);
    AddPageToTree(advanced, &m_logs);
  }
  void OnActivatePage(CPlxPropertyPage* pPage) override {
    if (auto* named = dynamic_cast<CNamedPage*>(pPage)) Log("sheet page " + named->m_title);
    CPlxPropertySheet::OnActivatePage(pPage);
  }
  CNamedPage m_display{kPageOneDialog, "Display"}, m_sound{kPageTwoDialog, "Sound"};
  CNamedPage m_proxy{kPageOneDialog, "Proxy"}, m_logs{kPageTwoDialog, "Logs"};
};

// A plain red window beside the frame: the colour dialog picks its colour from the screen.
class CRedWindow : public CWnd {
 public:
  BOOL Make() {
    return CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0, nullptr, ::CreateSolidBrush(RGB(255, 0, 0))),
                    "Red sample", WS_POPUP | WS_VISIBLE, 1110, 40, 140, 100, nullptr, nullptr);
  }
};

// The outlook bar: the page it shows is logged.
class CDemoOutlookBar : public CPlxOutlookBar {
 public:
  // Scrolling is logged by the first shortcut in view.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    const int first = m_iFirstVisibleButton;
    const LRESULT result = CPlxOutlookBar::WindowProc(message, wParam, lParam);
    if (GetSafeHwnd() != nullptr && m_iFirstVisibleButton != first)
      Log("outlook first " + std::to_string(m_iFirstVisibleButton));
    return result;
  }
  void OnActivatePage() override {
    if (CPlxOutlookBarPage* page = FindPage(GetActivePageId()))
      Log("outlook page " + std::string(static_cast<LPCTSTR>(page->m_strLabel)));
  }
};

// The tasks pane: its pages are logged as they show.
class CDemoTasksPane : public CPlxTasksPane {
 protected:
  void OnActivateTasksPanePage() override { Log("tasks page " + std::to_string(GetActivePage())); }
};

class CPanesDemoFrame : public CPlxMDIFrameWnd {
 public:
  BOOL CreateDemo(CWinApp* app) {
    app->m_pMainWnd = this;
    if (!LoadFrame(kFrameResource, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN)) return FALSE;
    SetWindowPos(nullptr, 10, 10, 1080, 720, SWP_NOZORDER);
    return TRUE;
  }

  void OpenChildren(int count) {
    static const COLORREF colours[] = {RGB(200, 40, 40), RGB(40, 160, 60), RGB(40, 80, 200),
                                       RGB(220, 160, 20)};
    while (m_nChildren < count) {
      const int n = m_nChildren++;
      const bool controls = n == 0;
      const std::string title = controls ? "Controls" : "Holiday album " + std::to_string(n);
      auto* child = new CDemoChild(colours[n % 4], controls);
      const int offset = 16 * (n % 8);
      if (!child->Create(nullptr, title.c_str(), WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                         CRect(offset, offset, offset + 420, offset + 260), this)) {
        Log("child " + title + " could not be made");
        return;
      }
      if (controls) m_pControls = child;
    }
    Log("children " + std::to_string(Tabs().GetTabsNum()) + " tabs");
  }

  CPlxTabWnd& Tabs() { return m_wndClientArea.m_wndTab; }

  void LogState(const std::string& prefix) {
    std::string labels;
    for (int i = 0; i < Tabs().GetTabsNum(); ++i) {
      CString label;
      Tabs().GetTabLabel(i, label);
      labels +=
          std::string(i ? "|" : "") + (i == Tabs().GetActiveTab() ? "*" : "") + static_cast<LPCTSTR>(label);
    }
    Log(prefix + " tabs " + labels);
    if (m_pControls != nullptr && ::IsWindow(m_pControls->GetSafeHwnd()))
      Log(prefix + " list " + m_pControls->m_list.Entries());
    if (m_wndOutlook.GetSafeHwnd() != nullptr) {
      CRect window;
      m_wndOutlook.GetWindowRect(window);
      Log(prefix + " outlook width " + std::to_string(window.Width()) + " first " +
          std::to_string(m_wndOutlook.m_iFirstVisibleButton));
      Log(prefix + " tasks page " + std::to_string(m_wndTasks.GetActivePage()) + " history " +
          std::to_string(m_wndTasks.GetHistoryPos()) + "/" + std::to_string(m_wndTasks.GetHistorySize()));
      std::string collapsed;
      for (int g = 0; g < m_wndTasks.GetGroupCount(); ++g)
        collapsed += m_wndTasks.GetTaskGroup(g)->m_bIsCollapsed ? "-" : "+";
      Log(prefix + " tasks groups " + collapsed);
    }
    Log(prefix + " strips " + ColorText(m_pColorOne->m_clrStrip) + " | " +
        ColorText(m_pColorTwo->m_clrStrip));
  }

  // Where the script's steps aim: the tabs, the colour buttons, the Scroll Right clicks that
  // twelve children need, and the colour dialog's cells.
  void LogLayout() {
    for (int i = 0; i < Tabs().GetTabsNum(); ++i) {
      CRect rect;
      Tabs().GetTabRect(i, rect);
      Log("tab " + std::to_string(i) + " " + RectText(rect));
    }
    CRect row = Tabs().m_rectTabsArea;
    Log("row " + RectText(row));
    for (auto [bar, id] :
         {std::pair{&m_wndFirstBar, kFirstBarId}, std::pair{&m_wndSecondBar, kSecondBarId}}) {
      CRect rect;
      bar->GetItemRect(0, rect);
      Log("button " + std::to_string(id) + " " + RectText(rect));
    }
    if (m_pControls != nullptr) {
      CRect rect;
      m_pControls->m_list.ListCtrl()->GetItemRect(0, rect, LVIR_LABEL);
      m_pControls->m_list.ListCtrl()->MapWindowPoints(&m_pControls->m_list, rect);
      Log("list item 0 " + RectText(rect));
    }
    LogPanesLayout();
    LogColorPopupLayout();
    LogColorDialogLayout();
    // The row the script scrolls has the second child renamed and twelve children.
    if (CWnd* second = Tabs().GetTabWnd(1)) second->SetWindowText(kRenamed);
    OpenChildren(12);
    // The script goes back to the first tab (Ctrl+Page Down wraps round) before scrolling.
    Tabs().SetActiveTab(0);
    int clicks = 0;
    // Pressed and released as the mouse does: the button repeats while it is held.
    CWnd* right = Tabs().m_pBtnRight;
    while (right->IsWindowEnabled() && clicks < 100) {
      right->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
      right->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
      MSG msg;
      while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessage(&msg);
      ++clicks;
    }
    Log("scroll clicks " + std::to_string(clicks) + " 0 0 0");
  }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CPlxMDIFrameWnd::OnCreate(cs) == -1) return -1;
    ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'T', kTwelveCmd}, {FVIRTKEY | FCONTROL, 'P', kSheetCmd}};
    m_hAccelTable = CreateAcceleratorTable(keys, static_cast<int>(std::size(keys)));
    EnableDocking(CBRS_ALIGN_ANY);
    m_pColorOne = AddColorBar(m_wndFirstBar, kFirstBarId, "Slides");
    m_pColorTwo = AddColorBar(m_wndSecondBar, kSecondBarId, "Titles");
    if (m_pColorOne == nullptr || m_pColorTwo == nullptr) return -1;
    DockControlBar(&m_wndFirstBar, AFX_IDW_DOCKBAR_TOP);
    DockControlBar(&m_wndSecondBar, AFX_IDW_DOCKBAR_TOP);
    if (!CreateOutlookBar() || !CreateTasksPane()) return -1;

    // The document tabs, renamed by a double click and dragged to another place.
    m_wndClientArea.EnableTabs(TRUE, CPlxTabWnd::LOCATION_TOP);
    Tabs().m_bRenameEnabled = TRUE;
    Tabs().m_bMoveEnabled = TRUE;
    // Ids the script can find them by (the strip and its buttons have none of their own).
    Tabs().SetDlgCtrlID(kTabsId);
    if (Tabs().m_pBtnRight != nullptr) Tabs().m_pBtnRight->SetDlgCtrlID(kScrollRightId);
    return 0;
  }

  BOOL CreateOutlookBar() {
    if (!m_wndOutlook.Create(this, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT | CBRS_SIZE_DYNAMIC, kOutlookId))
      return FALSE;
    m_wndOutlook.SetWindowText("Shortcuts");
    m_wndOutlook.m_bResizable = TRUE;  // its inner edge is a splitter
    m_wndOutlook.m_nBarSize = 130;
    m_wndOutlook.SetOwnSizes(CSize(40, 40), CSize(32, 32));
    m_nAlbumsPage = m_wndOutlook.AddPage("Albums");
    m_nMusicPage = m_wndOutlook.AddPage("Music");
    for (UINT i = 0; i < 12; ++i)
      m_wndOutlook.AddShortcut(kFirstShortcutCmd + i, -1, ("Album " + std::to_string(i + 1)).c_str(),
                               m_nAlbumsPage);
    m_wndOutlook.AddShortcut(kFirstShortcutCmd + 12, -1, "Tracks", m_nMusicPage);
    m_wndOutlook.AddShortcut(kFirstShortcutCmd + 13, -1, "Effects", m_nMusicPage);
    m_wndOutlook.SetOwner(this);
    m_wndOutlook.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    DockControlBar(&m_wndOutlook, AFX_IDW_DOCKBAR_LEFT);
    return TRUE;
  }

  BOOL CreateTasksPane() {
    m_wndTasks.m_bAnimationEnabled = FALSE;
    m_wndTasks.EnableHistoryMenuButtons(TRUE);
    if (!m_wndTasks.Create(this, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_RIGHT | CBRS_SIZE_DYNAMIC, kTasksId))
      return FALSE;
    m_wndTasks.m_nBarSize = 190;
    m_wndTasks.SetOwner(this);
    m_wndTasks.AddPage("Pictures");
    m_wndTasks.AddPage("Sharing");
    const char* groups[][3] = {{"Album tasks", "Play slideshow", "Print album"},
                               {"Details", "Show file names", "Sort by date"},
                               {"Pictures", "Rotate", "Crop"},
                               {"Sharing", "Send by mail", "Burn a disc"}};
    const int pages[] = {0, 0, 1, 2};
    UINT command = kFirstTaskCmd;
    for (int g = 0; g < 4; ++g) {
      const int group = m_wndTasks.AddGroup(pages[g], groups[g][0]);
      for (int t = 1; t < 3; ++t) m_wndTasks.AddTask(group, groups[g][t], -1, command++);
    }
    m_wndTasks.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    DockControlBar(&m_wndTasks, AFX_IDW_DOCKBAR_RIGHT);
    return TRUE;
  }

  // Rectangles of the outlook bar's and the tasks pane's parts, in the bar's client area.
  void LogPanesLayout() {
    CDemoOutlookBar& bar = m_wndOutlook;
    for (int i = 0; i < bar.GetCount(); ++i)
      if (auto* shortcut = dynamic_cast<CPlxOutlookButton*>(bar.GetButton(i)))
        if (shortcut->m_dwPageId == m_nAlbumsPage && !shortcut->m_rect.IsRectEmpty())
          Log("albums shortcut " + std::to_string(shortcut->m_nID - kFirstShortcutCmd) + " " +
              RectText(shortcut->m_rect));
    CRect rect;
    bar.GetScrollButton(FALSE).GetWindowRect(rect);
    bar.ScreenToClient(rect);
    Log("outlook down " + RectText(rect));
    bar.FindPage(m_nMusicPage)->m_btnPage.GetWindowRect(rect);
    bar.ScreenToClient(rect);
    Log("outlook music " + RectText(rect));
    Log("outlook splitter " + RectText(bar.m_rectSplitter));
    bar.SetActivePage(m_nMusicPage);
    for (int i = 0; i < bar.GetCount(); ++i)
      if (auto* shortcut = dynamic_cast<CPlxOutlookButton*>(bar.GetButton(i)))
        if (shortcut->m_dwPageId == m_nMusicPage)
          Log("music shortcut " + std::to_string(shortcut->m_nID - kFirstShortcutCmd) + " " +
              RectText(shortcut->m_rect));
    bar.SetActivePage(m_nAlbumsPage);

    CDemoTasksPane& pane = m_wndTasks;
    for (int g = 0; g < pane.GetGroupCount(); ++g) {
      CPlxTasksGroup* group = pane.GetTaskGroup(g);
      Log("tasks group " + std::to_string(g) + " " + RectText(group->m_rect));
      for (int t = 0; t < 2; ++t)
        if (CPlxTask* task = pane.GetTask(g, t))
          Log("tasks task " + std::to_string(g) + " " + std::to_string(t) + " " + RectText(task->m_rect));
    }
    CPlxTasksPaneToolBar& tools = pane.GetToolBar();
    for (int i = 0; i < tools.GetCount(); ++i) {
      CPlxToolbarButton* button = tools.GetButton(i);
      if (button->m_nStyle & TBBS_SEPARATOR) continue;
      CRect r = button->m_rect;
      tools.MapWindowPoints(&pane, r);
      Log("tasks tool " + std::to_string(button->m_nID == (UINT)-1 ? 0 : button->m_nID) + " " + RectText(r));
      if (auto* menu = dynamic_cast<CPlxToolbarMenuButton*>(button);
          menu != nullptr && !menu->m_rectArrow.IsRectEmpty()) {
        CRect arrow = menu->m_rectArrow;
        tools.MapWindowPoints(&pane, arrow);
        Log("tasks arrow " + std::to_string(button->m_nID) + " " + RectText(arrow));
      }
    }
  }

  CDemoColorButton* AddColorBar(CPlxToolBar& bar, UINT id, const char* title) {
    if (!bar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC | CBRS_TOOLTIPS, id) ||
        !bar.LoadToolBar(kToolbarResource))
      return nullptr;
    bar.SetWindowText(title);
    auto* button = new CDemoColorButton(kColorCmd, "Colour");
    button->EnableOtherButton("Other...");
    bar.InsertButtonObject(button, 0);
    button->SetImage(0);
    button->m_bImage = TRUE;
    button->m_bText = FALSE;
    bar.EnableDocking(CBRS_ALIGN_ANY);
    bar.AdjustLayout();
    return button;
  }

  // The popup's "Other..." button, in the popup bar's client area.
  void LogColorPopupLayout() {
    if (!m_wndFirstBar.DropDownMenu(m_pColorOne)) return;
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessage(&msg);
    if (CPlxPopupMenu* popup = m_pColorOne->GetPopupMenu()) {
      CPlxPopupMenuBar* bar = popup->GetMenuBar();
      for (int i = 0; i < bar->GetCount(); ++i)
        if (bar->GetButton(i)->m_strText.Find("Other") >= 0)
          Log("other " + std::to_string(bar->GetDlgCtrlID()) + " " + RectText(bar->GetButton(i)->m_rect));
    }
    m_pColorOne->OnCancelMode();
    m_wndFirstBar.SendMessage(WM_CANCELMODE);
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessage(&msg);
  }

  void LogColorDialogLayout() {
    // The dialog opens and closes at once; its cells are laid out as the user will see them.
    struct Probe : CDemoColorDialog {
      using CDemoColorDialog::CDemoColorDialog;
      BOOL OnInitDialog() override {
        const BOOL result = CDemoColorDialog::OnInitDialog();
        PostMessage(WM_APP + 7);
        return result;
      }
      LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_APP + 7) return CDemoColorDialog::WindowProc(message, wParam, lParam);
        m_pPage1->m_hexagon.EnsureCells();
        m_pPage1->m_greys.EnsureCells();
        const CPlxColorChooserCtrl& hexagon = m_pPage1->m_hexagon;
        for (int i = 0; i < hexagon.GetCells().GetSize(); ++i)
          if (hexagon.GetCell(i)->m_color == RGB(0, 0, 255) ||
              hexagon.GetCell(i)->m_color == RGB(255, 255, 0))
            Log("hexagon " + ColorText(hexagon.GetCell(i)->m_color) + " " + CellText(hexagon.GetCell(i)));
        const CPlxColorChooserCtrl& greys = m_pPage1->m_greys;
        for (int i = 0; i < greys.GetCells().GetSize(); ++i)
          Log("grey " + std::to_string(i) + " " + CellText(greys.GetCell(i)));
        m_pPropSheet->SetActivePage(1);
        CRect bar;
        m_pPage2->m_bar.GetClientRect(bar);
        Log("luminance " + RectText(bar));
        EndDialog(IDCANCEL);
        return 0;
      }
      static std::string CellText(const CPlxColorCell* cell) {
        return RectText(CRect(cell->m_x, cell->m_y, cell->m_x, cell->m_y));
      }
    } probe(RGB(0, 0, 0), 0, this);
    probe.DoModal();
  }

  BOOL OnShowPopupMenu(CPlxPopupMenu* pMenu) override {
    // A title the input script can find the popup by.
    if (pMenu != nullptr && pMenu->GetSafeHwnd() != nullptr) pMenu->SetWindowText("Demo popup");
    return CPlxMDIFrameWnd::OnShowPopupMenu(pMenu);
  }

  // Handlers in the message map, so the buttons of these commands are enabled.
  void OnShortcut(UINT id) { Log("shortcut " + std::to_string(id - kFirstShortcutCmd)); }
  void OnSampleCommand(UINT id) { Log("toolbar command " + std::to_string(id)); }

  void OnColor() { Log("colour command " + ColorText(CPlxColorMenuButton::GetColorByCmdID(kColorCmd))); }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == CPlxTabWnd::PlxM_ONCHANGE_ACTIVE_TAB) {
      CString label;
      Tabs().GetTabLabel(static_cast<int>(wParam), label);
      Log("active tab " + std::to_string(static_cast<int>(wParam)) + " " + static_cast<LPCTSTR>(label));
    } else if (message == CPlxTabWnd::PlxM_ON_RENAME_TAB) {
      // The tab shows the child's title: the new name goes to the child.
      const auto label = reinterpret_cast<LPCTSTR>(lParam);
      Log("renamed tab " + std::to_string(static_cast<int>(wParam)) + " " + label);
      if (CWnd* child = Tabs().GetTabWnd(static_cast<int>(wParam))) child->SetWindowText(label);
      return 0;
    } else if (message == CPlxTabWnd::PlxM_ON_MOVE_TAB) {
      Log("moved tab " + std::to_string(static_cast<int>(wParam)) + " to " + std::to_string(lParam));
      return 0;
    } else if (message == CPlxTabWnd::PlxM_ON_HSCROLL) {
      return 0;
    }
    return CPlxMDIFrameWnd::WindowProc(message, wParam, lParam);
  }

  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    const UINT id = LOWORD(wParam);
    if (id == kTwelveCmd) {
      OpenChildren(12);
      return TRUE;
    }
    if (id >= kFirstTaskCmd && id < kFirstTaskCmd + 8) {
      Log("task " + std::to_string(id - kFirstTaskCmd));
      return TRUE;
    }
    if (id == kSheetCmd) {
      CDemoSheet sheet;
      Log(std::string("options sheet ") + (sheet.DoModal() == IDOK ? "ok" : "cancelled"));
      return TRUE;
    }
    return CPlxMDIFrameWnd::OnCommand(wParam, lParam);
  }

  afx_msg void OnClose() {
    LogState("end");
    Log("clipboard " + ClipboardText());
    Log("closed");
    DestroyWindow();
  }
  void PostNcDestroy() override { PostQuitMessage(0); }
  DECLARE_MESSAGE_MAP()

  CPlxToolBar m_wndFirstBar, m_wndSecondBar;
  CDemoOutlookBar m_wndOutlook;
  CDemoTasksPane m_wndTasks;
  DWORD m_nAlbumsPage = 0, m_nMusicPage = 0;
  CDemoColorButton *m_pColorOne = nullptr, *m_pColorTwo = nullptr;
  CDemoChild* m_pControls = nullptr;
  int m_nChildren = 0;
};

BEGIN_MESSAGE_MAP(CPanesDemoFrame, CPlxMDIFrameWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_COMMAND(kColorCmd, OnColor)
ON_COMMAND_RANGE(kFirstShortcutCmd, kFirstShortcutCmd + 13, OnShortcut)
ON_COMMAND_RANGE(60101, 60106, OnSampleCommand)
END_MESSAGE_MAP()

}  // namespace

int main(int argc, char** argv) {
  std::string logPath;
  bool layout = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--log" && i + 1 < argc)
      logPath = argv[++i];
    else if (a == "--layout")
      layout = true;
    else if (a == "--resources" && i + 1 < argc)
      pictavo::res::SetResourceRoot(argv[++i]);
  }
  g_log.open(logPath, std::ios::trunc);
  if (!g_log) {
    std::fprintf(stderr, "usage: panes_demo --log FILE [--resources DIR] [--layout]\n");
    return 2;
  }
  if (!pictavo::display::Initialize()) return 1;
  CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
  PlxRegisterToolbarMessages();
  CDemoApp app;
  CRedWindow red;
  red.Make();
  auto* frame = new CPanesDemoFrame;
  if (!frame->CreateDemo(&app)) {
    std::fprintf(stderr, "panes_demo: the frame could not be made\n");
    return 1;
  }
  frame->ShowWindow(SW_SHOW);
  frame->RecalcLayout();
  frame->OpenChildren(3);
  frame->UpdateWindow();
  frame->LogState("start");
  if (layout) {
    frame->LogLayout();
    frame->DestroyWindow();
    return 0;
  }
  const int exitCode = pictavo::test::RunDemoLoop(frame->GetSafeHwnd());
  red.DestroyWindow();
  CPlxToolBar::CleanUpImages();
  CPlxVisualManager::DestroyInstance();
  return exitCode;
}
