// Image lists: equal-sized images (each with a transparency mask or its own alpha) kept in one
// bitmap, drawn by index; the drag image that follows the mouse during drag and drop.
// Any thread may use an image list; the drag image belongs to the thread that began the drag.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/gdi/GdiTypes.h"

// ImageList_Create flags.
#define ILC_MASK 0x00000001
#define ILC_COLOR 0x00000000
#define ILC_COLORDDB 0x000000FE
#define ILC_COLOR4 0x00000004
#define ILC_COLOR8 0x00000008
#define ILC_COLOR16 0x00000010
#define ILC_COLOR24 0x00000018
#define ILC_COLOR32 0x00000020
#define ILC_PALETTE 0x00000800
#define ILC_MIRROR 0x00002000
#define ILC_PERITEMMIRROR 0x00008000

// Drawing styles.
#define ILD_NORMAL 0x00000000
#define ILD_TRANSPARENT 0x00000001
#define ILD_BLEND25 0x00000002
#define ILD_BLEND50 0x00000004
#define ILD_MASK 0x00000010
#define ILD_IMAGE 0x00000020
#define ILD_ROP 0x00000040
#define ILD_OVERLAYMASK 0x00000F00
#define ILD_PRESERVEALPHA 0x00001000
#define ILD_SCALE 0x00002000
#define ILD_DPISCALE 0x00004000
#define ILD_SELECTED ILD_BLEND50
#define ILD_FOCUS ILD_BLEND25
#define ILD_BLEND ILD_BLEND50
#define CLR_HILIGHT CLR_DEFAULT

// Drawing states (IMAGELISTDRAWPARAMS::fState).
#define ILS_NORMAL 0x00000000
#define ILS_GLOW 0x00000001
#define ILS_SHADOW 0x00000002
#define ILS_SATURATE 0x00000004
#define ILS_ALPHA 0x00000008

// ImageList_Copy.
#define ILCF_MOVE 0x00000000
#define ILCF_SWAP 0x00000001

struct IMAGEINFO {
  HBITMAP hbmImage;
  HBITMAP hbmMask;  // null for a list without ILC_MASK
  int Unused1;
  int Unused2;
  RECT rcImage;  // where the image is in the two bitmaps
};
using LPIMAGEINFO = IMAGEINFO*;

struct IMAGELISTDRAWPARAMS {
  DWORD cbSize;
  HIMAGELIST himl;
  int i;
  HDC hdcDst;
  int x;
  int y;
  int cx;  // 0: the image width
  int cy;
  int xBitmap;  // offset into the image
  int yBitmap;
  COLORREF rgbBk;  // CLR_DEFAULT: the list's background colour; CLR_NONE: transparent
  COLORREF rgbFg;  // blend colour of ILD_BLEND*; CLR_DEFAULT: the highlight colour
  UINT fStyle;     // ILD_*
  DWORD dwRop;     // with ILD_ROP
  DWORD fState;    // ILS_*
  DWORD Frame;     // with ILS_ALPHA: the opacity 0..255
  COLORREF crEffect;
};
using LPIMAGELISTDRAWPARAMS = IMAGELISTDRAWPARAMS*;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST himl);
int ImageList_GetImageCount(HIMAGELIST himl);
BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT newCount);
// Bitmaps wider than the image size add one image per image width; the result is the index of
// the first one, -1 on failure.
int ImageList_Add(HIMAGELIST himl, HBITMAP image, HBITMAP mask);
// The mask comes from the pixels of colour `maskColor` (CLR_DEFAULT: the top-left pixel's),
// which become black in the image.
int ImageList_AddMasked(HIMAGELIST himl, HBITMAP image, COLORREF maskColor);
// index -1 appends. The icon is scaled to the image size.
int ImageList_ReplaceIcon(HIMAGELIST himl, int index, HICON icon);
inline int ImageList_AddIcon(HIMAGELIST himl, HICON icon) {
  return ImageList_ReplaceIcon(himl, -1, icon);
}
BOOL ImageList_Replace(HIMAGELIST himl, int index, HBITMAP image, HBITMAP mask);
// index -1 removes every image.
BOOL ImageList_Remove(HIMAGELIST himl, int index);
inline BOOL ImageList_RemoveAll(HIMAGELIST himl) {
  return ImageList_Remove(himl, -1);
}
// An icon of the image (the caller destroys it); flags are ILD_* (ILD_OVERLAYMASK draws the overlay).
HICON ImageList_GetIcon(HIMAGELIST himl, int index, UINT flags);
inline HICON ImageList_ExtractIcon(HINSTANCE, HIMAGELIST himl, int index) {
  return ImageList_GetIcon(himl, index, 0);
}
BOOL ImageList_GetImageInfo(HIMAGELIST himl, int index, IMAGEINFO* info);
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
// Changes the image size and removes every image.
BOOL ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy);
COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF color);
COLORREF ImageList_GetBkColor(HIMAGELIST himl);
// Makes image `image` the overlay number `overlay` (1..15) that ILD_OVERLAYMASK / INDEXTOOVERLAYMASK
// names.
BOOL ImageList_SetOverlayImage(HIMAGELIST himl, int image, int overlay);

BOOL ImageList_Draw(HIMAGELIST himl, int index, HDC dc, int x, int y, UINT style);
BOOL ImageList_DrawEx(HIMAGELIST himl, int index, HDC dc, int x, int y, int dx, int dy, COLORREF bk,
                      COLORREF fg, UINT style);
BOOL ImageList_DrawIndirect(IMAGELISTDRAWPARAMS* params);

// A new list of one image: image i2 of list 2 drawn over image i1 of list 1 at (dx, dy).
HIMAGELIST ImageList_Merge(HIMAGELIST himl1, int i1, HIMAGELIST himl2, int i2, int dx, int dy);
// Within one list (or between lists of the same image size): copies (ILCF_MOVE) or swaps
// (ILCF_SWAP) image iSrc with image iDst.
BOOL ImageList_Copy(HIMAGELIST himlDst, int iDst, HIMAGELIST himlSrc, int iSrc, UINT flags);
HIMAGELIST ImageList_Duplicate(HIMAGELIST himl);

// A list cut from a bitmap resource (or file with LR_LOADFROMFILE): cx is the image width (0: the
// bitmap's height); a mask colour other than CLR_NONE makes a masked list. Only IMAGE_BITMAP.
HIMAGELIST ImageList_LoadImageA(HINSTANCE instance, LPCSTR name, int cx, int grow, COLORREF maskColor,
                                UINT type, UINT flags);
#define ImageList_LoadImage ImageList_LoadImageA
inline HIMAGELIST ImageList_LoadBitmap(HINSTANCE instance, LPCSTR name, int cx, int grow,
                                       COLORREF maskColor) {
  return ImageList_LoadImage(instance, name, cx, grow, maskColor, IMAGE_BITMAP, 0);
}

// Drag images: one per process. BeginDrag copies the image; DragEnter shows it at (x, y) relative
// to the window's top-left corner (its window rectangle; the whole desktop for a null window),
// the hot spot under that point; DragMove moves it there. The image is a translucent top-level
// window that never takes the mouse.
BOOL ImageList_BeginDrag(HIMAGELIST himlTrack, int index, int dxHotspot, int dyHotspot);
void ImageList_EndDrag();
BOOL ImageList_DragEnter(HWND lock, int x, int y);
BOOL ImageList_DragLeave(HWND lock);
BOOL ImageList_DragMove(int x, int y);
BOOL ImageList_DragShowNolock(BOOL show);
// The drag's image list (null when no drag is on), its position and hot spot.
HIMAGELIST ImageList_GetDragImage(POINT* position, POINT* hotspot);
