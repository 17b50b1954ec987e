#include "render/SlidePrefetcher.h"

#include <algorithm>
#include <chrono>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "modules/image/CxImage.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Wait.h"
#include "platform/mfc/WinThread.h"
#include "render/PhotoCache.h"
#include "render/PumpWait.h"
#include "render/SlidePictures.h"

namespace {
constexpr DWORD kFullWaitMs = 300;  // the thread's pause while nothing is to be done
}  // namespace

CSlidePrefetcher::CSlidePrefetcher(int nPoolSize, int nReadyLimit)
    : m_nPoolSize(nPoolSize > 0 ? nPoolSize : 1), m_nReadyLimit(nReadyLimit > 0 ? nReadyLimit : 1) {
  m_hIdle = CreateEvent(nullptr, TRUE, TRUE, nullptr);
  AllocatePool();
}

CSlidePrefetcher::~CSlidePrefetcher() {
  Stop(TRUE);
  FreePool();
  CloseHandle(m_hIdle);
}

SIZE CSlidePrefetcher::LoadSize() {
  return GetProject()->GetOptionsData()->nAspectCorrection == 2 ? SIZE{1024, 576} : SIZE{768, 576};
}

void CSlidePrefetcher::MoveAll(CPtrList& from, CPtrList& to) {
  while (!from.IsEmpty()) to.AddTail(from.RemoveHead());
}

void CSlidePrefetcher::AllocatePool() {
  std::lock_guard guard(m_lock);
  m_listReady.RemoveAll();
  m_listFree.RemoveAll();
  m_listInUse.RemoveAll();
  m_pool.clear();
  for (int i = 0; i < m_nPoolSize; ++i) {
    m_pool.push_back(std::make_unique<CxImage>());
    m_listFree.AddTail(m_pool.back().get());
  }
}

void CSlidePrefetcher::FreePool() {
  std::lock_guard guard(m_lock);
  m_listReady.RemoveAll();
  m_listFree.RemoveAll();
  m_listInUse.RemoveAll();
  m_pool.clear();
}

BOOL CSlidePrefetcher::IsIdle() const {
  std::lock_guard guard(m_lock);
  return m_bIdle;
}

void CSlidePrefetcher::GetCounts(int* pReady, int* pFree, int* pInUse) const {
  std::lock_guard guard(m_lock);
  if (pReady != nullptr) *pReady = static_cast<int>(m_listReady.GetCount());
  if (pFree != nullptr) *pFree = static_cast<int>(m_listFree.GetCount());
  if (pInUse != nullptr) *pInUse = static_cast<int>(m_listInUse.GetCount());
}

BOOL CSlidePrefetcher::Start(const _tagPrefetchParam* pParam) {
  if (pParam == nullptr) return FALSE;
  Stop(TRUE);
  {
    std::lock_guard guard(m_lock);
    MoveAll(m_listReady, m_listFree);
    MoveAll(m_listInUse, m_listFree);
    m_bStopRequest = FALSE;
    if (pParam->pAlbum != nullptr) m_pAlbum = pParam->pAlbum;
    const int count = m_pAlbum != nullptr ? m_pAlbum->GetImageCount() : 0;
    m_nNext = pParam->nStartIndex >= 0 && pParam->nStartIndex < count ? pParam->nStartIndex : 0;
    // Busy from here, so that WaitReady right after Start waits for this run rather than
    // seeing the previous one's end.
    m_bIdle = FALSE;
    m_bRunStarted = FALSE;
  }
  ResetEvent(m_hIdle);
  m_hStopEvent = pParam->hStopEvent;
  m_hDoneEvent = pParam->hDoneEvent;
  m_hRenderDoneEvent = pParam->hRenderDoneEvent;
  m_hWnd = pParam->hWnd;
  m_nFrameWidth = pParam->nFrameWidth;
  m_nFrameHeight = pParam->nFrameHeight;
  if (AfxBeginThread(SlidePrefetchThread, this, THREAD_PRIORITY_NORMAL) == nullptr) {
    std::lock_guard guard(m_lock);
    m_bIdle = TRUE;
    SetEvent(m_hIdle);
    if (m_hDoneEvent != nullptr) SetEvent(m_hDoneEvent);
    return FALSE;
  }
  return TRUE;
}

BOOL CSlidePrefetcher::WaitReady() {
  std::unique_lock lock(m_lock);
  if (m_pAlbum == nullptr || m_bIdle) return FALSE;
  const int count = m_pAlbum->GetImageCount();
  // The run's blank frame comes first, also for an album with nothing more to load.
  m_changed.wait(lock, [&] {
    return m_bIdle || (m_bRunStarted && (m_listReady.GetCount() >= m_nReadyLimit || m_nNext >= count));
  });
  return TRUE;
}

CxImage* CSlidePrefetcher::GetReady(BOOL* pbEnd) {
  BOOL end = FALSE;
  CxImage* picture = nullptr;
  {
    std::lock_guard guard(m_lock);
    if (!m_listReady.IsEmpty()) {
      picture = static_cast<CxImage*>(m_listReady.RemoveHead());
      m_listInUse.AddTail(picture);
    } else {
      const int count = m_pAlbum != nullptr ? m_pAlbum->GetImageCount() : 0;
      end = (m_bRunStarted && m_nNext >= count) || m_bIdle;
    }
  }
  m_changed.notify_all();
  if (pbEnd != nullptr) *pbEnd = end;
  return picture;
}

BOOL CSlidePrefetcher::Release(CxImage* pPicture) {
  if (pPicture == nullptr) return FALSE;
  {
    std::lock_guard guard(m_lock);
    if (POSITION at = m_listInUse.Find(pPicture)) {
      m_listInUse.RemoveAt(at);
      m_listFree.AddTail(pPicture);
    }
  }
  m_changed.notify_all();
  return TRUE;
}

BOOL CSlidePrefetcher::Seek(int nIndex) {
  {
    std::lock_guard guard(m_lock);
    MoveAll(m_listReady, m_listFree);
    if (m_pAlbum != nullptr && nIndex >= 0 && nIndex < m_pAlbum->GetImageCount()) m_nNext = nIndex;
  }
  m_changed.notify_all();
  return TRUE;
}

void CSlidePrefetcher::Stop(BOOL bPumpAll) {
  {
    std::lock_guard guard(m_lock);
    if (m_bIdle) return;
    m_bStopRequest = TRUE;
  }
  m_changed.notify_all();
  pictavo::render::WaitAllPumping(&m_hIdle, 1, bPumpAll);
}

UINT CSlidePrefetcher::SlidePrefetchThread(LPVOID pParam) {
  return pParam != nullptr ? static_cast<CSlidePrefetcher*>(pParam)->Run() : 1;
}

UINT CSlidePrefetcher::Run() {
  const auto becomeIdle = [this](UINT result) {
    {
      std::lock_guard guard(m_lock);
      m_bIdle = TRUE;
    }
    m_changed.notify_all();
    SetEvent(m_hIdle);
    return result;
  };
  if (m_pAlbum == nullptr) {
    if (m_hDoneEvent != nullptr) SetEvent(m_hDoneEvent);
    return becomeIdle(2);
  }
  if (m_hStopEvent == nullptr) {
    if (m_hDoneEvent != nullptr) SetEvent(m_hDoneEvent);
    return becomeIdle(3);
  }
  const CDVDAlbumImage& album = *m_pAlbum;
  GetPhotoCache()->SetRequestedSize(m_nFrameWidth, m_nFrameHeight);
  AllocatePool();
  const COLORREF background = album.Get_clrBackground();
  const int count = album.GetImageCount();
  const SIZE loadSize = LoadSize();
  {
    std::lock_guard guard(m_lock);
    if (m_nNext > count || m_nNext < 0) m_nNext = 0;
    // The run's first picture: what its first transition comes from.
    auto* blank = static_cast<CxImage*>(m_listFree.RemoveHead());
    blank->Create(static_cast<DWORD>(std::max(1, m_nFrameWidth)),
                  static_cast<DWORD>(std::max(1, m_nFrameHeight)), 24);
    blank->Fill(background);
    m_listReady.AddTail(blank);
    m_bRunStarted = TRUE;
  }
  m_changed.notify_all();
  m_dwWait = 0;
  while (count > 0) {
    int ready = 0;
    int free = 0;
    {
      std::lock_guard guard(m_lock);
      if (m_bStopRequest) break;
    }
    if (WaitForSingleObject(m_hStopEvent, m_dwWait) == WAIT_OBJECT_0) break;
    {
      std::unique_lock lock(m_lock);
      ready = static_cast<int>(m_listReady.GetCount());
      free = static_cast<int>(m_listFree.GetCount());
      if (ready >= m_nReadyLimit || free == 0) {
        // Woken at once by a picture taken or given back, or a stop request.
        m_changed.wait_for(lock, std::chrono::milliseconds(kFullWaitMs));
        m_dwWait = 0;
        continue;
      }
    }
    m_dwWait = 0;
    CxImage* picture = nullptr;
    int index = 0;
    {
      std::lock_guard guard(m_lock);
      picture = static_cast<CxImage*>(m_listFree.RemoveHead());
      index = m_nNext;
    }
    const SIZE size = m_sizer ? m_sizer(index, loadSize) : loadSize;
    pictavo::render::LoadSlidePicture(album, index, *picture, size, background, false, "Preview");
    bool last = false;
    {
      std::lock_guard guard(m_lock);
      if (index == m_nNext) {
        m_listReady.AddTail(picture);
        ++m_nNext;
      } else {
        // A seek came while this one loaded: it belongs to no slide that still comes.
        m_listFree.AddTail(picture);
      }
      last = m_nNext >= count;
    }
    m_changed.notify_all();
    if (last) break;
  }
  // The renderer may still draw from the pictures; they are freed only after it has ended.
  if (m_hRenderDoneEvent != nullptr) WaitForSingleObject(m_hRenderDoneEvent, INFINITE);
  HANDLE done = m_hDoneEvent;
  m_hStopEvent = nullptr;
  m_hDoneEvent = nullptr;
  m_hRenderDoneEvent = nullptr;
  FreePool();
  if (done != nullptr) SetEvent(done);
  return becomeIdle(0);
}
