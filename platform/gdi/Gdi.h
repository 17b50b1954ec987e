// The drawing API: device contexts, drawing objects, bitmaps, blits, shapes, text and icons.
// Every function may be called from any thread; one DC is used by one thread at a time
// (calls on the same DC from two threads are serialised, not interleaved within a call).
#pragma once

#include <functional>
#include <string>

#include "platform/base/WinTypes.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Region.h"

// Device contexts.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int savedDC);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
int SetROP2(HDC dc, int rop2);
int GetROP2(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
int SetTextCharacterExtra(HDC dc, int extra);
int GetTextCharacterExtra(HDC dc);
COLORREF SetDCBrushColor(HDC dc, COLORREF color);
COLORREF GetDCBrushColor(HDC dc);
COLORREF SetDCPenColor(HDC dc, COLORREF color);
COLORREF GetDCPenColor(HDC dc);
BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* previous);
BOOL GetBrushOrgEx(HDC dc, POINT* origin);
// Only MM_TEXT is supported: one logical unit is one pixel, y grows downwards.
int SetMapMode(HDC dc, int mode);
int GetMapMode(HDC dc);
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* previous);
BOOL GetViewportOrgEx(HDC dc, POINT* origin);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* previous);
BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* previous);
BOOL GetWindowOrgEx(HDC dc, POINT* origin);
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* previous);
BOOL LPtoDP(HDC dc, POINT* points, int count);
BOOL DPtoLP(HDC dc, POINT* points, int count);
BOOL GetCurrentPositionEx(HDC dc, POINT* position);
int GetDeviceCaps(HDC dc, int index);
BOOL GdiFlush();

// Objects.
BOOL DeleteObject(HGDIOBJ object);
int GetObjectA(HGDIOBJ object, int size, LPVOID buffer);
#define GetObject GetObjectA
DWORD GetObjectType(HGDIOBJ object);
HGDIOBJ GetStockObject(int index);
BOOL UnrealizeObject(HGDIOBJ object);
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
// An 8x8 pattern from the bitmap's top-left corner. A monochrome pattern takes the DC's text
// colour for its 0 bits and background colour for its 1 bits when drawn.
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
DWORD GetSysColor(int index);
BOOL SetSysColors(int count, const int* indexes, const COLORREF* colors);
HBRUSH GetSysColorBrush(int index);
HPALETTE CreatePalette(const LOGPALETTE* palette);
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
UINT RealizePalette(HDC dc);
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
// The device's hardware palette: 0 and nothing written on a device without one (every display
// here is true colour), as on a true-colour Windows display.
UINT GetSystemPaletteEntries(HDC dc, UINT start, UINT count, PALETTEENTRY* entries);
COLORREF GetNearestColor(HDC dc, COLORREF color);

// Bitmaps.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateBitmapIndirect(const BITMAP* bitmap);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);
HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage);
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info, UINT usage);
int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage);
int StretchDIBits(HDC dc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage,
                  DWORD rop);
int SetDIBitsToDevice(HDC dc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                      UINT startScan, UINT scanLines, const void* bits, const BITMAPINFO* info, UINT usage);
LONG GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits);
LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits);
HANDLE CopyImage(HANDLE image, UINT type, int width, int height, UINT flags);
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height, UINT flags);
#define LoadImage LoadImageA
HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name);
#define LoadBitmap LoadBitmapA

// Drawing.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* rect);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
BOOL LineTo(HDC dc, int x, int y);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
BOOL SetPixelV(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);
// Fills, with the selected brush, the 4-connected area around (x, y) that has the colour
// (FLOODFILLSURFACE) or that the colour bounds (FLOODFILLBORDER).
BOOL ExtFloodFill(HDC dc, int x, int y, COLORREF color, UINT type);
BOOL FloodFill(HDC dc, int x, int y, COLORREF color);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop);
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth,
                int srcHeight, DWORD rop);
BOOL AlphaBlend(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth,
                int srcHeight, BLENDFUNCTION blend);
BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, UINT transparent);
BOOL DrawFocusRect(HDC dc, const RECT* rect);
BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags);
BOOL DrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state);
BOOL DrawStateA(HDC dc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM data, WPARAM wData, int x, int y, int cx,
                int cy, UINT flags);
#define DrawState DrawStateA

// Icons: a colour bitmap and a monochrome mask (AND mask, 1 = transparent); a 32-bit colour
// bitmap with alpha is blended by its alpha instead.
HICON CreateIconIndirect(ICONINFO* info);
BOOL GetIconInfo(HICON icon, ICONINFO* info);
BOOL DestroyIcon(HICON icon);
HICON CopyIcon(HICON icon);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH flickerFree,
                UINT flags);

// Fonts and text. Text is UTF-8; the W forms take wide text.
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR face);
#define CreateFont CreateFontA
HFONT CreateFontIndirectA(const LOGFONTA* font);
#define CreateFontIndirect CreateFontIndirectA
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
#define TextOut TextOutA
BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count);
BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                 const INT* dx);
#define ExtTextOut ExtTextOutA
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const INT* dx);
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, SIZE* size);
#define GetTextExtentPoint32 GetTextExtentPoint32A
#define GetTextExtentPoint GetTextExtentPoint32A
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, SIZE* size);
BOOL GetTextExtentExPointA(HDC dc, LPCSTR text, int count, int maxExtent, int* fit, int* dx, SIZE* size);
#define GetTextExtentExPoint GetTextExtentExPointA
BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);
#define GetTextMetrics GetTextMetricsA
int GetTextFaceA(HDC dc, int count, LPSTR face);
#define GetTextFace GetTextFaceA
BOOL GetCharWidth32A(HDC dc, UINT first, UINT last, INT* widths);
#define GetCharWidth32 GetCharWidth32A
#define GetCharWidth GetCharWidth32A
int DrawTextA(HDC dc, LPCSTR text, int count, RECT* rect, UINT format);
#define DrawText DrawTextA
int DrawTextW(HDC dc, LPCWSTR text, int count, RECT* rect, UINT format);
int EnumFontsA(HDC dc, LPCSTR face, FONTENUMPROCA proc, LPARAM data);
#define EnumFonts EnumFontsA
int EnumFontFamiliesA(HDC dc, LPCSTR face, FONTENUMPROCA proc, LPARAM data);
#define EnumFontFamilies EnumFontFamiliesA
int EnumFontFamiliesExA(HDC dc, LOGFONTA* font, FONTENUMPROCA proc, LPARAM data, DWORD flags);
#define EnumFontFamiliesEx EnumFontFamiliesExA

// System parameters and dialog units.
BOOL SystemParametersInfoA(UINT action, UINT param, PVOID data, UINT winIni);
#define SystemParametersInfo SystemParametersInfoA
LONG GetDialogBaseUnits();
int MulDiv(int number, int numerator, int denominator);

namespace pictavo::gdi {

// Every dialog is laid out with one pair of base units, those of an 8-point dialog font at
// 96 dpi: 6 pixels per 4 horizontal dialog units, 13 pixels per 8 vertical ones. Fixing them
// keeps layouts given in dialog units in place whatever face stands in for the dialog font.
inline constexpr int kDialogBaseUnitX = 6;
inline constexpr int kDialogBaseUnitY = 13;
// Converts a rectangle in dialog units to pixels (the dialog manager's MapDialogRect).
RECT MapDialogUnits(const RECT& dialogUnits);

// Where the desktop size comes from (the display layer); 1280 x 800 until one is set.
void SetDesktopSizeProvider(std::function<SIZE()> provider);
SIZE DesktopSize();

// The size of an icon's picture (of its colour bitmap, else of the upper half of its mask),
// without copying its bitmaps as GetIconInfo does. 0 x 0, with ERROR_INVALID_HANDLE, for a
// handle that is not an icon.
SIZE IconSize(HICON icon);

// The 50% checker brush (a monochrome pattern: drawn in the DC's text and background colours),
// shared and never deleted; the tracker and drag rectangles are inverted through it.
HBRUSH HalftoneBrush();

// Helpers of the CDC family.
void FillSolidRect(HDC dc, const RECT& rect, COLORREF color);
void Draw3dRect(HDC dc, int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
// A font whose lfHeight is in tenths of a point, converted with the DC's resolution (screen
// when null).
HFONT CreatePointFontIndirect(const LOGFONTA& font, HDC dc);
HFONT CreatePointFont(int pointSizeTenths, LPCSTR face, HDC dc);

// Reads and writes BMP files (1, 4, 8, 24 and 32 bits; RLE read). A damaged or unsupported
// file gives null with the last error set; saving is atomic.
HBITMAP LoadBmpFile(const char* path, bool createDibSection);
BOOL SaveBmpFile(HBITMAP bitmap, const char* path);

// The face a requested face name is drawn with (after mapping platform names to installed ones).
std::string ResolvedFaceName(const char* requestedFace);

}  // namespace pictavo::gdi
