// The colour popup: a popup menu frame around an embedded colour bar, and the stand-alone bar a
// tear-off leaves behind.
#include "toolkit/core/PlxColorPopup.h"

#include "platform/mfc/WndMessageMap.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/customize/PlxColorMenuButton.h"

IMPLEMENT_DYNAMIC(CColorPopup, CPlxPopupMenu)

BEGIN_MESSAGE_MAP(CColorPopup, CPlxPopupMenu)
ON_WM_CREATE()
END_MESSAGE_MAP()

CColorPopup::CColorPopup(const CArray<COLORREF, COLORREF>& colors, COLORREF color, LPCTSTR lpszAutoColor,
                         LPCTSTR lpszOtherColor, LPCTSTR lpszDocColors,
                         CList<COLORREF, COLORREF>& lstDocColors, int nColumns, int nHorzDockRows,
                         int nVertDockColumns, COLORREF colorAutomatic, UINT uiCommandID,
                         CPlxColorButton* pParentBtn)
    : m_colorBar(colors, color, lpszAutoColor, lpszOtherColor, lpszDocColors, lstDocColors, nColumns,
                 nHorzDockRows, nVertDockColumns, colorAutomatic, uiCommandID, pParentBtn),
      m_bAllowInCustomize(FALSE) {}

CColorPopup::~CColorPopup() {
  if (m_colorBar.GetSafeHwnd() != nullptr) m_colorBar.DestroyWindow();
}

int CColorPopup::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CPlxToolBar::m_bCustomizeMode && !m_bAllowInCustomize) return -1;
  if (CMiniFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
  DWORD style = WS_CHILD | WS_VISIBLE | CBRS_GRIPPER | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM |
                CBRS_HIDE_INPLACE | CBRS_TOOLTIPS | CBRS_FLYBY;
  if (GetAnimationType() != NoAnimation && !CPlxToolBar::m_bCustomizeMode) style &= ~WS_VISIBLE;
  if (!m_colorBar.Create(this, style, 1, nullptr, 0, 0, 0)) return -1;
  m_colorBar.SetOwner(GetParent());
  m_colorBar.SetBarStyle(m_colorBar.GetBarStyle() | CBRS_TOOLTIPS);
  CFrameWnd* frame = g_pTopLevelFrame != nullptr ? g_pTopLevelFrame : GetTopLevelFrame();
  ActivatePopupMenu(frame, this);
  RecalcLayout(TRUE);
  return 0;
}

CControlBar* CColorPopup::CreateTearOffBar(CFrameWnd* pWndMain, UINT uiID, LPCTSTR lpszName) {
  auto* menuButton = dynamic_cast<CPlxColorMenuButton*>(m_pParentBtn);
  if (menuButton == nullptr) return nullptr;
  auto* bar = new CPlxColorBar(m_colorBar, menuButton->m_nID);
  if (!bar->Create(
          pWndMain,
          WS_CHILD | WS_VISIBLE | CBRS_GRIPPER | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_HIDE_INPLACE,
          uiID, nullptr, 0, 0, 0)) {
    delete bar;
    return nullptr;
  }
  bar->SetWindowText(lpszName);
  bar->SetBarStyle(bar->GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);
  bar->EnableDocking(CBRS_ALIGN_ANY);
  return bar;
}
