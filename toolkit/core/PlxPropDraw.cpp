// The per-row drawing of a property: its name, value, expand box, drop-down button and
// description, in the list's fonts and the visual manager's look.
#include <algorithm>

#include "toolkit/bars/PlxToolbarComboBoxButton.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxProp.h"
#include "toolkit/core/PlxPropList.h"
#include "toolkit/core/PlxVisualManager.h"

namespace {

constexpr UINT kCellText = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

}  // namespace

void CPlxProp::DrawName(CDC* pDC, CRect rect) {
  CPlxPropList* list = m_pWndList;
  const BOOL barColors = list->m_bControlBarColors;
  COLORREF oldText = (COLORREF)-1;
  const BOOL groupLook = m_bGroup && list->m_bVSDotNetLook;
  if (IsSelected() && !groupLook) {
    CRect fill = rect;
    fill.top++;
    if (list->m_bFocused) {
      pDC->FillRect(fill, &g_plxGlobalData.brHilite);
      oldText = pDC->SetTextColor(g_plxGlobalData.clrTextHilite);
    } else {
      pDC->FillRect(fill, barColors ? &g_plxGlobalData.brBarFace : &g_plxGlobalData.brBtnFace);
      oldText = pDC->SetTextColor(g_plxGlobalData.clrBtnText);
    }
  }
  if (groupLook) {
    const COLORREF text = list->m_clrGroupText != (COLORREF)-1
                              ? list->m_clrGroupText
                              : CPlxVisualManager::GetInstance()->GetPropListGroupTextColor(list);
    const COLORREF previous = pDC->SetTextColor(text);
    if (oldText == (COLORREF)-1) oldText = previous;
  }
  if (m_pParent && m_pParent->m_bIsValueList) rect.left += rect.Height();
  rect.DeflateRect(4, 0);
  pDC->DrawText(m_strName, rect, kCellText);
  const int textWidth = pDC->GetTextExtent(m_strName).cx;
  m_bNameIsTrancated = textWidth > rect.Width();
  if (IsSelected() && groupLook) {
    const int textHeight = pDC->GetTextExtent(m_strName).cy;
    CRect frame = rect;
    frame.top = rect.top + (rect.Height() - textHeight) / 2;
    frame.bottom = frame.top + textHeight;
    frame.right = frame.left + std::min(textWidth, rect.Width());
    frame.InflateRect(2, 0);
    const COLORREF c = barColors ? g_plxGlobalData.clrBarShadow : g_plxGlobalData.clrBtnShadow;
    pDC->Draw3dRect(frame, c, c);
  }
  if (oldText != (COLORREF)-1) pDC->SetTextColor(oldText);
}

void CPlxProp::DrawValue(CDC* pDC, CRect rect) {
  if ((m_bGroup && !m_bIsValueList) || !HasValueCell()) return;
  CPlxPropList* list = m_pWndList;
  CFont* oldFont = nullptr;
  if (m_bIsModified && list->m_bMarkModifiedProperties) oldFont = pDC->SelectObject(&list->m_fontBold);
  const CString text = FormatValue();
  rect.DeflateRect(4, 0);
  pDC->DrawText(text, rect, kCellText);
  m_bValueIsTrancated = pDC->GetTextExtent(text).cx > rect.Width();
  if (oldFont) pDC->SelectObject(oldFont);
}

void CPlxProp::DrawExpandBox(CDC* pDC, CRect rect) {
  CPlxPropList* list = m_pWndList;
  const CPoint centre = rect.CenterPoint();
  const int half = std::min(rect.Width(), 9) / 2;
  CRect box(centre.x - half, centre.y - half, centre.x - half + 9, centre.y - half + 9);
  if (rect.Width() < 9) box = CRect(centre.x - half, centre.y - half, centre.x + half, centre.y + half);
  if (m_bIsValueList)
    pDC->FillRect(box,
                  list->m_brBackground.GetSafeHandle() ? &list->m_brBackground : &g_plxGlobalData.brWindow);
  const BOOL bar = list->m_bControlBarColors;
  COLORREF colour = bar ? g_plxGlobalData.clrBarShadow : g_plxGlobalData.clrBtnShadow;
  if (list->m_bVSDotNetLook) colour = bar ? g_plxGlobalData.clrBarText : g_plxGlobalData.clrBtnText;
  CPlxVisualManager::GetInstance()->OnDrawExpandingBox(pDC, box, m_bExpanded && !m_lstSubItems.IsEmpty(),
                                                       colour);
}

void CPlxProp::DrawDropButton(CDC* pDC, CRect rect) {
  CPlxPropList* list = m_pWndList;
  pDC->FillRect(rect, list->m_bControlBarColors ? &g_plxGlobalData.brBarFace : &g_plxGlobalData.brBtnFace);
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  if (m_dwFlags & kOptionList) {
    // Managers tell a combo's drop button by the button's class: a temporary one says so.
    CPlxToolbarComboBoxButton button;
    manager->OnDrawComboDropButton(pDC, rect, !m_bEnabled, m_bButtonIsDown, m_bButtonIsDown, &button);
    return;
  }
  pDC->DrawText("...", rect, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  // Nothing in the program shows a browse button; its frame is the plain raised or pressed one.
  const COLORREF light = g_plxGlobalData.clrBtnHilite, dark = g_plxGlobalData.clrBtnShadow;
  pDC->Draw3dRect(rect, m_bButtonIsDown ? dark : light, m_bButtonIsDown ? light : dark);
}

void CPlxProp::DrawDescription(CDC* pDC, CRect rect) {
  CPlxPropList* list = m_pWndList;
  CFont* oldFont = pDC->SelectObject(&list->m_fontBold);
  const int height = pDC->DrawText(m_strName, rect, DT_SINGLELINE | DT_NOPREFIX);
  pDC->SelectObject(CFont::FromHandle(list->SelectListFont(nullptr)));
  rect.top += height + 2;
  pDC->DrawText(m_strDescr, rect, DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
  pDC->SelectObject(oldFont);
}
