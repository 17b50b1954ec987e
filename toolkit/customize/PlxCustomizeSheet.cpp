// The customize sheet: the command catalogue (built from the application's menus) and the
// modeless sheet that switches the frame and its toolbars into customize mode while it is open.
#include "toolkit/customize/PlxCustomizeSheet.h"

#include "platform/comctl/AfxReBar.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/WinApp.h"
#include "platform/user/MessageBox.h"
#include "toolkit/bars/PlxContextMenuManager.h"
#include "toolkit/bars/PlxMenuBar.h"
#include "toolkit/bars/PlxTearOffIdPool.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxFrameWnd.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxKeyboardManager.h"
#include "toolkit/core/PlxMDIFrameWnd.h"
#include "toolkit/core/PlxMouseManager.h"
#include "toolkit/core/PlxSizingControlBar.h"
#include "toolkit/core/PlxUserTools.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/core/PlxVisualManagerXP.h"
#include "toolkit/customize/PlxCommandsPage.h"
#include "toolkit/customize/PlxTasksPane.h"
#include "toolkit/customize/PlxToolbarsPage.h"

// The remaining pages come from their own files; a page whose header is not there is not offered.
#if __has_include("toolkit/customize/PlxKeyboardPage.h")
#include "toolkit/customize/PlxKeyboardPage.h"
#define PLX_HAVE_KEYBOARD_PAGE 1
#endif
#if __has_include("toolkit/customize/PlxMenuPage.h")
#include "toolkit/customize/PlxMenuPage.h"
#define PLX_HAVE_MENU_PAGE 1
#endif
#if __has_include("toolkit/customize/PlxMousePage.h")
#include "toolkit/customize/PlxMousePage.h"
#define PLX_HAVE_MOUSE_PAGE 1
#endif
#if __has_include("toolkit/customize/PlxOptionsPage.h")
#include "toolkit/customize/PlxOptionsPage.h"
#define PLX_HAVE_OPTIONS_PAGE 1
#endif
#if __has_include("toolkit/customize/PlxUserToolsPage.h")
#include "toolkit/customize/PlxUserToolsPage.h"
#define PLX_HAVE_TOOLS_PAGE 1
#endif

CPlxToolbarCustomize* g_pActiveCustomizeSheet = nullptr;

IMPLEMENT_DYNAMIC(CPlxToolbarCustomize, CPropertySheet)

BEGIN_MESSAGE_MAP(CPlxToolbarCustomize, CPropertySheet)
ON_WM_CREATE()
ON_WM_HELPINFO()
ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

namespace {

// Recent files, MDI children, system commands, object verbs: never offered for customizing.
BOOL IsRefusedCommand(UINT uiCmd) {
  if (uiCmd >= 0xE110 && uiCmd <= 0xE11F) return TRUE;
  if (uiCmd >= 0xF000 && uiCmd <= 0xF1EF) return TRUE;
  if (static_cast<int>(uiCmd) >= 0xFF00) return TRUE;
  if (uiCmd >= 0xE210 && uiCmd <= 0xE21F) return TRUE;
  if (g_pUserToolsManager != nullptr && uiCmd == g_pUserToolsManager->GetToolsEntryCmd()) return TRUE;
  return CPlxToolBar::m_lstForbiddenCommands.Find(uiCmd) != nullptr;
}

constexpr UINT kHelpContextPopup = 0x0008;

// "File" + "Page setup...\tCtrl+P" gives "FilePageSetup...".
CString FullCommandName(const CString& strPrefix, const CString& strText) {
  const CString joined = strPrefix + strText;
  CString result;
  BOOL upperNext = FALSE;
  for (int i = 0; i < joined.GetLength(); ++i) {
    const char c = joined[i];
    if (c == '\t') break;
    if (c == ' ') {
      upperNext = TRUE;
      continue;
    }
    result += upperNext && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    upperNext = FALSE;
  }
  return result;
}

CPlxFrameCore* FrameCoreOf(CFrameWnd* pFrame) {
  if (auto* mdi = dynamic_cast<CPlxMDIFrameWnd*>(pFrame)) return &mdi->m_Impl;
  if (auto* sdi = dynamic_cast<CPlxFrameWnd*>(pFrame)) return &sdi->m_Impl;
  return nullptr;
}

}  // namespace

CPlxToolbarCustomize::CPlxToolbarCustomize(CFrameWnd* pWndParentFrame, BOOL bAutoSetFromMenus, UINT uiFlags,
                                           CList<CRuntimeClass*, CRuntimeClass*>* plistCustomPages)
    : CPropertySheet("", pWndParentFrame, 0),
      m_pParentFrame(pWndParentFrame),
      m_bAutoSetFromMenus(bAutoSetFromMenus),
      m_uiFlags(uiFlags) {
  m_ButtonsByCategory.InitHashTable(17);
  m_bSaveMenuAmps = (uiFlags & CUSTOPT_KEEP_AMPERSANDS) != 0;

  // A class that makes no property page would break AddPage: it is left out.
  if (plistCustomPages != nullptr) {
    for (POSITION pos = plistCustomPages->GetHeadPosition(); pos != nullptr;) {
      CRuntimeClass* rtc = plistCustomPages->GetNext(pos);
      CObject* made = rtc != nullptr ? rtc->CreateObject() : nullptr;
      if (auto* page = dynamic_cast<CPropertyPage*>(made))
        m_listCustomPages.AddTail(page);
      else
        delete made;
    }
  }

  if (auto* xp = dynamic_cast<CPlxVisualManagerXP*>(CPlxVisualManager::GetInstance());
      xp != nullptr && !xp->IsOptionsFlag4Allowed())
    m_uiFlags &= ~CUSTOPT_LOOK2000;

  m_pCustomizePage = new CPlxCustomizePage;
  m_pToolbarsPage = new CPlxToolbarsPage(m_pParentFrame);
#ifdef PLX_HAVE_TOOLS_PAGE
  m_pToolsPage = new CPlxUserToolsPage;
#endif
#ifdef PLX_HAVE_KEYBOARD_PAGE
  m_pKeyboardPage = new CPlxKeyboardPage(m_pParentFrame, m_bAutoSetFromMenus);
#endif
#ifdef PLX_HAVE_MENU_PAGE
  m_pMenuPage = new CPlxMenuPage(m_pParentFrame, m_bAutoSetFromMenus);
#endif
#ifdef PLX_HAVE_MOUSE_PAGE
  m_pMousePage = new CPlxMousePage;
#endif

  AddPage(m_pCustomizePage);
  AddPage(m_pToolbarsPage);
#ifdef PLX_HAVE_TOOLS_PAGE
  if (g_pUserToolsManager != nullptr) AddPage(m_pToolsPage);
#endif
#ifdef PLX_HAVE_KEYBOARD_PAGE
  if (g_pKeyboardManager != nullptr && m_pParentFrame != nullptr && m_pParentFrame->m_hAccelTable != nullptr)
    AddPage(m_pKeyboardPage);
#endif
  CPlxFrameCore* core = FrameCoreOf(m_pParentFrame);
  const BOOL menuBar = core != nullptr && core->GetMenuBar() != nullptr;
#ifdef PLX_HAVE_MENU_PAGE
  if (g_pContextMenuManager != nullptr || menuBar) AddPage(m_pMenuPage);
#endif
#ifdef PLX_HAVE_MOUSE_PAGE
  if (g_pMouseManager != nullptr) AddPage(m_pMousePage);
#endif
  for (POSITION pos = m_listCustomPages.GetHeadPosition(); pos != nullptr;)
    AddPage(static_cast<CPropertyPage*>(m_listCustomPages.GetNext(pos)));
#ifdef PLX_HAVE_OPTIONS_PAGE
  m_pOptionsPage = new CPlxOptionsPage(menuBar);
  AddPage(m_pOptionsPage);
#else
  (void)menuBar;
#endif

  CString caption;
  if (!caption.LoadString(kCaption)) caption = "Customize";
  if (!m_strAllCommands.LoadString(kAllCommandsName)) m_strAllCommands = "All Commands";
  m_pCustomizePage->SetAllCommandsName(m_strAllCommands);
#ifdef PLX_HAVE_KEYBOARD_PAGE
  m_pKeyboardPage->SetAllCommandsName(m_strAllCommands);
#endif
  SetTitle(caption);

  if (m_bAutoSetFromMenus) BuildCategoriesFromMenus();

  CString newMenu;
  if (!newMenu.LoadString(kNewMenuCategory)) newMenu = "New Menu";
  AddCommandToCategory(newMenu, CPlxToolbarMenuButton(0, nullptr, -1, newMenu));
}

CPlxToolbarCustomize::~CPlxToolbarCustomize() {
  // Deleted while open: the window goes, but PostNcDestroy must not delete the object again.
  m_bDeleting = TRUE;
  if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) DestroyWindow();
  if (g_pActiveCustomizeSheet == this) g_pActiveCustomizeSheet = nullptr;
  DeleteCatalogue();
  delete m_pCustomizePage;
  delete m_pToolbarsPage;
#ifdef PLX_HAVE_KEYBOARD_PAGE
  delete m_pKeyboardPage;
#endif
#ifdef PLX_HAVE_MENU_PAGE
  delete m_pMenuPage;
#endif
#ifdef PLX_HAVE_MOUSE_PAGE
  delete m_pMousePage;
#endif
#ifdef PLX_HAVE_OPTIONS_PAGE
  delete m_pOptionsPage;
#endif
#ifdef PLX_HAVE_TOOLS_PAGE
  delete m_pToolsPage;
#endif
  while (!m_listCustomPages.IsEmpty()) delete m_listCustomPages.RemoveHead();
}

void CPlxToolbarCustomize::DeleteCatalogue() {
  for (POSITION pos = m_ButtonsByCategory.GetStartPosition(); pos != nullptr;) {
    CString name;
    CObList* list = nullptr;
    m_ButtonsByCategory.GetNextAssoc(pos, name, list);
    while (!list->IsEmpty()) delete list->RemoveHead();
    delete list;
  }
  m_ButtonsByCategory.RemoveAll();
  m_lstCategories.RemoveAll();
}

CObList* CPlxToolbarCustomize::CategoryList(LPCTSTR lpszCategory) const {
  CObList* list = nullptr;
  return m_ButtonsByCategory.Lookup(lpszCategory, list) ? list : nullptr;
}

const CObList* CPlxToolbarCustomize::GetCategoryCommands(LPCTSTR lpszCategory) const {
  return CategoryList(lpszCategory);
}

// ---- catalogue ----

void CPlxToolbarCustomize::AddCommandToCategory(LPCTSTR lpszCategory, const CPlxToolbarButton& button,
                                                int iInsertAfter) {
  const UINT id = button.m_nID;
  if (IsRefusedCommand(id)) return;

  CString name = button.m_strText;
  name.Trim();
  BOOL isTool = FALSE;
  if (g_pUserToolsManager != nullptr && g_pUserToolsManager->IsUserToolCmd(id)) {
    CPlxUserTool* tool = g_pUserToolsManager->FindTool(id);
    if (tool == nullptr) return;
    name = tool->m_strLabel;
    isTool = TRUE;
  }
  if (!name.IsEmpty()) {
    if (!m_bSaveMenuAmps) name.Remove('&');
    if (const int tab = name.Find('\t'); tab >= 0) name = name.Left(tab);
  } else {
    CString prompt;
    if (id != 0 && id != static_cast<UINT>(-1) && prompt.LoadString(id)) {
      const int newline = prompt.Find('\n');
      name = newline >= 0 ? prompt.Mid(newline + 1) : prompt;
    }
  }
  if (name.IsEmpty()) return;

  const CString category(lpszCategory);
  CObList* list = CategoryList(category);
  if (list != nullptr) {
    for (POSITION pos = list->GetHeadPosition(); pos != nullptr;) {
      auto* item = static_cast<CPlxToolbarButton*>(list->GetNext(pos));
      const BOOL same = id != static_cast<UINT>(-1) ? item->m_nID == id : item->m_strText == name;
      if (same) {
        if (item->m_strText.IsEmpty()) item->m_strText = name;
        return;
      }
    }
  } else {
    list = new CObList(10);
    m_ButtonsByCategory.SetAt(category, list);
    if (category != m_strAllCommands) m_lstCategories.AddTail(category);
  }

  CObject* made = button.GetRuntimeClass()->CreateObject();
  auto* item = dynamic_cast<CPlxToolbarButton*>(made);
  if (item == nullptr) {
    delete made;
    return;
  }
  item->CopyFrom(button);
  item->m_strText = name;
  if (isTool) item->SetImage(0);
  POSITION before = iInsertAfter >= 0 ? list->FindIndex(iInsertAfter) : nullptr;
  if (before != nullptr)
    list->InsertBefore(before, item);
  else
    list->AddTail(item);

  if (category != m_strAllCommands) AddCommandToCategory(m_strAllCommands, button, -1);
  item->OnAddToCustomizePage();
}

void CPlxToolbarCustomize::ScanMenu(CMenu* pMenu, BOOL bNested, LPCTSTR lpszCategory,
                                    LPCTSTR lpszPathPrefix) {
  if (pMenu == nullptr || pMenu->GetSafeHmenu() == nullptr) return;
  const CString prefix(lpszPathPrefix != nullptr ? lpszPathPrefix : "");
  const BOOL hasCategory = lpszCategory != nullptr && *lpszCategory != '\0';
  BOOL windowMenuSeen = FALSE;
  const int count = static_cast<int>(pMenu->GetMenuItemCount());
  for (int i = 0; i < count; ++i) {
    CString text;
    pMenu->GetMenuString(static_cast<UINT>(i), text, MF_BYPOSITION);
    if (!m_bSaveMenuAmps) text.Remove('&');
    if (CMenu* sub = pMenu->GetSubMenu(i); sub != nullptr) {
      UINT tearOff = 0;
      if (g_pTearOffIdPool != nullptr) tearOff = CPlxTearOffIdPool::ParseTearOffId(text);
      const CString category = hasCategory ? CString(lpszCategory) : text;
      if (bNested) {
        CPlxToolbarMenuButton item(static_cast<UINT>(-1), sub->GetSafeHmenu(), -1, text);
        item.m_nTearOffID = tearOff;
        AddCommandToCategory(category, item);
      }
      ScanMenu(sub, TRUE, category, prefix + text);
      continue;
    }
    const UINT id = pMenu->GetMenuItemID(i);
    if (id == 0) continue;  // separator
    if (bNested && id >= 0xE130 && id <= 0xE13F) windowMenuSeen = TRUE;
    if (hasCategory && g_pUserToolsManager != nullptr && id == g_pUserToolsManager->GetToolsEntryCmd()) {
      AddUserToolCommands(lpszCategory);
      continue;
    }
    CPlxToolbarButton item(id, -1, text);
    if (!prefix.IsEmpty()) item.m_strCommandName = FullCommandName(prefix, text);
    AddCommandToCategory(hasCategory ? lpszCategory : static_cast<LPCTSTR>(m_strAllCommands), item);
  }
  if (windowMenuSeen && hasCategory) {
    if (auto* mdi = dynamic_cast<CPlxMDIFrameWnd*>(m_pParentFrame);
        mdi != nullptr && mdi->m_uiWindowsDlgMenuId != 0)
      AddCommandToCategory(lpszCategory,
                           CPlxToolbarButton(mdi->m_uiWindowsDlgMenuId, -1, mdi->m_strWindowsDlgMenuText));
  }
}

void CPlxToolbarCustomize::BuildCategoriesFromMenus() {
  if (CWinApp* app = AfxGetApp()) {
    for (POSITION pos = app->GetFirstDocTemplatePosition(); pos != nullptr;) {
      auto* multi = dynamic_cast<CMultiDocTemplate*>(app->GetNextDocTemplate(pos));
      if (multi != nullptr && multi->m_hMenuShared != nullptr)
        ScanMenu(CMenu::FromHandle(multi->m_hMenuShared), FALSE, nullptr, nullptr);
    }
  }
  if (m_pParentFrame == nullptr) return;
  HMENU frameMenu = m_pParentFrame->m_hMenuDefault;
  if (frameMenu == nullptr) {
    if (CPlxFrameCore* core = FrameCoreOf(m_pParentFrame)) {
      frameMenu = core->GetDefaultMenu();
      if (frameMenu == nullptr && core->GetMenuBar() != nullptr)
        frameMenu = core->GetMenuBar()->GetDefaultMenu();
    }
  }
  if (frameMenu != nullptr) ScanMenu(CMenu::FromHandle(frameMenu), FALSE, nullptr, nullptr);
}

void CPlxToolbarCustomize::AddUserToolCommands(LPCTSTR lpszCategory) {
  if (g_pUserToolsManager == nullptr) return;
  const CObList& tools = g_pUserToolsManager->GetUserTools();
  for (POSITION pos = tools.GetHeadPosition(); pos != nullptr;) {
    auto* tool = static_cast<CPlxUserTool*>(tools.GetNext(pos));
    AddCommandToCategory(lpszCategory, CPlxToolbarButton(tool->GetCommandId(), 0, tool->m_strLabel));
  }
}

namespace {
BOOL HasRealCommand(const CObList* list) {
  if (list == nullptr) return FALSE;
  for (POSITION pos = list->GetHeadPosition(); pos != nullptr;) {
    const UINT id = static_cast<CPlxToolbarButton*>(list->GetNext(pos))->m_nID;
    if (id != 0 && id != static_cast<UINT>(-1)) return TRUE;
  }
  return FALSE;
}
}  // namespace

void CPlxToolbarCustomize::ListCategoriesInCombo(CComboBox& wndCategory, BOOL bAll) const {
  for (POSITION pos = m_lstCategories.GetHeadPosition(); pos != nullptr;) {
    const CString name = m_lstCategories.GetNext(pos);
    CObList* list = CategoryList(name);
    if (!bAll && !HasRealCommand(list)) continue;
    const int row = wndCategory.AddString(name);
    wndCategory.SetItemDataPtr(row, list);
  }
  const int row = wndCategory.AddString(m_strAllCommands);
  wndCategory.SetItemDataPtr(row, CategoryList(m_strAllCommands));
}

void CPlxToolbarCustomize::ListCategoriesInListBox(CListBox& wndCategory, BOOL bAll) const {
  for (POSITION pos = m_lstCategories.GetHeadPosition(); pos != nullptr;) {
    const CString name = m_lstCategories.GetNext(pos);
    CObList* list = CategoryList(name);
    if (!bAll && !HasRealCommand(list)) continue;
    const int row = wndCategory.AddString(name);
    wndCategory.SetItemDataPtr(row, list);
  }
  const int row = wndCategory.AddString(m_strAllCommands);
  wndCategory.SetItemDataPtr(row, CategoryList(m_strAllCommands));
}

void CPlxToolbarCustomize::ListAllCommands(CListBox& wndListOfCommands) const {
  wndListOfCommands.ResetContent();
  const CObList* all = CategoryList(m_strAllCommands);
  if (all == nullptr) return;
  for (POSITION pos = all->GetHeadPosition(); pos != nullptr;) {
    auto* item = static_cast<CPlxToolbarButton*>(all->GetNext(pos));
    const int row = wndListOfCommands.AddString(item->m_strCommandName.IsEmpty() ? item->m_strText
                                                                                 : item->m_strCommandName);
    wndListOfCommands.SetItemData(row, item->m_nID);
  }
}

LPCTSTR CPlxToolbarCustomize::GetCommandName(UINT uiCmd) const {
  const CObList* all = CategoryList(m_strAllCommands);
  if (all == nullptr) return nullptr;
  for (POSITION pos = all->GetHeadPosition(); pos != nullptr;) {
    auto* item = static_cast<CPlxToolbarButton*>(all->GetNext(pos));
    if (item->m_nID == uiCmd) return item->m_strText;
  }
  return nullptr;
}

int CPlxToolbarCustomize::CountCommandsNamed(LPCTSTR lpszText, const CObList& lstCommands) const {
  int count = 0;
  for (POSITION pos = lstCommands.GetHeadPosition(); pos != nullptr;)
    if (static_cast<CPlxToolbarButton*>(lstCommands.GetNext(pos))->m_strText == lpszText) ++count;
  return count;
}

BOOL CPlxToolbarCustomize::StringListGetNext(CString& strOut, const CStringList& lst, POSITION& pos) {
  if (pos == nullptr) return FALSE;
  strOut = lst.GetNext(pos);
  return TRUE;
}

// ---- the open sheet ----

void CPlxToolbarCustomize::EnableUserDefinedToolbars(BOOL bEnable) {
  m_pToolbarsPage->EnableUserDefinedToolbars(bEnable);
}

void CPlxToolbarCustomize::ShowToolBar(CPlxToolBar* pToolBar, BOOL bShow) {
  if (m_pToolbarsPage->GetSafeHwnd() != nullptr) m_pToolbarsPage->ShowToolBar(pToolBar, bShow);
}

void CPlxToolbarCustomize::ApplyCustomizeMode(BOOL bOn) {
  if (m_pParentFrame == nullptr || m_pParentFrame->GetSafeHwnd() == nullptr) {
    CPlxToolBar::SetCustomizeMode(bOn);
    return;
  }
  for (HWND child = ::GetWindow(m_pParentFrame->m_hWnd, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    CWnd* wnd = CWnd::FromHandlePermanent(child);
    const BOOL keep = wnd != nullptr && dynamic_cast<CPlxTasksPane*>(wnd) == nullptr &&
                      (dynamic_cast<CDockBar*>(wnd) != nullptr || dynamic_cast<CReBar*>(wnd) != nullptr ||
                       dynamic_cast<CPlxToolBar*>(wnd) != nullptr);
    if (!keep) ::EnableWindow(child, !bOn);
  }
  for (HWND child = ::GetWindow(m_pParentFrame->m_hWnd, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (dynamic_cast<CDockBar*>(CWnd::FromHandlePermanent(child)) == nullptr) continue;
    for (HWND inner = ::GetWindow(child, GW_CHILD); inner != nullptr; inner = ::GetWindow(inner, GW_HWNDNEXT))
      if (auto* sizing = dynamic_cast<CPlxSizingControlBar*>(CWnd::FromHandlePermanent(inner)))
        sizing->OnCustomizeMode(bOn);
  }
  CPlxToolBar::SetCustomizeMode(bOn);
  m_pParentFrame->SendMessage(PLX_WM_CUSTOMIZETOOLBAR, static_cast<WPARAM>(bOn), 0);
  if (!bOn) {
    if (CFrameWnd* active = m_pParentFrame->GetActiveFrame();
        active != nullptr && active->GetSafeHwnd() != nullptr)
      active->PostMessage(WM_SETFOCUS);
  }
}

BOOL CPlxToolbarCustomize::ShowModeless() {
  // One sheet at a time: a second would share the current-sheet pointer and customize mode, and
  // closing either would end both.
  if (g_pActiveCustomizeSheet != nullptr || GetSafeHwnd() != nullptr) return FALSE;
  DWORD exStyle = 0;
  if (m_pParentFrame != nullptr && m_pParentFrame->GetSafeHwnd() != nullptr &&
      (m_pParentFrame->GetExStyle() & WS_EX_LAYOUTRTL))
    exStyle |= WS_EX_LAYOUTRTL;
  if (!Create(m_pParentFrame, static_cast<DWORD>(-1), exStyle)) {
    if (g_pActiveCustomizeSheet == this) g_pActiveCustomizeSheet = nullptr;
    return FALSE;
  }
  g_pActiveCustomizeSheet = this;
  m_bOwnsCustomizeMode = TRUE;
  ApplyCustomizeMode(TRUE);
  return TRUE;
}

int CPlxToolbarCustomize::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CPropertySheet::OnCreate(lpCreateStruct) == -1) return -1;
  if (m_uiFlags & CUSTOPT_CONTEXT_HELP) ModifyStyleEx(0, WS_EX_CONTEXTHELP);
  g_pActiveCustomizeSheet = this;
  return 0;
}

BOOL CPlxToolbarCustomize::OnInitDialog() {
  const BOOL result = CPropertySheet::OnInitDialog();
  CRect client;
  GetClientRect(&client);
  const CSize buttonSize(75, 23);

  // A modeless sheet has no buttons of its own: Close and Help are ours.
  CWnd* cancel = GetDlgItem(IDCANCEL);
  if (cancel == nullptr) {
    m_btnClose.Create("", WS_CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, CRect(0, 0, buttonSize.cx, buttonSize.cy),
                      this, IDCANCEL);
    m_btnClose.SetFont(GetFont());
    cancel = &m_btnClose;
  }
  CRect rectCancel;
  cancel->GetWindowRect(&rectCancel);
  ScreenToClient(&rectCancel);
  CRect window;
  GetWindowRect(&window);
  SetWindowPos(nullptr, 0, 0, window.Width(), window.Height() + rectCancel.Height() + 16,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int top = client.bottom + 4;
  cancel->SetWindowPos(nullptr, client.right - 8 - rectCancel.Width(), top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  cancel->ModifyStyle(0, BS_DEFPUSHBUTTON);
  CString close;
  if (!close.LoadString(kCloseText)) close = "Close";
  cancel->SetWindowText(close);
  cancel->EnableWindow(TRUE);
  cancel->ShowWindow(SW_SHOW);

  if (m_uiFlags & CUSTOPT_NO_HELP) {
    if (CWnd* help = GetDlgItem(IDHELP)) {
      help->ShowWindow(SW_HIDE);
      help->EnableWindow(FALSE);
    }
  } else {
    if (GetDlgItem(IDHELP) == nullptr) {
      m_btnHelp.Create("", WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, CRect(0, 0, buttonSize.cx, buttonSize.cy),
                       this, IDHELP);
    } else {
      m_btnHelp.SubclassDlgItem(IDHELP, this);
    }
    const BOOL hiColor = g_plxGlobalData.bAllowRichColors && g_plxGlobalData.nBitsPerPixel >= 16 &&
                         !g_plxGlobalData.bIsBlackHighContrast && !g_plxGlobalData.bIsWhiteHighContrast;
    m_btnHelp.SetImage(hiColor ? kHelpBitmapHiColor : kHelpBitmap);
    m_btnHelp.SetWindowText("");
    m_btnHelp.SizeToContent();
    m_btnHelp.SetWindowPos(nullptr, 8, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_btnHelp.EnableWindow(TRUE);
    m_btnHelp.ShowWindow(SW_SHOW);
  }
  return result;
}

BOOL CPlxToolbarCustomize::OnCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case IDCANCEL:
      if (g_pUserToolsManager == nullptr || ValidateTools(g_pUserToolsManager->GetUserTools())) {
        DestroyWindow();
      } else {
#ifdef PLX_HAVE_TOOLS_PAGE
        SetActivePage(m_pToolsPage);
#endif
      }
      return TRUE;
    case IDHELP:
      if (m_pParentFrame != nullptr)
        m_pParentFrame->SendMessage(PLX_WM_CUSTOMIZEHELP, static_cast<WPARAM>(GetActiveIndex()),
                                    reinterpret_cast<LPARAM>(this));
      return TRUE;
    default:
      return CPropertySheet::OnCommand(wParam, lParam);
  }
}

BOOL CPlxToolbarCustomize::OnHelpInfo(HELPINFO* pHelpInfo) {
  if ((m_uiFlags & CUSTOPT_CONTEXT_HELP) && pHelpInfo != nullptr &&
      pHelpInfo->iContextType == HELPINFO_WINDOW) {
    // The frame's help entry stands for the system's help viewer.
    if (auto* mdi = dynamic_cast<CPlxMDIFrameWnd*>(m_pParentFrame))
      mdi->WinHelp(static_cast<DWORD_PTR>(pHelpInfo->iCtrlId) + kHelpIdBase, kHelpContextPopup);
    return TRUE;
  }
  if (m_pParentFrame != nullptr)
    m_pParentFrame->SendMessage(PLX_WM_CUSTOMIZEHELP, static_cast<WPARAM>(GetActiveIndex()),
                                reinterpret_cast<LPARAM>(this));
  return TRUE;
}

void CPlxToolbarCustomize::OnContextMenu(CWnd* pWnd, CPoint point) {
  // Context help needs a help file; this program ships none, so there is nothing to show.
}

void CPlxToolbarCustomize::PostNcDestroy() {
  if (g_pActiveCustomizeSheet == this) g_pActiveCustomizeSheet = nullptr;
  if (m_bOwnsCustomizeMode) {
    m_bOwnsCustomizeMode = FALSE;
    ApplyCustomizeMode(FALSE);
  }
  CPropertySheet::PostNcDestroy();
  if (!m_bDeleting) delete this;
}
