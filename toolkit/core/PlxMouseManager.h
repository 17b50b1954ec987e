// CPlxMouseManager: which command a double-click runs in each kind of view. Views are known by
// id, display name and icon; the assignments are saved as "Mouse" under "PlxMouseManager".
#pragma once

#include "platform/base/List.h"
#include "platform/base/Map.h"

class CPlxMouseManager : public CObject {
  DECLARE_SERIAL(CPlxMouseManager)

 public:
  // Becomes the process's mouse manager (g_pMouseManager) until destroyed.
  CPlxMouseManager();
  ~CPlxMouseManager() override;

  // Makes a view known to the customize page: its name and icon. FALSE for an empty name or one
  // already taken by another view.
  BOOL AddView(int iViewId, LPCTSTR lpszViewName, UINT uiIconId = 0);

  UINT GetViewDblClickCommand(int iViewId) const;
  // 0 removes the view's assignment.
  void SetCommandForDblClick(int iViewId, UINT uiCmd);
  void GetViewNames(CStringList& listOfNames) const;
  int GetViewIdByName(LPCTSTR lpszName) const;  // -1 when not registered (case matters)
  UINT GetViewIconId(int iViewId) const;        // 0 when none

  BOOL LoadState(LPCTSTR lpszProfileName = nullptr);
  BOOL SaveState(LPCTSTR lpszProfileName = nullptr);

  // A 32-bit count, then view id and command id (32 bits each) per assignment. Loading replaces
  // the assignments only when the whole record was read.
  void Serialize(CArchive& ar) override;

 protected:
  CMap<CString, LPCTSTR, int, int> m_ViewsNames;
  CMap<UINT, UINT, UINT, UINT> m_ViewsToCommands;
  CMap<UINT, UINT, UINT, UINT> m_ViewsToIcons;
};

extern CPlxMouseManager* g_pMouseManager;  // UI thread only
