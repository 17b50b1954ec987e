// Base types of the platform API, with the widths the program's records rely on:
// LONG and DWORD stay 32 bits, pointers and pointer-sized values are native.
#pragma once

#include <cstddef>
#include <cstdint>

using BOOL = int;
using BOOLEAN = unsigned char;
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using INT = int32_t;
using LONG = int32_t;
using ULONG = uint32_t;
using SHORT = int16_t;
using USHORT = uint16_t;
using LONGLONG = int64_t;
using ULONGLONG = uint64_t;
using DWORDLONG = uint64_t;
using __int64 = int64_t;
using INT_PTR = intptr_t;
using UINT_PTR = uintptr_t;
using LONG_PTR = intptr_t;
using ULONG_PTR = uintptr_t;
using DWORD_PTR = uintptr_t;
using SIZE_T = size_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using HRESULT = int32_t;
using ATOM = uint16_t;
using COLORREF = uint32_t;
using LCID = uint32_t;
using LANGID = uint16_t;
using FLOAT = float;

// Multibyte text is UTF-8 throughout; wide text is the compiler's wchar_t.
using CHAR = char;
using TCHAR = char;
using WCHAR = wchar_t;
using LPSTR = char*;
using LPCSTR = const char*;
using LPTSTR = char*;
using LPCTSTR = const char*;
using LPWSTR = wchar_t*;
using LPCWSTR = const wchar_t*;
using PVOID = void*;
using LPVOID = void*;
using LPCVOID = const void*;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;
using PDWORD = DWORD*;
using LPLONG = LONG*;
using LPWORD = WORD*;
using LPBOOL = BOOL*;
using PBOOL = BOOL*;
using LPINT = int*;
using LPUINT = UINT*;

#define VOID void
#define CONST const
#define WINAPI
#define CALLBACK
#define APIENTRY
#define PASCAL
#define AFXAPI
#define STDMETHODCALLTYPE
#define __stdcall
#define __cdecl
#ifndef _T
#define _T(x) x
#endif
#ifndef TEXT
#define TEXT(x) x
#endif

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef MAX_PATH
#define MAX_PATH 260
#endif
#define INFINITE 0xFFFFFFFFu

// Opaque handle types: distinct pointer types so overloads and mistakes are caught by the compiler.
#define PICTAVO_DECLARE_HANDLE(name) \
  struct name##__ {                  \
    int unused;                      \
  };                                 \
  using name = name##__*
PICTAVO_DECLARE_HANDLE(HWND);
PICTAVO_DECLARE_HANDLE(HINSTANCE);
PICTAVO_DECLARE_HANDLE(HMENU);
PICTAVO_DECLARE_HANDLE(HICON);
PICTAVO_DECLARE_HANDLE(HDC);
PICTAVO_DECLARE_HANDLE(HBITMAP);
PICTAVO_DECLARE_HANDLE(HBRUSH);
PICTAVO_DECLARE_HANDLE(HPEN);
PICTAVO_DECLARE_HANDLE(HFONT);
PICTAVO_DECLARE_HANDLE(HRGN);
PICTAVO_DECLARE_HANDLE(HPALETTE);
PICTAVO_DECLARE_HANDLE(HKEY);
PICTAVO_DECLARE_HANDLE(HACCEL);
PICTAVO_DECLARE_HANDLE(HRSRC);
PICTAVO_DECLARE_HANDLE(HHOOK);
PICTAVO_DECLARE_HANDLE(HIMAGELIST);
PICTAVO_DECLARE_HANDLE(HDROP);
PICTAVO_DECLARE_HANDLE(HMONITOR);
PICTAVO_DECLARE_HANDLE(HDWP);
#undef PICTAVO_DECLARE_HANDLE
using HANDLE = void*;
using LPHANDLE = HANDLE*;
using HMODULE = HINSTANCE;
using HCURSOR = HICON;
using HGDIOBJ = void*;
using HGLOBAL = void*;
using HLOCAL = void*;
using HFILE = int;

#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))

// Word and colour helpers with the platform's bit layouts.
#define MAKEWORD(a, b) static_cast<WORD>((static_cast<BYTE>(a)) | (static_cast<WORD>(static_cast<BYTE>(b)) << 8))
#define MAKELONG(a, b) \
  static_cast<LONG>((static_cast<WORD>(a)) | (static_cast<DWORD>(static_cast<WORD>(b)) << 16))
#define LOWORD(l) static_cast<WORD>(static_cast<DWORD_PTR>(l) & 0xffff)
#define HIWORD(l) static_cast<WORD>((static_cast<DWORD_PTR>(l) >> 16) & 0xffff)
#define LOBYTE(w) static_cast<BYTE>(static_cast<DWORD_PTR>(w) & 0xff)
#define HIBYTE(w) static_cast<BYTE>((static_cast<DWORD_PTR>(w) >> 8) & 0xff)
#define MAKEWPARAM(l, h) static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(l, h)))
#define MAKELPARAM(l, h) static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(l, h)))
#define MAKELRESULT(l, h) static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(l, h)))
#define GET_X_LPARAM(lp) (static_cast<int>(static_cast<short>(LOWORD(lp))))
#define GET_Y_LPARAM(lp) (static_cast<int>(static_cast<short>(HIWORD(lp))))
#define RGB(r, g, b)                                                                                \
  static_cast<COLORREF>(static_cast<BYTE>(r) | (static_cast<WORD>(static_cast<BYTE>(g)) << 8) | \
                        (static_cast<DWORD>(static_cast<BYTE>(b)) << 16))
#define GetRValue(rgb) LOBYTE(rgb)
#define GetGValue(rgb) LOBYTE(static_cast<WORD>(rgb) >> 8)
#define GetBValue(rgb) LOBYTE((rgb) >> 16)

#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)
#define S_OK static_cast<HRESULT>(0)
#define S_FALSE static_cast<HRESULT>(1)
#define E_NOTIMPL static_cast<HRESULT>(0x80004001)
#define E_NOINTERFACE static_cast<HRESULT>(0x80004002)
#define E_POINTER static_cast<HRESULT>(0x80004003)
#define E_ABORT static_cast<HRESULT>(0x80004004)
#define E_FAIL static_cast<HRESULT>(0x80004005)
#define E_UNEXPECTED static_cast<HRESULT>(0x8000FFFF)
#define E_ACCESSDENIED static_cast<HRESULT>(0x80070005)
#define E_HANDLE static_cast<HRESULT>(0x80070006)
#define E_OUTOFMEMORY static_cast<HRESULT>(0x8007000E)
#define E_INVALIDARG static_cast<HRESULT>(0x80070057)

struct POINT {
  LONG x;
  LONG y;
};
using LPPOINT = POINT*;
struct POINTS {
  SHORT x;
  SHORT y;
};
struct SIZE {
  LONG cx;
  LONG cy;
};
using LPSIZE = SIZE*;
struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
using LPRECT = RECT*;
using LPCRECT = const RECT*;

struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};
using LPFILETIME = FILETIME*;
struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};
using LPSYSTEMTIME = SYSTEMTIME*;

union LARGE_INTEGER {
  struct {
    DWORD LowPart;
    LONG HighPart;
  } u;
  LONGLONG QuadPart;
};
union ULARGE_INTEGER {
  struct {
    DWORD LowPart;
    DWORD HighPart;
  } u;
  ULONGLONG QuadPart;
};
using PLARGE_INTEGER = LARGE_INTEGER*;
using PULARGE_INTEGER = ULARGE_INTEGER*;

struct SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

#pragma pack(push, 2)
struct BITMAPFILEHEADER {
  WORD bfType;
  DWORD bfSize;
  WORD bfReserved1;
  WORD bfReserved2;
  DWORD bfOffBits;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPFILEHEADER) == 14);

struct BITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);
using LPBITMAPINFOHEADER = BITMAPINFOHEADER*;
struct RGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
};
struct RGBTRIPLE {
  BYTE rgbtBlue;
  BYTE rgbtGreen;
  BYTE rgbtRed;
};
struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};
using LPBITMAPINFO = BITMAPINFO*;
#define BI_RGB 0
#define BI_RLE8 1
#define BI_RLE4 2
#define BI_BITFIELDS 3
