// The dragged data: global blocks by format on the source's side, copies on the target's side,
// and the memory file that turns a block into a file and back.
#include <cstdlib>
#include <cstring>

#include "platform/kernel/GlobalMemory.h"
#include "platform/mfc/OleDragDrop.h"

IMPLEMENT_DYNAMIC(CSharedFile, CMemFile)

namespace {

HGLOBAL CopyBlock(const void* bytes, SIZE_T size) {
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
  if (!copy) return nullptr;
  if (size) {
    void* to = GlobalLock(copy);
    std::memcpy(to, bytes, size);
    GlobalUnlock(copy);
  }
  return copy;
}

HGLOBAL CopyBlock(HGLOBAL from) {
  const SIZE_T size = GlobalSize(from);
  const void* bytes = GlobalLock(from);
  if (!bytes && size) return nullptr;
  HGLOBAL copy = CopyBlock(bytes, size);
  GlobalUnlock(from);
  return copy;
}

}  // namespace

CSharedFile::CSharedFile(UINT, UINT nGrowBytes) : CMemFile(nGrowBytes) {}

CSharedFile::~CSharedFile() = default;

HGLOBAL CSharedFile::Detach() {
  const SIZE_T size = static_cast<SIZE_T>(GetLength());
  BYTE* bytes = CMemFile::Detach();
  HGLOBAL block = CopyBlock(bytes, size);
  std::free(bytes);
  return block;
}

void CSharedFile::SetHandle(HGLOBAL hGlobal, BOOL) {
  SetLength(0);
  const SIZE_T size = hGlobal ? GlobalSize(hGlobal) : 0;
  if (size) {
    const void* bytes = GlobalLock(hGlobal);
    if (bytes) Write(bytes, static_cast<UINT>(size));
    GlobalUnlock(hGlobal);
  }
  SeekToBegin();
}

COleDataSource::COleDataSource() = default;

COleDataSource::~COleDataSource() {
  Empty();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal) {
  auto [it, added] = m_blocks.try_emplace(cfFormat, hGlobal);
  if (!added) {
    if (it->second != hGlobal) GlobalFree(it->second);
    it->second = hGlobal;
  }
}

void COleDataSource::Empty() {
  for (auto& [format, block] : m_blocks) GlobalFree(block);
  m_blocks.clear();
}

BOOL COleDataSource::HasFormat(CLIPFORMAT cfFormat) const {
  return m_blocks.count(cfFormat) != 0;
}

HGLOBAL COleDataSource::PeekGlobalData(CLIPFORMAT cfFormat) const {
  const auto it = m_blocks.find(cfFormat);
  return it == m_blocks.end() ? nullptr : it->second;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat) const {
  return m_pSource && m_pSource->HasFormat(cfFormat);
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat) const {
  HGLOBAL block = m_pSource ? m_pSource->PeekGlobalData(cfFormat) : nullptr;
  return block ? CopyBlock(block) : nullptr;
}

CFile* COleDataObject::GetFileData(CLIPFORMAT cfFormat) const {
  HGLOBAL block = m_pSource ? m_pSource->PeekGlobalData(cfFormat) : nullptr;
  if (!block) return nullptr;
  auto* file = new CSharedFile();
  file->SetHandle(block);
  return file;
}
