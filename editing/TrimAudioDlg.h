// The trim dialog of a music clip (template 309): plays the clip's file, shows the position on a
// seek bar and an LED time display, and sets the part of the file that is used (trim start and
// end, in steps of 1 % of the clip). OK writes both trim points back into the caller's record;
// Cancel leaves it as it was. A clip without a length is refused with a message. UI thread only.
#pragma once

#include <cstdint>

#include "controls/HintBitmapStatic.h"
#include "controls/LedDisplay.h"
#include "controls/SeekBar.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/GdiObjects.h"

struct _AUDIO_SOURCE;
struct IGraphBuilder;
struct IMediaSeeking;
struct IMediaControl;
struct IMediaEventEx;
struct IBasicAudio;
class CGraphBuilderCB;

#define IDD_TRIM_AUDIO 309

#define IDC_TRIM_BANNER 1453
#define IDC_TRIM_PATH 1413
#define IDC_TRIM_SEEK_PLACE 1417
#define IDC_TRIM_TIME 1425
#define IDC_TRIM_BAR 1441
#define IDC_TRIM_PATH_LABEL 1442
#define IDC_TRIM_SEEK_BAR 0xFFFF
// Commands running the bar's seven buttons, in the bar's order.
#define IDC_TRIM_SET_START 1418
#define IDC_TRIM_GOTO_END 1424

#define WM_TRIM_BUTTON 0x2021       // bar button index / 0
#define WM_TRIM_GRAPH_EVENT 0x8001  // the graph has events waiting

class CTrimAudioDlg : public CDialog {
 public:
  enum Button { kSetStart, kSetEnd, kPlay, kPause, kStop, kGoToStart, kGoToEnd };
  enum PlayState { kStopped = 0, kPaused = 1, kRunning = 2 };

  // The clip to edit and whether it plays at once (the music list's Play).
  CTrimAudioDlg(_AUDIO_SOURCE* pSource, BOOL bPlayAtOnce, CWnd* pParent = nullptr);
  ~CTrimAudioDlg() override;

  // What the window shows, for its callers' checks.
  unsigned int GetBarPos() const { return m_seekBar.m_nPos; }
  int64_t GetSelectionStart() const { return m_nSelStart; }
  int64_t GetSelectionEnd() const { return m_nSelEnd; }
  CString GetTimeText() const { return m_led.GetText(); }
  int GetPlayState() const { return m_nPlayState; }
  // Moves the bar as a click on it would.
  void ClickBar(unsigned int percent);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC) { return TRUE; }
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnGraphEvent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSeekBarClick(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSeekBarGetBitmaps(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTrimButton(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  HRESULT RenderAudioFile();
  HRESULT Run();
  HRESULT Pause();
  HRESULT Stop();
  void OnPlay();
  void OnPauseButton();
  void OnStop();
  void SeekToBar();
  void ShowTime(int64_t position);
  void PositionTick();
  void ReleaseGraph();
  void StartTimer();
  void KillPositionTimer();
  void RepaintSeekBar();
  void EnableBarButton(int nButton, BOOL bEnable);
  int64_t LengthMs() const;

  CHintBitmapStatic m_banner;
  CLedDisplay m_led;
  CString m_strPath;
  BOOL m_bPlayAtOnce;
  CSeekBar m_seekBar;
  _AUDIO_SOURCE* m_pSource;
  int64_t m_nSelStart = 0;  // the trim points shown, milliseconds
  int64_t m_nSelEnd = 0;
  int64_t m_llDuration = 0;  // 100-ns units
  int m_nPlayState = kStopped;
  UINT_PTR m_nTimer = 0;
  IGraphBuilder* m_pGraph = nullptr;
  IMediaSeeking* m_pSeeking = nullptr;
  IMediaControl* m_pControl = nullptr;
  IMediaEventEx* m_pEvent = nullptr;
  IBasicAudio* m_pAudio = nullptr;
  CGraphBuilderCB* m_pSite = nullptr;
  BOOL m_bComInitialized = FALSE;
  CBrush m_brush;
};
