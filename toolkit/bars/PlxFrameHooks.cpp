#include "toolkit/bars/PlxFrameHooks.h"

#include "platform/mfc/WinApp.h"
#include "toolkit/bars/PlxToolBar.h"

IMPLEMENT_DYNAMIC(CPlxFrameWnd, CFrameWnd)

CFrameWnd* g_pTopLevelFrame = nullptr;

BOOL CPlxFrameCore::EnableUserDefinedToolbars(UINT uiFirst, UINT uiLast) {
  if (uiFirst == (UINT)-1 || uiLast == (UINT)-1 || uiLast < uiFirst) return FALSE;
  m_uiUserToolbarFirst = uiFirst;
  m_uiUserToolbarLast = uiLast;
  return TRUE;
}

BOOL CPlxFrameCore::IsUserDefinedToolbar(const CControlBar* pBar) const {
  if (pBar == nullptr || pBar->GetSafeHwnd() == nullptr || m_uiUserToolbarFirst == (UINT)-1) return FALSE;
  const UINT id = static_cast<UINT>(pBar->GetDlgCtrlID());
  return id >= m_uiUserToolbarFirst && id <= m_uiUserToolbarLast;
}

BOOL CPlxFrameWnd::OnShowPopupMenu(CPlxPopupMenu* pMenu) {
  CPlxPopupMenu::m_pActiveTracked = pMenu;
  return TRUE;
}

void CPlxFrameWnd::OnClosePopupMenu(CPlxPopupMenu* pMenu) {
  if (CPlxPopupMenu::m_pActiveTracked == pMenu) CPlxPopupMenu::m_pActiveTracked = nullptr;
}

CPlxFrameWnd* PlxGetToolkitFrame(const CWnd* pWnd) {
  CFrameWnd* frame = g_pTopLevelFrame;
  if (frame == nullptr) {
    if (pWnd != nullptr) {
      frame = AfxGetParentFrame(pWnd);
      // The top-level frame: walk up through nested frames.
      while (frame != nullptr) {
        CFrameWnd* up = AfxGetParentFrame(frame);
        if (up == nullptr) break;
        frame = up;
      }
    } else {
      frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    }
  }
  return dynamic_cast<CPlxFrameWnd*>(frame);
}

BOOL PlxFrameButtonToolTip(const CWnd* pWnd, CPlxToolbarButton* pButton, TOOLINFOA* pTI) {
  CPlxFrameWnd* frame = PlxGetToolkitFrame(pWnd);
  return frame != nullptr && frame->GetToolbarButtonToolTipText(pButton, pTI);
}
