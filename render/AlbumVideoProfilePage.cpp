#include "render/AlbumVideoProfilePage.h"

#include "controls/MessageDialogs.h"
#include "modules/buttonbar/CoolButtonBar.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/data/OutputProfile.h"
#include "modules/data/SingleFlag.h"
#include "modules/log/Log.h"
#include "platform/mfc/WinApp.h"
#include "platform/shellapi/ShellExecute.h"
#include "render/EncodeVideoDlg.h"
#include "render/OutputPageRules.h"
#include "render/PhotoCache.h"
#include "shell/EnvironmentChecks.h"
#include "shell/LanguageFile.h"
#include "shell/MainDlg.h"
#include "shell/SkinMain.h"
#include "shell/SkinMinor.h"
#include "shell/SlideshowApp.h"
#include "shell/UIHelpers.h"

namespace {

constexpr int kBarWidth = 160;
constexpr int kBarHeight = 60;
constexpr int kTabHeight = 29;
constexpr COLORREF kPageOutside = RGB(0xF8, 0xF8, 0xF8);

}  // namespace

IMPLEMENT_DYNCREATE(CAlbumVideoProfilePage, CPropertyPage)

BEGIN_MESSAGE_MAP(CAlbumVideoProfilePage, CPropertyPage)
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_CTLCOLOR()
ON_CBN_SELCHANGE(IDC_OUTPUT_FORMAT_LIST, OnSelchangeFormat)
ON_MESSAGE(WM_OPEN_OUTPUT_FOLDER, OnOpenOutputFolder)
ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
ON_MESSAGE(WM_BURN_BUTTON_NOTIFY, OnBurnButtonNotify)
END_MESSAGE_MAP()

CAlbumVideoProfilePage::CAlbumVideoProfilePage()
    : CPropertyPage(IDD_ALBUM_VIDEO_PROFILE), m_pTabStrip(&m_tabStrip) {}

CAlbumVideoProfilePage::~CAlbumVideoProfilePage() = default;

void CAlbumVideoProfilePage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_OUTPUT_FORMAT_LIST, m_formatList);
  DDX_Control(pDX, IDC_OUTPUT_TAB_STRIP, m_tabStrip);
}

BOOL CAlbumVideoProfilePage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  SetDlgCtrlID(IDD_ALBUM_VIDEO_PROFILE);
  TranslateDialog(m_hWnd, IDD_ALBUM_VIDEO_PROFILE);
  m_brBackground.CreateSolidBrush(GetSkinColor(SKIN_COLOR_BURN_PAGE));
  FillFormatList();

  // The skin's bar takes the place of its static; the burn page may hold it already.
  CCoolButtonBar* bar = GetSkinMinor()->m_pEncodeButton;
  if (bar != nullptr && bar->GetSafeHwnd() == nullptr && bar->SubclassDlgItem(IDC_ENCODE_BUTTON_BAR, this)) {
    m_pButtonBar = bar;
    CRect rc;
    bar->GetWindowRect(&rc);
    ScreenToClient(&rc);
    bar->SetNotifyMessage(m_hWnd, WM_BURN_BUTTON_NOTIFY);
    bar->EnableToolTip(IDS_BURN_NOW);
    bar->MoveWindow(rc.left, rc.top, kBarWidth, kBarHeight);
    bar->ShowWindow(SW_SHOW);
  }

  BuildTabs();
  CRect client, tab;
  GetClientRect(&client);
  m_tabStrip.GetWindowRect(&tab);
  ScreenToClient(&tab);
  const int left = client.left + 4;
  m_tabStrip.MoveWindow(left, tab.top, client.right - 4 - left, kTabHeight);

  if (CWnd* frame = GetDlgItem(IDC_OUTPUT_OPTIONS_FRAME)) frame->GetWindowRect(&m_pages.m_rcFrame);
  m_optionsPage.Create(IDD_ENCODE_OPT_PARAMETERS, this);
  m_pages.AddPage(&m_optionsPage);
  m_pages.ShowPage(0);
  return TRUE;
}

void CAlbumVideoProfilePage::BuildTabs() {
  m_pTabStrip->SetSkin(g_skinMain.GetGeneralTabControl());
  m_pTabStrip->RemoveAllTabs();
  m_pTabStrip->AddTab(LoadLangString(IDS_PARAMETERS_SETTING), IDS_PARAMETERS_SETTING_TIP);
  m_pTabStrip->SetNotifyMessage(WM_OUTPUT_TAB_SELECTED);
  m_pTabStrip->RecalcTabs();
  m_pTabStrip->Invalidate();
}

void CAlbumVideoProfilePage::FreeFormatItems() {
  if (m_formatList.GetSafeHwnd() == nullptr) return;
  for (int i = 0; i < m_formatList.GetCount(); ++i) {
    delete static_cast<OutputFormatItem*>(m_formatList.GetItemDataPtr(i));
    m_formatList.SetItemDataPtr(i, nullptr);
  }
}

void CAlbumVideoProfilePage::FillFormatList() {
  if (CWnd* label = GetDlgItem(IDC_OUTPUT_FORMAT_LABEL))
    label->SendMessage(WM_SETFONT, m_formatList.SendMessage(WM_GETFONT), TRUE);
  FreeFormatItems();
  m_formatList.ResetContent();
  CAVOutputProfileManager* manager = CDVDProject::GetAVOutputProfileManager();
  for (int i = 0; i < manager->m_nGroupCount; ++i) {
    CAVOutputProfileGroup* group = manager->Get_pProfileGroupArray(i);
    if (group == nullptr) continue;
    const int entry = m_formatList.AddString(group->Get_strGroupDesc());
    m_formatList.SetItemDataPtr(entry, new OutputFormatItem{DVD_OUTPUT_PROFILE_GROUP, group});
  }
  manager->Set_pActiveProfileGroup(
      manager->Get_pProfileGroupArray(CAVOutputProfileManager::kDefaultActiveGroup));

  const CAVOutputProfileGroup* active = manager->Get_pActiveProfileGroup();
  int chosen = -1;
  if (GetProject()->GetEmOutputType() == DVD_OUTPUT_PROFILE_GROUP && active != nullptr)
    for (int i = 0; i < m_formatList.GetCount() && chosen < 0; ++i) {
      const auto* item = static_cast<OutputFormatItem*>(m_formatList.GetItemDataPtr(i));
      if (item != nullptr && item->type == DVD_OUTPUT_PROFILE_GROUP && item->group != nullptr &&
          item->group->m_nGroupID == active->m_nGroupID)
        chosen = i;
    }
  if (chosen < 0 && m_formatList.GetCount() > 0) chosen = CAVOutputProfileManager::kDefaultActiveGroup;
  m_formatList.SetCurSel(chosen);
}

void CAlbumVideoProfilePage::SelectActiveFormat() {
  const CAVOutputProfileGroup* active = CDVDProject::GetAVOutputProfileManager()->Get_pActiveProfileGroup();
  if (GetProject()->GetEmOutputType() == DVD_OUTPUT_PROFILE_GROUP && active != nullptr) {
    for (int i = 0; i < m_formatList.GetCount(); ++i) {
      const auto* item = static_cast<OutputFormatItem*>(m_formatList.GetItemDataPtr(i));
      if (item == nullptr || item->type != DVD_OUTPUT_PROFILE_GROUP || item->group == nullptr ||
          item->group->m_nGroupID != active->m_nGroupID)
        continue;
      m_formatList.SetCurSel(i);
      if (m_optionsPage.GetSafeHwnd() != nullptr) m_optionsPage.SendMessage(WM_REFILL_OUTPUT_PROFILES, 0, 0);
      return;
    }
  }
  if (m_formatList.GetCount() > 0) m_formatList.SetCurSel(0);
}

void CAlbumVideoProfilePage::OnSelchangeFormat() {
  const int entry = m_formatList.GetCurSel();
  if (entry < 0) return;
  const auto* item = static_cast<OutputFormatItem*>(m_formatList.GetItemDataPtr(entry));
  if (item == nullptr) return;
  if (item->type == DVD_OUTPUT_PROFILE_GROUP) {
    CDVDProject::GetAVOutputProfileManager()->Set_pActiveProfileGroup(item->group);
    GetProject()->SetEmOutputType(DVD_OUTPUT_PROFILE_GROUP);
    m_optionsPage.SendMessage(WM_REFILL_OUTPUT_PROFILES, 0, 0);
  }
  if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_UPDATE_STATUS_BAR, 0, 0);
}

LRESULT CAlbumVideoProfilePage::OnBurnButtonNotify(WPARAM wParam, LPARAM) {
  if (wParam == 0 && IsDirectXReady()) OnButtonBurnWrite();
  return 0;
}

CAlbumVideoProfilePage::BurnResult CAlbumVideoProfilePage::OnButtonBurnWrite() {
  CWyxSingleFlagAutoLock hold(g_burnWriteFlag);
  if (hold.GetRefCount() > 1) {
    WriteErrorLog("Enter %d times repeatly in OnButtonBurnWrite()!", hold.GetRefCount());
    return burnReentered;
  }
  CDVDProject* project = GetProject();
  if (project->GetAlbumCount() == 0) {
    WriteLog("Count of album is zero.");
    AfxMessageBox(IDS_NO_IMAGES_IN_PROJECT, MB_OK);
    return burnNoAlbum;
  }
  CDVDAlbumArray invalidAlbums;
  CAlbumBreakLinkInfoArray brokenLinks;
  project->FindInvalidObject(invalidAlbums, brokenLinks);
  if (invalidAlbums.GetSize() > 0 || brokenLinks.GetSize() > 0) {
    WriteLog("There are some invalid object in project");
    CErrorMessageDlg dlg(nullptr);
    dlg.SetInvalidItems(&invalidAlbums, &brokenLinks);
    dlg.DoModal();
    return burnInvalidItems;
  }
  RecheckPhotoCache();
  UpdateData(TRUE);
  if (project->GetEmOutputType() != DVD_OUTPUT_PROFILE_GROUP) return burnNotVideo;
  WriteLog("###Create misc video files output.");
  return RunEncodeVideoDlg();
}

void CAlbumVideoProfilePage::RecheckPhotoCache() {
  CDVDProject* project = GetProject();
  for (int a = 0; a < project->GetAlbumCount(); ++a) {
    CDVDAlbumBase* base = project->GetAlbum(a);
    if (base == nullptr || !base->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage))) continue;
    auto* album = static_cast<CDVDAlbumImage*>(base);
    for (int i = 0; i < album->GetImageCount(); ++i) {
      const CDVDImage* image = album->GetImage(i);
      if (image == nullptr) continue;
      int outdated = 0;
      GetPhotoCache()->GetCachedPath(image->Get_strPathName(), &outdated);
      if (outdated) {
        album->Put_bDirty(1);
        break;
      }
    }
  }
}

CAlbumVideoProfilePage::BurnResult CAlbumVideoProfilePage::RunEncodeVideoDlg() {
  // A folder that cannot take the files is said here, before anything is encoded.
  if (m_optionsPage.SendMessage(WM_APPLY_OUTPUT_PROFILE, 0, 0) == 0) return burnFolderRefused;
  CEncodeVideoDlg dlg(nullptr);
  dlg.m_pOwnerPage = this;
  dlg.DoModal();
  return burnDialogRun;
}

LRESULT CAlbumVideoProfilePage::OnOpenOutputFolder(WPARAM, LPARAM) {
  CDVDProject* project = GetProject();
  CAVOutputProfileManager* manager = CDVDProject::GetAVOutputProfileManager();
  const CAVOutputProfileGroup* group = manager->Get_pActiveProfileGroup();
  const CString folder = output_page::OutputFolderOf(
      project->GetEmOutputType(), project->Get_strTempFilePath(), manager->Get_strOutputPath(),
      group != nullptr ? group->Get_strGroupFolderName().GetString() : nullptr);
  CDVDProject::CreateAllDirectories(folder);
  ShellExecuteA(nullptr, "open", folder, nullptr, nullptr, SW_SHOWNORMAL);
  return 1;
}

LRESULT CAlbumVideoProfilePage::OnLanguageChanged(WPARAM, LPARAM) {
  TranslateDialog(m_hWnd, IDD_ALBUM_VIDEO_PROFILE);
  BuildTabs();
  FillFormatList();
  return 1;
}

void CAlbumVideoProfilePage::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, kPageOutside);
  CBrush brush(GetSkinColor(SKIN_COLOR_BURN_PAGE));
  CBrush* oldBrush = dc.SelectObject(&brush);
  client.DeflateRect(1, 1);
  dc.RoundRect(&client, CPoint(12, 12));
  dc.SelectObject(oldBrush);
}

HBRUSH CAlbumVideoProfilePage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if (nCtlColor != CTLCOLOR_STATIC) return CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
  pDC->SetBkMode(TRANSPARENT);
  return static_cast<HBRUSH>(m_brBackground.GetSafeHandle());
}

void CAlbumVideoProfilePage::OnDestroy() {
  FreeFormatItems();
  CPropertyPage::OnDestroy();
}

// The container.

IMPLEMENT_DYNCREATE(CAlbumVideoPorfileContainerPage, CDialog)

BEGIN_MESSAGE_MAP(CAlbumVideoPorfileContainerPage, CPreviewPageBase)
ON_WM_SIZE()
END_MESSAGE_MAP()

CAlbumVideoPorfileContainerPage::CAlbumVideoPorfileContainerPage()
    : CPreviewPageBase(IDD_ALBUM_VIDEO_PROFILE_CONTAINER) {}

BOOL CAlbumVideoPorfileContainerPage::OnInitDialog() {
  CPreviewPageBase::OnInitDialog();
  SetDlgCtrlID(IDD_ALBUM_VIDEO_PROFILE_CONTAINER);
  m_page.Create(IDD_ALBUM_VIDEO_PROFILE, this);
  m_page.ShowWindow(SW_SHOW);
  PlacePage();
  return TRUE;
}

void CAlbumVideoPorfileContainerPage::SelectActiveFormat() {
  if (m_page.GetSafeHwnd() != nullptr) m_page.SelectActiveFormat();
}

void CAlbumVideoPorfileContainerPage::OnSize(UINT nType, int cx, int cy) {
  CPreviewPageBase::OnSize(nType, cx, cy);
  PlacePage();
}

void CAlbumVideoPorfileContainerPage::PlacePage() {
  if (m_page.GetSafeHwnd() == nullptr) return;
  CRect client, page;
  GetClientRect(&client);
  m_page.GetWindowRect(&page);
  const POINT pos =
      output_page::EmbeddedPagePos(SIZE{client.Width(), client.Height()}, SIZE{page.Width(), page.Height()});
  m_page.SetWindowPos(nullptr, pos.x, pos.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
