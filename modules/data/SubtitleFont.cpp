#include "modules/data/SubtitleFont.h"

#include <sys/stat.h>

namespace {

const char* const kCharsets[] = {"Western",
                                 "Central European",
                                 "Cyrillic",
                                 "Greek",
                                 "Turkish",
                                 "Hebrew",
                                 "Arabic",
                                 "Baltic",
                                 "Vietnamese",
                                 "Thai",
                                 "Japanese",
                                 "Simplified Chinese",
                                 "Traditional Chinese",
                                 "Korean"};

}  // namespace

const CStringArray& CDVDSubtitleFont::GetCharsetInfoArray() {
  static const CStringArray* list = [] {
    auto* names = new CStringArray;
    for (const char* name : kCharsets) names->Add(name);
    return names;
  }();
  return *list;
}

int CDVDSubtitleFont::GetCharsetIndex(LPCTSTR name) {
  if (name == nullptr) return -1;
  const CStringArray& list = GetCharsetInfoArray();
  for (INT_PTR i = 0; i < list.GetSize(); ++i)
    if (list[i].CompareNoCase(name) == 0) return static_cast<int>(i);
  return -1;
}

CString CDVDSubtitleFont::GetCharsetNameFromIndex(int index) {
  const CStringArray& list = GetCharsetInfoArray();
  return index >= 0 && index < list.GetSize() ? list[index] : CString();
}

CString CDVDSubtitleFont::GetSystemFontDirectory() {
  // The TrueType files lie in one folder per family on Debian; DejaVu's is always there.
  for (const char* folder :
       {"/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/truetype", "/usr/share/fonts"}) {
    struct stat st {};
    if (stat(folder, &st) == 0 && S_ISDIR(st.st_mode)) return folder;
  }
  return "/usr/share/fonts";
}
