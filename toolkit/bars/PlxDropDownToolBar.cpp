// The drop-down button, its popup frame and the bar shown in it. The frame's bar holds copies of
// the second toolbar's buttons: the source keeps laying out, pressing and freeing its own.
#include "toolkit/bars/PlxDropDownToolBar.h"

#include "platform/base/Archive.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/user/Timer.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxTrackMouse.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"

IMPLEMENT_SERIAL(CPlxDropDownToolBar, CPlxToolBar, 1)
IMPLEMENT_SERIAL(CPlxDropDownFrame, CMiniFrameWnd, VERSIONABLE_SCHEMA | 1)

UINT CPlxDropDownToolbarButton::m_uiShowBarDelay = 500;
CPlxDropDownToolbarButton* CPlxDropDownToolbarButton::m_pCurrentButton = nullptr;
CString CPlxDropDownFrame::m_strClassName;

namespace {

constexpr UINT_PTR kShowBarTimer = 1;
constexpr UINT kDropDownBarId = 0xE827;
// Ends the frame after the handler that chose it has returned: the bar lives inside the frame.
constexpr UINT kCloseFrame = WM_USER + 0x161;

CPlxToolBar* AsToolBar(CWnd* pWnd) {
  return dynamic_cast<CPlxToolBar*>(pWnd);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The button

CPlxDropDownToolbarButton::CPlxDropDownToolbarButton() {
  m_bLocked = TRUE;
}

CPlxDropDownToolbarButton::CPlxDropDownToolbarButton(LPCTSTR lpszName, CPlxToolBar* pToolBar)
    : m_pToolBar(pToolBar), m_strName(lpszName != nullptr ? lpszName : "") {
  m_bLocked = TRUE;
}

CPlxDropDownToolbarButton::~CPlxDropDownToolbarButton() {
  // A running timer would call back into a freed button; an open frame would point at it.
  KillDelayTimer();
  CloseFrame();
}

void CPlxDropDownToolbarButton::KillDelayTimer() {
  if (m_uiTimer != 0) {
    if (m_pWndParentBar != nullptr && m_pWndParentBar->GetSafeHwnd() != nullptr)
      ::KillTimer(m_pWndParentBar->GetSafeHwnd(), m_uiTimer);
    m_uiTimer = 0;
  }
  if (m_pCurrentButton == this) m_pCurrentButton = nullptr;
}

void CPlxDropDownToolbarButton::CloseFrame() {
  CPlxDropDownFrame* frame = m_pPopupFrame;
  m_pPopupFrame = nullptr;
  if (frame == nullptr) return;
  frame->m_pParentButton = nullptr;
  if (frame->GetSafeHwnd() != nullptr) frame->DestroyWindow();
  if (auto* menuBar = dynamic_cast<CPlxMenuBar*>(m_pWndParentBar)) menuBar->SetHot(nullptr);
}

CPlxToolBar* CPlxDropDownToolbarButton::GetDropDownBar() {
  if (m_pToolBar != nullptr && CPlxToolBar::GetAllToolbars().Find(m_pToolBar) == nullptr)
    m_pToolBar = nullptr;
  return m_pToolBar;
}

void CPlxDropDownToolbarButton::SetDefaultCommand(UINT nID) {
  m_nID = nID;
  m_bDefaultUserImage = FALSE;
  m_iDefaultImage = 0;
  CPlxToolBar* bar = GetDropDownBar();
  if (bar == nullptr) return;
  int images = 0;
  for (int i = 0; i < bar->GetCount(); ++i) {
    CPlxToolbarButton* b = bar->GetButton(i);
    if (b->m_nStyle & TBBS_SEPARATOR) continue;
    if (b->m_nID == nID) {
      m_bDefaultUserImage = b->m_bUserImage;
      m_iDefaultImage = b->m_bUserImage ? b->m_iUserImage : images;
      return;
    }
    ++images;
  }
}

void CALLBACK CPlxDropDownToolbarButton::OnShowBarTimer(HWND hwnd, UINT, UINT_PTR, DWORD) {
  if (m_pCurrentButton != nullptr) m_pCurrentButton->OnClick(CWnd::FromHandlePermanent(hwnd), FALSE);
}

BOOL CPlxDropDownToolbarButton::OnClick(CWnd* pWnd, BOOL bDelay) {
  if (m_uiTimer == 0) {
    if (m_pWndParentBar == nullptr || m_pWndParentBar->GetSafeHwnd() == nullptr) return FALSE;
    if (m_pCurrentButton != nullptr && m_pCurrentButton != this) m_pCurrentButton->KillDelayTimer();
    m_uiTimer = ::SetTimer(m_pWndParentBar->GetSafeHwnd(), kShowBarTimer, m_uiShowBarDelay, OnShowBarTimer);
    if (m_uiTimer != 0) m_pCurrentButton = this;
    return FALSE;
  }
  KillDelayTimer();
  if (m_pPopupFrame != nullptr) {
    CloseFrame();
  } else {
    auto* popupBar = dynamic_cast<CPlxPopupMenuBar*>(m_pWndParentBar);
    if (!(bDelay && popupBar != nullptr && !CPlxToolBar::m_bCustomizeMode)) {
      ShowDropDownBar(pWnd);
      if (auto* menuBar = dynamic_cast<CPlxMenuBar*>(m_pWndParentBar)) menuBar->SetHot(this);
    }
  }
  if (m_pWndParentBar != nullptr && m_pWndParentBar->GetSafeHwnd() != nullptr) {
    m_pWndParentBar->InvalidateRect(m_rect);
    m_pWndParentBar->UpdateWindow();
  }
  return FALSE;
}

BOOL CPlxDropDownToolbarButton::OnClickUp() {
  if (m_uiTimer != 0) {
    KillDelayTimer();
    return FALSE;  // a short click: the bar runs the default command
  }
  CloseFrame();
  return TRUE;
}

BOOL CPlxDropDownToolbarButton::ShowDropDownBar(CWnd* pWnd) {
  if (GetDropDownBar() == nullptr || m_pPopupFrame != nullptr) return FALSE;
  if (pWnd == nullptr) pWnd = m_pWndParentBar;
  if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr) return FALSE;
  CPoint at;
  if (m_pWndParentBar != nullptr && !m_pWndParentBar->IsHorizontal())
    at = CPoint(m_rect.right + 1, m_rect.top);
  else
    at = CPoint(m_rect.left - 1, m_rect.bottom);
  pWnd->ClientToScreen(&at);

  auto* frame = new CPlxDropDownFrame;
  m_pPopupFrame = frame;
  frame->m_pParentButton = this;
  if (frame->Create(pWnd, at.x, at.y, m_pToolBar)) return TRUE;
  // A frame whose window failed is freed here, so the next press starts afresh. One that went
  // through its own destruction has already cleared the pointer and deleted itself.
  if (m_pPopupFrame == frame) {
    m_pPopupFrame = nullptr;
    delete frame;
  }
  return FALSE;
}

void CPlxDropDownToolbarButton::OnCancelMode() {
  // A press cancelled before the delay ran out opens nothing.
  KillDelayTimer();
  if (m_pWndParentBar != nullptr && m_pWndParentBar->GetSafeHwnd() != nullptr) {
    m_pWndParentBar->InvalidateRect(m_rect);
    m_pWndParentBar->UpdateWindow();
  }
}

void CPlxDropDownToolbarButton::OnChangeParentWnd(CWnd* pWndParent) {
  CPlxToolbarButton::OnChangeParentWnd(pWndParent);
  m_pWndParentBar = AsToolBar(pWndParent);
  m_strText.Empty();
  m_bText = FALSE;
  m_bUserImage = FALSE;
}

void CPlxDropDownToolbarButton::CopyFrom(const CPlxToolbarButton& src) {
  CPlxToolbarButton::CopyFrom(src);
  if (const auto* other = dynamic_cast<const CPlxDropDownToolbarButton*>(&src)) {
    m_pToolBar = other->m_pToolBar;
    m_strName = other->m_strName;
    m_iDefaultImage = other->m_iDefaultImage;
    m_bDefaultUserImage = other->m_bDefaultUserImage;
  }
  m_bDragCopy = FALSE;
}

CSize CPlxDropDownToolbarButton::OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) {
  if (m_nID == 0)
    if (CPlxToolBar* bar = GetDropDownBar())
      for (int i = 0; i < bar->GetCount(); ++i)
        if (!(bar->GetButton(i)->m_nStyle & TBBS_SEPARATOR)) {
          SetDefaultCommand(bar->GetButton(i)->m_nID);
          break;
        }
  const BOOL savedImage = m_bImage;
  m_iImage = m_iDefaultImage;
  m_bImage = TRUE;
  CSize size = CPlxToolbarButton::OnCalculateSize(pDC, sizeDefault, bHorz);
  m_iImage = -1;
  m_bImage = savedImage;
  size.cx += CPlxToolBar::m_bLargeIcons ? 9 : 4;
  return size;
}

void CPlxDropDownToolbarButton::OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz,
                                       BOOL bCustomizeMode, BOOL bHighlight, BOOL bDrawBorder,
                                       BOOL bGrayDisabledButtons) {
  const BOOL large = CPlxToolBar::m_bLargeIcons;
  m_bHorz = bHorz;
  FillInterior(pDC, rect, bHighlight);

  if (CPlxToolBar* bar = GetDropDownBar()) {
    const BOOL savedFill = m_bDisableFill, savedImage = m_bImage;
    m_bDisableFill = TRUE;
    m_bImage = TRUE;
    m_bDrawingDefault = TRUE;
    CPlxButtonImages* strip = nullptr;
    CRect rectImage = rect;
    if (m_bDefaultUserImage && CPlxToolBar::m_pUserImages != nullptr) {
      strip = CPlxToolBar::m_pUserImages;
      m_bUserImage = TRUE;
      m_iUserImage = m_iDefaultImage;
    } else {
      strip = large && bar->m_ownLargeImages.GetCount() > 0 ? &bar->m_ownLargeImages : &bar->m_ownImages;
      m_bUserImage = FALSE;
      m_iImage = m_iDefaultImage;
      rectImage.right -= large ? 8 : 4;
    }
    if (strip->GetCount() > 0) {
      if (strip->GetTransparentColor() != g_plxGlobalData.clrBtnFace) {
        strip->SetTransparentColor(g_plxGlobalData.clrBtnFace);
        strip->CreateStateImage(FALSE);
        strip->CreateStateImage(TRUE);
      }
      PlxImageDrawState ds;
      if (strip->PrepareDrawImage(ds, bar->GetImageSize())) {
        CPlxToolbarButton::OnDraw(pDC, rectImage, strip, bHorz, bCustomizeMode, bHighlight, FALSE,
                                  bGrayDisabledButtons);
        strip->EndDrawImage(ds);
      }
    }
    m_bDisableFill = savedFill;
    m_bImage = savedImage;
    m_iImage = -1;
    m_iUserImage = -1;
    m_bUserImage = FALSE;
    m_bDrawingDefault = FALSE;
  }

  // The black corner triangle that tells this button from a plain one.
  const int w = large ? 14 : 7, h = large ? 7 : 4;
  const int shift = (m_nStyle & TBBS_PRESSED) ? 1 : 0;
  const int r = rect.right + shift, b = rect.bottom + shift;
  POINT triangle[3] = {{r - w - 1, b - h + 1}, {r - h + 1, b - h + 1}, {r - h + 1, b - w - 1}};
  CBrush* oldBrush =
      pDC->SelectObject(CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH))));
  CPen* oldPen = pDC->SelectObject(CPen::FromHandle(static_cast<HPEN>(::GetStockObject(NULL_PEN))));
  pDC->Polygon(triangle, 3);
  pDC->SelectObject(oldPen);
  pDC->SelectObject(oldBrush);

  if (bCustomizeMode || !HaveHotBorder() || !bDrawBorder) return;
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  const BOOL hasCommand = m_nID != 0 && m_nID != (UINT)-1;
  if (m_pPopupFrame != nullptr || (m_nStyle & (TBBS_PRESSED | TBBS_CHECKED))) {
    manager->OnDrawButtonBorder(pDC, this, rect, hasCommand ? PlxButtonPressed : PlxButtonHighlighted);
  } else if (bHighlight && !(m_nStyle & (TBBS_DISABLED | TBBS_CHECKED | TBBS_INDETERMINATE))) {
    manager->OnDrawButtonBorder(pDC, this, rect,
                                (m_nStyle & TBBS_PRESSED) ? PlxButtonPressed : PlxButtonHighlighted);
  }
}

int CPlxDropDownToolbarButton::OnDrawOnCustomizeList(CDC* pDC, const CRect& rect, BOOL bSelected) {
  const CString saved = m_strText;
  m_strText = m_strName;
  const int width = CPlxToolbarButton::OnDrawOnCustomizeList(pDC, rect, bSelected);
  m_strText = saved;
  return width;
}

BOOL CPlxDropDownToolbarButton::OnCustomizeMenu(CMenu* pMenu) {
  if (pMenu == nullptr) return TRUE;
  for (UINT id : {16911u, 16913u, 16914u, 16915u, 16916u})
    ::EnableMenuItem(pMenu->GetSafeHmenu(), id, MF_BYCOMMAND | MF_GRAYED);
  return TRUE;
}

BOOL CPlxDropDownToolbarButton::ExportTooltipText(CPlxToolbarButton* pTarget) {
  if (!CPlxToolbarButton::ExportTooltipText(pTarget)) return FALSE;
  CPlxToolBar* bar = GetDropDownBar();
  auto* target = dynamic_cast<CPlxToolbarMenuButton*>(pTarget);
  if (bar == nullptr || target == nullptr) return FALSE;
  HMENU menu = ::CreatePopupMenu();
  for (int i = 0; i < bar->GetCount(); ++i) {
    CPlxToolbarButton* b = bar->GetButton(i);
    if (b->m_nStyle & TBBS_SEPARATOR) {
      ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    if (b->m_nID == 0 || b->m_nID == (UINT)-1) continue;
    CString text = b->m_strText;
    if (text.IsEmpty()) {
      CString resource;
      if (resource.LoadString(b->m_nID) && resource.Find('\n') >= 0)
        text = resource.Mid(resource.Find('\n') + 1);
    }
    ::AppendMenu(menu, MF_STRING, b->m_nID, text);
  }
  target->m_nID = 0;
  target->m_strText = m_strName;
  target->SetImage(-1);
  target->m_bImage = FALSE;
  target->CreateFromMenu(menu);
  ::DestroyMenu(menu);
  return TRUE;
}

void CPlxDropDownToolbarButton::Serialize(CArchive& ar) {
  CPlxToolbarButton::Serialize(ar);
  if (ar.IsStoring()) {
    CPlxToolBar* bar = GetDropDownBar();
    ar << static_cast<DWORD>(bar != nullptr ? bar->m_uiDefaultResId : 0);
    ar << m_strName;
    ar << static_cast<DWORD>(m_iDefaultImage);
    return;
  }
  DWORD resId = 0, image = 0;
  ar >> resId;
  ar >> m_strName;
  ar >> image;
  m_iDefaultImage = static_cast<int>(image);
  m_pToolBar = nullptr;
  CObList& bars = CPlxToolBar::GetAllToolbars();
  for (POSITION pos = bars.GetHeadPosition(); pos != nullptr;) {
    auto* bar = dynamic_cast<CPlxDropDownToolBar*>(bars.GetNext(pos));
    if (bar != nullptr && CWnd::FromHandlePermanent(bar->GetSafeHwnd()) != nullptr && resId != 0 &&
        bar->m_uiDefaultResId == resId) {
      m_pToolBar = bar;
      break;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The bar

BEGIN_MESSAGE_MAP(CPlxDropDownToolBar, CPlxToolBar)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CPlxDropDownToolBar::CPlxDropDownToolBar() {
  m_bLocked = TRUE;
}

void CPlxDropDownToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  auto* target = dynamic_cast<CFrameWnd*>(GetCommandTarget());
  CPlxToolBar::OnUpdateCmdUI(target != nullptr ? target : pTarget, bDisableIfNoHndler);
}

BOOL CPlxDropDownToolBar::LoadBitmap(UINT uiResID, UINT uiColdResID, UINT uiMenuResID, BOOL,
                                     UINT uiDisabledResID, UINT uiMenuDisabledResID) {
  return CPlxToolBar::LoadBitmap(uiResID, uiColdResID, uiMenuResID, TRUE, uiDisabledResID,
                                 uiMenuDisabledResID);
}

BOOL CPlxDropDownToolBar::LoadToolBar(UINT uiResID, UINT uiColdResID, UINT uiMenuResID, BOOL,
                                      UINT uiDisabledResID, UINT uiMenuDisabledResID, UINT uiHotResID) {
  return CPlxToolBar::LoadToolBar(uiResID, uiColdResID, uiMenuResID, TRUE, uiDisabledResID,
                                  uiMenuDisabledResID, uiHotResID);
}

void CPlxDropDownToolBar::OnMouseMove(UINT, CPoint point) {
  if (point == m_ptLastMouse) return;
  m_ptLastMouse = point;
  int hot = HitTest(point);
  if (CPlxToolbarButton* b = GetButton(hot)) {
    if ((b->m_nStyle & TBBS_SEPARATOR) || ((b->m_nStyle & TBBS_DISABLED) && !AllowHighlightDisabled()))
      hot = -1;
  }
  if (!m_bMouseTracked) {
    m_bMouseTracked = TRUE;
    TRACKMOUSEEVENT tme{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0};
    TrackMouseLeave(&tme);
  }
  const int old = m_iHot;
  m_iHot = hot;
  // The hot button is shown pressed: the mouse is still down from the press that opened us.
  if (hot != m_iPressed) {
    if (m_iPressed >= 0) SetButtonStyle(m_iPressed, GetButtonStyle(m_iPressed) & ~TBBS_PRESSED);
    if (hot >= 0) SetButtonStyle(hot, GetButtonStyle(hot) | TBBS_PRESSED);
    m_iPressed = hot;
  }
  if (old >= 0) InvalidateButton(old);
  if (hot >= 0) InvalidateButton(hot);
  if (CPlxToolbarButton* b = GetButton(hot))
    ShowCommandMessageString(b->m_nID);
  else if (m_hMouseHook == nullptr)
    SendIdleMessage();
  OnChangeHot(m_iHot);
}

void CPlxDropDownToolBar::OnLButtonUp(UINT nFlags, CPoint point) {
  if (!m_bCustomizeMode) {
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point)) {
      if (CWnd* frame = GetParent()) frame->PostMessage(kCloseFrame);
      ::ReleaseCapture();
      return;
    }
    if (m_iHot >= 0) {
      m_iPressed = m_iHot;
      SetButtonStyle(m_iHot, GetButtonStyle(m_iHot) & ~TBBS_PRESSED);
    }
  }
  CPlxToolBar::OnLButtonUp(nFlags, point);
}

BOOL CPlxDropDownToolBar::OnSendCommand(const CPlxToolbarButton* pButton) {
  if (pButton == nullptr || (pButton->m_nStyle & TBBS_DISABLED) || pButton->m_nID == 0 ||
      pButton->m_nID == (UINT)-1)
    return FALSE;
  auto* frame = dynamic_cast<CPlxDropDownFrame*>(GetParent());
  if (frame != nullptr && frame->m_pParentButton != nullptr)
    frame->m_pParentButton->SetDefaultCommand(pButton->m_nID);
  CWnd* owner = GetBarOwner();
  if (owner != nullptr) owner->PostMessage(WM_COMMAND, pButton->m_nID, 0);
  if (frame != nullptr) frame->PostMessage(kCloseFrame);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The frame

BEGIN_MESSAGE_MAP(CPlxDropDownFrame, CMiniFrameWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_PAINT()
ON_WM_MOUSEACTIVATE()
ON_WM_DESTROY()
ON_WM_ERASEBKGND()
ON_WM_ACTIVATEAPP()
ON_MESSAGE(kCloseFrame, OnCloseFrame)
END_MESSAGE_MAP()

CPlxDropDownFrame::CPlxDropDownFrame() = default;

CPlxDropDownFrame::~CPlxDropDownFrame() {
  if (m_bDestroyBar && m_wndToolBar.GetSafeHwnd() != nullptr) m_wndToolBar.DestroyWindow();
}

BOOL CPlxDropDownFrame::Create(CWnd* pWndParent, int x, int y, CPlxToolBar* pSrcToolBar) {
  PlayMenuSound();
  if (m_strClassName.IsEmpty())
    m_strClassName =
        AfxRegisterWndClass(CS_SAVEBITS, ::LoadCursor(nullptr, IDC_ARROW),
                            reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)), nullptr);
  m_pSrcToolBar = pSrcToolBar;
  if (x == -1 && y == -1) {
    CPoint at(0, 0);
    if (pWndParent != nullptr) {
      pWndParent->ClientToScreen(&at);
      at.Offset(5, 5);
    }
    x = at.x;
    y = at.y;
  }
  m_x = x;
  m_y = y;
  CWnd* owner = pWndParent != nullptr ? pWndParent->GetOwner() : nullptr;
  if (owner == nullptr) owner = pWndParent != nullptr ? pWndParent->GetParent() : nullptr;
  const DWORD exStyle = pWndParent != nullptr ? (pWndParent->GetExStyle() & WS_EX_LAYOUTRTL) : 0;
  if (!CWnd::CreateEx(exStyle, m_strClassName, m_strCaption, WS_POPUP, CRect(x, y, x, y), owner, 0))
    return FALSE;
  m_pSrcToolBar = nullptr;  // read only while the frame is made
  ShowWindow(SW_SHOWNOACTIVATE);
  return TRUE;
}

int CPlxDropDownFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CMiniFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
  if (m_pSrcToolBar == nullptr || m_pSrcToolBar->GetSafeHwnd() == nullptr) return -1;
  CPlxToolBar* parentBar = m_pParentButton != nullptr ? m_pParentButton->m_pWndParentBar : nullptr;
  const BOOL parentHorz = parentBar == nullptr || parentBar->IsHorizontal();
  const DWORD orient = parentHorz ? CBRS_ORIENT_VERT : CBRS_ORIENT_HORZ;
  if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | orient, CRect(1, 1, 1, 1),
                             kDropDownBarId))
    return -1;
  CPlxToolBar& src = *m_pSrcToolBar;
  m_wndToolBar.m_bLocked = TRUE;
  src.m_ownImages.CopyTemplate(m_wndToolBar.m_ownImages);
  src.m_ownColdImages.CopyTemplate(m_wndToolBar.m_ownColdImages);
  src.m_ownDisabledImages.CopyTemplate(m_wndToolBar.m_ownDisabledImages);
  m_wndToolBar.m_sizeOwnButton = src.m_sizeOwnButton;
  m_wndToolBar.m_sizeOwnImage = src.m_sizeOwnImage;
  m_wndToolBar.m_sizeOwnCurButton = src.m_sizeOwnCurButton;
  m_wndToolBar.m_sizeOwnCurImage = src.m_sizeOwnCurImage;
  m_wndToolBar.m_dwStyle &= ~CBRS_GRIPPER;
  // Commands and their updates go where the source's go, not to this frame.
  CWnd* owner = src.GetBarOwner();
  if (owner == nullptr) owner = src.GetParent();
  m_wndToolBar.SetOwner(owner);
  m_wndToolBar.m_hWndOwner = owner->GetSafeHwnd();
  m_wndToolBar.m_bRouteToFrame = src.m_bRouteToFrame;
  // Copies, not the source's own objects: its layout and presses must not move ours, and a
  // source destroyed while we are open must not free them under us.
  for (int i = 0; i < src.GetCount(); ++i) {
    CPlxToolbarButton* b = src.GetButton(i);
    if (b->m_nStyle & TBBS_SEPARATOR) {
      m_wndToolBar.InsertSeparator();
      continue;
    }
    const int at = m_wndToolBar.InsertButton(*b);
    if (CPlxToolbarButton* copy = m_wndToolBar.GetButton(at)) copy->m_nStyle &= ~TBBS_PRESSED;
  }
  m_bCreated = TRUE;
  RecalcLayout();
  ::ReleaseCapture();
  m_wndToolBar.SetCapture();
  return 0;
}

void CPlxDropDownFrame::RecalcLayout(BOOL) {
  if (GetSafeHwnd() == nullptr || m_wndToolBar.GetSafeHwnd() == nullptr) return;
  CPlxToolBar* parentBar = m_pParentButton != nullptr ? m_pParentButton->m_pWndParentBar : nullptr;
  const BOOL parentHorz = parentBar == nullptr || parentBar->IsHorizontal();
  CSize size = m_wndToolBar.CalcSize(parentHorz);
  size.cx += 6;
  size.cy += 6;
  const int cxScreen = ::GetSystemMetrics(SM_CXFULLSCREEN), cyScreen = ::GetSystemMetrics(SM_CYFULLSCREEN);
  if (m_x + size.cx > cxScreen) {
    if (parentBar != nullptr && !parentHorz) {
      CRect rectBar;
      parentBar->GetWindowRect(&rectBar);
      m_x = rectBar.left - size.cx;
    } else {
      m_x = cxScreen - size.cx - 1;
    }
  }
  if (m_y + size.cy > cyScreen) {
    m_y -= size.cy;
    if (m_pParentButton != nullptr)
      m_y -= m_pParentButton->m_rect.Height() + 4;  // above the button
    else if (m_y < 0)
      m_y = 0;
  }
  SetWindowPos(nullptr, m_x, m_y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPlxDropDownFrame::OnSize(UINT, int cx, int cy) {
  if (m_wndToolBar.GetSafeHwnd() != nullptr)
    m_wndToolBar.SetWindowPos(nullptr, 2, 2, cx - 4, cy - 4, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CPlxDropDownFrame::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, g_plxGlobalData.clrBarFace);
  return TRUE;
}

void CPlxDropDownFrame::OnPaint() {
  CPaintDC dc(this);
  CRect rect;
  GetClientRect(&rect);
  dc.Draw3dRect(&rect, g_plxGlobalData.clrBarLight, g_plxGlobalData.clrBarDkShadow);
  rect.DeflateRect(1, 1);
  dc.Draw3dRect(&rect, g_plxGlobalData.clrBarHilite, g_plxGlobalData.clrBarShadow);
}

LRESULT CPlxDropDownFrame::OnCloseFrame(WPARAM, LPARAM) {
  DestroyWindow();
  return 0;
}

int CPlxDropDownFrame::OnMouseActivate(CWnd*, UINT, UINT) {
  return MA_NOACTIVATE;
}

void CPlxDropDownFrame::OnActivateApp(BOOL bActive, DWORD) {
  if (!bActive && !CPlxToolBar::m_bCustomizeMode) PostMessage(kCloseFrame);
}

void CPlxDropDownFrame::OnDestroy() {
  if (CPlxDropDownToolbarButton* button = m_pParentButton) {
    if (button->m_pPopupFrame == this) button->m_pPopupFrame = nullptr;
    button->m_nStyle &= ~TBBS_PRESSED;
    if (CPlxToolBar* bar = button->m_pWndParentBar; bar != nullptr && bar->GetSafeHwnd() != nullptr) {
      CPoint at;
      ::GetCursorPos(&at);
      bar->ScreenToClient(&at);
      bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    }
  }
  CMiniFrameWnd::OnDestroy();
}

void CPlxDropDownFrame::PostNcDestroy() {
  if (CPlxDropDownToolbarButton* button = m_pParentButton) {
    if (button->m_pPopupFrame == this) button->m_pPopupFrame = nullptr;
    button->OnCancelMode();
  }
  CMiniFrameWnd::PostNcDestroy();
}
