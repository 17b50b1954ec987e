// A menu button drawn as a row of a popup menu: image column (image, tool icon, check or radio
// mark, window-command glyph), label, right-aligned shortcut and the sub-menu mark. The visual
// manager fills, frames and marks; this file decides what is asked of it, where and in which order.
#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/mfc/Dc.h"
#include "toolkit/bars/PlxCommandManager.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxButtonImages.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxUserTools.h"
#include "toolkit/core/PlxVisualManager.h"

namespace {

// Commands whose items never show a strip image.
constexpr UINT kNoImageCommands[] = {0x4278, 0x4279};

// The window-command glyph of a system command without an image, or -1.
int WindowCommandGlyph(UINT nID) {
  switch (nID) {
    case 0xF020:
      return CPlxMenuGlyphs::IdMinimize;
    case 0xF120:
      return CPlxMenuGlyphs::IdRestore;
    case 0xF060:
      return CPlxMenuGlyphs::IdClose;
    case 0xF030:
      return CPlxMenuGlyphs::IdMaximize;
    default:
      return -1;
  }
}

}  // namespace

void CPlxToolbarMenuButton::GetImageRect(CRect& rectImage) const {
  const int margin = CPlxVisualManager::GetInstance()->GetMenuImageMargin();
  rectImage = m_rect;
  rectImage.left += margin;
  rectImage.right = rectImage.left + margin + CPlxToolBar::GetMenuImageSize().cx;
}

void CPlxToolbarMenuButton::DrawIconCentered(CDC* pDC, const CRect& rect, HICON hIcon) const {
  CSize size = g_plxGlobalData.sizeSmallIcon;
  if (rect.Width() < size.cx || rect.Height() < size.cy) size = CSize(rect.Width(), rect.Height());
  const int x = rect.left + std::max(0, (rect.Width() - size.cx) / 2);
  const int y = rect.top + std::max(0, (rect.Height() - size.cy) / 2);
  ::DrawIconEx(pDC->GetSafeHdc(), x, y, hIcon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
}

void CPlxToolbarMenuButton::GetGlyphMetrics(int& nImageHalf, int& nGlyphWidth) {
  nImageHalf = CPlxToolBar::GetMenuImageSize().cx / 2 + 3;
  nGlyphWidth = CPlxMenuGlyphs::GetSize().cx;
}

void CPlxToolbarMenuButton::DrawMenuItem(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages,
                                         BOOL bCustomizeMode, BOOL bHighlight, BOOL bGrayDisabledButtons,
                                         BOOL bContentOnly) {
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  auto* popupBar = dynamic_cast<CPlxPopupMenuBar*>(m_pWndParent);
  const CSize sizeImage = CPlxToolBar::GetMenuImageSize();
  const CSize sizeGlyph = CPlxMenuGlyphs::GetSize();
  const int margin = manager->GetMenuImageMargin();

  // A locked bar's own images replace the shared strip.
  PlxImageDrawState drawState;
  CPlxButtonImages* ownImages = nullptr;
  if (popupBar != nullptr && popupBar->m_pRelatedToolbar != nullptr &&
      popupBar->m_pRelatedToolbar->IsLocked()) {
    CPlxToolBar* related = popupBar->m_pRelatedToolbar;
    if (related->m_ownMenuImages.GetCount() > 0)
      ownImages = &related->m_ownMenuImages;
    else if (related->m_ownImages.GetCount() > 0)
      ownImages = &related->m_ownImages;
    if (ownImages != nullptr) {
      pImages = ownImages;
      const BOOL resize = ownImages->GetImageSize() != sizeImage;
      ownImages->PrepareDrawImage(drawState, resize ? sizeImage : CSize(0, 0));
    }
  }

  // What may stand in the image column.
  BOOL stripAllowed = TRUE;
  if (std::find(std::begin(kNoImageCommands), std::end(kNoImageCommands), m_nID) !=
      std::end(kNoImageCommands))
    stripAllowed = FALSE;
  else if (CPlxCommandManager* commands = GetCommandManager();
           commands != nullptr && commands->IsMenuItemWithoutImage(m_nID))
    stripAllowed = FALSE;
  const CPlxUserTool* tool =
      (!m_bUserImage && g_pUserToolsManager != nullptr) ? g_pUserToolsManager->FindTool(m_nID) : nullptr;

  // State and colour.
  const BOOL disabled = bCustomizeMode ? !IsEditable() : (m_nStyle & TBBS_DISABLED) != 0;
  if (m_pPopupMenu != nullptr && !m_bClosePending) bHighlight = TRUE;
  COLORREF clrText = manager->GetMenuItemTextColor(this, bHighlight, disabled);
  BOOL cellBackground = !manager->HasMenuImageStrip();

  if (bHighlight && !bContentOnly && manager->HasMenuImageStrip()) {
    manager->OnHighlightMenuItem(pDC, this, rect, clrText);
    cellBackground = FALSE;
  }
  const BOOL checked = (m_nStyle & TBBS_CHECKED) != 0;
  if (checked && !manager->IsOwnerDrawnMenuCheck()) cellBackground = TRUE;

  // The menu's default command is bold.
  CFont* oldFont = nullptr;
  if (HasRealCommand() && !m_bOpenMenuOnClick && popupBar != nullptr && popupBar->m_uiDefaultItem == m_nID)
    oldFont = pDC->SelectObject(&g_plxGlobalData.fontBold);

  // Image column and cell frame.
  CRect rectImage(rect.left + margin, rect.top, rect.left + 2 * margin + sizeImage.cx, rect.bottom);
  CRect rectFrame;
  if (manager->HasMenuImageStrip()) {
    rectFrame = CRect(rect.left + 2, rect.top + 1, rectImage.right, rect.bottom - 2);
  } else {
    rectFrame = rectImage;
    rectFrame.InflateRect(1, -1);
  }

  // An item that hides its image shows whichever image it has, from now on.
  if (!m_bImage || GetImage() < 0) {
    if (m_iUserImage >= 0) {
      m_bImage = TRUE;
      m_bUserImage = TRUE;
    } else if (m_iImage >= 0) {
      m_bImage = TRUE;
      m_bUserImage = FALSE;
    }
  }

  // The image cell, clipped to the column.
  const int savedDc = pDC->SaveDC();
  pDC->IntersectClipRect(rectImage);
  if (cellBackground && !bContentOnly) {
    CRect interior = rectFrame;
    interior.DeflateRect(1, 1);
    FillInterior(pDC, interior, bHighlight);
  }

  // The image, else whatever the frame draws for it.
  BOOL imageDrawn = FALSE;
  const CPoint at(rectImage.left + (rectImage.Width() - sizeImage.cx) / 2,
                  rectImage.top + (rectImage.Height() - sizeImage.cy) / 2);
  if (tool != nullptr) {
    const CRect iconRect(at, sizeImage);
    tool->DrawToolIcon(pDC->GetSafeHdc(), iconRect);
    imageDrawn = TRUE;
  } else if (stripAllowed && m_bImage && GetImage() >= 0 && pImages != nullptr) {
    const BOOL greyed = disabled && bGrayDisabledButtons && (bCustomizeMode || !(m_nStyle & TBBS_PRESSED));
    const BOOL faded = !bHighlight && manager->m_bFadeInactiveImage;
    if (bHighlight && !bCustomizeMode && manager->m_bShadowHighlightedImage &&
        !g_plxGlobalData.bIsBlackHighContrast && !g_plxGlobalData.bIsWhiteHighContrast && !checked &&
        !disabled) {
      pImages->Draw(pDC, at.x + 1, at.y + 1, GetImage(), FALSE, FALSE, FALSE, TRUE);
      pImages->Draw(pDC, at.x - 1, at.y - 1, GetImage());
    } else {
      pImages->Draw(pDC, at.x, at.y, GetImage(), FALSE, greyed, FALSE, FALSE, faded);
    }
    imageDrawn = TRUE;
  }
  if (!imageDrawn) {
    imageDrawn = PlxGetToolkitFrame(m_pWndParent).OnDrawMenuImage(pDC, this, rectImage);
  }

  pDC->RestoreDC(savedDc);

  // Checked cell and mark; the highlighted image's frame.
  if (checked) {
    if (cellBackground) {
      const UINT styleWas = m_nStyle;
      if (bHighlight && manager->IsHighlightCheckedBorder()) m_nStyle |= TBBS_MARKED;
      manager->OnDrawButtonBorder(pDC, this, rectFrame, PlxButtonPressed);
      m_nStyle = styleWas;
    }
    if (!imageDrawn) manager->OnDrawMenuCheck(pDC, this, rectFrame, bHighlight, m_bRadio);
  } else if (imageDrawn && bHighlight && cellBackground && !bContentOnly) {
    manager->OnDrawButtonBorder(pDC, this, rectFrame, PlxButtonHighlighted);
  }

  // Window-command glyphs.
  rectImage.InflateRect(1, 0);
  if (const int glyph = WindowCommandGlyph(m_nID); glyph >= 0 && !imageDrawn) {
    if (!bContentOnly) {
      CRect interior = rectFrame;
      interior.DeflateRect(1, 1);
      FillInterior(pDC, interior, bHighlight);
    }
    CRect glyphRect = rectImage;
    glyphRect.DeflateRect(margin, margin);
    CPlxMenuGlyphs::Draw(pDC, glyph + (disabled ? 1 : 0), glyphRect);
    if (!bContentOnly && bHighlight) manager->OnDrawButtonBorder(pDC, this, rectFrame, PlxButtonHighlighted);
  }

  // Text area and the highlighted row.
  CRect rectText = rect;
  rectText.left = rectFrame.right + margin + 2;
  if (bHighlight) {
    if (!manager->HasMenuImageStrip()) {
      if (bContentOnly) {
        clrText = manager->GetMenuButtonTextColor(this);
      } else {
        CRect row(checked || imageDrawn ? rectText.left - 1 : rectFrame.left, rectFrame.top, rect.right - 1,
                  rectFrame.bottom);
        manager->OnHighlightMenuItem(pDC, this, row, clrText);
      }
    } else if (bContentOnly) {
      clrText = manager->GetMenuButtonTextColor(this);
    }
  } else if (clrText == (COLORREF)-1 || clrText == 0xFF000000) {
    clrText = disabled ? g_plxGlobalData.clrGrayedText : g_plxGlobalData.clrBtnText;
  }

  // Label and shortcut; a label that does not fit ends in "...".
  CString label = m_strText;
  CString shortcut;
  if (const int tab = label.Find('\t'); tab >= 0) {
    shortcut = label.Mid(tab + 1);
    label = label.Left(tab);
  }
  rectText.left += 3;
  if (!m_bTextFits) {
    const CString dots = "...";
    while (!label.IsEmpty() && pDC->GetTextExtent(label + dots).cx > rectText.Width())
      label = label.Left(label.GetLength() - 1);
    label += dots;
  }

  // A disabled row is embossed when the manager asks for it.
  const BOOL emboss = disabled && !bHighlight && manager->m_bEmbossDisabledImage;
  const COLORREF oldColor = pDC->SetTextColor(clrText);
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  auto drawText = [&](const CString& text, CRect area, UINT format) {
    if (emboss) {
      pDC->SetTextColor(g_plxGlobalData.clrBtnHilite);
      CRect shifted = area;
      shifted.OffsetRect(1, 1);
      pDC->DrawText(text, shifted, format);
      pDC->SetTextColor(clrText);
    }
    pDC->DrawText(text, area, format);
  };
  drawText(label, rectText, DT_SINGLELINE | DT_VCENTER);
  if (!shortcut.IsEmpty()) {
    CRect rectShortcut = rectText;
    rectShortcut.right -= sizeGlyph.cx + 3;
    drawText(shortcut, rectShortcut, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  }

  // Sub-menu mark.
  if (m_nID == (UINT)-1 || m_bArrowPart || m_bOpenMenuOnClick) {
    const char* mark = "4";
    if (m_bShowDownArrow)
      mark = "6";
    else if (m_pWndParent != nullptr && m_pWndParent->GetSafeHwnd() != nullptr &&
             (m_pWndParent->GetExStyle() & WS_EX_LAYOUTRTL))
      mark = "3";
    CFont* previous = pDC->SelectObject(&g_plxGlobalData.fontMarlett);
    CRect rectMark = rect;
    pDC->DrawText(mark, rectMark, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    pDC->SelectObject(previous);
  }

  pDC->SetBkMode(oldMode);
  pDC->SetTextColor(oldColor);
  if (oldFont != nullptr) pDC->SelectObject(oldFont);
  if (ownImages != nullptr) ownImages->EndDrawImage(drawState);
}
