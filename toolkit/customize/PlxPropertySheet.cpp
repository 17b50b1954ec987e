#include "toolkit/customize/PlxPropertySheet.h"

#include <algorithm>

#include "platform/comctl/CommCtrl.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WndMessageMap.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxDialog.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/customize/PlxOutlookBar.h"

IMPLEMENT_DYNAMIC(CPlxPropSheetCategory, CObject)
IMPLEMENT_DYNAMIC(CPlxPropertySheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CPlxPropertySheet, CPropertySheet)
ON_WM_SYSCOLORCHANGE()
ON_WM_SETTINGCHANGE()
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_MESSAGE(CPlxPropertySheet::kSyncNavigationBar, OnSyncNavigationBar)
ON_NOTIFY(TVN_SELCHANGEDA, CPlxPropertySheet::kTreeId, OnTreeSelChanged)
ON_NOTIFY(TVN_SELCHANGEDW, CPlxPropertySheet::kTreeId, OnTreeSelChanged)
ON_NOTIFY(TVN_GETDISPINFOA, CPlxPropertySheet::kTreeId, OnTreeGetDispInfo)
ON_NOTIFY(TVN_GETDISPINFOW, CPlxPropertySheet::kTreeId, OnTreeGetDispInfo)
END_MESSAGE_MAP()

namespace {

BOOL IsThreadMainWindow(const CWnd* pWnd) {
  CWinThread* thread = AfxGetThread();
  const CWnd* main = thread != nullptr ? thread->GetMainWnd() : AfxGetMainWnd();
  return main != nullptr && main == pWnd;
}

CPlxPropSheetCategory* CategoryOf(const CPlxPropertyPage* pPage) {
  return pPage != nullptr ? static_cast<CPlxPropSheetCategory*>(pPage->m_pNavCategory) : nullptr;
}

// Tree items hold a page or a category, both as CObject*.
CObject* ItemObject(const CTreeCtrl& tree, HTREEITEM hItem) {
  return reinterpret_cast<CObject*>(tree.GetItemData(hItem));
}

}  // namespace

// ---- CPlxPropSheetCategory ----

CPlxPropSheetCategory::CPlxPropSheetCategory(LPCTSTR lpszName, int nIcon, int nSelectedIcon,
                                             CPlxPropSheetCategory* pParent)
    : m_strName(lpszName), m_nIcon(nIcon), m_nSelectedIcon(nSelectedIcon), m_pParentCategory(pParent) {}

CPlxPropSheetCategory::~CPlxPropSheetCategory() {
  for (CPlxPropSheetCategory* pSub : m_lstSubCategories) delete pSub;
}

// ---- CPlxPropertySheet ----

CPlxPropertySheet::~CPlxPropertySheet() {
  for (CPlxPropSheetCategory* pCategory : m_lstTreeCategories) delete pCategory;
}

void CPlxPropertySheet::SetLook(PropSheetLook look, int nNavWidth) {
  m_look = look;
  m_nNavWidth = std::max(nNavWidth, 0);
}

CPlxPropSheetCategory* CPlxPropertySheet::AddTreeCategory(LPCTSTR lpszLabel, int nIconNum,
                                                          int nSelectedIconNum,
                                                          CPlxPropSheetCategory* pParentCategory) {
  auto* pCategory = new CPlxPropSheetCategory(lpszLabel, nIconNum, nSelectedIconNum, pParentCategory);
  if (pParentCategory != nullptr)
    pParentCategory->m_lstSubCategories.push_back(pCategory);
  else
    m_lstTreeCategories.push_back(pCategory);
  return pCategory;
}

void CPlxPropertySheet::AddPageToTree(CPlxPropSheetCategory* pCategory, CPlxPropertyPage* pPage, int nIconNum,
                                      int nSelIconNum) {
  if (pPage == nullptr) return;
  pPage->m_pNavCategory = pCategory;
  pPage->m_iNavImage = nIconNum;
  pPage->m_iNavSelImage = nSelIconNum;
  if (pCategory != nullptr) pCategory->m_lstPages.push_back(pPage);
  AddPage(pPage);
}

BOOL CPlxPropertySheet::OnInitDialog() {
  const BOOL bResult = CPropertySheet::OnInitDialog();
  if (!HasNavigationPane()) return bResult;
  const CRect rectNav = MakeNavigationRoom();
  if (m_look == PropSheetLook_Tree)
    CreateTree(rectNav);
  else
    CreateOutlookBar(rectNav);
  if (auto* pActive = dynamic_cast<CPlxPropertyPage*>(GetActivePage())) {
    pActive->SetWindowPos(nullptr, m_rectPages.left, m_rectPages.top, m_rectPages.Width(),
                          m_rectPages.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    ExpandWithAncestors(CategoryOf(pActive));
    SelectPageInTree(pActive);
  }
  if (m_pOutlookBar != nullptr) PostMessage(kSyncNavigationBar);
  Invalidate();
  return bResult;
}

CRect CPlxPropertySheet::MakeNavigationRoom() {
  // The base laid the pages out under a tab strip: move them right of the pane and up into the
  // strip's place, with the buttons.
  CRect rectPages;
  if (CPropertyPage* pActive = GetActivePage()) {
    pActive->GetWindowRect(rectPages);
    ScreenToClient(rectPages);
  }
  const int nMargin = rectPages.left;
  const int nTabs = std::max<int>(0, rectPages.top - nMargin);
  const int nShift = m_nNavWidth + nMargin;
  m_rectPages = rectPages;
  m_rectPages.OffsetRect(nShift, -nTabs);
  for (int id : {IDOK, IDCANCEL, ID_APPLY_NOW, IDHELP}) {
    CWnd* pButton = GetDlgItem(id);
    if (pButton == nullptr) continue;
    CRect rect;
    pButton->GetWindowRect(rect);
    ScreenToClient(rect);
    rect.OffsetRect(nShift, -nTabs);
    pButton->MoveWindow(rect, FALSE);
  }
  CRect rectWindow;
  GetWindowRect(rectWindow);
  SetWindowPos(nullptr, 0, 0, rectWindow.Width() + nShift, rectWindow.Height() - nTabs,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return CRect(nMargin, m_rectPages.top, nMargin + m_nNavWidth, m_rectPages.bottom);
}

void CPlxPropertySheet::CreateTree(const CRect& rectTree) {
  m_wndTree.CreateEx(WS_EX_CLIENTEDGE,
                     WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS |
                         TVS_SHOWSELALWAYS,
                     rectTree, this, kTreeId);
  if (m_pImages != nullptr) m_wndTree.SetImageList(m_pImages, TVSIL_NORMAL);

  m_bIgnoreTreeSelChange = TRUE;
  // Categories in the order added, each with its sub-categories first and then its pages.
  auto addCategory = [this](auto&& self, CPlxPropSheetCategory* pCategory, HTREEITEM hParent) -> void {
    pCategory->m_hTreeItem = m_wndTree.InsertItem(
        TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, pCategory->m_strName, I_IMAGECALLBACK,
        I_IMAGECALLBACK, 0, 0, reinterpret_cast<LPARAM>(static_cast<CObject*>(pCategory)), hParent, TVI_LAST);
    for (CPlxPropSheetCategory* pSub : pCategory->m_lstSubCategories)
      self(self, pSub, pCategory->m_hTreeItem);
    for (CPlxPropertyPage* pPage : pCategory->m_lstPages)
      pPage->m_hNavItem = m_wndTree.InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM,
                                               pPage->GetTitle(), I_IMAGECALLBACK, I_IMAGECALLBACK, 0, 0,
                                               reinterpret_cast<LPARAM>(static_cast<CObject*>(pPage)),
                                               pCategory->m_hTreeItem, TVI_LAST);
  };
  for (CPlxPropSheetCategory* pCategory : m_lstTreeCategories) addCategory(addCategory, pCategory, TVI_ROOT);
  // Pages added without a category stand at the top level after the categories.
  for (int i = 0; i < GetPageCount(); ++i) {
    auto* pPage = dynamic_cast<CPlxPropertyPage*>(GetPage(i));
    if (pPage == nullptr || pPage->m_pNavCategory != nullptr) continue;
    pPage->m_hNavItem = m_wndTree.InsertItem(
        TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, pPage->GetTitle(), I_IMAGECALLBACK,
        I_IMAGECALLBACK, 0, 0, reinterpret_cast<LPARAM>(static_cast<CObject*>(pPage)), TVI_ROOT, TVI_LAST);
  }
  m_bIgnoreTreeSelChange = FALSE;
}

void CPlxPropertySheet::CreateOutlookBar(const CRect& rect) {
  m_pOutlookBar = std::make_unique<CPlxOutlookBar>();
  CPlxOutlookBar& bar = *m_pOutlookBar;
  // The images of the pages are the bar's own.
  CSize image(32, 32);
  if (m_pImages != nullptr && m_pImages->GetSafeHandle() != nullptr && m_pImages->GetImageCount() > 0) {
    int cx = 0, cy = 0;
    ::ImageList_GetIconSize(m_pImages->GetSafeHandle(), &cx, &cy);
    image = CSize(cx, cy);
    bar.m_ownImages.SetImageSize(image);
    for (int i = 0; i < m_pImages->GetImageCount(); ++i) {
      HICON icon = m_pImages->ExtractIcon(i);
      bar.m_ownImages.AddIcon(icon);
      if (icon != nullptr) ::DestroyIcon(icon);
    }
  }
  bar.m_bLocked = TRUE;
  if (!bar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT, kOutlookBarId)) {
    m_pOutlookBar.reset();
    return;
  }
  bar.SetOwner(this);
  bar.SetOwnSizes(image + CSize(8, 8), image);
  bar.m_nBarSize = rect.Width();
  bar.MoveWindow(rect);
  for (int i = 0; i < std::min(GetPageCount(), kMaxOutlookPages); ++i) {
    auto* pPage = dynamic_cast<CPlxPropertyPage*>(GetPage(i));
    CString title;
    if (CPropertyPage* page = GetPage(i)) title = page->GetTitle();
    const int nImage = pPage != nullptr && pPage->m_iNavImage >= 0 ? pPage->m_iNavImage : -1;
    bar.AddShortcut(kFirstPageCommand + i, nImage, title);
  }
  bar.AdjustLocations();
  m_pNavigationBar = &bar;
}

BOOL CPlxPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  if (m_pOutlookBar != nullptr && id >= kFirstPageCommand && id < kFirstPageCommand + kMaxOutlookPages) {
    const int nPage = static_cast<int>(id - kFirstPageCommand);
    if (nPage < GetPageCount()) SetActivePage(nPage);
    // A page that refused to be left keeps its button checked.
    PostMessage(kSyncNavigationBar);
    return TRUE;
  }
  return CPropertySheet::OnCommand(wParam, lParam);
}

void CPlxPropertySheet::OnActivatePage(CPlxPropertyPage* pPage) {
  m_pLastActivatedPage = pPage;
  if (HasNavigationPane() && pPage != nullptr && pPage->GetSafeHwnd() != nullptr &&
      !m_rectPages.IsRectEmpty())
    pPage->SetWindowPos(nullptr, m_rectPages.left, m_rectPages.top, m_rectPages.Width(), m_rectPages.Height(),
                        SWP_NOZORDER | SWP_NOACTIVATE);
  SelectPageInTree(pPage);
  if (GetSafeHwnd() != nullptr) PostMessage(kSyncNavigationBar);
}

void CPlxPropertySheet::SelectPageInTree(CPlxPropertyPage* pPage) {
  if (m_wndTree.GetSafeHwnd() == nullptr || pPage == nullptr || pPage->m_hNavItem == nullptr) return;
  if (m_wndTree.GetSelectedItem() == pPage->m_hNavItem) return;
  const BOOL bOld = m_bIgnoreTreeSelChange;
  m_bIgnoreTreeSelChange = TRUE;
  m_wndTree.SelectItem(pPage->m_hNavItem);
  m_bIgnoreTreeSelChange = bOld;
}

void CPlxPropertySheet::OnSysColorChange() {
  CPropertySheet::OnSysColorChange();
  if (IsThreadMainWindow(this)) g_plxGlobalData.UpdateSysColors();
}

void CPlxPropertySheet::OnSettingChange(UINT uFlags, LPCTSTR lpszSection) {
  CPropertySheet::OnSettingChange(uFlags, lpszSection);
  if (IsThreadMainWindow(this)) g_plxGlobalData.OnSettingChange();
}

LRESULT CPlxPropertySheet::OnSyncNavigationBar(WPARAM, LPARAM) {
  const int nActive = GetActiveIndex();
  if (nActive < 0 || m_pNavigationBar == nullptr || m_pNavigationBar->GetSafeHwnd() == nullptr) return 0;
  // Only the active page's button is checked: the one left behind is released.
  for (int i = 0; i < m_pNavigationBar->GetCount(); ++i) {
    const UINT nStyle = m_pNavigationBar->GetButtonStyle(i);
    const UINT nWanted = i == nActive ? (nStyle | TBBS_CHECKED) : (nStyle & ~TBBS_CHECKED);
    if (nWanted != nStyle) m_pNavigationBar->SetButtonStyle(i, nWanted);
  }
  // An outlook bar scrolls to the active page's button.
  if (auto* pOutlook = dynamic_cast<CPlxOutlookBar*>(m_pNavigationBar))
    pOutlook->EnsureButtonVisible(nActive);
  return 0;
}

void CPlxPropertySheet::InvalidatePageItem(CPlxPropertyPage* pPage) {
  if (pPage == nullptr || pPage->m_hNavItem == nullptr) return;
  CRect rect;
  if (m_wndTree.GetItemRect(pPage->m_hNavItem, rect, FALSE)) m_wndTree.InvalidateRect(rect);
}

void CPlxPropertySheet::CollapseWithAncestors(CPlxPropSheetCategory* pCategory,
                                              CPlxPropSheetCategory* pKeep) {
  if (pCategory == nullptr) return;
  // The categories that hold the new one stay open: collapsing them would take the tree's
  // selection away from the page just chosen.
  std::vector<HTREEITEM> keep;
  for (CPlxPropSheetCategory* c = pKeep; c != nullptr; c = c->m_pParentCategory)
    keep.push_back(c->m_hTreeItem);
  for (HTREEITEM h = pCategory->m_hTreeItem; h != nullptr; h = m_wndTree.GetParentItem(h))
    if (std::find(keep.begin(), keep.end(), h) == keep.end()) m_wndTree.Expand(h, TVE_COLLAPSE);
}

void CPlxPropertySheet::ExpandWithAncestors(CPlxPropSheetCategory* pCategory) {
  if (pCategory == nullptr) return;
  for (HTREEITEM h = pCategory->m_hTreeItem; h != nullptr; h = m_wndTree.GetParentItem(h))
    m_wndTree.Expand(h, TVE_EXPAND);
}

void CPlxPropertySheet::OnTreeSelChanged(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  if (m_bIgnoreTreeSelChange) return;  // the sheet's own selection
  const HTREEITEM hItem = m_wndTree.GetSelectedItem();
  if (hItem == nullptr) return;
  auto* pOldPage = dynamic_cast<CPlxPropertyPage*>(GetActivePage());
  CPlxPropSheetCategory* pOldCategory = CategoryOf(pOldPage);
  m_bIgnoreTreeSelChange = TRUE;

  CObject* pObject = ItemObject(m_wndTree, hItem);
  CPlxPropSheetCategory* pNewCategory = nullptr;
  BOOL bRefused = FALSE;
  if (pObject != nullptr && pObject->IsKindOf(RUNTIME_CLASS(CPlxPropertyPage))) {
    auto* pPage = static_cast<CPlxPropertyPage*>(pObject);
    bRefused = !SetActivePage(pPage);
    pNewCategory = CategoryOf(pPage);
    InvalidatePageItem(pOldPage);
  } else if (pObject != nullptr && pObject->IsKindOf(RUNTIME_CLASS(CPlxPropSheetCategory))) {
    auto* pCategory = static_cast<CPlxPropSheetCategory*>(pObject);
    while (!pCategory->m_lstSubCategories.empty()) pCategory = pCategory->m_lstSubCategories.front();
    if (!pCategory->m_lstPages.empty()) {
      bRefused = !SetActivePage(pCategory->m_lstPages.front());
      InvalidatePageItem(pCategory->m_lstPages.front());
    }
    pNewCategory = pCategory;
  }
  if (bRefused) {
    // The page being left kept the sheet: the tree goes back to it instead of naming a page
    // that is not shown.
    auto* pActive = dynamic_cast<CPlxPropertyPage*>(GetActivePage());
    if (pActive != nullptr && pActive->m_hNavItem != nullptr) m_wndTree.SelectItem(pActive->m_hNavItem);
    pNewCategory = pOldCategory;
  }
  if (pNewCategory != pOldCategory) {
    CollapseWithAncestors(pOldCategory, pNewCategory);
    ExpandWithAncestors(pNewCategory);
  }
  m_bIgnoreTreeSelChange = FALSE;
}

void CPlxPropertySheet::OnTreeGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  auto* pInfo = reinterpret_cast<NMTVDISPINFO*>(pNMHDR);
  CObject* pObject = reinterpret_cast<CObject*>(pInfo->item.lParam);
  if (pObject == nullptr) return;
  int nImage = -1;
  if (pObject->IsKindOf(RUNTIME_CLASS(CPlxPropertyPage))) {
    auto* pPage = static_cast<CPlxPropertyPage*>(pObject);
    nImage = pPage == GetActivePage() ? pPage->m_iNavSelImage : pPage->m_iNavImage;
  } else if (pObject->IsKindOf(RUNTIME_CLASS(CPlxPropSheetCategory))) {
    auto* pCategory = static_cast<CPlxPropSheetCategory*>(pObject);
    const BOOL bExpanded = (m_wndTree.GetItemState(pInfo->item.hItem, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    nImage = bExpanded ? pCategory->m_nSelectedIcon : pCategory->m_nIcon;
  }
  pInfo->item.iImage = pInfo->item.iSelectedImage = nImage;
}

void CPlxPropertySheet::OnPaint() {
  if (!HasNavigationPane()) {
    CPropertySheet::OnPaint();
    return;
  }
  // No tab strip: a frame around the page area only.
  CPaintDC dc(this);
  CRect frame = m_rectPages;
  frame.InflateRect(1, 1);
  dc.Draw3dRect(frame, ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_3DSHADOW));
}

void CPlxPropertySheet::OnLButtonDown(UINT nFlags, CPoint point) {
  if (HasNavigationPane()) {
    CDialog::OnLButtonDown(nFlags, point);  // no tabs to click
    return;
  }
  CPropertySheet::OnLButtonDown(nFlags, point);
}
