// The album editor's project and album commands: new and open project, new photo and video
// albums, delete, the commands on the current album's slides, batch collect.
#include <vector>

#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumMessages.h"
#include "albums/AlbumOptionsOneDlg.h"
#include "albums/AlbumRules.h"
#include "albums/ExploreBarDlg.h"
#include "albums/SmallAlbumDialogs.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/log/Log.h"
#include "render/AlbumPreviewContainer.h"
#include "shell/AlbumPageServices.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"
#include "shell/SlideshowApp.h"

#define IDS_SELECT_ALBUM_TO_REMOVE 146
#define IDS_NO_ALBUM_TO_REMOVE 147
#define IDS_SELECT_PHOTOS_FIRST 148
#define IDS_MY_VIDEO_CLIPS 276

namespace {

CListCtrl* PhotoListOf(AlbumPropSheet& sheet) {
  CListCtrl& list = sheet.GetPhotoPage().GetListCtrl();
  return list.GetSafeHwnd() != nullptr ? &list : nullptr;
}

void SendToDescendants(CWnd* parent, UINT message) {
  for (CWnd* child = parent->GetWindow(GW_CHILD); child != nullptr; child = child->GetWindow(GW_HWNDNEXT)) {
    child->SendMessage(message, 0, 0);
    SendToDescendants(child, message);
  }
}

// Keeps the album list from repainting for a scope while its items are rebuilt.
class ListsLocked {
 public:
  explicit ListsLocked(CWnd* albums) : m_albums(albums) { m_albums->LockWindowUpdate(); }
  ~ListsLocked() { m_albums->UnlockWindowUpdate(); }
  ListsLocked(const ListsLocked&) = delete;
  ListsLocked& operator=(const ListsLocked&) = delete;

 private:
  CWnd* m_albums;
};

}  // namespace

// --- project ---

int AlbumEditorDlg::NewProject() {
  WriteLog("Create new project...");
  CancelPhotoFiles();
  StopThumbnails(0);
  if (AfxGetMainWnd() != nullptr) SendToDescendants(this, WM_STOP_PREVIEW);
  ShowAlbumTheme(-1);
  m_pVideoSheet->SetMovieAlbum(nullptr);
  CDVDProject* project = GetProject();
  {
    ListsLocked locked(&m_albumList);
    ClearAlbumList();
    if (CListCtrl* photos = PhotoListOf(m_albumSheet)) photos->DeleteAllItems();
    m_albumSheet.GetPhotoPage().SetAlbum(nullptr);
    ShowAlbumOptions(-1);
    SetActiveAlbumIndex(-1);
    RebuildTimeline();
    project->NewProject();
    project->SetMenuTemplateName(theApp.PickRandomMenuTemplate());
  }
  GetAppSettings()->ApplyToProject(project);
  m_nActiveAlbumIndex = project->Get_nActiveAlbumIndex();
  SetActiveAlbumIndex(-1);
  SelectPropPage(0);
  PostStatusBarUpdate();
  UpdatePageButtons();
  return 1;
}

int AlbumEditorDlg::OpenProject(CString strPath, CStringArray& missingFiles) {
  int missing = 0;
  return OpenProject(strPath, missingFiles, missing);
}

int AlbumEditorDlg::OpenProject(CString strPath, CStringArray& missingFiles, int& nMissing) {
  WriteLog("Open project file: %s", strPath.GetString());
  CWaitCursor wait;
  CancelPhotoFiles();
  StopThumbnails(0);
  if (AfxGetMainWnd() != nullptr) SendToDescendants(this, WM_STOP_PREVIEW);
  m_pVideoSheet->SetMovieAlbum(nullptr);
  CDVDProject* project = GetProject();
  BOOL opened = FALSE;
  {
    ListsLocked locked(&m_albumList);
    ShowAlbumOptions(-1);
    m_albumSheet.GetPhotoPage().SetAlbum(nullptr);
    ClearAlbumList();
    if (CListCtrl* photos = PhotoListOf(m_albumSheet)) photos->DeleteAllItems();
    SetActiveAlbumIndex(-1);
    ShowAlbumTheme(-1);
    RebuildTimeline();
    opened = project->OpenFromFile(strPath, nMissing, missingFiles, 0, -1);
    // A file the data model can't read leaves the previous project in place: the list shows it
    // again so that list and project keep the same albums.
    FillAlbumListFromProject();
    m_nActiveAlbumIndex = project->Get_nActiveAlbumIndex();
    SetActiveAlbumIndex(-1);
    if (m_albumList.GetCount() > 0) {
      m_albumList.SetCurSel(0);
      ApplyAlbumSelection(FALSE, TRUE);
    }
  }
  if (!opened) {
    WriteErrorLog("Open project file failed: %s", CDVDProject::GetLastFileError().GetString());
    MessageBoxText(CDVDProject::GetLastFileError(), MB_ICONERROR);
  }
  SelectPropPage(0);
  SetActiveAlbumIndex(-1);
  ApplyAlbumSelection(TRUE, TRUE);
  PostStatusBarUpdate();
  UpdatePageButtons();
  return opened;
}

// --- new albums ---

int AlbumEditorDlg::NewAlbum() {
  int result = 0;
  if (AskNewAlbum(0, &result)) {
    ShowAlbumSheet(0, TRUE);
    SelectVideoPropPage(0);
  }
  return 1;
}

void AlbumEditorDlg::OnNewAlbum() {
  SetActiveAlbumIndex(-1);
  int result = 0;
  if (AskNewAlbum(0, &result)) ShowAlbumSheet(0, TRUE);
}

void AlbumEditorDlg::OnNewAlbumVariant() {
  int result = 0;
  if (AskNewAlbum(1, &result)) {
    ShowAlbumSheet(0, TRUE);
    SelectVideoPropPage(0);
  }
}

BOOL AlbumEditorDlg::AskNewAlbum(int nKind, int* pResult) {
  CString folder;
  if (auto* panel = static_cast<ExploreBarDlg*>(GetWindowRegistry()->m_pExploreBar);
      panel != nullptr && panel->GetSafeHwnd() != nullptr)
    folder = panel->GetSelectedTreeFolder();
  CAlbumNameDlg dialog;
  dialog.m_strName = ProposedAlbumName(folder);
  dialog.SetAlbumKind(nKind);
  if (pResult != nullptr) *pResult = 0;
  if (dialog.DoModal() != IDOK) return FALSE;
  NewPhotoAlbum(dialog.m_strName);
  return TRUE;
}

void AlbumEditorDlg::NewPhotoAlbum(LPCTSTR lpszName) {
  ShowAlbumSheet(0, TRUE);
  const CString name =
      lpszName != nullptr && *lpszName != '\0' ? CString(lpszName) : CString("My Photo Album");
  if (CreatePhotoAlbum(name, TRUE) != nullptr) {
    ShowAlbumPhotos(m_nActiveAlbumIndex, TRUE);
    ShowAlbumOptions(m_nActiveAlbumIndex);
    RebuildTimeline();
  }
  PostStatusBarUpdate();
  UpdatePageButtons();
}

CDVDAlbumMovie* AlbumEditorDlg::NewVideoAlbum(LPCTSTR lpszName) {
  SetActiveAlbumIndex(-1);
  const CString name =
      lpszName != nullptr && *lpszName != '\0' ? CString(lpszName) : LoadLangString(IDS_MY_VIDEO_CLIPS);
  CDVDProject* project = GetProject();
  CDVDAlbumMovie* album = project->AllocMovieAlbum(nullptr);
  if (album == nullptr) return nullptr;
  album->Set_strAlbumName(name);
  const int index = project->AddAlbum(album);
  const int item = index >= 0 ? m_albumList.InsertString(index, "") : -1;
  if (item < 0) {
    if (index >= 0)
      project->DeleteAlbum(album);
    else
      delete album;
    return nullptr;
  }
  m_albumList.SetItemDataPtr(item, album);
  m_albumList.SetCurSel(item);
  SetActiveAlbumIndex(item);
  m_pVideoSheet->SetMovieAlbum(album);
  return album;
}

// --- deleting an album ---

int AlbumEditorDlg::OnDeleteAlbum() {
  DeleteCurrentAlbum();
  return 1;
}

void AlbumEditorDlg::OnDeleteAlbumCommand() {
  DeleteCurrentAlbum();
}

void AlbumEditorDlg::DeleteCurrentAlbum() {
  const int selected = m_albumList.GetCurSel();
  if (m_albumList.GetCount() == 0) {
    MessageBoxById(IDS_NO_ALBUM_TO_REMOVE, MB_OK);
    return;
  }
  if (selected < 0) {
    MessageBoxById(IDS_SELECT_ALBUM_TO_REMOVE, MB_OK);
    return;
  }
  CDeleteAlbumDlg ask;
  if (ask.DoModal() != IDOK) return;
  if (CWnd* preview = m_albumSheet.GetPreviewContainer();
      preview != nullptr && preview->GetSafeHwnd() != nullptr)
    preview->SendMessage(WM_PREVIEW_ENDED, 6000, 0);
  ShowAlbumTheme(-1);
  ShowAlbumOptions(-1);
  StopThumbnails(1);
  {
    ListsLocked locked(&m_albumList);
    auto* album = static_cast<CDVDAlbumBase*>(m_albumList.GetItemDataPtr(selected));
    if (album != nullptr) {
      if (album->IsKindOf(RUNTIME_CLASS(CDVDAlbumMovie))) m_pVideoSheet->SetMovieAlbum(nullptr);
      if (m_addBatch.slot == album || m_addBatch.video == album) CancelPhotoFiles();
      m_albumList.SetItemDataPtr(selected, nullptr);
      // The photo page forgets the album before the project frees it.
      if (m_albumSheet.GetPhotoPage().GetAlbum() == album) m_albumSheet.GetPhotoPage().SetAlbum(nullptr);
      GetProject()->DeleteAlbum(album);
    }
    m_albumList.DeleteString(selected);
    if (CListCtrl* photos = PhotoListOf(m_albumSheet)) photos->DeleteAllItems();
  }
  const int next = SelectionAfterAlbumDelete(selected, m_albumList.GetCount());
  m_albumList.SetCurSel(next);
  SetActiveAlbumIndex(next);
  if (m_albumList.GetCount() == 0) {
    ShowAlbumPhotos(-1, TRUE);
    ShowAlbumOptions(-1);
    ShowAlbumTheme(-1);
    RebuildTimeline();
    SelectVideoPropPage(0);
    ShowAlbumSheet(0, TRUE);
  } else if (GetCurrentImageAlbum() != nullptr) {
    ShowAlbumPhotos(m_nActiveAlbumIndex, TRUE);
    ShowAlbumOptions(m_nActiveAlbumIndex);
    ShowAlbumTheme(m_nActiveAlbumIndex);
    RebuildTimeline();
    ShowAlbumSheet(0, TRUE);
  } else if (CDVDAlbumMovie* movie = GetCurrentMovieAlbum()) {
    m_pVideoSheet->SetMovieAlbum(movie);
    ShowAlbumSheet(1, TRUE);
  }
  UpdatePageButtons();
  PostStatusBarUpdate();
}

void AlbumEditorDlg::OnAlbumProperties() {
  const int selected = m_albumList.GetCurSel();
  if (selected < 0) return;
  auto* album = static_cast<CDVDAlbumBase*>(m_albumList.GetItemDataPtr(selected));
  if (album == nullptr || !album->IsKindOf(RUNTIME_CLASS(CDVDAlbumBase))) return;
  CAlbumPropertiesDlg properties;
  properties.m_strName = album->Get_strAlbumName();
  properties.m_pAlbum = album;
  if (properties.DoModal() != IDOK) return;
  album->Set_strAlbumName(properties.m_strName);
  CRect item;
  if (m_albumList.GetItemRect(selected, &item) != LB_ERR)
    m_albumList.InvalidateRect(&item);
  else
    m_albumList.Invalidate();
  PostStatusBarUpdate();
}

void AlbumEditorDlg::OnFullScreen() {
  ShowAlbumFullScreen(nullptr, TRUE);
}

void AlbumEditorDlg::ShowAlbumFullScreen(CDVDAlbumImage*, BOOL) {
  CWindowRegistry* slots = GetWindowRegistry();
  for (void* slot : {slots->m_pAlbumOptionsOne, slots->m_pAlbumPreviewContainer})
    if (auto* wnd = static_cast<CWnd*>(slot); wnd != nullptr && wnd->GetSafeHwnd() != nullptr)
      wnd->PostMessage(WM_STOP_PLAYBACK, 0, 0);
}

void AlbumEditorDlg::OnBatchCollect() {
  CBatchCollectDlg dialog;
  if (dialog.DoModal() != IDOK || dialog.m_arrFolders.GetSize() == 0) return;
  auto* panel = static_cast<ExploreBarDlg*>(GetWindowRegistry()->m_pExploreBar);
  if (panel == nullptr || panel->GetSafeHwnd() == nullptr) return;
  CDVDAlbumBase* last = nullptr;
  panel->AddFoldersAsAlbums(dialog.m_arrFolders, last);
  if (m_albumList.GetCount() > 0) {
    m_albumList.SetCurSel(m_albumList.GetCount() - 1);
    SetActiveAlbumIndex(-1);
    OnAlbumListSelChange();
  }
}

// --- commands on the current album's slides ---

void AlbumEditorDlg::RemoveSelectedPhotos() {
  CDVDAlbumImage* album = GetCurrentImageAlbum();
  AlbumPhotoDlg& page = m_albumSheet.GetPhotoPage();
  CListCtrl* list = PhotoListOf(m_albumSheet);
  if (album != nullptr && list != nullptr && page.IsWindowVisible()) {
    const BOOL loading = page.IsLoadingThumbnails();
    if (loading) page.StopThumbnailLoader(1);
    int lastRow = -1;
    bool coverRemoved = false;
    for (int row = list->GetNextItem(-1, LVNI_SELECTED); row >= 0;
         row = list->GetNextItem(-1, LVNI_SELECTED)) {
      auto* slide = reinterpret_cast<CDVDImage*>(list->GetItemData(row));
      if (slide != nullptr) {
        if (slide == album->Get_pAlbumImage()) coverRemoved = true;
        album->RemoveDVDImage(slide);
        // The last batch's slides may name it; none may point at a freed slide.
        if (const int added = m_arrAddedImages.IndexOf(slide); added >= 0) m_arrAddedImages.RemoveAt(added);
        delete slide;
      }
      list->DeleteItem(row);
      lastRow = row;
    }
    if (lastRow >= 0) {
      const int select = RowAfterPhotoRemoval(lastRow, list->GetItemCount());
      if (select >= 0) {
        list->SetItemState(select, LVIS_SELECTED, LVIS_SELECTED);
        list->EnsureVisible(select, FALSE);
      }
      if (coverRemoved) {
        album->Set_pAlbumImage(album->GetImageCount() > 0 ? album->GetImage(0) : nullptr);
        album->Put_bDirty(1);
      }
      RedrawAlbumList();
      for (int row = 0; row < list->GetItemCount(); ++row) {
        CString number;
        number.Format("%02d", row + 1);
        list->SetItemText(row, 0, number);
      }
      if (loading) page.ReloadThumbnails();
      RebuildTimeline();
    } else {
      MessageBoxById(IDS_SELECT_PHOTOS_FIRST, MB_OK);
    }
  }
  PostStatusBarUpdate();
  UpdatePageButtons();
}

void AlbumEditorDlg::RotateSelectedPhotos(int nDegrees) {
  CDVDAlbumImage* album = GetCurrentImageAlbum();
  if (album == nullptr) return;
  AlbumPhotoDlg& page = m_albumSheet.GetPhotoPage();
  CListCtrl* list = PhotoListOf(m_albumSheet);
  bool coverRotated = false;
  if (list != nullptr && page.IsWindowVisible()) {
    if (list->GetNextItem(-1, LVNI_SELECTED) < 0) {
      MessageBoxById(IDS_SELECT_PHOTOS_FIRST, MB_OK);
      return;
    }
    CWaitCursor wait;
    std::vector<int> rows;
    for (int row = list->GetNextItem(-1, LVNI_SELECTED); row >= 0;
         row = list->GetNextItem(row, LVNI_SELECTED)) {
      auto* slide = reinterpret_cast<CDVDImage*>(list->GetItemData(row));
      if (slide == nullptr) continue;
      slide->Put_nRotateAngle(AddRotation(slide->Get_nRotateAngle(), nDegrees));
      coverRotated = coverRotated || slide == album->Get_pAlbumImage();
      rows.push_back(row);
    }
    page.ReloadThumbnails();
    for (int row : rows) list->RedrawItems(row, row);
  } else {
    CDVDImage* slide = album->m_pCurImage;
    if (slide == nullptr) {
      MessageBoxById(IDS_SELECT_PHOTOS_FIRST, MB_OK);
      return;
    }
    slide->Put_nRotateAngle(AddRotation(slide->Get_nRotateAngle(), nDegrees));
    coverRotated = slide == album->Get_pAlbumImage();
    if (list != nullptr) {
      for (int row = 0; row < list->GetItemCount(); ++row)
        if (reinterpret_cast<CDVDImage*>(list->GetItemData(row)) == slide) list->RedrawItems(row, row);
    }
    if (AlbumOptionsOneDlg* options = m_albumSheet.GetOptionsPage()) options->RepaintTimeline();
  }
  if (coverRotated) RedrawAlbumList();
}

BOOL AlbumEditorDlg::RandomizeSlideOrder() {
  CDVDAlbumImage* album = GetCurrentImageAlbum();
  if (album == nullptr) return FALSE;
  album->ReArrangeImageOrder();
  RebuildTimeline();
  RefreshPhotoList(TRUE);
  RedrawAlbumList();
  return TRUE;
}

BOOL AlbumEditorDlg::RearrangeToViewOrder() {
  CDVDAlbumImage* album = GetCurrentImageAlbum();
  CListCtrl* list = PhotoListOf(m_albumSheet);
  if (album == nullptr || list == nullptr) return FALSE;
  CDVDImageArray order;
  for (int row = 0; row < list->GetItemCount(); ++row)
    if (auto* slide = reinterpret_cast<CDVDImage*>(list->GetItemData(row))) order.Add(slide);
  album->ReArrangeImageOrder(order);
  RebuildTimeline();
  RefreshPhotoList(TRUE);
  RedrawAlbumList();
  return TRUE;
}
