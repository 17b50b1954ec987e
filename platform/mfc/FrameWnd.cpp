// Frames, dock bars, dock contexts and the floating mini frames.
#include "platform/mfc/FrameWnd.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "platform/mfc/AfxRes.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/res/Resources.h"
#include "platform/user/Accel.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)
IMPLEMENT_DYNAMIC(CDockBar, CControlBar)
IMPLEMENT_DYNAMIC(CMiniFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

namespace {

constexpr UINT kDockBarIds[4] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                                 AFX_IDW_DOCKBAR_RIGHT};
constexpr DWORD kDockBarAligns[4] = {CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM, CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT};
constexpr int kDragThreshold = 4;
constexpr int kDockSlack = 12;  // an empty side still takes a bar dropped this close to it

DWORD AlignOfDockBar(UINT nID) {
  for (int i = 0; i < 4; ++i)
    if (kDockBarIds[i] == nID) return kDockBarAligns[i];
  return CBRS_ALIGN_TOP;
}

}  // namespace

CMiniDockFrameWnd* AfxNewFloatingFrame(const CFrameWnd* pFrame) {
  CRuntimeClass* cls = pFrame != nullptr ? pFrame->m_pFloatingFrameClass : nullptr;
  if (cls != nullptr && cls->IsDerivedFrom(RUNTIME_CLASS(CMiniDockFrameWnd)))
    if (CObject* object = cls->CreateObject()) return static_cast<CMiniDockFrameWnd*>(object);
  return new CMiniDockFrameWnd;
}

CFrameWnd* AfxGetParentFrame(const CWnd* pWnd) {
  if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr) return nullptr;
  for (HWND hwnd = ::GetParent(pWnd->m_hWnd); hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
    auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hwnd));
    if (auto* mini = dynamic_cast<CMiniDockFrameWnd*>(frame)) return mini->m_pDockSite;
    if (frame != nullptr) return frame;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------------------------
// CFrameWnd

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_DESTROY()
ON_WM_CLOSE()
ON_WM_SETFOCUS()
ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() = default;
CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCTSTR, DWORD dwExStyle) {
  if (lpszClassName == nullptr)
    lpszClassName = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                  nullptr);
}

BOOL CFrameWnd::LoadAccelTable(LPCTSTR lpszResourceName) {
  m_hAccelTable = ::LoadAccelerators(AfxGetResourceHandle(), lpszResourceName);
  return m_hAccelTable != nullptr;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (m_hAccelTable != nullptr && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
    return ::TranslateAccelerator(m_hWnd, m_hAccelTable, pMsg);
  return FALSE;
}

void CFrameWnd::RecalcLayout(BOOL) {
  if (m_hWnd == nullptr) return;
  RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposDefault);
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify) {
  const bool pending = (m_nIdleFlags & idleLayout) != 0;
  m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0);
  // Modal loops never go idle here: a posted pass makes sure the layout comes.
  if (!pending && m_hWnd != nullptr) PostMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  if (m_nIdleFlags & idleLayout) {
    const BOOL notify = (m_nIdleFlags & idleNotify) != 0;
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    RecalcLayout(notify);
  }
  return 0;
}

void CFrameWnd::OnSize(UINT nType, int, int) {
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnDestroy() {
  // Floating frames go with their dock site.
  std::vector<CMiniDockFrameWnd*> floating;
  floating.swap(m_listFloating);
  for (CMiniDockFrameWnd* mini : floating)
    if (mini->GetSafeHwnd() != nullptr) mini->DestroyWindow();
  // The dock bars delete themselves with their windows: a frame object made again gets new ones.
  for (CDockBar*& dock : m_pDockBars) dock = nullptr;
  Default();
}

void CFrameWnd::SetMessageText(LPCTSTR lpszText) {
  if (CWnd* status = GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE)) status->SetWindowText(lpszText);
}

void CFrameWnd::SetMessageText(UINT nID) {
  CString text;
  if (nID == AFX_IDS_IDLEMESSAGE) {
    text = m_strIdleText;
  } else if (text.LoadString(nID)) {
    const int nl = text.Find('\n');
    if (nl >= 0) text = text.Left(nl);
  }
  SetMessageText(text);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
  if (lParam != 0)
    SetMessageText(reinterpret_cast<LPCTSTR>(lParam));
  else
    SetMessageText(static_cast<UINT>(wParam));
  return 0;
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle) {
  for (int i = 0; i < 4; ++i) {
    if (!(dwDockStyle & kDockBarAligns[i]) || m_pDockBars[i] != nullptr) continue;
    auto* dock = new CDockBar(FALSE);
    dock->m_bAutoDelete = TRUE;
    if (!dock->Create(this, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | kDockBarAligns[i],
                      kDockBarIds[i])) {
      delete dock;
      continue;
    }
    m_pDockBars[i] = dock;
  }
}

CDockBar* CFrameWnd::GetDockBar(UINT nDockBarID) const {
  for (int i = 0; i < 4; ++i)
    if (kDockBarIds[i] == nDockBarID) return m_pDockBars[i];
  return nullptr;
}

CDockBar* CFrameWnd::DockBarFromPoint(CPoint point, DWORD dwAllowed) const {
  CRect client;
  GetClientRect(&client);
  ClientToScreen(&client);
  for (int i = 0; i < 4; ++i) {
    CDockBar* dock = m_pDockBars[i];
    if (dock == nullptr || !(dwAllowed & kDockBarAligns[i])) continue;
    CRect rect;
    dock->GetWindowRect(&rect);
    // An empty or thin side is reached from a strip along the frame's edge.
    switch (kDockBarAligns[i]) {
      case CBRS_ALIGN_TOP:
        rect = CRect(client.left, client.top, client.right,
                     std::max<LONG>(rect.bottom, client.top + kDockSlack));
        break;
      case CBRS_ALIGN_BOTTOM:
        rect = CRect(client.left, std::min<LONG>(rect.top, client.bottom - kDockSlack), client.right,
                     client.bottom);
        break;
      case CBRS_ALIGN_LEFT:
        rect = CRect(client.left, client.top, std::max<LONG>(rect.right, client.left + kDockSlack),
                     client.bottom);
        break;
      default:
        rect = CRect(std::min<LONG>(rect.left, client.right - kDockSlack), client.top, client.right,
                     client.bottom);
        break;
    }
    if (rect.PtInRect(point)) return dock;
  }
  return nullptr;
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
  CDockBar* dock = nullptr;
  if (nDockBarID != 0) {
    dock = GetDockBar(nDockBarID);
  } else {
    const DWORD allowed = pBar->m_pDockContext ? pBar->m_pDockContext->m_dwDockStyle : CBRS_ALIGN_ANY;
    for (int i = 0; i < 4 && dock == nullptr; ++i)
      if ((allowed & kDockBarAligns[i]) && m_pDockBars[i] != nullptr) dock = m_pDockBars[i];
  }
  if (dock != nullptr) DockControlBar(pBar, dock, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  if (pBar == nullptr || pDockBar == nullptr) return;
  CDockBar* old = pBar->m_pDockBar;
  CMiniDockFrameWnd* oldMini =
      old != nullptr && old->m_bFloating ? dynamic_cast<CMiniDockFrameWnd*>(old->GetParent()) : nullptr;
  if (old != nullptr) old->RemoveControlBar(pBar);
  pBar->m_pDockSite = this;
  pBar->m_dwStyle =
      (pBar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_FLOATING)) | (pDockBar->m_dwStyle & CBRS_ALIGN_ANY);
  if (pBar->m_pDockContext != nullptr) {
    pBar->m_pDockContext->m_pDockSite = this;
    pBar->m_pDockContext->m_uMRUDockID = pDockBar->GetDlgCtrlID();
  }
  pDockBar->DockControlBar(pBar, lpRect);
  if (oldMini != nullptr) {
    auto& list = m_listFloating;
    list.erase(std::remove(list.begin(), list.end(), oldMini), list.end());
    oldMini->DestroyWindow();
  }
  RecalcLayout();
  pBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  if (pBar == nullptr) return;
  if (pBar->IsFloating()) {
    if (CWnd* mini = pBar->GetParent() ? pBar->GetParent()->GetParent() : nullptr)
      mini->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  CMiniDockFrameWnd* mini = AfxNewFloatingFrame(this);
  if (pBar->m_pDockBar != nullptr) pBar->m_pDockBar->RemoveControlBar(pBar);
  pBar->m_dwStyle = (pBar->m_dwStyle & ~CBRS_ALIGN_ANY) | CBRS_FLOATING | (dwStyle & CBRS_ALIGN_ANY);
  if (!mini->Create(this, pBar, point)) {
    delete mini;
    return;
  }
  if (pBar->m_pDockContext != nullptr) pBar->m_pDockContext->m_ptMRUFloatPos = point;
  m_listFloating.push_back(mini);
  RecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL) {
  if (pBar == nullptr) return;
  if (pBar->IsFloating()) {
    if (CWnd* mini = pBar->GetParent() ? pBar->GetParent()->GetParent() : nullptr)
      mini->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
  }
  pBar->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
  RecalcLayout();
}

// ---------------------------------------------------------------------------------------------
// CDockBar

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
ON_MESSAGE(WM_SIZEPARENT, OnSizeParentDock)
END_MESSAGE_MAP()

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating) {
  m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
}

CDockBar::~CDockBar() = default;

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  m_dwStyle = dwStyle & CBRS_ALL;
  LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                    reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  return CreateEx(0, cls, "", dwStyle & ~CBRS_ALL, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CDockBar::IsRTL() const {
  const CWnd* frame = GetParent();
  return frame != nullptr && (frame->GetExStyle() & WS_EX_LAYOUTRTL) != 0;
}

int CDockBar::FindBar(CControlBar* pBar, int nPosExclude) const {
  for (int i = 0; i < static_cast<int>(m_arrBars.size()); ++i)
    if (i != nPosExclude && m_arrBars[static_cast<size_t>(i)] == pBar) return i;
  return -1;
}

int CDockBar::GetDockedCount() const {
  return static_cast<int>(
      std::count_if(m_arrBars.begin(), m_arrBars.end(), [](CControlBar* b) { return b != nullptr; }));
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) {
  pBar->m_pDockBar = this;
  if (pBar->GetParent() != this) pBar->SetParent(this);
  // With a drop point: the row under it (a point below every row starts a new one), placed by x.
  size_t insertAt = m_arrBars.size();
  bool newRow = true;
  if (lpRect != nullptr && !m_bFloating && !m_arrBars.empty()) {
    CPoint pt(lpRect->left, lpRect->top);
    ScreenToClient(&pt);
    size_t rowStart = 0;
    for (size_t i = 0; i < m_arrBars.size(); ++i) {
      if (m_arrBars[i] != nullptr) continue;
      int rowTop = INT_MAX, rowBottom = INT_MIN;
      for (size_t j = rowStart; j < i; ++j) {
        CRect r;
        m_arrBars[j]->GetWindowRect(&r);
        ScreenToClient(&r);
        rowTop = std::min<int>(rowTop, IsHorz() ? r.top : r.left);
        rowBottom = std::max<int>(rowBottom, IsHorz() ? r.bottom : r.right);
      }
      const int at = IsHorz() ? pt.y : pt.x;
      if (at >= rowTop && at < rowBottom) {
        insertAt = i;
        for (size_t j = rowStart; j < i; ++j) {
          CRect r;
          m_arrBars[j]->GetWindowRect(&r);
          ScreenToClient(&r);
          if ((IsHorz() ? pt.x : pt.y) < (IsHorz() ? r.left : r.top)) {
            insertAt = j;
            break;
          }
        }
        newRow = false;
        break;
      }
      rowStart = i + 1;
    }
  }
  if (newRow) {
    m_arrBars.push_back(pBar);
    m_arrBars.push_back(nullptr);
  } else {
    m_arrBars.insert(m_arrBars.begin() + static_cast<std::ptrdiff_t>(insertAt), pBar);
  }
  pBar->ShowWindow(SW_SHOWNA);
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar) {
  auto it = std::find(m_arrBars.begin(), m_arrBars.end(), pBar);
  if (it == m_arrBars.end()) return FALSE;
  const bool rowAlone = (it == m_arrBars.begin() || *(it - 1) == nullptr) && (it + 1) != m_arrBars.end() &&
                        *(it + 1) == nullptr;
  it = m_arrBars.erase(it);
  if (rowAlone) m_arrBars.erase(it);
  pBar->m_pDockBar = nullptr;
  return TRUE;
}

CSize CDockBar::LayoutBars(int nLength, BOOL bMove) {
  const BOOL horz = IsHorz();
  int along = 0, across = 0, rowThick = 0;
  bool rowEmpty = true;
  CSize total(0, 0);
  for (size_t i = 0; i < m_arrBars.size(); ++i) {
    CControlBar* bar = m_arrBars[i];
    if (bar == nullptr) {
      if (!rowEmpty) across += rowThick;
      along = 0;
      rowThick = 0;
      rowEmpty = true;
      continue;
    }
    if (!(bar->GetStyle() & WS_VISIBLE)) continue;
    CSize size = bar->CalcDynamicLayout(-1, horz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK);
    int len = horz ? size.cx : size.cy;
    const int thick = horz ? size.cy : size.cx;
    // A bar that does not fit after others goes to a row of its own; one too long for the
    // side is cut to it (the bar hides what does not fit).
    if (!rowEmpty && along + len > nLength) {
      across += rowThick;
      along = 0;
      rowThick = 0;
    }
    len = std::min(len, std::max(nLength - along, 0));
    if (bMove) {
      // A right-to-left frame starts its rows at the right.
      const int start = horz && IsRTL() ? nLength - along - len : along;
      const CRect rect = horz ? CRect(start, across, start + len, across + thick)
                              : CRect(across, along, across + thick, along + len);
      CRect old;
      bar->GetWindowRect(&old);
      ScreenToClient(&old);
      if (old != rect)
        bar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                          SWP_NOZORDER | SWP_NOACTIVATE);
    }
    along += len;
    rowThick = std::max(rowThick, thick);
    rowEmpty = false;
    if (horz)
      total.cx = std::max<LONG>(total.cx, along);
    else
      total.cy = std::max<LONG>(total.cy, along);
  }
  if (!rowEmpty) across += rowThick;
  if (horz)
    total.cy = across;
  else
    total.cx = across;
  return total;
}

CSize CDockBar::CalcFixedLayout(BOOL, BOOL bHorz) {
  return LayoutBars(0x7FFF, FALSE);
}

LRESULT CDockBar::OnSizeParentDock(WPARAM, LPARAM lParam) {
  auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  CRect rect(layout->rect);
  const BOOL horz = IsHorz();
  const int length = horz ? rect.Width() : rect.Height();
  m_rectLayout = rect;
  const CSize size = LayoutBars(length, layout->hDWP != nullptr);
  const int thick = horz ? size.cy : size.cx;
  switch (m_dwStyle & CBRS_ALIGN_ANY) {
    case CBRS_ALIGN_TOP:
      rect.bottom = rect.top + thick;
      layout->rect.top += thick;
      break;
    case CBRS_ALIGN_BOTTOM:
      rect.top = rect.bottom - thick;
      layout->rect.bottom -= thick;
      break;
    case CBRS_ALIGN_LEFT:
      rect.right = rect.left + thick;
      layout->rect.left += thick;
      break;
    default:
      rect.left = rect.right - thick;
      layout->rect.right -= thick;
      break;
  }
  if (layout->hDWP != nullptr) AfxRepositionWindow(layout, m_hWnd, &rect);
  return 0;
}

// ---------------------------------------------------------------------------------------------
// CDockContext

CDockContext::CDockContext(CControlBar* pBar) : m_pBar(pBar) {}

void CDockContext::StartDrag(CPoint pt) {
  CControlBar* bar = m_pBar;
  if (m_pDockSite == nullptr) m_pDockSite = bar->GetDockingFrame();
  if (m_pDockSite == nullptr) return;
  CRect barRect;
  bar->GetWindowRect(&barRect);
  const CPoint grab = pt - barRect.TopLeft();
  bar->SetCapture();
  m_bDragging = TRUE;
  m_rectDragHorz = m_rectDragVert = barRect;
  CPoint last = pt;
  bool moved = false;
  bool cancelled = false;
  for (;;) {
    MSG msg;
    if (!::GetMessage(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      cancelled = true;
      break;
    }
    if (::GetCapture() != bar->m_hWnd) {
      cancelled = true;
      break;
    }
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
      CPoint at(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
      ::ClientToScreen(msg.hwnd, &at);
      last = at;
      if (msg.message == WM_MOUSEMOVE) {  // a release keeps what the hook made of the last move
        m_rectDragHorz.OffsetRect(at - grab - m_rectDragHorz.TopLeft());
        m_rectDragVert.OffsetRect(at - grab - m_rectDragVert.TopLeft());
      }
      if (std::abs(at.x - pt.x) > kDragThreshold || std::abs(at.y - pt.y) > kDragThreshold) moved = true;
      if (msg.message == WM_LBUTTONUP) break;
      continue;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      cancelled = true;
      break;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
  }
  m_bDragging = FALSE;
  if (::GetCapture() == bar->m_hWnd) ::ReleaseCapture();
  if (cancelled || !moved) return;
  if (CDockBar* dock = m_pDockSite->DockBarFromPoint(last, m_dwDockStyle)) {
    const CRect drop(last, CSize(1, 1));
    m_pDockSite->DockControlBar(bar, dock, &drop);
  } else {
    const BOOL horz = (bar->GetBarStyle() & CBRS_ORIENT_HORZ) != 0;
    m_pDockSite->FloatControlBar(bar, horz ? m_rectDragHorz.TopLeft() : m_rectDragVert.TopLeft());
  }
}

void CDockContext::ToggleDocking() {
  if (m_pDockSite == nullptr) m_pDockSite = m_pBar->GetDockingFrame();
  if (m_pDockSite == nullptr) return;
  if (m_pBar->IsFloating()) {
    m_pDockSite->DockControlBar(m_pBar, m_uMRUDockID);
    return;
  }
  CPoint at = m_ptMRUFloatPos;
  if (at.x < 0) {
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    at = rect.TopLeft() + CSize(20, 40);
  }
  m_pDockSite->FloatControlBar(m_pBar, at);
}

// ---------------------------------------------------------------------------------------------
// Mini frames

BOOL CMiniFrameWnd::CreateMini(LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd) {
  LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                    reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  return CreateEx(WS_EX_TOOLWINDOW, cls, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr);
}

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
ON_WM_CLOSE()
ON_WM_SIZE()
END_MESSAGE_MAP()

CMiniDockFrameWnd::CMiniDockFrameWnd() = default;
CMiniDockFrameWnd::~CMiniDockFrameWnd() = default;

CControlBar* CMiniDockFrameWnd::GetBar() const {
  for (CControlBar* bar : m_wndDockBar.m_arrBars)
    if (bar != nullptr) return bar;
  return nullptr;
}

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle) {
  if (m_pDockSite == nullptr) m_pDockSite = dynamic_cast<CFrameWnd*>(pParent);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  if (!CreateMini("", style, CRect(0, 0, 120, 60), pParent)) return FALSE;
  if (!m_wndDockBar.Create(this, WS_CHILD | WS_VISIBLE | (dwBarStyle & CBRS_ALIGN_ANY), AFX_IDW_DOCKBAR_FLOAT)) {
    m_bKeepObject = true;  // a failed Create leaves the object to its caller, as before any window
    DestroyWindow();
    m_bKeepObject = false;
    return FALSE;
  }
  return TRUE;
}

BOOL CMiniDockFrameWnd::Create(CFrameWnd* pDockSite, CControlBar* pBar, CPoint point) {
  m_pDockSite = pDockSite;
  CString title;
  pBar->GetWindowText(title);
  const CSize size = pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
  if (!Create(pDockSite, CBRS_ALIGN_TOP)) return FALSE;
  SetWindowText(title);
  SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_wndDockBar.DockControlBar(pBar);
  pBar->m_pDockSite = pDockSite;
  // The frame's edges as they really are, around the bar's own size.
  CRect window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  SetWindowPos(nullptr, 0, 0, size.cx + window.Width() - client.Width(),
               size.cy + window.Height() - client.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RecalcLayout();
  ShowWindow(SW_SHOWNA);
  return TRUE;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL) {
  if (m_hWnd == nullptr || m_wndDockBar.m_hWnd == nullptr) return;
  CRect client;
  GetClientRect(&client);
  CControlBar* bar = GetBar();
  CSize size(0, 0);
  if (bar != nullptr) {
    // The floating bar wraps to the frame's width, and the frame takes the bar's size: it grows
    // with the bar and shrinks to it (a button fewer, a row less).
    size = bar->CalcDynamicLayout(client.Width(), LM_HORZ | LM_COMMIT);
    if (!m_bSizingToBar && size.cx > 0 && size.cy > 0 && size != client.Size()) {
      CRect window;
      GetWindowRect(&window);
      m_bSizingToBar = true;
      SetWindowPos(nullptr, 0, 0, size.cx + window.Width() - client.Width(),
                   size.cy + window.Height() - client.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      m_bSizingToBar = false;
      GetClientRect(&client);
    }
  }
  m_wndDockBar.MoveWindow(client);
  if (bar != nullptr)
    bar->MoveWindow(
        CRect(0, 0, std::max<LONG>(client.Width(), size.cx), std::max<LONG>(client.Height(), size.cy)));
}

void CMiniDockFrameWnd::OnSize(UINT nType, int, int) {
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CMiniDockFrameWnd::OnClose() {
  if (CControlBar* bar = GetBar()) {
    if (m_pDockSite != nullptr) {
      m_pDockSite->ShowControlBar(bar, FALSE, FALSE);
      return;
    }
  }
  Default();
}

void CMiniDockFrameWnd::PostNcDestroy() {
  if (m_bKeepObject) return;
  if (m_pDockSite != nullptr) {
    auto& list = m_pDockSite->m_listFloating;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  delete this;
}
