#include "albums/AlbumOptionsOneDlg.h"

#include <algorithm>

#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumMessages.h"
#include "albums/AlbumOptionsRules.h"
#include "editing/RecordSoundDlg.h"
#include "editing/RandomTransitionDlg.h"
#include "modules/data/AudioParams.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/files/Files.h"
#include "modules/log/Log.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Wait.h"
#include "platform/comdlg/CommonDialogs.h"
#include "shell/ARRegistry.h"
#include "shell/AppSettings.h"
#include "shell/EnvironmentChecks.h"
#include "shell/LanguageFile.h"
#include "shell/MainDlg.h"
#include "shell/PageEditorNew.h"
#include "shell/ProcessObjects.h"
#include "shell/SkinMain.h"
#include "shell/SkinMinor.h"
#include "shell/TransitionList.h"
#include "shell/UIHelpers.h"

#define IDS_SELECT_ALBUM_FIRST 149
#define IDS_SELECT_MUSIC_FIRST 150
#define IDS_TIP_MATCH_AUDIO 212
#define IDS_TIP_RESET_DURATIONS 214
#define IDS_MATCH_AUDIO_CONFIRM 215
#define IDS_RESET_DURATIONS_CONFIRM 216
#define IDS_SONGS_TOO_SHORT 218
#define IDS_TIP_ADD_MUSIC 234
#define IDS_TIP_MUSIC_LIST 253
#define IDS_TIP_TRANSITION_LIST 254
#define IDS_NO_CD_RIPPER 286
#define IDS_MUSIC_COLUMN_NAME 57535

namespace {

constexpr char kProductName[] = "Talvane Pictavo";
constexpr int kMusicColumnWidths[] = {120, 100, 130, 200};

// The page's layout: the music bar over the music and transition boxes on the left, the album
// settings and the transition preview on the right, and the timeline box under them.
constexpr LONG Margins(int x, int y) {
  return static_cast<LONG>(MAKELONG(x, y));
}
constexpr LayoutRowInit kOptionsRows[] = {
    {LAYOUT_ROWS | LAYOUT_REST, 0, 0},
    {LAYOUT_TOFIT, IDC_OPTIONS_MUSIC_BAR, 0},
    {LAYOUT_ROWS | LAYOUT_REST, 0, Margins(8, 4)},
    {LAYOUT_COLUMNS | LAYOUT_REST, 0, 0},
    // Left column.
    {LAYOUT_ROWS | LAYOUT_REST, 0, 0},
    {LAYOUT_COLUMNS | LAYOUT_TOFIT, 1089, Margins(2, 1)},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 4},
    {LAYOUT_ROWS | LAYOUT_REST, 0, Margins(4, 4)},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 8},
    {LAYOUT_REST, IDC_OPTIONS_MUSIC_LIST, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 4},
    {LAYOUT_COLUMNS | LAYOUT_TOFIT, 0, 0},
    {LAYOUT_TOFIT, IDC_OPTIONS_FADE, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 4},
    {LAYOUT_TOFIT, IDC_OPTIONS_LOOP, 0},
    {LAYOUT_REST, 0, 0},
    {LAYOUT_ROWS | LAYOUT_TOFIT, 0, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 2},
    {LAYOUT_TOFIT, 1450, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_TOFIT, IDC_OPTIONS_TRANSITION_MODE_BAR, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 2},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 4},
    {LAYOUT_ROWS | LAYOUT_REST, 1090, Margins(6, 2)},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 12},
    {LAYOUT_REST, IDC_OPTIONS_TRANSITION_LIST, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 6},
    // Right column.
    {LAYOUT_ROWS | LAYOUT_TOFIT, 0, 0},
    {LAYOUT_ROWS | LAYOUT_TOFIT, 1103, Margins(2, 2)},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 10},
    {LAYOUT_COLUMNS | LAYOUT_TOFIT, 0, Margins(14, 0)},
    {LAYOUT_ROWS | LAYOUT_TOFIT, 0, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 3},
    {LAYOUT_TOFIT, 1094, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_TOFIT, IDC_OPTIONS_TRANSITION_DURATION, 0},
    {LAYOUT_TOFIT, IDC_OPTIONS_TRANSITION_SPIN, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 4},
    {LAYOUT_ROWS | LAYOUT_TOFIT, 0, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 3},
    {LAYOUT_TOFIT, 1098, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 2},
    {LAYOUT_COLUMNS | LAYOUT_TOFIT, 0, Margins(14, 0)},
    {LAYOUT_ROWS | LAYOUT_TOFIT, 0, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 3},
    {LAYOUT_TOFIT, 1096, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_TOFIT, IDC_OPTIONS_PHOTO_DURATION, 0},
    {LAYOUT_TOFIT, IDC_OPTIONS_PHOTO_SPIN, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 4},
    {LAYOUT_ROWS | LAYOUT_TOFIT, 0, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 3},
    {LAYOUT_TOFIT, 1101, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 2},
    {LAYOUT_COLUMNS | LAYOUT_TOFIT, 0, Margins(14, 0)},
    {LAYOUT_ROWS | LAYOUT_TOFIT, 0, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 3},
    {LAYOUT_TOFIT, 1109, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_TOFIT, IDC_OPTIONS_SLIDESHOW_LENGTH, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 4},
    {LAYOUT_TOFIT, IDC_OPTIONS_RESET_BAR, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 2},
    {LAYOUT_COLUMNS | LAYOUT_TOFIT, 0, Margins(14, 0)},
    {LAYOUT_ROWS | LAYOUT_TOFIT, 0, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 3},
    {LAYOUT_TOFIT, 1108, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_TOFIT, IDC_OPTIONS_MUSIC_LENGTH, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 4},
    {LAYOUT_TOFIT, IDC_OPTIONS_DURATION_BAR, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 2},
    {LAYOUT_COLUMNS | LAYOUT_TOFIT, 0, Margins(14, 0)},
    {LAYOUT_ROWS | LAYOUT_TOFIT, 0, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 4},
    {LAYOUT_TOFIT, 1153, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_TOFIT, IDC_OPTIONS_COLOR, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 4},
    {LAYOUT_TOFIT, IDC_OPTIONS_PAN_ZOOM, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 2},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 4},
    {LAYOUT_ROWS | LAYOUT_REST, 1427, Margins(8, 4)},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 12},
    {LAYOUT_REST, IDC_OPTIONS_PREVIEW, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    // The timeline box.
    {LAYOUT_ROWS | LAYOUT_TOFIT, 1408, Margins(4, 4)},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 6},
    {LAYOUT_TOFIT, IDC_OPTIONS_TIMELINE, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_END_TABLE, LAYOUT_NO_WINDOW, 0},
};
constexpr size_t kOptionsRowCount = sizeof(kOptionsRows) / sizeof(kOptionsRows[0]);
_tagLayoutRow g_optionsLayout[kOptionsRowCount];
_tagLayoutRow* AlbumOptionsOneDlgLayout() {
  static const bool ready = (InitLayoutRows(g_optionsLayout, kOptionsRows), true);
  (void)ready;
  return g_optionsLayout;
}

// Controls whose design size is their smallest.
constexpr UINT kDesignMinimum[] = {1349, 1354, 1261, 1153, 1094, 1096, 1098, 1101, 1108, 1109, 1334, 1335, 1452};
// Controls the music bar and the menus stand in for.
constexpr UINT kHiddenControls[] = {1338, 1262, 1339, 1337, 1260, 1111, 1112, 1289,
                                    1290, 1426, 1113, 1114, 1115, 1152, 1429};
// What the background fill leaves to the controls.
constexpr UINT kOpaqueControls[] = {1087, 1022, 1154, 1094, 1095, 1097, 1098, 1096, 1102, 1099, 1100, 1101, 1153,
                                    1152, 1108, 1109, 1107, 1260, 1407, 1406, 1429, 1106, 1334, 1335, 1452};

AlbumEditorDlg* Editor() {
  auto* editor = static_cast<AlbumEditorDlg*>(GetWindowRegistry()->m_pAlbumEditor);
  return editor != nullptr && editor->GetSafeHwnd() != nullptr ? editor : nullptr;
}

CWnd* LiveSlot(void* slot) {
  auto* wnd = static_cast<CWnd*>(slot);
  return wnd != nullptr && wnd->GetSafeHwnd() != nullptr ? wnd : nullptr;
}

int AlbumListCount() {
  CWnd* albums = LiveSlot(GetWindowRegistry()->m_pAlbumListBox);
  return albums != nullptr ? static_cast<int>(albums->SendMessage(LB_GETCOUNT)) : 0;
}

int Message(CWnd* owner, UINT nStringId, UINT nType = MB_OK | MB_ICONINFORMATION) {
  return ::MessageBox(owner->GetSafeHwnd(), LoadLangString(nStringId), kProductName, nType);
}

CTransitionSettings& TransitionSettings() {
  return GetAppSettings()->Transition;
}

}  // namespace

BEGIN_MESSAGE_MAP(AlbumOptionsOneDlg, CPropertyPage)
ON_WM_SIZE()
ON_WM_SHOWWINDOW()
ON_WM_CLOSE()
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
ON_WM_CONTEXTMENU()
ON_WM_INITMENUPOPUP()
ON_CONTROL_RANGE(EN_CHANGE, IDC_OPTIONS_TRANSITION_DURATION, IDC_OPTIONS_TRANSITION_DURATION, OnDurationChanged)
ON_CONTROL_RANGE(EN_CHANGE, IDC_OPTIONS_PHOTO_DURATION, IDC_OPTIONS_PHOTO_DURATION, OnDurationChanged)
ON_BN_CLICKED(IDC_OPTIONS_PAN_ZOOM, OnPanZoomClicked)
ON_BN_CLICKED(IDC_OPTIONS_FADE, OnFadeClicked)
ON_BN_CLICKED(IDC_OPTIONS_LOOP, OnLoopClicked)
ON_MESSAGE(WM_PAGE_SHOW, OnPageShow)
ON_MESSAGE(WM_DURATION_BAR_NOTIFY, OnDurationBar)
ON_MESSAGE(WM_RESET_BAR_NOTIFY, OnResetBar)
ON_MESSAGE(WM_TRANSITION_MODE_BAR_NOTIFY, OnTransitionModeBar)
ON_MESSAGE(WM_MUSIC_BAR_NOTIFY, OnMusicBar)
ON_MESSAGE(WM_COLOR_PICKED, OnColorPicked)
ON_REGISTERED_MESSAGE(g_uWinMgrMsg, OnWinMgr)
ON_MESSAGE(WM_PREPARE_PROJECT_SAVE, OnPrepareProjectSave)
ON_MESSAGE(WM_PROJECT_RELOADED, OnProjectReloaded)
ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
ON_MESSAGE(WM_SAVE_ALBUM_OPTIONS, OnSaveAlbumOptions)
ON_MESSAGE(WM_MUSIC_PLAY_END, OnNothing)
ON_MESSAGE(WM_STOP_PLAYBACK, OnNothing)
ON_MESSAGE(WM_TIMELINE_REBUILD_MUSIC, OnTakeMusicClipOrder)
ON_MESSAGE(WM_TIMELINE_SELECT_CLIP, OnTimelineSelectClip)
ON_MESSAGE(WM_TIMELINE_EDIT_CLIP, OnTimelineEditClip)
ON_MESSAGE(WM_AUDIO_PREVIEW_DONE, OnAudioPreviewDone)
ON_MESSAGE(WM_ADD_MUSIC_FILE, OnAddMusicFile)
END_MESSAGE_MAP()

AlbumOptionsOneDlg::AlbumOptionsOneDlg()
    : CPropertyPage(IDD_ALBUM_OPTIONS_ONE),
      m_pMusicBar(g_skinMain.GetTransitionButtonBar()),
      m_pDurationBar(GetSkinMinor()->m_pTransMusicAudioMatchButton),
      m_pResetBar(GetSkinMinor()->m_pTransMusicSlideDurationResetButton),
      m_pTransitionModeBar(GetSkinMinor()->m_pTransMusicTransOperButton),
      m_hStopEvent(::CreateEvent(nullptr, TRUE, FALSE, nullptr)),
      m_hDoneEvents{::CreateEvent(nullptr, TRUE, TRUE, nullptr), ::CreateEvent(nullptr, TRUE, TRUE, nullptr)},
      m_layout(AlbumOptionsOneDlgLayout()),
      m_preview(&m_colorButton.m_crColor, 0) {
  m_bSuppress = FALSE;
}

AlbumOptionsOneDlg::~AlbumOptionsOneDlg() {
  ::SetEvent(m_hStopEvent);
  // Nothing of the page runs on a worker today; the wait keeps the order of shutting down safe
  // for any that is given these events.
  while (::WaitForMultipleObjects(2, m_hDoneEvents, TRUE, 200) == WAIT_TIMEOUT) {
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessage(&msg);
    }
  }
  if (m_colorButton.GetSafeHwnd() != nullptr) m_colorButton.DestroyWindow();
  for (HANDLE event : {m_hStopEvent, m_hDoneEvents[0], m_hDoneEvents[1]}) ::CloseHandle(event);
  if (GetWindowRegistry()->m_pAlbumOptionsOne == this) GetWindowRegistry()->m_pAlbumOptionsOne = nullptr;
}

void AlbumOptionsOneDlg::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_OPTIONS_PHOTO_SPIN, m_spinPhoto);
  DDX_Control(pDX, IDC_OPTIONS_TRANSITION_SPIN, m_spinTransition);
  DDX_Text(pDX, IDC_OPTIONS_MUSIC_LENGTH, m_strAudioDuration);
  DDX_Text(pDX, IDC_OPTIONS_SLIDESHOW_LENGTH, m_strSlideshowDuration);
  DDX_Text(pDX, IDC_OPTIONS_TRANSITION_DURATION, m_nTransitionDuration);
  DDX_Text(pDX, IDC_OPTIONS_PHOTO_DURATION, m_nPhotoDuration);
  DDX_Check(pDX, IDC_OPTIONS_PAN_ZOOM, m_bPanZoom);
  DDX_Check(pDX, IDC_OPTIONS_PLAY_TO_END, m_bPlayToEnd);
  DDX_Check(pDX, IDC_OPTIONS_FADE, m_bFade);
  DDX_Check(pDX, IDC_OPTIONS_LOOP, m_bLoop);
  DDX_Control(pDX, IDC_OPTIONS_MUSIC_LIST, m_listMusic);
  DDX_Control(pDX, IDC_OPTIONS_COLOR, m_colorButton);
  DDX_Control(pDX, IDC_OPTIONS_TRANSITION_LIST, m_listTransitions);
}

BOOL AlbumOptionsOneDlg::OnInitDialog() {
  WriteLog("AlbumOptionsOneDlg begin to initalize ...");
  m_brushPage.CreateSolidBrush(GetSkinColor(1));
  CPropertyPage::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_ALBUM_OPTIONS_ONE);
  SetDlgCtrlID(IDD_ALBUM_OPTIONS_ONE);
  WriteLog("AlbumOptionsOneDlg begin to initalize (1)...");

  const struct {
    UINT id;
    int cx, cy;
    CCoolButtonBar* bar;
    UINT message, tip;
  } smallBars[] = {
      {IDC_OPTIONS_DURATION_BAR, 43, 20, m_pDurationBar, WM_DURATION_BAR_NOTIFY, IDS_TIP_MATCH_AUDIO},
      {IDC_OPTIONS_RESET_BAR, 20, 20, m_pResetBar, WM_RESET_BAR_NOTIFY, IDS_TIP_RESET_DURATIONS},
      {IDC_OPTIONS_TRANSITION_MODE_BAR, 137, 16, m_pTransitionModeBar, WM_TRANSITION_MODE_BAR_NOTIFY,
       IDS_TIP_RESET_DURATIONS},
  };
  for (const auto& b : smallBars) {
    if (CWnd* placeholder = GetDlgItem(b.id))
      placeholder->SetWindowPos(nullptr, 0, 0, b.cx, b.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (b.bar != nullptr && b.bar->GetSafeHwnd() == nullptr && b.bar->SubclassDlgItem(b.id, this)) {
      b.bar->SetNotifyMessage(m_hWnd, b.message);
      b.bar->EnableToolTip(b.tip);
    }
  }
  WriteLog("AlbumOptionsOneDlg begin to initalize (2)...");
  if (m_pMusicBar != nullptr && m_pMusicBar->GetSafeHwnd() == nullptr &&
      m_pMusicBar->SubclassDlgItem(IDC_OPTIONS_MUSIC_BAR, this)) {
    m_pMusicBar->MoveWindow(0, 0, 895, m_pMusicBar->GetSize().cy);
    m_pMusicBar->SetNotifyMessage(m_hWnd, WM_MUSIC_BAR_NOTIFY);
    m_pMusicBar->EnableToolTip(IDS_TIP_ADD_MUSIC);
  }
  WriteLog("AlbumOptionsOneDlg begin to initalize (3)...");
  for (UINT id : kHiddenControls)
    if (CWnd* control = GetDlgItem(id)) control->ShowWindow(SW_HIDE);
  WriteLog("AlbumOptionsOneDlg begin to initalize (4)...");

  GetWindowRegistry()->m_pAlbumOptionsOne = this;
  _tagLayoutRow* table = AlbumOptionsOneDlgLayout();
  m_designTable.assign(table, table + kOptionsRowCount);
  LinkLayoutRows(m_designTable.data(), nullptr);
  m_pDesignLayout = std::make_unique<CLayoutMgr>(m_designTable.data());
  m_pDesignLayout->ReadControlRects(this);
  m_layout.CaptureToFitSizes(this);
  WriteLog("AlbumOptionsOneDlg begin to initalize (5)...");

  for (int i = 0; i < 4; ++i)
    m_listMusic.InsertColumn(i, LoadLangString(IDS_MUSIC_COLUMN_NAME + i), LVCFMT_LEFT, kMusicColumnWidths[i]);
  m_listMusic.SetExtendedStyle(m_listMusic.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  if (HIMAGELIST icons = GetSkinMinor()->GetMiscBitmaps().m_hMusicListIcons)
    m_listMusic.SetImageList(CImageList::FromHandle(icons), LVSIL_SMALL);
  WriteLog("AlbumOptionsOneDlg begin to initalize (6)...");

  m_spinTransition.SetRange(0, 30);
  m_spinPhoto.SetRange(0, 199);
  m_listTransitions.DeleteAllItems();
  m_pTransitionImages = std::make_unique<CImageList>();
  m_pTransitionImages->Create(TRANSITION_ICON_WIDTH, TRANSITION_ICON_HEIGHT, ILC_COLOR24 | ILC_MASK, 0, 4);
  CTransitionEntryArray* transitions = ::GetTransitionList();
  for (int i = 0; i < transitions->GetSize(); ++i) {
    CBitmap icon;
    HBITMAP handle = transitions->GetAt(i)->hIcon;
    // An entry without an icon keeps its index with an empty picture.
    HBITMAP copy = handle != nullptr ? static_cast<HBITMAP>(::CopyImage(handle, IMAGE_BITMAP, 0, 0, 0)) : nullptr;
    if (copy == nullptr) {
      CClientDC screen(this);
      icon.CreateCompatibleBitmap(&screen, TRANSITION_ICON_WIDTH, TRANSITION_ICON_HEIGHT);
    } else {
      icon.Attach(copy);
    }
    m_pTransitionImages->Add(&icon, RGB(250, 250, 250));
  }
  m_listTransitions.SetImageList(m_pTransitionImages.get(), LVSIL_NORMAL);
  WriteLog("AlbumOptionsOneDlg begin to initalize (7)...");
  FillTransitionList();
  WriteLog("AlbumOptionsOneDlg begin to initalize (8)...");

  m_preview.SubclassDlgItem(IDC_OPTIONS_PREVIEW, this);
  m_colorButton.SetColor(GetSkinColor(1));
  if (m_timeline.SubclassDlgItem(IDC_OPTIONS_TIMELINE, this)) m_timeline.Init(m_pTransitionImages.get());
  WriteLog("AlbumOptionsOneDlg begin to initalize (9)...");

  CRect client;
  GetClientRect(&client);
  ApplyLayout(client.Width(), client.Height());
  WriteLog("AlbumOptionsOneDlg begin to initalize (10)...");
  if (m_balloon.Create(this)) {
    m_balloon.AddTool(&m_listMusic, LoadLangString(IDS_TIP_MUSIC_LIST));
    m_balloon.AddTool(&m_listTransitions, LoadLangString(IDS_TIP_TRANSITION_LIST));
    m_balloon.m_nShowDelay = 1000;
  }
  UpdateUndoButton();
  WriteLog("AlbumOptionsOneDlg finishe to initalize ...");
  return TRUE;
}

BOOL AlbumOptionsOneDlg::PreTranslateMessage(MSG* pMsg) {
  if (TransitionSettings().ShowTooltips && m_balloon.GetSafeHwnd() != nullptr) m_balloon.RelayEvent(pMsg);
  return CPropertyPage::PreTranslateMessage(pMsg);
}

// --- layout ---

void AlbumOptionsOneDlg::ApplyLayout(int cx, int cy) {
  m_layout.LayoutRoot(CRect(0, 0, cx, cy), this);
  m_layout.ApplyLayout(this);
  SetMusicColumnWidths();
}

void AlbumOptionsOneDlg::SetMusicColumnWidths() {
  if (m_listMusic.GetSafeHwnd() == nullptr) return;
  m_listMusic.SetColumnWidth(0, 150);
  m_listMusic.SetColumnWidth(1, 80);
  m_listMusic.SetColumnWidth(2, 130);
  CRect client;
  m_listMusic.GetClientRect(&client);
  if (client.Width() - 380 > 0) m_listMusic.SetColumnWidth(3, client.Width() - 380);
}

void AlbumOptionsOneDlg::OnSize(UINT nType, int cx, int cy) {
  CPropertyPage::OnSize(nType, cx, cy);
  if (m_pDesignLayout == nullptr) return;
  ApplyLayout(cx, cy);
}

LRESULT AlbumOptionsOneDlg::OnWinMgr(WPARAM, LPARAM lParam) {
  auto* notify = reinterpret_cast<_tagLayoutNotify*>(lParam);
  if (notify == nullptr || notify->hdr.code != LAYOUT_NOTIFY_SIZE_QUERY) return 0;
  _tagLayoutSizeInfo& info = notify->sizeInfo;
  const UINT id = static_cast<UINT>(notify->hdr.idFrom);
  auto both = [&info](int cxDesired, int cyDesired, int cxMin, int cyMin) {
    info.cxDesired = cxDesired, info.cyDesired = cyDesired;
    info.cxMin = cxMin, info.cyMin = cyMin;
  };
  if (std::find(std::begin(kDesignMinimum), std::end(kDesignMinimum), id) != std::end(kDesignMinimum)) {
    const _tagLayoutRow* row = m_pDesignLayout != nullptr ? m_pDesignLayout->FindRow(id) : nullptr;
    if (row == nullptr) return 0;
    info.cxMin = row->rect.right - row->rect.left;
    info.cyMin = row->rect.bottom - row->rect.top;
    return 1;
  }
  switch (id) {
    case IDC_OPTIONS_MUSIC_LIST: both(info.cxAvailable, 85, 160, 85); return 1;
    case IDC_OPTIONS_TRANSITION_DURATION:
    case IDC_OPTIONS_PHOTO_DURATION: both(38, 20, 38, 14); return 1;
    case IDC_OPTIONS_TRANSITION_SPIN:
    case IDC_OPTIONS_PHOTO_SPIN: both(16, 20, 16, 14); return 1;
    case IDC_OPTIONS_MUSIC_LENGTH:
    case IDC_OPTIONS_SLIDESHOW_LENGTH: both(54, 20, 54, 14); return 1;
    case IDC_OPTIONS_COLOR: both(54, 20, 54, 20); return 1;
    case 1338: both(100, 18, 100, 18); return 1;
    case IDC_OPTIONS_TIMELINE: both(info.cxAvailable, 150, info.cxAvailable, 150); return 1;
    case IDC_OPTIONS_MUSIC_BAR: both(info.cxAvailable, 30, info.cxAvailable, 30); return 1;
    default: return 0;
  }
}

// --- painting ---

BOOL AlbumOptionsOneDlg::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  for (UINT id : kOpaqueControls) {
    CWnd* control = GetDlgItem(id);
    if (control == nullptr || !control->IsWindowVisible()) continue;
    CRect rc;
    control->GetWindowRect(&rc);
    ScreenToClient(&rc);
    pDC->ExcludeClipRect(&rc);
  }
  pDC->FillSolidRect(&client, GetSkinColor(1));
  return TRUE;
}

HBRUSH AlbumOptionsOneDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  HBRUSH brush = CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
  if (pWnd == nullptr || m_brushPage.GetSafeHandle() == nullptr) return brush;
  const UINT id = static_cast<UINT>(pWnd->GetDlgCtrlID());
  if (id == IDC_OPTIONS_COLOR) return static_cast<HBRUSH>(m_brushPage.GetSafeHandle());
  char className[16] = {};
  ::GetClassName(pWnd->GetSafeHwnd(), className, sizeof(className));
  const bool staticOrButton = CString(className).CompareNoCase("Static") == 0 ||
                              CString(className).CompareNoCase("Button") == 0;
  if (id == IDC_OPTIONS_MUSIC_LENGTH || id == IDC_OPTIONS_SLIDESHOW_LENGTH ||
      (staticOrButton && nCtlColor == CTLCOLOR_STATIC)) {
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(m_brushPage.GetSafeHandle());
  }
  return brush;
}

// --- the album ---

BOOL AlbumOptionsOneDlg::IsLiveAlbum(const CDVDAlbumImage* pAlbum) const {
  return pAlbum != nullptr && GetProject()->IndexOfAlbum(pAlbum) >= 0;
}

void AlbumOptionsOneDlg::SetAlbum(CDVDAlbumImage* pAlbum) {
  if (m_pAlbum != pAlbum && m_pAlbum != nullptr) {
    SaveAlbumSettings();
    if (IsLiveAlbum(m_pAlbum)) m_pAlbum->ClearDurationData();
  }
  CDVDAlbumImage* previous = m_pAlbum;
  m_pAlbum = pAlbum != nullptr && pAlbum->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage)) ? pAlbum : nullptr;
  if (m_pAlbum != nullptr) m_pAlbum->ClearDurationData();
  if (GetSafeHwnd() == nullptr) return;
  // The timeline shows whatever album the page has.
  if (m_pAlbum != previous) RebuildTimeline();
  RefreshAll(m_pAlbum);
}

void AlbumOptionsOneDlg::RefreshAll(CDVDAlbumImage* pAlbum) {
  m_bSuppress = TRUE;
  if (FillMusicList(pAlbum)) LoadAlbumSettings(pAlbum);
  m_bSuppress = FALSE;
  if (CTimelineCtrl* timeline = Timeline()) timeline->ScrollToCurrentImage(pAlbum);
}

void AlbumOptionsOneDlg::LoadAlbumSettings(CDVDAlbumImage* pAlbum) {
  if (pAlbum == nullptr) return;
  m_bLoop = pAlbum->Get_dwTransDurationType() == 0;
  m_nTransitionDuration = pAlbum->Get_nOneDuration(-1);
  m_nPhotoDuration = pAlbum->Get_nTwoDuration(-1);
  m_spinTransition.SetPos(m_nTransitionDuration);
  m_spinPhoto.SetPos(m_nPhotoDuration);
  m_bPanZoom = pAlbum->Get_bAutoPanZoom() ? 1 : 0;
  m_bFade = pAlbum->Get_bMusicFadeInOut() ? 1 : 0;
  PostToTimeline(WM_TIMELINE_LOOP_AUDIO, m_bLoop);
  if (pAlbum->Get_clrBackground() != m_colorButton.m_crColor) {
    m_colorButton.m_crColor = pAlbum->Get_clrBackground();
    OnColorPicked(0, 0);
  }
  m_colorButton.Invalidate();
  const BOOL suppress = m_bSuppress;
  m_bSuppress = TRUE;
  UpdateData(FALSE);
  m_bSuppress = suppress;
  if (CWnd* playToEnd = GetDlgItem(IDC_OPTIONS_PLAY_TO_END)) playToEnd->EnableWindow(m_bLoop);
  m_loaded = {pAlbum, m_nTransitionDuration, m_nPhotoDuration, m_bPanZoom, m_bFade, m_bLoop, m_colorButton.m_crColor};
  ShowSlideshowLength(pAlbum);
  UpdateUndoButton();
}

void AlbumOptionsOneDlg::SaveAlbumSettings() {
  if (GetSafeHwnd() == nullptr) return;
  UpdateData(TRUE);
  // Only the album the controls were loaded from, while it is still in the project, takes their
  // values, and only those the user changed since: anything else would write stale values.
  if (m_pAlbum == nullptr || AlbumListCount() == 0 || !IsLiveAlbum(m_pAlbum) || m_loaded.album != m_pAlbum)
    return;
  if (m_bLoop != m_loaded.loop) m_pAlbum->Set_dwTransDurationType(m_bLoop ? 0 : 1);
  if (m_nTransitionDuration != m_loaded.transition) m_pAlbum->Set_nOneDuration(-1, m_nTransitionDuration);
  if (m_nPhotoDuration != m_loaded.photo) m_pAlbum->Set_nTwoDuration(-1, m_nPhotoDuration);
  if (m_bPanZoom != m_loaded.panZoom) m_pAlbum->Set_bAutoPanZoom(m_bPanZoom);
  if (m_bFade != m_loaded.fade) m_pAlbum->Set_bMusicFadeInOut(m_bFade);
  m_loaded.transition = m_nTransitionDuration, m_loaded.photo = m_nPhotoDuration;
  m_loaded.panZoom = m_bPanZoom, m_loaded.fade = m_bFade, m_loaded.loop = m_bLoop;
  if (m_colorButton.m_crColor != m_loaded.colour && m_colorButton.m_crColor != m_pAlbum->Get_clrBackground()) {
    m_pAlbum->Set_clrBackground(m_colorButton.m_crColor);
    m_loaded.colour = m_colorButton.m_crColor;
    if (AlbumEditorDlg* editor = Editor()) editor->RefreshPhotoList(TRUE);
  }
  ShowAudioDuration(m_pAlbum);
}

void AlbumOptionsOneDlg::RebuildTimeline() {
  if (CWnd* timeline = Timeline()) timeline->SendMessage(WM_TIMELINE_REBUILD, 0, 0);
}

void AlbumOptionsOneDlg::RepaintTimeline() {
  if (CWnd* timeline = Timeline()) {
    timeline->Invalidate(TRUE);
    timeline->UpdateWindow();
  }
}

void AlbumOptionsOneDlg::RefreshSlideshowLength() {
  ShowSlideshowLength(m_pAlbum);
}

CTimelineCtrl* AlbumOptionsOneDlg::Timeline() {
  return m_timeline.GetSafeHwnd() != nullptr ? &m_timeline : nullptr;
}

void AlbumOptionsOneDlg::PostToTimeline(UINT nMessage, WPARAM wParam) {
  if (CWnd* timeline = Timeline()) timeline->PostMessage(nMessage, wParam, 0);
}

void AlbumOptionsOneDlg::PostStatusBarUpdate() const {
  if (CWnd* main = LiveSlot(GetWindowRegistry()->m_pMainDlg)) main->PostMessage(WM_UPDATE_STATUS_BAR, 0, 0);
}

void AlbumOptionsOneDlg::ShowSlideshowLength(CDVDAlbumImage* pAlbum) {
  if (pAlbum == nullptr) {
    m_strSlideshowDuration = FormatAlbumLength(0);
  } else {
    m_strSlideshowDuration = FormatAlbumLength(pAlbum->GetTotalLength());
    UpdateMusicIcons(pAlbum);
    PostStatusBarUpdate();
  }
  SetDlgItemText(IDC_OPTIONS_SLIDESHOW_LENGTH, m_strSlideshowDuration);
}

void AlbumOptionsOneDlg::UpdateUndoButton() {
  if (m_pDurationBar == nullptr || m_pDurationBar->GetSafeHwnd() == nullptr) return;
  if (m_pAlbum != nullptr && m_pAlbum->HasSavedDuration())
    m_pDurationBar->EnableButton(1);
  else
    m_pDurationBar->DisableButton(1);
}

// --- showing, hiding, saving ---

void AlbumOptionsOneDlg::OnShowWindow(BOOL bShow, UINT nStatus) {
  CPropertyPage::OnShowWindow(bShow, nStatus);
  OnPageShow(bShow, 0);
}

LRESULT AlbumOptionsOneDlg::OnPageShow(WPARAM wParam, LPARAM) {
  if (wParam != 0) {
    if (AlbumEditorDlg* editor = Editor()) {
      CDVDAlbumImage* album = editor->GetCurrentImageAlbum();
      if (album != m_pAlbum) SetAlbum(album);
    }
    RefreshAll(m_pAlbum);
  } else {
    SaveAlbumSettings();
  }
  return 0;
}

void AlbumOptionsOneDlg::OnClose() {
  SetAlbum(nullptr);
  CPropertyPage::OnClose();
}

LRESULT AlbumOptionsOneDlg::OnPrepareProjectSave(WPARAM wParam, LPARAM) {
  CDVDAlbumImage* kept = m_pAlbum;
  SetAlbum(nullptr);
  if (wParam == 0) SetAlbum(kept);
  return 1;
}

LRESULT AlbumOptionsOneDlg::OnProjectReloaded(WPARAM, LPARAM) {
  m_pAlbum = nullptr;
  m_loaded = {};
  return 1;
}

LRESULT AlbumOptionsOneDlg::OnLanguageChanged(WPARAM, LPARAM) {
  TranslateDialog(m_hWnd, IDD_ALBUM_OPTIONS_ONE);
  for (int i = 0; i < 4; ++i) {
    const CString title = LoadLangString(IDS_MUSIC_COLUMN_NAME + i);
    LVCOLUMN column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<LPSTR>(title.GetString());
    m_listMusic.SetColumn(i, &column);
  }
  if (CWnd* timeline = Timeline()) timeline->Invalidate();
  Invalidate();
  return 1;
}

LRESULT AlbumOptionsOneDlg::OnSaveAlbumOptions(WPARAM, LPARAM) {
  SaveAlbumSettings();
  return 1;
}

LRESULT AlbumOptionsOneDlg::OnNothing(WPARAM, LPARAM) {
  return 1;
}

// --- controls ---

void AlbumOptionsOneDlg::OnDurationChanged(UINT nID) {
  if (m_pAlbum == nullptr || m_bSuppress || !IsLiveAlbum(m_pAlbum)) return;
  // Read the edits themselves: a half-typed value that is no number yet changes nothing.
  BOOL okTransition = FALSE, okPhoto = FALSE;
  int transition = static_cast<int>(GetDlgItemInt(IDC_OPTIONS_TRANSITION_DURATION, &okTransition, FALSE));
  int photo = static_cast<int>(GetDlgItemInt(IDC_OPTIONS_PHOTO_DURATION, &okPhoto, FALSE));
  if (!okTransition || !okPhoto) return;
  m_nTransitionDuration = transition;
  m_nPhotoDuration = photo;
  if (ApplyDurationRule(transition, photo)) {
    m_nPhotoDuration = photo;
    m_bSuppress = TRUE;
    SetDlgItemInt(IDC_OPTIONS_PHOTO_DURATION, static_cast<UINT>(photo), FALSE);
    m_bSuppress = FALSE;
  }
  if (nID == IDC_OPTIONS_TRANSITION_DURATION) {
    m_pAlbum->Set_nOneDuration(-1, m_nTransitionDuration);
    m_loaded.transition = m_nTransitionDuration;
  }
  if (nID == IDC_OPTIONS_PHOTO_DURATION || m_nPhotoDuration != m_loaded.photo) {
    m_pAlbum->Set_nTwoDuration(-1, m_nPhotoDuration);
    m_loaded.photo = m_nPhotoDuration;
  }
  ShowSlideshowLength(m_pAlbum);
  if (CWnd* timeline = Timeline()) timeline->Invalidate();
}

void AlbumOptionsOneDlg::OnPanZoomClicked() {
  if (m_pAlbum == nullptr || !IsLiveAlbum(m_pAlbum)) return;
  m_bPanZoom = IsDlgButtonChecked(IDC_OPTIONS_PAN_ZOOM) ? 1 : 0;
  m_pAlbum->Set_bAutoPanZoom(m_bPanZoom);
  m_loaded.panZoom = m_bPanZoom;
  PostStatusBarUpdate();
}

void AlbumOptionsOneDlg::OnFadeClicked() {
  // The fade applies at once, as the other check boxes do.
  if (m_pAlbum == nullptr || m_bSuppress || !IsLiveAlbum(m_pAlbum)) return;
  m_bFade = IsDlgButtonChecked(IDC_OPTIONS_FADE) ? 1 : 0;
  m_pAlbum->Set_bMusicFadeInOut(m_bFade);
  m_loaded.fade = m_bFade;
}

void AlbumOptionsOneDlg::OnLoopClicked() {
  if (m_bSuppress) return;
  m_bLoop = IsDlgButtonChecked(IDC_OPTIONS_LOOP) ? 1 : 0;
  if (CWnd* playToEnd = GetDlgItem(IDC_OPTIONS_PLAY_TO_END)) playToEnd->EnableWindow(m_bLoop);
  if (m_pAlbum == nullptr || !IsLiveAlbum(m_pAlbum)) return;
  m_pAlbum->Set_dwTransDurationType(m_bLoop ? 0 : 1);
  m_loaded.loop = m_bLoop;
  PostToTimeline(WM_TIMELINE_LOOP_AUDIO, m_bLoop);
}

LRESULT AlbumOptionsOneDlg::OnColorPicked(WPARAM, LPARAM) {
  m_preview.LoadPreviewImages();
  if (m_preview.GetSafeHwnd() != nullptr) m_preview.Invalidate(FALSE);
  return 0;
}

// --- duration tools ---

LRESULT AlbumOptionsOneDlg::OnDurationBar(WPARAM wParam, LPARAM) {
  if (wParam == 0) MatchSlideshowToAudio();
  if (wParam == 1) UndoDurationChange();
  return 1;
}

LRESULT AlbumOptionsOneDlg::OnResetBar(WPARAM wParam, LPARAM) {
  if (wParam == 0) ResetDurations();
  return 1;
}

LRESULT AlbumOptionsOneDlg::OnTransitionModeBar(WPARAM wParam, LPARAM) {
  static constexpr UINT kCommands[] = {ID_TRANSITION_NONE, ID_TRANSITION_RANDOM_SUBSET, ID_TRANSITION_RANDOM_ALL};
  if (wParam < 3) OnTransitionCommand(kCommands[wParam]);
  return 1;
}

void AlbumOptionsOneDlg::MatchSlideshowToAudio() {
  if (m_pAlbum == nullptr || m_bSuppress || !IsLiveAlbum(m_pAlbum)) return;
  const int music = m_pAlbum->GetMusicTimeLen();
  UpdateData(TRUE);
  const long long needed = static_cast<long long>(m_nTransitionDuration) * m_pAlbum->GetImageCount() +
                           m_pAlbum->Get_nTitleDuration() + m_pAlbum->Get_nCreditDuration();
  if (music < needed) {
    Message(this, IDS_SONGS_TOO_SHORT, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (Message(this, IDS_MATCH_AUDIO_CONFIRM, MB_YESNO | MB_ICONQUESTION) == IDNO) return;
  m_pAlbum->CopyDVDImageDuration();
  m_pAlbum->MatchSlideshowToAudioDuration(m_nTransitionDuration);
  m_nPhotoDuration = m_pAlbum->Get_nTwoDuration(0);
  m_bSuppress = TRUE;
  SetDlgItemInt(IDC_OPTIONS_PHOTO_DURATION, static_cast<UINT>(m_nPhotoDuration), FALSE);
  m_bSuppress = FALSE;
  m_loaded.photo = m_pAlbum->Get_nTwoDuration(-1);
  ShowSlideshowLength(m_pAlbum);
  UpdateUndoButton();
  RepaintTimeline();
}

void AlbumOptionsOneDlg::UndoDurationChange() {
  if (m_pAlbum == nullptr || !m_pAlbum->HasSavedDuration() || !IsLiveAlbum(m_pAlbum)) return;
  UpdateData(TRUE);
  m_pAlbum->UndoDVDImageDuration();
  m_pAlbum->Set_nOneDuration(-1, m_nTransitionDuration);
  m_pAlbum->Set_nTwoDuration(-1, m_nPhotoDuration);
  m_loaded.transition = m_nTransitionDuration, m_loaded.photo = m_nPhotoDuration;
  ShowSlideshowLength(m_pAlbum);
  UpdateUndoButton();
  RepaintTimeline();
}

void AlbumOptionsOneDlg::ResetDurations() {
  if (m_pAlbum == nullptr || !IsLiveAlbum(m_pAlbum)) return;
  CString question;
  question.Format(LoadLangString(IDS_RESET_DURATIONS_CONFIRM), m_pAlbum->Get_nOneDuration(-1),
                  m_pAlbum->Get_nTwoDuration(-1));
  if (::MessageBox(m_hWnd, question, kProductName, MB_YESNO | MB_ICONQUESTION) == IDNO) return;
  m_pAlbum->CopyDVDImageDuration();
  m_pAlbum->ResetDVDImageDuration();
  ShowSlideshowLength(m_pAlbum);
  UpdateUndoButton();
  RepaintTimeline();
}

// --- transitions ---

void AlbumOptionsOneDlg::FillTransitionList() {
  m_listTransitions.DeleteAllItems();
  CTransitionEntryArray* transitions = ::GetTransitionList();
  const int count = static_cast<int>(transitions->GetSize());
  auto add = [&](int index) {
    if (index < 0 || index >= count) return;
    const int row = m_listTransitions.InsertItem(m_listTransitions.GetItemCount(),
                                                 StripTransitionGroup(transitions->GetAt(index)->strName), index);
    m_listTransitions.SetItemData(row, static_cast<DWORD_PTR>(index));
  };
  CTransitionSettings& settings = TransitionSettings();
  if (!settings.ShowTransSubsetInList) {
    for (int i = 1; i < count; ++i) add(i);
  } else if (settings.TransitionName.GetSize() == 0) {
    if (count == 0) return;
    if (settings.EmptySubsetIsValid) {
      add(0);
    } else {
      for (int i = 1; i < count; ++i) add(i);
    }
  } else {
    for (int i = 0; i < settings.TransitionName.GetSize(); ++i)
      add(CDVDImage::GetTransID(settings.TransitionName[i], 0));
  }
}

void AlbumOptionsOneDlg::OnTransitionCommand(UINT nID) {
  CTransitionSettings& settings = TransitionSettings();
  switch (nID) {
    case ID_TRANSITION_RANDOM_SUBSET: {
      CRandomTransitionDlg dialog(0, this);
      if (dialog.DoModal() != IDOK) return;
      settings.ShowTransSubsetInList = 1;
      settings.SaveShowTransSubsetInList();
      if (m_pAlbum != nullptr && IsLiveAlbum(m_pAlbum)) {
        m_pAlbum->RandomizeTransEffectFromSubset();
        RepaintTimeline();
      }
      FillTransitionList();
      break;
    }
    case ID_TRANSITION_RANDOM_ALL:
      settings.ShowTransSubsetInList = 0;
      settings.SaveShowTransSubsetInList();
      if (m_pAlbum != nullptr && IsLiveAlbum(m_pAlbum)) {
        m_pAlbum->RandomizeTransEffect();
        RepaintTimeline();
      }
      FillTransitionList();
      break;
    case ID_TRANSITION_NONE:
      if (m_pAlbum != nullptr && IsLiveAlbum(m_pAlbum)) {
        m_pAlbum->NoTransEffect();
        RepaintTimeline();
      }
      break;
    case ID_SHOW_TOOLTIPS:
      settings.ShowTooltips = settings.ShowTooltips ? 0 : 1;
      settings.SaveShowTooltips();
      break;
    default:
      break;
  }
}

BOOL AlbumOptionsOneDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  if (code == BN_CLICKED || lParam == 0) {
    switch (id) {
      case ID_TRANSITION_APPLY_SELECTED:
      case ID_TRANSITION_APPLY_ALL: {
        const int row = m_listTransitions.GetNextItem(-1, LVNI_SELECTED);
        CTimelineCtrl* timeline = Timeline();
        if (row < 0 || timeline == nullptr) return TRUE;
        const auto index = static_cast<int>(m_listTransitions.GetItemData(row));
        if (id == ID_TRANSITION_APPLY_SELECTED)
          timeline->ApplyTransitionToSelection(index, 1);
        else
          timeline->ApplyTransitionToAll(index);
        return TRUE;
      }
      case ID_TRANSITION_RANDOM_SUBSET:
      case ID_TRANSITION_RANDOM_ALL:
      case ID_TRANSITION_NONE:
      case ID_SHOW_TOOLTIPS: OnTransitionCommand(id); return TRUE;
      case ID_MUSIC_ADD:
      case 1111: OnMusicBar(0, 0); return TRUE;
      case ID_MUSIC_REMOVE:
      case 1112: OnMusicBar(1, 0); return TRUE;
      case ID_MUSIC_MOVE_UP: OnMusicBar(2, 0); return TRUE;
      case ID_MUSIC_MOVE_DOWN: OnMusicBar(3, 0); return TRUE;
      case ID_MUSIC_TRIM: OnMusicBar(4, 0); return TRUE;
      case 1115: OnMusicBar(5, 0); return TRUE;
      case 1113: OnMusicBar(6, 0); return TRUE;
      case 1114: OnMusicBar(7, 0); return TRUE;
      case 1289: OnMusicBar(8, 0); return TRUE;
      default: break;
    }
  }
  return CPropertyPage::OnCommand(wParam, lParam);
}

void AlbumOptionsOneDlg::OnContextMenu(CWnd* pWnd, CPoint point) {
  auto* organize = static_cast<CPageEditorNew*>(GetWindowRegistry()->m_pPageEditorNew);
  if (organize == nullptr || pWnd == nullptr) return;
  CMenu* popup = nullptr;
  if (pWnd->GetSafeHwnd() == m_listTransitions.GetSafeHwnd())
    popup = organize->GetPopupEditorTransition700();
  else if (CWnd* timeline = Timeline(); timeline != nullptr && pWnd->GetSafeHwnd() == timeline->GetSafeHwnd())
    popup = organize->GetPopupEditorTimeline700();
  else if (pWnd->GetSafeHwnd() == m_listMusic.GetSafeHwnd())
    popup = organize->GetPopupEditorMusicList700();
  if (popup == nullptr) return;
  if (point.x == -1 && point.y == -1) ::GetCursorPos(&point);
  popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void AlbumOptionsOneDlg::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
  CPropertyPage::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
  if (pPopupMenu == nullptr || bSysMenu) return;
  const bool album = m_pAlbum != nullptr;
  const bool slide = album && m_pAlbum->m_pCurImage != nullptr;
  const bool transitionRow = m_listTransitions.GetSafeHwnd() != nullptr &&
                             m_listTransitions.GetNextItem(-1, LVNI_SELECTED) >= 0;
  const bool musicRow = GetSelectedMusicRow() >= 0;
  auto enable = [pPopupMenu](UINT id, bool on) {
    pPopupMenu->EnableMenuItem(id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED | MF_DISABLED));
  };
  enable(ID_TRANSITION_APPLY_SELECTED, slide && transitionRow);
  for (UINT id : {ID_TRANSITION_APPLY_ALL, ID_TRANSITION_RANDOM_SUBSET, ID_MUSIC_ADD, ID_TRANSITION_RANDOM_ALL,
                  ID_TRANSITION_NONE})
    enable(id, album);
  for (UINT id : {ID_MUSIC_REMOVE, ID_MUSIC_MOVE_UP, ID_MUSIC_MOVE_DOWN, ID_MUSIC_TRIM}) enable(id, musicRow);
  pPopupMenu->CheckMenuItem(ID_SHOW_TOOLTIPS,
                            MF_BYCOMMAND | (TransitionSettings().ShowTooltips ? MF_CHECKED : MF_UNCHECKED));
}

BOOL AlbumOptionsOneDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header == nullptr) return CPropertyPage::OnNotify(wParam, lParam, pResult);
  auto* item = reinterpret_cast<NMLISTVIEW*>(lParam);
  if (header->idFrom == IDC_OPTIONS_TRANSITION_LIST) {
    if (header->code == NM_CLICK) {
      auto* activate = reinterpret_cast<NMITEMACTIVATE*>(lParam);
      CTransitionEntryArray* transitions = ::GetTransitionList();
      if (activate->iItem >= 0 && activate->iItem < m_listTransitions.GetItemCount()) {
        const auto index = static_cast<int>(m_listTransitions.GetItemData(activate->iItem));
        if (index >= 0 && index < transitions->GetSize()) m_preview.PlayTransition(transitions->GetAt(index)->pfnFactory);
      }
      return TRUE;
    }
    if (header->code == LVN_BEGINDRAG) {
      m_listTransitions.BeginDrag(item);
      return TRUE;
    }
  }
  if (header->idFrom == IDC_OPTIONS_MUSIC_LIST) {
    switch (header->code) {
      case NM_DBLCLK: TrimSelectedMusic(); return TRUE;
      case LVN_BEGINDRAG: m_listMusic.BeginDrag(item); return TRUE;
      case LVN_ITEMCHANGED:
        OnMusicItemChanged(item);
        *pResult = 0;
        return TRUE;
      default: break;
    }
  }
  return CPropertyPage::OnNotify(wParam, lParam, pResult);
}
