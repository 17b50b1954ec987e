// How the process's heap treats large blocks.
#pragma once

namespace pictavo::kernel {

// From here on every block of 1 MB or more (a picture, a frame) is mapped for itself and goes
// back to the system when freed. glibc otherwise raises its threshold to the size of the first
// such block freed and keeps later ones in its heaps: a video output that loads photo after
// photo on several threads then held some 150 MB more than it used. Call once at start-up.
void MapLargeBlocksApart();

}  // namespace pictavo::kernel
