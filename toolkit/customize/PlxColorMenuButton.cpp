// The colour menu button: its popup, its colour and its twins, the colour dialog it opens.
#include "toolkit/customize/PlxColorMenuButton.h"

#include "platform/comdlg/CommonDialogs.h"
#include "platform/mfc/Dc.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxMenuTempStore.h"
#include "toolkit/bars/PlxPopupMenuBar.h"
#include "toolkit/core/PlxButtonImages.h"
#include "toolkit/core/PlxColorPopup.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManagerXP.h"
#include "toolkit/core/PlxWorkspace.h"
#include "toolkit/customize/PlxColorDialog.h"

IMPLEMENT_SERIAL(CPlxColorMenuButton, CPlxToolbarMenuButton, VERSIONABLE_SCHEMA | 1)

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
  m_ColorsByID.SetAt(m_nID, m_Color);
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

namespace {

// Data of this version always holds the dock values; a workspace that read an older version
// says they are missing. Without a workspace, or before one read a version, the data is ours.
BOOL ArchiveHasDockValues() {
  if (CPlxMenuTempStore::m_bSerializing) return TRUE;
  CPlxWorkspace* workspace = CPlxWorkspace::GetWorkspace();
  const int version = workspace != nullptr ? workspace->GetDataVersion() : -1;
  return version < 0 || version >= CPlxColorMenuButton::kDockValuesVersion;
}

}  // namespace

void CPlxColorMenuButton::Serialize(CArchive& ar) {
  CPlxToolbarMenuButton::Serialize(ar);
  if (ar.IsStoring()) {
    ar << static_cast<DWORD>(m_Colors.GetSize());
    for (int i = 0; i < m_Colors.GetSize(); ++i) ar << static_cast<DWORD>(m_Colors[i]);
    ar << static_cast<DWORD>(m_nColumns) << static_cast<DWORD>(m_nVertDockColumns)
       << static_cast<DWORD>(m_nHorzDockRows);
    ar << static_cast<DWORD>(m_bIsAutomaticButton) << static_cast<DWORD>(m_bIsOtherButton)
       << static_cast<DWORD>(m_bIsDocumentColors);
    ar << m_strAutomaticButtonLabel << m_strOtherButtonLabel << m_strDocumentColorsLabel;
    ar << static_cast<DWORD>(m_colorAutomatic) << static_cast<DWORD>(m_bStdColorDlg);
    return;
  }
  DWORD count = 0;
  ar >> count;
  // The count comes from the data: colours are read one by one, so a damaged count runs into the
  // end of the data (an exception) instead of sizing an allocation.
  CArray<COLORREF, COLORREF> colors;
  for (DWORD i = 0; i < count; ++i) {
    DWORD color = 0;
    ar >> color;
    colors.Add(color);
  }
  m_Colors.Copy(colors);
  DWORD value = 0;
  ar >> value;
  m_nColumns = static_cast<int>(value);
  m_nVertDockColumns = -1;
  m_nHorzDockRows = -1;
  if (ArchiveHasDockValues()) {
    ar >> value;
    m_nVertDockColumns = static_cast<int>(value);
    ar >> value;
    m_nHorzDockRows = static_cast<int>(value);
  }
  ar >> value;
  m_bIsAutomaticButton = static_cast<BOOL>(value);
  ar >> value;
  m_bIsOtherButton = static_cast<BOOL>(value);
  ar >> value;
  m_bIsDocumentColors = static_cast<BOOL>(value);
  ar >> m_strAutomaticButtonLabel >> m_strOtherButtonLabel >> m_strDocumentColorsLabel;
  ar >> value;
  m_colorAutomatic = value;
  ar >> value;
  m_bStdColorDlg = static_cast<BOOL>(value);

  // A twin already on a toolbar knows the colour chosen since.
  CObList twins;
  if (CPlxToolBar::GetCommandButtons(m_nID, twins) > 0) {
    for (POSITION pos = twins.GetHeadPosition(); pos != nullptr;) {
      auto* twin = dynamic_cast<CPlxColorMenuButton*>(twins.GetNext(pos));
      if (twin != nullptr && twin != this && twin->m_Color != (COLORREF)-1) m_Color = twin->m_Color;
    }
  }
}

void CPlxColorMenuButton::OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz,
                                 BOOL bCustomizeMode, BOOL bHighlight, BOOL bDrawBorder,
                                 BOOL bGrayDisabledButtons) {
  CPlxToolbarMenuButton::OnDraw(pDC, rect, pImages, bHorz, bCustomizeMode, bHighlight, bDrawBorder,
                                bGrayDisabledButtons);
  m_rectStrip.SetRectEmpty();
  if (!m_bImage || GetImage() < 0 || pImages == nullptr) return;

  CPalette* oldPalette = nullptr;
  if (g_plxGlobalData.nBitsPerPixel == 8) {
    if (m_Palette.GetSafeHandle() == nullptr) CPlxColorBar::CreatePalette(m_Colors, m_Palette);
    oldPalette = pDC->SelectPalette(&m_Palette, FALSE);
    pDC->RealizePalette();
  } else if (m_Palette.GetSafeHandle() != nullptr) {
    m_Palette.DeleteObject();
  }

  const BOOL large = CPlxToolBar::IsLargeIcons() && !m_bMenuItem;
  CRect strip = pImages->GetLastImageRect();
  strip.top = strip.bottom - (large ? 10 : 5);
  strip.OffsetRect(0, 1);

  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  const BOOL raised = bHighlight && !bCustomizeMode && manager != nullptr &&
                      manager->m_bShadowHighlightedImage && !g_plxGlobalData.bIsBlackHighContrast &&
                      !g_plxGlobalData.bIsWhiteHighContrast &&
                      (m_nStyle & (TBBS_CHECKED | TBBS_PRESSED | TBBS_DISABLED)) == 0;
  if (raised) {
    pDC->FillSolidRect(strip, g_plxGlobalData.clrBarShadow);
    const int lift = large ? 2 : 1;
    strip.OffsetRect(-lift, -lift);
  }

  COLORREF color = g_plxGlobalData.clrBarShadow;
  if ((m_nStyle & TBBS_DISABLED) == 0) color = m_Color == (COLORREF)-1 ? m_colorAutomatic : m_Color;
  {
    CBrush brush;
    brush.CreateSolidBrush(PALETTERGB(GetRValue(color), GetGValue(color), GetBValue(color)));
    CBrush* oldBrush = pDC->SelectObject(&brush);
    CGdiObject* oldPen = pDC->SelectStockObject(NULL_PEN);
    pDC->FillRect(strip, &brush);
    pDC->SelectObject(oldPen);
    pDC->SelectObject(oldBrush);
  }
  const BOOL flat = manager != nullptr && manager->IsKindOf(RUNTIME_CLASS(CPlxVisualManagerXP));
  if (flat) {
    if (color == g_plxGlobalData.clrBarFace) {
      CBrush frame;
      frame.CreateSolidBrush(g_plxGlobalData.clrBarDkShadow);
      pDC->FrameRect(strip, &frame);
    }
  } else {
    pDC->Draw3dRect(strip, g_plxGlobalData.clrBarShadow, g_plxGlobalData.clrBarLight);
  }
  m_rectStrip = strip;
  m_clrStrip = color;
  if (oldPalette != nullptr) pDC->SelectPalette(oldPalette, FALSE);
}

int CPlxColorMenuButton::OnDrawOnCustomizeList(CDC* pDC, const CRect& rect, BOOL bSelected) {
  // Drawn as a command-less item, so that the list always shows the sub-menu arrow.
  const UINT id = m_nID;
  m_nID = 0;
  const int width = CPlxToolbarMenuButton::OnDrawOnCustomizeList(pDC, rect, bSelected);
  m_nID = id;
  return width;
}

void CPlxColorMenuButton::OnChangeParentWnd(CWnd* pWndParent) {
  CPlxToolbarButton::OnChangeParentWnd(pWndParent);
  if (dynamic_cast<CPlxPopupMenuBar*>(pWndParent) != nullptr) {
    m_bMenuItem = TRUE;
    m_bText = TRUE;
  } else {
    if (dynamic_cast<CPlxMenuBar*>(pWndParent) != nullptr) m_bText = TRUE;
    m_bMenuItem = FALSE;
  }
  m_pWndParent = pWndParent;
  // The image stays as it is (a menu button would drop it), so the strip stays visible.
  m_bArrowPart = TRUE;
}
