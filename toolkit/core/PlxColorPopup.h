// CColorPopup: the popup a colour menu button (or a colour push button) opens; a popup menu whose
// bar is an embedded colour bar instead of the usual menu bar. Torn off, it leaves a stand-alone
// colour bar with its own copy of the colours behind.
#pragma once

#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/core/PlxColorBar.h"

class CColorPopup : public CPlxPopupMenu {
  DECLARE_DYNAMIC(CColorPopup)

 public:
  CColorPopup(const CArray<COLORREF, COLORREF>& colors, COLORREF color, LPCTSTR lpszAutoColor,
              LPCTSTR lpszOtherColor, LPCTSTR lpszDocColors, CList<COLORREF, COLORREF>& lstDocColors,
              int nColumns, int nHorzDockRows, int nVertDockColumns, COLORREF colorAutomatic,
              UINT uiCommandID, CPlxColorButton* pParentBtn = nullptr);
  ~CColorPopup() override;

  CPlxPopupMenuBar* GetMenuBar() override { return &m_colorBar; }
  CControlBar* CreateTearOffBar(CFrameWnd* pWndMain, UINT uiID, LPCTSTR lpszName) override;

  CPlxColorBar m_colorBar;
  BOOL m_bAllowInCustomize;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  DECLARE_MESSAGE_MAP()
};
