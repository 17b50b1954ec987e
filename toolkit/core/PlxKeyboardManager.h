// CPlxKeyboardManager: the user's keyboard shortcuts. They live in the frames' accelerator
// tables; the manager installs edited tables, saves them as "Accelerators" under
// "%sPlxKeyboard-%d" and loads them back, and tells toolbars and menus which shortcut a command
// has and whether a key is taken.
#pragma once

#include "platform/base/CString.h"
#include "platform/user/Accel.h"
#include "toolkit/core/PlxShortcutText.h"

class CFrameWnd;
class CMultiDocTemplate;

class CPlxKeyboardManager {
 public:
  // Becomes the process's keyboard manager (g_pKeyboardManager) until destroyed.
  CPlxKeyboardManager();
  virtual ~CPlxKeyboardManager();

  // The frame is the given one or, when null, the main window as a frame. A frame without a
  // table of its own is refused before anything changes; the replaced table is destroyed.
  BOOL UpdateAcceleratorTable(LPACCEL lpAccel, int nSize, CFrameWnd* pFrame = nullptr);
  BOOL ReplaceAccelTable(HACCEL hAccelNew, CFrameWnd* pFrame = nullptr);
  // A document template's table: installed in the template and in the frames of its open
  // documents. A template without a table is refused before anything changes.
  BOOL UpdateTemplateAccelTable(CMultiDocTemplate* pTemplate, LPACCEL lpAccel, int nSize);

  // Every document template's table under its resource id, then the frame's under 0. FALSE when
  // any table could not be written.
  BOOL SaveState(LPCTSTR lpszProfileName = nullptr, CFrameWnd* pDefaultFrame = nullptr);
  BOOL LoadState(LPCTSTR lpszProfileName = nullptr, CFrameWnd* pDefaultFrame = nullptr);
  // The frame's table from its accelerator resource.
  void ResetAll(UINT uiResId, CFrameWnd* pFrame = nullptr);
  // Every document template's table from its resource, then the frame's from its own resource.
  void ResetAllTables(CFrameWnd* pFrame = nullptr);

  static BOOL FindDefaultAccelerator(UINT uiCmd, CString& str, CFrameWnd* pWndFrame, BOOL bIsDefaultFrame);
  static BOOL IsKeyAssigned(UINT nKey, BYTE fVirt, CFrameWnd* pWndFrame, BOOL bIsDefaultFrame);
  static UINT TranslateCharToUpper(UINT nChar);
  // Frees the two caches (the toolkit's clean-up at exit).
  static void CleanUp();

 protected:
  BOOL SaveAccelTable(LPCTSTR lpszRegPath, int iIndex, HACCEL hAccelTable);
  // Refuses an empty value and one that is not whole 6-byte entries.
  BOOL LoadAccelTable(LPCTSTR lpszRegPath, int iIndex, HACCEL& hAccelTable);
};

extern CPlxKeyboardManager* g_pKeyboardManager;  // UI thread only
