#include "toolkit/core/PlxWindowListDlg.h"

#include <algorithm>

#include "platform/mfc/Dc.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/MdiFrameWnd.h"
#include "platform/mfc/WinApp.h"
#include "platform/user/MessageBox.h"
#include "toolkit/core/PlxMDIChildWnd.h"

UINT PLX_WM_WINDOW_HELP = 0;

void PlxRegisterWindowHelpMessage() {
  if (PLX_WM_WINDOW_HELP == 0) PLX_WM_WINDOW_HELP = ::RegisterWindowMessage("WINDOW_HELP");
}

namespace {

bool Contains(const std::vector<HWND>& list, HWND hwnd) {
  return std::find(list.begin(), list.end(), hwnd) != list.end();
}

}  // namespace

BEGIN_MESSAGE_MAP(CPlxWindowListDlg, CDialog)
ON_BN_CLICKED(IDC_ACTIVATE, OnActivate)
ON_BN_CLICKED(IDC_SAVE, OnSave)
ON_BN_CLICKED(IDC_CLOSE, OnCloseWindows)
ON_BN_CLICKED(IDC_MINIMIZE, OnMinimize)
ON_BN_CLICKED(IDC_CASCADE, OnCascade)
ON_BN_CLICKED(IDC_TILE_HORZ, OnTileHorz)
ON_BN_CLICKED(IDC_TILE_VERT, OnTileVert)
ON_LBN_SELCHANGE(IDC_LIST, OnSelChange)
ON_LBN_DBLCLK(IDC_LIST, OnActivate)
ON_COMMAND(ID_HELP, OnHelp)
ON_WM_DRAWITEM()
ON_WM_HELPINFO()
END_MESSAGE_MAP()

CPlxWindowListDlg::CPlxWindowListDlg(CMDIFrameWnd* pMDIFrame)
    : CDialog(static_cast<UINT>(IDD), pMDIFrame), m_pMDIFrame(pMDIFrame) {
  PlxRegisterWindowHelpMessage();
}

BOOL CPlxWindowListDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_wndList.SubclassDlgItem(IDC_LIST, this);
  FillWindowList();
  SelActive();
  UpdateButtons();
  return TRUE;
}

HWND CPlxWindowListDlg::MDIClient() const {
  return m_pMDIFrame != nullptr ? m_pMDIFrame->m_hWndMDIClient : nullptr;
}

HWND CPlxWindowListDlg::ItemWindow(int index) const {
  return reinterpret_cast<HWND>(m_wndList.GetItemData(index));
}

std::vector<int> CPlxWindowListDlg::SelectedItems() const {
  std::vector<int> items(static_cast<size_t>(std::max(m_wndList.GetSelCount(), 0)));
  if (!items.empty())
    items.resize(static_cast<size_t>(
        std::max(m_wndList.GetSelItems(static_cast<int>(items.size()), items.data()), 0)));
  return items;
}

void CPlxWindowListDlg::FillWindowList() {
  m_wndList.SetRedraw(FALSE);
  m_wndList.ResetContent();
  CClientDC dc(&m_wndList);
  CFont* oldFont = dc.SelectObject(GetFont());
  m_bMDIActions = TRUE;
  m_lstCloseDisabled.clear();
  m_lstSaveDisabled.clear();
  int widest = 0;
  const HWND client = MDIClient();
  for (HWND w = client != nullptr ? ::GetWindow(client, GW_CHILD) : nullptr; w != nullptr;
       w = ::GetWindow(w, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(w)) continue;
    char title[256] = {};
    ::GetWindowText(w, title, static_cast<int>(sizeof title));
    const int index = m_wndList.AddString(title);
    m_wndList.SetItemData(index, reinterpret_cast<DWORD_PTR>(w));
    widest = std::max(widest, static_cast<int>(dc.GetTextExtent(CString(title)).cx));
    if (auto* child = dynamic_cast<CPlxMDIChildWnd*>(CWnd::FromHandlePermanent(w));
        child != nullptr && child->IsReadOnly())
      m_lstSaveDisabled.push_back(w);
    const HMENU sysMenu = (::GetWindowLong(w, GWL_STYLE) & WS_SYSMENU) ? ::GetSystemMenu(w, FALSE) : nullptr;
    if (sysMenu != nullptr) {
      const UINT state = ::GetMenuState(sysMenu, SC_CLOSE, MF_BYCOMMAND);
      if (state == static_cast<UINT>(-1) || (state & (MF_DISABLED | MF_GRAYED)) != 0)
        m_lstCloseDisabled.push_back(w);
    } else {
      m_bMDIActions = FALSE;
    }
  }
  m_wndList.SetHorizontalExtent(::GetSystemMetrics(SM_CXHSCROLL) + widest + 30);
  if (oldFont != nullptr) dc.SelectObject(oldFont);
  m_wndList.SetRedraw(TRUE);
  m_wndList.Invalidate();
}

void CPlxWindowListDlg::SelActive() {
  m_wndList.SetRedraw(FALSE);
  m_wndList.SelItemRange(FALSE, 0, m_wndList.GetCount() - 1);
  const HWND client = MDIClient();
  const HWND active =
      client != nullptr ? reinterpret_cast<HWND>(::SendMessage(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
  for (int i = 0; i < m_wndList.GetCount(); ++i)
    if (active != nullptr && ItemWindow(i) == active) m_wndList.SetSel(i, TRUE);
  m_wndList.SetRedraw(TRUE);
  m_wndList.Invalidate();
}

void CPlxWindowListDlg::UpdateButtons() {
  const std::vector<int> selected = SelectedItems();
  const int n = static_cast<int>(selected.size());
  BOOL canClose = n > 0;
  BOOL canSave = FALSE;
  for (int index : selected) {
    const HWND w = ItemWindow(index);
    if (Contains(m_lstCloseDisabled, w)) {
      canClose = FALSE;
      break;
    }
    if (!Contains(m_lstSaveDisabled, w)) canSave = TRUE;
  }
  auto enable = [this](int id, BOOL on) {
    if (CWnd* button = GetDlgItem(id)) button->EnableWindow(on);
  };
  enable(IDC_CLOSE, canClose);
  enable(IDC_SAVE, canSave);
  enable(IDC_TILE_HORZ, m_bMDIActions && n > 1);
  enable(IDC_TILE_VERT, m_bMDIActions && n > 1);
  enable(IDC_CASCADE, m_bMDIActions && n > 1);
  enable(IDC_MINIMIZE, m_bMDIActions && n > 0);
  enable(IDC_ACTIVATE, n == 1);
}

void CPlxWindowListDlg::OnActivate() {
  const std::vector<int> selected = SelectedItems();
  if (selected.size() != 1) return;
  const HWND w = ItemWindow(selected.front());
  if (!::IsWindow(w) || ::GetParent(w) != MDIClient()) {
    // The list can be older than the windows (arranging does not refresh it): a child that went
    // meanwhile is not activated, and the dialog does not end as if it had been.
    FillWindowList();
    SelActive();
    UpdateButtons();
    return;
  }
  if (::IsIconic(w)) ::ShowWindow(w, SW_RESTORE);
  ::SendMessage(MDIClient(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(w), 0);
  EndDialog(IDOK);
}

void CPlxWindowListDlg::OnSave() {
  for (int index : SelectedItems()) {
    const HWND w = ItemWindow(index);
    if (Contains(m_lstSaveDisabled, w)) continue;
    auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(w));
    CDocument* doc = frame != nullptr ? frame->GetActiveDocument() : nullptr;
    if (doc != nullptr) doc->DoFileSave();
  }
  FillWindowList();
  SelActive();
  UpdateButtons();
}

void CPlxWindowListDlg::OnCloseWindows() {
  const std::vector<int> selected = SelectedItems();
  // Handles first: closing a window does not renumber what is left to close.
  std::vector<HWND> windows;
  for (int index : selected) windows.push_back(ItemWindow(index));
  m_wndList.SetRedraw(FALSE);
  const HWND client = MDIClient();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    ::SendMessage(*it, WM_CLOSE, 0, 0);
    // A window that refused stops the closing; the ones before it stay open.
    if (::IsWindow(*it) && ::GetParent(*it) == client) break;
  }
  m_wndList.SetRedraw(TRUE);
  FillWindowList();
  SelActive();
  UpdateButtons();
}

void CPlxWindowListDlg::OnMinimize() {
  std::vector<HWND> windows;
  for (int index : SelectedItems()) windows.push_back(ItemWindow(index));
  m_wndList.SetRedraw(FALSE);
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) ::ShowWindow(*it, SW_MINIMIZE);
  m_wndList.SetRedraw(TRUE);
  FillWindowList();
  SelActive();
  UpdateButtons();
}

void CPlxWindowListDlg::MDIMessage(UINT uMsg, WPARAM flag) {
  BeginWaitCursor();
  const HWND client = MDIClient();
  // Only one window can be locked: another's lock is left for its owner to release.
  const BOOL locked = ::LockWindowUpdate(client);
  for (int i = m_wndList.GetCount() - 1; i >= 0; --i) {
    const HWND w = ItemWindow(i);
    if (!::IsWindow(w)) continue;
    ::ShowWindow(w, m_wndList.GetSel(i) > 0 ? SW_RESTORE : SW_MINIMIZE);
  }
  ::SendMessage(client, uMsg, flag, 0);
  if (locked) ::LockWindowUpdate(nullptr);
  EndWaitCursor();
}

void CPlxWindowListDlg::OnCascade() {
  MDIMessage(WM_MDICASCADE, 0);
}

void CPlxWindowListDlg::OnTileHorz() {
  MDIMessage(WM_MDITILE, MDITILE_HORIZONTAL);
}

void CPlxWindowListDlg::OnTileVert() {
  MDIMessage(WM_MDITILE, MDITILE_VERTICAL);
}

void CPlxWindowListDlg::OnSelChange() {
  UpdateButtons();
}

void CPlxWindowListDlg::OnHelp() {
  CWnd* main = AfxGetMainWnd();
  if (main != nullptr && main->GetSafeHwnd() != nullptr && PLX_WM_WINDOW_HELP != 0)
    main->SendMessage(PLX_WM_WINDOW_HELP, 0, reinterpret_cast<LPARAM>(this));
}

BOOL CPlxWindowListDlg::OnHelpInfo(HELPINFO*) {
  OnHelp();
  return FALSE;
}

void CPlxWindowListDlg::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDIS) {
  if (nIDCtl != IDC_LIST) {
    CDialog::OnDrawItem(nIDCtl, lpDIS);
    return;
  }
  if (lpDIS->itemID == static_cast<UINT>(-1)) return;
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  CRect rect(lpDIS->rcItem);
  const bool selected = (lpDIS->itemState & ODS_SELECTED) != 0;
  const COLORREF textColour = ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
  if (lpDIS->itemAction & (ODA_DRAWENTIRE | ODA_SELECT))
    ::FillRect(lpDIS->hDC, &rect, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const int square = rect.Height();
  CString text;
  m_wndList.GetText(static_cast<int>(lpDIS->itemID), text);
  CRect rectText = rect;
  rectText.left += square + 4;
  const COLORREF oldText = pDC->SetTextColor(textColour);
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  pDC->DrawText(text, rectText, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
  pDC->SetBkMode(oldMode);
  pDC->SetTextColor(oldText);
  const HWND w = reinterpret_cast<HWND>(lpDIS->itemData);
  const auto icon = ::IsWindow(w) ? reinterpret_cast<HICON>(::GetClassLongPtr(w, GCLP_HICONSM)) : nullptr;
  if (icon != nullptr)
    ::DrawIconEx(lpDIS->hDC, rect.left + 2, rect.top, icon, square, square, 0, nullptr, DI_NORMAL);
  if (lpDIS->itemState & ODS_FOCUS) ::DrawFocusRect(lpDIS->hDC, &rect);
}
