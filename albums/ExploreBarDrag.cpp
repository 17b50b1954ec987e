// Dragging the file browser's rows, or one folder of its tree, onto the album editor's windows:
// the start, the movement with the auto-scroll of the album list and the photo list, and the
// release, which decides from the window under the pointer what is added where.
#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumOptionsOneDlg.h"
#include "albums/AlbumPhotoDlg.h"
#include "albums/AlbumRules.h"
#include "albums/ExploreBarDlg.h"
#include "albums/ExploreBarRules.h"
#include "albums/FileTreeCtrl.h"
#include "albums/SmallAlbumDialogs.h"
#include "controls/DragDropHelper.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDImage.h"
#include "platform/comctl/AfxTreeCtrl.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"

#define IDS_ADD_FOLDER_PHOTOS 134

namespace {

CWnd* LiveWindow(void* slot) {
  auto* wnd = static_cast<CWnd*>(slot);
  return wnd != nullptr && wnd->GetSafeHwnd() != nullptr ? wnd : nullptr;
}

HWND HandleOf(CWnd* wnd) {
  return wnd != nullptr ? wnd->GetSafeHwnd() : nullptr;
}

AlbumEditorDlg* Editor() {
  return static_cast<AlbumEditorDlg*>(LiveWindow(GetWindowRegistry()->m_pAlbumEditor));
}

AlbumPhotoDlg* PhotoPage() {
  return static_cast<AlbumPhotoDlg*>(LiveWindow(GetWindowRegistry()->m_pAlbumPhotoDlg));
}

CWnd* MusicList() {
  CWnd* options = LiveWindow(GetWindowRegistry()->m_pAlbumOptionsOne);
  return options != nullptr ? options->GetDlgItem(IDC_OPTIONS_MUSIC_LIST) : nullptr;
}

// The question before a folder with subfolders is added: TRUE for Yes, `include` then whether
// its subfolders come too.
BOOL AskAddFolderPhotos(LPCTSTR lpszFolder, BOOL* pInclude) {
  CAddDirectoryDlg question;
  question.m_strMessage.Format(LoadLangString(IDS_ADD_FOLDER_PHOTOS), lpszFolder);
  *pInclude = FALSE;
  if (question.DoModal() != IDOK) return FALSE;
  *pInclude = question.m_bIncludeSubDirectories != 0;
  return TRUE;
}

// An album's two slots as the add operations take them: a photo album or a video album.
struct AlbumSlots {
  CDVDAlbumBase* photo = nullptr;
  CDVDAlbumBase* video = nullptr;
};
AlbumSlots SlotsOf(CDVDAlbumBase* album) {
  AlbumSlots slots;
  if (album == nullptr) return slots;
  if (album->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage)))
    slots.photo = album;
  else if (album->IsKindOf(RUNTIME_CLASS(CDVDAlbumMovie)))
    slots.video = album;
  return slots;
}

// The item data of the list row under a screen point, or null.
DWORD_PTR RowDataAt(CWnd* wnd, CPoint screen) {
  auto* list = static_cast<CListCtrl*>(wnd);
  if (list == nullptr || list->GetSafeHwnd() == nullptr) return 0;
  list->ScreenToClient(&screen);
  const int row = list->HitTest(screen);
  return row >= 0 ? list->GetItemData(row) : 0;
}

}  // namespace

void ExploreBarDlg::OnListBeginDrag(NMLISTVIEW* pNotify) {
  if (m_pListDrag == nullptr) return;
  CWindowRegistry* registry = GetWindowRegistry();
  CPtrArray targets;
  for (CWnd* target :
       {static_cast<CWnd*>(registry->m_pPhotoListCtrl), static_cast<CWnd*>(registry->m_pAlbumListBox),
        static_cast<CWnd*>(&m_list), static_cast<CWnd*>(registry->m_pAlbumOptionsOne), MusicList(),
        static_cast<CWnd*>(registry->m_pVideoClipListCtrl)})
    if (LiveWindow(target) != nullptr) targets.Add(target);
  // The photo and video lists set the flag for their own drags; this one comes from the browser.
  registry->m_nDragOrigin = 0;
  _tagDragInfo info;
  info.nKind = DRAG_KIND_LIST_CTRL;
  info.pSource = &m_list;
  if (m_bThumbnailView) info.pfnImageCreator = &ExploreBarDlg::CreateBrowserDragImage;
  info.nOwnerData[0] = m_bThumbnailView;
  m_pListDrag->BeginDrag(&info, reinterpret_cast<LPARAM>(pNotify), &targets);
}

void ExploreBarDlg::OnTreeBeginDrag(NMHDR* pNotify) {
  if (m_pTreeDrag == nullptr || m_pTree == nullptr) return;
  CWindowRegistry* registry = GetWindowRegistry();
  CPtrArray targets;
  for (CWnd* target :
       {static_cast<CWnd*>(registry->m_pPhotoListCtrl), static_cast<CWnd*>(registry->m_pAlbumListBox),
        static_cast<CWnd*>(m_pTree), static_cast<CWnd*>(registry->m_pVideoClipListCtrl)})
    if (LiveWindow(target) != nullptr) targets.Add(target);
  _tagDragInfo info;
  info.nKind = DRAG_KIND_TREE_CTRL;
  info.pSource = m_pTree;
  m_pTreeDrag->BeginDrag(&info, reinterpret_cast<LPARAM>(pNotify), &targets);
}

void ExploreBarDlg::StopAutoScrolls() {
  if (AlbumEditorDlg* editor = Editor()) editor->StopDragScroll();
  if (AlbumPhotoDlg* photos = PhotoPage()) photos->StopAutoScroll();
}

void ExploreBarDlg::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_pListDrag != nullptr && m_pListDrag->IsDragging()) {
    m_pListDrag->DragOver(nFlags, point);
    CWindowRegistry* registry = GetWindowRegistry();
    CWnd* target = m_pListDrag->GetCurrentTarget();
    AlbumEditorDlg* editor = Editor();
    AlbumPhotoDlg* photos = PhotoPage();
    auto direction = [&](CWnd* list) {
      CPoint inList = point;
      ClientToScreen(&inList);
      list->ScreenToClient(&inList);
      CRect client;
      list->GetClientRect(&client);
      return DragScrollDirection(client, inList);
    };
    if (target != nullptr && target == registry->m_pAlbumListBox && editor != nullptr) {
      const int scroll = direction(target);
      if (photos != nullptr) photos->StopAutoScroll();
      if (scroll != 0)
        editor->StartDragScroll(scroll);
      else
        editor->StopDragScroll();
    } else if (target != nullptr && target == registry->m_pPhotoListCtrl && photos != nullptr) {
      const int scroll = direction(target);
      if (editor != nullptr) editor->StopDragScroll();
      if (scroll != 0)
        photos->StartAutoScroll(scroll);
      else
        photos->StopAutoScroll();
    } else {
      StopAutoScrolls();
    }
  } else if (m_pTreeDrag != nullptr && m_pTreeDrag->IsDragging()) {
    m_pTreeDrag->DragOver(nFlags, point);
  } else {
    StopAutoScrolls();
  }
  CPropertyPage::OnMouseMove(nFlags, point);
}

void ExploreBarDlg::OnLButtonUp(UINT nFlags, CPoint point) {
  // Whatever the release does, the lists stop scrolling: a timer left running would scroll on
  // after the drag.
  StopAutoScrolls();
  if (m_pListDrag != nullptr && m_pListDrag->IsDragging())
    DropListRows(nFlags, point);
  else if (m_pTreeDrag != nullptr && m_pTreeDrag->IsDragging())
    DropTreeFolder(nFlags, point);
  CPropertyPage::OnLButtonUp(nFlags, point);
}

void ExploreBarDlg::OnCaptureChanged(CWnd* pWnd) {
  // The capture went elsewhere (another window took it, a menu opened): the drag is over.
  StopAutoScrolls();
  CPropertyPage::OnCaptureChanged(pWnd);
}

void ExploreBarDlg::OnCancelMode() {
  StopAutoScrolls();
  CPropertyPage::OnCancelMode();
}

void ExploreBarDlg::DropListRows(UINT nFlags, CPoint point) {
  HWND source = nullptr, target = nullptr;
  if (!m_pListDrag->Drop(nFlags, point, &source, &target)) return;
  if (source != m_list.GetSafeHwnd()) return;
  // The first selected row names a new album. The parent-folder row is never added, so it
  // neither names nor counts: with Ctrl+A it is the first row, and the album would be named
  // after the grandparent.
  const _tagBrowserItem* first = nullptr;
  int selected = 0;
  for (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row >= 0;
       row = m_list.GetNextItem(row, LVNI_SELECTED)) {
    const auto* item = reinterpret_cast<const _tagBrowserItem*>(m_list.GetItemData(row));
    if (item == nullptr ||
        (item->nKind == BROWSER_ROW_FOLDER && IsParentFolderRowPath(BrowserItemPath(item))))
      continue;
    ++selected;
    if (first == nullptr) first = item;
  }
  // Nothing selected, or only the parent-folder row: a way up, not something to add.
  if (first == nullptr) return;
  const CString name = DropAlbumName(first->nKind == BROWSER_ROW_MUSIC ? CString() : BrowserItemPath(first),
                                     selected, first->nKind == BROWSER_ROW_FOLDER);

  AlbumEditorDlg* editor = Editor();
  if (editor == nullptr) return;
  CWindowRegistry* registry = GetWindowRegistry();
  CPoint screen = point;
  ClientToScreen(&screen);
  CWnd* options = LiveWindow(registry->m_pAlbumOptionsOne);
  if (target == HandleOf(LiveWindow(registry->m_pPhotoListCtrl))) {
    AlbumSlots slots = SlotsOf(editor->GetSelectedAlbum());
    auto* position = reinterpret_cast<CDVDImage*>(RowDataAt(LiveWindow(registry->m_pPhotoListCtrl), screen));
    editor->DropBrowserItems(&slots.photo, &slots.video, position, nullptr, name);
  } else if (target == HandleOf(options) || target == HandleOf(MusicList())) {
    AlbumSlots slots = SlotsOf(editor->GetSelectedAlbum());
    editor->DropBrowserItems(&slots.photo, &slots.video, nullptr, nullptr, name);
  } else if (target == HandleOf(LiveWindow(registry->m_pAlbumListBox))) {
    auto* albums = static_cast<CListBox*>(registry->m_pAlbumListBox);
    CPoint inList = screen;
    albums->ScreenToClient(&inList);
    CRect client;
    albums->GetClientRect(&client);
    BOOL outside = TRUE;
    const int index = client.PtInRect(inList) ? static_cast<int>(albums->ItemFromPoint(inList, outside)) : -1;
    CRect itemRect;
    CDVDAlbumBase* album = nullptr;
    if (index >= 0 && index < albums->GetCount() && albums->GetItemRect(index, &itemRect) != LB_ERR &&
        itemRect.PtInRect(inList))
      album = static_cast<CDVDAlbumBase*>(albums->GetItemDataPtr(index));
    AlbumSlots slots = SlotsOf(album);
    editor->DropBrowserItems(&slots.photo, &slots.video, nullptr, nullptr, name);
    CDVDAlbumBase* shown = editor->GetSelectedAlbum();
    if (shown != slots.photo && shown != slots.video) {
      if (slots.photo != nullptr)
        editor->SelectAlbum(slots.photo);
      else if (slots.video != nullptr)
        editor->SelectAlbum(slots.video);
    }
  } else if (target == HandleOf(LiveWindow(registry->m_pVideoClipListCtrl))) {
    AlbumSlots slots = SlotsOf(editor->GetSelectedAlbum());
    auto* clip =
        reinterpret_cast<_DV_LIST_ITEM_DATA*>(RowDataAt(LiveWindow(registry->m_pVideoClipListCtrl), screen));
    editor->DropBrowserItems(&slots.photo, &slots.video, nullptr, clip, name);
  }
}

void ExploreBarDlg::DropTreeFolder(UINT nFlags, CPoint point) {
  HWND source = nullptr, target = nullptr;
  if (!m_pTreeDrag->Drop(nFlags, point, &source, &target) || source != HandleOf(m_pTree)) return;
  AlbumEditorDlg* editor = Editor();
  if (editor == nullptr) return;
  CWindowRegistry* registry = GetWindowRegistry();
  CWnd* albums = LiveWindow(registry->m_pAlbumListBox);
  CWnd* photoList = LiveWindow(registry->m_pPhotoListCtrl);
  if (target == nullptr || (target != HandleOf(albums) && target != HandleOf(photoList))) return;
  const CString path = TreeItemPath(m_pTreeDrag->GetDraggedItem());
  if (path.IsEmpty()) return;
  CPoint screen = point;
  ClientToScreen(&screen);

  BOOL subfolders = FALSE;
  if (HasSubfolders(path) && !AskAddFolderPhotos(path, &subfolders)) return;
  AlbumSlots slots;
  CDVDImage* position = nullptr;
  if (target == HandleOf(albums)) {
    slots = SlotsOf(editor->GetAlbumAtPoint(screen));
  } else {
    if (AlbumPhotoDlg* photos = PhotoPage()) position = photos->GetPhotoAtScreenPoint(screen.x, screen.y);
    slots.photo = editor->GetCurrentImageAlbum();
  }
  editor->ClearAddedImages();
  auto* photoAlbum = static_cast<CDVDAlbumImage*>(slots.photo);
  auto* videoAlbum = static_cast<CDVDAlbumMovie*>(slots.video);
  AddFolderToAlbum(path, photoAlbum, videoAlbum, subfolders, position, nullptr);
  editor->RefreshAfterAdd(photoAlbum, videoAlbum, TRUE);
}
