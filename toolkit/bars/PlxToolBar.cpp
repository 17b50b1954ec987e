#include "toolkit/bars/PlxToolBar.h"

#include "platform/mfc/WndMessageMap.h"
#include "platform/user/Paint.h"
#include "platform/user/WindowPos.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"

IMPLEMENT_DYNAMIC(CPlxToolBar, CControlBar)
IMPLEMENT_DYNAMIC(CPlxMenuBar, CPlxToolBar)
IMPLEMENT_DYNAMIC(CPlxPopupMenuBar, CPlxToolBar)
IMPLEMENT_DYNAMIC(CPlxPopupMenu, CWnd)
IMPLEMENT_DYNAMIC(CPlxStatusBar, CControlBar)

BOOL CPlxToolBar::m_bCustomizeMode = FALSE;
BOOL CPlxToolBar::m_bAltDragActive = FALSE;
CSize CPlxToolBar::m_sizeImage = CSize(16, 15);
CSize CPlxToolBar::m_sizeMenuImage = CSize(-1, -1);
COLORREF CPlxToolBar::m_clrTextHot = (COLORREF)-1;
BOOL CPlxMenuBar::m_bMenuShadows = TRUE;

BEGIN_MESSAGE_MAP(CPlxToolBar, CControlBar)
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CPlxToolBar::CPlxToolBar() : m_Impl(this) {
  GetAllToolbars().AddTail(this);
}

CPlxToolBar::~CPlxToolBar() {
  CObList& bars = GetAllToolbars();
  if (POSITION pos = bars.Find(this)) bars.RemoveAt(pos);
}

CObList& CPlxToolBar::GetAllToolbars() {
  static CObList bars;  // UI thread only
  return bars;
}

CSize CPlxToolBar::GetMenuImageSize() {
  return m_sizeMenuImage.cx == -1 ? m_sizeImage : m_sizeMenuImage;
}

void CPlxToolBar::OnChangeVisualManager() {
  if (CPlxVisualManager::GetInstance()->IsToolbarRoundShape(this)) {
    CRect rect;
    GetWindowRect(rect);
    HRGN region = CreateRoundRectRgn(0, 0, rect.Width() + 1, rect.Height() + 1, 4, 4);
    SetWindowRgn(region, FALSE);
  } else {
    SetWindowRgn(nullptr, FALSE);
  }
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
}

void CPlxToolBar::DoPaint(CDC* pDC) {
  CRect client;
  GetClientRect(client);
  CPlxVisualManager::GetInstance()->OnFillBarBackground(pDC, this, client, client);
}

BOOL CPlxToolBar::OnEraseBkgnd(CDC*) {
  return TRUE;  // DoPaint fills the whole client area
}

void CPlxToolBar::OnGlobalFontsChanged() {
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void CPlxToolBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
  m_Impl.CalcNcSize(lpncsp);
}

void CPlxToolBar::OnNcPaint() {
  m_Impl.DrawNcArea();
}

CFont* CPlxMenuBar::GetMenuFont(BOOL bHorz) {
  return bHorz ? &g_plxGlobalData.fontRegular : &g_plxGlobalData.fontVert;
}
