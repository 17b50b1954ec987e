#include "platform/shellapi/DragDrop.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/base/Geometry.h"
#include "platform/base/Messages.h"
#include "platform/base/Styles.h"
#include "platform/base/Utf8.h"
#include "platform/kernel/GlobalMemory.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "platform/user/WindowPos.h"

namespace {

// The HDROP's block, locked for as long as this lives.
class LockedDrop {
 public:
  explicit LockedDrop(HDROP drop)
      : m_block(drop), m_header(static_cast<const DROPFILES*>(GlobalLock(drop))) {}
  ~LockedDrop() {
    if (m_header) GlobalUnlock(m_block);
  }
  LockedDrop(const LockedDrop&) = delete;
  LockedDrop& operator=(const LockedDrop&) = delete;

  const DROPFILES* Header() const { return m_header; }

  // The names, as UTF-8.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    if (!m_header) return names;
    const SIZE_T size = GlobalSize(m_block);
    if (m_header->pFiles < sizeof(DROPFILES) || m_header->pFiles >= size) return names;
    const char* base = reinterpret_cast<const char*>(m_header);
    if (m_header->fWide) {
      const auto* at = reinterpret_cast<const wchar_t*>(base + m_header->pFiles);
      const auto* end = reinterpret_cast<const wchar_t*>(base + size);
      while (at < end && *at) {
        const wchar_t* stop = at;
        while (stop < end && *stop) ++stop;
        names.push_back(pictavo::utf8::FromWide(std::wstring_view(at, stop - at)));
        at = stop + 1;
      }
    } else {
      const char* at = base + m_header->pFiles;
      const char* end = base + size;
      while (at < end && *at) {
        const char* stop = static_cast<const char*>(std::memchr(at, '\0', end - at));
        if (!stop) stop = end;
        names.emplace_back(at, stop);
        at = stop + 1;
      }
    }
    return names;
  }

 private:
  HGLOBAL m_block;
  const DROPFILES* m_header;
};

// The deepest visible window at `screenPoint` among `hwnd` and its descendants.
HWND DeepestAt(HWND hwnd, POINT screenPoint) {
  for (;;) {
    POINT client = screenPoint;
    ScreenToClient(hwnd, &client);
    HWND child = ChildWindowFromPointEx(hwnd, client, CWP_SKIPINVISIBLE);
    if (!child || child == hwnd) return hwnd;
    hwnd = child;
  }
}

}  // namespace

void DragAcceptFiles(HWND hwnd, BOOL accept) {
  const LONG style = GetWindowLong(hwnd, GWL_EXSTYLE);
  SetWindowLong(hwnd, GWL_EXSTYLE, accept ? (style | WS_EX_ACCEPTFILES) : (style & ~WS_EX_ACCEPTFILES));
}

UINT DragQueryFile(HDROP drop, UINT index, LPSTR file, UINT size) {
  LockedDrop locked(drop);
  const std::vector<std::string> names = locked.Names();
  if (index == 0xFFFFFFFFu) return static_cast<UINT>(names.size());
  if (index >= names.size()) return 0;
  const std::string& name = names[index];
  if (!file) return static_cast<UINT>(name.size());
  if (size == 0) return 0;
  const size_t copied = std::min<size_t>(name.size(), size - 1);
  std::memcpy(file, name.data(), copied);
  file[copied] = '\0';
  return static_cast<UINT>(copied);
}

BOOL DragQueryPoint(HDROP drop, POINT* point) {
  LockedDrop locked(drop);
  if (!locked.Header() || !point) return FALSE;
  *point = locked.Header()->pt;
  return !locked.Header()->fNC;
}

void DragFinish(HDROP drop) {
  GlobalFree(drop);
}

namespace pictavo::shell {

HDROP MakeDrop(POINT clientPoint, BOOL nonClient, const std::vector<std::string>& paths) {
  size_t namesSize = 1;
  for (const std::string& path : paths) namesSize += path.size() + 1;
  HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + namesSize);
  if (!block) return nullptr;
  auto* header = static_cast<DROPFILES*>(GlobalLock(block));
  header->pFiles = sizeof(DROPFILES);
  header->pt = clientPoint;
  header->fNC = nonClient;
  header->fWide = FALSE;
  char* at = reinterpret_cast<char*>(header + 1);
  for (const std::string& path : paths) {
    std::memcpy(at, path.c_str(), path.size() + 1);
    at += path.size() + 1;
  }
  *at = '\0';
  GlobalUnlock(block);
  return static_cast<HDROP>(block);
}

BOOL DropFiles(HWND hwnd, POINT screenPoint, const std::vector<std::string>& paths) {
  if (paths.empty()) return FALSE;
  if (!hwnd) hwnd = WindowFromPoint(screenPoint);
  if (!hwnd || !IsWindow(hwnd)) return FALSE;
  HWND target = DeepestAt(hwnd, screenPoint);
  while (target && !(GetWindowLong(target, GWL_EXSTYLE) & WS_EX_ACCEPTFILES))
    target = (GetWindowLong(target, GWL_STYLE) & WS_CHILD) ? GetParent(target) : nullptr;
  if (!target) return FALSE;

  POINT client = screenPoint;
  ScreenToClient(target, &client);
  RECT area;
  GetClientRect(target, &area);
  HDROP drop = MakeDrop(client, !PtInRect(&area, client), paths);
  if (!drop) return FALSE;
  if (!PostMessage(target, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0)) {
    DragFinish(drop);
    return FALSE;
  }
  return TRUE;
}

}  // namespace pictavo::shell
