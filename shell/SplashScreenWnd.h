// The splash: a borderless picture of the product in the middle of the screen while the main
// dialog prepares, gone after four seconds or at the first key or mouse-button press that passes
// through the main dialog's message hook.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/GdiObjects.h"

#define IDB_SPLASH 101

class CSplashScreenWnd : public CWnd {
 public:
  ~CSplashScreenWnd() override;

  static void EnableSplashScreen(BOOL bEnable = TRUE);
  static BOOL IsSplashScreenEnabled();
  // Shows the splash over pParentWnd unless it is disabled or already up.
  static void ShowSplashScreen(CWnd* pParentWnd = nullptr);
  // Closes the splash on a key or mouse-button press; TRUE when the caller should drop the message.
  static BOOL HideOnInput(const MSG* pMsg);
  // The live splash, null when none.
  static CSplashScreenWnd* GetLive() { return c_pSplashWnd; }

 protected:
  CSplashScreenWnd();
  BOOL Create(CWnd* pParentWnd);
  void PostNcDestroy() override;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnPaint();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  CBitmap m_bitmap;

  static CSplashScreenWnd* c_pSplashWnd;  // UI thread
  static BOOL c_bShowSplashWnd;           // UI thread
};
