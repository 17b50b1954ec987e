// The colour menu button: its popup, its colour and its twins, the colour dialog it opens.
#include "toolkit/customize/PlxColorMenuButton.h"

#include "platform/comdlg/CommonDialogs.h"
#include "platform/mfc/Dc.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/core/PlxColorPopup.h"
#include "toolkit/customize/PlxColorDialog.h"

IMPLEMENT_SERIAL(CPlxColorMenuButton, CPlxToolbarMenuButton, 1)

CMap<UINT, UINT, COLORREF, COLORREF> CPlxColorMenuButton::m_ColorsByID(10);

UINT PLX_WM_GETDOCUMENTCOLORS = ::RegisterWindowMessage("PlxTOOLBAR__GETDOCUMENTCOLORS");

CPlxColorMenuButton::CPlxColorMenuButton() {
  CPlxColorBar::FillFromPalette(nullptr, m_Colors);
}

CPlxColorMenuButton::CPlxColorMenuButton(UINT uiCmdID, LPCTSTR lpszText, CPalette* pPalette)
    : CPlxToolbarMenuButton(uiCmdID, nullptr, -1, lpszText) {
  CPlxColorBar::FillFromPalette(pPalette, m_Colors);
  m_Color = GetColorByCmdID(uiCmdID);
}

CPlxColorMenuButton::~CPlxColorMenuButton() = default;

COLORREF CPlxColorMenuButton::GetColorByCmdID(UINT uiCmdID) {
  COLORREF color = (COLORREF)-1;
  m_ColorsByID.Lookup(uiCmdID, color);
  return color;
}

void CPlxColorMenuButton::CopyFrom(const CPlxToolbarButton& src) {
  CPlxToolbarMenuButton::CopyFrom(src);
  const auto* other = dynamic_cast<const CPlxColorMenuButton*>(&src);
  if (other == nullptr) return;
  m_Colors.Copy(other->m_Colors);
  m_Color = other->m_Color;
  m_colorAutomatic = other->m_colorAutomatic;
  m_strAutomaticButtonLabel = other->m_strAutomaticButtonLabel;
  m_strOtherButtonLabel = other->m_strOtherButtonLabel;
  m_strDocumentColorsLabel = other->m_strDocumentColorsLabel;
  m_bIsAutomaticButton = other->m_bIsAutomaticButton;
  m_bIsOtherButton = other->m_bIsOtherButton;
  m_bIsDocumentColors = other->m_bIsDocumentColors;
  m_bStdColorDlg = other->m_bStdColorDlg;
  m_nColumns = other->m_nColumns;
  m_nVertDockColumns = other->m_nVertDockColumns;
  m_nHorzDockRows = other->m_nHorzDockRows;
}

void CPlxColorMenuButton::EnableAutomaticButton(LPCTSTR lpszLabel, COLORREF colorAutomatic, BOOL bEnable) {
  m_bIsAutomaticButton = bEnable;
  m_strAutomaticButtonLabel = lpszLabel != nullptr ? lpszLabel : "";
  m_colorAutomatic = colorAutomatic;
}

void CPlxColorMenuButton::EnableOtherButton(LPCTSTR lpszLabel, BOOL bAltColorDlg, BOOL bEnable) {
  m_bIsOtherButton = bEnable;
  m_strOtherButtonLabel = lpszLabel != nullptr ? lpszLabel : "";
  m_bStdColorDlg = !bAltColorDlg;
}

void CPlxColorMenuButton::EnableDocumentColors(LPCTSTR lpszLabel, BOOL bEnable) {
  m_bIsDocumentColors = bEnable;
  m_strDocumentColorsLabel = lpszLabel != nullptr ? lpszLabel : "";
}

CPlxPopupMenu* CPlxColorMenuButton::CreatePopupMenu() {
  // The popup would refuse to be created in customize mode; a refusal inside creation deletes the
  // popup under its opener, so it is not made at all.
  if (CPlxToolBar::m_bCustomizeMode) return nullptr;
  CList<COLORREF, COLORREF> documentColors(10);
  if (m_bIsDocumentColors && m_pWndParent != nullptr && m_pWndParent->GetSafeHwnd() != nullptr) {
    CFrameWnd* frame = PlxGetToolkitFrame(m_pWndParent).GetFrame();
    if (frame != nullptr && frame->GetSafeHwnd() != nullptr)
      frame->SendMessage(PLX_WM_GETDOCUMENTCOLORS, m_nID, reinterpret_cast<LPARAM>(&documentColors));
  }
  auto* popup =
      new CColorPopup(m_Colors, m_Color, m_bIsAutomaticButton ? (LPCTSTR)m_strAutomaticButtonLabel : nullptr,
                      m_bIsOtherButton ? (LPCTSTR)m_strOtherButtonLabel : nullptr,
                      m_bIsDocumentColors ? (LPCTSTR)m_strDocumentColorsLabel : nullptr, documentColors,
                      m_nColumns, m_nHorzDockRows, m_nVertDockColumns, m_colorAutomatic, m_nID, nullptr);
  popup->m_colorBar.m_bSystemColorDialog = m_bStdColorDlg;
  popup->m_bAllowInCustomize = FALSE;
  return popup;
}

BOOL CPlxColorMenuButton::RunColorDialog(COLORREF colorIn, COLORREF& colorOut) {
  if (m_bStdColorDlg) {
    CColorDialog dialog(colorIn, CC_FULLOPEN | CC_ANYCOLOR);
    if (dialog.DoModal() != IDOK) return FALSE;
    colorOut = dialog.GetColor();
    return TRUE;
  }
  CPlxColorDialog dialog(colorIn);
  if (dialog.DoModal() != IDOK) return FALSE;
  colorOut = dialog.GetColor();
  return TRUE;
}

void CPlxColorMenuButton::SetColor(COLORREF clr, BOOL bNotify) {
  m_Color = clr;
  m_ColorsByID.SetAt(m_nID, clr);
  if (auto* bar = dynamic_cast<CPlxToolBar*>(m_pWndParent); bar != nullptr && bar->GetSafeHwnd() != nullptr) {
    const int index = bar->ButtonToIndex(this);
    if (index >= 0) {
      bar->InvalidateButton(index);
      bar->UpdateWindow();
    }
  }
  if (!bNotify) return;
  CObList twins;
  if (CPlxToolBar::GetCommandButtons(m_nID, twins) > 0) {
    for (POSITION pos = twins.GetHeadPosition(); pos != nullptr;) {
      auto* twin = dynamic_cast<CPlxColorMenuButton*>(twins.GetNext(pos));
      if (twin != nullptr && twin != this) twin->SetColor(clr, FALSE);
    }
  }
  CObList& bars = CPlxToolBar::GetAllToolbars();
  for (POSITION pos = bars.GetHeadPosition(); pos != nullptr;) {
    auto* colorBar = dynamic_cast<CPlxColorBar*>(bars.GetNext(pos));
    if (colorBar != nullptr && colorBar->GetCommandID() == m_nID) colorBar->SetColor(clr);
  }
}
