// The docking demonstration program: a toolkit MDI frame with a menu bar whose Edit menu tears
// off, sizing bars (a tree on the left, two lists sharing the bottom row, a floating one that rolls
// up by itself), a dialog bar made from a template, a caption bar, a docked colour bar, a toolbar
// with a combo box, an edit box (their twins sit on a second bar) and a drop-down button, and a
// status bar with text panes and an animated pane. The view has a context menu, the Window menu
// the windows dialog, File > Colours a dialog with a colour button and a link. What the user picks
// is logged. The end-to-end test drives it with the input script; --layout writes where things lie
// (opening the popups the script will use, to measure them) and quits. The workspace keeps the bars
// (sizes, roll state, torn-off menus, the colour bar) across runs.
//
// Options: --log FILE, --resources DIR, --layout, --animated FILE (made once the status pane has
// shown three frames), --rolls PREFIX (files made as the floating bar rolls up and down and as the
// drop-down button's bar opens).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/comctl/AfxTreeCtrl.h"
#include "platform/comctl/ImageList.h"
#include "platform/display/Display.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/StdControls.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/res/ResourceModule.h"
#include "platform/res/Resources.h"
#include "platform/user/Accel.h"
#include "platform/user/Menu.h"
#include "tests/support/DemoLoop.h"
#include "toolkit/bars/PlxContextMenuManager.h"
#include "toolkit/bars/PlxDropDownToolBar.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxMenuBar.h"
#include "toolkit/bars/PlxMiniDockFrameWnd.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxStatusBar.h"
#include "toolkit/bars/PlxTearOffIdPool.h"
#include "toolkit/bars/PlxToolbarComboBoxButton.h"
#include "toolkit/bars/PlxToolbarEditBoxButton.h"
#include "toolkit/bars/PlxURLLinkButton.h"
#include "toolkit/core/PlxCaptionBar.h"
#include "toolkit/core/PlxColorBar.h"
#include "toolkit/core/PlxColorButton.h"
#include "toolkit/core/PlxColorPopup.h"
#include "toolkit/core/PlxDialog.h"
#include "toolkit/core/PlxDialogBar.h"
#include "toolkit/core/PlxMDIChildWnd.h"
#include "toolkit/core/PlxSizingControlBar.h"
#include "toolkit/core/PlxWinXPVisualManager.h"
#include "toolkit/core/PlxWindowListDlg.h"
#include "toolkit/core/PlxWorkspace.h"

namespace {

constexpr UINT kFrameMenu = 17100, kAlbumMenu = 17101, kViewMenu = 17102;
constexpr UINT kColoursDialog = 17103, kFindBarTemplate = 17104;
constexpr UINT kToolbarResource = 64600, kPicturesResource = 64601;
constexpr UINT kToolBarId = 1002, kTwinBarId = 1003, kColorBarId = 1004, kCaptionBarId = 1005;
constexpr UINT kTreeBarId = 1010, kLeftListBarId = 1011, kRightListBarId = 1012, kFloatBarId = 1013;
constexpr UINT kFindBarId = 1014, kPicturesBarId = 1015;
constexpr UINT kComboCmd = 41001, kEditCmd = 41002, kColorCmd = 41003;
constexpr UINT kNewAlbumCmd = 40001;
// The View menu's commands show or hide these bars, in this order; Ctrl+T is Tracks.
constexpr UINT kFirstViewCmd = 17110, kTracksCmd = 17112, kLastViewCmd = 17115;
constexpr UINT kWindowsCmd = 17120, kNewNoteCmd = 17121, kColoursCmd = 17122;
constexpr UINT kFirstEditCmd = 17130, kLastEditCmd = 17133;  // Cut, Copy, Paste, Properties
constexpr UINT kFirstTearOffId = 17140, kLastTearOffId = 17149;
constexpr UINT kColourButtonId = 17150, kLinkButtonId = 17151;
constexpr UINT kFindButtonId = 17157;
constexpr UINT kCountPane = 17160, kAnimationPane = 17161;

std::ofstream g_log;
std::string g_animatedFile, g_rollPrefix;
constexpr UINT_PTR kWatchTimer = 77;

void Log(const std::string& line) {
  g_log << line << '\n';
  g_log.flush();
}

std::string RectText(const CRect& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
         std::to_string(r.bottom);
}

class CDemoApp : public CPlxWorkspace {
 public:
  CDemoApp() {
    // In the user's registry (under HOME), not in a profile file other runs share; the key
    // takes the application's name as the profile's, so the profile is named after it.
    SetRegistryKey("Pictavo");
    free(const_cast<LPTSTR>(m_pszProfileName));
    m_pszProfileName = strdup("PictavoDockingDemo");
  }
  // Menus carry their tear-off ids from the first menu bar made, so the pool comes first.
  CPlxTearOffIdPool m_tearOffIds{kFirstTearOffId, kLastTearOffId};
};
CDemoApp* g_app = nullptr;

class CAlbumDoc : public CDocument {
  DECLARE_DYNCREATE(CAlbumDoc)
};
IMPLEMENT_DYNCREATE(CAlbumDoc, CDocument)

class CDemoView : public CView {
  DECLARE_DYNCREATE(CDemoView)

 public:
  void OnDraw(CDC* pDC) override {
    if (CDocument* doc = GetDocument()) pDC->TextOut(6, 6, doc->GetTitle());
  }

 protected:
  // The context-menu manager's menu; its command comes to this view and on to the frame.
  afx_msg void OnContextMenu(CWnd*, CPoint point) {
    if (g_pContextMenuManager != nullptr)
      g_pContextMenuManager->ShowPopupMenu(kViewMenu, point.x, point.y, this);
  }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CDemoView, CView)
BEGIN_MESSAGE_MAP(CDemoView, CView)
ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

class CDemoChild : public CPlxMDIChildWnd {
  DECLARE_DYNCREATE(CDemoChild)
};
IMPLEMENT_DYNCREATE(CDemoChild, CPlxMDIChildWnd)

// A note's window has no system menu: the windows dialog then keeps its arranging buttons off.
class CNoteChild : public CPlxMDIChildWnd {
  DECLARE_DYNCREATE(CNoteChild)

 public:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override {
    cs.style &= ~WS_SYSMENU;
    return CPlxMDIChildWnd::PreCreateWindow(cs);
  }
};
IMPLEMENT_DYNCREATE(CNoteChild, CPlxMDIChildWnd)

// File > Colours: a toolkit dialog with a colour button (its colours, automatic, more colours,
// the document's colours) and a link. The colour the button shows is logged when it changes.
class CColoursDialog : public CPlxDialog {
 public:
  explicit CColoursDialog(CWnd* parent, COLORREF colour)
      : CPlxDialog(kColoursDialog, parent), m_colour(colour) {}

  BOOL OnInitDialog() override {
    CPlxDialog::OnInitDialog();
    m_button.SubclassDlgItem(kColourButtonId, this);
    m_link.SubclassDlgItem(kLinkButtonId, this);
    m_link.SetURL("www.pictavo.org");
    m_link.SetURLPrefix("https://");
    // The button's own twenty colours, five to a row.
    m_button.m_nColumns = 5;
    m_button.m_ColorAutomatic = RGB(0, 0, 0);
    m_button.m_strAutoColorText = "Automatic";
    m_button.m_strOtherText = "More Colors...";
    m_button.m_strDocColorsText = "Album";
    m_button.m_lstDocColors.AddTail(RGB(0, 90, 200));
    m_button.m_lstDocColors.AddTail(RGB(240, 200, 120));
    m_button.SetColor(m_colour);
    return TRUE;
  }
  CPlxColorButton m_button;
  CPlxURLLinkButton m_link;
  COLORREF m_colour;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (LOWORD(wParam) == kColourButtonId && HIWORD(wParam) == BN_CLICKED) {
      m_colour = m_button.GetColor();
      Log("dialog colour " + std::to_string(static_cast<unsigned>(m_colour)));
      return TRUE;
    }
    return CPlxDialog::OnCommand(wParam, lParam);
  }
};

// A sizing bar whose one child control fills its client area.
class CFilledBar : public CPlxSizingControlBar {
 public:
  CWnd* m_pContent = nullptr;

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy) {
    CPlxSizingControlBar::OnSize(nType, cx, cy);
    if (m_pContent != nullptr && m_pContent->GetSafeHwnd() != nullptr)
      m_pContent->SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CFilledBar, CPlxSizingControlBar)
ON_WM_SIZE()
END_MESSAGE_MAP()

class CDockingDemoFrame : public CPlxMDIFrameWnd {
 public:
  BOOL CreateDemo() {
    g_app->m_pMainWnd = this;
    // The frame's own load runs only once a run saved the bars: with nothing stored, the
    // workspace's load floats the docked sizing bars.
    m_Impl.m_uiDefaultMenuResId = kFrameMenu;
    if (!CMDIFrameWnd::LoadFrame(kFrameMenu, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN)) return FALSE;
    if (g_app->GetProfileInt("Docking", "Saved", 0) != 0) {
      m_Impl.OnLoadFrame();
      Log("workspace loaded");
    }
    if (m_Impl.m_pMenuBar != nullptr) m_Impl.m_hDefaultMenu = m_hMenuDefault;
    SetWindowText("Docking Demo");
    SetWindowPos(nullptr, 20, 20, 760, 560, SWP_NOZORDER);
    return TRUE;
  }

  void LogBars(const std::string& prefix) {
    for (CFilledBar* bar : {&m_wndTree, &m_wndLeftList, &m_wndRightList, &m_wndFloat}) {
      CRect rect;
      bar->GetWindowRect(rect);
      Log(prefix + " bar " + std::to_string(bar->GetDlgCtrlID()) + " " + RectText(rect) +
          (bar->IsWindowVisible() ? " shown" : " hidden") + (bar->IsFloatingBar() ? " floating" : " docked") +
          " roll " + std::to_string(bar->m_nRollState) + (bar->m_bRolled ? " rolled" : "") + " in " +
          std::to_string(bar->GetParent()->GetDlgCtrlID()) + " " + std::to_string(bar->m_nDockBarID));
    }
    Log(prefix + " colour " + std::to_string(static_cast<unsigned>(m_wndColorBar.GetColor())));
    Log(prefix + " cells " + std::to_string(m_wndColorBar.GetCount()));
    Log(prefix + " edit " + EditText(m_wndToolBar) + " | " + EditText(m_wndTwinBar));
    CRect find;
    m_wndFindBar.GetWindowRect(find);
    Log(prefix + " find " + RectText(find) + (m_wndFindBar.IsWindowVisible() ? " shown" : " hidden") +
        (m_wndFindBar.IsFloatingBar() ? " floating" : " docked"));
    const CObList& torn = m_Impl.GetTearOffToolbars();
    for (POSITION pos = torn.GetHeadPosition(); pos != nullptr;) {
      auto* bar = static_cast<CControlBar*>(torn.GetNext(pos));
      CString name;
      bar->GetWindowText(name);
      Log(prefix + " torn " + static_cast<LPCTSTR>(name) + " " + std::to_string(bar->GetDlgCtrlID()) +
          (bar->IsWindowVisible() ? " shown" : " hidden") + (bar->IsFloating() ? " floating" : " docked"));
    }
    if (CPlxDropDownToolbarButton* drop = DropDownButton())
      Log(prefix + " drop-down default " + std::to_string(drop->m_nID));
    Log(prefix + " dialog colour " + std::to_string(static_cast<unsigned>(m_dialogColour)));
  }

  CPlxDropDownToolbarButton* DropDownButton() {
    for (int i = 0; i < m_wndToolBar.GetCount(); ++i)
      if (auto* drop = dynamic_cast<CPlxDropDownToolbarButton*>(m_wndToolBar.GetButton(i))) return drop;
    return nullptr;
  }

  // The edit-box button's text on a bar (its window's text when it has one).
  static std::string EditText(CPlxToolBar& bar) {
    for (int i = 0; i < bar.GetCount(); ++i)
      if (auto* edit = dynamic_cast<CPlxToolbarEditBoxButton*>(bar.GetButton(i))) {
        CString text = edit->GetContents();
        if (edit->GetEditBox() != nullptr && edit->GetEditBox()->GetSafeHwnd() != nullptr)
          edit->GetEditBox()->GetWindowText(text);
        return static_cast<LPCTSTR>(text);
      }
    return "none";
  }

  // Where the script clicks: the bars' client rectangles in screen coordinates.
  void LogLayout() {
    for (CWnd* wnd : std::initializer_list<CWnd*>{&m_wndTree, &m_wndLeftList, &m_wndRightList, &m_wndFloat,
                                                  &m_wndColorBar, &m_wndToolBar, &m_wndTwinBar}) {
      CRect rect;
      wnd->GetWindowRect(rect);
      Log("layout " + std::to_string(wnd->GetDlgCtrlID()) + " " + RectText(rect));
    }
    // Sizing bars, in their dock bar's client coordinates (the script clicks there, the caption
    // and edges lying outside the bar's client area): the caption, the buttons and the splitter
    // edge past the right of the client area.
    for (CFilledBar* bar : {&m_wndTree, &m_wndLeftList, &m_wndRightList}) {
      CRect window, client;
      bar->GetWindowRect(window);
      bar->GetClientRect(client);
      CPoint origin(0, 0), parent(0, 0);
      bar->ClientToScreen(&origin);
      bar->GetParent()->ClientToScreen(&parent);
      const CPoint off = origin - window.TopLeft();
      const CPoint shift = window.TopLeft() - parent;  // window coordinates to the dock bar's
      const std::string id = std::to_string(bar->GetDlgCtrlID());
      CRect caption;
      bar->GetCaptionRect(CRect(off, client.Size()), FALSE, caption);
      caption.OffsetRect(shift);
      Log("caption " + id + " " + RectText(caption));
      for (int i = 0; i < CPlxSizingControlBar::kButtons; ++i) {
        CRect button = bar->m_Buttons[i].GetRect();
        button.OffsetRect(shift);
        Log("button " + id + " " + std::to_string(i) + " " + RectText(button));
      }
      CRect edge(off.x + client.right, off.y, window.Width(), off.y + client.bottom);
      edge.OffsetRect(shift);
      Log("edge " + id + " " + RectText(edge));
    }
    CPoint menuOrigin(0, 0);  // the MDI client area's, which the floating bar lies over
    ::ClientToScreen(m_hWndMDIClient, &menuOrigin);
    auto* mini = FloatingFrame();
    if (mini != nullptr) {
      CRect frame;
      mini->GetWindowRect(frame);
      frame.OffsetRect(-menuOrigin.x, -menuOrigin.y);
      Log("floating frame " + RectText(frame));  // in the MDI client area's coordinates
    }
    for (CPlxToolBar* bar : {&m_wndToolBar, &m_wndTwinBar})
      for (int i = 0; i < bar->GetCount(); ++i)
        Log("tool " + std::to_string(bar->GetDlgCtrlID()) + " " + std::to_string(i) + " " +
            RectText(bar->GetButton(i)->m_rect));
    for (int i = 0; i < m_wndColorBar.GetCount(); ++i)
      Log("cell " + std::to_string(i) + " " + RectText(m_wndColorBar.GetButton(i)->m_rect));
  }

  // Handles what is queued; bounded, so a layout that never settled could not stop the run.
  static void Pump() {
    MSG msg;
    for (int n = 0; n < 200 && ::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
      ::TranslateMessage(&msg);
      ::DispatchMessage(&msg);
    }
  }

  // Opens what the script meets in popups and logs where it lies: the menu bar's items, the Edit
  // menu's tear-off strip and the floating frames (desktop coordinates), the colour popup's cells
  // and the drop-down bar's items (their bars' client coordinates). Last, the tree floats as a
  // double click on its caption floats it.
  void LogPopups() {
    for (int i = 0; i < m_wndMenuBar.GetCount(); ++i) {
      CRect r = m_wndMenuBar.GetButton(i)->m_rect;
      m_wndMenuBar.ClientToScreen(r);
      Log("menu " + std::to_string(i) + " " + RectText(r));
    }
    if (CPlxMiniDockFrameWnd* mini = FloatingFrame()) {
      CRect r;
      mini->GetWindowRect(r);
      Log("screen effects " + RectText(r));
    }
    if (auto* edit = dynamic_cast<CPlxToolbarMenuButton*>(m_wndMenuBar.GetButton(1));
        edit != nullptr && edit->OpenPopupMenu(&m_wndMenuBar)) {
      Pump();
      if (CPlxPopupMenu* popup = edit->GetPopupMenu()) {
        CRect r;
        popup->GetWindowRect(r);
        Log("edit popup " + RectText(r));
        for (int y = r.top; y < r.top + 30; ++y)
          if (popup->MenuHitTest(CPoint(r.CenterPoint().x, y)) == CPlxPopupMenu::HT_TEAROFF) {
            Log("strip " + RectText(CRect(r.CenterPoint().x, y, r.CenterPoint().x, y + 4)));
            break;
          }
      }
      edit->OnCancelMode();
      Pump();
    }
    CColoursDialog dialog(this, m_dialogColour);
    if (dialog.Create(kColoursDialog, this)) {
      dialog.m_button.OnShowColorPopup();
      Pump();
      if (CColorPopup* popup = dialog.m_button.GetPopup()) {
        CPlxColorBar& bar = popup->m_colorBar;
        for (int i = 0; i < bar.GetCount(); ++i) {
          auto* cell = dynamic_cast<CPlxToolBarColorButton*>(bar.GetButton(i));
          if (cell == nullptr) continue;
          const char* kind = cell->m_bAutomaticRow    ? "automatic"
                             : cell->m_bMoreColorsRow ? "other"
                             : cell->m_bCaptionRow    ? "caption"
                             : cell->m_bDocumentCell  ? "document"
                                                      : "colour";
          Log(std::string("popup ") + kind + " " + std::to_string(static_cast<unsigned>(cell->m_clrCell)) +
              " " + RectText(cell->m_rect));
        }
        popup->SendMessage(WM_CLOSE);
        Pump();
      }
      dialog.DestroyWindow();
    }
    if (CPlxDropDownToolbarButton* drop = DropDownButton();
        drop != nullptr && drop->ShowDropDownBar(&m_wndToolBar)) {
      Pump();
      if (CPlxDropDownFrame* frame = drop->GetPopupFrame()) {
        CPlxDropDownToolBar& bar = frame->GetToolBar();
        for (int i = 0; i < bar.GetCount(); ++i) {
          CRect r;
          bar.GetItemRect(i, &r);
          Log("drop " + std::to_string(i) + " " + std::to_string(bar.GetItemID(i)) + " " + RectText(r));
          bar.ClientToScreen(r);
          Log("screen drop " + std::to_string(i) + " " + RectText(r));
        }
        frame->DestroyWindow();
        Pump();
      }
    }
    if (m_wndTree.m_pDockContext != nullptr) {
      m_wndTree.m_pDockContext->ToggleDocking();
      RecalcLayout();
      Pump();
      CRect r;
      m_wndTree.GetParent()->GetParent()->GetWindowRect(r);
      Log("screen tree frame " + RectText(r));
    }
  }

  // The mini frame the floating bar is in (its dock bar's parent), else null.
  CPlxMiniDockFrameWnd* FloatingFrame() {
    CWnd* dock = m_wndFloat.GetParent();
    return dock != nullptr ? dynamic_cast<CPlxMiniDockFrameWnd*>(dock->GetParent()) : nullptr;
  }

  CPlxMenuBar m_wndMenuBar;
  CPlxToolBar m_wndToolBar, m_wndTwinBar;
  CPlxDropDownToolBar m_wndPicturesBar;  // hidden: what the drop-down button offers
  CPlxDialogBar m_wndFindBar;
  CPlxStatusBar m_wndStatusBar;
  CPlxCaptionBar m_wndCaptionBar;
  CPlxColorBar m_wndColorBar;
  CFilledBar m_wndTree, m_wndLeftList, m_wndRightList, m_wndFloat;
  CTreeCtrl m_tree;
  CListBox m_leftList, m_rightList, m_floatList;
  CMultiDocTemplate* m_pAlbums = nullptr;
  CMultiDocTemplate* m_pNotes = nullptr;
  int m_nNotes = 0;
  COLORREF m_dialogColour = RGB(0, 90, 200);

 protected:
  BOOL MakeSizingBar(CFilledBar& bar, CWnd& content, LPCTSTR title, UINT id, CSize size, BOOL tree) {
    if (!bar.Create(title, this, size, TRUE, id, WS_CHILD | WS_VISIBLE | CBRS_TOP)) return FALSE;
    const CRect rect(0, 0, size.cx, size.cy);
    const BOOL made =
        tree ? static_cast<CTreeCtrl&>(content).Create(
                   WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT, rect, &bar, 100)
             : static_cast<CListBox&>(content).Create(WS_CHILD | WS_VISIBLE | LBS_NOTIFY, rect, &bar, 100);
    if (!made) return FALSE;
    bar.m_pContent = &content;
    bar.SetBarStyle(bar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    bar.EnableDocking(CBRS_ALIGN_ANY);
    return TRUE;
  }

  // Four frames of a dot going round a 16-pixel square.
  static HIMAGELIST MakeAnimation() {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP strip = ::CreateCompatibleBitmap(screen, 64, 16);
    HGDIOBJ old = ::SelectObject(dc, strip);
    HBRUSH back = ::CreateSolidBrush(RGB(255, 0, 255)), dot = ::CreateSolidBrush(RGB(0, 90, 200));
    RECT all = {0, 0, 64, 16};
    ::FillRect(dc, &all, back);
    const POINT corners[] = {{2, 2}, {8, 2}, {8, 8}, {2, 8}};
    for (int i = 0; i < 4; ++i) {
      RECT r = {i * 16 + corners[i].x, corners[i].y, i * 16 + corners[i].x + 6, corners[i].y + 6};
      ::FillRect(dc, &r, dot);
    }
    ::SelectObject(dc, old);
    ImageList_AddMasked(list, strip, RGB(255, 0, 255));
    ::DeleteObject(back);
    ::DeleteObject(dot);
    ::DeleteObject(strip);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return list;
  }

  // Counts the animated pane's frame changes; after three the file named by --animated appears.
  afx_msg void OnTimer(UINT_PTR id) {
    if (id != kWatchTimer) return CPlxMDIFrameWnd::OnTimer(id);
    WatchRoll();
    CPlxStatusBarPaneInfo* pane = m_wndStatusBar.GetPane(1);
    if (pane == nullptr || pane->nCurrFrame == m_nLastFrame) return;
    m_nLastFrame = pane->nCurrFrame;
    if (++m_nFrameChanges == 3) {
      Log("pane animated");
      if (!g_animatedFile.empty()) std::ofstream(g_animatedFile) << "animated\n";
    }
  }
  int m_nLastFrame = 0, m_nFrameChanges = 0;

  // Each time the floating bar's frame rolls up or down, "<prefix>up-N" or "<prefix>down-N" is
  // made (N counts that direction), so the script can wait for it.
  void WatchRoll() {
    CPlxDropDownToolbarButton* drop = DropDownButton();
    const BOOL dropOpen = drop != nullptr && drop->GetPopupFrame() != nullptr;
    if (dropOpen && !m_bDropOpen) {
      const std::string name = "drop-down-" + std::to_string(++m_nDropOpens);
      Log("opened " + name);
      if (!g_rollPrefix.empty()) std::ofstream(g_rollPrefix + name) << name << "\n";
    }
    m_bDropOpen = dropOpen;
    auto* mini = FloatingFrame();
    if (mini == nullptr || mini->m_bRolled == m_bLastRolled) return;
    m_bLastRolled = mini->m_bRolled;
    const int n = m_bLastRolled ? ++m_nRollUps : ++m_nRollDowns;
    const std::string name = std::string(m_bLastRolled ? "up-" : "down-") + std::to_string(n);
    Log("rolled " + name);
    if (!g_rollPrefix.empty()) std::ofstream(g_rollPrefix + name) << name << "\n";
  }
  BOOL m_bLastRolled = FALSE, m_bDropOpen = FALSE;
  int m_nDropOpens = 0;
  int m_nRollUps = 0, m_nRollDowns = 0;

  static int Fail(int step) {
    std::fprintf(stderr, "docking_demo: bar %d could not be made\n", step);
    return -1;
  }

  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CPlxMDIFrameWnd::OnCreate(cs) == -1) return Fail(1);
    ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'T', kTracksCmd},
                    {FVIRTKEY | FCONTROL, 'N', kNewAlbumCmd},
                    {FVIRTKEY | FCONTROL, 'K', kColoursCmd},
                    {FVIRTKEY | FCONTROL | FSHIFT, 'N', kNewNoteCmd}};
    m_hAccelTable = CreateAcceleratorTable(keys, static_cast<int>(std::size(keys)));
    // Made before the dock bars, so it lies below the bottom one.
    static const UINT indicators[] = {0, kAnimationPane, kCountPane};
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 3)) return Fail(7);
    m_wndStatusBar.SetPaneInfo(1, kAnimationPane, SBPS_NORMAL, 40);
    m_wndStatusBar.SetPaneInfo(2, kCountPane, SBPS_NORMAL, 120);
    m_wndStatusBar.SetPaneAnimation(1, MakeAnimation(), 100);
    m_strIdleText = "Ready";  // what the first pane shows again once a menu's prompt has gone
    m_wndStatusBar.SetPaneText(0, m_strIdleText);
    CountWindows();
    SetTimer(kWatchTimer, 50, nullptr);
    EnableDocking(CBRS_ALIGN_ANY);
    if (!m_wndMenuBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC)) return Fail(2);
    if (m_wndMenuBar.GetMenu() == nullptr) m_wndMenuBar.CreateFromMenu(m_hMenuDefault, TRUE);
    ::SetMenu(m_hWnd, nullptr);
    m_wndMenuBar.SetDefaultMenuResId(kFrameMenu);

    // The toolbar with a combo box and an edit box; the second bar holds their twins.
    if (!m_wndToolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC | CBRS_TOOLTIPS,
                             kToolBarId) ||
        !m_wndToolBar.LoadToolBar(kToolbarResource))
      return Fail(3);
    m_wndToolBar.SetWindowText("Album");
    if (!m_wndTwinBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC | CBRS_TOOLTIPS,
                             kTwinBarId))
      return Fail(4);
    m_wndTwinBar.SetWindowText("Twins");
    for (CPlxToolBar* bar : {&m_wndToolBar, &m_wndTwinBar}) {
      CPlxToolbarComboBoxButton combo(kComboCmd, -1, CBS_DROPDOWN, 110);
      combo.AddItem("Slow");
      combo.AddItem("Normal");
      combo.AddItem("Fast");
      bar->InsertButton(combo, bar == &m_wndToolBar ? 0 : -1);
      CPlxToolbarEditBoxButton edit(kEditCmd, -1, ES_AUTOHSCROLL, 100);
      bar->InsertButton(edit, bar == &m_wndToolBar ? 1 : -1);
      for (int i = 0; i < bar->GetCount(); ++i)
        if (auto* box = dynamic_cast<CPlxToolbarComboBoxButton*>(bar->GetButton(i)))
          box->SelectItem(1, FALSE);
    }
    // The drop-down button offers the first four picture commands; the first is its default.
    if (!m_wndPicturesBar.Create(this, WS_CHILD | CBRS_TOP, kPicturesBarId) ||
        !m_wndPicturesBar.LoadToolBar(kPicturesResource))
      return Fail(9);
    while (m_wndPicturesBar.GetCount() > 4) m_wndPicturesBar.RemoveButton(m_wndPicturesBar.GetCount() - 1);
    m_wndToolBar.InsertButton(CPlxDropDownToolbarButton("Pictures", &m_wndPicturesBar), 2);

    if (!m_wndColorBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS, kColorBarId))
      return Fail(5);
    m_wndColorBar.SetWindowText("Colours");

    if (!m_wndCaptionBar.Create(WS_CHILD | WS_VISIBLE | CBRS_TOP, this, kCaptionBarId, -1)) return Fail(6);
    m_wndCaptionBar.SetText("Album: the bars around keep their places");

    if (!MakeSizingBar(m_wndTree, m_tree, "Albums", kTreeBarId, CSize(180, 200), TRUE) ||
        !MakeSizingBar(m_wndLeftList, m_leftList, "Photos", kLeftListBarId, CSize(200, 120), FALSE) ||
        !MakeSizingBar(m_wndRightList, m_rightList, "Tracks", kRightListBarId, CSize(200, 120), FALSE) ||
        !MakeSizingBar(m_wndFloat, m_floatList, "Effects", kFloatBarId, CSize(160, 160), FALSE))
      return Fail(8);
    HTREEITEM root = m_tree.InsertItem("Holidays");
    m_tree.InsertItem("Beach", root);
    m_tree.InsertItem("Mountains", root);
    m_tree.InsertItem("Birthdays");
    for (const char* s : {"beach-01.jpg", "beach-02.jpg", "hill-01.jpg"}) m_leftList.AddString(s);
    for (const char* s : {"Intro", "Theme", "Outro"}) m_rightList.AddString(s);
    for (const char* s : {"Fade", "Wipe", "Zoom"}) m_floatList.AddString(s);
    if (!m_wndFindBar.Create("Find", this, TRUE, kFindBarTemplate, WS_CHILD | WS_VISIBLE | CBRS_LEFT,
                             kFindBarId))
      return Fail(10);
    m_wndFindBar.EnableDocking(CBRS_ALIGN_ANY);

    m_wndMenuBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndTwinBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndColorBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndMenuBar, AFX_IDW_DOCKBAR_TOP);
    DockControlBar(&m_wndToolBar, AFX_IDW_DOCKBAR_TOP);
    DockBeside(&m_wndTwinBar, &m_wndToolBar, AFX_IDW_DOCKBAR_TOP);
    DockControlBar(&m_wndColorBar, AFX_IDW_DOCKBAR_RIGHT);
    // The bars dock into the frame's final size, not the default one it is made with.
    SetWindowPos(nullptr, 20, 20, 760, 560, SWP_NOZORDER | SWP_NOACTIVATE);
    RecalcLayout();
    // Docked at a place in the side's dock bar (screen coordinates), as a drop there would.
    CRect client;
    GetClientRect(client);
    ClientToScreen(client);
    const CRect left(client.left, client.top + 120, client.left + 180, client.top + 320);
    const CRect bottom(client.left, client.bottom - 140, client.left + 200, client.bottom - 20);
    DockControlBar(&m_wndTree, AFX_IDW_DOCKBAR_LEFT, &left);
    // The find bar in a row of its own under the toolbars.
    DockControlBar(&m_wndFindBar, AFX_IDW_DOCKBAR_TOP);
    DockControlBar(&m_wndLeftList, AFX_IDW_DOCKBAR_BOTTOM, &bottom);

    RecalcLayout();
    DockBeside(&m_wndRightList, &m_wndLeftList, AFX_IDW_DOCKBAR_BOTTOM);
    // The first list took the whole row while alone in it: the two share it evenly.
    m_wndLeftList.m_szHorz.cx = m_wndRightList.m_szHorz.cx = 200;
    RecalcLayout();
    // The floating bar rolls up when the pointer leaves it and down over its caption.
    m_wndFloat.m_nRollState = CPlxMiniDockFrameWnd::RollAuto;
    FloatControlBar(&m_wndFloat, CPoint(480, 200));
    // Rolled up from the start, as a bar that rolls by itself is while the pointer is away.
    m_wndFloat.m_bRolled = TRUE;
    if (CPlxMiniDockFrameWnd* mini = FloatingFrame()) {
      mini->m_nRollState = m_wndFloat.m_nRollState;
      mini->m_bRolled = TRUE;
      mini->RecalcLayout();
    }

    m_pAlbums = new CMultiDocTemplate(kAlbumMenu, RUNTIME_CLASS(CAlbumDoc), RUNTIME_CLASS(CDemoChild),
                                      RUNTIME_CLASS(CDemoView));
    g_app->AddDocTemplate(m_pAlbums);
    m_pNotes = new CMultiDocTemplate(kAlbumMenu, RUNTIME_CLASS(CAlbumDoc), RUNTIME_CLASS(CNoteChild),
                                     RUNTIME_CLASS(CDemoView));
    g_app->AddDocTemplate(m_pNotes);
    m_uiWindowsDlgMenuId = kWindowsCmd;
    m_strWindowsDlgMenuText = "&Windows...";
    m_bShowWindowsDlgAlways = TRUE;
    g_app->InitContextMenuManager();
    g_pContextMenuManager->AddMenu("View", kViewMenu);

    // The colour bar's choice is the program's own setting, beside the workspace's bars.
    m_wndColorBar.SetColor(static_cast<COLORREF>(g_app->GetProfileInt("Docking", "Colour", -1)));
    m_dialogColour = static_cast<COLORREF>(g_app->GetProfileInt("Docking", "DialogColour", m_dialogColour));
    return 0;
  }

  void DockBeside(CControlBar* bar, CControlBar* beside, UINT dockBarId) {
    RecalcLayout(TRUE);
    CRect rect;
    beside->GetWindowRect(&rect);
    rect.OffsetRect(1, 1);
    DockControlBar(bar, dockBarId, &rect);
  }

  // The bars the View menu's commands stand for, in the commands' order.
  CControlBar* ViewBar(UINT id) {
    CControlBar* bars[] = {&m_wndTree,  &m_wndLeftList, &m_wndRightList,
                           &m_wndFloat, &m_wndColorBar, &m_wndFindBar};
    return id >= kFirstViewCmd && id <= kLastViewCmd ? bars[id - kFirstViewCmd] : nullptr;
  }
  BOOL IsPictureCommand(UINT id) {
    for (int i = 0; i < m_wndPicturesBar.GetCount(); ++i)
      if (m_wndPicturesBar.GetItemID(i) == id) return TRUE;
    return FALSE;
  }

  // The second text pane counts the open windows.
  void CountWindows() {
    int n = 0;
    for (CWnd* child = CWnd::FromHandle(::GetWindow(m_hWndMDIClient, GW_CHILD)); child != nullptr;
         child = child->GetNextWindow())
      ++n;
    m_wndStatusBar.SetPaneText(2, (std::to_string(n) + (n == 1 ? " window open" : " windows open")).c_str());
    Log("windows open " + std::to_string(n));
  }

  // The demo's own commands are always there; the View menu's show a check for a shown bar.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
    const BOOL ours = (nID >= kFirstEditCmd && nID <= kLastEditCmd) ||
                      (nID >= kFirstViewCmd && nID <= kLastViewCmd) || nID == kWindowsCmd ||
                      nID == kNewNoteCmd || nID == kColoursCmd || nID == kFindButtonId ||
                      IsPictureCommand(nID);
    if (ours && nCode == static_cast<int>(CN_UPDATE_COMMAND_UI) && pHandlerInfo == nullptr &&
        pExtra != nullptr) {
      auto* ui = static_cast<CCmdUI*>(pExtra);
      ui->Enable(TRUE);
      if (CControlBar* bar = ViewBar(nID)) ui->SetCheck(bar->IsWindowVisible() ? 1 : 0);
      return TRUE;
    }
    return CPlxMDIFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }

  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    const UINT id = LOWORD(wParam);
    if (id == kNewAlbumCmd || id == kNewNoteCmd) {
      CDocument* doc = (id == kNewAlbumCmd ? m_pAlbums : m_pNotes)->OpenDocumentFile(nullptr);
      if (doc != nullptr && id == kNewNoteCmd) doc->SetTitle(("Note" + std::to_string(++m_nNotes)).c_str());
      Log(std::string("opened ") + (doc != nullptr ? static_cast<LPCTSTR>(doc->GetTitle()) : "nothing"));
      CountWindows();
      return TRUE;
    }
    if (CControlBar* bar = ViewBar(id)) {
      // Ctrl+T always shows Tracks; the View menu's commands toggle their bars.
      const BOOL show = id == kTracksCmd && HIWORD(wParam) == 1 ? TRUE : !bar->IsWindowVisible();
      ShowControlBar(bar, show, FALSE);
      if (id == kTracksCmd && show) Log("tracks shown");
      Log("view " + std::to_string(id) + (show ? " shown" : " hidden"));
      return TRUE;
    }
    if (id == kWindowsCmd) {
      CPlxWindowListDlg dialog(this);
      dialog.DoModal();
      Log("windows dialog closed");
      CountWindows();
      return TRUE;
    }
    if (id == kColoursCmd) {
      CColoursDialog dialog(this, m_dialogColour);
      const INT_PTR result = dialog.DoModal();
      if (result == IDOK) m_dialogColour = dialog.m_colour;
      Log(std::string("colours dialog ") + (result == IDOK ? "ok" : "cancelled"));
      return TRUE;
    }
    if (id >= kFirstEditCmd && id <= kLastEditCmd) {
      Log("edit command " + std::to_string(id));
      return TRUE;
    }
    if (id == kFindButtonId) {
      Log("find");
      return TRUE;
    }
    if (IsPictureCommand(id)) {
      Log("picture command " + std::to_string(id));
      return TRUE;
    }
    if (id == kColorCmd || id == kColorBarId) {
      Log("colour " + std::to_string(static_cast<unsigned>(m_wndColorBar.GetColor())));
      return TRUE;
    }
    return CPlxMDIFrameWnd::OnCommand(wParam, lParam);
  }

  afx_msg void OnClose() {
    while (CMDIChildWnd* child = MDIGetActive()) child->MDIDestroy();
    LogBars("end");
    g_app->WriteProfileInt("Docking", "Saved", 1);
    g_app->WriteProfileInt("Docking", "Colour", static_cast<int>(m_wndColorBar.GetColor()));
    g_app->WriteProfileInt("Docking", "DialogColour", static_cast<int>(m_dialogColour));
    Log(std::string("workspace ") + (g_app->SaveState(nullptr, &m_Impl) ? "ok" : "failed"));
    Log("closed");
    DestroyWindow();
  }
  void PostNcDestroy() override { PostQuitMessage(0); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDockingDemoFrame, CPlxMDIFrameWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_TIMER()
END_MESSAGE_MAP()

}  // namespace

int main(int argc, char** argv) {
  std::string logPath;
  bool layout = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--log" && i + 1 < argc)
      logPath = argv[++i];
    else if (a == "--animated" && i + 1 < argc)
      g_animatedFile = argv[++i];
    else if (a == "--rolls" && i + 1 < argc)
      g_rollPrefix = argv[++i];
    else if (a == "--layout")
      layout = true;
    else if (a == "--resources" && i + 1 < argc)
      pictavo::res::SetResourceRoot(argv[++i]);
  }
  g_log.open(logPath, std::ios::trunc);
  if (!g_log) {
    std::fprintf(stderr, "usage: docking_demo --log FILE [--resources DIR] [--layout]\n");
    return 2;
  }
  if (!pictavo::display::Initialize()) return 1;
  CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
  PlxRegisterToolbarMessages();
  CDemoApp app;
  g_app = &app;
  auto* frame = new CDockingDemoFrame;
  if (!frame->CreateDemo()) {
    std::fprintf(stderr, "docking_demo: the frame could not be made\n");
    return 1;
  }
  frame->ShowWindow(SW_SHOW);
  frame->RecalcLayout();
  frame->UpdateWindow();
  frame->LogBars("start");
  if (layout) {
    frame->LogLayout();
    frame->LogPopups();
    frame->DestroyWindow();
    return 0;
  }
  const int exitCode = pictavo::test::RunDemoLoop(frame->GetSafeHwnd());
  CPlxToolBar::CleanUpImages();
  CPlxVisualManager::DestroyInstance();
  return exitCode;
}
