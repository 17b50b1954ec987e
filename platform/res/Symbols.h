// Symbolic names a resource file may use in place of numbers.
#pragma once

#include <optional>
#include <string_view>

#include "platform/base/WinTypes.h"

namespace pictavo::res {

// Window, extended window, dialog and control style flags (WS_, WS_EX_, DS_, BS_, ES_, SS_,
// LBS_, CBS_, SBS_ and the common controls' LVS_, TVS_, TBS_, UDS_, PBS_, TCS_).
std::optional<DWORD> StyleFlagValue(std::string_view name);
// Dialog control ids: IDOK ... IDCONTINUE, and IDC_STATIC (-1).
std::optional<int> ControlIdValue(std::string_view name);
// Virtual keys: VK_F5, VK_RETURN ...
std::optional<WORD> VirtualKeyValue(std::string_view name);
// Resource types: RT_BITMAP ... RT_TOOLBAR.
std::optional<WORD> ResourceTypeValue(std::string_view name);
// The standard control classes in their own spelling ("listbox" -> "ListBox"); any other class
// name as given.
std::string_view CanonicalClassName(std::string_view name);

}  // namespace pictavo::res
