// Hosting of controls in a window, as far as the program hosts them: the "AtlAxWin" window
// class and attaching a control object to such a window.
//
// There are no ActiveX controls on this platform: no control class is registered, so
// CoCreateInstance of one fails with REGDB_E_CLASSNOTREG and the program takes its path for a
// missing control. The host window itself exists and behaves as an empty child or pop-up (it
// paints nothing); a control object attached to it is kept (one reference) until another one
// replaces it or the window is destroyed, and AtlAxGetControl gives it back. The host does not
// activate the control in place (there is no container site), and the window's title is not
// read as the name of a control to create.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/com/Unknown.h"

namespace pictavo::com {
inline constexpr const char* kAxHostClassName = "AtlAxWin";
}  // namespace pictavo::com

// Registers the "AtlAxWin" window class; TRUE when it is registered (also when it already was).
BOOL AtlAxWinInit();

// Attaches `control` to the host window `hwnd` (a window of class "AtlAxWin"), releasing a
// control attached before. `container`, when not null, receives the host object (one
// reference). E_INVALIDARG for a null control or a window that is no host.
HRESULT AtlAxAttachControl(IUnknown* control, HWND hwnd, IUnknown** container);
// The control attached to `hwnd` (one reference); E_FAIL when there is none.
HRESULT AtlAxGetControl(HWND hwnd, IUnknown** control);
// The host object of `hwnd` (one reference); E_FAIL when `hwnd` is no host window.
HRESULT AtlAxGetHost(HWND hwnd, IUnknown** host);
