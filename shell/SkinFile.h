// What the two skin objects share: where the skin file and its pictures are, reading it, and
// loading a button bar from one of its elements.
//
// The skin file is "skins/<file>" of the program folder. Its element //skins/skin names the
// skin's picture folder "skins/<folder>"; each part of the skin names a sub-folder of that in its
// own "folder" attribute. Paths are found without regard to case, as all of the program's data.
#pragma once

#include "modules/buttonbar/CoolButtonBar.h"
#include "modules/xml/XMLParse.h"
#include "platform/base/CString.h"

// LoadImage flags of the skin's pictures.
#define SKIN_LOAD_FLAGS 0x50       // LR_LOADFROMFILE | LR_DEFAULTSIZE
#define SKIN_LOAD_FLAGS_3D 0x1050  // the same with 3-D colour mapping

namespace pictavo::skin {

// "<program folder>/skins/<name>", resolved on disk without regard to case.
CString SkinsPath(const CString& programFolder, const CString& name);
// "<folder>/<part folder>/<file>", resolved on disk without regard to case.
CString PartPath(const CString& folder, const CString& partFolder, const CString& file);

// Parses the skin file; on failure logs why once and returns FALSE (the reader then holds
// nothing and every read leaves its value unchanged).
BOOL ParseSkinFile(CXMLParse& parser, const CString& programFolder, const CString& skinFileName);
// The skin's picture folder name ("folder" of //skins/skin); empty when the skin gives none.
CString ReadSkinFolder(const CXMLParse& parser);

// Reads the bar element at `elementPath` and gives the bar its buttons: Init on a first load,
// OnBitmapChanged on a reload. An element without a usable "button_count" leaves the bar as it
// was; a count beyond `maxButtons` is cut to it; a button without coordinates gets an empty
// rectangle. Tooltips go through the language file's dictionary.
void LoadButtonBar(const CXMLParse& parser, const CString& elementPath, const CString& skinFolderPath,
                   int maxButtons, CCoolButtonBar& bar, BOOL bReload);

// A picture of the skin loaded with LoadImage; null when the path is empty or does not load.
HBITMAP LoadSkinBitmap(const CString& path, UINT flags);

}  // namespace pictavo::skin
