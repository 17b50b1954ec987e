#include "shell/PageSet.h"

#include "platform/mfc/Wnd.h"

int CPageSet::AddPage(CWnd* pPage) {
  // A page is placed by its window, so it must have one.
  if (pPage == nullptr || pPage->GetSafeHwnd() == nullptr) return 0;
  m_pages.Add(pPage);

  CRect page;
  pPage->GetWindowRect(&page);
  CRect frame(m_rcFrame);
  if (CWnd* parent = pPage->GetParent()) {
    parent->ScreenToClient(&page);
    parent->ScreenToClient(&frame);
  }
  int x = frame.left;
  int y = frame.top;
  if (m_bCenter) {
    x = frame.left + (frame.Width() - page.Width()) / 2;
    y = frame.top + (frame.Height() - page.Height()) / 2;
    if (x < frame.left) x = frame.left;
    if (y < frame.top) y = frame.top;
  }
  pPage->SetWindowPos(nullptr, x, y, page.Width(), page.Height(), SWP_NOZORDER);
  return 1;
}

bool CPageSet::ShowPage(int nIndex) {
  if (nIndex < -1 || nIndex > GetPageCount() - 1) return false;
  for (int i = 0; i < GetPageCount(); ++i) {
    CWnd* page = m_pages[i];
    if (i != nIndex && page != nullptr && page->GetSafeHwnd() != nullptr) page->ShowWindow(SW_HIDE);
  }
  if (nIndex == -1) return true;
  m_nCurrent = nIndex;
  CWnd* page = m_pages[nIndex];
  if (page != nullptr && page->GetSafeHwnd() != nullptr && !page->IsWindowVisible())
    page->ShowWindow(SW_SHOW);
  return true;
}

void CPageSet::SendToPage(int nIndex, int bSend, UINT message, WPARAM wParam, LPARAM lParam) {
  if (nIndex < 0 || nIndex >= GetPageCount()) return;
  CWnd* page = m_pages[nIndex];
  if (page == nullptr || page->GetSafeHwnd() == nullptr) return;
  if ((bSend & 0xFF) != 0)
    page->SendMessage(message, wParam, lParam);
  else
    page->PostMessage(message, wParam, lParam);
}

void CPageSet::SendToAllPages(int bSend, UINT message, WPARAM wParam, LPARAM lParam) {
  for (int i = 0; i < GetPageCount(); ++i) SendToPage(i, bSend, message, wParam, lParam);
}

CWnd* CPageSet::GetPage(int nIndex) const {
  return nIndex >= 0 && nIndex < GetPageCount() ? m_pages[nIndex] : nullptr;
}
