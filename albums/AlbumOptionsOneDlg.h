// The album options page (template 160): page 1 of the photo-album sheet. For the photo album
// selected in the album editor it mirrors the album-wide slide settings in its controls
// (durations, pan and zoom, music fade and loop, background colour) and writes them back, shows
// the music and slideshow lengths, offers the duration tools, lists the transitions with their
// preview, keeps the album's background music in its music list under the skin's music bar, and
// hosts the timeline below. Every value lives in the data model's album. UI thread only.
#pragma once

#include <memory>
#include <vector>

#include "albums/DragListCtrl.h"
#include "controls/BalloonTip.h"
#include "controls/ColorPicker.h"
#include "controls/LayoutMgr.h"
#include "editing/TimelineCtrl.h"
#include "editing/TransitionControls.h"
#include "platform/comctl/AfxControls.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/PropertySheet.h"

class CCoolButtonBar;
class CDVDAlbumImage;
class CImageList;
struct _AUDIO_SOURCE;

#define IDD_ALBUM_OPTIONS_ONE 160

// Controls of template 160.
#define IDC_OPTIONS_TRANSITION_LIST 1022
#define IDC_OPTIONS_MUSIC_LIST 1087
#define IDC_OPTIONS_TRANSITION_DURATION 1095
#define IDC_OPTIONS_TRANSITION_SPIN 1097
#define IDC_OPTIONS_PHOTO_DURATION 1099
#define IDC_OPTIONS_PHOTO_SPIN 1100
#define IDC_OPTIONS_PREVIEW 1102
#define IDC_OPTIONS_MUSIC_LENGTH 1106
#define IDC_OPTIONS_SLIDESHOW_LENGTH 1107
#define IDC_OPTIONS_COLOR 1154
#define IDC_OPTIONS_PAN_ZOOM 1261
#define IDC_OPTIONS_DURATION_BAR 1334
#define IDC_OPTIONS_RESET_BAR 1335
#define IDC_OPTIONS_PLAY_TO_END 1339
#define IDC_OPTIONS_FADE 1349
#define IDC_OPTIONS_LOOP 1354
#define IDC_OPTIONS_TIMELINE 1406
#define IDC_OPTIONS_MUSIC_BAR 1407
#define IDC_OPTIONS_TRANSITION_MODE_BAR 1452

// Messages of the page's bars and of the windows that talk to it.
#define WM_MUSIC_BAR_NOTIFY 0x0C1A
#define WM_DURATION_BAR_NOTIFY 0x0C1B
#define WM_RESET_BAR_NOTIFY 0x0C1C
#define WM_TRANSITION_MODE_BAR_NOTIFY 0x0C1D
#define WM_SAVE_ALBUM_OPTIONS 0x0D29
#define WM_ADD_MUSIC_FILE 0x0D2A  // wParam: a new[] copy of one path, deleted by the page

// Commands of the transition, timeline and music popups.
#define ID_TRANSITION_APPLY_SELECTED 33931
#define ID_TRANSITION_APPLY_ALL 33932
#define ID_TRANSITION_RANDOM_SUBSET 33935
#define ID_MUSIC_ADD 33936
#define ID_MUSIC_REMOVE 33937
#define ID_MUSIC_MOVE_UP 33938
#define ID_MUSIC_MOVE_DOWN 33939
#define ID_MUSIC_TRIM 33940
#define ID_SHOW_TOOLTIPS 33943
#define ID_TRANSITION_RANDOM_ALL 33944
#define ID_TRANSITION_NONE 33945

class AlbumOptionsOneDlg : public CPropertyPage {
 public:
  AlbumOptionsOneDlg();
  ~AlbumOptionsOneDlg() override;

  // The album the page shows: a photo album, else none. The settings of the album shown before
  // are written back first.
  void SetAlbum(CDVDAlbumImage* pAlbum);
  CDVDAlbumImage* GetAlbum() const { return m_pAlbum; }
  // Tells the timeline that the slides changed (it rebuilds on its next paint).
  void RebuildTimeline();
  void RepaintTimeline();
  void RefreshSlideshowLength();

  // The music list: 0 (and an empty list) for anything but a photo album.
  int FillMusicList(CDVDAlbumImage* pAlbum);
  int AddMusicCommand();
  // The album's music length in control 1106; the seconds.
  int ShowAudioDuration(CDVDAlbumImage* pAlbum);
  void UpdateMusicIcons(CDVDAlbumImage* pAlbum);

  // Music commands (the music bar's buttons).
  void AddMusicFiles();
  void RemoveSelectedMusic();
  void MoveMusicUp();
  void MoveMusicDown();
  void TrimSelectedMusic() { EditMusic(0); }
  void PlaySelectedMusic() { EditMusic(1); }
  void ShiftMusicEarlier() { ShiftMusic(-1); }
  void ShiftMusicLater() { ShiftMusic(+1); }
  void RecordMusic();
  void ShowMusicMoreMenu();
  // Adds files that pass the size rule to the current album; the invalid ones are reported.
  // Returns how many were added.
  int AddMusicPaths(const std::vector<CString>& paths, BOOL bReplaceDefault);

  // Duration tools.
  void MatchSlideshowToAudio();
  void UndoDurationChange();
  void ResetDurations();

  CDragListCtrl& GetMusicList() { return m_listMusic; }
  CTransitionListCtrl& GetTransitionListCtrl() { return m_listTransitions; }
  CTimelineCtrl& GetTimeline() { return m_timeline; }
  int GetSelectedMusicRow() const;
  void SelectMusicRow(int nRow);

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnClose();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnDurationChanged(UINT nID);
  afx_msg void OnPanZoomClicked();
  afx_msg void OnFadeClicked();
  afx_msg void OnLoopClicked();
  afx_msg LRESULT OnPageShow(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDurationBar(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnResetBar(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTransitionModeBar(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMusicBar(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnColorPicked(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnWinMgr(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPrepareProjectSave(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnProjectReloaded(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSaveAlbumOptions(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNothing(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTakeMusicClipOrder(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTimelineSelectClip(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTimelineEditClip(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAudioPreviewDone(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAddMusicFile(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void RefreshAll(CDVDAlbumImage* pAlbum);
  void LoadAlbumSettings(CDVDAlbumImage* pAlbum);
  void SaveAlbumSettings();
  void ShowSlideshowLength(CDVDAlbumImage* pAlbum);
  void UpdateUndoButton();
  void FillTransitionList();
  void OnTransitionCommand(UINT nID);
  void EditMusic(int nMode);
  void ShiftMusic(int nSeconds);
  void OnMusicItemChanged(const NMLISTVIEW* pNotify);
  void AfterMusicAdded();
  // The music entry of the selected row after the usual refusals (messages 150 and 149).
  _AUDIO_SOURCE* SelectedEntryOrComplain(int* pRow);
  // The album is still one of the project's: the only album whose settings may be written.
  BOOL IsLiveAlbum(const CDVDAlbumImage* pAlbum) const;
  void ApplyLayout(int cx, int cy);
  void SetMusicColumnWidths();
  void PostToTimeline(UINT nMessage, WPARAM wParam = 0);
  void PostStatusBarUpdate() const;
  CTimelineCtrl* Timeline();

  // The skin's bars, as the page shows them.
  CCoolButtonBar* m_pMusicBar;
  CCoolButtonBar* m_pDurationBar;
  CCoolButtonBar* m_pResetBar;
  CCoolButtonBar* m_pTransitionModeBar;
  CSpinButtonCtrl m_spinPhoto;
  CSpinButtonCtrl m_spinTransition;
  CString m_strAudioDuration = "0:00:00";
  CString m_strSlideshowDuration = "0:00:00";
  int m_nTransitionDuration = 0;
  int m_nPhotoDuration = 0;
  int m_bPanZoom = 0;
  int m_bPlayToEnd = 0;
  int m_bFade = 0;
  int m_bLoop = 0;
  CDragListCtrl m_listMusic;
  CColorPickerButton m_colorButton;
  CDVDAlbumImage* m_pAlbum = nullptr;
  // What the controls were last loaded with, and for which album: only values the user changed
  // since are written back, so settings changed elsewhere meanwhile survive a hide.
  struct LoadedValues {
    const CDVDAlbumImage* album = nullptr;
    int transition = 0, photo = 0, panZoom = 0, fade = 0, loop = 0;
    COLORREF colour = 0;
  } m_loaded;
  HANDLE m_hStopEvent = nullptr;
  HANDLE m_hDoneEvents[2] = {nullptr, nullptr};
  CLayoutMgr m_layout;
  std::vector<_tagLayoutRow> m_designTable;
  std::unique_ptr<CLayoutMgr> m_pDesignLayout;
  CTimelineCtrl m_timeline;
  CTransitionListCtrl m_listTransitions;
  CTransitionPreviewStatic m_preview;
  std::unique_ptr<CImageList> m_pTransitionImages;
  CBalloonTip m_balloon;
  CBrush m_brushPage;
  BOOL m_bSuppress = TRUE;
  BOOL m_bSelectionFromTimeline = FALSE;
};
