// The part of the UI toolkit the application object stands on: the workspace base, the visual
// manager switch, the themed-button switch, the toolbar-tooltip switch and the toolkit clean-up.
#pragma once

#include <memory>

#include "platform/base/Object.h"
#include "platform/mfc/WinApp.h"
#include "toolkit/core/PlxVisualManager.h"

// The toolkit's application-state base. It keeps the toolkit's context-menu manager and shell
// access object, each made once.
class CPlxWorkspace : public CWinApp {
 public:
  explicit CPlxWorkspace(int nReserved = 0);
  ~CPlxWorkspace() override;

  // Toolkit layouts in the registry under `section`; the application replaces these.
  virtual BOOL LoadState(LPCTSTR lpszSection, void* pFrame);
  virtual BOOL CleanState(LPCTSTR lpszSection);
  virtual BOOL SaveState(LPCTSTR lpszSection, void* pFrame);

  // FALSE when the object exists already.
  BOOL InitContextMenuManager();
  BOOL InitShellAccess();
  BOOL HasContextMenuManager() const { return m_bContextMenuManager; }
  BOOL HasShellAccess() const { return m_bShellAccess; }

 private:
  BOOL m_bContextMenuManager = FALSE;
  BOOL m_bShellAccess = FALSE;
};

class CPlxButton {
 public:
  // TRUE lets toolkit buttons draw their frames with the system theme.
  static void EnableWinXPTheme(BOOL bEnable = TRUE);
  static BOOL IsWinXPThemeEnabled();
};

// Whether toolkit toolbars show tooltips.
extern BOOL g_plxShowToolbarTooltips;

// Frees the toolkit's process-wide objects (the visual manager among them).
void PlxCleanUp();
