#include "shell/AlbumDefaultOptionsPage.h"

#include <vector>

#include "editing/RandomTransitionDlg.h"
#include "modules/data/AudioParams.h"
#include "modules/data/DSTLAudio.h"
#include "modules/data/DVDProject.h"
#include "modules/effects/PanZoom.h"
#include "modules/files/Files.h"
#include "platform/comdlg/CommonDialogs.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Time.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/WinApp.h"
#include "platform/user/MessageBox.h"
#include "shell/ARRegistry.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"
#include "shell/UIHelpers.h"

using options_logic::AlbumDefaults;
using options_logic::MusicVerdict;

namespace {

constexpr char kMusicFilter[] =
    "Music Files(*.mp3;*.WMA;*.wav)|*.mp3;*.WMA;*.wav|\t\tMP3 (*.mp3)|*.mp3|Windows Media Audio(*.wma)|*.wma|"
    "Wave(*.wav)|*.wav||";
constexpr int kFileNameBuffer = 16384;
constexpr char kTooSmallFormat[] = "The file %s is corrupt or the size is too small.";
constexpr char kInvalidFileTitle[] = "Invalid File";

bool MusicFileStatus(const CString& path, ULONGLONG* size) {
  CFileStatus status{};
  if (!Zorv_CFileGetStatus(path, status, 0)) return false;
  if (size != nullptr) *size = status.m_size;
  return true;
}

// Handles this thread's waiting messages, returning as soon as `event` is signalled.
void PumpUntilSignalled(HANDLE event) {
  while (WaitForSingleObject(event, 0) != WAIT_OBJECT_0) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageA(&msg);
      if (WaitForSingleObject(event, 0) == WAIT_OBJECT_0) return;
    }
    MsgWaitForMultipleObjects(1, &event, FALSE, 200, QS_ALLINPUT);
  }
}

}  // namespace

BEGIN_MESSAGE_MAP(CAlbumDefaultOptionsPage, CPropertyPage)
ON_BN_CLICKED(IDC_ALBUM_ADD_MUSIC, OnAddMusic)
ON_BN_CLICKED(IDC_ALBUM_REMOVE_MUSIC, OnRemoveMusic)
ON_BN_CLICKED(IDC_ALBUM_MOVE_UP, OnMoveUp)
ON_BN_CLICKED(IDC_ALBUM_MOVE_DOWN, OnMoveDown)
ON_BN_CLICKED(IDC_ALBUM_PLAY, OnPlay)
ON_BN_CLICKED(IDC_ALBUM_RESET, OnResetButton)
ON_BN_CLICKED(IDC_ALBUM_TRANSITION_SUBSET, OnTransitionSubset)
ON_WM_TIMER()
ON_WM_DESTROY()
ON_MESSAGE(WM_MUSIC_PLAY_END, OnMusicPlayEnd)
ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
END_MESSAGE_MAP()

CAlbumDefaultOptionsPage::CAlbumDefaultOptionsPage()
    : CPropertyPage(IDD_ALBUM_DEFAULT_OPTIONS),
      m_pColor(&m_colorButton.m_crColor),
      m_hStopEvent(CreateEvent(nullptr, TRUE, FALSE, nullptr)),
      m_hDoneEvent(CreateEvent(nullptr, TRUE, TRUE, nullptr)) {}

CAlbumDefaultOptionsPage::~CAlbumDefaultOptionsPage() {
  StopAndWait();
  delete m_pPlayer;
  if (::IsWindow(m_colorButton.GetSafeHwnd())) m_colorButton.DestroyWindow();
  CloseHandle(m_hStopEvent);
  CloseHandle(m_hDoneEvent);
}

void CAlbumDefaultOptionsPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_ALBUM_PHOTO_DURATION, m_editPhotoDuration);
  DDX_Control(pDX, IDC_ALBUM_PHOTO_SPIN, m_spinPhotoDuration);
  DDX_Control(pDX, IDC_ALBUM_TRANSITION_DURATION, m_editTransitionDuration);
  DDX_Control(pDX, IDC_ALBUM_TRANSITION_SPIN, m_spinTransitionDuration);
  DDX_Control(pDX, IDC_ALBUM_MUSIC_LIST, m_listMusic);
  DDX_Control(pDX, IDC_ALBUM_BACKGROUND_COLOR, m_colorButton);
  DDX_Check(pDX, IDC_ALBUM_FADE, m_values.bFade);
  DDX_Check(pDX, IDC_ALBUM_LOOP_AUDIO, m_values.bLoopAudio);
  DDX_Check(pDX, IDC_ALBUM_PAN_ZOOM, m_values.bPanZoom);
  // Typed durations are held to the spin ranges, so a typo cannot give every new album a
  // transition of minutes.
  DDX_Text(pDX, IDC_ALBUM_TRANSITION_DURATION, m_values.nTransitionDuration);
  DDV_MinMaxInt(pDX, m_values.nTransitionDuration, 0, options_logic::kTransitionDurationMax);
  DDX_Text(pDX, IDC_ALBUM_PHOTO_DURATION, m_values.nPhotoDuration);
  DDV_MinMaxInt(pDX, m_values.nPhotoDuration, 0, options_logic::kPhotoDurationMax);
  DDX_Check(pDX, IDC_ALBUM_RANDOM_ORDER, m_values.bRandomOrder);
  DDX_Check(pDX, IDC_ALBUM_TOOLTIPS, m_values.bTooltips);
  DDX_Check(pDX, IDC_ALBUM_PAN_ZOOM_WHOLE_TIME, m_values.bPanZoomWholeTime);
}

void CAlbumDefaultOptionsPage::SetColumns() {
  struct Column {
    const char* title;
    int width;
    int format;
  };
  const Column columns[] = {
      {"Name", 100, LVCFMT_LEFT}, {"Length", 60, LVCFMT_RIGHT}, {"Path", 200, LVCFMT_LEFT}};
  for (int i = 0; i < 3; ++i) {
    const CString title = TranslateDictionaryWord(columns[i].title);
    LVCOLUMN column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = columns[i].format;
    column.cx = columns[i].width;
    column.pszText = const_cast<LPSTR>(title.GetString());
    if (m_listMusic.SendMessage(LVM_SETCOLUMN, i, reinterpret_cast<LPARAM>(&column)) == 0)
      m_listMusic.InsertColumn(i, &column);
  }
}

BOOL CAlbumDefaultOptionsPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_ALBUM_DEFAULT_OPTIONS);
  SetColumns();
  m_listMusic.SetExtendedStyle(m_listMusic.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  m_spinTransitionDuration.SendMessage(UDM_SETRANGE32, 0, options_logic::kTransitionDurationMax);
  m_spinPhotoDuration.SendMessage(UDM_SETRANGE32, 0, options_logic::kPhotoDurationMax);

  const CTransitionSettings& transition = GetAppSettings()->Transition;
  m_arrMusic.Copy(transition.BackgroundMusic);
  FillMusicList();
  ShowValues(options_logic::AlbumDefaultsFromSettings(transition));
  m_colorButton.SetColor(::GetSysColor(COLOR_BTNFACE));
  return TRUE;
}

void CAlbumDefaultOptionsPage::OnTransitionSubset() {
  // The defaults mode stores the subset for new albums itself.
  CRandomTransitionDlg dialog(1, this);
  dialog.DoModal();
}

void CAlbumDefaultOptionsPage::ShowValues(const AlbumDefaults& values) {
  m_values = values;
  *m_pColor = values.clrBackground;
  m_colorButton.Invalidate(TRUE);
  UpdateData(FALSE);
}

void CAlbumDefaultOptionsPage::FillMusicList() {
  m_listMusic.DeleteAllItems();
  for (INT_PTR i = 0; i < m_arrMusic.GetSize(); ++i) {
    const CString& path = m_arrMusic[i];
    const options_logic::MusicRow row = options_logic::MusicRowOf(path);
    const int item = m_listMusic.InsertItem(static_cast<int>(i), row.name);
    const bool exists = MusicFileStatus(path, nullptr);
    m_listMusic.SetItemText(
        item, 1, options_logic::MusicLengthText(exists, exists ? CDVDProject::GetMusicDuration(path) : 0));
    m_listMusic.SetItemText(item, 2, row.folder);
  }
}

CString CAlbumDefaultOptionsPage::GetItemPath(int nRow) const {
  return options_logic::MusicRowPath({m_listMusic.GetItemText(nRow, 0), m_listMusic.GetItemText(nRow, 2)});
}

int CAlbumDefaultOptionsPage::FirstSelectedRow() const {
  return m_listMusic.GetNextItem(-1, LVNI_SELECTED);
}

void CAlbumDefaultOptionsPage::SelectRow(int nRow) {
  m_listMusic.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (nRow < 0 || nRow >= m_listMusic.GetItemCount()) return;
  m_listMusic.SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  m_listMusic.EnsureVisible(nRow, FALSE);
}

void CAlbumDefaultOptionsPage::OnAddMusic() {
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY,
                     kMusicFilter, this, GetOpenFileNameSize());
  std::vector<char> names(kFileNameBuffer, '\0');
  dialog.m_ofn.lpstrFile = names.data();
  dialog.m_ofn.nMaxFile = kFileNameBuffer;
  const CString lastFolder = ReadGeneralString("LastAudioPath");
  if (!lastFolder.IsEmpty()) dialog.m_ofn.lpstrInitialDir = lastFolder;
  if (dialog.DoModal() != IDOK) return;

  const CString chosen = dialog.GetPathName();
  if (chosen.CompareNoCase(lastFolder) != 0) WriteGeneralString("LastAudioPath", chosen);

  bool first = true;
  for (POSITION pos = dialog.GetStartPosition(); pos != nullptr;) {
    const CString path = dialog.GetNextPathName(pos);
    ULONGLONG size = 0;
    const bool exists = MusicFileStatus(path, &size);
    const int seconds = exists ? CDVDProject::GetMusicDuration(path) : 0;
    switch (options_logic::JudgeMusicFile(path, exists, size, seconds)) {
      case MusicVerdict::kTooSmall:
        ::MessageBox(m_hWnd, options_logic::TooSmallMessage(TranslateDictionaryWord(kTooSmallFormat), path),
                     TranslateDictionaryWord(kInvalidFileTitle), MB_OK | MB_ICONEXCLAMATION);
        continue;
      case MusicVerdict::kMissing:
      case MusicVerdict::kZeroDuration:
        continue;
      case MusicVerdict::kAccept:
        break;
    }
    if (first && options_logic::IsLoneDefaultMusic(m_arrMusic)) m_arrMusic.RemoveAll();
    first = false;
    m_arrMusic.Add(path);
  }
  FillMusicList();
  SelectRow(m_listMusic.GetItemCount() - 1);
}

void CAlbumDefaultOptionsPage::OnRemoveMusic() {
  if (FirstSelectedRow() < 0) {
    MessageBoxById(IDS_SELECT_MUSIC_FIRST, MB_OK);
    return;
  }
  std::vector<int> selected;
  for (int row = FirstSelectedRow(); row >= 0; row = m_listMusic.GetNextItem(row, LVNI_SELECTED))
    if (row < m_arrMusic.GetSize() && GetItemPath(row).CompareNoCase(m_arrMusic[row]) == 0)
      selected.push_back(row);
  const int next = options_logic::RemoveMusicRows(m_arrMusic, selected);
  FillMusicList();
  SelectRow(next);
}

void CAlbumDefaultOptionsPage::MoveSelected(int nDelta) {
  const int row = FirstSelectedRow();
  if (row < 0) {
    MessageBoxById(IDS_SELECT_MUSIC_FIRST, MB_OK);
    return;
  }
  if (row >= m_arrMusic.GetSize() || GetItemPath(row).CompareNoCase(m_arrMusic[row]) != 0) return;
  const int moved = options_logic::MoveMusicEntry(m_arrMusic, row, nDelta);
  if (moved < 0) return;
  FillMusicList();
  SelectRow(moved);
}

void CAlbumDefaultOptionsPage::OnMoveUp() {
  MoveSelected(-1);
}

void CAlbumDefaultOptionsPage::OnMoveDown() {
  MoveSelected(+1);
}

void CAlbumDefaultOptionsPage::OnPlay() {
  if (!m_bPlaying && FirstSelectedRow() < 0) {
    if (m_listMusic.GetItemCount() == 0) {
      MessageBoxById(IDS_SELECT_MUSIC_FIRST, MB_OK);
      return;
    }
    SelectRow(0);
  }
  if (m_bPlaying)
    StopPlayback();
  else
    StartPlayback();
}

void CAlbumDefaultOptionsPage::StartPlayback() {
  const int row = FirstSelectedRow();
  if (row < 0) return;
  const CString path = GetItemPath(row);
  m_nPlayDuration = CDVDProject::GetMusicDuration(path);
  m_dwPlayStart = GetTickCount();
  SetDlgItemText(IDC_ALBUM_PLAY,
                 options_logic::PlayButtonText(LoadLangString(IDS_STOP_PLAYING), 0, m_nPlayDuration));
  SetTimer(kPlayTimer, 500, nullptr);
  if (m_pPlayer == nullptr) m_pPlayer = new CDSTLAudio;
  ResetEvent(m_hStopEvent);
  ResetEvent(m_hDoneEvent);
  m_bPlaying = TRUE;
  m_arrPlaying.RemoveAll();
  m_arrPlaying.Add(path);
  _DSTLAUDIO_PLAY_FILES_PARAM param{};
  param.pFiles = &m_arrPlaying;
  param.hNotifyWnd = m_hWnd;
  param.hStopEvent = m_hStopEvent;
  param.hDoneEvent = m_hDoneEvent;
  m_pPlayer->StartPlay(&param);
}

void CAlbumDefaultOptionsPage::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kPlayTimer) return;
  SetDlgItemText(IDC_ALBUM_PLAY,
                 options_logic::PlayButtonText(LoadLangString(IDS_STOP_PLAYING),
                                               GetTickCount() - m_dwPlayStart, m_nPlayDuration));
}

void CAlbumDefaultOptionsPage::StopPlayback() {
  KillTimer(kPlayTimer);
  StopAndWait();
  SetDlgItemText(IDC_ALBUM_PLAY, LoadLangString(IDS_PLAY));
  m_bPlaying = FALSE;
}

void CAlbumDefaultOptionsPage::StopAndWait() {
  SetEvent(m_hStopEvent);
  PumpUntilSignalled(m_hDoneEvent);
}

LRESULT CAlbumDefaultOptionsPage::OnMusicPlayEnd(WPARAM, LPARAM) {
  // A stop asked for meanwhile has already put the button back.
  if (m_bPlaying) StopPlayback();
  return 0;
}

void CAlbumDefaultOptionsPage::OnDestroy() {
  StopAndWait();
  CPropertyPage::OnDestroy();
}

void CAlbumDefaultOptionsPage::OnOK() {
  UpdateData(TRUE);
  CTransitionSettings& transition = GetAppSettings()->Transition;
  AlbumDefaults values = m_values;
  values.clrBackground = *m_pColor;
  options_logic::AlbumDefaultsToSettings(values, transition);
  CZoomPan::EnableBounce(transition.ContinueAfterPanZoom);
  transition.BackgroundMusic.Copy(m_arrMusic);
  transition.Save();
}

void CAlbumDefaultOptionsPage::OnReset() {
  const CTransitionSettings defaults;
  AlbumDefaults values = m_values;
  values.clrBackground = *m_pColor;
  ShowValues(options_logic::ResetAlbumDefaults(values, options_logic::AlbumDefaultsFromSettings(defaults)));
}

void CAlbumDefaultOptionsPage::OnResetButton() {
  // Only the values the reset keeps are read, so a bad duration in an edit does not stand in the
  // way of putting the defaults back.
  m_values.bFade = IsDlgButtonChecked(IDC_ALBUM_FADE);
  m_values.bRandomOrder = IsDlgButtonChecked(IDC_ALBUM_RANDOM_ORDER);
  m_values.bTooltips = IsDlgButtonChecked(IDC_ALBUM_TOOLTIPS);
  OnReset();
}

LRESULT CAlbumDefaultOptionsPage::OnLanguageChanged(WPARAM, LPARAM) {
  TranslateDialog(m_hWnd, IDD_ALBUM_DEFAULT_OPTIONS);
  SetColumns();
  if (m_bPlaying) OnTimer(kPlayTimer);
  return 0;
}
