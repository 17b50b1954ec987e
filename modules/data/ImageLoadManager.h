// The thumbnail loader of the photo lists: a thread that makes the thumbnails of a list view's
// slides (and reads their photo dates and pixel sizes) while the UI thread goes on.
//
// The loader never touches a slide or the list from its thread. StartLoadImageThread reads the
// rows on the UI thread and gives the thread only file names and settings; each finished
// thumbnail is posted to a window of the loader on the UI thread, as a row number and the number
// of the load it belongs to (never a pointer). There it goes to its slide, the row's columns are
// filled in and the row is redrawn, unless the row no longer holds that slide or the load has
// been stopped or started again since: a thumbnail of a slide deleted meanwhile is dropped.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/base/WinTypes.h"

class CDVDImage;

namespace pictavo::data {
struct ThumbnailRecipe;
struct ThumbnailResult;
}  // namespace pictavo::data

class CImageLoadManager {
 public:
  // The first two members, which callers reach directly: set m_hStopEvent to ask a running load
  // to stop; m_hDoneEvent is set when the loader thread has ended (both manual-reset).
  HANDLE m_hStopEvent = nullptr;
  HANDLE m_hDoneEvent = nullptr;

  // `rowKind`: 1 when a row's item data is a CDVDImage*, 0 when it is a file-browser row record
  // (an int kind, then a pointer: a CDVDImage* for kind 0, photos; other kinds are skipped). The
  // columns receive the photo's date and its pixel size ("%5d x %d"); a negative index leaves a
  // column alone. The name, size and path columns are accepted and not used: the lists fill them.
  CImageLoadManager(int rowKind, int dateColumn, int dimensionsColumn, int nameColumn, int sizeColumn,
                    int pathColumn);
  // Stops the thread and waits for it.
  ~CImageLoadManager();
  CImageLoadManager(const CImageLoadManager&) = delete;
  CImageLoadManager& operator=(const CImageLoadManager&) = delete;

  // Starts loading the list view's rows that lack a current thumbnail or the two facts (a load
  // still running is stopped and waited for first). UI thread. FALSE, with the last error, for
  // a missing list or a thread that cannot be made; TRUE also when nothing needs loading (the
  // thread then ends at once).
  BOOL StartLoadImageThread(HWND list);
  template <class Window>
  BOOL StartLoadImageThread(Window* list) {
    return StartLoadImageThread(list != nullptr ? list->GetSafeHwnd() : nullptr);
  }
  // Asks the thread to stop; with `wait` returns only once the thread has ended. From then on
  // nothing of the stopped load reaches the slides. UI thread.
  void WaitForThreadTerminated(BOOL wait);
  BOOL WaitForThreadTerminatedAndRestart(HWND list);
  template <class Window>
  BOOL WaitForThreadTerminatedAndRestart(Window* list) {
    return WaitForThreadTerminatedAndRestart(list != nullptr ? list->GetSafeHwnd() : nullptr);
  }
  // A thread is running (it may be just ending).
  BOOL IsThreadStarted() const;

  // The number of the current load: every start and stop moves it on.
  DWORD GetGeneration() const { return m_generation.load(); }
  // The message the loader's window receives: wParam the row, lParam the load's number.
  static const UINT kThumbnailReady;

 private:
  struct Job;
  struct Finished;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  bool EnsureWindow();
  CDVDImage* SlideOfRow(HWND list, int row, LPARAM* itemData) const;
  void Run(std::vector<Job> jobs, DWORD generation);
  void Deliver(int row, DWORD generation);

  const int m_rowKind;
  const int m_dateColumn;
  const int m_dimensionsColumn;
  HWND m_window = nullptr;  // UI thread: receives the finished thumbnails
  HWND m_list = nullptr;    // UI thread: the list being loaded
  std::vector<Job> m_jobs;  // UI thread: the rows of the current load
  std::atomic<DWORD> m_generation{0};
  std::thread m_thread;  // started and joined on the UI thread

  std::mutex m_lock;
  std::vector<std::unique_ptr<Finished>> m_finished;  // guarded by m_lock: waiting for the UI thread
};
