// The main window's menu: the dynamic Create, blank-image and language parts, the enabling rules,
// the output choice that the Create items and the status-bar selector share, and the commands
// forwarded to the album pages.
#include <cctype>
#include <string>

#include "albums/AlbumEditorDlg.h"
#include "albums/ExploreBarDlg.h"
#include "controls/DropListButton.h"
#include "controls/NewVersionDlg.h"
#include "controls/StatusBarPanes.h"
#include "editing/RecordSoundDlg.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "modules/data/OutputProfile.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/mfc/CmdUI.h"
#include "platform/shellapi/ShellExecute.h"
#include "render/AlbumPreviewDlg.h"
#include "shell/AboutDlg.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/LanguageSettings.h"
#include "shell/MainDlg.h"
#include "shell/OptionsDlg.h"
#include "shell/PageEditorNew.h"
#include "shell/ProcessObjects.h"
#include "shell/SlideshowApp.h"
#include "shell/UIHelpers.h"

namespace {

constexpr UINT IDS_ABOUT_FORMAT = 101;
constexpr UINT IDS_WEBSITE_OF = 182;
constexpr UINT IDS_OUTPUT_FORMAT = 188;
constexpr UINT IDS_ADD_BLANK_IMAGE = 206;
constexpr UINT IDS_MORE_COLORS = 207;
constexpr UINT IDS_CUSTOM_BLANK_IMAGE = 208;
constexpr UINT IDS_CREATE = 264;
constexpr int kOrganizePopup = 1;
constexpr int kCreatePopup = 2;
constexpr int kDefaultGroupIndex = 7;

// The swatches of "Add Blank Image", in order.
constexpr COLORREF kBlankImageColors[16] = {0x000000, 0xFFFFFF, 0x000080, 0x008000, 0x008080, 0x800000,
                                            0x800080, 0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00,
                                            0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00};

// The album pages' commands as the menu posts them to the photo page or the album editor.
struct Forward {
  UINT id;
  UINT posted;
  bool toEditor;
};
constexpr Forward kForwards[] = {
    {ID_REMOVE_PHOTOS, ID_PHOTOS_REMOVE, false},         {ID_REMOVE_ALL_PHOTOS, ID_PHOTOS_REMOVE_ALL, false},
    {ID_SELECT_ALL_PHOTOS, ID_PHOTOS_SELECT_ALL, false}, {ID_ADD_TEXT_ARTCLIP, ID_PHOTOS_TEXT_ARTCLIP, false},
    {ID_CUSTOM_TRANSITION, ID_CUSTOM_TRANSITION, false}, {ID_AUTO_EXPOSURE, ID_PHOTOS_AUTO_EXPOSURE, false},
    {ID_ROTATE_CW, ID_PHOTOS_ROTATE_CW, false},          {ID_ROTATE_CCW, ID_PHOTOS_ROTATE_CCW, false},
    {ID_SET_THUMBNAIL, ID_PHOTOS_THUMBNAIL, false},      {ID_RANDOMIZE_ORDER, ID_PHOTOS_RANDOMIZE, false},
    {ID_FULL_SCREEN, ID_EDITOR_FULL_SCREEN, true},       {ID_ALBUM_PROPERTIES, ID_EDITOR_PROPERTIES, true},
    {ID_BATCH_COLLECT, ID_EDITOR_BATCH_COLLECT, true},   {ID_NEW_NAMED_ALBUM, ID_EDITOR_NAMED_ALBUM, true},
};

CWnd* LiveWindow(void* slot) {
  auto* wnd = static_cast<CWnd*>(slot);
  return wnd != nullptr && wnd->GetSafeHwnd() != nullptr ? wnd : nullptr;
}

bool Plays(void* slot) {
  auto* preview = static_cast<AlbumPreviewDlg*>(slot);
  return preview != nullptr && preview->IsPlaying();
}

// The help pages installed beside the program, which also stand for the maker's pages.
void OpenHelpPage() {
  const CString page = CDVDProject::GetExeFilePath() + "\\help\\index.html";
  ShellExecute(nullptr, "open", page, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

MenuFacts CMainDlg::GatherMenuFacts() const {
  CWindowRegistry* slots = GetWindowRegistry();
  MenuFacts f;
  if (CWnd* photoPage = LiveWindow(slots->m_pAlbumPhotoDlg))
    f.photoPageVisible = photoPage->IsWindowVisible();
  if (CWnd* list = LiveWindow(slots->m_pPhotoListCtrl)) {
    f.photoListWindow = true;
    f.photosSelected = static_cast<int>(list->SendMessage(LVM_GETSELECTEDCOUNT));
    f.photoCount = static_cast<int>(list->SendMessage(LVM_GETITEMCOUNT));
  }
  auto* editor = static_cast<AlbumEditorDlg*>(LiveWindow(slots->m_pAlbumEditor));
  f.albumEditorWindow = editor != nullptr;
  if (CWnd* options = LiveWindow(slots->m_pAlbumOptionsOne))
    f.optionsPageVisible = options->IsWindowVisible();
  if (editor != nullptr) {
    CDVDAlbumImage* album = editor->GetCurrentImageAlbum();
    f.currentAlbumHasSlide = album != nullptr && album->m_pCurImage != nullptr;
  }
  f.organizePageVisible = m_pPageEditor->GetSafeHwnd() != nullptr && m_pPageEditor->IsWindowVisible();
  if (CWnd* albums = LiveWindow(slots->m_pAlbumListBox)) {
    f.albumListWindow = true;
    const int selected = static_cast<int>(albums->SendMessage(LB_GETCURSEL));
    f.albumSelected = selected >= 0;
    if (selected >= 0) {
      auto* album = reinterpret_cast<CObject*>(albums->SendMessage(LB_GETITEMDATA, selected));
      f.selectedAlbumHasPhotos = album != nullptr && album->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage)) &&
                                 static_cast<CDVDAlbumImage*>(album)->m_arrImages.GetSize() != 0;
    }
  }
  f.previewPlaying = Plays(slots->m_pAlbumPreviewDlg);
  f.menuPreviewPlaying = Plays(slots->m_pMenuPreviewDlg);
  return f;
}

void CMainDlg::OnUpdateRuled(CCmdUI* pCmdUI) {
  pCmdUI->Enable(MenuCommandEnabled(pCmdUI->m_nID, GatherMenuFacts()));
}

void CMainDlg::OnForwardCommand(UINT nID) {
  UINT posted = nID;  // the blank-image items keep their ids
  bool toEditor = false;
  for (const Forward& f : kForwards) {
    if (f.id == nID) {
      posted = f.posted;
      toEditor = f.toEditor;
    }
  }
  CWindowRegistry* slots = GetWindowRegistry();
  if (CWnd* target = LiveWindow(toEditor ? slots->m_pAlbumEditor : slots->m_pAlbumPhotoDlg))
    target->PostMessage(WM_COMMAND, MAKEWPARAM(posted, 0), 0);
}

void CMainDlg::OnAddPhotos() {
  m_pPageEditor->AddPhotos();
}

void CMainDlg::OnAddMusic() {
  m_pPageEditor->AddMusic();
}

void CMainDlg::OnAlbumPreview() {
  AlbumEditorDlg* editor = m_pPageEditor->GetAlbumEditor();
  if (editor->GetSafeHwnd() != nullptr) editor->SelectPropPage(3);
}

void CMainDlg::OnNewAlbum() {
  m_pPageEditor->NewAlbum();
}

void CMainDlg::OnDeleteAlbum() {
  m_pPageEditor->DeleteAlbum();
}

void CMainDlg::OnAddBlankImage() {
  // The photo page's own Add Blank Image comes with the album pages.
}

void CMainDlg::OnAddVideos() {
  AlbumEditorDlg* editor = m_pPageEditor->GetAlbumEditor();
  if (editor->GetSafeHwnd() != nullptr) editor->AddVideos();
}

void CMainDlg::OnOpenTempFolder() {
  ShellExecute(nullptr, "open", GetProject()->Get_strTempFilePath(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CMainDlg::OnMakerPage(UINT) {
  OpenHelpPage();
}

void CMainDlg::OnNothing(UINT) {}

void CMainDlg::SetPhotoScaleMode(int nMode) {
  CDVDProject* project = GetProject();
  if (project->Get_nPhotoScaleMode() == nMode) return;
  project->Set_nPhotoScaleMode(nMode);
  project->SetAllEncodeDirty();
  CGeneralSettings& general = GetAppSettings()->General;
  general.PhotoScaleMode = nMode;
  general.SavePhotoScaleMode();
}

void CMainDlg::OnPhotoScaleFit() {
  SetPhotoScaleMode(0);
}

void CMainDlg::OnPhotoScaleFill() {
  SetPhotoScaleMode(1);
}

void CMainDlg::OnUpdatePhotoScale(CCmdUI* pCmdUI) {
  const int mode = pCmdUI->m_nID == ID_PHOTO_SCALE_FIT ? 0 : 1;
  pCmdUI->SetCheck(GetProject()->Get_nPhotoScaleMode() == mode);
  pCmdUI->Enable(MenuCommandEnabled(pCmdUI->m_nID, GatherMenuFacts()));
}

void CMainDlg::SetTvAspect(int nAspect, BOOL bMarkDirty) {
  GetProject()->GetOptionsData()->nAspectCorrection = nAspect;
  if (bMarkDirty) GetProject()->SetAllEncodeDirty();
  CGeneralSettings& general = GetAppSettings()->General;
  general.Correction = nAspect;
  general.SaveCorrection();
  CWindowRegistry* slots = GetWindowRegistry();
  for (void* slot : {slots->m_pAlbumPreviewDlg, slots->m_pVideoPreviewContainer})
    if (CWnd* preview = LiveWindow(slot)) preview->PostMessage(WM_TV_ASPECT_CHANGED, 0, 0);
}

namespace {
int AspectOf(UINT id) {
  return id == ID_TV_ASPECT_4_3 ? 1 : (id == ID_TV_ASPECT_16_9 ? 2 : 0);
}
}  // namespace

void CMainDlg::OnTvAspect(UINT nID) {
  SetTvAspect(AspectOf(nID), TRUE);
}

void CMainDlg::OnUpdateTvAspect(CCmdUI* pCmdUI) {
  pCmdUI->SetCheck(GetProject()->GetOptionsData()->nAspectCorrection == AspectOf(pCmdUI->m_nID));
  pCmdUI->Enable(MenuCommandEnabled(pCmdUI->m_nID, GatherMenuFacts()));
}

void CMainDlg::PostProjectReloaded() {
  if (m_pPageEditor->GetSafeHwnd() != nullptr) m_pPageEditor->PostMessage(WM_PROJECT_RELOADED, 0, 0);
}

// Output choice.

void CMainDlg::SelectOutput(int nType, CAVOutputProfileGroup* pGroup) {
  if (pGroup != nullptr) {
    CDVDProject::GetAVOutputProfileManager()->Set_pActiveProfileGroup(pGroup);
    GetProject()->SetEmOutputType(nType);
  }
  UpdateStatusText();
  AlbumEditorDlg* editor = m_pPageEditor->GetAlbumEditor();
  if (editor->GetSafeHwnd() != nullptr) editor->RefreshOutputFormats();
}

void CMainDlg::UpdateOutputCheck(CCmdUI* pCmdUI, int nType, CAVOutputProfileGroup* pGroup) {
  const int current = GetProject()->GetEmOutputType();
  if (nType == 5)
    pCmdUI->SetCheck(current == 5 &&
                     pGroup == CDVDProject::GetAVOutputProfileManager()->Get_pActiveProfileGroup());
  else
    pCmdUI->SetCheck(current == nType);
}

namespace {
int OutputTypeOf(UINT id) {
  switch (id) {
    case ID_OUTPUT_DVD:
      return 0;
    case ID_OUTPUT_VCD:
      return 1;
    case ID_OUTPUT_SVCD:
      return 2;
    case ID_OUTPUT_BLURAY:
      return 3;
    default:
      return 4;
  }
}
}  // namespace

void CMainDlg::OnSelectOutputType(UINT nID) {
  SelectOutput(OutputTypeOf(nID), nullptr);
}

void CMainDlg::OnUpdateOutputType(CCmdUI* pCmdUI) {
  UpdateOutputCheck(pCmdUI, OutputTypeOf(pCmdUI->m_nID), nullptr);
}

void CMainDlg::BuildCreateMenu() {
  CMenu* bar = GetMenu();
  CMenu* popup = bar != nullptr ? bar->GetSubMenu(kCreatePopup) : nullptr;
  if (popup == nullptr) return;
  while (popup->GetMenuItemCount() > 0) popup->DeleteMenu(0, MF_BYPOSITION);
  const CString prefix = LoadLangString(IDS_CREATE);
  const CString langFile = GetLangIniFile();
  CAVOutputProfileManager* manager = CDVDProject::GetAVOutputProfileManager();
  // Items by position, so their ids stay inside the Create range for any number of groups.
  const int count = CreateItemCount(manager->GetGroupCount());
  for (int i = 0; i < count; ++i) {
    CAVOutputProfileGroup* group = manager->Get_pProfileGroupArray(i);
    if (group == nullptr) continue;
    popup->AppendMenu(MF_STRING, ID_CREATE_GROUP_FIRST + static_cast<UINT>(i),
                      CreateItemText(prefix, group->Get_strGroupDesc(), langFile));
  }
  CIconMenu::UpdateMenu(&m_mainMenu);
}

void CMainDlg::OnCreateGroup(UINT nID) {
  CAVOutputProfileManager* manager = CDVDProject::GetAVOutputProfileManager();
  const int index = CreateGroupIndex(nID, manager->GetGroupCount());
  if (index < 0) return;
  if (CAVOutputProfileGroup* group = manager->Get_pProfileGroupArray(index)) SelectOutput(5, group);
}

void CMainDlg::OnUpdateCreateGroup(CCmdUI* pCmdUI) {
  CAVOutputProfileManager* manager = CDVDProject::GetAVOutputProfileManager();
  const int index = CreateGroupIndex(pCmdUI->m_nID, manager->GetGroupCount());
  if (index < 0) return;
  UpdateOutputCheck(pCmdUI, 5, manager->Get_pProfileGroupArray(index));
}

void CMainDlg::RefreshOutputPane() {
  m_pStatusBar->SetPaneText(0, LoadLangString(IDS_OUTPUT_FORMAT));
  FillOutputFormatList();
}

void CMainDlg::FillOutputFormatList() {
  CDropListBox* list = m_pOutputSelector->GetListBox();
  if (list == nullptr) return;
  list->SetBorderColor(0xFFFFFF);
  list->SetBkColor(0x64FFFF);
  FreeOutputFormatItems();
  list->ResetContent();
  CAVOutputProfileManager* manager = CDVDProject::GetAVOutputProfileManager();
  for (int i = 0; i < manager->GetGroupCount(); ++i) {
    CAVOutputProfileGroup* group = manager->Get_pProfileGroupArray(i);
    if (group == nullptr) continue;
    const int index = list->AddItem(group->Get_strGroupDesc());
    list->SetItemDataPtr(index, new OutputFormatItem{5, group});
  }
  if (CAVOutputProfileGroup* standard = manager->Get_pProfileGroupArray(kDefaultGroupIndex))
    manager->Set_pActiveProfileGroup(standard);

  const int type = GetProject()->GetEmOutputType();
  const CAVOutputProfileGroup* active = manager->Get_pActiveProfileGroup();
  int chosen = -1;
  for (int i = 0; i < list->GetCount() && chosen < 0; ++i) {
    const auto* item = static_cast<OutputFormatItem*>(list->GetItemDataPtr(i));
    if (item == nullptr || item->type != type || type < 0) continue;
    if (type <= 4 || (type == 5 && item->group != nullptr && active != nullptr &&
                      item->group->Get_nGroupID() == active->Get_nGroupID()))
      chosen = i;
  }
  if (chosen < 0 && list->GetCount() > kDefaultGroupIndex) chosen = kDefaultGroupIndex;
  if (chosen >= 0) {
    list->SetCurSel(chosen);
    list->SetCurSelIndex(chosen);
  }
  m_pStatusBar->AddPaneControl(m_pOutputSelector, ID_PANE_OUTPUT_SELECTOR, TRUE);
}

void CMainDlg::FreeOutputFormatItems() {
  CDropListBox* list = m_pOutputSelector != nullptr ? m_pOutputSelector->GetListBox() : nullptr;
  if (list == nullptr || list->GetSafeHwnd() == nullptr) return;
  for (int i = 0; i < list->GetCount(); ++i) {
    auto* item = static_cast<OutputFormatItem*>(list->GetItemDataPtr(i));
    list->SetItemDataPtr(i, nullptr);
    delete item;
  }
}

LRESULT CMainDlg::OnOutputFormatSelected(WPARAM wParam, LPARAM lParam) {
  if (wParam != ID_PANE_OUTPUT_SELECTOR) return 0;
  CDropListBox* list = m_pOutputSelector->GetListBox();
  if (list == nullptr || list->GetCount() <= 0) return 0;
  const int index =
      static_cast<int>(static_cast<unsigned long>(lParam) % static_cast<unsigned>(list->GetCount()));
  const auto* item = static_cast<OutputFormatItem*>(list->GetItemDataPtr(index));
  if (item == nullptr) return 0;
  if (item->type == 5)
    CDVDProject::GetAVOutputProfileManager()->Set_pActiveProfileGroup(item->group);
  else
    GetProject()->SetOutputDiscFormat(item->type);
  GetProject()->SetEmOutputType(item->type);
  UpdateStatusText();
  AlbumEditorDlg* editor = m_pPageEditor->GetAlbumEditor();
  if (editor->GetSafeHwnd() != nullptr) editor->RefreshOutputFormats();
  return 1;
}

// Blank image.

void CMainDlg::BuildBlankImageMenu() {
  DestroyBlankImageMenu();
  CMenu* bar = GetMenu();
  CMenu* organize = bar != nullptr ? bar->GetSubMenu(kOrganizePopup) : nullptr;
  m_blankImageMenu.CreatePopupMenu();
  m_blankImageMenu.SetItemWidth(6);
  m_blankImageMenu.SetItemHeight(18);
  m_blankImageMenu.SetStyle(2);
  for (int i = 0; i < 16; ++i) {
    CString text;
    text.Format("%d", static_cast<int>(kBlankImageColors[i]));
    m_blankImageMenu.AppendItem(0, ID_BLANK_IMAGE_FIRST + static_cast<UINT>(i), text, 0, 0, TRUE);
  }
  m_blankImageMenu.AppendItem(0, ID_BLANK_IMAGE_MORE, LoadLangString(IDS_MORE_COLORS), 0, 0, FALSE);
  m_blankImageMenu.AppendItem(0, ID_BLANK_IMAGE_CUSTOM, LoadLangString(IDS_CUSTOM_BLANK_IMAGE), 0, 0, FALSE);
  if (organize != nullptr)
    organize->InsertMenu(1, MF_BYPOSITION | MF_POPUP,
                         reinterpret_cast<UINT_PTR>(m_blankImageMenu.GetSafeHmenu()),
                         LoadLangString(IDS_ADD_BLANK_IMAGE));
  CIconMenu::UpdateMenu(&m_mainMenu);
}

void CMainDlg::DestroyBlankImageMenu() {
  if (m_blankImageMenu.GetSafeHmenu() == nullptr) return;
  CMenu* bar = GetMenu();
  if (CMenu* organize = bar != nullptr ? bar->GetSubMenu(kOrganizePopup) : nullptr)
    organize->RemoveMenu(1, MF_BYPOSITION);
  m_blankImageMenu.DestroyMenu();
}

// Tools, View, Help.

void CMainDlg::OnSoundRecorder() {
  CRecordSoundDlg dialog;
  dialog.DoModal();
}

void CMainDlg::OnToggleFileBrowser() {
  m_pPageEditor->ToggleFileBrowser();
}

void CMainDlg::OnUpdateToggleFileBrowser(CCmdUI* pCmdUI) {
  m_pPageEditor->OnUpdateToggleFileBrowser(pCmdUI);
}

void CMainDlg::OnOptions() {
  COptionsDlg dialog;
  dialog.DoModal();
}

void CMainDlg::OnHelpContents() {
  OpenHelpPage();
}

void CMainDlg::OnUpdateHelpWebsite(CCmdUI* pCmdUI) {
  CString text;
  text.Format(LoadLangString(IDS_WEBSITE_OF), GetProductTitle().GetString());
  pCmdUI->SetText(text);
}

void CMainDlg::OnCheckUpgrades() {
  CNewVersionDlg dialog(nullptr);
  dialog.m_bCheckNow = TRUE;
  dialog.DoModal();
}

void CMainDlg::OnAbout() {
  CAboutDlg dialog;
  dialog.DoModal();
}

void CMainDlg::OnUpdateAbout(CCmdUI* pCmdUI) {
  CString text;
  text.Format(LoadLangString(IDS_ABOUT_FORMAT), GetProductTitle().GetString());
  pCmdUI->SetText(text);
}

LRESULT CMainDlg::OnNewVersionAvailable(WPARAM wParam, LPARAM lParam) {
  CNewVersionDlg dialog(nullptr);
  dialog.m_strMessage = NewVersionText(static_cast<int>(wParam), static_cast<int>(lParam));
  dialog.DoModal();
  return 0;
}

LRESULT CMainDlg::OnVersionUpToDate(WPARAM, LPARAM) {
  return 0;
}

LRESULT CMainDlg::OnVersionCheckFailed(WPARAM wParam, LPARAM) {
  delete[] reinterpret_cast<char*>(wParam);
  return 0;
}

LRESULT CMainDlg::OnNoBurnerFound(WPARAM, LPARAM) {
  AfxMessageBox("No DVD/CD Burner device found!");
  return 0;
}
