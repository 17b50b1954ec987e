// The popup menu bar: filling from a native menu with the recently-used filter, the export back,
// the vertical multi-column size and layout, running a chosen command, the customize marks, and
// the show-all item.
#include "toolkit/bars/PlxPopupMenuBar.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/comctl/Tooltip.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/user/Accel.h"
#include "platform/user/Input.h"
#include "platform/user/Menu.h"
#include "toolkit/bars/PlxCommandManager.h"
#include "toolkit/bars/PlxContextMenuManager.h"
#include "toolkit/bars/PlxCustomizeButton.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxTearOffIdPool.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxKeyboardManager.h"
#include "toolkit/core/PlxRegistry.h"
#include "toolkit/core/PlxUserTools.h"
#include "toolkit/core/PlxVisualManager.h"

IMPLEMENT_SERIAL(CPlxPopupMenuBar, CPlxToolBar, 1)
IMPLEMENT_DYNCREATE(CPlxShowAllButton, CPlxToolbarMenuButton)

int CPlxPopupMenuBar::m_nMenuShowDelay = -1;
int CPlxPopupMenuBar::m_iLastCommandIndex = -1;
BOOL CPlxPopupMenuBar::m_bHighlightDisabledItems = FALSE;

namespace {

constexpr int kSeparatorHeight = 8;
constexpr UINT kCmdImageAndText = 16915;
constexpr UINT kCmdText = 16916;
constexpr UINT kCmdResetImage = 16914;
constexpr UINT kShowAllTipId = 16025;  // "Expand (%s)": the shortcut of Ctrl+Down

BOOL IsUserTool(UINT uiCmd) {
  return g_pUserToolsManager != nullptr && uiCmd >= g_pUserToolsManager->GetFirstCmd() &&
         uiCmd <= g_pUserToolsManager->GetLastCmd();
}

}  // namespace

BEGIN_MESSAGE_MAP(CPlxPopupMenuBar, CPlxToolBar)
ON_WM_NCPAINT()
ON_WM_NCCALCSIZE()
ON_WM_DESTROY()
ON_WM_TIMER()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDBLCLK()
ON_WM_CREATE()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_COMMAND(kCmdText, OnToolbarText)
ON_COMMAND(kCmdImageAndText, OnToolbarImageAndText)
END_MESSAGE_MAP()

CPlxPopupMenuBar::CPlxPopupMenuBar() {
  m_bMenuMode = TRUE;
  m_pRelatedToolbar = nullptr;
  m_bDisableImageStrip = FALSE;
  m_uiDefaultItem = 0;
  m_pDelayedOpenItem = nullptr;
  m_pDelayedCloseItem = nullptr;
  m_bNoButtonDownYet = TRUE;
  m_bIgnoreFirstMouseMove = TRUE;
  m_iOffset = 0;
  m_nSepIndentLeft = 0;
  m_nSepIndentRight = 0;
  m_bAllCommandsShown = TRUE;
  m_nMaxWidth = -1;
  m_bInCommand = FALSE;
  m_bTrackMode = FALSE;
  m_bAllowButtonUp = TRUE;
}

CPlxPopupMenuBar::~CPlxPopupMenuBar() = default;

CPlxPopupMenu* CPlxPopupMenuBar::GetPopupMenu() const {
  return GetSafeHwnd() != nullptr ? dynamic_cast<CPlxPopupMenu*>(GetParent()) : nullptr;
}

CFrameWnd* CPlxPopupMenuBar::TopFrame() const {
  if (CPlxPopupMenu* popup = GetPopupMenu(); popup != nullptr) return popup->GetTopLevelFrame();
  if (g_pTopLevelFrame != nullptr) return g_pTopLevelFrame;
  return GetSafeHwnd() != nullptr ? PlxGetToolkitFrame(this).GetFrame() : nullptr;
}

void CPlxPopupMenuBar::ReadMenuShowDelay() {
  m_nMenuShowDelay = 500;
  CPlxRegistry reg(FALSE, TRUE);
  if (!reg.Open("Control Panel\\Desktop")) return;
  CString value;
  if (!reg.ReadString("MenuShowDelay", value)) return;
  const UINT delay = static_cast<UINT>(atol(value));
  m_nMenuShowDelay = delay > 5000 ? 5000 : static_cast<int>(delay);
}

int CPlxPopupMenuBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CPlxToolBar::OnCreate(lpCreateStruct) == -1) return -1;
  if (m_nMenuShowDelay < 0) ReadMenuShowDelay();
  return 0;
}

CSize CPlxPopupMenuBar::GetCurrentMenuImageSize() const {
  if (m_pRelatedToolbar != nullptr && m_pRelatedToolbar->IsLocked()) return m_pRelatedToolbar->GetImageSize();
  return GetMenuImageSize();
}

UINT CPlxPopupMenuBar::GetHiddenMnemonic(UINT uiChar) const {
  UINT id = 0;
  return m_mapHiddenMnemonics.Lookup(uiChar, id) ? id : 0;
}

// ---- filling ----

BOOL CPlxPopupMenuBar::ImportFromMenu(HMENU hMenu, BOOL bShowAllCommands) {
  RemoveAllButtons();
  m_bAllCommandsShown = TRUE;
  m_mapHiddenMnemonics.RemoveAll();
  if (hMenu == nullptr || !::IsMenu(hMenu)) return FALSE;

  CWnd* frame = TopFrame();
  if (frame == nullptr) frame = AfxGetMainWnd();
  if (CPlxPopupMenu* popup = GetPopupMenu(); popup != nullptr && popup->m_pMessageWnd != nullptr)
    frame = popup->m_pMessageWnd;
  if (frame != nullptr && frame->GetSafeHwnd() != nullptr)
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), MAKELPARAM(m_iOffset, 0));

  const BOOL showAll = m_bTrackMode || bShowAllCommands || CPlxMenuBar::m_bShowAllCommands ||
                       !CPlxMenuBar::m_bRecentlyUsedMenus || !m_commandUsage.HasEnoughStatistics();
  const int count = ::GetMenuItemCount(hMenu);
  BOOL previousSeparator = FALSE;
  BOOL added = FALSE;
  for (int i = 0; i < count; ++i) {
    const int length = ::GetMenuString(hMenu, i, nullptr, 0, MF_BYPOSITION);
    std::vector<char> buffer(2 * std::max(length, 0) + 2, '\0');
    ::GetMenuString(hMenu, i, buffer.data(), static_cast<int>(buffer.size()), MF_BYPOSITION);
    CString text = buffer.data();
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_TYPE | MIIM_STATE | MIIM_SUBMENU;
    ::GetMenuItemInfo(hMenu, i, TRUE, &info);
    const UINT state = ::GetMenuState(hMenu, i, MF_BYPOSITION);

    if (info.fType & MFT_SEPARATOR) {
      if (!previousSeparator && added && i != count - 1) {
        InsertSeparator();
        previousSeparator = TRUE;
      }
      continue;
    }
    UINT id = info.wID;
    UINT tearOff = 0;
    if (info.hSubMenu != nullptr) {
      id = (UINT)-1;
      if (g_pTearOffIdPool != nullptr) tearOff = CPlxTearOffIdPool::ParseTearOffId(text);
    }
    if (showAll || !IsCommandRarelyUsed(id)) {
      CPlxToolbarMenuButton item(id, info.hSubMenu, -1, text);
      item.m_bText = TRUE;
      item.m_bImage = FALSE;
      if (GetCommandManager()->GetCmdImage(id, FALSE) < 0) item.m_bUserImage = TRUE;
      const int index = InsertButton(item);
      if (index < 0) continue;
      CPlxToolbarButton* inserted = GetButton(index);
      auto* menuItem = static_cast<CPlxToolbarMenuButton*>(inserted);
      if (menuItem->GetImage() >= 0) menuItem->m_bImage = TRUE;
      if (!IsUserTool(id) && (state & (MF_GRAYED | MF_DISABLED))) menuItem->m_nStyle |= TBBS_DISABLED;
      menuItem->SetTearOff(tearOff);
      if (state & MF_CHECKED) menuItem->m_nStyle |= TBBS_CHECKED;
      if (info.fType & MFT_MENUBREAK) menuItem->m_nStyle |= PLX_TBBS_BREAK;
      previousSeparator = FALSE;
      added = TRUE;
    } else {
      m_bAllCommandsShown = FALSE;
      if (m_lstForbiddenCommands.Find(id) == nullptr) {
        const int amp = text.Find('&');
        if (amp >= 0 && amp + 1 < text.GetLength()) {
          const UINT key = static_cast<UINT>(toupper(static_cast<unsigned char>(text[amp + 1])));
          m_mapHiddenMnemonics.SetAt(key, id);
        }
      }
    }
  }
  // A trailing separator left by hidden items goes too.
  const int total = GetCount();
  if (total > 0 && (GetButton(total - 1)->m_nStyle & TBBS_SEPARATOR)) RemoveButton(total - 1);
  m_uiDefaultItem = ::GetMenuDefaultItem(hMenu, FALSE, GMDI_USEDISABLED);
  return TRUE;
}

HMENU CPlxPopupMenuBar::ExportToPlainMenu() const {
  HMENU menu = ::CreatePopupMenu();
  if (menu == nullptr) return nullptr;
  for (int i = 0; i < GetCount(); ++i) {
    CPlxToolbarButton* button = GetButton(i);
    if (button->m_nStyle & TBBS_SEPARATOR) {
      ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    auto* item = dynamic_cast<CPlxToolbarMenuButton*>(button);
    if (item == nullptr || item->IsKindOf(RUNTIME_CLASS(CPlxShowAllButton))) continue;
    HMENU sub = item->m_nID == (UINT)-1 || !item->GetSubItems().IsEmpty() ? item->ExportToMenu() : nullptr;
    if (sub != nullptr) {
      CString text = item->m_strText;
      if (g_pTearOffIdPool != nullptr && item->GetTearOffID() != 0)
        CPlxTearOffIdPool::BuildTearOffText(item->GetTearOffID(), text);
      UINT flags = MF_POPUP;
      if (item->m_nStyle & PLX_TBBS_BREAK) flags |= MF_MENUBREAK;
      ::AppendMenu(menu, flags, reinterpret_cast<UINT_PTR>(sub), text);
    } else {
      // The column break goes back too, so that a menu survives the round trip as it came.
      ::AppendMenu(menu, MF_STRING | ((item->m_nStyle & PLX_TBBS_BREAK) ? MF_MENUBREAK : 0), item->m_nID,
                   item->m_strText);
    }
  }
  ::SetMenuDefaultItem(menu, m_uiDefaultItem, FALSE);
  return menu;
}

// ---- size and layout ----

CSize CPlxPopupMenuBar::CalcSize(BOOL) {
  if (m_lstButtons.IsEmpty()) return CSize(52, 22);
  CClientDC dc(GetSafeHwnd() != nullptr ? this : nullptr);
  CFont* oldFont = dc.SelectObject(&g_plxGlobalData.fontRegular);
  const CSize image = GetCurrentMenuImageSize();
  CSize def(image.cx + 2, image.cy + 2);
  def.cy = std::max<LONG>(def.cy, g_plxGlobalData.nTextHeightHorz);
  m_arColumns.RemoveAll();
  int columnWidth = 0, columnHeight = 0, maxHeight = 0, right = 0;
  for (int i = 0; i < GetCount(); ++i) {
    CPlxToolbarButton* button = GetButton(i);
    const BOOL isDefault = m_uiDefaultItem != 0 && button->m_nID == m_uiDefaultItem;
    CFont* before = isDefault ? dc.SelectObject(&g_plxGlobalData.fontBold) : nullptr;
    const CSize size = button->OnCalculateSize(&dc, def, TRUE);
    if (before != nullptr) dc.SelectObject(before);
    if (!m_bCustomizeMode && (button->m_nStyle & PLX_TBBS_BREAK) && columnWidth > 0 && columnHeight > 0) {
      maxHeight = std::max(maxHeight, columnHeight);
      right += columnWidth + 1;
      m_arColumns.Add(static_cast<UINT>(right));
      columnWidth = columnHeight = 0;
    }
    if (button->m_nStyle & TBBS_SEPARATOR) {
      columnHeight += kSeparatorHeight;
      continue;
    }
    columnHeight += size.cy;
    int width = size.cx;
    if (button->m_bText && button->m_strText.Find('\t') > 0) width += 10;
    columnWidth = std::max(columnWidth, width);
    button->m_bTextFits = m_nMaxWidth <= 0 || m_nMaxWidth - 2 >= size.cx;
  }
  maxHeight = std::max(maxHeight, columnHeight);
  int width = right + columnWidth + 2;
  if (m_nMaxWidth > 0 && m_nMaxWidth < width) width = m_nMaxWidth;
  m_arColumns.Add(static_cast<UINT>(width));
  dc.SelectObject(oldFont);
  return CSize(width, maxHeight + 2);
}

void CPlxPopupMenuBar::AdjustLocations() {
  if (GetSafeHwnd() == nullptr) return;
  if (m_nSepIndentLeft == 0) CPlxToolbarMenuButton::GetGlyphMetrics(m_nSepIndentLeft, m_nSepIndentRight);
  CRect client;
  GetClientRect(client);
  CClientDC dc(this);
  CFont* oldFont = dc.SelectObject(&g_plxGlobalData.fontRegular);
  const CSize image = GetCurrentMenuImageSize();
  CSize def(image.cx + 2, image.cy + 2);
  def.cy = std::max<LONG>(def.cy, g_plxGlobalData.nTextHeightHorz);
  const int yStart = client.top - GetRowHeight() * m_iOffset + 1;
  int y = yStart;
  int x = client.left;
  int column = 0;
  auto columnEnd = [&](int index) {
    if (m_bCustomizeMode || m_arColumns.GetSize() == 0) return static_cast<int>(client.Width());
    return static_cast<int>(m_arColumns[std::min<int>(index, m_arColumns.GetSize() - 1)]);
  };
  int end = columnEnd(0);
  for (int i = 0; i < GetCount(); ++i) {
    CPlxToolbarButton* button = GetButton(i);
    if (!m_bCustomizeMode && (button->m_nStyle & PLX_TBBS_BREAK) && y != yStart) {
      x = end + 1;
      end = columnEnd(++column);
      y = yStart;
    }
    CRect rect;
    if (button->m_nStyle & TBBS_SEPARATOR) {
      rect = CRect(x + m_nSepIndentLeft, y, end + client.left - m_nSepIndentRight, y + kSeparatorHeight);
    } else {
      const BOOL isDefault = m_uiDefaultItem != 0 && button->m_nID == m_uiDefaultItem;
      CFont* before = isDefault ? dc.SelectObject(&g_plxGlobalData.fontBold) : nullptr;
      const CSize size = button->OnCalculateSize(&dc, def, TRUE);
      if (before != nullptr) dc.SelectObject(before);
      rect = CRect(x, y, end + client.left, y + size.cy);
    }
    y = rect.bottom;
    if (rect != button->m_rect) {
      button->m_rect = rect;
      button->OnMove();
    }
  }
  dc.SelectObject(oldFont);
  RebuildMnemonics();
  CPoint cursor;
  ::GetCursorPos(&cursor);
  ScreenToClient(&cursor);
  if (HitTest(cursor) >= 0) m_bAllowButtonUp = FALSE;
}

// ---- separators, marks and background ----

void CPlxPopupMenuBar::DrawSeparator(CDC* pDC, const CRect& rect, BOOL) {
  CPlxVisualManager::GetInstance()->OnDrawSeparator(pDC, this, rect, FALSE);
}

int CPlxPopupMenuBar::FindDropIndex(const CPoint point, CRect& rectDrag) const {
  CRect client;
  GetClientRect(client);
  const int y = std::max<int>(point.y, 0);
  if (GetCount() == 0) {
    rectDrag = CRect(client.left, client.top, client.right, client.top + 6);
    return 0;
  }
  for (int i = 0; i < GetCount(); ++i) {
    const CRect& rect = GetButton(i)->m_rect;
    if (y < rect.top) {
      rectDrag = CRect(rect.left, rect.top - 3, rect.right, rect.top + 3);
      return i;
    }
    if (y < rect.bottom) {
      if (y - rect.top <= rect.bottom - y) {
        rectDrag = CRect(rect.left, rect.top - 3, rect.right, rect.top + 3);
        return i;
      }
      rectDrag = CRect(rect.left, rect.bottom - 3, rect.right, rect.bottom + 3);
      return i + 1;
    }
  }
  rectDrag = CRect(client.left, client.bottom - 9, client.right, client.bottom - 3);
  return GetCount();
}

void CPlxPopupMenuBar::DrawDragMarker(CDC* pDC) {
  CPen* oldPen = pDC->SelectObject(&m_penDrag);
  const CRect& r = m_rectDropMark;
  const int middle = r.top + r.Height() / 2;
  for (int line = middle - 1; line <= middle; ++line) {
    pDC->MoveTo(r.left, line);
    pDC->LineTo(r.right, line);
  }
  const int half = r.Height() / 2;
  for (int i = 0; i < 2; ++i) {
    const int reach = half - i;
    pDC->MoveTo(r.left + i, middle - reach);
    pDC->LineTo(r.left + i, middle + reach);
    pDC->MoveTo(r.right - 1 - i, middle - reach);
    pDC->LineTo(r.right - 1 - i, middle + reach);
  }
  pDC->SelectObject(oldPen);
}

void CPlxPopupMenuBar::OnFillBackground(CDC* pDC) {
  CPlxPopupMenu* popup = GetPopupMenu();
  if (m_bCustomizeMode || !CPlxMenuBar::m_bRecentlyUsedMenus || popup == nullptr || !popup->IsSubMenu())
    return;
  CRect run;
  run.SetRectEmpty();
  const CPlxToolbarButton* pendingSeparator = nullptr;
  for (int i = 0; i < GetCount(); ++i) {
    CPlxToolbarButton* button = GetButton(i);
    if (button->m_nStyle & TBBS_SEPARATOR) {
      pendingSeparator = button;
      continue;
    }
    const BOOL rare = IsCommandRarelyUsed(button->m_nID);
    if (rare) {
      CRect rect = button->m_rect;
      if (pendingSeparator != nullptr) rect.top = pendingSeparator->m_rect.top;
      if (run.IsRectEmpty())
        run = rect;
      else
        run.bottom = rect.bottom;
    } else if (!run.IsRectEmpty()) {
      CPlxVisualManager::GetInstance()->OnHighlightRarelyUsedMenuItems(pDC, run);
      run.SetRectEmpty();
    }
    pendingSeparator = nullptr;
  }
  if (!run.IsRectEmpty()) CPlxVisualManager::GetInstance()->OnHighlightRarelyUsedMenuItems(pDC, run);
}

// ---- choosing ----

BOOL CPlxPopupMenuBar::OnSendCommand(const CPlxToolbarButton* pButton) {
  auto* button = const_cast<CPlxToolbarButton*>(pButton);
  auto* item = dynamic_cast<CPlxToolbarMenuButton*>(button);
  if (pButton->m_nStyle & TBBS_DISABLED) {
    // Only the customize item of the menu-item kinds handles a click while disabled.
    if (item != nullptr &&
        std::strcmp(item->GetRuntimeClass()->m_lpszClassName, "CPlxCustomizeMenuButton") == 0) {
      item->OnClickMenuItem();
      return TRUE;
    }
    return FALSE;
  }
  if (pButton->m_nID == (UINT)-1) return FALSE;
  if (item != nullptr) {
    if (item->IsDroppedDown()) return FALSE;
    if (item->IsKindOf(RUNTIME_CLASS(CPlxShowAllButton))) {
      item->OnClick(this, FALSE);
      return TRUE;
    }
    if (item->OnClickMenuItem()) return TRUE;
  }
  InvokeMenuCommand(pButton->m_nID, pButton);
  return TRUE;
}

void CPlxPopupMenuBar::SetInCommand(BOOL bInCommand) {
  m_bInCommand = bInCommand;
  CPlxPopupMenu* popup = GetPopupMenu();
  for (CPlxPopupMenu* parent = popup != nullptr ? popup->GetParentPopupMenu() : nullptr; parent != nullptr;
       parent = parent->GetParentPopupMenu())
    parent->GetMenuBar()->m_bInCommand = bInCommand;
}

void CPlxPopupMenuBar::InvokeMenuCommand(UINT uiCmdId, const CPlxToolbarButton* pMenuItem) {
  CPlxPopupMenu* popup = GetPopupMenu();
  CWnd* status = popup != nullptr && popup->m_pMessageWnd != nullptr ? popup->m_pMessageWnd : GetBarOwner();
  if (status != nullptr && status->GetSafeHwnd() != nullptr)
    status->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);

  CPlxPopupMenu* top = popup;
  while (top != nullptr && top->GetParentPopupMenu() != nullptr) top = top->GetParentPopupMenu();
  CPlxToolBar* origin = top != nullptr ? top->GetParentToolBar() : nullptr;
  if (origin != nullptr && origin->GetSafeHwnd() != nullptr) origin->Deactivate();

  if (uiCmdId != 0) {
    SetInCommand(TRUE);
    PlayMenuSound(1);
    if (m_bTrackMode) {
      if (g_pContextMenuManager != nullptr) g_pContextMenuManager->m_nLastCommand = uiCmdId;
    } else {
      auto* chevron = top != nullptr ? dynamic_cast<CCustomizeButton*>(top->GetParentButton()) : nullptr;
      const BOOL chevronTakes = chevron != nullptr && chevron->InvokeCommand(this, pMenuItem);
      if (!chevronTakes) {
        m_commandUsage.AddCmd(uiCmdId);
        if (popup == nullptr || !popup->PostCommand(uiCmdId)) {
          if (g_pUserToolsManager == nullptr || g_pUserToolsManager->FindTool(uiCmdId) == nullptr ||
              !g_pUserToolsManager->InvokeTool(uiCmdId)) {
            CWnd* owner = GetOwner();
            if (owner == nullptr) owner = GetParent();
            if (owner != nullptr && owner->GetSafeHwnd() != nullptr)
              owner->PostMessage(WM_COMMAND, uiCmdId, 0);
          }
        }
      }
    }
  }
  m_iLastCommandIndex = pMenuItem != nullptr ? ButtonToIndex(pMenuItem) : -1;
  SetInCommand(FALSE);
  if (popup != nullptr && popup->GetSafeHwnd() != nullptr) popup->DestroyWindow();
}

void CPlxPopupMenuBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  CPlxToolbarButton* button = GetButton(HitTest(point));
  if (button != nullptr && button->m_nID == (UINT)-1) {
    CControlBar::OnLButtonDblClk(nFlags, point);
    return;
  }
  CPlxToolBar::OnLButtonDblClk(nFlags, point);
}

// ---- other overrides ----

LRESULT CPlxPopupMenuBar::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  if (m_bTrackMode) return 0;
  CWnd* owner = GetOwner();
  if (!IsWindowVisible() || (owner != nullptr && !owner->IsWindowVisible())) return 0;
  CWnd* target = GetCommandTarget();
  auto* frame = dynamic_cast<CFrameWnd*>(target);
  if (frame == nullptr) frame = AfxGetParentFrame(this);
  // Items without a handler are greyed for a frame only. A popup that sends its commands to a
  // window of its own routes them there: when that window is a dialog (no frame), its commands
  // stay enabled, or a click on them would run nothing.
  BOOL disableIfNoHandler = dynamic_cast<CFrameWnd*>(target) != nullptr;
  if (auto* popup = dynamic_cast<CPlxPopupMenu*>(target); popup != nullptr && popup->m_pMessageWnd != nullptr)
    disableIfNoHandler = dynamic_cast<CFrameWnd*>(popup->m_pMessageWnd) != nullptr;
  if (frame != nullptr) OnUpdateCmdUI(frame, disableIfNoHandler);
  return 0;
}

void CPlxPopupMenuBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  CPlxToolBar::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
}

CWnd* CPlxPopupMenuBar::GetCommandTarget() const {
  if (m_bTrackMode) return nullptr;
  CPlxPopupMenu* popup = GetPopupMenu();
  if (popup != nullptr && popup->m_pMessageWnd != nullptr) return popup;
  CWnd* target = GetOwner();
  if (target == nullptr) target = GetParent();
  if (target == nullptr || target->GetSafeHwnd() == nullptr ||
      (m_bRouteToFrame && dynamic_cast<CFrameWnd*>(target) == nullptr) ||
      dynamic_cast<CPlxPopupMenu*>(target) != nullptr) {
    CFrameWnd* frame = AfxGetParentFrame(this);
    while (frame != nullptr && dynamic_cast<CPlxPopupMenu*>(frame) != nullptr)
      frame = AfxGetParentFrame(frame);
    if (frame != nullptr) target = frame;
  }
  return target;
}

void CPlxPopupMenuBar::SetButtonStyle(int nIndex, UINT nStyle) {
  CPlxToolbarButton* button = GetButton(nIndex);
  if (button == nullptr || button->m_nStyle == nStyle) return;
  const UINT old = button->m_nStyle;
  button->m_nStyle = nStyle;
  if ((old & TBBS_PRESSED) && (nStyle & TBBS_PRESSED)) return;
  auto* item = dynamic_cast<CPlxToolbarMenuButton*>(button);
  if (item != nullptr && ((old ^ nStyle) & TBBS_CHECKED)) {
    CRect image;
    item->GetImageRect(image);
    image.InflateRect(2 * ::GetSystemMetrics(SM_CXBORDER), 2 * ::GetSystemMetrics(SM_CYBORDER));
    InvalidateRect(image);
    UpdateWindow();
  } else if ((old ^ nStyle) != 2) {
    InvalidateButton(nIndex);
  }
}

BOOL CPlxPopupMenuBar::OnSetDefaultButtonText(CPlxToolbarButton* pButton) {
  CPlxPopupMenu* popup = GetPopupMenu();
  CPlxToolBar* parent = popup != nullptr ? popup->GetParentToolBar() : nullptr;
  if (parent != nullptr && parent->OnSetDefaultButtonText(pButton)) return TRUE;
  return CPlxToolBar::OnSetDefaultButtonText(pButton);
}

int CPlxPopupMenuBar::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
  CPlxPopupMenu* popup = GetPopupMenu();
  if (!(dwKeyState & MK_CONTROL) && popup != nullptr && m_pDragButton != nullptr &&
      m_pDragButton == popup->GetParentButton())
    return DROPEFFECT_NONE;
  return CPlxToolBar::OnDragOver(pDataObject, dwKeyState, point);
}

CPlxToolbarButton* CPlxPopupMenuBar::CreateDroppedButton(COleDataObject* pDataObject) {
  CPlxToolbarButton* dropped = CPlxToolbarButton::CreateFromOleData(pDataObject);
  if (dropped == nullptr) return nullptr;
  if (dynamic_cast<CPlxToolbarMenuButton*>(dropped) != nullptr) return dropped;
  const int image = dropped->m_bLocked ? -1 : dropped->GetImage();
  auto* item =
      new CPlxToolbarMenuButton(dropped->m_nID, nullptr, image, dropped->m_strText, dropped->m_bUserImage);
  item->m_bText = TRUE;
  item->m_bImage = !dropped->m_bLocked;
  const BOOL exported = dropped->ExportTooltipText(item);
  delete dropped;
  if (!exported || item->m_strText.IsEmpty()) {
    delete item;
    return nullptr;
  }
  return item;
}

int CPlxPopupMenuBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const {
  const int index = const_cast<CPlxPopupMenuBar*>(this)->HitTest(point);
  CPlxToolbarButton* button = GetButton(index);
  if (button == nullptr) return -1;
  if (pTI != nullptr) {
    pTI->uId = button->m_nID;
    pTI->hwnd = m_hWnd;
    pTI->rect = button->m_rect;
    if (!button->OnToolHitTest(this, pTI)) return static_cast<int>(button->m_nID);
  }
  return index;
}

BOOL CPlxPopupMenuBar::EnableContextMenuItems(CPlxToolbarButton* pButton, CMenu* pPopup) {
  if (!m_bCustomizeMode || pButton == nullptr || pPopup == nullptr) return FALSE;
  pButton->m_bText = TRUE;
  CPlxToolBar::EnableContextMenuItems(pButton, pPopup);
  pPopup->EnableMenuItem(kCmdResetImage, MF_GRAYED);
  if (pButton->m_bImage) {
    pPopup->EnableMenuItem(kCmdImageAndText, MF_ENABLED);
    pPopup->EnableMenuItem(kCmdText, MF_ENABLED);
    if (GetCommandManager()->IsMenuItemWithoutImage(pButton->m_nID)) {
      pPopup->CheckMenuItem(kCmdImageAndText, MF_CHECKED);
      pPopup->CheckMenuItem(kCmdText, MF_UNCHECKED);
    }
  }
  return TRUE;
}

void CPlxPopupMenuBar::OnToolbarText() {
  if (CPlxToolbarButton* button = GetButton(m_iSelected); button != nullptr) {
    GetCommandManager()->EnableMenuItemImage(button->m_nID, FALSE);
    AdjustLayout();
  }
}

void CPlxPopupMenuBar::OnToolbarImageAndText() {
  if (CPlxToolbarButton* button = GetButton(m_iSelected); button != nullptr) {
    GetCommandManager()->EnableMenuItemImage(button->m_nID, TRUE);
    AdjustLayout();
  }
}

// ---- the show-all item ----

CSize CPlxShowAllButton::OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL) {
  return CSize(50, CPlxVisualManager::GetInstance()->GetShowAllMenuItemsHeight(pDC, sizeDefault));
}

void CPlxShowAllButton::OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages*, BOOL, BOOL, BOOL bHighlight,
                               BOOL, BOOL) {
  FillInterior(pDC, rect, bHighlight);
  PlxButtonState state = PlxButtonNormal;
  if (bHighlight)
    state = PlxButtonHighlighted;
  else if (m_nStyle & (TBBS_PRESSED | TBBS_CHECKED))
    state = PlxButtonPressed;
  CRect inner = rect;
  inner.DeflateRect(1, 1);
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  manager->OnDrawShowAllMenuItems(pDC, inner, state);
  if (state != PlxButtonNormal) manager->OnDrawButtonBorder(pDC, this, rect, state);
}

BOOL CPlxShowAllButton::OnClick(CWnd* pWnd, BOOL bDelay) {
  auto* bar = dynamic_cast<CPlxPopupMenuBar*>(m_pWndParent);
  if (bar == nullptr) return FALSE;
  (void)pWnd;
  if (!bDelay) {
    if (CPlxPopupMenu* popup = bar->GetPopupMenu(); popup != nullptr) popup->ShowAllCommands();
  } else if (CPlxMenuBar::m_bShowAllMenusAfterDelay) {
    bar->OpenSubMenuDelayed(this, 2);
  }
  return TRUE;
}

BOOL CPlxShowAllButton::OpenPopupMenu(CWnd* pWnd) {
  return OnClick(pWnd != nullptr ? pWnd : m_pWndParent, FALSE);
}

BOOL CPlxShowAllButton::OnToolHitTest(const CWnd*, TOOLINFOA* pTI) {
  if (pTI == nullptr) return FALSE;
  ACCEL accel{FVIRTKEY | FCONTROL, VK_DOWN, 0};
  CString shortcut;
  CPlxShortcutText(&accel).Format(shortcut);
  CString format;
  if (!format.LoadString(kShowAllTipId)) format = "Expand (%s)";
  CString text;
  text.Format(format, static_cast<LPCTSTR>(shortcut));
  const int length = text.GetLength();
  char* copy = static_cast<char*>(calloc(static_cast<size_t>(length) + 1, 1));
  if (copy == nullptr) return FALSE;
  std::memcpy(copy, static_cast<LPCTSTR>(text), static_cast<size_t>(length));
  pTI->lpszText = copy;
  pTI->uId = 0;
  return TRUE;
}
