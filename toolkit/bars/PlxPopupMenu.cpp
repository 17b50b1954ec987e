// The popup menu window: data, creation and filling, keys and mouse of the window, closing and
// the chain of parent and child popups, the frame notifications, accessibility and the export of
// the items to a native menu.
#include "toolkit/bars/PlxPopupMenu.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "platform/comctl/AfxControls.h"
#include "platform/comctl/Tooltip.h"
#include "platform/kernel/FileSystem.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/RecentFileList.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/user/Input.h"
#include "platform/user/Menu.h"
#include "platform/user/Metrics.h"
#include "toolkit/bars/PlxCommandManager.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxMenuTempStore.h"
#include "toolkit/bars/PlxMiniDockFrameWnd.h"
#include "toolkit/bars/PlxTearOffIdPool.h"
#include "toolkit/core/PlxDialog.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxUserTools.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/customize/PlxMenuPage.h"

#ifndef OBJID_CLIENT
#define OBJID_CLIENT ((LONG)0xFFFFFFFC)
#endif

IMPLEMENT_DYNCREATE(CPlxPopupMenu, CMiniFrameWnd)

UINT PLX_WM_GETOBGECT = 0;
UINT PLX_WM_ACCHITTEST = 0;
UINT PLX_WM_ACCGETSTATE = 0;

int CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation;
int CPlxPopupMenu::m_nAnimationSpeed = 15;
BOOL CPlxPopupMenu::m_bShadowOutsideAllowed = TRUE;
BOOL CPlxPopupMenu::m_bMenuSound = TRUE;
CPlxPopupMenu* CPlxPopupMenu::m_pActiveTracked = nullptr;
BOOL CPlxPopupMenu::m_bFocusOwnerBar = TRUE;
BOOL CPlxPopupMenu::m_bSendMenuSelect = FALSE;
DWORD CPlxPopupMenu::m_dwLastAnimTick = 0;
BOOL CPlxPopupMenu::m_bSavedRecentlyUsed = FALSE;

namespace {

void RegisterPopupMessages() {
  if (PLX_WM_GETOBGECT != 0) return;
  PLX_WM_GETOBGECT = RegisterWindowMessage("PlxM_GETOBGECT");
  PLX_WM_ACCHITTEST = RegisterWindowMessage("PlxM_ACCHITTEST");
  PLX_WM_ACCGETSTATE = RegisterWindowMessage("PlxM_ACCGETSTATE");
}

// Registered before any message map is read.
struct PopupMessagesAtStart {
  PopupMessagesAtStart() { RegisterPopupMessages(); }
} g_popupMessagesAtStart;

}  // namespace

BOOL PlxLoadMenuFromStore(HMENU hMenu, CPlxPopupMenuBar* pBar) {
  return g_menuTempStore.LoadMenuBar(hMenu, pBar);
}

DWORD PlxAnimationClock() {
  using namespace std::chrono;
  return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

namespace {

CPlxToolkitFrame ToolkitFrame(CFrameWnd* pFrame) {
  return CPlxToolkitFrame(pFrame);
}

}  // namespace

BEGIN_MESSAGE_MAP(CPlxPopupMenu, CMiniFrameWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_PAINT()
ON_WM_MOUSEACTIVATE()
ON_WM_DESTROY()
ON_WM_KEYDOWN()
ON_WM_ERASEBKGND()
ON_WM_TIMER()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_SHOWWINDOW()
ON_WM_ACTIVATEAPP()
ON_MESSAGE(WM_GETOBJECT, OnGetObject)
ON_REGISTERED_MESSAGE(PLX_WM_ACCHITTEST, OnAccHitTest)
ON_REGISTERED_MESSAGE(PLX_WM_ACCGETSTATE, OnAccGetState)
END_MESSAGE_MAP()

CPlxPopupMenu::CPlxPopupMenu() {
  m_pMenuPage = nullptr;
  Initialize();
}

CPlxPopupMenu::CPlxPopupMenu(CPlxMenuPage* pMenuPage, LPCTSTR lpszTitle) {
  Initialize();
  m_pMenuPage = pMenuPage;
  m_strCaption = lpszTitle != nullptr ? lpszTitle : "";
}

int CPlxPopupMenu::GetAnimationType() {
  if (m_AnimationType != SystemDefaultAnimation) return m_AnimationType;
  if (!g_plxGlobalData.bMenuAnimation) return NoAnimation;
  return g_plxGlobalData.bMenuFadeEffect ? Fade : Slide;
}

void CPlxPopupMenu::Initialize() {
  RegisterPopupMessages();
  m_bCloseParentOnDestroy = TRUE;
  m_pMessageWnd = nullptr;
  m_pParentBtn = nullptr;
  m_nDropDirection = DROP_DIRECTION_NONE;
  m_hMenu = nullptr;
  m_ptLocation = CPoint(0, 0);
  m_ptRequested = CPoint(0, 0);
  m_sizeFinal = CSize(0, 0);
  m_nBarHeight = 0;
  m_bAutoDestroyMenu = TRUE;
  m_bTrackMode = FALSE;
  m_bRightAlign = FALSE;
  m_bShown = FALSE;
  m_bClosing = FALSE;
  m_nMaxWidth = -1;
  m_nLogoSize = 0;
  m_nLogoLocation = 0;
  m_pMenuPage = nullptr;
  m_sizeAnimated = CSize(0, 0);
  m_bAnimFromLeft = TRUE;
  m_bAnimFromTop = TRUE;
  m_bScrollable = FALSE;
  m_nScrollMode = 0;
  m_nFadePercent = 0;
  m_pScreenBits = m_pMenuBits = m_pBlendBits = nullptr;
  m_bTearOffTracking = FALSE;
  m_bTearOffHot = FALSE;
  m_pToolTip = nullptr;
  m_bQuickCustomize = FALSE;
  m_nQuickCustomizeKind = 2;
  m_pExportedMenu = nullptr;
  m_pAccObject = nullptr;

  if (g_plxGlobalData.bIsRemoteSession) m_AnimationType = NoAnimation;
  m_bAnimationDone = GetAnimationType() == NoAnimation;
  CPlxMenuGlyphs::Initialize();
  m_nScrollButtonHeight =
      CPlxMenuGlyphs::GetSize().cy + 2 * CPlxVisualManager::GetInstance()->GetPopupMenuBorderSize();
  m_nShadowSize =
      (CPlxMenuBar::m_bMenuShadows && !CPlxToolBar::m_bCustomizeMode && g_plxGlobalData.nBitsPerPixel > 8)
          ? CPlxVisualManager::GetInstance()->m_nMenuShadowDepth
          : 0;
  if (GetAnimationType() == Fade && g_plxGlobalData.nBitsPerPixel <= 8) {
    m_AnimationType = NoAnimation;
    m_bAnimationDone = TRUE;
  }
}

CPlxPopupMenu::~CPlxPopupMenu() {
  if (m_bAutoDestroyMenu && m_hMenu != nullptr) ::DestroyMenu(m_hMenu);
  if (m_pToolTip != nullptr) {
    if (m_pToolTip->GetSafeHwnd() != nullptr) m_pToolTip->DestroyWindow();
    delete m_pToolTip;
  }
  FreeExportedMenu();
  m_bmpScreen.DeleteObject();
  m_bmpMenu.DeleteObject();
  m_bmpBlend.DeleteObject();
  m_bmpShadowSave1.DeleteObject();
  m_bmpShadowSave2.DeleteObject();
}

CPlxPopupMenuBar* CPlxPopupMenu::GetMenuBar() {
  return &m_wndMenuBar;
}

BOOL CPlxPopupMenu::InCommand() {
  CPlxPopupMenuBar* bar = GetMenuBar();
  return bar != nullptr && bar->IsInCommand();
}

CFrameWnd* CPlxPopupMenu::GetTopLevelFrame() const {
  if (g_pTopLevelFrame != nullptr) return g_pTopLevelFrame;
  if (GetSafeHwnd() == nullptr) return dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
  CWnd* owner = GetParent();
  while (owner != nullptr) {
    if (auto* frame = dynamic_cast<CFrameWnd*>(owner);
        frame != nullptr && !owner->IsKindOf(RUNTIME_CLASS(CPlxPopupMenu))) {
      CFrameWnd* top = frame;
      for (CFrameWnd* up = AfxGetParentFrame(top); up != nullptr; up = AfxGetParentFrame(up)) top = up;
      return top;
    }
    owner = owner->GetParent();
  }
  return dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
}

BOOL CPlxPopupMenu::AnimationWillRun() const {
  return GetAnimationType() != NoAnimation && !CPlxToolBar::m_bCustomizeMode;
}

// ---- creation ----

BOOL CPlxPopupMenu::Create(CWnd* pWndParent, int x, int y, HMENU hMenu, BOOL bLocked, BOOL bOwnMessage) {
  PlayMenuSound(2);
  static LPCTSTR s_className = nullptr;
  if (s_className == nullptr)
    s_className = AfxRegisterWndClass(CS_SAVEBITS, ::LoadCursor(nullptr, IDC_ARROW),
                                      ::GetSysColorBrush(COLOR_BTNFACE), nullptr);
  m_hMenu = hMenu;
  if (x == -1 && y == -1) {
    CPoint origin(0, 0);
    if (pWndParent != nullptr && pWndParent->GetSafeHwnd() != nullptr) {
      pWndParent->ClientToScreen(&origin);
      origin.Offset(5, 5);
    }
    x = origin.x;
    y = origin.y;
  }
  m_ptLocation = CPoint(x, y);
  m_ptRequested = m_ptLocation;

  // Child windows share their top-level window's pixels here, so the frame's own painting keeps
  // off the bar (hidden while it animates, so the animation still paints the whole menu).
  DWORD style = WS_POPUP | WS_CLIPCHILDREN;
  if (m_pMenuPage != nullptr) style |= WS_CAPTION | WS_SYSMENU;
  DWORD exStyle = 0;
  if (pWndParent != nullptr && pWndParent->GetSafeHwnd() != nullptr)
    exStyle = pWndParent->GetExStyle() & WS_EX_LAYOUTRTL;

  const BOOL animate = AnimationWillRun();
  if (CPlxPopupMenu* parent = GetParentPopupMenu(); parent != nullptr) {
    m_bTrackMode = parent->m_bTrackMode;
    if (!bOwnMessage) m_pMessageWnd = parent->m_pMessageWnd;
  }
  if (bOwnMessage) m_pMessageWnd = pWndParent;

  HWND hParent = nullptr;
  if (pWndParent != nullptr && pWndParent->GetSafeHwnd() != nullptr) {
    CWnd* owner = pWndParent->GetOwner();
    hParent = owner != nullptr ? owner->GetSafeHwnd() : nullptr;
    if (hParent == nullptr && pWndParent->GetParent() != nullptr)
      hParent = pWndParent->GetParent()->GetSafeHwnd();
    if (hParent == nullptr) hParent = pWndParent->GetSafeHwnd();
  }
  if (!CWnd::CreateEx(exStyle, s_className, m_strCaption, style, x, y, 0, 0, hParent, nullptr)) return FALSE;

  if (m_bRightAlign) {
    m_ptLocation.x = x - m_sizeFinal.cx + 1;
    m_ptRequested = m_ptLocation;
    RecalcLayout();
  }
  GetMenuBar()->m_bLocked = bLocked;

  if (animate) {
    m_sizeAnimated = CSize(m_sizeFinal.cx + m_nShadowSize, m_sizeFinal.cy + m_nShadowSize);
    switch (GetAnimationType()) {
      case Unfold:
        m_sizeAnimated = CSize(GetMenuBar()->GetColumnWidth(), GetMenuBar()->GetRowHeight());
        break;
      case Slide:
        m_sizeAnimated.cy = GetMenuBar()->GetRowHeight();
        break;
      default:
        break;
    }
    if (GetMenuBar()->IsWindowVisible()) GetMenuBar()->ShowWindow(SW_HIDE);
    SetTimer(kAnimationTimer, m_nAnimationSpeed, nullptr);
    m_dwLastAnimTick = PlxAnimationClock();
  }
  CheckShadowFits(FALSE);
  if (m_nShadowSize == 0 && GetAnimationType() == Fade) m_sizeAnimated = m_sizeFinal;

  SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (CPlxToolBar::m_bCustomizeMode) {
    GetMenuBar()->Invalidate();
    GetMenuBar()->UpdateWindow();
  }
  return TRUE;
}

int CPlxPopupMenu::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CMiniFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
  CPlxPopupMenuBar* bar = GetMenuBar();
  bar->m_bTrackMode = m_bTrackMode;
  DWORD barStyle = WS_CHILD | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_HIDE_INPLACE | CBRS_GRIPPER |
                   CBRS_TOOLTIPS | CBRS_FLYBY;
  if (!AnimationWillRun() || CPlxToolBar::m_bCustomizeMode) barStyle |= WS_VISIBLE;
  if (!bar->Create(this, barStyle, 1)) return -1;
  if (CPlxPopupMenu* parent = GetParentPopupMenu(); parent != nullptr) m_nMaxWidth = parent->m_nMaxWidth;
  bar->SetMaxWidth(m_nMaxWidth);
  bar->SetOwner(GetParent());
  return InitMenuBar() ? 0 : -1;
}

BOOL CPlxPopupMenu::InitMenuBar() {
  CPlxPopupMenuBar* bar = GetMenuBar();
  if (m_hMenu != nullptr) {
    if (m_pParentBtn != nullptr || !PlxLoadMenuFromStore(m_hMenu, bar)) {
      if (!bar->ImportFromMenu(m_hMenu, !IsSubMenu())) return FALSE;
    }
  }
  InsertRecentFiles();
  InsertUserTools();

  CWnd* target = bar->GetCommandTarget();
  auto* frame = dynamic_cast<CFrameWnd*>(target);
  if (frame == nullptr) frame = AfxGetParentFrame(this);
  if (frame != nullptr) bar->OnUpdateCmdUI(frame, FALSE);

  if (!ActivatePopupMenu(GetTopLevelFrame(), this)) return FALSE;
  RecalcLayout();
  return TRUE;
}

void CPlxPopupMenu::InsertRecentFiles() {
  CWinApp* app = AfxGetApp();
  if (app == nullptr || app->m_pRecentFileList == nullptr || CPlxToolBar::m_bCustomizeMode) return;
  CPlxPopupMenuBar* bar = GetMenuBar();
  int place = -1;
  for (int i = 0; i < bar->GetCount(); ++i) {
    CPlxToolbarButton* item = bar->GetButton(i);
    if (item->m_nID == ID_FILE_MRU_FILE1 && item->m_strText == "Recent File") {
      place = i;
      break;
    }
  }
  if (place < 0) return;
  // The entries go in front of the placeholder, which then goes; the bar drops a separator that
  // would follow another one, so an empty list takes its separator with it.
  char dir[MAX_PATH] = {};
  ::GetCurrentDirectory(MAX_PATH, dir);
  const CString base = dir;  // the list compares folders without a closing separator
  CRecentFileList* list = app->m_pRecentFileList;
  int inserted = 0;
  for (int j = 0; j < list->GetSize(); ++j) {
    CString name;
    if (!list->GetDisplayName(name, j, base, base.GetLength(), TRUE) || name.IsEmpty()) continue;
    name.Replace("&", "&&");  // a '&' of the path is no mnemonic
    CString text;
    text.Format("&%d %s", inserted + 1, static_cast<LPCTSTR>(name));
    CPlxToolbarMenuButton item(ID_FILE_MRU_FILE1 + j, nullptr, -1, text);
    bar->InsertButton(item, place + inserted);
    ++inserted;
  }
  bar->RemoveButton(place + inserted);
}

void CPlxPopupMenu::InsertUserTools() {
  if (g_pUserToolsManager == nullptr || CPlxToolBar::m_bCustomizeMode) return;
  CPlxPopupMenuBar* bar = GetMenuBar();
  const UINT placeholder = g_pUserToolsManager->GetToolsEntryCmd();
  BOOL replaced = FALSE;
  for (int i = 0; i < bar->GetCount();) {
    CPlxToolbarButton* item = bar->GetButton(i);
    const BOOL separator = (item->m_nStyle & TBBS_SEPARATOR) != 0;
    if (separator && i > 0 && (bar->GetButton(i - 1)->m_nStyle & TBBS_SEPARATOR)) {
      bar->RemoveButton(i);
      continue;
    }
    if (item->m_nID != placeholder) {
      ++i;
      continue;
    }
    bar->RemoveButton(i);
    if (replaced) continue;
    replaced = TRUE;
    const CObList& tools = g_pUserToolsManager->GetUserTools();
    int at = i;
    if (!tools.IsEmpty() && bar->GetCount() > 0 && at > 0 &&
        !(bar->GetButton(at - 1)->m_nStyle & TBBS_SEPARATOR))
      bar->InsertSeparator(at++);
    for (POSITION pos = tools.GetHeadPosition(); pos != nullptr;) {
      auto* tool = static_cast<CPlxUserTool*>(tools.GetNext(pos));
      int image = GetCommandManager()->GetCmdImage(tool->GetCommandId(), TRUE);
      BOOL user = TRUE;
      if (image < 0) {
        image = 0;
        user = FALSE;
      }
      CPlxToolbarMenuButton toolItem(tool->GetCommandId(), nullptr, image, tool->m_strLabel, user);
      bar->InsertButton(toolItem, at++);
    }
    if (!tools.IsEmpty() && at < bar->GetCount() && !(bar->GetButton(at)->m_nStyle & TBBS_SEPARATOR))
      bar->InsertSeparator(at++);
    i = at;
  }
}

BOOL CPlxPopupMenu::SetMessageWindowActive(BOOL bActive) {
  auto* dialog = dynamic_cast<CPlxDialog*>(m_pMessageWnd);
  auto* page = dynamic_cast<CPlxPropertyPage*>(m_pMessageWnd);
  if (dialog == nullptr && page == nullptr) return FALSE;
  if (!bActive && m_pActiveTracked != this) return TRUE;
  CPlxPopupMenu* menu = bActive ? this : nullptr;
  if (dialog != nullptr) dialog->SetActiveMenu(menu);
  if (page != nullptr) page->SetActiveMenu(menu);
  return TRUE;
}

BOOL CPlxPopupMenu::ActivatePopupMenu(CFrameWnd* pTopFrame, CPlxPopupMenu* pPopupMenu) {
  if (pPopupMenu != nullptr) pPopupMenu->SetMessageWindowActive(TRUE);
  if (pTopFrame != nullptr) {
    CPlxToolkitFrame frame = ToolkitFrame(pTopFrame);
    if (frame && !frame.OnShowPopupMenu(pPopupMenu)) {
      if (pPopupMenu != nullptr && !pPopupMenu->m_bClosing) pPopupMenu->CloseMenu(FALSE);
      return FALSE;
    }
  }
  if (pPopupMenu != nullptr) {
    CPlxPopupMenuBar* bar = pPopupMenu->GetMenuBar();
    if (pPopupMenu->m_pParentBtn != nullptr && !bar->AreAllCommandsShown()) {
      const int count = bar->GetCount();
      CPlxToolbarButton* last = count > 0 ? bar->GetButton(count - 1) : nullptr;
      if (last == nullptr || !last->IsKindOf(RUNTIME_CLASS(CPlxShowAllButton))) {
        CPlxShowAllButton showAll;
        bar->InsertButton(showAll);
      }
    }
    if (pPopupMenu->m_bTrackMode) m_pActiveTracked = pPopupMenu;
  }
  return TRUE;
}

// ---- items ----

int CPlxPopupMenu::InsertItem(const CPlxToolbarMenuButton& button, int iInsertAt) {
  return GetMenuBar()->InsertButton(button, iInsertAt);
}

int CPlxPopupMenu::InsertSeparator(int iInsertAt) {
  return GetMenuBar()->InsertSeparator(iInsertAt);
}

int CPlxPopupMenu::GetMenuItemCount() const {
  return m_wndMenuBar.GetCount();
}

CPlxToolbarMenuButton* CPlxPopupMenu::GetMenuItem(int iIndex) const {
  return dynamic_cast<CPlxToolbarMenuButton*>(m_wndMenuBar.GetButton(iIndex));
}

BOOL CPlxPopupMenu::RemoveItem(int iIndex) {
  return GetMenuBar()->RemoveButton(iIndex);
}

void CPlxPopupMenu::RemoveAllItems() {
  GetMenuBar()->RemoveAllButtons();
}

// ---- the chain ----

CPlxPopupMenu* CPlxPopupMenu::GetParentPopupMenu() const {
  if (m_pParentBtn == nullptr) return nullptr;
  auto* bar = dynamic_cast<CPlxPopupMenuBar*>(m_pParentBtn->m_pWndParent);
  return bar != nullptr ? bar->GetPopupMenu() : nullptr;
}

CPlxToolBar* CPlxPopupMenu::GetParentToolBar() const {
  return m_pParentBtn != nullptr ? dynamic_cast<CPlxToolBar*>(m_pParentBtn->m_pWndParent) : nullptr;
}

CPlxToolbarMenuButton* CPlxPopupMenu::GetSelItem() {
  return dynamic_cast<CPlxToolbarMenuButton*>(GetMenuBar()->GetHotButton());
}

BOOL CPlxPopupMenu::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CMiniFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pMessageWnd != nullptr && m_pMessageWnd->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CPlxPopupMenu::PostCommand(UINT uiCommandID) {
  if (m_pMessageWnd == nullptr) return FALSE;
  return m_pMessageWnd->PostMessage(WM_COMMAND, uiCommandID, 0);
}

// ---- keys ----

void CPlxPopupMenu::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  CPlxPopupMenuBar* bar = GetMenuBar();
  const BOOL rtl = (GetExStyle() & WS_EX_LAYOUTRTL) != 0;
  if (rtl && (nChar == VK_LEFT || nChar == VK_RIGHT)) nChar = nChar == VK_LEFT ? VK_RIGHT : VK_LEFT;
  switch (nChar) {
    case VK_ESCAPE:
      CloseMenu(TRUE);
      return;
    case VK_LEFT: {
      if (CPlxToolBar* parentBar = GetParentToolBar(); parentBar != nullptr && parentBar->PrevMenu()) return;
      if (m_pParentBtn != nullptr && m_pParentBtn->IsDroppedDown()) CloseMenu(FALSE);
      return;
    }
    case VK_RIGHT: {
      const int saved = m_AnimationType;
      m_AnimationType = NoAnimation;
      CPlxToolbarMenuButton* sel = GetSelItem();
      HWND self = m_hWnd;
      if (sel != nullptr && (sel->m_nID == (UINT)-1 || sel->m_nID == 0 || sel->IsEmptyMenuAllowed()) &&
          sel->OpenPopupMenu()) {
        if (sel->GetPopupMenu() != nullptr) sel->GetPopupMenu()->SendMessage(WM_KEYDOWN, VK_HOME);
      } else if (CPlxToolBar* parentBar = GetParentToolBar();
                 parentBar != nullptr && !parentBar->IsKindOf(RUNTIME_CLASS(CPlxPopupMenuBar))) {
        parentBar->NextMenu();
      } else if (CPlxPopupMenu* parent = GetParentPopupMenu(); parent != nullptr) {
        parent->SendMessage(WM_KEYDOWN, rtl ? VK_LEFT : VK_RIGHT);
      }
      (void)self;
      m_AnimationType = saved;
      return;
    }
    case VK_DOWN:
      if ((::GetKeyState(VK_CONTROL) & 0x8000) && !bar->AreAllCommandsShown()) {
        ShowAllCommands();
        return;
      }
      [[fallthrough]];
    case VK_RETURN:
    case VK_HOME:
    case VK_END:
    case VK_UP:
      if (!CPlxToolBar::m_bCustomizeMode) {
        HWND self = m_hWnd;
        bar->OnKey(nChar);
        if (!::IsWindow(self)) return;
        if (nChar != VK_RETURN && m_bScrollable) ScrollHotIntoView();
      }
      return;
    default:
      if (!bar->OnKey(nChar)) CMiniFrameWnd::Default();
      (void)nRepCnt;
      (void)nFlags;
  }
}

void CPlxPopupMenu::ScrollHotIntoView() {
  CPlxPopupMenuBar* bar = GetMenuBar();
  CPlxToolbarButton* hot = bar->GetHotButton();
  const int h = bar->GetRowHeight();
  if (hot == nullptr || h <= 0) return;
  CRect client;
  bar->GetClientRect(client);
  int move = 0;
  if (hot->m_rect.top < client.top)
    move = (hot->m_rect.top - client.top) / h - 1;
  else if (hot->m_rect.bottom > client.bottom)
    move = (hot->m_rect.bottom - client.bottom) / h + 1;
  if (move == 0) return;
  const int maxOffset = bar->GetCount() - m_sizeFinal.cy / h + 1;
  const int offset = std::max(0, std::min(bar->GetOffset() + move, maxOffset));
  if (offset != bar->GetOffset()) {
    bar->SetOffset(offset);
    bar->AdjustLocations();
  }
  if (AdjustScrollButtons(FALSE)) AdjustScrollButtons(FALSE);
}

// ---- mouse ----

void CPlxPopupMenu::OnLButtonDown(UINT nFlags, CPoint point) {
  if (!CPlxToolBar::m_bCustomizeMode && m_rectTearOffCaption.PtInRect(point)) {
    m_bTearOffHot = TRUE;
    InvalidateRect(m_rectTearOffCaption);
    m_bTearOffTracking = TRUE;
    SetCapture();
    return;
  }
  CMiniFrameWnd::Default();
  (void)nFlags;
}

void CPlxPopupMenu::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bTearOffTracking) {
    m_bTearOffTracking = FALSE;
    ::ReleaseCapture();
    m_bTearOffHot = FALSE;
    InvalidateRect(m_rectTearOffCaption);
  }
  CMiniFrameWnd::Default();
  (void)nFlags;
  (void)point;
}

void CPlxPopupMenu::OnMouseMove(UINT nFlags, CPoint point) {
  CMiniFrameWnd::Default();
  (void)nFlags;
  if (m_bTearOffTracking) {
    if (m_rectTearOffCaption.PtInRect(point)) return;
    ::ReleaseCapture();
    m_bTearOffTracking = FALSE;
    TearOff(point);
    return;
  }
  if (!m_bScrollable || m_nScrollMode != 0) return;
  if (m_rectScrollUp.PtInRect(point) && IsScrollUpAvailable()) {
    m_nScrollMode = -1;
    InvalidateRect(m_rectScrollUp);
  } else if (m_rectScrollDown.PtInRect(point) && IsScrollDownAvailable()) {
    m_nScrollMode = 1;
    InvalidateRect(m_rectScrollDown);
  }
  if (m_nScrollMode != 0) SetTimer(kScrollTimer, kScrollPeriod, nullptr);
}

int CPlxPopupMenu::OnMouseActivate(CWnd*, UINT, UINT) {
  return MA_NOACTIVATE;
}

BOOL CPlxPopupMenu::OnEraseBkgnd(CDC*) {
  return TRUE;
}

BOOL CPlxPopupMenu::PreTranslateMessage(MSG* pMsg) {
  if (m_pToolTip != nullptr && m_pToolTip->GetSafeHwnd() != nullptr)
    m_pToolTip->SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
  return CMiniFrameWnd::PreTranslateMessage(pMsg);
}

CRect CPlxPopupMenu::LogoRect(CRect rect, int nThickness) const {
  switch (m_nLogoLocation) {
    case 0:
      rect.right = rect.left + nThickness;
      break;
    case 1:
      rect.left = rect.right - nThickness;
      break;
    case 2:
      rect.bottom = rect.top + nThickness;
      break;
    default:
      rect.top = rect.bottom - nThickness;
      break;
  }
  return rect;
}

int CPlxPopupMenu::MenuHitTest(CPoint pt) {
  ScreenToClient(&pt);
  CRect client;
  GetClientRect(client);
  if (!client.PtInRect(pt)) return HT_OUTSIDE;
  if (m_nLogoSize > 0) {
    const CRect logo = LogoRect(client, m_nLogoSize);
    if (logo.PtInRect(pt)) return HT_LOGO;
  }
  if (pt.x > client.right - m_nShadowSize) return HT_SHADOW_RIGHT;
  if (pt.y > client.bottom - m_nShadowSize) return HT_SHADOW_BOTTOM;
  if (m_rectTearOffCaption.PtInRect(pt)) return HT_TEAROFF;
  return HT_MENU;
}

// ---- closing ----

void CPlxPopupMenu::CloseMenu(BOOL bSetFocusToBar) {
  if (GetSafeHwnd() == nullptr) return;
  m_bClosing = TRUE;
  SaveToParentItems();
  CFrameWnd* top = GetTopLevelFrame();
  if (CPlxPopupMenu* parent = GetParentPopupMenu(); parent != nullptr) {
    m_bCloseParentOnDestroy = FALSE;
    ActivatePopupMenu(top, parent);
  } else {
    ActivatePopupMenu(top, nullptr);
    SetMessageWindowActive(FALSE);
    if (bSetFocusToBar) {
      if (CPlxToolBar* bar = GetParentToolBar(); bar != nullptr && bar->GetSafeHwnd() != nullptr)
        bar->SetFocus();
    }
  }
  SendMessage(WM_CLOSE);
}

void CPlxPopupMenu::SaveToParentItems() {
  if (!CPlxToolBar::m_bCustomizeMode) return;
  for (CPlxPopupMenu* popup = this; popup != nullptr && popup->m_pParentBtn != nullptr;
       popup = popup->GetParentPopupMenu()) {
    HMENU menu = popup->GetMenuBar()->ExportToPlainMenu();
    if (menu == nullptr) continue;
    popup->m_pParentBtn->CreateFromMenu(menu);
    ::DestroyMenu(menu);
  }
}

void CPlxPopupMenu::CancelSubMenus() {
  CPlxPopupMenuBar* bar = GetMenuBar();
  for (int i = 0; i < bar->GetCount(); ++i) bar->GetButton(i)->OnCancelMode();
}

void CPlxPopupMenu::OnDestroy() {
  CPlxPopupMenuBar* bar = GetMenuBar();
  if (m_bQuickCustomize) CPlxMenuBar::m_bRecentlyUsedMenus = m_bSavedRecentlyUsed;
  if (bar->m_pDragButton != nullptr && !bar->m_pDragButton->m_bDragCopy) {
    const int index = bar->ButtonToIndex(bar->m_pDragButton);
    if (index >= 0) bar->RemoveButton(index);
    bar->m_pDragButton = nullptr;
  }
  if (m_pParentBtn != nullptr) {
    SaveToParentItems();
    m_pParentBtn->m_pPopupMenu = nullptr;
    m_pParentBtn->m_bClickedOnArrow = FALSE;
    CPlxPopupMenu* parent = GetParentPopupMenu();
    if (parent != nullptr && m_bCloseParentOnDestroy && !CPlxToolBar::m_bCustomizeMode) {
      parent->SendMessage(WM_CLOSE);
      m_pParentBtn = nullptr;
    }
  } else {
    CPlxMenuBar::m_bShowAllCommands = FALSE;
  }
  if (m_pMenuPage != nullptr) m_pMenuPage->CloseContextMenu(this);
  SetMessageWindowActive(FALSE);
  if (CPlxToolkitFrame frame = ToolkitFrame(GetTopLevelFrame()); frame)
    frame.OnClosePopupMenu(this);
  else if (m_pActiveTracked == this)
    m_pActiveTracked = nullptr;
  if (m_bTrackMode && m_pActiveTracked == this) m_pActiveTracked = nullptr;
  if (!CPlxToolBar::m_bCustomizeMode && m_pActiveTracked == nullptr) {
    CPlxToolBar* parentBar = GetParentToolBar();
    if (parentBar != nullptr && parentBar->GetSafeHwnd() != nullptr && ::GetFocus() != parentBar->m_hWnd)
      parentBar->Deactivate();
  }
  CMiniFrameWnd::OnDestroy();
}

void CPlxPopupMenu::PostNcDestroy() {
  if (m_pParentBtn != nullptr) m_pParentBtn->OnCancelMode();
  delete this;
}

void CPlxPopupMenu::OnActivateApp(BOOL bActive, DWORD) {
  if (bActive || CPlxToolBar::m_bCustomizeMode || InCommand()) return;
  if (m_bTrackMode) m_bClosing = TRUE;
  PostMessage(WM_CLOSE);
}

void CPlxPopupMenu::OnShowWindow(BOOL bShow, UINT nStatus) {
  CMiniFrameWnd::Default();
  if (!bShow) m_bShown = FALSE;
  (void)nStatus;
}

void CPlxPopupMenu::ShowAllCommands() {
  if (m_pParentBtn == nullptr) return;
  CPlxPopupMenuBar* bar = GetMenuBar();
  bar->SetHot(nullptr);
  bar->m_iHot = -1;
  CPlxMenuBar::m_bShowAllCommands = TRUE;
  PlayMenuSound(2);
  ShowWindow(SW_HIDE);
  m_bShown = FALSE;
  m_bmpShadowSave1.DeleteObject();
  m_bmpShadowSave2.DeleteObject();
  m_ptLocation = m_ptRequested;
  InitMenuBar();
  if (m_bScrollable) AdjustScrollButtons(FALSE);
  CheckShadowFits(FALSE);
  ShowWindow(SW_SHOWNOACTIVATE);
  if (CPlxToolBar* parentBar = GetParentToolBar();
      parentBar != nullptr && parentBar->GetSafeHwnd() != nullptr) {
    const int index = parentBar->ButtonToIndex(m_pParentBtn);
    parentBar->InvalidateButton(index);
    parentBar->UpdateWindow();
  }
}

void CPlxPopupMenu::SetQuickCustomize() {
  m_bSavedRecentlyUsed = CPlxMenuBar::m_bRecentlyUsedMenus;
  CPlxMenuBar::m_bRecentlyUsedMenus = FALSE;
  m_bQuickCustomize = TRUE;
}

// ---- export and accessibility ----

BOOL CPlxPopupMenu::ExportToMenu() {
  FreeExportedMenu();
  m_pExportedMenu = new CMenu;
  if (!m_pExportedMenu->CreatePopupMenu()) return FALSE;
  HMENU menu = m_pExportedMenu->GetSafeHmenu();
  CPlxPopupMenuBar* bar = GetMenuBar();
  for (int i = 0; i < bar->GetCount(); ++i) {
    CPlxToolbarButton* button = bar->GetButton(i);
    BOOL appended = TRUE;
    auto* item = dynamic_cast<CPlxToolbarMenuButton*>(button);
    if (item == nullptr) {
      if (button->m_nID == 0) appended = ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    } else if (item->m_nID == 0) {
      appended = ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      UINT flags = MF_STRING;
      if (item->m_nStyle & PLX_TBBS_BREAK) flags |= MF_MENUBREAK;
      if (item->IsTearOffMenu()) flags |= MF_MENUBARBREAK;
      if (item->m_nID == (UINT)-1) {
        HMENU sub = item->ExportToMenu();
        appended = sub != nullptr &&
                   ::AppendMenu(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), item->m_strText);
        if (!appended && sub != nullptr) ::DestroyMenu(sub);
      } else {
        appended = ::AppendMenu(menu, flags, item->m_nID, item->m_strText);
      }
    }
    if (!appended) return FALSE;
  }
  return TRUE;
}

void CPlxPopupMenu::FreeExportedMenu() {
  if (m_pExportedMenu == nullptr) return;
  m_pExportedMenu->DestroyMenu();
  delete m_pExportedMenu;
  m_pExportedMenu = nullptr;
}

LRESULT CPlxPopupMenu::OnGetObject(WPARAM wParam, LPARAM lParam) {
  if (static_cast<LONG>(lParam) != OBJID_CLIENT || g_plxGlobalData.pfnGetAccessibleObjectResult == nullptr)
    return 0;
  CFrameWnd* frame = GetTopLevelFrame();
  if (frame == nullptr) return 0;
  PlxAccObjectRequest request{this, wParam, OBJID_CLIENT, 1,
                              m_pExportedMenu != nullptr ? m_pExportedMenu->GetSafeHmenu() : nullptr};
  frame->SendMessage(PLX_WM_GETOBGECT, reinterpret_cast<WPARAM>(&request), 0);
  return g_plxGlobalData.pfnGetAccessibleObjectResult(
      static_cast<DWORD>(reinterpret_cast<UINT_PTR>(&request)),
      static_cast<DWORD>(reinterpret_cast<UINT_PTR>(m_pAccObject)));
}

LRESULT CPlxPopupMenu::OnAccHitTest(WPARAM, LPARAM lParam) {
  CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  GetMenuBar()->ScreenToClient(&point);
  return GetMenuBar()->HitTest(point);
}

LRESULT CPlxPopupMenu::OnAccGetState(WPARAM wParam, LPARAM) {
  const int index = static_cast<int>(wParam);
  CPlxPopupMenuBar* bar = GetMenuBar();
  if (index < 0 || index >= bar->GetCount()) return -1;
  return bar->GetButton(index)->m_nStyle;
}

LRESULT CPlxPopupMenu::OnToolTipNotify(WPARAM, LPARAM) {
  return 0;
}

// ---- tear-off ----

BOOL CPlxPopupMenu::TearOff(CPoint point) {
  if (m_pParentBtn == nullptr || m_pParentBtn->GetTearOffID() == 0) return FALSE;
  ClientToScreen(&point);
  CFrameWnd* frame = GetTopLevelFrame();
  if (frame == nullptr) return FALSE;
  const UINT id = m_pParentBtn->GetTearOffID();
  CControlBar* bar = frame->GetControlBar(id);
  const BOOL isNew = bar == nullptr;
  CPlxToolkitFrame toolkitFrame = ToolkitFrame(frame);
  if (!isNew) {
    frame->FloatControlBar(bar, point, CBRS_ALIGN_TOP);
    frame->ShowControlBar(bar, TRUE, FALSE);
  } else {
    if (!toolkitFrame) return FALSE;
    CString name = m_pParentBtn->m_strText;
    name.Remove('&');
    bar = CreateTearOffBar(frame, id, name);
    if (bar == nullptr) return FALSE;
  }
  if (!toolkitFrame.OnTearOffMenu(this, bar)) {
    // A bar the frame already had stays where it is; a new one goes.
    if (isNew) {
      bar->DestroyWindow();
      delete bar;
    }
    return FALSE;
  }
  // The frame core owns the torn-off bar from here on.
  if (isNew) toolkitFrame.GetImpl()->AddTearOffToolbar(bar);
  bar->OnUpdateCmdUI(frame, TRUE);
  frame->FloatControlBar(bar, point, CBRS_ALIGN_TOP);
  frame->RecalcLayout();
  CWnd* dock = bar->GetParent();
  auto* mini = dynamic_cast<CPlxMiniDockFrameWnd*>(dock != nullptr ? dock->GetParent() : nullptr);
  if (mini == nullptr) return FALSE;
  mini->m_bTearOffBarIsNew = isNew;
  return mini->TrackTearOff(this);
}

CControlBar* CPlxPopupMenu::CreateTearOffBar(CFrameWnd* pWndMain, UINT uiID, LPCTSTR lpszName) {
  if (m_hMenu == nullptr || !::IsMenu(m_hMenu)) return nullptr;
  auto* bar = new CPlxToolBar;
  if (!bar->Create(
          pWndMain,
          WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_HIDE_INPLACE | CBRS_GRIPPER,
          uiID)) {
    delete bar;
    return nullptr;
  }
  bar->SetWindowText(lpszName);
  const int count = ::GetMenuItemCount(m_hMenu);
  for (int i = 0; i < count; ++i) {
    const UINT id = ::GetMenuItemID(m_hMenu, i);
    const int length = ::GetMenuString(m_hMenu, i, nullptr, 0, MF_BYPOSITION);
    std::vector<char> buffer(2 * std::max(length, 0) + 2, '\0');
    ::GetMenuString(m_hMenu, i, buffer.data(), static_cast<int>(buffer.size()), MF_BYPOSITION);
    CString text = buffer.data();
    if (id == 0) {
      if (i != count - 1) bar->InsertSeparator();
    } else if ((id >= 0xE110 && id <= 0xE11F) || (id >= 0xF000 && id <= 0xF1EF)) {
      continue;
    } else if (id == (UINT)-1) {
      UINT tearOff = 0;
      if (g_pTearOffIdPool != nullptr) tearOff = CPlxTearOffIdPool::ParseTearOffId(text);
      const int tab = text.Find('\t');
      if (tab >= 0) text = text.Left(tab);
      CPlxToolbarMenuButton item((UINT)-1, ::GetSubMenu(m_hMenu, i), -1, text);
      if (item.GetImage() < 0) {
        item.m_bText = TRUE;
        item.m_bImage = FALSE;
      }
      item.SetTearOff(tearOff);
      bar->InsertButton(item);
    } else if (id > 0xFEFF || (id >= 0xE210 && id <= 0xE21F) ||
               (g_pUserToolsManager != nullptr && id == g_pUserToolsManager->GetToolsEntryCmd())) {
      continue;
    } else {
      CPlxToolbarButton item(id, -1, text);
      if (item.GetImage() < 0) {
        item.m_bText = TRUE;
        item.m_bImage = FALSE;
      }
      bar->InsertButton(item);
    }
  }
  bar->SetBarStyle(bar->GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
  bar->EnableDocking(CBRS_ALIGN_ANY);
  return bar;
}
