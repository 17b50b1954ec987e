// The bytes an archive stores, made in memory: for writers that must have the whole record before
// any of it reaches a file (atomic saves, temporary stores). Exceptions of `store` pass on.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/base/MemFile.h"

namespace pictavo {

// store(CArchive&) writes into a storing archive with a buffer of `bufferSize` bytes.
template <class Store>
std::vector<uint8_t> ArchiveBytes(Store&& store, UINT bufferSize = 4096) {
  CMemFile memory;
  {
    CArchive ar(&memory, CArchive::store, bufferSize);
    store(ar);
    ar.Close();
  }
  const auto size = static_cast<size_t>(memory.GetLength());
  BYTE* data = memory.Detach();
  std::vector<uint8_t> bytes(data, data + size);
  free(data);
  return bytes;
}

}  // namespace pictavo
