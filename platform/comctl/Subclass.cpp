// Stacked subclass procedures: one dispatcher replaces the window's procedure and calls the
// subclasses newest first; DefSubclassProc walks down the stack the current message started with.
#include "platform/comctl/Subclass.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/Geometry.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Thread.h"
#include "platform/user/User.h"

namespace {

struct Entry {
  SUBCLASSPROC proc;
  UINT_PTR id;
  DWORD_PTR refData;
};

struct Record {
  WNDPROC original = nullptr;
  std::vector<Entry> entries;  // oldest first
};

std::mutex g_lock;
std::unordered_map<HWND, Record>& Records() {  // guarded by g_lock
  static auto* records = new std::unordered_map<HWND, Record>;
  return *records;
}

// The message being passed down a window's stack, innermost last (each thread its own).
struct Frame {
  HWND hwnd;
  std::vector<Entry> entries;  // the stack as the message found it
  WNDPROC original;
  size_t next;  // entries below this one are still to be called
};
thread_local std::vector<Frame*> t_frames;

LRESULT CallFrom(Frame& frame, UINT message, WPARAM wParam, LPARAM lParam) {
  if (frame.next == 0) return CallWindowProc(frame.original, frame.hwnd, message, wParam, lParam);
  // A procedure may pass the same message down more than once.
  const size_t level = frame.next;
  const Entry entry = frame.entries[--frame.next];
  const LRESULT result = entry.proc(frame.hwnd, message, wParam, lParam, entry.id, entry.refData);
  frame.next = level;
  return result;
}

LRESULT CALLBACK Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Frame frame{hwnd, {}, nullptr, 0};
  {
    std::lock_guard lock(g_lock);
    auto it = Records().find(hwnd);
    if (it == Records().end()) return DefWindowProc(hwnd, message, wParam, lParam);
    frame.entries = it->second.entries;
    frame.original = it->second.original;
  }
  frame.next = frame.entries.size();
  t_frames.push_back(&frame);
  const LRESULT result = CallFrom(frame, message, wParam, lParam);
  t_frames.pop_back();
  if (message == WM_NCDESTROY) {
    std::lock_guard lock(g_lock);
    Records().erase(hwnd);
  }
  return result;
}

}  // namespace

BOOL SetWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR refData) {
  if (!proc || !IsWindow(hwnd) || GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) {
    SetLastError(proc ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  bool install = false;
  {
    std::lock_guard lock(g_lock);
    Record& record = Records()[hwnd];
    auto it = std::find_if(record.entries.begin(), record.entries.end(),
                           [&](const Entry& e) { return e.proc == proc && e.id == id; });
    if (it != record.entries.end()) {
      it->refData = refData;
      return TRUE;
    }
    record.entries.push_back(Entry{proc, id, refData});
    install = record.original == nullptr;
  }
  if (install) {
    auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtr(hwnd, GWLP_WNDPROC));
    {
      std::lock_guard lock(g_lock);
      Records()[hwnd].original = original;
    }
    SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Dispatch));
  }
  return TRUE;
}

BOOL GetWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR* refData) {
  std::lock_guard lock(g_lock);
  auto it = Records().find(hwnd);
  if (it == Records().end()) return FALSE;
  for (const Entry& e : it->second.entries) {
    if (e.proc == proc && e.id == id) {
      if (refData) *refData = e.refData;
      return TRUE;
    }
  }
  return FALSE;
}

BOOL RemoveWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id) {
  WNDPROC restore = nullptr;
  {
    std::lock_guard lock(g_lock);
    auto it = Records().find(hwnd);
    if (it == Records().end()) return FALSE;
    auto& entries = it->second.entries;
    auto found = std::find_if(entries.begin(), entries.end(),
                              [&](const Entry& e) { return e.proc == proc && e.id == id; });
    if (found == entries.end()) return FALSE;
    entries.erase(found);
    if (!entries.empty()) return TRUE;
    // The last one: give the window its own procedure back, unless someone subclassed it on
    // top of us since (then the dispatcher stays and just passes messages on).
    if (IsWindow(hwnd) && reinterpret_cast<WNDPROC>(GetWindowLongPtr(hwnd, GWLP_WNDPROC)) == &Dispatch) {
      restore = it->second.original;
      Records().erase(it);
    }
  }
  if (restore) SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(restore));
  return TRUE;
}

LRESULT DefSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  for (auto it = t_frames.rbegin(); it != t_frames.rend(); ++it)
    if ((*it)->hwnd == hwnd) return CallFrom(**it, message, wParam, lParam);
  return DefWindowProc(hwnd, message, wParam, lParam);
}
