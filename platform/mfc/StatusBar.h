// CStatusBar: a control bar of panes laid out from the left, each with an id (the indicator),
// a style, a text width and a text; SBPS_STRETCH panes share what the others leave. The bar is
// drawn flat (panes framed by a line unless SBPS_NOBORDERS) and answers the status-bar messages
// the program sends it: SB_SETTEXT / SB_GETTEXT, SB_SETICON (an icon before a pane's text),
// SB_SETBKCOLOR, SB_GETRECT, SB_SETMINHEIGHT.
#pragma once

#include <vector>

#include "platform/mfc/AfxRes.h"
#include "platform/mfc/ControlBar.h"

// Pane styles.
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS 0x0100
#define SBPS_POPOUT 0x0200
#define SBPS_OWNERDRAW 0x1000
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

// Status bar messages.
// Written as the common controls' header writes them, so either header may come first.
#ifndef SB_SETTEXT
#define SB_SETTEXTA (WM_USER + 1)
#define SB_GETTEXTA (WM_USER + 2)
#define SB_GETTEXTLENGTHA (WM_USER + 3)
#define SB_SETMINHEIGHT (WM_USER + 8)
#define SB_GETRECT (WM_USER + 10)
#define SB_SETICON (WM_USER + 15)
#define SB_GETICON (WM_USER + 20)
#define SB_SETBKCOLOR 0x2001  // CCM_SETBKCOLOR
#define SB_SETTEXT SB_SETTEXTA
#define SB_GETTEXT SB_GETTEXTA
#define SB_GETTEXTLENGTH SB_GETTEXTLENGTHA
#endif

class CStatusBar : public CControlBar {
  DECLARE_DYNAMIC(CStatusBar)

 public:
  CStatusBar();
  ~CStatusBar() override;

  // dwStyle holds the window styles and the CBRS_ styles (CBRS_BOTTOM by default).
  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                      UINT nID = AFX_IDW_STATUS_BAR);
  virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
  // One pane per id, its text the string of that id (FALSE when some id has none: its pane
  // starts empty). A first pane of ID_SEPARATOR stretches.
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;
  // The pane's rectangle in the bar's client coordinates (empty for a bad index).
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  void GetPaneText(int nIndex, CString& rString) const;
  CString GetPaneText(int nIndex) const;
  BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
  void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
  void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
  UINT GetPaneStyle(int nIndex) const;
  void SetPaneStyle(int nIndex, UINT nStyle);
  HICON GetPaneIcon(int nIndex) const;

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  void DoPaint(CDC* pDC) override;

  int m_nMinHeight = 0;

 protected:
  struct Pane {
    UINT nID = 0;
    UINT nStyle = SBPS_NORMAL;
    int cxText = 0;  // the width of the text part
    CString strText;
    HICON hIcon = nullptr;
  };
  std::vector<Pane> m_panes;
  HFONT m_hFont = nullptr;

  // Pane rectangles for the current client size.
  std::vector<CRect> LayoutPanes() const;
  HFONT Font() const;

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetIcon(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetIcon(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetBkColor(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetRect(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);

  DECLARE_MESSAGE_MAP()
};
