// Message boxes: a modal dialog of ours with the text, an icon we draw and the buttons the type
// asks for. Buttons carry the result ids (IDOK, IDCANCEL, IDYES ...), so keys, clicks and input
// scripts answer them like any dialog: Enter picks the default button (MB_DEFBUTTONn), Escape
// answers IDCANCEL when there is a Cancel button and IDOK when OK is the only one.
#pragma once

#include "platform/base/Styles.h"
#include "platform/base/WinTypes.h"

// lParam of WM_HELP.
#define HELPINFO_WINDOW 0x0001
#define HELPINFO_MENUITEM 0x0002
struct HELPINFO {
  UINT cbSize;
  int iContextType;
  int iCtrlId;
  HANDLE hItemHandle;
  DWORD_PTR dwContextId;
  POINT MousePos;
};
using LPHELPINFO = HELPINFO*;

// The pressed button's id, or 0 when the box could not be made. A null caption is "Error". The
// owner (its top-level window) is disabled while the box is up; without an owner, MB_TASKMODAL
// disables the calling thread's top-level windows instead. MB_HELP adds a Help button that sends
// WM_HELP to the owner.
int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
int MessageBoxEx(HWND owner, LPCSTR text, LPCSTR caption, UINT type, WORD languageId);
#define MessageBoxA MessageBox
#define MessageBoxExA MessageBoxEx

namespace pictavo::user {
// The id of the static control that shows a message box's text.
inline constexpr int kMessageBoxTextId = 0xFFFF;
}  // namespace pictavo::user
