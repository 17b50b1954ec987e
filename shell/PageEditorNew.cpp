#include "shell/PageEditorNew.h"

#include "modules/log/Log.h"
#include "platform/mfc/CmdUI.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/MainDlg.h"
#include "shell/ProcessObjects.h"
#include "shell/UIHelpers.h"

namespace {

constexpr UINT IDC_EDITOR_BANNER = 1028;
constexpr UINT IDS_SHOW_FILE_PANEL = 158;
constexpr UINT IDS_HIDE_FILE_PANEL = 159;
constexpr UINT IDS_ADD_BLANK_IMAGE = 206;
// Where the blank-image popup goes in the photo list's menus.
constexpr int kBlankImagePosEditor = 16;
constexpr int kBlankImagePosMore = 1;
constexpr int kMinExploreBarHeight = 100;

// The page's rows: the file browser panel at its own height, the sizer bar, the album editor.
_tagLayoutRow g_pageEditorLayout[6];
const LayoutRowInit kPageEditorRows[6] = {
    {LAYOUT_ROWS | LAYOUT_REST, 0, 0},       {LAYOUT_TOFIT, IDC_EXPLORE_BAR, 0},
    {LAYOUT_FIXED, IDC_EDITOR_SIZER, 4},     {LAYOUT_REST, IDC_ALBUM_EDITOR, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0}, {LAYOUT_END_TABLE, LAYOUT_NO_WINDOW, 0},
};
_tagLayoutRow* PageEditorLayout() {
  static const bool initialised = (InitLayoutRows(g_pageEditorLayout, kPageEditorRows), true);
  (void)initialised;
  return g_pageEditorLayout;
}

}  // namespace

IMPLEMENT_DYNCREATE(CPageEditorNew, CPropertyPage)

BEGIN_MESSAGE_MAP(CPageEditorNew, CPropertyPage)
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_SHOWWINDOW()
ON_WM_CLOSE()
ON_WM_MEASUREITEM()
ON_WM_MENUCHAR()
ON_WM_INITMENUPOPUP()
ON_MESSAGE(WM_MOVE_PAGE, OnMovePage)
ON_REGISTERED_MESSAGE(g_uWinMgrMsg, OnWinMgr)
ON_MESSAGE(WM_PROJECT_RELOADED, OnProjectReloaded)
ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
END_MESSAGE_MAP()

CPageEditorNew::CPageEditorNew() : CPropertyPage(IDD_PAGE_EDITOR_NEW), m_layout(PageEditorLayout()) {}

CPageEditorNew::~CPageEditorNew() = default;

void CPageEditorNew::LoadContextMenu() {
  m_contextMenu.LoadMenu(IDR_EDITOR_CONTEXT);
  m_contextMenu.SetBitmapBackground(RGB(255, 255, 255));
  m_contextMenu.LoadToolbar(IDR_CONTEXT_MENU_IMAGES);
  TranslateMenu(m_contextMenu.GetSafeHmenu(), 0);
}

BOOL CPageEditorNew::OnInitDialog() {
  WriteLog("Orginize Photos Page begin to initalize ...");
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_PAGE_EDITOR_NEW);
  SetDlgCtrlID(IDD_PAGE_EDITOR_NEW);
  LoadContextMenu();

  WriteLog("Orginize Photos Page begin to initalize (1)...");
  InsertBlankImagePopup();

  WriteLog("Orginize Photos Page begin to initalize (2)...");
  GetWindowRegistry()->m_pPageEditorNew = this;

  // The template's static only marks the place; the sizer bar takes its id.
  CStatic placeholder;
  const HWND marker = ::GetDlgItem(m_hWnd, IDC_EDITOR_SIZER);
  if (marker == nullptr || !placeholder.Attach(marker)) return FALSE;
  placeholder.DestroyWindow();

  WriteLog("Orginize Photos Page begin to initalize (3)...");
  m_sizerBar.Create(WS_CHILD | WS_VISIBLE, this, &m_layout, IDC_EDITOR_SIZER, CRect(0, 0, 0, 0));

  WriteLog("Orginize Photos Page begin to initalize (4)...");
  m_exploreBar.Create(IDD_EXPLORE_BAR, this);
  m_exploreBar.SetDlgCtrlID(IDC_EXPLORE_BAR);

  WriteLog("Orginize Photos Page begin to initalize (5)...");
  m_albumEditor.Create(IDD_ALBUM_EDITOR, this);
  m_albumEditor.SetDlgCtrlID(IDC_ALBUM_EDITOR);

  WriteLog("Orginize Photos Page finish to initalize ...");
  return TRUE;
}

CMenu* CPageEditorNew::GetPopupEditor() {
  return m_contextMenu.GetSubMenu(0);
}
CMenu* CPageEditorNew::GetPopupEditorFile() {
  return m_contextMenu.GetSubMenu(1);
}
CMenu* CPageEditorNew::GetPopupEditorAlbum() {
  return m_contextMenu.GetSubMenu(2);
}
CMenu* CPageEditorNew::GetPopupEditorMore() {
  return m_contextMenu.GetSubMenu(5);
}
CMenu* CPageEditorNew::GetPopupEditorTransition700() {
  return m_contextMenu.GetSubMenu(7);
}
CMenu* CPageEditorNew::GetPopupEditorTimeline700() {
  return m_contextMenu.GetSubMenu(8);
}
CMenu* CPageEditorNew::GetPopupEditorMusicList700() {
  return m_contextMenu.GetSubMenu(9);
}
CMenu* CPageEditorNew::GetPopupEditorTmMore() {
  return m_contextMenu.GetSubMenu(10);
}
CMenu* CPageEditorNew::GetPopupEditorVideoClipsDlg() {
  return m_contextMenu.GetSubMenu(11);
}

int CPageEditorNew::OpenProject(const CString& strPath, CStringArray& missingFiles) {
  return m_albumEditor.OpenProject(strPath, missingFiles);
}
int CPageEditorNew::NewProject() {
  return m_albumEditor.NewProject();
}
int CPageEditorNew::NewAlbum() {
  return m_albumEditor.NewAlbum();
}
int CPageEditorNew::AddPhotos() {
  return m_albumEditor.AddPhotos();
}
int CPageEditorNew::DeleteAlbum() {
  return m_albumEditor.OnDeleteAlbum();
}
int CPageEditorNew::AddMusic() {
  return m_albumEditor.AddMusic();
}

void CPageEditorNew::LayoutAgain() {
  CRect rc;
  GetWindowRect(&rc);
  m_layout.LayoutRoot(CRect(0, 0, rc.Width(), rc.Height()), this);
  m_layout.ApplyLayout(this);
}

void CPageEditorNew::ToggleFileBrowser() {
  CWnd* panel = GetDlgItem(IDC_EXPLORE_BAR);
  CWnd* sizer = GetDlgItem(IDC_EDITOR_SIZER);
  const int show = panel != nullptr && panel->IsWindowVisible() ? SW_HIDE : SW_SHOW;
  if (panel != nullptr) panel->ShowWindow(show);
  if (sizer != nullptr) sizer->ShowWindow(show);
  LayoutAgain();
}

void CPageEditorNew::OnUpdateToggleFileBrowser(CCmdUI* pCmdUI) {
  CWnd* panel = GetDlgItem(IDC_EXPLORE_BAR);
  const bool visible = panel != nullptr && panel->IsWindowVisible();
  pCmdUI->SetText(LoadLangString(visible ? IDS_HIDE_FILE_PANEL : IDS_SHOW_FILE_PANEL));
}

BOOL CPageEditorNew::GetPanelSizes(int& nExploreBarHeight, int& nShellTreeWidth) {
  CRect rc;
  m_exploreBar.GetWindowRect(&rc);
  nExploreBarHeight = rc.Height();
  auto* tree = static_cast<CWnd*>(GetWindowRegistry()->m_pFolderTree);
  if (tree != nullptr && tree->GetSafeHwnd() != nullptr) {
    tree->GetWindowRect(&rc);
    nShellTreeWidth = rc.Width();
  } else {
    nShellTreeWidth = 60;
  }
  return TRUE;
}

CString CPageEditorNew::GetLastFolder() {
  auto* panel = static_cast<ExploreBarDlg*>(GetWindowRegistry()->m_pExploreBar);
  if (panel == nullptr || panel->GetSafeHwnd() == nullptr) return CString();
  return panel->m_strCurrentFolder;
}

void CPageEditorNew::InsertBlankImagePopup() {
  const HMENU popup = g_pMainDlg != nullptr ? g_pMainDlg->GetBlankImageMenuHandle() : nullptr;
  if (popup == nullptr) return;
  const CString text = LoadLangString(IDS_ADD_BLANK_IMAGE);
  if (CMenu* editor = GetPopupEditor())
    editor->InsertMenu(kBlankImagePosEditor, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                       text);
  if (CMenu* more = GetPopupEditorMore())
    more->InsertMenu(kBlankImagePosMore, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(popup), text);
}

void CPageEditorNew::RemoveBlankImagePopup() {
  // RemoveMenu keeps the popup itself, which belongs to the main window.
  if (CMenu* editor = GetPopupEditor()) editor->RemoveMenu(kBlankImagePosEditor, MF_BYPOSITION);
  if (CMenu* more = GetPopupEditorMore()) more->RemoveMenu(kBlankImagePosMore, MF_BYPOSITION);
}

BOOL CPageEditorNew::OnEraseBkgnd(CDC* pDC) {
  FillAroundChildren(this, pDC, {IDC_EDITOR_BANNER, IDC_EDITOR_SIZER, IDC_EXPLORE_BAR, IDC_ALBUM_EDITOR});
  return TRUE;
}

void CPageEditorNew::OnSize(UINT nType, int cx, int cy) {
  CPropertyPage::OnSize(nType, cx, cy);
  m_layout.LayoutRoot(CRect(0, 0, cx, cy), this);
  m_layout.ApplyLayout(this);
}

void CPageEditorNew::OnShowWindow(BOOL bShow, UINT nStatus) {
  CPropertyPage::OnShowWindow(bShow, nStatus);
  SendMessageToDescendants(WM_PAGE_SHOW, static_cast<WPARAM>(bShow), reinterpret_cast<LPARAM>(m_hWnd), TRUE);
}

void CPageEditorNew::OnClose() {
  Default();
}

void CPageEditorNew::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  if (lpMeasureItemStruct->CtlType == ODT_MENU) {
    const HMENU holder = FindMenuHolding(m_contextMenu.GetSafeHmenu(), lpMeasureItemStruct->itemID);
    if (holder != nullptr && CIconMenu::IsOwnMenuHandle(holder)) {
      m_contextMenu.MeasureItem(lpMeasureItemStruct);
      return;
    }
  }
  CPropertyPage::OnMeasureItem(nIDCtl, lpMeasureItemStruct);
}

LRESULT CPageEditorNew::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu) {
  if (CIconMenu::IsOwnMenu(pMenu))
    return CIconMenu::FindKeyboardShortcut(nChar, nFlags, static_cast<CIconMenu*>(pMenu));
  return CPropertyPage::OnMenuChar(nChar, nFlags, pMenu);
}

void CPageEditorNew::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
  CPropertyPage::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
  if (!bSysMenu && CIconMenu::IsOwnMenu(pPopupMenu))
    CIconMenu::UpdateMenu(static_cast<CIconMenu*>(pPopupMenu));
}

LRESULT CPageEditorNew::OnMovePage(WPARAM wParam, LPARAM lParam) {
  SetWindowPos(nullptr, LOWORD(wParam), HIWORD(wParam), LOWORD(lParam), HIWORD(lParam),
               SWP_NOZORDER | SWP_NOACTIVATE);
  return 1;
}

LRESULT CPageEditorNew::OnWinMgr(WPARAM wParam, LPARAM lParam) {
  auto* notify = reinterpret_cast<_tagLayoutNotify*>(lParam);
  if (notify == nullptr) return 0;
  const UINT id = static_cast<UINT>(wParam);
  if (notify->hdr.code == LAYOUT_NOTIFY_SIZE_QUERY) {
    _tagLayoutSizeInfo& info = notify->sizeInfo;
    if (id == static_cast<UINT>(GetDlgCtrlID())) {
      m_layout.GetWindowMinMax(this, info);
      return 1;
    }
    if (id == IDC_EDITOR_BANNER) {
      info.cxMin = info.cxAvailable;
      info.cyMin = 18;
      return 1;
    }
    if (id == IDC_EXPLORE_BAR && m_exploreBar.GetSafeHwnd() != nullptr) {
      CRect rc;
      m_exploreBar.GetWindowRect(&rc);
      int h = m_nExploreBarHeight;
      if (h == -1) {
        // The saved height until the panel has reached it, then the height it was given.
        h = GetAppSettings()->Window.ExploreBarHeight;
        if (rc.Height() == h) m_nExploreBarHeight = h;
      } else if (rc.Height() >= kMinExploreBarHeight) {
        m_nExploreBarHeight = rc.Height();
        h = rc.Height();
      }
      info.cxDesired = info.cxMin = info.cxAvailable;
      info.cyDesired = h;
      info.cyMin = kMinExploreBarHeight;
      return 1;
    }
    return 0;
  }
  if (notify->hdr.code == LAYOUT_NOTIFY_SIZER_MOVED) {
    m_layout.MoveSizer(id, notify->move.dx, notify->move.dy, this);
    m_layout.ApplyLayout(this);
    return 1;
  }
  return 0;
}

LRESULT CPageEditorNew::OnProjectReloaded(WPARAM wParam, LPARAM lParam) {
  if (m_exploreBar.GetSafeHwnd() != nullptr) m_exploreBar.SendMessage(WM_PROJECT_RELOADED, wParam, lParam);
  if (m_albumEditor.GetSafeHwnd() != nullptr) m_albumEditor.SendMessage(WM_PROJECT_RELOADED, wParam, lParam);
  return 1;
}

LRESULT CPageEditorNew::OnLanguageChanged(WPARAM, LPARAM) {
  RemoveBlankImagePopup();
  m_contextMenu.DestroyMenu();
  LoadContextMenu();
  InsertBlankImagePopup();
  return 1;
}
