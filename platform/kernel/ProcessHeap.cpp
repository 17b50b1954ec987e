#include "platform/kernel/ProcessHeap.h"

#include <malloc.h>

namespace pictavo::kernel {

void MapLargeBlocksApart() {
  // A fixed threshold also turns glibc's dynamic one off.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
}

}  // namespace pictavo::kernel
