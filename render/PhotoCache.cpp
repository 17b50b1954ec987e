#include "render/PhotoCache.h"

#include <cmath>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>

#include "modules/data/DVDProject.h"
#include "modules/data/PictureOps.h"
#include "modules/image/CxImage.h"
#include "modules/log/Log.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/FileHandle.h"
#include "platform/kernel/FileOperations.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Thread.h"
#include "platform/kernel/Time.h"
#include "platform/kernel/Wait.h"
#include "platform/user/Message.h"
#include "render/PhotoCacheIndex.h"

namespace pictavo::render {

// What the cache object and its worker share.
struct PhotoCacheState {
  PhotoCacheState()
      : wake(CreateEvent(nullptr, FALSE, FALSE, nullptr)),
        ready(CreateEvent(nullptr, TRUE, FALSE, nullptr)),
        idle(CreateEvent(nullptr, TRUE, TRUE, nullptr)) {}
  ~PhotoCacheState() {
    for (HANDLE event : {wake, ready, idle})
      if (event) CloseHandle(event);
  }
  PhotoCacheState(const PhotoCacheState&) = delete;
  PhotoCacheState& operator=(const PhotoCacheState&) = delete;

  bool QuitRequested() {
    std::lock_guard guard(lock);
    return quit;
  }

  std::mutex lock;
  std::deque<CString> queue;  // guarded by lock; first in, first out
  bool busy = false;          // guarded by lock: a copy is being made
  bool paused = false;        // guarded by lock
  bool quit = false;          // guarded by lock; set once
  HANDLE wake;                // auto-reset: the pause ended or the worker must quit
  HANDLE ready;               // manual-reset: the worker has its message queue
  HANDLE idle;                // manual-reset: the queue is empty and no copy is being made
};

}  // namespace pictavo::render

using pictavo::render::FieldText;
using pictavo::render::IndexLock;
using pictavo::render::kCachePathField;
using pictavo::render::PhotoCacheIndex;
using pictavo::render::PhotoCacheRecord;
using pictavo::render::PhotoCacheState;
using pictavo::render::SourceFacts;

namespace {

// How long the constructor waits for the worker to have its message queue.
constexpr DWORD kStartWaitMs = 5000;
// How often a paused worker looks at its flags besides being woken.
constexpr DWORD kPausePollMs = 300;

bool FileExists(std::string_view path) {
  const std::string native(path);
  const DWORD attributes = GetFileAttributes(native.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string IndexPath(const std::string& folder, int bucket) {
  char name[16];
  std::snprintf(name, sizeof(name), "%03d.idx", bucket);
  return folder + name;
}

std::string BucketFolder(const std::string& folder, int bucket) {
  char name[16];
  std::snprintf(name, sizeof(name), "%03d/", bucket);
  return folder + name;
}

// The EXIF orientations 5 to 8 turn the picture on its side.
bool IsSideways(int orientation) {
  return orientation >= 5 && orientation <= 8;
}

// A new file name in the bucket folder, taken by creating the file empty, so that two copies never
// share a name (two photos copied within the same millisecond, or a name left by another run).
std::string ReserveCopyName(const std::string& bucketFolder) {
  std::string stem(static_cast<LPCTSTR>(CPhotoCache::MakeCacheFileName()));
  stem.resize(stem.size() - 4);  // ".jpg"
  for (int n = 0; n < 1000; ++n) {
    std::string name = bucketFolder + stem + (n == 0 ? std::string() : "_" + std::to_string(n)) + ".jpg";
    HANDLE file =
        CreateFile(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE && file != nullptr) {
      CloseHandle(file);
      return name;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return {};
  }
  return {};
}

// Deletes the copy a replaced record named, when it is one of ours.
void DeleteStaleCopy(const PhotoCacheRecord& old, const std::string& keep, const std::string& folder) {
  const auto cached = FieldText(old.szCachedPath);
  if (!cached || cached->empty() || *cached == keep) return;
  if (cached->substr(0, folder.size()) != folder) return;
  const std::string path(*cached);
  DeleteFile(path.c_str());
}

// The step of the worker; see CPhotoCache::CacheOne.
BOOL CacheOneOn(PhotoCacheState& state, LPCTSTR lpszPath) {
  {
    std::lock_guard guard(state.lock);
    if (state.paused || state.busy) return FALSE;
    state.busy = true;
  }
  struct BusyReset {
    PhotoCacheState& state;
    ~BusyReset() {
      std::lock_guard guard(state.lock);
      state.busy = false;
    }
  } busyReset{state};

  if (lpszPath == nullptr || *lpszPath == '\0') return FALSE;
  const std::string_view source(lpszPath);
  // The record holds the whole path or nothing: a path cut short could match another photo.
  if (source.size() >= kCachePathField) return FALSE;
  const std::optional<SourceFacts> facts = pictavo::render::ReadSourceFacts(lpszPath);
  if (!facts) return FALSE;
  const std::string folder(static_cast<LPCTSTR>(CPhotoCache::GetCacheFolder()));
  if (!CDVDProject::CreateAllDirectories(folder.c_str())) return FALSE;
  const int bucket = CPhotoCache::GetBucket(lpszPath);
  const std::string indexPath = IndexPath(folder, bucket);

  std::optional<PhotoCacheIndex::Match> match;
  {
    std::lock_guard guard(IndexLock());
    const PhotoCacheIndex index = PhotoCacheIndex::Read(indexPath);
    match = index.Find(source);
    if (match && pictavo::render::IsCurrent(match->record, *facts)) {
      const auto cached = FieldText(match->record.szCachedPath);
      if (cached && !cached->empty() && FileExists(*cached)) return TRUE;
    }
  }

  if (state.QuitRequested()) return FALSE;
  CxImage picture;
  if (!picture.LoadScaled(lpszPath, CPhotoCache::kMaxWidth, CPhotoCache::kMaxHeight) || !picture.IsValid())
    return TRUE;
  const EXIFINFO* exif = picture.GetExifInfo();
  const int orientation = exif != nullptr && exif->IsExif ? exif->Orientation : 0;
  long width = picture.GetSourceWidth();
  long height = picture.GetSourceHeight();
  if (IsSideways(orientation)) std::swap(width, height);
  if (width <= CPhotoCache::kMaxWidth && height <= CPhotoCache::kMaxHeight) {
    // No copy for a photo this small; a copy of an earlier, larger version of it goes.
    if (match) {
      std::lock_guard guard(IndexLock());
      const PhotoCacheIndex index = PhotoCacheIndex::Read(indexPath);
      if (const auto now = index.Find(source)) {
        const PhotoCacheRecord empty{};
        if (PhotoCacheIndex::WriteRecord(indexPath, now->slot, empty, index.Damaged()))
          DeleteStaleCopy(now->record, {}, folder);
      }
    }
    return TRUE;
  }
  // A copy carries no EXIF, so it is stored the way it is shown.
  pictavo::data::ApplyOrientation(picture, orientation);
  if (!CPhotoCache::FitToMaxSize(picture)) return TRUE;

  if (state.QuitRequested()) return FALSE;
  const std::string bucketFolder = BucketFolder(folder, bucket);
  if (!CDVDProject::CreateAllDirectories(bucketFolder.c_str())) return TRUE;
  const std::string copy = ReserveCopyName(bucketFolder);
  if (copy.empty()) return TRUE;
  PhotoCacheRecord record;
  if (!pictavo::render::MakeRecord(source, *facts, copy, record) ||
      !picture.Save(copy.c_str(), CXIMAGE_FORMAT_JPG)) {
    DeleteFile(copy.c_str());
    return TRUE;
  }
  std::lock_guard guard(IndexLock());
  // Read again: the index may have changed while the copy was made.
  const PhotoCacheIndex index = PhotoCacheIndex::Read(indexPath);
  const auto now = index.Find(source);
  const size_t slot = now ? now->slot : index.FreeSlot();
  if (!PhotoCacheIndex::WriteRecord(indexPath, slot, record, index.Damaged())) {
    DeleteFile(copy.c_str());
    return TRUE;
  }
  if (now) DeleteStaleCopy(now->record, copy, folder);
  return TRUE;
}

DWORD RunWorker(const std::shared_ptr<PhotoCacheState>& state) {
  MSG msg;
  PeekMessage(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // makes the thread's queue
  SetEvent(state->ready);
  const HWND threadOnly = reinterpret_cast<HWND>(-1);
  for (;;) {
    bool paused = false;
    {
      std::lock_guard guard(state->lock);
      if (state->quit) break;
      paused = state->paused;
    }
    if (paused) {
      WaitForSingleObject(state->wake, kPausePollMs);
      continue;
    }
    if (!PeekMessage(&msg, threadOnly, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjects(1, &state->wake, FALSE, INFINITE, QS_ALLPOSTMESSAGE);
      continue;
    }
    if (msg.message == WM_PHOTOCACHE_QUIT) {
      std::lock_guard guard(state->lock);
      state->quit = true;
    } else if (msg.message == WM_PHOTOCACHE_ENQUEUE) {
      CString path;
      size_t remaining = 0;
      {
        std::lock_guard guard(state->lock);
        if (!state->queue.empty()) {
          path = state->queue.front();
          state->queue.pop_front();
        }
        remaining = state->queue.size();
      }
      if (!path.IsEmpty()) CacheOneOn(*state, path);
      {
        std::lock_guard guard(state->lock);
        if (state->queue.empty()) SetEvent(state->idle);
      }
      MSG waiting;
      if (remaining > 0 &&
          !PeekMessage(&waiting, threadOnly, WM_PHOTOCACHE_ENQUEUE, WM_PHOTOCACHE_ENQUEUE, PM_NOREMOVE))
        PostThreadMessage(GetCurrentThreadId(), WM_PHOTOCACHE_ENQUEUE, 0, 0);
    }
  }
  return 0;
}

}  // namespace

CPhotoCache::CPhotoCache() : m_state(std::make_shared<PhotoCacheState>()) {
  pictavo::kernel::ThreadStart start;
  start.body = [state = m_state]() { return RunWorker(state); };
  m_hThread = pictavo::kernel::StartThread(std::move(start), &m_nThreadId);
  if (m_hThread == nullptr) {
    WriteErrorLog("Photo cache: the worker thread could not start (error %u)",
                  static_cast<unsigned>(GetLastError()));
    return;
  }
  WaitForSingleObject(m_state->ready, kStartWaitMs);
}

CPhotoCache::~CPhotoCache() {
  StopWorker();
}

void CPhotoCache::StopWorker() {
  {
    std::lock_guard guard(m_state->lock);
    m_state->quit = true;
  }
  SetEvent(m_state->wake);
  if (m_hThread == nullptr) return;
  PostThreadMessage(m_nThreadId, WM_PHOTOCACHE_QUIT, 0, 0);
  // A copy under way checks the quit flag between its steps; should it still not end, the
  // worker keeps the state it shares and is left to the end of the process.
  if (WaitForSingleObject(m_hThread, kStopWaitMs) != WAIT_OBJECT_0)
    WriteErrorLog("Photo cache: the worker did not end within %u ms", static_cast<unsigned>(kStopWaitMs));
  CloseHandle(m_hThread);
  m_hThread = nullptr;
}

BOOL CPhotoCache::Enqueue(LPCTSTR lpszPath) {
  {
    std::lock_guard guard(m_state->lock);
    m_state->queue.emplace_back(lpszPath != nullptr ? lpszPath : "");
    ResetEvent(m_state->idle);
  }
  if (m_hThread != nullptr) PostThreadMessage(m_nThreadId, WM_PHOTOCACHE_ENQUEUE, 0, 0);
  return TRUE;
}

HANDLE CPhotoCache::GetIdleEvent() const {
  return m_state->idle;
}

void CPhotoCache::SetPaused(BOOL bPaused) {
  {
    std::lock_guard guard(m_state->lock);
    m_state->paused = bPaused != FALSE;
  }
  SetEvent(m_state->wake);
}

BOOL CPhotoCache::IsPaused() const {
  std::lock_guard guard(m_state->lock);
  return m_state->paused;
}

BOOL CPhotoCache::IsBusy() const {
  std::lock_guard guard(m_state->lock);
  return m_state->busy;
}

void CPhotoCache::SetBusy(BOOL bBusy) {
  std::lock_guard guard(m_state->lock);
  m_state->busy = bBusy != FALSE;
}

BOOL CPhotoCache::CacheOne(LPCTSTR lpszPath) {
  return CacheOneOn(*m_state, lpszPath);
}

CString CPhotoCache::GetCachedPath(LPCTSTR lpszPath, int* pOutdated) {
  if (pOutdated != nullptr) *pOutdated = 0;
  if (lpszPath == nullptr || *lpszPath == '\0') return CString();
  if (pOutdated == nullptr && (m_nRequestedWidth > kMaxWidth || m_nRequestedHeight > kMaxHeight))
    return CString(lpszPath);
  const std::string_view source(lpszPath);
  if (source.size() >= kCachePathField) return CString();
  // A photo that cannot be read matches no record's facts.
  const SourceFacts facts = pictavo::render::ReadSourceFacts(lpszPath).value_or(SourceFacts{});
  const std::string indexPath =
      IndexPath(std::string(static_cast<LPCTSTR>(GetCacheFolder())), GetBucket(lpszPath));

  std::lock_guard guard(IndexLock());
  const PhotoCacheIndex index = PhotoCacheIndex::Read(indexPath);
  const auto match = index.Find(source);
  if (!match) return CString();
  if (!pictavo::render::IsCurrent(match->record, facts)) {
    if (pOutdated != nullptr) *pOutdated = 1;
    return CString();
  }
  const auto cached = FieldText(match->record.szCachedPath);
  if (!cached || cached->empty() || !FileExists(*cached)) return CString();
  return CString(*cached);
}

BOOL CPhotoCache::CheckVersion() {
  const std::string folder(static_cast<LPCTSTR>(GetCacheFolder()));
  const std::string stamp = folder + pictavo::render::kPhotoCacheStampFile;
  std::lock_guard guard(IndexLock());
  CDVDProject::CreateAllDirectories(folder.c_str());
  if (pictavo::render::StampIsValid(stamp)) return TRUE;
  CDVDProject::RemoveAllDirectories(folder.c_str());
  CDVDProject::CreateAllDirectories(folder.c_str());
  pictavo::render::WriteStamp(stamp);
  return TRUE;
}

int CPhotoCache::GetBucket(LPCTSTR lpszPath) {
  int sum = 0;
  for (const char* p = lpszPath; p != nullptr && *p != '\0'; ++p) sum += static_cast<signed char>(*p);
  return sum & 0xFF;
}

CString CPhotoCache::MakeCacheFileName() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  CString name;
  name.Format("%02d%02d%02d%02d%02d%02d_%03d.jpg", now.wYear % 1000, now.wMonth, now.wDay, now.wHour,
              now.wMinute, now.wSecond, static_cast<int>(GetTickCount() % 1000));
  return name;
}

BOOL CPhotoCache::FitToMaxSize(CxImage& picture) {
  if (!picture.IsValid()) return FALSE;
  const double w = picture.GetWidth();
  const double h = picture.GetHeight();
  const double r = std::min(kMaxWidth / w, kMaxHeight / h);
  const long newWidth = static_cast<long>(w * r + 0.5);
  const long newHeight = static_cast<long>(h * r + 0.5);
  if (newWidth == static_cast<long>(w) && newHeight == static_cast<long>(h)) return TRUE;
  // The picture comes from a reduced decode already near the target; a filtered resample keeps
  // fine detail from aliasing in the copy.
  return picture.Resample(newWidth, newHeight, CXIMAGE_RESAMPLE_BILINEAR) ? TRUE : FALSE;
}

CString CPhotoCache::GetCacheFolder() {
  CString folder = CDVDProject::GetZvCacheFolderBase();
  if (!folder.IsEmpty() && !pictavo::path::EndsWithSeparator(folder.View())) folder += "/";
  folder += "PhotosCache/";
  return CString(pictavo::path::ToNative(folder.View()));
}

CPhotoCache* GetPhotoCache() {
  static CPhotoCache cache;
  return &cache;
}
