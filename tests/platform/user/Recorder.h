// Windows that record the messages they receive, and helpers to pump a thread's queue until
// something has happened (never a fixed wait).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <map>
#include <mutex>
#include <ostream>
#include <vector>

#include "platform/user/Display.h"
#include "platform/user/User.h"
#include "tests/support/MessagePump.h"

// Rectangles compare and print in test expectations.
inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& os, const RECT& r) {
  return os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

namespace testing_user {

struct Entry {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

using Handler = std::function<LRESULT(HWND, WPARAM, LPARAM)>;

// Every window of the "Recorder" class logs here; handlers replace the default processing of a
// message for one window (or for all, with a null window).
class Recorder {
 public:
  static Recorder& Get();

  void Clear();
  std::vector<Entry> Entries() const;
  // The messages one window received, in order, keeping only those in `only` (all when empty).
  std::vector<UINT> Messages(HWND hwnd, std::initializer_list<UINT> only = {}) const;
  // Messages of any window, in order, keeping only those in `only`.
  std::vector<std::pair<HWND, UINT>> Sequence(std::initializer_list<UINT> only) const;
  int Count(HWND hwnd, UINT message) const;
  // The last entry of a message for a window (hwnd null: any window); false when there is none.
  bool Last(HWND hwnd, UINT message, Entry* entry) const;

  void Handle(HWND hwnd, UINT message, Handler handler);
  void ClearHandlers();

  LRESULT Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  mutable std::mutex m_lock;
  std::vector<Entry> m_entries;                         // guarded by m_lock
  std::map<std::pair<HWND, UINT>, Handler> m_handlers;  // guarded by m_lock
};

// The recording class: CS_DBLCLKS, arrow cursor, COLOR_WINDOW background.
const char* RecorderClass();
// The same, without CS_DBLCLKS.
const char* PlainRecorderClass();

HWND MakeWindow(DWORD style, const RECT& rect, HWND parent = nullptr, DWORD exStyle = 0, UINT id = 0,
                const char* className = nullptr, const char* text = "");

using pictavo::test::PumpPending;
using pictavo::test::PumpUntil;

// Destroys the calling thread's top-level windows and empties its queue and the log.
class UserTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// Pixel of a top-level window's surface (window coordinates), as a COLORREF.
COLORREF SurfacePixel(HWND topLevel, int x, int y);

}  // namespace testing_user
