#include "toolkit/core/PlxVisualManager.h"

#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/mfc/ControlBar.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/Wnd.h"
#include "platform/user/Paint.h"
#include "platform/user/User.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxControlBars.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxMenuGlyphs.h"

IMPLEMENT_DYNCREATE(CPlxVisualManager, CObject)

CPlxVisualManager* CPlxVisualManager::m_pVisManager = nullptr;
CRuntimeClass* CPlxVisualManager::m_pRTIDefault = nullptr;

CSize PlxMenuGlyphSize() {
  CPlxMenuGlyphs::Initialize();
  return CPlxMenuGlyphs::GetSize();
}

CPlxVisualManager::CPlxVisualManager(BOOL bTemporary) : m_bTemporary(bTemporary) {
  if (bTemporary) return;
  if (m_pVisManager == nullptr) m_pVisManager = this;
  g_plxGlobalData.UpdateSysColors();
}

CPlxVisualManager::~CPlxVisualManager() {
  // Only the current manager clears the pointer: deleting another one must not orphan it.
  if (!m_bTemporary && m_pVisManager == this) m_pVisManager = nullptr;
}

CPlxVisualManager* CPlxVisualManager::GetInstance() {
  if (m_pVisManager != nullptr) return m_pVisManager;
  CPlxVisualManager* manager = m_pRTIDefault == nullptr
                                   ? new CPlxVisualManager(FALSE)
                                   : static_cast<CPlxVisualManager*>(m_pRTIDefault->CreateObject());
  m_pVisManager = manager;
  manager->m_bAutoDestroy = TRUE;
  manager->OnUpdateSystemColors();
  return manager;
}

void CPlxVisualManager::SetDefaultManager(CRuntimeClass* pRTI) {
  if (pRTI != nullptr && !pRTI->IsDerivedFrom(RUNTIME_CLASS(CPlxVisualManager))) return;
  m_pRTIDefault = pRTI;
  delete m_pVisManager;
  m_pVisManager = nullptr;
  g_plxGlobalData.UpdateSysColors();
  for (POSITION pos = CPlxToolBar::GetAllToolbars().GetHeadPosition(); pos != nullptr;) {
    auto* bar = static_cast<CPlxToolBar*>(CPlxToolBar::GetAllToolbars().GetNext(pos));
    if (bar->IsKindOf(RUNTIME_CLASS(CPlxToolBar)) && bar->GetSafeHwnd() != nullptr)
      bar->OnChangeVisualManager();
  }
  RedrawAll();
}

void CPlxVisualManager::DestroyInstance(BOOL bAutoDestroyOnly) {
  if (m_pVisManager == nullptr || (bAutoDestroyOnly && !m_pVisManager->m_bAutoDestroy)) return;
  delete m_pVisManager;
  m_pVisManager = nullptr;
}

void CPlxVisualManager::RedrawAll() {
  const UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;
  CWnd* main = AfxGetMainWnd();
  if (main != nullptr && main->GetSafeHwnd() != nullptr)
    RedrawWindow(main->GetSafeHwnd(), nullptr, nullptr, flags);
  for (CObList* list : {&CPlxToolBar::GetAllToolbars(), &CPlxSizingControlBar::GetAllSizingBars()})
    for (POSITION pos = list->GetHeadPosition(); pos != nullptr;) {
      auto* bar = static_cast<CWnd*>(list->GetNext(pos));
      if (bar->GetSafeHwnd() != nullptr) RedrawWindow(bar->GetSafeHwnd(), nullptr, nullptr, flags);
    }
}

void CPlxVisualManager::SetLook2000(BOOL bLook2000) {
  m_bLook2000 = bLook2000;
  CWnd* main = AfxGetMainWnd();
  if (main != nullptr && main->GetSafeHwnd() != nullptr)
    RedrawWindow(main->GetSafeHwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME);
  RedrawAll();
}

// ---- Theme operations: each needs its theme open, else FALSE and the caller draws classic.

BOOL CPlxVisualManager::DrawProgressBar(CDC* pDC, CPlxStatusBar*, CRect rect, int nTotal, int nCurr, COLORREF,
                                        COLORREF, COLORREF, BOOL bText) {
  if (!DrawThemed(m_hThemeProgress, pDC, 1, 0, rect)) return FALSE;
  if (nTotal == 0) return TRUE;
  // A current value past the total fills the bar, never beyond it.
  nCurr = std::clamp(nCurr, 0, nTotal);
  CRect chunk = rect;
  chunk.DeflateRect(3, 3);
  chunk.right = chunk.left + nCurr * chunk.Width() / nTotal;
  DrawThemed(m_hThemeProgress, pDC, 3, 0, chunk);
  if (bText) {
    CString text;
    text.Format("%d%%", nCurr * 100 / nTotal);
    const COLORREF old = pDC->SetTextColor(g_plxGlobalData.clrBtnText);
    pDC->DrawText(text, rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SetTextColor(old);
  }
  return TRUE;
}

BOOL CPlxVisualManager::DrawComboDropButton(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bDropped,
                                            BOOL bHighlighted) {
  const int state = bDisabled ? 4 : bDropped ? 3 : bHighlighted ? 2 : 1;
  return DrawThemed(m_hThemeComboBox, pDC, 1, state, rect);
}

BOOL CPlxVisualManager::DrawComboBorder(CDC* pDC, CRect rect, BOOL, BOOL bDropped, BOOL bHighlighted) {
  if (m_hThemeWindow == nullptr) return FALSE;
  if (bDropped || bHighlighted) {
    rect.DeflateRect(1, 1);
    pDC->Draw3dRect(rect, g_plxGlobalData.clrHilite, g_plxGlobalData.clrHilite);
  }
  return TRUE;
}

BOOL CPlxVisualManager::DrawCheckBox(CDC* pDC, CRect rect, BOOL bHighlighted, BOOL bChecked, BOOL bEnabled) {
  int state = bChecked ? 5 : 1;
  if (!bEnabled)
    state += 3;
  else if (bHighlighted)
    state += 1;
  return DrawThemed(m_hThemeButton, pDC, 3, state, rect);
}

int CPlxVisualManager::GetWinXPColorScheme() {
  if (m_pfGetCurrentThemeName == nullptr) return -1;
  wchar_t file[256] = {}, color[256] = {};
  if (m_pfGetCurrentThemeName(file, 255, color, 255, nullptr, 0) != S_OK) return -1;
  std::wstring name(file);
  const size_t slash = name.find_last_of(L"/\\");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  const size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  auto lower = [](std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(towlower(c));
    return s;
  };
  if (lower(name) != L"luna") return 0;
  if (m_pfGetThemeColor != nullptr && m_hThemeButton != nullptr) {
    COLORREF value = 0;
    if (m_pfGetThemeColor(m_hThemeButton, 1, 0, 3823, &value) != S_OK || value == 1) return 0;
  }
  const std::wstring scheme = lower(color);
  if (scheme == L"normalcolor") return 1;
  if (scheme == L"homestead") return 2;
  if (scheme == L"metallic") return 3;
  return 0;
}

BOOL CPlxVisualManager::DrawRebarBackground(CDC* pDC, CControlBar* pBar, CRect rect) {
  if (m_hThemeRebar == nullptr || m_pfDrawThemeBackground == nullptr) {
    pDC->FillRect(rect, &g_plxGlobalData.brBarFace);
    return TRUE;
  }
  // One desktop: the work area of the nearest monitor is the work area.
  CRect work;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  pBar->ScreenToClient(work);
  rect.right = std::max(rect.right, work.right);
  rect.bottom = std::max(rect.bottom, work.bottom);
  if ((pBar->m_dwStyle & CBRS_FLOATING) == 0) {
    rect.left = std::min(rect.left, work.left);
    rect.top = std::min(rect.top, work.top);
  }
  return DrawThemed(m_hThemeRebar, pDC, 0, 0, rect);
}

// ---- Image strips and push buttons ----

COLORREF CPlxVisualManager::GetImageShadowBaseColor() const {
  return g_plxGlobalData.clrBarFace;
}
