// CPlxMenuTempStore: the edited item lists of menus kept outside the menu handles, one
// temporary file per menu (the menu bar's per-menu buttons, the context-menu manager's menus).
// Each file is made exclusively, readable by its owner only, and unlinked at once: it has no name
// another user or program could open or swap, and nothing is left behind however the process
// ends. A rewrite keeps the old file until the new one is fully written, so a failed save leaves
// the menu's earlier items loadable; a failed load leaves the bar as it was.
#pragma once

#include <map>

#include "platform/base/Object.h"
#include "platform/user/Menu.h"

class CPlxToolBar;

class CPlxMenuTempStore : public CObject {
  DECLARE_DYNAMIC(CPlxMenuTempStore)

 public:
  CPlxMenuTempStore();
  // Closes every file (the system frees them).
  ~CPlxMenuTempStore() override;
  CPlxMenuTempStore(const CPlxMenuTempStore&) = delete;
  CPlxMenuTempStore& operator=(const CPlxMenuTempStore&) = delete;

  // Stores the bar's items for the menu; FALSE for a bar without items or when the file cannot
  // be made or written (the menu's earlier file, if any, stays).
  BOOL SaveMenuBar(HMENU hMenu, CPlxToolBar* pBar);
  // Fills the bar from the menu's stored items; FALSE (bar unchanged) when none are stored or
  // they cannot be read. Loading does not consume the file.
  BOOL LoadMenuBar(HMENU hMenu, CPlxToolBar* pBar);
  // Forgets the menu and frees its file; FALSE when it had none.
  BOOL RemoveMenu(HMENU hMenu);
  // Forgets every menu and frees every file.
  void CleanUp();

  int GetCount() const { return static_cast<int>(m_mapMenuFiles.size()); }

  // TRUE while a bar is written to or read from any store: buttons then keep their visibility
  // flag whatever the workspace's data version. UI thread only.
  static BOOL m_bSerializing;

 private:
  // An open temporary file, closed with the object.
  class TempFile {
   public:
    explicit TempFile(int fd = -1) : m_fd(fd) {}
    TempFile(TempFile&& other) noexcept : m_fd(other.Release()) {}
    TempFile& operator=(TempFile&& other) noexcept;
    ~TempFile();
    int Get() const { return m_fd; }
    int Release() {
      const int fd = m_fd;
      m_fd = -1;
      return fd;
    }

   private:
    int m_fd;
  };

  std::map<HMENU, TempFile> m_mapMenuFiles;  // UI thread only
};

// The process's store; PlxCleanUp empties it.
extern CPlxMenuTempStore g_menuTempStore;
