#include "modules/data/DVDImage.h"

#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <mutex>
#include <string>
#include <vector>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/TextMacro.h"
#include "modules/image/CxImage.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Path.h"

IMPLEMENT_DYNAMIC(CDVDImage, CObject)

namespace {

// The transition list as the shell registered it, and the rules new slides follow. Written at
// start-up and by the random-transition dialog, read by renderers on other threads.
struct TransitionCatalog {
  std::mutex lock;
  std::vector<std::pair<CString, int>> entries;  // display name and icon tag, in list order
  std::vector<CString> subset;
  bool emptySubsetIsValid = false;
  CString noTransitionName;
};

TransitionCatalog& Catalog() {
  static TransitionCatalog* catalog = new TransitionCatalog;  // lives to the end of the process
  return *catalog;
}

// Index of `name` in the catalog, -1 when absent; the caller holds the lock.
int FindLocked(const TransitionCatalog& c, LPCTSTR name) {
  if (name == nullptr || *name == '\0') return -1;
  for (size_t i = 0; i < c.entries.size(); ++i)
    if (c.entries[i].first.CompareNoCase(name) == 0) return static_cast<int>(i);
  return -1;
}

CString FormatFileTime(time_t seconds) {
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

}  // namespace

CDVDImage::CDVDImage(CDVDAlbumImage* album) : m_pAlbum(album) {
  m_strTransName = PickNewTransitionName();
}

CDVDImage::CDVDImage(const CDVDImage& other, CDVDAlbumImage* album)
    : m_pAlbum(album),
      m_strPathName(other.m_strPathName),
      m_nImageType(other.m_nImageType),
      m_clrBackground(other.m_clrBackground),
      m_nWidth(other.m_nWidth),
      m_nHeight(other.m_nHeight),
      m_dwFileSize(other.m_dwFileSize),
      m_ftFileTime(other.m_ftFileTime),
      m_strTypeName(other.m_strTypeName),
      m_strLabel(other.m_strLabel),
      m_nOneDuration(other.m_nOneDuration),
      m_nTwoDuration(other.m_nTwoDuration),
      m_strTransName(other.m_strTransName),
      m_nPanZoom(other.m_nPanZoom),
      m_nRotateAngle(other.m_nRotateAngle),
      m_bAutoExposure(other.m_bAutoExposure),
      m_strOrgSubtitle(other.m_strOrgSubtitle),
      m_bChanged(other.m_bChanged),
      m_dwLook(other.m_dwLook),
      m_dwThumbnailLook(other.m_dwThumbnailLook),
      m_strPhotoDateTime(other.m_strPhotoDateTime),
      m_bDateRead(other.m_bDateRead) {
  if (other.m_pPanZoomSaveParam)
    m_pPanZoomSaveParam = std::make_unique<_tagPhotoPanZoomSaveParam>(*other.m_pPanZoomSaveParam);
  if (other.m_pIntensityParam)
    m_pIntensityParam = std::make_unique<_tagPhotoIntensityParam>(*other.m_pIntensityParam);
  if (other.m_pAnnotation) m_pAnnotation = std::make_unique<_AUDIO_SOURCE>(*other.m_pAnnotation);
  if (other.m_pThumbnail) m_pThumbnail = std::make_unique<CxImage>(*other.m_pThumbnail);
  for (INT_PTR i = 0; i < other.m_arrSprites.GetSize(); ++i)
    m_arrSprites.Add(other.m_arrSprites[i]->Clone(this));
}

CDVDImage::~CDVDImage() {
  m_arrSprites.DeleteAll();
}

void CDVDImage::MarkChanged() {
  m_bChanged = TRUE;
  ++m_dwLook;
  MarkDirty();
}

void CDVDImage::MarkDirty() {
  if (m_pAlbum != nullptr) m_pAlbum->MarkChanged();
}

void CDVDImage::Put_strPathName(LPCTSTR path) {
  m_strPathName = path;
  m_bDateRead = FALSE;
  m_strPhotoDateTime.Empty();
  m_nWidth = m_nHeight = 0;
  m_dwFileSize = 0;
  m_ftFileTime = FILETIME{};
  struct stat st {};
  if (!m_strPathName.IsEmpty() && stat(pictavo::path::ToNative(m_strPathName.View()).c_str(), &st) == 0) {
    m_dwFileSize = static_cast<DWORD>(std::min<off_t>(st.st_size, 0xFFFFFFFF));
    // FILETIME counts 100 ns since 1601.
    const uint64_t ticks = (static_cast<uint64_t>(st.st_mtime) + 11644473600ull) * 10000000ull;
    m_ftFileTime.dwLowDateTime = static_cast<DWORD>(ticks);
    m_ftFileTime.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  }
  MarkChanged();
}

void CDVDImage::SetDataFromParam(LPCTSTR path, const WIN32_FIND_DATA* find, LPCTSTR typeName) {
  m_strPathName = path;
  m_bDateRead = FALSE;
  m_strPhotoDateTime.Empty();
  m_strTypeName = typeName;
  if (find != nullptr) {
    m_dwFileSize = find->nFileSizeLow;
    m_ftFileTime = find->ftLastWriteTime;
  }
}

CString CDVDImage::Get_strPhotoDateTime(int reload) {
  if (m_bDateRead && !reload) return m_strPhotoDateTime;
  m_bDateRead = TRUE;
  m_strPhotoDateTime = ReadPhotoDateTime(m_strPathName);
  return m_strPhotoDateTime;
}

CString CDVDImage::ReadPhotoDateTime(LPCTSTR path) {
  if (path == nullptr || *path == '\0') return CString();
  EXIFINFO exif{};
  if (CxImage::ReadExifInfo(path, &exif) && exif.DateTime[0] != '\0') {
    std::string date(exif.DateTime);
    if (date.size() >= 10) date[4] = date[7] = '-';
    return CString(date.c_str());
  }
  struct stat st {};
  if (stat(pictavo::path::ToNative(path).c_str(), &st) == 0) return FormatFileTime(st.st_mtime);
  return CString();
}

void CDVDImage::Set_clrBackground(COLORREF colour) {
  if (m_clrBackground == colour) return;
  m_clrBackground = colour;
  MarkChanged();
}

COLORREF CDVDImage::Get_clrAlbumBG() const {
  return m_pAlbum != nullptr ? m_pAlbum->Get_clrBackground() : 0;
}

void CDVDImage::Put_nOneDuration(int seconds) {
  m_nOneDuration = seconds < 0 ? -1 : seconds;
  MarkDirty();
}

void CDVDImage::Put_nTwoDuration(int seconds) {
  m_nTwoDuration = seconds < 0 ? -1 : seconds;
  MarkDirty();
}

void CDVDImage::Set_strTransName(LPCTSTR name) {
  m_strTransName = name;
  MarkDirty();
}

int CDVDImage::Get_nTransID() const {
  return GetTransID(m_strTransName, 0);
}

void CDVDImage::Set_nPanZoom(int kind, const _tagPhotoPanZoomSaveParam* saved) {
  m_nPanZoom = kind < DVD_PANZOOM_CUSTOM ? DVD_PANZOOM_ALBUM : kind;
  if (saved != nullptr)
    m_pPanZoomSaveParam = std::make_unique<_tagPhotoPanZoomSaveParam>(*saved);
  else
    m_pPanZoomSaveParam.reset();
  MarkDirty();
}

void CDVDImage::Put_nRotateAngle(int degrees) {
  if (m_nRotateAngle == degrees) return;
  m_nRotateAngle = degrees;
  MarkChanged();
}

void CDVDImage::Set_pPhotoIntensityParam(const _tagPhotoIntensityParam* param) {
  if (param != nullptr)
    m_pIntensityParam = std::make_unique<_tagPhotoIntensityParam>(*param);
  else
    m_pIntensityParam.reset();
  MarkChanged();
}

void CDVDImage::ToggleAutoAdjustExposure(CxImage*) {
  m_bAutoExposure = !m_bAutoExposure;
  MarkChanged();
}

void CDVDImage::Set_strSubtitle(LPCTSTR text) {
  m_strOrgSubtitle = text;
  MarkDirty();
}

CString CDVDImage::Get_strSubtitle() const {
  CTextMacro macro;
  macro.Put_pDVDImage(const_cast<CDVDImage*>(this));
  if (m_pAlbum != nullptr) {
    macro.Put_nSlideCount(m_pAlbum->GetImageCount());
    macro.Put_nSlideIndex(std::max(0, m_pAlbum->IndexOf(this)));
  }
  return macro.ConvertNormalOutput(m_strOrgSubtitle);
}

void CDVDImage::SetAnnotation(const _AUDIO_SOURCE* annotation) {
  if (annotation != nullptr)
    m_pAnnotation = std::make_unique<_AUDIO_SOURCE>(*annotation);
  else
    m_pAnnotation.reset();
  MarkDirty();
}

void CDVDImage::ClearAnnotation() {
  m_pAnnotation.reset();
  MarkDirty();
}

BOOL CDVDImage::AddImageSprite(CDVDImageSprite* sprite, int) {
  if (!m_arrSprites.AddNew(sprite)) return FALSE;
  sprite->SetImage(this);
  MarkChanged();
  return TRUE;
}

BOOL CDVDImage::RemoveImageSprite(CDVDImageSprite* sprite, BOOL deleteIt) {
  if (!m_arrSprites.Remove(sprite, deleteIt)) return FALSE;
  MarkChanged();
  return TRUE;
}

void CDVDImage::RemoveAllImageSprite(BOOL deleteThem) {
  if (deleteThem)
    m_arrSprites.DeleteAll();
  else
    m_arrSprites.RemoveAll();
  MarkChanged();
}

void CDVDImage::UpdateCookie() {
  m_bChanged = FALSE;
  ++m_dwCookie;
  ++m_dwLook;
}

void CDVDImage::AddTransID2Cache(LPCTSTR name, int tag) {
  auto& c = Catalog();
  std::lock_guard lock(c.lock);
  if (name == nullptr || FindLocked(c, name) >= 0) return;
  c.entries.emplace_back(name, tag);
}

void CDVDImage::ClearTransIDCache() {
  auto& c = Catalog();
  std::lock_guard lock(c.lock);
  c.entries.clear();
  c.subset.clear();
  c.emptySubsetIsValid = false;
  c.noTransitionName.Empty();
}

int CDVDImage::GetTransID(LPCTSTR name, int tag) {
  auto& c = Catalog();
  std::lock_guard lock(c.lock);
  const int index = FindLocked(c, name);
  if (index < 0) return -1;
  return tag ? c.entries[index].second : index;
}

CString CDVDImage::GetTransName(int index) {
  auto& c = Catalog();
  std::lock_guard lock(c.lock);
  return index >= 0 && index < static_cast<int>(c.entries.size()) ? c.entries[index].first : CString();
}

int CDVDImage::GetTransCount() {
  auto& c = Catalog();
  std::lock_guard lock(c.lock);
  return static_cast<int>(c.entries.size());
}

void CDVDImage::SetTransitionSubset(const CStringArray& names) {
  auto& c = Catalog();
  std::lock_guard lock(c.lock);
  c.subset.clear();
  for (INT_PTR i = 0; i < names.GetSize(); ++i) c.subset.push_back(names[i]);
}

void CDVDImage::SetEmptyTransitionSubsetIsValid(BOOL valid) {
  auto& c = Catalog();
  std::lock_guard lock(c.lock);
  c.emptySubsetIsValid = valid != FALSE;
}

void CDVDImage::SetNoTransitionName(LPCTSTR name) {
  auto& c = Catalog();
  std::lock_guard lock(c.lock);
  c.noTransitionName = name;
}

CString CDVDImage::GetNoTransitionName() {
  auto& c = Catalog();
  std::lock_guard lock(c.lock);
  return c.noTransitionName;
}

CString CDVDImage::PickRandomTransitionName(BOOL fromSubset) {
  auto& c = Catalog();
  std::lock_guard lock(c.lock);
  if (fromSubset && !c.subset.empty()) return c.subset[static_cast<size_t>(std::rand()) % c.subset.size()];
  // Every transition but "no transition".
  std::vector<const CString*> names;
  for (const auto& entry : c.entries)
    if (entry.first.CompareNoCase(c.noTransitionName) != 0) names.push_back(&entry.first);
  if (names.empty()) return CString();
  return *names[static_cast<size_t>(std::rand()) % names.size()];
}

CString CDVDImage::PickNewTransitionName() {
  {
    auto& c = Catalog();
    std::lock_guard lock(c.lock);
    if (c.subset.empty() && c.emptySubsetIsValid) return c.noTransitionName;
  }
  return PickRandomTransitionName(TRUE);
}

int CDVDImageArray::IndexOf(const CDVDImage* image) const {
  for (INT_PTR i = 0; i < GetSize(); ++i)
    if (GetAt(i) == image) return static_cast<int>(i);
  return -1;
}
