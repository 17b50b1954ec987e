// The menu button: its sub-items, their native menu form both ways, the popup it opens and its
// bar-mode look. The menu-row look is in PlxMenuItemDraw.cpp.
#include <algorithm>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/WinApp.h"
#include "platform/user/Menu.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxTearOffIdPool.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxKeyboardManager.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManager.h"

IMPLEMENT_SERIAL(CPlxToolbarMenuButton, CPlxToolbarButton, VERSIONABLE_SCHEMA | 1)

namespace {

constexpr UINT kSystemCommandFirst = 0xF000;
constexpr UINT kSystemCommandLast = 0xF1EF;

// The frame whose accelerators give a menu item its shortcut text.
CFrameWnd* ShortcutFrame(CWnd* pWndParent) {
  if (g_pTopLevelFrame != nullptr) return g_pTopLevelFrame;
  if (pWndParent != nullptr && pWndParent->GetSafeHwnd() != nullptr)
    return dynamic_cast<CFrameWnd*>(pWndParent->GetTopLevelParent());
  return dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
}

}  // namespace

CPlxToolbarMenuButton::CPlxToolbarMenuButton() = default;

CPlxToolbarMenuButton::CPlxToolbarMenuButton(UINT uiID, HMENU hMenu, int iImage, LPCTSTR lpszText,
                                             BOOL bUserButton) {
  m_nID = uiID;
  m_bUserImage = bUserButton;
  SetImage(iImage);
  m_strText = lpszText != nullptr ? lpszText : "";
  CreateFromMenu(hMenu);
}

CPlxToolbarMenuButton::~CPlxToolbarMenuButton() {
  // The popup lives on; it must not reach back into a deleted item.
  if (m_pPopupMenu != nullptr) m_pPopupMenu->m_pParentBtn = nullptr;
  SetTearOff(0);
  DeleteSubItems();
}

void CPlxToolbarMenuButton::DeleteSubItems() {
  while (!m_lstSubItems.IsEmpty()) delete m_lstSubItems.RemoveHead();
}

void CPlxToolbarMenuButton::OnChangeParentWnd(CWnd* pWndParent) {
  CPlxToolbarButton::OnChangeParentWnd(pWndParent);
  if (pWndParent != nullptr) {
    const BOOL hasSubItems = !m_lstSubItems.IsEmpty();
    if (dynamic_cast<CPlxMenuBar*>(pWndParent) != nullptr) {
      m_bArrowPart = (m_nID != 0 && hasSubItems);
      m_bText = TRUE;
      m_bImage = FALSE;
    } else {
      m_bArrowPart = (m_nID == 0 || hasSubItems);
    }
    if (dynamic_cast<CPlxPopupMenuBar*>(pWndParent) != nullptr) {
      m_bMenuItem = TRUE;
      m_bText = TRUE;
      m_bImage = FALSE;
      m_bArrowPart = (m_nID == 0 || hasSubItems);
    } else {
      m_bMenuItem = FALSE;
    }
  }
  m_pWndParent = pWndParent;
}

void CPlxToolbarMenuButton::CreateFromMenu(HMENU hMenu) {
  DeleteSubItems();
  if (!::IsMenu(hMenu)) return;
  const UINT defaultItem = ::GetMenuDefaultItem(hMenu, FALSE, GMDI_USEDISABLED);
  const int count = ::GetMenuItemCount(hMenu);
  for (int i = 0; i < count; ++i) {
    auto* item = static_cast<CPlxToolbarMenuButton*>(GetRuntimeClass()->CreateObject());
    if (item == nullptr) continue;
    item->m_nID = ::GetMenuItemID(hMenu, i);
    const int length = ::GetMenuString(hMenu, i, nullptr, 0, MF_BYPOSITION);
    if (length > 0) {
      std::vector<char> text(2 * length + 2, '\0');
      ::GetMenuString(hMenu, i, text.data(), static_cast<int>(text.size()), MF_BYPOSITION);
      item->m_strText = text.data();
    }
    if (item->m_nID == (UINT)-1) item->CreateFromMenu(::GetSubMenu(hMenu, i));
    if (item->m_nID == defaultItem && defaultItem != (UINT)-1) item->m_bDefaultItem = TRUE;
    const UINT state = ::GetMenuState(hMenu, i, MF_BYPOSITION);
    if (state & MF_MENUBREAK) item->m_nStyle |= PLX_TBBS_BREAK;
    if (state & (MF_GRAYED | MF_DISABLED)) item->m_nStyle |= TBBS_DISABLED;
    m_lstSubItems.AddTail(item);
  }
}

HMENU CPlxToolbarMenuButton::ExportToMenu() const {
  if (m_lstSubItems.IsEmpty() && HasRealCommand() && !m_bOpenMenuOnClick) return nullptr;
  HMENU menu = ::CreatePopupMenu();
  if (menu == nullptr) return nullptr;
  UINT defaultId = (UINT)-1;
  for (POSITION pos = m_lstSubItems.GetHeadPosition(); pos != nullptr;) {
    const auto* item = static_cast<const CPlxToolbarMenuButton*>(m_lstSubItems.GetNext(pos));
    BOOL appended = TRUE;
    if (item->m_nID == 0) {
      appended = ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      UINT flags = MF_STRING;
      if (item->m_nStyle & PLX_TBBS_BREAK) flags |= MF_MENUBREAK;
      if (item->m_nStyle & TBBS_DISABLED) flags |= MF_DISABLED;
      if (item->IsTearOffMenu()) flags |= MF_MENUBARBREAK;
      if (item->m_nID == (UINT)-1) {
        HMENU sub = item->ExportToMenu();
        appended = sub != nullptr &&
                   ::AppendMenu(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), item->m_strText);
        if (!appended && sub != nullptr) ::DestroyMenu(sub);
      } else {
        appended = ::AppendMenu(menu, flags, item->m_nID, item->m_strText);
        if (item->m_bDefaultItem) defaultId = item->m_nID;
      }
    }
    if (!appended) {
      ::DestroyMenu(menu);
      return nullptr;
    }
  }
  if (defaultId != (UINT)-1) ::SetMenuDefaultItem(menu, defaultId, FALSE);
  return menu;
}

void CPlxToolbarMenuButton::Serialize(CArchive& ar) {
  CPlxToolbarButton::Serialize(ar);
  if (ar.IsStoring()) {
    ar << static_cast<DWORD>(m_nTearOffID);
  } else {
    DeleteSubItems();
    DWORD id = 0;
    ar >> id;
    SetTearOff(id);
  }
  m_lstSubItems.Serialize(ar);
  if (ar.IsLoading()) {
    // Sub-items are menu items of some kind; anything else in the record is dropped.
    for (POSITION pos = m_lstSubItems.GetHeadPosition(); pos != nullptr;) {
      const POSITION at = pos;
      CObject* object = m_lstSubItems.GetNext(pos);
      if (dynamic_cast<CPlxToolbarMenuButton*>(object) == nullptr) {
        delete object;
        m_lstSubItems.RemoveAt(at);
      }
    }
  }
}

void CPlxToolbarMenuButton::CopyFrom(const CPlxToolbarButton& src) {
  CPlxToolbarButton::CopyFrom(src);
  const auto* menu = dynamic_cast<const CPlxToolbarMenuButton*>(&src);
  if (menu == nullptr) return;
  m_bDefaultItem = menu->m_bDefaultItem;
  m_bOpenMenuOnClick = menu->m_bOpenMenuOnClick;
  m_bRadio = menu->m_bRadio;
  m_pWndMessage = menu->m_pWndMessage;
  m_bShowDownArrow = menu->m_bShowDownArrow;
  m_bOpenToRight = menu->m_bOpenToRight;
  SetTearOff(menu->m_nTearOffID);
  DeleteSubItems();
  for (POSITION pos = menu->m_lstSubItems.GetHeadPosition(); pos != nullptr;) {
    const auto* source = static_cast<const CPlxToolbarMenuButton*>(menu->m_lstSubItems.GetNext(pos));
    auto* copy = static_cast<CPlxToolbarMenuButton*>(source->GetRuntimeClass()->CreateObject());
    if (copy == nullptr) continue;
    copy->CopyFrom(*source);
    m_lstSubItems.AddTail(copy);
  }
}

BOOL CPlxToolbarMenuButton::CompareWith(const CPlxToolbarButton& other) const {
  if (m_nID != other.m_nID) return FALSE;
  const auto* menu = dynamic_cast<const CPlxToolbarMenuButton*>(&other);
  if (menu == nullptr || m_lstSubItems.GetCount() != menu->m_lstSubItems.GetCount()) return FALSE;
  POSITION mine = m_lstSubItems.GetHeadPosition();
  POSITION theirs = menu->m_lstSubItems.GetHeadPosition();
  while (mine != nullptr && theirs != nullptr) {
    const auto* a = static_cast<const CPlxToolbarButton*>(m_lstSubItems.GetNext(mine));
    const auto* b = static_cast<const CPlxToolbarButton*>(menu->m_lstSubItems.GetNext(theirs));
    if (!a->CompareWith(*b)) return FALSE;
  }
  return TRUE;
}

void CPlxToolbarMenuButton::SetTearOff(UINT uiBarID) {
  if (m_nTearOffID == uiBarID) return;
  // The pool counts the items holding each id.
  if (g_pTearOffIdPool != nullptr) {
    if (m_nTearOffID != 0) g_pTearOffIdPool->SetUsed(m_nTearOffID, FALSE);
    if (uiBarID != 0) g_pTearOffIdPool->SetUsed(uiBarID, TRUE);
  }
  m_nTearOffID = uiBarID;
}

void CPlxToolbarMenuButton::RedrawWithShadow(UINT nFlags) {
  if (m_pWndParent == nullptr || m_pWndParent->GetSafeHwnd() == nullptr) return;
  CRect rect = m_rect;
  const int shadow = CPlxVisualManager::GetInstance()->m_nMenuShadowDepth;
  rect.InflateRect(shadow, shadow);
  m_pWndParent->RedrawWindow(rect, nullptr, nFlags);
}

BOOL CPlxToolbarMenuButton::OnClick(CWnd* pWnd, BOOL bDelay) {
  m_bClickedOnArrow = FALSE;
  if (!m_bMenuItem && m_bArrowPart && !bDelay) {
    if (HasRealCommand()) {
      CPoint point;
      ::GetCursorPos(&point);
      if (pWnd != nullptr) pWnd->ScreenToClient(&point);
      m_bClickedOnArrow = m_rectArrow.PtInRect(point);
      if (!m_bClickedOnArrow) return FALSE;
    } else {
      m_bClickedOnArrow = TRUE;
    }
  }
  if (!m_bClickedOnArrow && HasRealCommand() && !m_bArrowPart && !m_bOpenMenuOnClick) return FALSE;

  auto* menuBar = dynamic_cast<CPlxMenuBar*>(m_pWndParent);
  if (m_pPopupMenu != nullptr) {
    m_pPopupMenu->m_bCloseParentOnDestroy = FALSE;
    CPlxPopupMenu* popup = m_pPopupMenu;
    m_pPopupMenu = nullptr;
    popup->DestroyWindow();
    if (menuBar != nullptr) menuBar->SetHot(nullptr);
  } else {
    auto* popupBar = dynamic_cast<CPlxPopupMenuBar*>(m_pWndParent);
    if (bDelay && popupBar != nullptr && !CPlxToolBar::m_bCustomizeMode) {
      // A sub-menu opens after the menu show delay, unless the pointer moves on first.
      popupBar->OpenSubMenuDelayed(this);
      return TRUE;
    } else {
      if (menuBar != nullptr) {
        if (CPlxToolbarMenuButton* dropped = menuBar->GetDroppedDownMenu(); dropped != nullptr)
          dropped->OnCancelMode();
      }
      if (!OpenPopupMenu(pWnd)) return FALSE;
    }
    if (menuBar != nullptr) menuBar->SetHot(this);
  }
  RedrawWithShadow(RDW_INVALIDATE | RDW_FRAME);
  return TRUE;
}

BOOL CPlxToolbarMenuButton::OpenPopupMenu(CWnd* pWnd) {
  if (m_pPopupMenu != nullptr) return FALSE;
  if (pWnd == nullptr) pWnd = m_pWndParent;
  HMENU hMenu = ExportToMenu();
  if (hMenu == nullptr && !IsEmptyMenuAllowed()) return FALSE;
  m_pPopupMenu = CreatePopupMenu();
  if (m_pPopupMenu == nullptr) {
    if (hMenu != nullptr) ::DestroyMenu(hMenu);
    return FALSE;
  }
  if (m_pPopupMenu->GetMenuItemCount() > 0 && hMenu != nullptr) {
    ::DestroyMenu(hMenu);
    hMenu = nullptr;
  }

  CPoint point;
  int direction = CPlxPopupMenu::DROP_DIRECTION_BOTTOM;
  CRect rect = m_rect;
  auto* menuBar = dynamic_cast<CPlxMenuBar*>(m_pWndParent);
  if (dynamic_cast<CPlxPopupMenuBar*>(m_pWndParent) != nullptr) {
    CPoint top(rect.left, rect.top - 2);
    if (pWnd != nullptr) pWnd->ClientToScreen(&top);
    CRect barWindow;
    m_pWndParent->GetWindowRect(&barWindow);
    const int offset = CPlxVisualManager::GetInstance()->GetPopupMenuOffset();
    if (m_pWndParent->GetExStyle() & WS_EX_LAYOUTRTL) {
      point = CPoint(barWindow.left - offset, top.y);
      direction = CPlxPopupMenu::DROP_DIRECTION_LEFT;
    } else {
      point = CPoint(barWindow.right + offset, top.y);
      direction = CPlxPopupMenu::DROP_DIRECTION_RIGHT;
    }
  } else {
    if (pWnd != nullptr) pWnd->ClientToScreen(&rect);
    if (menuBar != nullptr && (menuBar->GetBarStyle() & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) == 0) {
      point = CPoint(rect.right, rect.top);
      direction = CPlxPopupMenu::DROP_DIRECTION_RIGHT;
    } else if (m_bOpenToRight) {
      point = CPoint(rect.right - 1, rect.top);
    } else if (m_pPopupMenu->m_bRightAlign) {
      point = CPoint(rect.right - 1, rect.bottom - 1);
    } else {
      point = CPoint(rect.left, rect.bottom - 1);
    }
  }

  CPlxPopupMenu* const popup = m_pPopupMenu;
  popup->m_pParentBtn = this;
  popup->m_nDropDirection = direction;
  // A popup that fails has deleted itself (a failed creation ends as a destroyed window does), and
  // one may close before Create returns; either way it is not read again. A popup clears
  // m_pPopupMenu as its window goes, so a changed pointer means it is gone.
  if (!popup->Create(pWnd, point.x, point.y, hMenu, FALSE, FALSE)) {
    if (hMenu != nullptr) ::DestroyMenu(hMenu);
    m_pPopupMenu = nullptr;
    return FALSE;
  }
  if (m_pPopupMenu != popup) return FALSE;
  if (m_pWndMessage != nullptr) {
    popup->m_pMessageWnd = m_pWndMessage;
  } else if (pWnd != nullptr) {
    auto* parentPopup = dynamic_cast<CPlxPopupMenu*>(pWnd->GetParent());
    if (parentPopup != nullptr && parentPopup->m_pMessageWnd != nullptr)
      popup->m_pMessageWnd = parentPopup->m_pMessageWnd;
  }
  return TRUE;
}

CPlxPopupMenu* CPlxToolbarMenuButton::CreatePopupMenu() {
  return new CPlxPopupMenu;
}

BOOL CPlxToolbarMenuButton::IsDroppedDown() const {
  return m_pPopupMenu != nullptr;
}

void CPlxToolbarMenuButton::OnCancelMode() {
  if (m_pPopupMenu != nullptr && ::IsWindow(m_pPopupMenu->GetSafeHwnd())) {
    if (m_pPopupMenu->InCommand()) return;
    m_pPopupMenu->CancelSubMenus();
    m_pPopupMenu->SaveToParentItems();
    m_pPopupMenu->m_bCloseParentOnDestroy = FALSE;
    m_pPopupMenu->CloseMenu(FALSE);
  }
  m_pPopupMenu = nullptr;
  if (m_pWndParent != nullptr && ::IsWindow(m_pWndParent->GetSafeHwnd()))
    RedrawWithShadow(RDW_INVALIDATE | RDW_UPDATENOW);
  m_bClosePending = FALSE;
}

BOOL CPlxToolbarMenuButton::OnBeforeDrag() const {
  if (m_pPopupMenu != nullptr && ::IsWindow(m_pPopupMenu->GetSafeHwnd())) {
    m_pPopupMenu->CancelSubMenus();
    m_pPopupMenu->SendMessage(WM_CLOSE);
  }
  return TRUE;
}

void CPlxToolbarMenuButton::OnAfterAltDrop() {
  if (m_pWndParent == nullptr) return;
  auto* popup = dynamic_cast<CPlxPopupMenu*>(m_pWndParent->GetParent());
  if (popup == nullptr) return;
  while (popup->GetParentPopupMenu() != nullptr) popup = popup->GetParentPopupMenu();
  popup->SaveToParentItems();
}

void CPlxToolbarMenuButton::SetRadio() {
  m_bRadio = TRUE;
  if (m_pWndParent == nullptr || m_pWndParent->GetSafeHwnd() == nullptr) return;
  CRect rectImage;
  GetImageRect(rectImage);
  m_pWndParent->InvalidateRect(rectImage);
  m_pWndParent->UpdateWindow();
}

void CPlxToolbarMenuButton::ResetImageToDefault() {
  CPlxToolbarButton::ResetImageToDefault();
  for (POSITION pos = m_lstSubItems.GetHeadPosition(); pos != nullptr;)
    static_cast<CPlxToolbarButton*>(m_lstSubItems.GetNext(pos))->ResetImageToDefault();
}

CSize CPlxToolbarMenuButton::OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) {
  m_bHorzLayout = bHorz;
  if (!IsVisible()) return CSize(0, 0);
  int arrow = 0;
  if (m_bArrowPart || m_bMenuItem) {
    if (m_bMenuItem) {
      arrow = bHorz ? g_plxGlobalData.nTextWidthHorz : g_plxGlobalData.nTextHeightHorz;
    } else {
      const CSize glyph = CPlxMenuGlyphs::GetSize();
      arrow = bHorz ? glyph.cx : glyph.cy;
      if (CPlxToolBar::IsLargeIcons()) arrow *= 2;
    }
    arrow -= 2;
  }
  if (m_bMenuItem && g_pKeyboardManager != nullptr &&
      (m_nID < kSystemCommandFirst || m_nID > kSystemCommandLast)) {
    const int tab = m_strText.Find('\t');
    if (tab >= 0) m_strText = m_strText.Left(tab);
    CString shortcut;
    CFrameWnd* frame = ShortcutFrame(m_pWndParent);
    BOOL found =
        frame != nullptr && CPlxKeyboardManager::FindDefaultAccelerator(m_nID, shortcut, frame, TRUE);
    if (!found && frame != nullptr && frame->GetActiveFrame() != nullptr)
      found = CPlxKeyboardManager::FindDefaultAccelerator(m_nID, shortcut, frame->GetActiveFrame(), FALSE);
    if (found) m_strText += "\t" + shortcut;
  }
  CSize size = CPlxToolbarButton::OnCalculateSize(pDC, sizeDefault, bHorz);
  (bHorz ? size.cx : size.cy) += arrow;
  if (m_bMenuItem) size.cx += sizeDefault.cx + 6;
  if (auto* popupBar = dynamic_cast<CPlxPopupMenuBar*>(m_pWndParent)) size.cy = popupBar->GetRowHeight();
  if (!m_bMenuItem) (bHorz ? size.cx : size.cy) += 2 * CPlxVisualManager::GetInstance()->GetMenuImageMargin();
  return size;
}

void CPlxToolbarMenuButton::OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz,
                                   BOOL bCustomizeMode, BOOL bHighlight, BOOL bDrawBorder,
                                   BOOL bGrayDisabledButtons) {
  m_rectArrow.SetRectEmpty();
  if (m_bMenuItem) {
    DrawMenuItem(pDC, rect, pImages, bCustomizeMode, bHighlight, bGrayDisabledButtons);
    return;
  }
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  const BOOL flat = manager->m_bFlatMenuButtons;
  const BOOL dropped = IsDroppedDown();
  FillInterior(pDC, rect, bHighlight || dropped);

  CSize sizeArrow = CPlxMenuGlyphs::GetSize();
  if (CPlxToolBar::IsLargeIcons()) sizeArrow = CSize(sizeArrow.cx * 2, sizeArrow.cy * 2);
  CRect content = rect;
  const CSize extra = manager->GetButtonExtraBorder();
  if (m_bExtraSize) {
    CRect work = rect;
    work.DeflateRect(1 + extra.cx / 2, 1 + extra.cy / 2);
    m_rectArrow = work;
  } else {
    m_rectArrow = rect;
  }
  const int margin = manager->GetMenuImageMargin();
  if (bHorz)
    content.DeflateRect(margin, 0);
  else
    content.DeflateRect(0, margin);

  if (m_bArrowPart) {
    if (bHorz) {
      content.right -= (m_bExtraSize ? extra.cx : 0) + sizeArrow.cx;
      m_rectArrow.left = content.right + 1;
      if (m_bExtraSize && extra.cx != 0) m_rectArrow.OffsetRect(1 - extra.cx / 2, 1 - extra.cy / 2);
    } else {
      content.bottom -= sizeArrow.cy + 1;
      m_rectArrow.top = content.bottom;
    }
  }

  const UINT styleWas = m_nStyle;
  const BOOL splitOnArrow = m_bClickedOnArrow && HasRealCommand() && !m_bOpenMenuOnClick;
  if (flat)
    m_nStyle &= ~(TBBS_CHECKED | TBBS_PRESSED);
  else if (splitOnArrow)
    m_nStyle &= ~TBBS_PRESSED;
  else if (dropped)
    m_nStyle |= TBBS_PRESSED;

  const BOOL fillWas = m_bDisableFill;
  m_bDisableFill = TRUE;
  CPlxToolbarButton::OnDraw(pDC, content, pImages, bHorz, bCustomizeMode, bHighlight, bDrawBorder,
                            bGrayDisabledButtons);
  m_bDisableFill = fillWas;
  const UINT style = m_nStyle;

  if (m_bArrowPart) {
    if ((style & (TBBS_CHECKED | TBBS_PRESSED)) && !flat) m_rectArrow.OffsetRect(1, 1);
    if ((bHighlight || (style & TBBS_PRESSED) || dropped) && HasRealCommand() && !m_bOpenMenuOnClick &&
        !m_bClickedOnArrow) {
      CRect strip = m_rectArrow;
      if (bHorz)
        strip.right = strip.left + 2;
      else
        strip.bottom = strip.top + 2;
      const BOOL down = bHighlight || (style & (TBBS_CHECKED | TBBS_PRESSED));
      manager->OnDrawMenuButtonBorder(pDC, this, strip, down ? PlxButtonPressed : PlxButtonNormal, bHorz);
    }
    const BOOL disabled = bCustomizeMode ? !IsEditable() : (style & TBBS_DISABLED) != 0;
    // Cells 0 and 1 point down, 2 and 3 sideways.
    int glyph = (bHorz && !m_bOpenMenuOnClick) ? 0 : 2;
    if (disabled) ++glyph;
    CPlxMenuGlyphs::Draw(pDC, glyph, m_rectArrow, sizeArrow);
  }

  if (!bCustomizeMode) {
    if ((style & (TBBS_CHECKED | TBBS_PRESSED)) || dropped) {
      if (!flat && splitOnArrow) {
        CRect wide = content;
        wide.InflateRect(1, 1);
        manager->OnDrawButtonBorder(pDC, this, wide, PlxButtonHighlighted);
        manager->OnDrawButtonBorder(pDC, this, m_rectArrow, PlxButtonPressed);
      } else {
        manager->OnDrawButtonBorder(pDC, this, rect, PlxButtonPressed);
      }
    } else if (bHighlight && !(style & (TBBS_CHECKED | TBBS_DISABLED | TBBS_INDETERMINATE))) {
      manager->OnDrawButtonBorder(pDC, this, rect, PlxButtonHighlighted);
    }
  }
  m_nStyle = styleWas;
}

int CPlxToolbarMenuButton::OnDrawOnCustomizeList(CDC* pDC, const CRect& rect, BOOL bSelected) {
  const int width = CPlxToolbarButton::OnDrawOnCustomizeList(pDC, rect, bSelected);
  if (m_nID == 0 || !m_lstSubItems.IsEmpty()) {
    const CSize glyph = CPlxMenuGlyphs::GetSize();
    CRect column = rect;
    column.left = column.right - glyph.cx;
    CPlxMenuGlyphs::Draw(pDC, CPlxMenuGlyphs::IdArowRight, column);  // a sub-menu opens to the right
    CRect separator(column.left - 3, rect.top + 2, column.left - 1, rect.bottom - 2);
    pDC->Draw3dRect(separator, g_plxGlobalData.clrBtnShadow, g_plxGlobalData.clrBtnHilite);
  }
  (void)width;
  return rect.Width();
}
