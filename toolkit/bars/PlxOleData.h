// Placeholder until in-process OLE drag and drop comes to platform/mfc: a data source that caches
// memory blocks per clipboard format, and a data object attached to one. Only what toolbar buttons
// call is here; the real classes replace this header when they arrive.
#pragma once

#include <cstring>
#include <map>

#include "platform/base/WinTypes.h"
#include "platform/kernel/GlobalMemory.h"

typedef unsigned short CLIPFORMAT;

class COleDataSource {
 public:
  COleDataSource() = default;
  ~COleDataSource() { Empty(); }
  COleDataSource(const COleDataSource&) = delete;
  COleDataSource& operator=(const COleDataSource&) = delete;

  // The source owns the block from here on.
  void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal) {
    HGLOBAL& slot = m_data[cfFormat];
    if (slot != nullptr) GlobalFree(slot);
    slot = hGlobal;
  }
  void Empty() {
    for (auto& [format, block] : m_data) GlobalFree(block);
    m_data.clear();
  }
  HGLOBAL Find(CLIPFORMAT cfFormat) const {
    auto it = m_data.find(cfFormat);
    return it == m_data.end() ? nullptr : it->second;
  }

 private:
  std::map<CLIPFORMAT, HGLOBAL> m_data;
};

class COleDataObject {
 public:
  void Attach(const COleDataSource* pSource) { m_pSource = pSource; }
  BOOL IsDataAvailable(CLIPFORMAT cfFormat) const {
    return m_pSource != nullptr && m_pSource->Find(cfFormat) != nullptr;
  }
  // A copy of the block the caller frees, null when the format is not offered.
  HGLOBAL GetGlobalData(CLIPFORMAT cfFormat) const {
    HGLOBAL block = m_pSource != nullptr ? m_pSource->Find(cfFormat) : nullptr;
    if (block == nullptr) return nullptr;
    const SIZE_T size = GlobalSize(block);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (copy == nullptr) return nullptr;
    void* to = GlobalLock(copy);
    const void* from = GlobalLock(block);
    if (size != 0) memcpy(to, from, size);
    GlobalUnlock(block);
    GlobalUnlock(copy);
    return copy;
  }

 private:
  const COleDataSource* m_pSource = nullptr;
};
