// CSlidePrefetcher: loads the photos of a photo album ahead of the preview's renderer on a thread
// of its own (SlidePrefetchThread), so that the renderer's 50 ms frame ticks never wait for a
// decode. A fixed pool of pictures moves between three lists: free, ready (loaded, in slide order)
// and in use (taken by the renderer, not yet given back). The first ready picture of every run is
// a blank frame in the album's background colour: what the run's first transition starts from.
//
// Photos are loaded as the video loads them (SlidePictures), at the size the caller's sizer gives
// per slide, so the preview's frames are the video's; a photo that cannot be read is the
// placeholder picture, never what the buffer held before.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/base/List.h"
#include "platform/base/WinTypes.h"

class CDVDAlbumImage;
class CxImage;

// The start record: eight 32-bit fields on the original platform.
struct _tagPrefetchParam {
  CDVDAlbumImage* pAlbum;
  HANDLE hStopEvent;
  HANDLE hDoneEvent;        // set by the thread when it ends
  HANDLE hRenderDoneEvent;  // waited for before the pictures are freed
  HWND hWnd;                // carried, not used by the thread
  int nFrameWidth;
  int nFrameHeight;
  int nStartIndex;
};

class CSlidePrefetcher {
 public:
  // The size to load slide `index` at; without one, the load size of the run.
  using PictureSizer = std::function<SIZE(int index, SIZE loadSize)>;

  CSlidePrefetcher(int nPoolSize, int nReadyLimit);
  ~CSlidePrefetcher();
  CSlidePrefetcher(const CSlidePrefetcher&) = delete;
  CSlidePrefetcher& operator=(const CSlidePrefetcher&) = delete;

  // Stops a running thread, returns every picture to the free list and starts a new run.
  BOOL Start(const _tagPrefetchParam* pParam);
  // UI thread, right after Start: blocks until the ready limit is reached or every slide is
  // loaded (or the run has ended). FALSE at once without an album or when idle.
  BOOL WaitReady();
  // The next ready picture, now in use; null when none is ready, with *pbEnd TRUE when none
  // will come any more.
  CxImage* GetReady(BOOL* pbEnd);
  // Gives a picture in use back (to the end of the free list); others are ignored. FALSE for null.
  BOOL Release(CxImage* pPicture);
  // Drops the ready pictures and continues loading at `nIndex` when it is a slide.
  BOOL Seek(int nIndex);
  // Asks the thread to end and waits until it has, dispatching the calling thread's messages
  // (mouse and keyboard dropped unless bPumpAll).
  void Stop(BOOL bPumpAll);
  // Set before Start; applies to the runs that follow.
  void SetPictureSizer(PictureSizer sizer) { m_sizer = std::move(sizer); }

  BOOL IsIdle() const;
  // For tests: how many pictures each list holds.
  void GetCounts(int* pReady, int* pFree, int* pInUse) const;
  // The size photos are loaded at in this run (768 x 576, 1024 x 576 with the 16:9 option).
  static SIZE LoadSize();

 private:
  static UINT SlidePrefetchThread(LPVOID pParam);
  UINT Run();
  void AllocatePool();
  void FreePool();
  static void MoveAll(CPtrList& from, CPtrList& to);

  CDVDAlbumImage* m_pAlbum = nullptr;
  HANDLE m_hStopEvent = nullptr;
  HANDLE m_hDoneEvent = nullptr;
  HANDLE m_hRenderDoneEvent = nullptr;
  HWND m_hWnd = nullptr;
  int m_nFrameWidth = 480;
  int m_nFrameHeight = 360;
  mutable std::mutex m_lock;  // guards the lists, the pool, m_nNext and the two flags
  std::condition_variable m_changed;
  CPtrList m_listReady;
  CPtrList m_listFree;
  CPtrList m_listInUse;
  int m_nPoolSize;
  int m_nReadyLimit;
  std::vector<std::unique_ptr<CxImage>> m_pool;  // owns every picture
  int m_nNext = 0;
  DWORD m_dwWait = 0;  // the thread's only
  BOOL m_bStopRequest = FALSE;
  BOOL m_bIdle = TRUE;
  BOOL m_bRunStarted = FALSE;  // the run's blank frame is in the ready list
  HANDLE m_hIdle = nullptr;    // manual reset: set while no thread runs
  PictureSizer m_sizer;        // UI thread before Start; read by the thread during a run
};
