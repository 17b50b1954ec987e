#include "toolkit/customize/PlxKeyboardPage.h"

#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/WinApp.h"
#include "platform/user/WindowClass.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxKeyboardManager.h"
#include "toolkit/customize/PlxCustomizeSheet.h"
#include "toolkit/customize/PlxPageText.h"

IMPLEMENT_DYNCREATE(CPlxKeyboardPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CPlxKeyboardPage, CPropertyPage)
ON_BN_CLICKED(IDC_ASSIGN, OnAssign)
ON_CBN_SELCHANGE(IDC_CATEGORY, OnSelchangeCategory)
ON_LBN_SELCHANGE(IDC_COMMANDS, OnSelchangeCommandsList)
ON_LBN_SELCHANGE(IDC_CURRENT_KEYS, OnSelchangeCurrentKeysList)
ON_BN_CLICKED(IDC_REMOVE, OnRemove)
ON_BN_CLICKED(IDC_RESET_ALL, OnResetAll)
ON_CBN_SELCHANGE(IDC_TABLE, OnSelchangeViewType)
ON_EN_UPDATE(IDC_HOTKEY, OnUpdateNewShortcutKey)
END_MESSAGE_MAP()

namespace {

// The bits that tell two keys apart: virtual key, Shift, Ctrl, Alt.
constexpr BYTE kKeyBits = FVIRTKEY | FSHIFT | FCONTROL | FALT;

CString LoadText(UINT id) {
  CString text;
  text.LoadString(id);
  return text;
}

}  // namespace

CPlxKeyboardPage::CPlxKeyboardPage(CFrameWnd* pParentFrame, BOOL bAutoSet)
    : CPropertyPage(IDD), m_pParentFrame(pParentFrame), m_bAutoSet(bAutoSet) {}

CPlxKeyboardPage::~CPlxKeyboardPage() = default;

CPlxToolbarCustomize* CPlxKeyboardPage::GetSheet() const {
  return dynamic_cast<CPlxToolbarCustomize*>(GetParent());
}

void CPlxKeyboardPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_ASSIGNED_TO_LABEL, m_wndAssignedToTitle);
  DDX_Control(pDX, IDC_HOTKEY, m_wndNewKey);
  DDX_Control(pDX, IDC_TABLE, m_wndViewTypeList);
  DDX_Control(pDX, IDC_TABLE_ICON, m_wndViewIcon);
  DDX_Control(pDX, IDC_REMOVE, m_wndRemoveButton);
  DDX_Control(pDX, IDC_CURRENT_KEYS, m_wndCurrentKeysList);
  DDX_Control(pDX, IDC_COMMANDS, m_wndCommandsList);
  DDX_Control(pDX, IDC_CATEGORY, m_wndCategoryList);
  DDX_Control(pDX, IDC_ASSIGN, m_wndAssignButton);
  DDX_Text(pDX, IDC_DESCRIPTION, m_strDescription);
  DDX_Text(pDX, IDC_ASSIGNED_TO, m_strAssignedTo);
}

BOOL CPlxKeyboardPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();

  if (CPlxToolbarCustomize* sheet = GetSheet()) sheet->ListCategoriesInCombo(m_wndCategoryList, FALSE);
  m_wndCategoryList.SetCurSel(0);
  OnSelchangeCategory();

  if (m_bAutoSet) {
    CList<UINT, UINT> seen;
    CWinApp* app = AfxGetApp();
    for (POSITION pos = app != nullptr ? app->GetFirstDocTemplatePosition() : nullptr; pos != nullptr;) {
      auto* tmpl = dynamic_cast<CMultiDocTemplate*>(app->GetNextDocTemplate(pos));
      if (tmpl == nullptr || tmpl->m_hAccelTable == nullptr || seen.Find(tmpl->m_nIDResource)) continue;
      seen.AddTail(tmpl->m_nIDResource);
      CString name = plx_page::DocString(tmpl, 2);
      if (name.IsEmpty()) name.Format("%u", tmpl->m_nIDResource);
      const int row = m_wndViewTypeList.AddString(name);
      m_wndViewTypeList.SetItemDataPtr(row, tmpl);
    }
  }
  if (m_pParentFrame != nullptr && m_pParentFrame->m_hAccelTable != nullptr) {
    const int row = m_wndViewTypeList.AddString(LoadText(IDS_FRAME_TABLE));
    m_wndViewTypeList.SetItemData(row, 0);
    m_wndViewTypeList.SetCurSel(row);
    OnSelchangeViewType();
  }
  if (m_wndViewTypeList.GetCurSel() == CB_ERR) {
    m_wndViewTypeList.SetCurSel(0);
    OnSelchangeViewType();
  }
  return TRUE;
}

void CPlxKeyboardPage::OnSelchangeViewType() {
  m_accels.clear();
  m_hAccelTable = nullptr;
  m_pSelTemplate = nullptr;
  m_nSelEntry = -1;
  const int row = m_wndViewTypeList.GetCurSel();
  if (row == CB_ERR) {
    m_wndViewIcon.SetIcon(nullptr);
    OnSelchangeCommandsList();
    return;
  }
  auto* tmpl = static_cast<CMultiDocTemplate*>(m_wndViewTypeList.GetItemDataPtr(row));
  HICON icon = nullptr;
  if (tmpl != nullptr) {
    if (CWinApp* app = AfxGetApp()) icon = app->LoadIcon(tmpl->m_nIDResource);
    m_hAccelTable = tmpl->m_hAccelTable;
  } else if (m_pParentFrame != nullptr) {
    if (m_pParentFrame->GetSafeHwnd() != nullptr)
      icon = reinterpret_cast<HICON>(::GetClassLongPtr(m_pParentFrame->m_hWnd, GCLP_HICON));
    m_hAccelTable = m_pParentFrame->m_hAccelTable;
  }
  // No stock application icon exists here: a table without its own icon shows none.
  m_wndViewIcon.SetIcon(icon);
  if (m_hAccelTable != nullptr) {
    const int count = ::CopyAcceleratorTable(m_hAccelTable, nullptr, 0);
    if (count > 0) {
      m_accels.resize(static_cast<size_t>(count));
      ::CopyAcceleratorTable(m_hAccelTable, m_accels.data(), count);
    }
  }
  m_pSelTemplate = tmpl;
  OnSelchangeCommandsList();
}

void CPlxKeyboardPage::OnSelchangeCategory() {
  UpdateData();
  m_wndCommandsList.ResetContent();
  m_wndCurrentKeysList.ResetContent();
  m_nSelEntry = -1;
  const int row = m_wndCategoryList.GetCurSel();
  CPlxToolbarCustomize* sheet = GetSheet();
  if (row != CB_ERR) {
    auto* list = static_cast<CObList*>(m_wndCategoryList.GetItemDataPtr(row));
    CString category;
    m_wndCategoryList.GetLBText(row, category);
    const BOOL allCommands = category == m_strAllCommands;
    for (POSITION pos = list != nullptr ? list->GetHeadPosition() : nullptr; pos != nullptr;) {
      auto* button = static_cast<CPlxToolbarButton*>(list->GetNext(pos));
      if (button == nullptr || button->m_nID == 0 || button->m_nID == static_cast<UINT>(-1)) continue;
      CString name = button->m_strText;
      if (!button->m_strCommandName.IsEmpty() &&
          (allCommands || (sheet != nullptr && sheet->CountCommandsNamed(button->m_strText, *list) > 1)))
        name = button->m_strCommandName;
      const int item = m_wndCommandsList.AddString(name);
      m_wndCommandsList.SetItemDataPtr(item, button);
    }
  }
  m_wndNewKey.EnableWindow(FALSE);
  m_wndCommandsList.SetCurSel(0);
  OnSelchangeCommandsList();
}

void CPlxKeyboardPage::OnSelchangeCommandsList() {
  m_strDescription.Empty();
  m_wndCurrentKeysList.ResetContent();
  OnSelchangeCurrentKeysList();
  const int row = m_wndCommandsList.GetCurSel();
  if (row == LB_ERR) {
    m_pSelButton = nullptr;
    m_wndNewKey.EnableWindow(FALSE);
    OnUpdateNewShortcutKey();
    return;
  }
  m_pSelButton = static_cast<CPlxToolbarButton*>(m_wndCommandsList.GetItemDataPtr(row));
  m_strDescription = plx_page::CommandDescription(m_pSelButton->m_nID);
  for (int i = 0; i < GetAccelCount(); ++i)
    if (m_accels[static_cast<size_t>(i)].cmd == m_pSelButton->m_nID) AddKeyRow(i);
  m_wndNewKey.EnableWindow(TRUE);
  // The recorded key is checked against the command and table now chosen.
  OnUpdateNewShortcutKey();
}

void CPlxKeyboardPage::AddKeyRow(int entryIndex) {
  CString text;
  CPlxShortcutText(&m_accels[static_cast<size_t>(entryIndex)]).Format(text);
  const int row = m_wndCurrentKeysList.AddString(text);
  m_wndCurrentKeysList.SetItemData(row, static_cast<DWORD_PTR>(entryIndex));
}

void CPlxKeyboardPage::OnSelchangeCurrentKeysList() {
  const int row = m_wndCurrentKeysList.GetCurSel();
  m_nSelEntry = row == LB_ERR ? -1 : static_cast<int>(m_wndCurrentKeysList.GetItemData(row));
  m_wndRemoveButton.EnableWindow(m_nSelEntry >= 0);
}

int CPlxKeyboardPage::FindKey(const ACCEL& key) const {
  for (int i = 0; i < GetAccelCount(); ++i) {
    const ACCEL& entry = m_accels[static_cast<size_t>(i)];
    if (entry.key == key.key && (entry.fVirt & kKeyBits) == (key.fVirt & kKeyBits)) return i;
  }
  return -1;
}

void CPlxKeyboardPage::OnUpdateNewShortcutKey() {
  m_strAssignedTo.Empty();
  m_wndAssignedToTitle.ShowWindow(SW_HIDE);
  m_wndAssignButton.EnableWindow(FALSE);
  if (m_wndNewKey.m_bKeyDefined) {
    const int owner = FindKey(m_wndNewKey.m_Accel);
    if (owner >= 0) {
      CPlxToolbarCustomize* sheet = GetSheet();
      LPCTSTR name =
          sheet != nullptr ? sheet->GetCommandName(m_accels[static_cast<size_t>(owner)].cmd) : nullptr;
      m_strAssignedTo = name != nullptr ? name : "????";
    } else {
      m_strAssignedTo.LoadString(IDS_KEY_FREE);
      // A key goes to a command: nothing to assign while none is chosen.
      m_wndAssignButton.EnableWindow(m_pSelButton != nullptr);
    }
    m_wndAssignedToTitle.ShowWindow(SW_SHOW);
  }
  UpdateData(FALSE);
}

BOOL CPlxKeyboardPage::InstallTable(const std::vector<ACCEL>& entries) {
  if (g_pKeyboardManager == nullptr || entries.empty()) return FALSE;
  auto* data = const_cast<ACCEL*>(entries.data());
  const int count = static_cast<int>(entries.size());
  if (m_pSelTemplate != nullptr)
    return g_pKeyboardManager->UpdateTemplateAccelTable(m_pSelTemplate, data, count);
  return g_pKeyboardManager->UpdateAcceleratorTable(data, count, m_pParentFrame);
}

void CPlxKeyboardPage::OnAssign() {
  if (m_pSelButton == nullptr || !m_wndNewKey.m_bKeyDefined) {
    ::MessageBeep(static_cast<UINT>(-1));
    return;
  }
  m_wndNewKey.m_Accel.cmd = static_cast<WORD>(m_pSelButton->m_nID);
  ACCEL accel = m_wndNewKey.m_Accel;
  // A key already in the table would be added again and never fire: name its owner instead.
  if (const int owner = FindKey(accel); owner >= 0) {
    OnUpdateNewShortcutKey();
    CString text;
    text.Format(LoadText(IDS_KEY_IN_USE), static_cast<LPCTSTR>(m_strAssignedTo));
    m_strAssignedTo = text;
    UpdateData(FALSE);
    ::MessageBeep(static_cast<UINT>(-1));
    return;
  }
  if (CPlxToolbarCustomize* sheet = GetSheet(); sheet != nullptr && !sheet->CanAssignShortcut(&accel)) return;

  std::vector<ACCEL> next = m_accels;
  next.push_back(accel);
  if (!InstallTable(next)) {
    // The live table stays as it was, and so does the list.
    m_strAssignedTo.LoadString(IDS_INSTALL_FAILED);
    m_wndAssignedToTitle.ShowWindow(SW_SHOW);
    m_wndAssignButton.EnableWindow(FALSE);
    UpdateData(FALSE);
    return;
  }
  m_accels = std::move(next);
  m_hAccelTable = m_pSelTemplate != nullptr   ? m_pSelTemplate->m_hAccelTable
                  : m_pParentFrame != nullptr ? m_pParentFrame->m_hAccelTable
                                              : nullptr;
  AddKeyRow(GetAccelCount() - 1);
  m_wndNewKey.ResetKey();
  OnUpdateNewShortcutKey();
  m_wndCommandsList.SetFocus();
}

void CPlxKeyboardPage::OnRemove() {
  if (m_nSelEntry < 0 || m_nSelEntry >= GetAccelCount()) return;
  std::vector<ACCEL> next = m_accels;
  next.erase(next.begin() + m_nSelEntry);
  if (!InstallTable(next)) {
    m_strAssignedTo.LoadString(IDS_INSTALL_FAILED);
    m_wndAssignedToTitle.ShowWindow(SW_SHOW);
    UpdateData(FALSE);
    return;
  }
  m_accels = std::move(next);
  m_hAccelTable = m_pSelTemplate != nullptr   ? m_pSelTemplate->m_hAccelTable
                  : m_pParentFrame != nullptr ? m_pParentFrame->m_hAccelTable
                                              : nullptr;
  OnSelchangeCommandsList();
  m_wndCommandsList.SetFocus();
}

void CPlxKeyboardPage::OnResetAll() {
  if (AfxMessageBox(LoadText(IDS_RESET_KEYS), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  if (g_pKeyboardManager != nullptr) g_pKeyboardManager->ResetAllTables(m_pParentFrame);
  if (m_pParentFrame != nullptr && m_pParentFrame->GetSafeHwnd() != nullptr)
    m_pParentFrame->SendMessage(PLX_WM_RESETKEYBOARD, 0, 0);
  OnSelchangeViewType();
}
