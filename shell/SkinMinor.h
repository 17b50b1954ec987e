// The minor skin: everything of the skin but the main pages' bars, tab look and window colours —
// the single-purpose button bars, the pictures of the output formats, the dialog banners, the
// album list's cards and a set of small pictures and image lists. One process-wide object,
// GetSkinMinor; the main dialog loads it before the main skin and reloads both after a language
// change. UI thread only.
#pragma once

#include "modules/buttonbar/CoolButtonBar.h"
#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"
#include "platform/mfc/GdiObjects.h"

class CXMLParse;

// The most buttons a bar of the minor skin takes from the skin file.
#define SKIN_MINOR_MAX_BUTTONS 50
#define SKIN_DIALOG_HINT_COUNT 13
#define SKIN_OUTPUT_FORMAT_COUNT 16
#define SKIN_MINOR_BAR_COUNT 19
// Size of the small copy of an output-format picture (the combo box's selection field).
#define SKIN_OUTPUT_FORMAT_SMALL_WIDTH 37
#define SKIN_OUTPUT_FORMAT_SMALL_HEIGHT 24

// The banners at the top of the dialogs, loaded when a dialog first asks for one.
struct CSkinDialogHints {
  HBITMAP m_hBitmaps[SKIN_DIALOG_HINT_COUNT] = {};
};

// Small pictures and image lists, by their id in the skin's "misc_bitmap" element.
struct CSkinMiscBitmaps {
  HBITMAP m_hSortAscending = nullptr;       // 0: header arrow of a column sorted upwards
  HBITMAP m_hSortDescending = nullptr;      // 1: header arrow of a column sorted downwards
  HIMAGELIST m_hThumbnailFrames = nullptr;  // 2-4, 112 x 86: photo frame normal, selected, selected unfocused
  HIMAGELIST m_hPlaceholders = nullptr;     // 5, 32 x 32: drawn where a photo has no thumbnail
  HIMAGELIST m_hSlideBadges = nullptr;      // 6-9, 11 x 11: auto exposure, (unused), objects, subtitle
  HIMAGELIST m_hBrowserTiles = nullptr;     // 10-12, 78 x 78: file browser tile normal, selected, unfocused
  HIMAGELIST m_hSoundBadges = nullptr;      // 13, 13 x 13, masked white: sound annotation
  HIMAGELIST m_hAlbumMarks = nullptr;       // 14, 16 x 16, masked pure red: album music mark
  HIMAGELIST m_hMusicListIcons = nullptr;   // 15, 16 x 16, masked red: music list items
  CBitmap m_bmpSeekTrack;                   // 16: seek bar track
  CBitmap m_bmpSeekRange;                   // 17: seek bar selected range
  CBitmap m_bmpSeekThumb;                   // 18: seek bar thumb
};

// The pictures of the output formats (0-4 the disc and web outputs, 5 + n profile group n) and
// the colours of the format list.
struct CSkinOutputFormatGroups {
  HBITMAP m_hBitmaps[SKIN_OUTPUT_FORMAT_COUNT] = {};
  HBITMAP m_hSmallBitmaps[SKIN_OUTPUT_FORMAT_COUNT] = {};
  COLORREF m_clrBk = RGB(232, 232, 232);
  COLORREF m_clrBkSelect = RGB(192, 192, 192);
  COLORREF m_clrText = RGB(128, 128, 128);
  COLORREF m_clrTextSelect = RGB(255, 255, 255);
  // The colours are read from the first skin that has them and kept for the whole process.
  BOOL m_bColorsToRead = TRUE;
};

// The album list's cards of photo and video albums (full paths; empty when the skin has none).
class CSkinAlbumList {
 public:
  const CString& GetNormal() const { return m_strNormal; }
  const CString& GetSelected() const { return m_strSelected; }
  const CString& GetGrayed() const { return m_strGrayed; }
  // A video card the skin leaves out is the photo card.
  const CString& GetNormalVideo() const {
    return m_strNormalVideo.IsEmpty() ? m_strNormal : m_strNormalVideo;
  }
  const CString& GetSelectedVideo() const {
    return m_strSelectedVideo.IsEmpty() ? m_strSelected : m_strSelectedVideo;
  }
  const CString& GetGrayedVideo() const {
    return m_strGrayedVideo.IsEmpty() ? m_strGrayed : m_strGrayedVideo;
  }

 private:
  friend class CSkinMinor;
  CString m_strNormal;
  CString m_strSelected;
  CString m_strGrayed;
  CString m_strNormalVideo;
  CString m_strSelectedVideo;
  CString m_strGrayedVideo;
};

class CSkinMinor {
 public:
  CSkinMinor();
  ~CSkinMinor();
  CSkinMinor(const CSkinMinor&) = delete;
  CSkinMinor& operator=(const CSkinMinor&) = delete;

  // Reads "skins/<skin file>" of the program folder. A file that cannot be read changes
  // nothing; an element or attribute the file lacks leaves its value as it was.
  void Load(LPCTSTR lpszProgramFolder, LPCTSTR lpszSkinFileName, BOOL bReload);
  void Reload(LPCTSTR lpszProgramFolder, LPCTSTR lpszSkinFileName) {
    Load(lpszProgramFolder, lpszSkinFileName, TRUE);
  }

  // The picture of output format n (modulo 16) and its 37 x 24 copy, loaded on first request;
  // null where the skin has none. Either out pointer may be null. The skin keeps both.
  void GetOutputFormatGroupBitmaps(int nGroup, HBITMAP* phBitmap, HBITMAP* phSmallBitmap);
  // The banner of dialog n (modulo 13), loaded on first request; null where the skin has none.
  // The skin keeps it.
  HBITMAP GetDialogHintBitmap(int nIndex);

  const CString& GetProgramFolder() const { return m_strProgramFolder; }
  const CString& GetSkinFileName() const { return m_strSkinFileName; }
  const CString& GetSkinFolderPath() const { return m_strSkinFolderPath; }
  const CSkinMiscBitmaps& GetMiscBitmaps() const { return m_misc; }
  const CSkinOutputFormatGroups& GetOutputFormatGroups() const { return m_outputFormats; }
  const CSkinAlbumList& GetAlbumList() const { return m_albumList; }

  // The bars, read directly by the windows that show them; created with the object, never
  // replaced, so a reload keeps them valid.
  CCoolButtonBar* m_pAlbumPreviewPlayBeginButton;         // preview container
  CCoolButtonBar* m_pAlbumPreviewPlayCurrentButton;       // preview container
  CCoolButtonBar* m_pAlbumPreviewStopButton;              // preview container
  CCoolButtonBar* m_pPhotoEditNavigatorButton;            // photo configuration dialog
  CCoolButtonBar* m_pTransMusicAudioMatchButton;          // album options page: durations
  CCoolButtonBar* m_pTransMusicSlideDurationResetButton;  // album options page: reset
  CCoolButtonBar* m_pTransMusicTransOperButton;           // album options page: transition mode
  CCoolButtonBar* m_pBurnPageBrowserButton;               // burn page: disc image file
  CCoolButtonBar* m_pBurnPageLoadEjectButton;             // burn page: tray
  CCoolButtonBar* m_pAudioTrimButton;                     // trim-audio dialog
  CCoolButtonBar* m_pEncodeButton;                        // output profile page and burn page
  CCoolButtonBar* m_pBrowseMenuTemplateButton;            // disc-menu page
  CCoolButtonBar* m_pPhotoEditPreviewPlayButton;          // photo configuration dialog
  CCoolButtonBar* m_pPhotoEditPreviewStopButton;          // photo configuration dialog
  CCoolButtonBar* m_pPhotoEditResetButton;                // custom pan-and-zoom page: start
  CCoolButtonBar* m_pPhotoEditResetButton2;               // custom pan-and-zoom page: end
  CCoolButtonBar* m_pVideoClipsToolbar;                   // video-album clip page
  CCoolButtonBar* m_pVideoPreviewPlayBeginButton;         // video-album preview container
  CCoolButtonBar* m_pVideoPreviewStopButton;              // video-album preview container

  // The bar of each of the 19 places in load order with the element it comes from.
  CCoolButtonBar* GetBar(int nIndex) const;
  static LPCTSTR GetBarElement(int nIndex);

 private:
  void LoadMiscBitmaps(const CXMLParse& parser);
  void DeleteDialogHints();
  void DeleteOutputFormats();
  void LoadOutputFormat(const CXMLParse& parser, int nSlot);
  void LoadAlbumList(const CXMLParse& parser);
  void LoadBars(const CXMLParse& parser, BOOL bReload);

  CString m_strProgramFolder;
  CString m_strSkinFileName;
  CSkinDialogHints m_dialogHints;
  CSkinMiscBitmaps m_misc;
  CSkinOutputFormatGroups m_outputFormats;
  CSkinAlbumList m_albumList;
  CString m_strSkinFolderPath;
};

extern CSkinMinor g_skinMinor;
CSkinMinor* GetSkinMinor();
