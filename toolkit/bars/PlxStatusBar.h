// CPlxStatusBar: the toolkit's status bar. Panes show a text, an icon or an icon animation (one
// frame per timer tick, the pane's id being the timer's) and carry a tooltip; a size grip at the
// frame's corner resizes the frame. The pane with id 0 holds the bar's window text.
#pragma once

#include "platform/comctl/ImageList.h"
#include "platform/mfc/AfxRes.h"
#include "platform/mfc/ControlBar.h"
#include "platform/mfc/StatusBar.h"

#ifndef SBARS_SIZEGRIP
#define SBARS_SIZEGRIP 0x0100
#endif

// One pane. Text and tooltip are owned C strings (null: none); the image list is owned too.
struct CPlxStatusBarPaneInfo {
  RECT rect{};                            // set by RecalcLayout; empty for a pane past the right edge
  UINT nID = 0;                           // command id, and the id of the pane's animation timer
  UINT nStyle = 0;                        // SBPS_ bits
  int cxText = 0;                         // room for the text
  COLORREF clrText = (COLORREF)-1;        // -1: the visual manager's pane text colour
  COLORREF clrBackground = (COLORREF)-1;  // -1: the bar's own fill
  int cxIcon = 0;
  int cyIcon = 0;
  char* lpszText = nullptr;
  char* lpszToolTip = nullptr;
  HIMAGELIST hImageList = nullptr;  // one icon, or the animation's frames
  int nFrameCount = 0;              // 0: no animation
  int nCurrFrame = 0;
};
using PlxStatusPane = CPlxStatusBarPaneInfo;

class CPlxStatusBar : public CControlBar {
  DECLARE_DYNAMIC(CPlxStatusBar)

 public:
  CPlxStatusBar();
  ~CPlxStatusBar() override;

  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
              UINT nID = AFX_IDW_STATUS_BAR);
  // One pane per id (style normal, no width); a first pane of ID_SEPARATOR stretches.
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
  void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
  void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
  void SetPaneTextColor(int nIndex, COLORREF clrText, BOOL bUpdate = TRUE);

  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  CString GetPaneText(int nIndex) const;
  CString GetTipText(int nIndex) const;
  // Pane record of the index (null outside the panes).
  CPlxStatusBarPaneInfo* GetPane(int nIndex) const;

  BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
  void SetTipText(int nIndex, LPCTSTR pszTipText);
  void SetPaneIcon(int nIndex, HICON hIcon, BOOL bUpdate = TRUE);
  // Copies the list's icons; a list without images stops the animation.
  void SetPaneAnimation(int nIndex, HIMAGELIST hImageList, UINT nFrameRate = 500, BOOL bUpdate = TRUE);
  void InvalidatePaneContent(int nIndex);
  void RecalcLayout();
  CPlxStatusBarPaneInfo* HitTest(CPoint pt) const;

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
  void DoPaint(CDC* pDC) override;

  HFONT m_hFont = nullptr;  // null: the toolkit's regular font
  int m_cxSizeBox = 0;
  BOOL m_bNoSizeBox = FALSE;  // no grip: frame zoomed, not sizable, or bar not at its corner
  BOOL m_bDblClkCommand = FALSE;
  CRect m_rectSizeBox;

 protected:
  // Gives back the room of a pane's image once it has none; TRUE when the layout changed.
  BOOL DropIconRoom(int nIndex, BOOL bUpdate);
  CPlxStatusBarPaneInfo* m_pData = nullptr;  // m_nCount records

  BOOL ValidIndex(int nIndex) const { return m_pData != nullptr && nIndex >= 0 && nIndex < m_nCount; }
  // The pane's content area: one pixel inside its border.
  static CRect ContentRect(const CPlxStatusBarPaneInfo& pane);
  void FreePanes();
  CFont* SelectFont(CDC* pDC);

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSizeParentBar(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnStyleChanged(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
  afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
  DECLARE_MESSAGE_MAP()
};
