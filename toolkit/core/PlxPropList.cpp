#include "toolkit/core/PlxPropList.h"

#include <algorithm>

#include "platform/comctl/CommCtrl.h"
#include "platform/comctl/Header.h"
#include "platform/comctl/Tooltip.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxProp.h"
#include "toolkit/core/PlxVisualManager.h"

IMPLEMENT_DYNAMIC(CPlxPropList, CWnd)

BOOL PlxAccessibilityEnabled = FALSE;

UINT PlxPropertyChangedMessage() {
  static const UINT message = RegisterWindowMessage("PlxM_PROPERTYCHANGED");
  return message;
}

BEGIN_MESSAGE_MAP(CPlxPropList, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_MESSAGE(WM_SETFONT, OnSetFont)
ON_MESSAGE(WM_GETFONT, OnGetFont)
ON_WM_STYLECHANGED()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
ON_WM_VSCROLL()
ON_WM_MOUSEWHEEL()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_SETCURSOR()
ON_WM_KEYDOWN()
ON_WM_CHAR()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_CANCELMODE()
ON_WM_GETDLGCODE()
ON_WM_CTLCOLOR()
ON_WM_DESTROY()
ON_EN_KILLFOCUS(CPlxProp::kEditorId, OnEditorKillFocus)
ON_CBN_KILLFOCUS(CPlxProp::kEditorId, OnComboKillFocus)
ON_CBN_SELENDOK(CPlxProp::kEditorId, OnComboSelEndOk)
ON_CBN_CLOSEUP(CPlxProp::kEditorId, OnComboCloseUp)
END_MESSAGE_MAP()

CPlxPropList::CPlxPropList() {
  PlxPropertyChangedMessage();
}

CPlxPropList::~CPlxPropList() = default;

BOOL CPlxPropList::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  static const CString className = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW),
                                                       reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  m_bCreating = TRUE;
  const BOOL created = CWnd::Create(className, "", dwStyle, rect, pParentWnd, nID);
  m_bCreating = FALSE;
  return created;
}

int CPlxPropList::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  InitControl();
  return 0;
}

void CPlxPropList::PreSubclassWindow() {
  CWnd::PreSubclassWindow();
  // A dialog control subclassed after creation never saw WM_CREATE; one being created will.
  if (!m_bCreating && m_wndScrollVert.GetSafeHwnd() == nullptr && GetSafeHwnd()) InitControl();
}

void CPlxPropList::CreateHeaderWindow() {
  InitCommonControls();
  m_wndHeader.CreateEx(0, WC_HEADER, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, kHeaderId);
}

void CPlxPropList::InitControl() {
  CreateHeaderWindow();
  if (m_wndHeader.GetSafeHwnd()) {
    const char* titles[2] = {"Property", "Value"};
    for (int i = 0; i < 2; ++i) {
      HDITEM item{};
      item.mask = HDI_TEXT | HDI_FORMAT;
      item.fmt = HDF_LEFT | HDF_STRING;
      item.pszText = const_cast<char*>(titles[i]);
      m_wndHeader.SendMessage(HDM_INSERTITEM, i, reinterpret_cast<LPARAM>(&item));
    }
  }
  m_wndScrollVert.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(0, 0, 0, 0), this, kScrollBarId);
  if (m_ToolTip.Create(this, TTS_ALWAYSTIP)) {
    m_ToolTip.Activate(TRUE);
    m_ToolTip.SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  m_IPToolTip.Create(this);
  CWnd* parent = GetParent();
  m_bControlBarColors = !(parent && parent->IsKindOf(RUNTIME_CLASS(CDialog)));
  RecalcLayout();
  CreateBoldFont();
  MeasureEditMargins();
}

void CPlxPropList::EnableHeaderCtrl(BOOL bEnable, LPCTSTR lpszLeftColumn, LPCTSTR lpszRightColumn) {
  if (m_pSel && m_pSel->m_bInPlaceEdit) m_pSel->EndEdit();
  m_bHeaderCtrl = bEnable;
  if (bEnable && m_wndHeader.GetSafeHwnd()) {
    LPCTSTR titles[2] = {lpszLeftColumn, lpszRightColumn};
    for (int i = 0; i < 2; ++i) {
      HDITEM item{};
      item.mask = HDI_TEXT;
      item.pszText = const_cast<char*>(titles[i]);
      m_wndHeader.SendMessage(HDM_SETITEM, i, reinterpret_cast<LPARAM>(&item));
    }
  }
  if (!GetSafeHwnd()) return;
  RecalcLayout();
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CPlxPropList::EnableDescriptionArea(BOOL bEnable) {
  m_bDescriptionArea = bEnable;
  if (GetSafeHwnd()) {
    RecalcLayout();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
}

void CPlxPropList::SetAlphabeticMode(BOOL bSet) {
  if (m_bAlphabeticMode == bSet) return;
  m_bAlphabeticMode = bSet;
  m_nVertScrollOffset = 0;
  SetCurSel(nullptr, TRUE);
  if (!GetSafeHwnd()) return;
  if (m_bAlphabeticMode) LayoutRows();
  RecalcLayout();
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CPlxPropList::SetGroupBackgroundLook(BOOL bGroupLook) {
  m_bVSDotNetLook = bGroupLook;
  if (GetSafeHwnd()) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CPlxPropList::MarkModifiedProperties(BOOL bMark) {
  m_bMarkModifiedProperties = bMark;
  if (GetSafeHwnd()) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CPlxPropList::SetCustomColors(COLORREF clrBackground, COLORREF clrText, COLORREF clrGroupBackground,
                                   COLORREF clrGroupText, COLORREF clrDescriptionBackground,
                                   COLORREF clrDescriptionText, COLORREF clrLine) {
  m_clrBackground = clrBackground;
  m_clrText = clrText;
  m_clrGroupBackground = clrGroupBackground;
  m_clrGroupText = clrGroupText;
  m_clrDescriptionBackground = clrDescriptionBackground;
  m_clrDescriptionText = clrDescriptionText;
  m_clrLine = clrLine;
  m_brBackground.DeleteObject();
  if (clrBackground != (COLORREF)-1) m_brBackground.CreateSolidBrush(clrBackground);
}

int CPlxPropList::AddProperty(CPlxProp* pProp, BOOL bRedraw, BOOL bAdjustLayout) {
  if (!pProp) return -1;
  // A property already in the tree (or one that is some group's child) would be deleted twice.
  if (pProp->m_pParent) return -1;
  for (POSITION pos = m_lstProps.GetHeadPosition(); pos;) {
    CPlxProp* top = m_lstProps.GetNext(pos);
    if (top == pProp || top->Contains(pProp)) return -1;
  }
  pProp->SetOwnerList(this);
  m_lstProps.AddTail(pProp);
  if (bAdjustLayout) {
    RecalcLayout();
    if (bRedraw && GetSafeHwnd()) pProp->Redraw();
  }
  return GetPropertyCount() - 1;
}

void CPlxPropList::RemoveAll() {
  while (!m_lstProps.IsEmpty()) delete m_lstProps.RemoveHead();
  RemoveTools();
  m_lstTerminalProps.RemoveAll();
  m_pSel = nullptr;
}

CPlxProp* CPlxPropList::GetProperty(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetPropertyCount()) return nullptr;
  return m_lstProps.GetAt(m_lstProps.FindIndex(nIndex));
}

void CPlxPropList::ExpandAll(BOOL bExpand) {
  for (POSITION pos = m_lstProps.GetHeadPosition(); pos;) {
    CPlxProp* prop = m_lstProps.GetNext(pos);
    if (prop->m_bExpanded != bExpand && !prop->m_lstSubItems.IsEmpty()) prop->m_bExpanded = bExpand;
  }
  if (GetSafeHwnd()) RecalcLayout();
}

// ---- fonts and layout -----------------------------------------------------------------------

HFONT CPlxPropList::SelectListFont(CDC* pDC) const {
  HFONT font = m_hFont ? m_hFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (pDC) pDC->SelectObject(CFont::FromHandle(font));
  return font;
}

void CPlxPropList::CreateBoldFont() {
  m_fontBold.DeleteObject();
  LOGFONT lf{};
  CFont::FromHandle(SelectListFont(nullptr))->GetLogFont(&lf);
  lf.lfWeight = FW_BOLD;
  m_fontBold.CreateFontIndirect(&lf);
}

void CPlxPropList::MeasureEditMargins() {
  CEdit probe;
  if (!probe.Create(WS_CHILD, CRect(0, 0, 100, 20), this, 0xFFFF)) return;
  probe.SetFont(CFont::FromHandle(SelectListFont(nullptr)));
  m_nEditLeftMargin = LOWORD(probe.GetMargins());
  probe.SetFont(&m_fontBold);
  m_nBoldEditLeftMargin = LOWORD(probe.GetMargins());
  probe.DestroyWindow();
}

void CPlxPropList::SetHeaderWidths() {
  if (!m_wndHeader.GetSafeHwnd()) return;
  CRect client;
  GetClientRect(client);
  const int widths[2] = {m_nLeftColumnWidth + 2, client.Width() + 10};
  for (int i = 0; i < 2; ++i) {
    HDITEM item{};
    item.mask = HDI_WIDTH;
    item.cxy = widths[i];
    m_wndHeader.SendMessage(HDM_SETITEM, i, reinterpret_cast<LPARAM>(&item));
  }
}

void CPlxPropList::RecalcLayout() {
  if (!GetSafeHwnd()) return;
  CRect client;
  GetClientRect(client);
  {
    CClientDC dc(this);
    CFont* old = dc.SelectObject(CFont::FromHandle(SelectListFont(nullptr)));
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    m_nRowHeight = tm.tmHeight + 4;
    dc.SelectObject(old);
  }
  m_nHeaderHeight = 0;
  if (m_wndHeader.GetSafeHwnd()) {
    if (m_bHeaderCtrl) {
      m_nHeaderHeight = m_nRowHeight + 4;
      m_wndHeader.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(SelectListFont(nullptr)), FALSE);
      m_wndHeader.SetWindowPos(nullptr, client.left, client.top, client.Width(), m_nHeaderHeight,
                               SWP_NOZORDER | SWP_NOACTIVATE);
      SetHeaderWidths();
      m_wndHeader.ShowWindow(SW_SHOWNOACTIVATE);
    } else {
      m_wndHeader.ShowWindow(SW_HIDE);
    }
  }
  m_rectList = client;
  m_rectList.top += m_nHeaderHeight;
  if (m_bDescriptionArea && m_nDescrHeight != -1 && client.bottom > 0) {
    m_nDescrHeight = std::max(m_nDescrHeight, m_nRowHeight);
    m_nDescrHeight = std::min(m_nDescrHeight, static_cast<int>(client.bottom - m_nRowHeight - client.top));
    m_rectList.bottom -= m_nDescrHeight;
  }
  const int w = GetSystemMetrics(SM_CXHSCROLL);
  UpdateScrollBar();
  if (m_wndScrollVert.GetSafeHwnd()) {
    if (m_nVertScrollTotal > 0) {
      m_rectList.right -= w;
      m_wndScrollVert.SetWindowPos(nullptr, m_rectList.right, m_rectList.top, w, m_rectList.Height(),
                                   SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
      m_wndScrollVert.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  LayoutRows();
  if (m_pSel && m_pSel->HasDropButton()) m_pSel->PlaceDropButton();
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CPlxPropList::RemoveTools() {
  if (m_ToolTip.GetSafeHwnd())
    for (int id = m_nTooltipsCount; id >= 1; --id) m_ToolTip.DelTool(this, id);
  m_nTooltipsCount = 0;
}

void CPlxPropList::LayoutRows() {
  m_lstTerminalProps.RemoveAll();
  RemoveTools();
  int y = m_rectList.top - m_nVertScrollOffset * m_nRowHeight - 1;
  if (m_bAlphabeticMode) {
    for (POSITION pos = m_lstProps.GetHeadPosition(); pos;)
      m_lstProps.GetNext(pos)->CollectLeaves(m_lstTerminalProps);
    for (POSITION pos = m_lstTerminalProps.GetHeadPosition(); pos;)
      m_lstTerminalProps.GetNext(pos)->LayoutRow(y);
  } else {
    for (POSITION pos = m_lstProps.GetHeadPosition(); pos;) m_lstProps.GetNext(pos)->LayoutRow(y);
  }
}

int CPlxPropList::CountVisibleRows() const {
  if (m_bAlphabeticMode) return static_cast<int>(m_lstTerminalProps.GetCount());
  int count = 0;
  for (POSITION pos = m_lstProps.GetHeadPosition(); pos;)
    count += 1 + m_lstProps.GetNext(pos)->CountVisibleChildren();
  return count;
}

void CPlxPropList::UpdateScrollBar() {
  if (!m_wndScrollVert.GetSafeHwnd()) return;
  if (m_nRowHeight > 0) {
    m_nVertScrollPage = m_rectList.Height() / m_nRowHeight - 1;
    m_nVertScrollTotal = CountVisibleRows();
    if (m_nVertScrollPage >= m_nVertScrollTotal) m_nVertScrollPage = m_nVertScrollTotal = 0;
    m_nVertScrollOffset = std::min(m_nVertScrollOffset, m_nVertScrollTotal);
  } else {
    m_nVertScrollPage = m_nVertScrollTotal = m_nVertScrollOffset = 0;
  }
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = m_nVertScrollTotal;
  info.nPage = m_nVertScrollPage;
  info.nPos = m_nVertScrollOffset;
  m_wndScrollVert.SetScrollInfo(&info, TRUE);
  m_wndScrollVert.EnableScrollBar(m_nVertScrollTotal > 0 ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
  m_wndScrollVert.EnableWindow();
}

CScrollBar* CPlxPropList::GetScrollBarCtrl(int nBar) const {
  if (nBar == SB_VERT && m_wndScrollVert.GetSafeHwnd()) return const_cast<CScrollBar*>(&m_wndScrollVert);
  return nullptr;
}

void CPlxPropList::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  EndEditItem(TRUE);
  m_nLeftColumnWidth = cx / 2;
  RecalcLayout();
}

LRESULT CPlxPropList::OnSetFont(WPARAM wParam, LPARAM) {
  m_hFont = reinterpret_cast<HFONT>(wParam);
  CreateBoldFont();
  MeasureEditMargins();
  RecalcLayout();
  return 0;
}

LRESULT CPlxPropList::OnGetFont(WPARAM, LPARAM) {
  return reinterpret_cast<LRESULT>(SelectListFont(nullptr));
}

void CPlxPropList::OnStyleChanged(int nStyleType, LPSTYLESTRUCT lpStyleStruct) {
  CWnd::OnStyleChanged(nStyleType, lpStyleStruct);
  RecalcLayout();
}

// ---- scrolling ------------------------------------------------------------------------------

void CPlxPropList::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  if (m_pSel && pScrollBar && m_pSel->m_pWndSpin &&
      pScrollBar->GetSafeHwnd() == m_pSel->m_pWndSpin->GetSafeHwnd())
    return;
  EndEditItem(TRUE);
  if (nSBCode > SB_BOTTOM) return;
  int offset = m_nVertScrollOffset;
  switch (nSBCode) {
    case SB_LINEUP:
      --offset;
      break;
    case SB_LINEDOWN:
      ++offset;
      break;
    case SB_PAGEUP:
      offset -= m_nVertScrollPage;
      break;
    case SB_PAGEDOWN:
      offset += m_nVertScrollPage;
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      offset = static_cast<int>(nPos);
      break;
    case SB_TOP:
      offset = 0;
      break;
    case SB_BOTTOM:
      offset = m_nVertScrollTotal;
      break;
    default:
      break;
  }
  offset = std::max(0, std::min(offset, m_nVertScrollTotal - m_nVertScrollPage + 1));
  if (offset == m_nVertScrollOffset) return;
  const int old = m_nVertScrollOffset;
  m_nVertScrollOffset = offset;
  m_wndScrollVert.SetScrollPos(offset, TRUE);
  LayoutRows();
  // The rows are repainted whole from the off-screen picture rather than shifted.
  (void)old;
  InvalidateRect(m_rectList);
  if (m_pSel) InvalidateRect(m_pSel->m_rectButton);
}

BOOL CPlxPropList::OnMouseWheel(UINT, short zDelta, CPoint) {
  if (m_nVertScrollTotal > 0) {
    const int steps = std::abs(zDelta) / WHEEL_DELTA;
    for (int i = 0; i < steps; ++i) OnVScroll(zDelta < 0 ? SB_LINEDOWN : SB_LINEUP, 0, nullptr);
  }
  return TRUE;
}

// ---- selection ------------------------------------------------------------------------------

void CPlxPropList::InvalidateRow(CPlxProp* pProp) {
  CRect row = pProp->m_Rect;
  if (!pProp->m_bGroup && pProp->HasValueCell()) row.right = row.left + m_nLeftColumnWidth;
  InvalidateRect(row);
}

void CPlxPropList::SetCurSel(CPlxProp* pProp, BOOL bRedraw) {
  CPlxProp* old = m_pSel;
  if (old == pProp) {
    NotifyAccessibility(m_pSel);
    return;
  }
  if (old && old->m_bInPlaceEdit) EndEditItem(TRUE);
  m_pSel = pProp;
  OnSelectionChanged(m_pSel, old);
  if (old) {
    old->OnDeselected(m_pSel);
    const CRect button = old->m_rectButton;
    old->m_rectButton.SetRectEmpty();
    if (bRedraw && GetSafeHwnd()) {
      CRect row = old->m_Rect;
      if (!old->m_bGroup && old->HasValueCell())
        row.right = std::max<int>(m_rectList.left + m_nLeftColumnWidth, row.left);
      // The whole row: the value cell of a former selection loses its button.
      if (!button.IsRectEmpty()) row.right = std::max(row.right, button.right);
      InvalidateRect(row);
      InvalidateRect(old->m_Rect);
      InvalidateRect(button);
    }
  }
  if (m_pSel) {
    m_pSel->OnSelected(old);
    if (m_pSel->HasDropButton()) m_pSel->PlaceDropButton();
    if (bRedraw && GetSafeHwnd()) {
      InvalidateRect(m_pSel->m_Rect);
      InvalidateRect(m_pSel->m_rectButton);
    }
  }
  if (bRedraw && GetSafeHwnd()) {
    if (m_bDescriptionArea) {
      CRect client;
      GetClientRect(client);
      client.top = m_rectList.bottom;
      client.DeflateRect(4, 4);
      InvalidateRect(client);
    }
    UpdateWindow();
  }
  NotifyAccessibility(m_pSel);
}

CPlxProp* CPlxPropList::HitTest(CPoint pt, int* pnArea, BOOL bPropsOnly) const {
  if (m_rectList.PtInRect(pt) || bPropsOnly) {
    const auto& rows = Rows();
    for (POSITION pos = rows.GetHeadPosition(); pos;) {
      CPlxProp* prop = rows.GetNext(pos);
      CPlxProp* hit =
          m_bAlphabeticMode ? (prop->m_Rect.PtInRect(pt) ? prop : nullptr) : prop->HitTest(pt, pnArea);
      if (hit) {
        if (m_bAlphabeticMode && pnArea) hit->HitTest(pt, pnArea);
        return hit;
      }
    }
    return nullptr;
  }
  if (pnArea && GetSafeHwnd()) {
    CRect client;
    GetClientRect(client);
    if (client.PtInRect(pt) && pt.y > m_rectList.bottom) *pnArea = CPlxProp::ClickDescription;
  }
  return nullptr;
}

void CPlxPropList::EnsureVisible(CPlxProp* pProp, BOOL bExpandParents) {
  if (!pProp || m_nRowHeight == 0) return;
  if (bExpandParents)
    for (CPlxProp* p = pProp->m_pParent; p; p = p->m_pParent) p->Expand(TRUE);
  const CRect& row = pProp->m_Rect;
  if (row.top >= m_rectList.top - 1 && row.bottom <= m_rectList.bottom) return;
  const CRect button = pProp->m_rectButton;
  pProp->m_rectButton.SetRectEmpty();
  RedrawWindow(button);
  if (row.top < m_rectList.top - 1 && row.bottom >= m_rectList.top - 1) {
    OnVScroll(SB_LINEUP, 0, nullptr);
  } else if (row.bottom > m_rectList.bottom && row.top <= m_rectList.bottom) {
    OnVScroll(SB_LINEDOWN, 0, nullptr);
  } else {
    // Entirely outside: the row's place in the list becomes the first visible row.
    const int rowIndex = m_nVertScrollOffset + (row.top - (m_rectList.top - 1)) / m_nRowHeight;
    OnVScroll(SB_THUMBPOSITION, static_cast<UINT>(std::max(0, rowIndex)), nullptr);
  }
  if (!button.IsRectEmpty()) {
    pProp->PlaceDropButton();
    RedrawWindow(pProp->m_rectButton);
  }
}

// ---- painting -------------------------------------------------------------------------------

BOOL CPlxPropList::OnEraseBkgnd(CDC*) {
  return TRUE;
}

void CPlxPropList::FillBackground(CDC* pDC, const CRect& rectClient) {
  pDC->FillRect(rectClient, m_brBackground.GetSafeHandle() ? &m_brBackground : &g_plxGlobalData.brWindow);
}

void CPlxPropList::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(client);
  // One off-screen picture per paint, so rows never flicker.
  CDC memory;
  CBitmap bitmap;
  const BOOL buffered = memory.CreateCompatibleDC(&paint) &&
                        bitmap.CreateCompatibleBitmap(&paint, std::max<int>(client.Width(), 1),
                                                      std::max<int>(client.Height(), 1));
  CDC* dc = buffered ? &memory : &paint;
  CBitmap* oldBitmap = buffered ? memory.SelectObject(&bitmap) : nullptr;
  m_clrGray = CPlxVisualManager::GetInstance()->GetPropListGroupColor(this);
  FillBackground(dc, client);
  CFont* oldFont = dc->SelectObject(CFont::FromHandle(SelectListFont(nullptr)));
  dc->SetTextColor(m_clrText != (COLORREF)-1 ? m_clrText : g_plxGlobalData.clrWindowText);
  dc->SetBkMode(TRANSPARENT);
  DrawList(dc);
  if (m_bDescriptionArea) {
    CRect descr = client;
    descr.top = m_rectList.bottom;
    descr.DeflateRect(1, 1);
    DrawDescriptionArea(dc, descr);
  }
  dc->SelectObject(oldFont);
  if (buffered) {
    paint.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(oldBitmap);
  }
}

void CPlxPropList::DrawList(CDC* pDC) {
  COLORREF line = m_bControlBarColors ? g_plxGlobalData.clrBarShadow : g_plxGlobalData.clrBtnShadow;
  if (m_bVSDotNetLook) line = m_clrGray;
  if (m_clrLine != (COLORREF)-1) line = m_clrLine;
  CPen pen(PS_SOLID, 1, line);
  CPen* oldPen = pDC->SelectObject(&pen);
  const int x = m_rectList.left + m_nLeftColumnWidth;
  pDC->MoveTo(x, m_rectList.top - 1);
  pDC->LineTo(x, m_rectList.bottom);
  const auto& rows = Rows();
  for (POSITION pos = rows.GetHeadPosition(); pos;)
    if (!DrawProperty(pDC, rows.GetNext(pos))) break;
  pDC->SelectObject(oldPen);
}

BOOL CPlxPropList::DrawProperty(CDC* pDC, CPlxProp* pProp) const {
  const CRect& row = pProp->m_Rect;
  const bool shown = !row.IsRectEmpty();
  if (shown && row.top >= m_rectList.bottom) return FALSE;
  if (shown && row.bottom >= m_rectList.top) {
    const int x = m_rectList.left + m_nLeftColumnWidth;
    const COLORREF groupBack = m_clrGroupBackground != (COLORREF)-1 ? m_clrGroupBackground : m_clrGray;
    if (m_bVSDotNetLook) {
      CRect band = row;
      band.left = m_rectList.left;
      if (!pProp->m_bGroup)
        band.right = std::min<int>(x, row.left);
      else if (pProp->m_bIsValueList)
        band.right = row.left + row.Height();
      band.bottom = std::min<int>(band.bottom, m_rectList.bottom);
      pDC->FillSolidRect(band, groupBack);
    }
    COLORREF oldText = (COLORREF)-1;
    if (!pProp->m_bEnabled) oldText = pDC->SetTextColor(g_plxGlobalData.clrGrayedText);
    CRect name = row;
    const bool plainGroup = pProp->m_bGroup && !pProp->m_bIsValueList;
    if (!(plainGroup && m_bGroupRowsFullWidth) && pProp->HasValueCell()) name.right = x;
    CBrush* background =
        m_brBackground.GetSafeHandle() ? const_cast<CBrush*>(&m_brBackground) : &g_plxGlobalData.brWindow;
    if (pProp->m_bGroup) {
      if (m_bGroupRowsFullWidth && !m_bVSDotNetLook && !pProp->m_bIsValueList) {
        CRect fill = name;
        fill.top++;
        pDC->FillRect(fill, background);
      }
      CRect box(row.left, row.top, row.left + row.Height(), row.bottom);
      pDC->SaveDC();
      pDC->IntersectClipRect(box.left, box.top, box.right, std::min<int>(box.bottom, m_rectList.bottom));
      pProp->DrawExpandBox(pDC, box);
      pDC->RestoreDC(-1);
      name.left = box.right;
    } else if (!pProp->HasValueCell()) {
      CRect fill = name;
      fill.top++;
      pDC->FillRect(fill, background);
    }
    if (name.right > name.left) {
      pDC->SaveDC();
      pDC->IntersectClipRect(name.left, name.top, name.right, std::min<int>(name.bottom, m_rectList.bottom));
      CFont* oldFont = plainGroup ? pDC->SelectObject(const_cast<CFont*>(&m_fontBold)) : nullptr;
      pProp->DrawName(pDC, name);
      if (oldFont) pDC->SelectObject(oldFont);
      pDC->RestoreDC(-1);
    }
    CRect value(x + 1, row.top, row.right, row.bottom);
    pDC->SaveDC();
    pDC->IntersectClipRect(value.left, value.top, value.right,
                           std::min<int>(value.bottom, m_rectList.bottom));
    pProp->DrawValue(pDC, value);
    if (!pProp->m_rectButton.IsRectEmpty()) pProp->DrawDropButton(pDC, pProp->m_rectButton);
    pDC->RestoreDC(-1);
    pDC->MoveTo(m_rectList.left, row.bottom);
    pDC->LineTo(m_rectList.right, row.bottom);
    if (oldText != (COLORREF)-1) pDC->SetTextColor(oldText);
  }
  if (pProp->m_bExpanded || m_bAlphabeticMode) {
    if (m_bAlphabeticMode && !pProp->m_bIsValueList) return TRUE;
    for (POSITION pos = pProp->m_lstSubItems.GetHeadPosition(); pos;)
      if (!DrawProperty(pDC, pProp->m_lstSubItems.GetNext(pos))) return FALSE;
  }
  return TRUE;
}

void CPlxPropList::DrawDescriptionArea(CDC* pDC, CRect rect) {
  if (m_clrDescriptionBackground != (COLORREF)-1) {
    CBrush brush(m_clrDescriptionBackground);
    pDC->FillRect(rect, &brush);
  } else {
    pDC->FillRect(rect, m_bControlBarColors ? &g_plxGlobalData.brBarFace : &g_plxGlobalData.brBtnFace);
  }
  rect.top += 4;
  const COLORREF frame = m_bControlBarColors ? g_plxGlobalData.clrBarShadow : g_plxGlobalData.clrBtnShadow;
  pDC->Draw3dRect(rect, frame, frame);
  if (!m_pSel) return;
  rect.DeflateRect(4, 4);
  COLORREF old = (COLORREF)-1;
  if (m_clrDescriptionText != (COLORREF)-1) old = pDC->SetTextColor(m_clrDescriptionText);
  m_pSel->DrawDescription(pDC, rect);
  if (old != (COLORREF)-1) pDC->SetTextColor(old);
}

void CPlxPropList::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
  CWnd::OnNcCalcSize(bCalcValidRects, lpncsp);
  if (GetStyle() & WS_BORDER) ::InflateRect(&lpncsp->rgrc[0], -1, -1);
}

void CPlxPropList::OnNcPaint() {
  if (m_nDescrHeight == -1) {
    m_nDescrHeight = m_nRowHeight * m_nDescrRows + m_nRowHeight / 2;
    RecalcLayout();
  }
  if (GetStyle() & WS_BORDER) CPlxVisualManager::GetInstance()->OnDrawControlBorder(this);
}

BOOL CPlxPropList::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
  if (hdr && m_ToolTip.GetSafeHwnd() && hdr->hwndFrom == m_ToolTip.GetSafeHwnd()) {
    if (hdr->code == TTN_SHOW) {
      m_ToolTip.SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else if (hdr->code == TTN_NEEDTEXT) {
      auto* info = reinterpret_cast<NMTTDISPINFO*>(lParam);
      static CString s_strTip;  // the tip's text lives until the next request
      s_strTip.Empty();
      CPoint point;
      GetCursorPos(&point);
      ScreenToClient(&point);
      if (CPlxProp* prop = HitTest(point)) {
        if (point.x < m_rectList.left + m_nLeftColumnWidth) {
          if (!prop->m_bNameIsTrancated || m_bAlwaysShowUserTT) s_strTip = prop->GetNameTipText();
        } else if (!prop->m_bValueIsTrancated || m_bAlwaysShowUserTT) {
          s_strTip = prop->GetValueTipText();
        }
      }
      info->lpszText = const_cast<LPSTR>(s_strTip.GetString());
      if (!s_strTip.IsEmpty())
        m_ToolTip.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(SelectListFont(nullptr)), FALSE);
    }
    *pResult = 0;
    return TRUE;
  }
  const auto* header = reinterpret_cast<const NMHEADER*>(lParam);
  if (header && header->hdr.idFrom == kHeaderId && m_wndHeader.GetSafeHwnd() &&
      header->hdr.hwndFrom == m_wndHeader.GetSafeHwnd()) {
    switch (header->hdr.code) {
      case HDN_ITEMCHANGED:
        if (header->iItem == 0 && header->pitem && (header->pitem->mask & HDI_WIDTH)) {
          CRect client;
          GetClientRect(client);
          const int limit = client.Width() - GetSystemMetrics(SM_CXHSCROLL) - 5;
          const int width = std::max(header->pitem->cxy - 2, m_nRowHeight);
          m_nLeftColumnWidth = width < limit ? width : limit;
          LayoutRows();
          RedrawWindow(m_rectList, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }
        break;
      case HDN_TRACK:
        if (header->pitem) TrackHeader(std::min<int>(header->pitem->cxy, m_rectList.Width()));
        break;
      case HDN_ENDTRACK:
        TrackHeader(-1);
        break;
      default:
        return CWnd::OnNotify(wParam, lParam, pResult);
    }
    *pResult = 0;
    return TRUE;
  }
  return CWnd::OnNotify(wParam, lParam, pResult);
}
