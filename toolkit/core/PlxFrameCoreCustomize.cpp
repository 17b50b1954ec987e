// The frame core's quick-customize menu: the list of a toolbar's buttons that a chevron's
// add-or-remove item opens, each with a check mark that shows or hides the button.
#include "toolkit/bars/PlxCustomizeButton.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxFrameCore.h"
#include "toolkit/core/PlxFrameWnd.h"
#include "toolkit/core/PlxMDIFrameWnd.h"
#include "toolkit/core/PlxOleIPFrameWnd.h"

namespace {

constexpr UINT kQuickCustomizeText = 17021;  // the add-or-remove item's label

CPlxToolBar* g_pQuickCustomizeToolbar = nullptr;  // UI thread only

}  // namespace

CPlxToolBar* PlxQuickCustomizeToolbar() {
  return g_pQuickCustomizeToolbar;
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

BOOL CPlxFrameCore::ShowQuickCustomizeMenu(CPlxPopupMenu*) {
  return FALSE;
}

BOOL CPlxFrameCore::AddHiddenToolbarButtons(CPlxPopupMenu*, UINT) {
  return g_pQuickCustomizeToolbar != nullptr;
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
