// Files dropped on windows: a window that accepts files (DragAcceptFiles) receives
// WM_DROPFILES with an HDROP, reads it with DragQueryFile and DragQueryPoint and frees it with
// DragFinish. Drops come from other windows of this program and, on the SDL display, from the
// desktop (the display calls pictavo::shell::DropFiles).
#pragma once

#include <string>
#include <vector>

#include "platform/base/WinTypes.h"

// The HDROP's memory block: this header, then the file names, each NUL-terminated (wide when
// fWide), ended by a second NUL.
struct DROPFILES {
  DWORD pFiles;  // offset of the names from the start of the block
  POINT pt;      // the drop point, in client coordinates of the target
  BOOL fNC;      // the point lies in the target's non-client area
  BOOL fWide;
};
static_assert(sizeof(DROPFILES) == 20);
using LPDROPFILES = DROPFILES*;

// Sets or clears the window's WS_EX_ACCEPTFILES style.
void DragAcceptFiles(HWND hwnd, BOOL accept);
// index 0xFFFFFFFF: the number of files. `file` null: the length of name `index` without its
// NUL. Otherwise copies the name (cut to `size` - 1 bytes) and returns the bytes copied; 0 for
// an index out of range.
UINT DragQueryFile(HDROP drop, UINT index, LPSTR file, UINT size);
#define DragQueryFileA DragQueryFile
// The drop point in the target's client coordinates; TRUE when it lies in the client area.
BOOL DragQueryPoint(HDROP drop, POINT* point);
// Frees the HDROP.
void DragFinish(HDROP drop);

namespace pictavo::shell {

// Drops `paths` at `screenPoint` on `hwnd` (or, when null, on the window at that point): the
// window under the point among `hwnd` and its visible descendants, or its nearest ancestor that
// accepts files, is posted WM_DROPFILES with a new HDROP. The receiver frees it with DragFinish.
// FALSE (nothing posted) when no window there accepts files or `paths` is empty. Call it on the
// thread of the window.
BOOL DropFiles(HWND hwnd, POINT screenPoint, const std::vector<std::string>& paths);

// The HDROP itself (for a window that hands dropped files on): null when memory runs out.
HDROP MakeDrop(POINT clientPoint, BOOL nonClient, const std::vector<std::string>& paths);

}  // namespace pictavo::shell
