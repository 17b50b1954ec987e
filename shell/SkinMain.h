// The main skin: the button bars of the main pages, the look of the tab strips and the window
// colours, read from the skin file. The main dialog loads it after the minor skin and reloads
// both after a language change (each language may name its own skin file). UI thread only.
#pragma once

#include "modules/buttonbar/CoolButtonBar.h"
#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

// The most buttons a bar of the main skin takes from the skin file.
#define SKIN_MAIN_MAX_BUTTONS 100

// The look of the tab strips: five pictures and the caption colours and offsets.
struct CSkinTabLook {
  CString strBackground;  // full paths; each is set only when the skin names a picture
  CString strLeft;
  CString strMiddle;
  CString strRight;
  CString strSeparator;
  COLORREF clrNormal = 0;   // caption of a tab that is not selected
  COLORREF clrSelect = 0;   // caption of the selected tab and of the tab under the mouse
  DWORD dwHeightOff = 0;    // vertical offset of captions and separators
  DWORD dwHeightDelta = 0;  // vertical offset of the selected tab's pictures
};
using _tagTabSkin = CSkinTabLook;

class CSkinMain {
 public:
  CSkinMain() = default;
  CSkinMain(const CSkinMain&) = delete;
  CSkinMain& operator=(const CSkinMain&) = delete;

  // Reads "skins/<skin file>" of the program folder. A file that cannot be read changes
  // nothing; an element or attribute the file lacks leaves its value as it was.
  void Load(LPCTSTR lpszProgramFolder, LPCTSTR lpszSkinFileName, BOOL bReload);
  void Reload(LPCTSTR lpszProgramFolder, LPCTSTR lpszSkinFileName) {
    Load(lpszProgramFolder, lpszSkinFileName, TRUE);
  }

  CCoolButtonBar* GetMainButtonBar() { return &m_mainButtonBar; }
  CCoolButtonBar* GetAlbumButtonBar() { return &m_albumButtonBar; }
  CCoolButtonBar* GetEditButtonBar() { return &m_editButtonBar; }
  CCoolButtonBar* GetTransitionButtonBar() { return &m_transitionButtonBar; }
  CCoolButtonBar* GetBurnButtonBar() { return &m_burnButtonBar; }
  const CSkinTabLook& GetGeneralTabControl() const { return m_tabLook; }

  COLORREF GetMainDlgColor() const { return m_clrMainDlg; }
  COLORREF GetOrganizePageColor() const { return m_clrOrganizePage; }
  COLORREF GetMenuPageColor() const { return m_clrMenuPage; }
  COLORREF GetBurnPageColor() const { return m_clrBurnPage; }
  COLORREF GetPhotoConfigureColor() const { return m_clrPhotoConfigure; }
  COLORREF GetTabPageColor() const { return m_clrTabPage; }

  const CString& GetSkinFolderPath() const { return m_strSkinFolderPath; }
  int GetAlbumButtonHeight() const { return m_nAlbumButtonHeight; }

 private:
  void LoadButtonBar(const class CXMLParse& parser, LPCTSTR lpszElement, CCoolButtonBar& bar, BOOL bReload);
  void LoadTabLook(const class CXMLParse& parser);

  CCoolButtonBar m_mainButtonBar;  // read and kept; no window shows it
  CSkinTabLook m_tabLook;
  COLORREF m_clrMainDlg = 0;
  COLORREF m_clrOrganizePage = 0;
  COLORREF m_clrMenuPage = 0;
  COLORREF m_clrBurnPage = 0;
  COLORREF m_clrPhotoConfigure = 0;
  COLORREF m_clrTabPage = 0;
  CCoolButtonBar m_albumButtonBar;
  CCoolButtonBar m_editButtonBar;
  CCoolButtonBar m_transitionButtonBar;
  CCoolButtonBar m_burnButtonBar;
  CString m_strSkinFolderPath;
  int m_nAlbumButtonHeight = 0;  // read and kept; no window reads it
};

// The main skin, used directly by the pages.
extern CSkinMain g_skinMain;
