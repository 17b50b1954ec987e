// The file browser panel's services to the album editor that do not depend on what it shows:
// the counters of its rows and the folder walks that turn a folder's photos into slides.
#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumRules.h"
#include "albums/ExploreBarDlg.h"
#include "controls/ProgressWnd.h"
#include "modules/data/DVDAlbumImage.h"
#include "platform/comctl/AfxListCtrl.h"
#include "platform/kernel/FileFind.h"
#include "platform/kernel/Path.h"
#include "shell/AlbumPageServices.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"
#include "shell/UIHelpers.h"

#define IDS_ADDING_FILE 135

namespace {

// The walks show their progress window once they have run this long.
constexpr DWORD kProgressDelayMs = 500;

CString FolderPattern(LPCTSTR folder) {
  return CString(pictavo::path::Join(pictavo::path::WithoutTrailingSeparator(folder), "*.*").c_str());
}

CWnd* RegistryWindow(void* slot) {
  auto* wnd = static_cast<CWnd*>(slot);
  return wnd != nullptr && wnd->GetSafeHwnd() != nullptr ? wnd : nullptr;
}

}  // namespace

void ExploreBarDlg::CountItems(int* pPhotos, int* pMusic, int* pVideos, BOOL bSelectedOnly) {
  int counts[4] = {0, 0, 0, 0};
  if (m_pFileList != nullptr && m_pFileList->GetSafeHwnd() != nullptr) {
    const int rows = m_pFileList->GetItemCount();
    for (int row = bSelectedOnly ? m_pFileList->GetNextItem(-1, LVNI_SELECTED) : (rows > 0 ? 0 : -1);
         row >= 0; row = bSelectedOnly ? m_pFileList->GetNextItem(row, LVNI_SELECTED)
                                       : (row + 1 < rows ? row + 1 : -1)) {
      const auto* item = reinterpret_cast<const _tagBrowserItem*>(m_pFileList->GetItemData(row));
      if (item != nullptr && item->nKind >= 0 && item->nKind <= 3) ++counts[item->nKind];
    }
  }
  if (pPhotos != nullptr) *pPhotos = counts[0];
  if (pMusic != nullptr) *pMusic = counts[1];
  if (pVideos != nullptr) *pVideos = counts[3];
}

void ExploreBarDlg::CountAllItems(int* pPhotos, int* pMusic, int* pVideos) {
  CountItems(pPhotos, pMusic, pVideos, FALSE);
}

void ExploreBarDlg::CountSelectedItems(int* pPhotos, int* pMusic, int* pVideos) {
  CountItems(pPhotos, pMusic, pVideos, TRUE);
}

void ExploreBarDlg::BeginWalk() {
  StartTickCount();
  m_bCancelled = FALSE;
  CWindowRegistry* slots = GetWindowRegistry();
  if (CWnd* albums = RegistryWindow(slots->m_pAlbumListBox)) albums->LockWindowUpdate();
  if (CWnd* photos = RegistryWindow(slots->m_pPhotoListCtrl)) photos->LockWindowUpdate();
}

BOOL ExploreBarDlg::EndWalk() {
  if (m_pProgress != nullptr) {
    m_bCancelled = m_bCancelled || m_pProgress->IsCancelled();
    delete m_pProgress;
    m_pProgress = nullptr;
  }
  CWindowRegistry* slots = GetWindowRegistry();
  if (CWnd* albums = RegistryWindow(slots->m_pAlbumListBox))
    albums->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  if (CWnd* photos = RegistryWindow(slots->m_pPhotoListCtrl)) photos->UnlockWindowUpdate();
  if (CWnd* albums = RegistryWindow(slots->m_pAlbumListBox)) albums->UnlockWindowUpdate();
  return !m_bCancelled;
}

BOOL ExploreBarDlg::TickProgress() {
  if (m_pProgress == nullptr && GetElapsedTicks(FALSE) > kProgressDelayMs) {
    m_pProgress = new CAddFilesProgressWnd;
    m_pProgress->SetRange(0, 1000, 1);
    m_pProgress->ShowModal("Add Files", 0);
  }
  if (m_pProgress != nullptr) {
    m_pProgress->PumpMessages(1);
    if (m_pProgress->IsCancelled()) m_bCancelled = TRUE;
  }
  return !m_bCancelled;
}

void ExploreBarDlg::ShowAdding(LPCTSTR lpszPath) {
  if (m_pProgress == nullptr) return;
  ProgressWndSetText(m_pProgress, LoadLangString(IDS_ADDING_FILE), lpszPath);
  m_pProgress->PumpMessages(1);
  if (m_pProgress->IsCancelled()) m_bCancelled = TRUE;
}

BOOL ExploreBarDlg::AddPhotoToAlbum(CDVDAlbumImage*& pPhotoAlbum, LPCTSTR lpszPath, CDVDImage* pPosition) {
  auto* editor = static_cast<AlbumEditorDlg*>(RegistryWindow(GetWindowRegistry()->m_pAlbumEditor));
  if (editor == nullptr) return FALSE;
  CDVDAlbumBase* slot = pPhotoAlbum;
  const BOOL added = editor->AddPhotoFile(&slot, lpszPath, pPosition,
                                          m_strAlbumName.IsEmpty() ? nullptr : m_strAlbumName.GetString());
  pPhotoAlbum = slot != nullptr && slot->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage))
                    ? static_cast<CDVDAlbumImage*>(slot)
                    : nullptr;
  return added;
}

BOOL ExploreBarDlg::AddFolderFiles(LPCTSTR lpszFolder, CDVDAlbumImage*& pPhotoAlbum, BOOL bSubfolders,
                                   CDVDImage* pPosition) {
  CFileFind finder;
  BOOL more = finder.FindFile(FolderPattern(lpszFolder));
  while (more) {
    if (!TickProgress()) return FALSE;
    more = finder.FindNextFile();
    if (finder.IsDots() || finder.IsHidden() || finder.IsSystem()) continue;
    const CString path = finder.GetFilePath();
    if (finder.IsDirectory()) {
      if (bSubfolders && !AddFolderFiles(path, pPhotoAlbum, bSubfolders, pPosition)) return FALSE;
      continue;
    }
    if (!IsPhotoFileExt(FileExtOf(path))) continue;
    ShowAdding(path);
    if (m_bCancelled) return FALSE;
    AddPhotoToAlbum(pPhotoAlbum, path, pPosition);
  }
  return TRUE;
}

BOOL ExploreBarDlg::AddFolderToAlbum(LPCTSTR lpszFolder, CDVDAlbumImage*& pPhotoAlbum, CDVDAlbumMovie*&,
                                     BOOL bSubfolders, CDVDImage* pPosition, LPCTSTR lpszAlbumName) {
  m_strAlbumName =
      lpszAlbumName != nullptr && *lpszAlbumName != '\0' ? CString(lpszAlbumName) : FolderOwnName(lpszFolder);
  BeginWalk();
  AddFolderFiles(lpszFolder, pPhotoAlbum, bSubfolders, pPosition);
  return EndWalk();
}

BOOL ExploreBarDlg::AddFoldersAsAlbums(const CStringArray& folders, CDVDAlbumBase*& pLastAlbum) {
  BeginWalk();
  for (INT_PTR i = 0; i < folders.GetSize() && !m_bCancelled; ++i) {
    m_strAlbumName = FolderOwnName(folders[i]);
    CDVDAlbumImage* album = nullptr;
    AddFolderFiles(folders[i], album, FALSE, nullptr);
    if (album != nullptr) pLastAlbum = album;
  }
  return EndWalk();
}
