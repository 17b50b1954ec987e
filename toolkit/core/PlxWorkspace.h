// CPlxWorkspace: the toolkit's application-state base. It knows the registry section of the
// user-interface state, loads, saves and deletes the toolkit layout under a versioned key and
// keeps the window placement. One per process (the application object); GetWorkspace finds it.
// With a frame's core, LoadState and SaveState also carry that frame's bars: toolbars, sizing bars,
// user-defined and torn-off bars, rebar bands and the docking layout.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Geometry.h"
#include "platform/mfc/WinApp.h"

class CFrameWnd;
class CPlxFrameCore;

class CPlxWorkspace : public CWinApp {
 public:
  explicit CPlxWorkspace(BOOL bResetState = FALSE);
  ~CPlxWorkspace() override;

  static CPlxWorkspace* GetWorkspace();

  virtual BOOL LoadState(LPCTSTR lpszSectionName = nullptr, CPlxFrameCore* pFrameImpl = nullptr);
  // Deletes the section's key with everything below it; an empty section is refused.
  virtual BOOL CleanState(LPCTSTR lpszSectionName = nullptr);
  // FALSE when saving is disabled or a write failed.
  virtual BOOL SaveState(LPCTSTR lpszSectionName = nullptr, CPlxFrameCore* pFrameImpl = nullptr);
  // What a closing frame stores: SaveState for that frame.
  virtual BOOL SaveFrameState(CPlxFrameCore* pFrameImpl) { return SaveState(nullptr, pFrameImpl); }
  virtual void OnBeforeLoad() {}
  virtual void OnAfterLoad() {}
  virtual void OnBeforeSave() {}
  virtual void OnAfterSave() {}
  // The outputs change only when the rectangle, the flags and the show command are all read.
  virtual BOOL LoadWindowPlacement(CRect& rectNormalPosition, int& nFlags, int& nShowCmd);
  virtual BOOL StoreWindowPlacement(const CRect& rectNormalPosition, int nFlags, int nShowCmd);

  // FALSE when the object exists already.
  BOOL InitContextMenuManager();
  BOOL InitShellAccess();
  BOOL HasContextMenuManager() const { return m_bContextMenuManagerAutocreated; }
  BOOL HasShellAccess() const { return m_bShellAutocreated; }

  // PlxGetRegPath of the section, then the sub-key and a backslash when one is given.
  CString GetRegSectionPath(LPCTSTR szSectionAdd = "") const;
  // (major << 16) + the minor's digits as nibbles; -1 until a version is known.
  int GetDataVersion() const;
  void EnableSaving(BOOL bEnable) { m_bSaveState = bEnable; }

  CString m_strRegSection;
  BOOL m_bKeyboardManagerAutocreated = FALSE;
  BOOL m_bContextMenuManagerAutocreated = FALSE;
  BOOL m_bMouseManagerAutocreated = FALSE;
  BOOL m_bUserToolsManagerAutoCreated = FALSE;
  BOOL m_bTearOffManagerAutoCreated = FALSE;
  BOOL m_bSpareAutoCreated = FALSE;
  BOOL m_bShellAutocreated = FALSE;
  int m_iSavedVersionMajor = -1;
  int m_iSavedVersionMinor = -1;
  BOOL m_bForceDockStateLoad = FALSE;
  BOOL m_bLoadSaveFrameBarsOnly = FALSE;
  BOOL m_bSaveState = TRUE;
  BOOL m_bResetState;
  BOOL m_bForceImageReset = FALSE;

 protected:
  // The frame's part of LoadState and SaveState.
  void LoadFrameState(CPlxFrameCore* pFrameImpl);
  BOOL SaveFrameBars(CPlxFrameCore* pFrameImpl);
};
