// Window classes: what every window of a class shares (procedure, styles, cursor, brush, icon,
// extra bytes). Classes belong to the process; a name is looked up without regard to case.
#pragma once

#include "platform/base/Styles.h"
#include "platform/base/WinTypes.h"

using WNDPROC = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);

struct WNDCLASS {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
};
using WNDCLASSA = WNDCLASS;
using LPWNDCLASS = WNDCLASS*;

struct WNDCLASSEX {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
  HICON hIconSm;
};
using WNDCLASSEXA = WNDCLASSEX;
using LPWNDCLASSEX = WNDCLASSEX*;

// Integer atoms and resource ids travel in pointer arguments below 0x10000.
#define MAKEINTATOM(i) reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i)))
#ifndef IS_INTRESOURCE
#define IS_INTRESOURCE(p) ((reinterpret_cast<ULONG_PTR>(p) >> 16) == 0)
#endif
#ifndef MAKEINTRESOURCE
#define MAKEINTRESOURCE(i) reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i)))
#define MAKEINTRESOURCEA MAKEINTRESOURCE
#endif

// GetClassLong / SetClassLong(Ptr) indices.
#define GCL_MENUNAME (-8)
#define GCL_HBRBACKGROUND (-10)
#define GCL_HCURSOR (-12)
#define GCL_HICON (-14)
#define GCL_HMODULE (-16)
#define GCL_CBWNDEXTRA (-18)
#define GCL_CBCLSEXTRA (-20)
#define GCL_WNDPROC (-24)
#define GCL_STYLE (-26)
#define GCW_ATOM (-32)
#define GCL_HICONSM (-34)
#define GCLP_MENUNAME (-8)
#define GCLP_HBRBACKGROUND (-10)
#define GCLP_HCURSOR (-12)
#define GCLP_HICON (-14)
#define GCLP_HMODULE (-16)
#define GCLP_WNDPROC (-24)
#define GCLP_HICONSM (-34)

// The class atom (0xC000 and up), or 0 with ERROR_CLASS_ALREADY_EXISTS.
ATOM RegisterClass(const WNDCLASS* wndClass);
ATOM RegisterClassEx(const WNDCLASSEX* wndClass);
// Fails with ERROR_CLASS_HAS_WINDOWS while windows of the class exist.
BOOL UnregisterClass(LPCSTR className, HINSTANCE instance);
BOOL GetClassInfo(HINSTANCE instance, LPCSTR className, WNDCLASS* wndClass);
BOOL GetClassInfoEx(HINSTANCE instance, LPCSTR className, WNDCLASSEX* wndClass);
DWORD GetClassLong(HWND hwnd, int index);
DWORD SetClassLong(HWND hwnd, int index, LONG value);
ULONG_PTR GetClassLongPtr(HWND hwnd, int index);
ULONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value);
int GetClassName(HWND hwnd, LPSTR className, int maxCount);
#define RegisterClassA RegisterClass
#define RegisterClassExA RegisterClassEx
#define UnregisterClassA UnregisterClass
#define GetClassInfoA GetClassInfo
#define GetClassInfoExA GetClassInfoEx
#define GetClassLongA GetClassLong
#define SetClassLongA SetClassLong
#define GetClassLongPtrA GetClassLongPtr
#define SetClassLongPtrA SetClassLongPtr
#define GetClassNameA GetClassName
