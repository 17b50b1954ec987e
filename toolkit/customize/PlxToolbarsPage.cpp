#include "toolkit/customize/PlxToolbarsPage.h"

#include "platform/base/StringFormat.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/WinApp.h"
#include "platform/user/MessageBox.h"
#include "toolkit/bars/PlxCommandManager.h"
#include "toolkit/bars/PlxDropDownToolBar.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/customize/PlxCustomizeSheet.h"

namespace {

// A prompt string with the toolbar's name in it.
CString FormatPrompt(UINT uiFormat, const CString& strName, LPCTSTR lpszFallback) {
  CString format;
  if (!format.LoadString(uiFormat)) format = lpszFallback;
  CString text;
  text.Format(format, static_cast<LPCTSTR>(strName));
  return text;
}

// The outermost frame a window sits in (a floating bar's through its mini frame's owner).
CFrameWnd* TopLevelFrameOf(const CWnd* pWnd, CFrameWnd* pStart) {
  CFrameWnd* frame = pStart != nullptr ? pStart : AfxGetParentFrame(pWnd);
  while (frame != nullptr) {
    CFrameWnd* up = AfxGetParentFrame(frame);
    if (up == nullptr) break;
    frame = up;
  }
  return frame;
}

CMiniDockFrameWnd* MiniFrameOf(CWnd* pBar) {
  for (CWnd* wnd = pBar->GetParent(); wnd != nullptr; wnd = wnd->GetParent())
    if (auto* mini = dynamic_cast<CMiniDockFrameWnd*>(wnd)) return mini;
  return nullptr;
}

CString BarName(const CPlxToolBar* pBar) {
  CString name;
  pBar->GetWindowText(name);
  return name;
}

}  // namespace

// ---- CPlxBarCheckList ----

BEGIN_MESSAGE_MAP(CPlxBarCheckList, CCheckListBox)
ON_WM_LBUTTONDOWN()
ON_WM_KEYDOWN()
ON_WM_LBUTTONDBLCLK()
ON_MESSAGE(LB_ADDSTRING, OnLBAddString)
ON_MESSAGE(LB_INSERTSTRING, OnLBInsertString)
ON_MESSAGE(LB_DELETESTRING, OnLBDeleteString)
ON_MESSAGE(LB_RESETCONTENT, OnLBResetContent)
END_MESSAGE_MAP()

void CPlxBarCheckList::EnableCheck(int nIndex, BOOL bEnable) {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_arCheckEnabled.size())) return;
  m_arCheckEnabled[static_cast<size_t>(nIndex)] = bEnable;
  Enable(nIndex, bEnable);
}

BOOL CPlxBarCheckList::IsCheckEnabled(int nIndex) const {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_arCheckEnabled.size())) return FALSE;
  return m_arCheckEnabled[static_cast<size_t>(nIndex)];
}

void CPlxBarCheckList::OnLButtonDown(UINT nFlags, CPoint point) {
  SetFocus();
  BOOL inCheck = FALSE;
  const int row = CheckFromPoint(point, inCheck);
  if (row >= 0 && inCheck && !IsCheckEnabled(row)) {
    MessageBeep(static_cast<UINT>(-1));
    return;
  }
  CCheckListBox::OnLButtonDown(nFlags, point);
}

void CPlxBarCheckList::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_SPACE && !IsCheckEnabled(GetCaretIndex())) {
    MessageBeep(static_cast<UINT>(-1));
    return;
  }
  CCheckListBox::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CPlxBarCheckList::OnLButtonDblClk(UINT nFlags, CPoint point) {
  BOOL inCheck = FALSE;
  const int row = CheckFromPoint(point, inCheck);
  if (row >= 0 && inCheck && !IsCheckEnabled(row)) {
    MessageBeep(static_cast<UINT>(-1));
    return;
  }
  CCheckListBox::OnLButtonDblClk(nFlags, point);
}

LRESULT CPlxBarCheckList::OnLBAddString(WPARAM wParam, LPARAM lParam) {
  const LRESULT index = CCheckListBox::OnAddString(wParam, lParam);
  if (index >= 0 && index <= static_cast<LRESULT>(m_arCheckEnabled.size()))
    m_arCheckEnabled.insert(m_arCheckEnabled.begin() + index, TRUE);
  return index;
}

LRESULT CPlxBarCheckList::OnLBInsertString(WPARAM wParam, LPARAM lParam) {
  const LRESULT index = CCheckListBox::OnInsertString(wParam, lParam);
  if (index >= 0 && index <= static_cast<LRESULT>(m_arCheckEnabled.size()))
    m_arCheckEnabled.insert(m_arCheckEnabled.begin() + index, TRUE);
  return index;
}

LRESULT CPlxBarCheckList::OnLBDeleteString(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CCheckListBox::OnDeleteString(wParam, lParam);
  if (result != LB_ERR && wParam < m_arCheckEnabled.size())
    m_arCheckEnabled.erase(m_arCheckEnabled.begin() + static_cast<long>(wParam));
  return result;
}

LRESULT CPlxBarCheckList::OnLBResetContent(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CCheckListBox::OnResetContent(wParam, lParam);
  m_arCheckEnabled.clear();
  return result;
}

// ---- CPlxToolbarNameDlg ----

BEGIN_MESSAGE_MAP(CPlxToolbarNameDlg, CDialog)
ON_EN_UPDATE(CPlxToolbarNameDlg::kNameId, OnUpdateName)
END_MESSAGE_MAP()

CPlxToolbarNameDlg::CPlxToolbarNameDlg(CWnd* pParent) : CDialog(kTemplate, pParent) {}

void CPlxToolbarNameDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDOK, m_btnOk);
  DDX_Text(pDX, kNameId, m_strToolbarName);
}

BOOL CPlxToolbarNameDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_btnOk.EnableWindow(!m_strToolbarName.IsEmpty());
  return TRUE;
}

void CPlxToolbarNameDlg::OnUpdateName() {
  UpdateData();
  m_btnOk.EnableWindow(!m_strToolbarName.IsEmpty());
}

// ---- CPlxToolbarsPage ----

IMPLEMENT_DYNCREATE(CPlxToolbarsPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CPlxToolbarsPage, CPropertyPage)
ON_LBN_SELCHANGE(CPlxToolbarsPage::kToolbarListId, OnSelchangeToolbar)
ON_LBN_DBLCLK(CPlxToolbarsPage::kToolbarListId, OnDblclkToolbar)
ON_BN_CLICKED(CPlxToolbarsPage::kResetId, OnResetToolbar)
ON_BN_CLICKED(CPlxToolbarsPage::kResetAllId, OnResetAllToolbars)
ON_BN_CLICKED(CPlxToolbarsPage::kDeleteId, OnDeleteToolbar)
ON_BN_CLICKED(CPlxToolbarsPage::kNewId, OnNewToolbar)
ON_BN_CLICKED(CPlxToolbarsPage::kRenameId, OnRenameToolbar)
ON_BN_CLICKED(CPlxToolbarsPage::kTextLabelsId, OnTextLabels)
END_MESSAGE_MAP()

CPlxToolbarsPage::CPlxToolbarsPage(CFrameWnd* pParentFrame)
    : CPropertyPage(kTemplate), m_pParentFrame(pParentFrame) {}

CPlxToolbarsPage::~CPlxToolbarsPage() = default;

CPlxToolbarCustomize* CPlxToolbarsPage::Sheet() const {
  return dynamic_cast<CPlxToolbarCustomize*>(GetParent());
}

void CPlxToolbarsPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, kTextLabelsId, m_wndTextLabels);
  DDX_Control(pDX, kRenameId, m_bntRenameToolbar);
  DDX_Control(pDX, kNewId, m_btnNewToolbar);
  DDX_Control(pDX, kDeleteId, m_btnDelete);
  DDX_Control(pDX, kResetId, m_btnReset);
  DDX_Control(pDX, kToolbarListId, m_wndToolbarList);
  DDX_Check(pDX, kTextLabelsId, m_bTextLabels);
}

BOOL CPlxToolbarsPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  if (!m_bUserDefinedToolbars) {
    m_btnNewToolbar.EnableWindow(FALSE);
    m_btnNewToolbar.ShowWindow(SW_HIDE);
    m_btnDelete.ShowWindow(SW_HIDE);
    m_bntRenameToolbar.ShowWindow(SW_HIDE);
  }
  CFrameWnd* top = TopLevelFrameOf(nullptr, m_pParentFrame);
  for (POSITION pos = CPlxToolBar::GetAllToolbars().GetHeadPosition(); pos != nullptr;) {
    auto* bar = static_cast<CPlxToolBar*>(CPlxToolBar::GetAllToolbars().GetNext(pos));
    if (bar->GetSafeHwnd() == nullptr || CWnd::FromHandlePermanent(bar->m_hWnd) != bar) continue;
    if (dynamic_cast<CPlxDropDownToolBar*>(bar) != nullptr) continue;
    if (TopLevelFrameOf(bar, nullptr) != top) continue;
    if (!bar->AllowShowOnList() || bar->m_bNotListed) continue;
    CString name = BarName(bar);
    if (name.IsEmpty() && !name.LoadString(kUntitledText)) name = "Toolbar";
    const int row = m_wndToolbarList.AddString(name);
    m_wndToolbarList.SetItemDataPtr(row, bar);
    m_wndToolbarList.SetCheck(row, (bar->GetStyle() & WS_VISIBLE) ? BST_CHECKED : BST_UNCHECKED);
    m_wndToolbarList.EnableCheck(row, bar->CanBeClosed());
  }
  CPlxToolbarCustomize* sheet = Sheet();
  if (sheet == nullptr || !(sheet->GetFlags() & CUSTOPT_TEXT_LABELS)) m_wndTextLabels.ShowWindow(SW_HIDE);
  OnSelchangeToolbar();
  return TRUE;
}

int CPlxToolbarsPage::FindRow(const CPlxToolBar* pBar) const {
  if (m_wndToolbarList.GetSafeHwnd() == nullptr) return -1;
  for (int i = 0; i < m_wndToolbarList.GetCount(); ++i)
    if (m_wndToolbarList.GetItemDataPtr(i) == pBar) return i;
  return -1;
}

void CPlxToolbarsPage::OnSelchangeToolbar() {
  const int row = m_wndToolbarList.GetCurSel();
  if (row < 0) {
    m_pSelectedToolbar = nullptr;
    m_btnReset.EnableWindow(FALSE);
    m_btnDelete.EnableWindow(FALSE);
    m_bntRenameToolbar.EnableWindow(FALSE);
    m_wndTextLabels.EnableWindow(FALSE);
    return;
  }
  m_pSelectedToolbar = static_cast<CPlxToolBar*>(m_wndToolbarList.GetItemDataPtr(row));
  m_btnReset.EnableWindow(m_pSelectedToolbar->CanBeRestored());
  m_btnDelete.EnableWindow(m_pSelectedToolbar->IsUserDefined());
  m_bntRenameToolbar.EnableWindow(m_pSelectedToolbar->IsUserDefined());
  m_wndTextLabels.EnableWindow(m_pSelectedToolbar->AllowChangeTextLabels());
  m_bTextLabels = m_pSelectedToolbar->AreTextLabels();
  UpdateData(FALSE);
}

void CPlxToolbarsPage::OnDblclkToolbar() {
  const int row = m_wndToolbarList.GetCurSel();
  if (row >= 0) {
    auto* bar = static_cast<CPlxToolBar*>(m_wndToolbarList.GetItemDataPtr(row));
    if (bar->CanBeClosed()) {
      m_wndToolbarList.SetCheck(row,
                                m_wndToolbarList.GetCheck(row) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
      ApplyRowCheck(row);
    } else {
      MessageBeep(static_cast<UINT>(-1));
    }
  }
  OnSelchangeToolbar();
}

void CPlxToolbarsPage::ApplyRowCheck(int nRow) {
  if (nRow < 0 || nRow >= m_wndToolbarList.GetCount()) return;
  auto* bar = static_cast<CPlxToolBar*>(m_wndToolbarList.GetItemDataPtr(nRow));
  if (bar == nullptr) return;
  const BOOL checked = m_wndToolbarList.GetCheck(nRow) == BST_CHECKED;
  if (bar->CanBeClosed()) {
    CFrameWnd* dock = bar->m_pDockSite != nullptr ? bar->m_pDockSite : bar->GetDockingFrame();
    if (dock != nullptr) dock->ShowControlBar(bar, checked, FALSE);
  } else if (!checked) {
    m_wndToolbarList.SetCheck(nRow, BST_CHECKED);
    MessageBeep(static_cast<UINT>(-1));
  }
}

BOOL CPlxToolbarsPage::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == CLBN_CHKCHANGE && LOWORD(wParam) == kToolbarListId) {
    // The row whose box changed, which need not be the selected one.
    ApplyRowCheck(m_wndToolbarList.GetCheckChangedIndex());
  }
  return CPropertyPage::OnCommand(wParam, lParam);
}

void CPlxToolbarsPage::OnResetToolbar() {
  if (m_pSelectedToolbar == nullptr) return;
  const CString question = FormatPrompt(kResetPrompt, BarName(m_pSelectedToolbar),
                                        "All changes to the '%s' toolbar will be lost. Reset it?");
  if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES)
    m_pSelectedToolbar->RestoreOriginalState();
}

void CPlxToolbarsPage::OnResetAllToolbars() {
  CString question;
  if (!question.LoadString(kResetAllPrompt)) question = "Reset every toolbar to its original buttons?";
  if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  CPlxCommandManager* commands = GetCommandManager();
  commands->ClearAllCmdImages();
  for (POSITION pos = CPlxToolBar::m_mapDefaultImages.GetStartPosition(); pos != nullptr;) {
    UINT cmd = 0;
    int image = -1;
    CPlxToolBar::m_mapDefaultImages.GetNextAssoc(pos, cmd, image);
    commands->SetCmdImage(cmd, image, FALSE);
  }
  for (int i = 0; i < m_wndToolbarList.GetCount(); ++i) {
    auto* bar = static_cast<CPlxToolBar*>(m_wndToolbarList.GetItemDataPtr(i));
    if (bar->CanBeRestored()) bar->RestoreOriginalState();
  }
}

void CPlxToolbarsPage::OnDeleteToolbar() {
  if (m_pSelectedToolbar == nullptr) return;
  CFrameWnd* frame = m_pParentFrame;
  if (frame == nullptr) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  const CString question =
      FormatPrompt(kDeletePrompt, BarName(m_pSelectedToolbar), "Delete the '%s' toolbar?");
  if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  if (frame->SendMessage(PLX_WM_DELETETOOLBAR, 0, reinterpret_cast<LPARAM>(m_pSelectedToolbar)) == 0) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  m_wndToolbarList.DeleteString(static_cast<UINT>(m_wndToolbarList.GetCurSel()));
  m_wndToolbarList.SetCurSel(0);
  OnSelchangeToolbar();
}

void CPlxToolbarsPage::OnNewToolbar() {
  CPlxToolbarNameDlg dlg(this);
  if (dlg.DoModal() != IDOK) return;
  CFrameWnd* frame = m_pParentFrame;
  if (frame == nullptr) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  auto* bar = reinterpret_cast<CPlxToolBar*>(frame->SendMessage(
      PLX_WM_CREATETOOLBAR, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(dlg.m_strToolbarName))));
  if (bar == nullptr) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  // The new bar may already have been listed by its own showing.
  int row = FindRow(bar);
  if (row < 0) {
    row = m_wndToolbarList.AddString(dlg.m_strToolbarName);
    m_wndToolbarList.SetItemDataPtr(row, bar);
  }
  m_wndToolbarList.SetCheck(row, BST_CHECKED);
  m_wndToolbarList.SetCurSel(row);
  m_wndToolbarList.SetTopIndex(row);
  OnSelchangeToolbar();
}

void CPlxToolbarsPage::OnRenameToolbar() {
  if (m_pSelectedToolbar == nullptr) return;
  CPlxToolbarNameDlg dlg(this);
  dlg.m_strToolbarName = BarName(m_pSelectedToolbar);
  if (dlg.DoModal() != IDOK) return;
  CPlxToolBar* bar = m_pSelectedToolbar;
  bar->SetWindowText(dlg.m_strToolbarName);
  if (bar->IsFloating()) {
    if (auto* mini = MiniFrameOf(bar)) {
      mini->SetWindowText(dlg.m_strToolbarName);
      mini->m_wndDockBar.SetWindowText(dlg.m_strToolbarName);
    }
  }
  const int old = m_wndToolbarList.GetCurSel();
  const BOOL enabled = m_wndToolbarList.IsCheckEnabled(old);
  m_wndToolbarList.DeleteString(static_cast<UINT>(old));
  const int row = m_wndToolbarList.InsertString(old, dlg.m_strToolbarName);
  m_wndToolbarList.SetItemDataPtr(row, bar);
  m_wndToolbarList.SetCheck(row, (bar->GetStyle() & WS_VISIBLE) ? BST_CHECKED : BST_UNCHECKED);
  m_wndToolbarList.EnableCheck(row, enabled);
  m_wndToolbarList.SetCurSel(row);
  m_wndToolbarList.SetTopIndex(row);
  OnSelchangeToolbar();
}

void CPlxToolbarsPage::OnTextLabels() {
  UpdateData();
  if (m_pSelectedToolbar != nullptr) m_pSelectedToolbar->EnableTextLabels(m_bTextLabels);
}

void CPlxToolbarsPage::ShowToolBar(CPlxToolBar* pBar, BOOL bShow) {
  if (const int row = FindRow(pBar); row >= 0)
    m_wndToolbarList.SetCheck(row, bShow ? BST_CHECKED : BST_UNCHECKED);
}
