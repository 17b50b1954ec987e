// The drag objects of the pages whose lists exchange items. A page owns one; it fills a
// _tagDragInfo, calls BeginDrag, then DragOver from its WM_MOUSEMOVE and Drop from its
// WM_LBUTTONUP. The object moves the drag image across the screen, sets the cursor, highlights
// the row or album under the cursor in the target lists, and at the drop says whether it landed
// on a target and which windows were involved: the page moves or copies the data itself. The
// owner holds the mouse capture during a drag. UI thread only.
#pragma once

#include <functional>

#include "platform/base/Array.h"
#include "platform/base/Object.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/mfc/Afx.h"

class CDC;
class CImageList;
class CListCtrl;
struct _tagDragInfo;

#define DRAG_KIND_LIST_CTRL 1
#define DRAG_KIND_TREE_CTRL 2
#define DRAG_KIND_LIST_BOX 3

// Cursor resource of the drop cursor.
#define IDC_DRAG_DROP 293

// Makes the drag image and writes its top-left corner (source client coordinates) to `origin`.
typedef CImageList* (*PFN_DRAG_IMAGE_CREATOR)(const _tagDragInfo* info, POINT* origin);

struct _tagDragInfo {
  int nKind = 0;           // DRAG_KIND_*
  DWORD dwOwnerValue = 0;  // the owner's; the drag object does not read it
  CWnd* pSource = nullptr;
  BOOL bDropOnSource = FALSE;  // rows of the source highlight too (reordering one list)
  PFN_DRAG_IMAGE_CREATOR pfnImageCreator = nullptr;
  int nOwnerData[4] = {};  // read only by the owner
};

class CDragDropHelper : public CObject {
 public:
  // alwaysDropCursor: the drop cursor over every target; otherwise the arrow there, and the drop
  // cursor only while Ctrl is held.
  CDragDropHelper(CWnd* owner, BOOL alwaysDropCursor);
  ~CDragDropHelper() override;
  CDragDropHelper(const CDragDropHelper&) = delete;
  CDragDropHelper& operator=(const CDragDropHelper&) = delete;

  // startArgument: see each class.
  virtual BOOL BeginDrag(const _tagDragInfo* info, LPARAM startArgument, const CPtrArray* targets);
  // point in the owner's client coordinates.
  virtual void DragOver(UINT keyFlags, CPoint point) { DragOverImpl(keyFlags, point, FALSE); }
  // TRUE when the point lies over a target; only then are the two handles written.
  virtual BOOL Drop(UINT keyFlags, CPoint point, HWND* source, HWND* target);
  virtual BOOL IsSourceValid() = 0;

  BOOL IsDragging() const { return m_pDragImage != nullptr && m_pSource != nullptr; }
  const _tagDragInfo& GetDragInfo() const { return m_info; }
  CWnd* GetCurrentTarget() const { return m_pCurrentTarget; }
  int GetHighlightedItem() const { return m_nHighlighted; }
  // The cursor the last DragOver set.
  HCURSOR GetLastCursor() const { return m_hLastCursor; }

 protected:
  // The class's own picture of the dragged items; null for none. Sets the hot spot.
  virtual CImageList* CreateDefaultImage(LPARAM startArgument, POINT* origin, POINT* hotSpot) = 0;
  // Whether the drag can start (a selection exists); the tree remembers its item.
  virtual BOOL PrepareStart(LPARAM startArgument) = 0;
  // The start point in the source's client coordinates.
  virtual POINT StartPoint(LPARAM startArgument) const = 0;
  virtual void OnFirstMove() {}
  void DragOverImpl(UINT keyFlags, CPoint point, BOOL final);
  void DeleteImage();
  BOOL IsTarget(CWnd* window) const;
  void ClearHighlight(CWnd* window);

  _tagDragInfo m_info;
  CWnd* m_pSource = nullptr;
  CWnd* m_pCurrentTarget = nullptr;
  CWnd* m_pOwner;
  int m_nHighlighted = -1;
  CImageList* m_pDragImage = nullptr;  // owned, only while dragging
  HCURSOR m_hArrow = nullptr;
  HCURSOR m_hNoDrop = nullptr;
  HCURSOR m_hDrop = nullptr;
  CPtrArray m_targets;
  HCURSOR m_hLastCursor = nullptr;
  BOOL m_bAlwaysDropCursor;
};

// Source: a list box (the album list, the clip-art list). Start argument MAKELONG(x, y) of the
// start point in the source's client coordinates.
class CListBoxDragHelper : public CDragDropHelper {
 public:
  CListBoxDragHelper(CWnd* owner, BOOL alwaysDropCursor);
  BOOL IsSourceValid() override;

 protected:
  CImageList* CreateDefaultImage(LPARAM startArgument, POINT* origin, POINT* hotSpot) override;
  BOOL PrepareStart(LPARAM startArgument) override;
  POINT StartPoint(LPARAM startArgument) const override;
};

// Source: a list control (the photo list, file list, video list). Start argument the NMLISTVIEW*
// of LVN_BEGINDRAG.
class CListCtrlDragHelper : public CDragDropHelper {
 public:
  CListCtrlDragHelper(CWnd* owner, BOOL alwaysDropCursor);
  BOOL IsSourceValid() override;
  BOOL Drop(UINT keyFlags, CPoint point, HWND* source, HWND* target) override;
  // The visible selected rows of a list drawn into one masked picture (green the mask colour):
  // each row through `rowImage`, or the list's own drag image when that is null. The union's
  // top-left corner is written to `origin`. Null without a visible selected row.
  static CImageList* BuildSelectionImage(CListCtrl* list, POINT* origin,
                                         CImageList* (*rowImage)(CListCtrl*, int, POINT*) = nullptr);

 protected:
  CImageList* CreateDefaultImage(LPARAM startArgument, POINT* origin, POINT* hotSpot) override;
  BOOL PrepareStart(LPARAM startArgument) override;
  POINT StartPoint(LPARAM startArgument) const override;
};

// Source: a tree control (the file browser's folder tree). Start argument the NMTREEVIEW* of
// TVN_BEGINDRAG.
class CTreeCtrlDragHelper : public CDragDropHelper {
 public:
  CTreeCtrlDragHelper(CWnd* owner, BOOL alwaysDropCursor);
  BOOL IsSourceValid() override;
  HTREEITEM GetDraggedItem() const { return m_hDragged; }

 protected:
  CImageList* CreateDefaultImage(LPARAM startArgument, POINT* origin, POINT* hotSpot) override;
  BOOL PrepareStart(LPARAM startArgument) override;
  POINT StartPoint(LPARAM startArgument) const override;
  void OnFirstMove() override;

 private:
  HTREEITEM m_hDragged = nullptr;
  BOOL m_bFirstMove = FALSE;
};

// A drag picture of `size` drawn by `paint` on the window colour with the icon-title font, in a
// new masked 24-bit image list (`maskColour` transparent); null when it cannot be made.
CImageList* CreatePaintedDragImage(SIZE size, COLORREF maskColour, const std::function<void(CDC&)>& paint);

// The desktop window as a window object.
CWnd* GetDesktopWnd();
// ImageList_DragEnter on the window's handle (the desktop for null).
BOOL ImageListDragEnter(CWnd* window, int x, int y);
