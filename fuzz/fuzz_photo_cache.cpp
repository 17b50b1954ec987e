// The photo cache's index files and version stamp, read by the cache's worker and by every reader
// of a cached path.
#include <algorithm>
#include <mutex>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "render/PhotoCacheIndex.h"

using namespace pictavo::render;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = pictavo::fuzz::WriteInput("cache/038.idx", {data, size});
  {
    std::lock_guard lock(IndexLock());
    const PhotoCacheIndex index = PhotoCacheIndex::Read(path);
    pictavo::fuzz::Check(index.FreeSlot() <= index.RecordCount(), "a free slot past the end of the index");
    const std::string_view probe(reinterpret_cast<const char*>(data),
                                 std::min<size_t>(size, kCachePathField - 1));
    if (const auto match = index.Find(probe)) {
      pictavo::fuzz::Check(match->slot < index.RecordCount(), "a match outside the index");
      (void)FieldText(match->record.szCachedPath);
    }
    // A damaged file is started afresh on the next write; a sound one takes the record.
    PhotoCacheRecord record{};
    if (MakeRecord("/photos/a.jpg", SourceFacts{1, 2, 3}, "/cache/038/a.jpg", record))
      (void)PhotoCacheIndex::WriteRecord(path, index.FreeSlot(), record, index.Damaged());
    const PhotoCacheIndex written = PhotoCacheIndex::Read(path);
    pictavo::fuzz::Check(written.Find("/photos/a.jpg").has_value(), "a written record is not found again");
  }
  (void)StampIsValid(pictavo::fuzz::WriteInput("cache/pc_info.bin", {data, size}));
  return 0;
}
