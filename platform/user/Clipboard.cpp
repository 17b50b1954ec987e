// The clipboard of the process: a table of formats and the handles that hold them.
#include "platform/user/Clipboard.h"

#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/base/Utf8.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/GlobalMemory.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"

#ifndef ERROR_CLIPBOARD_NOT_OPEN
#define ERROR_CLIPBOARD_NOT_OPEN 1418L
#endif

namespace {

struct Clipboard {
  std::mutex lock;
  bool open = false;                   // guarded by lock
  std::thread::id openThread;          // guarded by lock
  HWND openWindow = nullptr;           // guarded by lock
  HWND owner = nullptr;                // guarded by lock
  std::map<UINT, HANDLE> data;         // format to handle (null: rendered on request); lock
  std::map<UINT, HANDLE> synthesized;  // text forms made from another text form; lock
  DWORD sequence = 1;                  // guarded by lock
};
Clipboard& TheClipboard() {
  static Clipboard* clipboard = new Clipboard;
  return *clipboard;
}

bool IsGdiFormat(UINT format) {
  return format == CF_BITMAP || format == CF_PALETTE || format == CF_ENHMETAFILE ||
         (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST);
}

bool IsTextFormat(UINT format) {
  return format == CF_TEXT || format == CF_OEMTEXT || format == CF_UNICODETEXT;
}

void Release(UINT format, HANDLE handle) {
  if (!handle) return;
  if (IsGdiFormat(format))
    DeleteObject(handle);
  else if (format != CF_OWNERDISPLAY)
    GlobalFree(handle);
}

// Caller holds the lock and has the clipboard open.
bool OpenedByCaller(Clipboard& c) {
  if (c.open && c.openThread == std::this_thread::get_id()) return true;
  SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
  return false;
}

HGLOBAL BlockOf(const void* bytes, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return nullptr;
  std::memcpy(GlobalLock(block), bytes, size);
  GlobalUnlock(block);
  return block;
}

// Text of a memory block up to its first terminator (or its end).
std::string Utf8Of(HANDLE block) {
  const auto* bytes = static_cast<const char*>(GlobalLock(block));
  if (!bytes) return {};
  const size_t size = GlobalSize(block);
  std::string text(bytes, strnlen(bytes, size));
  GlobalUnlock(block);
  return text;
}

std::wstring WideOf(HANDLE block) {
  const auto* chars = static_cast<const wchar_t*>(GlobalLock(block));
  if (!chars) return {};
  const size_t count = GlobalSize(block) / sizeof(wchar_t);
  size_t n = 0;
  while (n < count && chars[n]) ++n;
  std::wstring text(chars, n);
  GlobalUnlock(block);
  return text;
}

// The text form asked for, made from whichever text form the clipboard holds. Lock held.
HANDLE SynthesizeLocked(Clipboard& c, UINT format) {
  auto found = c.synthesized.find(format);
  if (found != c.synthesized.end()) return found->second;
  HANDLE made = nullptr;
  if (format == CF_UNICODETEXT) {
    for (UINT from : {CF_TEXT, CF_OEMTEXT}) {
      auto it = c.data.find(from);
      if (it == c.data.end() || !it->second) continue;
      const std::wstring wide = pictavo::utf8::ToWide(Utf8Of(it->second));
      made = BlockOf(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
      break;
    }
  } else {
    auto it = c.data.find(CF_UNICODETEXT);
    auto other = c.data.find(format == CF_TEXT ? CF_OEMTEXT : CF_TEXT);
    if (it != c.data.end() && it->second) {
      const std::string text = pictavo::utf8::FromWide(WideOf(it->second));
      made = BlockOf(text.c_str(), text.size() + 1);
    } else if (other != c.data.end() && other->second) {
      const std::string text = Utf8Of(other->second);
      made = BlockOf(text.c_str(), text.size() + 1);
    }
  }
  if (made) c.synthesized[format] = made;
  return made;
}

bool AvailableLocked(Clipboard& c, UINT format) {
  if (c.data.count(format)) return true;
  if (!IsTextFormat(format)) return false;
  return c.data.count(CF_TEXT) || c.data.count(CF_OEMTEXT) || c.data.count(CF_UNICODETEXT);
}

void ClearLocked(Clipboard& c) {
  for (auto& [format, handle] : c.data) Release(format, handle);
  for (auto& [format, handle] : c.synthesized) Release(format, handle);
  c.data.clear();
  c.synthesized.clear();
}

}  // namespace

BOOL OpenClipboard(HWND owner) {
  auto& c = TheClipboard();
  std::lock_guard lock(c.lock);
  if (c.open && c.openThread != std::this_thread::get_id()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  c.open = true;
  c.openThread = std::this_thread::get_id();
  c.openWindow = owner;
  return TRUE;
}

BOOL CloseClipboard() {
  auto& c = TheClipboard();
  std::lock_guard lock(c.lock);
  if (!OpenedByCaller(c)) return FALSE;
  c.open = false;
  c.openWindow = nullptr;
  return TRUE;
}

BOOL EmptyClipboard() {
  auto& c = TheClipboard();
  HWND previous = nullptr;
  {
    std::lock_guard lock(c.lock);
    if (!OpenedByCaller(c)) return FALSE;
    previous = c.owner;
  }
  if (previous && IsWindow(previous)) SendMessage(previous, WM_DESTROYCLIPBOARD, 0, 0);
  std::lock_guard lock(c.lock);
  ClearLocked(c);
  c.owner = c.openWindow;
  ++c.sequence;
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  auto& c = TheClipboard();
  std::lock_guard lock(c.lock);
  if (!OpenedByCaller(c)) return nullptr;
  if (format == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto it = c.data.find(format);
  if (it != c.data.end() && it->second != data) Release(format, it->second);
  c.data[format] = data;
  // Text forms made from the old text are stale now.
  if (IsTextFormat(format)) {
    for (auto& [f, handle] : c.synthesized) Release(f, handle);
    c.synthesized.clear();
  }
  ++c.sequence;
  return data;
}

HANDLE GetClipboardData(UINT format) {
  auto& c = TheClipboard();
  HWND renderer = nullptr;
  {
    std::lock_guard lock(c.lock);
    if (!OpenedByCaller(c)) return nullptr;
    auto it = c.data.find(format);
    if (it != c.data.end()) {
      if (it->second) return it->second;
      renderer = c.owner;  // delayed rendering: the owner provides it now
    } else if (IsTextFormat(format)) {
      return SynthesizeLocked(c, format);
    } else {
      return nullptr;
    }
  }
  if (renderer && IsWindow(renderer)) SendMessage(renderer, WM_RENDERFORMAT, format, 0);
  std::lock_guard lock(c.lock);
  auto it = c.data.find(format);
  return it != c.data.end() ? it->second : nullptr;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  auto& c = TheClipboard();
  std::lock_guard lock(c.lock);
  return AvailableLocked(c, format);
}

int CountClipboardFormats() {
  auto& c = TheClipboard();
  std::lock_guard lock(c.lock);
  return static_cast<int>(c.data.size());
}

UINT EnumClipboardFormats(UINT format) {
  auto& c = TheClipboard();
  std::lock_guard lock(c.lock);
  if (!OpenedByCaller(c)) return 0;
  auto it = format == 0 ? c.data.begin() : c.data.upper_bound(format);
  SetLastError(NO_ERROR);
  return it == c.data.end() ? 0 : it->first;
}

HWND GetClipboardOwner() {
  auto& c = TheClipboard();
  std::lock_guard lock(c.lock);
  return c.owner;
}

HWND GetOpenClipboardWindow() {
  auto& c = TheClipboard();
  std::lock_guard lock(c.lock);
  return c.open ? c.openWindow : nullptr;
}

UINT RegisterClipboardFormat(LPCSTR name) {
  // Formats and window messages share one table of registered names.
  return RegisterWindowMessage(name);
}

DWORD GetClipboardSequenceNumber() {
  auto& c = TheClipboard();
  std::lock_guard lock(c.lock);
  return c.sequence;
}
