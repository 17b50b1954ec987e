// CPropertySheet: the sheet's own template and layout, its tab header, page switching and the
// OK / Cancel / Apply protocol.
#include "platform/mfc/PropertySheet.h"

#include <algorithm>

#include "platform/mfc/WinApp.h"
#include "platform/res/Resources.h"
#include "platform/res/Templates.h"

namespace {

constexpr int kTabPadding = 6;  // text to tab edge, each side
constexpr int kButtonGap = 6;

// A page's template as a child of the sheet, whatever style the resource gives it.
pictavo::res::DialogTemplate ChildTemplate(const pictavo::res::DialogTemplate& source) {
  pictavo::res::DialogTemplate t = source;
  t.style &= ~static_cast<DWORD>(WS_POPUP | WS_DISABLED | WS_VISIBLE | WS_CAPTION | WS_SYSMENU |
                                 WS_THICKFRAME | DS_MODALFRAME | DS_CENTER);
  t.style |= WS_CHILD | DS_CONTROL;
  t.exStyle &= ~static_cast<DWORD>(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE);
  t.x = t.y = 0;
  t.menu.reset();
  return t;
}

HFONT FontOf(HWND hWnd) {
  auto font = reinterpret_cast<HFONT>(::SendMessage(hWnd, WM_GETFONT, 0, 0));
  return font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

IMPLEMENT_DYNAMIC(CPropertySheet, CDialog)

BEGIN_MESSAGE_MAP(CPropertySheet, CDialog)
ON_COMMAND(ID_APPLY_NOW, OnApplyNow)
ON_COMMAND(IDHELP, OnHelp)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_MESSAGE(PSM_SETCURSEL, OnSetCurSel)
ON_MESSAGE(PSM_CHANGED, OnChanged)
ON_MESSAGE(PSM_UNCHANGED, OnUnchanged)
ON_MESSAGE(PSM_CANCELTOCLOSE, OnCancelToClose)
ON_MESSAGE(PSM_QUERYSIBLINGS, OnQuerySiblings)
ON_MESSAGE(PSM_APPLY, OnApplyMessage)
ON_MESSAGE(PSM_SETTITLE, OnSetTitle)
ON_MESSAGE(PSM_PRESSBUTTON, OnPressButton)
ON_MESSAGE(PSM_GETCURRENTPAGEHWND, OnGetCurrentPageHwnd)
END_MESSAGE_MAP()

CPropertySheet::CPropertySheet() {
  m_psh.dwSize = sizeof m_psh;
}

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) {
  m_psh.dwSize = sizeof m_psh;
  m_strCaption.LoadString(nIDCaption);
  m_pParentWnd = pParentWnd;
  m_psh.nStartPage = iSelectPage;
}

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_strCaption(pszCaption) {
  m_psh.dwSize = sizeof m_psh;
  m_pParentWnd = pParentWnd;
  m_psh.nStartPage = iSelectPage;
}

CPropertySheet::~CPropertySheet() {
  if (m_hWnd && FromHandlePermanent(m_hWnd) == this) DestroyWindow();
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
  if (!pPage) return;
  m_pages.push_back(pPage);
  if (m_hWnd) {
    Invalidate();
    if (m_nActive < 0) SetActivePage(0);
  }
}

void CPropertySheet::RemovePage(CPropertyPage* pPage) {
  const int index = GetPageIndex(pPage);
  if (index >= 0) RemovePage(index);
}

void CPropertySheet::RemovePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return;
  CPropertyPage* page = m_pages[static_cast<size_t>(nPage)];
  if (nPage == m_nActive && m_hWnd) {
    // Another page takes its place before it goes.
    m_nActive = -1;
    if (GetPageCount() > 1) ShowPage(nPage == 0 ? 1 : nPage - 1);
  }
  m_pages.erase(m_pages.begin() + nPage);
  m_modified.erase(std::remove(m_modified.begin(), m_modified.end(), page), m_modified.end());
  if (m_nActive > nPage) --m_nActive;
  if (page->m_hWnd) page->DestroyWindow();
  if (m_hWnd) Invalidate();
}

int CPropertySheet::GetPageCount() const {
  return static_cast<int>(m_pages.size());
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
  if (nPage < 0 || nPage >= GetPageCount()) return nullptr;
  return m_pages[static_cast<size_t>(nPage)];
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) {
  auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
  return it == m_pages.end() ? -1 : static_cast<int>(it - m_pages.begin());
}

CPropertyPage* CPropertySheet::GetActivePage() const {
  if (!m_hWnd) return GetPage(static_cast<int>(m_psh.nStartPage));
  return GetPage(m_nActive);
}

int CPropertySheet::GetActiveIndex() const {
  return m_hWnd ? m_nActive : static_cast<int>(m_psh.nStartPage);
}

BOOL CPropertySheet::SetActivePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return FALSE;
  if (!m_hWnd) {
    m_psh.nStartPage = static_cast<UINT>(nPage);
    return TRUE;
  }
  if (nPage == m_nActive) return TRUE;
  if (CPropertyPage* current = GetPage(m_nActive)) {
    if (!current->OnKillActive()) return FALSE;  // the page keeps the sheet on it
  }
  return ShowPage(nPage);
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage) {
  return SetActivePage(GetPageIndex(pPage));
}

void CPropertySheet::SetTitle(LPCTSTR lpszText, UINT nStyle) {
  m_strCaption = lpszText;
  m_psh.dwFlags = (m_psh.dwFlags & ~static_cast<DWORD>(PSH_PROPTITLE)) | (nStyle & PSH_PROPTITLE);
  if (m_hWnd) {
    CString title = m_strCaption;
    if (nStyle & PSH_PROPTITLE) title = "Properties for " + title;
    SetWindowText(title);
  }
}

void CPropertySheet::PressButton(int nButton) {
  static const UINT kIds[] = {0, 0, 0, IDOK, ID_APPLY_NOW, IDCANCEL, IDHELP};
  if (nButton < 0 || nButton >= static_cast<int>(sizeof kIds / sizeof kIds[0]) || !kIds[nButton]) return;
  HWND button = ::GetDlgItem(m_hWnd, static_cast<int>(kIds[nButton]));
  PostMessage(WM_COMMAND, MAKEWPARAM(kIds[nButton], BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void CPropertySheet::BuildTemplate(DWORD style, DWORD exStyle) {
  m_template = std::make_unique<pictavo::res::DialogTemplate>();
  pictavo::res::DialogTemplate& t = *m_template;
  t.style = style | DS_SETFONT | DS_3DLOOK;
  t.style |= (style & WS_CHILD) ? DS_CONTROL : DS_MODALFRAME;
  t.exStyle = exStyle | WS_EX_CONTROLPARENT;
  t.caption = m_strCaption.Str();
  if (m_psh.dwFlags & PSH_PROPTITLE) t.caption = "Properties for " + t.caption;
  t.fontFace = "MS Sans Serif";
  t.pointSize = 8;
  t.cx = 200;
  t.cy = 100;  // laid out again around the pages
  if (m_bModeless) return;
  auto button = [&](DWORD id, const char* text, DWORD extra) {
    pictavo::res::DialogControl c;
    c.id = id;
    c.className = WC_BUTTON;
    c.text = text;
    c.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | extra;
    c.cx = 50;
    c.cy = 14;
    t.controls.push_back(c);
  };
  button(IDOK, "OK", BS_DEFPUSHBUTTON | WS_GROUP);
  button(IDCANCEL, "Cancel", 0);
  if (!(m_psh.dwFlags & PSH_NOAPPLYNOW)) button(ID_APPLY_NOW, "&Apply", WS_DISABLED);
  if (m_psh.dwFlags & PSH_HASHELP) button(IDHELP, "Help", 0);
}

INT_PTR CPropertySheet::DoModal() {
  m_bModeless = FALSE;
  BuildTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU, 0);
  m_lpDialogTemplate = m_template.get();
  m_lpszTemplateName = nullptr;
  return CDialog::DoModal();
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle) {
  m_bModeless = TRUE;
  if (dwStyle == static_cast<DWORD>(-1)) dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  BuildTemplate(dwStyle, dwExStyle);
  if (!pParentWnd) pParentWnd = m_pParentWnd;
  return CreateIndirect(m_template.get(), pParentWnd);
}

void CPropertySheet::EndDialog(int nEndID) {
  if (m_bModeless)
    DestroyWindow();
  else
    CDialog::EndDialog(nEndID);
}

std::vector<CRect> CPropertySheet::TabRects() const {
  std::vector<CRect> rects;
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, FontOf(m_hWnd));
  int x = m_pageArea.left;
  for (const CPropertyPage* page : m_pages) {
    const CString title = page->GetTitle();
    RECT measure{0, 0, 0, 0};
    ::DrawText(dc, title.IsEmpty() ? " " : title.GetString(), -1, &measure, DT_CALCRECT | DT_SINGLELINE);
    const int width = measure.right + 2 * kTabPadding;
    rects.emplace_back(x, m_pageArea.top - m_tabHeight, x + width, m_pageArea.top);
    x += width;
  }
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return rects;
}

CRect CPropertySheet::PageArea() const {
  return m_pageArea;
}

BOOL CPropertySheet::OnInitDialog() {
  CDialog::OnInitDialog();
  // The pages' size: the largest of their templates.
  CSize pageSize(0, 0);
  for (CPropertyPage* page : m_pages) {
    HINSTANCE hInst = nullptr;
    if (const pictavo::res::DialogTemplate* t = page->FindTemplate(&hInst)) {
      const RECT r = pictavo::gdi::MapDialogUnits(RECT{0, 0, t->cx, t->cy});
      pageSize.cx = std::max<LONG>(pageSize.cx, r.right);
      pageSize.cy = std::max<LONG>(pageSize.cy, r.bottom);
    }
  }
  const RECT margin = pictavo::gdi::MapDialogUnits(RECT{0, 0, 7, 7});
  const RECT buttonSize = pictavo::gdi::MapDialogUnits(RECT{0, 0, 50, 14});
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, FontOf(m_hWnd));
  TEXTMETRIC tm{};
  ::GetTextMetrics(dc, &tm);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  m_tabHeight = tm.tmHeight + 8;
  m_pageArea = CRect(margin.right, margin.bottom + m_tabHeight, margin.right + pageSize.cx,
                     margin.bottom + m_tabHeight + pageSize.cy);
  // Buttons in a row under the pages, at the right.
  static const int kButtons[] = {IDOK, IDCANCEL, ID_APPLY_NOW, IDHELP};
  std::vector<HWND> buttons;
  for (int id : kButtons)
    if (HWND button = ::GetDlgItem(m_hWnd, id)) buttons.push_back(button);
  int width =
      std::max<int>(m_pageArea.right + margin.right,
                    static_cast<int>(buttons.size()) * (buttonSize.right + kButtonGap) + 2 * margin.right);
  int height = m_pageArea.bottom + margin.bottom;
  if (!buttons.empty()) {
    int x = width - margin.right - static_cast<int>(buttons.size()) * (buttonSize.right + kButtonGap) +
            kButtonGap;
    for (HWND button : buttons) {
      ::MoveWindow(button, x, height, buttonSize.right, buttonSize.bottom, FALSE);
      x += buttonSize.right + kButtonGap;
    }
    height += buttonSize.bottom + margin.bottom;
  }
  CRect frame(0, 0, width, height);
  ::AdjustWindowRectEx(&frame, GetStyle(), FALSE, GetExStyle());
  SetWindowPos(nullptr, 0, 0, frame.Width(), frame.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  const int start = std::min<int>(static_cast<int>(m_psh.nStartPage), GetPageCount() - 1);
  if (start >= 0) ShowPage(start);
  if (CPropertyPage* page = GetActivePage()) {
    if (HWND first = ::GetNextDlgTabItem(page->m_hWnd, nullptr, FALSE)) {
      ::SendMessage(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
      return FALSE;  // the focus is set
    }
  }
  return TRUE;
}

BOOL CPropertySheet::ShowPage(int nPage) {
  CPropertyPage* page = GetPage(nPage);
  if (!page) return FALSE;
  if (!page->m_hWnd) {
    HINSTANCE hInst = nullptr;
    const pictavo::res::DialogTemplate* source = page->FindTemplate(&hInst);
    if (!source) return FALSE;
    const pictavo::res::DialogTemplate child = ChildTemplate(*source);
    page->m_bFirstSetActive = TRUE;
    if (!page->CreateFromTemplate(&child, this, hInst)) return FALSE;
  }
  page->SetWindowPos(nullptr, m_pageArea.left, m_pageArea.top, m_pageArea.Width(), m_pageArea.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
  CPropertyPage* previous = GetPage(m_nActive);
  if (!page->OnSetActive()) return FALSE;  // the page refused: the previous one stays
  const bool hadFocus = previous && previous->m_hWnd && ::IsChild(previous->m_hWnd, ::GetFocus());
  m_nActive = nPage;
  page->ShowWindow(SW_SHOW);
  if (previous && previous != page && previous->m_hWnd) previous->ShowWindow(SW_HIDE);
  if (hadFocus) {
    if (HWND first = ::GetNextDlgTabItem(page->m_hWnd, nullptr, FALSE))
      ::SendMessage(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
    else
      ::SetFocus(m_hWnd);
  }
  CRect tabs(m_pageArea.left, m_pageArea.top - m_tabHeight - 2, m_pageArea.right, m_pageArea.top + 1);
  InvalidateRect(&tabs, TRUE);
  return TRUE;
}

BOOL CPropertySheet::ApplyAll() {
  if (CPropertyPage* current = GetActivePage())
    if (!current->OnKillActive()) return FALSE;
  for (size_t i = 0; i < m_pages.size(); ++i) {
    CPropertyPage* page = m_pages[i];
    if (!page->m_hWnd) continue;  // a page never shown has nothing to apply
    if (!page->OnApply()) {
      SetActivePage(static_cast<int>(i));
      return FALSE;
    }
  }
  m_modified.clear();
  UpdateApplyButton();
  return TRUE;
}

void CPropertySheet::OnOK() {
  if (ApplyAll()) EndDialog(IDOK);
}

void CPropertySheet::OnCancel() {
  if (CPropertyPage* current = GetActivePage())
    if (!current->OnQueryCancel()) return;
  for (CPropertyPage* page : m_pages)
    if (page->m_hWnd) page->OnReset();
  EndDialog(IDCANCEL);
}

void CPropertySheet::OnApplyNow() {
  ApplyAll();
}

void CPropertySheet::OnHelp() {
  if (CPropertyPage* page = GetActivePage()) page->SendMessage(WM_COMMAND, IDHELP, 0);
}

void CPropertySheet::UpdateApplyButton() {
  if (HWND apply = ::GetDlgItem(m_hWnd, ID_APPLY_NOW)) ::EnableWindow(apply, !m_modified.empty());
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && ::GetKeyState(VK_CONTROL) < 0 && GetPageCount() > 0) {
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    int step = 0;
    if (pMsg->wParam == VK_TAB) step = shift ? -1 : 1;
    if (pMsg->wParam == VK_NEXT) step = 1;
    if (pMsg->wParam == VK_PRIOR) step = -1;
    if (step) {
      const int count = GetPageCount();
      const int next = ((m_nActive < 0 ? 0 : m_nActive) + step + count) % count;
      if (SetActivePage(next)) {
        if (HWND first = ::GetNextDlgTabItem(GetPage(next)->m_hWnd, nullptr, FALSE))
          ::SendMessage(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
      }
      return TRUE;
    }
  }
  return CDialog::PreTranslateMessage(pMsg);
}

void CPropertySheet::OnPaint() {
  CPaintDC dc(this);
  if (m_pageArea.IsRectEmpty() && m_pages.empty()) return;
  const COLORREF shadow = ::GetSysColor(COLOR_3DSHADOW);
  const COLORREF face = ::GetSysColor(COLOR_3DFACE);
  const COLORREF light = ::GetSysColor(COLOR_WINDOW);
  // The page area's frame, then the tabs standing on it; the active tab opens into the page.
  CRect frame = m_pageArea;
  frame.InflateRect(1, 1);
  dc.Draw3dRect(&frame, shadow, shadow);
  CFont* oldFont = dc.SelectObject(CFont::FromHandle(FontOf(m_hWnd)));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(::GetSysColor(COLOR_BTNTEXT));
  const std::vector<CRect> tabs = TabRects();
  for (size_t i = 0; i < tabs.size(); ++i) {
    CRect tab = tabs[i];
    const bool active = static_cast<int>(i) == m_nActive;
    if (!active) tab.top += 2;
    dc.FillSolidRect(&tab, active ? light : face);
    dc.FillSolidRect(tab.left, tab.top, tab.Width(), 1, shadow);
    dc.FillSolidRect(tab.left, tab.top, 1, tab.Height(), shadow);
    dc.FillSolidRect(tab.right - 1, tab.top, 1, tab.Height(), shadow);
    if (active) dc.FillSolidRect(tab.left + 1, tab.bottom - 1, tab.Width() - 2, 2, light);
    CRect text = tab;
    text.DeflateRect(kTabPadding, 0);
    dc.DrawText(m_pages[i]->GetTitle(), &text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
  dc.SelectObject(oldFont);
}

void CPropertySheet::OnLButtonDown(UINT nFlags, CPoint point) {
  const std::vector<CRect> tabs = TabRects();
  for (size_t i = 0; i < tabs.size(); ++i) {
    if (tabs[i].PtInRect(point)) {
      SetActivePage(static_cast<int>(i));
      return;
    }
  }
  CDialog::OnLButtonDown(nFlags, point);
}

LRESULT CPropertySheet::OnSetCurSel(WPARAM wParam, LPARAM lParam) {
  if (lParam)
    return SetActivePage(dynamic_cast<CPropertyPage*>(FromHandlePermanent(reinterpret_cast<HWND>(lParam))));
  return SetActivePage(static_cast<int>(wParam));
}

LRESULT CPropertySheet::OnChanged(WPARAM wParam, LPARAM) {
  auto* page = dynamic_cast<CPropertyPage*>(FromHandlePermanent(reinterpret_cast<HWND>(wParam)));
  if (page && std::find(m_modified.begin(), m_modified.end(), page) == m_modified.end())
    m_modified.push_back(page);
  UpdateApplyButton();
  return 0;
}

LRESULT CPropertySheet::OnUnchanged(WPARAM wParam, LPARAM) {
  auto* page = dynamic_cast<CPropertyPage*>(FromHandlePermanent(reinterpret_cast<HWND>(wParam)));
  m_modified.erase(std::remove(m_modified.begin(), m_modified.end(), page), m_modified.end());
  UpdateApplyButton();
  return 0;
}

LRESULT CPropertySheet::OnCancelToClose(WPARAM, LPARAM) {
  if (HWND ok = ::GetDlgItem(m_hWnd, IDOK)) ::SetWindowText(ok, "Close");
  if (HWND cancel = ::GetDlgItem(m_hWnd, IDCANCEL)) ::EnableWindow(cancel, FALSE);
  return 0;
}

LRESULT CPropertySheet::OnQuerySiblings(WPARAM wParam, LPARAM lParam) {
  for (CPropertyPage* page : m_pages) {
    if (!page->m_hWnd) continue;
    if (const LRESULT result = page->SendMessage(PSM_QUERYSIBLINGS, wParam, lParam)) return result;
  }
  return 0;
}

LRESULT CPropertySheet::OnApplyMessage(WPARAM, LPARAM) {
  return ApplyAll();
}

LRESULT CPropertySheet::OnSetTitle(WPARAM wParam, LPARAM lParam) {
  SetTitle(reinterpret_cast<LPCTSTR>(lParam), static_cast<UINT>(wParam));
  return 0;
}

LRESULT CPropertySheet::OnPressButton(WPARAM wParam, LPARAM) {
  PressButton(static_cast<int>(wParam));
  return 0;
}

LRESULT CPropertySheet::OnGetCurrentPageHwnd(WPARAM, LPARAM) {
  CPropertyPage* page = GetPage(m_nActive);
  return reinterpret_cast<LRESULT>(page ? page->m_hWnd : nullptr);
}
