// Combo boxes of the output pages: CSkinComboBox, the owner-drawn "Output Format" list showing
// each format's picture from the skin and its name in the skin's list colours, and
// CHoverComboBox, a combo box that knows whether the mouse is over it.
#pragma once

#include "platform/mfc/Afx.h"
#include "platform/mfc/GdiObjects.h"

// The item data of the format list (shell/MainDlg.h), owned by the page that fills it.
struct OutputFormatItem;

class CSkinComboBox : public CComboBox {
 public:
  CSkinComboBox();
  ~CSkinComboBox() override;

  // The skin picture of an item: the output type for 0 to 4, 5 + the group's number for a
  // group, 0 for anything else.
  static int PictureIndexOf(const OutputFormatItem* pItem);

  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
  int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct) override;
  void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct) override;
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 protected:
  void PreSubclassWindow() override;

 private:
  CFont m_fontItem;
};

class CHoverComboBox : public CComboBox {
 public:
  CHoverComboBox();
  ~CHoverComboBox() override;

  BOOL IsHover() const { return m_bHover; }

 protected:
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

 private:
  void Redraw();

  BOOL m_bPressed = FALSE;
  BOOL m_bHover = FALSE;
  BOOL m_bCaptured = FALSE;
};
