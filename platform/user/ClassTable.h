// Internal: registered window classes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/user/WindowClass.h"

namespace pictavo::user::detail {

// Guarded by UserLock(), like the windows that point at it.
struct WindowClassRecord {
  ATOM atom = 0;
  std::string name;  // as registered
  UINT style = 0;
  WNDPROC proc = nullptr;
  int wndExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  std::string menuName;
  ULONG_PTR menuId = 0;        // when the menu is given by number
  std::vector<uint8_t> extra;  // cbClsExtra
  int windows = 0;             // windows of the class alive
};

// The class by name or integer atom; null with ERROR_CANNOT_FIND_WND_CLASS. UserLock() held.
std::shared_ptr<WindowClassRecord> FindClassLocked(LPCSTR name);

// The standard control classes, registered with the first class lookup (ControlClasses.cpp).
std::vector<WNDCLASSEX> ControlClassDefinitions();

}  // namespace pictavo::user::detail
