// CPlxButtonGridCtrl: toolbar button objects shown as a grid of image buttons drawn from one
// image list. One button can be selected (mouse, arrow keys); the selection scrolls into view and
// is reported to the parent with WM_COMMAND; a vertical scroll bar appears when the rows do not
// fit. The owner keeps and deletes the buttons.
#pragma once

#include "platform/base/List.h"
#include "platform/mfc/StdControls.h"

class CPlxButtonImages;
class CPlxToolbarButton;

class CPlxButtonGridCtrl : public CButton {
  DECLARE_DYNAMIC(CPlxButtonGridCtrl)

 public:
  CPlxButtonGridCtrl();
  ~CPlxButtonGridCtrl() override;

  void AttachImages(CPlxButtonImages* pImages);
  void AppendButton(CPlxToolbarButton* pButton);
  void ClearButtons();
  void SetSelection(CPlxToolbarButton* pButton);
  BOOL SelectByImage(int iImage);
  CPlxToolbarButton* HitTest(CPoint point) const;
  CPlxToolbarButton* GetSelection() const { return m_pSelected; }
  void EnableDrag(BOOL bEnable = TRUE) { m_bDragEnabled = bEnable; }
  void RecalcLayout();

  const CObList& GetButtons() const { return m_lstButtons; }
  int GetScrollOffset() const { return m_nScrollOffset; }
  int GetScrollMax() const { return m_nScrollMax; }
  int GetRowsPerPage() const { return m_nRowsPerPage; }
  CSize GetButtonSize() const { return CSize(m_nButtonWidth, m_nButtonHeight); }
  // The button's rectangle shifted up by the scroll position.
  CRect ShiftedRect(const CPlxToolbarButton* pButton) const;

  CScrollBar* GetScrollBarCtrl(int nBar) const override;
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnLButtonDown(CPoint point);
  BOOL OnKeyDown(UINT nChar);
  void OnVScroll(UINT nSBCode, UINT nPos);
  BOOL OnEraseBkgnd(CDC* pDC);
  CRect ScrollArea() const;

  CObList m_lstButtons{10};
  CPlxButtonImages* m_pImages = nullptr;
  int m_nButtonWidth = 0;
  int m_nButtonHeight = 0;
  BOOL m_bLaidOut = FALSE;
  CPlxToolbarButton* m_pSelected = nullptr;
  int m_nScrollOffset = 0;
  int m_nScrollMax = 0;
  int m_nRowsPerPage = 0;
  CScrollBar m_wndScrollBar;
  BOOL m_bDragEnabled = FALSE;
};
