#include "toolkit/customize/PlxTabWnd.h"

IMPLEMENT_DYNAMIC(CPlxTabWnd, CWnd)

int CPlxTabWnd::AddTab(LPCTSTR lpszLabel, int iImage) {
  Tab tab;
  tab.strLabel = lpszLabel;
  tab.iImage = iImage;
  m_tabs.push_back(tab);
  if (m_iActiveTab < 0) m_iActiveTab = 0;
  return GetTabsNum() - 1;
}

int CPlxTabWnd::GetVisibleTabsNum() const {
  int n = 0;
  for (const Tab& tab : m_tabs) n += tab.bVisible ? 1 : 0;
  return n;
}

int CPlxTabWnd::GetFirstVisibleTabNum() const {
  for (int i = 0; i < GetTabsNum(); ++i)
    if (m_tabs[i].bVisible) return i;
  return -1;
}

COLORREF CPlxTabWnd::GetTabBkColor(int iTab) const {
  return iTab >= 0 && iTab < GetTabsNum() ? m_tabs[iTab].clrBk : (COLORREF)-1;
}

COLORREF CPlxTabWnd::GetTabTextColor(int iTab) const {
  return iTab >= 0 && iTab < GetTabsNum() ? m_tabs[iTab].clrText : (COLORREF)-1;
}

BOOL CPlxTabWnd::GetTabLabel(int iTab, CString& strLabel) const {
  if (iTab < 0 || iTab >= GetTabsNum()) return FALSE;
  strLabel = m_tabs[iTab].strLabel;
  return TRUE;
}

int CPlxTabWnd::GetTabIcon(int iTab) const {
  return iTab >= 0 && iTab < GetTabsNum() ? m_tabs[iTab].iImage : -1;
}

BOOL CPlxTabWnd::HasTabImage(int iTab) const {
  return GetTabIcon(iTab) >= 0 && m_pImages != nullptr;
}

BOOL CPlxTabWnd::IsTabColored() const {
  for (const Tab& tab : m_tabs)
    if (tab.clrBk != (COLORREF)-1) return TRUE;
  return FALSE;
}

BOOL CPlxTabWnd::SetActiveTab(int iTab) {
  if (iTab < 0 || iTab >= GetTabsNum()) return FALSE;
  m_iActiveTab = iTab;
  if (m_hWnd != nullptr) Invalidate();
  return TRUE;
}
