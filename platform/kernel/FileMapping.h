// File mappings and their views: memory shared between views (and, for named mappings, with this
// user's other processes), or a file's content mapped into memory.
//
// A named mapping lives while one of its handles or views lives, in any process: a copy that
// ended or crashed takes its share with it, and the next creator starts fresh and zero-filled.
#pragma once

#include "platform/base/WinTypes.h"

#define PAGE_NOACCESS 0x01u
#define PAGE_READONLY 0x02u
#define PAGE_READWRITE 0x04u
#define PAGE_WRITECOPY 0x08u
#define PAGE_EXECUTE 0x10u
#define PAGE_EXECUTE_READ 0x20u
#define PAGE_EXECUTE_READWRITE 0x40u
#define PAGE_EXECUTE_WRITECOPY 0x80u
#define SEC_COMMIT 0x08000000u

#define FILE_MAP_COPY 0x0001u
#define FILE_MAP_WRITE 0x0002u
#define FILE_MAP_READ 0x0004u
#define FILE_MAP_EXECUTE 0x0020u
#define FILE_MAP_ALL_ACCESS 0x000F001Fu

#ifndef ERROR_INVALID_ADDRESS
#define ERROR_INVALID_ADDRESS 487L
#endif
#ifndef ERROR_FILE_INVALID
#define ERROR_FILE_INVALID 1006L
#endif
#ifndef ERROR_MAPPED_ALIGNMENT
#define ERROR_MAPPED_ALIGNMENT 1132L
#endif

// `file` is INVALID_HANDLE_VALUE for memory of the given size (which must not be 0), or a file
// handle: size 0 means the file's length, a larger size lengthens the file with zeros (which
// needs a writable protection). Only memory mappings take a name; an existing one is opened, its
// size kept, and the last error set to ERROR_ALREADY_EXISTS.
HANDLE CreateFileMapping(HANDLE file, LPSECURITY_ATTRIBUTES attributes, DWORD protect, DWORD maximumSizeHigh,
                         DWORD maximumSizeLow, LPCSTR name);
// Fails with ERROR_FILE_NOT_FOUND unless a live handle or view (of any process) holds the name.
HANDLE OpenFileMapping(DWORD access, BOOL inherit, LPCSTR name);
// The offset must be a multiple of the page size (ERROR_MAPPED_ALIGNMENT); 0 bytes maps to the end.
LPVOID MapViewOfFile(HANDLE mapping, DWORD access, DWORD offsetHigh, DWORD offsetLow, SIZE_T bytes);
// As MapViewOfFile, at exactly `baseAddress` when it is not null (ERROR_INVALID_ADDRESS when that
// range is taken).
LPVOID MapViewOfFileEx(HANDLE mapping, DWORD access, DWORD offsetHigh, DWORD offsetLow, SIZE_T bytes,
                       LPVOID baseAddress);
BOOL UnmapViewOfFile(LPCVOID baseAddress);
// Writes the view's changed pages within the range to the file; 0 bytes means to the view's end.
BOOL FlushViewOfFile(LPCVOID address, SIZE_T bytes);

inline HANDLE CreateFileMappingA(HANDLE file, LPSECURITY_ATTRIBUTES attributes, DWORD protect,
                                 DWORD maximumSizeHigh, DWORD maximumSizeLow, LPCSTR name) {
  return CreateFileMapping(file, attributes, protect, maximumSizeHigh, maximumSizeLow, name);
}
inline HANDLE OpenFileMappingA(DWORD access, BOOL inherit, LPCSTR name) {
  return OpenFileMapping(access, inherit, name);
}
