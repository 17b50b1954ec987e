// The items of the timeline's tracks: what one element of the strip is, how wide it is, how long it
// lasts, how it paints, and what a click, a double click or a selection does to the album. Kinds are
// told apart with IsKindOf. UI thread only.
#pragma once

#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

class CDC;
class CDVDImage;
class CImageList;
class CTimelineCtrl;
struct _AUDIO_SOURCE;

class CTimelineItem : public CObject {
  DECLARE_DYNAMIC(CTimelineItem)

 public:
  explicit CTimelineItem(CTimelineCtrl* pOwner) : m_pOwner(pOwner) {}

  // nStart: milliseconds from the strip's start to this item's start.
  virtual void Paint(CDC* pDC, int nStart) = 0;
  virtual int GetDuration() = 0;  // milliseconds
  virtual int GetWidth() { return 0; }
  // Where the item is drawn now: the layout rectangle shifted by dx (minus the scroll position).
  virtual void UpdateDisplayRect(int dx);
  // Hot := the point lies in the display rectangle; returned.
  virtual BOOL HitTest(POINT pt);
  virtual void Click(POINT pt) {}
  virtual void Edit() {}
  virtual void Select(BOOL bSelect) { m_bSelected = bSelect; }

  RECT m_rcLayout = {0, 0, 0, 0};   // on the whole strip
  RECT m_rcDisplay = {0, 0, 0, 0};  // in the client area
  BOOL m_bHot = FALSE;
  BOOL m_bSelected = FALSE;
  CTimelineCtrl* m_pOwner;

 protected:
  // Frame image for the item's state: 0 normal, 1 hot, 2 selected, 3 hot and selected.
  int FrameIndex() const { return (m_bHot ? 1 : 0) + (m_bSelected ? 2 : 0); }
  void DrawFrame(CDC* pDC, CImageList* pList) const;
};

class CTLPhotoItem : public CTimelineItem {
  DECLARE_DYNAMIC(CTLPhotoItem)

 public:
  static constexpr int kWidth = 100;
  // Click zones, relative to the display rectangle's top-left corner.
  static constexpr RECT kDurationZone = {10, 76, 40, 91};
  static constexpr RECT kSoundZone = {60, 76, 90, 91};

  CTLPhotoItem(CDVDImage* pImage, CTimelineCtrl* pOwner) : CTimelineItem(pOwner), m_pImage(pImage) {}

  void Paint(CDC* pDC, int nStart) override;
  int GetDuration() override;
  int GetWidth() override { return kWidth; }
  BOOL HitTest(POINT pt) override;
  void Click(POINT pt) override;
  void Edit() override;
  void Select(BOOL bSelect) override;

  CDVDImage* m_pImage;
  int m_nNumber = 0;  // 0-based among the photo items, renumbered at every paint
  BOOL m_bDurationZone = FALSE;
  BOOL m_bSoundZone = FALSE;
};

class CTLTransitionItem : public CTimelineItem {
  DECLARE_DYNAMIC(CTLTransitionItem)

 public:
  static constexpr int kWidth = 60;
  static constexpr RECT kDurationZone = {5, 34, 45, 46};

  CTLTransitionItem(CDVDImage* pImage, CImageList* pIcons, CTimelineCtrl* pOwner);

  void Paint(CDC* pDC, int nStart) override;
  int GetDuration() override;
  int GetWidth() override { return kWidth; }
  void UpdateDisplayRect(int dx) override;
  BOOL HitTest(POINT pt) override;
  void Click(POINT pt) override;
  void Edit() override;
  void Select(BOOL bSelect) override;

  // Plays the slide's transition in the album options page's preview.
  void PlayPreview();

  CDVDImage* m_pImage;
  CImageList* m_pIcons;  // the page's transition icons, index = transition id
  BOOL m_bDurationZone = FALSE;
  int m_nTransID;
};

// What titles and credits share: a duration of their own, a 70 x 70 picture centred in their cell,
// no click zones and no editor. Each selects its own part of the album.
class CTLAlbumTextItem : public CTimelineItem {
  DECLARE_DYNAMIC(CTLAlbumTextItem)

 public:
  static constexpr int kWidth = 80;

  CTLAlbumTextItem(CTimelineCtrl* pOwner, int nSeconds)
      : CTimelineItem(pOwner), m_nDuration(nSeconds * 1000) {}

  int GetDuration() override { return m_nDuration; }
  int GetWidth() override { return kWidth; }
  void UpdateDisplayRect(int dx) override;

  int m_nDuration;  // milliseconds

 protected:
  // Marks the titles (or the credits) as the album's position; nothing without an album editor.
  static void MakeAlbumPosition(BOOL bTitle);
};

class CTLTitleItem : public CTLAlbumTextItem {
  DECLARE_DYNAMIC(CTLTitleItem)

 public:
  CTLTitleItem(CTimelineCtrl* pOwner, int nSeconds) : CTLAlbumTextItem(pOwner, nSeconds) {}

  void Paint(CDC* pDC, int nStart) override;
  void Select(BOOL bSelect) override;
};

class CTLCreditItem : public CTLAlbumTextItem {
  DECLARE_DYNAMIC(CTLCreditItem)

 public:
  CTLCreditItem(CTimelineCtrl* pOwner, int nSeconds) : CTLAlbumTextItem(pOwner, nSeconds) {}

  void Paint(CDC* pDC, int nStart) override;
  void Select(BOOL bSelect) override;
};

class CTLMusicItem : public CTimelineItem {
  DECLARE_DYNAMIC(CTLMusicItem)

 public:
  static constexpr int kWidth = 100;

  CTLMusicItem(_AUDIO_SOURCE* pSource, CTimelineCtrl* pOwner) : CTimelineItem(pOwner), m_pSource(pSource) {}

  void Paint(CDC* pDC, int nStart) override;
  int GetDuration() override;
  int GetWidth() override { return kWidth; }
  void UpdateDisplayRect(int dx) override;

  _AUDIO_SOURCE* m_pSource;
};
