// Helpers for the disc-menu tests: the shipped templates, sample content and a canvas to draw on.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "modules/xml/DVDMenu.h"
#include "platform/gdi/Gdi.h"
#include "tests/support/Canvas.h"

namespace menutest {

// The templates in the source tree, else beside the program in the build tree (a link to them).
inline std::string TemplateFolder() {
  if (const char* source = std::getenv("PICTAVO_SOURCE_DIR")) return std::string(source) + "/data/template";
  if (const char* bin = std::getenv("PICTAVO_BIN_DIR")) return std::string(bin) + "/template";
  return "data/template";
}

// The templates the program starts with.
inline const char* const kShippedTemplates[] = {"00party.xml", "19basic.xml", "64Xmas.xml", "69Vacation.xml"};

inline pictavo::menu::MenuContent Albums(int count) {
  pictavo::menu::MenuContent content;
  content.title = "Our Year";
  for (int i = 0; i < count; ++i) content.albums.push_back({"Album " + std::to_string(i + 1), std::nullopt});
  return content;
}

// A 32-bit top-down bitmap selected into a memory DC, all zero to start with.
struct TestCanvas : pictavo::test::Canvas {
  TestCanvas(int width, int height) : Canvas(width, height, RGB(0, 0, 0)) {}
};

// Objects of the current page of class T or derived from it, in list order.
template <class T>
std::vector<T*> ObjectsOf(CDVDMenu& menu) {
  std::vector<T*> found;
  CObList* list = menu.GetObjectPtrList();
  if (!list) return found;
  for (POSITION pos = list->GetHeadPosition(); pos;)
    if (auto* object = dynamic_cast<T*>(list->GetNext(pos))) found.push_back(object);
  return found;
}

}  // namespace menutest
