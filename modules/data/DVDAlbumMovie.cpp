#include "modules/data/DVDAlbumMovie.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "modules/data/MediaProbe.h"

IMPLEMENT_DYNAMIC(CDVDAlbumMovie, CDVDAlbumBase)

namespace {
std::atomic<CDVDAlbumMovie::PROC_INSERT_VIDEO_FILES> g_insertProc{nullptr};
}

CDVDAlbumMovie::CDVDAlbumMovie(CDVDProject* project) : CDVDAlbumBase(project) {}

CDVDAlbumMovie::~CDVDAlbumMovie() {
  for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
    FreeVideoItemData(static_cast<_DV_LIST_ITEM_DATA*>(m_arrItems[i]), 1);
  m_arrItems.RemoveAll();
}

void CDVDAlbumMovie::CopyFrom(const CDVDAlbumMovie& other, CDVDProject* project) {
  if (&other == this) return;
  m_pProject = project;
  CopyBaseFrom(other);
  m_nFieldOrder = other.m_nFieldOrder;
  for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
    FreeVideoItemData(static_cast<_DV_LIST_ITEM_DATA*>(m_arrItems[i]), 1);
  m_arrItems.RemoveAll();
  for (int i = 0; i < other.Get_nVideoItemCount(); ++i)
    m_arrItems.Add(CopyVideoItemData(*other.Get_pVideoItemData(i)));
  MarkChanged();
}

_DV_LIST_ITEM_DATA* CDVDAlbumMovie::Get_pVideoItemData(int index) const {
  return index >= 0 && index < Get_nVideoItemCount() ? static_cast<_DV_LIST_ITEM_DATA*>(m_arrItems[index])
                                                     : nullptr;
}

int CDVDAlbumMovie::IndexOf(const _DV_LIST_ITEM_DATA* item) const {
  for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
    if (m_arrItems[i] == item) return static_cast<int>(i);
  return -1;
}

_DV_LIST_ITEM_DATA* CDVDAlbumMovie::InsertVideoFile(LPCTSTR path, LPCTSTR, _DV_LIST_ITEM_DATA* position,
                                                    int) {
  if (path == nullptr || *path == '\0') return nullptr;
  const auto facts = pictavo::data::ProbeMedia(path);
  if (!facts || !facts->hasVideo || facts->width <= 0 || facts->height <= 0) return nullptr;
  auto* item = new _DV_LIST_ITEM_DATA;
  item->nWidth = facts->width;
  item->nHeight = facts->height;
  item->dblFrameRate = facts->frameRate;
  item->bDVVideo = facts->dvVideo;
  item->bPAL = facts->dvVideo && facts->height == 576;
  item->bHeightIsTVSystem = facts->dvVideo;
  item->bHasAudio = facts->hasAudio;
  item->strPathName = path;
  item->pSource = new _DV_SOURCE;
  item->pSource->strPathName = path;
  item->pSource->dwDuration = static_cast<DWORD>(std::max<int64_t>(0, facts->durationMs));
  item->pSource->dwStart = 0;
  item->pSource->dwEnd = item->pSource->dwDuration;
  MakeVideoItemThumbnail(item);
  return InsertVideoItemData(item, position);
}

_DV_LIST_ITEM_DATA* CDVDAlbumMovie::InsertVideoItemData(_DV_LIST_ITEM_DATA* item,
                                                        _DV_LIST_ITEM_DATA* position) {
  if (item == nullptr) return nullptr;
  const int at = position != nullptr ? IndexOf(position) : -1;
  if (at < 0)
    m_arrItems.Add(item);
  else
    m_arrItems.InsertAt(at, item);
  MarkChanged();
  return item;
}

BOOL CDVDAlbumMovie::AddVideoItemData(const CPtrArray& items, int) {
  BOOL any = FALSE;
  for (INT_PTR i = 0; i < items.GetSize(); ++i) {
    auto* item = static_cast<_DV_LIST_ITEM_DATA*>(items[i]);
    if (item == nullptr || IndexOf(item) >= 0) continue;
    m_arrItems.Add(item);
    any = TRUE;
  }
  if (any) MarkChanged();
  return any;
}

BOOL CDVDAlbumMovie::RemoveVideoItemData(_DV_LIST_ITEM_DATA* item) {
  const int index = IndexOf(item);
  if (index < 0) return FALSE;
  m_arrItems.RemoveAt(index);
  MarkChanged();
  return TRUE;
}

BOOL CDVDAlbumMovie::RemoveVideoItemData(const CPtrArray& items) {
  BOOL all = TRUE;
  for (INT_PTR i = 0; i < items.GetSize(); ++i)
    all &= RemoveVideoItemData(static_cast<_DV_LIST_ITEM_DATA*>(items[i]));
  return all;
}

void CDVDAlbumMovie::FreeVideoItemData(_DV_LIST_ITEM_DATA* item, int freeIt) {
  if (item == nullptr || !freeIt) return;
  delete[] item->pThumbBits;
  delete item->pSource;
  delete item;
}

_DV_LIST_ITEM_DATA* CDVDAlbumMovie::CopyVideoItemData(const _DV_LIST_ITEM_DATA& item) {
  auto* copy = new _DV_LIST_ITEM_DATA(item);
  copy->pSource = item.pSource != nullptr ? new _DV_SOURCE(*item.pSource) : nullptr;
  copy->pThumbBits = nullptr;
  if (item.pThumbBits != nullptr && item.nThumbWidth > 0 && item.nThumbHeight > 0) {
    const size_t bytes =
        static_cast<size_t>((item.nThumbWidth * 3 + 3) & ~3) * static_cast<size_t>(item.nThumbHeight);
    copy->pThumbBits = new BYTE[bytes];
    std::copy(item.pThumbBits, item.pThumbBits + bytes, copy->pThumbBits);
  }
  return copy;
}

BOOL CDVDAlbumMovie::MoveVideoItemPos(_DV_LIST_ITEM_DATA* target, const CPtrArray& items) {
  std::vector<void*> moving;
  for (INT_PTR i = 0; i < items.GetSize(); ++i)
    if (IndexOf(static_cast<_DV_LIST_ITEM_DATA*>(items[i])) >= 0 &&
        std::find(moving.begin(), moving.end(), items[i]) == moving.end())
      moving.push_back(items[i]);
  if (moving.empty()) return FALSE;
  const auto isMoving = [&](void* p) { return std::find(moving.begin(), moving.end(), p) != moving.end(); };
  void* anchor = nullptr;
  const int targetIndex = target != nullptr ? IndexOf(target) : -1;
  if (targetIndex >= 0)
    for (INT_PTR i = targetIndex; i < m_arrItems.GetSize(); ++i)
      if (!isMoving(m_arrItems[i])) {
        anchor = m_arrItems[i];
        break;
      }
  std::vector<void*> order;
  for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
    if (!isMoving(m_arrItems[i])) order.push_back(m_arrItems[i]);
  auto at = anchor != nullptr ? std::find(order.begin(), order.end(), anchor) : order.end();
  order.insert(at, moving.begin(), moving.end());
  for (size_t i = 0; i < order.size(); ++i) m_arrItems[static_cast<INT_PTR>(i)] = order[i];
  MarkChanged();
  return TRUE;
}

int CDVDAlbumMovie::DuplicateVideoItemToPos(const CPtrArray& items, _DV_LIST_ITEM_DATA* target,
                                            CPtrArray* copies) {
  int at = target != nullptr ? IndexOf(target) : -1;
  if (at < 0) at = Get_nVideoItemCount();
  int made = 0;
  for (INT_PTR i = 0; i < items.GetSize(); ++i) {
    const auto* item = static_cast<const _DV_LIST_ITEM_DATA*>(items[i]);
    if (item == nullptr) continue;
    _DV_LIST_ITEM_DATA* copy = CopyVideoItemData(*item);
    m_arrItems.InsertAt(at + made, copy);
    if (copies != nullptr) copies->Add(copy);
    ++made;
  }
  if (made > 0) MarkChanged();
  return made;
}

DWORD CDVDAlbumMovie::GetAlbumDuration() const {
  DWORD total = 0;
  for (int i = 0; i < Get_nVideoItemCount(); ++i) total += Get_pVideoItemData(i)->GetPlayLength();
  return total;
}

void CDVDAlbumMovie::GetIsDVVideoAndPALFlag(int& isDV, int& isPAL) const {
  isDV = 0;
  isPAL = 0;
  for (int i = 0; i < Get_nVideoItemCount(); ++i) {
    const _DV_LIST_ITEM_DATA* item = Get_pVideoItemData(i);
    if (item->bDVVideo) {
      isDV = 1;
      if (item->bPAL) isPAL = 1;
    }
  }
}

void CDVDAlbumMovie::SetProcInsertVideoFilesFuncPtr(PROC_INSERT_VIDEO_FILES proc) {
  g_insertProc = proc;
}

CDVDAlbumMovie::PROC_INSERT_VIDEO_FILES CDVDAlbumMovie::GetProcInsertVideoFilesFuncPtr() {
  return g_insertProc;
}
