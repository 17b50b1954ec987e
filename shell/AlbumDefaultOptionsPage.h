// CAlbumDefaultOptionsPage: the "Album Default" page of the Options dialog. It edits the defaults
// every new album receives (the "Transition" section): the background music list, which it can
// play through the data model's music player, music fade, loop and random order, the transition
// and photo durations, the background colour and the pan-and-zoom and tooltip flags. It works on
// copies and writes the section only when the dialog is closed with OK.
#pragma once

#include "controls/ColorPicker.h"
#include "platform/base/Array.h"
#include "platform/comctl/AfxControls.h"
#include "platform/comctl/AfxListCtrl.h"
#include "platform/mfc/PropertySheet.h"
#include "shell/OptionsPageLogic.h"

class CDSTLAudio;

#define IDD_ALBUM_DEFAULT_OPTIONS 317
#define IDC_ALBUM_MUSIC_LIST 1087
#define IDC_ALBUM_ADD_MUSIC 1111
#define IDC_ALBUM_REMOVE_MUSIC 1112
#define IDC_ALBUM_MOVE_UP 1113
#define IDC_ALBUM_MOVE_DOWN 1114
#define IDC_ALBUM_PLAY 1115
#define IDC_ALBUM_FADE 1349
#define IDC_ALBUM_LOOP_AUDIO 1354
#define IDC_ALBUM_RANDOM_ORDER 1443
#define IDC_ALBUM_TRANSITION_DURATION 1095
#define IDC_ALBUM_TRANSITION_SPIN 1097
#define IDC_ALBUM_PHOTO_DURATION 1099
#define IDC_ALBUM_PHOTO_SPIN 1100
#define IDC_ALBUM_BACKGROUND_COLOR 1154
#define IDC_ALBUM_RESET 1428
#define IDC_ALBUM_TRANSITION_SUBSET 1449
#define IDC_ALBUM_PAN_ZOOM 1261
#define IDC_ALBUM_PAN_ZOOM_WHOLE_TIME 1262
#define IDC_ALBUM_TOOLTIPS 1446

#define IDS_PLAY 145
#define IDS_SELECT_MUSIC_FIRST 150
#define IDS_STOP_PLAYING 57490

class CAlbumDefaultOptionsPage : public CPropertyPage {
 public:
  static constexpr UINT_PTR kPlayTimer = 3213;

  CAlbumDefaultOptionsPage();
  // Waits for the player, then frees it and the events.
  ~CAlbumDefaultOptionsPage() override;

  void FillMusicList();
  CString GetItemPath(int nRow) const;
  void StartPlayback();
  void StopPlayback();
  // Asks the player to stop and waits for it while this thread's messages go on being handled,
  // so the page stays painted and the player's end message can still arrive.
  void StopAndWait();
  BOOL IsPlaying() const { return m_bPlaying; }
  // Stores the page (called by the dialog's OK).
  void OnOK() override;
  // "&Reset": the defaults for durations, colour, loop audio and pan and zoom; nothing is written.
  void OnReset() override;

  CEdit m_editPhotoDuration;
  CSpinButtonCtrl m_spinPhotoDuration;
  CEdit m_editTransitionDuration;
  CSpinButtonCtrl m_spinTransitionDuration;
  options_logic::AlbumDefaults m_values;  // the dialog-data fields but the colour
  CListCtrl m_listMusic;
  CColorPickerButton m_colorButton;
  COLORREF* m_pColor = nullptr;  // the colour button's colour

  CDSTLAudio* m_pPlayer = nullptr;  // made on first use
  HANDLE m_hStopEvent = nullptr;    // manual reset, page -> player
  HANDLE m_hDoneEvent = nullptr;    // manual reset, player -> page; set while nothing plays
  BOOL m_bPlaying = FALSE;
  CStringArray m_arrMusic;  // the working music list
  int m_nPlayDuration = 0;  // seconds
  DWORD m_dwPlayStart = 0;  // GetTickCount at the start

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  afx_msg void OnAddMusic();
  afx_msg void OnRemoveMusic();
  afx_msg void OnMoveUp();
  afx_msg void OnMoveDown();
  afx_msg void OnPlay();
  afx_msg void OnResetButton();
  afx_msg void OnTransitionSubset();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnMusicPlayEnd(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void SetColumns();
  int FirstSelectedRow() const;
  void SelectRow(int nRow);
  void MoveSelected(int nDelta);
  void ShowValues(const options_logic::AlbumDefaults& values);
  CStringArray m_arrPlaying;  // the one file the player was given
};
