#include "controls/ListCtrls.h"

#include "controls/MemoryDC.h"
#include "shell/LanguageFile.h"

IMPLEMENT_DYNAMIC(CBufferedListCtrl, CListCtrl)
IMPLEMENT_DYNAMIC(CVideoListCtrl, CBufferedListCtrl)

BEGIN_MESSAGE_MAP(CBufferedListCtrl, CListCtrl)
ON_WM_ERASEBKGND()
ON_WM_VSCROLL()
ON_WM_KEYDOWN()
ON_WM_PAINT()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CVideoListCtrl, CBufferedListCtrl)
END_MESSAGE_MAP()

BOOL CBufferedListCtrl::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style |= LVS_SHOWSELALWAYS;
  return CListCtrl::PreCreateWindow(cs);
}

BOOL CBufferedListCtrl::OnEraseBkgnd(CDC* pDC) {
  // The paint fills its own buffer; erasing too would flicker. A scroll copies pixels, so the
  // uncovered strip is erased then.
  if (m_bScrolling) return CListCtrl::OnEraseBkgnd(pDC);
  return FALSE;
}

void CBufferedListCtrl::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  m_bScrolling = nSBCode != SB_ENDSCROLL;
  CListCtrl::OnVScroll(nSBCode, nPos, pScrollBar);
  m_bScrolling = nSBCode != SB_ENDSCROLL;
}

void CBufferedListCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (CWnd* parent = GetParent()) parent->PostMessage(WM_LIST_KEYDOWN, nChar, 0);
  CListCtrl::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CBufferedListCtrl::OnPaint() {
  CPaintDC paint(this);
  if ((GetStyle() & LVS_REPORT) != 0) {
    // The header paints itself; the buffer must not cover it.
    if (CWnd* header = GetDlgItem(0)) {
      CRect rc;
      header->GetWindowRect(&rc);
      ScreenToClient(&rc);
      paint.ExcludeClipRect(&rc);
    }
  }
  CMemoryDC memory(&paint);
  CRect clip;
  memory.GetClipBox(&clip);
  memory.FillSolidRect(&clip, ::GetSysColor(COLOR_WINDOW));
  if (GetItemCount() == 0 && m_bShowEmptyText && m_nEmptyTextId != 0) {
    const CString text = LoadLangString(m_nEmptyTextId);
    CRect client;
    GetClientRect(&client);
    const CSize extent = memory.GetTextExtent(text);
    const int x = client.left + (client.Width() - extent.cx) / 2;
    const int y = client.Height() / 2 - extent.cy / 2;
    const COLORREF old = memory.SetTextColor(RGB(153, 153, 153));
    memory.TextOut(x, y, text);
    memory.SetTextColor(old);
  }
  // The buffer already holds the window colour and the hint; a list view that filled its background
  // again would cover the hint.
  if (GetBkColor() != CLR_NONE) SetBkColor(CLR_NONE);
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memory.GetSafeHdc()), 0);
}

CListCtrlSorter::CListCtrlSorter(CListCtrl* list, int column) : m_pList(list) {
  const int count = m_pList->GetItemCount();
  for (int i = 0; i < count; ++i) {
    auto* item = new CListSortItem;
    item->m_dwData = m_pList->GetItemData(i);
    item->m_strText = m_pList->GetItemText(i, column);
    m_pList->SetItem(i, 0, LVIF_PARAM, nullptr, 0, 0, 0, reinterpret_cast<LPARAM>(item));
  }
}

CListCtrlSorter::~CListCtrlSorter() {
  const int count = m_pList->GetItemCount();
  for (int i = 0; i < count; ++i) {
    auto* item = reinterpret_cast<CListSortItem*>(m_pList->GetItemData(i));
    if (item == nullptr) continue;
    m_pList->SetItem(i, 0, LVIF_PARAM, nullptr, 0, 0, 0, static_cast<LPARAM>(item->m_dwData));
    delete item;
  }
}

BOOL CListCtrlSorter::Sort(BOOL ascending, int kind) {
  const LPARAM sort = ascending ? kind : -kind;
  return static_cast<BOOL>(
      m_pList->SendMessage(LVM_SORTITEMS, static_cast<WPARAM>(sort), reinterpret_cast<LPARAM>(&Compare)));
}

int CALLBACK CListCtrlSorter::Compare(LPARAM a, LPARAM b, LPARAM lParamSort) {
  const auto* first = reinterpret_cast<const CListSortItem*>(a);
  const auto* second = reinterpret_cast<const CListSortItem*>(b);
  if (first == nullptr || second == nullptr) return 0;
  return CompareListSortTexts(first->m_strText, second->m_strText, lParamSort);
}
