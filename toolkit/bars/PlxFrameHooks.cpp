#include "toolkit/bars/PlxFrameHooks.h"

#include "platform/mfc/WinApp.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxToolBar.h"

CFrameWnd* g_pTopLevelFrame = nullptr;

CPlxToolkitFrame::CPlxToolkitFrame(CFrameWnd* pFrame) {
  if (pFrame == nullptr) return;
  if ((m_pMDI = dynamic_cast<CPlxMDIFrameWnd*>(pFrame)) != nullptr) {
    m_pImpl = &m_pMDI->m_Impl;
  } else if ((m_pSDI = dynamic_cast<CPlxFrameWnd*>(pFrame)) != nullptr) {
    m_pImpl = &m_pSDI->m_Impl;
  } else if ((m_pOle = dynamic_cast<CPlxOleIPFrameWnd*>(pFrame)) != nullptr) {
    m_pImpl = &m_pOle->m_Impl;
  } else if ((m_pOleDoc = dynamic_cast<CPlxOleDocIPFrameWnd*>(pFrame)) != nullptr) {
    m_pImpl = &m_pOleDoc->m_Impl;
  } else {
    return;
  }
  m_pFrame = pFrame;
}

// Calls the same hook on whichever kind the frame is.
#define PLX_FRAME_HOOK(call, none)                  \
  if (m_pMDI != nullptr) return m_pMDI->call;       \
  if (m_pSDI != nullptr) return m_pSDI->call;       \
  if (m_pOle != nullptr) return m_pOle->call;       \
  if (m_pOleDoc != nullptr) return m_pOleDoc->call; \
  return none

BOOL CPlxToolkitFrame::OnShowPopupMenu(CPlxPopupMenu* pMenu) const {
  PLX_FRAME_HOOK(OnShowPopupMenu(pMenu), TRUE);
}

void CPlxToolkitFrame::OnClosePopupMenu(CPlxPopupMenu* pMenu) const {
  PLX_FRAME_HOOK(OnClosePopupMenu(pMenu), (void)0);
}

BOOL CPlxToolkitFrame::OnDrawMenuImage(CDC* pDC, const CPlxToolbarMenuButton* pButton,
                                       const CRect& rect) const {
  PLX_FRAME_HOOK(OnDrawMenuImage(pDC, pButton, rect), FALSE);
}

BOOL CPlxToolkitFrame::GetToolbarButtonToolTipText(CPlxToolbarButton* pButton, TOOLINFOA* pTI) const {
  PLX_FRAME_HOOK(GetToolbarButtonToolTipText(pButton, pTI), FALSE);
}

BOOL CPlxToolkitFrame::GetToolbarToolTipText(CPlxToolbarButton* pButton, CString& strText) const {
  PLX_FRAME_HOOK(GetToolbarToolTipText(pButton, strText), FALSE);
}

void CPlxToolkitFrame::OnDrawMenuLogo(CDC* pDC, CPlxPopupMenu* pMenu, const CRect& rect) const {
  PLX_FRAME_HOOK(OnDrawMenuLogo(pDC, pMenu, rect), (void)0);
}

BOOL CPlxToolkitFrame::OnTearOffMenu(CPlxPopupMenu* pMenu, CControlBar* pBar) const {
  PLX_FRAME_HOOK(OnTearOffMenu(pMenu, pBar), TRUE);
}

BOOL CPlxToolkitFrame::OnShowCustomizePane(CPlxPopupMenu* pMenu, UINT uiToolbarResId) const {
  PLX_FRAME_HOOK(OnShowCustomizePane(pMenu, uiToolbarResId), FALSE);
}

#undef PLX_FRAME_HOOK

CPlxToolkitFrame PlxGetToolkitFrame(const CWnd* pWnd) {
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
  return CPlxToolkitFrame(frame);
}

BOOL PlxFrameButtonToolTip(const CWnd* pWnd, CPlxToolbarButton* pButton, TOOLINFOA* pTI) {
  return PlxGetToolkitFrame(pWnd).GetToolbarButtonToolTipText(pButton, pTI);
}
