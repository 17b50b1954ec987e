// The photo list page's commands: its button bar, its menus and their enabling, blank slides,
// auto exposure and the album thumbnail.
#include <memory>

#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumOptionsOneDlg.h"
#include "albums/AlbumPhotoDlg.h"
#include "albums/PhotoListRows.h"
#include "editing/PhotoConfigDlg.h"
#include "modules/buttonbar/CoolButtonBar.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/image/CxImage.h"
#include "platform/comdlg/CommonDialogs.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/WinApp.h"
#include "shell/MainDlgRules.h"
#include "shell/PageEditorNew.h"
#include "shell/ProcessObjects.h"

namespace {

constexpr char kBlankImageFilter[] =
    "All Supported "
    "Formats(*.jpg;*.jpeg;*.tif;*.tiff;*.bmp;*.pcx;*.png)|*.jpg;*.jpeg;*.TIFF;*.BMP;*.PCX;*.PNG|"
    "JPEG (*.jpg;*.jpeg)|*.jpg;*.jpeg|TIFF(*.tif;*.tiff)|*.tif;*.tiff|Bitmap(*.bmp)|*.bmp|PNG "
    "(*.png)|*.png||";

AlbumOptionsOneDlg* OptionsPage() {
  return static_cast<AlbumOptionsOneDlg*>(GetWindowRegistry()->m_pAlbumOptionsOne);
}

// The options page is showing and the editor's album has a current slide: the commands that act
// on a selection act on that slide while the photo page is hidden.
CDVDImage* OptionsPageSlide(AlbumEditorDlg* editor) {
  AlbumOptionsOneDlg* options = OptionsPage();
  if (editor == nullptr || !::IsWindow(editor->GetSafeHwnd()) || options == nullptr ||
      !::IsWindow(options->GetSafeHwnd()) || !options->IsWindowVisible())
    return nullptr;
  CDVDAlbumImage* album = editor->GetCurrentImageAlbum();
  return album != nullptr ? album->m_pCurImage : nullptr;
}

}  // namespace

void AlbumPhotoDlg::UpdateButtonBar() {
  if (m_pBar == nullptr || m_pBar->GetSafeHwnd() == nullptr) return;
  const BOOL selected = m_list.GetSelectedCount() > 0;
  for (int button : {2, 3, 4, 5, 6}) {
    if (selected)
      m_pBar->EnableButton(button, FALSE);
    else
      m_pBar->DisableButton(button, FALSE);
  }
  const BOOL albums = GetProject()->GetAlbumCount() > 0;
  if (albums) {
    m_pBar->EnableButton(7, FALSE);
    m_pBar->EnableButton(8, TRUE);
  } else {
    m_pBar->DisableButton(7, FALSE);
    m_pBar->DisableButton(8, TRUE);
  }
  m_list.SetEmptyListText(!albums, 57477);
  m_pBar->Invalidate(FALSE);
}

void AlbumPhotoDlg::EnableButtonBar(BOOL bEnable) {
  if (m_pBar != nullptr && m_pBar->GetSafeHwnd() != nullptr) m_pBar->EnableWindow(bEnable);
}

LRESULT AlbumPhotoDlg::OnEnablePhotoBar(WPARAM wParam, LPARAM) {
  EnableButtonBar(static_cast<BOOL>(wParam));
  return 1;
}

LRESULT AlbumPhotoDlg::OnPhotoBarNotify(WPARAM wParam, LPARAM) {
  if (m_pBar != nullptr) m_pBar->RedrawWindow();
  switch (wParam) {
    case 0:
      OnAddButton();
      break;
    case 1:
      OnAddAllButton();
      break;
    case 2:
      RemoveSelected();
      break;
    case 3:
      RotateCounterclockwise();
      break;
    case 4:
      RotateClockwise();
      break;
    case 5:
      EditSelectedPhoto();
      break;
    case 6:
      ToggleAutoExposure();
      break;
    case 7:
      if (CWnd* main = AfxGetMainWnd()) main->SendMessage(WM_COMMAND, ID_ADD_MUSIC, 0);
      break;
    case 8:
      ShowMoreMenu();
      break;
    default:
      break;
  }
  return 1;
}

void AlbumPhotoDlg::OnAddButton() {
  // Adding the file browser's selected rows from here waits for the album editor's operation for
  // it; until then the button does what Add Photos of the main menu does.
  if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_COMMAND, ID_ADD_PHOTOS, 0);
}

void AlbumPhotoDlg::OnAddAllButton() {
  UpdateButtonBar();
}

void AlbumPhotoDlg::RemoveSelected() {
  if (AlbumEditorDlg* editor = Editor()) editor->RemoveSelectedPhotos();
  UpdateButtonBar();
}

void AlbumPhotoDlg::RotateClockwise() {
  if (AlbumEditorDlg* editor = Editor()) editor->RotateSelectedPhotos(90);
}

void AlbumPhotoDlg::RotateCounterclockwise() {
  if (AlbumEditorDlg* editor = Editor()) editor->RotateSelectedPhotos(270);
}

void AlbumPhotoDlg::OnSelectAll() {
  for (int i = 0; i < m_list.GetItemCount(); ++i) m_list.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
  m_list.RedrawWindow();
  UpdateButtonBar();
}

void AlbumPhotoDlg::OnAddBlankImage() {
  if (AlbumEditorDlg* editor = Editor()) editor->AddBlankSlide(nullptr, 0);
  UpdateButtonBar();
}

BOOL AlbumPhotoDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  AlbumEditorDlg* editor = Editor();
  switch (id) {
    case ID_PHOTO_SELECT_ALL:
      OnSelectAll();
      return TRUE;
    case ID_PHOTO_REMOVE:
      RemoveSelected();
      return TRUE;
    case ID_PHOTO_REMOVE_ALL:
      OnSelectAll();
      RemoveSelected();
      return TRUE;
    case ID_PHOTO_ROTATE_CW:
      RotateClockwise();
      return TRUE;
    case ID_PHOTO_ROTATE_CCW:
      RotateCounterclockwise();
      return TRUE;
    case ID_PHOTO_EDIT:
      EditSelectedPhoto();
      return TRUE;
    case ID_PHOTO_CUSTOM_TRANSITION:
      OpenPhotoConfigDlg(1);
      return TRUE;
    case ID_PHOTO_SET_ALBUM_THUMBNAIL:
      OnSetAsAlbumThumbnail();
      return TRUE;
    case ID_PHOTO_AUTO_EXPOSURE:
      ToggleAutoExposure();
      return TRUE;
    case ID_PHOTO_RANDOMIZE:
      if (editor != nullptr && ::IsWindow(editor->GetSafeHwnd())) editor->RandomizeSlideOrder();
      return TRUE;
    case ID_PHOTO_REARRANGE:
      if (editor != nullptr && ::IsWindow(editor->GetSafeHwnd())) editor->RearrangeToViewOrder();
      return TRUE;
    case ID_ALBUM_FULL_SCREEN:
      if (editor != nullptr && ::IsWindow(editor->GetSafeHwnd()))
        editor->PostMessage(WM_COMMAND, ID_ALBUM_FULL_SCREEN, 0);
      return TRUE;
    case ID_PHOTO_VIEW_DETAILS:
      if (m_bThumbnailView) {
        SetDetailsView();
        CHeaderCtrl* header = m_list.GetHeaderCtrl();
        CRect client;
        m_list.GetClientRect(&client);
        if (header != nullptr) {
          const int columns = header->GetItemCount();
          int total = 0;
          for (int i = 0; i < columns; ++i) total += m_list.GetColumnWidth(i);
          if (columns > 0 && total < client.Width())
            m_list.SetColumnWidth(columns - 1, m_list.GetColumnWidth(columns - 1) + client.Width() - total);
        }
      }
      return TRUE;
    case ID_PHOTO_VIEW_THUMBNAILS:
      if (!m_bThumbnailView) SetThumbnailView();
      return TRUE;
    case ID_BLANK_SLIDE_COLOR:
      OnBlankSlideColor();
      return TRUE;
    case ID_PHOTO_ADD_BLANK:
      OnAddBlankImage();
      return TRUE;
    default:
      if (id >= ID_BLANK_IMAGE_FIRST && id <= ID_BLANK_IMAGE_LAST) {
        OnBlankImageMenu(id);
        return TRUE;
      }
      return CPropertyPage::OnCommand(wParam, lParam);
  }
}

void AlbumPhotoDlg::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
  CPropertyPage::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
  if (pPopupMenu == nullptr) return;
  PhotoMenuFacts facts;
  facts.rows = m_list.GetItemCount();
  facts.selected = static_cast<int>(m_list.GetSelectedCount());
  if (facts.selected == 1) {
    CDVDImage* slide = SlideOfRow(m_list.GetNextItem(-1, LVNI_SELECTED));
    facts.singleSelectionIsPhoto = slide != nullptr && slide->Get_nImageType() == DVD_IMAGE_PHOTO;
  }
  facts.pageVisible = IsWindowVisible();
  facts.optionsHasCurrentSlide = OptionsPageSlide(Editor()) != nullptr;
  facts.loaderRunning = IsLoadingThumbnails();
  const int count = static_cast<int>(pPopupMenu->GetMenuItemCount());
  for (int i = 0; i < count; ++i) {
    const UINT id = pPopupMenu->GetMenuItemID(i);
    if (id == ID_PHOTO_VIEW_DETAILS)
      pPopupMenu->CheckMenuItem(id, MF_BYCOMMAND | (m_bThumbnailView ? MF_UNCHECKED : MF_CHECKED));
    else if (id == ID_PHOTO_VIEW_THUMBNAILS)
      pPopupMenu->CheckMenuItem(id, MF_BYCOMMAND | (m_bThumbnailView ? MF_CHECKED : MF_UNCHECKED));
    const int enabled = PhotoCommandEnabled(id, facts);
    if (enabled >= 0)
      pPopupMenu->EnableMenuItem(id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED | MF_DISABLED));
  }
  pPopupMenu->EnableMenuItem(ID_ALBUM_FULL_SCREEN,
                             MF_BYCOMMAND | (facts.rows > 0 ? MF_ENABLED : MF_GRAYED | MF_DISABLED));
}

void AlbumPhotoDlg::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
  CPropertyPage::OnMenuSelect(nItemID, nFlags, hSysMenu);
  if (hSysMenu == nullptr && m_pBar != nullptr) m_pBar->RedrawWindow();
}

void AlbumPhotoDlg::OnContextMenu(CWnd* pWnd, CPoint point) {
  auto* organize = static_cast<CPageEditorNew*>(GetWindowRegistry()->m_pPageEditorNew);
  if (pWnd != &m_list || organize == nullptr) return;
  if (CMenu* popup = organize->GetPopupEditor()) {
    if (point.x == -1 && point.y == -1) point = KeyboardMenuPoint();
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, AfxGetMainWnd());
  }
}

CPoint AlbumPhotoDlg::KeyboardMenuPoint() {
  // From the keyboard the menu opens below the focused slide (or the first selected one), else
  // at the list's top-left corner.
  int row = m_list.GetNextItem(-1, LVNI_FOCUSED);
  if (row == -1) row = m_list.GetNextItem(-1, LVNI_SELECTED);
  CRect client;
  m_list.GetClientRect(&client);
  CPoint point(client.left + 4, client.top + 4);
  CRect item;
  if (row != -1 && m_list.GetItemRect(row, &item, LVIR_BOUNDS) && client.PtInRect(item.CenterPoint()))
    point = CPoint(item.left + item.Width() / 2, item.bottom - 4);
  m_list.ClientToScreen(&point);
  return point;
}

void AlbumPhotoDlg::ShowMoreMenu() {
  auto* organize = static_cast<CPageEditorNew*>(GetWindowRegistry()->m_pPageEditorNew);
  if (organize == nullptr || m_pBar == nullptr) return;
  CMenu* popup = organize->GetPopupEditorMore();
  if (popup == nullptr) return;
  CRect bar;
  m_pBar->GetWindowRect(&bar);
  popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, bar.left + 616, bar.top + 25, AfxGetMainWnd());
}

void AlbumPhotoDlg::OnSetAsAlbumThumbnail() {
  CDVDImage* slide = nullptr;
  if (IsWindowVisible()) {
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (row == -1) return;
    slide = SlideOfRow(row);
  } else if (AlbumEditorDlg* editor = Editor()) {
    if (CDVDAlbumImage* album = editor->GetCurrentImageAlbum()) slide = album->m_pCurImage;
  }
  if (slide == nullptr || slide->GetAlbum() == nullptr) return;
  slide->GetAlbum()->Set_pAlbumImage(slide);
  if (auto* albumList = static_cast<CWnd*>(GetWindowRegistry()->m_pAlbumListBox))
    albumList->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void AlbumPhotoDlg::ToggleAutoExposure() {
  auto toggle = [](CDVDImage* slide) {
    CxImage* thumbnail = slide->GetThumbnail(0, 0);
    if (thumbnail == nullptr) return;
    auto copy = std::make_unique<CxImage>();
    copy->Copy(*thumbnail, true, true, true);
    slide->ToggleAutoAdjustExposure(copy.get());
    if (slide->GetAlbum() != nullptr) slide->GetAlbum()->MarkChanged();
  };
  if (IsWindowVisible()) {
    CDVDImageArray slides;
    GetSelectedSlides(slides);
    for (INT_PTR i = 0; i < slides.GetSize(); ++i) toggle(slides[i]);
  } else if (CDVDImage* slide = OptionsPageSlide(Editor())) {
    toggle(slide);
    if (AlbumOptionsOneDlg* options = OptionsPage()) options->RepaintTimeline();
  }
  ReloadThumbnails();
}

void AlbumPhotoDlg::OnBlankSlideColor() {
  if (m_list.GetSelectedCount() == 0) return;
  CColorDialog dialog(0, 0, this);
  if (dialog.DoModal() != IDOK) return;
  const COLORREF colour = dialog.GetColor();
  if (AlbumEditorDlg* editor = Editor()) editor->m_clrBlankSlide = colour;
  CDVDImageArray slides;
  GetSelectedSlides(slides);
  int changed = 0;
  for (INT_PTR i = 0; i < slides.GetSize(); ++i) {
    if (slides[i]->Get_nImageType() != DVD_IMAGE_BLANK_COLOR) continue;
    slides[i]->Set_clrBackground(colour);
    if (slides[i]->GetAlbum() != nullptr) slides[i]->GetAlbum()->MarkChanged();
    ++changed;
  }
  if (changed > 0) ReloadThumbnails();
}

void AlbumPhotoDlg::OnBlankImageMenu(UINT nID) {
  AlbumEditorDlg* editor = Editor();
  if (editor == nullptr) return;
  editor->SelectPropPage(0);
  if (!::IsWindow(editor->GetSafeHwnd())) return;
  const int index = static_cast<int>(nID) - (ID_BLANK_IMAGE_FIRST - 1);
  if (index >= 1 && index <= 16) {
    editor->m_clrBlankSlide = BlankSlidePaletteColour(index);
    editor->AddBlankSlide(nullptr, editor->m_clrBlankSlide);
  } else if (index == 17) {
    CColorDialog dialog(editor->m_clrBlankSlide, CC_FULLOPEN, this);
    if (dialog.DoModal() == IDOK) {
      editor->m_clrBlankSlide = dialog.GetColor();
      editor->AddBlankSlide(nullptr, editor->m_clrBlankSlide);
    }
  } else if (index == 18) {
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_EXPLORER, kBlankImageFilter, this);
    CString folder;
    folder.Format("%s/blank_images", static_cast<LPCTSTR>(CDVDProject::GetExeFilePath()));
    dialog.m_ofn.lpstrInitialDir = folder;
    if (dialog.DoModal() == IDOK) {
      const CString path = dialog.GetPathName();
      if (IsBlankSlidePicture(path)) editor->AddBlankSlide(path, 0);
    }
  }
  UpdateButtonBar();
}

void AlbumPhotoDlg::OpenPhotoConfigDlg(int nMode) {
  AlbumEditorDlg* editor = Editor();
  CDVDAlbumImage* album = editor != nullptr ? editor->GetCurrentImageAlbum() : nullptr;
  if (album == nullptr) return;
  CPhotoConfigDlg dlg(nMode, nullptr);
  const BOOL visible = IsWindowVisible();
  CDVDImage* start = nullptr;
  if (!visible) {
    start = album->m_pCurImage != nullptr ? album->m_pCurImage : album->GetImage(0);
  } else if (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row >= 0) {
    start = SlideOfRow(row);
    for (; row >= 0; row = m_list.GetNextItem(row, LVNI_SELECTED))
      if (const int index = album->IndexOf(SlideOfRow(row)); index >= 0) dlg.GetSubset().Add(index);
  } else {
    start = album->GetImage(0);
  }
  dlg.SetCurrentImage(start);
  dlg.DoModal();
  if (visible) {
    RedrawVisibleRows();
  } else if (auto* options = static_cast<AlbumOptionsOneDlg*>(GetWindowRegistry()->m_pAlbumOptionsOne);
             options != nullptr && options->GetSafeHwnd() != nullptr) {
    options->RepaintTimeline();
  }
  // The dialog may have left the album (a new project): take the editor's album again.
  if (CDVDAlbumImage* after = editor->GetCurrentImageAlbum(); after == album) {
    album->m_pCurImage = dlg.GetCurrentImage();
    album->Set_bFirstTransActive(1);
  }
}
