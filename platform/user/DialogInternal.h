// Internal: what the parts of the dialog manager share — the state of each dialog window, the
// tab-order walk and focus changes that keep the default push button right.
#pragma once

#include <memory>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/user/Dialog.h"

namespace pictavo::res {
struct DialogTemplate;
}

namespace pictavo::user::dialog {

// One dialog window. Touched by the dialog's own thread only; the table that holds it is shared.
struct DialogState {
  HFONT font = nullptr;  // WM_SETFONT / WM_GETFONT
  bool ownsFont = false;
  UINT defId = IDOK;         // DM_GETDEFID; 0 when DM_SETDEFID took it away
  HWND focusSave = nullptr;  // the control to give the focus back to on activation
  bool modal = false;        // a dialog loop runs for it
  bool ended = false;        // EndDialog was called
  INT_PTR result = 0;
};

// Creates the dialog of a template (DialogCreate.cpp).
HWND CreateFromTemplate(HINSTANCE instance, const res::DialogTemplate& dialogTemplate, HWND parent,
                        DLGPROC proc, LPARAM initParam);

// The state of a dialog (made on first use for any window of a dialog class); null after the
// window is gone.
std::shared_ptr<DialogState> StateOf(HWND dialog);
std::shared_ptr<DialogState> FindState(HWND dialog);
// Frees the state and the font the dialog manager made (WM_NCDESTROY).
void ReleaseState(HWND dialog);

// The items of a dialog in tab order: its children, and the children of visible, enabled
// WS_EX_CONTROLPARENT children in their place.
std::vector<HWND> DialogItems(HWND dialog);
// WM_GETDLGCODE of a control (msg may be null).
UINT DialogCode(HWND control, const MSG* msg = nullptr);
bool IsPushButton(UINT code);
// The push button of the dialog with that id, or null; its default look on or off (BM_SETSTYLE).
HWND PushButtonById(HWND dialog, UINT id);
void SetButtonLook(HWND button, bool isDefault);
// Focus to a control of the dialog, selecting an edit's text when `selectText`, and the default
// push button look following the focus.
void SetDialogFocus(HWND dialog, HWND control, bool selectText);
// The default push button look after the focus moved from `from` to `to`.
void UpdateDefaultButton(HWND dialog, HWND from, HWND to);
// Clicks a control as its mnemonic does; true when `ch` was one.
bool HandleMnemonic(HWND dialog, HWND focus, char32_t ch);

}  // namespace pictavo::user::dialog
