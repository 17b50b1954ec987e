// Item id lists: the shell's names of items. An id list is a run of items, each a 2-byte length
// (counting itself) followed by bytes only the shell reads, ended by a zero length. The empty
// list names the desktop; a list relative to a folder names something inside it. Lists handed
// out by the shell come from the task allocator and go back through ILFree, CoTaskMemFree or
// the IMalloc of SHGetMalloc.
#pragma once

#include "platform/base/WinTypes.h"

#pragma pack(push, 1)
struct SHITEMID {
  USHORT cb;
  BYTE abID[1];
};
struct ITEMIDLIST {
  SHITEMID mkid;
};
#pragma pack(pop)
using LPSHITEMID = SHITEMID*;
using LPCSHITEMID = const SHITEMID*;
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using PIDLIST_ABSOLUTE = ITEMIDLIST*;
using PCIDLIST_ABSOLUTE = const ITEMIDLIST*;
using PIDLIST_RELATIVE = ITEMIDLIST*;
using PCUIDLIST_RELATIVE = const ITEMIDLIST*;
using PITEMID_CHILD = ITEMIDLIST*;
using PCUITEMID_CHILD = const ITEMIDLIST*;
using PCUITEMID_CHILD_ARRAY = const PCUITEMID_CHILD*;
using LPCITEMIDLIST_ARRAY = const LPCITEMIDLIST*;

#define ILIsEmpty(pidl) ((pidl) == nullptr || (pidl)->mkid.cb == 0)

// Bytes of the whole list, terminator included (0 for null).
UINT ILGetSize(LPCITEMIDLIST pidl);
// The item after the first one; null at the end of the list (or for null).
LPITEMIDLIST ILGetNext(LPCITEMIDLIST pidl);
// The last item (the list itself when it is empty).
LPITEMIDLIST ILFindLastID(LPCITEMIDLIST pidl);
// Cuts the last item off in place; FALSE for an empty list.
BOOL ILRemoveLastID(LPITEMIDLIST pidl);
// New lists (null when memory runs out): a copy, a copy of the first item, the two joined.
LPITEMIDLIST ILClone(LPCITEMIDLIST pidl);
LPITEMIDLIST ILCloneFirst(LPCITEMIDLIST pidl);
LPITEMIDLIST ILCombine(LPCITEMIDLIST first, LPCITEMIDLIST second);
// A new list: `pidl` with one item appended (or prepended when `append` is FALSE); the old list
// is freed. Null (the old list freed too) when memory runs out.
LPITEMIDLIST ILAppendID(LPITEMIDLIST pidl, LPCSHITEMID item, BOOL append);
void ILFree(LPITEMIDLIST pidl);
// Byte-for-byte equality of two absolute lists.
BOOL ILIsEqual(LPCITEMIDLIST a, LPCITEMIDLIST b);
// TRUE when `parent` is the start of `child` (and, with `immediate`, exactly one item shorter).
BOOL ILIsParent(LPCITEMIDLIST parent, LPCITEMIDLIST child, BOOL immediate);
// The part of `child` after `parent`, pointing into `child`; null when `parent` is no parent.
LPITEMIDLIST ILFindChild(LPCITEMIDLIST parent, LPCITEMIDLIST child);
// The absolute list of an existing path (see SHGetDesktopFolder's ParseDisplayName); null when
// it names nothing.
LPITEMIDLIST ILCreateFromPath(LPCSTR path);
#define ILCreateFromPathA ILCreateFromPath
