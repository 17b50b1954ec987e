// Free functions that windows all over the program share: the product title, bitmaps from the
// resource module, the file-dialog record size, the skin's window colours by kind, the cleaning
// of paths and file names before files are made, and thin accessors of the data model.
// (The language record's accessors GetLangIniFile and GetLanguageAuto are in LanguageSettings.h.)
#pragma once

#include <initializer_list>

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"
#include "platform/mfc/GdiObjects.h"

// Window-colour kinds of GetSkinColor.
enum SkinColorKind : UINT {
  SKIN_COLOR_MAIN_DLG = 0,
  SKIN_COLOR_ORGANIZE_PAGE = 1,
  SKIN_COLOR_ORGANIZE_PAGE_2 = 2,  // the same colour as kind 1
  SKIN_COLOR_MENU_PAGE = 3,
  SKIN_COLOR_BURN_PAGE = 4,
  SKIN_COLOR_PHOTO_CONFIGURE = 5,
  SKIN_COLOR_TAB_PAGE = 6,
};
// The colour of any other kind.
#define SKIN_COLOR_DEFAULT RGB(214, 227, 243)

// The resource module the program's pictures (splash, TV frame ...) come from.
#define RESOURCE_DLL_NAME "qvnres_en.dll"

// "Talvane Pictavo": the caption of the program's message boxes.
CString GetProductTitle();

// Loads bitmap nIDResource (its low 16 bits) of the resource module into the object (a bitmap
// the object held before is deleted). 1 on success. When the module cannot be loaded an error
// box says so (at every call) and the result is 0; a missing bitmap gives 0 without a box.
int LoadResourceBitmap(CGdiObject* pObject, UINT nIDResource);

// The lStructSize every file dialog of the program uses: 76 on the old 16-bit-based family
// (high bit of GetVersion set), 88 otherwise, which this platform always is.
DWORD GetOpenFileNameSize();

// A window colour of the main skin by kind; SKIN_COLOR_DEFAULT for an unknown kind.
COLORREF GetSkinColor(UINT nKind);

class CDC;
class CWnd;
// Erases a window's background in the main window's skin colour around the visible children
// with these ids, which paint themselves (so nothing flickers under them).
void FillAroundChildren(CWnd* pWnd, CDC* pDC, std::initializer_list<int> ids);

// Cleans a path in place before a file or folder is made from it and returns its new length
// (0, doing nothing, for a null path):
// 1. * ? " < > | become `chReplace`;
// 2. every colon becomes `chReplace` except one at index 1;
// 3. a separator directly followed by another becomes `chReplace`, except at the very start
//    (so "//server/share" keeps its two leading separators);
// 4. with bAbsolute, a relative path (no colon at index 1, not starting with a separator) gets
//    the file system root "/" in front when the buffer of nBufferSize bytes has room for it;
// 5. every `\` becomes `/`, the platform's separator;
// 6. bytes 1 to 25 become `chReplace`.
int SanitizePath(LPSTR lpszPath, char chReplace, BOOL bAbsolute, size_t nBufferSize = MAX_PATH);
// Replaces in place the characters a file name cannot hold — : / \ * ? " < > | and bytes 1 to
// 25 — by `chReplace`.
void SanitizeFileName(LPSTR lpszName, char chReplace);

// The size of a file in bytes (0 when it is missing), through the data model.
DWORD GetFileSizeSafe(LPCTSTR lpszPath, int nFlag);
// The folder of the executable, which holds the program's data folders.
CString GetExeFolderPath();

// The version of the common controls as (major << 16) | minor, asked once of the loaded
// "COMCTL32" module's DllGetVersion; 4.0 when there is no such module or entry, as here.
int GetComCtlVersion();
