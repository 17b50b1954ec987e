#include "toolkit/customize/PlxTasksPane.h"

#include <algorithm>

#include "platform/kernel/Time.h"
#include "platform/mfc/AfxRes.h"
#include "platform/mfc/CmdUI.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxPopupMenuBar.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManager.h"

IMPLEMENT_DYNAMIC(CPlxTasksPane, CPlxOutlookBar)

BEGIN_MESSAGE_MAP(CPlxTasksPane, CPlxOutlookBar)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_SIZE()
ON_WM_TIMER()
ON_WM_VSCROLL()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_LBUTTONUP()
ON_WM_CANCELMODE()
ON_WM_SETCURSOR()
ON_WM_STYLECHANGING()
ON_MESSAGE(WM_GETOBJECT, OnGetObject)
ON_COMMAND(CPlxTasksPane::kBackCmd, OnBack)
ON_COMMAND(CPlxTasksPane::kForwardCmd, OnForward)
ON_COMMAND(CPlxTasksPane::kHomeCmd, OnHome)
ON_COMMAND(CPlxTasksPane::kCloseCmd, OnClose)
ON_UPDATE_COMMAND_UI(CPlxTasksPane::kBackCmd, OnUpdateBack)
ON_UPDATE_COMMAND_UI(CPlxTasksPane::kForwardCmd, OnUpdateForward)
ON_UPDATE_COMMAND_UI(CPlxTasksPane::kPagesMenuCmd, OnUpdatePagesMenu)
END_MESSAGE_MAP()

namespace {
constexpr int kAnimationMs = 30;
constexpr int kHoverScrollMs = 80;

constexpr LONG kClientObject = -4;  // the object id of a window's client area

int Pick(int own, int manager) {
  return own != -1 ? own : manager;
}

// A string resource, or the given text when the resources lack it.
CString LoadText(UINT id, LPCTSTR fallback) {
  CString text;
  if (!text.LoadString(id)) text = fallback;
  return text;
}
}  // namespace

CPlxTasksPane::CPlxTasksPane() {
  m_nBarSize = 200;
}

CPlxTasksPane::~CPlxTasksPane() {
  for (CPlxTasksGroup* group : m_lstTaskGroups) DeleteGroup(group);
  m_lstTaskGroups.clear();
  for (CPlxTaskPage* page : m_lstTaskPages) delete page;
}

int CPlxTasksPane::GetVertMargin() const {
  return Pick(m_nVertMargin, CPlxVisualManager::GetInstance()->m_nVertMargin);
}
int CPlxTasksPane::GetHorzMargin() const {
  return Pick(m_nHorzMargin, CPlxVisualManager::GetInstance()->m_nHorzMargin);
}
int CPlxTasksPane::GetGroupVertOffset() const {
  return Pick(m_nGroupVertOffset, CPlxVisualManager::GetInstance()->m_nGroupVertOffset);
}
int CPlxTasksPane::GetGroupCaptionHeight() const {
  return Pick(m_nGroupCaptionHeight, CPlxVisualManager::GetInstance()->m_nGroupCaptionHeight);
}
int CPlxTasksPane::GetTasksHorzOffset() const {
  return Pick(m_nTasksHorzOffset, CPlxVisualManager::GetInstance()->m_nTasksHorzOffset);
}
int CPlxTasksPane::GetTasksIconVertOffset() const {
  return Pick(m_nTasksIconVertOffset, CPlxVisualManager::GetInstance()->m_nTasksIconVertOffset);
}

// ---- Pages, groups and tasks.

int CPlxTasksPane::AddPage(LPCTSTR lpszName) {
  auto* page = new CPlxTaskPage;
  page->m_strName = lpszName;
  page->m_pPane = this;
  m_lstTaskPages.push_back(page);
  if (m_arrHistoryStack.empty()) m_arrHistoryStack.push_back(0);
  RebuildPagesMenu();
  // A second page brings the toolbar or the caption's buttons.
  if (GetPageCount() == 2) {
    UpdateCaption();
    RelayoutAndRedraw();
  }
  return GetPageCount() - 1;
}

void CPlxTasksPane::DeleteGroup(CPlxTasksGroup* pGroup) {
  ForgetGroup(pGroup);
  for (CPlxTask* task : pGroup->m_lstTasks) {
    ForgetTask(task);
    delete task;
  }
  delete pGroup;
}

// Nothing may keep pointing at a task or group once it is gone.
void CPlxTasksPane::ForgetTask(const CPlxTask* pTask) {
  if (m_pHotTask == pTask) m_pHotTask = nullptr;
  if (m_pClickedTask == pTask) m_pClickedTask = nullptr;
}

void CPlxTasksPane::ForgetGroup(const CPlxTasksGroup* pGroup) {
  if (m_pHotGroupCaption == pGroup) m_pHotGroupCaption = nullptr;
  if (m_pClickedGroupCaption == pGroup) m_pClickedGroupCaption = nullptr;
  if (m_pAnimatedGroup == pGroup) {
    m_pAnimatedGroup = nullptr;
    m_nAnimGroupExtraHeight = 0;
    if (GetSafeHwnd() != nullptr) KillTimer(kAnimationTimer);
  }
  if (GetSafeHwnd() != nullptr && m_pHotTask == nullptr && m_pClickedTask == nullptr &&
      m_pHotGroupCaption == nullptr && m_pClickedGroupCaption == nullptr && GetCapture() == this)
    ReleaseCapture();
}

void CPlxTasksPane::RemovePage(int nPage) {
  if (nPage <= 0 || nPage >= GetPageCount()) return;  // the default page stays
  const int current = GetActivePage();
  RemoveAllGroups(nPage);
  delete m_lstTaskPages[nPage];
  m_lstTaskPages.erase(m_lstTaskPages.begin() + nPage);
  // History entries of the page go; later pages move down by one.
  std::vector<int> kept;
  int pos = 0;
  for (int i = 0; i < GetHistorySize(); ++i) {
    int entry = m_arrHistoryStack[i];
    if (entry == nPage) continue;
    if (entry > nPage) --entry;
    if (!kept.empty() && kept.back() == entry) continue;
    kept.push_back(entry);
    if (i <= m_iActivePage) pos = static_cast<int>(kept.size()) - 1;
  }
  if (kept.empty()) kept.push_back(0);
  m_arrHistoryStack = kept;
  m_iActivePage = std::clamp(pos, 0, GetHistorySize() - 1);
  if (current == nPage) {
    m_nVertScrollOffset = 0;
    OnActivateTasksPanePage();
  }
  RebuildPagesMenu();
  UpdateCaption();
  RelayoutAndRedraw();
}

int CPlxTasksPane::AddGroup(int nPage, LPCTSTR lpszCaption, BOOL bBottomLocation, BOOL bSpecial,
                            HICON hIcon) {
  if (nPage < 0 || nPage >= GetPageCount()) return -1;
  auto* group = new CPlxTasksGroup;
  group->m_pPage = this;
  group->m_pTaskPage = m_lstTaskPages[nPage];
  group->m_strName = lpszCaption != nullptr ? lpszCaption : "";
  group->m_bAtBottom = bBottomLocation;
  group->m_bIsSpecial = bSpecial;
  group->m_hIcon = hIcon;
  if (hIcon != nullptr) {
    ICONINFO info{};
    if (::GetIconInfo(hIcon, &info)) {
      BITMAP bm{};
      if (info.hbmColor != nullptr && ::GetObject(info.hbmColor, sizeof(bm), &bm) != 0)
        group->m_sizeIcon = CSize(bm.bmWidth, bm.bmHeight);
    }
  }
  m_lstTaskGroups.push_back(group);
  return GetGroupCount() - 1;
}

CPlxTasksGroup* CPlxTasksPane::GetTaskGroup(int nGroup) const {
  return nGroup >= 0 && nGroup < GetGroupCount() ? m_lstTaskGroups[nGroup] : nullptr;
}

CPlxTask* CPlxTasksPane::GetTask(int nGroup, int nTask) const {
  CPlxTasksGroup* group = GetTaskGroup(nGroup);
  if (group == nullptr || nTask < 0 || nTask >= static_cast<int>(group->m_lstTasks.size())) return nullptr;
  return group->m_lstTasks[nTask];
}

int CPlxTasksPane::AddTask(int nGroup, LPCTSTR lpszName, int nIcon, UINT uiCommandID, DWORD dwUserData) {
  CPlxTasksGroup* group = GetTaskGroup(nGroup);
  if (group == nullptr) return -1;
  auto* task = new CPlxTask;
  task->m_pGroup = group;
  task->m_strName = lpszName != nullptr ? lpszName : "";
  task->m_nIcon = nIcon;
  task->m_uiCommandID = uiCommandID;
  task->m_dwUserData = dwUserData;
  group->m_lstTasks.push_back(task);
  return static_cast<int>(group->m_lstTasks.size()) - 1;
}

int CPlxTasksPane::AddWindow(int nGroup, HWND hwndTask, int nWindowHeight, DWORD dwUserData) {
  const int index = AddTask(nGroup, "", -1, 0, dwUserData);
  if (index < 0) return -1;
  CPlxTask* task = GetTask(nGroup, index);
  task->m_hwndTask = hwndTask;
  task->m_nWindowHeight = nWindowHeight;
  return index;
}

BOOL CPlxTasksPane::RemoveTask(int nGroup, int nTask, BOOL bRedraw) {
  CPlxTask* task = GetTask(nGroup, nTask);
  if (task == nullptr) return FALSE;
  CPlxTasksGroup* group = task->m_pGroup;
  ForgetTask(task);
  ForgetGroup(nullptr);  // releases a capture kept for nothing
  if (task->m_hwndTask != nullptr) ::ShowWindow(task->m_hwndTask, SW_HIDE);
  group->m_lstTasks.erase(group->m_lstTasks.begin() + nTask);
  delete task;
  if (bRedraw) RelayoutAndRedraw();
  return TRUE;
}

BOOL CPlxTasksPane::RemoveGroup(int nGroup) {
  CPlxTasksGroup* group = GetTaskGroup(nGroup);
  if (group == nullptr) return FALSE;
  for (CPlxTask* task : group->m_lstTasks)
    if (task->m_hwndTask != nullptr) ::ShowWindow(task->m_hwndTask, SW_HIDE);
  m_lstTaskGroups.erase(m_lstTaskGroups.begin() + nGroup);
  DeleteGroup(group);
  RelayoutAndRedraw();
  return TRUE;
}

void CPlxTasksPane::RemoveAllGroups(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return;
  const CPlxTaskPage* page = m_lstTaskPages[nPage];
  for (int i = GetGroupCount() - 1; i >= 0; --i) {
    CPlxTasksGroup* group = m_lstTaskGroups[i];
    if (group->m_pTaskPage != page) continue;
    for (CPlxTask* task : group->m_lstTasks)
      if (task->m_hwndTask != nullptr) ::ShowWindow(task->m_hwndTask, SW_HIDE);
    m_lstTaskGroups.erase(m_lstTaskGroups.begin() + i);
    DeleteGroup(group);
  }
  RelayoutAndRedraw();
}

BOOL CPlxTasksPane::CollapseGroup(CPlxTasksGroup* pGroup, BOOL bCollapse) {
  if (pGroup == nullptr || pGroup->m_strName.IsEmpty()) return FALSE;
  pGroup->m_bIsCollapsed = bCollapse;
  RelayoutAndRedraw();
  return TRUE;
}

void CPlxTasksPane::SetCaption(LPCTSTR lpszCaption) {
  m_strCaption = lpszCaption;
  UpdateCaption();
}

BOOL CPlxTasksPane::IsToolBarShown() const {
  return (m_bUseNavigationToolbar || !m_bCaptionBlock) && GetPageCount() > 1;
}

void CPlxTasksPane::UpdateCaption() {
  if (GetSafeHwnd() == nullptr || m_lstTaskPages.empty()) return;
  const CString& page = m_lstTaskPages[GetActivePage()]->m_strName;
  SetWindowText(IsToolBarShown() ? m_strCaption : page);
  if (m_wndToolBar.GetSafeHwnd() != nullptr) {
    for (int i = 0; i < m_wndToolBar.GetCount(); ++i) {
      CPlxToolbarButton* button = m_wndToolBar.GetButton(i);
      if (dynamic_cast<CPlxTasksPaneToolbarMenuButton*>(button) == nullptr) continue;
      button->m_strText = page;
      m_wndToolBar.InvalidateButton(i);
    }
  }
  if (!m_rectCaption.IsRectEmpty()) InvalidateRect(m_rectCaption);
}

void CPlxTasksPane::RebuildPagesMenu() {
  m_menuPages.DestroyMenu();
  m_menuPages.Attach(BuildPagesMenu());
  m_btnOther.m_hMenu = m_menuPages.GetSafeHmenu();
  UpdateHistoryButtons();
}

void CPlxTasksPane::UpdateHistoryButtons() {
  // The caption's buttons follow the history as the toolbar's do at idle time.
  if (m_btnBack.GetSafeHwnd() != nullptr) m_btnBack.EnableWindow(m_iActivePage > 0);
  if (m_btnForward.GetSafeHwnd() != nullptr) m_btnForward.EnableWindow(m_iActivePage < GetHistorySize() - 1);
  if (m_wndToolBar.GetSafeHwnd() == nullptr) return;
  for (int i = 0; i < m_wndToolBar.GetCount(); ++i) {
    auto* menuButton = dynamic_cast<CPlxToolbarMenuButton*>(m_wndToolBar.GetButton(i));
    // An open list shows what is no longer so, and a choice not yet arrived indexed the old
    // history: neither may pick an entry of the new one.
    if (menuButton != nullptr && menuButton->IsDroppedDown()) menuButton->OnCancelMode();
    auto* button = dynamic_cast<CPlxTasksPaneHistoryButton*>(menuButton);
    if (button == nullptr || button->m_pPane == nullptr) continue;
    button->ForgetChoice();
    std::vector<CString> pages;
    if (button->m_nID == kBackCmd)
      GetPreviousPages(pages);
    else
      GetNextPages(pages);
    button->m_lstPages.RemoveAll();
    HMENU menu = ::CreatePopupMenu();
    for (const CString& name : pages) {
      button->m_lstPages.AddTail(name);
      ::AppendMenu(menu, MF_STRING, button->m_nID, name);
    }
    button->CreateFromMenu(menu);
    ::DestroyMenu(menu);
  }
}

HMENU CPlxTasksPane::BuildPagesMenu() const {
  HMENU menu = ::CreatePopupMenu();
  for (int i = 0; i < GetPageCount(); ++i) {
    ::AppendMenu(menu, MF_STRING, kPagesMenuCmd, m_lstTaskPages[i]->m_strName);
    if (i == GetActivePage()) ::CheckMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | MF_CHECKED);
  }
  return menu;
}

// A choice from a history list goes that many steps; a plain press is the virtual's.
void CPlxTasksPane::OnBack() {
  CPlxTasksPaneHistoryButton* button = m_bHistoryMenuButtons ? m_wndToolBar.m_pBtnBack : nullptr;
  const int chosen = button != nullptr ? button->TakeChosenEntry() : -1;
  if (chosen >= 0 && chosen < m_iActivePage) {
    const int old = m_iActivePage;
    m_iActivePage -= chosen + 1;
    ChangeActivePage(m_iActivePage, old);
    return;
  }
  OnPressBackButton();
}

void CPlxTasksPane::OnForward() {
  CPlxTasksPaneHistoryButton* button = m_bHistoryMenuButtons ? m_wndToolBar.m_pBtnForward : nullptr;
  const int chosen = button != nullptr ? button->TakeChosenEntry() : -1;
  if (chosen >= 0 && chosen < GetHistorySize() - m_iActivePage - 1) {
    const int old = m_iActivePage;
    m_iActivePage += chosen + 1;
    ChangeActivePage(m_iActivePage, old);
    return;
  }
  OnPressForwardButton();
}

void CPlxTasksPane::OnPressBackButton() {
  if (m_iActivePage > 0) GoBack(1);
}

void CPlxTasksPane::OnPressForwardButton() {
  if (m_iActivePage < GetHistorySize() - 1) GoForward(1);
}

void CPlxTasksPane::OnUpdateBack(CCmdUI* pCmdUI) {
  pCmdUI->Enable(m_iActivePage > 0);
}

// The items of the toolbar's pages list share one command: the item's position is the page.
void CPlxTasksPane::OnUpdatePagesMenu(CCmdUI* pCmdUI) {
  pCmdUI->Enable(TRUE);
  pCmdUI->SetCheck(static_cast<int>(pCmdUI->m_nIndex) == GetActivePage());
}

void CPlxTasksPane::OnUpdateForward(CCmdUI* pCmdUI) {
  pCmdUI->Enable(m_iActivePage < GetHistorySize() - 1);
}

BOOL CPlxTasksPane::OnCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case kBackCmd:
      OnBack();
      return TRUE;
    case kForwardCmd:
      OnForward();
      return TRUE;
    case kHomeCmd:
      OnHome();
      return TRUE;
    case kCloseCmd:
      OnClose();
      return TRUE;
    case kPagesMenuCmd:
      // The item of the pages menu just chosen (the popup keeps its index).
      SetActivePage(CPlxPopupMenuBar::m_iLastCommandIndex);
      return TRUE;
    default:
      return CPlxOutlookBar::OnCommand(wParam, lParam);
  }
}

// A control bar hands commands and its controls' notifications to its owner before its own
// handlers see them: the navigation's are the pane's.
LRESULT CPlxTasksPane::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && lParam == 0 && LOWORD(wParam) >= kBackCmd && LOWORD(wParam) <= kPagesMenuCmd)
    return OnCommand(wParam, lParam);
  if (message == WM_COMMAND && lParam != 0 && HIWORD(wParam) == BN_CLICKED) {
    const HWND from = reinterpret_cast<HWND>(lParam);
    if (from == m_btnOther.GetSafeHwnd()) {
      OnCaptionPages();
      return 0;
    }
    if (from == m_btnForward.GetSafeHwnd()) {
      OnCaptionForward();
      return 0;
    }
    if (from == m_btnBack.GetSafeHwnd()) {
      OnCaptionBack();
      return 0;
    }
  }
  if (message == WM_SETFONT) {
    m_hFont = reinterpret_cast<HFONT>(wParam);
    CreateFonts();
    RelayoutAndRedraw();
    return 0;
  }
  if (message == WM_GETFONT)
    return reinterpret_cast<LRESULT>(m_hFont != nullptr ? m_hFont : ::GetStockObject(DEFAULT_GUI_FONT));
  if (message == WM_SETTINGCHANGE) {
    const LRESULT result = CPlxOutlookBar::WindowProc(message, wParam, lParam);
    RelayoutAndRedraw();
    return result;
  }
  return CPlxOutlookBar::WindowProc(message, wParam, lParam);
}

void CPlxTasksPane::OnPressCloseButton() {
  if (GetSafeHwnd() != nullptr) ShowWindow(SW_HIDE);
}

void CPlxTasksPane::RelayoutAndRedraw() {
  if (GetSafeHwnd() == nullptr) return;
  AdjustLocations();
  ReposTasks();
  RedrawWindow(nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// ---- History.

void CPlxTasksPane::AddToHistory(int nPage) {
  if (m_arrHistoryStack[m_iActivePage] == nPage) return;
  m_arrHistoryStack.resize(m_iActivePage + 1);
  if (m_nMaxHistory > 0 && GetHistorySize() >= m_nMaxHistory) {
    m_arrHistoryStack.erase(m_arrHistoryStack.begin());
    m_iActivePage = std::max(m_iActivePage - 1, 0);
  }
  m_arrHistoryStack.push_back(nPage);
}

void CPlxTasksPane::SetActivePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount() || GetActivePage() == nPage) return;
  const int old = m_iActivePage;
  AddToHistory(nPage);
  m_iActivePage = GetHistorySize() - 1;
  // A full history dropped its oldest entry: the old entry moved down with it.
  ChangeActivePage(m_iActivePage, std::min(old, m_iActivePage - 1));
}

void CPlxTasksPane::ChangeActivePage(int nNewPos, int nOldPos) {
  if (nOldPos < 0 || nOldPos >= GetHistorySize() || nNewPos < 0 || nNewPos >= GetHistorySize()) return;
  const int oldPage = m_arrHistoryStack[nOldPos];
  if (oldPage == m_arrHistoryStack[nNewPos]) return;
  // What was hot or pressed belongs to the page going away.
  m_pHotTask = m_pClickedTask = nullptr;
  m_pHotGroupCaption = m_pClickedGroupCaption = nullptr;
  if (GetSafeHwnd() == nullptr) {
    OnActivateTasksPanePage();
    RebuildPagesMenu();
    return;
  }
  for (CPlxTasksGroup* group : m_lstTaskGroups)
    if (group->m_pTaskPage == m_lstTaskPages[oldPage])
      for (CPlxTask* task : group->m_lstTasks)
        if (task->m_hwndTask != nullptr) ::ShowWindow(task->m_hwndTask, SW_HIDE);
  UpdateCaption();
  OnActivateTasksPanePage();
  RebuildPagesMenu();
  m_nVertScrollOffset = 0;
  AdjustLocations();
  ReposTasks();
  Invalidate();
  UpdateWindow();
}

void CPlxTasksPane::GetPreviousPages(std::vector<CString>& lstPages) const {
  lstPages.clear();
  for (int i = m_iActivePage - 1; i >= 0; --i)
    lstPages.push_back(m_lstTaskPages[m_arrHistoryStack[i]]->m_strName);
}

void CPlxTasksPane::GetNextPages(std::vector<CString>& lstPages) const {
  lstPages.clear();
  for (int i = m_iActivePage + 1; i < GetHistorySize(); ++i)
    lstPages.push_back(m_lstTaskPages[m_arrHistoryStack[i]]->m_strName);
}

BOOL CPlxTasksPane::GoBack(int nSteps) {
  if (nSteps < 1 || nSteps > m_iActivePage) {
    OnPressBackButton();
    return FALSE;
  }
  const int old = m_iActivePage;
  m_iActivePage -= nSteps;
  ChangeActivePage(m_iActivePage, old);
  return TRUE;
}

BOOL CPlxTasksPane::GoForward(int nSteps) {
  if (nSteps < 1 || nSteps > GetHistorySize() - m_iActivePage - 1) {
    OnPressForwardButton();
    return FALSE;
  }
  const int old = m_iActivePage;
  m_iActivePage += nSteps;
  ChangeActivePage(m_iActivePage, old);
  return TRUE;
}

// ---- Layout.

void CPlxTasksPane::CreateFonts() {
  m_fontBold.DeleteObject();
  m_fontUnderline.DeleteObject();
  HFONT source = m_hFont != nullptr ? m_hFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  LOGFONT lf{};
  ::GetObject(source, sizeof(lf), &lf);
  lf.lfWeight = FW_BOLD;
  m_fontBold.CreateFontIndirect(&lf);
  lf.lfWeight = FW_NORMAL;
  lf.lfUnderline = TRUE;
  m_fontUnderline.CreateFontIndirect(&lf);
}

void CPlxTasksPane::GetWindowTaskOffsets(int& nHorz, int& nVert) const {
  nHorz = GetTasksHorzOffset();
  nVert = GetTasksIconVertOffset();
}

void CPlxTasksPane::AdjustLocations() {
  if (GetSafeHwnd() == nullptr) return;
  CPlxOutlookBar::AdjustLocations();
  const CRect oldUp = m_rectScrollUp, oldDown = m_rectScrollDn, oldToolBar = m_rectToolBar;
  m_rectTasks = m_rectButtonsArea;
  LayOutCaption();
  if (m_wndToolBar.GetSafeHwnd() != nullptr && IsToolBarShown()) {
    const int height = m_wndToolBar.CalcFixedLayout(FALSE, TRUE).cy;
    m_rectToolBar = CRect(m_rectTasks.left, m_rectTasks.top, m_rectTasks.right, m_rectTasks.top + height);
    m_rectTasks.top = m_rectToolBar.bottom;
    m_wndToolBar.SetWindowPos(nullptr, m_rectToolBar.left, m_rectToolBar.top, m_rectToolBar.Width(),
                              m_rectToolBar.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  } else {
    m_rectToolBar.SetRectEmpty();
    if (m_wndToolBar.GetSafeHwnd() != nullptr) m_wndToolBar.ShowWindow(SW_HIDE);
  }
  SetScrollSizes();
  if (m_wndScrollVert.GetSafeHwnd() != nullptr) {
    m_wndScrollVert.EnableWindow(!m_bUseScrollButtons);
    if (m_bUseScrollButtons || m_nVertScrollTotal <= 0) {
      m_wndScrollVert.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
      const int width = ::GetSystemMetrics(SM_CXHSCROLL);
      m_rectTasks.right -= width;
      m_wndScrollVert.SetWindowPos(nullptr, m_rectTasks.right, m_rectTasks.top, width, m_rectTasks.Height(),
                                   SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  m_rectScrollUp.SetRectEmpty();
  m_rectScrollDn.SetRectEmpty();
  if (m_bUseScrollButtons) {
    if (m_nVertScrollOffset > 0) {
      m_rectScrollUp = CRect(m_rectTasks.left, m_rectTasks.top + 1, m_rectTasks.right,
                             m_rectTasks.top + 1 + m_iScrollBtnHeight);
      m_rectTasks.top = m_rectScrollUp.bottom + 1;
    }
    if (m_nVertScrollTotal > 0 && m_nVertScrollTotal - m_nVertScrollPage >= m_nVertScrollOffset) {
      m_rectScrollDn = CRect(m_rectTasks.left, m_rectTasks.bottom - 1 - m_iScrollBtnHeight, m_rectTasks.right,
                             m_rectTasks.bottom - 1);
      m_rectTasks.bottom = m_rectScrollDn.top - 1;
    }
  }
  if (oldUp != m_rectScrollUp || oldDown != m_rectScrollDn || oldToolBar != m_rectToolBar) {
    for (const CRect* r :
         {&oldUp, &oldDown, &oldToolBar, static_cast<const CRect*>(&m_rectScrollUp),
          static_cast<const CRect*>(&m_rectScrollDn), static_cast<const CRect*>(&m_rectToolBar)})
      if (!r->IsRectEmpty()) InvalidateRect(r);
  }
}

// The caption block at the top of the area, its buttons at its right end when they navigate.
void CPlxTasksPane::LayOutCaption() {
  m_rectCaption.SetRectEmpty();
  if (m_bCaptionBlock) {
    CFont* bold = m_fontBold.GetSafeHandle() != nullptr ? &m_fontBold : &g_plxGlobalData.fontBold;
    const int height = std::max(TextHeight(bold, "A", 100, FALSE) + 8, 20);
    m_rectCaption = CRect(m_rectTasks.left, m_rectTasks.top, m_rectTasks.right, m_rectTasks.top + height);
    m_rectTasks.top = m_rectCaption.bottom;
  }
  const BOOL navigate = m_bCaptionBlock && GetPageCount() > 1 && !IsToolBarShown();
  const int size = m_rectCaption.Height() - 4;
  int right = m_rectCaption.right - 2;
  for (CPlxButton* button : {static_cast<CPlxButton*>(&m_btnOther), &m_btnForward, &m_btnBack}) {
    if (button->GetSafeHwnd() == nullptr) continue;
    if (!navigate) {
      button->ShowWindow(SW_HIDE);
      continue;
    }
    const int width = button == &m_btnOther ? size + 4 : size;
    button->SetWindowPos(nullptr, right - width, m_rectCaption.top + 2, width, size,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    right -= width + 1;
  }
}

void CPlxTasksPane::DrawCaption(CDC* pDC) {
  if (m_rectCaption.IsRectEmpty()) return;
  CRect buttons(m_rectCaption.right, m_rectCaption.top, m_rectCaption.right, m_rectCaption.bottom);
  if (m_btnBack.GetSafeHwnd() != nullptr && m_btnBack.IsWindowVisible()) {
    CRect back;
    m_btnBack.GetWindowRect(back);
    ScreenToClient(back);
    buttons.left = back.left - 1;
  }
  const COLORREF text =
      CPlxVisualManager::GetInstance()->OnDrawControlBarCaption(pDC, this, TRUE, m_rectCaption, buttons);
  CString title;
  GetWindowText(title);
  CRect rectText(m_rectCaption.left + 4, m_rectCaption.top, buttons.left - 2, m_rectCaption.bottom);
  CFont* old =
      pDC->SelectObject(m_fontBold.GetSafeHandle() != nullptr ? &m_fontBold : &g_plxGlobalData.fontBold);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(text);
  pDC->DrawText(title, rectText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  pDC->SelectObject(old);
}

void CPlxTasksPane::SetScrollSizes() {
  if (m_wndScrollVert.GetSafeHwnd() == nullptr) return;
  if (m_nRowHeight <= 0) ReposTasks(TRUE);  // learns the row height
  if (m_nRowHeight <= 0) {
    m_nVertScrollTotal = m_nVertScrollPage = m_nVertScrollOffset = 0;
  } else {
    // The toolbar lies above the area: adding its height, content just taller than the area
    // would not scroll and its last rows could not be reached.
    int height = m_rectTasks.Height();
    if (m_bUseScrollButtons) height -= m_iScrollBtnHeight + 1;
    m_nVertScrollPage = height / m_nRowHeight - 1;
    const int content = ReposTasks(TRUE);
    if (content != 0 && content > height) {
      m_nVertScrollTotal = content / m_nRowHeight - 1;
    } else {
      m_nVertScrollTotal = m_nVertScrollPage = m_nVertScrollOffset = 0;
    }
    // Never below 0, also when the page is larger than the range.
    m_nVertScrollOffset =
        std::max(0, std::min(m_nVertScrollOffset, m_nVertScrollTotal - m_nVertScrollPage + 1));
  }
  if (!m_bUseScrollButtons) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = m_nVertScrollTotal;
    info.nPage = static_cast<UINT>(std::max(m_nVertScrollPage, 0));
    info.nPos = m_nVertScrollOffset;
    m_wndScrollVert.SetScrollInfo(&info, TRUE);
  }
  m_wndScrollVert.EnableScrollBar(m_bUseScrollButtons || m_nVertScrollTotal <= 0 ? ESB_DISABLE_BOTH
                                                                                 : ESB_ENABLE_BOTH);
}

int CPlxTasksPane::TextHeight(CFont* pFont, const CString& text, int width, BOOL bWrap) {
  CClientDC dc(this);
  CFont* old = dc.SelectObject(pFont);
  CRect rect(0, 0, std::max(width, 1), 0);
  dc.DrawText(text.IsEmpty() ? CString("A") : text, rect,
              DT_CALCRECT | (bWrap ? DT_WORDBREAK : DT_SINGLELINE));
  dc.SelectObject(old);
  return rect.Height();
}

int CPlxTasksPane::ReposTasks(BOOL bCalcHeightOnly) {
  if (g_plxGlobalData.bIsRemoteSession) m_bAnimationEnabled = FALSE;
  if (GetSafeHwnd() == nullptr || m_lstTaskGroups.empty() || m_rectTasks.right <= 0 ||
      m_rectTasks.bottom <= 0)
    return 0;
  CRect area = m_rectTasks;
  area.DeflateRect(GetHorzMargin(), GetVertMargin());
  CFont* bold = m_fontBold.GetSafeHandle() != nullptr ? &m_fontBold : &g_plxGlobalData.fontBold;
  CFont* underline =
      m_fontUnderline.GetSafeHandle() != nullptr ? &m_fontUnderline : &g_plxGlobalData.fontUnderline;

  // Text heights repeat: one measurement per font serves every single-line label.
  const int boldHeight = TextHeight(bold, "A", 100, FALSE);
  const int lineHeight = TextHeight(underline, "A", 100, FALSE);
  m_nRowHeight = std::max<int>(m_sizeIcon.cy, boldHeight);
  int y = area.top - m_nRowHeight * m_nVertScrollOffset;

  const int captionHeight = GetGroupCaptionHeight();
  const int captionVOffset =
      Pick(m_nGroupCaptionVertOffset, CPlxVisualManager::GetInstance()->m_nGroupCaptionVertOffset);
  const int taskHOffset = GetTasksHorzOffset();
  const int taskSpacing = GetTasksIconVertOffset();
  const int iconHOffset =
      Pick(m_nTasksIconHorzOffset, CPlxVisualManager::GetInstance()->m_nTasksIconHorzOffset);
  const int groupSpacing = GetGroupVertOffset();
  const CPlxTaskPage* page = m_lstTaskPages[GetActivePage()];
  CPlxTasksGroup* last = nullptr;

  for (CPlxTasksGroup* group : m_lstTaskGroups) {
    if (group->m_pTaskPage != page) continue;
    last = group;
    int caption = 0;
    if (!group->m_strName.IsEmpty()) caption = std::max(boldHeight + captionVOffset, captionHeight);
    if (group->m_hIcon != nullptr && group->m_sizeIcon.cx < area.Width() - caption &&
        caption < group->m_sizeIcon.cy)
      y += group->m_sizeIcon.cy - caption;
    const CRect captionRect(area.left, y, area.right, y + caption);
    y += caption;
    const int top = y;
    const BOOL animated = group == m_pAnimatedGroup;
    if (!bCalcHeightOnly) group->m_rect = captionRect;

    if (group->m_bIsCollapsed && caption > 0 && m_bCanCollapse && !animated) {
      if (!bCalcHeightOnly) {
        group->m_rectGroup = CRect(area.left, top - 1, area.right, top - 1);
        for (CPlxTask* task : group->m_lstTasks)
          if (task->m_hwndTask == nullptr) task->m_rect.SetRectEmpty();
      }
    } else {
      int windowH = taskHOffset, windowV = taskSpacing;
      if (!m_bUseOwnWindowOffsets) GetWindowTaskOffsets(windowH, windowV);
      const int cut = top + m_nAnimGroupExtraHeight;
      BOOL first = TRUE;
      for (CPlxTask* task : group->m_lstTasks) {
        CRect rect;
        if (task->m_hwndTask != nullptr) {
          if (task->m_bVisible && first) y += windowV;
          const int height = task->m_bVisible ? task->m_nWindowHeight : 0;
          rect = CRect(area.left + windowH, std::max<int>(y, m_rectTasks.top + 1), area.right - windowH,
                       std::min<int>(y + height, m_rectTasks.bottom - 1));
          if (task->m_bVisible) {
            y += height + windowV;
            first = TRUE;
          }
        } else if (task->m_bVisible) {
          if (first) y += taskSpacing;
          const int left = area.left + taskHOffset;
          const int right = std::max<int>(left, area.right - taskHOffset);
          const BOOL wrap = task->m_uiCommandID != 0 ? m_bWrapTasks : m_bWrapLabels;
          int height;
          if (wrap) {
            height = TextHeight(underline, task->m_strName, right - left - m_sizeIcon.cx - iconHOffset, TRUE);
            if (task->m_bMinTextHeight) height = std::max(height, 10);
            height = std::max<int>(height, m_sizeIcon.cy);
          } else {
            height = std::max<int>(lineHeight, m_sizeIcon.cy);
          }
          rect = CRect(left, y, right, y + height);
          y += height + taskSpacing;
          first = FALSE;
        }
        if (animated && y > cut) {
          y = cut;
          rect.bottom = std::max(rect.top, std::min<LONG>(rect.bottom, cut - 1));
        }
        if (!bCalcHeightOnly) task->m_rect = rect;
      }
      if (!bCalcHeightOnly) group->m_rectGroup = CRect(area.left, top, area.right, std::max(y, top));
    }
    y += groupSpacing;
  }

  if (!bCalcHeightOnly) {
    if (last != nullptr && last->m_bAtBottom && m_nVertScrollTotal == 0) {
      const BOOL shows = std::any_of(last->m_lstTasks.begin(), last->m_lstTasks.end(),
                                     [](const CPlxTask* t) { return t->m_bVisible; });
      const int shift = area.bottom - last->m_rectGroup.bottom;
      if (shows && shift > 0) {
        last->m_rect.OffsetRect(0, shift);
        last->m_rectGroup.OffsetRect(0, shift);
        for (CPlxTask* task : last->m_lstTasks)
          if (task->m_bVisible) task->m_rect.OffsetRect(0, shift);
      }
    }
    for (CPlxTasksGroup* group : m_lstTaskGroups) {
      for (CPlxTask* task : group->m_lstTasks) {
        if (task->m_hwndTask == nullptr) continue;
        const BOOL open =
            !group->m_bIsCollapsed || (group == m_pAnimatedGroup && m_nAnimGroupExtraHeight > 0);
        if (group->m_pTaskPage == page && task->m_bVisible && !task->m_rect.IsRectEmpty() && open) {
          ::SetWindowPos(task->m_hwndTask, nullptr, task->m_rect.left, task->m_rect.top, task->m_rect.Width(),
                         task->m_rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        } else {
          ::ShowWindow(task->m_hwndTask, SW_HIDE);
        }
      }
    }
  }
  return m_nVertScrollOffset * m_nRowHeight + GetVertMargin() + y - taskSpacing - groupSpacing;
}

void CPlxTasksPane::ScrollTo(int nPos) {
  nPos = std::max(0, std::min(nPos, m_nVertScrollTotal - m_nVertScrollPage + 1));
  if (nPos == m_nVertScrollOffset) return;
  m_nVertScrollOffset = nPos;
  if (!m_bUseScrollButtons && m_wndScrollVert.GetSafeHwnd() != nullptr)
    m_wndScrollVert.SetScrollPos(nPos, TRUE);
  RelayoutAndRedraw();
}

CPlxTask* CPlxTasksPane::GetTaskFromPoint(CPoint point) const {
  if (!m_rectTasks.PtInRect(point)) return nullptr;
  const CPlxTaskPage* page = m_lstTaskPages[GetActivePage()];
  for (CPlxTasksGroup* group : m_lstTaskGroups) {
    if (group->m_pTaskPage != page) continue;
    for (CPlxTask* task : group->m_lstTasks)
      if (task->m_bVisible && task->m_uiCommandID != 0 && task->m_rect.PtInRect(point)) return task;
  }
  return nullptr;
}

CPlxTasksGroup* CPlxTasksPane::GetGroupCaptionFromPoint(CPoint point) const {
  if (!m_bCanCollapse || !m_rectTasks.PtInRect(point)) return nullptr;
  const CPlxTaskPage* page = m_lstTaskPages[GetActivePage()];
  for (CPlxTasksGroup* group : m_lstTaskGroups)
    if (group->m_pTaskPage == page && group->m_rect.PtInRect(point)) return group;
  return nullptr;
}

// ---- Painting.

void CPlxTasksPane::OnFillBackground(CDC* pDC) {
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  CRect client;
  GetClientRect(client);
  manager->OnFillTasksPaneBackground(pDC, client);
  DrawCaption(pDC);
  const CPlxTaskPage* page = m_lstTaskPages[GetActivePage()];
  CRgn clip;
  clip.CreateRectRgnIndirect(m_rectTasks);
  pDC->SelectClipRgn(&clip);
  for (CPlxTasksGroup* group : m_lstTaskGroups) {
    if (group->m_pTaskPage != page) continue;
    if (!group->m_strName.IsEmpty())
      manager->OnDrawTasksGroupCaption(pDC, group, group == m_pHotGroupCaption, FALSE, m_bCanCollapse);
    if (group->m_rectGroup.Height() <= 0) continue;
    manager->OnFillTasksGroupInterior(pDC, group->m_rectGroup);
    manager->OnDrawTasksGroupAreaBorder(pDC, group->m_rectGroup, group->m_bIsSpecial,
                                        group->m_strName.IsEmpty());
    for (CPlxTask* task : group->m_lstTasks) {
      if (task->m_hwndTask != nullptr || !task->m_bVisible || task->m_rect.Height() <= 0) continue;
      task->m_bIsLink = task->m_uiCommandID != 0 && task->m_bEnabled;
      manager->OnDrawTask(pDC, task, m_pImages, task == m_pHotTask, FALSE);
    }
  }
  pDC->SelectClipRgn(nullptr);
  if (!m_rectScrollUp.IsRectEmpty())
    manager->OnDrawScrollButton(pDC, m_rectScrollUp, 0, 33, m_iScrollMode < 0);
  if (!m_rectScrollDn.IsRectEmpty())
    manager->OnDrawScrollButton(pDC, m_rectScrollDn, 0, 32, m_iScrollMode > 0);
}

void CPlxTasksPane::Repaint(const CRect& rect) {
  if (GetSafeHwnd() != nullptr && !rect.IsRectEmpty())
    RedrawWindow(rect, nullptr, RDW_ERASE | RDW_INVALIDATE);
}

// ---- Messages.

int CPlxTasksPane::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CPlxOutlookBar::OnCreate(lpCreateStruct) == -1) return -1;
  // WS_CAPTION asks for the pane's caption block, which stands in for the outlook bar's caption.
  m_bHasCaption = m_bPageLook;
  CString name;
  if (!name.LoadString(kDefaultPageString)) name = "Tasks";
  if (m_lstTaskPages.empty()) AddPage(name);
  m_strCaption = name;
  SetCaption(name);
  if (!CreateToolBar()) return 0;
  CreateFonts();
  if (g_plxGlobalData.hcurHand == nullptr) g_plxGlobalData.hcurHand = ::LoadCursor(nullptr, IDC_HAND);
  m_wndScrollVert.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(0, 0, 0, 0), this, kScrollBarId);

  // The caption's buttons, hidden until the caption block navigates.
  const CRect none(0, 0, 0, 0);
  m_btnOther.Create("", WS_CHILD | BS_OWNERDRAW, none, this, kMenuButtonId);
  m_btnOther.m_hMenu = m_menuPages.GetSafeHmenu();
  m_btnOther.SetTooltip(LoadText(kPagesMenuTipString, "Other Tasks Panes"));
  m_btnForward.Create("", WS_CHILD | BS_OWNERDRAW, none, this, kForwardButtonId);
  m_btnForward.SetStdImage(CPlxMenuGlyphs::IdArowRight, CPlxMenuGlyphs::IdArowRightDisabled);
  m_btnForward.SetTooltip(LoadText(kForwardCmd, "Forward"));
  m_btnBack.Create("", WS_CHILD | BS_OWNERDRAW, none, this, kBackButtonId);
  m_btnBack.SetStdImage(CPlxMenuGlyphs::IdArowLeft, CPlxMenuGlyphs::IdArowLeftDisabled);
  m_btnBack.SetTooltip(LoadText(kBackCmd, "Back"));
  for (CPlxButton* button : {static_cast<CPlxButton*>(&m_btnOther), &m_btnForward, &m_btnBack}) {
    button->m_nFlatStyle = CPlxButton::BUTTONSTYLE_FLAT;
    button->m_bDrawFocus = FALSE;
  }
  UpdateHistoryButtons();
  return 0;
}

BOOL CPlxTasksPane::CreateToolBar() {
  if (GetSafeHwnd() == nullptr) return FALSE;
  if (m_wndToolBar.GetSafeHwnd() == nullptr) {
    const DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_TOOLTIPS |
                        CBRS_FLYBY | CBRS_HIDE_INPLACE;
    if (!m_wndToolBar.Create(this, style, kToolBarId)) return FALSE;
    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() & ~CBRS_GRIPPER);
    m_wndToolBar.SetOwner(this);
    m_wndToolBar.m_bRouteToFrame = FALSE;  // the pane handles the navigation, not the frame
  }

  const int image = g_plxGlobalData.nBitsPerPixel >= 16 && !g_plxGlobalData.bIsBlackHighContrast &&
                            !g_plxGlobalData.bIsWhiteHighContrast
                        ? 16
                        : 12;
  if (m_uiToolbarBmpRes != 0) {
    CSize button = m_sizeToolbarButton;
    if (button.cx == 0 && button.cy == 0) button = m_sizeToolbarImage + CSize(4, 4);
    m_wndToolBar.SetOwnSizes(button, m_sizeToolbarImage);
    m_wndToolBar.LoadBitmap(m_uiToolbarBmpRes, 0, 0, TRUE);
  } else {
    m_wndToolBar.SetOwnSizes(CSize(image + 4, image + 4), CSize(image, image));
    m_wndToolBar.LoadBitmap(image == 16 ? kToolBarBitmap : kToolBarBitmapSmall, 0, 0, TRUE);
  }

  m_wndToolBar.RemoveAllButtons();
  m_wndToolBar.m_pBtnBack = m_wndToolBar.m_pBtnForward = nullptr;
  auto add = [this](CPlxToolbarButton* button) {
    button->m_bLocked = TRUE;
    if (m_wndToolBar.InsertButtonObject(button) < 0) {
      delete button;
      return static_cast<CPlxToolbarButton*>(nullptr);
    }
    // The buttons that keep a pane learn it; the others keep the toolbar as their window.
    if (dynamic_cast<CPlxTasksPaneHistoryButton*>(button) != nullptr ||
        dynamic_cast<CPlxTasksPaneToolbarMenuButton*>(button) != nullptr)
      button->OnChangeParentWnd(this);
    return button;
  };
  const CString back = LoadText(kBackCmd, "Back"), forward = LoadText(kForwardCmd, "Forward");
  if (m_bHistoryMenuButtons) {
    m_wndToolBar.m_pBtnBack =
        static_cast<CPlxTasksPaneHistoryButton*>(add(new CPlxTasksPaneHistoryButton(kBackCmd, 0, back)));
    m_wndToolBar.m_pBtnForward = static_cast<CPlxTasksPaneHistoryButton*>(
        add(new CPlxTasksPaneHistoryButton(kForwardCmd, 1, forward)));
  } else {
    add(new CPlxToolbarButton(kBackCmd, 0, back, FALSE, TRUE));
    add(new CPlxToolbarButton(kForwardCmd, 1, forward, FALSE, TRUE));
  }
  add(new CPlxToolbarButton(kHomeCmd, 2, LoadText(kHomeCmd, "Home"), FALSE, TRUE));
  m_wndToolBar.InsertSeparator();
  add(new CPlxTasksPaneToolbarMenuButton(m_menuPages.GetSafeHmenu(), LoadText(kDefaultPageString, "Tasks")));
  add(new CPlxToolbarButton(kCloseCmd, 3, LoadText(kCloseCmd, "Close"), FALSE, TRUE));
  UpdateHistoryButtons();
  UpdateCaption();
  return TRUE;
}

void CPlxTasksPane::SetToolbarImages(UINT uiBitmapId, CSize sizeImage, CSize sizeButton) {
  m_uiToolbarBmpRes = uiBitmapId;
  m_sizeToolbarImage = sizeImage;
  m_sizeToolbarButton = sizeButton;
}

void CPlxTasksPane::OnCaptionPages() {
  const int page = m_btnOther.GetChosenPage();
  if (page >= 0 && page < GetPageCount()) SetActivePage(page);
}

// WS_CAPTION asks for the pane's own caption block; the window keeps no system caption.
void CPlxTasksPane::OnStyleChanging(int nStyleType, LPSTYLESTRUCT lpStyleStruct) {
  if (nStyleType == GWL_STYLE) {
    const BOOL caption = (lpStyleStruct->styleNew & WS_CAPTION) == WS_CAPTION;
    CPlxOutlookBar::OnStyleChanging(nStyleType, lpStyleStruct);
    m_bHasCaption = m_bPageLook;
    lpStyleStruct->styleNew &= ~static_cast<DWORD>(WS_CAPTION);
    if (caption != m_bCaptionBlock) {
      m_bCaptionBlock = caption;
      UpdateCaption();
      RelayoutAndRedraw();
    }
    return;
  }
  CPlxOutlookBar::OnStyleChanging(nStyleType, lpStyleStruct);
}

// No accessibility service runs on this system, so the toolkit's support is normally absent and
// the answer is 0 (the default object). With support installed, the frame hears of the query
// about the hot link or caption, as for a popup menu.
LRESULT CPlxTasksPane::OnGetObject(WPARAM wParam, LPARAM lParam) {
  m_nAccessibleItem = -1;
  int index = 0;
  const CPlxTaskPage* page = m_lstTaskPages.empty() ? nullptr : m_lstTaskPages[GetActivePage()];
  for (const CPlxTasksGroup* group : m_lstTaskGroups) {
    if (group->m_pTaskPage != page) continue;
    if (group == m_pHotGroupCaption) m_nAccessibleItem = index;
    ++index;
    for (const CPlxTask* task : group->m_lstTasks) {
      if (task == m_pHotTask) m_nAccessibleItem = index;
      ++index;
    }
  }
  if (static_cast<LONG>(lParam) != kClientObject || g_plxGlobalData.pfnGetAccessibleObjectResult == nullptr ||
      m_nAccessibleItem < 0)
    return 0;
  CFrameWnd* frame = AfxGetParentFrame(this);
  for (CFrameWnd* up = frame != nullptr ? AfxGetParentFrame(frame) : nullptr; up != nullptr;
       up = AfxGetParentFrame(up))
    frame = up;
  if (frame == nullptr) return 0;
  static const UINT message = ::RegisterWindowMessage("PlxM_GETOBGECT");
  PlxAccObjectRequest request{this, wParam, kClientObject, 2, nullptr};
  frame->SendMessage(message, reinterpret_cast<WPARAM>(&request), static_cast<LPARAM>(m_nAccessibleItem));
  return g_plxGlobalData.pfnGetAccessibleObjectResult(
      static_cast<DWORD>(reinterpret_cast<UINT_PTR>(&request)), static_cast<DWORD>(m_nAccessibleItem));
}

void CPlxTasksPane::OnDestroy() {
  // The toolbar's buttons outlive nothing of the pane: no list may reach back into it.
  m_wndToolBar.Detach();
  KillTimer(kAnimationTimer);
  KillTimer(kHoverScrollTimer);
  for (CPlxTasksGroup* group : m_lstTaskGroups) DeleteGroup(group);
  m_lstTaskGroups.clear();
  m_pHotTask = m_pClickedTask = nullptr;
  m_pHotGroupCaption = m_pClickedGroupCaption = m_pAnimatedGroup = nullptr;
  m_iScrollMode = 0;
  CPlxOutlookBar::OnDestroy();
}

void CPlxTasksPane::OnSize(UINT nType, int cx, int cy) {
  CPlxOutlookBar::OnSize(nType, cx, cy);
  RelayoutAndRedraw();
}

void CPlxTasksPane::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
  int pos = m_nVertScrollOffset;
  switch (nSBCode) {
    case SB_LINEUP:
      --pos;
      break;
    case SB_LINEDOWN:
      ++pos;
      break;
    case SB_PAGEUP:
      pos -= m_nVertScrollPage;
      break;
    case SB_PAGEDOWN:
      pos += m_nVertScrollPage;
      break;
    case SB_TOP:
      pos = 0;
      break;
    case SB_BOTTOM:
      pos = m_nVertScrollTotal;
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      pos = static_cast<int>(nPos);
      break;
    default:
      return;
  }
  ScrollTo(pos);
}

void CPlxTasksPane::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kAnimationTimer) {
    if (m_pAnimatedGroup == nullptr || m_nRowHeight == 0) {
      KillTimer(kAnimationTimer);
    } else {
      const DWORD now = ::GetTickCount();
      const int steps = static_cast<int>((now - m_dwAnimTick + kAnimationMs / 2) / kAnimationMs);
      const BOOL collapsing = m_pAnimatedGroup->m_bIsCollapsed;
      m_nAnimGroupExtraHeight += (collapsing ? -1 : 1) * std::max(steps, 1) * m_nRowHeight;
      const CRect before(m_rectTasks.left, m_pAnimatedGroup->m_rect.top - 1, m_rectTasks.right,
                         m_rectTasks.bottom);
      ReposTasks();
      // Open: the offset passed the laid-out part, which then holds every task. Closed: below 0.
      if ((collapsing && m_nAnimGroupExtraHeight < 0) ||
          (!collapsing && m_nAnimGroupExtraHeight > m_pAnimatedGroup->m_rectGroup.Height())) {
        m_pAnimatedGroup = nullptr;
        m_nAnimGroupExtraHeight = 0;
        KillTimer(kAnimationTimer);
        ReposTasks();
      }
      InvalidateRect(before);
      m_dwAnimTick = now;
    }
  } else if (nIDEvent == kHoverScrollTimer) {
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    const CRect& button = m_iScrollMode < 0 ? m_rectScrollUp : m_rectScrollDn;
    if (m_iScrollMode != 0 && button.PtInRect(point)) {
      ScrollTo(m_nVertScrollOffset + m_iScrollMode);
    } else {
      KillTimer(kHoverScrollTimer);
      m_iScrollMode = 0;
      Repaint(m_rectScrollUp);
      Repaint(m_rectScrollDn);
    }
  }
  CPlxOutlookBar::OnTimer(nIDEvent);
}

void CPlxTasksPane::ShowCommandMessageString(UINT uiCmdId) {
  CWnd* owner = GetOwner() != nullptr ? GetOwner() : GetParent();
  if (owner != nullptr) owner->SendMessage(WM_SETMESSAGESTRING, uiCmdId);
}

void CPlxTasksPane::OnMouseMove(UINT nFlags, CPoint point) {
  CPlxOutlookBar::OnMouseMove(nFlags, point);
  if (m_bUseScrollButtons) {
    int mode = 0;
    if (m_rectScrollUp.PtInRect(point) && m_nVertScrollOffset > 0)
      mode = -1;
    else if (m_rectScrollDn.PtInRect(point))
      mode = m_nVertScrollTotal - m_nVertScrollPage >= m_nVertScrollOffset && m_nVertScrollTotal >= 1 ? 1 : 0;
    m_iScrollMode = mode;
    if (mode != 0) {
      Repaint(mode < 0 ? m_rectScrollUp : m_rectScrollDn);
      SetTimer(kHoverScrollTimer, kHoverScrollMs, nullptr);
      return;
    }
  }
  CPlxTasksGroup* group = GetGroupCaptionFromPoint(point);
  CPlxTask* task = GetTaskFromPoint(point);
  if (group == m_pHotGroupCaption && task == m_pHotTask) return;
  CWnd* capture = GetCapture();
  if (task != nullptr) {
    if (!task->m_bEnabled) {
      ShowCommandMessageString(AFX_IDS_IDLEMESSAGE);
      return;
    }
    if (capture != nullptr && capture != this) return;
    if (m_pHotTask != nullptr) Repaint(m_pHotTask->m_rect);
    if (m_pHotGroupCaption != nullptr) Repaint(m_pHotGroupCaption->m_rect);
    m_pHotGroupCaption = nullptr;
    m_pHotTask = task;
    Repaint(task->m_rect);
    if (capture == nullptr) SetCapture();
    ShowCommandMessageString(task->m_uiCommandID);
  } else if (group != nullptr) {
    if (capture != nullptr && capture != this) return;
    if (m_pHotGroupCaption != nullptr) Repaint(m_pHotGroupCaption->m_rect);
    if (capture == nullptr) SetCapture();
    if (m_pHotTask != nullptr) Repaint(m_pHotTask->m_rect);
    m_pHotTask = nullptr;
    m_pHotGroupCaption = group;
    Repaint(group->m_rect);
  } else {
    if (m_pHotGroupCaption != nullptr) Repaint(m_pHotGroupCaption->m_rect);
    if (m_pHotTask != nullptr) Repaint(m_pHotTask->m_rect);
    m_pHotGroupCaption = nullptr;
    m_pHotTask = nullptr;
    if (capture == this && m_pClickedTask == nullptr && m_pClickedGroupCaption == nullptr) ReleaseCapture();
    ShowCommandMessageString(AFX_IDS_IDLEMESSAGE);
  }
}

void CPlxTasksPane::OnLButtonDown(UINT nFlags, CPoint point) {
  m_pClickedGroupCaption = GetGroupCaptionFromPoint(point);
  m_pClickedTask = GetTaskFromPoint(point);
  // A press on a caption or a link is the pane's own: the bar's base would start dragging a docked
  // pane and keep the release for itself.
  if (m_pClickedGroupCaption != nullptr || m_pClickedTask != nullptr) {
    SetCapture();
    return;
  }
  CPlxOutlookBar::OnLButtonDown(nFlags, point);
}

// Quick clicks on a caption or link are clicks each, not a double click.
void CPlxTasksPane::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (GetGroupCaptionFromPoint(point) != nullptr || GetTaskFromPoint(point) != nullptr) {
    OnLButtonDown(nFlags, point);
    return;
  }
  CPlxOutlookBar::OnLButtonDblClk(nFlags, point);
}

void CPlxTasksPane::OnLButtonUp(UINT nFlags, CPoint point) {
  CPlxOutlookBar::OnLButtonUp(nFlags, point);
  if (m_pHotTask == nullptr && m_pClickedTask == nullptr && m_pHotGroupCaption == nullptr &&
      m_pClickedGroupCaption == nullptr)
    return;
  if (GetCapture() == this) ReleaseCapture();
  CPlxTasksGroup* caption = GetGroupCaptionFromPoint(point);
  if (caption != nullptr && caption == m_pHotGroupCaption && caption == m_pClickedGroupCaption) {
    m_pClickedGroupCaption = nullptr;
    caption->m_bIsCollapsed = !caption->m_bIsCollapsed;
    if (m_bAnimationEnabled) {
      m_pAnimatedGroup = caption;
      m_nAnimGroupExtraHeight = caption->m_rectGroup.Height();
      m_dwAnimTick = ::GetTickCount();
      SetTimer(kAnimationTimer, kAnimationMs, nullptr);
    }
    RelayoutAndRedraw();
    SendMessage(WM_MOUSEMOVE, nFlags, MAKELPARAM(point.x, point.y));
    return;
  }
  m_pClickedGroupCaption = nullptr;
  CPlxTask* hot = m_pHotTask;
  CPlxTask* pressed = m_pClickedTask;
  m_pHotTask = m_pClickedTask = nullptr;
  if (hot != nullptr) Repaint(hot->m_rect);
  if (hot == nullptr || hot != pressed || GetTaskFromPoint(point) != hot) return;
  CPlxTasksGroup* group = hot->m_pGroup;
  const int groupIndex = static_cast<int>(std::find(m_lstTaskGroups.begin(), m_lstTaskGroups.end(), group) -
                                          m_lstTaskGroups.begin());
  const int taskIndex = static_cast<int>(std::find(group->m_lstTasks.begin(), group->m_lstTasks.end(), hot) -
                                         group->m_lstTasks.begin());
  OnClickTask(groupIndex, taskIndex, hot->m_uiCommandID, hot->m_dwUserData);
}

void CPlxTasksPane::OnClickTask(int, int, UINT uiCommandID, DWORD) {
  if (uiCommandID == 0) return;
  CWnd* owner = GetOwner() != nullptr ? GetOwner() : GetParent();
  if (owner != nullptr) owner->PostMessage(WM_COMMAND, uiCommandID);
}

void CPlxTasksPane::OnCancelMode() {
  CPlxOutlookBar::OnCancelMode();
  for (CPlxTask* task : {m_pHotTask, m_pClickedTask})
    if (task != nullptr) Repaint(task->m_rect);
  for (CPlxTasksGroup* group : {m_pHotGroupCaption, m_pClickedGroupCaption})
    if (group != nullptr) Repaint(group->m_rect);
  m_pHotTask = m_pClickedTask = nullptr;
  m_pHotGroupCaption = m_pClickedGroupCaption = nullptr;
  if (GetCapture() == this) ReleaseCapture();
}

BOOL CPlxTasksPane::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  CPoint point;
  ::GetCursorPos(&point);
  ScreenToClient(&point);
  CPlxTask* task = m_pClickedTask != nullptr ? m_pClickedTask : GetTaskFromPoint(point);
  const BOOL overCaption =
      m_bCanCollapse && (m_pClickedGroupCaption != nullptr || GetGroupCaptionFromPoint(point) != nullptr);
  if ((task != nullptr && task->m_bEnabled) || overCaption) {
    ::SetCursor(g_plxGlobalData.hcurHand != nullptr ? g_plxGlobalData.hcurHand
                                                    : ::LoadCursor(nullptr, IDC_HAND));
    return TRUE;
  }
  return CPlxOutlookBar::OnSetCursor(pWnd, nHitTest, message);
}
