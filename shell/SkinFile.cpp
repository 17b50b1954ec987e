#include "shell/SkinFile.h"

#include <algorithm>
#include <vector>

#include "modules/log/Log.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Path.h"
#include "shell/LanguageFile.h"

namespace pictavo::skin {

namespace {

constexpr char kSkinsFolder[] = "skins";
const char* const kStateAttributes[CCoolButtonBar::stateCount] = {"normal", "highlighted", "clicked",
                                                                  "disabled"};

CString Resolved(const std::string& path) {
  return CString(path::ResolveNoCase(path));
}

}  // namespace

CString SkinsPath(const CString& programFolder, const CString& name) {
  return Resolved(path::Join(path::Join(path::ToNative(programFolder.View()), kSkinsFolder),
                             path::ToNative(name.View())));
}

CString PartPath(const CString& folder, const CString& partFolder, const CString& file) {
  return Resolved(path::Join(path::Join(path::ToNative(folder.View()), path::ToNative(partFolder.View())),
                             path::ToNative(file.View())));
}

BOOL ParseSkinFile(CXMLParse& parser, const CString& programFolder, const CString& skinFileName) {
  const CString path = SkinsPath(programFolder, skinFileName);
  if (parser.InitXMLParse(path)) return TRUE;
  WriteErrorLog("Skin file %s could not be read (error %u); the skin keeps what it had.", path.GetString(),
                GetLastError());
  return FALSE;
}

CString ReadSkinFolder(const CXMLParse& parser) {
  CString folder;
  parser.GetElementAttribute("//skins/skin", "folder", folder);
  return folder;
}

void LoadButtonBar(const CXMLParse& parser, const CString& elementPath, const CString& skinFolderPath,
                   int maxButtons, CCoolButtonBar& bar, BOOL bReload) {
  int count = -1;
  if (!parser.GetElementAttribute(elementPath, "button_count", count) || count < 0) return;
  count = std::min(count, maxButtons);

  CString barFolder;
  parser.GetElementAttribute(elementPath, "folder", barFolder);
  CString statePaths[CCoolButtonBar::stateCount];
  for (int state = 0; state < CCoolButtonBar::stateCount; ++state) {
    CString file;
    if (parser.GetElementAttribute(elementPath, kStateAttributes[state], file) && !file.IsEmpty())
      statePaths[state] = PartPath(skinFolderPath, barFolder, file);
  }

  std::vector<RECT> rects(static_cast<size_t>(count));
  std::vector<CString> tips(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    CString buttonPath;
    buttonPath.Format("%s/button[@id=\"%d\"]", elementPath.GetString(), i);
    int x = 0, y = 0, width = 0, height = 0;
    parser.GetElementAttribute(buttonPath, "x", x);
    parser.GetElementAttribute(buttonPath, "y", y);
    parser.GetElementAttribute(buttonPath, "width", width);
    parser.GetElementAttribute(buttonPath, "height", height);
    rects[static_cast<size_t>(i)] = RECT{x, y, x + width, y + height};
    CString tip;
    if (parser.GetElementAttribute(buttonPath, "tips", tip) && !tip.IsEmpty())
      tips[static_cast<size_t>(i)] = TranslateDictionaryWord(tip);
  }
  if (bReload)
    bar.OnBitmapChanged(count, rects.data(), statePaths, tips.data());
  else
    bar.Init(count, rects.data(), statePaths, tips.data());
}

HBITMAP LoadSkinBitmap(const CString& path, UINT flags) {
  if (path.IsEmpty()) return nullptr;
  return static_cast<HBITMAP>(LoadImage(nullptr, path, IMAGE_BITMAP, 0, 0, flags));
}

}  // namespace pictavo::skin
