#include "platform/com/TaskMemory.h"

#include <cstdlib>
#include <cstring>

namespace {

// Each block carries the size asked for ahead of the caller's bytes, so GetSize is exact and
// Realloc knows how much to keep.
struct alignas(std::max_align_t) Header {
  SIZE_T size;
};

Header* HeaderOf(void* block) {
  return static_cast<Header*>(block) - 1;
}

void* Allocate(SIZE_T bytes) {
  if (bytes > SIZE_MAX - sizeof(Header)) return nullptr;
  auto* header = static_cast<Header*>(std::malloc(sizeof(Header) + bytes));
  if (!header) return nullptr;
  header->size = bytes;
  return header + 1;
}

class TaskAllocator final : public IMalloc {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = (iid == IID_IUnknown || iid == IID_IMalloc) ? static_cast<IMalloc*>(this) : nullptr;
    return *object ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  void* STDMETHODCALLTYPE Alloc(SIZE_T bytes) override { return CoTaskMemAlloc(bytes); }
  void* STDMETHODCALLTYPE Realloc(void* block, SIZE_T bytes) override {
    return CoTaskMemRealloc(block, bytes);
  }
  void STDMETHODCALLTYPE Free(void* block) override { CoTaskMemFree(block); }
  SIZE_T STDMETHODCALLTYPE GetSize(void* block) override {
    return block ? HeaderOf(block)->size : static_cast<SIZE_T>(-1);
  }
  int STDMETHODCALLTYPE DidAlloc(void* block) override { return -1; }
  void STDMETHODCALLTYPE HeapMinimize() override {}
};

TaskAllocator g_allocator;  // stateless; lives as long as the process

}  // namespace

LPVOID CoTaskMemAlloc(SIZE_T bytes) {
  return Allocate(bytes);
}

LPVOID CoTaskMemRealloc(LPVOID block, SIZE_T bytes) {
  if (!block) return Allocate(bytes);
  if (bytes == 0) {
    CoTaskMemFree(block);
    return nullptr;
  }
  if (bytes > SIZE_MAX - sizeof(Header)) return nullptr;
  auto* header = static_cast<Header*>(std::realloc(HeaderOf(block), sizeof(Header) + bytes));
  if (!header) return nullptr;
  header->size = bytes;
  return header + 1;
}

void CoTaskMemFree(LPVOID block) {
  if (block) std::free(HeaderOf(block));
}

HRESULT CoGetMalloc(DWORD context, LPMALLOC* malloc) {
  if (!malloc) return E_INVALIDARG;
  *malloc = nullptr;
  if (context != MEMCTX_TASK) return E_INVALIDARG;
  *malloc = &g_allocator;
  return S_OK;
}
