#include "toolkit/bars/PlxStatusBar.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/mfc/FrameWnd.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/core/PlxButton.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"

namespace {

constexpr int kPanePadding = 4;  // border and inner margin of a pane, both sides together
constexpr int kIconTextGap = 4;

// Replaces an owned C string; TRUE when the text changed. An empty text is kept as none.
BOOL ReplaceText(char*& lpszOwned, LPCTSTR lpszNew, BOOL& bFailed) {
  bFailed = FALSE;
  const char* current = lpszOwned != nullptr ? lpszOwned : "";
  const char* wanted = lpszNew != nullptr ? lpszNew : "";
  if (std::strcmp(current, wanted) == 0) return FALSE;
  free(lpszOwned);
  lpszOwned = nullptr;
  if (*wanted != '\0') {
    lpszOwned = strdup(wanted);
    bFailed = lpszOwned == nullptr;
  }
  return TRUE;
}

}  // namespace

IMPLEMENT_DYNAMIC(CPlxStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CPlxStatusBar, CControlBar)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_SETFONT, OnSetFont)
ON_MESSAGE(WM_GETFONT, OnGetFont)
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_MESSAGE(WM_GETTEXT, OnGetText)
ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
ON_MESSAGE(WM_SIZEPARENT, OnSizeParentBar)
ON_WM_NCHITTEST()
ON_WM_SYSCOMMAND()
ON_WM_LBUTTONDBLCLK()
ON_WM_TIMER()
ON_WM_STYLECHANGED()
ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

CPlxStatusBar::CPlxStatusBar() {
  m_cxLeftBorder = 0;
  m_cxRightBorder = 0;
  m_cyTopBorder = 2;
  m_cyBottomBorder = 0;
  m_rectSizeBox.SetRectEmpty();
}

CPlxStatusBar::~CPlxStatusBar() {
  FreePanes();
  delete[] m_pData;
}

BOOL CPlxStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  m_dwStyle = dwStyle & CBRS_ALL;
  LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), nullptr);
  const DWORD exStyle = pParentWnd != nullptr ? (pParentWnd->GetExStyle() & WS_EX_LAYOUTRTL) : 0;
  return CreateEx(exStyle, cls, nullptr, (dwStyle & ~CBRS_ALL) | WS_CHILD, CRect(0, 0, 0, 0), pParentWnd,
                  nID);
}

void CPlxStatusBar::FreePanes() {
  for (int i = 0; m_pData != nullptr && i < m_nCount; ++i) {
    CPlxStatusBarPaneInfo& pane = m_pData[i];
    free(pane.lpszText);
    free(pane.lpszToolTip);
    pane.lpszText = pane.lpszToolTip = nullptr;
    if (pane.nFrameCount > 0 && GetSafeHwnd() != nullptr) KillTimer(pane.nID);
    if (pane.hImageList != nullptr) ImageList_Destroy(pane.hImageList);
    pane.hImageList = nullptr;
    pane.nFrameCount = pane.nCurrFrame = 0;
  }
}

BOOL CPlxStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  FreePanes();
  delete[] m_pData;
  m_pData = nullptr;
  m_nCount = 0;
  if (nIDCount <= 0) return TRUE;
  m_pData = new CPlxStatusBarPaneInfo[nIDCount];
  m_nCount = nIDCount;
  for (int i = 0; i < nIDCount; ++i) {
    m_pData[i].nID = lpIDArray != nullptr ? lpIDArray[i] : 0;
    m_pData[i].nStyle = SBPS_NORMAL;
  }
  if (m_pData[0].nID == ID_SEPARATOR) m_pData[0].nStyle = SBPS_NOBORDERS | SBPS_STRETCH;
  RecalcLayout();
  return TRUE;
}

void CPlxStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
  if (!ValidIndex(nIndex)) return;
  CPlxStatusBarPaneInfo& pane = m_pData[nIndex];
  pane.nID = nID;
  pane.nStyle = nStyle;
  pane.cxText = cxWidth;
  RecalcLayout();
  if (GetSafeHwnd() != nullptr) Invalidate();
}

void CPlxStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
  if (!ValidIndex(nIndex)) return;
  nID = m_pData[nIndex].nID;
  nStyle = m_pData[nIndex].nStyle;
  cxWidth = m_pData[nIndex].cxText;
}

void CPlxStatusBar::SetPaneTextColor(int nIndex, COLORREF clrText, BOOL bUpdate) {
  if (!ValidIndex(nIndex)) return;
  m_pData[nIndex].clrText = clrText;
  if (bUpdate) InvalidatePaneContent(nIndex);
}

int CPlxStatusBar::CommandToIndex(UINT nIDFind) const {
  for (int i = 0; m_pData != nullptr && i < m_nCount; ++i)
    if (m_pData[i].nID == nIDFind) return i;
  return -1;
}

UINT CPlxStatusBar::GetItemID(int nIndex) const {
  return ValidIndex(nIndex) ? m_pData[nIndex].nID : 0;
}

void CPlxStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  if (lpRect != nullptr) *lpRect = ValidIndex(nIndex) ? m_pData[nIndex].rect : RECT{};
}

CString CPlxStatusBar::GetPaneText(int nIndex) const {
  return ValidIndex(nIndex) && m_pData[nIndex].lpszText != nullptr ? CString(m_pData[nIndex].lpszText)
                                                                   : CString();
}

CString CPlxStatusBar::GetTipText(int nIndex) const {
  return ValidIndex(nIndex) && m_pData[nIndex].lpszToolTip != nullptr ? CString(m_pData[nIndex].lpszToolTip)
                                                                      : CString();
}

CPlxStatusBarPaneInfo* CPlxStatusBar::GetPane(int nIndex) const {
  return ValidIndex(nIndex) ? &m_pData[nIndex] : nullptr;
}

// ---- pane content ----

BOOL CPlxStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate) {
  if (!ValidIndex(nIndex)) return FALSE;
  BOOL bFailed = FALSE;
  if (!ReplaceText(m_pData[nIndex].lpszText, lpszNewText, bFailed)) return TRUE;
  if (bFailed) return FALSE;
  if (bUpdate) InvalidatePaneContent(nIndex);
  return TRUE;
}

void CPlxStatusBar::SetTipText(int nIndex, LPCTSTR pszTipText) {
  if (!ValidIndex(nIndex)) return;
  BOOL bFailed = FALSE;
  if (ReplaceText(m_pData[nIndex].lpszToolTip, pszTipText, bFailed))
    SetBarStyle(GetBarStyle() | CBRS_TOOLTIPS);
}

void CPlxStatusBar::SetPaneIcon(int nIndex, HICON hIcon, BOOL bUpdate) {
  if (!ValidIndex(nIndex)) return;
  CPlxStatusBarPaneInfo& pane = m_pData[nIndex];
  if (pane.nFrameCount > 0) SetPaneAnimation(nIndex, nullptr, 0, FALSE);
  if (hIcon != nullptr) {
    if (pane.hImageList == nullptr) {
      ICONINFO info{};
      BITMAP bmp{};
      if (::GetIconInfo(hIcon, &info)) {
        if (info.hbmColor != nullptr) ::GetObject(info.hbmColor, sizeof bmp, &bmp);
        if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
        if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
      }
      pane.cxIcon = bmp.bmWidth;
      pane.cyIcon = bmp.bmHeight;
      pane.hImageList = ImageList_Create(pane.cxIcon, pane.cyIcon, ILC_COLORDDB | ILC_MASK, 1, 0);
      if (pane.hImageList != nullptr) ImageList_AddIcon(pane.hImageList, hIcon);
      RecalcLayout();
    } else {
      ImageList_ReplaceIcon(pane.hImageList, 0, hIcon);
    }
  } else if (pane.hImageList != nullptr) {
    ImageList_Destroy(pane.hImageList);
    pane.hImageList = nullptr;
  }
  if (hIcon == nullptr && DropIconRoom(nIndex, bUpdate)) return;
  if (bUpdate) InvalidatePaneContent(nIndex);
}

BOOL CPlxStatusBar::DropIconRoom(int nIndex, BOOL bUpdate) {
  CPlxStatusBarPaneInfo& pane = m_pData[nIndex];
  if (pane.cxIcon == 0 && pane.cyIcon == 0) return FALSE;
  // A pane without image is as wide as its text again; the panes after it move.
  pane.cxIcon = pane.cyIcon = 0;
  RecalcLayout();
  if (bUpdate && GetSafeHwnd() != nullptr) Invalidate();
  return TRUE;
}

void CPlxStatusBar::SetPaneAnimation(int nIndex, HIMAGELIST hImageList, UINT nFrameRate, BOOL bUpdate) {
  if (!ValidIndex(nIndex)) return;
  CPlxStatusBarPaneInfo& pane = m_pData[nIndex];
  if (pane.nFrameCount > 0 && GetSafeHwnd() != nullptr) KillTimer(pane.nID);
  if (pane.hImageList != nullptr) ImageList_Destroy(pane.hImageList);
  pane.hImageList = nullptr;
  pane.nFrameCount = pane.nCurrFrame = 0;
  const int nFrames = hImageList != nullptr ? ImageList_GetImageCount(hImageList) : 0;
  if (nFrames <= 0) {
    if (!DropIconRoom(nIndex, bUpdate) && bUpdate) InvalidatePaneContent(nIndex);
    return;
  }
  int cx = 0, cy = 0;
  ImageList_GetIconSize(hImageList, &cx, &cy);
  pane.cxIcon = cx;
  pane.cyIcon = cy;
  pane.hImageList = ImageList_Create(cx, cy, ILC_COLORDDB | ILC_MASK, 1, 1);
  if (pane.hImageList == nullptr) return;
  for (int i = 0; i < nFrames; ++i) {
    HICON hIcon = ImageList_GetIcon(hImageList, i, ILD_TRANSPARENT);
    ImageList_AddIcon(pane.hImageList, hIcon);
    if (hIcon != nullptr) ::DestroyIcon(hIcon);
  }
  pane.nFrameCount = nFrames;
  RecalcLayout();
  if (bUpdate) InvalidatePaneContent(nIndex);
  if (GetSafeHwnd() != nullptr) SetTimer(pane.nID, nFrameRate, nullptr);
}

CRect CPlxStatusBar::ContentRect(const CPlxStatusBarPaneInfo& pane) {
  CRect rect(pane.rect);
  if (pane.nStyle & SBPS_NOBORDERS)
    rect.top -= 1;
  else
    rect.DeflateRect(1, 1);
  return rect;
}

void CPlxStatusBar::InvalidatePaneContent(int nIndex) {
  if (!ValidIndex(nIndex) || GetSafeHwnd() == nullptr) return;
  InvalidateRect(ContentRect(m_pData[nIndex]), FALSE);
  UpdateWindow();
}

// ---- layout ----

void CPlxStatusBar::RecalcLayout() {
  if (GetSafeHwnd() == nullptr || m_pData == nullptr) return;
  CRect rect;
  GetClientRect(rect);
  CalcInsideRect(rect, TRUE);

  const int cxScroll = ::GetSystemMetrics(SM_CXVSCROLL) + 1;
  m_cxSizeBox = rect.Height() > cxScroll ? cxScroll : rect.Height();
  const int cxGrip = m_bNoSizeBox ? 0 : m_cxSizeBox;
  rect.right -= cxGrip;
  const int xMax = cxGrip > 0 ? rect.right : rect.right + m_cxRightBorder + 1;

  int cxExtra = m_cxDefaultGap + rect.Width();
  for (int i = 0; i < m_nCount; ++i) {
    const CPlxStatusBarPaneInfo& pane = m_pData[i];
    cxExtra -= pane.cxText + pane.cxIcon + m_cxDefaultGap + kPanePadding;
    if (pane.cxText > 0 && pane.cxIcon > 0) cxExtra -= kIconTextGap;
  }

  BOOL bStretched = FALSE;
  int x = rect.left;
  int xLastRight = rect.left;
  for (int i = 0; i < m_nCount; ++i) {
    CPlxStatusBarPaneInfo& pane = m_pData[i];
    if (x >= xMax) {
      pane.rect = RECT{};
      continue;
    }
    int cx = pane.cxIcon + pane.cxText + (pane.cxText > 0 && pane.cxIcon > 0 ? kIconTextGap : 0);
    if ((pane.nStyle & SBPS_STRETCH) && !bStretched) {
      bStretched = TRUE;
      if (cxExtra > 0) cx += cxExtra;
    }
    pane.rect = RECT{x, rect.top, std::min(x + cx + kPanePadding, xMax), rect.bottom};
    xLastRight = pane.rect.right;
    x = pane.rect.right + m_cxDefaultGap;
  }

  if (cxGrip > 0)
    m_rectSizeBox.SetRect(xLastRight, rect.top,
                          xLastRight + std::min(cxGrip, rect.Height() + m_cyBottomBorder), rect.bottom);
  else
    m_rectSizeBox.SetRectEmpty();
}

CPlxStatusBarPaneInfo* CPlxStatusBar::HitTest(CPoint pt) const {
  for (int i = 0; m_pData != nullptr && i < m_nCount; ++i)
    if (::PtInRect(&m_pData[i].rect, pt)) return &m_pData[i];
  return nullptr;
}

CSize CPlxStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CClientDC dc(nullptr);
  CFont* pOldFont = SelectFont(&dc);
  TEXTMETRIC tm{};
  dc.GetTextMetrics(&tm);
  dc.SelectObject(pOldFont);
  int cyContent = tm.tmHeight;
  for (int i = 0; m_pData != nullptr && i < m_nCount; ++i) cyContent = std::max(cyContent, m_pData[i].cyIcon);
  CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
  // A pane's border and a two-pixel air above and below its text or icon.
  size.cy = cyContent + kPanePadding + 2 + m_cyTopBorder + m_cyBottomBorder;
  return size;
}

CFont* CPlxStatusBar::SelectFont(CDC* pDC) {
  return m_hFont != nullptr ? pDC->SelectObject(CFont::FromHandle(m_hFont))
                            : pDC->SelectObject(&g_plxGlobalData.fontRegular);
}

// ---- painting ----

void CPlxStatusBar::DoPaint(CDC* pPaintDC) {
  CRect rectClient;
  GetClientRect(rectClient);
  CPlxBufferedDC memDC(*pPaintDC, rectClient);
  CDC* pDC = &memDC;
  CPlxVisualManager* pManager = CPlxVisualManager::GetInstance();
  pManager->OnFillBarBackground(pDC, this, rectClient, rectClient, FALSE);

  CFont* pOldFont = SelectFont(pDC);
  const int nOldMode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF clrOldText = pDC->GetTextColor();
  for (int i = 0; m_pData != nullptr && i < m_nCount; ++i) {
    CPlxStatusBarPaneInfo& pane = m_pData[i];
    const CRect rectPane(pane.rect);
    if (rectPane.IsRectEmpty()) continue;
    if (pane.clrBackground != (COLORREF)-1) pDC->FillSolidRect(ContentRect(pane), pane.clrBackground);
    pManager->OnDrawStatusBarPaneBorder(pDC, this, rectPane, pane.nID, pane.nStyle);

    CRect rectContent = rectPane;
    rectContent.DeflateRect(kPanePadding / 2, 0);
    if (pane.hImageList != nullptr && pane.cxIcon > 0) {
      const int y = rectContent.top + (rectContent.Height() - pane.cyIcon) / 2;
      ImageList_Draw(pane.hImageList, pane.nFrameCount > 0 ? pane.nCurrFrame : 0, pDC->GetSafeHdc(),
                     rectContent.left, y, ILD_TRANSPARENT);
      rectContent.left += pane.cxIcon + kIconTextGap;
    }
    if (pane.lpszText != nullptr && rectContent.left < rectContent.right) {
      pDC->SetTextColor(pManager->GetStatusBarPaneTextColor(this, &pane));
      pDC->DrawText(pane.lpszText, -1, rectContent,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
  }
  pDC->SetTextColor(clrOldText);
  pDC->SetBkMode(nOldMode);
  pDC->SelectObject(pOldFont);

  if (!m_rectSizeBox.IsRectEmpty()) pManager->OnDrawStatusBarSizeBox(pDC, this, m_rectSizeBox);
}

BOOL CPlxStatusBar::OnEraseBkgnd(CDC*) {
  return TRUE;  // DoPaint fills the whole client area
}

// ---- messages ----

int CPlxStatusBar::OnCreate(LPCREATESTRUCT) {
  return Default() == -1 ? -1 : 0;
}

void CPlxStatusBar::OnDestroy() {
  // Texts, tooltips, icons and animations go with the window; the panes stay.
  FreePanes();
  Default();
}

void CPlxStatusBar::OnSize(UINT, int, int) {
  Default();
  RecalcLayout();
  Invalidate();
}

LRESULT CPlxStatusBar::OnSetFont(WPARAM wParam, LPARAM lParam) {
  m_hFont = reinterpret_cast<HFONT>(wParam);
  RecalcLayout();
  if (lParam != 0) Invalidate();
  return 0;
}

LRESULT CPlxStatusBar::OnGetFont(WPARAM, LPARAM) {
  return reinterpret_cast<LRESULT>(
      m_hFont != nullptr ? m_hFont : static_cast<HFONT>(g_plxGlobalData.fontRegular.GetSafeHandle()));
}

LRESULT CPlxStatusBar::OnSetText(WPARAM, LPARAM lParam) {
  const int nIndex = CommandToIndex(0);
  if (nIndex < 0) return -1;
  return SetPaneText(nIndex, reinterpret_cast<LPCTSTR>(lParam), TRUE) ? 0 : -1;
}

LRESULT CPlxStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
  const int nMax = static_cast<int>(wParam);
  auto* buffer = reinterpret_cast<LPTSTR>(lParam);
  if (nMax <= 0 || buffer == nullptr) return 0;
  const int nIndex = CommandToIndex(0);
  const char* text = nIndex >= 0 && m_pData[nIndex].lpszText != nullptr ? m_pData[nIndex].lpszText : "";
  // The count answered is of the characters copied, the NUL not counted, as readers of the
  // window text size their strings by it.
  const int nCopy = std::min<int>(static_cast<int>(std::strlen(text)), nMax - 1);
  std::memcpy(buffer, text, static_cast<size_t>(nCopy));
  buffer[nCopy] = '\0';
  return nCopy;
}

LRESULT CPlxStatusBar::OnGetTextLength(WPARAM, LPARAM) {
  const int nIndex = CommandToIndex(0);
  if (nIndex < 0 || m_pData[nIndex].lpszText == nullptr) return 0;
  return static_cast<LRESULT>(std::strlen(m_pData[nIndex].lpszText));
}

LRESULT CPlxStatusBar::OnSizeParentBar(WPARAM wParam, LPARAM lParam) {
  auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  CFrameWnd* pFrame = AfxGetParentFrame(this);
  if (layout != nullptr && layout->hDWP != nullptr && pFrame != nullptr) {
    CRect rectFrameClient;
    pFrame->GetClientRect(rectFrameClient);
    // The free area reaching the frame's corner is not enough: a bar laid out at the top of an
    // otherwise empty frame sees it too, and its grip would sit far from the corner it pulls.
    const BOOL bShowGrip = !pFrame->IsZoomed() && (pFrame->GetStyle() & WS_THICKFRAME) != 0 &&
                           (m_dwStyle & CBRS_ALIGN_BOTTOM) != 0 &&
                           layout->rect.right == rectFrameClient.right &&
                           layout->rect.bottom == rectFrameClient.bottom;
    if (bShowGrip == m_bNoSizeBox) {
      m_bNoSizeBox = !bShowGrip;
      // The panes' right limit moves with the grip.
      RecalcLayout();
      Invalidate();
    }
  }
  return CControlBar::OnSizeParent(wParam, lParam);
}

LRESULT CPlxStatusBar::OnNcHitTest(CPoint point) {
  if (!m_bNoSizeBox && m_cxSizeBox > 0) {
    CRect rect;
    GetClientRect(rect);
    CalcInsideRect(rect, TRUE);
    const int nSize = std::min(m_cxSizeBox - 1, rect.Height());
    CRect rectGrip(rect.right - nSize, rect.bottom - nSize, rect.right, rect.bottom);
    ClientToScreen(rectGrip);
    rectGrip.NormalizeRect();
    if (rectGrip.PtInRect(point)) {
      // The grip pulls the frame's corner it sits in: the left one in a mirrored window.
      return (GetExStyle() & WS_EX_LAYOUTRTL) ? HTBOTTOMLEFT : HTBOTTOMRIGHT;
    }
  }
  return Default();
}

void CPlxStatusBar::OnSysCommand(UINT nID, LPARAM lParam) {
  if (!m_bNoSizeBox && m_cxSizeBox > 0 && (nID & 0xFFF0) == SC_SIZE) {
    if (CFrameWnd* pFrame = AfxGetParentFrame(this)) {
      pFrame->SendMessage(WM_SYSCOMMAND, nID, lParam);
      return;
    }
  }
  Default();
}

void CPlxStatusBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (m_bDblClkCommand) {
    if (CPlxStatusBarPaneInfo* pane = HitTest(point)) {
      HWND hOwner = m_hWndOwner != nullptr ? m_hWndOwner : ::GetParent(m_hWnd);
      if (hOwner != nullptr) ::PostMessage(hOwner, WM_COMMAND, pane->nID, 0);
    }
  }
  CControlBar::OnLButtonDblClk(nFlags, point);
}

void CPlxStatusBar::OnTimer(UINT_PTR nIDEvent) {
  Default();
  for (int i = 0; m_pData != nullptr && i < m_nCount; ++i) {
    CPlxStatusBarPaneInfo& pane = m_pData[i];
    if (pane.nID != nIDEvent || pane.nFrameCount <= 0) continue;
    if (++pane.nCurrFrame >= pane.nFrameCount) pane.nCurrFrame = 0;
    CRect rect = ContentRect(pane);
    rect.right = pane.rect.left + kPanePadding / 2 + pane.cxIcon;  // where DoPaint puts the icon
    InvalidateRect(rect, FALSE);
    UpdateWindow();
    ClientToScreen(rect);
    CPlxPopupMenu::UpdateAllShadows(rect);
    break;
  }
}

void CPlxStatusBar::OnStyleChanged(int nStyleType, LPSTYLESTRUCT lpStyleStruct) {
  Default();
  if (nStyleType == GWL_STYLE && lpStyleStruct != nullptr && (lpStyleStruct->styleNew & SBARS_SIZEGRIP) &&
      !(lpStyleStruct->styleOld & SBARS_SIZEGRIP))
    RecalcLayout();
}

void CPlxStatusBar::OnSettingChange(UINT, LPCTSTR) {
  Default();
  RecalcLayout();
}
