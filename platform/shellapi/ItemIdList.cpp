#include "platform/shellapi/ItemIdList.h"

#include <cstring>

#include "platform/com/TaskMemory.h"

namespace {

const BYTE* Bytes(LPCITEMIDLIST pidl) {
  return reinterpret_cast<const BYTE*>(pidl);
}

// Bytes of the items, without the terminator.
UINT ItemBytes(LPCITEMIDLIST pidl) {
  UINT size = 0;
  if (!pidl) return 0;
  for (const BYTE* at = Bytes(pidl); reinterpret_cast<LPCSHITEMID>(at)->cb != 0;) {
    const USHORT cb = reinterpret_cast<LPCSHITEMID>(at)->cb;
    size += cb;
    at += cb;
  }
  return size;
}

LPITEMIDLIST Join(LPCITEMIDLIST first, UINT firstBytes, LPCITEMIDLIST second, UINT secondBytes) {
  auto* out = static_cast<BYTE*>(CoTaskMemAlloc(firstBytes + secondBytes + sizeof(USHORT)));
  if (!out) return nullptr;
  if (firstBytes) std::memcpy(out, first, firstBytes);
  if (secondBytes) std::memcpy(out + firstBytes, second, secondBytes);
  std::memset(out + firstBytes + secondBytes, 0, sizeof(USHORT));
  return reinterpret_cast<LPITEMIDLIST>(out);
}

}  // namespace

UINT ILGetSize(LPCITEMIDLIST pidl) {
  return pidl ? ItemBytes(pidl) + sizeof(USHORT) : 0;
}

LPITEMIDLIST ILGetNext(LPCITEMIDLIST pidl) {
  if (!pidl || pidl->mkid.cb == 0) return nullptr;
  auto* next = reinterpret_cast<LPITEMIDLIST>(const_cast<BYTE*>(Bytes(pidl)) + pidl->mkid.cb);
  return next->mkid.cb == 0 ? nullptr : next;
}

LPITEMIDLIST ILFindLastID(LPCITEMIDLIST pidl) {
  if (!pidl) return nullptr;
  LPCITEMIDLIST last = pidl;
  for (LPCITEMIDLIST at = pidl; at; at = ILGetNext(at)) last = at;
  return const_cast<LPITEMIDLIST>(last);
}

BOOL ILRemoveLastID(LPITEMIDLIST pidl) {
  if (ILIsEmpty(pidl)) return FALSE;
  ILFindLastID(pidl)->mkid.cb = 0;
  return TRUE;
}

LPITEMIDLIST ILClone(LPCITEMIDLIST pidl) {
  if (!pidl) return nullptr;
  return Join(pidl, ItemBytes(pidl), nullptr, 0);
}

LPITEMIDLIST ILCloneFirst(LPCITEMIDLIST pidl) {
  if (!pidl) return nullptr;
  return Join(pidl, pidl->mkid.cb, nullptr, 0);
}

LPITEMIDLIST ILCombine(LPCITEMIDLIST first, LPCITEMIDLIST second) {
  if (!first && !second) return nullptr;
  return Join(first, ItemBytes(first), second, ItemBytes(second));
}

LPITEMIDLIST ILAppendID(LPITEMIDLIST pidl, LPCSHITEMID item, BOOL append) {
  if (!item) return pidl;
  const auto* one = reinterpret_cast<LPCITEMIDLIST>(item);
  LPITEMIDLIST out =
      append ? Join(pidl, ItemBytes(pidl), one, item->cb) : Join(one, item->cb, pidl, ItemBytes(pidl));
  ILFree(pidl);
  return out;
}

void ILFree(LPITEMIDLIST pidl) {
  CoTaskMemFree(pidl);
}

BOOL ILIsEqual(LPCITEMIDLIST a, LPCITEMIDLIST b) {
  if (!a || !b) return a == b;
  const UINT size = ItemBytes(a);
  return size == ItemBytes(b) && std::memcmp(a, b, size) == 0;
}

LPITEMIDLIST ILFindChild(LPCITEMIDLIST parent, LPCITEMIDLIST child) {
  if (!parent || !child) return nullptr;
  const UINT parentBytes = ItemBytes(parent);
  // The parent must end on an item boundary of the child.
  UINT walked = 0;
  LPCITEMIDLIST at = child;
  while (walked < parentBytes && at->mkid.cb != 0) {
    walked += at->mkid.cb;
    at = reinterpret_cast<LPCITEMIDLIST>(Bytes(at) + at->mkid.cb);
  }
  if (walked != parentBytes || std::memcmp(parent, child, parentBytes) != 0) return nullptr;
  return const_cast<LPITEMIDLIST>(at);
}

BOOL ILIsParent(LPCITEMIDLIST parent, LPCITEMIDLIST child, BOOL immediate) {
  LPCITEMIDLIST rest = ILFindChild(parent, child);
  if (!rest) return FALSE;
  if (!immediate) return TRUE;
  return rest->mkid.cb != 0 && ILGetNext(rest) == nullptr;
}
