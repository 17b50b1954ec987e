#include "platform/user/WindowClass.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <map>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Unicode.h"
#include "platform/user/ClassTable.h"
#include "platform/user/WindowTable.h"

namespace pictavo::user::detail {
namespace {

struct Classes {
  std::map<std::string, std::shared_ptr<WindowClassRecord>> byName;  // folded name; guarded by UserLock()
  std::map<ATOM, std::shared_ptr<WindowClassRecord>> byAtom;         // guarded by UserLock()
  ATOM nextAtom = 0xC000;                                            // guarded by UserLock()
};
Classes& TheClasses() {
  static Classes* classes = new Classes;
  return *classes;
}

// "#32770" names the integer atom 32770, as MAKEINTATOM(32770) does.
ATOM IntegerAtomOf(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
  if (name[0] != '#') return 0;
  unsigned value = 0;
  const char* end = name + std::strlen(name);
  auto [ptr, ec] = std::from_chars(name + 1, end, value);
  if (ec != std::errc() || ptr != end || value == 0 || value > 0xFFFF) return 0;
  return static_cast<ATOM>(value);
}

std::string NameOfAtom(ATOM atom) {
  return "#" + std::to_string(atom);
}

LONG_PTR ReadExtra(const std::vector<uint8_t>& bytes, int index, size_t size, bool* ok) {
  if (index < 0 || static_cast<size_t>(index) + size > bytes.size()) {
    *ok = false;
    return 0;
  }
  *ok = true;
  if (size == sizeof(LONG)) {
    LONG v;
    std::memcpy(&v, bytes.data() + index, sizeof v);
    return v;
  }
  LONG_PTR v;
  std::memcpy(&v, bytes.data() + index, sizeof v);
  return v;
}

void WriteExtra(std::vector<uint8_t>& bytes, int index, size_t size, LONG_PTR value) {
  if (size == sizeof(LONG)) {
    const LONG v = static_cast<LONG>(value);
    std::memcpy(bytes.data() + index, &v, sizeof v);
  } else {
    std::memcpy(bytes.data() + index, &value, sizeof value);
  }
}

ATOM RegisterLocked(const WNDCLASSEX& wc) {
  if (!wc.lpszClassName || wc.cbClsExtra < 0 || wc.cbWndExtra < 0 || wc.cbClsExtra > 40960 ||
      wc.cbWndExtra > 40960 || (!IS_INTRESOURCE(wc.lpszClassName) && !*wc.lpszClassName)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto& classes = TheClasses();
  const ATOM integer = IntegerAtomOf(wc.lpszClassName);
  const std::string name = integer ? NameOfAtom(integer) : std::string(wc.lpszClassName);
  const std::string key = unicode::FoldCase(name);
  if (classes.byName.count(key) || (integer && classes.byAtom.count(integer))) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  ATOM atom = integer;
  if (!atom) {
    while (classes.byAtom.count(classes.nextAtom)) ++classes.nextAtom;
    atom = classes.nextAtom++;
  }
  auto record = std::make_shared<WindowClassRecord>();
  record->atom = atom;
  record->name = name;
  record->style = wc.style;
  record->proc = wc.lpfnWndProc;
  record->wndExtra = wc.cbWndExtra;
  record->instance = wc.hInstance;
  record->icon = wc.hIcon;
  record->smallIcon = wc.hIconSm;
  record->cursor = wc.hCursor;
  record->background = wc.hbrBackground;
  if (wc.lpszMenuName) {
    if (IS_INTRESOURCE(wc.lpszMenuName))
      record->menuId = reinterpret_cast<ULONG_PTR>(wc.lpszMenuName);
    else
      record->menuName = wc.lpszMenuName;
  }
  record->extra.assign(static_cast<size_t>(wc.cbClsExtra), 0);
  classes.byName[key] = record;
  classes.byAtom[atom] = record;
  return atom;
}

// The classes the window layer provides exist from the first class lookup on.
void RegisterStandardClassesLocked() {
  static bool registered = false;  // guarded by UserLock()
  if (registered) return;
  registered = true;
  for (const WNDCLASSEX& wc : ControlClassDefinitions()) RegisterLocked(wc);
}

ATOM Register(const WNDCLASSEX& wc) {
  std::lock_guard lock(UserLock());
  RegisterStandardClassesLocked();
  return RegisterLocked(wc);
}

void Fill(const WindowClassRecord& c, WNDCLASSEX* out) {
  out->style = c.style;
  out->lpfnWndProc = c.proc;
  out->cbClsExtra = static_cast<int>(c.extra.size());
  out->cbWndExtra = c.wndExtra;
  out->hInstance = c.instance;
  out->hIcon = c.icon;
  out->hCursor = c.cursor;
  out->hbrBackground = c.background;
  out->lpszMenuName =
      c.menuId ? reinterpret_cast<LPCSTR>(c.menuId) : (c.menuName.empty() ? nullptr : c.menuName.c_str());
  out->lpszClassName = c.name.c_str();
  out->hIconSm = c.smallIcon;
}

std::shared_ptr<WindowClassRecord> ClassOfWindowLocked(HWND hwnd) {
  Window* w = GetLocked(hwnd);
  return w ? w->cls : nullptr;
}

ULONG_PTR GetClassValue(HWND hwnd, int index, size_t size) {
  std::lock_guard lock(UserLock());
  auto c = ClassOfWindowLocked(hwnd);
  if (!c) return 0;
  if (index >= 0) {
    bool ok = false;
    const LONG_PTR v = ReadExtra(c->extra, index, size, &ok);
    if (!ok) SetLastError(ERROR_INVALID_INDEX);
    return static_cast<ULONG_PTR>(v);
  }
  switch (index) {
    case GCL_MENUNAME:
      return c->menuId ? c->menuId : reinterpret_cast<ULONG_PTR>(c->menuName.c_str());
    case GCL_HBRBACKGROUND:
      return reinterpret_cast<ULONG_PTR>(c->background);
    case GCL_HCURSOR:
      return reinterpret_cast<ULONG_PTR>(c->cursor);
    case GCL_HICON:
      return reinterpret_cast<ULONG_PTR>(c->icon);
    case GCL_HICONSM:
      return reinterpret_cast<ULONG_PTR>(c->smallIcon);
    case GCL_HMODULE:
      return reinterpret_cast<ULONG_PTR>(c->instance);
    case GCL_CBWNDEXTRA:
      return static_cast<ULONG_PTR>(c->wndExtra);
    case GCL_CBCLSEXTRA:
      return c->extra.size();
    case GCL_WNDPROC:
      return reinterpret_cast<ULONG_PTR>(c->proc);
    case GCL_STYLE:
      return c->style;
    case GCW_ATOM:
      return c->atom;
    default:
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
  }
}

template <class T>
T Exchange(T& field, T value) {
  T old = field;
  field = value;
  return old;
}

ULONG_PTR SetClassValue(HWND hwnd, int index, LONG_PTR value, size_t size) {
  std::lock_guard lock(UserLock());
  auto c = ClassOfWindowLocked(hwnd);
  if (!c) return 0;
  if (index >= 0) {
    bool ok = false;
    const LONG_PTR old = ReadExtra(c->extra, index, size, &ok);
    if (!ok) {
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
    }
    WriteExtra(c->extra, index, size, value);
    return static_cast<ULONG_PTR>(old);
  }
  switch (index) {
    case GCL_HBRBACKGROUND:
      return reinterpret_cast<ULONG_PTR>(Exchange(c->background, reinterpret_cast<HBRUSH>(value)));
    case GCL_HCURSOR:
      return reinterpret_cast<ULONG_PTR>(Exchange(c->cursor, reinterpret_cast<HCURSOR>(value)));
    case GCL_HICON:
      return reinterpret_cast<ULONG_PTR>(Exchange(c->icon, reinterpret_cast<HICON>(value)));
    case GCL_HICONSM:
      return reinterpret_cast<ULONG_PTR>(Exchange(c->smallIcon, reinterpret_cast<HICON>(value)));
    case GCL_HMODULE:
      return reinterpret_cast<ULONG_PTR>(Exchange(c->instance, reinterpret_cast<HINSTANCE>(value)));
    case GCL_WNDPROC:
      return reinterpret_cast<ULONG_PTR>(Exchange(c->proc, reinterpret_cast<WNDPROC>(value)));
    case GCL_STYLE:
      return Exchange(c->style, static_cast<UINT>(value));
    case GCL_CBWNDEXTRA:
      return static_cast<ULONG_PTR>(Exchange(c->wndExtra, static_cast<int>(value)));
    default:
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
  }
}

}  // namespace

std::shared_ptr<WindowClassRecord> FindClassLocked(LPCSTR name) {
  RegisterStandardClassesLocked();
  auto& classes = TheClasses();
  if (name) {
    if (const ATOM atom = IntegerAtomOf(name)) {
      auto it = classes.byAtom.find(atom);
      if (it != classes.byAtom.end()) return it->second;
    } else {
      auto it = classes.byName.find(unicode::FoldCase(name));
      if (it != classes.byName.end()) return it->second;
    }
  }
  SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
  return nullptr;
}

}  // namespace pictavo::user::detail

using namespace pictavo::user::detail;

ATOM RegisterClassEx(const WNDCLASSEX* wc) {
  if (!wc || wc->cbSize != sizeof(WNDCLASSEX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return Register(*wc);
}

ATOM RegisterClass(const WNDCLASS* wc) {
  if (!wc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const WNDCLASSEX ex{sizeof(WNDCLASSEX), wc->style,        wc->lpfnWndProc,   wc->cbClsExtra,
                      wc->cbWndExtra,     wc->hInstance,    wc->hIcon,         wc->hCursor,
                      wc->hbrBackground,  wc->lpszMenuName, wc->lpszClassName, nullptr};
  return Register(ex);
}

BOOL UnregisterClass(LPCSTR className, HINSTANCE) {
  std::lock_guard lock(UserLock());
  auto c = FindClassLocked(className);
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if (c->windows > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  auto& classes = TheClasses();
  classes.byName.erase(pictavo::unicode::FoldCase(c->name));
  classes.byAtom.erase(c->atom);
  return TRUE;
}

BOOL GetClassInfoEx(HINSTANCE, LPCSTR className, WNDCLASSEX* out) {
  if (!out) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(UserLock());
  auto c = FindClassLocked(className);
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  out->cbSize = sizeof(WNDCLASSEX);
  Fill(*c, out);
  return c->atom;
}

BOOL GetClassInfo(HINSTANCE instance, LPCSTR className, WNDCLASS* out) {
  if (!out) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  WNDCLASSEX ex{};
  ex.cbSize = sizeof ex;
  const BOOL found = GetClassInfoEx(instance, className, &ex);
  if (!found) return FALSE;
  *out = WNDCLASS{ex.style, ex.lpfnWndProc, ex.cbClsExtra,    ex.cbWndExtra,   ex.hInstance,
                  ex.hIcon, ex.hCursor,     ex.hbrBackground, ex.lpszMenuName, ex.lpszClassName};
  return found;
}

DWORD GetClassLong(HWND hwnd, int index) {
  return static_cast<DWORD>(GetClassValue(hwnd, index, sizeof(LONG)));
}
DWORD SetClassLong(HWND hwnd, int index, LONG value) {
  return static_cast<DWORD>(SetClassValue(hwnd, index, value, sizeof(LONG)));
}
ULONG_PTR GetClassLongPtr(HWND hwnd, int index) {
  return GetClassValue(hwnd, index, sizeof(LONG_PTR));
}
ULONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value) {
  return SetClassValue(hwnd, index, value, sizeof(LONG_PTR));
}

int GetClassName(HWND hwnd, LPSTR className, int maxCount) {
  if (!className || maxCount <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string name;
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w) return 0;
    name = w->isDesktop ? "#32769" : w->cls->name;
  }
  const int n = std::min<int>(static_cast<int>(name.size()), maxCount - 1);
  std::memcpy(className, name.data(), static_cast<size_t>(n));
  className[n] = '\0';
  return n;
}
