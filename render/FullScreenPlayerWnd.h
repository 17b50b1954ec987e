// CFullScreenPlayerWnd: "Display photos with full screen". A borderless topmost window over the
// whole screen that shows one photo album's slides one at a time, advancing every three seconds
// while the album's music plays (the album editor starts the music and hands over its stop event).
// Keys and the context menu (menu 225) step through the slides; Enter, Escape and Space leave.
// No transitions, no pan and zoom, no titles: this is not the slideshow preview.
//
// The multimedia timer's thread only posts WM_FULLSCREEN_TICK; the index moves on the UI thread.
// The window deletes itself once destroyed, after selecting the last slide shown in the photo list
// and clearing its creator's pointer to it.
#pragma once

#include <memory>

#include "platform/kernel/CriticalSection.h"
#include "platform/mfc/Afx.h"

class CCoolButtonBar;
class CDVDAlbumBase;
class CDirectDrawView;
class CxImage;

#define IDR_FULLSCREEN_PLAYER 225
#define WM_FULLSCREEN_PLAYER_CMD 0x0A76  // wParam: a player code below; also the hidden bar's notify
#define WM_FULLSCREEN_TICK 0x0A77        // timer thread -> window: wParam the timer id

// Player codes (WM_FULLSCREEN_PLAYER_CMD's wParam) and their menu commands.
enum FullScreenPlayerCode {
  kPlayerPlay,
  kPlayerPause,
  kPlayerStop,
  kPlayerFirst,
  kPlayerPrevious,
  kPlayerNext,
  kPlayerLast
};
#define ID_FULLSCREEN_PLAY 32810
#define ID_FULLSCREEN_PAUSE 32811
#define ID_FULLSCREEN_STOP 32812
#define ID_FULLSCREEN_FIRST 32813
#define ID_FULLSCREEN_PREVIOUS 32814
#define ID_FULLSCREEN_NEXT 32815
#define ID_FULLSCREEN_LAST 32816

class CFullScreenPlayerWnd : public CWnd {
 public:
  static constexpr UINT kPeriodMs = 3000;

  // ppSlot: the creator's pointer to this window, cleared when the window is gone.
  explicit CFullScreenPlayerWnd(CFullScreenPlayerWnd** ppSlot);
  ~CFullScreenPlayerWnd() override;

  // Creates the window over the whole screen, hidden; pParent owns it.
  BOOL Create(CWnd* pParent);
  // Shows slide nIndex at once.
  void ShowImage(int nIndex);
  // Signalled when the window is destroyed (stops the creator's music).
  void SetStopEvent(HANDLE hEvent) { m_hStopEvent = hEvent; }

  // The multimedia timer's callback: posts WM_FULLSCREEN_TICK to the window in dwUser.
  static void CALLBACK FullScreenTimerProc(UINT uID, UINT uMsg, DWORD_PTR dwUser, DWORD_PTR dw1,
                                           DWORD_PTR dw2);

  // What the window shows; read and written under m_lock.
  int GetIndex();
  BOOL IsPaused();
  UINT GetTimerId() const { return m_nTimerId; }
  // The slide last drawn (-1 before the first paint) and whether it went through the presenter.
  int GetPaintedIndex() const { return m_nPaintedIndex; }
  BOOL PaintedWithPresenter() const { return m_bPaintedWithPresenter; }

  CDVDAlbumBase* m_pAlbum = nullptr;  // set by the creator; anything but a photo album shows nothing

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void PostNcDestroy() override;
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnDestroy();
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnMenuCommand(UINT nID);
  afx_msg LRESULT OnPlayerCommand(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTick(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  // Moves the index by the code (first, previous, next, last), skipping the next tick.
  void Navigate(int nCode);
  void Close();
  void RepaintNow();
  int SlideCount() const;

  CDirectDrawView* m_pView;  // owned
  CxImage* m_pPicture;       // owned
  int m_nScreenWidth;
  int m_nScreenHeight;
  UINT m_nTimerId = 0;
  int m_nIndex = 0;        // guarded by m_lock
  BOOL m_bPaused = FALSE;  // guarded by m_lock
  BOOL m_bSkip = FALSE;    // guarded by m_lock
  CRITICAL_SECTION m_lock;
  std::unique_ptr<CCoolButtonBar> m_pBar;
  CFullScreenPlayerWnd** m_ppSlot;
  CMenu m_menu;
  HANDLE m_hStopEvent = nullptr;  // not owned
  int m_nLoadedIndex = -1;        // the slide m_pPicture holds; UI thread
  int m_nPaintedIndex = -1;       // UI thread
  BOOL m_bPaintedWithPresenter = FALSE;
};
