// What the four toolkit frame kinds do alike around their frame core: message pre-translation,
// accelerator commands, mnemonics, the toolbar registered messages and popup opening. Each frame
// class calls these from its own overrides (the frames share no toolkit base class).
#pragma once

#include "platform/mfc/FrameWnd.h"
#include "toolkit/core/PlxFrameCore.h"

class CPlxPopupMenu;

namespace plxframe {

enum class Kind {
  kMain,     // SDI and MDI main frames: the keyboard, Alt and F10 included
  kInPlace,  // OLE in-place frames: keys without the system keys, double clicks too
};

// The outcome of pre-translating one message: either decided here, or left to the base class.
struct Routed {
  bool decided = false;
  BOOL result = FALSE;
};

Routed PreTranslate(CFrameWnd* pFrame, CPlxFrameCore& impl, MSG* pMsg, Kind kind);

// An accelerator's command counts one use; an open popup or a user tool takes it. TRUE: handled;
// bCallBase comes back TRUE when the frame's base OnCommand should run.
BOOL OnCommand(CPlxFrameCore& impl, WPARAM wParam, BOOL& bCallBase);

// WM_MENUCHAR: MAKELRESULT(2, 0xFFFF) when a bar took the mnemonic.
BOOL MenuCharHandled(CPlxFrameCore& impl, UINT nChar);

// The shared part of the frames' OnShowPopupMenu before the hook: FALSE refuses the popup;
// bAskHook comes back FALSE when the popup was shown already (TRUE without asking the hook).
BOOL ShowPopupMenu(CFrameWnd* pFrame, CPlxFrameCore& impl, CPlxPopupMenu* pMenu, BOOL& bAskHook);
// SDI and MDI frames let accessibility tools see the popup's current items.
void ExportForAccessibility(CPlxPopupMenu* pMenu);
void NotifyPopupStart(CPlxPopupMenu* pMenu);
// The frames' OnClosePopupMenu: accessibility end (main frames) and the active popup forgotten.
void ClosePopupMenu(CPlxPopupMenu* pMenu, Kind kind);

// The frames' handlers of PlxTOOLBAR_CREATE and PlxTOOLBAR_DELETE.
LRESULT CreateToolbar(CPlxFrameCore& impl, LPARAM lParam);
LRESULT DeleteToolbar(CPlxFrameCore& impl, LPARAM lParam);

// WM_ACTIVATE of the main frames after the base handling.
void OnActivate(CFrameWnd* pFrame, CPlxFrameCore& impl, UINT nState);
// WM_DESTROY: the accelerator table goes with the frame.
void DestroyAccelerators(CFrameWnd* pFrame);
// No help viewer on this desktop: a help request is logged with its context.
void LogHelpRequest(DWORD_PTR dwData, UINT nCmd);

}  // namespace plxframe
