#include "modules/data/ImageLoadManager.h"

#include <algorithm>
#include <cstdio>

#include "modules/data/DVDImage.h"
#include "modules/data/Thumbnail.h"
#include "modules/image/CxImage.h"
#include "modules/log/Log.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/base/Styles.h"
#include "platform/comctl/ListView.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Wait.h"
#include "platform/user/User.h"

namespace {

constexpr const char* kWindowClass = "PictavoThumbnailLoader";

// The file browser's row record, as the loader reads it.
struct BrowserRow {
  int kind;  // 0 photo
  void* data;
};

}  // namespace

const UINT CImageLoadManager::kThumbnailReady = WM_APP + 0x3A1;

struct CImageLoadManager::Job {
  int row = 0;
  LPARAM itemData = 0;
  CDVDImage* slide = nullptr;  // read on the UI thread only
  pictavo::data::ThumbnailRecipe recipe;
};

struct CImageLoadManager::Finished {
  int row = 0;
  DWORD generation = 0;
  pictavo::data::ThumbnailResult result;
};

CImageLoadManager::CImageLoadManager(int rowKind, int dateColumn, int dimensionsColumn, int, int, int)
    : m_hStopEvent(CreateEvent(nullptr, TRUE, FALSE, nullptr)),
      m_hDoneEvent(CreateEvent(nullptr, TRUE, TRUE, nullptr)),
      m_rowKind(rowKind),
      m_dateColumn(dateColumn),
      m_dimensionsColumn(dimensionsColumn) {}

CImageLoadManager::~CImageLoadManager() {
  WaitForThreadTerminated(TRUE);
  if (m_window != nullptr) DestroyWindow(m_window);
  CloseHandle(m_hStopEvent);
  CloseHandle(m_hDoneEvent);
}

bool CImageLoadManager::EnsureWindow() {
  if (m_window != nullptr && IsWindow(m_window)) return true;
  WNDCLASS wc{};
  if (!GetClassInfo(nullptr, kWindowClass, &wc)) {
    wc.lpfnWndProc = WindowProc;
    wc.lpszClassName = kWindowClass;
    if (!RegisterClass(&wc)) return false;
  }
  // A hidden window of the UI thread: the finished thumbnails are posted to it.
  m_window = CreateWindowEx(0, kWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  if (m_window == nullptr) return false;
  SetWindowLongPtr(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return true;
}

LRESULT CALLBACK CImageLoadManager::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kThumbnailReady) {
    auto* self = reinterpret_cast<CImageLoadManager*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
    if (self != nullptr) self->Deliver(static_cast<int>(wParam), static_cast<DWORD>(lParam));
    return 0;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

CDVDImage* CImageLoadManager::SlideOfRow(HWND list, int row, LPARAM* itemData) const {
  LVITEM item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!SendMessage(list, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)) || item.lParam == 0) return nullptr;
  if (itemData != nullptr) *itemData = item.lParam;
  if (m_rowKind == 1) return reinterpret_cast<CDVDImage*>(item.lParam);
  const auto* record = reinterpret_cast<const BrowserRow*>(item.lParam);
  return record->kind == 0 ? static_cast<CDVDImage*>(record->data) : nullptr;
}

BOOL CImageLoadManager::StartLoadImageThread(HWND list) {
  WaitForThreadTerminated(TRUE);
  if (list == nullptr || !IsWindow(list)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (!EnsureWindow()) return FALSE;
  m_list = list;
  const DWORD generation = ++m_generation;
  m_jobs.clear();
  const int rows = static_cast<int>(SendMessage(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    Job job;
    job.row = row;
    job.slide = SlideOfRow(list, row, &job.itemData);
    if (job.slide == nullptr) continue;
    const bool factsKnown = job.slide->m_nWidth > 0 && job.slide->m_bDateRead;
    if (job.slide->IsThumbnailCurrent() && factsKnown) continue;
    job.recipe = pictavo::data::RecipeOf(*job.slide);
    m_jobs.push_back(std::move(job));
  }
  ResetEvent(m_hStopEvent);
  ResetEvent(m_hDoneEvent);
  // The thread gets copies of what it needs: nothing it reads belongs to the UI thread.
  std::vector<Job> work;
  for (const Job& job : m_jobs) {
    Job copy;
    copy.row = job.row;
    copy.recipe = job.recipe;
    work.push_back(std::move(copy));
  }
  try {
    m_thread = std::thread(
        [this, work = std::move(work), generation]() mutable { Run(std::move(work), generation); });
  } catch (const std::system_error&) {
    SetEvent(m_hDoneEvent);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  return TRUE;
}

void CImageLoadManager::Run(std::vector<Job> jobs, DWORD generation) {
  for (const Job& job : jobs) {
    if (WaitForSingleObject(m_hStopEvent, 0) == WAIT_OBJECT_0) break;
    auto finished = std::make_unique<Finished>();
    finished->row = job.row;
    finished->generation = generation;
    finished->result = pictavo::data::MakeThumbnail(job.recipe);
    if (!finished->result.picture)
      WriteErrorLog("Thumbnail of %s: %s", job.recipe.path.c_str(), finished->result.error.c_str());
    {
      std::lock_guard lock(m_lock);
      m_finished.push_back(std::move(finished));
    }
    PostMessage(m_window, kThumbnailReady, static_cast<WPARAM>(job.row), static_cast<LPARAM>(generation));
  }
  SetEvent(m_hDoneEvent);
}

void CImageLoadManager::Deliver(int row, DWORD generation) {
  std::unique_ptr<Finished> finished;
  {
    std::lock_guard lock(m_lock);
    auto found = std::find_if(m_finished.begin(), m_finished.end(),
                              [&](const auto& f) { return f->row == row && f->generation == generation; });
    if (found == m_finished.end()) return;
    finished = std::move(*found);
    m_finished.erase(found);
  }
  // A load that was stopped or restarted since: its rows may hold other slides, or freed ones.
  if (generation != m_generation.load() || m_list == nullptr || !IsWindow(m_list)) return;
  // The jobs are in row order.
  const auto job =
      std::lower_bound(m_jobs.begin(), m_jobs.end(), row, [](const Job& j, int r) { return j.row < r; });
  if (job == m_jobs.end() || job->row != row) return;
  LPARAM itemData = 0;
  if (SlideOfRow(m_list, row, &itemData) != job->slide || itemData != job->itemData) return;
  pictavo::data::ThumbnailResult& result = finished->result;
  CDVDImage* slide = job->slide;
  if (result.picture) slide->SetThumbnail(std::move(result.picture), job->recipe.look);
  slide->SetFileFacts(result.width, result.height, result.dateTime);

  const auto setColumn = [&](int column, const char* text) {
    if (column < 0) return;
    LVITEM item{};
    item.iSubItem = column;
    item.pszText = const_cast<LPSTR>(text);
    SendMessage(m_list, LVM_SETITEMTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  };
  if (!result.dateTime.IsEmpty()) setColumn(m_dateColumn, result.dateTime);
  if (result.width > 0 && result.height > 0) {
    char dimensions[40];
    std::snprintf(dimensions, sizeof dimensions, "%5d x %d", result.width, result.height);
    setColumn(m_dimensionsColumn, dimensions);
  }
  SendMessage(m_list, LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
}

void CImageLoadManager::WaitForThreadTerminated(BOOL wait) {
  SetEvent(m_hStopEvent);
  // Whatever the stopped load still posts is dropped from here on.
  ++m_generation;
  if (wait && m_thread.joinable()) m_thread.join();
  if (wait) {
    std::lock_guard lock(m_lock);
    m_finished.clear();
  }
}

BOOL CImageLoadManager::WaitForThreadTerminatedAndRestart(HWND list) {
  WaitForThreadTerminated(TRUE);
  return StartLoadImageThread(list);
}

BOOL CImageLoadManager::IsThreadStarted() const {
  return m_thread.joinable() && WaitForSingleObject(m_hDoneEvent, 0) != WAIT_OBJECT_0;
}
