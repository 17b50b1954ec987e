#include "disc/pages/MenuTemplates.h"

#include <cstring>
#include <string_view>

#include "platform/kernel/Path.h"
#include "platform/kernel/Unicode.h"

CDVDMenu g_dvdMenu;
CArray<DVDMenuTemplateInfo*, DVDMenuTemplateInfo*> g_menuTemplates;

void CopyMenuTemplateField(char* pField, size_t nSize, const char* pszText) {
  if (nSize == 0) return;
  size_t length = pszText ? std::strlen(pszText) : 0;
  if (length >= nSize) {
    length = nSize - 1;
    // Back off over continuation bytes so a cut never splits a character.
    while (length > 0 && (static_cast<unsigned char>(pszText[length]) & 0xC0) == 0x80) --length;
  }
  if (length > 0) std::memcpy(pField, pszText, length);
  pField[length] = '\0';
}

int FreeMenuTemplateList() {
  for (INT_PTR i = 0; i < g_menuTemplates.GetSize(); ++i) {
    DVDMenuTemplateInfo* pInfo = g_menuTemplates[i];
    if (pInfo == nullptr) continue;
    delete pInfo->pPreviewImage;
    pInfo->pPreviewImage = nullptr;
    delete pInfo;
  }
  g_menuTemplates.RemoveAll();
  g_menuTemplates.FreeExtra();
  return 1;
}

int UseDefaultMenuTemplate() {
  for (INT_PTR i = 0; i < g_menuTemplates.GetSize(); ++i) {
    const DVDMenuTemplateInfo* pInfo = g_menuTemplates[i];
    if (pInfo == nullptr) continue;
    const std::string_view xmlPath = pInfo->szXMLPath;
    if (!pictavo::unicode::EqualsNoCase(pictavo::path::FileName(xmlPath), kDefaultMenuTemplateName)) continue;
    // The folder keeps its trailing separator.
    const std::string folder(pictavo::path::FolderWithSeparator(xmlPath));
    g_dvdMenu.SetBasePath(CString(folder.c_str()));
    g_dvdMenu.ChangeTemplate(pInfo->szXMLPath);
    return 1;
  }
  return 0;
}
