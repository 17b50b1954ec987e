// The timeline's tracks: a horizontal band of items laid end to end, each as wide as its class
// says. The photo track holds titles, a transition and a photo per slide, and credits; the music
// track (TLMusicTrack.h) holds the background-music clips. A track owns its items. UI thread only.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/List.h"
#include "platform/base/WinTypes.h"

class CDC;
class CDVDImage;
class CTimelineCtrl;
class CTimelineItem;
class CTLPhotoItem;

class CTLTrack {
 public:
  CTLTrack(CTimelineCtrl* pOwner, int nTop, int nHeight)
      : m_pOwner(pOwner), m_nTop(nTop), m_nHeight(nHeight) {}
  virtual ~CTLTrack();

  CTLTrack(const CTLTrack&) = delete;
  CTLTrack& operator=(const CTLTrack&) = delete;

  // Appends the item after the last one; a width of 0 takes the item's own. The width used.
  virtual int AddItem(CTimelineItem* pItem, int nWidth);
  // Draws (and hit-tests) only the items that meet the visible band.
  virtual void Paint(CDC* pDC);
  // The last visible item under the point, or null.
  virtual CTimelineItem* HitTest(POINT pt);
  virtual void SetReserved(int a, int b, int c, int d);
  virtual int GetTotalDuration() = 0;  // milliseconds
  // Only that item selected; returns the index (SelectItem -1 for an item not in the track).
  virtual int SelectIndex(int nIndex);
  virtual int SelectItem(CTimelineItem* pItem);

  // Deletes every item; the width goes back to 0.
  void Clear();

  int GetCount() const { return static_cast<int>(m_items.GetCount()); }
  CTimelineItem* GetItem(int nIndex) const;
  int IndexOf(const CTimelineItem* pItem) const;
  int GetTop() const { return m_nTop; }
  int GetHeight() const { return m_nHeight; }
  int GetTotalWidth() const { return m_nTotalWidth; }

 protected:
  // The band of the strip in view: [scroll position, scroll position + client width) across,
  // the track's rows down.
  RECT VisibleBand() const;

  CTimelineCtrl* m_pOwner;
  CPtrList m_items{10};  // CTimelineItem*, left to right, owned
  int m_nTop;
  int m_nHeight;
  int m_nTotalWidth = 0;
  int m_nReserved[4] = {0, 0, 0, 0};
};

class CTLPhotoTrack : public CTLTrack {
 public:
  CTLPhotoTrack(CTimelineCtrl* pOwner, int nTop, int nHeight) : CTLTrack(pOwner, nTop, nHeight) {}

  void Paint(CDC* pDC) override;
  int GetTotalDuration() override;

  // The first selected item, or null.
  CTimelineItem* FindSelected() const;
  // Milliseconds of the items before pItem; FALSE when the item is not in the track.
  BOOL GetStartTime(const CTimelineItem* pItem, int& nStart) const;
  // Marks the item that stands for the album's position (the slide's transition when the album's
  // first-transition-active flag is set, else its photo) without touching the album, and returns
  // the slide's photo item; the first photo item when the slide has none; null for a null slide or
  // a track without photos.
  CTLPhotoItem* FindAndSelect(CDVDImage* pImage);
  // Gives the transition of pItem (or of the photo's transition item) the transition list's
  // entry nTransIndex under strName; bPlay previews it in the page.
  void ApplyTransition(CTimelineItem* pItem, int nTransIndex, LPCTSTR strName, int bPlay);
  void ApplyToAll(int nTransIndex, LPCTSTR strName);
};
