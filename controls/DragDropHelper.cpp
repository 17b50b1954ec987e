#include "controls/DragDropHelper.h"

#include <algorithm>

#include "controls/AlbumListBox.h"
#include "modules/data/DVDAlbumBase.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/comctl/AfxListCtrl.h"
#include "platform/comctl/AfxTreeCtrl.h"
#include "platform/kernel/Module.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"

namespace {

constexpr COLORREF kMaskGreen = RGB(0, 255, 0);
constexpr UINT kMaskedImage = ILC_COLOR24 | ILC_MASK;

// A window object for a handle: the program's own object when there is one.
CWnd* WindowObject(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  if (CWnd* own = CWnd::FromHandlePermanent(hwnd)) return own;
  return CWnd::FromHandle(hwnd);
}

CDVDAlbumBase* AlbumOfItem(CMyListBoxA* list, int item) {
  if (item < 0 || item >= list->GetCount()) return nullptr;
  auto* object = reinterpret_cast<CObject*>(list->GetItemData(item));
  if (object == nullptr || !object->IsKindOf(RUNTIME_CLASS(CDVDAlbumBase))) return nullptr;
  return static_cast<CDVDAlbumBase*>(object);
}

void RedrawAlbumList(CMyListBoxA* list) {
  list->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  list->UpdateWindow();
}

void SetRowDropHighlight(CListCtrl* list, int row, BOOL on) {
  if (row < 0 || row >= list->GetItemCount()) return;
  list->SetItemState(row, on ? LVIS_DROPHILITED : 0, LVIS_DROPHILITED);
  list->RedrawItems(row, row);
}

// A one-image list of a bitmap, masked by `mask`.
CImageList* ImageListOf(CBitmap& bitmap, int cx, int cy, COLORREF mask) {
  auto* list = new CImageList;
  if (!list->Create(cx, cy, kMaskedImage, 0, 1) || list->Add(&bitmap, mask) < 0) {
    delete list;
    return nullptr;
  }
  return list;
}

}  // namespace

CWnd* GetDesktopWnd() {
  return CWnd::FromHandle(::GetDesktopWindow());
}

CImageList* CreatePaintedDragImage(SIZE size, COLORREF maskColour, const std::function<void(CDC&)>& paint) {
  if (size.cx <= 0 || size.cy <= 0) return nullptr;
  CClientDC screen(nullptr);
  CDC memory;
  memory.CreateCompatibleDC(&screen);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&screen, size.cx, size.cy);
  CBitmap* old = memory.SelectObject(&bitmap);
  memory.FillSolidRect(0, 0, size.cx, size.cy, ::GetSysColor(COLOR_WINDOW));
  LOGFONT logFont{};
  ::SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof logFont, &logFont, 0);
  CFont font;
  font.CreateFontIndirect(&logFont);
  CFont* oldFont = memory.SelectObject(&font);
  paint(memory);
  memory.SelectObject(oldFont);
  memory.SelectObject(old);
  auto* image = new CImageList;
  if (!image->Create(size.cx, size.cy, ILC_COLOR24 | ILC_MASK, 0, 1) || image->Add(&bitmap, maskColour) < 0) {
    delete image;
    return nullptr;
  }
  return image;
}

BOOL ImageListDragEnter(CWnd* window, int x, int y) {
  return ImageList_DragEnter(window != nullptr ? window->GetSafeHwnd() : nullptr, x, y);
}

CDragDropHelper::CDragDropHelper(CWnd* owner, BOOL alwaysDropCursor)
    : m_pOwner(owner), m_bAlwaysDropCursor(alwaysDropCursor) {
  m_hArrow = ::LoadCursor(nullptr, IDC_ARROW);
  m_hNoDrop = ::LoadCursor(nullptr, IDC_NO);
  m_hDrop = ::LoadCursor(::GetModuleHandle(nullptr), MAKEINTRESOURCE(IDC_DRAG_DROP));
  if (m_hDrop == nullptr) m_hDrop = m_hArrow;  // a program without its resources still drags
}

CDragDropHelper::~CDragDropHelper() {
  DeleteImage();
}

void CDragDropHelper::DeleteImage() {
  delete m_pDragImage;
  m_pDragImage = nullptr;
}

BOOL CDragDropHelper::IsTarget(CWnd* window) const {
  if (window == nullptr) return FALSE;
  for (INT_PTR i = 0; i < m_targets.GetSize(); ++i) {
    auto* target = static_cast<CWnd*>(m_targets[i]);
    if (target == window || (target != nullptr && target->GetSafeHwnd() == window->GetSafeHwnd()))
      return TRUE;
  }
  return FALSE;
}

BOOL CDragDropHelper::BeginDrag(const _tagDragInfo* info, LPARAM startArgument, const CPtrArray* targets) {
  if (info == nullptr) return FALSE;
  m_info = *info;
  if (!IsSourceValid() || m_info.pSource == nullptr) return FALSE;
  if (!PrepareStart(startArgument)) return FALSE;
  DeleteImage();
  m_targets.RemoveAll();
  if (targets != nullptr) m_targets.Copy(*targets);

  const POINT start = StartPoint(startArgument);
  POINT origin{0, 0};
  POINT hotSpot{8, 8};
  if (m_info.pfnImageCreator != nullptr) {
    m_pDragImage = m_info.pfnImageCreator(&m_info, &origin);
    if (m_info.nKind != DRAG_KIND_TREE_CTRL) hotSpot = POINT{start.x - origin.x, start.y - origin.y};
  } else {
    m_pDragImage = CreateDefaultImage(startArgument, &origin, &hotSpot);
  }
  if (m_pDragImage == nullptr) return FALSE;

  m_pSource = m_pCurrentTarget = m_info.pSource;
  m_nHighlighted = -1;
  ImageList_BeginDrag(m_pDragImage->GetSafeHandle(), 0, hotSpot.x, hotSpot.y);
  POINT screen = start;
  m_pSource->ClientToScreen(&screen);
  ImageListDragEnter(GetDesktopWnd(), screen.x, screen.y);
  if (m_pOwner != nullptr && ::IsWindow(m_pOwner->GetSafeHwnd())) m_pOwner->SetCapture();
  return TRUE;
}

void CDragDropHelper::ClearHighlight(CWnd* window) {
  if (window == nullptr || !::IsWindow(window->GetSafeHwnd())) return;
  if (window->IsKindOf(RUNTIME_CLASS(CListCtrl))) {
    auto* list = static_cast<CListCtrl*>(window);
    if (m_nHighlighted != -1) {
      SetRowDropHighlight(list, m_nHighlighted, FALSE);
    } else {
      const int count = list->GetItemCount();
      for (int i = 0; i < count; ++i) list->SetItemState(i, 0, LVIS_DROPHILITED);
      list->RedrawItems(0, count);
    }
    list->UpdateWindow();
  } else if (window->IsKindOf(RUNTIME_CLASS(CMyListBoxA))) {
    auto* list = static_cast<CMyListBoxA*>(window);
    if (m_nHighlighted != -1) {
      if (CDVDAlbumBase* album = AlbumOfItem(list, m_nHighlighted)) album->m_bDropHighlight = FALSE;
    } else {
      for (int i = 0; i < list->GetCount(); ++i)
        if (CDVDAlbumBase* album = AlbumOfItem(list, i)) album->m_bDropHighlight = FALSE;
    }
    RedrawAlbumList(list);
  }
  m_nHighlighted = -1;
}

void CDragDropHelper::DragOverImpl(UINT keyFlags, CPoint point, BOOL final) {
  if (!IsSourceValid() || !IsDragging() || m_pOwner == nullptr || !::IsWindow(m_pOwner->GetSafeHwnd()))
    return;
  CPoint screen = point;
  m_pOwner->ClientToScreen(&screen);
  ImageList_DragMove(screen.x, screen.y);
  ImageList_DragShowNolock(FALSE);
  OnFirstMove();

  CWnd* window = WindowObject(::WindowFromPoint(screen));
  const BOOL target = IsTarget(window);
  if (target)
    m_hLastCursor = m_bAlwaysDropCursor || (keyFlags & MK_CONTROL) != 0 ? m_hDrop : m_hArrow;
  else
    m_hLastCursor = m_hNoDrop;
  ::SetCursor(m_hLastCursor);

  const HWND current = m_pCurrentTarget != nullptr ? m_pCurrentTarget->GetSafeHwnd() : nullptr;
  if (window == nullptr || window->GetSafeHwnd() != current) ClearHighlight(m_pCurrentTarget);
  m_pCurrentTarget = window;
  if (window != nullptr) {
    CPoint local = screen;
    window->ScreenToClient(&local);
    const BOOL mayMark = target && (window != m_pSource || m_info.bDropOnSource);
    if (window->IsKindOf(RUNTIME_CLASS(CListCtrl))) {
      auto* list = static_cast<CListCtrl*>(window);
      const int hit = list->HitTest(local);
      if (final) {
        SetRowDropHighlight(list, m_nHighlighted, FALSE);
        list->UpdateWindow();
      } else if (hit != m_nHighlighted) {
        SetRowDropHighlight(list, m_nHighlighted, FALSE);
        m_nHighlighted = hit;
        if (mayMark && hit != -1) SetRowDropHighlight(list, hit, TRUE);
        list->UpdateWindow();
      }
    } else if (window->IsKindOf(RUNTIME_CLASS(CMyListBoxA))) {
      auto* list = static_cast<CMyListBoxA*>(window);
      BOOL outside = FALSE;
      int hit = static_cast<int>(list->ItemFromPoint(local, outside));
      if (hit < list->GetCount()) {
        CRect item;
        if (list->GetItemRect(hit, &item) == LB_ERR || !item.PtInRect(local)) hit = -1;
      } else {
        hit = -1;
      }
      if (final) {
        if (CDVDAlbumBase* album = AlbumOfItem(list, m_nHighlighted)) {
          album->m_bDropHighlight = FALSE;
          RedrawAlbumList(list);
        }
      } else if (hit != m_nHighlighted) {
        if (CDVDAlbumBase* album = AlbumOfItem(list, m_nHighlighted)) album->m_bDropHighlight = FALSE;
        m_nHighlighted = hit;
        if (mayMark)
          if (CDVDAlbumBase* album = AlbumOfItem(list, hit)) album->m_bDropHighlight = TRUE;
        RedrawAlbumList(list);
      }
    }
  }
  ImageList_DragShowNolock(TRUE);
}

BOOL CDragDropHelper::Drop(UINT keyFlags, CPoint point, HWND* source, HWND* target) {
  if (!IsSourceValid() || !IsDragging()) return FALSE;
  DragOverImpl(keyFlags, point, TRUE);
  ::ReleaseCapture();
  ImageList_DragLeave(::GetDesktopWindow());
  ImageList_EndDrag();

  CPoint screen = point;
  if (m_pOwner != nullptr && ::IsWindow(m_pOwner->GetSafeHwnd())) m_pOwner->ClientToScreen(&screen);
  CWnd* window = WindowObject(::WindowFromPoint(screen));
  BOOL dropped = FALSE;
  if (IsTarget(window)) {
    if (source != nullptr) *source = m_pSource != nullptr ? m_pSource->GetSafeHwnd() : nullptr;
    if (target != nullptr) *target = window->GetSafeHwnd();
    dropped = TRUE;
  }
  DeleteImage();
  m_pSource = m_pCurrentTarget = nullptr;
  m_nHighlighted = -1;
  return dropped;
}

// List box.

CListBoxDragHelper::CListBoxDragHelper(CWnd* owner, BOOL alwaysDropCursor)
    : CDragDropHelper(owner, alwaysDropCursor) {}

BOOL CListBoxDragHelper::IsSourceValid() {
  if (m_info.nKind != DRAG_KIND_LIST_BOX || m_info.pSource == nullptr) return FALSE;
  return (m_info.pSource->GetStyle() & LBS_MULTIPLESEL) == 0;
}

BOOL CListBoxDragHelper::PrepareStart(LPARAM) {
  return static_cast<CListBox*>(m_info.pSource)->GetCurSel() != LB_ERR;
}

POINT CListBoxDragHelper::StartPoint(LPARAM startArgument) const {
  return POINT{static_cast<short>(LOWORD(startArgument)), static_cast<short>(HIWORD(startArgument))};
}

CImageList* CListBoxDragHelper::CreateDefaultImage(LPARAM startArgument, POINT* origin, POINT* hotSpot) {
  auto* list = static_cast<CListBox*>(m_info.pSource);
  CRect item;
  if (list->GetItemRect(list->GetCurSel(), &item) == LB_ERR || item.IsRectEmpty()) return nullptr;
  // What the item shows on the screen now.
  CRect screen = item;
  list->ClientToScreen(&screen);
  CDC* screenDC = CDC::FromHandle(::GetDC(nullptr));
  CDC memory;
  memory.CreateCompatibleDC(screenDC);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(screenDC, item.Width(), item.Height());
  CBitmap* old = memory.SelectObject(&bitmap);
  memory.BitBlt(0, 0, item.Width(), item.Height(), screenDC, screen.left, screen.top, SRCCOPY);
  memory.SelectObject(old);
  ::ReleaseDC(nullptr, screenDC->GetSafeHdc());
  *origin = item.TopLeft();
  const POINT start = StartPoint(startArgument);
  *hotSpot = POINT{start.x - item.left, start.y - item.top};
  return ImageListOf(bitmap, item.Width(), item.Height(), kMaskGreen);
}

// List control.

CListCtrlDragHelper::CListCtrlDragHelper(CWnd* owner, BOOL alwaysDropCursor)
    : CDragDropHelper(owner, alwaysDropCursor) {}

BOOL CListCtrlDragHelper::IsSourceValid() {
  return m_info.nKind == DRAG_KIND_LIST_CTRL && m_info.pSource != nullptr;
}

BOOL CListCtrlDragHelper::PrepareStart(LPARAM) {
  return static_cast<CListCtrl*>(m_info.pSource)->GetSelectedCount() != 0;
}

POINT CListCtrlDragHelper::StartPoint(LPARAM startArgument) const {
  const auto* notify = reinterpret_cast<const NMLISTVIEW*>(startArgument);
  return notify != nullptr ? notify->ptAction : POINT{0, 0};
}

CImageList* CListCtrlDragHelper::BuildSelectionImage(CListCtrl* list, POINT* origin,
                                                     CImageList* (*rowImage)(CListCtrl*, int, POINT*)) {
  CRect client;
  list->GetClientRect(&client);
  const int count = list->GetItemCount();
  const int top = std::max(list->GetTopIndex(), 0);
  const int last = std::min(top + list->GetCountPerPage() - 1, count - 1);
  struct Row {
    int index;
    CRect rect;
  };
  CArray<Row, const Row&> rows;
  CRect all;
  for (int i = list->GetNextItem(top - 1, LVNI_SELECTED); i != -1 && i <= last;
       i = list->GetNextItem(i, LVNI_SELECTED)) {
    CRect rect;
    list->GetItemRect(i, &rect, LVIR_BOUNDS);
    if (rect.top > client.bottom) break;
    CRect seen;
    if (!seen.IntersectRect(&rect, &client)) continue;
    rect.left = std::max<LONG>(rect.left, 0);
    rect.right = std::min<LONG>(rect.right, client.right);
    rows.Add(Row{i, rect});
    if (all.IsRectEmpty())
      all = rect;
    else
      all.UnionRect(&all, &rect);
  }
  if (rows.GetSize() == 0 || all.IsRectEmpty()) return nullptr;

  CDC* screenDC = CDC::FromHandle(::GetDC(nullptr));
  CDC memory;
  memory.CreateCompatibleDC(screenDC);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(screenDC, all.Width(), all.Height());
  ::ReleaseDC(nullptr, screenDC->GetSafeHdc());
  CBitmap* old = memory.SelectObject(&bitmap);
  memory.FillSolidRect(0, 0, all.Width(), all.Height(), kMaskGreen);
  for (INT_PTR k = 0; k < rows.GetSize(); ++k) {
    const Row& row = rows[k];
    POINT ignored{};
    CImageList* image = rowImage != nullptr ? rowImage(list, row.index, &ignored)
                                            : list->CreateDragImage(row.index, &ignored);
    if (image == nullptr) continue;
    image->Draw(&memory, 0, CPoint(row.rect.left - all.left, row.rect.top - all.top), ILD_MASK);
    delete image;
  }
  memory.SelectObject(old);
  *origin = all.TopLeft();
  return ImageListOf(bitmap, all.Width(), all.Height(), kMaskGreen);
}

CImageList* CListCtrlDragHelper::CreateDefaultImage(LPARAM startArgument, POINT* origin, POINT* hotSpot) {
  CImageList* image = BuildSelectionImage(static_cast<CListCtrl*>(m_info.pSource), origin);
  const POINT start = StartPoint(startArgument);
  *hotSpot = POINT{start.x - origin->x, start.y - origin->y};
  return image;
}

BOOL CListCtrlDragHelper::Drop(UINT keyFlags, CPoint point, HWND* source, HWND* target) {
  if (!IsSourceValid() || !IsDragging()) {
    DeleteImage();
    return FALSE;
  }
  return CDragDropHelper::Drop(keyFlags, point, source, target);
}

// Tree control.

CTreeCtrlDragHelper::CTreeCtrlDragHelper(CWnd* owner, BOOL alwaysDropCursor)
    : CDragDropHelper(owner, alwaysDropCursor) {}

BOOL CTreeCtrlDragHelper::IsSourceValid() {
  return m_info.nKind == DRAG_KIND_TREE_CTRL && m_info.pSource != nullptr;
}

BOOL CTreeCtrlDragHelper::PrepareStart(LPARAM startArgument) {
  const auto* notify = reinterpret_cast<const NMTREEVIEW*>(startArgument);
  if (notify == nullptr) return FALSE;
  m_hDragged = notify->itemNew.hItem;
  m_bFirstMove = TRUE;
  return TRUE;
}

POINT CTreeCtrlDragHelper::StartPoint(LPARAM startArgument) const {
  const auto* notify = reinterpret_cast<const NMTREEVIEW*>(startArgument);
  return notify != nullptr ? notify->ptDrag : POINT{0, 0};
}

CImageList* CTreeCtrlDragHelper::CreateDefaultImage(LPARAM, POINT* origin, POINT* hotSpot) {
  *origin = POINT{0, 0};
  *hotSpot = POINT{8, 8};
  return static_cast<CTreeCtrl*>(m_info.pSource)->CreateDragImage(m_hDragged);
}

void CTreeCtrlDragHelper::OnFirstMove() {
  if (!m_bFirstMove) return;
  m_pSource->Invalidate(TRUE);
  m_pSource->UpdateWindow();
  m_bFirstMove = FALSE;
}
