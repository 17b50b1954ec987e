// CPageMenu: the menu template page's catalogue scan. The page window derives from this class and
// gives the scan its list box, its project and its abort flag through the hooks below; the scan
// itself fills g_menuTemplates. UI thread.
#pragma once

#include "disc/pages/MenuTemplates.h"
#include "modules/data/DVDProject.h"
#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CPageMenu {
 public:
  virtual ~CPageMenu() = default;

  // Lists every installed template: the folders named in the registry (HKEY_CURRENT_USER, then
  // HKEY_LOCAL_MACHINE, values 8 down to 1), then the program's "template" folder. Selects the
  // project's template, or else the default one, and points g_dvdMenu's base path at the folder
  // of the project's template. -1 without a page, else 0.
  static int ScanMenuTemplates(CPageMenu* pPage);
  // Adds the templates of one folder whose file names were not seen before. FALSE when the page
  // is being destroyed.
  static BOOL ScanTemplateFolder(CPageMenu* pPage, CString strFolder, int& nCurrentRow, int& nDefaultRow,
                                 CStringArray& seenNames, CString& strBaseFolder);

 protected:
  // The page's project: its template name and the program folder.
  virtual CDVDProject* GetProject() = 0;
  // TRUE once the page is being destroyed.
  virtual BOOL IsAborting() const = 0;
  // The template list box: add a row (its index, or negative when it was not added), attach the
  // record to it, count and select rows.
  virtual int AddTemplateRow(LPCTSTR lpszName) = 0;
  virtual void SetTemplateRowData(int nRow, DVDMenuTemplateInfo* pInfo) = 0;
  virtual int GetTemplateRowCount() const = 0;
  virtual void SelectTemplateRow(int nRow) = 0;
  // Called once the scan has finished.
  virtual void OnTemplateScanFinished() = 0;
};
