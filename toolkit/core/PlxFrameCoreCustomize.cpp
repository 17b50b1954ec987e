// The frame core's quick-customize menu: the list of a toolbar's buttons that a chevron's
// add-or-remove item opens, each with a check mark that shows or hides the button.
#include <cstdlib>

#include "toolkit/bars/PlxCustomizeButton.h"
#include "toolkit/bars/PlxCustomizeMenuButton.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxFrameCore.h"
#include "toolkit/core/PlxFrameWnd.h"
#include "toolkit/core/PlxMDIFrameWnd.h"
#include "toolkit/core/PlxOleIPFrameWnd.h"
#include "toolkit/customize/PlxCustomizeSheet.h"

namespace {

constexpr UINT kQuickCustomizeText = 17021;  // the add-or-remove item's label
constexpr UINT kResetItemText = 16245;       // "Reset Toolbar"
constexpr UINT kNoCommand = (UINT)-20;       // items that run nothing when chosen

// A command's name as the customize lists show it: the catalogue's name (from the application's
// menus), else the tooltip part of its string (after the newline), else the whole string.
CString CommandName(const CPlxToolbarCustomize& catalogue, UINT uiCmd) {
  if (LPCTSTR name = catalogue.GetCommandName(uiCmd); name != nullptr && *name != '\0') return name;
  CString text;
  if (uiCmd == 0 || uiCmd == (UINT)-1 || !text.LoadString(uiCmd)) return CString();
  if (const int newline = text.Find('\n'); newline >= 0) text = text.Mid(newline + 1);
  return text;
}

// Inserts the item of one of the bar's buttons, bound to the button (or default button) at
// iIndex; the popup's index of the item, -1 when it was refused.
int InsertItem(CPlxPopupMenu* pMenu, const CPlxToolbarButton* pButton, const CString& strText, int iIndex,
               BOOL bExist, int iInsertAt) {
  const BOOL menuButton = dynamic_cast<const CPlxToolbarMenuButton*>(pButton) != nullptr;
  const UINT command =
      menuButton || pButton->m_nID == 0 || pButton->m_nID == (UINT)-1 ? kNoCommand : pButton->m_nID;
  const int image = pButton->m_bUserImage ? pButton->m_iUserImage : pButton->m_iImage;
  CPlxCustomizeMenuButton item(command, nullptr, image, strText, pButton->m_bUserImage);
  item.SetItemIndex(iIndex, bExist, FALSE);
  return pMenu->InsertItem(item, iInsertAt);
}

}  // namespace

CPlxToolBar* PlxQuickCustomizeToolbar() {
  return CPlxCustomizeMenuButton::m_pWndToolBar;
}

BOOL CPlxFrameCore::IsQuickCustomizeMenu(CPlxPopupMenu* pMenu) {
  CPlxPopupMenu* parent = pMenu != nullptr ? pMenu->GetParentPopupMenu() : nullptr;
  if (parent == nullptr) return FALSE;
  if (CPlxToolbarMenuButton* button = parent->GetParentButton(); button != nullptr) {
    CString marker;
    if (!marker.LoadString(kQuickCustomizeText) || marker.IsEmpty() || button->m_strText.Find(marker) < 0)
      return FALSE;
  }
  CPlxPopupMenu* grand = parent->GetParentPopupMenu();
  return grand != nullptr && grand->m_nQuickCustomizeKind == 1;
}

BOOL CPlxFrameCore::ShowQuickCustomizeMenu(CPlxPopupMenu* pMenu) {
  CPlxPopupMenu* parent = pMenu != nullptr ? pMenu->GetParentPopupMenu() : nullptr;
  CPlxPopupMenu* grand = parent != nullptr ? parent->GetParentPopupMenu() : nullptr;
  auto* chevron = grand != nullptr ? dynamic_cast<CCustomizeButton*>(grand->GetParentButton()) : nullptr;
  if (chevron == nullptr) return FALSE;
  CPlxToolBar* bar = chevron->m_pWndParentToolbar;
  // The add-or-remove list names each bar of the row by its control id in its only item.
  if (CPlxToolbarMenuButton* first = pMenu->GetMenuItemCount() > 0 ? pMenu->GetMenuItem(0) : nullptr) {
    char* end = nullptr;
    const long id = std::strtol(first->m_strText, &end, 10);
    if (end != nullptr && end != static_cast<LPCTSTR>(first->m_strText) && *end == '\0') {
      for (POSITION pos = CPlxToolBar::GetAllToolbars().GetHeadPosition(); pos != nullptr;) {
        auto* listed = static_cast<CPlxToolBar*>(CPlxToolBar::GetAllToolbars().GetNext(pos));
        if (listed->GetSafeHwnd() != nullptr && listed->GetDlgCtrlID() == static_cast<int>(id) &&
            listed->m_bChevronAddRemove) {
          bar = listed;
          break;
        }
      }
    }
  }
  if (bar == nullptr) return FALSE;
  pMenu->RemoveAllItems();
  // Built only to name the commands; it never gets a window.
  const CPlxToolbarCustomize catalogue(m_pFrame, TRUE, CUSTOPT_KEEP_AMPERSANDS);
  CPlxCustomizeMenuButton::m_pWndToolBar = bar;
  CPlxCustomizeMenuButton::m_mapPresentIDs.RemoveAll();
  int added = 0;
  for (int i = 0; i < bar->GetCount(); ++i) {
    CPlxToolbarButton* button = bar->GetButton(i);
    if (button == nullptr || (button->m_nStyle & TBBS_SEPARATOR) ||
        dynamic_cast<CCustomizeButton*>(button) != nullptr)
      continue;
    CPlxCustomizeMenuButton::m_mapPresentIDs.SetAt(button->m_nID, 0);
    const CString text =
        button->m_strText.IsEmpty() ? CommandName(catalogue, button->m_nID) : button->m_strText;
    InsertItem(pMenu, button, text, i, TRUE, -1);
    ++added;
  }
  pMenu->m_nQuickCustomizeKind = 0;
  OnShowCustomizePane(pMenu, bar->m_uiDefaultResId);
  if (added > 0) pMenu->InsertSeparator();
  CString resetText;
  if (!resetText.LoadString(kResetItemText)) resetText = "&Reset Toolbar";
  CPlxCustomizeMenuButton reset(kNoCommand, nullptr, -1, resetText);
  reset.SetItemIndex(CPlxCustomizeMenuButton::kResetIndex, TRUE, FALSE);
  pMenu->InsertItem(reset);
  return TRUE;
}

BOOL CPlxFrameCore::AddHiddenToolbarButtons(CPlxPopupMenu* pMenu, UINT) {
  CPlxToolBar* bar = CPlxCustomizeMenuButton::m_pWndToolBar;
  if (bar == nullptr || pMenu == nullptr) return FALSE;
  const CPlxToolbarCustomize catalogue(m_pFrame, TRUE, CUSTOPT_KEEP_AMPERSANDS);
  int position = -1;
  for (POSITION pos = bar->m_lstDefaultButtons.GetHeadPosition(); pos != nullptr;) {
    auto* button = static_cast<CPlxToolbarButton*>(bar->m_lstDefaultButtons.GetNext(pos));
    ++position;
    int present = 0;
    if (button == nullptr || (button->m_nStyle & TBBS_SEPARATOR) ||
        dynamic_cast<CCustomizeButton*>(button) != nullptr ||
        CPlxCustomizeMenuButton::m_mapPresentIDs.Lookup(button->m_nID, present))
      continue;
    if (dynamic_cast<CPlxDropDownToolbarButton*>(button) != nullptr &&
        (button->m_nID == 0 || bar->CommandToIndex(button->m_nID) != -1))
      continue;
    if (InsertItem(pMenu, button, CommandName(catalogue, button->m_nID), position, FALSE, position) == -1)
      InsertItem(pMenu, button, CommandName(catalogue, button->m_nID), position, FALSE, -1);
  }
  return TRUE;
}

BOOL CPlxFrameCore::OnShowCustomizePane(CPlxPopupMenu* pMenu, UINT uiToolbarResId) {
  if (auto* mdi = dynamic_cast<CPlxMDIFrameWnd*>(m_pFrame))
    return mdi->OnShowCustomizePane(pMenu, uiToolbarResId);
  if (auto* sdi = dynamic_cast<CPlxFrameWnd*>(m_pFrame))
    return sdi->OnShowCustomizePane(pMenu, uiToolbarResId);
  if (auto* ole = dynamic_cast<CPlxOleIPFrameWnd*>(m_pFrame))
    return ole->OnShowCustomizePane(pMenu, uiToolbarResId);
  if (auto* doc = dynamic_cast<CPlxOleDocIPFrameWnd*>(m_pFrame))
    return doc->OnShowCustomizePane(pMenu, uiToolbarResId);
  return FALSE;
}
