// The album list of the album editor: an owner-drawn list box whose items are the project's
// albums (item data CDVDAlbumBase*, never owned), each drawn as a 230 x 70 skin card with its
// number, thumbnail, name, photo or clip count, music mark and theme. A click tells the parent
// with WM_ALBUM_DRAG_DROP so it can start dragging the album. UI thread only.
#pragma once

#include "platform/base/CString.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/StdControls.h"

class CImageList;

// Sent to the parent after a click has selected: wParam the key flags, lParam MAKELONG(x, y) of the
// click on the screen.
#ifndef WM_ALBUM_DRAG_DROP
#define WM_ALBUM_DRAG_DROP 0x0709
#endif

// The card and where its parts go inside an item rectangle; `shift` is 1 for a card drawn as
// normal and 0 for a drop target (its texts one pixel up and left).
struct AlbumCardLayout {
  static constexpr int kItemHeight = 80;
  static constexpr int kCardWidth = 230, kCardHeight = 70;
  static CRect Card(const RECT& item) {
    return CRect(item.left + 6, item.top + 2, item.left + 236, item.top + 72);
  }
  static CRect Thumbnail(const RECT& item) {
    return CRect(item.left + 34, item.top + 13, item.left + 72, item.top + 57);
  }
  static CRect Number(const RECT& item, int s) {
    return CRect(item.left + 10 + s, item.top + 30 + s, item.left + 36 + s, item.top + 50 + s);
  }
  static CRect Name(const RECT& item, int s) {
    return CRect(item.left + 92 + s, item.top + 7 + s, item.left + 200 + s, item.top + 21 + 2 * s);
  }
  static CRect Count(const RECT& item, int s) {
    return CRect(item.left + 92 + s, item.top + 26 + 3 * s, item.left + 200 + s, item.bottom - 9 + s);
  }
  static CPoint MusicMark(const RECT& item, int s) {
    return CPoint(item.left + 208 + s, item.top + 24 + 3 * s);
  }
  static CRect Theme(const RECT& item, int s) {
    return CRect(item.left + 92 + s, item.top + 46 + 3 * s, item.left + 200 + s, item.bottom - 9 + s);
  }
};

class CMyListBoxA : public CListBox {
  DECLARE_DYNAMIC(CMyListBoxA)

 public:
  CMyListBoxA();
  ~CMyListBoxA() override;

  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
  // Keeps the order the owner inserts in.
  int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct) override;
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

  // The six cards from the paths of the minor skin's album list.
  void LoadBitmaps();
  void FreeBitmaps();
  BOOL AreBitmapsLoaded() const { return m_bBitmapsLoaded; }

  // The texts of an album's card, as drawn.
  static CString NumberText(int itemID);
  static CString NameText(const class CDVDAlbumBase* album);
  static CString CountText(const class CDVDAlbumBase* album);
  static CString ThemeText(const class CDVDAlbumBase* album);
  static BOOL ShowsMusicMark(const class CDVDAlbumBase* album);

 protected:
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  CBitmap m_bmpNormal;
  CBitmap m_bmpSelected;
  CBitmap m_bmpGrayed;
  CImageList* m_pSkinImageList = nullptr;  // the skin's 16 x 16 marks; image 0 the music mark
  CBitmap m_bmpNormalVideo;
  CBitmap m_bmpSelectedVideo;
  CBitmap m_bmpGrayedVideo;
  BOOL m_bBitmapsLoaded = FALSE;
};
