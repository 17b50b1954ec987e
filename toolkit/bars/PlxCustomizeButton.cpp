#include "toolkit/bars/PlxCustomizeButton.h"

#include "platform/mfc/Dc.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManager.h"

IMPLEMENT_SERIAL(CCustomizeButton, CPlxToolbarMenuButton, VERSIONABLE_SCHEMA | 1)

namespace {

constexpr UINT kChevronNameId = 17041;

CSize GlyphSize() {
  CPlxMenuGlyphs::Initialize();
  CSize g = CPlxMenuGlyphs::GetSize();
  if (CPlxToolBar::m_bLargeIcons) g = CSize(g.cx * 2, g.cy * 2);
  return g;
}

}  // namespace

CCustomizeButton::CCustomizeButton(int uiCustomizeCmdId, const CString& strCustomizeText)
    : m_uiCustomizeCmdId(uiCustomizeCmdId), m_strCustomizeText(strCustomizeText) {
  m_bText = FALSE;
  m_bImage = FALSE;
}

void CCustomizeButton::CopyFrom(const CPlxToolbarButton& src) {
  CPlxToolbarMenuButton::CopyFrom(src);
  if (const auto* other = dynamic_cast<const CCustomizeButton*>(&src)) {
    m_uiCustomizeCmdId = other->m_uiCustomizeCmdId;
    m_strCustomizeText = other->m_strCustomizeText;
    m_bIsEmpty = other->m_bIsEmpty;
    m_bUseExtraSize = other->m_bUseExtraSize;
    m_bMenuRightAlign = other->m_bMenuRightAlign;
  }
}

void CCustomizeButton::OnChangeParentWnd(CWnd* pWndParent) {
  CPlxToolbarMenuButton::OnChangeParentWnd(pWndParent);
  m_pWndParentToolbar = dynamic_cast<CPlxToolBar*>(pWndParent);
}

CSize CCustomizeButton::OnCalculateSize(CDC*, const CSize& sizeDefault, BOOL bHorz) {
  if (m_bIsEmpty) return CSize(0, 0);
  if (m_strText.IsEmpty()) m_strText.LoadString(kChevronNameId);
  if (m_pWndParentToolbar != nullptr && m_pWndParentToolbar->IsFloating()) return CSize(0, 0);
  const int m = CPlxVisualManager::GetInstance()->GetCustomizeButtonMargin();
  const CSize g = GlyphSize();
  return bHorz ? CSize(g.cx + 2 * m, sizeDefault.cy) : CSize(sizeDefault.cx, g.cy + 2 * m);
}

void CCustomizeButton::OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages*, BOOL bHorz, BOOL bCustomizeMode,
                              BOOL bHighlight, BOOL, BOOL) {
  if (m_bMenuItem) return;
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  FillInterior(pDC, rect, bHighlight || IsDroppedDown());
  const int m = manager->GetCustomizeButtonMargin();
  const CSize g = GlyphSize();
  const BOOL down = (m_nStyle & (TBBS_CHECKED | TBBS_PRESSED)) || IsDroppedDown();
  const auto place = [&](CRect strip, int glyph) {
    strip.DeflateRect((strip.Width() - g.cx) / 2, (strip.Height() - g.cy) / 2);
    if (down) strip.OffsetRect(1, 1);
    CPlxMenuGlyphs::DrawAtPoint(pDC, glyph, strip.TopLeft(), g);
  };
  if (m_uiCustomizeCmdId > 0) {
    CRect strip = rect;
    if (bHorz)
      strip.top = strip.bottom - 2 * m - g.cy;
    else
      strip.right = strip.left + 2 * m + g.cx;
    place(strip, bHorz ? CPlxMenuGlyphs::IdArowDown : CPlxMenuGlyphs::IdArowLeft);
  }
  if (!m_lstInvisibleButtons.IsEmpty()) {
    CRect strip = rect;
    if (bHorz)
      strip.bottom = strip.top + 2 * m + g.cy;
    else
      strip.left = strip.right - 2 * m - g.cx;
    place(strip, bHorz ? 21 : CPlxMenuGlyphs::IdArowShowAll);
  }
  if (bCustomizeMode) return;
  if (down)
    manager->OnDrawButtonBorder(pDC, this, rect, PlxButtonPressed);
  else if (bHighlight && !(m_nStyle & (TBBS_CHECKED | TBBS_DISABLED | TBBS_INDETERMINATE)))
    manager->OnDrawButtonBorder(pDC, this, rect, PlxButtonHighlighted);
}

CCustomizeButton::~CCustomizeButton() = default;
void CCustomizeButton::OnCancelMode() {
  CPlxToolbarMenuButton::OnCancelMode();
}
CPlxPopupMenu* CCustomizeButton::CreatePopupMenu() {
  return nullptr;
}
BOOL CCustomizeButton::InvokeCommand(CPlxPopupMenuBar*, const CPlxToolbarButton*) {
  return FALSE;
}
CPlxToolbarButton* CCustomizeButton::GetLinkedButton(const CPlxToolbarButton*) const {
  return nullptr;
}
