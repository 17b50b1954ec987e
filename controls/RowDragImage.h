// The drag picture of one list row, shared by the lists whose rows are dragged onto the timeline:
// the row's own picture follows the pointer (hot spot 8, 8) over the whole desktop while the list
// holds the capture. UI thread only.
#pragma once

#include <memory>

#include "platform/comctl/AfxImageList.h"
#include "platform/comctl/AfxListCtrl.h"

// Shows the picture of the notification's row at its action point and captures the mouse for the
// list. The picture is the caller's until the next drag; null when the row has none.
inline std::unique_ptr<CImageList> BeginRowDragImage(CListCtrl& list, const NMLISTVIEW& notify) {
  POINT origin{};
  std::unique_ptr<CImageList> image(list.CreateDragImage(notify.iItem, &origin));
  if (image != nullptr) {
    image->BeginDrag(0, CPoint(8, 8));
    CPoint at = notify.ptAction;
    list.ClientToScreen(&at);
    CImageList::DragEnter(nullptr, at);
  }
  list.SetCapture();
  return image;
}

// Takes the picture off the screen, sets the cursor and gives the capture back.
inline void EndRowDragImage(HWND list, HCURSOR cursor) {
  CImageList::DragLeave(nullptr);
  CImageList::EndDrag();
  ::SetCursor(cursor);
  if (::GetCapture() == list) ::ReleaseCapture();
}
