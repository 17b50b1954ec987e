#include "albums/AlbumOptionsRules.h"

#include <algorithm>
#include <string>

#include "platform/kernel/Unicode.h"
#include "platform/kernel/Path.h"
#include "shell/OptionsPageLogic.h"
#include "shell/SmallUtilities.h"

CString FormatAlbumLength(int nSeconds) {
  const int seconds = std::max(nSeconds, 0);
  CString text;
  text.Format("%01d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

BOOL ApplyDurationRule(int& nTransition, int& nPhoto) {
  if (nTransition != 0 || nPhoto != 0) return FALSE;
  nPhoto = 1;
  return TRUE;
}

BOOL IsMusicFileSizeAccepted(LPCTSTR lpszPath, uint64_t nBytes) {
  // The options dialog's music list takes files by the same rule.
  using namespace options_logic;
  return JudgeMusicFile(lpszPath != nullptr ? lpszPath : "", true, nBytes, 1) == MusicVerdict::kAccept;
}

CString MusicLengthText(const _AUDIO_SOURCE& entry) {
  CString text;
  text.Format("%d\" of %d\"", entry.GetClipLength() / 1000, std::max(entry.nSourceLength, 0) / 1000);
  return text;
}

CString MusicTimeText(const _AUDIO_SOURCE& entry) {
  CString start, end;
  const int64_t from = std::max(entry.nStartPos, 0);
  FormatMilliseconds(static_cast<DWORD>(from), start);
  FormatMilliseconds(static_cast<DWORD>(from + entry.GetClipLength()), end);
  CString text;
  text.Format("%s - %s", start.GetString(), end.GetString());
  return text;
}

int MusicRowImage(const _AUDIO_SOURCE& entry, int64_t nSlideshowEndMs) {
  return entry.nStartPos < nSlideshowEndMs ? 2 : 0;
}

BOOL IsDefaultMusic(const _AUDIO_SOURCE& entry) {
  return pictavo::unicode::EqualsNoCase(pictavo::path::FileName(entry.strPathName.View()), "default.mp3");
}

namespace {

_AUDIO_SOURCE* EntryAt(CPtrList& list, int index) {
  if (index < 0) return nullptr;
  POSITION pos = list.FindIndex(index);
  return pos != nullptr ? static_cast<_AUDIO_SOURCE*>(list.GetAt(pos)) : nullptr;
}

// The earlier entry keeps its start; the later one starts where the new first one ends.
void ExchangeNeighbours(_AUDIO_SOURCE* first, _AUDIO_SOURCE* second) {
  const int start = first->nStartPos;
  std::swap(*first, *second);
  first->nStartPos = start;
  second->nStartPos = start + first->GetClipLength();
}

}  // namespace

void ShiftMusicAfter(CPtrList& list, int nIndex, int nDeltaMs) {
  int index = 0;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr; ++index) {
    auto* entry = static_cast<_AUDIO_SOURCE*>(list.GetNext(pos));
    if (index > nIndex && entry != nullptr)
      entry->nStartPos = static_cast<int>(std::clamp<int64_t>(int64_t{entry->nStartPos} + nDeltaMs, 0, INT32_MAX));
  }
}

BOOL MoveMusicEntryUp(CPtrList& list, int k) {
  _AUDIO_SOURCE* previous = EntryAt(list, k - 1);
  _AUDIO_SOURCE* selected = EntryAt(list, k);
  if (k <= 0 || previous == nullptr || selected == nullptr) return FALSE;
  ExchangeNeighbours(previous, selected);
  return TRUE;
}

BOOL MoveMusicEntryDown(CPtrList& list, int k) {
  _AUDIO_SOURCE* selected = EntryAt(list, k);
  _AUDIO_SOURCE* next = EntryAt(list, k + 1);
  if (k < 0 || selected == nullptr || next == nullptr) return FALSE;
  ExchangeNeighbours(selected, next);
  return TRUE;
}
