#include "shell/SkinButtonBar.h"

#include <algorithm>

BOOL CSkinButtonBar::Init(int nCount, const RECT* pRects, const CString* pStatePaths, const CString* pTips) {
  if (!Define(nCount, pRects, pStatePaths, pTips)) return FALSE;
  m_bInitialized = TRUE;
  m_nReloads = 0;
  return TRUE;
}

BOOL CSkinButtonBar::OnBitmapChanged(int nCount, const RECT* pRects, const CString* pStatePaths,
                                     const CString* pTips) {
  if (!Define(nCount, pRects, pStatePaths, pTips)) return FALSE;
  // A bar first defined by a reload is defined all the same.
  if (m_bInitialized) ++m_nReloads;
  m_bInitialized = TRUE;
  return TRUE;
}

BOOL CSkinButtonBar::Define(int nCount, const RECT* pRects, const CString* pStatePaths,
                            const CString* pTips) {
  if (nCount < 0 || pStatePaths == nullptr || (nCount > 0 && (pRects == nullptr || pTips == nullptr)))
    return FALSE;
  m_rects.assign(pRects, pRects + nCount);
  m_tips.assign(pTips, pTips + nCount);
  std::copy(pStatePaths, pStatePaths + SKIN_BUTTON_STATE_COUNT, m_statePaths);
  return TRUE;
}

CRect CSkinButtonBar::GetButtonRect(int nButton) const {
  if (nButton < 0 || nButton >= GetButtonCount()) return CRect();
  return m_rects[static_cast<size_t>(nButton)];
}

CString CSkinButtonBar::GetButtonTip(int nButton) const {
  if (nButton < 0 || nButton >= GetButtonCount()) return CString();
  return m_tips[static_cast<size_t>(nButton)];
}

CString CSkinButtonBar::GetStatePath(int nState) const {
  if (nState < 0 || nState >= SKIN_BUTTON_STATE_COUNT) return CString();
  return m_statePaths[nState];
}

CSize CSkinButtonBar::GetSize() const {
  CSize size;
  for (const CRect& rect : m_rects) {
    size.cx = std::max<LONG>(size.cx, rect.right);
    size.cy = std::max<LONG>(size.cy, rect.bottom);
  }
  return size;
}
