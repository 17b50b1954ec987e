// The album editor's add operations: the Add Photos dialog, one photo file at a time for the
// other roads, browser rows, blank slides and slides dropped on the album list, with the shared
// rules for making an album on demand and refreshing the windows after a batch.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <unordered_set>
#include <vector>

#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumMessages.h"
#include "albums/AlbumRules.h"
#include "albums/ExploreBarDlg.h"
#include "albums/VideoAlbumPage.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "platform/comdlg/CommonDialogs.h"
#include "platform/kernel/Path.h"
#include "platform/shellapi/DragDrop.h"
#include "render/PhotoCache.h"
#include "shell/ARRegistry.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"

#define IDS_MY_SLIDESHOW 154

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
