#include "toolkit/core/PlxFrameCore.h"

#include "platform/gdi/GdiTypes.h"
#include "platform/mfc/DockState.h"
#include "platform/mfc/WinApp.h"
#include "platform/user/Metrics.h"
#include "platform/user/WindowPos.h"
#include "toolkit/bars/PlxMiniDockFrameWnd.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxRegistry.h"
#include "toolkit/core/PlxWorkspace.h"

namespace {

constexpr UINT kRangeFullMessage = 16243;  // "%d" toolbars at most
constexpr DWORD kUserBarStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_HIDE_INPLACE;
constexpr DWORD kUserBarStyleAdd = CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;

void DeleteBars(CObList& list) {
  while (!list.IsEmpty()) delete list.RemoveHead();
}

CString TearOffKey(int n) {
  CPlxWorkspace* workspace = CPlxWorkspace::GetWorkspace();
  const CString base =
      (workspace != nullptr ? workspace->GetRegSectionPath("") : CString()) + "ControlBars-TearOff";
  CString key;
  key.Format("%s-%d", static_cast<LPCTSTR>(base), n);
  return key;
}

// The top-level frame of a bar, floating bars included.
CFrameWnd* TopFrameOf(CWnd* pBar) {
  CFrameWnd* frame = AfxGetParentFrame(pBar);
  while (frame != nullptr) {
    CFrameWnd* up = AfxGetParentFrame(frame);
    if (up == nullptr) break;
    frame = up;
  }
  return frame;
}

CRect WorkArea() {
  // One monitor here: the work area of the display.
  CRect work;
  ::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

}  // namespace

CPlxFrameCore::CPlxFrameCore(CFrameWnd* pFrame) : m_pFrame(pFrame) {
  // Bars of toolkit frames float in the toolkit's mini frame (roll-up, tear-off tracking).
  if (pFrame != nullptr) pFrame->m_pFloatingFrameClass = RUNTIME_CLASS(CPlxMiniDockFrameWnd);
}

CPlxFrameCore::~CPlxFrameCore() {
  DeleteBars(m_listUserDefinedToolbars);
  DeleteBars(m_listTearOffToolbars);
}

// ---------------------------------------------------------------------------------------------
// Frame life

void CPlxFrameCore::RestorePosition(CREATESTRUCT& cs) {
  CPlxWorkspace* workspace = CPlxWorkspace::GetWorkspace();
  if (workspace == nullptr || cs.hInstance == nullptr) return;
  CRect rect(cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy);
  int flags = 0;
  int showCmd = SW_SHOWNORMAL;
  if (!workspace->LoadWindowPlacement(rect, flags, showCmd)) return;
  if (showCmd != SW_SHOWMAXIMIZED) showCmd = SW_SHOWNORMAL;
  if (CWinApp* app = AfxGetApp(); app != nullptr) {
    const int pending = app->m_nCmdShow;
    if (pending != SW_SHOWMINIMIZED && pending != SW_SHOWMAXIMIZED && pending != SW_MINIMIZE &&
        pending != SW_SHOWMINNOACTIVE)
      app->m_nCmdShow = showCmd;
  }
  CRect visible;
  if (!visible.IntersectRect(rect, WorkArea())) return;
  cs.x = visible.left;
  cs.y = visible.top;
  cs.cx = rect.Width();
  cs.cy = rect.Height();
}

void CPlxFrameCore::OnLoadFrame() {
  if (CPlxWorkspace* workspace = CPlxWorkspace::GetWorkspace(); workspace != nullptr)
    workspace->LoadState(nullptr, this);
}

void CPlxFrameCore::OnCloseFrame() {
  for (POSITION pos = m_listTearOffToolbars.GetHeadPosition(); pos != nullptr;) {
    const POSITION at = pos;
    auto* bar = static_cast<CControlBar*>(m_listTearOffToolbars.GetNext(pos));
    if (bar->GetSafeHwnd() != nullptr && bar->IsWindowVisible()) continue;
    if (bar->GetSafeHwnd() != nullptr) bar->DestroyWindow();
    delete bar;
    m_listTearOffToolbars.RemoveAt(at);
  }
  CPlxWorkspace* workspace = CPlxWorkspace::GetWorkspace();
  if (workspace == nullptr) return;
  workspace->SaveFrameState(this);
  if (m_pFrame->GetSafeHwnd() == nullptr) return;
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  if (!m_pFrame->GetWindowPlacement(&wp)) return;
  const int showCmd = wp.showCmd == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  // The normal position counts from the work area; the stored rectangle is in screen terms.
  CRect rect(wp.rcNormalPosition);
  const CRect work = WorkArea();
  rect.OffsetRect(work.left, work.top);
  workspace->StoreWindowPlacement(rect, static_cast<int>(wp.flags), showCmd);
}

void CPlxFrameCore::SetMenuBar(CPlxMenuBar* pMenuBar) {
  m_pMenuBar = pMenuBar;
  if (pMenuBar == nullptr || m_pFrame->GetSafeHwnd() == nullptr) return;
  m_hDefaultMenu = ::GetMenu(m_pFrame->GetSafeHwnd());
  pMenuBar->OnSetDefaultMenu(m_hDefaultMenu);
  pMenuBar->CreateFromMenu(m_hDefaultMenu, TRUE, FALSE);
  ::SetMenu(m_pFrame->GetSafeHwnd(), nullptr);
  pMenuBar->SetDefaultMenuResId(m_uiDefaultMenuResId);
}

void CPlxFrameCore::DeactivateMenu() {
  if (CPlxToolBar::m_bCustomizeMode || CPlxPopupMenu::m_pActiveTracked == nullptr || m_pMenuBar == nullptr)
    return;
  m_pMenuBar->Deactivate();
}

// ---------------------------------------------------------------------------------------------
// User-defined toolbars

BOOL CPlxFrameCore::EnableUserDefinedToolbars(UINT uiFirst, UINT uiLast) {
  if (uiFirst == (UINT)-1 || uiLast == (UINT)-1 || uiLast < uiFirst) return FALSE;
  m_uiUserToolbarFirst = uiFirst;
  m_uiUserToolbarLast = uiLast;
  return TRUE;
}

BOOL CPlxFrameCore::IsUserDefinedToolbar(const CControlBar* pBar) const {
  if (pBar == nullptr || pBar->GetSafeHwnd() == nullptr || m_uiUserToolbarFirst == (UINT)-1) return FALSE;
  const UINT id = static_cast<UINT>(pBar->GetDlgCtrlID());
  return id >= m_uiUserToolbarFirst && id <= m_uiUserToolbarLast;
}

UINT CPlxFrameCore::GetFreeCtrlBarID(UINT uiFirstID, UINT uiLastID, const CObList& lstCtrlBars) {
  if (uiFirstID == (UINT)-1 || uiLastID == (UINT)-1 || uiLastID < uiFirstID) return 0;
  if (static_cast<UINT>(lstCtrlBars.GetCount()) >= uiLastID - uiFirstID + 1) return 0;
  for (UINT id = uiFirstID; id <= uiLastID; ++id) {
    BOOL taken = FALSE;
    for (POSITION pos = lstCtrlBars.GetHeadPosition(); pos != nullptr && !taken;) {
      auto* bar = static_cast<CControlBar*>(lstCtrlBars.GetNext(pos));
      taken = bar->GetSafeHwnd() != nullptr && static_cast<UINT>(bar->GetDlgCtrlID()) == id;
    }
    if (!taken) return id;
    if (id == uiLastID) break;  // no wrap at the top of the id space
  }
  return 0;
}

void CPlxFrameCore::LoadUserToolbars() {
  if (m_uiUserToolbarFirst == (UINT)-1 || m_uiUserToolbarLast == (UINT)-1 ||
      m_uiUserToolbarLast < m_uiUserToolbarFirst)
    return;
  for (UINT id = m_uiUserToolbarFirst; id <= m_uiUserToolbarLast; ++id) {
    auto* bar = new CPlxToolBar;
    if (!bar->Create(m_pFrame, kUserBarStyle, id)) {
      delete bar;
    } else if (!bar->LoadState(m_strControlBarRegEntry, -1, (UINT)-1)) {
      bar->DestroyWindow();
      delete bar;
    } else {
      // The bar's state keeps its name beside the buttons; without it the bar would come back
      // with no title.
      CString key;
      key.Format("%sPlxToolBar-%d",
                 static_cast<LPCTSTR>(PlxGetRegPath(CPlxToolBar::m_strRegSection, m_strControlBarRegEntry)),
                 static_cast<int>(id));
      CPlxRegistryHolder holder;
      CPlxRegistry& reg = holder.Create(FALSE, TRUE);
      CString name;
      if (reg.Open(key) && reg.ReadString("Name", name)) bar->SetWindowText(name);
      bar->SetBarStyle(bar->GetBarStyle() | kUserBarStyleAdd);
      bar->EnableDocking(CBRS_ALIGN_ANY);
      m_pFrame->DockControlBar(bar);
      m_listUserDefinedToolbars.AddTail(bar);
    }
    if (id == m_uiUserToolbarLast) break;
  }
}

BOOL CPlxFrameCore::SaveUserToolbars(BOOL bFrameBarsOnly) {
  BOOL ok = TRUE;
  for (POSITION pos = m_listUserDefinedToolbars.GetHeadPosition(); pos != nullptr;) {
    auto* bar = static_cast<CPlxToolBar*>(m_listUserDefinedToolbars.GetNext(pos));
    if (bFrameBarsOnly && TopFrameOf(bar) != m_pFrame) continue;
    ok = bar->SaveState(m_strControlBarRegEntry, -1, (UINT)-1) && ok;
  }
  return ok;
}

CPlxToolBar* CPlxFrameCore::CreateNewToolBar(LPCTSTR lpszName) {
  const UINT id = GetFreeCtrlBarID(m_uiUserToolbarFirst, m_uiUserToolbarLast, m_listUserDefinedToolbars);
  if (id == 0) {
    CString format, text;
    if (!format.LoadString(kRangeFullMessage)) format = "%d";
    text.Format(format, static_cast<int>(m_uiUserToolbarLast - m_uiUserToolbarFirst + 1));
    AfxMessageBox(text, MB_ICONINFORMATION);
    return nullptr;
  }
  auto* bar = new CPlxToolBar;
  if (!bar->Create(m_pFrame, kUserBarStyle, id)) {
    delete bar;
    return nullptr;
  }
  bar->SetWindowText(lpszName != nullptr ? lpszName : "");
  bar->SetBarStyle(bar->GetBarStyle() | kUserBarStyleAdd);
  bar->EnableDocking(CBRS_ALIGN_ANY);
  m_pFrame->FloatControlBar(
      bar, CPoint(GetSystemMetrics(SM_CXFULLSCREEN) / 2, GetSystemMetrics(SM_CYFULLSCREEN) / 2),
      CBRS_ALIGN_TOP);
  m_pFrame->RecalcLayout(TRUE);
  m_listUserDefinedToolbars.AddTail(bar);
  return bar;
}

BOOL CPlxFrameCore::DeleteToolBar(CPlxToolBar* pBar) {
  POSITION pos = m_listUserDefinedToolbars.Find(pBar);
  if (pos == nullptr) return FALSE;
  m_listUserDefinedToolbars.RemoveAt(pos);
  pBar->RemoveStateFromRegistry(m_strControlBarRegEntry, -1, (UINT)-1);
  pBar->DestroyWindow();
  delete pBar;
  m_pFrame->RecalcLayout(TRUE);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Tear-off bars

void CPlxFrameCore::AddTearOffToolbar(CControlBar* pToolBar) {
  if (pToolBar != nullptr && m_listTearOffToolbars.Find(pToolBar) == nullptr)
    m_listTearOffToolbars.AddTail(pToolBar);
}

void CPlxFrameCore::RemoveTearOffToolbar(CControlBar* pToolBar) {
  if (POSITION pos = m_listTearOffToolbars.Find(pToolBar); pos != nullptr)
    m_listTearOffToolbars.RemoveAt(pos);
}

void CPlxFrameCore::LoadTearOffMenus() {
  while (!m_listTearOffToolbars.IsEmpty()) {
    auto* bar = static_cast<CControlBar*>(m_listTearOffToolbars.RemoveHead());
    if (bar->GetSafeHwnd() != nullptr) bar->DestroyWindow();
    delete bar;
  }
  for (int n = 0;; ++n) {
    CPlxRegistryHolder holder;
    CPlxRegistry& reg = holder.Create(FALSE, TRUE);
    if (!reg.Open(TearOffKey(n))) break;
    DWORD id = 0;
    CString name;
    CObject* object = nullptr;
    // Only toolbar kinds come back as bars: a stored record of any other class is refused before
    // it is made.
    if (!reg.ReadDword("ID", id) || !reg.ReadString("Name", name) ||
        !reg.ReadObject("State", object, RUNTIME_CLASS(CPlxToolBar)))
      break;
    auto* bar = dynamic_cast<CPlxToolBar*>(object);
    if (bar == nullptr || !bar->Create(m_pFrame, kUserBarStyle, id)) {
      delete object;
      break;
    }
    bar->SetWindowText(name);
    bar->SetBarStyle(bar->GetBarStyle() | kUserBarStyleAdd);
    bar->EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->DockControlBar(bar);
    m_listTearOffToolbars.AddTail(bar);
  }
}

BOOL CPlxFrameCore::SaveTearOffMenus(BOOL bFrameBarsOnly) {
  {
    CPlxRegistryHolder holder;
    CPlxRegistry& reg = holder.Create(FALSE, FALSE);
    for (int n = 0; reg.DeleteKey(TearOffKey(n)); ++n) {
    }
  }
  // Keys are numbered in a row over the bars actually saved: loading stops at the first missing
  // number, so a skipped bar must not leave a gap.
  BOOL ok = TRUE;
  int n = 0;
  for (POSITION pos = m_listTearOffToolbars.GetHeadPosition(); pos != nullptr;) {
    auto* bar = static_cast<CControlBar*>(m_listTearOffToolbars.GetNext(pos));
    if (bFrameBarsOnly && TopFrameOf(bar) != m_pFrame) continue;
    CControlBarInfo info;
    bar->GetBarInfo(&info);
    CString name;
    if (bar->GetSafeHwnd() != nullptr) bar->GetWindowText(name);
    // A registry object per key: a key is created below the one the object holds open.
    CPlxRegistryHolder holder;
    CPlxRegistry& reg = holder.Create(FALSE, FALSE);
    const BOOL saved = reg.CreateKey(TearOffKey(n)) && reg.WriteDword("ID", info.m_nBarID) &&
                       reg.WriteString("Name", name) && reg.WriteObject("State", bar);
    if (!saved) {
      // A half-written key would stop loading there; it goes so the bars before it load whole.
      reg.DeleteKey(TearOffKey(n));
      ok = FALSE;
      continue;
    }
    ++n;
  }
  return ok;
}

// ---------------------------------------------------------------------------------------------
// Docking state

BOOL CPlxFrameCore::IsDockStateValid(const CDockState& state) {
  for (int i = 0; i < state.GetCount(); ++i) {
    CControlBarInfo* info = state.GetAt(i);
    if (info->m_bFloating) continue;
    CControlBar* bar = m_pFrame->GetControlBar(info->m_nBarID);
    if (bar == nullptr) return FALSE;
    if (info->m_bDocking && bar->m_pDockBar == nullptr) info->m_bDocking = FALSE;
  }
  return TRUE;
}

void CPlxFrameCore::SetDockState(const CDockState& state) {
  // The bars take their most recent widths first, so the frame lays them out at those widths.
  for (int i = 0; i < state.GetCount(); ++i) {
    CControlBarInfo* info = state.GetAt(i);
    if (info->m_bDockBar) continue;
    if (CControlBar* bar = m_pFrame->GetControlBar(info->m_nBarID); bar != nullptr)
      bar->m_nMRUWidth = info->m_nMRUWidth;
  }
  // The frame docks and floats every bar where the state says (rows, floating frames).
  m_pFrame->CFrameWnd::SetDockState(state);
  // Floating frames that hold a visible bar are laid out and shown without activation.
  for (CMiniDockFrameWnd* mini : m_pFrame->m_listFloating) {
    BOOL visible = FALSE;
    for (CControlBar* bar : mini->m_wndDockBar.m_arrBars)
      visible = visible || (bar != nullptr && (bar->GetStyle() & WS_VISIBLE) != 0);
    if (!visible) continue;
    mini->RecalcLayout(TRUE);
    mini->ShowWindow(SW_SHOWNA);
  }
  m_pFrame->m_nIdleFlags |= CFrameWnd::idleLayout | CFrameWnd::idleNotify;
  if (CWinApp* app = AfxGetApp();
      app != nullptr && (app->m_nCmdShow == SW_MINIMIZE || app->m_nCmdShow == SW_SHOWMINNOACTIVE))
    m_pFrame->m_nIdleFlags &= ~CFrameWnd::idleLayout;
}
