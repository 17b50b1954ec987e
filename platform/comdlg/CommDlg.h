// The common dialogs: file open and save (GetOpenFileName, GetSaveFileName) and the colour
// dialog (ChooseColor). They are modal dialogs of ours built from resources/comdlg.xml; every
// control has a fixed id (DialogIds.h), so the keyboard, input scripts and tests drive them as
// they drive any dialog. Folder browsing is in BrowseForFolder.h.
//
// Failures and cancels return FALSE; CommDlgExtendedError then tells them apart (0 for a cancel).
// Hook procedures and custom templates are not supported: a call that asks for them fails with
// CDERR_INITIALIZATION.
#pragma once

#include <cstddef>

#include "platform/base/WinTypes.h"

using LPOFNHOOKPROC = UINT_PTR(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);
using LPCCHOOKPROC = UINT_PTR(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAMEA {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  // Pairs of a description and a pattern list ("JPEG (*.jpg)\0*.jpg;*.jpeg\0"), ended by an extra
  // NUL. Patterns match without regard to case.
  LPCSTR lpstrFilter;
  LPSTR lpstrCustomFilter;  // not used
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;  // 1-based in and out; 0 reads as 1
  // In: the initial name (a folder part also chooses the initial folder). Out: the chosen path,
  // or with OFN_ALLOWMULTISELECT and several names "folder\0name1\0name2\0\0" (OFN_EXPLORER) or
  // "folder name1 name2" (without it). When nMaxFile is too small the first two bytes hold the
  // size needed (FNERR_BUFFERTOOSMALL).
  LPSTR lpstrFile;
  DWORD nMaxFile;
  LPSTR lpstrFileTitle;  // out: the chosen name without its folder (cut to fit); may be null
  DWORD nMaxFileTitle;
  // A folder, or a file whose folder is meant; when it is missing, the working folder is used.
  LPCSTR lpstrInitialDir;
  LPCSTR lpstrTitle;  // null: "Open" / "Save As"
  DWORD Flags;
  WORD nFileOffset;     // out: where the name starts in lpstrFile
  WORD nFileExtension;  // out: where the extension starts (after the dot); the end without one
  // Appended (after a dot) to a name typed without an extension; "*.iso" counts as "iso".
  LPCSTR lpstrDefExt;
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
  void* pvReserved;
  DWORD dwReserved;
  DWORD FlagsEx;
};
using OPENFILENAME = OPENFILENAMEA;
using LPOPENFILENAMEA = OPENFILENAMEA*;
using LPOPENFILENAME = OPENFILENAMEA*;

// lStructSize: this record, the older record without its last three members, and the sizes the
// same two records have in the 32-bit layout (76 and 88), which programs written for it store.
#define OPENFILENAME_SIZE_VERSION_400A offsetof(OPENFILENAMEA, pvReserved)
#define OPENFILENAME_SIZE_VERSION_400 OPENFILENAME_SIZE_VERSION_400A

// Flags.
#define OFN_READONLY 0x00000001u  // in: the read-only box starts checked; out: it was checked
#define OFN_OVERWRITEPROMPT 0x00000002u
#define OFN_HIDEREADONLY 0x00000004u
#define OFN_NOCHANGEDIR 0x00000008u  // without it the working folder becomes the chosen folder
#define OFN_SHOWHELP 0x00000010u
#define OFN_ENABLEHOOK 0x00000020u
#define OFN_ENABLETEMPLATE 0x00000040u
#define OFN_ENABLETEMPLATEHANDLE 0x00000080u
#define OFN_NOVALIDATE 0x00000100u
#define OFN_ALLOWMULTISELECT 0x00000200u
#define OFN_EXTENSIONDIFFERENT 0x00000400u  // out: the extension is not lpstrDefExt
#define OFN_PATHMUSTEXIST 0x00000800u
#define OFN_FILEMUSTEXIST 0x00001000u
#define OFN_CREATEPROMPT 0x00002000u
#define OFN_SHAREAWARE 0x00004000u
#define OFN_NOREADONLYRETURN 0x00008000u
#define OFN_NOTESTFILECREATE 0x00010000u
#define OFN_NONETWORKBUTTON 0x00020000u
#define OFN_NOLONGNAMES 0x00040000u
#define OFN_EXPLORER 0x00080000u
#define OFN_NODEREFERENCELINKS 0x00100000u
#define OFN_LONGNAMES 0x00200000u
#define OFN_ENABLEINCLUDENOTIFY 0x00400000u
#define OFN_ENABLESIZING 0x00800000u
#define OFN_DONTADDTORECENT 0x02000000u
#define OFN_FORCESHOWHIDDEN 0x10000000u
#define OFN_EX_NOPLACESBAR 0x00000001u

// CommDlgExtendedError codes.
#define CDERR_DIALOGFAILURE 0xFFFFu
#define CDERR_GENERALCODES 0x0000u
#define CDERR_STRUCTSIZE 0x0001u
#define CDERR_INITIALIZATION 0x0002u
#define CDERR_NOTEMPLATE 0x0003u
#define CDERR_NOHINSTANCE 0x0004u
#define CDERR_LOADSTRFAILURE 0x0005u
#define CDERR_FINDRESFAILURE 0x0006u
#define CDERR_LOADRESFAILURE 0x0007u
#define CDERR_LOCKRESFAILURE 0x0008u
#define CDERR_MEMALLOCFAILURE 0x0009u
#define CDERR_MEMLOCKFAILURE 0x000Au
#define CDERR_NOHOOK 0x000Bu
#define CDERR_REGISTERMSGFAIL 0x000Cu
#define FNERR_FILENAMECODES 0x3000u
#define FNERR_SUBCLASSFAILURE 0x3001u
#define FNERR_INVALIDFILENAME 0x3002u
#define FNERR_BUFFERTOOSMALL 0x3003u
#define CCERR_CHOOSECOLORCODES 0x5000u

// TRUE with the choice written into the record; FALSE for a cancel or a failure.
BOOL GetOpenFileName(LPOPENFILENAMEA ofn);
BOOL GetSaveFileName(LPOPENFILENAMEA ofn);
#define GetOpenFileNameA GetOpenFileName
#define GetSaveFileNameA GetSaveFileName

struct CHOOSECOLORA {
  DWORD lStructSize;
  HWND hwndOwner;
  HWND hInstance;
  COLORREF rgbResult;  // in with CC_RGBINIT, out on OK
  // 16 custom colours, in and out; colours the user adds are kept even when he cancels.
  COLORREF* lpCustColors;
  DWORD Flags;
  LPARAM lCustData;
  LPCCHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
};
using CHOOSECOLOR = CHOOSECOLORA;
using LPCHOOSECOLORA = CHOOSECOLORA*;
using LPCHOOSECOLOR = CHOOSECOLORA*;

// Flags. Every colour is solid on our 32-bit displays, so CC_SOLIDCOLOR and CC_ANYCOLOR change
// nothing.
#define CC_RGBINIT 0x00000001u
#define CC_FULLOPEN 0x00000002u
#define CC_PREVENTFULLOPEN 0x00000004u
#define CC_SHOWHELP 0x00000008u
#define CC_ENABLEHOOK 0x00000010u
#define CC_ENABLETEMPLATE 0x00000020u
#define CC_ENABLETEMPLATEHANDLE 0x00000040u
#define CC_SOLIDCOLOR 0x00000080u
#define CC_ANYCOLOR 0x00000100u

// TRUE with rgbResult set on OK; FALSE for a cancel or a failure (lpCustColors must be given).
BOOL ChooseColor(LPCHOOSECOLORA cc);
#define ChooseColorA ChooseColor

// Why the calling thread's last common dialog returned FALSE: 0 when the user cancelled.
DWORD CommDlgExtendedError();
