// A photo album's background music: clips in play order, each starting where the previous ends.
#include <algorithm>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/MediaProbe.h"

BOOL CDVDAlbumImage::AddBackgroundMusic(LPCTSTR path) {
  if (path == nullptr || *path == '\0') return FALSE;
  const auto facts = pictavo::data::ProbeMedia(path);
  if (!facts || !facts->hasAudio || facts->durationMs <= 0) return FALSE;
  _AUDIO_SOURCE entry;
  entry.strPathName = path;
  entry.nSourceLength = static_cast<int>(std::min<int64_t>(facts->durationMs, INT32_MAX));
  entry.nTrimStart = 0;
  entry.nTrimEnd = entry.nSourceLength;
  int end = 0;
  for (int i = 0; i < GetMusicCount(); ++i)
    end = std::max(end, GetMusic(i)->nStartPos + GetMusic(i)->GetClipLength());
  entry.nStartPos = end;
  AddBackgroundMusic(entry);
  return TRUE;
}

void CDVDAlbumImage::AddBackgroundMusic(const _AUDIO_SOURCE& entry) {
  m_listAudio.AddTail(new _AUDIO_SOURCE(entry));
  MarkChanged();
}

BOOL CDVDAlbumImage::RemoveBackgroundMusic(_AUDIO_SOURCE* entry) {
  for (POSITION pos = m_listAudio.GetHeadPosition(); pos != nullptr;) {
    POSITION at = pos;
    if (m_listAudio.GetNext(pos) == entry) {
      m_listAudio.RemoveAt(at);
      delete entry;
      MarkChanged();
      return TRUE;
    }
  }
  return FALSE;
}

void CDVDAlbumImage::RemoveAllBackgroundMusic() {
  for (POSITION pos = m_listAudio.GetHeadPosition(); pos != nullptr;)
    delete static_cast<_AUDIO_SOURCE*>(m_listAudio.GetNext(pos));
  m_listAudio.RemoveAll();
}

_AUDIO_SOURCE* CDVDAlbumImage::GetMusic(int index) const {
  if (index < 0) return nullptr;
  POSITION pos = m_listAudio.FindIndex(index);
  return pos != nullptr ? static_cast<_AUDIO_SOURCE*>(m_listAudio.GetAt(pos)) : nullptr;
}

int CDVDAlbumImage::GetMusicTimeLen() const {
  int end = 0;
  for (POSITION pos = m_listAudio.GetHeadPosition(); pos != nullptr;) {
    const auto* entry = static_cast<const _AUDIO_SOURCE*>(m_listAudio.GetNext(pos));
    end = std::max(end, entry->nStartPos + entry->GetClipLength());
  }
  return end / 1000;
}

CDVDImage* CDVDAlbumImage::GetDVDImageForAudio(const _AUDIO_SOURCE* entry) const {
  if (entry == nullptr) return nullptr;
  // The music's time axis starts with the titles.
  const long long at = static_cast<long long>(entry->nStartPos) - 1000LL * Get_nTitleDuration();
  if (at < 0) return nullptr;
  long long start = 0;
  for (int i = 0; i < GetImageCount(); ++i) {
    const long long end = start + 1000LL * (Get_nOneDuration(i) + Get_nTwoDuration(i));
    if (at < end) return m_arrImages[i];
    start = end;
  }
  return nullptr;
}
