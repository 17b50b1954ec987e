// The dialog manager: dialogs built from the resource layer's templates, modal and modeless, the
// dialog class "#32770" with its default processing, keyboard navigation (IsDialogMessage) and
// the helpers that reach a dialog's controls by id.
//
// A template's rectangles are in dialog units, converted with gdi's fixed base units. The dialog's
// x and y place its window (relative to the owner's client area, or the parent's for a child
// dialog; the screen with DS_ABSALIGN or without an owner) and cx, cy give its client area.
// Controls are created in template order, which is their z-order and tab order, each with
// WS_EX_NOPARENTNOTIFY and the dialog's font. A control that cannot be created fails the whole
// dialog (with a line on standard error) unless the dialog has DS_NOFAILCREATE.
#pragma once

#include "platform/base/Messages.h"
#include "platform/base/Styles.h"
#include "platform/base/WinTypes.h"
#include "platform/user/Message.h"

namespace pictavo::res {
struct DialogTemplate;
}

using DLGPROC = INT_PTR(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);
// Our templates have no binary form: an in-memory template is the resource layer's record.
using LPCDLGTEMPLATE = const pictavo::res::DialogTemplate*;

// Messages of the dialog class.
#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DM_REPOSITION (WM_USER + 2)
// High word of DM_GETDEFID's result when the dialog has a default push button.
#define DC_HASDEFID 0x534B

// Modeless dialogs. WM_INITDIALOG gets the first tab stop in wParam and initParam in lParam; when
// it returns TRUE that control gets the focus. A template with WS_VISIBLE is shown afterwards.
HWND CreateDialogParam(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM initParam);
HWND CreateDialogIndirectParam(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC proc,
                               LPARAM initParam);
inline HWND CreateDialog(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc) {
  return CreateDialogParam(instance, templateName, parent, proc, 0);
}
inline HWND CreateDialogIndirect(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent,
                                 DLGPROC proc) {
  return CreateDialogIndirectParam(instance, dialogTemplate, parent, proc, 0);
}

// Modal dialogs: the owner (the top-level window of `parent`) is disabled while the dialog's loop
// runs and enabled again before the dialog is destroyed. Returns EndDialog's value, or -1 when the
// dialog could not be created or WM_QUIT ended the loop (the quit is posted again).
INT_PTR DialogBoxParam(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM initParam);
INT_PTR DialogBoxIndirectParam(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC proc,
                               LPARAM initParam);
inline INT_PTR DialogBox(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc) {
  return DialogBoxParam(instance, templateName, parent, proc, 0);
}
inline INT_PTR DialogBoxIndirect(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent,
                                 DLGPROC proc) {
  return DialogBoxIndirectParam(instance, dialogTemplate, parent, proc, 0);
}
// Ends a modal dialog's loop with `result` (from any message, even one sent by another thread).
// A modeless dialog is hidden.
BOOL EndDialog(HWND dialog, INT_PTR result);

// The procedure of the dialog class. It calls the dialog procedure first; when that returns TRUE
// the result is DWLP_MSGRESULT (the procedure's own value for WM_CTLCOLOR*, WM_COMPAREITEM,
// WM_VKEYTOITEM, WM_CHARTOITEM, WM_QUERYDRAGICON and WM_INITDIALOG), otherwise the default
// processing of dialogs runs: background from WM_CTLCOLORDLG, focus kept across activation,
// WM_CLOSE as IDCANCEL, WM_NEXTDLGCTL, DM_GETDEFID / DM_SETDEFID and the default push button,
// WM_SETFONT / WM_GETFONT.
LRESULT DefDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Keyboard navigation of a dialog: for a message of the dialog or one of its descendants, handles
// Tab / Shift+Tab (WS_TABSTOP controls), the arrow keys (within a WS_GROUP group), Enter (the
// push button with the focus, else the default button, else IDOK), Escape (IDCANCEL) and
// mnemonics ("&x" in a control's text, with Alt or, where the focus takes no characters,
// without), asking the focused control first with WM_GETDLGCODE. Every other message of the
// dialog is translated and dispatched here. FALSE for messages of other windows.
BOOL IsDialogMessage(HWND dialog, LPMSG msg);
// Controls of the dialog in tab order, entering visible, enabled children with
// WS_EX_CONTROLPARENT; hidden and disabled controls are skipped; the walk wraps around.
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
// The next (or previous) visible, enabled control of `control`'s group, wrapping within it.
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);

// Controls by id.
LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text);
UINT GetDlgItemText(HWND dialog, int id, LPSTR text, int maxCount);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
// The control's text as a number (decimal, blanks around it allowed, '-' when signed);
// *translated is FALSE (and the result 0) for anything else or a value out of range.
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
// Checks `checkId` and clears the other buttons with ids from firstId to lastId.
BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId);
// Dialog units to pixels (gdi's base units; every dialog uses the same ones).
BOOL MapDialogRect(HWND dialog, LPRECT rect);

#define CreateDialogParamA CreateDialogParam
#define CreateDialogIndirectParamA CreateDialogIndirectParam
#define DialogBoxParamA DialogBoxParam
#define DialogBoxIndirectParamA DialogBoxIndirectParam
#define DefDlgProcA DefDlgProc
#define IsDialogMessageA IsDialogMessage
#define SendDlgItemMessageA SendDlgItemMessage
#define SetDlgItemTextA SetDlgItemText
#define GetDlgItemTextA GetDlgItemText

namespace pictavo::user {

// Registers the dialog class "#32770" (once; the dialog functions do it themselves). The
// framework calls it at start, so GetClassInfo finds the class before any dialog exists.
void RegisterDialogClass();

}  // namespace pictavo::user
