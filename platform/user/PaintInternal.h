// Internal: what painting and window DCs share.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/gdi/RegionData.h"

namespace pictavo::user::detail {

struct Window;

// Painting.cpp
// Forgets the painting state of a window and its descendants (they were hidden).
void DropPaintStateLocked(Window* w);
// Whether LockWindowUpdate's window is `w` or one of its ancestors.
bool IsUpdateLockedLocked(const Window* w);

// WindowDC.cpp
// A client DC clipped to `update` (client coordinates) and the visible part: BeginPaint's.
HDC GetDCForUpdate(HWND hwnd, const gdi::RegionData& update);

}  // namespace pictavo::user::detail
