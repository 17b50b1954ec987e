// The duration rules of a photo album: a slide's transition (One) and display (Two) seconds,
// -1 standing for the album's; the slideshow length and time positions; the duration tools.
#include <algorithm>

#include "modules/data/DVDAlbumImage.h"

int CDVDAlbumImage::Get_nOneDuration(int index) const {
  const CDVDImage* image = GetImage(index);
  return image != nullptr && image->Get_nOneDuration() >= 0 ? image->Get_nOneDuration() : m_nOneDuration;
}

int CDVDAlbumImage::Get_nTwoDuration(int index) const {
  const CDVDImage* image = GetImage(index);
  return image != nullptr && image->Get_nTwoDuration() >= 0 ? image->Get_nTwoDuration() : m_nTwoDuration;
}

void CDVDAlbumImage::Set_nOneDuration(int index, int seconds) {
  if (index == -1) {
    if (m_nOneDuration == std::max(0, seconds)) return;
    m_nOneDuration = std::max(0, seconds);
    MarkChanged();
  } else if (CDVDImage* image = GetImage(index)) {
    image->Put_nOneDuration(seconds);
  }
}

void CDVDAlbumImage::Set_nTwoDuration(int index, int seconds) {
  if (index == -1) {
    if (m_nTwoDuration == std::max(0, seconds)) return;
    m_nTwoDuration = std::max(0, seconds);
    MarkChanged();
  } else if (CDVDImage* image = GetImage(index)) {
    image->Put_nTwoDuration(seconds);
  }
}

int CDVDAlbumImage::Get_nSlideshowLen(int index) const {
  const int last = index < 0 || index >= GetImageCount() ? GetImageCount() - 1 : index;
  long long seconds = 0;
  for (int i = 0; i <= last; ++i)
    seconds += static_cast<long long>(Get_nOneDuration(i)) + Get_nTwoDuration(i);
  return SaturatedTotal(seconds);
}

int CDVDAlbumImage::Get_nSlideshowTimePos(int index) const {
  if (index <= 0) return 0;
  return Get_nSlideshowLen(std::min(index, GetImageCount()) - 1);
}

void CDVDAlbumImage::CopyDVDImageDuration() {
  auto saved = std::make_unique<SavedDurations>();
  saved->albumOne = m_nOneDuration;
  saved->albumTwo = m_nTwoDuration;
  for (int i = 0; i < GetImageCount(); ++i)
    saved->slides.push_back(
        {m_arrImages[i], {m_arrImages[i]->Get_nOneDuration(), m_arrImages[i]->Get_nTwoDuration()}});
  m_saved = std::move(saved);
  m_bHasSavedDuration = TRUE;
}

BOOL CDVDAlbumImage::UndoDVDImageDuration() {
  if (!m_saved) return FALSE;
  m_nOneDuration = m_saved->albumOne;
  m_nTwoDuration = m_saved->albumTwo;
  // Slides removed since the copy was taken are skipped.
  for (const auto& [slide, durations] : m_saved->slides) {
    const int index = IndexOf(slide);
    if (index < 0) continue;
    m_arrImages[index]->Put_nOneDuration(durations.first);
    m_arrImages[index]->Put_nTwoDuration(durations.second);
  }
  ClearDurationData();
  MarkChanged();
  return TRUE;
}

void CDVDAlbumImage::ResetDVDImageDuration() {
  for (int i = 0; i < GetImageCount(); ++i) {
    m_arrImages[i]->Put_nOneDuration(-1);
    m_arrImages[i]->Put_nTwoDuration(-1);
  }
}

void CDVDAlbumImage::ClearDurationData() {
  m_saved.reset();
  m_bHasSavedDuration = FALSE;
}

void CDVDAlbumImage::MatchSlideshowToAudioDuration(int transitionSeconds) {
  const int n = GetImageCount();
  m_nOneDuration = std::max(0, transitionSeconds);
  if (n > 0) {
    const long long room = static_cast<long long>(GetMusicTimeLen()) - Get_nTitleDuration() -
                           Get_nCreditDuration() - static_cast<long long>(n) * m_nOneDuration;
    m_nTwoDuration = SaturatedTotal(std::max(1LL, room / n));
  }
  ResetDVDImageDuration();
  MarkChanged();
}
