// Replaces operator new for this test binary to record the largest allocation, so tests can
// show that damaged archives cost no more memory than the data they hold.
#include <atomic>
#include <cstdlib>
#include <new>

#include "tests/platform/base/TestSupport.h"

namespace {
std::atomic<bool> g_watching{false};
std::atomic<size_t> g_largest{0};

void* Allocate(size_t size) noexcept {
  if (g_watching.load(std::memory_order_relaxed)) {
    size_t seen = g_largest.load(std::memory_order_relaxed);
    while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
    }
  }
  return std::malloc(size == 0 ? 1 : size);
}
}  // namespace

namespace testing_support {
void WatchAllocations(bool on) {
  if (on) g_largest = 0;
  g_watching = on;
}
size_t LargestAllocation() {
  return g_largest;
}
}  // namespace testing_support

void* operator new(size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
