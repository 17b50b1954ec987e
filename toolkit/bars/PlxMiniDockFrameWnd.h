// CPlxMiniDockFrameWnd: the small floating frame bars float in inside toolkit frames. Over the
// framework's mini dock frame it lets a hosted sizing bar size itself, shows a roll button in the
// small caption for bars that roll up (the frame shrinks to its caption, by hand or when the
// pointer leaves it), keeps its caption on the work area, asks the frame for the bar menu on a
// right click, and places a bar freshly torn off a popup menu under the mouse (TrackTearOff).
// UI thread only.
#pragma once

#include "platform/mfc/FrameWnd.h"

class CPlxPopupMenu;
class CPlxSizingControlBar;

class CPlxMiniDockFrameWnd : public CMiniDockFrameWnd {
  DECLARE_DYNCREATE(CPlxMiniDockFrameWnd)

 public:
  // Roll state codes of a hosted sizing bar (its m_nRollState).
  enum RollState {
    RollNone = 0,           // no roll button
    RollManual = 1,         // the button toggles rolled and unrolled
    RollAuto = 2,           // rolls up when the pointer has left, down over the caption
    RollAutoSuspended = 3,  // RollAuto held unrolled until the button is clicked again
    RollAutoNarrow = 4,     // RollAuto with a rolled window as narrow as its title
    RollAutoNarrowSuspended = 5
  };
  static constexpr int kRollTimerPeriod = 250;  // ms
  static constexpr int kRollDelayTicks = 6;     // ticks away before the frame rolls up

  CPlxMiniDockFrameWnd();

  using CMiniDockFrameWnd::Create;
  // The base frame, without the four-sided thick frame and as a tool window.
  BOOL Create(CWnd* pParent, DWORD dwBarStyle) override;
  void RecalcLayout(BOOL bNotify = TRUE) override;

  // The first bar docked in the frame when it is a sizing bar, else null.
  CPlxSizingControlBar* GetSizingBar() const;
  // Follows the mouse with the bar just torn off pMenu until the button is released: TRUE when
  // the bar stays. Any other end (Escape, a right click, lost capture, WM_QUIT, a capture held
  // elsewhere) shows the menu again and destroys the bar and this frame; a WM_QUIT is posted again.
  virtual BOOL TrackTearOff(CPlxPopupMenu* pMenu);

  // What a click on the roll button makes of a bar's state and rolled flag.
  static void NextRollState(int& nState, BOOL& bRolled);
  // The roll button in window coordinates of a frame that size, just left of the small close box.
  static CRect RollButtonRect(CSize sizeWindow, BOOL bThickFrame);
  // The top a window must move to so that its whole small caption stays on the work area; its
  // own top when it already does.
  static int CaptionOnScreenTop(const CRect& rectWindow, const CRect& rectWork);
  // The glyph on the roll button: down when rolled, up when not, right while rolling is automatic.
  static int RollGlyph(int nState, BOOL bRolled);

  int m_nRollState = 0;
  BOOL m_bRolled = FALSE;
  CRect m_rectRollButton;
  CRect m_rectRolled{-1, 0, -1, 0};
  int m_nRollDelay = 0;
  // FALSE while a bar the frame already had is dragged again: a cancel keeps it.
  BOOL m_bTearOffBarIsNew = TRUE;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnRollButton();
  void CopyRollState();
  void DrawRollButton();
  void UnrollForPointer();
  void OnRollTimer();
  void KeepCaptionOnScreen();
  // The frame toolbars and menus ask: g_pTopLevelFrame, else this frame's dock site's top frame.
  CFrameWnd* ToolkitTopFrame() const;
  // The tear-off's clean-up: capture, docking and, unless it stays, the menu, the list and the bar.
  BOOL EndTearOff(CPlxPopupMenu* pMenu, HWND hwndMenu, CControlBar* pBar, DWORD dwDockStyle, BOOL bAccepted);

  BOOL m_bFittingToBar = FALSE;  // guards the frame's own resizes around the bar
};
