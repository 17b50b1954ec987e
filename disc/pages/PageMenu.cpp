#include "disc/pages/PageMenu.h"

#include <memory>
#include <string_view>
#include <type_traits>

#include "modules/xml/XMLParse.h"
#include "platform/base/ErrorCodes.h"
#include "platform/kernel/FileFind.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Registry.h"
#include "platform/kernel/Unicode.h"

namespace {

// Where other installers register extra template folders, in the order they are tried.
constexpr const char* kTemplateKeys[] = {
    "Software\\Talvane\\Common\\DVDMenuTemplate",
    "Software\\Vembrik\\Common Files\\DVDMenuTemplate",
};
constexpr int kTemplatePathValues = 8;

struct KeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using KeyHandle = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

KeyHandle OpenTemplateKey(HKEY root) {
  for (const char* path : kTemplateKeys) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(root, path, 0, KEY_READ, &key) == ERROR_SUCCESS) return KeyHandle(key);
  }
  return nullptr;
}

// The string value, or empty when it is missing or not text.
CString ReadFolderValue(HKEY key, const char* name) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueEx(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return CString();
  if ((type != REG_SZ && type != REG_EXPAND_SZ) || size == 0) return CString();
  std::string text(size, '\0');
  if (RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
      ERROR_SUCCESS)
    return CString();
  text.resize(std::string_view(text.c_str()).size());
  return CString(std::string_view(text));
}

bool Contains(const CStringArray& list, const CString& text, bool ignoreCase) {
  for (INT_PTR i = 0; i < list.GetSize(); ++i) {
    if (ignoreCase ? pictavo::unicode::EqualsNoCase(list[i].View(), text.View()) : list[i] == text)
      return true;
  }
  return false;
}

}  // namespace

int CPageMenu::ScanMenuTemplates(CPageMenu* pPage) {
  if (pPage == nullptr) return -1;
  int nCurrentRow = -1;
  int nDefaultRow = -1;
  CStringArray scannedFolders;
  CStringArray seenNames;
  const CString strExeFolder = pPage->GetProject()->Get_strExeFilePath();
  CString strBaseFolder;
  strBaseFolder.Format("%s\\template", static_cast<LPCTSTR>(strExeFolder));

  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    const KeyHandle key = OpenTemplateKey(root);
    if (!key) continue;
    for (int n = kTemplatePathValues; n >= 1; --n) {
      CString strValueName;
      strValueName.Format("DVDMenuTemplatePath%d", n);
      const CString strFolder = ReadFolderValue(key.get(), strValueName);
      if (strFolder.IsEmpty() || Contains(scannedFolders, strFolder, false)) continue;
      scannedFolders.Add(strFolder);
      ScanTemplateFolder(pPage, strFolder, nCurrentRow, nDefaultRow, seenNames, strBaseFolder);
    }
  }

  // The fallback is the program's own default template, never one from a registered folder.
  nDefaultRow = -1;
  CString strProgramTemplates;
  strProgramTemplates.Format("%s\\template\\", static_cast<LPCTSTR>(strExeFolder));
  ScanTemplateFolder(pPage, strProgramTemplates, nCurrentRow, nDefaultRow, seenNames, strBaseFolder);

  if (!pPage->IsAborting()) {
    const int nRows = pPage->GetTemplateRowCount();
    if (nCurrentRow >= 0 && nCurrentRow < nRows) {
      pPage->SelectTemplateRow(nCurrentRow);
    } else if (nDefaultRow >= 0 && nDefaultRow < nRows) {
      pPage->SelectTemplateRow(nDefaultRow);
      pPage->GetProject()->SetMenuTemplateName(kDefaultMenuTemplateName);
    }
  }

  g_dvdMenu.SetBasePath(strBaseFolder);
  pPage->OnTemplateScanFinished();
  return 0;
}

BOOL CPageMenu::ScanTemplateFolder(CPageMenu* pPage, CString strFolder, int& nCurrentRow, int& nDefaultRow,
                                   CStringArray& seenNames, CString& strBaseFolder) {
  namespace path = pictavo::path;
  if (!path::EndsWithSeparator(strFolder.View())) strFolder += "\\";
  CString strPattern;
  strPattern.Format("%s*.xml", static_cast<LPCTSTR>(strFolder));

  CFileFind finder;
  BOOL bMore = finder.FindFile(strPattern);
  while (bMore) {
    bMore = finder.FindNextFile();
    if (pPage->IsAborting()) return FALSE;
    if (finder.IsDirectory()) continue;
    const CString strXMLPath = finder.GetFilePath();
    const CString strFileName(path::FileName(strXMLPath.View()));
    // The first template of a file name wins, whether or not it parses.
    CString strUpperName = strFileName;
    strUpperName.MakeUpper();
    if (Contains(seenNames, strUpperName, true)) continue;
    seenNames.Add(strUpperName);

    auto info = std::make_unique<DVDMenuTemplateInfo>();
    CXMLParse parser;
    if (!parser.InitXMLParse(strXMLPath)) continue;

    CString strName, strPictureFolder, strPreviewFile, strDescription;
    parser.GetElementText("//menu", strName);
    parser.GetElementAttribute("//menu", "folder", strPictureFolder);
    parser.GetElementText("//preview_image", strPreviewFile);
    parser.GetElementText("//description", strDescription);

    CString strPreviewPath;
    strPreviewPath.Format("%s%s\\%s", static_cast<LPCTSTR>(strFolder), static_cast<LPCTSTR>(strPictureFolder),
                          static_cast<LPCTSTR>(strPreviewFile));
    CopyMenuTemplateField(info->szXMLPath, strXMLPath);
    CopyMenuTemplateField(info->szName, strName);
    CopyMenuTemplateField(info->szDescription, strDescription);
    CopyMenuTemplateField(info->szPreviewPath, strPreviewPath);
    info->pPreviewImage = new CxImage(CXIMAGE_FORMAT_UNKNOWN);
    // A preview that does not load leaves an empty picture; the row is drawn without one.
    info->pPreviewImage->Load(info->szPreviewPath, CXIMAGE_FORMAT_UNKNOWN);

    DVDMenuTemplateInfo* pInfo = info.release();
    g_menuTemplates.Add(pInfo);
    const int nRow = pPage->AddTemplateRow(pInfo->szName);
    if (nRow >= 0) pPage->SetTemplateRowData(nRow, pInfo);

    const CString& strProjectTemplate = pPage->GetProject()->GetMenuTemplateName();
    if (pictavo::unicode::EqualsNoCase(strFileName.View(), strProjectTemplate.View())) {
      strBaseFolder = CString(path::WithoutTrailingSeparator(strFolder.View()));
      nCurrentRow = nRow;
    }
    if (nDefaultRow == -1 && pictavo::unicode::EqualsNoCase(strFileName.View(), kDefaultMenuTemplateName))
      nDefaultRow = nRow;
  }
  return TRUE;
}
