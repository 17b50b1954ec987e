#include "albums/AlbumPhotoDlg.h"

#include "albums/AlbumEditorDlg.h"
#include "albums/ExploreBarDlg.h"
#include "controls/DragDropHelper.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "platform/kernel/Path.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"

#define WM_TAKE_DRAG_CAPTURE (WM_APP + 17)

BEGIN_MESSAGE_MAP(AlbumPhotoDlg, CPropertyPage)
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_NOTIFY(LVN_BEGINDRAG, IDC_PHOTO_LIST, OnBeginDrag)
ON_MESSAGE(WM_TAKE_DRAG_CAPTURE, OnTakeDragCapture)
END_MESSAGE_MAP()

AlbumPhotoDlg::AlbumPhotoDlg() : CPropertyPage(IDD_ALBUM_PHOTO) {}

AlbumPhotoDlg::~AlbumPhotoDlg() {
  delete m_pDragHelper;
}

void AlbumPhotoDlg::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_PHOTO_LIST, m_list);
}

BOOL AlbumPhotoDlg::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_ALBUM_PHOTO);
  m_list.InsertColumn(0, "No.", LVCFMT_LEFT, 40);
  m_list.InsertColumn(1, "Name", LVCFMT_LEFT, 240);
  m_list.InsertColumn(2, "Rotation", LVCFMT_LEFT, 70);
  CWindowRegistry* slots = GetWindowRegistry();
  slots->m_pAlbumPhotoDlg = this;
  slots->m_pPhotoListCtrl = &m_list;
  m_pDragHelper = new CListCtrlDragHelper(this, FALSE);
  return TRUE;
}

void AlbumPhotoDlg::FillPhotoList(CDVDAlbumBase* pAlbum, BOOL) {
  m_list.DeleteAllItems();
  auto* album = pAlbum != nullptr && pAlbum->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage))
                    ? static_cast<CDVDAlbumImage*>(pAlbum)
                    : nullptr;
  m_pAlbum = album;
  if (album == nullptr) return;
  for (int i = 0; i < album->GetImageCount(); ++i) {
    CDVDImage* slide = album->GetImage(i);
    CString number, angle;
    number.Format("%02d", i + 1);
    angle.Format("%d", slide->Get_nRotateAngle());
    const int row = m_list.InsertItem(i, number);
    m_list.SetItemText(row, 1,
                       std::string(pictavo::path::FileName(slide->Get_strPathName().GetString())).c_str());
    m_list.SetItemText(row, 2, angle);
    m_list.SetItemData(row, reinterpret_cast<DWORD_PTR>(slide));
  }
}

void AlbumPhotoDlg::FillPhotoListByIndex(int nIndex, BOOL bWait) {
  CDVDProject* project = GetProject();
  if (nIndex < 0 || nIndex >= project->GetAlbumCount()) return;
  CDVDAlbumBase* album = project->GetAlbum(nIndex);
  if (album == nullptr || !album->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage))) return;
  FillPhotoList(album, bWait);
}

void AlbumPhotoDlg::SetAlbum(CDVDAlbumBase* pAlbum) {
  if (pAlbum == m_pAlbum) return;
  FillPhotoList(pAlbum, TRUE);
}

void AlbumPhotoDlg::UpdateButtonBar() {}
void AlbumPhotoDlg::ReloadThumbnails() {
  for (int row = 0; row < m_list.GetItemCount(); ++row) {
    const auto* slide = reinterpret_cast<const CDVDImage*>(m_list.GetItemData(row));
    CString angle;
    if (slide != nullptr) angle.Format("%d", slide->Get_nRotateAngle());
    m_list.SetItemText(row, 2, angle);
  }
}
void AlbumPhotoDlg::StopThumbnailLoader(int) {}
BOOL AlbumPhotoDlg::IsLoadingThumbnails() {
  return FALSE;
}

BOOL AlbumPhotoDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  auto* editor = static_cast<AlbumEditorDlg*>(GetWindowRegistry()->m_pAlbumEditor);
  switch (LOWORD(wParam)) {
    case 32918:
      if (editor != nullptr) editor->RemoveSelectedPhotos();
      return TRUE;
    case 32919:
      if (editor != nullptr) editor->RotateSelectedPhotos(90);
      return TRUE;
    case 32920:
      if (editor != nullptr) editor->RotateSelectedPhotos(270);
      return TRUE;
    case 32934:
      for (int i = 0; i < m_list.GetItemCount(); ++i) m_list.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
      return TRUE;
    default:
      return CPropertyPage::OnCommand(wParam, lParam);
  }
}

void AlbumPhotoDlg::OnSize(UINT nType, int cx, int cy) {
  CPropertyPage::OnSize(nType, cx, cy);
  if (m_list.GetSafeHwnd() != nullptr) m_list.MoveWindow(4, 4, cx - 8, cy - 8);
}

BOOL AlbumPhotoDlg::OnEraseBkgnd(CDC* pDC) {
  PaintAlbumPanel(this, pDC);
  return TRUE;
}

// Dragging selected rows onto another row of the list moves those slides before it.
void AlbumPhotoDlg::OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  if (m_pDragHelper == nullptr || m_pAlbum == nullptr) return;
  _tagDragInfo info;
  info.nKind = DRAG_KIND_LIST_CTRL;
  info.pSource = &m_list;
  info.bDropOnSource = TRUE;
  CPtrArray targets;
  targets.Add(&m_list);
  // The list lets the mouse go once this notification returns; the capture is taken after that.
  if (m_pDragHelper->BeginDrag(&info, reinterpret_cast<LPARAM>(pNMHDR), &targets))
    PostMessage(WM_TAKE_DRAG_CAPTURE);
}

LRESULT AlbumPhotoDlg::OnTakeDragCapture(WPARAM, LPARAM) {
  if (m_pDragHelper != nullptr && m_pDragHelper->IsDragging()) SetCapture();
  return 0;
}

void AlbumPhotoDlg::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_pDragHelper != nullptr && m_pDragHelper->IsDragging()) m_pDragHelper->DragOver(nFlags, point);
  CPropertyPage::OnMouseMove(nFlags, point);
}

void AlbumPhotoDlg::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_pDragHelper == nullptr || !m_pDragHelper->IsDragging()) {
    CPropertyPage::OnLButtonUp(nFlags, point);
    return;
  }
  HWND source = nullptr, target = nullptr;
  const BOOL dropped = m_pDragHelper->Drop(nFlags, point, &source, &target);
  if (::GetCapture() == m_hWnd) ReleaseCapture();
  if (dropped && target == m_list.GetSafeHwnd() && m_pAlbum != nullptr) {
    CPoint inList = point;
    ClientToScreen(&inList);
    m_list.ScreenToClient(&inList);
    const int row = m_list.HitTest(inList);
    CDVDImage* before = row >= 0 ? reinterpret_cast<CDVDImage*>(m_list.GetItemData(row)) : nullptr;
    CDVDImageArray moving;
    for (int r = m_list.GetNextItem(-1, LVNI_SELECTED); r >= 0; r = m_list.GetNextItem(r, LVNI_SELECTED))
      moving.Add(reinterpret_cast<CDVDImage*>(m_list.GetItemData(r)));
    if (moving.GetSize() > 0 && moving.IndexOf(before) < 0 && m_pAlbum->MoveDVDImagePos(before, moving)) {
      FillPhotoList(m_pAlbum, TRUE);
      for (int r = 0; r < m_list.GetItemCount(); ++r)
        if (moving.IndexOf(reinterpret_cast<CDVDImage*>(m_list.GetItemData(r))) >= 0)
          m_list.SetItemState(r, LVIS_SELECTED, LVIS_SELECTED);
    }
  }
  CPropertyPage::OnLButtonUp(nFlags, point);
}
