// User tools: programs or documents the user adds to the tools menu, each with a command id from
// a range kept for tools; CPlxUserToolsManager keeps the list, runs a tool when its command comes
// and saves the list as "Tools" under "PlxUserToolsManager". CPlxShellAccess holds the shell's
// allocator for the process.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/List.h"
#include "platform/base/Object.h"

struct IMalloc;

class CPlxUserTool : public CObject {
  DECLARE_SERIAL(CPlxUserTool)

 public:
  CPlxUserTool();
  ~CPlxUserTool() override;

  // Label, command, arguments, initial folder (framework strings), then the command id (32 bits).
  void Serialize(CArchive& ar) override;

  virtual BOOL Invoke();
  void SetCommand(LPCTSTR lpszCmd);
  const CString& GetCommand() const { return m_strCommand; }
  UINT GetCommandId() const { return m_uiCmdId; }
  HICON GetIcon() const { return m_hIcon; }

  void DrawToolIcon(HDC hdc, const RECT& rect) const;
  BOOL CopyIconToClipboard();

  CString m_strLabel;
  CString m_strArguments;
  CString m_strInitialDirectory;

 protected:
  virtual HICON LoadToolIcon();
  virtual HICON LoadDefaultToolIcon();
  virtual void DeleteIcon();

  UINT m_uiCmdId = 0;
  CString m_strCommand;
  HICON m_hIcon = nullptr;

  friend class CPlxUserToolsManager;
};

class CPlxUserToolsManager {
 public:
  // Becomes the process's tools manager (g_pUserToolsManager) until destroyed. Tools take ids
  // from uiCmdFirst to uiCmdLast; uiCmdToolsDummy is the menu item a tools menu replaces.
  // uArgMenuID and uInitDirMenuID name the menus of argument and folder macros the tools page
  // offers (0: none).
  CPlxUserToolsManager(UINT uiCmdToolsDummy, UINT uiCmdFirst, UINT uiCmdLast,
                       CRuntimeClass* pToolRTC = nullptr, UINT uArgMenuID = 0, UINT uInitDirMenuID = 0);
  virtual ~CPlxUserToolsManager();

  CPlxUserTool* CreateNewTool();
  BOOL RemoveTool(CPlxUserTool* pTool);
  BOOL MoveToolUp(CPlxUserTool* pTool);
  BOOL MoveToolDown(CPlxUserTool* pTool);
  CPlxUserTool* FindTool(UINT uiCmdId) const;
  BOOL InvokeTool(UINT uiCmdId);

  // A record naming another class fails the whole load (no object of it is made); tools whose
  // ids lie outside the range or repeat are dropped.
  BOOL LoadState(LPCTSTR lpszProfileName = nullptr);
  BOOL SaveState(LPCTSTR lpszProfileName = nullptr);

  const CObList& GetUserTools() const { return m_lstUserTools; }
  UINT GetToolsEntryCmd() const { return m_uiCmdToolsDummy; }
  UINT GetFirstCmd() const { return m_uiCmdFirst; }
  UINT GetLastCmd() const { return m_uiCmdLast; }
  BOOL IsUserToolCmd(UINT uiCmdId) const { return uiCmdId >= m_uiCmdFirst && uiCmdId <= m_uiCmdLast; }
  UINT GetArgumentsMenuID() const { return m_uiArgumentsMenuID; }
  UINT GetInitialDirMenuID() const { return m_uiInitialDirMenuID; }
  // What the tools page's browse offers: the file-dialog filter ("Programs|*||") and the default
  // extension.
  const CString& GetFilter() const { return m_strFilter; }
  const CString& GetDefExt() const { return m_strDefExt; }
  void SetFilter(LPCTSTR lpszFilter) { m_strFilter = lpszFilter; }
  void SetDefExt(LPCTSTR lpszDefExt) { m_strDefExt = lpszDefExt; }

 protected:
  void DeleteAll();

  CObList m_lstUserTools;
  UINT m_uiCmdToolsDummy;
  UINT m_uiCmdFirst;
  UINT m_uiCmdLast;
  CRuntimeClass* m_pToolRTC;
  UINT m_uiArgumentsMenuID;
  UINT m_uiInitialDirMenuID;
  CString m_strFilter{"All Files (*)|*||"};
  CString m_strDefExt;
};

class CPlxShellAccess : public CObject {
 public:
  CPlxShellAccess();
  ~CPlxShellAccess() override;
  IMalloc* m_pMalloc = nullptr;
};

// "PlxM_ON_AFTER_SHELL_COMMAND", registered when the shell access is made.
UINT PlxShellCommandMessage();

extern CPlxUserToolsManager* g_pUserToolsManager;  // UI thread only
extern CPlxShellAccess* g_pShellAccess;            // UI thread only
