// CPlxCommandManager: which image belongs to which command, so every button and menu item of the
// same command shows the same one: command id to index in the shared toolbar strip, command id to
// index in the user-image strip, and the commands whose menu items show no image (kept in the
// registry).
#pragma once

#include "platform/base/List.h"
#include "platform/base/Map.h"

class CPlxCommandManager {
 public:
  CPlxCommandManager();
  virtual ~CPlxCommandManager();

  // A command has at most one binding: the first one given (standard or user) stays.
  void SetCmdImage(UINT uiCmd, int iImage, BOOL bUserImage);
  int GetCmdImage(UINT uiCmd, BOOL bUserImage) const;
  void ClearUserCmdImage(UINT uiCmd);
  void ClearAllCmdImages();
  void CleanUp() { ClearAllCmdImages(); }

  void EnableMenuItemImage(UINT uiCmd, BOOL bEnable = TRUE);
  BOOL IsMenuItemWithoutImage(UINT uiCmd) const { return m_lstCommandsWithoutImages.Find(uiCmd) != nullptr; }

  // The list of commands without images under "<path>PlxCommandManager".
  BOOL LoadState(LPCTSTR lpszProfileName);
  BOOL SaveState(LPCTSTR lpszProfileName);

  CMap<UINT, UINT, int, int> m_CommandIndex;
  CMap<UINT, UINT, int, int> m_CommandIndexUser;
  CList<UINT, UINT> m_lstCommandsWithoutImages;
};

CPlxCommandManager* GetCommandManager();
