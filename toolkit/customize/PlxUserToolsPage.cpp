// The user tools page: the list of tools and the selected tool's fields.
#include "toolkit/customize/PlxUserToolsPage.h"

#include "platform/comdlg/CommonDialogs.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/WinApp.h"
#include "platform/res/Resources.h"
#include "toolkit/core/PlxUserTools.h"
#include "toolkit/customize/PlxCustomizeSheet.h"

namespace {

constexpr UINT kList = 16921, kCommand = 16922, kBrowse = 16923, kArguments = 16924, kDirectory = 16925;
constexpr UINT kArgumentsMacro = 16989, kDirectoryMacro = 16997;

CPlxUserTool* ToolOf(const CPlxEditableList& list, int index) {
  return index < 0 ? nullptr : reinterpret_cast<CPlxUserTool*>(list.EntryData(index));
}

}  // namespace

// ---- the list ----

void CPlxUserToolList::SelectionMoved() {
  if (!m_pParent) return;
  CPlxUserTool* tool = ToolOf(*this, SelectedEntry());
  CPlxUserToolsPage& page = *m_pParent;
  if (tool) {
    page.m_strCommand = tool->GetCommand();
    page.m_strArguments = tool->m_strArguments;
    page.m_strInitialDirectory = tool->m_strInitialDirectory;
  } else {
    page.m_strCommand.Empty();
    page.m_strArguments.Empty();
    page.m_strInitialDirectory.Empty();
  }
  if (page.m_pParentSheet) page.m_pParentSheet->OnToolSelectionLeaving(page.m_pSelTool);
  page.m_pSelTool = tool;
  if (page.GetSafeHwnd()) {
    page.m_bFilling = TRUE;
    page.UpdateData(FALSE);
    page.m_bFilling = FALSE;
  }
  page.EnableControls();
  if (page.m_pParentSheet) page.m_pParentSheet->OnToolSelectionEntered(tool);
}

BOOL CPlxUserToolList::MayDeleteEntry(int iIndex) {
  if (CPlxUserTool* tool = ToolOf(*this, iIndex); tool && g_pUserToolsManager)
    g_pUserToolsManager->RemoveTool(tool);
  if (m_pParent) m_pParent->m_pSelTool = nullptr;
  return TRUE;
}

void CPlxUserToolList::EntryAdded(int iIndex) {
  if (!g_pUserToolsManager) {
    DeleteEntry(iIndex);
    return;
  }
  const UINT capacity = g_pUserToolsManager->GetLastCmd() - g_pUserToolsManager->GetFirstCmd() + 1;
  if (static_cast<UINT>(g_pUserToolsManager->GetUserTools().GetCount()) >= capacity) {
    CString format, text;
    format.LoadString(CPlxUserToolsPage::kTooManyTools);
    text.Format(format, static_cast<int>(capacity));
    DeleteEntry(iIndex);
    if (m_pParent) m_pParent->ShowMessage(text);
    return;
  }
  CPlxUserTool* tool = g_pUserToolsManager->CreateNewTool();
  if (!tool) {
    DeleteEntry(iIndex);
    return;
  }
  tool->m_strLabel = EntryText(iIndex);
  SetEntryData(iIndex, reinterpret_cast<DWORD_PTR>(tool));
  SelectionMoved();
}

void CPlxUserToolList::EntryRenamed(int iIndex) {
  if (CPlxUserTool* tool = ToolOf(*this, iIndex)) tool->m_strLabel = EntryText(iIndex);
}

void CPlxUserToolList::EntryMovedUp(int iIndex) {
  if (CPlxUserTool* tool = ToolOf(*this, iIndex); tool && g_pUserToolsManager)
    g_pUserToolsManager->MoveToolUp(tool);
}

void CPlxUserToolList::EntryMovedDown(int iIndex) {
  if (CPlxUserTool* tool = ToolOf(*this, iIndex); tool && g_pUserToolsManager)
    g_pUserToolsManager->MoveToolDown(tool);
}

// ---- the page ----

CPlxUserToolsPage::CPlxUserToolsPage() : CPropertyPage(IDD) {
  m_wndToolsList.m_pParent = this;
}

CPlxUserToolsPage::~CPlxUserToolsPage() = default;

void CPlxUserToolsPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, kDirectoryMacro, m_wndInitialDirBtn);
  DDX_Control(pDX, kArgumentsMacro, m_wndArgumentsMenuBtn);
  DDX_Control(pDX, kArguments, m_wndArgumentsEdit);
  DDX_Control(pDX, kDirectory, m_wndInitialDirEdit);
  DDX_Control(pDX, kCommand, m_wndCommandEdit);
  DDX_Control(pDX, kBrowse, m_wndBrowseBtn);
  DDX_Control(pDX, kList, m_wndToolsList);
  DDX_Text(pDX, kCommand, m_strCommand);
  DDX_Text(pDX, kArguments, m_strArguments);
  DDX_Text(pDX, kDirectory, m_strInitialDirectory);
}

BOOL CPlxUserToolsPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  m_pParentSheet = dynamic_cast<CPlxToolbarCustomize*>(GetParent());
  m_wndToolsList.CreateStandardButtons(CPlxEditableList::BUTTON_NEW | CPlxEditableList::BUTTON_DELETE |
                                       CPlxEditableList::BUTTON_UP | CPlxEditableList::BUTTON_DOWN);
  if (m_pParentSheet) m_pParentSheet->OnToolsPageInit();
  if (g_pUserToolsManager) {
    const CObList& tools = g_pUserToolsManager->GetUserTools();
    for (POSITION pos = tools.GetHeadPosition(); pos;) {
      auto* tool = static_cast<CPlxUserTool*>(tools.GetNext(pos));
      m_wndToolsList.InsertEntry(tool->m_strLabel, reinterpret_cast<DWORD_PTR>(tool), -1);
    }
    const struct {
      UINT menuId;
      CMenu& menu;
      CPlxMenuButton& button;
    } macros[] = {{g_pUserToolsManager->GetInitialDirMenuID(), m_menuInitialDir, m_wndInitialDirBtn},
                  {g_pUserToolsManager->GetArgumentsMenuID(), m_menuArguments, m_wndArgumentsMenuBtn}};
    for (const auto& m : macros) {
      if (m.menuId == 0 || !m.menu.LoadMenu(m.menuId)) continue;
      CMenu* sub = m.menu.GetSubMenu(0);
      if (!sub) continue;
      m.button.ShowWindow(SW_SHOW);
      m.button.m_hMenu = sub->GetSafeHmenu();
      m.button.m_bMenuOnRight = TRUE;
    }
  }
  EnableControls();
  return TRUE;
}

void CPlxUserToolsPage::EnableControls() {
  if (!GetSafeHwnd()) return;
  const BOOL on = m_wndToolsList.SelectedEntry() >= 0;
  for (CWnd* control :
       std::initializer_list<CWnd*>{&m_wndCommandEdit, &m_wndArgumentsEdit, &m_wndInitialDirEdit,
                                    &m_wndBrowseBtn, &m_wndArgumentsMenuBtn, &m_wndInitialDirBtn})
    control->EnableWindow(on);
}

void CPlxUserToolsPage::ApplyToolFields() {
  if (!GetSafeHwnd() || m_bFilling) return;
  UpdateData(TRUE);
  CPlxUserTool* tool = ToolOf(m_wndToolsList, m_wndToolsList.SelectedEntry());
  if (tool) {
    tool->SetCommand(m_strCommand);
    tool->m_strArguments = m_strArguments;
    tool->m_strInitialDirectory = m_strInitialDirectory;
  } else {
    m_strCommand.Empty();
    m_strArguments.Empty();
    m_strInitialDirectory.Empty();
    m_bFilling = TRUE;
    UpdateData(FALSE);
    m_bFilling = FALSE;
  }
  EnableControls();
}

CString CPlxUserToolsPage::ChooseCommandFile() {
  const CString& ext = g_pUserToolsManager ? g_pUserToolsManager->GetDefExt() : CString();
  const CString& filter = g_pUserToolsManager ? g_pUserToolsManager->GetFilter() : CString();
  CFileDialog dialog(TRUE, ext.IsEmpty() ? nullptr : static_cast<LPCTSTR>(ext), nullptr,
                     OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                     filter.IsEmpty() ? nullptr : static_cast<LPCTSTR>(filter), this);
  return dialog.DoModal() == IDOK ? dialog.GetPathName() : CString();
}

void CPlxUserToolsPage::OnBrowseCommand() {
  const CString path = ChooseCommandFile();
  if (path.IsEmpty()) return;
  m_strCommand = path;
  m_bFilling = TRUE;
  UpdateData(FALSE);
  m_bFilling = FALSE;
  ApplyToolFields();
}

void CPlxUserToolsPage::SendMacro(CPlxMenuButton& button, CEdit& edit) {
  if (button.m_nMenuResult == 0) return;
  CString text;
  if (!text.LoadString(button.m_nMenuResult)) return;
  // Typed into the field at the caret, as the user would; the field's update applies it.
  for (int i = 0; i < text.GetLength(); ++i)
    edit.SendMessage(WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(text[i])));
}

void CPlxUserToolsPage::OnArgumentsMacro() {
  SendMacro(m_wndArgumentsMenuBtn, m_wndArgumentsEdit);
}

void CPlxUserToolsPage::OnDirectoryMacro() {
  SendMacro(m_wndInitialDirBtn, m_wndInitialDirEdit);
}

void CPlxUserToolsPage::OnOK() {
  ApplyToolFields();
  CPropertyPage::OnOK();
}

BOOL CPlxUserToolsPage::OnKillActive() {
  if (m_pParentSheet && g_pUserToolsManager &&
      !m_pParentSheet->ValidateTools(g_pUserToolsManager->GetUserTools()))
    return FALSE;
  return CPropertyPage::OnKillActive();
}

void CPlxUserToolsPage::ShowMessage(const CString& text) {
  AfxMessageBox(text, MB_OK | MB_ICONWARNING);
}

BOOL CPlxUserToolsPage::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam), code = HIWORD(wParam);
  if (code == BN_CLICKED) {
    switch (id) {
      case kBrowse:
        OnBrowseCommand();
        return TRUE;
      case kArgumentsMacro:
        OnArgumentsMacro();
        return TRUE;
      case kDirectoryMacro:
        OnDirectoryMacro();
        return TRUE;
    }
  }
  if (code == EN_UPDATE && (id == kCommand || id == kArguments || id == kDirectory)) {
    ApplyToolFields();
    return TRUE;
  }
  return CPropertyPage::OnCommand(wParam, lParam);
}
