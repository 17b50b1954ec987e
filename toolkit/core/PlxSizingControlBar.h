// CPlxSizingControlBar: the toolkit's resizable docking bar. It hosts any child windows, keeps one
// size per orientation (docked top/bottom, docked left/right, floating), shares its dock row's
// length with the other sizing bars of the row, and is resized by splitter edges in its
// non-client area, where it also draws a caption band with close and expand buttons.
// Files: PlxSizingControlBar.cpp (model, row sizing, tracking, mouse), PlxSizingControlBarNc.cpp
// (edges, caption, buttons, painting, hit tests), PlxSizingControlBarState.cpp (profile).
// UI thread only; the class-wide array and list are unguarded.
#pragma once

#include <vector>

#include "platform/base/List.h"
#include "platform/comctl/AfxControls.h"
#include "platform/mfc/ControlBar.h"

class CPlxSizingControlBar;
class CPlxTabWnd;

// One caption button of a sizing bar: index 0 closes the bar, index 1 expands it in its row.
struct CPlxCaptionButton {
  BOOL m_bPushed = FALSE;   // pressed with the mouse captured
  BOOL m_bFocused = FALSE;  // the pointer is over it
  UINT m_nHit = (UINT)-1;   // the hit-test code it answers
  UINT m_nTooltipId = 0;
  BOOL m_bHidden = FALSE;
  COLORREF m_clrForeground = (COLORREF)-1;  // glyph colour hint from the caption text; -1 none
  CPlxSizingControlBar* m_pParentBar = nullptr;
  CPoint m_ptOrg;  // top-left in the bar's window coordinates

  CSize GetSize() const;
  CRect GetRect() const { return CRect(m_ptOrg, GetSize()); }
  // Where it is drawn: GetRect mirrored in a right-to-left bar.
  CRect GetDrawRect() const;
  void OnDraw(CDC* pDC, BOOL bHorz, BOOL bMaximized, BOOL bDisabled);
  // The glyph for the DC's text colour: the visual managers call it inside their frame.
  void DrawGlyph(CDC* pDC, CRect rect, BOOL bHorz, BOOL bMaximized, BOOL bDisabled);
  // The glyph cell DrawGlyph picks (the light twins for a light text colour).
  int GlyphIndex(BOOL bDark, BOOL bHorz, BOOL bMaximized, BOOL bDisabled) const;
};

class CPlxSizingControlBar : public CControlBar {
  DECLARE_DYNAMIC(CPlxSizingControlBar)

 public:
  enum { kCloseButton = 0, kExpandButton = 1, kButtons = 2 };
  static constexpr UINT kCloseTipId = 16011;
  static constexpr UINT kExpandTipId = 16012;  // plus one while expanded: "Restore"
  static constexpr DWORD kEdgeLeft = 1, kEdgeRight = 2, kEdgeTop = 4, kEdgeBottom = 8, kShowEdges = 0x10;

  CPlxSizingControlBar();
  ~CPlxSizingControlBar() override;

  virtual BOOL Create(LPCTSTR lpszWindowName, CWnd* pParentWnd, CSize sizeDefault, BOOL bHasGripper, UINT nID,
                      DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP);
  virtual void SetMinSize(CSize size);
  virtual void SetMaxSize(CSize size);
  virtual void LoadState(LPCTSTR lpszProfileName);
  virtual void SaveState(LPCTSTR lpszProfileName);
  virtual BOOL CanBeClosed() const { return TRUE; }
  virtual void StartTracking(UINT nHitTest);
  virtual void StopTracking();
  virtual void OnTrackUpdateSize(CPoint& point);
  virtual void OnTrackInvertTracker();
  virtual void AlignControlBars();
  virtual void DrawCaption(CDC* pDC, const CRect& rcCaption);
  virtual void OnCustomizeMode(BOOL bCustomize);
  virtual BOOL ClipNcPaintToUpdateRegion() const { return TRUE; }

  BOOL DestroyWindow() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

  BOOL IsHorzDocked() const;
  BOOL IsVertDocked() const;
  BOOL IsFloatingBar() const { return !IsHorzDocked() && !IsVertDocked(); }
  BOOL IsSideTracking() const;
  BOOL IsLastInRow() const;
  BOOL IsRTL() const;
  // A rectangle of the reading order where it lies in the window (mirrored right to left).
  CRect MirrorRect(const CRect& rc) const;
  void GetRowInfo(int& nFirst, int& nLast, int& nThis) const;
  void GetRowSizingBars(std::vector<CPlxSizingControlBar*>& arrSCBars) const;
  BOOL NegotiateSpace(int nLengthTotal, BOOL bHorz);
  void ToggleExpand(BOOL bToggle);
  // The row's length as the fixed layout sees it (the dock bar's layout width, or height - 2).
  int GetAvailableLength(BOOL bHorz) const;

  // Non-client area, in the bar's window coordinates (left to right; mirrored where drawn).
  static UINT GetEdgeHTCode(int i);
  BOOL IsEdgeVisible(UINT nHitTest) const;
  BOOL GetEdgeRect(CRect rcWnd, UINT nHitTest, CRect& rcEdge) const;
  void GetCaptionRect(const CRect& rcClient, BOOL bIgnoreButtons, CRect& rc) const;
  void RedrawButton(const CPlxCaptionButton& button);
  // The proposed window rectangle shrunk to the client area (the WM_NCCALCSIZE rule).
  void CalcNcSize(CRect& rc);
  // The hit code of a screen point (the WM_NCHITTEST rule).
  UINT HitTest(CPoint ptScreen);
  void SetButtonsPos();
  void UpdateButtonsHot(CPoint ptScreen);
  CPlxTabWnd* GetTabWnd() const;
  // The profile section of a bar: "<path>-SCBar-<id>", however long the profile name.
  CString GetStateSection(LPCTSTR lpszProfileName) const;

  static CPlxSizingControlBar* FindSizingBar(CWnd* pWnd);
  // Every created sizing bar; a bar adds itself on WM_CREATE and leaves on WM_DESTROY.
  static CObList& GetAllSizingBars();
  static CString m_strRegSection;

  BOOL m_bSaveActiveTab = TRUE;
  CSize m_szHorz{200, 200};
  CSize m_szVert{200, 200};
  CSize m_szFloat{200, 200};
  DWORD m_dwSCBStyle = 0;
  UINT m_htEdge = 0;
  CSize m_szMax{-1, -1};
  CSize m_szMin{40, 40};
  CSize m_szMinT;
  CSize m_szMaxT;
  CSize m_szOld{0, 0};
  CPoint m_ptOld{0, 0};
  BOOL m_bTracking = FALSE;
  BOOL m_bKeepSize = FALSE;
  BOOL m_bParentSizing = FALSE;
  UINT m_nDockBarID = 0;
  int m_cxEdge = 6;
  int m_cyGripper = 0;
  BOOL m_bMaximized = FALSE;
  CToolTipCtrl m_ToolTip;
  BOOL m_bIsSingleInRow = FALSE;
  BOOL m_bActive = FALSE;
  CRect m_rectRedraw;
  int m_nBorderSize = 2;
  int m_nRollState = 0;
  BOOL m_bRolled = FALSE;
  BOOL m_bHasGripper = FALSE;
  BOOL m_bKeepUnrolled = FALSE;
  CPlxCaptionButton m_Buttons[kButtons];

  // Class-wide looks no operation changes.
  static BOOL m_bCaptionText;
  static BOOL m_bHideDisabledButtons;
  static BOOL m_bCaptionAlwaysOnTop;

 protected:
  int BorderSize() const { return m_nBorderSize < 1 ? 1 : m_nBorderSize; }
  int& LengthOf(CSize& size, BOOL bHorz) const { return bHorz ? size.cx : size.cy; }
  int& ThicknessOf(CSize& size, BOOL bHorz) const { return bHorz ? size.cy : size.cx; }
  CSize& DockedSize() { return IsHorzDocked() ? m_szHorz : m_szVert; }
  // Mirrors an x of the window (right-to-left layout) or leaves it.
  int MirrorX(int x) const;
  // The client rectangle in window coordinates of the reading order.
  CRect ClientInWindow() const;
  void ResetButtons(BOOL bRepaint);
  void PressButton(UINT nHitTest);
  void DelayFrameLayout();
  // The bar across the tracked side edge: the previous one of the row for the left or top edge,
  // else the next; null at the row's end.
  CPlxSizingControlBar* TrackedNeighbour(const std::vector<CPlxSizingControlBar*>& row) const;
  void PaintNc(HRGN hrgnUpdate);
  void OnEndTracking();

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()
};
