// Memory blocks by handle: what the clipboard, DIB packing and the class library's shared
// memory files pass around. A fixed block's handle is its address; a moveable block has a
// handle of its own and an address only while locked.
#pragma once

#include "platform/base/WinTypes.h"

#define GMEM_FIXED 0x0000u
#define GMEM_MOVEABLE 0x0002u
#define GMEM_NOCOMPACT 0x0010u
#define GMEM_NODISCARD 0x0020u
#define GMEM_ZEROINIT 0x0040u
#define GMEM_MODIFY 0x0080u
#define GMEM_DISCARDABLE 0x0100u
#define GMEM_NOT_BANKED 0x1000u
#define GMEM_SHARE 0x2000u
#define GMEM_DDESHARE 0x2000u
#define GMEM_LOCKCOUNT 0x00FFu
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

#define LMEM_FIXED 0x0000u
#define LMEM_MOVEABLE 0x0002u
#define LMEM_ZEROINIT 0x0040u
#define LHND (LMEM_MOVEABLE | LMEM_ZEROINIT)
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)

// Null with ERROR_NOT_ENOUGH_MEMORY when the block cannot be had.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// A fixed block moves only with GMEM_MOVEABLE (the result is then a new handle); a moveable one
// keeps its handle. Null on failure, the old block left as it was.
HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
// Null on success, the handle when it is not a block.
HGLOBAL GlobalFree(HGLOBAL block);
LPVOID GlobalLock(HGLOBAL block);
// TRUE while the block stays locked; FALSE with NO_ERROR once unlocked.
BOOL GlobalUnlock(HGLOBAL block);
SIZE_T GlobalSize(HGLOBAL block);
UINT GlobalFlags(HGLOBAL block);  // the lock count in the low byte
// The handle of the block at `address` (a fixed block's or a locked moveable one's).
HGLOBAL GlobalHandle(LPCVOID address);

// The local heap is the same heap.
HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
HLOCAL LocalReAlloc(HLOCAL block, SIZE_T bytes, UINT flags);
HLOCAL LocalFree(HLOCAL block);
LPVOID LocalLock(HLOCAL block);
BOOL LocalUnlock(HLOCAL block);
SIZE_T LocalSize(HLOCAL block);
