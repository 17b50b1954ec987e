// The skinned tab row of the album sheet, the output page, the photo configuration dialog and the
// disc pages: a static that paints text tabs from five skin pictures, underlines the tab under the
// mouse, shows a tooltip per tab and posts the owner's message when the user picks another tab.
// The owner switches its pages itself. The window needs SS_NOTIFY, or the mouse passes through it
// to the parent. UI thread only.
#pragma once

#include <memory>

#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/comctl/AfxControls.h"
#include "platform/mfc/Afx.h"
#include "shell/SkinMain.h"

class CSkinTabStrip : public CStatic {
 public:
  // The most tabs a strip lays out; owners add five at most.
  static constexpr int kMaxTabs = 100;
  enum Layout { layoutHorizontal = 0, layoutVertical = 1 };

  CSkinTabStrip();
  ~CSkinTabStrip() override;

  // Loads the five pictures; a picture that fails to load keeps the previous one. The colours and
  // offsets are always taken. Does not repaint. TRUE.
  BOOL SetSkin(const _tagTabSkin& skin);
  // Drops the captions and the tooltips; the selection and the hover index stay.
  void RemoveAllTabs();
  // dwData is the string id of the tab's tooltip.
  void AddTab(CString strCaption, DWORD dwData);
  void AddTabFromString(UINT nStringID, DWORD dwData);
  // Posted to the parent (wParam the new index, lParam 0) when the user picks another tab; 0: none.
  void SetNotifyMessage(UINT nMessage) { m_nNotifyMessage = nMessage; }
  // Builds the tooltips of the current tabs, replacing any earlier ones. Call after adding the tabs.
  void RecalcTabs();
  // Selects nIndex modulo the tab count (ignored without tabs) and repaints; posts nothing.
  void SetCurSel(int nIndex);
  // Selects nIndex as given and repaints.
  void SetCurSelNoWrap(int nIndex);
  int GetCurSel() const { return m_nCurSel; }
  // Tabs in a row (the default) or stacked downwards with captions running upwards.
  void SetLayout(int nLayout) { m_nLayout = nLayout; }

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  DECLARE_MESSAGE_MAP()

 private:
  int TabCount() const;
  void PaintHorizontal(CDC& dc, CDC& memory, const CRect& client);
  void PaintVertical(CDC& dc, CDC& memory, const CRect& client);
  void InvalidateIfCreated();

  UINT m_nNotifyMessage = 0;
  CBitmap m_bmpBackground;
  CBitmap m_bmpLeft;
  CBitmap m_bmpMiddle;
  CBitmap m_bmpRight;
  CBitmap m_bmpSeparator;
  int m_nLayout = layoutHorizontal;
  CStringArray m_captions;
  DWORD m_dwData[kMaxTabs] = {};  // tooltip string id per tab
  int m_nCurSel = 0;
  int m_nHover = -1;
  RECT m_rcHit[kMaxTabs] = {};  // from the last paint; before it no point hits a tab
  RECT m_rcTip[kMaxTabs] = {};
  int m_nLastMouseX = -1;
  int m_nLastMouseY = -1;
  std::unique_ptr<CToolTipCtrl> m_pToolTip;
  COLORREF m_clrNormal = RGB(48, 96, 128);
  COLORREF m_clrSelect = RGB(0, 113, 233);
  int m_nTextOffset = 5;
  int m_nSelectOffset = 4;
};
