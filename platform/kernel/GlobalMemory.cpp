#include "platform/kernel/GlobalMemory.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"

namespace {

struct Block {
  std::unique_ptr<unsigned char[]> bytes;
  SIZE_T size = 0;
  bool moveable = false;
  UINT locks = 0;
  std::unique_ptr<char> token;  // a moveable block's handle
};

struct Heap {
  std::mutex lock;
  std::unordered_map<HGLOBAL, Block> blocks;  // by handle; guarded by lock
};
Heap& TheHeap() {
  static Heap* heap = new Heap;
  return *heap;
}

std::unique_ptr<unsigned char[]> Allocate(SIZE_T bytes, bool zero) {
  // A block always has an address, even of zero bytes.
  auto memory = std::unique_ptr<unsigned char[]>(new (std::nothrow) unsigned char[bytes ? bytes : 1]);
  if (memory && zero) std::memset(memory.get(), 0, bytes ? bytes : 1);
  return memory;
}

Block* FindLocked(Heap& heap, HGLOBAL handle) {
  auto it = heap.blocks.find(handle);
  if (it == heap.blocks.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return &it->second;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  Block block;
  block.bytes = Allocate(bytes, (flags & GMEM_ZEROINIT) != 0);
  if (!block.bytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  block.size = bytes;
  block.moveable = (flags & GMEM_MOVEABLE) != 0;
  HGLOBAL handle = block.bytes.get();
  if (block.moveable) {
    block.token = std::make_unique<char>();
    handle = block.token.get();
  }
  auto& heap = TheHeap();
  std::lock_guard lock(heap.lock);
  heap.blocks.emplace(handle, std::move(block));
  return handle;
}

HGLOBAL GlobalReAlloc(HGLOBAL handle, SIZE_T bytes, UINT flags) {
  auto& heap = TheHeap();
  std::lock_guard lock(heap.lock);
  Block* block = FindLocked(heap, handle);
  if (!block) return nullptr;
  if (flags & GMEM_MODIFY) return handle;  // attribute changes only; nothing of ours to change
  if (bytes <= block->size) {
    block->size = bytes;
    return handle;
  }
  // A fixed block, or a locked moveable one, may only move when the caller allows it.
  const bool mayMove =
      block->moveable ? block->locks == 0 || (flags & GMEM_MOVEABLE) : (flags & GMEM_MOVEABLE);
  if (!mayMove) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  auto grown = Allocate(bytes, (flags & GMEM_ZEROINIT) != 0);
  if (!grown) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  std::memcpy(grown.get(), block->bytes.get(), block->size ? block->size : 1);
  if (block->moveable) {
    block->bytes = std::move(grown);
    block->size = bytes;
    return handle;
  }
  Block moved;
  moved.bytes = std::move(grown);
  moved.size = bytes;
  HGLOBAL newHandle = moved.bytes.get();
  heap.blocks.erase(handle);
  heap.blocks.emplace(newHandle, std::move(moved));
  return newHandle;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
  if (!handle) return nullptr;
  auto& heap = TheHeap();
  std::lock_guard lock(heap.lock);
  if (!FindLocked(heap, handle)) return handle;
  heap.blocks.erase(handle);
  return nullptr;
}

LPVOID GlobalLock(HGLOBAL handle) {
  auto& heap = TheHeap();
  std::lock_guard lock(heap.lock);
  Block* block = FindLocked(heap, handle);
  if (!block) return nullptr;
  if (block->moveable && block->locks < GMEM_LOCKCOUNT) ++block->locks;
  return block->bytes.get();
}

BOOL GlobalUnlock(HGLOBAL handle) {
  auto& heap = TheHeap();
  std::lock_guard lock(heap.lock);
  Block* block = FindLocked(heap, handle);
  if (!block) return FALSE;
  if (block->locks > 0) --block->locks;
  if (block->locks > 0) return TRUE;
  SetLastError(NO_ERROR);
  return FALSE;
}

SIZE_T GlobalSize(HGLOBAL handle) {
  auto& heap = TheHeap();
  std::lock_guard lock(heap.lock);
  Block* block = FindLocked(heap, handle);
  return block ? block->size : 0;
}

UINT GlobalFlags(HGLOBAL handle) {
  auto& heap = TheHeap();
  std::lock_guard lock(heap.lock);
  Block* block = FindLocked(heap, handle);
  return block ? block->locks : GMEM_LOCKCOUNT + 1;
}

HGLOBAL GlobalHandle(LPCVOID address) {
  auto& heap = TheHeap();
  std::lock_guard lock(heap.lock);
  for (auto& [handle, block] : heap.blocks)
    if (block.bytes.get() == address) return handle;
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
  return GlobalAlloc(flags, bytes);
}
HLOCAL LocalReAlloc(HLOCAL block, SIZE_T bytes, UINT flags) {
  return GlobalReAlloc(block, bytes, flags);
}
HLOCAL LocalFree(HLOCAL block) {
  return GlobalFree(block);
}
LPVOID LocalLock(HLOCAL block) {
  return GlobalLock(block);
}
BOOL LocalUnlock(HLOCAL block) {
  return GlobalUnlock(block);
}
SIZE_T LocalSize(HLOCAL block) {
  return GlobalSize(block);
}
