#include "toolkit/core/PlxFrameCore.h"

#include "toolkit/bars/PlxToolBar.h"

CPlxFrameCore::CPlxFrameCore(CFrameWnd* pFrame) : m_pFrame(pFrame) {}

CPlxFrameCore::~CPlxFrameCore() {
  while (!m_listUserDefinedToolbars.IsEmpty()) delete m_listUserDefinedToolbars.RemoveHead();
  while (!m_listTearOffToolbars.IsEmpty()) delete m_listTearOffToolbars.RemoveHead();
}

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
