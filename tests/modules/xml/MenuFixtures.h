// Helpers for the disc-menu tests: the shipped templates, sample content and a canvas to draw on.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "modules/xml/DVDMenu.h"
#include "platform/gdi/Gdi.h"

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

// A 32-bit top-down bitmap selected into a memory DC.
class TestCanvas {
 public:
  TestCanvas(int width, int height) : m_width(width), m_height(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<uint32_t*>(bits);
    m_dc = CreateCompatibleDC(nullptr);
    m_old = SelectObject(m_dc, m_bitmap);
  }
  ~TestCanvas() {
    SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
    DeleteObject(m_bitmap);
  }
  HDC Dc() const { return m_dc; }
  COLORREF At(int x, int y) const {
    GdiFlush();
    const uint32_t p = m_bits[y * m_width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  std::vector<uint32_t> Pixels() const {
    GdiFlush();
    std::vector<uint32_t> out(m_bits, m_bits + m_width * m_height);
    for (auto& p : out) p &= 0xFFFFFF;
    return out;
  }

 private:
  int m_width, m_height;
  HBITMAP m_bitmap;
  uint32_t* m_bits = nullptr;
  HDC m_dc;
  HGDIOBJ m_old;
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
