#include "editing/TrimAudioDlg.h"

#include <algorithm>
#include <cstdarg>

#include "editing/TrimAudioMath.h"
#include "modules/buttonbar/CoolButtonBar.h"
#include "modules/data/AudioSource.h"
#include "modules/data/GraphBuilderCB.h"
#include "modules/log/Log.h"
#include "platform/base/Utf8.h"
#include "platform/com/Com.h"
#include "platform/media/FilterGraph.h"
#include "platform/mfc/Dc.h"
#include "platform/user/Metrics.h"
#include "shell/LanguageFile.h"
#include "shell/SkinMinor.h"

#define IDS_TRIM_BAR_TIP 245

namespace {

constexpr UINT_PTR kPositionTimer = 55;
constexpr COLORREF kFace = 0xD8E9EC;

// Failures of the player are for the developer, not the user: they go to the error log, which is
// where this program's debugger output lands.
void DebugOutput(const char* format, ...) __attribute__((format(printf, 1, 2)));
void DebugOutput(const char* format, ...) {
  va_list args;
  va_start(args, format);
  CString text;
  text.FormatV(format, args);
  va_end(args);
  text.Trim();
  WriteErrorLog("%s", text.GetString());
}

template <class T>
void ReleaseInterface(T*& p) {
  if (p != nullptr) p->Release();
  p = nullptr;
}

}  // namespace

BEGIN_MESSAGE_MAP(CTrimAudioDlg, CDialog)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
ON_WM_TIMER()
ON_WM_DESTROY()
ON_MESSAGE(WM_TRIM_GRAPH_EVENT, OnGraphEvent)
ON_MESSAGE(WM_SEEKBAR_CLICK, OnSeekBarClick)
ON_MESSAGE(WM_SEEKBAR_GET_BITMAPS, OnSeekBarGetBitmaps)
ON_MESSAGE(WM_TRIM_BUTTON, OnTrimButton)
END_MESSAGE_MAP()

CTrimAudioDlg::CTrimAudioDlg(_AUDIO_SOURCE* pSource, BOOL bPlayAtOnce, CWnd* pParent)
    : CDialog(IDD_TRIM_AUDIO, pParent), m_bPlayAtOnce(bPlayAtOnce), m_pSource(pSource) {
  m_pSite = new CGraphBuilderCB(0);
  m_pSite->AddRef();
}

CTrimAudioDlg::~CTrimAudioDlg() {
  ReleaseGraph();
  m_pSite->Release();
}

void CTrimAudioDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_TRIM_BANNER, m_banner);
  DDX_Control(pDX, IDC_TRIM_TIME, m_led);
  DDX_Text(pDX, IDC_TRIM_PATH, m_strPath);
}

int64_t CTrimAudioDlg::LengthMs() const {
  return m_pSource != nullptr ? m_pSource->nSourceLength : 0;
}

BOOL CTrimAudioDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_TRIM_AUDIO);
  m_brush.CreateSolidBrush(kFace);
  // The length divides every bar position: a clip without one cannot be trimmed.
  if (m_pSource == nullptr || m_pSource->nSourceLength <= 0) {
    CString text;
    text.Format("The length of %s is not known, so it cannot be trimmed.",
                m_pSource != nullptr ? m_pSource->strPathName.GetString() : "");
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    EndDialog(IDCANCEL);
    return TRUE;
  }
  CSkinMinor* skin = GetSkinMinor();
  if (skin != nullptr) m_banner.SetBitmap(skin->GetDialogHintBitmap(7));

  CCoolButtonBar* bar = skin != nullptr ? skin->m_pAudioTrimButton : nullptr;
  if (bar != nullptr && bar->GetSafeHwnd() == nullptr && bar->SubclassDlgItem(IDC_TRIM_BAR, this)) {
    bar->SetNotifyMessage(m_hWnd, WM_TRIM_BUTTON);
    bar->EnableToolTip(IDS_TRIM_BAR_TIP);
    // The skin's bar is as wide as its picture: a wider window would show an empty stretch.
    bar->SetWindowPos(nullptr, 0, 0, bar->GetSize().cx, bar->GetSize().cy, SWP_NOMOVE | SWP_NOZORDER);
  }

  CRect place;
  if (CWnd* placeholder = GetDlgItem(IDC_TRIM_SEEK_PLACE)) {
    placeholder->GetWindowRect(&place);
    ScreenToClient(&place);
  }
  m_seekBar.Create(nullptr, WS_CHILD | WS_VISIBLE | SS_NOTIFY, place, this, IDC_TRIM_SEEK_BAR);
  const trim_math::Selection selection =
      trim_math::InitialSelection(m_pSource->nTrimStart, m_pSource->nTrimEnd, LengthMs());
  m_nSelStart = selection.start;
  m_nSelEnd = selection.end;
  m_seekBar.m_nRangeTotal = static_cast<unsigned int>(LengthMs());
  m_seekBar.m_nRangeStart = static_cast<unsigned int>(m_nSelStart);
  m_seekBar.m_nRangeEnd = static_cast<unsigned int>(m_nSelEnd);

  m_led.m_clrBackground = RGB(0, 0, 0);
  m_led.m_clrLed = 0xC8C8C8;
  m_led.m_clrUnlit = 0x282828;
  m_led.m_bCustomUnlit = 1;
  m_led.m_bApplyMargin = 0;
  m_led.m_nMargin = 6;
  m_led.m_bEditable = 0;

  m_strPath = m_pSource->strPathName;
  m_bComInitialized = SUCCEEDED(CoInitialize(nullptr));
  HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(&m_pGraph));
  if (SUCCEEDED(hr)) hr = m_pGraph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&m_pControl));
  if (SUCCEEDED(hr)) hr = m_pGraph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&m_pEvent));
  if (SUCCEEDED(hr)) hr = m_pGraph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&m_pSeeking));
  if (SUCCEEDED(hr)) hr = m_pGraph->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&m_pAudio));
  if (FAILED(hr)) {
    ReleaseGraph();
    DebugOutput("Failed to initialize DirectShow!  hr=0x%x\r\n", static_cast<unsigned>(hr));
    UpdateData(FALSE);
    return FALSE;
  }
  m_nPlayState = kStopped;
  if (FAILED(RenderAudioFile())) {
    EnableBarButton(kPlay, FALSE);
    MessageBeep(0);
    UpdateData(FALSE);
    return FALSE;
  }
  EnableBarButton(kPlay, TRUE);
  CString title;
  title.Format("Trim Audio - %s", m_strPath.GetString());
  SetWindowText(title);

  m_seekBar.m_nPos = static_cast<unsigned int>(trim_math::PercentOf(m_nSelStart, LengthMs()));
  m_llDuration = 0;
  m_seekBar.EnableWindow(FALSE);
  if (m_pSeeking != nullptr) {
    m_llDuration = LengthMs() * trim_math::kUnitsPerMs;
    m_seekBar.EnableWindow(m_llDuration > 0);
  }
  SeekToBar();
  UpdateData(FALSE);
  if (m_bPlayAtOnce) PostMessage(WM_TRIM_BUTTON, kPlay, 0);
  return TRUE;
}

HRESULT CTrimAudioDlg::RenderAudioFile() {
  if (m_pGraph == nullptr || m_pEvent == nullptr) return E_NOINTERFACE;
  IObjectWithSite* site = nullptr;
  if (SUCCEEDED(m_pGraph->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&site))))
    site->SetSite(m_pSite);
  const HRESULT hr = m_pGraph->RenderFile(pictavo::utf8::ToWide(m_strPath.View()).c_str(), nullptr);
  if (site != nullptr) {
    site->SetSite(nullptr);
    site->Release();
  }
  if (FAILED(hr)) {
    DebugOutput("*** Failed(%08lx) in RenderFile(%s)!\r\n", static_cast<unsigned long>(hr),
                m_strPath.GetString());
    return hr;
  }
  return m_pEvent->SetNotifyWindow(reinterpret_cast<OAHWND>(m_hWnd), WM_TRIM_GRAPH_EVENT, 0);
}

HRESULT CTrimAudioDlg::Run() {
  if (m_pControl == nullptr) return E_NOINTERFACE;
  const HRESULT hr = m_pControl->Run();
  if (SUCCEEDED(hr))
    m_nPlayState = kRunning;
  else
    DebugOutput("\r\n*** Failed(%08lx) in Run()!\r\n", static_cast<unsigned long>(hr));
  return hr;
}

HRESULT CTrimAudioDlg::Pause() {
  if (m_pControl == nullptr) return E_NOINTERFACE;
  if (m_nPlayState != kRunning) return S_OK;
  const HRESULT hr = m_pControl->Pause();
  if (SUCCEEDED(hr))
    m_nPlayState = kPaused;
  else
    DebugOutput("\r\n*** Failed(%08lx) in Pause()!\r\n", static_cast<unsigned long>(hr));
  return hr;
}

HRESULT CTrimAudioDlg::Stop() {
  if (m_pControl == nullptr) return E_NOINTERFACE;
  if (m_nPlayState == kStopped) return S_OK;
  const HRESULT hr = m_pControl->Stop();
  if (SUCCEEDED(hr))
    m_nPlayState = kStopped;
  else
    DebugOutput("\r\n*** Failed(%08lx) in Stop()!\r\n", static_cast<unsigned long>(hr));
  return hr;
}

void CTrimAudioDlg::StartTimer() {
  KillPositionTimer();
  m_nTimer = SetTimer(kPositionTimer, 10, nullptr);
}

void CTrimAudioDlg::KillPositionTimer() {
  if (m_nTimer != 0 && m_hWnd != nullptr) KillTimer(m_nTimer);
  m_nTimer = 0;
}

void CTrimAudioDlg::EnableBarButton(int nButton, BOOL bEnable) {
  CSkinMinor* skin = GetSkinMinor();
  CCoolButtonBar* bar = skin != nullptr ? skin->m_pAudioTrimButton : nullptr;
  if (bar == nullptr || bar->GetSafeHwnd() == nullptr || bar->GetParent() != this) return;
  if (bEnable)
    bar->EnableButton(nButton);
  else
    bar->DisableButton(nButton);
}

void CTrimAudioDlg::RepaintSeekBar() {
  m_seekBar.m_nRangeStart = static_cast<unsigned int>(m_nSelStart);
  m_seekBar.m_nRangeEnd = static_cast<unsigned int>(m_nSelEnd);
  if (m_seekBar.GetSafeHwnd() != nullptr) m_seekBar.Invalidate(FALSE);
}

void CTrimAudioDlg::OnPlay() {
  if (FAILED(Run())) return;
  EnableBarButton(kPlay, FALSE);
  EnableBarButton(kStop, TRUE);
  EnableBarButton(kPause, TRUE);
  StartTimer();
}

void CTrimAudioDlg::OnPauseButton() {
  if (m_nPlayState == kPaused) {
    Run();
    StartTimer();
    EnableBarButton(kPause, TRUE);
    EnableBarButton(kPlay, FALSE);
  } else if (m_nPlayState == kRunning) {
    KillPositionTimer();
    Pause();
    EnableBarButton(kPause, FALSE);
    EnableBarButton(kPlay, TRUE);
  }
}

void CTrimAudioDlg::OnStop() {
  KillPositionTimer();
  Stop();
  EnableBarButton(kPlay, TRUE);
  EnableBarButton(kStop, FALSE);
  EnableBarButton(kPause, FALSE);
  if (m_pControl == nullptr || m_pSeeking == nullptr) return;
  OAFilterState state = State_Stopped;
  HRESULT hr = m_pControl->GetState(500, &state);
  if (FAILED(hr)) DebugOutput("Failed to read graph state!  hr=0x%x\r\n", static_cast<unsigned>(hr));
  LONGLONG at = m_nSelStart * trim_math::kUnitsPerMs;
  m_pSeeking->SetPositions(&at, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
  hr = m_pControl->StopWhenReady();
  if (FAILED(hr)) DebugOutput("Failed in StopWhenReady!  hr=0x%x\r\n", static_cast<unsigned>(hr));
  PositionTick();
}

void CTrimAudioDlg::SeekToBar() {
  if (m_pControl == nullptr || m_pSeeking == nullptr) return;
  LONGLONG at = trim_math::PositionAtPercent(m_llDuration, static_cast<int>(m_seekBar.m_nPos));
  m_pSeeking->SetPositions(&at, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
  ShowTime(at);
}

void CTrimAudioDlg::ShowTime(int64_t position) {
  if (position == 0 && m_pSeeking != nullptr) {
    LONGLONG now = 0;
    if (SUCCEEDED(m_pSeeking->GetCurrentPosition(&now))) position = now;
  }
  m_led.SetText(trim_math::FormatPosition(position));
}

void CTrimAudioDlg::PositionTick() {
  if (m_pSeeking == nullptr) return;
  LONGLONG position = 0;
  if (FAILED(m_pSeeking->GetCurrentPosition(&position))) return;
  if (position < m_nSelEnd * trim_math::kUnitsPerMs) {
    m_seekBar.SetPos(m_llDuration > 0 ? static_cast<unsigned int>(position * 100 / m_llDuration) : 0);
    ShowTime(position);
  } else if (m_nPlayState == kRunning) {
    OnStop();
    RepaintSeekBar();
  }
}

void CTrimAudioDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kPositionTimer) PositionTick();
  CDialog::OnTimer(nIDEvent);
}

LRESULT CTrimAudioDlg::OnGraphEvent(WPARAM, LPARAM) {
  if (m_pEvent == nullptr) return 0;
  long code = 0;
  LONG_PTR one = 0, two = 0;
  while (m_pEvent != nullptr && SUCCEEDED(m_pEvent->GetEvent(&code, &one, &two, 0))) {
    if (code == EC_COMPLETE && m_pSeeking != nullptr) OnStop();
    if (m_pEvent != nullptr) m_pEvent->FreeEventParams(code, one, two);
  }
  return 0;
}

LRESULT CTrimAudioDlg::OnSeekBarClick(WPARAM, LPARAM) {
  SeekToBar();
  return 0;
}

void CTrimAudioDlg::ClickBar(unsigned int percent) {
  m_seekBar.SetPos(std::min(percent, 100u));
  SendMessage(WM_SEEKBAR_CLICK, percent, 0);
}

LRESULT CTrimAudioDlg::OnSeekBarGetBitmaps(WPARAM, LPARAM lParam) {
  auto* bitmaps = reinterpret_cast<CSeekBarBitmaps*>(lParam);
  CSkinMinor* skin = GetSkinMinor();
  if (bitmaps == nullptr || skin == nullptr) return 0;
  const CSkinMiscBitmaps& misc = skin->GetMiscBitmaps();
  bitmaps->hTrack = static_cast<HBITMAP>(misc.m_bmpSeekTrack.GetSafeHandle());
  bitmaps->hRange = static_cast<HBITMAP>(misc.m_bmpSeekRange.GetSafeHandle());
  bitmaps->hThumb = static_cast<HBITMAP>(misc.m_bmpSeekThumb.GetSafeHandle());
  return 0;
}

LRESULT CTrimAudioDlg::OnTrimButton(WPARAM wParam, LPARAM) {
  CSkinMinor* skin = GetSkinMinor();
  if (CCoolButtonBar* bar = skin != nullptr ? skin->m_pAudioTrimButton : nullptr;
      bar != nullptr && bar->GetSafeHwnd() != nullptr && bar->GetParent() == this) {
    bar->UpdateWindow();
    bar->Invalidate(TRUE);
  }
  const int64_t length = LengthMs();
  const bool graph = m_pControl != nullptr && m_pSeeking != nullptr;
  switch (static_cast<int>(wParam)) {
    case kSetStart: {
      if (!graph) break;
      const auto s = trim_math::WithStart(
          {m_nSelStart, m_nSelEnd},
          trim_math::TimeAtPercent(m_llDuration / trim_math::kUnitsPerMs, static_cast<int>(m_seekBar.m_nPos)),
          length);
      m_nSelStart = s.start;
      m_nSelEnd = s.end;
      RepaintSeekBar();
      break;
    }
    case kSetEnd: {
      if (!graph) break;
      const auto s = trim_math::WithEnd(
          {m_nSelStart, m_nSelEnd},
          trim_math::TimeAtPercent(m_llDuration / trim_math::kUnitsPerMs, static_cast<int>(m_seekBar.m_nPos)),
          length);
      m_nSelStart = s.start;
      m_nSelEnd = s.end;
      m_seekBar.SetPos(static_cast<unsigned int>(trim_math::PercentOf(m_nSelStart, length)));
      SeekToBar();
      RepaintSeekBar();
      break;
    }
    case kPlay:
      OnPlay();
      break;
    case kPause:
      OnPauseButton();
      break;
    case kStop:
      OnStop();
      break;
    case kGoToStart:
      m_seekBar.SetPos(static_cast<unsigned int>(
          trim_math::GoToStart(static_cast<int>(m_seekBar.m_nPos), m_nSelStart, length)));
      SeekToBar();
      RepaintSeekBar();
      break;
    case kGoToEnd:
      m_seekBar.SetPos(static_cast<unsigned int>(
          trim_math::GoToEnd(static_cast<int>(m_seekBar.m_nPos), m_nSelEnd, length)));
      SeekToBar();
      RepaintSeekBar();
      break;
    default:
      break;
  }
  return 0;
}

BOOL CTrimAudioDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  if (id >= IDC_TRIM_SET_START && id <= IDC_TRIM_GOTO_END) {
    SendMessage(WM_TRIM_BUTTON, id - IDC_TRIM_SET_START, 0);
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

void CTrimAudioDlg::ReleaseGraph() {
  if (m_pEvent != nullptr) m_pEvent->SetNotifyWindow(0, 0, 0);
  ReleaseInterface(m_pEvent);
  KillPositionTimer();
  Stop();
  ReleaseInterface(m_pControl);
  ReleaseInterface(m_pSeeking);
  ReleaseInterface(m_pGraph);
  ReleaseInterface(m_pAudio);
}

void CTrimAudioDlg::OnOK() {
  if (m_pSource != nullptr && m_pSource->nSourceLength > 0) {
    m_pSource->nTrimStart = static_cast<int>(m_nSelStart);
    m_pSource->nTrimEnd = static_cast<int>(m_nSelEnd);
  }
  OnStop();
  ReleaseGraph();
  CDialog::OnOK();
}

void CTrimAudioDlg::OnCancel() {
  OnStop();
  ReleaseGraph();
  CDialog::OnCancel();
}

void CTrimAudioDlg::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, kFace);
}

HBRUSH CTrimAudioDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  const int id = pWnd != nullptr ? pWnd->GetDlgCtrlID() : 0;
  if (id == IDC_TRIM_PATH_LABEL || id == IDC_TRIM_PATH) {
    pDC->SetBkColor(kFace);
    return static_cast<HBRUSH>(m_brush.GetSafeHandle());
  }
  return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CTrimAudioDlg::OnDestroy() {
  ReleaseGraph();
  if (m_bComInitialized) CoUninitialize();
  m_bComInitialized = FALSE;
  KillPositionTimer();
  m_brush.DeleteObject();
  CDialog::OnDestroy();
}
