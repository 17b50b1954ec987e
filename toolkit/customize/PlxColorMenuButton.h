// CPlxColorMenuButton: a toolbar menu button that opens a colour popup and shows the colour last
// chosen for its command. The class keeps the last colour per command, which colour bars write
// too. Kept to what the colour bar and popup use; the customization side comes with the rest of
// the customize classes.
#pragma once

#include "platform/base/Array.h"
#include "platform/base/List.h"
#include "platform/base/Map.h"
#include "toolkit/bars/PlxToolbarButton.h"

// "PlxTOOLBAR__GETDOCUMENTCOLORS": asks the frame for the document colours (wParam the command,
// lParam a CList<COLORREF, COLORREF>* to fill).
extern UINT PLX_WM_GETDOCUMENTCOLORS;

class CPlxColorMenuButton : public CPlxToolbarMenuButton {
  DECLARE_SERIAL(CPlxColorMenuButton)

 public:
  CPlxColorMenuButton();
  CPlxColorMenuButton(UINT uiCmdID, LPCTSTR lpszText, CPalette* pPalette = nullptr);
  ~CPlxColorMenuButton() override;

  void Serialize(CArchive& ar) override;
  void CopyFrom(const CPlxToolbarButton& src) override;
  void OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz = TRUE,
              BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
              BOOL bGrayDisabledButtons = TRUE) override;
  void OnChangeParentWnd(CWnd* pWndParent) override;
  int OnDrawOnCustomizeList(CDC* pDC, const CRect& rect, BOOL bSelected) override;
  BOOL IsEmptyMenuAllowed() const override { return TRUE; }
  CPlxPopupMenu* CreatePopupMenu() override;
  virtual BOOL RunColorDialog(COLORREF colorIn, COLORREF& colorOut);

  // Stores the colour (and under the command id) and repaints; with bNotify every twin button and
  // every colour bar of the command follow.
  void SetColor(COLORREF clr, BOOL bNotify = TRUE);
  COLORREF GetColor() const { return m_Color; }
  static COLORREF GetColorByCmdID(UINT uiCmdID);

  void EnableAutomaticButton(LPCTSTR lpszLabel, COLORREF colorAutomatic, BOOL bEnable = TRUE);
  void EnableOtherButton(LPCTSTR lpszLabel, BOOL bAltColorDlg = TRUE, BOOL bEnable = TRUE);
  void EnableDocumentColors(LPCTSTR lpszLabel, BOOL bEnable = TRUE);
  void SetColumnsNumber(int nColumns) { m_nColumns = nColumns; }

  CArray<COLORREF, COLORREF> m_Colors;
  COLORREF m_Color = (COLORREF)-1;
  COLORREF m_colorAutomatic = 0;
  CString m_strAutomaticButtonLabel;
  CString m_strOtherButtonLabel;
  CString m_strDocumentColorsLabel;
  BOOL m_bIsAutomaticButton = FALSE;
  BOOL m_bIsOtherButton = FALSE;
  BOOL m_bIsDocumentColors = FALSE;
  BOOL m_bStdColorDlg = FALSE;  // TRUE: the system colour dialog
  int m_nColumns = -1;
  int m_nVertDockColumns = -1;
  int m_nHorzDockRows = -1;

  CPalette m_Palette;  // built from the colours on 8-bit displays
  // The strip's rectangle and colour at the last OnDraw (empty: no strip drawn).
  CRect m_rectStrip;
  COLORREF m_clrStrip = (COLORREF)-1;

  // The data version from which the dock values are stored.
  static constexpr int kDockValuesVersion = 0x40710;

  // The last colour chosen per command; colour bars write it too.
  static CMap<UINT, UINT, COLORREF, COLORREF> m_ColorsByID;
};
