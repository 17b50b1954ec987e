#include "toolkit/core/PlxDialogBar.h"

#include <algorithm>
#include <cstdio>

#include "platform/mfc/Dc.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/res/Resources.h"
#include "platform/res/Templates.h"
#include "platform/user/Dialog.h"
#include "toolkit/core/PlxGlobalData.h"

IMPLEMENT_SERIAL(CPlxDialogBar, CPlxSizingControlBar, VERSIONABLE_SCHEMA | 1)

BEGIN_MESSAGE_MAP(CPlxDialogBar, CPlxSizingControlBar)
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

CPlxDialogBar::CPlxDialogBar() = default;

CPlxDialogBar::~CPlxDialogBar() {
  if (m_hTemplateFont != nullptr) ::DeleteObject(m_hTemplateFont);
}

BOOL CPlxDialogBar::Create(LPCTSTR lpszWindowName, CWnd* pParentWnd, BOOL bHasGripper, UINT nIDTemplate,
                           DWORD dwStyle, UINT nID, BOOL bSizingMode) {
  return Create(lpszWindowName, pParentWnd, bHasGripper, MAKEINTRESOURCE(nIDTemplate), dwStyle, nID,
                bSizingMode);
}

BOOL CPlxDialogBar::Create(LPCTSTR lpszWindowName, CWnd* pParentWnd, BOOL bHasGripper,
                           LPCTSTR lpszTemplateName, DWORD dwStyle, UINT nID, BOOL bSizingMode) {
  if (lpszTemplateName == nullptr) return FALSE;
  if (IS_INTRESOURCE(lpszTemplateName)) {
    m_lpszTemplateName = lpszTemplateName;
  } else {
    m_strTemplateName = lpszTemplateName;
    m_lpszTemplateName = m_strTemplateName;
  }
  HINSTANCE hInst = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
  const pictavo::res::DialogTemplate* t = pictavo::res::FindDialog(hInst, m_lpszTemplateName);
  if (t == nullptr) return FALSE;
  m_bSizingMode = bSizingMode;

  // The template's size in pixels; the bar's client area gets exactly that in fixed mode.
  RECT units{0, 0, t->cx, t->cy};
  const RECT pixels = pictavo::gdi::MapDialogUnits(units);
  m_sizeDefault = CSize(pixels.right - pixels.left, pixels.bottom - pixels.top);

  if (!CPlxSizingControlBar::Create(lpszWindowName, pParentWnd, m_sizeDefault, bHasGripper, nID, dwStyle))
    return FALSE;

  // The template's controls, in template order (their z-order and tab order), with its font.
  if ((t->style & DS_SETFONT) && !t->fontFace.empty()) {
    LOGFONT lf{};
    lf.lfHeight = static_cast<LONG>(t->pointSize) * 10;
    lf.lfWeight = t->weight;
    lf.lfItalic = t->italic ? 1 : 0;
    lf.lfCharSet = t->charset;
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", t->fontFace.c_str());
    CFont font;
    if (font.CreatePointFontIndirect(&lf)) m_hTemplateFont = static_cast<HFONT>(font.Detach());
  }
  if (m_hTemplateFont != nullptr) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_hTemplateFont), FALSE);
  for (const pictavo::res::DialogControl& c : t->controls) {
    const RECT r = pictavo::gdi::MapDialogUnits(c.Rect());
    HWND control = ::CreateWindowEx(c.exStyle | WS_EX_NOPARENTNOTIFY, c.className.c_str(), c.text.c_str(),
                                    c.style, r.left, r.top, r.right - r.left, r.bottom - r.top, m_hWnd,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(c.id)), hInst, nullptr);
    if (control == nullptr) {
      if (t->style & DS_NOFAILCREATE) continue;
      std::fprintf(stderr, "pictavo: dialog bar %u: control %d of class \"%s\" could not be created\n", nID,
                   static_cast<int>(c.id), c.className.c_str());
      DestroyWindow();
      return FALSE;
    }
    if (m_hTemplateFont != nullptr)
      ::SendMessage(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_hTemplateFont), FALSE);
  }
  HWND first = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE);
  if (!SendMessage(WM_INITDIALOG, reinterpret_cast<WPARAM>(first), 0)) {
    DestroyWindow();
    return FALSE;
  }
  return TRUE;
}

void CPlxDialogBar::SyncDockBarId() {
  // A bar moved to another dock bar learns it only when its window moves, but the dock bar asks
  // for its size first: the bar reads its dock bar now, and its edges follow.
  CWnd* parent = GetParent();
  if (parent == nullptr) return;
  const UINT id = static_cast<UINT>(parent->GetDlgCtrlID());
  if (id == m_nDockBarID) return;
  m_nDockBarID = id;
  SetWindowPos(nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

CSize CPlxDialogBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  if (m_bSizingMode) return CPlxSizingControlBar::CalcFixedLayout(bStretch, bHorz);
  CSize size = m_sizeDefault;
  if (bStretch) {
    if (bHorz)
      size.cx = 32767;
    else
      size.cy = 32767;
  }
  size.cx += 2 * m_nBorderSize;
  size.cy += 2 * m_nBorderSize;
  switch (m_nDockBarID) {
    case AFX_IDW_DOCKBAR_LEFT:
    case AFX_IDW_DOCKBAR_RIGHT:
      size.cy += m_cyGripper;
      if (IsEdgeVisible(HTRIGHT) || IsEdgeVisible(HTLEFT)) size.cx += m_cxEdge;
      break;
    case AFX_IDW_DOCKBAR_TOP:
    case AFX_IDW_DOCKBAR_BOTTOM:
      size.cx += m_cyGripper;
      if (IsEdgeVisible(HTTOP) || IsEdgeVisible(HTBOTTOM)) size.cy += m_cxEdge;
      break;
    default:
      break;
  }
  const CSize framework = CControlBar::CalcFixedLayout(bStretch, bHorz);
  return CSize(std::max(size.cx, framework.cx), std::max(size.cy, framework.cy));
}

CSize CPlxDialogBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
  if (m_bSizingMode) return CPlxSizingControlBar::CalcDynamicLayout(nLength, dwMode);
  if (dwMode & (LM_HORZDOCK | LM_VERTDOCK)) {
    SyncDockBarId();
    return CControlBar::CalcDynamicLayout(nLength, dwMode);
  }
  // A floating layout is asked while the bar still sits in the dock bar it leaves: no caption
  // band or splitter edge, only the borders.
  const UINT docked = m_nDockBarID;
  m_nDockBarID = AFX_IDW_DOCKBAR_FLOAT;
  const CSize size = CControlBar::CalcDynamicLayout(nLength, dwMode);
  m_nDockBarID = docked;
  return size;
}

void CPlxDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

BOOL CPlxDialogBar::SetOccDialogInfo(_AFX_OCC_DIALOG_INFO* pOccDialogInfo) {
  m_pOccDialogInfo = pOccDialogInfo;
  return TRUE;
}

BOOL CPlxDialogBar::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(client);
  pDC->FillRect(client, &g_plxGlobalData.brBtnFace);
  return TRUE;
}

LRESULT CPlxDialogBar::HandleInitDialog(WPARAM, LPARAM) {
  Default();
  // Templates with OLE controls would have them made here by the OLE control manager; this
  // program has none, so the bar keeps the information and makes no OLE controls.
  return TRUE;
}

void CPlxDialogBar::OnDestroy() {
  CPlxSizingControlBar::OnDestroy();
}
