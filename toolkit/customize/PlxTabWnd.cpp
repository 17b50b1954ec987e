#include "toolkit/customize/PlxTabWnd.h"

#include <algorithm>
#include <map>

#include "platform/comctl/AfxControls.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/StdControls.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"

IMPLEMENT_DYNCREATE(CPlxTabWnd, CWnd)

const UINT CPlxTabWnd::PlxM_ONCHANGE_ACTIVE_TAB = ::RegisterWindowMessage("PlxM_ONCHANGE_ACTIVE_TAB");
const UINT CPlxTabWnd::PlxM_ON_HSCROLL = ::RegisterWindowMessage("PlxM_ON_HSCROLL");
const UINT CPlxTabWnd::PlxM_ON_RENAME_TAB = ::RegisterWindowMessage("PlxM_ON_RENAME_TAB");
const UINT CPlxTabWnd::PlxM_ON_BEFOREMOVE_TAB = ::RegisterWindowMessage("PlxM_ON_BEFOREMOVE_TAB");
const UINT CPlxTabWnd::PlxM_ON_MOVE_TAB = ::RegisterWindowMessage("PlxM_ON_MOVE_TAB");

// Icons of the open tabs menu, by command id; the popup menu's item painter reads them.
std::map<UINT, HICON> g_tabMenuIcons;

void CPlxTabButton::OnFillBackground(CDC* pDC, const CRect& rectClient) {
  CPlxVisualManager::GetInstance()->OnEraseTabsButton(pDC, rectClient, this,
                                                      dynamic_cast<CPlxTabWnd*>(GetParent()));
}

void CPlxTabButton::OnDrawBorder(CDC* pDC, CRect& rectClient, UINT uiState) {
  CPlxVisualManager::GetInstance()->OnDrawTabsButtonBorder(pDC, rectClient, this, uiState,
                                                           dynamic_cast<CPlxTabWnd*>(GetParent()));
}

CPlxTabWnd::CPlxTabWnd() {
  m_rectTabsArea.SetRectEmpty();
  m_rectWndArea.SetRectEmpty();
  m_rectSplitter.SetRectEmpty();
  m_rectClipBox.SetRectEmpty();
}

CPlxTabWnd::~CPlxTabWnd() {
  delete m_pRenameEdit;
  for (CPlxTabButton* button : {m_pBtnFirst, m_pBtnLeft, m_pBtnRight, m_pBtnLast, m_pBtnClose}) delete button;
}

void CPlxTabWnd::SetStyleFlags(int nStyle) {
  m_bFlat = nStyle == TabStyleFlat || nStyle == TabStyleFlatScrollBar;
  m_bSlanted = m_bHighlightOnHover = nStyle == TabStyleSlanted;
  m_bSlantedCompact = nStyle == TabStyleSlantedCompact;
  m_bTrapezoid = nStyle == TabStyleTrapezoid || nStyle == TabStyleTrapezoidScroll;
  m_bSharedScrollBar = nStyle == TabStyleFlatScrollBar;
  m_bScrollable = nStyle != TabStyle3D && nStyle != TabStyleTrapezoid;
}

BOOL CPlxTabWnd::Create(int nStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, int nLocation,
                        BOOL bCloseButton) {
  SetStyleFlags(nStyle);
  m_location = nLocation == LOCATION_TOP ? LOCATION_TOP : LOCATION_BOTTOM;
  m_bCloseButton = bCloseButton;
  m_bDrawFrame = !m_bFlat;
  const CString cls = g_plxGlobalData.RegisterWindowClass("PlxTabWnd");
  return CWnd::Create(cls, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, pParentWnd, nID);
}

BOOL CPlxTabWnd::AddTab(CWnd* pWnd, LPCTSTR lpszLabel, int iImage) {
  return InsertTab(pWnd, lpszLabel, -1, iImage);
}

BOOL CPlxTabWnd::InsertTab(CWnd* pWnd, LPCTSTR lpszLabel, int iPos, int iImage) {
  // An open edit or drag holds an index that the insertion would shift onto another tab.
  CloseRenameEdit();
  EndDrag();
  if (iPos < 0 || iPos > m_nTabsNum) iPos = m_nTabsNum;
  CWnd* activeWnd = GetActiveWnd();

  auto tab = std::make_unique<CPlxTabInfo>();
  tab->m_strLabel = lpszLabel != nullptr ? lpszLabel : "";
  tab->m_iImage = m_bFlat ? -1 : iImage;
  tab->m_pWnd = pWnd;
  tab->m_uiToolId = m_uiNextToolId;
  if (pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr) {
    char name[256] = {};
    ::GetClassName(pWnd->GetSafeHwnd(), name, 255);
    tab->m_bIsListView = CString(name).CompareNoCase("SysListView32") == 0;
  }
  CPlxTabInfo* record = tab.get();
  m_tabs.insert(m_tabs.begin() + iPos, std::move(tab));
  ++m_nTabsNum;
  if (!m_bFlat && m_pToolTip && m_pToolTip->GetSafeHwnd() != nullptr) {
    const CRect none(0, 0, 0, 0);
    m_pToolTip->AddTool(this, record->m_strLabel, &none, record->m_uiToolId);
  }
  ++m_uiNextToolId;

  RecalcLayout();

  if (m_nTabsNum == 1) {
    SetActiveTab(0);
  } else if (pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr) {
    if (iPos == m_iActiveTab) {
      // The new tab took the active index: it becomes the one shown.
      if (m_bHideInactiveWnd && activeWnd != nullptr && activeWnd->GetSafeHwnd() != nullptr)
        activeWnd->ShowWindow(SW_HIDE);
      pWnd->ShowWindow(SW_SHOW);
    } else if (m_bHideInactiveWnd) {
      pWnd->ShowWindow(SW_HIDE);
    }
  }
  if (m_bHideInactiveWnd) return TRUE;
  if (activeWnd == nullptr || activeWnd->GetSafeHwnd() == nullptr) return FALSE;
  return ::BringWindowToTop(activeWnd->GetSafeHwnd());
}

void CPlxTabWnd::DeleteTool(CPlxTabInfo* pTab) {
  if (!m_bFlat && m_pToolTip && m_pToolTip->GetSafeHwnd() != nullptr)
    m_pToolTip->DelTool(this, pTab->m_uiToolId);
}

BOOL CPlxTabWnd::RemoveTab(int iTab) {
  if (iTab < 0 || iTab >= m_nTabsNum) return FALSE;
  if (m_nTabsNum == 1) {
    RemoveAllTabs();
    return TRUE;
  }
  CloseRenameEdit();
  EndDrag();
  std::unique_ptr<CPlxTabInfo> tab = std::move(m_tabs[iTab]);
  DeleteTool(tab.get());
  m_tabs.erase(m_tabs.begin() + iTab);
  --m_nTabsNum;
  if (m_iHotTab >= m_nTabsNum) m_iHotTab = -1;
  if (m_bAutoDestroyWnd && tab->m_pWnd != nullptr && tab->m_pWnd->GetSafeHwnd() != nullptr)
    tab->m_pWnd->DestroyWindow();
  tab.reset();

  int newActive = m_iActiveTab;
  if (m_iActiveTab >= iTab) {
    newActive = std::clamp(m_iActiveTab - 1, 0, m_nTabsNum);
    m_iActiveTab = -1;
  }
  if ((m_bSlanted || m_bSlantedCompact) && m_iFirstScrolledTab >= iTab)
    m_iFirstScrolledTab = std::clamp(m_iFirstScrolledTab - 1, 0, m_nTabsNum);
  RecalcLayout();
  if ((m_bSlanted || m_bSlantedCompact) && m_nScrollOffset == 0) m_iFirstScrolledTab = 0;

  const int before = m_iActiveTab;
  SetActiveTab(newActive);
  if (CWnd* parent = GetParent())
    parent->SendMessage(PlxM_ONCHANGE_ACTIVE_TAB, static_cast<WPARAM>(m_iActiveTab),
                        static_cast<LPARAM>(before));
  return TRUE;
}

void CPlxTabWnd::RemoveAllTabs() {
  CloseRenameEdit();
  EndDrag();
  for (auto& tab : m_tabs) {
    DeleteTool(tab.get());
    if (m_bAutoDestroyWnd && tab->m_pWnd != nullptr && tab->m_pWnd->GetSafeHwnd() != nullptr)
      tab->m_pWnd->DestroyWindow();
  }
  m_tabs.clear();
  m_nTabsNum = 0;
  m_iActiveTab = -1;
  m_iHotTab = -1;
  m_uiNextToolId = 1;
  RecalcLayout();
}

int CPlxTabWnd::GetVisibleTabsNum() const {
  int n = 0;
  for (const auto& tab : m_tabs) n += tab->m_bVisible ? 1 : 0;
  return n;
}

BOOL CPlxTabWnd::IsTabVisible(int iTab) const {
  return iTab >= 0 && iTab < m_nTabsNum && m_tabs[iTab]->m_bVisible;
}

CWnd* CPlxTabWnd::GetTabWnd(int iTab) const {
  return iTab >= 0 && iTab < m_nTabsNum ? m_tabs[iTab]->m_pWnd : nullptr;
}

CWnd* CPlxTabWnd::GetActiveWnd() const {
  return GetTabWnd(m_iActiveTab);
}

int CPlxTabWnd::GetTabFromHwnd(HWND hWnd) const {
  for (int i = 0; i < m_nTabsNum; ++i)
    if (m_tabs[i]->m_pWnd != nullptr && m_tabs[i]->m_pWnd->GetSafeHwnd() == hWnd && hWnd != nullptr) return i;
  return -1;
}

BOOL CPlxTabWnd::GetTabLabel(int iTab, CString& strLabel) const {
  if (iTab < 0 || iTab >= m_nTabsNum) return FALSE;
  strLabel = m_tabs[iTab]->m_strLabel;
  return TRUE;
}

BOOL CPlxTabWnd::SetTabLabel(int iTab, const CString& strLabel) {
  if (iTab < 0 || iTab >= m_nTabsNum || strLabel.IsEmpty()) return FALSE;
  m_tabs[iTab]->m_strLabel = strLabel;
  if (m_pToolTip && m_pToolTip->GetSafeHwnd() != nullptr)
    m_pToolTip->UpdateTipText(strLabel, this, m_tabs[iTab]->m_uiToolId);
  RecalcLayout();
  return TRUE;
}

int CPlxTabWnd::GetTabIcon(int iTab) const {
  return iTab >= 0 && iTab < m_nTabsNum ? m_tabs[iTab]->m_iImage : -1;
}

BOOL CPlxTabWnd::SetTabIcon(int iTab, int iImage) {
  if (iTab < 0 || iTab >= m_nTabsNum) return FALSE;
  m_tabs[iTab]->m_iImage = iImage;
  UpdateTabsHeight();
  return TRUE;
}

BOOL CPlxTabWnd::SetImageList(HIMAGELIST hImageList) {
  if (m_bFlat) return FALSE;
  CImageList* images = hImageList != nullptr ? CImageList::FromHandlePermanent(hImageList) : nullptr;
  if (images == nullptr && hImageList != nullptr) images = CImageList::FromHandle(hImageList);
  if (images == nullptr) return FALSE;
  m_hImageList = hImageList;
  m_pImages = images;
  IMAGEINFO info{};
  m_sizeImage = CSize(0, 0);
  if (images->GetImageInfo(0, &info))
    m_sizeImage = CSize(info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top);
  UpdateTabsHeight();
  return TRUE;
}

BOOL CPlxTabWnd::HasTabImage(int iTab) const {
  return m_pImages != nullptr && GetTabIcon(iTab) != -1;
}

COLORREF CPlxTabWnd::GetTabTextColor(int iTab) const {
  return iTab >= 0 && iTab < m_nTabsNum ? m_tabs[iTab]->m_clrText : (COLORREF)-1;
}

COLORREF CPlxTabWnd::GetTabBkColor(int iTab) const {
  if (iTab < 0 || iTab >= m_nTabsNum) return (COLORREF)-1;
  const COLORREF own = m_tabs[iTab]->m_clrBack;
  // An empty table gives no automatic colour rather than a division by its size.
  if (own != (COLORREF)-1 || !m_bAutoColorEnabled || m_autoColors.empty()) return own;
  return m_autoColors[static_cast<size_t>(iTab) % m_autoColors.size()];
}

BOOL CPlxTabWnd::SetTabBkColor(int iTab, COLORREF color) {
  if (iTab < 0 || iTab >= m_nTabsNum) return FALSE;
  m_tabs[iTab]->m_clrBack = color;
  return TRUE;
}

BOOL CPlxTabWnd::HasColoredTabs() const {
  for (int i = 0; i < m_nTabsNum; ++i)
    if (GetTabBkColor(i) != (COLORREF)-1) return TRUE;
  return FALSE;
}

BOOL CPlxTabWnd::GetTabRect(int iTab, CRect& rect) const {
  if (iTab < 0 || iTab >= m_nTabsNum) return FALSE;
  if (!m_tabs[iTab]->m_bVisible) {
    rect.SetRectEmpty();
    return FALSE;
  }
  rect = m_tabs[iTab]->m_rect;
  return TRUE;
}

void CPlxTabWnd::InvalidateTab(int iTab) {
  if (iTab < 0 || iTab >= m_nTabsNum || !m_tabs[iTab]->m_bVisible || GetSafeHwnd() == nullptr) return;
  InvalidateRect(m_tabs[iTab]->m_rect, TRUE);
  UpdateWindow();
}

BOOL CPlxTabWnd::SetActiveTab(int iTab) {
  if (iTab < 0 || iTab >= m_nTabsNum) return FALSE;
  if (iTab == m_iActiveTab) return TRUE;
  const BOOL hadActive = m_iActiveTab >= 0;
  if (CWnd* old = GetActiveWnd(); old != nullptr && m_bHideInactiveWnd && old->GetSafeHwnd() != nullptr)
    old->ShowWindow(SW_HIDE);
  m_iActiveTab = iTab;
  HideActiveWndScrollBar();
  CWnd* wnd = m_tabs[iTab]->m_pWnd;
  if (wnd == nullptr || wnd->GetSafeHwnd() == nullptr) {
    // Still shows the tab as chosen: label-only rows have no windows.
    if (GetSafeHwnd() != nullptr) {
      EnsureVisible(iTab);
      Redraw(TRUE);
    }
    return FALSE;
  }
  wnd->ShowWindow(SW_SHOW);
  if (!m_bHideInactiveWnd) wnd->BringWindowToTop();
  if (m_bResizeWnd) {
    // One pixel wider first, so that the window lays itself out even when its size is unchanged.
    const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    wnd->SetWindowPos(nullptr, 0, 0, m_rectWndArea.Width() + 1, m_rectWndArea.Height(), flags);
    wnd->SetWindowPos(nullptr, 0, 0, m_rectWndArea.Width(), m_rectWndArea.Height(), flags);
  }
  if (GetSafeHwnd() != nullptr) {
    EnsureVisible(iTab);
    if (m_bFlat) SyncScrollBar();
    Redraw(TRUE);
  }
  if (!hadActive) return TRUE;
  CView* view = dynamic_cast<CView*>(wnd);
  CFrameWnd* frame = view != nullptr ? AfxGetParentFrame(wnd) : nullptr;
  if (frame != nullptr && frame->GetSafeHwnd() != nullptr &&
      ::IsChild(frame->GetSafeHwnd(), wnd->GetSafeHwnd()))
    frame->SetActiveView(view);
  else
    wnd->SetFocus();
  return TRUE;
}

void CPlxTabWnd::MoveTab(int iFrom, int iTo) {
  if (iFrom == iTo || iFrom < 0 || iFrom >= m_nTabsNum || iTo < -1 || iTo >= m_nTabsNum) return;
  CloseRenameEdit();
  EndDrag();
  CPlxTabInfo* active = m_iActiveTab >= 0 ? m_tabs[m_iActiveTab].get() : nullptr;
  std::unique_ptr<CPlxTabInfo> tab = std::move(m_tabs[iFrom]);
  m_tabs.erase(m_tabs.begin() + iFrom);
  if (iTo == -1)
    m_tabs.push_back(std::move(tab));
  else
    m_tabs.insert(m_tabs.begin() + iTo, std::move(tab));
  BOOL activeMoved = FALSE;
  for (int i = 0; i < m_nTabsNum && active != nullptr; ++i)
    if (m_tabs[i].get() == active && i != m_iActiveTab) {
      // The record is the same one, so only the index changes; nothing to hide or show.
      m_iActiveTab = i;
      activeMoved = TRUE;
      break;
    }
  RecalcLayout();
  if (activeMoved && GetSafeHwnd() != nullptr) EnsureVisible(m_iActiveTab);
}

void CPlxTabWnd::SetLocation(int nLocation) {
  m_location = nLocation == LOCATION_TOP ? LOCATION_TOP : LOCATION_BOTTOM;
  RecalcLayout();
  if (CWnd* parent = GetParent(); parent != nullptr && parent->GetSafeHwnd() != nullptr)
    parent->RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
}

BOOL CPlxTabWnd::SetOptionAndRedraw(BOOL bNoPrefix, BOOL bRedraw) {
  m_bLabelNoPrefix = bNoPrefix;
  if (bRedraw && GetSafeHwnd() != nullptr)
    RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
  return TRUE;
}

HICON CPlxTabWnd::GetTabMenuIcon(UINT uiCmd) {
  const auto it = g_tabMenuIcons.find(uiCmd);
  return it == g_tabMenuIcons.end() ? nullptr : it->second;
}

void CPlxTabWnd::InitAutoColors() {
  if (!m_bDefaultAutoColors) return;
  m_autoColors.clear();
  if (g_plxGlobalData.nBitsPerPixel <= 8)
    m_autoColors = {RGB(0, 255, 0), RGB(0, 255, 255), RGB(255, 0, 255), RGB(192, 192, 192), RGB(255, 255, 0)};
  else
    m_autoColors = {RGB(148, 175, 230), RGB(255, 219, 117), RGB(189, 205, 159), RGB(240, 158, 159),
                    RGB(186, 166, 225), RGB(154, 191, 180), RGB(247, 182, 131), RGB(213, 164, 187)};
}

void CPlxTabWnd::Redraw(BOOL bAllChildren) {
  if (GetSafeHwnd() == nullptr) return;
  RedrawWindow(nullptr, nullptr,
               RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE | (bAllChildren ? RDW_ALLCHILDREN : 0));
}
