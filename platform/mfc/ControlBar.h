// Control bars: windows a parent lays out along its edges with CWnd::RepositionBars. Each bar
// answers WM_SIZEPARENT by taking its height (or width) from the side its CBRS_ALIGN_ style names.
// Notifications of a bar's own children go on to the bar's owner. The frame and docking classes
// come later with the toolkit; CFrameWnd is only named here.
#pragma once

#include "platform/mfc/Wnd.h"

class CFrameWnd;
class CControlBarInfo;
class CDockBar;
class CDockContext;

// Control bar styles (kept in m_dwStyle, not in the window's style).
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)
#define CBRS_ALL 0x0040FFFFL
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// lParam of WM_SIZEPARENT: the rectangle still free, the bars' total size, the moves to make.
struct AFX_SIZEPARENTPARAMS {
  HDWP hDWP;  // null when only asking (reposQuery)
  RECT rect;
  SIZE sizeTotal;
  BOOL bStretch;
};

// Moves a bar (or the left-over window) as part of a layout.
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);

class CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)

 public:
  CControlBar();
  ~CControlBar() override;

  int GetCount() const { return m_nCount; }
  DWORD GetBarStyle() const { return m_dwStyle; }
  void SetBarStyle(DWORD dwStyle);
  void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
  CRect GetBorders() const;
  BOOL IsVisible() const;

  // The size the bar wants: across the whole side with bStretch, its own length otherwise.
  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
  virtual CSize CalcDynamicLayout(int nLength, DWORD nMode);
  // The update pass of the bar's items, with pTarget (the owner) as the command target.
  virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
  virtual void DoPaint(CDC* pDC);
  virtual void DrawBorders(CDC* pDC, CRect& rect);
  virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;

  // Docking (FrameWnd.h): the sides the bar may dock on, given a dock context.
  void EnableDocking(DWORD dwDockStyle);
  BOOL IsFloating() const;
  // The frame the bar docks in: m_pDockSite, else the bar's parent frame.
  CFrameWnd* GetDockingFrame() const;
  // Where the bar is, for CDockState (DockState.h), and back.
  virtual void GetBarInfo(CControlBarInfo* pInfo);
  virtual void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd);

  int m_cxLeftBorder = 6;
  int m_cxRightBorder = 6;
  int m_cyTopBorder = 2;
  int m_cyBottomBorder = 2;
  int m_cxDefaultGap = 2;
  UINT m_nMRUWidth = 32767;
  BOOL m_bAutoDelete = FALSE;
  DWORD m_dwStyle = 0;
  COLORREF m_clrBackground = CLR_DEFAULT;  // CLR_DEFAULT: the 3D face colour
  CDockContext* m_pDockContext = nullptr;  // null: the bar cannot be docked; owned
  CFrameWnd* m_pDockSite = nullptr;        // the frame that docks the bar
  HWND m_hWndOwner = nullptr;              // who gets the bar's commands and notifications; null: as GetOwner
  // m_hWndOwner's window, else GetOwner(): a docked bar's parent is its dock bar, not its owner.
  CWnd* GetBarOwner() const;
  CDockBar* m_pDockBar = nullptr;  // the dock bar holding it (floating ones too)

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override;
  COLORREF BackgroundColor() const;

  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  // A press on the bar's free area drags it (with a dock context); a double click toggles docking.
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);

  int m_nCount = 0;

  DECLARE_MESSAGE_MAP()
};
