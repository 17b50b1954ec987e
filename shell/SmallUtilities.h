// Small drawing and formatting helpers that windows of several subsystems share.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"
#include "platform/mfc/GdiObjects.h"

class CDC;
class CImageList;

// "mm:ss" below one hour, "hh:mm:ss" from one hour up (whole seconds).
void FormatMilliseconds(DWORD dwMilliseconds, CString& strTime);

// Loads the bitmap file at a path relative to the executable's folder into `bitmap`, whose old
// bitmap is deleted. FALSE, with the bitmap untouched, when the file can't be loaded.
BOOL LoadBitmapFromExeFolder(LPCTSTR lpszRelativePath, CBitmap& bitmap);

// A new bitmap (owned by the caller), compatible with the screen, holding frame `nIndex` of a
// horizontal strip of frames `nFrameWidth` wide. Null when the strip holds no whole frame or the
// index is outside it.
HBITMAP CutBitmapFrame(CBitmap* pStrip, int nFrameWidth, int nIndex);

// Draws image `nImage` of the list into a new bitmap of the image's size, compatible with the DC,
// attached to `bitmap`. FALSE when the image can't be read.
BOOL ImageListImageToBitmap(CDC* pDC, CImageList* pImageList, int nImage, CBitmap& bitmap);
