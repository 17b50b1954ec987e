#include "modules/data/DVDProject.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/MediaProbe.h"
#include "modules/data/OutputProfile.h"
#include "modules/data/ShockwaveFlash.h"
#include "platform/com/Com.h"

IMPLEMENT_DYNAMIC(CDVDProject, CObject)

CString CDVDProject::g_m_strYUVDumpPipeName;
CString CDVDProject::g_m_strPCMDumpPipeName;
CString CDVDProject::g_m_strMPEG2DumpPipeName;
CString CDVDProject::g_m_strMKISODumpPipeName;
CString CDVDProject::g_m_strAppTempPathBase;
READWRITE_CALLBACK CDVDProject::g_m_readwrite_callback = nullptr;
void* CDVDProject::g_m_readwrite_callback_userdata = nullptr;

namespace {

// Values the start-up hands over once; read from any thread afterwards.
struct ModuleSettings {
  std::mutex lock;
  int photoToVideoMode = 0;
  CDVDProject* globalProject = nullptr;
  CString defaultMenuTemplate;
  CString projectExtension{"r7m"};
  HWND mainWindow = nullptr;
  CString mainProgramName;
  int videoEncodeEngine = 0;
};

ModuleSettings& Settings() {
  static ModuleSettings* settings = new ModuleSettings;  // usable from static construction on
  return *settings;
}

}  // namespace

CDVDProject* GetProject() {
  static CDVDProject project;
  return &project;
}

void CAlbumBreakLinkInfoArray::RemoveAllInfo() {
  for (INT_PTR i = 0; i < GetSize(); ++i) delete GetAt(i);
  RemoveAll();
}

CDVDProject::CDVDProject() : m_options(_PROJECT_OPTIONS_DATA::Defaults()) {}

CDVDProject::~CDVDProject() {
  DeleteAllAlbums();
}

void CDVDProject::SetRunPhotoToVideoMode(int mode) {
  std::lock_guard lock(Settings().lock);
  Settings().photoToVideoMode = mode;
}
int CDVDProject::GetRunPhotoToVideoMode() {
  std::lock_guard lock(Settings().lock);
  return Settings().photoToVideoMode;
}
void CDVDProject::SetGlobalDVDProject(CDVDProject* project) {
  std::lock_guard lock(Settings().lock);
  Settings().globalProject = project;
}
CDVDProject* CDVDProject::GetGlobalDVDProject() {
  std::lock_guard lock(Settings().lock);
  return Settings().globalProject;
}
void CDVDProject::SetDefaultDVDMenuTemplate(LPCTSTR name) {
  std::lock_guard lock(Settings().lock);
  Settings().defaultMenuTemplate = name;
}
CString CDVDProject::GetDefaultDVDMenuTemplate() {
  std::lock_guard lock(Settings().lock);
  return Settings().defaultMenuTemplate;
}
void CDVDProject::SetProjectExtName(LPCTSTR extension) {
  std::lock_guard lock(Settings().lock);
  Settings().projectExtension = extension;
}
CString CDVDProject::GetProjectExtName() {
  std::lock_guard lock(Settings().lock);
  return Settings().projectExtension;
}
void CDVDProject::SetGlobalMainHWnd(HWND window) {
  std::lock_guard lock(Settings().lock);
  Settings().mainWindow = window;
}
HWND CDVDProject::GetGlobalMainHWnd() {
  std::lock_guard lock(Settings().lock);
  return Settings().mainWindow;
}
void CDVDProject::SetMainProgramName(LPCTSTR name) {
  std::lock_guard lock(Settings().lock);
  Settings().mainProgramName = name;
}
CString CDVDProject::GetMainProgramName() {
  std::lock_guard lock(Settings().lock);
  return Settings().mainProgramName;
}
void CDVDProject::SetEmVideoEncodeEngine(int engine) {
  std::lock_guard lock(Settings().lock);
  Settings().videoEncodeEngine = engine;
}
int CDVDProject::GetEmVideoEncodeEngine() {
  std::lock_guard lock(Settings().lock);
  return Settings().videoEncodeEngine;
}

CAVOutputProfileManager* CDVDProject::GetAVOutputProfileManager() {
  static CAVOutputProfileManager* manager = new CAVOutputProfileManager;  // lives to the end
  return manager;
}

void CDVDProject::DeleteAllAlbums() {
  for (INT_PTR i = 0; i < m_arrAlbums.GetSize(); ++i) delete m_arrAlbums[i];
  m_arrAlbums.RemoveAll();
}

void CDVDProject::NewProject() {
  DeleteAllAlbums();
  m_options = _PROJECT_OPTIONS_DATA::Defaults();
  m_nActiveAlbumIndex = -1;
  m_bDirty = FALSE;
  m_strProjectFile.Empty();
}

BOOL CDVDProject::Get_bDirty() const {
  if (m_bDirty) return TRUE;
  for (INT_PTR i = 0; i < m_arrAlbums.GetSize(); ++i)
    if (m_arrAlbums[i]->Get_bDirty()) return TRUE;
  return FALSE;
}

void CDVDProject::ClearAllDirty() {
  m_bDirty = FALSE;
  for (INT_PTR i = 0; i < m_arrAlbums.GetSize(); ++i) m_arrAlbums[i]->Put_bDirty(FALSE);
}

void CDVDProject::SetAllEncodeDirty() {
  m_bMenuEncodeDirty = TRUE;
  for (INT_PTR i = 0; i < m_arrAlbums.GetSize(); ++i) m_arrAlbums[i]->Put_bEncodeDirty(TRUE);
}

CDVDAlbumBase* CDVDProject::GetAlbum(int index) const {
  return index >= 0 && index < GetAlbumCount() ? m_arrAlbums[index] : nullptr;
}

BOOL CDVDProject::IsImageAlbum(int index) const {
  const CDVDAlbumBase* album = GetAlbum(index);
  return album != nullptr && album->IsImageAlbum();
}

BOOL CDVDProject::IsMovieAlbum(int index) const {
  const CDVDAlbumBase* album = GetAlbum(index);
  return album != nullptr && album->IsMovieAlbum();
}

CDVDAlbumImage* CDVDProject::AllocImageAlbum(const CDVDAlbumImage* templ) {
  auto* album = new CDVDAlbumImage(this);
  if (templ != nullptr) album->CopyFrom(*templ, this);
  return album;
}

CDVDAlbumMovie* CDVDProject::AllocMovieAlbum(const CDVDAlbumMovie* templ) {
  auto* album = new CDVDAlbumMovie(this);
  if (templ != nullptr) album->CopyFrom(*templ, this);
  return album;
}

int CDVDProject::AddAlbum(CDVDAlbumBase* album) {
  if (album == nullptr || IndexOfAlbum(album) >= 0) return -1;
  album->SetProject(this);
  int index = GetAlbumCount();
  if (m_nActiveAlbumIndex >= 0 && m_nActiveAlbumIndex < GetAlbumCount()) index = m_nActiveAlbumIndex;
  m_arrAlbums.InsertAt(index, album);
  m_bDirty = TRUE;
  return index;
}

BOOL CDVDProject::DeleteAlbum(CDVDAlbumBase* album) {
  const int index = IndexOfAlbum(album);
  if (index < 0) return FALSE;
  m_arrAlbums.RemoveAt(index);
  delete album;
  m_bDirty = TRUE;
  return TRUE;
}

BOOL CDVDProject::MoveAlbumPos(CDVDAlbumBase* target, CDVDAlbumBase* album) {
  const int from = IndexOfAlbum(album);
  if (from < 0 || target == album) return FALSE;
  if (target != nullptr && IndexOfAlbum(target) < 0) return FALSE;
  m_arrAlbums.RemoveAt(from);
  const int to = target != nullptr ? IndexOfAlbum(target) : GetAlbumCount();
  m_arrAlbums.InsertAt(to, album);
  m_bDirty = TRUE;
  return TRUE;
}

int CDVDProject::GetTotalImages() const {
  int total = 0;
  for (INT_PTR i = 0; i < m_arrAlbums.GetSize(); ++i)
    if (m_arrAlbums[i]->IsImageAlbum())
      total += static_cast<const CDVDAlbumImage*>(m_arrAlbums[i])->GetImageCount();
  return total;
}

int CDVDProject::GetTotalVidepClips() const {
  int total = 0;
  for (INT_PTR i = 0; i < m_arrAlbums.GetSize(); ++i)
    if (m_arrAlbums[i]->IsMovieAlbum())
      total += static_cast<const CDVDAlbumMovie*>(m_arrAlbums[i])->Get_nVideoItemCount();
  return total;
}

int CDVDProject::GetTotalFrames() const {
  const long long fps = Get_nFramesPerSecond();
  long long frames = 0;
  for (INT_PTR i = 0; i < m_arrAlbums.GetSize(); ++i) {
    const CDVDAlbumBase* album = m_arrAlbums[i];
    if (album->IsImageAlbum()) frames += static_cast<const CDVDAlbumImage*>(album)->GetTotalLength() * fps;
    // A video album counts its length to the nearest whole second.
    if (album->IsMovieAlbum())
      frames += static_cast<long long>(
                    (static_cast<const CDVDAlbumMovie*>(album)->GetAlbumDuration() + 500u) / 1000u) *
                fps;
    frames = std::min<long long>(frames, INT_MAX);  // stays far from overflowing however many albums
  }
  return SaturatedTotal(frames);
}

int CDVDProject::Get_nFramesPerSecond() const {
  if (const CAVOutputProfile* profile = GetAVOutputProfileManager()->Get_pActiveAVOutputProfile()) {
    const double rate = profile->Get_dblVideoFrameRate();
    if (rate >= 1.0) return static_cast<int>(std::lround(rate));
  }
  return m_options.nTVSystem == 1 ? 25 : 30;
}

void CDVDProject::AddThemeToList(_ALBUM_THEME* theme) {
  if (theme == nullptr) return;
  m_arrThemes.Add(theme);
  // Albums that name this theme use its record from now on.
  for (INT_PTR i = 0; i < m_arrAlbums.GetSize(); ++i) {
    CAlbumEffect* effect = m_arrAlbums[i]->GetAlbumEffect();
    if (effect->GetTheme() == nullptr && effect->GetThemeName().CompareNoCase(theme->szThemeName) == 0)
      effect->SetTheme(theme);
  }
}

void CDVDProject::ResetThemeList() {
  m_arrThemes.RemoveAll();
  for (INT_PTR i = 0; i < m_arrAlbums.GetSize(); ++i) m_arrAlbums[i]->GetAlbumEffect()->DetachThemeRecord();
}

HRESULT CDVDProject::GetFlashInterface(IShockwaveFlash** flash) {
  if (flash == nullptr) return E_POINTER;
  *flash = nullptr;
  return CoCreateInstance(CLSID_ShockwaveFlash, nullptr, CLSCTX_INPROC_SERVER, IID_IShockwaveFlash,
                          reinterpret_cast<void**>(flash));
}

_ALBUM_THEME* CDVDProject::FindTheme(LPCTSTR name) const {
  if (name == nullptr || *name == '\0') return nullptr;
  for (INT_PTR i = 0; i < m_arrThemes.GetSize(); ++i)
    if (CString(m_arrThemes[i]->szThemeName).CompareNoCase(name) == 0) return m_arrThemes[i];
  return nullptr;
}

int CDVDProject::GetMusicDuration(LPCTSTR path) {
  if (path == nullptr) return 0;
  const auto facts = pictavo::data::ProbeMedia(path);
  if (!facts || !facts->hasAudio || facts->durationMs <= 0) return 0;
  return static_cast<int>(std::max<int64_t>(1, (facts->durationMs + 500) / 1000));
}
