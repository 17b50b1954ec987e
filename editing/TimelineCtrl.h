// The timeline at the bottom of the album options page (control 1406 of its template, window class
// "CTimelineCtrl"): the page's current album as a photo track (titles, a transition and a photo
// per slide, credits) above a music track (one item per background-music clip). The strip has no
// uniform time scale: every item has its class's width and its own duration. UI thread only.
#pragma once

#include <deque>
#include <memory>

#include "platform/mfc/Afx.h"
#include "platform/mfc/Wnd.h"

class CDVDAlbumImage;
class CDVDImage;
class CImageList;
class CTLTrack;
class CTLPhotoTrack;
class CTLMusicTrack;
class CTimelineItem;
class CTLMusicItem;
struct _AUDIO_SOURCE;

// Messages between the album options page, its children and the timeline.
#define WM_TIMELINE_REBUILD 0x0D00  // page -> timeline (sent): rebuild at the next paint
#define WM_TIMELINE_REBUILD_MUSIC \
  0x0D01                                      // timeline -> itself: refill the music track;
                                              // timeline or music list -> page: clip order changed
#define WM_AUDIO_PREVIEW_DONE 0x0D02          // music preview thread -> its owner window
#define WM_TIMELINE_SELECT_CLIP 0x0D03        // music track -> page: wParam clip index, lParam 1
#define WM_TIMELINE_EDIT_CLIP 0x0D04          // timeline -> page: a music clip was double-clicked
#define WM_TIMELINE_LOOP_AUDIO 0x0D05         // page -> timeline: wParam the loop flag
#define WM_TIMELINE_SCROLL_TO_CURRENT 0x0D06  // timeline -> itself after every rebuild

#define IDC_TIMELINE 1406
#define IDC_TIMELINE_DROP_CURSOR 293
#define IDS_TIMELINE_EMPTY 282

// Where the mouse last was and what lay under it. Client coordinates of the timeline.
struct _tagTimelineHit {
  POINT pt = {0, 0};
  CTLTrack* pTrack = nullptr;
  CTimelineItem* pItem = nullptr;
};

// A music preview request, passed by value: with bStop set the running preview stops; otherwise
// the preview starts at nStartTime (replaced by the selected item's start when there is one).
struct _tagTimelinePreviewRequest {
  HWND hOwner = nullptr;  // receives WM_AUDIO_PREVIEW_DONE
  int nStartTime = 0;     // milliseconds
  int bLoop = 0;
  int bFade = 0;
  int bStop = 0;
};

class CTimelineCtrl : public CWnd {
 public:
  // Widths of the photo-track items and the scroll unit, in pixels.
  static constexpr int kTitleWidth = 80;
  static constexpr int kTransitionWidth = 60;
  static constexpr int kPhotoWidth = 100;
  static constexpr int kCreditWidth = 80;
  static constexpr int kMusicWidth = 100;
  static constexpr int kScrollUnit = 100;
  static constexpr int kPhotoTrackTop = 0, kPhotoTrackHeight = 100;
  static constexpr int kMusicTrackTop = 100, kMusicTrackHeight = 25;
  static constexpr UINT_PTR kTimerScrollLeft = 1, kTimerScrollRight = 2;

  CTimelineCtrl();
  ~CTimelineCtrl() override;

  // Registers "CTimelineCtrl" once per process; throws a resource exception when it can't.
  static BOOL RegisterWndClass();

  // Called once right after the page subclassed control 1406: makes the tracks, loads the
  // cursors and item pictures. The transition icons stay the page's. Returns 1.
  BOOL Init(CImageList* pTransitionIcons);

  // Fills the record's track and item for its point; 0 outside the client area or any track.
  BOOL HitTest(_tagTimelineHit* pHit);

  // Selects the album's current slide (or its transition) and scrolls it to the middle.
  void ScrollToCurrentImage(CDVDAlbumImage* pAlbum);
  // The slide after the current one becomes current, with its transition active.
  void SelectNextSlide(CDVDAlbumImage* pAlbum);

  // Transitions by index of the transition list. ApplyTransition targets the item when it is a
  // transition, the transition before it when it is a photo.
  void ApplyTransition(CTimelineItem* pItem, int nTransIndex, int bPlay);
  // The selected photo or transition; a message box (its result returned) when there is none.
  int ApplyTransitionToSelection(int nTransIndex, int bPlay);
  void ApplyTransitionToAll(int nTransIndex);

  void PlayMusicPreview(_tagTimelinePreviewRequest request);

  // Appends one item to its track with the item's own width.
  void AddTitleItem(int nSeconds);
  void AddCreditItem(int nSeconds);
  void AddTransitionItem(CDVDImage* pImage);
  void AddPhotoItem(CDVDImage* pImage);
  void AddMusicItem(_AUDIO_SOURCE* pSource);

  void UpdateScrollBar();
  // Both tracks filled again from the current album (run by the paint after WM_TIMELINE_REBUILD).
  void RebuildItems();
  // Refills the music track from the current album's background music.
  void RebuildMusicItems();
  void EndClipDrag();
  // Slides reordered by dragging a photo item: where the dragged slide would go (0 before the
  // first slide .. the slide count after the last; -1 where it can't be dropped), and the end of
  // the drag without a drop.
  int GetSlideInsertIndex() const { return m_nInsertIndex; }
  BOOL IsSlideDragging() const { return m_bSlideDragging; }
  void EndSlideDrag();
  // The insertion index for a hit record: the title's cell 0, the credits' and what lies right of
  // the last item the slide count; a slide's transition before it, its photo before or after it
  // by the half the point is in; -1 off the photo track.
  int SlideInsertIndexAt(const _tagTimelineHit& hit) const;

  // The album the timeline shows: the album options page's; null when there is none.
  static CDVDAlbumImage* GetCurrentAlbum();

  CTLPhotoTrack* GetPhotoTrack() const { return m_pPhotoTrack; }
  CTLMusicTrack* GetMusicTrack() const { return m_pMusicTrack; }
  const _tagTimelineHit& GetHitRecord() const { return m_hit; }
  int GetScrollPosition() const { return m_nScrollPos; }
  int GetTotalWidth() const { return m_nTotalWidth; }
  BOOL IsRebuildPending() const { return m_bRebuildPending; }
  BOOL IsDragging() const { return m_bDragging; }
  CTLMusicItem* GetDraggedClip() const { return m_pDragClip; }

  // Item pictures (image 0 normal, 1 hot, 2 selected, 3 hot and selected; the music list holds
  // the caps and middle of a selected clip, then of an unselected one).
  CImageList* GetPhotoItemList() const { return m_pPhotoList.get(); }
  CImageList* GetTransitionItemList() const { return m_pTransitionList.get(); }
  CImageList* GetMusicItemList() const { return m_pMusicList.get(); }
  CImageList* GetTitleItemList() const { return m_pTitleList.get(); }
  CImageList* GetCreditItemList() const { return m_pCreditList.get(); }
  CImageList* GetBadgeList() const { return m_pBadgeList; }
  CImageList* GetTransitionIcons() const { return m_pTransitionIcons; }

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnMouseLeave();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnDropFiles(HDROP hDropInfo);
  afx_msg LRESULT OnTimelineRebuild(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTimelineRebuildMusic(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAudioPreviewDone(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTimelineSelectClip(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTimelineEditClip(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTimelineLoopAudio(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTimelineScrollToCurrent(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void SetScrollPosition(int nPos);
  void ForgetItems();
  void LoadItemLists();
  // Auto-scroll near the edges while something is dragged.
  void DragScrollAt(CPoint point);
  // Moves the dragged slide to the insertion index: the album changes and the strip is rebuilt.
  void DropDraggedSlide(int nInsertIndex);
  void PaintInsertionMark(CDC* pDC);

  int m_nScrollPos = 0;            // pixels; read back from the bar after every scroll
  int m_nTotalWidth = 0;           // the photo track's width
  _tagTimelineHit m_hit;           // the last mouse move
  std::deque<CTLTrack*> m_tracks;  // owned; photo track, then music track
  CTLMusicTrack* m_pMusicTrack = nullptr;
  CTLPhotoTrack* m_pPhotoTrack = nullptr;
  BOOL m_bTrackingLeave = FALSE;
  BOOL m_bDragging = FALSE;
  BOOL m_bArmed = FALSE;  // the left button went down on a music clip
  CTLMusicItem* m_pDragClip = nullptr;
  BOOL m_bSlideArmed = FALSE;         // the left button went down on a photo item
  BOOL m_bSlideDragging = FALSE;      // that photo is being dragged (the mouse is captured)
  CDVDImage* m_pDragSlide = nullptr;  // the slide, not its item: a rebuild replaces the items
  CPoint m_ptPress;
  int m_nInsertIndex = -1;
  HCURSOR m_hArrow = nullptr, m_hDrop = nullptr, m_hNoDrop = nullptr;
  BOOL m_bRebuildPending = FALSE;
  CImageList* m_pTransitionIcons = nullptr;  // the page's
  std::unique_ptr<CImageList> m_pPhotoList, m_pTransitionList, m_pMusicList, m_pTitleList, m_pCreditList;
  CImageList* m_pBadgeList = nullptr;  // the minor skin's
};
