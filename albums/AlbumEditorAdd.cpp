// The album editor's add operations: the Add Photos dialog, one photo file at a time for the
// other roads, browser rows, blank slides and slides dropped on the album list, with the shared
// rules for making an album on demand and refreshing the windows after a batch; then music, the
// Add Video Clips dialog, video clips, the file browser's rows and files dropped from the desktop.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <unordered_set>
#include <vector>

#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumMessages.h"
#include "albums/AlbumOptionsOneDlg.h"
#include "albums/AlbumOptionsRules.h"
#include "albums/AlbumRules.h"
#include "albums/ExploreBarDlg.h"
#include "albums/SmallAlbumDialogs.h"
#include "albums/VideoClipRules.h"
#include "albums/VideoAlbumPage.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/files/Files.h"
#include "modules/log/Log.h"
#include "platform/comdlg/CommonDialogs.h"
#include "platform/kernel/Path.h"
#include "platform/shellapi/DragDrop.h"
#include "platform/shellapi/ShellExecute.h"
#include "render/VideoPreviewContainer.h"
#include "render/PhotoCache.h"
#include "shell/ARRegistry.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"

#define IDS_MY_SLIDESHOW 154
#define IDS_ADD_FOLDER_PHOTOS 134
#define IDS_VIDEO_NOT_SUPPORTED 278
#define IDS_ERROR_CAPTION 279
#define IDS_VIDEO_SUPPORT_PAGE 280
#define ID_ADD_PHOTOS_COMMAND 32789

namespace {

// Big enough for tens of thousands of names: the dialog never refuses a selection for its size.
constexpr DWORD kFileNameBuffer = 4u << 20;

constexpr const char* kPhotoFilter =
    "All Supported "
    "Formats(*.jpg;*.jpeg;*.tif;*.tiff;*.bmp;*.pcx;*.png)|*.jpg;*.jpeg;*.tif;*.tiff;*.bmp;*.pcx;*.png| "
    "\t\tJPEG (*.jpg;*.jpeg)|*.jpg;*.jpeg|TIFF(*.tif;*.tiff)|*.tif;*.tiff|Bitmap(*.bmp)|*.bmp|PNG "
    "(*.png)|*.png| "
    "\t\tAll Files(*.*)|*.*||";

CListCtrl* PhotoList() {
  auto* list = static_cast<CListCtrl*>(GetWindowRegistry()->m_pPhotoListCtrl);
  return list != nullptr && list->GetSafeHwnd() != nullptr ? list : nullptr;
}

void SelectRowsOf(const CDVDImageArray& slides, bool makeVisible) {
  CListCtrl* list = PhotoList();
  if (list == nullptr || slides.GetSize() == 0) return;
  // One look-up a row and one repaint at the end: a batch of a thousand photos would otherwise
  // cost a million comparisons and a thousand separate repaints.
  const std::unordered_set<const CDVDImage*> wanted(slides.GetData(), slides.GetData() + slides.GetSize());
  list->SetRedraw(FALSE);
  int first = -1;
  for (int row = 0; row < list->GetItemCount(); ++row) {
    auto* slide = reinterpret_cast<CDVDImage*>(list->GetItemData(row));
    if (wanted.count(slide) == 0) continue;
    if (first == -1) first = row;
    if ((list->GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) == 0)
      list->SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  }
  list->SetRedraw(TRUE);
  list->Invalidate(FALSE);
  if (first != -1 && makeVisible) list->EnsureVisible(first, FALSE);
}

// How long, and for how many files at most, one step of a long add may hold the UI thread
// before it lets other messages in.
constexpr auto kAddStepBudget = std::chrono::milliseconds(8);
constexpr size_t kAddStepFiles = 200;
}  // namespace

CString AlbumEditorDlg::TreeFolderAlbumName() {
  CString folder;
  if (auto* panel = static_cast<ExploreBarDlg*>(GetWindowRegistry()->m_pExploreBar);
      panel != nullptr && panel->GetSafeHwnd() != nullptr)
    folder = panel->GetSelectedTreeFolder();
  return AlbumNameForTreeFolder(folder, LoadLangString(IDS_MY_SLIDESHOW));
}

CDVDAlbumImage* AlbumEditorDlg::CreatePhotoAlbum(LPCTSTR lpszName, BOOL bAtActive) {
  CDVDProject* project = GetProject();
  // An album made on demand goes at the end; New Album puts it before the active one.
  if (!bAtActive) SetActiveAlbumIndex(-1);
  CDVDAlbumImage templ(project);
  ApplyDefaultSubtitleFont(&templ);
  CDVDAlbumImage* album = project->AllocImageAlbum(&templ);
  if (album == nullptr) return nullptr;
  album->Set_strAlbumName(lpszName);
  // The list item goes where the project put the album, so the two orders stay the same.
  const int index = project->AddAlbum(album);
  if (index < 0) {
    delete album;
    return nullptr;
  }
  const int item = m_albumList.InsertString(index, "");
  if (item < 0) {
    project->DeleteAlbum(album);
    return nullptr;
  }
  m_albumList.SetItemDataPtr(item, album);
  m_albumList.SetCurSel(item);
  SetActiveAlbumIndex(item);
  ShowAlbumOptions(m_nActiveAlbumIndex);
  return album;
}

BOOL AlbumEditorDlg::EnsureAlbumSelected() {
  if (m_albumList.GetCurSel() < 0 && m_albumList.GetCount() > 0) {
    m_albumList.SetCurSel(0);
    SetActiveAlbumIndex(0);
  }
  const int selected = m_albumList.GetCurSel();
  if (selected < 0) return FALSE;
  SetActiveAlbumIndex(selected);
  return TRUE;
}

BOOL AlbumEditorDlg::AddPhotoFile(CDVDAlbumBase** ppAlbum, LPCTSTR lpszPath, CDVDImage* pPosition,
                                  LPCTSTR lpszAlbumName) {
  if (ppAlbum == nullptr || lpszPath == nullptr || *lpszPath == '\0') return FALSE;
  SelectPropPage(0);
  if (*ppAlbum == nullptr) {
    const CString name = lpszAlbumName != nullptr
                             ? CString(lpszAlbumName)
                             : AlbumNameForPhoto(lpszPath, LoadLangString(IDS_MY_SLIDESHOW));
    *ppAlbum = CreatePhotoAlbum(name);
  }
  if (*ppAlbum == nullptr || !(*ppAlbum)->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage))) return FALSE;
  auto* album = static_cast<CDVDAlbumImage*>(*ppAlbum);
  CDVDImage slide(album);
  slide.Put_strPathName(lpszPath);
  slide.Put_nRotateAngle(0);
  if (album->DuplicateDVDImageToPos(&slide, pPosition, &m_arrAddedImages) <= 0) return FALSE;
  if (CPhotoCache* cache = GetPhotoCache()) cache->Enqueue(lpszPath);
  RebuildTimeline();
  PostStatusBarUpdate();
  UpdatePageButtons();
  return TRUE;
}

int AlbumEditorDlg::AddPhotos() {
  const CString lastPath = ReadGeneralString("LastPhotoPath");
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY,
                     kPhotoFilter, this);
  std::vector<char> names(kFileNameBuffer, '\0');
  dialog.m_ofn.lpstrFile = names.data();
  dialog.m_ofn.nMaxFile = kFileNameBuffer;
  if (!lastPath.IsEmpty()) dialog.m_ofn.lpstrInitialDir = lastPath;
  if (dialog.DoModal() != IDOK) return FALSE;
  const CString chosen = dialog.GetPathName();
  if (chosen.CompareNoCase(lastPath) != 0) WriteGeneralString("LastPhotoPath", chosen);

  std::vector<CString> paths;
  for (POSITION pos = dialog.GetStartPosition(); pos != nullptr;) {
    const CString path = dialog.GetNextPathName(pos);
    if (IsPhotoFileExt(FileExtOf(path))) paths.push_back(path);
  }
  AddPhotoFiles(std::move(paths));
  return TRUE;
}

void AlbumEditorDlg::AddPhotoFiles(std::vector<CString> paths) {
  if (m_addBatch.active) {
    // A second batch while one runs joins it: same album, one refresh at the end.
    m_addBatch.paths.insert(m_addBatch.paths.end(), paths.begin(), paths.end());
    return;
  }
  SelectPropPage(0);
  ClearAddedImages();
  m_addBatch = AddBatch{};
  m_addBatch.active = true;
  m_addBatch.paths = std::move(paths);
  m_addBatch.slot = GetCurrentImageAlbum();
  m_addBatch.video = GetCurrentMovieAlbum();
  OnAddPhotosStep(0, 0);
}

void AlbumEditorDlg::CancelPhotoFiles() {
  m_addBatch = AddBatch{};
}

LRESULT AlbumEditorDlg::OnAddPhotosStep(WPARAM, LPARAM) {
  if (!m_addBatch.active) return 0;
  // The files go in a few at a time, each step bounded in time, so that a thousand photos never
  // hold the window for long; the list is refilled once, after the last.
  const auto until = std::chrono::steady_clock::now() + kAddStepBudget;
  CDVDProject* project = GetProject();
  auto inProject = [project](CDVDAlbumBase* album) {
    for (INT_PTR i = 0; i < project->m_arrAlbums.GetSize(); ++i)
      if (project->m_arrAlbums[i] == album) return true;
    return false;
  };
  if (m_addBatch.slot != nullptr && !inProject(m_addBatch.slot)) {
    // The album went away between steps (deleted, another project): the rest of the batch too.
    CancelPhotoFiles();
    return 0;
  }
  const bool adding = m_addBatch.next < m_addBatch.paths.size();
  const size_t last = std::min(m_addBatch.paths.size(), m_addBatch.next + kAddStepFiles);
  while (m_addBatch.next < last) {
    AddPhotoFile(&m_addBatch.slot, m_addBatch.paths[m_addBatch.next++], nullptr, nullptr);
    if (std::chrono::steady_clock::now() >= until) break;
  }
  if (adding) {
    // The list's refill is a step of its own.
    PostMessage(WM_ADD_PHOTOS_STEP);
    return 0;
  }
  const AddBatch done = std::move(m_addBatch);
  m_addBatch = AddBatch{};
  RefreshAfterAdd(done.slot, done.video, TRUE);
  PostStatusBarUpdate();
  UpdatePageButtons();
  return 0;
}

void AlbumEditorDlg::RefreshAfterAdd(CDVDAlbumBase* pPhotoAlbum, CDVDAlbumMovie* pVideoAlbum,
                                     BOOL bPhotosAdded) {
  if (pPhotoAlbum != nullptr) {
    RedrawAlbumList();
    RefreshPhotoList(TRUE);
    SelectAddedImages();
  }
  if (pVideoAlbum != nullptr) {
    if (CVideoAlbumPage* clips = m_pVideoSheet->GetClipPage()) clips->ShowMovieAlbum(pVideoAlbum);
    RedrawAlbumList();
  }
  if (GetCurrentImageAlbum() != nullptr) {
    ShowAlbumSheet(0, TRUE);
    SelectPropPage(bPhotosAdded ? 0 : 1);
  } else if (GetCurrentMovieAlbum() != nullptr) {
    ShowAlbumSheet(1, TRUE);
  }
}

void AlbumEditorDlg::SelectAddedImages() {
  SelectRowsOf(m_arrAddedImages, false);
  UpdatePageButtons();
}

CDVDImage* AlbumEditorDlg::AddBrowserPhotos(CDVDAlbumBase** ppAlbum, CDVDImage* pRowImage) {
  SelectPropPage(0);
  if (pRowImage == nullptr || ppAlbum == nullptr) return nullptr;
  if (GetProject()->GetAlbumCount() == 0 || *ppAlbum == nullptr) {
    *ppAlbum = CreatePhotoAlbum(TreeFolderAlbumName());
    RebuildTimeline();
  }
  if (!EnsureAlbumSelected()) return nullptr;
  if (*ppAlbum == nullptr || !(*ppAlbum)->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage))) return nullptr;
  auto* album = static_cast<CDVDAlbumImage*>(*ppAlbum);
  auto* slide = new CDVDImage(*pRowImage, album);
  if (!album->AddDVDImage(slide)) {
    delete slide;
    return nullptr;
  }
  if (CPhotoCache* cache = GetPhotoCache()) cache->Enqueue(slide->Get_strPathName());
  if (CListCtrl* list = PhotoList(); list != nullptr && GetCurrentImageAlbum() == album) {
    CString number;
    number.Format("%04d", list->GetItemCount() + 1);
    const int row = list->InsertItem(list->GetItemCount(), number);
    list->SetItemData(row, reinterpret_cast<DWORD_PTR>(slide));
    list->SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    list->EnsureVisible(row, FALSE);
  }
  if (album->Get_pAlbumImage() == nullptr) {
    album->Set_pAlbumImage(slide);
    RedrawAlbumList();
  }
  RebuildTimeline();
  PostStatusBarUpdate();
  UpdatePageButtons();
  return slide;
}

BOOL AlbumEditorDlg::AddBlankSlide(LPCTSTR lpszPicture, COLORREF clrBackground) {
  SelectPropPage(0);
  CDVDProject* project = GetProject();
  if (project->GetAlbumCount() == 0) CreatePhotoAlbum(TreeFolderAlbumName());
  if (!EnsureAlbumSelected()) return FALSE;
  CDVDAlbumBase* target = m_nActiveAlbumIndex >= 0 && m_nActiveAlbumIndex < project->GetAlbumCount()
                              ? project->GetAlbum(m_nActiveAlbumIndex)
                              : nullptr;
  if (target == nullptr || !target->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage))) return FALSE;
  auto* album = static_cast<CDVDAlbumImage*>(target);
  CDVDImage slide(album);
  slide.Set_clrBackground(clrBackground);
  if (lpszPicture != nullptr && *lpszPicture != '\0') {
    slide.Set_nImageType(2);
    slide.Put_strPathName(lpszPicture);
  } else {
    slide.Set_nImageType(1);
    CString folder = project->Get_strTempFilePathBase();
    if (!folder.IsEmpty() && !pictavo::path::IsSeparator(folder[folder.GetLength() - 1])) folder += "/";
    folder += "Images/";
    CDVDProject::CreateAllDirectories(folder);
    const CString blank = folder + "blank.jpg";
    // One shared blank picture: made once, never overwritten.
    if (!std::filesystem::exists(pictavo::path::ToNative(blank.GetString())))
      CDVDImage::CreateBlankImage(blank, 0, 1024, 768);
    slide.Put_strPathName(blank);
  }
  CDVDImage* position = nullptr;
  if (CListCtrl* list = PhotoList()) {
    const int row = list->GetNextItem(-1, LVNI_SELECTED);
    if (row >= 0) position = reinterpret_cast<CDVDImage*>(list->GetItemData(row));
  }
  CDVDImageArray made;
  album->DuplicateDVDImageToPos(&slide, position, &made);
  if (album->Get_pAlbumImage() == nullptr && made.GetSize() > 0) {
    album->Set_pAlbumImage(made[0]);
    RedrawAlbumList();
  }
  m_albumSheet.GetPhotoPage().FillPhotoListByIndex(m_albumList.GetCurSel(), TRUE);
  SelectRowsOf(made, true);
  RedrawAlbumList();
  RebuildTimeline();
  PostStatusBarUpdate();
  UpdatePageButtons();
  return TRUE;
}

int AlbumEditorDlg::DropPhotosOnAlbumList(int x, int y, CDVDImageArray* pImages, BOOL bCopy) {
  if (pImages == nullptr || pImages->GetSize() == 0) return 0;
  CDVDAlbumImage* source = (*pImages)[0]->m_pAlbum;
  CPoint point(x, y);
  m_albumList.ScreenToClient(&point);
  BOOL outside = TRUE;
  const int index = static_cast<int>(m_albumList.ItemFromPoint(point, outside));
  if (index < 0 || index >= m_albumList.GetCount()) return 0;
  CRect itemRect;
  m_albumList.GetItemRect(index, &itemRect);
  CDVDAlbumBase* target = static_cast<CDVDAlbumBase*>(m_albumList.GetItemDataPtr(index));
  if (!itemRect.PtInRect(point)) {
    SetActiveAlbumIndex(-1);
    target = CreatePhotoAlbum(TreeFolderAlbumName());
  }
  if (target != nullptr && target->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage))) {
    auto* album = static_cast<CDVDAlbumImage*>(target);
    if (album == source) {
      if ((*pImages)[0]->m_nImageType == 0) album->Set_pAlbumImage((*pImages)[0]);
      RedrawAlbumList();
    } else {
      CDVDImageArray moved;
      if (bCopy) {
        album->DuplicateDVDImage(*pImages, &moved);
      } else {
        if (source != nullptr) source->RemoveDVDImage(*pImages);
        album->AddDVDImage(*pImages);
        moved.Copy(*pImages);
      }
      SetActiveAlbumIndex(-1);
      m_albumList.SetCurSel(FindAlbumIndex(album));
      ApplyAlbumSelection(TRUE, FALSE);
      if (m_albumList.GetCurSel() >= 0) SelectRowsOf(moved, false);
    }
  }
  RebuildTimeline();
  UpdatePageButtons();
  return 1;
}

// --- music, video clips, browser rows and dropped files ---

namespace {

constexpr const char* kVideoFilter =
    "All Supported "
    "Formats(*.avi;*.mov;*.vob;*.wmv;*.asf;*.mpg;*.3gp;*.mp4;*.rm;*.rmvb;*.flv)|*.avi;*.mov;*.vob;*.wmv;*.asf;"
    "*.mpg;*.mpeg;*.3gp;*.mp4;*.rm;*.rmvb;*.flv| \t\tMPEG Movies(*.mpg;*mpeg)|*.mpg;*.mpeg| \t\tAVI "
    "Movies(*.avi)|*.avi|Divx Movies(*.avi)|*.avi|MP4 Movies(*.mp4)|*.mp4|DVD Vob Files(*.vob)|*.vob|QuickTime(*."
    "mov)|*.mov|Windows Video(*.WMV)|*.wmv| \t\tWindows Media File(*.asf)|*.asf|Real Media File (*.rm, "
    "*.rmvb)|*.rm;*.rmvb|Flash Video File(*.flv)|*.flv|All Files(*.*)|*.*||";

ExploreBarDlg* BrowserPanel() {
  auto* panel = static_cast<ExploreBarDlg*>(GetWindowRegistry()->m_pExploreBar);
  return panel != nullptr && panel->GetSafeHwnd() != nullptr ? panel : nullptr;
}

CListCtrl* BrowserFileList() {
  ExploreBarDlg* panel = BrowserPanel();
  CListCtrl* list = panel != nullptr ? panel->m_pFileList : nullptr;
  return list != nullptr && list->GetSafeHwnd() != nullptr ? list : nullptr;
}

const _tagBrowserItem* BrowserRow(CListCtrl* list, int row) {
  return reinterpret_cast<const _tagBrowserItem*>(list->GetItemData(row));
}

const CString* BrowserRowPath(const _tagBrowserItem* item) {
  return item != nullptr && item->nKind != 0 ? static_cast<const CString*>(item->pData) : nullptr;
}

// The rows in list order: the selected ones or all of them.
std::vector<int> BrowserRows(CListCtrl* list, bool selectedOnly) {
  std::vector<int> rows;
  if (list == nullptr) return rows;
  if (!selectedOnly) {
    for (int row = 0; row < list->GetItemCount(); ++row) rows.push_back(row);
    return rows;
  }
  for (int row = list->GetNextItem(-1, LVNI_SELECTED); row != -1; row = list->GetNextItem(row, LVNI_SELECTED))
    rows.push_back(row);
  return rows;
}

// The parent-folder row carries its folder with a trailing separator and never goes to an album.
bool IsParentFolderRow(const CString& path) {
  return !path.IsEmpty() && pictavo::path::IsSeparator(path[path.GetLength() - 1]);
}

CVideoAlbumPage* ClipPage() {
  auto* page = static_cast<CVideoAlbumPage*>(GetWindowRegistry()->m_pVideoClipPage);
  return page != nullptr && page->GetSafeHwnd() != nullptr ? page : nullptr;
}

void StopVideoPreview() {
  if (auto* preview = static_cast<CVideoPreviewContainer*>(GetWindowRegistry()->m_pVideoPreviewContainer);
      preview != nullptr && preview->GetSafeHwnd() != nullptr)
    preview->StopPreview();
}

CDVDAlbumImage* AsPhotoAlbum(CDVDAlbumBase* album) {
  return album != nullptr && album->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage)) ? static_cast<CDVDAlbumImage*>(album)
                                                                             : nullptr;
}

CDVDAlbumMovie* AsVideoAlbum(CDVDAlbumBase* album) {
  return album != nullptr && album->IsKindOf(RUNTIME_CLASS(CDVDAlbumMovie)) ? static_cast<CDVDAlbumMovie*>(album)
                                                                            : nullptr;
}

// The question before a dropped folder's photos are added. TRUE for Yes; `include` then says
// whether the subfolders come too.
BOOL AskAddFolderPhotos(LPCTSTR lpszFolder, BOOL* pInclude) {
  CString text;
  text.Format(LoadLangString(IDS_ADD_FOLDER_PHOTOS), lpszFolder);
  *pInclude = FALSE;
  return MessageBoxText(text, MB_YESNO) == IDYES;
}

// A path from a drop, whole however long it is.
CString DroppedPath(HDROP drop, UINT index) {
  const UINT length = DragQueryFile(drop, index, nullptr, 0);
  if (length == 0) return CString();
  std::vector<char> buffer(length + 1, '\0');
  DragQueryFile(drop, index, buffer.data(), length + 1);
  return CString(buffer.data());
}

}  // namespace

_DV_LIST_ITEM_DATA* InsertVideoFileChecked(CDVDAlbumMovie* pAlbum, _DV_LIST_ITEM_DATA* pPosition, LPCTSTR lpszPath,
                                           int nFlag) {
  if (pAlbum == nullptr || lpszPath == nullptr || *lpszPath == '\0') return nullptr;
  if (!pAlbum->IsKindOf(RUNTIME_CLASS(CDVDAlbumMovie))) return nullptr;
  _DV_LIST_ITEM_DATA* item = pAlbum->InsertVideoFile(lpszPath, lpszPath, pPosition, nFlag);
  if (item == nullptr) {
    WriteLog("The video file %s could not be read.", lpszPath);
    CString text;
    text.Format(LoadLangString(IDS_VIDEO_NOT_SUPPORTED), VideoFileDisplayName(lpszPath).GetString());
    CWnd* main = AfxGetMainWnd();
    if (::MessageBox(main != nullptr ? main->GetSafeHwnd() : nullptr, text, LoadLangString(IDS_ERROR_CAPTION),
                     MB_YESNO | MB_ICONEXCLAMATION) == IDYES)
      ::ShellExecute(nullptr, "open", LoadLangString(IDS_VIDEO_SUPPORT_PAGE), nullptr, nullptr, SW_SHOWNORMAL);
  }
  if (auto* editor = static_cast<AlbumEditorDlg*>(GetWindowRegistry()->m_pAlbumEditor);
      editor != nullptr && editor->GetSafeHwnd() != nullptr)
    editor->GetAlbumList().Invalidate();
  return item;
}

_DV_LIST_ITEM_DATA* InsertVideoFileAtEnd(CDVDAlbumMovie* pAlbum, LPCTSTR lpszPath) {
  return InsertVideoFileChecked(pAlbum, nullptr, lpszPath, 0);
}

BOOL AlbumEditorDlg::AddMusicToAlbum(CDVDAlbumBase** ppAlbum, LPCTSTR lpszPath, BOOL bPhotosPage, BOOL bKeepPage) {
  if (!bKeepPage) SelectPropPage(bPhotosPage ? 0 : 1);
  if (ppAlbum == nullptr) return FALSE;
  if (GetProject()->GetAlbumCount() == 0 || *ppAlbum == nullptr) *ppAlbum = CreatePhotoAlbum(TreeFolderAlbumName());
  if (!EnsureAlbumSelected()) return FALSE;
  AddMusicIfAccepted(AsPhotoAlbum(*ppAlbum), lpszPath);
  return TRUE;
}

BOOL AlbumEditorDlg::AddMusicFile(LPCTSTR lpszPath, BOOL bPhotosPage, BOOL bKeepPage) {
  if (!bKeepPage) SelectPropPage(bPhotosPage ? 0 : 1);
  CDVDProject* project = GetProject();
  if (project->GetAlbumCount() == 0) CreatePhotoAlbum(TreeFolderAlbumName());
  if (!EnsureAlbumSelected()) return FALSE;
  if (m_nActiveAlbumIndex >= 0 && m_nActiveAlbumIndex < project->GetAlbumCount())
    AddMusicIfAccepted(AsPhotoAlbum(project->GetAlbum(m_nActiveAlbumIndex)), lpszPath);
  return TRUE;
}

void AlbumEditorDlg::AddMusicIfAccepted(CDVDAlbumImage* pAlbum, LPCTSTR lpszPath) {
  if (pAlbum == nullptr || lpszPath == nullptr || *lpszPath == '\0') return;
  CFileStatus status{};
  if (!Zorv_CFileGetStatus(lpszPath, status, 0)) return;
  if (!IsMusicFileSizeAccepted(lpszPath, status.m_size)) return;
  if (!pAlbum->AddBackgroundMusic(lpszPath)) return;
  RedrawAlbumList();
  if (AlbumOptionsOneDlg* options = m_albumSheet.GetOptionsPage();
      options != nullptr && options->GetSafeHwnd() != nullptr && options->GetAlbum() == pAlbum) {
    options->FillMusicList(pAlbum);
    options->RebuildTimeline();
  }
}

int AlbumEditorDlg::AddMusic() {
  SelectPropPage(1);
  int music = 0;
  if (ExploreBarDlg* panel = BrowserPanel()) panel->CountSelectedItems(nullptr, &music, nullptr);
  if (music > 0) {
    CListCtrl* list = BrowserFileList();
    for (int row : BrowserRows(list, true)) {
      const _tagBrowserItem* item = BrowserRow(list, row);
      if (item != nullptr && item->nKind == 1)
        if (const CString* path = BrowserRowPath(item)) AddMusicFile(*path, FALSE, TRUE);
    }
  } else if (AlbumOptionsOneDlg* options = m_albumSheet.GetOptionsPage();
             options != nullptr && options->GetSafeHwnd() != nullptr) {
    options->AddMusicCommand();
  }
  return 0;
}

BOOL AlbumEditorDlg::AddVideoFile(CDVDAlbumBase** ppAlbum, LPCTSTR lpszPath) {
  if (ppAlbum == nullptr) return FALSE;
  StopVideoPreview();
  if (GetProject()->GetAlbumCount() == 0 || *ppAlbum == nullptr) *ppAlbum = NewVideoAlbum(nullptr);
  CDVDAlbumMovie* album = AsVideoAlbum(*ppAlbum);
  return album != nullptr && InsertVideoFileAtEnd(album, lpszPath) != nullptr;
}

BOOL AlbumEditorDlg::AddVideoFileAt(CDVDAlbumBase** ppAlbum, LPCTSTR lpszPath, _DV_LIST_ITEM_DATA* pPosition) {
  if (ppAlbum == nullptr) return FALSE;
  StopVideoPreview();
  if (*ppAlbum == nullptr) *ppAlbum = NewVideoAlbum(nullptr);
  CDVDAlbumMovie* album = AsVideoAlbum(*ppAlbum);
  const _DV_LIST_ITEM_DATA* item =
      album != nullptr ? InsertVideoFileChecked(album, pPosition, lpszPath, 0) : nullptr;
  PostStatusBarUpdate();
  UpdatePageButtons();
  return item != nullptr;
}

int AlbumEditorDlg::AddVideos() {
  const CString lastPath = ReadGeneralString("LastVideoPath");
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_EXPLORER, kVideoFilter, this);
  std::vector<char> names(kFileNameBuffer, '\0');
  dialog.m_ofn.lpstrFile = names.data();
  dialog.m_ofn.nMaxFile = kFileNameBuffer;
  if (!lastPath.IsEmpty()) dialog.m_ofn.lpstrInitialDir = lastPath;
  if (dialog.DoModal() != IDOK) return FALSE;
  const CString chosen = dialog.GetPathName();
  if (chosen.CompareNoCase(lastPath) != 0) WriteGeneralString("LastVideoPath", chosen);

  CDVDAlbumBase* slot = GetCurrentMovieAlbum();
  CDVDAlbumImage* photos = GetCurrentImageAlbum();
  for (POSITION pos = dialog.GetStartPosition(); pos != nullptr;) {
    const CString path = dialog.GetNextPathName(pos);
    if (IsVideoFileExt(FileExtOf(path))) AddVideoFileAt(&slot, path, nullptr);
  }
  RefreshAfterAdd(photos, AsVideoAlbum(slot), TRUE);
  SelectAddedImages();
  PostStatusBarUpdate();
  UpdatePageButtons();
  return TRUE;
}

void AlbumEditorDlg::AddBrowserRows(BOOL bAll, BOOL bPhotos, BOOL bVideos, BOOL bMusic) {
  CDVDAlbumBase* selected = GetSelectedAlbum();
  CDVDAlbumBase* photoSlot = AsPhotoAlbum(selected);
  CDVDAlbumBase* videoSlot = AsVideoAlbum(selected);
  ExploreBarDlg* panel = BrowserPanel();
  int photos = 0, videos = 0, music = 0;
  bool fallBack = panel == nullptr;
  if (panel != nullptr) {
    if (bAll) {
      panel->CountAllItems(&photos, &music, &videos);
      fallBack = photos == 0 && videos == 0;
    } else {
      CListCtrl* list = BrowserFileList();
      fallBack = list == nullptr || list->GetSelectedCount() == 0;
    }
  }
  if (fallBack) {
    if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_COMMAND, ID_ADD_PHOTOS_COMMAND, 0);
  } else {
    m_albumSheet.GetPhotoPage().DeselectAll();
    if (CVideoAlbumPage* clips = ClipPage()) clips->DeselectAll();
    StopVideoPreview();
    bool photosAdded = false, videoAdded = false;
    CListCtrl* list = BrowserFileList();
    for (int row : BrowserRows(list, !bAll)) {
      const _tagBrowserItem* item = BrowserRow(list, row);
      if (item == nullptr) continue;
      switch (item->nKind) {
        case 0:
          if (bAll || bPhotos) {
            AddBrowserPhotos(&photoSlot, static_cast<CDVDImage*>(item->pData));
            photosAdded = true;
          }
          break;
        case 1:
          if (bAll || bMusic)
            if (const CString* path = BrowserRowPath(item)) AddMusicToAlbum(&photoSlot, *path, FALSE, TRUE);
          break;
        case 3:
          if (bAll || bVideos)
            if (const CString* path = BrowserRowPath(item))
              videoAdded = AddVideoFile(&videoSlot, *path) || videoAdded;
          break;
        default:  // folders are walked by drops and the folder import, not here
          break;
      }
    }
    RedrawAlbumList();
    if (photosAdded) {
      SelectPropPage(0);
      m_albumSheet.GetPhotoPage().ReloadThumbnails();
    }
    if (videoAdded)
      if (CVideoAlbumPage* clips = ClipPage()) clips->ShowMovieAlbum(AsVideoAlbum(videoSlot));
    if (!photosAdded && !videoAdded) SelectPropPage(1);
  }
  ShowAlbumSheet(GetCurrentMovieAlbum() != nullptr ? 1 : 0, TRUE);
  PostStatusBarUpdate();
  UpdatePageButtons();
}

void AlbumEditorDlg::AddSelectedBrowserItems(BOOL bPhotos, BOOL bVideos, BOOL bMusic) {
  AddBrowserRows(FALSE, bPhotos, bVideos, bMusic);
}

void AlbumEditorDlg::AddAllBrowserItems() {
  AddBrowserRows(TRUE, TRUE, TRUE, TRUE);
}

void AlbumEditorDlg::OnDropFiles(HDROP hDropInfo) {
  const UINT count = DragQueryFile(hDropInfo, 0xFFFFFFFF, nullptr, 0);
  CDVDAlbumImage* photoAlbum = GetCurrentImageAlbum();
  CDVDAlbumMovie* videoAlbum = GetCurrentMovieAlbum();
  if (count > 0) ClearAddedImages();
  StopVideoPreview();
  bool asked = false, foldersAllowed = false;
  BOOL includeSubfolders = FALSE;
  for (UINT i = 0; i < count; ++i) {
    // Linux names differ by case alone: the path is kept exactly as dropped.
    const CString path = DroppedPath(hDropInfo, i);
    if (path.IsEmpty()) continue;
    CFileStatus status{};
    if (!Zorv_CFileGetStatus(path, status, 0)) continue;
    if ((status.m_attribute & CFile::directory) != 0) {
      if (!asked) {
        asked = true;
        foldersAllowed = AskAddFolderPhotos(path, &includeSubfolders) != FALSE;
      }
      if (foldersAllowed)
        if (ExploreBarDlg* panel = BrowserPanel())
          panel->AddFolderToAlbum(path, photoAlbum, videoAlbum, includeSubfolders, nullptr, nullptr);
      continue;
    }
    const CString ext = FileExtOf(path);
    if (IsPhotoFileExt(ext)) {
      CDVDAlbumBase* slot = photoAlbum;
      AddPhotoFile(&slot, path, nullptr, nullptr);
      photoAlbum = AsPhotoAlbum(slot);
    } else if (IsVideoFileExt(ext)) {
      CDVDAlbumBase* slot = videoAlbum;
      AddVideoFileAt(&slot, path, nullptr);
      videoAlbum = AsVideoAlbum(slot);
    }
  }
  DragFinish(hDropInfo);
  RefreshAfterAdd(photoAlbum, videoAlbum, TRUE);
}

int AlbumEditorDlg::DropBrowserItems(CDVDAlbumBase** ppPhotoAlbum, CDVDAlbumBase** ppVideoAlbum,
                                     CDVDImage* pPosition, _DV_LIST_ITEM_DATA* pClipPosition,
                                     LPCTSTR lpszAlbumName) {
  CListCtrl* list = BrowserFileList();
  if (list == nullptr || list->GetSelectedCount() == 0) return 1;
  CDVDAlbumBase* photoSlotLocal = nullptr;
  CDVDAlbumBase* videoSlotLocal = nullptr;
  CDVDAlbumBase** photoSlot = ppPhotoAlbum != nullptr ? ppPhotoAlbum : &photoSlotLocal;
  CDVDAlbumBase** videoSlot = ppVideoAlbum != nullptr ? ppVideoAlbum : &videoSlotLocal;
  ClearAddedImages();
  StopVideoPreview();
  bool photosAdded = false, asked = false;
  BOOL include = FALSE;
  for (int row : BrowserRows(list, true)) {
    const _tagBrowserItem* item = BrowserRow(list, row);
    if (item == nullptr) continue;
    const CString* path = BrowserRowPath(item);
    switch (item->nKind) {
      case 0:
        if (auto* slide = static_cast<CDVDImage*>(item->pData))
          photosAdded = AddPhotoFile(photoSlot, slide->Get_strPathName(), pPosition, lpszAlbumName) || photosAdded;
        break;
      case 2: {
        if (path == nullptr || IsParentFolderRow(*path)) break;
        if (!asked && HasSubfolders(*path)) {
          asked = true;
          BOOL subfolders = FALSE;
          include = AskAddFolderPhotos(*path, &subfolders) && subfolders;
        }
        if (ExploreBarDlg* panel = BrowserPanel()) {
          CDVDAlbumImage* photoAlbum = AsPhotoAlbum(*photoSlot);
          CDVDAlbumMovie* videoAlbum = AsVideoAlbum(*videoSlot);
          panel->AddFolderToAlbum(*path, photoAlbum, videoAlbum, include, pPosition, lpszAlbumName);
          if (photoAlbum != nullptr) *photoSlot = photoAlbum;
          if (videoAlbum != nullptr) *videoSlot = videoAlbum;
          photosAdded = true;
        }
        break;
      }
      case 1:
        if (path != nullptr) AddMusicFile(*path, FALSE, TRUE);
        break;
      case 3:
        if (path != nullptr) AddVideoFileAt(videoSlot, *path, pClipPosition);
        break;
      default:
        break;
    }
  }
  RefreshAfterAdd(*photoSlot, AsVideoAlbum(*videoSlot), photosAdded);
  UpdatePageButtons();
  return 1;
}
