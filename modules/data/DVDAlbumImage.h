// A photo album: its slides, the default durations and transition behaviour, the background
// music, the album-wide objects, the cover slide, and the titles and credits of its base.
//
// Durations are whole seconds. A slide shows the transition into it (One) and then itself alone
// (Two); index -1 addresses the album's defaults, which slides storing -1 use.
#pragma once

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

#include "modules/data/AudioSource.h"
#include "modules/data/DVDAlbumBase.h"
#include "modules/data/DVDImage.h"
#include "platform/base/List.h"

// A total of seconds or frames that stops at INT_MAX instead of overflowing: however many slides
// a project holds, its totals stay meaningful to every caller that multiplies or adds them.
constexpr int SaturatedTotal(long long value) {
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

class CDVDAlbumImage : public CDVDAlbumBase {
  DECLARE_DYNAMIC(CDVDAlbumImage)

 public:
  // An album of `project` (null for a template that only carries settings).
  explicit CDVDAlbumImage(CDVDProject* project = nullptr);
  ~CDVDAlbumImage() override;

  BOOL IsImageAlbum() const override { return TRUE; }
  BOOL DrawThumbnail(HDC dc, const RECT& rect, POINT offset, SIZE size, int fillBox, int fit) override;

  // A copy of every setting, slide, music entry and object of `other` for `project`.
  void CopyFrom(const CDVDAlbumImage& other, CDVDProject* project);

  // Slides.
  int GetImageCount() const { return static_cast<int>(m_arrImages.GetSize()); }
  CDVDImage* GetImage(int index) const;
  int IndexOf(const CDVDImage* image) const { return m_arrImages.IndexOf(image); }
  // Appends slides; the album owns them afterwards.
  BOOL AddDVDImage(CDVDImage* image);
  BOOL AddDVDImage(const CDVDImageArray& images);
  // Removes slides without deleting them (the caller owns them again). The cover and the current
  // slide follow: a removed cover becomes the first slide.
  BOOL RemoveDVDImage(CDVDImage* image);
  BOOL RemoveDVDImage(const CDVDImageArray& images);
  // Copies of slides (of this or another album) placed before `position` (appended for null);
  // the copies are appended to `copies` when given. Returns the number made.
  int DuplicateDVDImageToPos(CDVDImage* image, CDVDImage* position, CDVDImageArray* copies);
  int DuplicateDVDImageToPos(const CDVDImageArray& images, CDVDImage* position, CDVDImageArray* copies);
  // Copies appended at the end.
  int DuplicateDVDImage(const CDVDImageArray& images, CDVDImageArray* copies) {
    return DuplicateDVDImageToPos(images, nullptr, copies);
  }
  // Moves slides of this album, in the order given, before `target` (to the end for null). A
  // target that is itself moved stands for the next slide after it that stays.
  BOOL MoveDVDImagePos(CDVDImage* target, const CDVDImageArray& images);
  // A random order; or the order of `order`, which must hold exactly this album's slides.
  BOOL ReArrangeImageOrder();
  BOOL ReArrangeImageOrder(const CDVDImageArray& order);

  // The cover slide shown in the album list.
  CDVDImage* Get_pAlbumImage() const { return m_pAlbumImage; }
  void Set_pAlbumImage(CDVDImage* image);

  // Durations.
  int Get_nOneDuration(int index) const;
  int Get_nTwoDuration(int index) const;
  void Set_nOneDuration(int index, int seconds);
  void Set_nTwoDuration(int index, int seconds);
  // Seconds from the first slide's start to the end of slide `index` (the whole album for -1 or
  // an index past the end; 0 for an album without slides); at most INT_MAX.
  int Get_nSlideshowLen(int index) const;
  // Seconds from the first slide's start to the start of slide `index` (its transition).
  int Get_nSlideshowTimePos(int index) const;
  int Get_nTitleDuration() const { return m_effect.GetTitleDuration(); }
  int Get_nCreditDuration() const { return m_effect.GetCreditDuration(); }
  // Titles, slides and credits, in seconds; at most INT_MAX.
  int GetTotalLength() const {
    return SaturatedTotal(static_cast<long long>(Get_nTitleDuration()) + Get_nSlideshowLen(-1) +
                          Get_nCreditDuration());
  }
  // Keeps a copy of every slide's stored durations and the album's (for undo).
  void CopyDVDImageDuration();
  BOOL UndoDVDImageDuration();
  // Every slide back to the album's durations.
  void ResetDVDImageDuration();
  // Forgets the kept copy.
  void ClearDurationData();
  BOOL HasSavedDuration() const { return m_bHasSavedDuration; }
  // Makes the slides end with the music: every slide takes the album's durations, the transition
  // `transitionSeconds` and the display time that fills the music's length after titles and
  // credits (at least 1 second).
  void MatchSlideshowToAudioDuration(int transitionSeconds);

  // Per-slide settings by index (the album's for an index outside the slides).
  CString Get_strTransName(int index) const;
  int Get_nPanZoom(int index) const;
  const _tagPhotoPanZoomSaveParam* GetpPhotoPanZoomSaveParam(int index) const;

  // Transitions of every slide.
  void RandomizeTransEffectFromSubset();
  void RandomizeTransEffect();
  void NoTransEffect();

  // Album settings.
  void Set_dwTransDurationType(DWORD type);  // 0 loops the music over the slideshow
  DWORD Get_dwTransDurationType() const { return m_dwTransDurationType; }
  void Set_bAutoPanZoom(BOOL on);
  BOOL Get_bAutoPanZoom() const { return m_bAutoPanZoom; }
  void Set_bMusicFadeInOut(BOOL on);
  BOOL Get_bMusicFadeInOut() const { return m_bMusicFadeInOut; }
  void Set_clrBackground(COLORREF colour);
  COLORREF Get_clrBackground() const { return m_clrBackground; }

  // Background music, in play order. AddBackgroundMusic appends a clip of the whole file starting
  // where the list ends; FALSE when the file has no sound the data model can measure.
  BOOL AddBackgroundMusic(LPCTSTR path);
  // Appends a copy of an entry as given.
  void AddBackgroundMusic(const _AUDIO_SOURCE& entry);
  // Removes and deletes the entry; the others keep their places.
  BOOL RemoveBackgroundMusic(_AUDIO_SOURCE* entry);
  void RemoveAllBackgroundMusic();
  int GetMusicCount() const { return static_cast<int>(m_listAudio.GetCount()); }
  _AUDIO_SOURCE* GetMusic(int index) const;
  // Seconds until the last clip ends.
  int GetMusicTimeLen() const;
  // Milliseconds of sound the video needs: titles, slides and credits; at most 0xFFFFFFFF.
  DWORD GetEncodeMusicLength() const {
    return static_cast<DWORD>(std::min<unsigned long long>(GetTotalLength() * 1000ULL, 0xFFFFFFFFu));
  }
  // The slide showing when the clip starts (null for a clip that starts during the titles or
  // credits).
  CDVDImage* GetDVDImageForAudio(const _AUDIO_SOURCE* entry) const;

  // Album-wide objects (shown on every slide). AddImageSprite takes ownership.
  BOOL AddImageSprite(CDVDImageSprite* sprite, int flag);
  BOOL RemoveImageSprite(CDVDImageSprite* sprite, BOOL deleteIt);

  // Fields other windows read directly.
  CDVDImageArray m_arrImages;          // owned slides
  CDVDImage* m_pCurImage = nullptr;    // the user's position, or null
  BOOL m_bTitleActive = FALSE;         // the titles item is the user's position
  BOOL m_bCreditActive = FALSE;        // the credits item is
  CDVDImage* m_pAlbumImage = nullptr;  // cover
  CPtrList m_listAudio;                // _AUDIO_SOURCE*, owned, in play order
  DWORD m_dwTransDurationType = 1;
  BOOL m_bAutoPanZoom = TRUE;
  BOOL m_bMusicFadeInOut = TRUE;
  COLORREF m_clrBackground = 0;
  int m_nOneDuration = 2;  // album defaults, seconds
  int m_nTwoDuration = 4;
  CDVDImageSpriteArray m_arrSprites;  // album-wide objects, owned
  BOOL m_bHasSavedDuration = FALSE;

 private:
  struct SavedDurations {
    int albumOne = 0, albumTwo = 0;
    std::vector<std::pair<const CDVDImage*, std::pair<int, int>>> slides;
  };
  void Adopt(CDVDImage* image);
  void Forget(const CDVDImage* image);

  std::unique_ptr<SavedDurations> m_saved;
};
