// The process-wide disc menu and the catalogue of installed menu templates. The menu template
// page fills the catalogue; the disc workers pick the default template from it; shut-down frees it.
//
// Threads: the UI thread fills and frees the catalogue; the disc workers read it and drive
// g_dvdMenu while they encode. Neither has a lock.
#pragma once

#include "modules/image/CxImage.h"
#include "modules/xml/DVDMenu.h"
#include "platform/base/Array.h"
#include "platform/base/WinTypes.h"

// One installed template. The text fields are fixed-width and always NUL-terminated; longer
// texts are cut at a whole UTF-8 character.
struct DVDMenuTemplateInfo {
  char szXMLPath[260];
  char szPreviewPath[260];
  char szName[100];
  char szDescription[1024];
  CxImage* pPreviewImage;  // owned; may hold no picture when the file did not load
};

// The file name of the template used when the project names none that is installed.
inline constexpr const char* kDefaultMenuTemplateName = "19basic.xml";

extern CDVDMenu g_dvdMenu;
// Owns its records; they outlive the page that lists them.
extern CArray<DVDMenuTemplateInfo*, DVDMenuTemplateInfo*> g_menuTemplates;

// Frees every record with its preview picture and empties the catalogue. 1.
int FreeMenuTemplateList();
// Points g_dvdMenu at the first catalogued "19basic.xml" (any letter case): base path = its
// folder, then ChangeTemplate. 1 when found; 0, with the engine untouched, when not.
int UseDefaultMenuTemplate();

// Copies text into a fixed field of nSize bytes, cut at a whole UTF-8 character so that the
// field is always terminated.
void CopyMenuTemplateField(char* pField, size_t nSize, const char* pszText);
template <size_t N>
void CopyMenuTemplateField(char (&field)[N], const char* pszText) {
  CopyMenuTemplateField(field, N, pszText);
}
