// A disc menu with clickable buttons, drawn from prepared bitmaps in a template folder: the
// background, the menu with one button selected ("NN-normal.bmp"), and per pair of selected and
// pointed-at buttons a highlight ("NN-highlight-MM.bmp") and a clicked picture
// ("NN-clicked-MM.bmp"). Releasing the mouse on the button it was pressed on selects it and
// posts the notify message with the new selection.
#pragma once

#include "platform/base/CString.h"
#include "platform/mfc/Afx.h"

class CDiscMenuButtonPreview : public CWnd {
 public:
  static constexpr int kMaxButtons = 53;
  static constexpr int kOverlaysPerButton = 20;

  CDiscMenuButtonPreview();
  ~CDiscMenuButtonPreview() override;

  // The first button whose rectangle, moved right by the offset, holds the point; -1 for none.
  int HitTest(CPoint point) const;
  // The picture files, 0-based buttons written 1-based.
  CString NormalPicture(int nSelected) const;
  CString HighlightPicture(int nSelected, int nPointed) const;
  CString ClickedPicture(int nSelected, int nPointed) const;

  // Filled by the owner before the window shows.
  CString m_strTemplateFolder;
  int m_nButtonCount = 1;
  RECT m_rcButtons[kMaxButtons] = {};
  int m_nOffsetX = 0;
  int m_nBackgroundLeft = 0;    // L: the background's first slice, drawn as it is
  int m_nBackgroundMiddle = 0;  // M: the slice stretched to the window's width
  int m_nOverlayX[kMaxButtons][kOverlaysPerButton] = {};
  int m_nSelected = 0;
  int m_nPointed = 0;
  int m_nOverlay = 0;
  CString m_strOverlayPicture;  // empty: no overlay
  BOOL m_bTracking = FALSE;
  int m_nTracked = -1;
  // The button the left button went down on, -1 when none: only a release there notifies, even
  // when moving in between has started tracking another button.
  int m_nPressed = -1;
  HWND m_hNotifyWnd = nullptr;
  UINT m_nNotifyMessage = 0;  // 0: nothing is posted

 protected:
  afx_msg void OnPaint();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  void EndTracking();
};
