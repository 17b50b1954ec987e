// CCoolButtonBar: a skinned bar of picture buttons, usually put over a static control of a dialog
// template (SubclassDlgItem) or created as a static. The skin gives one picture of the whole bar
// per state (normal, hot, pressed, disabled) and the buttons' rectangles in those pictures; a
// button is drawn from the picture of its state. A click on an enabled button posts the notify
// message to the notify window with the button index as wParam and 0 as lParam.
#pragma once

#include <memory>
#include <vector>

#include "modules/buttonbar/ButtonSet.h"
#include "modules/buttonbar/TipWindow.h"
#include "platform/mfc/Afx.h"

class CCoolButtonBar : public CStatic {
  DECLARE_DYNAMIC(CCoolButtonBar)

 public:
  // Indexes into the state paths given to Init.
  enum { stateNormal = 0, stateHighlighted = 1, stateClicked = 2, stateDisabled = 3, stateCount = 4 };

  CCoolButtonBar();
  ~CCoolButtonBar() override;

  // nCount buttons with their rectangles in the pictures, the four state pictures (BMP files;
  // pStatePaths may be null) and a tip per button (pTips may be null). FALSE, with the last
  // error set, for bad arguments (nothing changes then) or when the normal picture cannot be
  // loaded (the buttons are taken anyway; a missing state picture falls back to the normal one).
  BOOL Init(int nCount, const RECT* pRects, const CString* pStatePaths, const CString* pTips);
  // The same after a skin change; buttons keep their enabled state and the bar repaints.
  BOOL OnBitmapChanged(int nCount, const RECT* pRects, const CString* pStatePaths, const CString* pTips);

  // Where clicks are reported; a message of 0 reports nothing.
  void SetNotifyMessage(HWND hWndNotify, UINT nMessage);
  // 0 switches the tips off; another id switches them on, its string being the tip of buttons the
  // skin gives no tip.
  void EnableToolTip(UINT nStringId);
  // The bar's natural size: that of its normal picture, else of the buttons together.
  CSize GetSize() const;

  // What the bar was last given: whether Init or OnBitmapChanged took a definition, the buttons'
  // rectangles in the pictures and tips (empty for an index outside the bar), the picture of a
  // state (empty when none was given) and how many times a defined bar was given new pictures.
  BOOL IsInitialized() const { return m_bInitialized; }
  int GetButtonCount() const { return m_buttons.Count(); }
  CRect GetButtonRect(int nButton) const;
  CString GetButtonTip(int nButton) const;
  CString GetStatePath(int nState) const;
  int GetReloadCount() const { return m_nReloads; }

  // FALSE for an index out of range. bRedraw repaints the changed buttons now.
  BOOL EnableButton(int nIndex, BOOL bRedraw = TRUE);
  BOOL DisableButton(int nIndex, BOOL bRedraw = TRUE);
  void EnableAllButtons(BOOL bRedraw = TRUE);
  void DisableAllButtons(BOOL bRedraw = TRUE);
  // FALSE for a disabled button or an index out of range.
  BOOL IsButtonEnabled(int nIndex) const { return m_buttons.IsEnabled(nIndex); }

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnMouseLeave();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  struct BitmapDeleter {
    void operator()(HBITMAP bitmap) const;
  };
  using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

  static bool ValidDefinition(int nCount, const RECT* pRects);
  BOOL Load(int nCount, const RECT* pRects, const CString* pStatePaths, const CString* pTips);
  void Repaint(const std::vector<int>& buttons, bool now);
  void UpdateTip();
  void HideTip();
  CString TipOf(int index) const;
  HBITMAP StateBitmap(pictavo::buttonbar::ButtonLook look) const;

  // UI thread only, all of it.
  pictavo::buttonbar::ButtonSet m_buttons;
  Bitmap m_bitmaps[stateCount];
  SIZE m_bitmapSize{0, 0};
  std::vector<CString> m_tips;
  CString m_statePaths[stateCount];
  BOOL m_bInitialized = FALSE;
  int m_nReloads = 0;
  HWND m_hWndNotify = nullptr;
  UINT m_nNotifyMessage = 0;
  bool m_bTipsOn = true;
  CString m_strDefaultTip;
  bool m_bTrackingLeave = false;
  int m_nTipButton = -1;  // the button the tip names or waits for
  pictavo::buttonbar::TipWindow m_tip;
};
