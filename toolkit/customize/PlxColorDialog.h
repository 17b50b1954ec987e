// CPlxColorDialog: the toolkit's colour dialog, kept small: a grid of colours (a colour bar hosted
// as a control) with OK and Cancel. A click on a cell picks that colour; OK returns it.
#pragma once

#include "toolkit/core/PlxDialog.h"

class CPlxColorBar;

class CPlxColorDialog : public CPlxDialog {
  DECLARE_DYNAMIC(CPlxColorDialog)

 public:
  CPlxColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr,
                  HPALETTE hPal = nullptr);
  ~CPlxColorDialog() override;

  INT_PTR DoModal() override;
  COLORREF GetColor() const { return m_NewColor; }

  COLORREF m_CurrentColor;
  COLORREF m_NewColor;

  static constexpr UINT kBarId = 1001;

 protected:
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  CPlxColorBar* m_pColorBar = nullptr;  // owned
};
