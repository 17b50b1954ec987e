// The album options page's music list and music commands: the album's background music in play
// order, kept back to back when clips are removed, moved or trimmed.
#include <algorithm>

#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumOptionsOneDlg.h"
#include "albums/AlbumOptionsRules.h"
#include "editing/RecordSoundDlg.h"
#include "editing/TLMusicTrack.h"
#include "editing/TimelineItems.h"
#include "editing/TimelineTracks.h"
#include "editing/TrimAudioDlg.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "modules/files/Files.h"
#include "platform/comdlg/CommonDialogs.h"
#include "platform/kernel/Path.h"
#include "shell/ARRegistry.h"
#include "shell/EnvironmentChecks.h"
#include "shell/LanguageFile.h"
#include "shell/OptionsPageLogic.h"
#include "shell/PageEditorNew.h"
#include "shell/ProcessObjects.h"
#include "shell/SkinMain.h"

#define IDS_SELECT_ALBUM_FIRST 149
#define IDS_SELECT_MUSIC_FIRST 150
#define IDS_NO_CD_RIPPER 286

namespace {

constexpr char kProductName[] = "Talvane Pictavo";
constexpr char kTooSmallFormat[] = "The file %s is corrupt or the size is too small.";
constexpr char kInvalidFileTitle[] = "Invalid File";
constexpr char kMusicFilter[] =
    "Music Files(*.mp3;*.WMA;*.wav)|*.mp3;*.WMA;*.wav|\t\tMP3 (*.mp3)|*.mp3|Windows Media "
    "Audio(*.wma)|*.wma|Wave(*.wav)|*.wav||";
// Big enough for any selection: a long multiple selection is never refused for its size.
constexpr DWORD kFileNameBuffer = 1u << 20;

// Where the entry stands in the album's music list, -1 when it is not there.
int IndexOfEntry(const CPtrList& list, const _AUDIO_SOURCE* entry) {
  int index = 0;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr; ++index)
    if (list.GetNext(pos) == entry) return index;
  return -1;
}

CWnd* LiveSlot(void* slot) {
  auto* wnd = static_cast<CWnd*>(slot);
  return wnd != nullptr && wnd->GetSafeHwnd() != nullptr ? wnd : nullptr;
}

void RedrawAlbumListNow() {
  if (CWnd* albums = LiveSlot(GetWindowRegistry()->m_pAlbumListBox))
    albums->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

int64_t SlideshowEndMs(const CDVDAlbumImage* album) {
  return 1000LL *
         (int64_t{album->Get_nSlideshowLen(-1)} + album->Get_nCreditDuration() + album->Get_nTitleDuration());
}

void Complain(CWnd* owner, UINT nStringId) {
  ::MessageBox(owner->GetSafeHwnd(), LoadLangString(nStringId), kProductName, MB_OK | MB_ICONINFORMATION);
}

enum class SizeCheck { kAccepted, kUnreadable, kTooSmall };
SizeCheck CheckMusicFile(const CString& path) {
  CFileStatus status{};
  if (!Zorv_CFileGetStatus(path, status, 0)) return SizeCheck::kUnreadable;
  return IsMusicFileSizeAccepted(path, status.m_size) ? SizeCheck::kAccepted : SizeCheck::kTooSmall;
}

// The pair that the last selection of a music row came from, for every page of the process: the
// same entry selected again moves nothing.
struct {
  const CDVDAlbumImage* album = nullptr;
  const _AUDIO_SOURCE* entry = nullptr;
} g_lastMusicSelection;

}  // namespace

// --- the list ---

int AlbumOptionsOneDlg::GetSelectedMusicRow() const {
  return m_listMusic.GetSafeHwnd() != nullptr ? m_listMusic.GetNextItem(-1, LVNI_SELECTED) : -1;
}

void AlbumOptionsOneDlg::SelectMusicRow(int nRow) {
  const int count = m_listMusic.GetItemCount();
  if (count == 0) return;
  nRow = std::clamp(nRow, 0, count - 1);
  for (int i = 0; i < count; ++i) m_listMusic.SetItemState(i, 0, LVIS_SELECTED | LVIS_FOCUSED);
  m_listMusic.SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  m_listMusic.EnsureVisible(nRow, FALSE);
}

int AlbumOptionsOneDlg::FillMusicList(CDVDAlbumImage* pAlbum) {
  if (m_listMusic.GetSafeHwnd() == nullptr) return 0;
  if (pAlbum == nullptr || !pAlbum->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage))) {
    m_listMusic.DeleteAllItems();
    ShowAudioDuration(nullptr);
    return 0;
  }
  int remembered = GetSelectedMusicRow();
  m_listMusic.DeleteAllItems();
  const int64_t slideshowEnd = SlideshowEndMs(pAlbum);
  for (int i = 0; i < pAlbum->GetMusicCount(); ++i) {
    _AUDIO_SOURCE* entry = pAlbum->GetMusic(i);
    const options_logic::MusicRow parts = options_logic::MusicRowOf(entry->strPathName);
    const int row = m_listMusic.InsertItem(i, parts.name, MusicRowImage(*entry, slideshowEnd));
    m_listMusic.SetItemText(row, 3, parts.folder);
    m_listMusic.SetItemData(row, reinterpret_cast<DWORD_PTR>(entry));
    CFileStatus status{};
    const bool readable = Zorv_CFileGetStatus(entry->strPathName, status, 0);
    m_listMusic.SetItemText(row, 1, readable ? MusicLengthText(*entry) : CString("???"));
    m_listMusic.SetItemText(row, 2, readable ? MusicTimeText(*entry) : CString("???"));
  }
  remembered = std::min(remembered, m_listMusic.GetItemCount() - 1);
  if (remembered >= 0) SelectMusicRow(remembered);
  ShowAudioDuration(pAlbum);
  return 1;
}

int AlbumOptionsOneDlg::ShowAudioDuration(CDVDAlbumImage* pAlbum) {
  const int seconds = pAlbum != nullptr ? pAlbum->GetMusicTimeLen() : 0;
  m_strAudioDuration = FormatAlbumLength(seconds);
  if (GetSafeHwnd() != nullptr) SetDlgItemText(IDC_OPTIONS_MUSIC_LENGTH, m_strAudioDuration);
  if (pAlbum != nullptr) PostStatusBarUpdate();
  return seconds;
}

void AlbumOptionsOneDlg::UpdateMusicIcons(CDVDAlbumImage* pAlbum) {
  if (pAlbum == nullptr || m_listMusic.GetSafeHwnd() == nullptr) return;
  const int64_t slideshowEnd = SlideshowEndMs(pAlbum);
  for (int row = 0; row < m_listMusic.GetItemCount(); ++row) {
    const auto* entry = reinterpret_cast<const _AUDIO_SOURCE*>(m_listMusic.GetItemData(row));
    if (entry == nullptr) continue;
    LVITEM item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = MusicRowImage(*entry, slideshowEnd);
    m_listMusic.SetItem(&item);
  }
}

// --- adding ---

int AlbumOptionsOneDlg::AddMusicCommand() {
  AddMusicFiles();
  return 1;
}

int AlbumOptionsOneDlg::AddMusicPaths(const std::vector<CString>& paths, BOOL bReplaceDefault) {
  if (m_pAlbum == nullptr) return 0;
  int added = 0;
  for (const CString& path : paths) {
    switch (CheckMusicFile(path)) {
      case SizeCheck::kUnreadable:
        continue;
      case SizeCheck::kTooSmall:
        ::MessageBox(m_hWnd, options_logic::TooSmallMessage(TranslateDictionaryWord(kTooSmallFormat), path),
                     TranslateDictionaryWord(kInvalidFileTitle), MB_OK | MB_ICONEXCLAMATION);
        continue;
      case SizeCheck::kAccepted:
        break;
    }
    // The first file the user adds replaces the default music a new album starts with.
    if (bReplaceDefault && added == 0 && m_pAlbum->GetMusicCount() == 1 &&
        IsDefaultMusic(*m_pAlbum->GetMusic(0)))
      m_pAlbum->RemoveBackgroundMusic(m_pAlbum->GetMusic(0));
    if (m_pAlbum->AddBackgroundMusic(path)) {
      ++added;
    } else if (bReplaceDefault &&
               CString(std::string(pictavo::path::Extension(path.View())).c_str()).CompareNoCase(".wma") ==
                   0) {
      WarnIfMediaPlayerMissing();
    }
  }
  return added;
}

void AlbumOptionsOneDlg::AfterMusicAdded() {
  RedrawAlbumListNow();
  FillMusicList(m_pAlbum);
  SelectMusicRow(m_listMusic.GetItemCount() - 1);
  ShowSlideshowLength(m_pAlbum);
}

void AlbumOptionsOneDlg::AddMusicFiles() {
  if (m_pAlbum == nullptr) {
    Complain(this, IDS_SELECT_ALBUM_FIRST);
    return;
  }
  const CString lastPath = ReadGeneralString("LastAudioPath");
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY,
                     kMusicFilter, this);
  std::vector<char> names(kFileNameBuffer, '\0');
  dialog.m_ofn.lpstrFile = names.data();
  dialog.m_ofn.nMaxFile = kFileNameBuffer;
  if (!lastPath.IsEmpty()) dialog.m_ofn.lpstrInitialDir = lastPath;
  if (dialog.DoModal() != IDOK) return;
  const CString chosen = dialog.GetPathName();
  if (chosen.CompareNoCase(lastPath) != 0) WriteGeneralString("LastAudioPath", chosen);
  std::vector<CString> paths;
  for (POSITION pos = dialog.GetStartPosition(); pos != nullptr;)
    paths.push_back(dialog.GetNextPathName(pos));
  AddMusicPaths(paths, TRUE);
  AfterMusicAdded();
  PostToTimeline(WM_TIMELINE_REBUILD_MUSIC);
}

LRESULT AlbumOptionsOneDlg::OnAddMusicFile(WPARAM wParam, LPARAM) {
  auto* buffer = reinterpret_cast<char*>(wParam);
  const CString path = buffer != nullptr ? buffer : "";
  delete[] buffer;
  if (m_pAlbum == nullptr) {
    Complain(this, IDS_SELECT_ALBUM_FIRST);
    return -1;
  }
  AddMusicPaths({path}, FALSE);
  AfterMusicAdded();
  return 0;
}

void AlbumOptionsOneDlg::RecordMusic() {
  CRecordSoundDlg dialog(this);
  dialog.DoModal();
  if (dialog.m_arrRecorded.GetSize() == 0) return;
  if (m_pAlbum != nullptr) {
    std::vector<CString> paths;
    for (INT_PTR i = 0; i < dialog.m_arrRecorded.GetSize(); ++i)
      if (!dialog.m_arrRecorded[i].IsEmpty()) paths.push_back(dialog.m_arrRecorded[i]);
    AddMusicPaths(paths, FALSE);
  }
  AfterMusicAdded();
  PostToTimeline(WM_TIMELINE_REBUILD_MUSIC);
}

// --- changing the list ---

_AUDIO_SOURCE* AlbumOptionsOneDlg::SelectedEntryOrComplain(int* pRow) {
  const int row = GetSelectedMusicRow();
  if (row < 0) {
    Complain(this, IDS_SELECT_MUSIC_FIRST);
    return nullptr;
  }
  if (m_pAlbum == nullptr) {
    Complain(this, IDS_SELECT_ALBUM_FIRST);
    return nullptr;
  }
  if (pRow != nullptr) *pRow = row;
  return reinterpret_cast<_AUDIO_SOURCE*>(m_listMusic.GetItemData(row));
}

void AlbumOptionsOneDlg::RemoveSelectedMusic() {
  int first = -1;
  if (SelectedEntryOrComplain(&first) == nullptr) return;
  int removed = 0;
  for (int row = GetSelectedMusicRow(); row >= 0; row = GetSelectedMusicRow()) {
    auto* entry = reinterpret_cast<_AUDIO_SOURCE*>(m_listMusic.GetItemData(row));
    const int index = IndexOfEntry(m_pAlbum->m_listAudio, entry);
    if (entry == nullptr || index < 0) break;
    ShiftMusicAfter(m_pAlbum->m_listAudio, index, -entry->GetClipLength());
    m_listMusic.DeleteItem(row);
    if (!m_pAlbum->RemoveBackgroundMusic(entry)) break;
    ++removed;
  }
  if (removed == 0) return;
  SelectMusicRow(first);
  RedrawAlbumListNow();
  ShowAudioDuration(m_pAlbum);
  FillMusicList(m_pAlbum);
  PostToTimeline(WM_TIMELINE_REBUILD_MUSIC);
}

void AlbumOptionsOneDlg::MoveMusicUp() {
  int row = -1;
  if (SelectedEntryOrComplain(&row) == nullptr) return;
  if (!MoveMusicEntryUp(m_pAlbum->m_listAudio, row)) return;
  m_pAlbum->Put_bDirty(TRUE);
  FillMusicList(m_pAlbum);
  SelectMusicRow(row - 1);
}

void AlbumOptionsOneDlg::MoveMusicDown() {
  int row = -1;
  if (SelectedEntryOrComplain(&row) == nullptr) return;
  if (!MoveMusicEntryDown(m_pAlbum->m_listAudio, row)) return;
  m_pAlbum->Put_bDirty(TRUE);
  FillMusicList(m_pAlbum);
  SelectMusicRow(row + 1);
}

void AlbumOptionsOneDlg::ShiftMusic(int nSeconds) {
  int row = -1;
  _AUDIO_SOURCE* entry = SelectedEntryOrComplain(&row);
  if (entry == nullptr) return;
  CTimelineCtrl* timeline = Timeline();
  if (CTLMusicTrack* track = timeline != nullptr ? timeline->GetMusicTrack() : nullptr)
    track->NudgeClip(entry, nSeconds);
  FillMusicList(m_pAlbum);
  SelectMusicRow(row);
}

void AlbumOptionsOneDlg::EditMusic(int nMode) {
  int row = -1;
  _AUDIO_SOURCE* entry = SelectedEntryOrComplain(&row);
  if (entry == nullptr) return;
  // A clip whose file length is unknown would be cut by a zero length: say so and leave it.
  if (entry->nSourceLength <= 0 || entry->GetClipLength() <= 0) {
    ::MessageBox(m_hWnd,
                 options_logic::TooSmallMessage(TranslateDictionaryWord(kTooSmallFormat), entry->strPathName),
                 TranslateDictionaryWord(kInvalidFileTitle), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  const _AUDIO_SOURCE before = *entry;
  CTrimAudioDlg dialog(entry, nMode == 1, this);
  if (dialog.DoModal() != IDOK) return;
  SelectMusicRow(row);
  if (before.strPathName.CompareNoCase(entry->strPathName) == 0 &&
      before.nSourceLength == entry->nSourceLength && before.nTrimStart == entry->nTrimStart &&
      before.nTrimEnd == entry->nTrimEnd && before.nStartPos == entry->nStartPos)
    return;
  ShiftMusicAfter(m_pAlbum->m_listAudio, IndexOfEntry(m_pAlbum->m_listAudio, entry),
                  entry->GetClipLength() - before.GetClipLength());
  FillMusicList(m_pAlbum);
  PostToTimeline(WM_TIMELINE_REBUILD_MUSIC);
  m_pAlbum->Put_bDirty(TRUE);
}

void AlbumOptionsOneDlg::OnMusicItemChanged(const NMLISTVIEW* pNotify) {
  if (pNotify == nullptr || pNotify->iItem < 0 || pNotify->iItem >= m_listMusic.GetItemCount()) return;
  if ((pNotify->uNewState & LVIS_SELECTED) == 0 || (pNotify->uOldState & LVIS_SELECTED) != 0) return;
  if (m_pAlbum == nullptr) return;
  const auto* entry = reinterpret_cast<const _AUDIO_SOURCE*>(m_listMusic.GetItemData(pNotify->iItem));
  if (g_lastMusicSelection.album == m_pAlbum && g_lastMusicSelection.entry == entry) return;
  g_lastMusicSelection = {m_pAlbum, entry};
  if (!m_bSelectionFromTimeline) {
    if (CDVDImage* slide = m_pAlbum->GetDVDImageForAudio(entry)) {
      m_pAlbum->m_pCurImage = slide;
      if (CTimelineCtrl* timeline = Timeline()) timeline->ScrollToCurrentImage(m_pAlbum);
    }
  }
  m_bSelectionFromTimeline = FALSE;
}

void AlbumOptionsOneDlg::ShowMusicMoreMenu() {
  auto* organize = static_cast<CPageEditorNew*>(GetWindowRegistry()->m_pPageEditorNew);
  if (organize == nullptr || m_pMusicBar == nullptr || m_pMusicBar->GetSafeHwnd() == nullptr) return;
  CMenu* popup = organize->GetPopupEditorTmMore();
  if (popup == nullptr) return;
  CRect bar;
  m_pMusicBar->GetWindowRect(&bar);
  popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, bar.left + 570, bar.top + 28, this);
}

LRESULT AlbumOptionsOneDlg::OnMusicBar(WPARAM wParam, LPARAM) {
  switch (wParam) {
    case 0:
      AddMusicFiles();
      break;
    case 1:
      RemoveSelectedMusic();
      break;
    case 2:
      MoveMusicUp();
      break;
    case 3:
      MoveMusicDown();
      break;
    case 4:
      TrimSelectedMusic();
      break;
    case 5:
      PlaySelectedMusic();
      break;
    case 6:
      ShiftMusicEarlier();
      break;
    case 7:
      ShiftMusicLater();
      break;
    case 8: {
      CString text;
      text.Format(LoadLangString(IDS_NO_CD_RIPPER), kProductName);
      ::MessageBox(m_hWnd, text, kProductName, MB_OK | MB_ICONINFORMATION);
      break;
    }
    case 9:
      RecordMusic();
      break;
    case 10:
      ShowMusicMoreMenu();
      break;
    default:
      break;
  }
  return 1;
}

// --- messages of the timeline ---

LRESULT AlbumOptionsOneDlg::OnTakeMusicClipOrder(WPARAM, LPARAM) {
  CTimelineCtrl* timeline = Timeline();
  CTLMusicTrack* track = timeline != nullptr ? timeline->GetMusicTrack() : nullptr;
  if (m_pAlbum != nullptr && track != nullptr) {
    // The track's clips are the album's entries; only their order is taken, and only when the
    // track holds exactly the album's entries.
    CPtrList order;
    track->GetClipEntries(order);
    bool same = order.GetCount() == m_pAlbum->m_listAudio.GetCount();
    for (POSITION pos = order.GetHeadPosition(); same && pos != nullptr;)
      same = IndexOfEntry(m_pAlbum->m_listAudio, static_cast<_AUDIO_SOURCE*>(order.GetNext(pos))) >= 0;
    if (same) {
      m_pAlbum->m_listAudio.RemoveAll();
      for (POSITION pos = order.GetHeadPosition(); pos != nullptr;)
        m_pAlbum->m_listAudio.AddTail(order.GetNext(pos));
      m_pAlbum->Put_bDirty(TRUE);
    }
  }
  FillMusicList(m_pAlbum);
  return 0;
}

LRESULT AlbumOptionsOneDlg::OnTimelineSelectClip(WPARAM wParam, LPARAM lParam) {
  const int row = static_cast<int>(wParam);
  if (row >= 0 && row < m_listMusic.GetItemCount()) {
    m_bSelectionFromTimeline = lParam != 0;
    SelectMusicRow(row);
  }
  return 0;
}

LRESULT AlbumOptionsOneDlg::OnTimelineEditClip(WPARAM, LPARAM) {
  TrimSelectedMusic();
  return 0;
}

LRESULT AlbumOptionsOneDlg::OnAudioPreviewDone(WPARAM, LPARAM) {
  SetDlgItemText(1115, "Play");
  if (m_pMusicBar != nullptr && m_pMusicBar->GetSafeHwnd() != nullptr) m_pMusicBar->EnableButton(5);
  return 0;
}
