// The video clip page's texts kept apart from the window: the row and tile texts of a clip and
// the name a refused file is reported by. Pure functions; tests/albums checks them by table.
#pragma once

#include <cstdint>

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

// The clip number column: 1 -> "0001".
CString ClipNumberText(int nNumber);
// Whole kilobytes rounded up, a comma before every group of three digits, then " KB". Sizes past
// 4 GB stay right: 1,500,000 -> "1,465 KB"; 0 -> "0 KB"; 5,000,000,000 -> "4,882,813 KB".
CString ClipSizeText(uint64_t nBytes);
// Milliseconds as "%02d:%02d:%02d": 62,500 -> "00:01:02"; 3,725,000 -> "01:02:05".
CString ClipTimeText(DWORD nMilliseconds);
// The play range's length: end minus start, 0 when the end is not after the start.
// (5,000, 67,500) -> "00:01:02".
CString ClipDurationText(DWORD nStart, DWORD nEnd);
// "%d x %d", with " (PAL)" or " (NTSC)" when the height names a TV system (576 or 480):
// (720, 576, TRUE) -> "720 x 576 (PAL)"; (720, 576, FALSE) -> "720 x 576".
CString ClipResolutionText(int nWidth, int nHeight, BOOL bTVSystem);
// The tile's range line: "00:00:05 ->  00:01:07".
CString ClipRangeText(DWORD nStart, DWORD nEnd);
// The name a file is reported by: its name and extension. "/v/Clip.MOV" -> "Clip.MOV".
CString VideoFileDisplayName(LPCTSTR lpszPath);
// Splits a clip's path into its name and its folder (the text before the last separator, "/" and
// "\" alike): "/v/a.mp4" -> ("a.mp4", "/v"); "a.mp4" -> ("a.mp4", "").
void SplitClipPath(LPCTSTR lpszPath, CString* pName, CString* pFolder);
