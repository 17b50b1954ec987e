// Regions (HRGN) and the clipping of device contexts.
#pragma once

#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/RegionData.h"

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
// The same pixels RoundRect fills, minus its right column and bottom row, as on the platform:
// callers add one to right and bottom to cover a RoundRect exactly.
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const RECT* rect);
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
// Results: ERROR, NULLREGION, SIMPLEREGION (one rectangle) or COMPLEXREGION.
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN region, int dx, int dy);
BOOL PtInRegion(HRGN region, int x, int y);
BOOL RectInRegion(HRGN region, const RECT* rect);
int GetRgnBox(HRGN region, RECT* box);
BOOL EqualRgn(HRGN a, HRGN b);
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush);
BOOL FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height);
BOOL PaintRgn(HDC dc, HRGN region);
BOOL InvertRgn(HDC dc, HRGN region);

// The DC's clip region, in device coordinates. Results are region kinds (ERROR ...).
int SelectClipRgn(HDC dc, HRGN region);
int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
// The smallest rectangle around what can be drawn, in logical coordinates.
int GetClipBox(HDC dc, RECT* rect);
// Copies the selected clip region into `region`: 1, or 0 when none is selected, -1 on error.
int GetClipRgn(HDC dc, HRGN region);
BOOL PtVisible(HDC dc, int x, int y);
BOOL RectVisible(HDC dc, const RECT* rect);

namespace pictavo::gdi {
// The region's rectangles in y-x band order (rows top to bottom, left to right in a row).
std::vector<RECT> RegionRects(HRGN region);
// A copy of the region's pixels (empty for a bad handle), and a new region holding given ones.
RegionData RegionDataOf(HRGN region);
HRGN CreateRgnFromData(const RegionData& data);
}  // namespace pictavo::gdi
