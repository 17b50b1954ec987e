// Choosing a folder: SHBrowseForFolder shows a modal dialog of ours with a tree of folders (the
// home folder, then the whole file system, or the caller's root alone; filled as it opens), an
// edit that shows the selected folder and takes a typed path (relative paths are relative to the
// selection, "~" is the home folder), OK and Cancel. Enter chooses what the edit shows. Every
// folder here is a file-system folder, so BIF_RETURNONLYFSDIRS always holds; there is no "new
// folder" button, whatever BIF_NEWDIALOGSTYLE and BIF_NONEWFOLDERBUTTON say.
#pragma once

#include "platform/base/Messages.h"
#include "platform/base/WinTypes.h"
#include "platform/shellapi/ItemIdList.h"

// The dialog calls back with the dialog window, the event, its lParam and BROWSEINFO::lParam.
using BFFCALLBACK = int(CALLBACK*)(HWND dialog, UINT message, LPARAM lParam, LPARAM data);

struct BROWSEINFOA {
  HWND hwndOwner;
  // The folder the browsing starts from and cannot leave; null (or the desktop): all of them.
  LPCITEMIDLIST pidlRoot;
  LPSTR pszDisplayName;  // out: the chosen folder's display name (MAX_PATH bytes)
  LPCSTR lpszTitle;      // shown above the list
  UINT ulFlags;
  BFFCALLBACK lpfn;
  LPARAM lParam;
  int iImage;  // out: the chosen folder's index in the system image list
};
using BROWSEINFO = BROWSEINFOA;
using LPBROWSEINFOA = BROWSEINFOA*;
using LPBROWSEINFO = BROWSEINFOA*;

#define BIF_RETURNONLYFSDIRS 0x00000001u
#define BIF_DONTGOBELOWDOMAIN 0x00000002u
#define BIF_STATUSTEXT 0x00000004u  // shows the status line BFFM_SETSTATUSTEXT fills
#define BIF_RETURNFSANCESTORS 0x00000008u
#define BIF_EDITBOX 0x00000010u
#define BIF_VALIDATE 0x00000020u  // a typed folder that does not exist goes to the callback
#define BIF_NEWDIALOGSTYLE 0x00000040u
#define BIF_USENEWUI (BIF_NEWDIALOGSTYLE | BIF_EDITBOX)
#define BIF_BROWSEINCLUDEURLS 0x00000080u
#define BIF_UAHINT 0x00000100u
#define BIF_NONEWFOLDERBUTTON 0x00000200u
#define BIF_NOTRANSLATETARGETS 0x00000400u
#define BIF_BROWSEFORCOMPUTER 0x00001000u
#define BIF_BROWSEFORPRINTER 0x00002000u
#define BIF_BROWSEINCLUDEFILES 0x00004000u
#define BIF_SHAREABLE 0x00008000u

// Events of the callback.
#define BFFM_INITIALIZED 1      // the dialog is up; lParam 0
#define BFFM_SELCHANGED 2       // lParam: the new selection's absolute id list (valid during the call)
#define BFFM_VALIDATEFAILEDA 3  // lParam: the typed text; return 0 to end the dialog, else it stays
#define BFFM_VALIDATEFAILEDW 4
#define BFFM_IUNKNOWN 5  // never sent
#define BFFM_VALIDATEFAILED BFFM_VALIDATEFAILEDA

// Messages the callback may send to the dialog.
#define BFFM_SETSTATUSTEXTA (WM_USER + 100)  // lParam: the text
#define BFFM_ENABLEOK (WM_USER + 101)        // lParam: enable OK or not
#define BFFM_SETSELECTIONA (WM_USER + 102)   // wParam TRUE: lParam is a path; FALSE: an id list
#define BFFM_SETSELECTIONW (WM_USER + 103)
#define BFFM_SETSTATUSTEXTW (WM_USER + 104)
#define BFFM_SETOKTEXT (WM_USER + 105)    // lParam: a wide string
#define BFFM_SETEXPANDED (WM_USER + 106)  // as BFFM_SETSELECTIONW, and the folder is opened
#define BFFM_SETSTATUSTEXT BFFM_SETSTATUSTEXTA
#define BFFM_SETSELECTION BFFM_SETSELECTIONA

// The chosen folder's absolute id list (freed by the caller with ILFree, CoTaskMemFree or the
// shell's IMalloc), or null when the user cancelled or the dialog could not be shown.
LPITEMIDLIST SHBrowseForFolder(LPBROWSEINFOA info);
#define SHBrowseForFolderA SHBrowseForFolder
