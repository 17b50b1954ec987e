// The list controls of the album and slide windows: CBufferedListCtrl (painted through an
// off-screen buffer, with a grey hint while empty, keys reported to the parent), its twin
// CVideoListCtrl for the video-album page, and CListCtrlSorter, which sorts any list control by
// the text of one column. UI thread only.
#pragma once

#include "controls/ListSortCompare.h"
#include "platform/base/CString.h"
#include "platform/comctl/AfxListCtrl.h"
#include "platform/mfc/Afx.h"

// Posted to the parent of a CBufferedListCtrl for every key press: wParam the virtual key, lParam 0.
#ifndef WM_LIST_KEYDOWN
#define WM_LIST_KEYDOWN 0x06C6
#endif

class CBufferedListCtrl : public CListCtrl {
  DECLARE_DYNAMIC(CBufferedListCtrl)

 public:
  CBufferedListCtrl() = default;

  // The hint painted while the list has no rows: shown only with `show` set and a non-zero id.
  void SetEmptyListText(BOOL show, UINT stringId) {
    m_bShowEmptyText = show;
    m_nEmptyTextId = stringId;
  }
  BOOL IsEmptyListTextShown() const { return m_bShowEmptyText; }
  BOOL IsScrolling() const { return m_bScrolling; }

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  BOOL m_bScrolling = FALSE;  // between a scroll and its SB_ENDSCROLL
  BOOL m_bShowEmptyText = FALSE;
  UINT m_nEmptyTextId = 0;
};

// The video-album page's clip list: the same control under a class of its own.
class CVideoListCtrl : public CBufferedListCtrl {
  DECLARE_DYNAMIC(CVideoListCtrl)

 public:
  CVideoListCtrl() = default;

 protected:
  DECLARE_MESSAGE_MAP()
};

// What a row's item data is while a sorter works on its list.
struct CListSortItem {
  DWORD_PTR m_dwData = 0;  // the row's own item data
  CString m_strText;       // the text of the sort column
};

// Lives around one Sort: the constructor parks every row's item data and puts the column's text
// in its place, the destructor gives every row its data back.
class CListCtrlSorter {
 public:
  CListCtrlSorter(CListCtrl* list, int column);
  ~CListCtrlSorter();
  CListCtrlSorter(const CListCtrlSorter&) = delete;
  CListCtrlSorter& operator=(const CListCtrlSorter&) = delete;

  // kind: LIST_SORT_* of ListSortCompare.h.
  BOOL Sort(BOOL ascending, int kind);

 private:
  static int CALLBACK Compare(LPARAM a, LPARAM b, LPARAM lParamSort);
  CListCtrl* m_pList;
};
