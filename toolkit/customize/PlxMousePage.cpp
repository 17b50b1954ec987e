#include "toolkit/customize/PlxMousePage.h"

#include <cstring>

#include "platform/comctl/CommCtrl.h"
#include "platform/comctl/ListView.h"
#include "platform/gdi/Gdi.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/WinApp.h"
#include "platform/user/Metrics.h"
#include "toolkit/core/PlxMouseManager.h"
#include "toolkit/customize/PlxCustomizeSheet.h"
#include "toolkit/customize/PlxPageText.h"

IMPLEMENT_DYNCREATE(CPlxMousePage, CPropertyPage)

BEGIN_MESSAGE_MAP(CPlxMousePage, CPropertyPage)
ON_BN_CLICKED(IDC_NO_COMMAND, OnNoDblcliick)
ON_BN_CLICKED(IDC_USE_COMMAND, OnUseDblcliick)
ON_LBN_SELCHANGE(IDC_COMMANDS, OnSelchangeListOfCommands)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_VIEWS, OnItemchangedListViews)
END_MESSAGE_MAP()

CPlxMousePage::CPlxMousePage() : CPropertyPage(IDD) {
  ::InitCommonControls();  // the views list
}

CPlxMousePage::~CPlxMousePage() = default;

void CPlxMousePage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_VIEWS, m_wndListOfViews);
  DDX_Control(pDX, IDC_COMMANDS, m_wndListOfCommands);
  DDX_Control(pDX, IDC_DESCRIPTION, m_wndCommandDescription);
  DDX_Text(pDX, IDC_DESCRIPTION, m_strCommandDescription);
}

BOOL CPlxMousePage::OnInitDialog() {
  CPropertyPage::OnInitDialog();

  CStringList names;
  if (g_pMouseManager != nullptr) g_pMouseManager->GetViewNames(names);
  const int icon = ::GetSystemMetrics(SM_CXSMICON);
  m_ViewsImages.Create(icon, icon, ILC_MASK, static_cast<int>(names.GetCount()), 1);
  m_wndListOfViews.SetImageList(&m_ViewsImages, LVSIL_SMALL);
  CRect client;
  m_wndListOfViews.GetClientRect(&client);
  m_wndListOfViews.InsertColumn(0, "", LVCFMT_LEFT, client.Width() - 1);

  int widest = 0;
  for (POSITION pos = names.GetHeadPosition(); pos != nullptr;) {
    const CString name = names.GetNext(pos);
    const int viewId = g_pMouseManager->GetViewIdByName(name);
    int image = -1;
    if (const UINT iconId = g_pMouseManager->GetViewIconId(viewId); iconId != 0) {
      CWinApp* app = AfxGetApp();
      if (HICON hIcon = app != nullptr ? app->LoadIcon(iconId) : nullptr) {
        image = m_ViewsImages.Add(hIcon);
        ::DestroyIcon(hIcon);
      }
    }
    // Sorted by name, whatever the registration order.
    int at = m_wndListOfViews.GetItemCount();
    for (int i = 0; i < m_wndListOfViews.GetItemCount(); ++i) {
      if (std::strcmp(m_wndListOfViews.GetItemText(i, 0), name) > 0) {
        at = i;
        break;
      }
    }
    const int item = m_wndListOfViews.InsertItem(LVIF_TEXT | LVIF_IMAGE, at, name, 0, 0, image, 0);
    m_wndListOfViews.SetItemData(item, static_cast<DWORD_PTR>(viewId));
    widest = std::max(widest, m_wndListOfViews.GetStringWidth(name));
  }
  // The list keeps an icon's slot before every name once it has an image list, icons or none:
  // a column without room for it cuts the names short.
  m_wndListOfViews.SetColumnWidth(0, widest + icon + 10);

  if (auto* sheet = dynamic_cast<CPlxToolbarCustomize*>(GetParent()))
    sheet->ListAllCommands(m_wndListOfCommands);
  // Items without a command of their own (the new-menu item, sub-menus) cannot be run.
  for (int row = m_wndListOfCommands.GetCount() - 1; row >= 0; --row) {
    const auto cmd = static_cast<UINT>(m_wndListOfCommands.GetItemData(row));
    if (cmd == 0 || cmd == static_cast<UINT>(-1)) m_wndListOfCommands.DeleteString(row);
  }

  if (m_wndListOfViews.GetItemCount() > 0) {
    m_wndListOfViews.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_wndListOfViews.EnsureVisible(0, FALSE);
  } else {
    EnableDblClickControls(FALSE);
  }
  return TRUE;
}

CString CPlxMousePage::CommandDescription(UINT uiCmd) const {
  // Without a frame there is no status line to take the text from.
  auto* sheet = dynamic_cast<CPlxToolbarCustomize*>(GetParent());
  if ((sheet == nullptr || sheet->GetParentFrame() == nullptr) && AfxGetMainWnd() == nullptr)
    return CString();
  return plx_page::CommandDescription(uiCmd);
}

void CPlxMousePage::OnItemchangedListViews(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
  if ((change->uChanged & LVIF_STATE) == 0) return;
  POSITION pos = m_wndListOfViews.GetFirstSelectedItemPosition();
  if (pos == nullptr) return;
  const int item = m_wndListOfViews.GetNextSelectedItem(pos);
  m_iCurrViewId = static_cast<int>(m_wndListOfViews.GetItemData(item));
  const UINT cmd = g_pMouseManager != nullptr ? g_pMouseManager->GetViewDblClickCommand(m_iCurrViewId) : 0;
  if (cmd != 0) {
    CheckDlgButton(IDC_USE_COMMAND, 1);
    CheckDlgButton(IDC_NO_COMMAND, 0);
    EnableDblClickControls(TRUE);
    m_strCommandDescription = CommandDescription(cmd);
    for (int row = 0; row < m_wndListOfCommands.GetCount(); ++row) {
      if (m_wndListOfCommands.GetItemData(row) == cmd) {
        m_wndListOfCommands.SetCurSel(row);
        m_wndListOfCommands.SetTopIndex(row);
        break;
      }
    }
    UpdateData(FALSE);
  } else {
    CheckDlgButton(IDC_NO_COMMAND, 1);
    CheckDlgButton(IDC_USE_COMMAND, 0);
    EnableDblClickControls(FALSE);
  }
}

void CPlxMousePage::EnableDblClickControls(BOOL bEnable) {
  m_wndListOfCommands.EnableWindow(bEnable);
  m_wndCommandDescription.EnableWindow(bEnable);
  if (!bEnable) {
    m_wndListOfCommands.SetCurSel(-1);
    m_strCommandDescription.Empty();
    UpdateData(FALSE);
  }
}

void CPlxMousePage::OnNoDblcliick() {
  if (g_pMouseManager != nullptr && m_iCurrViewId >= 0)
    g_pMouseManager->SetCommandForDblClick(m_iCurrViewId, 0);
  EnableDblClickControls(FALSE);
}

void CPlxMousePage::OnUseDblcliick() {
  EnableDblClickControls(TRUE);
  if (m_iCurrViewId < 0) {
    ::MessageBeep(static_cast<UINT>(-1));
    return;
  }
  // The old command no longer holds until one is picked.
  if (g_pMouseManager != nullptr) g_pMouseManager->SetCommandForDblClick(m_iCurrViewId, 0);
}

void CPlxMousePage::OnSelchangeListOfCommands() {
  if (m_iCurrViewId < 0) {
    ::MessageBeep(static_cast<UINT>(-1));
    return;
  }
  const int row = m_wndListOfCommands.GetCurSel();
  if (row == LB_ERR) return;
  const UINT cmd = static_cast<UINT>(m_wndListOfCommands.GetItemData(row));
  m_strCommandDescription = CommandDescription(cmd);
  if (g_pMouseManager != nullptr) g_pMouseManager->SetCommandForDblClick(m_iCurrViewId, cmd);
  UpdateData(FALSE);
}
