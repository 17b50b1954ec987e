// CPhotoCache: downsized JPEG copies of large photos on disk, so that the preview and the frame
// encoder read small files instead of the photos themselves. A photo is large when it is wider
// than 1600 or higher than 1200 pixels (upright, as it is shown); smaller photos are never
// copied. Copies are made by one worker thread from a queue of photo paths (Enqueue, called by
// the album editor for every photo it adds); readers ask GetCachedPath and fall back to the
// photo's own file when the answer is empty.
//
// The cache folder is CDVDProject::GetZvCacheFolderBase() + "PhotosCache/": "pc_info.bin", one
// index file per bucket ("038.idx") and one folder of copies per bucket ("038/"). A record
// names the whole source path, exactly as given (a path too long for its field gets no copy),
// the source's last-write time and size, and the copy. A copy whose source changed is not
// served; the next pass replaces it and deletes the old copy.
//
// Every failure is silent: the photo simply has no copy.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/base/CString.h"
#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

class CxImage;

// Thread messages to the worker (wParam 0, lParam 0).
#define WM_PHOTOCACHE_ENQUEUE 0x8001
#define WM_PHOTOCACHE_QUIT 0x8002

namespace pictavo::render {
struct PhotoCacheState;
}

class CPhotoCache : public CObject {
 public:
  // Starts the worker; it runs until the object is destroyed.
  CPhotoCache();
  ~CPhotoCache() override;
  CPhotoCache(const CPhotoCache&) = delete;
  CPhotoCache& operator=(const CPhotoCache&) = delete;

  static constexpr int kMaxWidth = 1600;
  static constexpr int kMaxHeight = 1200;
  // How long the destructor waits for a worker that is writing a copy.
  static constexpr DWORD kStopWaitMs = 5000;

  // Queues a photo for the worker. Any thread; returns TRUE.
  BOOL Enqueue(LPCTSTR lpszPath);
  // The copy of a photo, or "" when there is none that is current (the caller then reads the
  // photo itself). With pOutdated, *pOutdated becomes 1 when the photo has a record that is not
  // current (the photo changed since it was copied), else 0. Without it, a requested size above
  // 1600 x 1200 gives the photo's own path (a copy would be too small), and no index is read.
  // Never creates a file.
  CString GetCachedPath(LPCTSTR lpszPath, int* pOutdated);
  // While paused, the worker takes no new work (a copy under way is finished). Work queued in
  // the meantime is done after the pause.
  void SetPaused(BOOL bPaused);
  BOOL IsPaused() const;
  BOOL IsBusy() const;
  void SetBusy(BOOL bBusy);
  // Wipes the cache folder when its version stamp is missing or of another version. TRUE.
  BOOL CheckVersion();
  // Signalled (manual reset) while no photo waits in the queue and no copy is being made.
  HANDLE GetIdleEvent() const;
  // The size of the frames a reader is about to make (see GetCachedPath); written by the
  // preview, the prefetcher and the frame encoder before they read.
  void SetRequestedSize(int nWidth, int nHeight) {
    m_nRequestedWidth = nWidth;
    m_nRequestedHeight = nHeight;
  }

  // The worker's step: makes the copy of one photo when it has none that is current. TRUE when
  // the index was consulted (a photo that needs no copy, or one that cannot be read, counts).
  BOOL CacheOne(LPCTSTR lpszPath);
  // The bucket of a path: the sum of its bytes taken as signed, low 8 bits.
  static int GetBucket(LPCTSTR lpszPath);
  // "YYMMDDhhmmss_mmm.jpg" from the local time and the tick count.
  static CString MakeCacheFileName();
  // Resamples a picture into 1600 x 1200, keeping its shape. FALSE for an empty picture.
  static BOOL FitToMaxSize(CxImage& picture);
  // Ends the worker: waits up to kStopWaitMs for a copy under way. Called by the destructor.
  void StopWorker();
  // The cache folder with a trailing separator.
  static CString GetCacheFolder();

  std::atomic<int32_t> m_nRequestedWidth{0};   // any thread
  std::atomic<int32_t> m_nRequestedHeight{0};  // any thread

 private:
  // Shared with the worker thread, which keeps it alive should it outlast this object.
  std::shared_ptr<pictavo::render::PhotoCacheState> m_state;
  HANDLE m_hThread = nullptr;
  DWORD m_nThreadId = 0;
};

// The process's cache, made (and its worker started) on first use.
CPhotoCache* GetPhotoCache();
