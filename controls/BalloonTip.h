// CBalloonTip: a popup speech balloon with a multi-line help text (and an optional icon) whose
// pointer touches the mouse. The owner registers texts for some of its controls and relays every
// message it pre-translates; when the mouse rests over a registered control for the show delay
// the balloon appears with its pointer at the cursor, and it goes as soon as the mouse moves
// away or a button is pressed. UI thread only; the timers are window timers.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Map.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/GdiObjects.h"

struct BalloonTipInfo {
  CString strText;
  HICON hIcon = nullptr;
};

class CBalloonTip : public CWnd {
 public:
  static constexpr UINT_PTR kShowTimer = 100;
  static constexpr UINT_PTR kWatchTimer = 101;
  static constexpr UINT kWatchMs = 500;

  CBalloonTip();
  ~CBalloonTip() override;

  BOOL Create(CWnd* pOwner);
  // Registers (or replaces) the text and icon of a control.
  void AddTool(CWnd* pControl, LPCTSTR lpszText, HICON hIcon = nullptr);
  // Call from the owner's PreTranslateMessage with every message.
  void RelayEvent(MSG* pMsg);
  // Arms the balloon: it shows `strText` at `pAnchor` (the cursor when null) after the delay.
  void Show(CString strText, POINT* pAnchor = nullptr);
  void SetIcon(HICON hIcon);
  // The balloon's outline and the window size it needs for the current text and icon.
  void GetBalloonRegion(CDC* pDC, HRGN* pRegion, SIZE* pSize);

  // Milliseconds between arming and showing; owners may change it.
  UINT m_nShowDelay = 500;

  const POINT& GetAnchor() const { return m_ptAnchor; }
  const CString& GetText() const { return m_strText; }
  SIZE GetIconSize() const { return SIZE{m_nIconWidth, m_nIconHeight}; }

 protected:
  afx_msg void OnPaint();
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  CString m_strClassName;
  POINT m_ptAnchor{0, 0};  // screen point where the pointer's tip goes
  CString m_strText;
  UINT_PTR m_nTimerId = 0;
  HICON m_hIcon = nullptr;
  int m_nIconWidth = 0;
  int m_nIconHeight = 0;
  CFont* m_pFont = nullptr;
  CMap<HWND, HWND, BalloonTipInfo, const BalloonTipInfo&> m_tips;
};
