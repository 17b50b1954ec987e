// Opening things the way the desktop does: a folder, a document or a web link through the
// desktop's opener (`xdg-open`, run with the target as its one argument, never through a shell),
// a program by running it.
//
// What is opened: a text with a scheme ("http:", "mailto:", "file:" ...) is handed to the opener
// as it is. Otherwise it is a path (`\` accepted), relative ones taken from `directory`, else from
// the current folder; a bare name that names no file is looked for as a program along PATH (a
// ".exe" ending dropped). An existing executable program (an ELF binary or a script with "#!")
// is run with `parameters` split as a command line, in `directory`; folders and any other file
// go to the opener, which ignores `parameters`.
//
// Success only means the opener or program was started: whether the opener found an
// application is its business (it tells the user). Where nothing can open the target the call is
// harmless and says so: SE_ERR_NOASSOC (31) when the opener is not installed or the verb is one
// we cannot do ("properties", "print", "edit" ...), SE_ERR_FNF (2) / SE_ERR_PNF (3) for a
// missing target, SE_ERR_ACCESSDENIED (5). The owner window and the show command do not apply.
#pragma once

#include "platform/base/Styles.h"  // SW_* show commands
#include "platform/base/WinTypes.h"

#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_SHARE 26
#define SE_ERR_ASSOCINCOMPLETE 27
#define SE_ERR_DDETIMEOUT 28
#define SE_ERR_DDEFAIL 29
#define SE_ERR_DDEBUSY 30
#define SE_ERR_NOASSOC 31
#define SE_ERR_DLLNOTFOUND 32

#ifndef ERROR_NO_ASSOCIATION
#define ERROR_NO_ASSOCIATION 1155L
#endif

#define SEE_MASK_DEFAULT 0x00000000u
#define SEE_MASK_CLASSNAME 0x00000001u
#define SEE_MASK_CLASSKEY 0x00000003u
#define SEE_MASK_IDLIST 0x00000004u
#define SEE_MASK_INVOKEIDLIST 0x0000000Cu
#define SEE_MASK_ICON 0x00000010u
#define SEE_MASK_HOTKEY 0x00000020u
#define SEE_MASK_NOCLOSEPROCESS 0x00000040u
#define SEE_MASK_CONNECTNETDRV 0x00000080u
#define SEE_MASK_NOASYNC 0x00000100u
#define SEE_MASK_FLAG_DDEWAIT SEE_MASK_NOASYNC
#define SEE_MASK_DOENVSUBST 0x00000200u
#define SEE_MASK_FLAG_NO_UI 0x00000400u
#define SEE_MASK_UNICODE 0x00004000u
#define SEE_MASK_NO_CONSOLE 0x00008000u
#define SEE_MASK_WAITFORINPUTIDLE 0x02000000u

struct SHELLEXECUTEINFO {
  DWORD cbSize;
  ULONG fMask;
  HWND hwnd;
  LPCSTR lpVerb;
  LPCSTR lpFile;
  LPCSTR lpParameters;
  LPCSTR lpDirectory;
  int nShow;
  HINSTANCE hInstApp;  // the result code, as ShellExecute returns it
  void* lpIDList;      // with SEE_MASK_IDLIST and no lpFile: what to open
  LPCSTR lpClass;
  HKEY hkeyClass;
  DWORD dwHotKey;
  union {
    HANDLE hIcon;
    HANDLE hMonitor;
  };
  HANDLE hProcess;  // with SEE_MASK_NOCLOSEPROCESS: the started process (closed by the caller)
};
using SHELLEXECUTEINFOA = SHELLEXECUTEINFO;
using LPSHELLEXECUTEINFO = SHELLEXECUTEINFO*;
using LPSHELLEXECUTEINFOA = SHELLEXECUTEINFO*;

// A value above 32 on success, else the SE_ERR_* code; the last error is set on failure.
// `verb` null, "" or "open" (also "explore") opens.
HINSTANCE ShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                       INT showCommand);
#define ShellExecuteA ShellExecute
// As ShellExecute; FALSE with the last error (ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND,
// ERROR_ACCESS_DENIED, ERROR_NO_ASSOCIATION) on failure, ERROR_INVALID_PARAMETER for a wrong cbSize.
BOOL ShellExecuteEx(SHELLEXECUTEINFO* info);
#define ShellExecuteExA ShellExecuteEx
