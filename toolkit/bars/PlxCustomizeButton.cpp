#include "toolkit/bars/PlxCustomizeButton.h"

#include "platform/mfc/Dc.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/user/Menu.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxUserTools.h"
#include "toolkit/core/PlxVisualManager.h"

IMPLEMENT_SERIAL(CCustomizeButton, CPlxToolbarMenuButton, VERSIONABLE_SCHEMA | 1)

namespace {

constexpr UINT kChevronNameId = 17041;
constexpr UINT kDefaultToolbarNameId = 16104;
constexpr UINT kAddRemoveTextId = 17021;

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

CCustomizeButton::~CCustomizeButton() {
  m_links.clear();
  m_lstInvisibleButtons.RemoveAll();  // borrowed
}

void CCustomizeButton::OnChangeParentWnd(CWnd* pWndParent) {
  CPlxToolbarMenuButton::OnChangeParentWnd(pWndParent);
  m_pWndParentToolbar = dynamic_cast<CPlxToolBar*>(pWndParent);
  m_pWndParent = pWndParent;
  m_bText = FALSE;
  m_bIsEmpty = FALSE;
}

void CCustomizeButton::OnCancelMode() {
  CPlxToolbarMenuButton::OnCancelMode();
  if (m_sizeExtra != CSize(0, 0) && m_pWndParentToolbar != nullptr) {
    const int index = m_pWndParentToolbar->ButtonToIndex(this);
    if (index >= 0) m_pWndParentToolbar->InvalidateButton(index);
  }
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
    if (down && !manager->m_bFlatMenuButtons) strip.OffsetRect(1, 1);
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

// ---- the popup ----

namespace {

CString LoadText(UINT nID) {
  CString text;
  text.LoadString(nID);
  return text;
}

// The bars the add-or-remove sub-menu lists: those of this bar's dock row that offer it, or the
// bar alone when it is not docked.
std::vector<CPlxToolBar*> AddRemoveBars(CPlxToolBar* pBar) {
  std::vector<CPlxToolBar*> bars;
  CDockBar* dock = pBar->m_pDockBar;
  if (dock == nullptr || dock->m_bFloating) {
    bars.push_back(pBar);
    return bars;
  }
  // A null entry ends a row; small values are placeholders of bars not yet created.
  std::vector<CPlxToolBar*> row;
  BOOL ours = FALSE;
  const auto endRow = [&] {
    if (ours) bars = row;
    row.clear();
    ours = FALSE;
  };
  for (CControlBar* entry : dock->m_arrBars) {
    if (entry == nullptr) {
      endRow();
      if (!bars.empty()) break;
      continue;
    }
    if (reinterpret_cast<UINT_PTR>(entry) <= 0xFFFF) continue;
    if (entry == pBar) ours = TRUE;
    auto* toolbar = dynamic_cast<CPlxToolBar*>(entry);
    if (toolbar != nullptr && toolbar->m_bChevronAddRemove) row.push_back(toolbar);
  }
  if (bars.empty()) endRow();
  if (bars.empty()) bars.push_back(pBar);
  return bars;
}

// The combo-box button kind is found by its record, which the chevron does not otherwise need.
BOOL IsComboBoxButton(const CPlxToolbarButton* pButton) {
  const CRuntimeClass* combo = CRuntimeClass::FromName("CPlxToolbarComboBoxButton");
  return combo != nullptr && pButton->GetRuntimeClass()->IsDerivedFrom(combo);
}

}  // namespace

CPlxToolbarButton* CCustomizeButton::GetLinkedButton(const CPlxToolbarButton* pItem) const {
  if (pItem == nullptr || m_pWndParentToolbar == nullptr) return nullptr;
  for (const ItemLink& link : m_links) {
    if (link.pItem != pItem) continue;
    // The bar may have dropped the button since the popup opened.
    return m_pWndParentToolbar->ButtonToIndex(link.pButton) >= 0 ? link.pButton : nullptr;
  }
  return nullptr;
}

CPlxPopupMenu* CCustomizeButton::CreatePopupMenu() {
  if (CPlxToolBar::m_bCustomizeMode || CPlxToolBar::m_bAltDragActive) return nullptr;
  m_links.clear();
  CPlxToolBar* bar = m_pWndParentToolbar;
  auto* popup = new CPlxPopupMenu;
  const BOOL locked = bar == nullptr || bar->IsLocked();
  if (bar != nullptr && bar->IsLocked()) popup->GetMenuBar()->m_pRelatedToolbar = bar;
  const BOOL rtl = bar != nullptr && bar->GetSafeHwnd() != nullptr && (bar->GetExStyle() & WS_EX_LAYOUTRTL);
  popup->SetRightAlign(m_bMenuRightAlign && !rtl);

  BOOL inserted = FALSE;
  for (POSITION pos = m_lstInvisibleButtons.GetHeadPosition(); pos != nullptr;) {
    auto* hidden = static_cast<CPlxToolbarButton*>(m_lstInvisibleButtons.GetNext(pos));
    if (hidden == nullptr) continue;
    const int image = locked ? -1 : (hidden->m_bUserImage ? hidden->m_iUserImage : hidden->m_iImage);
    int index = -1;
    if (hidden->m_nStyle & TBBS_SEPARATOR) {
      if (!inserted || pos == nullptr) continue;
      index = popup->InsertSeparator();
    } else if (auto* menuButton = dynamic_cast<CPlxToolbarMenuButton*>(hidden)) {
      index = popup->InsertItem(*menuButton);
    } else if (hidden->m_nID != 0) {
      index = popup->InsertItem(
          CPlxToolbarMenuButton(hidden->m_nID, nullptr, image, hidden->m_strText, hidden->m_bUserImage));
    } else {
      index = popup->InsertSeparator();
    }
    if (index < 0) continue;
    inserted = TRUE;
    CPlxToolbarButton* item = popup->GetMenuBar()->GetButton(index);
    if (item == nullptr) continue;
    if ((item->m_strText.IsEmpty() || IsComboBoxButton(hidden)) && item->m_nID != 0) {
      CString resource;
      if (resource.LoadString(item->m_nID)) {
        const int newline = resource.Find('\n');
        if (newline >= 0) item->m_strText = resource.Mid(newline + 1);
      }
    }
    item->m_bText = TRUE;
    if (!(item->m_nStyle & TBBS_SEPARATOR)) m_links.push_back({item, hidden});
  }

  if (m_uiCustomizeCmdId > 0) {
    if (!m_lstInvisibleButtons.IsEmpty()) popup->InsertSeparator();
    if (bar != nullptr && bar->m_bChevronAddRemove) {
      auto* list = new CPlxPopupMenu;
      for (CPlxToolBar* listed : AddRemoveBars(bar)) {
        CString name;
        if (listed->GetSafeHwnd() != nullptr) listed->GetWindowText(name);
        name.Trim();
        if (name.IsEmpty()) name = LoadText(kDefaultToolbarNameId);
        auto* placeholder = new CPlxPopupMenu;
        CString id;
        id.Format("%d", listed->GetSafeHwnd() != nullptr ? listed->GetDlgCtrlID() : 0);
        placeholder->InsertItem(CPlxToolbarMenuButton(1, nullptr, -1, id));
        HMENU barMenu = placeholder->GetMenuBar()->ExportToPlainMenu();
        list->InsertItem(CPlxToolbarMenuButton((UINT)-1, barMenu, -1, name));
        if (barMenu != nullptr) ::DestroyMenu(barMenu);
        delete placeholder;
      }
      list->InsertItem(CPlxToolbarMenuButton(m_uiCustomizeCmdId, nullptr, -1, m_strCustomizeText));
      HMENU listMenu = list->GetMenuBar()->ExportToPlainMenu();
      CPlxToolbarMenuButton addRemove((UINT)-1, listMenu, -1, LoadText(kAddRemoveTextId));
      addRemove.m_bShowDownArrow = TRUE;
      popup->InsertItem(addRemove);
      if (listMenu != nullptr) ::DestroyMenu(listMenu);
      delete list;
      popup->SetQuickCustomize();
      popup->m_nQuickCustomizeKind = 1;
    } else {
      popup->InsertItem(CPlxToolbarMenuButton(m_uiCustomizeCmdId, nullptr, -1, m_strCustomizeText));
    }
  }

  if (bar != nullptr) {
    CWnd* target = bar->m_hWndOwner != nullptr ? CWnd::FromHandle(bar->m_hWndOwner) : bar->GetParent();
    popup->m_pMessageWnd = target;
  }
  return popup;
}

BOOL CCustomizeButton::InvokeCommand(CPlxPopupMenuBar* pMenuBar, const CPlxToolbarButton* pItem) {
  CPlxToolBar* bar = m_pWndParentToolbar;
  if (bar == nullptr || pMenuBar == nullptr || pMenuBar->ButtonToIndex(pItem) < 0) return FALSE;
  if (CPlxPopupMenu* tracked = CPlxPopupMenu::m_pActiveTracked;
      tracked != nullptr && ::IsWindow(tracked->GetSafeHwnd()))
    tracked->PostMessage(WM_CLOSE);

  // The item's own link, not its position: skipped separators and refused buttons leave no item.
  CPlxToolbarButton* hidden = GetLinkedButton(pItem);
  if (hidden == nullptr) return FALSE;

  const UINT id = hidden->m_nID;
  if (bar->OnSendCommand(hidden) || id == 0 || id == (UINT)-1) return TRUE;
  CPlxToolBar::m_commandUsage.AddCmd(id);
  if (hidden->OnClickUp()) return TRUE;
  if (g_pUserToolsManager != nullptr && g_pUserToolsManager->InvokeTool(id)) return TRUE;
  CWnd* target = bar->m_hWndOwner != nullptr ? CWnd::FromHandle(bar->m_hWndOwner) : bar->GetParent();
  if (target != nullptr && target->GetSafeHwnd() != nullptr) target->PostMessage(WM_COMMAND, id, 0);
  return TRUE;
}
