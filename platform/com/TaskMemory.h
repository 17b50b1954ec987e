// The task allocator: memory that one party allocates and another frees (display names, item id
// lists, strings handed out through interfaces), through CoTaskMem* or the IMalloc interface,
// which share one heap.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/com/Unknown.h"

#define MEMCTX_TASK 1u

// A block of `bytes` (0 gives a valid block of no bytes); null when memory runs out.
LPVOID CoTaskMemAlloc(SIZE_T bytes);
// Null `block` allocates; 0 `bytes` frees and returns null; null on failure, the block kept.
LPVOID CoTaskMemRealloc(LPVOID block, SIZE_T bytes);
void CoTaskMemFree(LPVOID block);

inline constexpr IID IID_IMalloc{
    0x00000002, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct IMalloc : IUnknown {
  virtual void* STDMETHODCALLTYPE Alloc(SIZE_T bytes) = 0;
  virtual void* STDMETHODCALLTYPE Realloc(void* block, SIZE_T bytes) = 0;
  virtual void STDMETHODCALLTYPE Free(void* block) = 0;
  // The size asked for when the block was made; (SIZE_T)-1 for null.
  virtual SIZE_T STDMETHODCALLTYPE GetSize(void* block) = 0;
  // Whether a block came from this heap cannot be told safely: -1 ("cannot tell") for any block.
  virtual int STDMETHODCALLTYPE DidAlloc(void* block) = 0;
  virtual void STDMETHODCALLTYPE HeapMinimize() = 0;

 protected:
  ~IMalloc() = default;
};
using LPMALLOC = IMalloc*;
PICTAVO_COM_INTERFACE_ID(IMalloc, IID_IMalloc);

// The process's one task allocator (its references are not counted: it lives as long as the
// process). `context` must be MEMCTX_TASK.
HRESULT CoGetMalloc(DWORD context, LPMALLOC* malloc);
